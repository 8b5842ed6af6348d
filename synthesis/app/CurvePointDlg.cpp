// The curve-point dialog: position and prescribed rotations of the curve's selected control
// point, written to the point and the curve only when every open edit converted.
#include "synthesis/app/CurvePointDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <cmath>

#include "shared/Convert.h"
#include "shared/qt/DialogStatus.h"
#include "shared/qt/QtText.h"
#include "synthesis/app/PointDlg.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/Spline.h"

namespace vesk {

using shared::ToQString;

TPrePointDialog::TPrePointDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("PrePointDialog");
  setWindowTitle("Curve Point");
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  GroupBox1 = new QGroupBox("Number ", this);
  XLabel = new QLabel("X", GroupBox1);
  YLabel = new QLabel("Y", GroupBox1);
  XEdit = new QLineEdit(GroupBox1);
  YEdit = new QLineEdit(GroupBox1);
  XUnitLabel = new QLabel(GroupBox1);
  YUnitLabel = new QLabel(GroupBox1);
  OutBox = new QCheckBox("Output link rotation", GroupBox1);
  OutEdit = new QLineEdit(GroupBox1);
  OutUnitLabel = new QLabel(GroupBox1);
  InBox = new QCheckBox("Input link rotation", GroupBox1);
  InEdit = new QLineEdit(GroupBox1);
  InUnitLabel = new QLabel(GroupBox1);
  XLabel->setBuddy(XEdit);
  YLabel->setBuddy(YEdit);
  const int editWidth = fontMetrics().horizontalAdvance("-0000000.000000") + 12;
  for (QLineEdit* edit : {XEdit, YEdit, OutEdit, InEdit}) edit->setMinimumWidth(editWidth);

  auto* grid = new QGridLayout(GroupBox1);
  grid->addWidget(XLabel, 0, 0);
  grid->addWidget(XEdit, 0, 1);
  grid->addWidget(XUnitLabel, 0, 2);
  grid->addWidget(YLabel, 1, 0);
  grid->addWidget(YEdit, 1, 1);
  grid->addWidget(YUnitLabel, 1, 2);
  grid->addWidget(OutBox, 2, 0);
  grid->addWidget(OutEdit, 2, 1);
  grid->addWidget(OutUnitLabel, 2, 2);
  grid->addWidget(InBox, 3, 0);
  grid->addWidget(InEdit, 3, 1);
  grid->addWidget(InUnitLabel, 3, 2);
  grid->setColumnMinimumWidth(2, fontMetrics().horizontalAdvance("mrad/s") + 4);

  MakeDialogFrame(this, GroupBox1, OKBtn, CancelBtn, Status, &HelpBtn);

  GroupBox1->setObjectName("GroupBox1");
  XLabel->setObjectName("XLabel");
  YLabel->setObjectName("YLabel");
  XUnitLabel->setObjectName("XUnitLabel");
  YUnitLabel->setObjectName("YUnitLabel");
  XEdit->setObjectName("XEdit");
  YEdit->setObjectName("YEdit");
  OutBox->setObjectName("OutBox");
  OutEdit->setObjectName("OutEdit");
  OutUnitLabel->setObjectName("OutUnitLabel");
  InBox->setObjectName("InBox");
  InEdit->setObjectName("InEdit");
  InUnitLabel->setObjectName("InUnitLabel");

  connect(OutBox, &QCheckBox::toggled, this, &TPrePointDialog::UpdateRotationEdits);
  connect(InBox, &QCheckBox::toggled, this, &TPrePointDialog::UpdateRotationEdits);
  connect(OKBtn, &QPushButton::clicked, this, &TPrePointDialog::OKBtnClick);
  connect(HelpBtn, &QPushButton::clicked, this, [this] {
    if (FHelpHandler) FHelpHandler(HelpTopic);
  });
}

TPrePointDialog::~TPrePointDialog() = default;

