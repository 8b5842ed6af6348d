// The synthesis main window's imports driven headless: curve points from .xls and .xlsx files
// (the save question, the dialog, a fault that keeps the points read), and the ground-link and
// output-link DXF drawings with their flags, zoom and project round trip.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <numbers>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "shared/Convert.h"
#include "shared/ProjectInfo.h"
#include "shared/dxf/DXFDrawing.h"
#include "shared/qt/Application.h"
#include "shared/qt/ModalScope.h"
#include "shared/qt/PathName.h"
#include "shared/qt/UserDialogs.h"
#include "synthesis/app/MainForm.h"
#include "synthesis/app/ProjectStore.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/CMatrix.h"
#include "synthesis/engine/Drawing.h"
#include "synthesis/engine/GenerateProgress.h"
#include "synthesis/engine/InputFunction.h"
#include "synthesis/engine/MechanismList.h"
#include "synthesis/engine/ProgramInfo.h"
#include "synthesis/engine/Spline.h"
#include "synthesis/engine/SynthOptions.h"
#include "tests/shared/SheetFiles.h"
#include "tests/shared/StoreSettings.h"
#include "tests/synthesis/app/AppServices.h"
#include "tests/synthesis/app/FakeDialogs.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using shared::TAnswer;
using shared::TFileRequest;

// The sheet reader's fixtures, beside its tests.
const std::string kSheetFixtures =
    (std::filesystem::path(SUITE_FIXTURES).parent_path().parent_path().parent_path() / "shared/fixtures").string();
// One LINE from (0, 0) to (2000, 1000) millimetres.
const char kLineDXF[] = "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n2000\n21\n1000\n0\nENDSEC\n0\nEOF\n";

class MainFormImportsTest : public shared::test::TSettingsStoreTest {
 protected:
  void SetUp() override {
    TSettingsStoreTest::SetUp();
    test::StartAppServices();
    ProgramInfo().DataDir = shared::ToPath(Dir.path()) + "/";
    // The output-link drawing is the program's one; another test may have changed it.
    Drawing().MakeDefault();
    Drawing().SetModified(false);
    shared::SetExceptionHandler([this](const QString& text) {
      Errors.push_back(text);
      // What the window shows while the message is up.
      CurveAtError.push_back(Form->Curve().Count());
      GenerateEnabledAtError.push_back(Form->findChild<QAction*>("GenerateButton")->isEnabled());
    });
    auto dialogs = std::make_unique<TFakeDialogs>();
    Dialogs = dialogs.get();
    Form = std::make_unique<TMainForm>(std::move(dialogs));
    Form->InfoBox = [this](const QString& text) { Infos.push_back(text); };
    Form->SetProjectStore(std::make_unique<TWindowProjectStore>(*Form, Info));
    Form->ShowModal = [](QDialog&) { return 0; };
    Form->show();
    Form->FormShow({});
  }
  void TearDown() override {
    Form.reset();
    // The next tests expect the program's default output-link drawing, without a DXF file.
    Drawing().MakeDefault();
    Drawing().ImportDXF("");
    Drawing().SetModified(false);
    AppOptions.ShowOutputLinkDrawing = false;
    shared::SetExceptionHandler(nullptr);
    test::StopAppServices();
    ResetAppOptions();
    TSettingsStoreTest::TearDown();
  }
  std::string Path(const std::string& name) { return shared::ToPath(Dir.filePath(QString::fromStdString(name))); }
  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = Path(name);
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  void Pick(const std::string& path) { Dialogs->PickedFile = shared::FromPath(path); }
  // A curve of three points, changed since the last save.
  void ThreePoints() {
    TSpline& curve = Form->Curve();
    for (int i = 0; i < 3; ++i) {
      auto point = std::make_unique<TPrePoint>();
      point->SetXY(0.01 * i, 0.02 * i * i);
      curve.Add(std::move(point));
    }
    curve.Recalc();
    curve.SetModified(true);
  }

