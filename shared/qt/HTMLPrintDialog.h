// THTMLPrintDialog: the modal "HTML Report Options" form; the report writers read its check
// boxes and file name after OK.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "shared/HtmlPage.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace shared {

class THTMLPrintDialog : public QDialog {
  Q_OBJECT

 public:
  explicit THTMLPrintDialog(QWidget* parent = nullptr);

  std::string HelpTopic = "htmlreport.html";
  // Help shows HelpTopic through the handler; the program connects its help display.
  // The synthesis program connects none: its Help button does nothing.
  using THelpHandler = std::function<void(const std::string& topic)>;
  void SetHelpHandler(THelpHandler handler) { HelpHandler = std::move(handler); }
  // The check boxes as the report writers take them.
  THtmlReportOptions Options() const;

  QGroupBox* GroupBox;
  QCheckBox* InfoCheckBox;
  QCheckBox* DrawingCheckBox;
  QCheckBox* PropCheckBox;
  QCheckBox* PathCheckBox;
  QLineEdit* FileNameEdit;
  QPushButton* BrowseButton;
  QCheckBox* AutoPrintCheckBox;
  QCheckBox* CurveCheckBox;
  QCheckBox* AreasCheckBox;
  QPushButton* OKButton;
  QPushButton* CancelButton;
  QPushButton* HelpButton;

 public slots:
  // A save dialog ("SaveDialog") for the report file; a confirmed name goes into the edit.
  void BrowseButtonClick();
  void HelpButtonClick();

 private:
  THelpHandler HelpHandler;
};

// The date and time of writing in the user's short formats (Windows-1252).
void ReportDateTime(std::string& date, std::string& time);

// The program's title, version, web page and notice and the date and time of writing, which
// every report page shows.
template <class TReport, class TProgram>
void StampReport(TReport& report, const TProgram& program) {
  report.Title = program.Title;
  report.Version = program.Version;
  report.ProductURL = program.ProductURL;
  report.Notice = program.Notice;
  ReportDateTime(report.Date, report.Time);
}

}  // namespace shared
