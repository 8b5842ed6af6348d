// TAboutDlg: the "About" box with the program's name, version, date, notices and the clickable
// mail and web links; it plays "About.wav" when it opens.
#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QPushButton;

namespace shared {

// What the box shows, taken from the program information of the program that opens it.
struct TAboutInfo {
  std::string ProgramName;
  std::string Version;
  std::string Date;
  std::string Copyright;
  std::string Rights;       // an empty line is left out
  std::string MailAddress;  // shown
  std::string MailLink;     // opened on a click: "mailto:" + address + "?subject=" + subject
  std::string URL;          // shown and opened on a click
};

class TProgramInfo;

// The animator's box: title, version, build date, notice, sales address and product page.
TAboutInfo AboutInfoFor(const TProgramInfo& program);

class TAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutDlg(const TAboutInfo& info, QWidget* parent = nullptr);

  QLabel* ProgramIcon;
  QLabel* ProgramName;
  QLabel* VersionLabel;
  QLabel* DateLabel;
  QLabel* CopyrightLabel;
  QLabel* RightsLabel;
  QLabel* MailLabel;
  QLabel* URLLabel;
  QPushButton* OKButton;

 public slots:
  void MailLabelClick();
  void URLLabelClick();

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::string MailLink;
};

}  // namespace shared