  QTemporaryDir Dir;
  shared::TProjectInfo Info;
  std::unique_ptr<TMainForm> Form;
  TFakeDialogs* Dialogs = nullptr;
  std::vector<QString> Errors;
  std::vector<QString> Infos;
  std::vector<int32_t> CurveAtError;
  std::vector<bool> GenerateEnabledAtError;
};

TEST_F(MainFormImportsTest, CancelAtTheSaveQuestionOrTheDialogKeepsTheProject) {
  ThreePoints();
  Dialogs->Answers = {TAnswer::Cancel};
  EXPECT_FALSE(Form->FileImportFromExcelItemClick());
  EXPECT_EQ(Dialogs->Questions, std::vector<QString>{"Save ?"});
  EXPECT_TRUE(Dialogs->Requests.empty());
  EXPECT_EQ(Form->Curve().Count(), 3);

  Dialogs->Answers = {TAnswer::No};
  EXPECT_FALSE(Form->FileImportFromExcelItemClick());
  ASSERT_EQ(Dialogs->Requests.size(), 1u);
  EXPECT_EQ(Form->Curve().Count(), 3);
  const TFileRequest& request = Dialogs->Requests[0];
  EXPECT_EQ(request.Title, "Import Excel");
  EXPECT_EQ(request.DefaultExt, "xls");
  EXPECT_EQ(request.Filter, "Excel files (*.xlsx;*.xls)|*.xlsx;*.xls|All files (*.*)|*.*");
  // The file dialog names the patterns once, as Qt lists them.
  EXPECT_EQ(shared::QtFilter(request.Filter), "Excel files (*.xlsx *.xls);;All files (*.*)");
  EXPECT_EQ(request.FilterIndex, 1);
  EXPECT_EQ(shared::ToPath(request.InitialDir), ProgramInfo().DataDir);
}

TEST_F(MainFormImportsTest, ImportsTheCurveOfAnXlsOrXlsxIntoANewProject) {
  ThreePoints();
  Form->Modified = true;
  Dialogs->Answers = {TAnswer::No};
  Pick(kSheetFixtures + "/curve.xls");
  EXPECT_TRUE(Form->FileImportFromExcelItemClick());
  EXPECT_TRUE(Errors.empty());
  ASSERT_EQ(Form->Curve().Count(), 5);
  EXPECT_NEAR(Form->Curve().GetPoint(4)->X, 0.031125, 1e-15);
  EXPECT_NEAR(Form->Curve().GetPoint(3)->Y, -0.00475, 1e-15);
  EXPECT_EQ(Form->ProjectName(), ProgramInfo().DefaultName);
  EXPECT_EQ(fs::path(ProgramInfo().DataDir), fs::absolute(fs::path(kSheetFixtures)).string() + "/");
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  // RefreshAll: five points make a curve to generate from.
  EXPECT_TRUE(Form->findChild<QAction*>("GenerateButton")->isEnabled());

  // An .xlsx through the menu item; the project (now modified) asks again.
  const std::string xlsx = Write(
      "book/points.xlsx",
      shared::test::MakeZip(shared::test::Workbook(
          shared::test::Row(2, shared::test::Num("A2", "1") + shared::test::Num("B2", "4")) +
          shared::test::Row(3, shared::test::Num("A3", "1") + shared::test::Num("B3", "8") + shared::test::Num("C3", "2")))));
  Dialogs->Answers = {TAnswer::No};
  Pick(xlsx);
  Form->findChild<QAction*>("FileImportFromExcelItem")->trigger();
  ASSERT_EQ(Form->Curve().Count(), 2);
  EXPECT_NEAR(Form->Curve().GetPoint(2)->X, 0.008, 1e-15);
  EXPECT_EQ(ProgramInfo().DataDir, Path("book") + "/");
}

