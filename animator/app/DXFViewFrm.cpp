// The DXF preview frame: tools, canvas, placement edits and joint list.
#include "animator/app/DXFViewFrm.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFocusEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "animator/app/AppDialogs.h"
#include "animator/app/FieldRange.h"
#include "animator/engine/AniLink.h"
#include "shared/AniCanvas2D.h"
#include "shared/Convert.h"
#include "shared/Sound.h"
#include "shared/dxf/DXFDrawing.h"
#include "shared/qt/ModalScope.h"
#include "shared/qt/PathName.h"
#include "shared/qt/QtCanvas.h"
#include "shared/qt/QtText.h"
#include "shared/qt/UserDialogs.h"

namespace quillon {

using shared::FromPath;
using shared::QtFilter;
using shared::ToPath;

namespace {

constexpr const char* kTagProperty = "Tag";
constexpr const char* kFilter = "DXF Files|*.dxf|All Files|*.*";

}  // namespace

TDXFViewFrm::TDXFViewFrm(QWidget* parent) : QWidget(parent), Drawing(std::make_unique<shared::TDXFDrawing>()) {
  setObjectName(QStringLiteral("DXFViewFrm1"));
  CreateComponents();

  PaintBox = std::make_unique<shared::TQtPaintBox>(PaintBox1);
  FCanvas = std::make_unique<shared::TAniCanvas2D>(*PaintBox, 1.0);
  PaintBox->SetCanvas(FCanvas.get());
  XPanel = std::make_unique<shared::TQtStatusPanel>(StatusPanels[0]);
  YPanel = std::make_unique<shared::TQtStatusPanel>(StatusPanels[1]);
  FCanvas->XPanel = XPanel.get();
  FCanvas->YPanel = YPanel.get();
  FCanvas->SetDoubleBuffered(true);
  // The axes, drawn with a solid red pen.
  FCanvas->GridStyle = shared::TGridStyle::Axes;
  FCanvas->GridColor = 255;
  FCanvas->GridPenStyle = shared::TPenStyle::Solid;
  // A chosen tool stays until another one is chosen.
  FCanvas->AutoResetMode = false;

  PaintBox->OnPaint = [this] { PaintBox1Paint(); };
  PaintBox->OnMouseDown = [](Qt::MouseButton, shared::TShiftState, int, int) {};
  PaintBox->OnMouseMove = [this](shared::TShiftState shift, int, int) {
    const int mode = FCanvas->Mode();
    if ((shift & shared::kLeftButton) && (mode == shared::kModePan || mode == shared::kModeDragZoom)) Repaint();
  };
  PaintBox->OnMouseUp = [this](Qt::MouseButton, shared::TShiftState, int, int) {
    UpdateButtons();
    Repaint();
  };
  PaintBox->OnWheel = [this](int delta, shared::TShiftState) { FrameMouseWheel(delta); };

  OpenDialog1 = [this]() -> std::string {
    QFileDialog dialog(this, QStringLiteral("Open"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("dxf"));
    dialog.setNameFilters(QtFilter(QString::fromLatin1(kFilter)).split(QStringLiteral(";;")));
    if (ShowModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return ToPath(dialog.selectedFiles().first());
  };
  ShowError = [this](const std::string& text) {
    const shared::TModalScope modal;
    QMessageBox::warning(this, windowTitle().isEmpty() ? QStringLiteral("DXF") : windowTitle(),
                         shared::ToQString(text));
  };
  SetCaptions();
  UpdateButtons();
}

TDXFViewFrm::~TDXFViewFrm() {
  // The paint box stops forwarding before the canvas goes.
  PaintBox.reset();
}

QToolButton* TDXFViewFrm::NewToolButton(QToolBar* bar, const char* name, const QString& caption, int tag) {
  auto* button = new QToolButton(bar);
  button->setObjectName(QString::fromLatin1(name));
  button->setProperty(kTagProperty, tag);
  button->setText(caption);
  button->setToolTip(caption);
  button->setAutoRaise(true);
  bar->addWidget(button);
  return button;
}

void TDXFViewFrm::CreateComponents() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  ToolBar1 = new QToolBar(this);
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  NewButton = NewToolButton(ToolBar1, "NewButton", QStringLiteral("New"), 0);
  OpenButton = NewToolButton(ToolBar1, "OpenButton", QStringLiteral("Open"), 0);
  ToolBar1->addSeparator();
  SelectButton = NewToolButton(ToolBar1, "SelectButton", QStringLiteral("Select"), 0);
  MoveButton = NewToolButton(ToolBar1, "MoveButton", QStringLiteral("Move"), shared::kModePan);
  ZoomAllButton = NewToolButton(ToolBar1, "ZoomAllButton", QStringLiteral("Zoom All"), 0);
  ZoomInButton = NewToolButton(ToolBar1, "ZoomInButton", QStringLiteral("Zoom In"), shared::kModeZoomRect);
  ZoomOutButton = NewToolButton(ToolBar1, "ZoomOutButton", QStringLiteral("Zoom Out"), shared::kModeZoomOut);
  ZoomButton = NewToolButton(ToolBar1, "ZoomButton", QStringLiteral("Zoom"), shared::kModeDragZoom);
  for (QToolButton* button : {SelectButton, MoveButton, ZoomInButton, ZoomOutButton, ZoomButton})
    button->setCheckable(true);
  SelectButton->setChecked(true);
  layout->addWidget(ToolBar1);

  ToolBar2 = new QToolBar(this);
  ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
  const auto edit = [this](const char* name) {
    auto* e = new QLineEdit(ToolBar2);
    e->setObjectName(QString::fromLatin1(name));
    e->setText(QStringLiteral("0"));
    // Room for a value of the unit service: sign, seven digits, separator, exponent.
    e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("-0.0000000E-000")));
    e->installEventFilter(this);
    ToolBar2->addWidget(e);
    return e;
  };
  x0Button = NewToolButton(ToolBar2, "x0Button", QStringLiteral("x0"), 0);
  x0Edit = edit("x0Edit");
  y0Button = NewToolButton(ToolBar2, "y0Button", QStringLiteral("y0"), 0);
  y0Edit = edit("y0Edit");
  Angle0Button = NewToolButton(ToolBar2, "Angle0Button", QStringLiteral("Angle"), 0);
  Angle0Edit = edit("Angle0Edit");
  ToolBar2->addSeparator();
  JointBox = new QComboBox(ToolBar2);
  JointBox->setObjectName(QStringLiteral("JointBox"));
  JointBox->setMinimumContentsLength(3);
  ToolBar2->addWidget(JointBox);
  layout->addWidget(ToolBar2);

