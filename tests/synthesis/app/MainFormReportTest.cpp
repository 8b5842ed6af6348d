// The main window's HTML report driven headless: the pictures taken before the options dialog,
// the default name, the files written and opened on the desktop, the hidden graph, Cancel.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QScrollArea>
#include <QTabWidget>
#include <QTreeWidget>
#include <deque>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "shared/Convert.h"
#include "shared/PictureFile.h"
#include "shared/ShellOpen.h"
#include "shared/qt/Application.h"
#include "shared/qt/HTMLPrintDialog.h"
#include "shared/qt/PathName.h"
#include "shared/qt/ProjectInfoDialog.h"
#include "synthesis/app/MainForm.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/CMatrix.h"
#include "synthesis/engine/InputFunction.h"
#include "synthesis/engine/MechanismList.h"
#include "synthesis/engine/PrePoint.h"
#include "synthesis/engine/ProgramInfo.h"
#include "synthesis/engine/Random.h"
#include "synthesis/engine/Spline.h"
#include "synthesis/engine/SynthOptions.h"
#include "tests/shared/StoreSettings.h"
#include "tests/shared/TestFiles.h"
#include "tests/synthesis/app/AppServices.h"
#include "tests/synthesis/app/FakeDialogs.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using shared::test::ReadBytes;

// Samples of the coupler path of a crank-rocker (ground 1, crank 0.3, coupler 0.9, rocker 0.8).
const double kCurve[][2] = {{0.863768221, 0.005722727}, {0.821343882, 0.014989800},
                            {0.760172590, 0.024885999}, {0.686238478, 0.032924822},
                            {0.605230085, 0.035304690}, {0.522419187, 0.028720371},
                            {0.442806413, 0.011240277}};

class MainFormReportTest : public shared::test::TSettingsStoreTest {
 protected:
  void SetUp() override {
    TSettingsStoreTest::SetUp();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir = fs::temp_directory_path() / ("vesk_form_report_" + std::to_string(::getpid()) + "_" + info->name());
    fs::remove_all(dir);
    fs::create_directories(dir / "data");
    test::StartAppServices();
    ProgramInfo().DataDir = (dir / "data").string() + "/";
    CreateDefaultInputFunction();
    CreateCMatrix();
    shared::SetExceptionHandler([this](const QString& text) { Errors.push_back(text); });
    shared::SetShellOpen([this](const std::string& target) {
      Opened.push_back(target);
      return true;
    });
    Form = std::make_unique<TMainForm>(std::make_unique<TFakeDialogs>());
    Form->InfoBox = [this](const QString& text) { Infos.push_back(text); };
    ProjectInfo = std::make_unique<shared::TProjectInfoDialog>();
    ProjectInfo->Info.Title = "Lift <A>";
    Form->SetProjectInfoDialog(ProjectInfo.get());
    Form->GenerateTurnMs = 0;
    Form->ReflectOptions();
    Form->resize(900, 700);
    Form->show();
    SeedRandom(5);
  }
  void TearDown() override {
    Form.reset();
    ProjectInfo.reset();
    shared::SetShellOpen({});
    shared::SetExceptionHandler(nullptr);
    test::StopAppServices();
    fs::remove_all(dir);
    TSettingsStoreTest::TearDown();
  }

  // Solutions made through the window; the first one current.
  void Generate() {
    for (const auto& p : kCurve) Form->Curve().Add(std::make_unique<TPrePoint>(p[0], p[1]));
    Form->Curve().Recalc();
    Form->UpdateControls();
    AppOptions.SearchBudgets[size_t(AppOptions.Search)] = 300;
    Form->SynthesisGenerate->trigger();
    for (int turns = 0; !Form->GenerateIdle() && turns < 100000; ++turns) {
    }
    ASSERT_GT(Form->Solutions().Count(), 0);
    // The user picks the first solution.
    Form->MechListView->setCurrentItem(Form->MechListView->topLevelItem(0));
    ASSERT_EQ(Form->Solutions().Current, Form->Solutions().Items(1));
    QApplication::processEvents();
  }