// A sheet row of the curve: the mark, x and y, and the rotations in D and E when given.
std::string PointRow(int row, double x, const std::string& d, const std::string& e) {
  using shared::test::Num;
  const std::string r = std::to_string(row);
  std::string cells = Num("A" + r, "1") + Num("B" + r, std::to_string(x)) + Num("C" + r, std::to_string(row * row));
  if (!d.empty()) cells += Num("D" + r, d);
  if (!e.empty()) cells += Num("E" + r, e);
  return shared::test::Row(row, cells);
}

// Rotation columns empty after the first row prescribe nothing; a 0 typed in column D still
// prescribes the output rotation, and rotations in every later row of column E the input's.
// Where only some rows have one, the rotation is prescribed and the window says which rows lack it.
TEST_F(MainFormImportsTest, RotationCellsPrescribeTheRotationsAndGapsAreTold) {
  const auto point = [](int row, const std::string& d, const std::string& e) { return PointRow(row, row * 10, d, e); };
  struct TCase {
    const char* Name;
    std::string Rows;
    bool Out, In;
    std::vector<QString> Told;
  };
  const TCase cases[] = {
      {"D and E empty", point(2, "", "") + point(3, "", "") + point(4, "", ""), false, false, {}},
      {"D typed 0", point(2, "0", "") + point(3, "0", "") + point(4, "0", ""), true, false, {}},
      {"D and E filled after the first row", point(2, "", "") + point(3, "10", "20") + point(4, "15", "40"), true,
       true, {}},
      {"one D cell empty", point(2, "0", "0") + point(3, "", "20") + point(4, "15", "40"), true, true,
       {"Column D (output rotation) is empty in row 3. The output rotation is prescribed at every point: in that "
        "row it is interpolated along the curve between the nearest rows with a value."}},
  };
  int book = 0;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Infos.clear();
    Pick(Write("book" + std::to_string(++book) + ".xlsx", shared::test::MakeZip(shared::test::Workbook(c.Rows))));
    Dialogs->Answers = {TAnswer::No};
    ASSERT_TRUE(Form->FileImportFromExcelItemClick());
    EXPECT_TRUE(Errors.empty());
    ASSERT_EQ(Form->Curve().Count(), 3);
    EXPECT_EQ(Form->Curve().Out, c.Out);
    EXPECT_EQ(Form->Curve().In, c.In);
    EXPECT_EQ(Infos, c.Told);
  }
}

// The case of the report: column D filled in 6 of 18 rows, column E in 2 of them. Both
// rotations are prescribed, the message names the rows without a value and what they got.
TEST_F(MainFormImportsTest, APartlyFilledRotationColumnIsPrescribedAndTheRowsNamed) {
  const std::map<int, std::string> outs = {{2, "0"}, {5, "10"}, {8, "20"}, {11, "30"}, {14, "40"}, {17, "50"}};
  std::string rows;
  for (int row = 2; row <= 19; ++row)
    rows += PointRow(row, row * 10, outs.contains(row) ? outs.at(row) : "", row == 9 ? "90" : row == 19 ? "180" : "");
  Pick(Write("partly.xlsx", shared::test::MakeZip(shared::test::Workbook(rows))));
  ASSERT_TRUE(Form->FileImportFromExcelItemClick());
  EXPECT_TRUE(Errors.empty());
  const TSpline& curve = Form->Curve();
  ASSERT_EQ(curve.Count(), 18);
  EXPECT_TRUE(curve.Out);
  EXPECT_FALSE(curve.OutTotal);
  EXPECT_TRUE(curve.In);
  EXPECT_FALSE(curve.InTotal);
  EXPECT_NEAR(curve.TotalIn, std::numbers::pi, 1e-12);
  // The given values stay where they were typed (row 17: point 16), row 19 keeps row 17's.
  EXPECT_NEAR(curve.GetPoint(16)->Out, 50 * std::numbers::pi / 180, 1e-12);
  EXPECT_NEAR(curve.GetPoint(18)->Out, 50 * std::numbers::pi / 180, 1e-12);
  EXPECT_NEAR(curve.GetPoint(8)->In, std::numbers::pi / 2, 1e-12);
  // Between rows 5 and 8 the rotation grows along the curve.
  EXPECT_GT(curve.GetPoint(5)->Out, curve.GetPoint(4)->Out);
  EXPECT_LT(curve.GetPoint(6)->Out, curve.GetPoint(7)->Out);
  ASSERT_EQ(Infos.size(), 1u);
  EXPECT_EQ(Infos[0],
            "Column D (output rotation) is empty in rows 3, 4, 6, 7, 9, 10, 12, 13, 15, 16, 18 and 19. The output "
            "rotation is prescribed at every point: in those rows it is interpolated along the curve between the "
            "nearest rows with a value, and after row 17 it keeps the value of row 17.\n\n"
            "Column E (input rotation) is empty or 0 in rows 3-8 and 10-18. The input rotation is prescribed at "
            "every point: in those rows it is interpolated along the curve between the nearest rows with a value.");
}