  Panel1 = new QFrame(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel1->setBackgroundRole(QPalette::Base);
  Panel1->setAutoFillBackground(true);
  auto* panelLayout = new QVBoxLayout(Panel1);
  panelLayout->setContentsMargins(1, 1, 1, 1);
  PaintBox1 = new QWidget(Panel1);
  PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
  PaintBox1->setMouseTracking(true);
  PaintBox1->setMinimumSize(100, 80);
  panelLayout->addWidget(PaintBox1);
  layout->addWidget(Panel1, 1);

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(false);
  const int widths[3] = {90, 90, 400};
  for (int i = 0; i < 3; ++i) {
    StatusPanels[i] = new QLabel(StatusBar1);
    StatusPanels[i]->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(i));
    if (i < 2) {
      StatusPanels[i]->setFixedWidth(widths[i]);
      StatusPanels[i]->setAlignment(Qt::AlignCenter);
      StatusBar1->addWidget(StatusPanels[i]);
    } else {
      // The file name takes what is left; a long one is cut at its start, its name stays.
      StatusPanels[i]->setMinimumWidth(widths[i] / 4);
      StatusBar1->addWidget(StatusPanels[i], 1);
    }
  }
  layout->addWidget(StatusBar1);

  connect(NewButton, &QToolButton::clicked, this, [this] { NewButtonClick(); });
  connect(OpenButton, &QToolButton::clicked, this, [this] { OpenButtonClick(); });
  connect(ZoomAllButton, &QToolButton::clicked, this, [this] { ZoomAllButtonClick(); });
  for (QToolButton* button : {SelectButton, MoveButton, ZoomInButton, ZoomOutButton, ZoomButton})
    connect(button, &QToolButton::clicked, this, [this, button] { ZoomInButtonClick(button); });
  for (QToolButton* button : {x0Button, y0Button, Angle0Button})
    connect(button, &QToolButton::clicked, this, [this] { x0ButtonClick(); });
}

void TDXFViewFrm::SetCaptions() {
  x0Edit->setToolTip(QStringLiteral("x position offset"));
  y0Edit->setToolTip(QStringLiteral("y position offset"));
  Angle0Edit->setToolTip(QStringLiteral("angle offset"));
  JointBox->setToolTip(QStringLiteral("Select Joint as DXF Origin"));
}

void TDXFViewFrm::ShowOffsets() {
  const shared::TConvert& units = shared::Convert();
  const QString name = FromPath(Drawing->FileName);
  StatusPanels[2]->setText(StatusPanels[2]->fontMetrics().elidedText(
      name, Qt::ElideLeft, std::max(StatusPanels[2]->width(), StatusPanels[2]->minimumWidth())));
  StatusPanels[2]->setToolTip(name);
  x0Edit->setText(shared::ToQString(units.FormatSI(shared::cuLength, Drawing->Transform.OffsetX)));
  y0Edit->setText(shared::ToQString(units.FormatSI(shared::cuLength, Drawing->Transform.OffsetY)));
  Angle0Edit->setText(shared::ToQString(units.FormatSI(shared::cuAngle, Drawing->Transform.Angle)));
}

