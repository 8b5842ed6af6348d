// TProgressDlg: the "AVI Progress" window shown, not modal, while a film is recorded; its Cancel
// button (or Esc) asks the recording to stop.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace quillon {

class TProgressDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TProgressDlg(QWidget* parent = nullptr);

  void SetMax(int max);
  // One step on while the position stays within the bar's range.
  void StepIt();
  void CancelBtnClick() { Cancelled = true; }

  // Set by Cancel; cleared each time the dialog is shown.
  bool Cancelled = false;

  QLabel* Label1;
  QPushButton* CancelBtn;
  QProgressBar* ProgressBar1;

 public slots:
  // Esc and the window's close button cancel as the button does; the recording hides the dialog.
  void reject() override { CancelBtnClick(); }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();
};

}  // namespace quillon
