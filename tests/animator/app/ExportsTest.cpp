// The view's picture, report and workbook exports driven headless, and the workbook export's
// option dialog: its boxes, texts, settings and help.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "animator/app/AnimationFrm.h"
#include "animator/app/AppDialogs.h"
#include "animator/app/ExcelExportDlg.h"
#include "animator/app/InformationBox.h"
#include "animator/app/LanguageFile.h"
#include "animator/app/TrackBar.h"
#include "animator/engine/AniMechanism.h"
#include "animator/engine/StdOut.h"
#include "shared/Canvas2D.h"
#include "shared/Convert.h"
#include "shared/PictureFile.h"
#include "shared/ProgramInfo.h"
#include "shared/Settings.h"
#include "shared/ShellOpen.h"
#include "shared/TabLine.h"
#include "shared/Workbook.h"
#include "shared/qt/HTMLPrintDialog.h"
#include "shared/qt/XlsxWorkbook.h"
#include "tests/animator/app/AppTestSupport.h"
#include "tests/shared/TestFiles.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;
using shared::test::ReadBytes;

const std::string kFixtures = SUITE_FIXTURES;
const std::string kKey = "Software\\Orvane\\Quillon";
const char* const kBoxKeys[9] = {"Properties", "Vectors", "Path",   "Vel",  "Acc",
                                 "Rot",        "AngVel",  "AngAcc", "Trans"};

std::vector<QCheckBox*> Boxes(const TExcelExportDlg& dialog) {
  return {dialog.PropCheck, dialog.VectorsCheck, dialog.PathCheck,   dialog.VelCheck,  dialog.AccCheck,
          dialog.RotCheck,  dialog.AngVelCheck,  dialog.AngAccCheck, dialog.TransCheck};
}

class TLogLines : public TMessageSink {
 public:
  std::vector<std::string> Lines;
  void AppendLine(const std::string& line, TMessageKind) override { Lines.push_back(line); }
  void ClearLines() override { Lines.clear(); }
};

TEST(ExcelExportDlg, FormAndTexts) {
  TExcelExportDlg dialog;
  EXPECT_EQ(dialog.windowTitle(), "Export to Excel");
  EXPECT_EQ(dialog.GroupBox1->title(), "Include in Excel Workbook:");
  const char* const captions[9] = {
      "Mechanism properties",  "Vectors of output joint",   "Path Length",
      "Path Velocity",         "Path Acceleration",         "Link Rotation",
      "Link Angular Velocity", "Link Angular Acceleration", "Transmission Angle"};
  const std::vector<QCheckBox*> boxes = Boxes(dialog);
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(boxes[size_t(i)]->text(), captions[i]);
    EXPECT_TRUE(boxes[size_t(i)]->isChecked());
  }
  // Tab order: the buttons, then the boxes from the top.
  std::vector<QWidget*> order = {dialog.OKButton, dialog.CancelButton, dialog.HelpButton};
  order.insert(order.end(), boxes.begin(), boxes.end());
  // The group box itself takes no focus.
  const auto next = [](QWidget* widget) {
    do widget = widget->nextInFocusChain();
    while (widget->focusPolicy() == Qt::NoFocus);
    return widget;
  };
  for (size_t i = 1; i < order.size(); ++i)
    EXPECT_EQ(next(order[i - 1]), order[i]) << order[i]->objectName().toStdString();

  // Texts of the language file, the defaults for the keys it lacks.
  std::istringstream file("[ToExcel]\nCaption=Naar Excel\nCaption2=Opnemen:\nPath=Baanlengte\nOK=Goed\n");
  TLanguageFile texts;
  texts.LoadFromStream(file);
  dialog.ReadTexts(texts);
  EXPECT_EQ(dialog.windowTitle(), "Naar Excel");
  EXPECT_EQ(dialog.GroupBox1->title(), "Opnemen:");
  EXPECT_EQ(dialog.PathCheck->text(), "Baanlengte");
  EXPECT_EQ(dialog.PropCheck->text(), "Mechanism properties");
  EXPECT_EQ(dialog.VectorsCheck->text(), "Vectors of joint positions");
  EXPECT_EQ(dialog.TransCheck->text(), "Transmission angles");
  EXPECT_EQ(dialog.OKButton->text(), "Goed");
  EXPECT_EQ(dialog.HelpButton->text(), "Help");

  std::vector<std::string> topics;
  dialog.SetHelpHandler([&](const std::string& topic) { topics.push_back(topic); });
  dialog.HelpButton->click();
  EXPECT_EQ(topics, std::vector<std::string>{"exporttoexcel.html"});
}

