// The properties frame: its tool bar, the table widget fed from a TPropertyGrid, the cell editor's
// commit into the mechanism, and the read-only step tables.
#include "animator/app/PropertiesFrm.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <vector>

#include "animator/app/FieldRange.h"
#include "animator/app/MainForm.h"
#include "animator/engine/AniMechanism.h"
#include "animator/engine/StdOut.h"
#include "animator/engine/UndoStep.h"
#include "shared/Convert.h"
#include "shared/TabLine.h"
#include "shared/qt/QtText.h"

namespace quillon {

namespace {

constexpr const char* kTagProperty = "Tag";
constexpr int kPictureSize = 16;
constexpr int kMinRowHeight = 20;
constexpr const char* kInfinity = "Infinity";

// The tool bar's pictures: a table, a path, the velocity and acceleration arrows, "IC".
QPixmap Picture(int tag) {
  QPixmap image(kPictureSize, kPictureSize);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor ink(0, 0, 128);
  painter.setPen(QPen(ink, 1.2));
  const auto arrow = [&](const QColor& colour, const QString& letter) {
    painter.setPen(QPen(colour, 1.4));
    painter.drawLine(QPointF(2, 14), QPointF(13, 3));
    painter.drawLine(QPointF(13, 3), QPointF(8, 4));
    painter.drawLine(QPointF(13, 3), QPointF(12, 8));
    QFont font = painter.font();
    font.setPixelSize(9);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(ink);
    painter.drawText(QRect(0, 0, 8, 9), Qt::AlignCenter, letter);
  };
  switch (tag) {
    case pkProperties:
      painter.drawRect(QRectF(1.5, 2.5, 13, 11));
      painter.drawLine(QPointF(1.5, 6.5), QPointF(14.5, 6.5));
      painter.drawLine(QPointF(1.5, 10), QPointF(14.5, 10));
      painter.drawLine(QPointF(6, 2.5), QPointF(6, 13.5));
      break;
    case pkPath: {
      QPainterPath path(QPointF(1.5, 12));
      path.cubicTo(QPointF(4, 1), QPointF(10, 16), QPointF(14.5, 4));
      painter.setPen(QPen(QColor(0, 0, 255), 1.4));
      painter.drawPath(path);
      break;
    }
    case pkVelocity:
      arrow(QColor(0, 0, 255), QStringLiteral("v"));
      break;
    case pkAcceleration:
      arrow(QColor(255, 0, 0), QStringLiteral("a"));
      break;
    default: {
      QFont font = painter.font();
      font.setPixelSize(10);
      font.setBold(true);
      painter.setFont(font);
      painter.setPen(QColor(0, 128, 0));
      painter.drawText(QRect(0, 0, kPictureSize, kPictureSize), Qt::AlignCenter, QStringLiteral("IC"));
      break;
    }
  }
  return image;
}

struct TStepTable {
  const char* Head;
  int Category;
  // The tracer's vector kind; -1 for the instant centres.
  int Vector;
};

TStepTable StepTable(int32_t kind) {
  switch (kind) {
    case pkVelocity:
      return {"Velocity", shared::cuVel, 1};
    case pkAcceleration:
      return {"Acceleration", shared::cuAcc, 2};
    case pkInstantCentres:
      return {"Inst. Centers", shared::cuLength, -1};
    default:
      return {"Path", shared::cuLength, 0};
  }
}

}  // namespace

void FillStepGrid(const TAniMechanism& mechanism, TPropertyGrid& grid, int32_t kind, bool polar) {
  const shared::TConvert& convert = shared::Convert();
  const TStepTable table = StepTable(kind);
  const std::string unit = convert.UnitLabel(table.Category);
  const int32_t len = std::clamp(mechanism.Len, 0, mechanism.N);
  grid.SetColCount(3);
  grid.SetRowCount(len + 2);
  grid.SetCell(0, 0, table.Head);
  grid.SetCell(1, 0, (polar ? "R " : "x ") + unit);
  grid.SetCell(2, 0, polar ? "Angle " + convert.UnitLabel(shared::cuAngle) : "y " + unit);
  for (int32_t step = 0; step <= len; ++step) {
    double x = 0;
    double y = 0;
    bool infinite = false;
    if (table.Vector >= 0) {
      const TPositionRecord p = mechanism.GetTracerVector(step, table.Vector);
      x = p.X;
      y = p.Y;
      // Only positions carry the mark; a velocity or acceleration shows its numbers.
      infinite = kind == pkPath && p.Invalid;
    } else if (static_cast<size_t>(step) < mechanism.CentreAt.size()) {
      const TCentreRecord& c = mechanism.CentreAt[static_cast<size_t>(step)];
      x = c.X;
      y = c.Y;
      infinite = c.AtInfinity;
    } else {
      infinite = true;
    }
    const int32_t row = step + 1;
    grid.SetCell(0, row, std::to_string(step));
    if (infinite) {
      grid.SetCell(1, row, kInfinity);
      grid.SetCell(2, row, kInfinity);
    } else if (polar) {
      grid.SetCell(1, row, convert.FormatSI(table.Category, std::hypot(x, y)));
      grid.SetCell(2, row, convert.FormatSI(shared::cuAngle, std::atan2(y, x)));
    } else {
      grid.SetCell(1, row, convert.FormatSI(table.Category, x));
      grid.SetCell(2, row, convert.FormatSI(table.Category, y));
    }
  }
}

// The table widget of the frame. The cell editor's opening, commit and closing reach the frame;
// Space stays with the table rather than becoming the window's start key.
class TPropertyTable : public QTableWidget {
 public:
  TPropertyTable(TPropertiesFrm* frame, QWidget* parent);