  // Answers the options dialog: what it was shown with, then the file name and the answer.
  void Answer(int result, const std::string& fileName = {}) {
    Form->ShowModal = [=, this](QDialog& dialog) {
      auto* options = dynamic_cast<shared::THTMLPrintDialog*>(&dialog);
      if (!options) throw std::logic_error("not the report options");
      ++Dialogs;
      ShownName = shared::ToPath(options->FileNameEdit->text());
      PicturesDuringDialog =
          fs::exists(dir / "data") ? std::distance(fs::directory_iterator(dir / "data"), {}) : 0;
      // The window changes under the dialog; the pictures were taken before.
      Form->resize(700, 500);
      QApplication::processEvents();
      if (!fileName.empty()) options->FileNameEdit->setText(shared::FromPath(fileName));
      return result;
    };
  }

  fs::path dir;
  std::unique_ptr<TMainForm> Form;
  std::unique_ptr<shared::TProjectInfoDialog> ProjectInfo;
  std::vector<QString> Errors;
  std::vector<QString> Infos;
  std::vector<std::string> Opened;
  int Dialogs = 0;
  std::string ShownName;
  long PicturesDuringDialog = -1;
};

TEST_F(MainFormReportTest, TheCommandWaitsForASolution) {
  EXPECT_FALSE(Form->FileReportItem->isEnabled());
  EXPECT_FALSE(Form->PrintButton->isEnabled());
  EXPECT_EQ(Form->FileReportItem->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
  Answer(QDialog::Accepted);
  Form->FileReportItemClick();
  EXPECT_EQ(Dialogs, 0);
  Generate();
  EXPECT_TRUE(Form->FileReportItem->isEnabled());
  EXPECT_TRUE(Form->PrintButton->isEnabled());
}

TEST_F(MainFormReportTest, ReportOfANeverSavedProjectInTheDataFolder) {
  Generate();
  const TMechanism& current = *Form->Solutions().Current;
  const std::string stem = (dir / "data" / ("Untitled" + std::to_string(current.ID))).string();
  const QSize client = Form->ScrollBoxes[0]->viewport()->size();
  const QSize graph = Form->GraphPaintBox->size();
  Answer(QDialog::Accepted);
  Form->PrintButton->trigger();
  ASSERT_TRUE(Errors.empty()) << Errors.front().toStdString();
  EXPECT_EQ(Dialogs, 1);
  EXPECT_EQ(ShownName, stem + ".html");
  EXPECT_EQ(PicturesDuringDialog, 0);
  EXPECT_EQ(Opened, std::vector<std::string>{stem + ".html"});

  // The pictures at the sizes the window had before the dialog.
  ASSERT_NE(client, Form->ScrollBoxes[0]->viewport()->size());
  const shared::TRaster mech = shared::LoadBmpFile(stem + "Mech.bmp");
  EXPECT_EQ(QSize(mech.Width, mech.Height), client);
  const shared::TRaster graphPicture = shared::LoadBmpFile(stem + "Graph.bmp");
  EXPECT_EQ(QSize(graphPicture.Width, graphPicture.Height), graph);
  // The mechanism view is drawn: more than its background colour.
  int drawn = 0;
  for (const uint32_t pixel : mech.Pixels) drawn += (pixel & 0xFFFFFF) != (mech.Pixels[0] & 0xFFFFFF);
  EXPECT_GT(drawn, 100);

  const std::string text = ReadBytes(stem + ".html");
  EXPECT_NE(text.find("<title>" + (dir / "data" / "Untitled").string() + "</title>"), std::string::npos);
  EXPECT_NE(text.find("<b>" + current.Name + " " + std::to_string(current.ID) + "</b>"), std::string::npos);
  EXPECT_NE(text.find("Lift &lt;A&gt;"), std::string::npos);
  EXPECT_NE(text.find("Graph.bmp\"></td></tr>"), std::string::npos);
  EXPECT_NE(text.find("<b>Path Error</b>"), std::string::npos);
  // The dialog's first state: print on loading, no path table.
  EXPECT_NE(text.find("onLoad=\"printPage()\""), std::string::npos);
  EXPECT_EQ(text.find("Path points"), std::string::npos);
}

TEST_F(MainFormReportTest, ChosenFileMovesTheDataPathAndHiddenGraphHasNoPicture) {
  Generate();
  // The user hides the graph panel.
  Form->ShowGraphToolButton->trigger();
  ASSERT_FALSE(AppOptions.ShowGraph);
  fs::create_directories(dir / "out");
  const std::string name = (dir / "out" / "lift.html").string();
  Answer(QDialog::Accepted, name);
  Form->FileReportItem->trigger();
  ASSERT_TRUE(Errors.empty()) << Errors.front().toStdString();
  EXPECT_TRUE(fs::exists(dir / "out" / "liftMech.bmp"));
  EXPECT_FALSE(fs::exists(dir / "out" / "liftGraph.bmp"));
  const std::string text = ReadBytes(name);
  EXPECT_EQ(text.find("Graph.bmp"), std::string::npos);
  EXPECT_EQ(text.find("Path Error"), std::string::npos);
  EXPECT_EQ(ProgramInfo().DataDir, (dir / "out").string() + "/");
  EXPECT_EQ(Opened, std::vector<std::string>{name});

  // The options stay for the next report; the next default name is in the new data path.
  Form->HTMLPrintDialog->AutoPrintCheckBox->setChecked(false);
  Answer(QDialog::Accepted);
  Form->FileReportItem->trigger();
  const std::string next =
      (dir / "out" / ("Untitled" + std::to_string(Form->Solutions().Current->ID) + ".html")).string();
  EXPECT_EQ(ShownName, next);
  EXPECT_EQ(ReadBytes(next).find("printPage"), std::string::npos);
}

TEST_F(MainFormReportTest, TheMechanismViewIsTakenFromAnotherTabToo) {
  Generate();
  const QSize client = Form->ScrollBoxes[0]->viewport()->size();
  Form->MechPageControl->setCurrentIndex(1);
  QApplication::processEvents();
  ASSERT_FALSE(Form->ScrollBoxes[0]->isVisible());
  Answer(QDialog::Accepted);
  Form->FileReportItem->trigger();
  ASSERT_TRUE(Errors.empty()) << Errors.front().toStdString();
  const shared::TRaster mech = shared::LoadBmpFile(
      (dir / "data" / ("Untitled" + std::to_string(Form->Solutions().Current->ID) + "Mech.bmp")).string());
  EXPECT_EQ(QSize(mech.Width, mech.Height), client);
  int drawn = 0;
  for (const uint32_t pixel : mech.Pixels) drawn += (pixel & 0xFFFFFF) != (mech.Pixels[0] & 0xFFFFFF);
  EXPECT_GT(drawn, 100);
}

TEST_F(MainFormReportTest, CancelWritesNothing) {
  Generate();
  Answer(QDialog::Rejected);
  Form->FileReportItem->trigger();
  EXPECT_EQ(Dialogs, 1);
  EXPECT_TRUE(fs::is_empty(dir / "data"));
  EXPECT_TRUE(Opened.empty());
  EXPECT_EQ(ProgramInfo().DataDir, (dir / "data").string() + "/");
}

TEST_F(MainFormReportTest, AFileThatCannotBeWrittenIsReportedAndNotOpened) {
  Generate();
  Answer(QDialog::Accepted, (dir / "missing" / "r.html").string());
  Form->FileReportItem->trigger();
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_TRUE(Errors.front().contains(QStringLiteral("r")));
  EXPECT_TRUE(Opened.empty());
  EXPECT_FALSE(fs::exists(dir / "missing"));
}

// Nothing on the desktop opens the report: it stays written, and the window says where.
TEST_F(MainFormReportTest, AReportNothingOpensSaysWhereItWasSaved) {
  Generate();
  shared::SetShellOpen([](const std::string&) { return false; });
  const std::string name = (dir / "data" / "lift.html").string();
  Answer(QDialog::Accepted, name);
  Form->FileReportItem->trigger();
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_EQ(Errors[0].toStdString(), "The report was saved as " + name + ", but the desktop opened no program for it");
  EXPECT_TRUE(fs::exists(name));
  EXPECT_TRUE(fs::exists(dir / "data" / "liftMech.bmp"));
}

}  // namespace
}  // namespace vesk