TEST(ExcelExportDlg, SettingsOfTheBoxes) {
  shared::SetSettingsFactory(OpenStoreSettings);
  SettingsStore().Values.clear();
  {
    // Without a key nothing is read or written.
    TExcelExportDlg dialog;
    dialog.RotCheck->setChecked(false);
  }
  EXPECT_TRUE(SettingsStore().Values.empty());
  {
    TExcelExportDlg dialog;
    dialog.SetRegistryKey(kKey);
    // Nothing stored yet: every box checked.
    for (QCheckBox* box : Boxes(dialog)) EXPECT_TRUE(box->isChecked());
    dialog.VelCheck->setChecked(false);
    dialog.TransCheck->setChecked(false);
  }
  const auto& section = SettingsStore().Values.at("ExcelExportDlg");
  EXPECT_EQ(section.size(), 9u);
  {
    TExcelExportDlg dialog;
    dialog.SetRegistryKey(kKey);
    const std::vector<QCheckBox*> boxes = Boxes(dialog);
    for (int i = 0; i < 9; ++i) {
      const bool off = std::string(kBoxKeys[i]) == "Vel" || std::string(kBoxKeys[i]) == "Trans";
      EXPECT_EQ(boxes[size_t(i)]->isChecked(), !off) << kBoxKeys[i];
    }
    const TExcelExportOptions options = dialog.Options();
    EXPECT_FALSE(options.Vel);
    EXPECT_FALSE(options.Trans);
    EXPECT_TRUE(options.Acc);
    EXPECT_TRUE(options.Properties);
  }
  shared::SetSettingsFactory(nullptr);
}

class ExportsTest : public shared::test::TTempFolderTest {
 protected:
  ExportsTest() : TTempFolderTest("exports_test") {}

  void SetUp() override {
    TTempFolderTest::SetUp();
    shared::CreateProgramInfo();
    shared::CreateTabLines();
    shared::CreateConvert();
    CreateStdOut();
    StdOut().SetSink(&Log);
    SettingsStore().Values.clear();
    shared::SetSettingsFactory(OpenStoreSettings);
    shared::SetShellOpen([this](const std::string& target) {
      Opened.push_back(target);
      return true;
    });
    shared::SetWorkbookShow([this](const shared::TWorkbook& book) {
      for (const auto& sheet : book.Sheets()) Tabs.push_back(sheet->GetName());
      return book.FileName;
    });
    SetInformationHandler([this](const QString& text) { Informations.push_back(text.toStdString()); });
    // Where the user's documents go.
    shared::ProgramInfo().DataDir = dir.string() + "/";
    AppDialogs().HTMLPrintDialog = &Report;
    AppDialogs().ExcelExportDlg = &Excel;
    View = std::make_unique<TAnimationFrm>(Clipboard);
    View->SetRegistryKey(kKey);
    View->LoadFromFile(kFixtures + "/fourbar.mech");
    View->resize(500, 400);
    View->show();
    QCoreApplication::processEvents();
  }

  void TearDown() override {
    View.reset();
    AppDialogs() = {};
    SetInformationHandler(nullptr);
    shared::SetWorkbookShow(nullptr);
    shared::SetShellOpen(nullptr);
    shared::SetSettingsFactory(nullptr);
    StdOut().SetSink(nullptr);
    FreeStdOut();
    shared::FreeConvert();
    shared::FreeTabLines();
    shared::FreeProgramInfo();
    TTempFolderTest::TearDown();
  }

  // The modal dialog is answered once it shows: set up, then accepted or rejected.
  template <typename TDialog>
  void Answer(TDialog& dialog, bool accept, std::function<void()> setUp = nullptr) {
    QTimer::singleShot(0, &dialog, [&dialog, accept, setUp] {
      if (setUp) setUp();
      if (accept) {
        dialog.OKButton->click();
      } else {
        dialog.CancelButton->click();
      }
    });
  }

  TFakeClipboard Clipboard;
  shared::THTMLPrintDialog Report;
  TExcelExportDlg Excel;
  std::unique_ptr<TAnimationFrm> View;
  TLogLines Log;
  std::vector<std::string> Opened;
  std::vector<std::string> Tabs;
  std::vector<std::string> Informations;
};