void TPrePointDialog::EnableEdits(bool on) {
  XEdit->setEnabled(on);
  YEdit->setEnabled(on);
  OutEdit->setEnabled(on);
  InEdit->setEnabled(on);
}

void TPrePointDialog::SetReadOnly(bool on) {
  for (QLineEdit* edit : {XEdit, YEdit, OutEdit, InEdit}) edit->setReadOnly(on);
}

bool TPrePointDialog::IsReadOnly() const { return XEdit->isReadOnly() && YEdit->isReadOnly(); }

void TPrePointDialog::SetInRotationAllowed(bool on) {
  FInRotationAllowed = on;
  InBox->setEnabled(on);
}

void TPrePointDialog::showEvent(QShowEvent* event) {
  Status->Clear();
  LoadTarget();
  QDialog::showEvent(event);
  if (XEdit->isEnabled()) XEdit->setFocus();
}

void TPrePointDialog::LoadTarget() {
  FTarget = FCurve ? FCurve->GetSelectedPoint() : nullptr;
  EnableEdits(FTarget != nullptr);
  const bool polar = AppOptions.IsPolar;
  ShowPositionLabels(polar, QString(), XLabel, XUnitLabel, YLabel, YUnitLabel);
  const shared::TConvert& convert = shared::Convert();
  OutUnitLabel->setText(ToQString(convert.UnitSymbol(shared::cuAngle)));
  InUnitLabel->setText(ToQString(convert.UnitSymbol(shared::cuAngle)));
  OutFlag = FCurve && FCurve->Out;
  InFlag = FCurve && FCurve->In;
  InBox->setEnabled(FInRotationAllowed);
  OutBox->setChecked(OutFlag);
  InBox->setChecked(InFlag);
  if (!FTarget) {
    FWork.reset();
    return;
  }
  FWork.reset(FTarget->Clone());
  GroupBox1->setTitle("Number " + QString::number(FTarget->Index()));
  ShowPosition(*FTarget, polar, XEdit, YEdit);
  OutEdit->setText(ToQString(convert.FormatSI(shared::cuAngle, FTarget->Out)));
  InEdit->setText(ToQString(convert.FormatSI(shared::cuAngle, FTarget->In)));
  UpdateRotationEdits();
}

void TPrePointDialog::UpdateRotationEdits() {
  const bool open = FTarget && FTarget->Index() > 1;
  OutEdit->setEnabled(open && OutBox->isChecked());
  InEdit->setEnabled(open && InBox->isChecked());
}

void TPrePointDialog::OKBtnClick() {
  if (FTarget && FWork && !IsReadOnly()) {
    QLineEdit* failing = XEdit;
    try {
      const shared::TComplex p = ReadPosition(AppOptions.IsPolar, XEdit, YEdit, failing);
      FWork->SetXY(p.X, p.Y);
      OutFlag = OutBox->isChecked();
      failing = OutEdit;
      // A rotation from the first point lies within the input's one turn.
      if (OutEdit->isEnabled())
        FWork->Out = shared::EditToSIWithin(shared::cuAngle, OutEdit->text(), -shared::kMaxRotation,
                                            shared::kMaxRotation);
      InFlag = InBox->isChecked();
      failing = InEdit;
      if (InEdit->isEnabled()) {
        const double in = shared::EditToSIWithin(shared::cuAngle, InEdit->text(), -shared::kMaxRotation,
                                                 shared::kMaxRotation);
        if (!(std::fabs(in) >= kMinInRotation)) throw shared::EConvertError("Value should not be equal to 0");
        FWork->In = in;
      }
    } catch (const shared::EConvertError& e) {
      Status->Fail(ToQString(e.what()));
      failing->setFocus();
      return;
    }
    FTarget->Assign(*FWork);
    // Rotations at every point and a total only exclude each other.
    FCurve->Out = OutFlag;
    if (OutFlag) FCurve->OutTotal = false;
    FCurve->In = InFlag;
    if (InFlag) FCurve->InTotal = false;
  }
  accept();
}

}  // namespace vesk