  // The open cell editor closes without its text reaching the cell.
  void CancelEdit();

  // Set by the delegate when the editor's text went into the cell.
  int32_t CommitCol = -1;
  int32_t CommitRow = -1;
  QPersistentModelIndex EditorIndex;

 protected:
  bool event(QEvent* event) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  TPropertiesFrm* Frame;
};

namespace {

class TCellDelegate : public QStyledItemDelegate {
 public:
  TCellDelegate(TPropertiesFrm* frame, TPropertyTable* table)
      : QStyledItemDelegate(table), Frame(frame), Table(table) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    Table->EditorIndex = index;
    Frame->Grid1GetEditText(index.column(), index.row(), shared::FromQString(index.data().toString()));
    return QStyledItemDelegate::createEditor(parent, option, index);
  }

  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
    QStyledItemDelegate::setModelData(editor, model, index);
    Table->CommitCol = index.column();
    Table->CommitRow = index.row();
  }

 private:
  TPropertiesFrm* Frame;
  TPropertyTable* Table;
};

}  // namespace

TPropertyTable::TPropertyTable(TPropertiesFrm* frame, QWidget* parent) : QTableWidget(parent), Frame(frame) {
  setItemDelegate(new TCellDelegate(frame, this));
}

void TPropertyTable::CancelEdit() {
  if (state() != EditingState || !EditorIndex.isValid()) return;
  if (QWidget* editor = indexWidget(EditorIndex))
    closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

bool TPropertyTable::event(QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
      event->accept();
      return true;
    }
  }
  return QTableWidget::event(event);
}

void TPropertyTable::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  // One edit at a time: Tab applies the value and leaves the next cell closed, since the table
  // is filled again under it.
  if (hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem)
    hint = QAbstractItemDelegate::NoHint;
  QTableWidget::closeEditor(editor, hint);
  EditorIndex = QPersistentModelIndex();
  const int32_t col = CommitCol;
  const int32_t row = CommitRow;
  CommitCol = CommitRow = -1;
  if (row < 0 || col < 0) return;
  Frame->SetCellText(col, row, shared::FromQString(item(row, col) ? item(row, col)->text() : QString()));
  Frame->Grid1SetEditText(col, row);
}

void TPropertyTable::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableWidget::currentChanged(current, previous);
  if (current.isValid()) Frame->Grid1SelectCell(current.column(), current.row());
}

void TPropertyTable::resizeEvent(QResizeEvent* event) {
  QTableWidget::resizeEvent(event);
  Frame->FitColumns();
}