TEST_F(ExportsTest, PictureOfTheCurrentStep) {
  View->PositionTrackBar->setValue(7);
  struct Case {
    const char* name;
    const char* written;
    bool bitmap;
  };
  for (const Case c : {Case{"pic.bmp", "pic007.bmp", true}, Case{"pic.JPG", "pic007.JPG", false},
                       Case{"pic.Bmp", "pic007.Bmp", true}}) {
    SCOPED_TRACE(c.name);
    Log.Lines.clear();
    View->ExportPicture((dir / c.name).string());
    const fs::path written = dir / c.written;
    EXPECT_EQ(Log.Lines, std::vector<std::string>{"Saved: " + written.string()});
    const std::string data = ReadBytes(written);
    if (c.bitmap) {
      // The drawing as the canvas shows it at step 7.
      const fs::path shot = dir / "shot.bmp";
      View->Canvas().SaveBitmap(shot.string());
      EXPECT_EQ(data, ReadBytes(shot));
      fs::remove(shot);
    } else {
      EXPECT_EQ(data.substr(0, 3), "\xFF\xD8\xFF");
    }
  }
  // A folder that does not exist: the error reaches the caller and nothing is logged.
  Log.Lines.clear();
  EXPECT_THROW(View->ExportPicture((dir / "gone" / "pic.bmp").string()), std::runtime_error);
  EXPECT_TRUE(Log.Lines.empty());
}

TEST_F(ExportsTest, WorkbookOfTheCheckedBoxes) {
  Answer(Excel, true, [this] {
    for (QCheckBox* box : Boxes(Excel)) box->setChecked(false);
    Excel.PropCheck->setChecked(true);
    Excel.RotCheck->setChecked(true);
  });
  View->ExportToExcel();
  EXPECT_EQ(Tabs, (std::vector<std::string>{"Properties", "Rotation Chart", "Rotation", "Sheet1"}));

  // Cancel: no workbook.
  Tabs.clear();
  Answer(Excel, false);
  View->ExportToExcel();
  EXPECT_TRUE(Tabs.empty());

  // A properties sheet name of the language file that the workbook refuses.
  View->PropertiesSheetName = "Props [all]";
  Answer(Excel, true);
  EXPECT_THROW(View->ExportToExcel(), std::invalid_argument);
  EXPECT_TRUE(Tabs.empty());
}

// The workbook is written where the user's documents go (the data path, not the temporary folder
// that the system clears), named after the document and never over a file that is there; the
// log names it, and an information box tells when no program opened it.
TEST_F(ExportsTest, TheWorkbookGoesToTheDataPathNamedAfterTheDocument) {
  shared::ConnectXlsxWorkbook();
  const auto exportBook = [this] {
    Log.Lines.clear();
    Opened.clear();
    Answer(Excel, true);
    View->ExportToExcel();
  };
  const fs::path first = dir / "fourbar.xlsx";
  exportBook();
  EXPECT_EQ(Log.Lines, std::vector<std::string>{"Saved: " + first.string()});
  EXPECT_EQ(Opened, std::vector<std::string>{first.string()});
  EXPECT_GT(fs::file_size(first), 1000u);
  const std::string book = ReadBytes(first);

  const fs::path second = dir / "fourbar (2).xlsx";
  exportBook();
  EXPECT_EQ(Log.Lines, std::vector<std::string>{"Saved: " + second.string()});
  EXPECT_EQ(ReadBytes(first), book) << "the first book is kept";
  EXPECT_TRUE(Informations.empty());

  // No program opens it: saved all the same, and said so with an information.
  shared::SetShellOpen([](const std::string&) { return false; });
  const fs::path third = dir / "fourbar (3).xlsx";
  exportBook();
  EXPECT_EQ(Log.Lines, std::vector<std::string>{"Saved: " + third.string()});
  EXPECT_GT(fs::file_size(third), 1000u);
  EXPECT_EQ(Informations, std::vector<std::string>{"The workbook was saved as " + third.string() +
                                                   ", but the desktop opened no program for it"});

  // A document never saved.
  View->NewMechanism(0);
  exportBook();
  EXPECT_TRUE(fs::is_regular_file(dir / "Untitled.xlsx"));
}

