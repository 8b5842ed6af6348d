// TProjectInfoDialog: the modal "Project Information" form. One instance lives for the whole
// run and holds the open document's project information between uses.
#pragma once

#include <QDialog>
#include <functional>
#include <istream>
#include <ostream>
#include <string>

#include "shared/ProjectInfo.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace shared {

class TWorksheet;

class TProjectInfoDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TProjectInfoDialog(QWidget* parent = nullptr);

  // The information itself; the form shows it when it opens and takes the edits back when it
  // closes, whichever way it is closed.
  TProjectInfo Info;
  // What the Help button asks for; the synthesis program sets "IDH_ProjectInfo" and its range.
  std::string HelpTopic = "projectinfo.html";
  std::string ExcelFillRange = kAnimatorInfoFill;
  // Help shows HelpTopic through the handler; the program connects its help display.
  using THelpHandler = std::function<void(const std::string& topic)>;
  void SetHelpHandler(THelpHandler handler) { HelpHandler = std::move(handler); }

  // Today's date in the user's short date format.
  static std::string Today();
  void SetDefaults();
  // The "Info" section of the process-wide tab-line store.
  void ReadInfoSection();
  void WriteInfoSection();
  void ReadFromText(std::istream& in) { Info.ReadFromText(in); }
  void WriteToText(std::ostream& out) const { Info.WriteToText(out); }
  void WriteToExcel(int& row, TWorksheet& sheet) const { Info.WriteToExcel(row, sheet, ExcelFillRange); }
  void WriteHTML(std::ostream& out) const { Info.WriteHTML(out); }

  void done(int result) override;

  QLabel* ProgramIcon;
  QLineEdit* TitleEdit;
  QLineEdit* ClientEdit;
  QLineEdit* AuthorEdit;
  QLineEdit* DateEdit;
  QPlainTextEdit* CommentsMemo;
  QPushButton* OKBtn;
  QPushButton* HelpButton;

 protected:
  void showEvent(QShowEvent* event) override;

 private slots:
  void HelpButtonClick();

 private:
  void ShowInfo();
  void TakeInfo();
  THelpHandler HelpHandler;
};

}  // namespace shared
