// The project information, report options and About dialogs, driven headless by object name.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <sstream>

#include "shared/ProgramInfo.h"
#include "shared/ShellOpen.h"
#include "shared/Sound.h"
#include "shared/TabLine.h"
#include "shared/qt/AboutDlg.h"
#include "shared/qt/HTMLPrintDialog.h"
#include "shared/qt/ProjectInfoDialog.h"

namespace {

template <typename T>
T* Child(QWidget& parent, const char* name) {
  T* child = parent.findChild<T*>(name);
  EXPECT_NE(child, nullptr) << name;
  return child;
}

// The widgets that Tab visits, from the first one on, for n steps.
std::vector<QString> TabChain(QWidget* first, int n) {
  std::vector<QString> names;
  QWidget* w = first;
  for (int i = 0; i < n; ++i, w = w->nextInFocusChain()) {
    while (!(w->focusPolicy() & Qt::TabFocus)) w = w->nextInFocusChain();
    names.push_back(w->objectName());
  }
  return names;
}

TEST(ProjectInfoDialogTest, NewDocumentShowsTodayAndEmptyFields) {
  shared::TProjectInfoDialog dialog;
  EXPECT_EQ(dialog.windowTitle(), "Project Information");
  dialog.show();
  const QString today = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
  EXPECT_EQ(Child<QLineEdit>(dialog, "DateEdit")->text(), today);
  for (const char* name : {"TitleEdit", "ClientEdit", "AuthorEdit"})
    EXPECT_EQ(Child<QLineEdit>(dialog, name)->text(), "") << name;
  EXPECT_EQ(Child<QPlainTextEdit>(dialog, "CommentsMemo")->toPlainText(), "");
  EXPECT_EQ(TabChain(dialog.TitleEdit, 7),
            (std::vector<QString>{"TitleEdit", "ClientEdit", "AuthorEdit", "DateEdit", "CommentsMemo",
                                  "OKBtn", "HelpButton"}));
  dialog.close();
}

TEST(ProjectInfoDialogTest, ShowsTheInformationAndTakesTheEditsBack) {
  shared::TProjectInfoDialog dialog;
  dialog.Info.Title = "Gripper \xE9";
  dialog.Info.Comments = {"one", "", "three"};
  QTimer::singleShot(0, &dialog, [&] {
    EXPECT_EQ(dialog.TitleEdit->text(), QString::fromUtf8("Gripper \xC3\xA9"));
    EXPECT_EQ(dialog.CommentsMemo->toPlainText(), "one\n\nthree");
    dialog.ClientEdit->setText(QString::fromUtf8("Caf\xC3\xA9"));
    dialog.CommentsMemo->setPlainText("first\n\nlast\n");
    QTest::mouseClick(Child<QPushButton>(dialog, "OKBtn"), Qt::LeftButton);
  });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_EQ(dialog.Info.Title, "Gripper \xE9");
  EXPECT_EQ(dialog.Info.Client, "Caf\xE9") << "stored in Windows-1252";
  EXPECT_EQ(dialog.Info.Comments, (std::vector<std::string>{"first", "", "last", ""}));

  QTimer::singleShot(0, &dialog, [&] {
    dialog.AuthorEdit->setText("Closed anyway");
    dialog.reject();
  });
  dialog.exec();
  EXPECT_EQ(dialog.Info.Author, "Closed anyway") << "the form is the information's home";

  std::ostringstream html;
  dialog.WriteHTML(html);
  EXPECT_NE(html.str().find("Caf\xE9"), std::string::npos);
}

TEST(ProjectInfoDialogTest, ReadsAndWritesTheSharedStore) {
  shared::CreateTabLines();
  shared::TProjectInfoDialog dialog;
  dialog.Info.Title = "";
  dialog.Info.Client = "Orvane";
  dialog.Info.Date = "d";
  dialog.Info.Comments = {"", "kept"};
  shared::TabLines().Clear();
  dialog.WriteInfoSection();
  EXPECT_EQ(shared::TabLines().Lines,
            (std::vector<std::string>{"[Info>", "\tOrvane\t\td", "", "kept", "<Info]"}));
  dialog.Info = {};
  dialog.ReadInfoSection();
  EXPECT_EQ(dialog.Info.Title, "");
  EXPECT_EQ(dialog.Info.Client, "Orvane");
  EXPECT_EQ(dialog.Info.Comments, (std::vector<std::string>{"", "kept"}));

  shared::TabLines().Clear();
  shared::TabLines().Lines = {"[Header>", "0\tQuillon", "<Header]"};
  dialog.ReadInfoSection();
  EXPECT_EQ(dialog.Info.Client, "");
  EXPECT_EQ(dialog.Info.Date, shared::TProjectInfoDialog::Today());
  EXPECT_TRUE(dialog.Info.Comments.empty());
  shared::FreeTabLines();
}

TEST(ProjectInfoDialogTest, HelpGoesThroughTheHook) {
  shared::TProjectInfoDialog dialog;
  QTest::mouseClick(dialog.HelpButton, Qt::LeftButton);  // no hook: nothing happens
  std::vector<std::string> topics;
  dialog.SetHelpHandler([&](const std::string& topic) { topics.push_back(topic); });
  QTest::mouseClick(dialog.HelpButton, Qt::LeftButton);
  dialog.HelpTopic = "IDH_ProjectInfo";
  QTest::mouseClick(dialog.HelpButton, Qt::LeftButton);
  EXPECT_EQ(topics, (std::vector<std::string>{"projectinfo.html", "IDH_ProjectInfo"}));
}

TEST(HTMLPrintDialogTest, StartsWithTheFormStateInTabOrder) {
  shared::THTMLPrintDialog dialog;
  EXPECT_EQ(dialog.windowTitle(), "HTML Report Options");
  EXPECT_EQ(Child<QGroupBox>(dialog, "GroupBox")->title(), "HTML Report Options");
  using O = shared::THtmlReportOptions;
  const std::tuple<const char*, const char*, bool, bool O::*> boxes[] = {
      {"InfoCheckBox", "Include Project Info", true, &O::ProjectInfo},
      {"DrawingCheckBox", "Include Mechanism Drawing", true, &O::Drawing},
      {"PropCheckBox", "Include Mechanism Properties", true, &O::Properties},
      {"PathCheckBox", "Include Path Data", false, &O::PathData},
      {"AutoPrintCheckBox", "Automatically Print", true, &O::AutoPrint},
      {"CurveCheckBox", "Include Curve Definition", false, &O::Curve},
      {"AreasCheckBox", "Include Areas", false, &O::Areas}};
  for (const auto& [name, caption, checked, option] : boxes) {
    auto* box = Child<QCheckBox>(dialog, name);
    EXPECT_EQ(box->text(), caption);
    EXPECT_EQ(box->isChecked(), checked) << name;
    // The report writers take each box as its own option.
    EXPECT_EQ(dialog.Options().*option, checked) << name;
    box->setChecked(!checked);
    EXPECT_EQ(dialog.Options().*option, !checked) << name;
    box->setChecked(checked);
  }
  EXPECT_EQ(Child<QLineEdit>(dialog, "FileNameEdit")->text(), "");
  dialog.show();
  EXPECT_EQ(TabChain(dialog.InfoCheckBox, 12),
            (std::vector<QString>{"InfoCheckBox", "DrawingCheckBox", "PropCheckBox", "PathCheckBox",
                                  "FileNameEdit", "BrowseButton", "AutoPrintCheckBox", "CurveCheckBox",
                                  "AreasCheckBox", "OKButton", "CancelButton", "HelpButton"}));
  dialog.close();
}

TEST(HTMLPrintDialogTest, OkAndCancelGiveTheirResults) {
  shared::THTMLPrintDialog dialog;
  QTimer::singleShot(0, &dialog, [&] { QTest::mouseClick(dialog.OKButton, Qt::LeftButton); });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  QTimer::singleShot(0, &dialog, [&] { QTest::mouseClick(dialog.CancelButton, Qt::LeftButton); });
  EXPECT_EQ(dialog.exec(), QDialog::Rejected);
}

TEST(HTMLPrintDialogTest, BrowsePutsTheConfirmedNameIntoTheEdit) {
  shared::THTMLPrintDialog dialog;
  const QString dir = QDir::tempPath();
  dialog.FileNameEdit->setText(dir + "/proposed.html");
  auto answer = [&](bool accept, const QString& name) {
    QTimer::singleShot(0, &dialog, [&, accept, name] {
      auto* save = dialog.findChild<QFileDialog*>("SaveDialog");
      ASSERT_NE(save, nullptr);
      EXPECT_EQ(save->acceptMode(), QFileDialog::AcceptSave);
      EXPECT_EQ(save->defaultSuffix(), "html");
      EXPECT_EQ(save->nameFilters(), QStringList{"HTML files (*.html *.htm)"});
      if (accept) {
        save->selectFile(name);
        static_cast<QDialog*>(save)->accept();  // QFileDialog::accept, reached through the public base
      } else {
        save->reject();
      }
    });
  };
  answer(false, {});
  dialog.BrowseButtonClick();
  EXPECT_EQ(dialog.FileNameEdit->text(), dir + "/proposed.html");
  answer(true, dir + "/report");
  dialog.BrowseButtonClick();
  EXPECT_EQ(dialog.FileNameEdit->text(), dir + "/report.html") << "the default extension is added";
}

TEST(HTMLPrintDialogTest, HelpGoesThroughTheHookWhenThereIsOne) {
  shared::THTMLPrintDialog dialog;
  QTest::mouseClick(dialog.HelpButton, Qt::LeftButton);  // the synthesis program's: no action
  std::vector<std::string> topics;
  dialog.SetHelpHandler([&](const std::string& topic) { topics.push_back(topic); });
  QTest::mouseClick(dialog.HelpButton, Qt::LeftButton);
  EXPECT_EQ(topics, std::vector<std::string>{"htmlreport.html"});
}

class TRecordingSound : public shared::TSound {
 public:
  void Beep() override { ++Beeps; }
  std::vector<std::string> Requests;
  int Beeps = 0;

