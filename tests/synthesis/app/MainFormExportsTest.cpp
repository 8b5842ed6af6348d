// The main window's exports of the current solution, driven headless: the save dialogs and their
// replace question, the Excel options dialog and its box rules, the document, book and deck they
// hand on, and the messages of refusals and failures.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QCheckBox>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <deque>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "shared/Convert.h"
#include "shared/ShellOpen.h"
#include "shared/TabLine.h"
#include "shared/Workbook.h"
#include "shared/qt/Application.h"
#include "shared/qt/ProjectInfoDialog.h"
#include "synthesis/app/ExcelExportDlg.h"
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
using shared::TAnswer;

const double kCurve[][2] = {{0.863768221, 0.005722727}, {0.821343882, 0.014989800},
                            {0.760172590, 0.024885999}, {0.686238478, 0.032924822},
                            {0.605230085, 0.035304690}, {0.522419187, 0.028720371},
                            {0.442806413, 0.011240277}};

class MainFormExportsTest : public shared::test::TSettingsStoreTest {
 protected:
  void SetUp() override {
    TSettingsStoreTest::SetUp();
    test::StartAppServices();
    CreateDefaultInputFunction();
    CreateCMatrix();
    shared::CreateTabLines();
    dir = fs::temp_directory_path() / ("vesk_exports_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "data");
    ProgramInfo().DataDir = (dir / "data").string() + "/";
    auto dialogs = std::make_unique<TFakeDialogs>();
    Dialogs = dialogs.get();
    Form = std::make_unique<TMainForm>(std::move(dialogs));
    Form->InfoBox = [this](const QString& text) { Infos.push_back(text); };
    Form->GenerateTurnMs = 0;
    Form->ShowModal = [this](QDialog& dialog) {
      Modals.push_back(dialog.windowTitle());
      return ModalResult;
    };
    Info = std::make_unique<shared::TProjectInfoDialog>(Form.get());
    Info->Info.Title = "Gear";
    Form->SetProjectInfoDialog(Info.get());
    shared::SetExceptionHandler([this](const QString& text) { Errors.push_back(text); });
    shared::SetShellOpen([this](const std::string& target) {
      Opened.push_back(target);
      return true;
    });
    shared::SetWorkbookShow([this](const shared::TWorkbook& book) {
      Books.emplace_back();
      for (const auto& sheet : book.Sheets()) Books.back().push_back(sheet->GetName());
      Books.back().push_back("active " + book.ActiveSheet().GetName());
      return std::string("Book1.xlsx");
    });
    Form->show();
    SeedRandom(5);
  }
  void TearDown() override {
    Form->SetProjectInfoDialog(nullptr);
    Info.reset();
    Form.reset();
    shared::SetWorkbookShow(nullptr);
    shared::SetShellOpen(nullptr);
    shared::SetExceptionHandler(nullptr);
    shared::FreeTabLines();
    test::StopAppServices();
    fs::remove_all(dir);
    TSettingsStoreTest::TearDown();
  }

  // Solutions of the type made through the window; solution 1 current.
  void Generate(int type, int32_t budget) {
    for (const auto& p : kCurve) Form->Curve().Add(std::make_unique<TPrePoint>(p[0], p[1]));
    Form->Curve().Recalc();
    Form->MechButtons[size_t(type)]->trigger();
    AppOptions.SearchBudgets[size_t(AppOptions.Search)] = budget;
    Form->UpdateControls();
    Form->SynthesisGenerate->trigger();
    for (int turns = 0; !Form->GenerateIdle() && turns < 100000;) ++turns;
    ASSERT_GT(Form->Solutions().Count(), 0);
    Form->MechListView->setCurrentItem(Form->MechListView->topLevelItem(0));
    ASSERT_EQ(Form->Solutions().Current, Form->Solutions().Items(1));
  }

  std::unique_ptr<TMainForm> Form;
  std::unique_ptr<shared::TProjectInfoDialog> Info;
  TFakeDialogs* Dialogs = nullptr;
  int ModalResult = QDialog::Accepted;
  std::vector<QString> Modals;
  std::vector<QString> Errors;
  std::vector<QString> Infos;
  std::vector<std::string> Opened;
  std::vector<std::vector<std::string>> Books;
  fs::path dir;
};

TEST_F(MainFormExportsTest, ExcelOptionsKeepGraphsWithTheirData) {
  TExcelExportDialog& dialog = Form->ExcelExportDialog();
  EXPECT_EQ(&dialog, &Form->ExcelExportDialog());
  EXPECT_EQ(dialog.windowTitle(), "Excel Export Options");
  EXPECT_EQ(dialog.PropCheckBox->text(), "Include Mechanism Properties");
  EXPECT_EQ(dialog.GraphCheckBox->text(), "Include Graphs");
  EXPECT_EQ(dialog.DataCheckBox->text(), "Include Motion Data");
  EXPECT_EQ(dialog.OKButton->text(), "OK");
  EXPECT_EQ(dialog.CancelButton->text(), "Cancel");
  auto state = [&] {
    const TWorkbookOptions o = dialog.Options();
    return std::string(o.Properties ? "P" : "-") + (o.Graphs ? "G" : "-") + (o.Data ? "D" : "-");
  };
  EXPECT_EQ(state(), "PGD");
  dialog.DataCheckBox->click();  // clearing the data clears the graphs
  EXPECT_EQ(state(), "P--");
  dialog.GraphCheckBox->click();  // checking the graphs checks the data
  EXPECT_EQ(state(), "PGD");
  dialog.GraphCheckBox->click();  // the graphs alone leave the data
  EXPECT_EQ(state(), "P-D");
  dialog.PropCheckBox->click();
  EXPECT_EQ(state(), "--D");
  dialog.DataCheckBox->click();
  EXPECT_EQ(state(), "---");
}

TEST_F(MainFormExportsTest, NothingHappensWithoutACurrentSolution) {
  for (QAction* action :
       {Form->FileExporttoQuillonItem, Form->FileExportToExcelItem, Form->FileExporttoSAMItem})
    EXPECT_FALSE(action->isEnabled()) << action->objectName().toStdString();
  Dialogs->PickedFile = QString::fromStdString((dir / "x").string());
  Form->FileExporttoQuillonItemClick();
  Form->FileExportToExcelItemClick();
  Form->FileExporttoSAMItemClick();
  EXPECT_TRUE(Dialogs->Requests.empty());
  EXPECT_TRUE(Modals.empty());
  EXPECT_TRUE(Books.empty());
  EXPECT_FALSE(fs::exists(dir / "x"));
}

TEST_F(MainFormExportsTest, ExportToQuillonSavesTheDocumentAndOpensIt) {
  Generate(kFourbarType, 300);
  EXPECT_TRUE(Form->FileExporttoQuillonItem->isEnabled());
  EXPECT_EQ(Form->FileExporttoQuillonItem->shortcut(), QKeySequence(QStringLiteral("Ctrl+R")));
  const fs::path file = dir / "out" / "gear.mech";
  fs::create_directories(file.parent_path());
  Dialogs->PickedFile = QString::fromStdString(file.string());
  Form->FileExporttoQuillonItem->trigger();
  ASSERT_TRUE(Errors.empty()) << Errors.front().toStdString();
  ASSERT_EQ(Dialogs->Requests.size(), 1u);
  const shared::TFileRequest& request = Dialogs->Requests[0];
  EXPECT_EQ(request.Title, "Export to Quillon Animator");
  EXPECT_EQ(request.Filter, "Quillon mechanism files (*.mech)|*.mech|All files (*.*)|*.*");
  EXPECT_EQ(request.FilterIndex, 1);
  EXPECT_EQ(request.DefaultExt, "mech");
  EXPECT_EQ(request.FileName, "");
  EXPECT_EQ(request.InitialDir.toStdString(), (dir / "data").string() + "/");
  EXPECT_TRUE(Dialogs->Questions.empty());
  // The document of the solution, curve and project; then the desktop opens it.
  const std::string text = shared::test::ReadBytes(file);
  EXPECT_EQ(text.rfind("[Quillon>\r\n0\tVesk\r\n<Quillon]\r\n", 0), 0u);
  EXPECT_NE(text.find("[Curve>"), std::string::npos);
  EXPECT_NE(text.find("[Info>\r\nGear\t"), std::string::npos);
  EXPECT_EQ(Opened, std::vector<std::string>{file.string()});
  EXPECT_EQ(ProgramInfo().DataDir, (dir / "out").string() + "/");
  EXPECT_TRUE(shared::TabLines().Lines.empty());

  // An existing file: only Yes replaces it.
  shared::test::WriteBytes(file, "old");
  const QString question = QString::fromStdString(file.string()) + " already exists !\nReplace ?";
  for (TAnswer answer : {TAnswer::Cancel, TAnswer::No}) {
    Dialogs->Answers = {answer};
    Form->FileExporttoQuillonItem->trigger();
    EXPECT_EQ(Dialogs->Questions.back(), question);
    EXPECT_EQ(shared::test::ReadBytes(file), "old");
    EXPECT_EQ(Opened.size(), 1u);
  }
  Dialogs->Answers = {TAnswer::Yes};
  Form->FileExporttoQuillonItem->trigger();
  EXPECT_EQ(shared::test::ReadBytes(file), text);
  EXPECT_EQ(Opened.size(), 2u);

  // A cancelled dialog does nothing; a folder that is not there is the one message.
  Dialogs->PickedFile.clear();
  Form->FileExporttoQuillonItem->trigger();
  EXPECT_EQ(Opened.size(), 2u);
  Dialogs->PickedFile = QString::fromStdString((dir / "none" / "x.mech").string());
  Form->FileExporttoQuillonItem->trigger();
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_NE(Errors[0].indexOf("x.mech"), -1) << Errors[0].toStdString();
  EXPECT_EQ(Opened.size(), 2u);
  EXPECT_TRUE(shared::TabLines().Lines.empty());

  // A desktop that opens nothing is said so.
  shared::SetShellOpen([](const std::string&) { return false; });
  Dialogs->PickedFile = QString::fromStdString((dir / "other.mech").string());
  Form->FileExporttoQuillonItem->trigger();
  ASSERT_EQ(Errors.size(), 2u);
  EXPECT_NE(Errors[1].indexOf("opened no program"), -1) << Errors[1].toStdString();
  EXPECT_TRUE(fs::exists(dir / "other.mech"));
}

TEST_F(MainFormExportsTest, ExcelExportHandsTheChosenSheetsToTheDesktop) {
  Generate(kFourbarType, 300);
  EXPECT_TRUE(Form->FileExportToExcelItem->isEnabled());
  Form->FileExportToExcelItem->trigger();
  ASSERT_TRUE(Errors.empty()) << Errors.front().toStdString();
  EXPECT_EQ(Modals, std::vector<QString>{"Excel Export Options"});
  ASSERT_EQ(Books.size(), 1u);
  EXPECT_EQ(Books[0].size(), 12u + 3 + 1);
  EXPECT_EQ(Books[0].front(), "Transmission Angle");
  EXPECT_EQ(Books[0].back(), "active Properties");
  // The status line says where the book is, which is not where the user keeps files.
  EXPECT_EQ(Form->StatusPanels[3]->text(), "The workbook was saved as Book1.xlsx");

  // The boxes as the user left them.
  Form->ExcelExportDialog().PropCheckBox->setChecked(false);
  Form->ExcelExportDialog().GraphCheckBox->setChecked(false);
  Form->FileExportToExcelItem->trigger();
  EXPECT_EQ(Books.back(), (std::vector<std::string>{"Data", "Sheet1", "active Data"}));
  ModalResult = QDialog::Rejected;
  Form->FileExportToExcelItem->trigger();
  EXPECT_EQ(Books.size(), 2u);

  // A book that cannot be saved or shown is the one message.
  ModalResult = QDialog::Accepted;
  shared::SetWorkbookShow(
      [](const shared::TWorkbook&) -> std::string { throw std::runtime_error("No room"); });
  Form->FileExportToExcelItem->trigger();
  EXPECT_EQ(Errors, std::vector<QString>{"No room"});
}

// While a solution is optimised, the commands that read it or replace the project wait; the SAM
// item asks only for a current solution.
TEST_F(MainFormExportsTest, CommandsWaitWhileASolutionIsOptimised) {
  Generate(kFourbarType, 300);
  QAction* const waiting[] = {Form->FileExporttoQuillonItem, Form->FileExportToExcelItem,
                              Form->FileReportItem,          Form->PrintButton,
                              Form->FileImportFromExcelItem, Form->ImportFromExcelButton,
                              Form->FileImportDXF,           Form->ImportBackGroundButton,
                              Form->ImportOutputLinkButton};
  for (QAction* action : waiting) EXPECT_TRUE(action->isEnabled()) << action->objectName().toStdString();
  Form->SynthesisOptimize->trigger();
  ASSERT_TRUE(Form->OptimizeButton->isChecked());
  ASSERT_NE(Form->Solutions().Current, nullptr);
  for (QAction* action : waiting) EXPECT_FALSE(action->isEnabled()) << action->objectName().toStdString();
  EXPECT_TRUE(Form->FileExporttoSAMItem->isEnabled());
  Form->SynthesisOptimize->trigger();
  ASSERT_FALSE(Form->OptimizeButton->isChecked());
  for (QAction* action : waiting) EXPECT_TRUE(action->isEnabled()) << action->objectName().toStdString();
}

TEST_F(MainFormExportsTest, SamExportWritesTheDeck) {
  Generate(kFourbarType, 300);
  EXPECT_TRUE(Form->FileExporttoSAMItem->isEnabled());
  const fs::path file = dir / "four.dat";
  Dialogs->PickedFile = QString::fromStdString(file.string());
  Form->FileExporttoSAMItem->trigger();
  ASSERT_TRUE(Errors.empty()) << Errors.front().toStdString();
  ASSERT_EQ(Dialogs->Requests.size(), 1u);
  EXPECT_EQ(Dialogs->Requests[0].Title, "Export to SAM");
  EXPECT_EQ(Dialogs->Requests[0].Filter, "SAM dat files (*.dat)|*.dat|All files (*.*)|*.*");
  EXPECT_EQ(Dialogs->Requests[0].DefaultExt, "DAT");
  EXPECT_EQ(Dialogs->Requests[0].FileName, "");
  EXPECT_EQ(shared::test::ReadBytes(file).rfind("TITLE Vesk 1.6.4 to SAM\r\n", 0), 0u);
  EXPECT_EQ(ProgramInfo().DataDir, dir.string() + "/");
  EXPECT_TRUE(Opened.empty());
  EXPECT_NE(Form->FileExporttoSAMItem->statusTip().indexOf("SAM 4.2 DAT"), -1);

  // The deck asks before it replaces a file, as the other exports do.
  const std::string deck = shared::test::ReadBytes(file);
  shared::test::WriteBytes(file, "old");
  Dialogs->Answers = {TAnswer::No};
  Form->FileExporttoSAMItem->trigger();
  ASSERT_EQ(Dialogs->Questions.size(), 1u);
  EXPECT_EQ(Dialogs->Questions[0], QString::fromStdString(file.string()) + " already exists !\nReplace ?");
  EXPECT_EQ(shared::test::ReadBytes(file), "old");
  Dialogs->Answers = {TAnswer::Yes};
  Form->FileExporttoSAMItem->trigger();
  EXPECT_EQ(shared::test::ReadBytes(file), deck);
}

TEST_F(MainFormExportsTest, SamRefusesTheSliderWithItsMessage) {
  Generate(kSliderType, 3000);
  ASSERT_EQ(Form->Solutions().Current->MechanismType, kSliderType);
  const fs::path file = dir / "slider.dat";
  Dialogs->PickedFile = QString::fromStdString(file.string());
  Form->FileExporttoSAMItem->trigger();
  EXPECT_EQ(Errors, std::vector<QString>{"Not yet able to export this mechanism to SAM"});
  EXPECT_FALSE(fs::exists(file));
}

}  // namespace
}  // namespace vesk
