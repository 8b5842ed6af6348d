// The move, rotate and resize dialog.
#include "animator/app/MorphDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStatusBar>
#include <QVBoxLayout>
#include <cmath>

#include "animator/app/FieldRange.h"
#include "shared/Convert.h"
#include "shared/ProgramInfo.h"
#include "shared/qt/DialogStatus.h"
#include "shared/qt/QtText.h"

namespace quillon {

TMorphDlg::TMorphDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("MorphDlg"));
  setWindowTitle(QStringLiteral("Resize, Move and Rotate"));
  const auto edit = [this](const char* name) {
    auto* e = new QLineEdit(this);
    e->setObjectName(QString::fromLatin1(name));
    return e;
  };
  const auto unitLabel = [this](const char* name) {
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(name));
    return label;
  };
  ResizeEdit = edit("ResizeEdit");
  MoveXEdit = edit("MoveXEdit");
  MoveYEdit = edit("MoveYEdit");
  RotateEdit = edit("RotateEdit");
  MoveXUnitLabel = unitLabel("MoveXUnitLabel");
  MoveYUnitLabel = unitLabel("MoveYUnitLabel");
  RotateUnitLabel = unitLabel("RotateUnitLabel");
  auto* note = new QLabel(
      QStringLiteral("Resize, move and/or rotate the mechanism using the selected joint as reference"), this);
  note->setWordWrap(true);
  OKBtn = new QPushButton(QStringLiteral("OK"), this);
  OKBtn->setObjectName(QStringLiteral("OKBtn"));
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
  CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
  CancelBtn->setAutoDefault(false);
  HelpButton = new QPushButton(QStringLiteral("Help"), this);
  HelpButton->setObjectName(QStringLiteral("HelpButton"));
  HelpButton->setAutoDefault(false);
  Status = new shared::TDialogStatus(this);

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(QStringLiteral("Resize"), this), 0, 0);
  grid->addWidget(ResizeEdit, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Move X"), this), 1, 0);
  grid->addWidget(MoveXEdit, 1, 1);
  grid->addWidget(MoveXUnitLabel, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("Move Y"), this), 2, 0);
  grid->addWidget(MoveYEdit, 2, 1);
  grid->addWidget(MoveYUnitLabel, 2, 2);
  grid->addWidget(new QLabel(QStringLiteral("Rotate"), this), 3, 0);
  grid->addWidget(RotateEdit, 3, 1);
  grid->addWidget(RotateUnitLabel, 3, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* button : {OKBtn, CancelBtn, HelpButton}) buttons->addWidget(button);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(note);
  layout->addLayout(grid);
  layout->addLayout(buttons);
  layout->addWidget(Status->StatusBar1);
  // The note wraps within the width of the edits and buttons, and is read whole.
  setMinimumWidth(fontMetrics().horizontalAdvance(note->text()) / 2 + 40);

  connect(HelpButton, &QPushButton::clicked, this, [this] { HelpButtonClick(); });
  connect(OKBtn, &QPushButton::clicked, this, [this] {
    if (FormCloseQuery()) accept();
  });
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  SetDefaults();
}

void TMorphDlg::SetDefaults() {
  Resize = 1.0;
  Rotate = 0;
  MoveX = 0;
  MoveY = 0;
}

void TMorphDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TMorphDlg::FormShow() {
  Status->Clear();
  SetDefaults();
  ShowValues();
  ResizeEdit->setFocus();
}

void TMorphDlg::ShowValues() {
  const shared::TConvert& convert = shared::Convert();
  MoveXUnitLabel->setText(shared::ToQString(convert.UnitSymbol(shared::cuLength)));
  MoveYUnitLabel->setText(shared::ToQString(convert.UnitSymbol(shared::cuLength)));
  RotateUnitLabel->setText(shared::ToQString(convert.UnitSymbol(shared::cuAngle)));
  ResizeEdit->setText(shared::ToQString(convert.FormatSI(shared::cuNone, Resize)));
  MoveXEdit->setText(shared::ToQString(convert.FormatSI(shared::cuLength, MoveX)));
  MoveYEdit->setText(shared::ToQString(convert.FormatSI(shared::cuLength, MoveY)));
  RotateEdit->setText(shared::ToQString(convert.FormatSI(shared::cuAngle, Rotate)));
}

bool TMorphDlg::FormCloseQuery() { return ReadValues(); }

bool TMorphDlg::ReadValues() {
  QLineEdit* const edits[4] = {ResizeEdit, MoveXEdit, MoveYEdit, RotateEdit};
  int stage = 1;
  try {
    const double resize = EditToSIWithin(kFactorRange, ResizeEdit->text());
    if (resize == 0) throw shared::EConvertError("Resize factor should not be equal to 0!");
    if (std::fabs(resize) < kMinFactorSize) {
      const std::string low = shared::Convert().BoundText(shared::cuNone, kMinFactorSize);
      const std::string high = shared::Convert().BoundText(shared::cuNone, kFactorRange.High);
      throw shared::EConvertError("Value should be between " + low + " and " + high + ", or between -" +
                                  high + " and -" + low);
    }
    stage = 2;
    const double moveX = EditToSIWithin(kLengthRange, MoveXEdit->text());
    stage = 3;
    const double moveY = EditToSIWithin(kLengthRange, MoveYEdit->text());
    stage = 4;
    const double rotate = EditToSIWithin(kDirectionRange, RotateEdit->text());
    if (ResultFits && !ResultFits(resize, moveX, moveY, rotate)) {
      // The first of the values that change anything.
      stage = resize != 1 ? 1 : moveX != 0 ? 2 : moveY != 0 ? 3 : 4;
      const shared::TConvert& convert = shared::Convert();
      throw shared::EConvertError("Joints should stay between " +
                                  convert.BoundText(shared::cuLength, kLengthRange.Low) + " and " +
                                  convert.BoundText(shared::cuLength, kLengthRange.High) + " " +
                                  convert.UnitSymbol(shared::cuLength));
    }
    Resize = resize;
    MoveX = moveX;
    MoveY = moveY;
    Rotate = rotate;
    return true;
  } catch (const shared::EConvertError& error) {
    Status->Fail(shared::ToQString(error.what()));
    edits[stage - 1]->setFocus();
    return false;
  }
}

void TMorphDlg::HelpButtonClick() { shared::ProgramInfo().ShowHelpTopic("move.html"); }

void TMorphDlg::Timer1Timer() { Status->Timer1Timer(); }

}  // namespace quillon
