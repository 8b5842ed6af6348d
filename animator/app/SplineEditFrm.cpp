// The curve editor frame of the left panel.
#include "animator/app/SplineEditFrm.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

#include "animator/app/FieldRange.h"
#include "animator/app/MainForm.h"
#include "animator/app/TrackBar.h"
#include "animator/engine/MechOptimize.h"
#include "animator/engine/Spline.h"
#include "animator/engine/StdOut.h"
#include "shared/Convert.h"
#include "shared/ProgramInfo.h"
#include "shared/qt/DialogStatus.h"
#include "shared/qt/QtText.h"

namespace quillon {

namespace {

constexpr int kWeightSteps = 10;

QString Text(const std::string& text) { return shared::ToQString(text); }

TTrackBar* NewWeightBar(QWidget* parent, const char* name, const char* hint, int position) {
  auto* bar = new TTrackBar(parent);
  bar->setObjectName(QString::fromLatin1(name));
  bar->setRange(0, kWeightSteps);
  bar->setPageStep(1);
  bar->setTickPosition(QSlider::TicksBelow);
  bar->setToolTip(QString::fromLatin1(hint));
  bar->setValue(position);
  return bar;
}

QLineEdit* NewEdit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  return edit;
}

int WeightPosition(double weight) { return static_cast<int>(std::lround(weight * kWeightSteps)); }

bool SamePoint(const shared::TPrePoint& a, const shared::TPrePoint& b) {
  return a.X == b.X && a.Y == b.Y && a.In == b.In && a.Out == b.Out;
}

}  // namespace

