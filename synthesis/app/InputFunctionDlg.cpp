// The synthesis input-function dialog: law and cycle time of the default input function, with
// the displacement, velocity or acceleration of the edited copy drawn over its steps.
#include "synthesis/app/InputFunctionDlg.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QVBoxLayout>

#include "shared/Convert.h"
#include "shared/Sound.h"
#include "shared/qt/DialogStatus.h"
#include "shared/qt/QtText.h"
#include "synthesis/app/QtGraphPaintBox.h"
#include "synthesis/engine/InputFunction.h"

namespace vesk {

using shared::ToQString;

TInputFunctionDlg::TInputFunctionDlg(QWidget* parent)
    : QDialog(parent), FWorkCopy(std::make_unique<TInputFunction>()) {
  // The default may carry a project's law already: a second one would replace it, and freeing
  // it here would leave new solutions without one.
  FOwnsDefault = !DefaultInputFunctionExists();
  if (FOwnsDefault) CreateDefaultInputFunction();
  setObjectName("InputFunctionDlg");
  setWindowTitle("Input Function");
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  FunctionRadioGroup = new QGroupBox("Function Type", this);
  FunctionButtons = new QButtonGroup(this);
  auto* radios = new QVBoxLayout(FunctionRadioGroup);
  const char* laws[4] = {"Constant Velocity", "Constant Acceleration", "3-4-5 polynomial", "Sinusoidal"};
  for (int i = 0; i < 4; ++i) {
    FunctionRadios[size_t(i)] = new QRadioButton(laws[i], FunctionRadioGroup);
    FunctionRadios[size_t(i)]->setObjectName(QString("FunctionRadio%1").arg(i));
    FunctionButtons->addButton(FunctionRadios[size_t(i)], i);
    radios->addWidget(FunctionRadios[size_t(i)]);
  }
  radios->addStretch(1);

  TmaxLabel = new QLabel("Max time", this);
  TmaxEdit = new QLineEdit(this);
  TmaxUnitLabel = new QLabel(this);
  TmaxLabel->setBuddy(TmaxEdit);
  TmaxEdit->setMinimumWidth(fontMetrics().horizontalAdvance("-0000000.000000") + 12);
  TmaxUnitLabel->setMinimumWidth(fontMetrics().horizontalAdvance("min") + 4);
  auto* time = new QHBoxLayout;
  time->addWidget(TmaxLabel);
  time->addWidget(TmaxEdit);
  time->addWidget(TmaxUnitLabel);
  time->addStretch(1);

  GraphTabControl = new QTabBar(this);
  GraphTabControl->addTab("Displacement");
  GraphTabControl->addTab("Velocity");
  GraphTabControl->addTab("Acceleration");
  GraphTabControl->setDrawBase(true);
  PaintBox1 = new QWidget(this);
  PaintBox1->setMinimumSize(fontMetrics().averageCharWidth() * 60, fontMetrics().height() * 14);
  PaintBox1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  auto* graphLayout = new QVBoxLayout;
  graphLayout->setSpacing(0);
  graphLayout->addWidget(GraphTabControl);
  graphLayout->addWidget(PaintBox1, 1);

  OKBtn = new QPushButton("OK", this);
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton("Cancel", this);
  HelpButton = new QPushButton("Help", this);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  buttons->addWidget(HelpButton);
  buttons->addStretch(1);

  auto* left = new QVBoxLayout;
  left->addWidget(FunctionRadioGroup);
  left->addLayout(time);
  left->addLayout(graphLayout, 1);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(buttons);

  FunctionRadioGroup->setObjectName("FunctionRadioGroup");
  TmaxLabel->setObjectName("TmaxLabel");
  TmaxEdit->setObjectName("TmaxEdit");
  TmaxUnitLabel->setObjectName("TmaxUnitLabel");
  GraphTabControl->setObjectName("GraphTabControl");
  PaintBox1->setObjectName("PaintBox1");
  OKBtn->setObjectName("OKBtn");
  CancelBtn->setObjectName("CancelBtn");
  HelpButton->setObjectName("HelpButton");

  FGraph = std::make_unique<TQtGraphPaintBox>(PaintBox1, shared::Convert());
  TGraphPaintBox& graph = FGraph->Graph();
  graph.ShowCursor = false;
  graph.ShowLabels = false;
  graph.XTitle = "time";

  connect(FunctionButtons, &QButtonGroup::idClicked, this, &TInputFunctionDlg::FunctionRadioGroupClick);
  connect(GraphTabControl, &QTabBar::currentChanged, this, [this] { RefreshGraph(); });
  connect(OKBtn, &QPushButton::clicked, this, &TInputFunctionDlg::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  connect(HelpButton, &QPushButton::clicked, this, [this] {
    if (FHelpHandler) FHelpHandler(HelpTopic);
  });
}

TInputFunctionDlg::~TInputFunctionDlg() {
  FGraph.reset();
  if (FOwnsDefault) FreeDefaultInputFunction();
}

void TInputFunctionDlg::showEvent(QShowEvent* event) {
  FWorkCopy->Assign(DefaultInputFunction());
  const int law = FWorkCopy->FunctionType();
  if (law >= 0 && law < int(FunctionRadios.size())) FunctionRadios[size_t(law)]->setChecked(true);
  const shared::TConvert& convert = shared::Convert();
  TmaxEdit->setText(ToQString(convert.FormatSI(shared::cuTime, FWorkCopy->Tmax())));
  TmaxUnitLabel->setText(ToQString(convert.UnitSymbol(shared::cuTime)));
  RefreshGraph();
  QDialog::showEvent(event);
}

void TInputFunctionDlg::FunctionRadioGroupClick(int index) {
  FWorkCopy->SetFunctionType(uint8_t(index));
  RefreshGraph();
}

void TInputFunctionDlg::RefreshGraph() {
  TGraphPaintBox& graph = FGraph->Graph();
  graph.Clear();
  const int tab = GraphTabControl->currentIndex();
  const TInputFunction& f = *FWorkCopy;
  for (int32_t i = 0; i <= f.Steps(); ++i) {
    const double t = f.TimeOfStep(i);
    const double value = tab == 1 ? f.Velocity(t) : tab == 2 ? f.Acceleration(t) : f.Position(t);
    graph.AddPoint(t, value);
  }
  FGraph->Invalidate();
}

void TInputFunctionDlg::OKBtnClick() {
  try {
    const double tmax = shared::EditToSI(shared::cuTime, TmaxEdit->text());
    // Checked before the copy takes it: a time of 0 divides by zero in its steps, and one far
    // beyond a real cycle makes velocities and accelerations that no graph can show.
    if (!(tmax > 0)) throw shared::EConvertError("Time > 0");
    FWorkCopy->SetTmax(
        shared::EditToSIWithin(shared::cuTime, TmaxEdit->text(), shared::kMinTime, shared::kMaxTime));
  } catch (const std::exception& e) {
    TmaxEdit->setFocus();
    shared::Beep();
    if (FErrorDisplay)
      FErrorDisplay(e.what());
    else
      QMessageBox::critical(this, QApplication::applicationName(), ToQString(e.what()));
    return;
  }
  DefaultInputFunction().Assign(*FWorkCopy);
  accept();
}

}  // namespace vesk
