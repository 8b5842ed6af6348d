// The line dialog: both end points of an output-link drawing line, written to the line only when
// all four edits converted.
#include "synthesis/app/LineDlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

#include "shared/Convert.h"
#include "shared/qt/DialogStatus.h"
#include "shared/qt/QtText.h"
#include "synthesis/app/PointDlg.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/ComplexLine.h"

namespace vesk {

using shared::ToQString;

TLineDialog::TLineDialog(QWidget* parent) : QDialog(parent), WorkLine(std::make_unique<TComplexLine>()) {
  setObjectName("LineDialog");
  setWindowTitle("Line");
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  GroupBox1 = new QGroupBox("Line ", this);
  MakeTwoPositionGrid(GroupBox1, {{&X1Label, &XminEdit, &X1Unit},
                                  {&Y1Label, &YminEdit, &Y1Unit},
                                  {&X2Label, &XmaxEdit, &X2Unit},
                                  {&Y2Label, &YmaxEdit, &Y2Unit}});

  MakeDialogFrame(this, GroupBox1, OKBtn, CancelBtn, Status);

  setTabOrder(XminEdit, XmaxEdit);
  setTabOrder(XmaxEdit, YminEdit);
  setTabOrder(YminEdit, YmaxEdit);
  setTabOrder(YmaxEdit, OKBtn);
  setTabOrder(OKBtn, CancelBtn);

  GroupBox1->setObjectName("GroupBox1");
  X1Label->setObjectName("X1Label");
  Y1Label->setObjectName("Y1Label");
  X2Label->setObjectName("X2Label");
  Y2Label->setObjectName("Y2Label");
  X1Unit->setObjectName("X1Unit");
  Y1Unit->setObjectName("Y1Unit");
  X2Unit->setObjectName("X2Unit");
  Y2Unit->setObjectName("Y2Unit");
  XminEdit->setObjectName("XminEdit");
  YminEdit->setObjectName("YminEdit");
  XmaxEdit->setObjectName("XmaxEdit");
  YmaxEdit->setObjectName("YmaxEdit");

  connect(OKBtn, &QPushButton::clicked, this, &TLineDialog::OKBtnClick);
}

TLineDialog::~TLineDialog() = default;

void TLineDialog::showEvent(QShowEvent* event) {
  Status->Clear();
  ShowLine();
  QDialog::showEvent(event);
  if (XminEdit->isEnabled()) XminEdit->setFocus();
}

void TLineDialog::ShowLine() {
  SetEditsEnabled(TargetLine != nullptr);
  if (!TargetLine) return;
  WorkLine->Assign(TargetLine);
  WorkLine->Id = TargetLine->Id;
  SetLabels();
  const bool polar = AppOptions.IsPolar;
  ShowPosition(WorkLine->Point1, polar, XminEdit, YminEdit);
  ShowPosition(WorkLine->Point2, polar, XmaxEdit, YmaxEdit);
}

void TLineDialog::SetLabels() {
  const bool polar = AppOptions.IsPolar;
  ShowPositionLabels(polar, " 1", X1Label, X1Unit, Y1Label, Y1Unit);
  ShowPositionLabels(polar, " 2", X2Label, X2Unit, Y2Label, Y2Unit);
  GroupBox1->setTitle("Line " + QString::number(WorkLine->Id));
  setWindowTitle("Line");
}

bool TLineDialog::ReadEdits() {
  const bool polar = AppOptions.IsPolar;
  QLineEdit* failing = XminEdit;
  try {
    const shared::TComplex point1 = ReadPosition(polar, XminEdit, YminEdit, failing);
    const shared::TComplex point2 = ReadPosition(polar, XmaxEdit, YmaxEdit, failing);
    WorkLine->Point1 = point1;
    WorkLine->Point2 = point2;
  } catch (const shared::EConvertError& e) {
    Status->Fail(ToQString(e.what()));
    failing->setFocus();
    return false;
  }
  return true;
}

void TLineDialog::OKBtnClick() {
  // Without a line the disabled edits hold old texts that nothing would take.
  if (TargetLine) {
    if (!ReadEdits()) return;
    TargetLine->Assign(WorkLine.get());
  }
  accept();
}

void TLineDialog::SetEditsEnabled(bool enabled) {
  for (QLineEdit* edit : {XminEdit, YminEdit, XmaxEdit, YmaxEdit}) edit->setEnabled(enabled);
}

}  // namespace vesk
