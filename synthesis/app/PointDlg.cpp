// The point dialog: one point of a list, or a single point, shown and read back in the user's
// units, written to its target only when both edits converted.
#include "synthesis/app/PointDlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "shared/Convert.h"
#include "shared/qt/DialogStatus.h"
#include "shared/qt/QtText.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/ComplexPoint.h"

namespace vesk {

using shared::ToQString;

void ShowPosition(const shared::TComplex& p, bool polar, QLineEdit* first, QLineEdit* second) {
  const shared::TConvert& convert = shared::Convert();
  if (polar) {
    first->setText(ToQString(convert.FormatSI(shared::cuLength, p.Abs())));
    second->setText(ToQString(convert.FormatSI(shared::cuAngle, p.Arg())));
  } else {
    first->setText(ToQString(convert.FormatSI(shared::cuLength, p.X)));
    second->setText(ToQString(convert.FormatSI(shared::cuLength, p.Y)));
  }
}

shared::TComplex ReadPosition(bool polar, QLineEdit* first, QLineEdit* second, QLineEdit*& failing) {
  // Beyond these a point leaves every view and its distances overflow.
  failing = first;
  const double a = shared::EditToSIWithin(shared::cuLength, first->text(), polar ? 0 : -shared::kMaxLength,
                                          shared::kMaxLength);
  failing = second;
  const double b = polar ? shared::EditToSIWithin(shared::cuAngle, second->text(), -shared::kMaxRotation,
                                                  shared::kMaxRotation)
                         : shared::EditToSIWithin(shared::cuLength, second->text(), -shared::kMaxLength,
                                                  shared::kMaxLength);
  shared::TComplex p;
  if (polar)
    p.SetPolar(a, b);
  else
    p.SetXY(a, b);
  return p;
}

QGridLayout* MakeTwoPositionGrid(QGroupBox* box, const TPositionField (&fields)[4]) {
  const int editWidth = box->fontMetrics().horizontalAdvance("-0000000.000000") + 12;
  auto* grid = new QGridLayout(box);
  for (int k = 0; k < 4; ++k) {
    const int row = k % 2, column = 3 * (k / 2);
    const TPositionField& field = fields[k];
    *field.Label = new QLabel(box);
    *field.Edit = new QLineEdit(box);
    *field.Unit = new QLabel(box);
    (*field.Label)->setBuddy(*field.Edit);
    (*field.Edit)->setMinimumWidth(editWidth);
    grid->addWidget(*field.Label, row, column);
    grid->addWidget(*field.Edit, row, column + 1);
    grid->addWidget(*field.Unit, row, column + 2);
  }
  for (int column : {0, 3})
    grid->setColumnMinimumWidth(column, box->fontMetrics().horizontalAdvance("Angle 1") + 4);
  for (int column : {2, 5})
    grid->setColumnMinimumWidth(column, box->fontMetrics().horizontalAdvance("mrad/s") + 4);
  return grid;
}

void MakeDialogFrame(QDialog* dialog, QGroupBox* body, QPushButton*& ok, QPushButton*& cancel,
                     shared::TDialogStatus*& status, QPushButton** help) {
  ok = new QPushButton("OK", dialog);
  ok->setObjectName("OKBtn");
  ok->setDefault(true);
  cancel = new QPushButton("Cancel", dialog);
  cancel->setObjectName("CancelBtn");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  if (help) {
    *help = new QPushButton("Help", dialog);
    (*help)->setObjectName("HelpBtn");
    buttons->addWidget(*help);
  }
  status = new shared::TDialogStatus(dialog);
  auto* layout = new QVBoxLayout(dialog);
  layout->addWidget(body);
  layout->addLayout(buttons);
  layout->addWidget(status->StatusBar1);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
}

void ShowPositionLabels(bool polar, const QString& suffix, QLabel* first, QLabel* firstUnit, QLabel* second,
                        QLabel* secondUnit) {
  const shared::TConvert& convert = shared::Convert();
  first->setText((polar ? QStringLiteral("R") : QStringLiteral("X")) + suffix);
  second->setText((polar ? QStringLiteral("Angle") : QStringLiteral("Y")) + suffix);
  firstUnit->setText(ToQString(convert.UnitSymbol(shared::cuLength)));
  secondUnit->setText(ToQString(convert.UnitSymbol(polar ? shared::cuAngle : shared::cuLength)));
}

TComplexPointDialog::TComplexPointDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("ComplexPointDialog");
  setWindowTitle("Point");
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  GroupBox1 = new QGroupBox("Number ", this);
  XLabel = new QLabel("X", GroupBox1);
  YLabel = new QLabel("Y", GroupBox1);
  XEdit = new QLineEdit(GroupBox1);
  YEdit = new QLineEdit(GroupBox1);
  XUnitLabel = new QLabel(GroupBox1);
  YUnitLabel = new QLabel(GroupBox1);
  XLabel->setBuddy(XEdit);
  YLabel->setBuddy(YEdit);
  // Wide enough for a length in micrometres with its decimals.
  const int editWidth = fontMetrics().horizontalAdvance("-0000000.000000") + 12;
  XEdit->setMinimumWidth(editWidth);
  YEdit->setMinimumWidth(editWidth);
  auto* grid = new QGridLayout(GroupBox1);
  grid->addWidget(XLabel, 0, 0);
  grid->addWidget(XEdit, 0, 1);
  grid->addWidget(XUnitLabel, 0, 2);
  grid->addWidget(YLabel, 1, 0);
  grid->addWidget(YEdit, 1, 1);
  grid->addWidget(YUnitLabel, 1, 2);
  grid->setColumnMinimumWidth(0, fontMetrics().horizontalAdvance("Angle") + 4);
  grid->setColumnMinimumWidth(2, fontMetrics().horizontalAdvance("mrad/s") + 4);