TSplineEditFrm::TSplineEditFrm(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("SplineEditFrm1"));
  auto* nrLabel = new QLabel(QStringLiteral("Nr:"), this);
  NrComboBox = new QComboBox(this);
  NrComboBox->setObjectName(QStringLiteral("NrComboBox"));

  PathGroupBox = new QGroupBox(QStringLiteral("Curve Point"), this);
  PathGroupBox->setObjectName(QStringLiteral("PathGroupBox"));
  xLabel = new QLabel(QStringLiteral("x"), PathGroupBox);
  yLabel = new QLabel(QStringLiteral("y"), PathGroupBox);
  xEdit = NewEdit(PathGroupBox, "xEdit");
  yEdit = NewEdit(PathGroupBox, "yEdit");
  PathTrackBar = NewWeightBar(PathGroupBox, "PathTrackBar", "Importance of path error", 0);
  auto* pathLayout = new QGridLayout(PathGroupBox);
  pathLayout->addWidget(xLabel, 0, 0);
  pathLayout->addWidget(yLabel, 0, 1);
  pathLayout->addWidget(xEdit, 1, 0);
  pathLayout->addWidget(yEdit, 1, 1);
  pathLayout->addWidget(PathTrackBar, 2, 0, 1, 2);

  InRotGroupBox = new QGroupBox(QStringLiteral("Input Rotation"), this);
  InRotGroupBox->setObjectName(QStringLiteral("InRotGroupBox"));
  InRotEdit = NewEdit(InRotGroupBox, "InRotEdit");
  InTrackBar = NewWeightBar(InRotGroupBox, "InTrackBar", "Importance of input link error", 5);
  auto* inLayout = new QVBoxLayout(InRotGroupBox);
  inLayout->addWidget(InRotEdit);
  inLayout->addWidget(InTrackBar);

  OutRotGroupBox = new QGroupBox(QStringLiteral("Output Rotation"), this);
  OutRotGroupBox->setObjectName(QStringLiteral("OutRotGroupBox"));
  OutRotEdit = NewEdit(OutRotGroupBox, "OutRotEdit");
  OutTrackBar = NewWeightBar(OutRotGroupBox, "OutTrackBar", "Importance of output link error", 2);
  auto* outLayout = new QVBoxLayout(OutRotGroupBox);
  outLayout->addWidget(OutRotEdit);
  outLayout->addWidget(OutTrackBar);

  ApplyButton = new QPushButton(QStringLiteral("Apply"), this);
  ApplyButton->setObjectName(QStringLiteral("ApplyButton"));
  ApplyButton->setDefault(true);
  HelpButton = new QPushButton(QStringLiteral("Help"), this);
  HelpButton->setObjectName(QStringLiteral("HelpButton"));
  VisibleCheckBox = new QCheckBox(QStringLiteral("Visible"), this);
  VisibleCheckBox->setObjectName(QStringLiteral("VisibleCheckBox"));
  VisibleCheckBox->setToolTip(QStringLiteral("Show or hide curve"));

  OptimizeTypeRadio = new QGroupBox(QStringLiteral("Optimization"), this);
  OptimizeTypeRadio->setObjectName(QStringLiteral("OptimizeTypeRadio"));
  OptimizeTypeGroup = new QButtonGroup(OptimizeTypeRadio);
  auto* radioLayout = new QVBoxLayout(OptimizeTypeRadio);
  const char* const items[2] = {"Path Difference Area", "Maximum Path Error"};
  for (int i = 0; i < 2; ++i) {
    auto* radio = new QRadioButton(QString::fromLatin1(items[i]), OptimizeTypeRadio);
    radio->setObjectName(QStringLiteral("OptimizeTypeRadio%1").arg(i));
    OptimizeTypeGroup->addButton(radio, i);
    radioLayout->addWidget(radio);
  }

  auto* top = new QHBoxLayout;
  top->addWidget(nrLabel);
  top->addWidget(NrComboBox, 1);
  top->addWidget(VisibleCheckBox);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ApplyButton);
  buttons->addWidget(HelpButton);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(PathGroupBox);
  layout->addWidget(InRotGroupBox);
  layout->addWidget(OutRotGroupBox);
  layout->addLayout(buttons);
  layout->addWidget(OptimizeTypeRadio);
  layout->addStretch();

  connect(ApplyButton, &QPushButton::clicked, this, [this] { ApplyButtonClick(); });
  // Return in an edit applies, as the default button of the panel.
  for (QLineEdit* edit : {xEdit, yEdit, InRotEdit, OutRotEdit})
    connect(edit, &QLineEdit::returnPressed, this, [this] { ApplyButtonClick(); });
  connect(HelpButton, &QPushButton::clicked, this, [this] { HelpButtonClick(); });
  connect(NrComboBox, &QComboBox::activated, this, [this](int index) { NrComboBoxChange(index); });
  connect(VisibleCheckBox, &QCheckBox::clicked, this, [this] { VisibleCheckBoxClick(); });
  connect(OptimizeTypeGroup, &QButtonGroup::idClicked, this, [this](int id) { OptimizeTypeRadioClick(id); });
  SetEnabled(false);
  Captions();
}

void TSplineEditFrm::SetCurve(TSpline* curve) {
  Curve = curve;
  Refresh();
}

void TSplineEditFrm::Refresh() {
  const bool selected = Fetch();
  SetEnabled(selected);
  Captions();
  const shared::TConvert& convert = shared::Convert();
  if (selected) {
    const shared::TPrePoint& p = FWorkPoint;
    if (IsPolar) {
      shared::ShowEditText(xEdit, Text(convert.FormatSI(shared::cuLength, p.Abs())));
      shared::ShowEditText(yEdit, Text(convert.FormatSI(shared::cuAngle, p.Arg())));
    } else {
      shared::ShowEditText(xEdit, Text(convert.FormatSI(shared::cuLength, p.X)));
      shared::ShowEditText(yEdit, Text(convert.FormatSI(shared::cuLength, p.Y)));
    }
    shared::ShowEditText(InRotEdit, Text(convert.FormatSI(shared::cuAngle, p.In)));
    shared::ShowEditText(OutRotEdit, Text(convert.FormatSI(shared::cuAngle, p.Out)));
    PathTrackBar->setValue(WeightPosition(Pos.Weight));
    OutTrackBar->setValue(WeightPosition(Out.Weight));
    InTrackBar->setValue(WeightPosition(In.Weight));
  } else {
    PathTrackBar->setValue(0);
    OutTrackBar->setValue(0);
    InTrackBar->setValue(0);
  }
  RefreshSelections();
  VisibleCheckBox->setChecked(Curve && Curve->Visible);
  if (QAbstractButton* radio = OptimizeTypeGroup->button(FittingMode)) {
    radio->setChecked(true);
  } else {
    // A mode that the radio does not offer (the combined error) shows no item.
    OptimizeTypeGroup->setExclusive(false);
    for (QAbstractButton* button : OptimizeTypeGroup->buttons()) button->setChecked(false);
    OptimizeTypeGroup->setExclusive(true);
  }
}

