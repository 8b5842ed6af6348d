// The area dialog: both corners of a pivot area and its joint restriction, written to the area
// only when all four edits converted.
#include "synthesis/app/AreaDlg.h"

#include <QComboBox>
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
#include "synthesis/engine/Area.h"

namespace vesk {

using shared::ToQString;

TAreaDialog::TAreaDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("AreaDialog");
  setWindowTitle("Area");
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  GroupBox1 = new QGroupBox("Area ", this);
  QGridLayout* grid = MakeTwoPositionGrid(GroupBox1, {{&X1Label, &X1Edit, &X1Unit},
                                                      {&Y1Label, &Y1Edit, &Y1Unit},
                                                      {&X2Label, &X2Edit, &X2Unit},
                                                      {&Y2Label, &Y2Edit, &Y2Unit}});
  JointLabel = new QLabel("Joints allowed inside this area", GroupBox1);
  JointComboBox = new QComboBox(GroupBox1);
  JointComboBox->addItem("All");
  for (char letter = 'A'; letter <= 'J'; ++letter) JointComboBox->addItem(QString(QChar(letter)));
  JointLabel->setBuddy(JointComboBox);
  grid->addWidget(JointLabel, 2, 0, 1, 3);
  grid->addWidget(JointComboBox, 2, 3, 1, 2);

  MakeDialogFrame(this, GroupBox1, OKBtn, CancelBtn, Status);

  setTabOrder(X1Edit, Y1Edit);
  setTabOrder(Y1Edit, X2Edit);
  setTabOrder(X2Edit, Y2Edit);
  setTabOrder(Y2Edit, JointComboBox);
  setTabOrder(JointComboBox, OKBtn);
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
  X1Edit->setObjectName("X1Edit");
  Y1Edit->setObjectName("Y1Edit");
  X2Edit->setObjectName("X2Edit");
  Y2Edit->setObjectName("Y2Edit");
  JointLabel->setObjectName("JointLabel");
  JointComboBox->setObjectName("JointComboBox");

  connect(OKBtn, &QPushButton::clicked, this, &TAreaDialog::OKBtnClick);
}

TAreaDialog::~TAreaDialog() = default;

void TAreaDialog::EnableEdits(bool on) {
  for (QWidget* w :
       {static_cast<QWidget*>(X1Edit), static_cast<QWidget*>(Y1Edit), static_cast<QWidget*>(X2Edit),
        static_cast<QWidget*>(Y2Edit), static_cast<QWidget*>(JointComboBox)})
    w->setEnabled(on);
}

void TAreaDialog::showEvent(QShowEvent* event) {
  Status->Clear();
  LoadTarget();
  QDialog::showEvent(event);
  if (X1Edit->isEnabled()) X1Edit->setFocus();
}

void TAreaDialog::LoadTarget() {
  EnableEdits(FTarget != nullptr);
  const bool polar = AppOptions.IsPolar;
  ShowPositionLabels(polar, " 1", X1Label, X1Unit, Y1Label, Y1Unit);
  ShowPositionLabels(polar, " 2", X2Label, X2Unit, Y2Label, Y2Unit);
  if (!FTarget) {
    FWork.reset();
    return;
  }
  FWork.reset(FTarget->Clone());
  GroupBox1->setTitle("Area " + ToQString(FTarget->GetName()));
  ShowPosition(*FTarget, polar, X1Edit, Y1Edit);
  ShowPosition(FTarget->Corner2, polar, X2Edit, Y2Edit);
  // An index the list cannot show leaves no item chosen, and OK then keeps it.
  JointComboBox->setCurrentIndex(
      FTarget->Joint >= 0 && FTarget->Joint < JointComboBox->count() ? FTarget->Joint : -1);
}

void TAreaDialog::OKBtnClick() {
  if (FTarget && FWork) {
    const bool polar = AppOptions.IsPolar;
    QLineEdit* failing = X1Edit;
    try {
      const shared::TComplex corner1 = ReadPosition(polar, X1Edit, Y1Edit, failing);
      FWork->SetXY(corner1.X, corner1.Y);
      FWork->Corner2 = ReadPosition(polar, X2Edit, Y2Edit, failing);
    } catch (const shared::EConvertError& e) {
      Status->Fail(ToQString(e.what()));
      failing->setFocus();
      return;
    }
    // An area without width or height restricts nothing; the search would drop it unseen.
    const bool noWidth = FWork->Width() == 0, noHeight = FWork->Height() == 0;
    if (noWidth || noHeight) {
      Status->Fail(noWidth ? QStringLiteral("The area has no width: its corners must differ in x")
                           : QStringLiteral("The area has no height: its corners must differ in y"));
      (noWidth || polar ? X2Edit : Y2Edit)->setFocus();
      return;
    }
    if (JointComboBox->currentIndex() >= 0) FWork->Joint = JointComboBox->currentIndex();
    FTarget->Assign(*FWork);
  }
  accept();
}

}  // namespace vesk