  MakeDialogFrame(this, GroupBox1, OKBtn, CancelBtn, Status);

  GroupBox1->setObjectName("GroupBox1");
  XLabel->setObjectName("XLabel");
  YLabel->setObjectName("YLabel");
  XEdit->setObjectName("XEdit");
  YEdit->setObjectName("YEdit");
  XUnitLabel->setObjectName("XUnitLabel");
  YUnitLabel->setObjectName("YUnitLabel");

  connect(OKBtn, &QPushButton::clicked, this, &TComplexPointDialog::OKBtnClick);
}

TComplexPointDialog::~TComplexPointDialog() = default;

void TComplexPointDialog::SetTarget(TComplexPointList* list) {
  FList = list;
  FTarget = nullptr;
}

void TComplexPointDialog::SetTarget(TComplexPoint* point) {
  FList = nullptr;
  FTarget = point;
}

bool TComplexPointDialog::IsPolar() const { return !Cartesian && AppOptions.IsPolar; }

void TComplexPointDialog::EnableEdits(bool on) {
  XEdit->setEnabled(on);
  YEdit->setEnabled(on);
}

void TComplexPointDialog::SetReadOnly(bool on) {
  XEdit->setReadOnly(on);
  YEdit->setReadOnly(on);
}

bool TComplexPointDialog::IsReadOnly() const { return XEdit->isReadOnly() && YEdit->isReadOnly(); }

void TComplexPointDialog::showEvent(QShowEvent* event) {
  Status->Clear();
  LoadTarget();
  QDialog::showEvent(event);
  if (XEdit->isEnabled()) XEdit->setFocus();
}

void TComplexPointDialog::done(int result) {
  FList = nullptr;
  FTarget = nullptr;
  QDialog::done(result);
}

void TComplexPointDialog::LoadTarget() {
  if (FList) FTarget = FList->Selected();
  EnableEdits(FTarget != nullptr);
  const bool polar = IsPolar();
  ShowPositionLabels(polar, QString(), XLabel, XUnitLabel, YLabel, YUnitLabel);
  if (!FTarget) {
    FWork.reset();
    return;
  }
  FWork.reset(FTarget->Clone());
  GroupBox1->setTitle("Number " + ToQString(FTarget->GetName()));
  ShowPosition(*FTarget, polar, XEdit, YEdit);
}

void TComplexPointDialog::OKBtnClick() {
  if (FTarget && FWork && !IsReadOnly()) {
    QLineEdit* failing = XEdit;
    try {
      const shared::TComplex p = ReadPosition(IsPolar(), XEdit, YEdit, failing);
      FWork->SetXY(p.X, p.Y);
    } catch (const shared::EConvertError& e) {
      Status->Fail(ToQString(e.what()));
      failing->setFocus();
      return;
    }
    FTarget->Assign(*FWork);
  }
  accept();
}

}  // namespace vesk
