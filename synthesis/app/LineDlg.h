// TLineDialog: the "Line" form that edits the two end points of one line of the output-link
// drawing in the user's units.
#pragma once

#include <QDialog>
#include <memory>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace shared {
class TDialogStatus;
}

namespace vesk {

class TComplexLine;

class TLineDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TLineDialog(QWidget* parent = nullptr);
  ~TLineDialog() override;

  // The line to edit, not owned; none disables the edits and OK just closes.
  TComplexLine* TargetLine = nullptr;
  // The copy that the edits fill; the target takes it only when all four converted.
  std::unique_ptr<TComplexLine> WorkLine;

  void ShowLine();
  void SetLabels();
  // Converts the edits into WorkLine; false, with the failing edit focused and the status bar
  // warning, when one does not convert.
  bool ReadEdits();
  void SetEditsEnabled(bool enabled);

  QGroupBox* GroupBox1;
  QLabel* X1Label;
  QLabel* Y1Label;
  QLabel* X2Label;
  QLabel* Y2Label;
  QLabel* X1Unit;
  QLabel* Y1Unit;
  QLabel* X2Unit;
  QLabel* Y2Unit;
  QLineEdit* XminEdit;
  QLineEdit* YminEdit;
  QLineEdit* XmaxEdit;
  QLineEdit* YmaxEdit;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;
  shared::TDialogStatus* Status;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void OKBtnClick();
};

}  // namespace vesk
