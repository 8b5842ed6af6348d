// TAreaDialog: the "Area" form that edits the two corners of a pivot area in the user's units
// and the joint the area admits.
#pragma once

#include <QDialog>
#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace shared {
class TDialogStatus;
}

namespace vesk {

class TArea;

class TAreaDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TAreaDialog(QWidget* parent = nullptr);
  ~TAreaDialog() override;

  // Not owned; none disables the edits and OK just closes.
  void SetTarget(TArea* area) { FTarget = area; }
  TArea* Target() const { return FTarget; }

  void EnableEdits(bool on);

  QGroupBox* GroupBox1;
  QLabel* X1Label;
  QLabel* Y1Label;
  QLabel* X2Label;
  QLabel* Y2Label;
  QLabel* X1Unit;
  QLabel* Y1Unit;
  QLabel* X2Unit;
  QLabel* Y2Unit;
  QLineEdit* X1Edit;
  QLineEdit* Y1Edit;
  QLineEdit* X2Edit;
  QLineEdit* Y2Edit;
  QLabel* JointLabel;
  // "All", then the joints "A" to "J": the area's include index.
  QComboBox* JointComboBox;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;
  shared::TDialogStatus* Status;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void LoadTarget();
  void OKBtnClick();

  TArea* FTarget = nullptr;
  std::unique_ptr<TArea> FWork;
};

}  // namespace vesk
