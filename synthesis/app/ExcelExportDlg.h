// TExcelExportDialog: the modal "Excel Export Options" form that chooses what the workbook of a
// solution holds; graphs are drawn from the motion data, so the two boxes go together.
#pragma once

#include <QDialog>

#include "synthesis/engine/SolutionExport.h"

class QCheckBox;
class QPushButton;

namespace vesk {

class TExcelExportDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TExcelExportDialog(QWidget* parent = nullptr);

  // The three boxes as the workbook export takes them.
  TWorkbookOptions Options() const;

  QCheckBox* PropCheckBox;
  QCheckBox* GraphCheckBox;
  QCheckBox* DataCheckBox;
  QPushButton* OKButton;
  QPushButton* CancelButton;

 private:
  void DataCheckBoxClick(bool checked);
  void GraphCheckBoxClick(bool checked);
};

}  // namespace vesk
