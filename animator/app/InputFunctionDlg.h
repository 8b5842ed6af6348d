// TInputFunctionDlg: the dialog that edits the motion law of one driven joint, section by
// section, on its own copy, with a graph of displacement, velocity or acceleration over a cycle.
#pragma once

#include <QDialog>
#include <memory>
#include <string>

#include "animator/engine/InputFunction.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;
class QTreeWidget;

namespace shared {
class TDialogStatus;
}

namespace quillon {

class TSimpleGraphFrm;

class TInputFunctionDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TInputFunctionDlg(QWidget* parent = nullptr);
  ~TInputFunctionDlg() override;

  // The input function that OK writes back into; not owned. None: a read-only view.
  void SetTarget(TInputFunction* target) { Target = target; }
  TInputFunction* GetTarget() const { return Target; }
  const TInputFunction& WorkCopy() const { return *FWorkCopy; }
  int Current() const { return FCurrent; }

  void FormShow();
  void AddButtonClick();
  void ApplyButtonClick();
  void DeleteButtonClick();
  void ClearButtonClick();
  void FunListViewSelectItem();
  void GraphTabControlChange();
  void ShowLabelsButtonClick();
  void HelpButtonClick();
  // OK only: true lets the dialog close and the copy goes back; an empty copy is refused with a
  // message while there is a target.
  bool FormCloseQuery();
  void Timer1Timer();

  void RefreshList();
  void ShowCurrent();
  // Law, Time and Displacement from the edits; a failure is reported in the status bar.
  bool ReadEdits();
  void RefreshGraph();

  std::string HelpTopic = "inputfunction.html";

  QComboBox* FunTypeBox;
  QLineEdit* TimeEdit;
  QLineEdit* DispEdit;
  QTreeWidget* FunListView;
  QPushButton* AddButton;
  QPushButton* DeleteButton;
  QPushButton* ClearButton;
  QPushButton* ApplyButton;
  QTabBar* GraphTabControl;
  TSimpleGraphFrm* SimpleGraphFrm1;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;
  QPushButton* HelpButton;
  QPushButton* ShowLabelsButton;
  QLabel* FunTypeLabel;
  QLabel* TimeLabel;
  QLabel* DispLabel;
  shared::TDialogStatus* Status;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  int SelectedRow() const;
  void SelectRow(int row);
  QStringList RowTexts(int i) const;

  std::unique_ptr<TInputFunction> FWorkCopy;
  TInputFunction* Target = nullptr;
  int FCurrent = -1;
  int Law = 0;
  double Time = 0;
  double Displacement = 0;
};

}  // namespace quillon