// Between the file dialog and the new project the window handles its pending events, but the
// idle work waits: no candidate is made for the project that is about to be replaced.
TEST_F(MainFormImportsTest, TheIdleWorkWaitsBetweenTheDialogAndTheNewProject) {
  // The solution list's view, told when the new project empties the list.
  struct TWatchedView : TListView {
    TListView& View;
    std::function<void()> OnClear;
    explicit TWatchedView(TListView& view) : View(view) {}
    void BeginUpdate() override { View.BeginUpdate(); }
    void EndUpdate() override { View.EndUpdate(); }
    void Clear() override {
      if (OnClear) OnClear();
      View.Clear();
    }
    int32_t RowCount() const override { return View.RowCount(); }
    TListRow* AddRow() override { return View.AddRow(); }
    TListRow* Row(int32_t row) override { return View.Row(row); }
    void DeleteRow(int32_t row) override { View.DeleteRow(row); }
    int32_t SelectedRow() const override { return View.SelectedRow(); }
    void SetSelectedRow(int32_t row) override { View.SetSelectedRow(row); }
  };
  TWatchedView watched(*Form->Solutions().ListView);
  Form->Solutions().ListView = &watched;
  CreateDefaultInputFunction();
  CreateCMatrix();
  struct TRestore {
    TMainForm& Form;
    TListView& View;
    ~TRestore() {
      Form.Solutions().ListView = &View;
      FreeCMatrix();
      FreeDefaultInputFunction();
    }
  } restore{*Form, watched.View};
  ThreePoints();
  Form->UpdateControls();
  AppOptions.SearchBudgets[size_t(AppOptions.Search)] = 1000000;
  Form->SynthesisGenerate->trigger();
  ASSERT_EQ(Form->Work, TMainForm::TWork::Generation);
  ASSERT_FALSE(Form->GenerateIdle());
  int32_t madeAtDialog = -1, madeAtNew = -1;
  bool delivered = false, backgroundMayRun = true;
  Dialogs->WhileOpen = [&] {
    madeAtDialog = Form->Progress().Count;
    QTimer::singleShot(0, Form.get(), [&] {
      delivered = true;
      backgroundMayRun = shared::BackgroundMayRun();
    });
  };
  // The first emptying is the new project's; the refresh after the import rebuilds the rows.
  watched.OnClear = [&] {
    if (madeAtNew < 0) madeAtNew = Form->Progress().Count;
  };
  Pick(kSheetFixtures + "/curve.xls");
  Dialogs->Answers = {TAnswer::No};
  ASSERT_TRUE(Form->FileImportFromExcelItemClick());
  EXPECT_GT(madeAtDialog, 0);
  EXPECT_EQ(madeAtNew, madeAtDialog);
  EXPECT_TRUE(delivered);
  EXPECT_FALSE(backgroundMayRun);
  Form->SynthesisGenerate->trigger();
  EXPECT_NE(Form->Work, TMainForm::TWork::Generation);
}