// The information is a box with the information icon, not an error.
TEST_F(ExportsTest, AWorkbookNoProgramOpensIsToldInAnInformationBox) {
  SetInformationHandler(nullptr);
  shared::ConnectXlsxWorkbook();
  shared::SetShellOpen([](const std::string&) { return false; });
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QString text;
  Answer(Excel, true, [&] {
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      icon = box->icon();
      text = box->text();
      box->accept();
    });
  });
  View->ExportToExcel();
  EXPECT_EQ(icon, QMessageBox::Information);
  EXPECT_EQ(text.toStdString(), "The workbook was saved as " + (dir / "fourbar.xlsx").string() +
                                    ", but the desktop opened no program for it");
}

// A workbook that cannot be written: the error names it and no empty file is left behind.
TEST_F(ExportsTest, AWorkbookThatCannotBeWrittenLeavesNothing) {
  shared::SetWorkbookShow([](const shared::TWorkbook& book) -> std::string {
    throw std::runtime_error("The workbook " + book.FileName + " cannot be written: the disk is full.");
  });
  Answer(Excel, true);
  EXPECT_THROW(View->ExportToExcel(), std::runtime_error);
  EXPECT_TRUE(fs::is_empty(dir));
  EXPECT_TRUE(Log.Lines.empty());

  shared::ProgramInfo().DataDir = (dir / "gone").string() + "/";
  Answer(Excel, true);
  try {
    View->ExportToExcel();
    ADD_FAILURE() << "exported";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find((dir / "gone" / "fourbar.xlsx").string()), std::string::npos)
        << error.what();
  }
  EXPECT_TRUE(Informations.empty());
}

TEST_F(ExportsTest, ReportProposesItsNameAndOpensTheFile) {
  const fs::path report = dir / "fourbar report.html";
  QString proposed;
  Answer(Report, true, [&] {
    proposed = Report.FileNameEdit->text();
    Report.FileNameEdit->setText(QString::fromStdString(report.string()));
    Report.AutoPrintCheckBox->setChecked(false);
  });
  View->WriteHTMLReport();
  // The document's own name with ".html".
  EXPECT_EQ(proposed.toStdString(), kFixtures + "/fourbar.html");
  EXPECT_EQ(Opened, std::vector<std::string>{report.string()});
  EXPECT_TRUE(fs::exists(dir / "fourbar reportMech.jpg"));
  EXPECT_TRUE(fs::exists(dir / "fourbar reportGraph.jpg"));
  const std::string text = ReadBytes(report);
  EXPECT_NE(text.find("<b>" + View->Mechanism().PresetName + "</b>"), std::string::npos);
  EXPECT_EQ(text.find("printPage"), std::string::npos);
  // Logged as pictures and films are.
  EXPECT_EQ(Log.Lines, std::vector<std::string>{"Saved: " + report.string()});
  EXPECT_TRUE(Informations.empty());

  // A document never saved proposes DataDir and "Untitled"; with the graph hidden the report
  // has the drawing only.
  View->NewMechanism(0);
  View->SetGraphVisible(false);
  Opened.clear();
  fs::remove_all(dir);
  fs::create_directories(dir);
  Answer(Report, true, [&] {
    proposed = Report.FileNameEdit->text();
    Report.FileNameEdit->setText(QString::fromStdString(report.string()));
  });
  View->WriteHTMLReport();
  EXPECT_EQ(proposed.toStdString(), shared::ProgramInfo().DataDir + "Untitled.html");
  EXPECT_EQ(Opened, std::vector<std::string>{report.string()});
  EXPECT_TRUE(fs::exists(dir / "fourbar reportMech.jpg"));
  EXPECT_FALSE(fs::exists(dir / "fourbar reportGraph.jpg"));

  // Cancel writes nothing.
  Opened.clear();
  Answer(Report, false);
  View->WriteHTMLReport();
  EXPECT_TRUE(Opened.empty());
}

// The drawing's heading names the preset a document was made from, "Custom" for one read from a
// file or pasted, and what it was again after an undo.
TEST_F(ExportsTest, ReportHeadingNamesWhatTheDocumentIs) {
  const fs::path report = dir / "r.html";
  const auto heading = [&] {
    Answer(Report, true, [&] { Report.FileNameEdit->setText(QString::fromStdString(report.string())); });
    View->WriteHTMLReport();
    const std::string text = ReadBytes(report);
    const std::string start = "size=\"3\"><b>";
    const size_t at = text.find(start);
    return at == std::string::npos
               ? std::string()
               : text.substr(at + start.size(), text.find("</b>", at) - at - start.size());
  };
  // Opened from a file by the fixture, after the start's four-bar.
  EXPECT_EQ(heading(), "Custom");
  View->NewMechanism(6);
  EXPECT_EQ(heading(), "Eight Bar");
  View->CopyToClipboard();
  View->NewMechanism(0);
  EXPECT_EQ(heading(), "Four Bar");
  View->PasteFromClipboard();
  EXPECT_EQ(View->Mechanism().JointCount(), 11);
  EXPECT_EQ(heading(), "Custom");
  // The paste pushed nothing: Undo goes back to before the four-bar.
  View->Undo();
  EXPECT_EQ(View->Mechanism().JointCount(), 11);
  EXPECT_EQ(heading(), "Eight Bar");
}