 protected:
  std::string Locate(const std::string& fileName) const override {
    const_cast<TRecordingSound*>(this)->Requests.push_back(fileName);
    return fileName == "About.wav" && Present ? fileName : std::string();
  }
  bool IsPlaying() const override { return Playing; }
  void Start(const std::string&) override { ++Started; }

 public:
  bool Present = false;
  bool Playing = false;
  int Started = 0;
};

shared::TAboutInfo SampleAbout() {
  return {"Quillon Animator",
          "2.1.4",
          "10-12-2026",
          "Copyright \xA9 Orvane",
          "All rights reserved",
          "sales@example.org",
          "mailto:sales@example.org?subject=Quillon Animator 2.1.4",
          "https://example.org/"};
}

TEST(AboutDlgTest, ShowsTheProgramAndPlaysItsSoundOnce) {
  TRecordingSound sound;
  shared::SetSound(&sound);
  {
    shared::TAboutDlg about(SampleAbout());
    EXPECT_EQ(about.windowTitle(), "About");
    EXPECT_EQ(Child<QLabel>(about, "ProgramName")->text(), "Quillon Animator");
    EXPECT_TRUE(about.ProgramName->font().bold());
    EXPECT_TRUE(Child<QLabel>(about, "VersionLabel")->text().contains("2.1.4"));
    EXPECT_EQ(Child<QLabel>(about, "DateLabel")->text(), "10-12-2026");
    EXPECT_EQ(Child<QLabel>(about, "CopyrightLabel")->text(), QString::fromUtf8("Copyright \xC2\xA9 Orvane"));
    EXPECT_EQ(Child<QLabel>(about, "RightsLabel")->text(), "All rights reserved");
    for (const char* name : {"MailLabel", "URLLabel"}) {
      auto* link = Child<QLabel>(about, name);
      EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor) << name;
      EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::blue)) << name;
    }
    Child<QPushButton>(about, "OKButton");
    about.show();
    QApplication::processEvents();
    EXPECT_EQ(sound.Requests, std::vector<std::string>{"About.wav"});
    EXPECT_EQ(sound.Beeps, 0) << "a missing file stays silent";
    about.close();
  }
  sound.Present = true;
  {
    shared::TAboutDlg about(SampleAbout());
    about.show();
    QApplication::processEvents();
    EXPECT_EQ(sound.Started, 1);
  }
  sound.Playing = true;
  {
    shared::TAboutDlg about(SampleAbout());
    about.show();
    QApplication::processEvents();
    EXPECT_EQ(sound.Started, 1) << "a sound still playing is not interrupted";
  }
  shared::SetSound(nullptr);
}