// A sheet longer than the curve gives the first 80 points and says that the rest was left; a
// sheet of exactly 80 says nothing.
TEST_F(MainFormImportsTest, ASheetLongerThanTheCurveSaysWhatWasLeft) {
  const auto sheet = [](int points) {
    std::string rows;
    for (int i = 1; i <= points; ++i) {
      const std::string row = std::to_string(i + 1);
      rows += shared::test::Row(i + 1, shared::test::Num("A" + row, std::to_string(i)) +
                                           shared::test::Num("B" + row, std::to_string(i)) +
                                           shared::test::Num("C" + row, "1"));
    }
    return shared::test::MakeZip(shared::test::Workbook(rows));
  };
  struct TCase {
    int Points;
    bool Told;
  };
  for (const TCase c : {TCase{81, true}, TCase{120, true}, TCase{80, false}, TCase{3, false}}) {
    SCOPED_TRACE(c.Points);
    Infos.clear();
    if (Form->IsProjectModified()) Dialogs->Answers = {TAnswer::No};
    Pick(Write("long" + std::to_string(c.Points) + ".xlsx", sheet(c.Points)));
    EXPECT_TRUE(Form->FileImportFromExcelItemClick());
    EXPECT_TRUE(Errors.empty());
    EXPECT_EQ(Form->Curve().Count(), std::min(c.Points, int(TSpline::kCapacity)));
    if (c.Told)
      EXPECT_EQ(Infos, std::vector<QString>{"The curve holds at most 80 points: the rows after the 80th point were "
                                            "not imported."});
    else
      EXPECT_TRUE(Infos.empty());
  }
}

// A blank row ends the points: the window says which rows below it were not read.
TEST_F(MainFormImportsTest, RowsBelowABlankRowAreToldAsNotRead) {
  std::string rows;
  for (int row = 2; row <= 14; ++row)
    if (row != 8) rows += PointRow(row, row * 10, "", "");
  Pick(Write("gap.xlsx", shared::test::MakeZip(shared::test::Workbook(rows))));
  ASSERT_TRUE(Form->FileImportFromExcelItemClick());
  EXPECT_TRUE(Errors.empty());
  EXPECT_EQ(Form->Curve().Count(), 6);
  EXPECT_EQ(Infos, std::vector<QString>{"Column A is empty or 0 in row 8, which ends the points: rows 9-14 were not "
                                        "read."});
}