void TSplineEditFrm::RefreshSelections() {
  for (TTrackBar* bar : {PathTrackBar, InTrackBar, OutTrackBar}) bar->SetSelection(0, bar->value());
}

bool TSplineEditFrm::Fetch() {
  if (!Curve) {
    FCurrent = -1;
    return false;
  }
  FCurrent = Curve->LastSelected();
  if (FCurrent < 0) return false;
  FWorkPoint.Assign(Curve->Point(FCurrent));
  Fetched.Assign(FWorkPoint);
  FetchedStamp = Curve->ChangeStamp;
  Pos = {Curve->PosEnabled, Curve->PosWeight, false, 0};
  In = {Curve->InEnabled, Curve->InWeight, Curve->InTotal, Curve->TotalIn};
  Out = {Curve->OutEnabled, Curve->OutWeight, Curve->OutTotal, Curve->TotalOut};
  return true;
}

void TSplineEditFrm::SetEnabled(bool on) {
  FEnabled = on;
  for (QWidget* control : {static_cast<QWidget*>(PathGroupBox), static_cast<QWidget*>(InRotGroupBox),
                           static_cast<QWidget*>(OutRotGroupBox), static_cast<QWidget*>(ApplyButton),
                           static_cast<QWidget*>(NrComboBox)})
    control->setEnabled(on);
  VisibleCheckBox->setEnabled(Curve != nullptr);
  const QSignalBlocker block(NrComboBox);
  NrComboBox->clear();
  if (on) {
    for (int i = 0; i < Curve->PointCount(); ++i) NrComboBox->addItem(QString::number(i));
    NrComboBox->setCurrentIndex(FCurrent);
  } else {
    for (QLineEdit* edit : {xEdit, yEdit, InRotEdit, OutRotEdit}) shared::ShowEditText(edit, QString());
  }
}

void TSplineEditFrm::Captions() {
  const shared::TConvert& convert = shared::Convert();
  const QString length = Text(convert.UnitLabel(shared::cuLength));
  const QString angle = Text(convert.UnitLabel(shared::cuAngle));
  if (IsPolar) {
    xLabel->setText(QStringLiteral("R ") + length);
    yLabel->setText(QStringLiteral("Arg ") + angle);
  } else {
    xLabel->setText(QStringLiteral("x ") + length);
    yLabel->setText(QStringLiteral("y ") + length);
  }
  InRotGroupBox->setTitle(QStringLiteral("Input Rotation ") + angle);
  OutRotGroupBox->setTitle(QStringLiteral("Output Rotation ") + angle);
}