bool TDXFViewFrm::ApplyOffsets() {
  if (Applying) return false;
  Applying = true;
  const shared::TConvert& units = shared::Convert();
  const shared::TDXFTransForm& t = Drawing->Transform;
  struct TField {
    QLineEdit* edit;
    const TFieldRange& range;
    double value;
  } fields[3] = {{x0Edit, kLengthRange, t.OffsetX},
                 {y0Edit, kLengthRange, t.OffsetY},
                 {Angle0Edit, kDirectionRange, t.Angle}};
  for (TField& field : fields) {
    const std::string text = shared::FromQString(field.edit->text().trimmed());
    const std::string shown = units.FormatSI(field.range.Category, field.value);
    if (text.empty()) {
      field.edit->setText(shared::ToQString(shown));
      continue;
    }
    // The value as shown, rounded to the display's digits, keeps its exact value: applying
    // or OK without an edit moves nothing.
    if (text == shown) continue;
    try {
      field.value = TextToSIWithin(field.range, text);
    } catch (const shared::EConvertError& error) {
      // Over the panels until the next offsets are taken.
      StatusBar1->showMessage(shared::ToQString(error.what()));
      field.edit->setFocus();
      field.edit->selectAll();
      shared::Beep();
      Applying = false;
      return false;
    }
  }
  StatusBar1->clearMessage();
  Drawing->Transform.SetAll(fields[0].value, fields[1].value, fields[2].value, 1, 1);
  Applying = false;
  return true;
}

void TDXFViewFrm::SetJoints(const std::string& letters, int index) {
  JointBox->clear();
  for (const char letter : letters) JointBox->addItem(shared::ToQString(std::string(1, letter)));
  JointBox->setCurrentIndex(index >= 0 && index < JointBox->count() ? index : -1);
}

void TDXFViewFrm::UpdateButtons() {
  const int mode = FCanvas->Mode();
  SelectButton->setChecked(mode == shared::kModeSelect);
  ZoomInButton->setChecked(mode == shared::kModeZoomRect);
  ZoomOutButton->setChecked(mode == shared::kModeZoomOut);
  ZoomButton->setChecked(mode == shared::kModeDragZoom);
  MoveButton->setChecked(mode == shared::kModePan);
}

void TDXFViewFrm::NewButtonClick() {
  Drawing->Clear();
  ShowOffsets();
  Repaint();
}

void TDXFViewFrm::OpenButtonClick() {
  const std::string fileName = OpenDialog1 ? OpenDialog1() : std::string();
  if (fileName.empty()) return;
  // Read aside: a file that cannot be read leaves the preview as it was.
  auto fresh = std::make_unique<shared::TDXFDrawing>();
  const std::string problem = LoadDrawingFile(*fresh, fileName);
  if (!problem.empty()) {
    if (ShowError) ShowError(problem);
    return;
  }
  Drawing = std::move(fresh);
  ShowOffsets();
  ZoomAllButtonClick();
}

void TDXFViewFrm::ZoomAllButtonClick() {
  shared::TComplex min(0, 0);
  shared::TComplex max(0, 0);
  constexpr double kFar = std::numeric_limits<double>::max();
  shared::TComplex low(kFar, kFar);
  shared::TComplex high(-kFar, -kFar);
  Drawing->UpdateExtent(low, high);
  if (low.X <= high.X && low.Y <= high.Y) {
    // The corners of the drawing's own box, placed as the preview draws it.
    for (const shared::TComplex& corner : {low, high, shared::TComplex(low.X, high.Y), shared::TComplex(high.X, low.Y)}) {
      const shared::TComplex p = Drawing->Transform.Applied(corner);
      min.X = std::min(min.X, p.X);
      min.Y = std::min(min.Y, p.Y);
      max.X = std::max(max.X, p.X);
      max.Y = std::max(max.Y, p.Y);
    }
  }
  FCanvas->ZoomToRect(min, max);
  Repaint();
}

void TDXFViewFrm::ZoomInButtonClick(QToolButton* sender) {
  const int tag = sender ? sender->property(kTagProperty).toInt() : 0;
  const bool tool = tag == shared::kModeZoomRect || tag == shared::kModeZoomOut || tag == shared::kModePan ||
                    tag == shared::kModeDragZoom;
  FCanvas->SetMode(tool ? tag : shared::kModeSelect);
  UpdateButtons();
}

void TDXFViewFrm::PaintBox1Paint() {
  FCanvas->ClearBackground();
  FCanvas->CopyBackground();
  FCanvas->LabelStyle = 0;
  FCanvas->UseFrontCanvas();
  Drawing->DrawPlaced(*FCanvas);
  FCanvas->Present();
}

void TDXFViewFrm::Repaint() { PaintBox1->update(); }

void TDXFViewFrm::FrameMouseWheel(int delta) {
  shared::Beep();
  FCanvas->Zoom(1 + delta / 1000.0);
  Repaint();
}

void TDXFViewFrm::x0ButtonClick() {
  if (ApplyOffsets()) Repaint();
}

bool TDXFViewFrm::eventFilter(QObject* watched, QEvent* event) {
  const bool edit = watched == x0Edit || watched == y0Edit || watched == Angle0Edit;
  if (edit && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    // Enter applies the offsets and goes no further: it never presses the dialog's OK.
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      x0ButtonClick();
      return true;
    }
  }
  if (edit && event->type() == QEvent::FocusOut) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    // Another window or a menu taking the focus is no leaving of the edit.
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && isVisible()) x0ButtonClick();
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace quillon