TEST_F(MainFormImportsTest, AFaultShowsItsMessageAfterTheRefreshWithThePointsRead) {
  Pick(kSheetFixtures + "/text.xls");
  EXPECT_TRUE(Form->FileImportFromExcelItemClick());
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_TRUE(Errors[0].contains("Cell C4 holds \"six\"")) << Errors[0].toStdString();
  EXPECT_EQ(CurveAtError[0], 2);
  EXPECT_TRUE(GenerateEnabledAtError[0]);
  EXPECT_EQ(Form->Curve().Count(), 2);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // A damaged workbook, and a typed name of no file: the new project stays empty.
  Errors.clear();
  ThreePoints();
  Pick(Write("bad.xlsx", "PK\x03\x04 not really a zip"));
  Dialogs->Answers = {TAnswer::No};
  EXPECT_TRUE(Form->FileImportFromExcelItemClick());
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_TRUE(Errors[0].contains("\"bad.xlsx\" is damaged")) << Errors[0].toStdString();
  EXPECT_EQ(Form->Curve().Count(), 0);
  Errors.clear();
  ThreePoints();
  const std::string dataDir = ProgramInfo().DataDir;
  Pick(Path("typed.xlsx"));
  Dialogs->Answers = {TAnswer::No};
  EXPECT_TRUE(Form->FileImportFromExcelItemClick());
  EXPECT_TRUE(Errors.empty());
  EXPECT_EQ(Form->Curve().Count(), 0);
  EXPECT_EQ(ProgramInfo().DataDir, dataDir);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainFormImportsTest, TheGroundLinkDrawingLoadsShowsAndZoomsToFit) {
  Dialogs->PickedFile.clear();
  EXPECT_FALSE(Form->FileImportDXFClick());
  ASSERT_EQ(Dialogs->Requests.size(), 1u);
  EXPECT_EQ(Dialogs->Requests[0].Title, "Import DXF File");
  EXPECT_EQ(Dialogs->Requests[0].DefaultExt, "dxf");
  EXPECT_EQ(Dialogs->Requests[0].Filter, "DXF files (*.dxf)|*.dxf|All files (*.*)|*.*");
  EXPECT_EQ(Dialogs->Requests[0].FilterIndex, 1);

  const std::string path = Write("dxf/ground.dxf", kLineDXF);
  Pick(path);
  ASSERT_FALSE(Form->IsProjectModified());
  Form->findChild<QAction*>("ImportBackGroundButton")->trigger();
  EXPECT_TRUE(Errors.empty());
  EXPECT_TRUE(Form->IsProjectModified());
  EXPECT_EQ(Form->GroundDrawing().Count(), 1);
  EXPECT_EQ(Form->GroundDrawing().FileName, path);
  EXPECT_TRUE(AppOptions.ShowGroundDrawing);
  EXPECT_NEAR(Form->Canvas(2).Origin().X, 1, 1e-12);
  EXPECT_NEAR(Form->Canvas(2).Origin().Y, 0.5, 1e-12);
  EXPECT_EQ(ProgramInfo().DataDir, Path("dxf") + "/");

  // Read whole, but its outlines of a newer CAD program are not drawn: one warning names them,
  // on the import and again when the project that refers to it opens.
  const std::string modern = Write("dxf/modern.dxf", std::string(kLineDXF).replace(std::string(kLineDXF).find("0\nENDSEC"), 0,
                                                                  "0\nLWPOLYLINE\n90\n0\n0\nLWPOLYLINE\n90\n0\n"));
  Pick(modern);
  Form->FileImportDXFClick();
  const QString undrawn = QString::fromStdString("[Warning] " + modern + " holds entities that are not drawn: 2 LWPOLYLINE.");
  EXPECT_EQ(Errors, std::vector<QString>{undrawn});
  EXPECT_EQ(Form->GroundDrawing().Count(), 3);
  Errors.clear();
  Pick(Path("modern.vesk"));
  ASSERT_TRUE(Form->FileSaveAs());
  Pick(Path("modern.vesk"));
  ASSERT_TRUE(Form->FileOpen());
  EXPECT_EQ(Errors, std::vector<QString>{undrawn});
  EXPECT_EQ(Form->GroundDrawing().Count(), 3);
  Errors.clear();

  // A damaged file: the library's message, the entities read before it, the flag from them.
  Pick(Write("dxf/bad.dxf", std::string(kLineDXF).replace(std::string(kLineDXF).find("0\nENDSEC"), 0,
                                                          "0\nLINE\n10\nnot a number\n")));
  Form->findChild<QAction*>("FileImportDXF")->trigger();
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_TRUE(Errors[0].contains("not a number")) << Errors[0].toStdString();
  EXPECT_GE(Form->GroundDrawing().Count(), 1);
  EXPECT_TRUE(AppOptions.ShowGroundDrawing);

  // A device is refused without being read; an empty file shows nothing.
  Errors.clear();
  Pick("/dev/zero");
  EXPECT_TRUE(Form->FileImportDXFClick());
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_TRUE(Errors[0].contains("is no file")) << Errors[0].toStdString();
  EXPECT_EQ(Form->GroundDrawing().Count(), 0);
  EXPECT_FALSE(AppOptions.ShowGroundDrawing);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainFormImportsTest, TheOutputLinkDrawingIsClearedThenLoadsTheDXF) {
  ASSERT_GT(Drawing().Count(), 0);  // the default house
  ASSERT_FALSE(Form->IsProjectModified());
  const std::string path = Write("dxf/coupler.dxf", kLineDXF);
  Pick(path);
  Form->findChild<QAction*>("ImportOutputLinkButton")->trigger();
  EXPECT_TRUE(Errors.empty());
  // The project's drawing changed: closing asks to save it.
  EXPECT_TRUE(Form->IsProjectModified());
  EXPECT_EQ(Drawing().Count(), 0);
  EXPECT_TRUE(Drawing().DXFDrawing().HasEntities());
  EXPECT_EQ(Drawing().DXFFileName(), path);
  EXPECT_TRUE(AppOptions.ShowOutputLinkDrawing);
  EXPECT_NEAR(Form->Canvas(1).Origin().X, 1, 1e-12);
  EXPECT_NEAR(Form->Canvas(1).Origin().Y, 0.5, 1e-12);

  // Outlines of a newer CAD program are read but not drawn: the import and the project that
  // refers to the drawing name them once each.
  const std::string modern = Write("dxf/modern-coupler.dxf",
                                   std::string(kLineDXF).replace(std::string(kLineDXF).find("0\nENDSEC"), 0,
                                                                 "0\nLWPOLYLINE\n90\n0\n"));
  Pick(modern);
  EXPECT_TRUE(Form->ImportOutputLinkButtonClick());
  const QString undrawn = QString::fromStdString("[Warning] " + modern + " holds entities that are not drawn: 1 LWPOLYLINE.");
  EXPECT_EQ(Errors, std::vector<QString>{undrawn});
  Errors.clear();
  Pick(Path("coupler.vesk"));
  ASSERT_TRUE(Form->FileSaveAs());
  Pick(Path("coupler.vesk"));
  ASSERT_TRUE(Form->FileOpen());
  EXPECT_EQ(Errors, std::vector<QString>{undrawn});
  Errors.clear();

  Pick("/dev/zero");
  EXPECT_TRUE(Form->ImportOutputLinkButtonClick());
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_TRUE(Errors[0].contains("is no file")) << Errors[0].toStdString();
  EXPECT_FALSE(Drawing().DXFDrawing().HasEntities());
  EXPECT_FALSE(AppOptions.ShowOutputLinkDrawing);
}