TPropertiesFrm::TPropertiesFrm(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("PropertiesFrm1"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  PropertyToolBar = new QToolBar(this);
  PropertyToolBar->setObjectName(QStringLiteral("PropertyToolBar"));
  PropertyToolBar->setIconSize(QSize(kPictureSize, kPictureSize));
  PropertyToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
  layout->addWidget(PropertyToolBar);
  PropButton = NewButton("PropButton", pkProperties, "Properties", "Properties");
  PathButton = NewButton("PathButton", pkPath, "Path", "Path Coordinates");
  VelocityButton = NewButton("VelocityButton", pkVelocity, "VelocityButton", "Path Velocity Vectors");
  AccelerationButton =
      NewButton("AccelerationButton", pkAcceleration, "AccelerationButton", "Path Acceleration Vectors");
  InstCenterButton = NewButton("InstCenterButton", pkInstantCentres, "IC", "Instant Centers");

  Table = new TPropertyTable(this, this);
  Grid1 = Table;
  Grid1->setObjectName(QStringLiteral("Grid1"));
  Grid1->horizontalHeader()->hide();
  Grid1->verticalHeader()->hide();
  Grid1->setShowGrid(true);
  Grid1->setFocusPolicy(Qt::ClickFocus);
  Grid1->setSelectionMode(QAbstractItemView::SingleSelection);
  Grid1->setSelectionBehavior(QAbstractItemView::SelectItems);
  Grid1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                         QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
  Grid1->setWordWrap(false);
  Grid1->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  const QFontMetrics metrics(Grid1->font());
  Grid1->verticalHeader()->setMinimumSectionSize(1);
  Grid1->verticalHeader()->setDefaultSectionSize(std::max(kMinRowHeight, metrics.height() + 6));
  Grid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  Grid1->horizontalHeader()->setMinimumSectionSize(1);
  layout->addWidget(Grid1, 1);

  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    const bool inside = now && (now == Grid1 || Grid1->isAncestorOf(now));
    if (inside && !GridFocused) Grid1Enter();
    if (!inside && GridFocused) Grid1Exit();
  });

  ShowCells();
  UpdateButtons();
}

TPropertiesFrm::~TPropertiesFrm() = default;

QToolButton* TPropertiesFrm::NewButton(const char* name, int32_t tag, const char* caption, const char* hint) {
  auto* button = new QToolButton(PropertyToolBar);
  button->setObjectName(QString::fromLatin1(name));
  button->setProperty(kTagProperty, tag);
  button->setCheckable(true);
  button->setAutoRaise(true);
  button->setText(QString::fromLatin1(caption));
  button->setToolTip(QString::fromLatin1(hint));
  button->setStatusTip(QString::fromLatin1(hint));
  button->setIcon(QIcon(Picture(tag)));
  PropertyToolBar->addWidget(button);
  connect(button, &QToolButton::clicked, this, [this, button] { PropButtonClick(button); });
  return button;
}

void TPropertiesFrm::Refresh() {
  if (!Mechanism) return;
  Table->CancelEdit();
  Grid1->clearSelection();
  Grid1->setCurrentIndex(QModelIndex());
  EditRow = EditCol = -1;
  EditText.clear();
  EditingOn = false;
  if (Kind == pkProperties) {
    FillProperties();
    EditingOn = true;
  } else {
    FillStepGrid(*Mechanism, FCells, Kind, IsPolar);
  }
  ShowCells();
}

void TPropertiesFrm::PropButtonClick(QToolButton* button) {
  const int32_t kind = button->property(kTagProperty).toInt();
  const bool other = kind != Kind;
  Kind = kind;
  Refresh();
  // Another table starts at its top left: the place in a long step table means nothing there.
  if (other) {
    Grid1->scrollToTop();
    Grid1->horizontalScrollBar()->setValue(0);
  }
  UpdateButtons();
}

void TPropertiesFrm::UpdateButtons() {
  for (QToolButton* button : {PropButton, PathButton, VelocityButton, AccelerationButton, InstCenterButton})
    button->setChecked(button->property(kTagProperty).toInt() == Kind);
}

bool TPropertiesFrm::CanSelectCell(int32_t col, int32_t row) const {
  if (!Mechanism || !EditingOn || Kind != pkProperties || col < 0 || col >= FCells.ColCount()) return false;
  const int32_t joints = Mechanism->JointCount();
  if (row >= 1 && row <= joints && col >= 1) return true;
  return row > joints + 1 && row <= Mechanism->LastPropertyRow && col == 2;
}

bool TPropertiesFrm::Grid1SelectCell(int32_t col, int32_t row) {
  if (!Mechanism) return false;
  if (!CanSelectCell(col, row)) return false;
  if (EditRow >= 0 && EditCol >= 0) {
    SetCellText(EditCol, EditRow, EditText);
    EditRow = EditCol = -1;
  }
  return true;
}

void TPropertiesFrm::Grid1GetEditText(int32_t col, int32_t row, const std::string& text) {
  EditRow = row;
  EditCol = col;
  EditText = text;
}

void TPropertiesFrm::Grid1SetEditText(int32_t col, int32_t row) {
  if (!Mechanism) return;
  // A cell closed as it opened changes nothing: its text is the rounded display of the value.
  const bool unchanged = col == EditCol && row == EditRow && FCells.Cell(col, row) == EditText;
  bool changed = false;
  if (!unchanged && CanSelectCell(col, row) && (!MayEdit || MayEdit())) {
    try {
      changed = ApplyEdit(col, row);
    } catch (const std::exception& error) {
      StdOut().Warning("Could not change value, " + std::string(error.what()) + ". Original value reset!");
    }
  }
  if (changed && OnChange) OnChange();
  FillProperties();
  ShowCells();
  EditRow = EditCol = -1;
  EditText.clear();
}