// Between the options dialog and the pictures the report pumps messages: what arrives then (a
// click on Optimize) is refused, so the pictures and the tables show the design as it was.
TEST_F(ExportsTest, NothingActsBetweenTheReportDialogAndItsPictures) {
  TAniMechanism& m = View->Mechanism();
  for (int step = 0; step <= 45; step += 5)
    m.Curve.AddPoint(shared::TComplex(m.Tracer->Positions[step].X + 0.002, m.Tracer->Positions[step].Y));
  View->MechanismChanged();
  ASSERT_TRUE(m.CanFitCurve());
  const fs::path report = dir / "r.html";
  bool pumped = false;
  Answer(Report, true, [&] {
    Report.FileNameEdit->setText(QString::fromStdString(report.string()));
    // Arrives once the dialog has closed, in the report's own pump.
    QMetaObject::invokeMethod(
        View.get(),
        [&] {
          pumped = !Report.isVisible();
          View->OptimizeButton->click();
        },
        Qt::QueuedConnection);
  });
  View->WriteHTMLReport();
  EXPECT_TRUE(pumped);
  EXPECT_EQ(m.Optimized, 0);
  EXPECT_FALSE(View->OptimizeButton->isChecked());
  EXPECT_EQ(ReadBytes(report).find("[Optimized]"), std::string::npos);
  EXPECT_EQ(Log.Lines,
            (std::vector<std::string>{"[Warning] " + View->BusyText, "Saved: " + report.string()}));
}

// A report that no program opens is named in an information.
TEST_F(ExportsTest, AReportNoProgramOpensIsNamedInAnInformation) {
  shared::SetShellOpen([](const std::string&) { return false; });
  const fs::path report = dir / "r.html";
  Answer(Report, true, [&] { Report.FileNameEdit->setText(QString::fromStdString(report.string())); });
  View->WriteHTMLReport();
  EXPECT_TRUE(fs::is_regular_file(report));
  EXPECT_EQ(Log.Lines, std::vector<std::string>{"Saved: " + report.string()});
  EXPECT_EQ(Informations, std::vector<std::string>{"The report was saved as " + report.string() +
                                                   ", but the desktop opened no program for it"});
}

// A picture that cannot be saved ends the report: the error goes to the log, and the part
// written is kept and opened.
TEST_F(ExportsTest, ReportWithAFailingPicture) {
  const fs::path report = dir / "r.html";
  fs::create_directory(dir / "rGraph.jpg");
  Answer(Report, true, [&] { Report.FileNameEdit->setText(QString::fromStdString(report.string())); });
  View->WriteHTMLReport();
  ASSERT_EQ(Log.Lines.size(), 2u);
  EXPECT_EQ(Log.Lines[1], "Saved: " + report.string());
  EXPECT_EQ(
      Log.Lines[0].rfind("[Error] Cannot write picture file \"" + (dir / "rGraph.jpg").string() + "\"", 0),
      0u)
      << Log.Lines[0];
  EXPECT_EQ(Opened, std::vector<std::string>{report.string()});
  const std::string text = ReadBytes(report);
  EXPECT_NE(text.find("rMech.jpg"), std::string::npos);
  EXPECT_EQ(text.find("</html>"), std::string::npos);
}

TEST_F(ExportsTest, ReportThatCannotBeWritten) {
  fs::create_directory(dir / "taken.html");
  Answer(Report, true,
         [&] { Report.FileNameEdit->setText(QString::fromStdString((dir / "taken.html").string())); });
  EXPECT_THROW(View->WriteHTMLReport(), std::runtime_error);
  EXPECT_TRUE(Opened.empty());
  // Neither its pictures are left.
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(dir)) left.push_back(entry.path().filename().string());
  EXPECT_EQ(left, std::vector<std::string>{"taken.html"});
}

}  // namespace
}  // namespace quillon