// Both drawings keep their full names; the project saved through the window in another folder
// stores them relative to itself and opens with them again.
TEST_F(MainFormImportsTest, ImportedDrawingsRoundTripThroughAProjectInAnotherFolder) {
  const std::string ground = Write("drawings/ground.dxf", kLineDXF);
  const std::string coupler = Write("drawings/coupler.dxf", kLineDXF);
  Pick(ground);
  Form->FileImportDXFClick();
  Pick(coupler);
  Form->ImportOutputLinkButtonClick();
  ASSERT_TRUE(Errors.empty());
  fs::create_directories(Path("projects"));
  const std::string project = Path("projects/gear.vesk");
  Pick(project);
  ASSERT_TRUE(Form->FileSaveAs());
  std::ifstream in(project, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("\r\n../drawings/ground.dxf\r\n"), std::string::npos);
  EXPECT_NE(text.str().find("\r\n../drawings/coupler.dxf\r\n"), std::string::npos);
  EXPECT_EQ(text.str().find(Path("drawings")), std::string::npos);

  Dialogs->Answers = {TAnswer::No, TAnswer::No};
  ASSERT_TRUE(Form->FileNew());
  ASSERT_EQ(Form->GroundDrawing().Count(), 0);
  ASSERT_FALSE(Drawing().DXFDrawing().HasEntities());
  Pick(project);
  ASSERT_TRUE(Form->FileOpen());
  ASSERT_TRUE(Errors.empty()) << Errors[0].toStdString();
  EXPECT_EQ(Form->GroundDrawing().Count(), 1);
  EXPECT_TRUE(AppOptions.ShowGroundDrawing);
  EXPECT_TRUE(Drawing().DXFDrawing().HasEntities());
  EXPECT_TRUE(AppOptions.ShowOutputLinkDrawing);
  EXPECT_EQ(fs::path(Drawing().DXFFileName()).lexically_normal(), fs::path(coupler));
  EXPECT_EQ(fs::path(Form->GroundDrawing().FileName).lexically_normal(), fs::path(ground));
}

}  // namespace
}  // namespace vesk
