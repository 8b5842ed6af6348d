// The input-function dialog.
#include "animator/app/InputFunctionDlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStatusBar>
#include <QTabBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "animator/app/FieldRange.h"
#include "animator/app/SimpleGraphFrm.h"
#include "shared/Convert.h"
#include "shared/ProgramInfo.h"
#include "shared/qt/DialogStatus.h"
#include "shared/qt/QtText.h"

namespace quillon {

namespace {

// Item index = law number. The polynomial's item carries its trailing blank.
const char* const kLawItems[4] = {"Constant Velocity", "Constant Acceleration", "3-4-5 Polynomial ",
                                  "Sinusoidal"};

QString Text(const std::string& text) { return shared::ToQString(text); }

QPushButton* NewButton(QWidget* parent, const char* name, const char* caption) {
  auto* button = new QPushButton(QString::fromLatin1(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

}  // namespace

TInputFunctionDlg::TInputFunctionDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("InputFunctionDlg"));
  setWindowTitle(QStringLiteral("Input Function"));
  FWorkCopy = std::make_unique<TInputFunction>(TInputFunction::kDefaultSteps);

  FunTypeLabel = new QLabel(QStringLiteral("Function Type"), this);
  FunTypeBox = new QComboBox(this);
  FunTypeBox->setObjectName(QStringLiteral("FunTypeBox"));
  for (const char* item : kLawItems) FunTypeBox->addItem(QString::fromLatin1(item));
  TimeLabel = new QLabel(QStringLiteral("Time"), this);
  TimeLabel->setObjectName(QStringLiteral("TimeLabel"));
  TimeEdit = new QLineEdit(this);
  TimeEdit->setObjectName(QStringLiteral("TimeEdit"));
  DispLabel = new QLabel(QStringLiteral("Displacement"), this);
  DispLabel->setObjectName(QStringLiteral("DispLabel"));
  DispEdit = new QLineEdit(this);
  DispEdit->setObjectName(QStringLiteral("DispEdit"));

  FunListView = new QTreeWidget(this);
  FunListView->setObjectName(QStringLiteral("FunListView"));
  FunListView->setRootIsDecorated(false);
  FunListView->setSelectionBehavior(QAbstractItemView::SelectRows);
  FunListView->setSelectionMode(QAbstractItemView::SingleSelection);
  FunListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
  FunListView->setHeaderLabels(
      {QStringLiteral("Function"), QStringLiteral("Time"), QStringLiteral("Displacement")});
  FunListView->setColumnWidth(0, 135);
  FunListView->setColumnWidth(1, 70);
  FunListView->setColumnWidth(2, 104);
  FunListView->setMinimumWidth(135 + 70 + 104 + 24);

  AddButton = NewButton(this, "AddButton", "Add");
  AddButton->setDefault(true);
  DeleteButton = NewButton(this, "DeleteButton", "Delete");
  ClearButton = NewButton(this, "ClearButton", "Clear");
  ApplyButton = NewButton(this, "ApplyButton", "Apply");

  GraphTabControl = new QTabBar(this);
  GraphTabControl->setObjectName(QStringLiteral("GraphTabControl"));
  GraphTabControl->addTab(QStringLiteral("Displacement"));
  GraphTabControl->addTab(QStringLiteral("Velocity"));
  GraphTabControl->addTab(QStringLiteral("Acceleration"));
  SimpleGraphFrm1 = new TSimpleGraphFrm(this);
  SimpleGraphFrm1->setMinimumSize(380, 200);

  OKBtn = NewButton(this, "OKBtn", "OK");
  CancelBtn = NewButton(this, "CancelBtn", "Cancel");
  HelpButton = NewButton(this, "HelpButton", "Help");
  ShowLabelsButton = NewButton(this, "ShowLabelsButton", "Hide Labels");
  Status = new shared::TDialogStatus(this);

  auto* edits = new QGridLayout;
  edits->addWidget(FunTypeLabel, 0, 0);
  edits->addWidget(TimeLabel, 0, 1);
  edits->addWidget(DispLabel, 0, 2);
  edits->addWidget(FunTypeBox, 1, 0);
  edits->addWidget(TimeEdit, 1, 1);
  edits->addWidget(DispEdit, 1, 2);
  auto* listButtons = new QVBoxLayout;
  for (QPushButton* button : {AddButton, ApplyButton, DeleteButton, ClearButton})
    listButtons->addWidget(button);
  listButtons->addStretch();
  auto* list = new QHBoxLayout;
  list->addWidget(FunListView, 1);
  list->addLayout(listButtons);
  auto* graph = new QVBoxLayout;
  graph->setSpacing(0);
  graph->addWidget(GraphTabControl);
  graph->addWidget(SimpleGraphFrm1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ShowLabelsButton);
  buttons->addStretch();
  for (QPushButton* button : {OKBtn, CancelBtn, HelpButton}) buttons->addWidget(button);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(edits);
  layout->addLayout(list, 1);
  layout->addLayout(graph, 2);
  layout->addLayout(buttons);
  layout->addWidget(Status->StatusBar1);
  setTabOrder(FunTypeBox, TimeEdit);
  setTabOrder(TimeEdit, DispEdit);
  setTabOrder(DispEdit, FunListView);
  resize(sizeHint().expandedTo(QSize(460, 480)));

  connect(AddButton, &QPushButton::clicked, this, [this] { AddButtonClick(); });
  connect(ApplyButton, &QPushButton::clicked, this, [this] { ApplyButtonClick(); });
  connect(DeleteButton, &QPushButton::clicked, this, [this] { DeleteButtonClick(); });
  connect(ClearButton, &QPushButton::clicked, this, [this] { ClearButtonClick(); });
  connect(FunListView, &QTreeWidget::itemSelectionChanged, this, [this] { FunListViewSelectItem(); });
  connect(GraphTabControl, &QTabBar::currentChanged, this, [this] { GraphTabControlChange(); });
  connect(ShowLabelsButton, &QPushButton::clicked, this, [this] { ShowLabelsButtonClick(); });
  connect(HelpButton, &QPushButton::clicked, this, [this] { HelpButtonClick(); });
  connect(OKBtn, &QPushButton::clicked, this, [this] {
    if (FormCloseQuery()) accept();
  });
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

  // The graph starts with its scales and legend; the button hides them.
  SimpleGraphFrm1->ShowLabels = true;
}

TInputFunctionDlg::~TInputFunctionDlg() = default;

void TInputFunctionDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TInputFunctionDlg::FormShow() {
  Status->Clear();
  const bool editable = Target != nullptr;
  for (QWidget* edit :
       {static_cast<QWidget*>(FunTypeBox), static_cast<QWidget*>(TimeEdit), static_cast<QWidget*>(DispEdit)})
    edit->setEnabled(editable);
  if (Target) {
    setWindowTitle(QStringLiteral("Input Function ") + Text(Target->Letter));
    FWorkCopy->Assign(*Target);
    FCurrent = 0;
  } else {
    FCurrent = -1;
  }
  const shared::TConvert& convert = shared::Convert();
  TimeLabel->setText(QStringLiteral("Time ") + Text(convert.UnitLabel(shared::cuTime)));
  DispLabel->setText(QStringLiteral("Displacement ") + Text(convert.UnitLabel(FWorkCopy->UnitCategory)));
  RefreshList();
  ShowCurrent();
  RefreshGraph();
  if (FunTypeBox->isEnabled()) FunTypeBox->setFocus();
}

QStringList TInputFunctionDlg::RowTexts(int i) const {
  const TFunctionSection* section = FWorkCopy->Section(i);
  return {section ? Text(section->LawName()) : QString(), Text(FWorkCopy->DurationText(i)),
          Text(FWorkCopy->DisplacementText(i))};
}

void TInputFunctionDlg::RefreshList() {
  const QSignalBlocker block(FunListView);
  FunListView->clear();
  for (int i = 0; i < FWorkCopy->Count(); ++i) new QTreeWidgetItem(FunListView, RowTexts(i));
  SelectRow(FCurrent);
}

int TInputFunctionDlg::SelectedRow() const {
  const QList<QTreeWidgetItem*> selected = FunListView->selectedItems();
  return selected.isEmpty() ? -1 : FunListView->indexOfTopLevelItem(selected.first());
}

void TInputFunctionDlg::SelectRow(int row) {
  const QSignalBlocker block(FunListView);
  FunListView->clearSelection();
  if (QTreeWidgetItem* item = FunListView->topLevelItem(row)) {
    item->setSelected(true);
    FunListView->setCurrentItem(item);
  }
}

void TInputFunctionDlg::ShowCurrent() {
  const TFunctionSection* section = FWorkCopy->Section(FCurrent);
  FunTypeBox->setCurrentIndex(section && section->Law() >= 0 && section->Law() < 4 ? section->Law() : -1);
  TimeEdit->setText(Text(FWorkCopy->DurationText(FCurrent)));
  DispEdit->setText(Text(FWorkCopy->DisplacementText(FCurrent)));
}

bool TInputFunctionDlg::ReadEdits() {
  int stage = 1;
  try {
    if (FunTypeBox->currentIndex() < 0) throw shared::EConvertError("Select a function type!");
    Law = FunTypeBox->currentIndex();
    stage = 2;
    if (TimeEdit->text().trimmed().isEmpty()) throw shared::EConvertError("Set the time interval!");
    if (!(shared::EditToSI(shared::cuTime, TimeEdit->text()) > 0)) throw shared::EConvertError("Time > 0");
    // Within these ranges every law gives finite values, so no section the list shows is
    // dropped later on the way to the mechanism.
    Time = EditToSIWithin(kDurationRange, TimeEdit->text());
    stage = 3;
    if (DispEdit->text().trimmed().isEmpty())
      throw shared::EConvertError("Set the displacement for this time interval!");
    Displacement = EditToSIWithin(TravelRange(FWorkCopy->UnitCategory), DispEdit->text());
    return true;
  } catch (const shared::EConvertError& error) {
    Status->Fail(Text(error.what()));
    QWidget* const failing[3] = {FunTypeBox, TimeEdit, DispEdit};
    failing[stage - 1]->setFocus();
    return false;
  }
}

void TInputFunctionDlg::AddButtonClick() {
  if (!ReadEdits()) return;
  if (FWorkCopy->Count() >= TInputFunction::kMaxSections) {
    Status->Fail(
        QStringLiteral("An input function has at most %1 sections!").arg(TInputFunction::kMaxSections));
    return;
  }
  if (!FWorkCopy->AddSection(Law, Time, Displacement)) return;
  FCurrent = FWorkCopy->Count() - 1;
  new QTreeWidgetItem(FunListView, RowTexts(FCurrent));
  SelectRow(FCurrent);
  RefreshGraph();
}

void TInputFunctionDlg::ApplyButtonClick() {
  FCurrent = SelectedRow();
  if (!ReadEdits() || FCurrent < 0) return;
  TFunctionSection* section = FWorkCopy->Section(FCurrent);
  if (!section) return;
  section->SetValues(Law, Time, Displacement);
  FWorkCopy->Prepare();
  // The list shows the copy as it is, whatever preparing it kept.
  FCurrent = std::min(FCurrent, FWorkCopy->Count() - 1);
  RefreshList();
  RefreshGraph();
}

void TInputFunctionDlg::DeleteButtonClick() {
  FCurrent = SelectedRow();
  FWorkCopy->DeleteSection(FCurrent);
  RefreshList();
  if (FCurrent >= FunListView->topLevelItemCount()) FCurrent = FunListView->topLevelItemCount() - 1;
  SelectRow(FCurrent);
  ShowCurrent();
  RefreshGraph();
}

void TInputFunctionDlg::ClearButtonClick() {
  FWorkCopy->Clear();
  FCurrent = -1;
  FunListView->clear();
  RefreshGraph();
}

void TInputFunctionDlg::FunListViewSelectItem() {
  FCurrent = SelectedRow();
  ShowCurrent();
}

void TInputFunctionDlg::GraphTabControlChange() { RefreshGraph(); }

void TInputFunctionDlg::ShowLabelsButtonClick() {
  TSimpleGraphFrm& graph = *SimpleGraphFrm1;
  graph.ShowLabels = !graph.ShowLabels;
  ShowLabelsButton->setText(graph.ShowLabels ? QStringLiteral("Hide Labels") : QStringLiteral("Show Labels"));
  graph.Relayout();
  graph.PaintBox1->update();
}

void TInputFunctionDlg::HelpButtonClick() { shared::ProgramInfo().ShowHelpTopic(HelpTopic); }

bool TInputFunctionDlg::FormCloseQuery() {
  if (!Target) return true;
  // An empty list cannot drive the joint: OK would keep the old law while the list shows none.
  if (FWorkCopy->Count() == 0) {
    Status->Fail(QStringLiteral("An input function needs at least one section!"));
    FunTypeBox->setFocus();
    return false;
  }
  Target->Assign(*FWorkCopy);
  return true;
}

void TInputFunctionDlg::Timer1Timer() { Status->Timer1Timer(); }

void TInputFunctionDlg::RefreshGraph() {
  TSimpleGraphFrm& graph = *SimpleGraphFrm1;
  graph.Reset();
  graph.XName = "Time";
  graph.XCategory = shared::cuTime;
  const int tab = GraphTabControl->currentIndex();
  static const char* const kNames[3] = {"Displacement", "Velocity", "Acceleration"};
  graph.YName = kNames[tab < 0 ? 0 : tab];
  graph.YCategory = tab == 1 ? shared::cuAngVel : tab == 2 ? shared::cuAngAcc : FWorkCopy->UnitCategory;
  const TInputFunction& f = *FWorkCopy;
  if (f.Count() > 0) {
    for (int i = 0; i <= f.Steps(); ++i) {
      const double x = f.TimeOfStep(i);
      const double y = tab == 1 ? f.Velocity(x) : tab == 2 ? f.Acceleration(x) : f.ValueOfStep(i);
      graph.AddPoint(x, y);
    }
  }
  graph.Relayout();
  graph.PaintBox1->update();
}

}  // namespace quillon
