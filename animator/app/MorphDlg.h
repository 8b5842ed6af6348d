// TMorphDlg: the "Resize, Move and Rotate" dialog: a resize factor, a shift and a rotation that
// the animation view applies to the whole mechanism about the selected joint.
#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace shared {
class TDialogStatus;
}

namespace quillon {

class TMorphDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TMorphDlg(QWidget* parent = nullptr);

  // Read by the caller after OK. A plain number, an angle (radians) and two lengths (SI).
  double Resize = 1.0;
  double Rotate = 0;
  double MoveX = 0;
  double MoveY = 0;

  // The caller's check of the whole: false when the mechanism, resized, moved and rotated so,
  // would have a joint beyond the length range. None: every value in range is taken.
  std::function<bool(double resize, double moveX, double moveY, double rotate)> ResultFits;

  void SetDefaults();
  void FormShow();
  void ShowValues();
  // OK only: closing is allowed when the values read.
  bool FormCloseQuery();
  bool ReadValues();
  void HelpButtonClick();
  void Timer1Timer();

  QLineEdit* ResizeEdit;
  QLineEdit* MoveXEdit;
  QLineEdit* MoveYEdit;
  QLineEdit* RotateEdit;
  QLabel* MoveXUnitLabel;
  QLabel* MoveYUnitLabel;
  QLabel* RotateUnitLabel;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;
  QPushButton* HelpButton;
  shared::TDialogStatus* Status;

 protected:
  void showEvent(QShowEvent* event) override;
};

}  // namespace quillon