TEST(AboutDlgTest, AnimatorBoxComesFromItsProgramInformation) {
  shared::TProgramInfo program;
  const shared::TAboutInfo info = shared::AboutInfoFor(program);
  EXPECT_EQ(info.ProgramName, "Quillon Animator");
  EXPECT_EQ(info.Version, "2.1.4");
  EXPECT_EQ(info.Date, program.BuildDate);
  EXPECT_EQ(info.Copyright, program.Notice);
  EXPECT_EQ("mailto:" + info.MailAddress, program.Mail);
  EXPECT_EQ(info.MailLink, program.MailWithSubject);
  EXPECT_EQ(info.URL, program.ProductURL);
}

TEST(AboutDlgTest, LinksOpenThroughTheShell) {
  std::vector<std::string> opened;
  shared::SetShellOpen([&](const std::string& target) {
    opened.push_back(target);
    return true;
  });
  shared::TAboutDlg about(SampleAbout());
  about.show();
  QTest::mouseClick(about.MailLabel, Qt::LeftButton);
  QTest::mouseClick(about.URLLabel, Qt::LeftButton);
  QTest::mouseClick(about.DateLabel, Qt::LeftButton);
  EXPECT_EQ(opened, (std::vector<std::string>{"mailto:sales@example.org?subject=Quillon Animator 2.1.4",
                                              "https://example.org/"}));
  QTimer::singleShot(0, &about, [&] { QTest::mouseClick(about.OKButton, Qt::LeftButton); });
  EXPECT_EQ(about.exec(), QDialog::Accepted);
  shared::SetShellOpen(nullptr);
}

}  // namespace
