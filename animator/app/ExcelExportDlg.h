// TExcelExportDlg: the modal "Export to Excel" form with the nine boxes that choose what the
// workbook holds; it keeps their states in the "ExcelExportDlg" section of the program's key.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <string>

#include "animator/engine/ExcelExport.h"

class QCheckBox;
class QGroupBox;
class QPushButton;

namespace quillon {

class TLanguageFile;

class TExcelExportDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TExcelExportDlg(QWidget* parent = nullptr);
  // Writes the boxes to the key it was given.
  ~TExcelExportDlg() override;

  // The "ToExcel" texts.
  void ReadTexts(const TLanguageFile& texts);
  // Stores the key and reads the boxes from it; nothing is read or written without a key.
  void SetRegistryKey(const std::string& key);
  void LoadSettings();
  void SaveSettings();

  bool PropChecked() const;
  bool VectorsChecked() const;
  bool PathChecked() const;
  bool VelChecked() const;
  bool AccChecked() const;
  bool RotChecked() const;
  bool AngVelChecked() const;
  bool AngAccChecked() const;
  bool TransChecked() const;
  // The nine states together.
  TExcelExportOptions Options() const;

  std::string HelpTopic = "exporttoexcel.html";
  using THelpHandler = std::function<void(const std::string& topic)>;
  void SetHelpHandler(THelpHandler handler) { HelpHandler = std::move(handler); }

  QPushButton* OKButton;
  QPushButton* CancelButton;
  QPushButton* HelpButton;
  QGroupBox* GroupBox1;
  QCheckBox* PropCheck;
  QCheckBox* VectorsCheck;
  QCheckBox* PathCheck;
  QCheckBox* VelCheck;
  QCheckBox* AccCheck;
  QCheckBox* RotCheck;
  QCheckBox* AngVelCheck;
  QCheckBox* AngAccCheck;
  QCheckBox* TransCheck;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void HelpButtonClick();
  // The boxes in the order of kBoxes.
  std::array<QCheckBox*, 9> Boxes() const;

  std::string RegistryKey;
  THelpHandler HelpHandler;
};

}  // namespace quillon