bool TPropertiesFrm::ApplyEdit(int32_t col, int32_t row) {
  TAniMechanism& m = *Mechanism;
  const bool polar = IsPolar;
  const std::string& text = FCells.Cell(col, row);
  if (row <= m.JointCount()) {
    const std::string& caption = FCells.Cell(0, row);
    if (caption.empty()) return false;
    const char letter = caption.back();
    const shared::TComplex current = m.GetJointPosition(letter, polar);
    double a = current.X;
    double b = current.Y;
    if (col == 1)
      a = TextToSIWithin(kLengthRange, text);
    else
      b = TextToSIWithin(polar ? kDirectionRange : kLengthRange, text);
    // The entry is taken before the edit and kept only for an edit that happened, so a refused
    // value leaves the undo history as it was.
    TUndoStep undo(m);
    m.SetJointPosition(letter, polar, a, b);
    undo.Commit();
    return true;
  }
  const double length = TextToSIWithin(kLengthRange, text);
  TUndoStep undo(m);
  if (!m.SetLinkLength(FCells.Cell(1, row), length)) return false;
  undo.Commit();
  return true;
}

void TPropertiesFrm::FillProperties() {
  if (Mechanism) Mechanism->FillPropertiesGrid(&FCells, IsPolar);
}

void TPropertiesFrm::Grid1Enter() { GridFocused = true; }

void TPropertiesFrm::Grid1Exit() { GridFocused = false; }

void TPropertiesFrm::SetCellText(int32_t col, int32_t row, const std::string& text) {
  FCells.SetCell(col, row, text);
  if (QTableWidgetItem* item = Grid1->item(row, col)) item->setText(shared::ToQString(text));
}

void TPropertiesFrm::ShowCells() {
  Grid1->setColumnCount(FCells.ColCount());
  Grid1->setRowCount(FCells.RowCount());
  const QBrush fixed = palette().button();
  for (int32_t row = 0; row < FCells.RowCount(); ++row) {
    for (int32_t col = 0; col < FCells.ColCount(); ++col) {
      QTableWidgetItem* item = Grid1->item(row, col);
      if (!item) {
        item = new QTableWidgetItem;
        Grid1->setItem(row, col, item);
      }
      const QString text = shared::ToQString(FCells.Cell(col, row));
      item->setText(text);
      Qt::ItemFlags flags = Qt::ItemIsEnabled;
      if (CanSelectCell(col, row)) flags |= Qt::ItemIsSelectable | Qt::ItemIsEditable;
      item->setFlags(flags);
      // The header row and the caption column look like the fixed cells of a string grid.
      item->setBackground(row == 0 || col == 0 ? fixed : QBrush());
    }
  }
  FitColumns();
}

// Every column as wide as its widest text, room left over to the value columns, so that no
// caption, number, unit or motion law is cut off and a narrow panel scrolls instead.
void TPropertiesFrm::FitColumns() {
  const int32_t count = FCells.ColCount();
  if (count <= 0) return;
  const QFontMetrics metrics(Grid1->font());
  // The item's text margins on both sides and the grid line.
  const int padding = 2 * (Grid1->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, Grid1) + 1) + 2;
  std::vector<int> widths(static_cast<size_t>(count), 0);
  for (int32_t row = 0; row < FCells.RowCount(); ++row) {
    for (int32_t col = 0; col < count; ++col) {
      const std::string& text = FCells.Cell(col, row);
      if (!text.empty())
        widths[col] = std::max(widths[col], metrics.horizontalAdvance(shared::ToQString(text)));
    }
  }
  int total = 0;
  for (int& width : widths) {
    width = std::max(width + padding, 4 * metrics.averageCharWidth());
    total += width;
  }
  const int spare = Grid1->viewport()->width() - total;
  FNeededWidth = total;
  FMissingWidth = std::max(0, -spare);
  if (spare > 0 && count > 1) {
    const int share = spare / (count - 1);
    for (int32_t col = 1; col < count; ++col) widths[col] += share;
    widths[count - 1] += spare - share * (count - 1);
  }
  for (int32_t col = 0; col < count; ++col) Grid1->setColumnWidth(col, widths[col]);
  if (OnColumnsFitted) OnColumnsFitted();
}

}  // namespace quillon