bool TSplineEditFrm::ReadEdits() {
  QLineEdit* const edits[4] = {xEdit, yEdit, InRotEdit, OutRotEdit};
  int stage = 1;
  // A failed earlier reading may have left parts of its values behind.
  FWorkPoint.Assign(Fetched);
  try {
    // A text left as shown keeps its exact value: only what the user typed is read back from
    // the rounded display.
    const bool xTyped = !shared::EditUnchanged(xEdit);
    const bool yTyped = !shared::EditUnchanged(yEdit);
    if (xTyped || yTyped) {
      if (IsPolar) {
        const double r = xTyped ? EditToSIWithin(kLengthRange, xEdit->text()) : FWorkPoint.Abs();
        stage = 2;
        const double angle = yTyped ? EditToSIWithin(kDirectionRange, yEdit->text()) : FWorkPoint.Arg();
        FWorkPoint.SetPolar(r, angle);
      } else {
        const double x = xTyped ? EditToSIWithin(kLengthRange, xEdit->text()) : FWorkPoint.X;
        stage = 2;
        const double y = yTyped ? EditToSIWithin(kLengthRange, yEdit->text()) : FWorkPoint.Y;
        FWorkPoint.SetXY(x, y);
      }
    }
    stage = 2;
    Pos.Weight = static_cast<double>(PathTrackBar->value()) / PathTrackBar->maximum();
    Pos.Enabled = Pos.Weight > 0;
    stage = 3;
    In.Weight = static_cast<double>(InTrackBar->value()) / InTrackBar->maximum();
    In.Enabled = In.Weight > 0;
    if (In.Enabled && !shared::EditUnchanged(InRotEdit))
      FWorkPoint.In = EditToSIWithin(kRotationRange, InRotEdit->text());
    stage = 4;
    Out.Weight = static_cast<double>(OutTrackBar->value()) / OutTrackBar->maximum();
    Out.Enabled = Out.Weight > 0;
    if (Out.Enabled && !shared::EditUnchanged(OutRotEdit))
      FWorkPoint.Out = EditToSIWithin(kRotationRange, OutRotEdit->text());
    return true;
  } catch (const shared::EConvertError& error) {
    StdOut().Error(error.what());
    edits[stage - 1]->setFocus();
    return false;
  }
}

bool TSplineEditFrm::CurrentStillThere() const {
  return Curve && FCurrent >= 0 && FCurrent < Curve->PointCount() && Curve->ChangeStamp == FetchedStamp &&
         SamePoint(Curve->Point(FCurrent), Fetched);
}

void TSplineEditFrm::ApplyButtonClick() {
  // Not every change of the curve reaches the frame (undo, paste, load): a point that is gone
  // or changed is not written, and the frame shows the curve as it is now.
  if (!CurrentStillThere() || (MayEdit && !MayEdit())) {
    Refresh();
    return;
  }
  if (!ReadEdits()) return;
  if (OnBeforeApply) OnBeforeApply();
  Store();
  RefreshSelections();
}

void TSplineEditFrm::Store() {
  if (!Curve) return;
  Curve->Point(FCurrent).Assign(FWorkPoint);
  Curve->PosEnabled = Pos.Enabled;
  Curve->PosWeight = Pos.Weight;
  Curve->InEnabled = In.Enabled;
  Curve->InWeight = In.Weight;
  Curve->InTotal = In.Total;
  Curve->TotalIn = In.TotalValue;
  Curve->OutEnabled = Out.Enabled;
  Curve->OutWeight = Out.Weight;
  Curve->OutTotal = Out.Total;
  Curve->TotalOut = Out.TotalValue;
  Curve->Rebuild();
  // What is stored now is what the frame shows.
  Fetched.Assign(Curve->Point(FCurrent));
  FetchedStamp = Curve->ChangeStamp;
  if (OnChange) OnChange();
}

void TSplineEditFrm::NrComboBoxChange(int index) {
  if (!Curve) return;
  if (MayEdit && !MayEdit()) {
    Refresh();
    return;
  }
  Curve->DeselectAll();
  if (index >= 0 && index < Curve->PointCount()) Curve->Point(index).Selected = true;
  Refresh();
  if (OnChange) OnChange();
}

void TSplineEditFrm::VisibleCheckBoxClick() {
  if (!Curve) return;
  if (MayEdit && !MayEdit()) {
    VisibleCheckBox->setChecked(Curve->Visible);
    return;
  }
  Curve->Visible = VisibleCheckBox->isChecked();
  if (OnChange) OnChange();
}

void TSplineEditFrm::OptimizeTypeRadioClick(int index) { FittingMode = index; }

void TSplineEditFrm::HelpButtonClick() { shared::ProgramInfo().ShowHelpTopic("curve_edit.html"); }

}  // namespace quillon
