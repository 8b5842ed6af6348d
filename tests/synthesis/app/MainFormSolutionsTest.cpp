// The synthesis main window's solution list, generation and optimisation toggles and the list
// popup, driven headless: idle turns are called directly, beeps and error boxes are recorded.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QEvent>
#include <QPaintEvent>
#include <QRegion>
#include <QProgressBar>
#include <QSplitter>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <deque>
#include <memory>
#include <numbers>
#include <stdexcept>
#include <vector>

#include "shared/Convert.h"
#include "shared/FilePath.h"
#include "shared/ProjectInfo.h"
#include "shared/qt/Application.h"
#include "shared/qt/PathName.h"
#include "shared/qt/ProjectInfoDialog.h"
#include "synthesis/app/InputFunctionDlg.h"
#include "synthesis/app/MainForm.h"
#include "synthesis/app/PointDlg.h"
#include "synthesis/app/MechPictures.h"
#include "synthesis/app/SolutionView.h"
#include "synthesis/app/TabRows.h"
#include "shared/SynthCanvas2D.h"
#include "synthesis/app/ProjectStore.h"
#include "synthesis/app/QtGraphPaintBox.h"
#include "synthesis/engine/GraphPaintBox.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/CMatrix.h"
#include "synthesis/engine/GenerateProgress.h"
#include "synthesis/engine/InputFunction.h"
#include "synthesis/engine/Joint.h"
#include "synthesis/engine/MechanismFactory.h"
#include "synthesis/engine/MechanismList.h"
#include "synthesis/engine/PrePoint.h"
#include "synthesis/engine/ProgramInfo.h"
#include "synthesis/engine/Fourbar.h"
#include "synthesis/engine/Drawing.h"
#include "synthesis/engine/FileValidate.h"
#include "synthesis/engine/Random.h"
#include "synthesis/engine/SixBar.h"
#include "synthesis/engine/SolutionExport.h"
#include "synthesis/engine/Spline.h"
#include "synthesis/engine/SynthOptions.h"
#include "tests/shared/StoreSettings.h"
#include "tests/shared/TestFiles.h"
#include "tests/synthesis/app/FakeDialogs.h"
#include "tests/synthesis/app/AppServices.h"

namespace vesk {
namespace {

using shared::TAnswer;

// Samples of the coupler path of a crank-rocker (ground 1, crank 0.3, coupler 0.9, rocker 0.8).
const double kCurve[][2] = {{0.863768221, 0.005722727}, {0.821343882, 0.014989800}, {0.760172590, 0.024885999},
                            {0.686238478, 0.032924822}, {0.605230085, 0.035304690}, {0.522419187, 0.028720371},
                            {0.442806413, 0.011240277}};

// Counts the paints a widget receives.
class TPaintCounter : public QObject {
 public:
  int Paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++Paints;
    return false;
  }
};

// Keeps the parts of a widget that its paint events were asked to draw.
class TPaintRegions : public QObject {
 public:
  QRegion Painted;
  int Paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      ++Paints;
      Painted += static_cast<QPaintEvent*>(event)->region();
    }
    return false;
  }
};

// Pixels of the curve's colour in the picture.
int RedPixels(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == qRgb(255, 0, 0);
  return n;
}

// Every button of the bar in sight, with its picture and its name as hint.
void ExpectEveryButtonShown(QToolBar& bar) {
  SCOPED_TRACE(bar.objectName().toStdString());
  for (QAction* action : bar.actions()) {
    if (action->isSeparator()) continue;
    SCOPED_TRACE(action->objectName().toStdString());
    QWidget* button = bar.widgetForAction(action);
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isVisible());
    EXPECT_LE(button->geometry().right(), bar.width());
    EXPECT_FALSE(action->icon().isNull());
    EXPECT_FALSE(action->toolTip().isEmpty());
  }
}

class MainFormSolutionsTest : public shared::test::TSettingsStoreTest {
 protected:
  void SetUp() override {
    TSettingsStoreTest::SetUp();
    test::StartAppServices();
    CreateDefaultInputFunction();
    CreateCMatrix();
    auto dialogs = std::make_unique<TFakeDialogs>();
    Dialogs = dialogs.get();
    Form = std::make_unique<TMainForm>(std::move(dialogs));
    Form->InfoBox = [this](const QString& text) { Infos.push_back(text); };
    Form->Beep = [this] { ++Beeps; };
    Form->ErrorBox = [this](const QString& text) { Errors.push_back(text); };
    shared::SetExceptionHandler([this](const QString& text) { Errors.push_back(text); });
    // One candidate per turn, so a test counts turns as candidates.
    Form->GenerateTurnMs = 0;
    Form->show();
    SeedRandom(5);
  }
  void TearDown() override {
    Form.reset();
    shared::SetExceptionHandler(nullptr);
    test::StopAppServices();
    TSettingsStoreTest::TearDown();
  }

  void DrawCurve() {
    for (const auto& p : kCurve) Form->Curve().Add(std::make_unique<TPrePoint>(p[0], p[1]));
    Form->Curve().Recalc();
    Form->UpdateControls();
  }
  void SetBudget(int32_t budget) { AppOptions.SearchBudgets[size_t(AppOptions.Search)] = budget; }
  // Idle turns until the run ends; the number of turns taken.
  int RunGeneration(int limit = 100000) {
    int turns = 1;
    while (!Form->GenerateIdle() && turns < limit) ++turns;
    return turns;
  }
  // A list of solutions made through the window, with none current.
  void Generate(int32_t budget) {
    DrawCurve();
    SetBudget(budget);
    Form->SynthesisGenerate->trigger();
    RunGeneration();
    ASSERT_GT(Form->Solutions().Count(), 2);
  }
  int Rows() const { return Form->MechListView->topLevelItemCount(); }
  // As after a save: nothing of the project is to be saved.
  void MarkSaved() {
    std::ostringstream sink;
    Form->Solutions().Write(sink);
    Form->Curve().SetModified(false);
    Form->Modified = false;
    ASSERT_FALSE(Form->IsProjectModified());
  }

  std::unique_ptr<TMainForm> Form;
  TFakeDialogs* Dialogs = nullptr;
  int Beeps = 0;
  std::vector<QString> Errors;
  std::vector<QString> Infos;
};

TEST_F(MainFormSolutionsTest, GenerationStopsAndContinuesTowardsItsBudget) {
  DrawCurve();
  SetBudget(600);
  EXPECT_TRUE(Form->SynthesisGenerate->isEnabled());
  EXPECT_FALSE(Form->SynthesisOptimize->isEnabled());  // no solution yet
  Form->SynthesisGenerate->trigger();
  EXPECT_TRUE(Form->GenerateButton->isChecked());
  EXPECT_TRUE(Form->IdleTimer->isActive());
  EXPECT_FALSE(Form->ProgressPanel->isHidden());
  // Running work locks the file and list commands; generation leaves the list view usable.
  EXPECT_FALSE(Form->FileNewItem->isEnabled());
  EXPECT_FALSE(Form->SynthesisOptimize->isEnabled());
  EXPECT_FALSE(Form->ListPopUpClearAll->isEnabled());
  EXPECT_TRUE(Form->MechListView->isEnabled());
  for (int i = 0; i < 250; ++i) ASSERT_FALSE(Form->GenerateIdle());
  EXPECT_EQ(Form->Progress().Count, 250);
  EXPECT_EQ(Form->ProgressBar1->value(), 42);  // 41.7 %, rounded

  // Stopped by the user: no beep, the count stays and solution 1 becomes current.
  Form->SynthesisGenerate->trigger();
  EXPECT_FALSE(Form->GenerateButton->isChecked());
  EXPECT_FALSE(Form->IdleTimer->isActive());
  EXPECT_TRUE(Form->ProgressPanel->isHidden());
  EXPECT_EQ(Beeps, 0);
  EXPECT_EQ(Form->Progress().Count, 250);
  ASSERT_GT(Form->Solutions().Count(), 0);
  EXPECT_EQ(Form->Solutions().Current, Form->Solutions().Items(1));
  EXPECT_EQ(Rows(), Form->Solutions().Count());
  EXPECT_EQ(Form->MechListView->currentItem(), Form->MechListView->topLevelItem(0));
  EXPECT_TRUE(Form->SynthesisOptimize->isEnabled());
  EXPECT_TRUE(Form->FileNewItem->isEnabled());

  // The next press continues the same run; a new budget waits for the next run.
  SetBudget(50);
  Form->GenerateButton->setChecked(true);  // the button toggles itself before its handler
  Form->SynthesisGenerateClick(Form->GenerateButton);
  EXPECT_EQ(Form->Progress().Count, 250);
  // budget + 1 candidates in all: 601 - 250 more.
  EXPECT_EQ(RunGeneration(), 351);
  EXPECT_EQ(Beeps, 1);
  EXPECT_EQ(Form->Progress().Count, 0);
  EXPECT_FALSE(Form->GenerateButton->isChecked());
  EXPECT_FALSE(Form->IdleTimer->isActive());
  EXPECT_TRUE(Form->ProgressPanel->isHidden());
  EXPECT_EQ(Rows(), Form->Solutions().Count());
  // Ranked by error total.
  for (int32_t i = 2; i <= Form->Solutions().Count(); ++i)
    EXPECT_LE(Form->Solutions().Items(i - 1)->Error.Total, Form->Solutions().Items(i)->Error.Total);

  // A fresh run takes the budget of now.
  Form->SynthesisGenerate->trigger();
  EXPECT_EQ(RunGeneration(), 51);
}

// The panel names the run beside its bar; the time label says "Not Active" until a run is timed.
TEST_F(MainFormSolutionsTest, TheProgressPanelLabelsTheRunAndItsRemainingTime) {
  EXPECT_EQ(Form->GeneratingLabel->text(), " Generating");
  EXPECT_EQ(Form->GeneratingLabel->parentWidget(), Form->ProgressPanel);
  EXPECT_EQ(Form->RemainingLabel->parentWidget(), Form->ProgressPanel);
  EXPECT_EQ(Form->RemainingLabel->text(), "Not Active");
  DrawCurve();
  SetBudget(600);
  Form->SynthesisGenerate->trigger();
  EXPECT_TRUE(Form->GeneratingLabel->isVisible());
  for (int i = 0; i < 5; ++i) Form->GenerateIdle();
  EXPECT_EQ(Form->RemainingLabel->text(), "Estimating Time...");
  for (int i = 0; i < 60; ++i) Form->GenerateIdle();
  EXPECT_TRUE(Form->RemainingLabel->text().startsWith("Time Remaining ")) << Form->RemainingLabel->text().toStdString();
  Form->SynthesisGenerate->trigger();
}

TEST_F(MainFormSolutionsTest, GenerationWithoutACurveIsRefused) {
  Form->Curve().Add(std::make_unique<TPrePoint>(0.1, 0.1));
  Form->Curve().Recalc();
  Form->UpdateControls();
  EXPECT_FALSE(Form->SynthesisGenerate->isEnabled());
  // The greyed Start says why where the pointer rests on it.
  EXPECT_EQ(Form->GenerateButton->toolTip(), "A Curve has to be defined ! It needs two points at least.");
  EXPECT_EQ(Form->SynthesisGenerate->statusTip(), Form->GenerateButton->toolTip());
  // Reached through the list view's double-click path as well: the handler itself refuses.
  Form->SynthesisGenerateClick(Form->SynthesisGenerate);
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_EQ(Errors[0], "A Curve has to be defined ! It needs two points at least.");
  EXPECT_FALSE(Form->GenerateButton->isChecked());
  EXPECT_FALSE(Form->IdleTimer->isActive());
  EXPECT_TRUE(Form->ProgressPanel->isHidden());
  EXPECT_EQ(Form->Progress().Count, 0);

  Form->Curve().Add(std::make_unique<TPrePoint>(0.3, 0.1));
  Form->Curve().Recalc();
  Form->UpdateControls();
  EXPECT_TRUE(Form->SynthesisGenerate->isEnabled());
  EXPECT_EQ(Form->GenerateButton->toolTip(), "Start Generating Mechanisms");
  EXPECT_EQ(Form->SynthesisGenerate->statusTip(), "");
}

// Where the engine knows that no candidate can follow the curve, Start says why and runs nothing
// (before, the search ran its whole budget and ended with the general message).
TEST_F(MainFormSolutionsTest, StartOnACurveNoCandidateCanFollowSaysWhy) {
  struct {
    const char* what;
    std::vector<std::pair<double, double>> points;
    uint8_t type;
    std::string reason;
  } cases[] = {
      {"six points on one spot", std::vector<std::pair<double, double>>(6, {0.2, 0.1}), kFourbarType,
       "A Curve has to be defined ! Its points all lie on one spot: it has no length."},
      {"a Watt 1 on a loop",
       {{0.2, 0}, {0, 0.2}, {-0.2, 0}, {0, -0.2}, {0.2, 0}},
       kWatt1Type,
       "A Watt 1 cannot run a closed curve unless output rotations turn its output body: its link 5 turns "
       "with the input crank, once round, and lines up with the body, a dead point."},
  };
  for (const auto& c : cases) {
    Errors.clear();
    Form->Curve().Clear();
    for (const auto& [x, y] : c.points) Form->Curve().Add(std::make_unique<TPrePoint>(x, y));
    Form->Curve().Recalc();
    Form->MechButtons[c.type]->trigger();
    Form->UpdateControls();
    ASSERT_TRUE(Form->SynthesisGenerate->isEnabled()) << c.what;
    Form->SynthesisGenerate->trigger();
    ASSERT_EQ(Errors.size(), 1u) << c.what;
    EXPECT_EQ(Errors[0].toStdString(), c.reason) << c.what;
    EXPECT_FALSE(Form->GenerateButton->isChecked()) << c.what;
    EXPECT_FALSE(Form->IdleTimer->isActive()) << c.what;
    EXPECT_EQ(Form->Progress().Count, 0) << c.what;
    EXPECT_EQ(Form->Solutions().Count(), 0) << c.what;
  }
}

TEST_F(MainFormSolutionsTest, TheTypeButtonsChooseWhatIsGenerated) {
  Form->MechButtons[kSliderType]->trigger();
  EXPECT_EQ(Form->Solutions().NewType, kSliderType);
  EXPECT_EQ(Form->Solutions().CreateMechanism()->MechanismType, kSliderType);
  Form->ResetTypeButtons();
  EXPECT_EQ(Form->Solutions().NewType, kFourbarType);
}

TEST_F(MainFormSolutionsTest, OptimizeRunsOnSolutionOneAndBeepsWhenDone) {
  Generate(600);
  Form->SynthesisGenerate->trigger();  // a stopped run makes solution 1 current
  Form->SynthesisGenerate->trigger();
  ASSERT_EQ(Form->Solutions().Current, Form->Solutions().Items(1));
  TMechanism* solution = Form->Solutions().Current;
  const double before = solution->Error.Total;
  Beeps = 0;

  Form->SynthesisOptimize->trigger();
  ASSERT_TRUE(Form->OptimizeButton->isChecked());
  EXPECT_EQ(Form->Work, TMainForm::TWork::Optimization);
  EXPECT_TRUE(Form->IdleTimer->isActive());
  // Optimising locks the list view and generation.
  EXPECT_FALSE(Form->MechListView->isEnabled());
  EXPECT_FALSE(Form->SynthesisGenerate->isEnabled());
  // Every turn is one sweep; the view is painted at once after sweeps 10, 20, 30 ... only (other
  // repaints wait for the event loop, which does not run here).
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
  QApplication::processEvents();
  TPaintCounter counter;
  Form->PaintBox1->installEventFilter(&counter);
  int sweeps = 1;
  while (!Form->OptimizeIdle() && sweeps < 5000) ++sweeps;
  Form->PaintBox1->removeEventFilter(&counter);
  EXPECT_LT(sweeps, 5000);
  EXPECT_EQ(counter.Paints, sweeps / 10);
  EXPECT_EQ(Beeps, 1);
  EXPECT_FALSE(Form->OptimizeButton->isChecked());
  EXPECT_NE(Form->Work, TMainForm::TWork::Optimization);
  EXPECT_FALSE(Form->IdleTimer->isActive());
  EXPECT_TRUE(Form->MechListView->isEnabled());
  // The same solution stays current, no worse, and the list is ranked again.
  EXPECT_EQ(Form->Solutions().Current, solution);
  EXPECT_LE(solution->Error.Total, before + 1e-12);
  for (int32_t i = 2; i <= Form->Solutions().Count(); ++i)
    EXPECT_LE(Form->Solutions().Items(i - 1)->Error.Total, Form->Solutions().Items(i)->Error.Total);
  EXPECT_EQ(Form->MechListView->currentItem(),
            Form->MechListView->topLevelItem(Form->Solutions().IndexOf(solution) - 1));

  // Undo Optimize beeps, also when there is nothing left to undo.
  Form->SynthesisUndoOptimizeItem->trigger();
  Form->Solutions().Unselect();
  Form->UndoOptimizeButtonClick();
  EXPECT_EQ(Beeps, 3);
}

TEST_F(MainFormSolutionsTest, OptimizeStoppedByTheUserBeepsAndKeepsTheSolution) {
  Generate(600);
  Form->Solutions().Select(1);
  Form->UpdateControls();
  Beeps = 0;
  Form->OptimizeButton->setChecked(true);
  Form->OptimizeButtonClick(Form->OptimizeButton);
  ASSERT_EQ(Form->Work, TMainForm::TWork::Optimization);
  Form->OptimizeIdle();
  Form->SynthesisOptimize->trigger();
  EXPECT_NE(Form->Work, TMainForm::TWork::Optimization);
  EXPECT_FALSE(Form->OptimizeButton->isChecked());
  EXPECT_EQ(Beeps, 1);
  EXPECT_NE(Form->Solutions().Current, nullptr);
}

TEST_F(MainFormSolutionsTest, OptimizeRefusesASolutionOfAnotherCurve) {
  Generate(600);
  Form->Solutions().Select(1);
  // The curve drawn again gets a new identity; the solution no longer belongs to it.
  Form->Curve().Add(std::make_unique<TPrePoint>(0.40, 0.0));
  Form->Curve().Recalc();
  Form->UpdateControls();
  Form->SynthesisOptimize->trigger();
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_EQ(Errors[0], "The Mechanism was not generated with current constraints.");
  EXPECT_FALSE(Form->OptimizeButton->isChecked());
  EXPECT_NE(Form->Work, TMainForm::TWork::Optimization);
  EXPECT_EQ(Beeps, 1);  // only the generation's
}

TEST_F(MainFormSolutionsTest, ListPopupMarksDeletesAndClears) {
  Generate(600);
  const int32_t count = Form->Solutions().Count();
  ASSERT_EQ(Rows(), count);
  // As after a save: the window's own flag is clear.
  Form->Modified = false;

  // Mark without a current solution does nothing.
  Form->ListPopUpMark->trigger();
  EXPECT_FALSE(Form->Modified);
  for (int32_t i = 1; i <= count; ++i) EXPECT_FALSE(Form->Solutions().Items(i)->Marked);

  // Selecting a row makes its solution current and fills the grid.
  Form->MechListView->setCurrentItem(Form->MechListView->topLevelItem(1));
  TMechanism* second = Form->Solutions().Items(2);
  ASSERT_EQ(Form->Solutions().Current, second);
  ASSERT_NE(Form->StringGrid1->item(0, 0), nullptr);
  EXPECT_EQ(Form->StringGrid1->item(0, 0)->text().toStdString(), second->Name);
  Form->ListPopUpMark->trigger();
  EXPECT_TRUE(second->Marked);
  EXPECT_TRUE(Form->Modified);
  EXPECT_TRUE(Form->IsProjectModified());

  // Delete asks; No keeps the row.
  Dialogs->Answers = {TAnswer::No, TAnswer::Yes};
  Form->ListPopUpDelete->trigger();
  EXPECT_EQ(Dialogs->Questions.back(), "Do you wish to Delete the selected Mechanism?");
  EXPECT_EQ(Dialogs->Buttons.back(), "Yes No");
  EXPECT_EQ(Form->Solutions().Count(), count);
  TMechanism* third = Form->Solutions().Items(3);
  Form->ListPopUpDelete->trigger();
  EXPECT_EQ(Form->Solutions().Count(), count - 1);
  EXPECT_EQ(Rows(), count - 1);
  EXPECT_EQ(Form->Solutions().IndexOf(second), 0);
  // The next one takes the deleted row and becomes current.
  EXPECT_EQ(Form->Solutions().Items(2), third);
  EXPECT_EQ(Form->Solutions().Current, third);
  EXPECT_EQ(Form->MechListView->currentItem(), Form->MechListView->topLevelItem(1));

  // Clear All asks; No keeps everything, Yes empties list and views.
  Dialogs->Answers = {TAnswer::No, TAnswer::Yes};
  Form->ListPopUpClearAll->trigger();
  EXPECT_EQ(Dialogs->Questions.back(), "Do you wish to Delete All Mechanisms?");
  EXPECT_EQ(Dialogs->Buttons.back(), "Yes No");
  EXPECT_EQ(Form->Solutions().Count(), count - 1);
  Form->Progress().Count = 7;  // a stopped run
  Form->ListPopUpClearAll->trigger();
  EXPECT_EQ(Form->Solutions().Count(), 0);
  EXPECT_EQ(Form->Progress().Count, 0);
  EXPECT_EQ(Form->GraphBox().Graph().Count, 0);
  EXPECT_EQ(Rows(), 0);
  EXPECT_EQ(Form->Solutions().Current, nullptr);
  EXPECT_TRUE(Form->IsProjectModified());
  EXPECT_FALSE(Form->ListPopUpMark->isEnabled());
  EXPECT_FALSE(Form->SynthesisOptimize->isEnabled());
}

TEST_F(MainFormSolutionsTest, DoubleClickStopsGenerationAndLeavesTheSelectionToTheList) {
  DrawCurve();
  SetBudget(600);
  Form->SynthesisGenerate->trigger();
  for (int i = 0; i < 300; ++i) Form->GenerateIdle();
  ASSERT_GT(Rows(), 0);
  Form->MechListViewDblClick();
  EXPECT_FALSE(Form->GenerateButton->isChecked());
  EXPECT_EQ(Form->Progress().Count, 300);
  EXPECT_EQ(Form->Solutions().Current, nullptr);
  EXPECT_EQ(Beeps, 0);
  // Space stops a running generation as well, and continues nothing.
  Form->SynthesisGenerate->trigger();
  Form->GenerateIdle();
  Form->FormKeyDown(Qt::Key_Space);
  EXPECT_FALSE(Form->GenerateButton->isChecked());
  EXPECT_FALSE(Form->IdleTimer->isActive());
  EXPECT_EQ(Form->Progress().Count, 301);
}

TEST_F(MainFormSolutionsTest, ClosingTheWindowEndsRunningWork) {
  Generate(600);
  Form->Solutions().Select(1);
  Form->UpdateControls();
  Form->SynthesisOptimize->trigger();
  ASSERT_EQ(Form->Work, TMainForm::TWork::Optimization);
  // A recent file cannot replace the project under running work.
  const int32_t count = Form->Solutions().Count();
  ProgramInfo().LastOpened1 = "/nowhere/p.vesk";
  Dialogs->Answers = {TAnswer::No};
  EXPECT_FALSE(Form->FileLastOpenedClick(1));
  EXPECT_EQ(Form->Solutions().Count(), count);
  EXPECT_EQ(Form->Work, TMainForm::TWork::Optimization);
  Form->OptimizeIdle();

  EXPECT_TRUE(Form->close());
  EXPECT_NE(Form->Work, TMainForm::TWork::Optimization);
  EXPECT_FALSE(Form->OptimizeButton->isChecked());
  EXPECT_FALSE(Form->IdleTimer->isActive());
}

TEST_F(MainFormSolutionsTest, AnimationRunsOutAndBackOnceAndStartPausesIt) {
  Generate(600);
  Form->MechListView->setCurrentItem(Form->MechListView->topLevelItem(0));
  TMechanism* solution = Form->Solutions().Current;
  ASSERT_NE(solution, nullptr);
  const std::array<int32_t, 3> intervals = {180, 88, 42};
  const double beforeX = solution->Joints.GetJoint(3)->X, beforeY = solution->Joints.GetJoint(3)->Y;

  AppOptions.Speed = 2;
  Form->StartButton->trigger();
  EXPECT_TRUE(Form->AnimTimer->isActive());
  EXPECT_EQ(Form->AnimTimer->interval(), intervals[2]);
  for (int i = 0; i < 3; ++i) Form->AnimTimerTick();
  ASSERT_EQ(solution->InputFunction.CurrentStep, 3);

  // Start again pauses; the next press resumes where it stood.
  Form->AnalysisStartItem->trigger();
  EXPECT_FALSE(Form->AnimTimer->isActive());
  EXPECT_TRUE(Form->PauseButton->isChecked());
  EXPECT_FALSE(Form->StartButton->isChecked());
  Form->StartButton->trigger();
  EXPECT_TRUE(Form->AnimTimer->isActive());
  EXPECT_FALSE(Form->PauseButton->isChecked());
  EXPECT_EQ(solution->InputFunction.CurrentStep, 3);

  // Out to the furthest step, one tick to turn, back to 0, one tick that ends it.
  int ticks = 3, furthest = 3;
  while (Form->AnimTimer->isActive() && ticks < 10000) {
    Form->AnimTimerTick();
    ++ticks;
    furthest = std::max(furthest, int(solution->InputFunction.CurrentStep));
  }
  EXPECT_FALSE(Form->AnimTimer->isActive());
  EXPECT_GT(furthest, 3);
  EXPECT_EQ(ticks, 2 * furthest + 2);
  EXPECT_EQ(solution->InputFunction.CurrentStep, 0);
  EXPECT_FALSE(Form->StartButton->isChecked());
  EXPECT_NEAR(solution->Joints.GetJoint(3)->X, beforeX, 1e-9);
  EXPECT_NEAR(solution->Joints.GetJoint(3)->Y, beforeY, 1e-9);

  // Right and Left step once each way.
  Form->FormKeyDown(Qt::Key_Right);
  EXPECT_EQ(solution->InputFunction.CurrentStep, 1);
  Form->FormKeyDown(Qt::Key_Left);
  EXPECT_EQ(solution->InputFunction.CurrentStep, 0);
}

// A generation that pushes the current solution out of the best fifty leaves the grid, the Path
// Error graph and the view empty, as the list is: none of them shows the solution that is gone.
TEST_F(MainFormSolutionsTest, ASolutionPushedOutOfTheListLeavesTheGridAndTheGraph) {
  Form->resize(768, 700);
  Form->RightSplitter->setSizes({400, 200});
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
  DrawCurve();
  SetBudget(1000000);
  Form->SynthesisGenerate->trigger();
  int turns = 0;
  while (Form->Solutions().Count() < TMechanismList::kCapacity && turns < 100000) {
    Form->GenerateIdle();
    ++turns;
  }
  ASSERT_EQ(Form->Solutions().Count(), TMechanismList::kCapacity);
  // The worst one is chosen while the run goes on.
  Form->MechListView->setCurrentItem(Form->MechListView->topLevelItem(TMechanismList::kCapacity - 1));
  ASSERT_EQ(Form->Solutions().Current, Form->Solutions().Items(TMechanismList::kCapacity));
  QApplication::processEvents();
  const auto picture = [this] {
    return Form->GraphPaintBox->grab().toImage().convertToFormat(QImage::Format_RGB32);
  };
  const TGraphPaintBox& graph = Form->GraphBox().Graph();
  ASSERT_NE(Form->StringGrid1->item(0, 0), nullptr);
  ASSERT_EQ(Form->StringGrid1->item(0, 0)->text().toStdString(), Form->Solutions().Current->Name);
  ASSERT_GT(graph.Count, 2);
  ASSERT_GT(RedPixels(picture()), 20);

  while (Form->Solutions().Current && turns < 200000) {
    Form->GenerateIdle();
    ++turns;
  }
  ASSERT_EQ(Form->Solutions().Current, nullptr) << "not pushed out after " << turns << " turns";
  QApplication::processEvents();
  const auto expectEmpty = [&](const char* when) {
    SCOPED_TRACE(when);
    for (int row = 0; row < Form->StringGrid1->rowCount(); ++row)
      for (int col = 0; col < Form->StringGrid1->columnCount(); ++col) {
        if (const QTableWidgetItem* item = Form->StringGrid1->item(row, col)) {
          EXPECT_EQ(item->text().toStdString(), "") << row << "," << col;
        }
      }
    EXPECT_EQ(graph.Count, 0);
    EXPECT_EQ(graph.YTitle, "Error");
    EXPECT_EQ(RedPixels(picture()), 0);
    EXPECT_TRUE(Form->MechListView->selectedItems().isEmpty());
  };
  expectEmpty("pushed out");

  // The budget ends the run; with nothing current the animation and export commands stay off.
  Form->Progress().Total = Form->Progress().Count;
  EXPECT_TRUE(Form->GenerateIdle());
  QApplication::processEvents();
  EXPECT_EQ(Form->Solutions().Current, nullptr);
  expectEmpty("run ended");
  for (QAction* action : {Form->StartButton, Form->StepCWButton, Form->StepCCWButton, Form->PrintButton,
                          Form->FileExporttoQuillonItem})
    EXPECT_FALSE(action->isEnabled()) << action->objectName().toStdString();
}

// Every command that changes the current solution or takes it from the list leaves the grid and
// the Path Error graph showing the new current one, read from its joints and path points, or
// nothing.
TEST_F(MainFormSolutionsTest, TheGridAndTheGraphFollowEveryChangeOfTheCurrentSolution) {
  Form->resize(768, 700);
  Form->RightSplitter->setSizes({400, 200});
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
  Generate(600);
  shared::TProjectInfo info;
  Form->SetProjectStore(std::make_unique<TWindowProjectStore>(*Form, info));
  QTemporaryDir dir;
  const std::string path = shared::ToPath(dir.filePath(QStringLiteral("follow.vesk")));
  const std::string damaged = shared::ToPath(dir.filePath(QStringLiteral("damaged.vesk")));
  TWindowProjectStore(*Form, info).Write(path);
  std::ofstream(damaged) << "[Vesk]\r\nnot a project\r\n";
  const auto open = [this](const std::string& file) {
    // What the commands before changed is not kept.
    if (Form->IsProjectModified()) Dialogs->Answers.push_front(TAnswer::No);
    Dialogs->PickedFile = QString::fromStdString(file);
    Form->FileOpenItem->trigger();
  };

  const TGraphPaintBox& graph = Form->GraphBox().Graph();
  const shared::TConvert& units = shared::Convert();
  const auto cell = [this](int col, int row) {
    const QTableWidgetItem* item = Form->StringGrid1->item(row, col);
    return item ? item->text().toStdString() : std::string();
  };
  const auto expectShown = [&](const TMechanism* m) {
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(Form->Solutions().Current, m);
    EXPECT_EQ(cell(0, 0), m->Name);
    for (int32_t j = 1; j <= 2; ++j) {
      EXPECT_EQ(cell(1, j), units.FormatSI(shared::cuLength, m->Joints.GetJoint(j)->X)) << j;
      EXPECT_EQ(cell(2, j), units.FormatSI(shared::cuLength, m->Joints.GetJoint(j)->Y)) << j;
    }
    const int32_t n = std::min(m->PathPoints.Count(), int32_t(TGraphPaintBox::kMaxSamples));
    ASSERT_EQ(graph.Count, n);
    ASSERT_GT(n, 2);
    EXPECT_EQ(graph.Y[0], m->PathPoints.GetPathPoint(1)->Deviation);
    EXPECT_EQ(graph.Y[size_t(n - 1)], m->PathPoints.GetPathPoint(n)->Deviation);
  };
  const auto expectNothing = [&] {
    EXPECT_EQ(Form->Solutions().Current, nullptr);
    for (int row = 0; row < Form->StringGrid1->rowCount(); ++row)
      for (int col = 0; col < Form->StringGrid1->columnCount(); ++col) EXPECT_EQ(cell(col, row), "") << row << "," << col;
    EXPECT_EQ(graph.Count, 0);
  };
  struct TCase {
    const char* Name;
    std::function<void()> Command;
    int Shown;  // the list position shown afterwards, 0 for nothing
  };
  const std::vector<TCase> cases = {
      {"opened: its first solution", [&] { open(path); }, 1},
      {"deleted: the next one",
       [&] {
         Dialogs->Answers = {TAnswer::Yes};
         Form->ListPopUpDelete->trigger();
       },
       2},
      {"all cleared",
       [&] {
         Dialogs->Answers = {TAnswer::Yes};
         Form->ListPopUpClearAll->trigger();
       },
       0},
      {"a new project", [&] { Form->FileNewItem->trigger(); }, 0},
      {"a damaged project opened", [&] { open(damaged); }, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    open(path);
    Form->MechListView->setCurrentItem(Form->MechListView->topLevelItem(1));
    QApplication::processEvents();
    expectShown(Form->Solutions().Items(2));
    c.Command();
    QApplication::processEvents();
    if (c.Shown > 0)
      expectShown(Form->Solutions().Items(c.Shown));
    else
      expectNothing();
    const QImage picture = Form->GraphPaintBox->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(RedPixels(picture) > 0, c.Shown > 0);
  }
  EXPECT_EQ(Errors.size(), 1u);  // the damaged project's message
}

// Left and Right are the step buttons' keys: while generation or optimisation runs the buttons
// are disabled and the keys move nothing, neither the input nor the joints under the optimiser.
TEST_F(MainFormSolutionsTest, TheArrowKeysWaitWithTheStepButtons) {
  Generate(600);
  Form->MechListView->setCurrentItem(Form->MechListView->topLevelItem(0));
  TMechanism* solution = Form->Solutions().Current;
  ASSERT_NE(solution, nullptr);
  const auto joints = [solution] {
    std::vector<std::pair<double, double>> at;
    for (int32_t i = 1; i <= solution->Joints.Count(); ++i)
      at.emplace_back(solution->Joints.GetJoint(i)->X, solution->Joints.GetJoint(i)->Y);
    return at;
  };
  // The keys as the user presses them, here in the tab bar of the views.
  const auto press = [this](int key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(Form->MechPageControl->tabBar(), &event);
  };
  const auto expectKeysWait = [&](const char* state) {
    SCOPED_TRACE(state);
    EXPECT_FALSE(Form->StepCWButton->isEnabled());
    EXPECT_FALSE(Form->StepCCWButton->isEnabled());
    const auto before = joints();
    for (int key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Left, Qt::Key_Right}) press(key);
    EXPECT_EQ(solution->InputFunction.CurrentStep, 0);
    EXPECT_EQ(joints(), before);
  };

  Form->SynthesisGenerate->trigger();
  ASSERT_EQ(Form->Work, TMainForm::TWork::Generation);
  ASSERT_EQ(Form->Solutions().Current, solution);
  expectKeysWait("generating");
  Form->SynthesisGenerate->trigger();

  // Idle: the keys step as the buttons do.
  ASSERT_TRUE(Form->StepCWButton->isEnabled());
  press(Qt::Key_Right);
  EXPECT_EQ(solution->InputFunction.CurrentStep, 1);
  press(Qt::Key_Left);
  EXPECT_EQ(solution->InputFunction.CurrentStep, 0);

  Form->SynthesisOptimize->trigger();
  ASSERT_EQ(Form->Work, TMainForm::TWork::Optimization);
  Form->OptimizeIdle();
  expectKeysWait("optimising");
  Form->SynthesisOptimize->trigger();
  EXPECT_NE(Form->Work, TMainForm::TWork::Optimization);
}

// The animation of a solution of each type, with a law whose steps differ in size, runs out
// and back and leaves the design where it was.
TEST_F(MainFormSolutionsTest, AnimationOutAndBackLeavesTheDesignOfEveryType) {
  DrawCurve();
  for (const uint8_t type : {kFourbarType, kWatt1Type, kWatt2Type, kStephenson1Type, kStephenson3Type, kEightbarType,
                             kSliderType, kFiveBarType}) {
    SCOPED_TRACE(int(type));
    std::unique_ptr<TMechanism> m = NewMechanism(type);
    int attempts = 0;
    do m->Generate(Form->Curve(), nullptr, nullptr);
    while (!m->Error.Valid && ++attempts < 20000);
    ASSERT_TRUE(m->Error.Valid);
    m->InputFunction.SetFunctionType(kLawCycloidal);
    TMechanismList& list = Form->Solutions();
    list.Clear();
    list.AddCandidate(std::move(m));
    Form->MechListView->setCurrentItem(Form->MechListView->topLevelItem(0));
    TMechanism* solution = list.Current;
    ASSERT_NE(solution, nullptr);
    std::vector<shared::TComplex> design;
    double reach = 1;
    for (int32_t i = 1; i <= solution->Joints.Count(); ++i) {
      design.push_back(*solution->Joints.GetJoint(i));
      reach = std::max(reach, std::hypot(design.back().X, design.back().Y));
    }
    Form->StartButton->trigger();
    int ticks = 0;
    while (Form->AnimTimer->isActive() && ticks < 10000) {
      Form->AnimTimerTick();
      ++ticks;
    }
    EXPECT_EQ(ticks, 2 * solution->InputFunction.Steps() + 2);
    // Round-off of the loop closures only; the slider's far rocker pivot scales it.
    for (int32_t i = 1; i <= solution->Joints.Count(); ++i) {
      EXPECT_NEAR(solution->Joints.GetJoint(i)->X, design[size_t(i - 1)].X, 1e-12 * reach) << i;
      EXPECT_NEAR(solution->Joints.GetJoint(i)->Y, design[size_t(i - 1)].Y, 1e-12 * reach) << i;
    }
  }
}

// A tick moves the graph's cursor by drawing its two lines and two value boxes: the graph itself
// is not painted again, so the update covers neither the middle of the plot nor its curve.
TEST_F(MainFormSolutionsTest, AnAnimationTickRedrawsOnlyTheGraphsCursor) {
  Generate(600);
  Form->resize(768, 700);
  Form->RightSplitter->setSizes({400, 200});
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
  Form->MechListView->setCurrentItem(Form->MechListView->topLevelItem(0));
  ASSERT_NE(Form->Solutions().Current, nullptr);
  Form->StartButton->trigger();
  QApplication::processEvents();
  const TGraphPaintBox& graph = Form->GraphBox().Graph();
  ASSERT_GE(graph.Count, 3);
  ASSERT_TRUE(graph.Drawable);

  TPaintRegions regions;
  Form->GraphPaintBox->installEventFilter(&regions);
  for (int i = 0; i < 3; ++i) Form->AnimTimerTick();
  QApplication::processEvents();
  Form->GraphPaintBox->removeEventFilter(&regions);
  ASSERT_GT(regions.Paints, 0);
  const int cursor = graph.PlotLeft + int(std::lround((graph.CursorX - graph.XTicks[0]) * graph.ScaleX));
  const int middle = (graph.PlotTop + graph.PlotBottom) / 2;
  EXPECT_TRUE(regions.Painted.contains(QPoint(cursor, middle)));
  // Far from the cursor, between the value boxes, nothing is drawn.
  const int away = cursor < (graph.PlotLeft + graph.PlotRight) / 2 ? graph.PlotRight - 5 : graph.PlotLeft + 5;
  EXPECT_FALSE(regions.Painted.contains(QPoint(away, middle)));
  EXPECT_LT(regions.Painted.boundingRect().width() * (graph.PlotBottom - graph.PlotTop),
            Form->GraphPaintBox->width() * Form->GraphPaintBox->height());
  Form->AnimationResetClick();
}

// Hiding and showing the graph panel keeps its graph.
TEST_F(MainFormSolutionsTest, TheGraphIsBackWhenItsPanelIsShownAgain) {
  Generate(600);
  Form->resize(768, 700);
  Form->RightSplitter->setSizes({400, 200});
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
  Form->MechListView->setCurrentItem(Form->MechListView->topLevelItem(0));
  QApplication::processEvents();
  const auto picture = [this] {
    return Form->GraphPaintBox->grab().toImage().convertToFormat(QImage::Format_RGB32);
  };
  const int curve = RedPixels(picture());
  ASSERT_GT(curve, 20);
  Form->ReflectOptions();
  ASSERT_TRUE(Form->ShowGraphToolButton->isChecked());
  Form->ShowGraphToolButton->trigger();
  QApplication::processEvents();
  EXPECT_FALSE(Form->GraphTabControl->isVisible());
  Form->ShowGraphToolButton->trigger();
  QApplication::processEvents();
  ASSERT_TRUE(Form->GraphPaintBox->isVisible());
  EXPECT_EQ(RedPixels(picture()), curve);
}

// The command opens the one dialog of the program on the current solution's law; OK gives every
// solution the law, and the default that later candidates start from stays.
TEST_F(MainFormSolutionsTest, TheInputFunctionCommandStartsFromTheCurrentSolutionAndKeepsTheDefault) {
  Generate(300);
  Form->MechListView->setCurrentItem(Form->MechListView->topLevelItem(0));
  TMechanism* current = Form->Solutions().Current;
  ASSERT_NE(current, nullptr);
  current->InputFunction.SetFunctionType(kLawCycloidal);
  current->InputFunction.SetTmax(2.0);
  std::vector<QString> shownErrors;
  shared::SetExceptionHandler([&](const QString& text) { shownErrors.push_back(text); });
  std::vector<QDialog*> dialogs;
  std::function<void(TInputFunctionDlg&)> user;
  Form->ShowModal = [&](QDialog& dialog) {
    auto* input = qobject_cast<TInputFunctionDlg*>(&dialog);
    EXPECT_NE(input, nullptr);
    if (!input) return int(QDialog::Rejected);
    dialogs.push_back(&dialog);
    dialog.show();
    user(*input);
    return dialog.result();
  };

  user = [&](TInputFunctionDlg& dlg) {
    EXPECT_TRUE(dlg.FunctionRadios[kLawCycloidal]->isChecked());
    EXPECT_DOUBLE_EQ(dlg.TmaxEdit->text().toDouble(), 2.0);
    // A time of 0 keeps the dialog open and reaches the program's error display.
    dlg.TmaxEdit->setText("0");
    dlg.OKBtn->click();
    EXPECT_TRUE(dlg.isVisible());
    dlg.FunctionRadios[kLawPolynomial345]->click();
    dlg.TmaxEdit->setText("1.5");
    dlg.OKBtn->click();
    EXPECT_FALSE(dlg.isVisible());
  };
  Form->AnalysisInputFunctionItem->trigger();
  EXPECT_EQ(shownErrors, std::vector<QString>{"Time > 0"});
  for (int32_t i = 1; i <= Form->Solutions().Count(); ++i) {
    EXPECT_EQ(Form->Solutions().Items(i)->InputFunction.FunctionType(), kLawPolynomial345) << i;
    EXPECT_DOUBLE_EQ(Form->Solutions().Items(i)->InputFunction.Tmax(), 1.5) << i;
  }

  // Later candidates start from the law chosen.
  ASSERT_NO_THROW({
    Form->SynthesisGenerate->trigger();
    for (int i = 0; i < 20; ++i) Form->GenerateIdle();
    if (Form->Work == TMainForm::TWork::Generation) Form->SynthesisGenerate->trigger();
  });
  EXPECT_EQ(DefaultInputFunction().FunctionType(), kLawPolynomial345);
  EXPECT_EQ(Form->Solutions().CreateMechanism()->InputFunction.FunctionType(), kLawPolynomial345);

  // Cancel: the default has taken the current solution's law, the solutions keep theirs.
  current = Form->Solutions().Current;
  ASSERT_NE(current, nullptr);
  current->InputFunction.SetFunctionType(kLawConstantAcceleration);
  user = [](TInputFunctionDlg& dlg) {
    EXPECT_TRUE(dlg.FunctionRadios[kLawConstantAcceleration]->isChecked());
    dlg.CancelBtn->click();
  };
  Form->AnalysisInputFunctionItem->trigger();
  EXPECT_EQ(DefaultInputFunction().FunctionType(), kLawConstantAcceleration);
  for (int32_t i = 1; i <= Form->Solutions().Count(); ++i) {
    if (Form->Solutions().Items(i) != current) {
      EXPECT_EQ(Form->Solutions().Items(i)->InputFunction.FunctionType(), kLawPolynomial345) << i;
    }
  }
  ASSERT_EQ(dialogs.size(), 2u);
  EXPECT_EQ(dialogs[0], dialogs[1]) << "one dialog for the program's run";
  shared::SetExceptionHandler(nullptr);
}

// A joint's properties: the point dialog captioned "Joint" in x and y whatever the coordinates,
// on the solution's joint list; the grid follows.
TEST_F(MainFormSolutionsTest, AJointsPropertiesEditItInXAndYAndRefillTheGrid) {
  Generate(300);
  Form->MechListView->setCurrentItem(Form->MechListView->topLevelItem(0));
  TMechanism* current = Form->Solutions().Current;
  ASSERT_NE(current, nullptr);
  AppOptions.IsPolar = true;
  current->Joints.Select(3);
  const QString before = Form->StringGrid1->item(0, 0) ? Form->StringGrid1->item(0, 0)->text() : QString();
  std::vector<QString> titles;
  Form->ShowModal = [&](QDialog& dialog) {
    titles.push_back(dialog.windowTitle());
    auto* point = qobject_cast<TComplexPointDialog*>(&dialog);
    EXPECT_NE(point, nullptr);
    if (!point) return int(QDialog::Rejected);
    dialog.show();
    EXPECT_EQ(point->XLabel->text(), "X");
    point->XEdit->setText("123");
    point->YEdit->setText("-45");
    point->OKBtn->click();
    return dialog.result();
  };
  Form->MechProperties();
  EXPECT_EQ(titles, std::vector<QString>{"Joint"});
  EXPECT_NEAR(current->Joints.GetJoint(3)->X, 0.123, 1e-12);
  EXPECT_NEAR(current->Joints.GetJoint(3)->Y, -0.045, 1e-12);
  EXPECT_EQ(current->Joints.Selected(), current->Joints.GetJoint(3));
  // The grid shows the joint where it went, in polar form: 130.97 mm from the origin.
  bool shown = false;
  for (int row = 0; row < Form->StringGrid1->rowCount(); ++row)
    for (int col = 0; col < Form->StringGrid1->columnCount(); ++col)
      if (QTableWidgetItem* item = Form->StringGrid1->item(row, col); item && item->text().contains("130.9"))
        shown = true;
  EXPECT_TRUE(shown);
  EXPECT_EQ(Form->StringGrid1->item(0, 0)->text(), before);
}

// The window's project store writes the window's project and reads it back into the window; a
// tampered file is refused.
TEST_F(MainFormSolutionsTest, TheProjectStoreSavesAndReopensTheWindowsProject) {
  Generate(300);
  const int32_t count = Form->Solutions().Count();
  const double best = Form->Solutions().Items(1)->Error.Total;
  shared::TProjectInfo info;
  info.Title = "Gear";
  TWindowProjectStore store(*Form, info);
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("vesk-store-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "gear.vesk").string();
  // The process-wide checksum signs and verifies, keyed for project files.
  FileValidate().Key = "Lanterns";
  store.Write(path);
  EXPECT_EQ(FileValidate().StatusText, "OK");
  EXPECT_EQ(FileValidate().Key, "quintabole");

  Form->NewProject();
  info.Title.clear();
  ASSERT_EQ(Form->Solutions().Count(), 0);
  ASSERT_EQ(Form->Curve().Count(), 0);
  store.Read(path);
  EXPECT_EQ(Form->Solutions().Count(), count);
  EXPECT_NEAR(Form->Solutions().Items(1)->Error.Total, best, 1e-12 * best);
  EXPECT_EQ(Form->Curve().Count(), int32_t(std::size(kCurve)));
  EXPECT_EQ(info.Title, "Gear");
  EXPECT_EQ(FileValidate().StatusText, "Valid");

  // A changed byte breaks the checksum: the read is refused.
  std::string bytes;
  {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    bytes = text.str();
  }
  bytes[bytes.find("[Vesk]") + 1] = 'W';
  std::ofstream(path, std::ios::binary) << bytes;
  EXPECT_THROW(store.Read(path), std::exception);
  EXPECT_EQ(FileValidate().StatusCode, TFileValidate::kNotValid);
  std::filesystem::remove_all(dir);
}


// The picture an icon shows at the side it was made for.
QImage IconImage(const QIcon& icon, int side) {
  return icon.pixmap(side, side).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

TEST_F(MainFormSolutionsTest, TypeButtonsShowTheirTypesPictureHighlightedWhileDown) {
  Form->ResetTypeButtons();
  const int side = Form->ToolBar1->iconSize().height();
  const auto expectImages = [&](int down) {
    for (size_t type = 0; type < Form->MechButtons.size(); ++type) {
      QAction* button = Form->MechButtons[type];
      if (!button) continue;
      SCOPED_TRACE(type);
      const int image = TypeImageIndex(uint8_t(type)) + (int(type) == down ? 2 : 0);
      EXPECT_EQ(button->isChecked(), int(type) == down);
      EXPECT_EQ(button->property("ImageIndex").toInt(), image);
      EXPECT_EQ(IconImage(button->icon(), side), MechPicture(int(type), int(type) == down ? 2 : 0, side));
    }
  };
  // The four-bar is down at start: 18; the slider's own picture is 57.
  expectImages(kFourbarType);
  EXPECT_EQ(Form->MechButtons[kFourbarType]->property("ImageIndex").toInt(), 18);
  Form->MechButtons[kEightbarType]->trigger();
  expectImages(kEightbarType);
  EXPECT_EQ(Form->MechButtons[kEightbarType]->property("ImageIndex").toInt(), 56);
  Form->ResetTypeButtons();
  expectImages(kFourbarType);
}

TEST_F(MainFormSolutionsTest, ListRowsShowTheTypeAndMarkedOrOptimisedPicture) {
  Generate(600);
  const int side = Form->MechListView->iconSize().height();
  ASSERT_GE(side, 16);
  QTreeWidgetItem* first = Form->MechListView->topLevelItem(0);
  EXPECT_EQ(first->data(0, Qt::UserRole).toInt(), 16);
  EXPECT_EQ(IconImage(first->icon(0), side), MechPicture(kFourbarType, 0, side));

  // Marking changes the row's picture, not its rank.
  Form->MechListView->setCurrentItem(Form->MechListView->topLevelItem(1));
  TMechanism* second = Form->Solutions().Current;
  Form->ListPopUpMark->trigger();
  EXPECT_EQ(Form->Solutions().IndexOf(second), 2);
  QTreeWidgetItem* row = Form->MechListView->topLevelItem(1);
  EXPECT_EQ(row->data(0, Qt::UserRole).toInt(), 18);
  EXPECT_EQ(IconImage(row->icon(0), side), MechPicture(kFourbarType, 2, side));
  // An optimised one shows its own; marked wins over optimised.
  second->Optimized = true;
  second->UpdateListItem();
  EXPECT_EQ(row->data(0, Qt::UserRole).toInt(), 18);
  Form->ListPopUpMark->trigger();
  EXPECT_EQ(row->data(0, Qt::UserRole).toInt(), 17);
  EXPECT_EQ(IconImage(row->icon(0), side), MechPicture(kFourbarType, 1, side));
}

// At the default width of a window 768 pixels wide (60 % of a 1280-pixel screen) every button of
// both tool bars is in sight, none behind the overflow arrow: the second bar has a row of its own.
TEST_F(MainFormSolutionsTest, EveryToolButtonIsInSightAtTheDefaultWidth) {
  Form->resize(768, 700);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
  QApplication::processEvents();
  ASSERT_EQ(Form->width(), 768);
  EXPECT_TRUE(Form->toolBarBreak(Form->ToolBar2));
  EXPECT_EQ(Form->toolBarArea(Form->ToolBar2), Form->toolBarArea(Form->ToolBar1));
  EXPECT_GE(Form->ToolBar2->geometry().top(), Form->ToolBar1->geometry().bottom());
  for (QToolBar* bar : {Form->ToolBar1, Form->ToolBar2}) ExpectEveryButtonShown(*bar);
  for (QAction* button : {Form->ListDeleteButton, Form->ClearListButton, Form->InputFunctionButton})
    EXPECT_TRUE(Form->ToolBar2->actions().contains(button)) << button->objectName().toStdString();
  EXPECT_TRUE(Form->ToolBar1->actions().contains(Form->ExportToExcelButton));
  // The type buttons keep their Tags and hints.
  EXPECT_EQ(Form->MechButtons[kSliderType]->data().toInt(), kSliderType);
  EXPECT_EQ(Form->MechButtons[kSliderType]->toolTip(), "Slider");
  EXPECT_EQ(Form->MechButtons[kSliderType]->statusTip(), "Slider four bar, universal and simple mechanism");
  EXPECT_EQ(Form->MechButtons[kFourbarType]->toolTip(), "Four bar");
  EXPECT_EQ(Form->MechButtons[kWatt1Type]->statusTip(), "Watt 1 six bar");
}

// Delete Mechanism, Clear List and Input Function wait for running work; Export to Excel also
// for a current solution. Each button does what its menu or popup item does.
TEST_F(MainFormSolutionsTest, ListInputAndExcelButtonsFollowTheEnableRule) {
  const auto expectEnabled = [this](const char* state, bool listAndInput, bool excel) {
    SCOPED_TRACE(state);
    for (QAction* button : {Form->ListDeleteButton, Form->ClearListButton, Form->InputFunctionButton})
      EXPECT_EQ(button->isEnabled(), listAndInput) << button->objectName().toStdString();
    EXPECT_EQ(Form->ExportToExcelButton->isEnabled(), excel);
    EXPECT_EQ(Form->ExportToExcelButton->isEnabled(), Form->FileExportToExcelItem->isEnabled());
  };
  expectEnabled("new project", true, false);
  DrawCurve();
  SetBudget(600);
  Form->SynthesisGenerate->trigger();
  for (int i = 0; i < 300; ++i) Form->GenerateIdle();
  expectEnabled("generating", false, false);
  Form->SynthesisGenerate->trigger();  // stopped: solution 1 becomes current
  ASSERT_NE(Form->Solutions().Current, nullptr);
  expectEnabled("idle with a current solution", true, true);
  Form->SynthesisOptimize->trigger();
  ASSERT_EQ(Form->Work, TMainForm::TWork::Optimization);
  expectEnabled("optimising", false, false);
  Form->SynthesisOptimize->trigger();
  expectEnabled("optimisation stopped", true, true);

  std::vector<QString> shown;
  Form->ShowModal = [&](QDialog& dialog) {
    shown.push_back(dialog.metaObject()->className());
    return int(QDialog::Rejected);
  };
  Form->InputFunctionButton->trigger();
  Form->ExportToExcelButton->trigger();
  EXPECT_EQ(shown, (std::vector<QString>{"vesk::TInputFunctionDlg", "vesk::TExcelExportDialog"}));

  const int32_t count = Form->Solutions().Count();
  Dialogs->Answers = {TAnswer::Yes, TAnswer::No};
  Form->ListDeleteButton->trigger();
  EXPECT_EQ(Dialogs->Questions.back(), "Do you wish to Delete the selected Mechanism?");
  EXPECT_EQ(Form->Solutions().Count(), count - 1);
  Form->ClearListButton->trigger();
  EXPECT_EQ(Dialogs->Questions.back(), "Do you wish to Delete All Mechanisms?");
  EXPECT_EQ(Form->Solutions().Count(), count - 1);
  Dialogs->Answers = {TAnswer::Yes};
  Form->ClearListButton->trigger();
  EXPECT_EQ(Form->Solutions().Count(), 0);
  expectEnabled("list cleared", true, false);
}

// At the default size on a 1280 x 1024 screen the left panel shows the list's and the grid's
// texts whole (the slider's name is the longest type name), the graph's values stay clear of
// its frame and the status line shows every hint.
TEST_F(MainFormSolutionsTest, TextsFitTheirPlacesAtTheDefaultSize) {
  fStore.WriteInteger("MainForm", "Width", 768);
  fStore.WriteInteger("MainForm", "Height", 994);
  Form->FormShow({});
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
  ASSERT_EQ(Form->width(), 768);
  Form->MechButtons[kSliderType]->trigger();
  Generate(600);
  Form->MechListView->setCurrentItem(Form->MechListView->topLevelItem(0));
  QApplication::processEvents();
  // Cells and panels keep a few pixels of frame around their text.
  constexpr int kFrame = 8;

  QTreeWidget* list = Form->MechListView;
  const QFontMetrics metrics(list->font());
  EXPECT_LE(list->columnWidth(0) + list->columnWidth(1) + list->columnWidth(2), list->viewport()->width());
  for (int row = 0; row < list->topLevelItemCount(); ++row) {
    const QTreeWidgetItem* item = list->topLevelItem(row);
    for (int c = 0; c < 3; ++c) {
      const int picture = c == 0 ? list->iconSize().width() + 4 : 0;
      EXPECT_LE(metrics.horizontalAdvance(item->text(c)) + picture + kFrame, list->columnWidth(c))
          << "list " << row << "," << c << " " << item->text(c).toStdString();
    }
  }
  QTableWidget* grid = Form->StringGrid1;
  int gridColumns = 0;
  for (int c = 0; c < grid->columnCount(); ++c) gridColumns += grid->columnWidth(c);
  EXPECT_LE(gridColumns, grid->viewport()->width());
  ASSERT_NE(grid->item(0, 0), nullptr);
  EXPECT_EQ(grid->item(0, 0)->text(), "Slider Four Bar");
  for (int row = 0; row < grid->rowCount(); ++row)
    for (int c = 0; c < grid->columnCount(); ++c)
      if (const QTableWidgetItem* item = grid->item(row, c)) {
        EXPECT_LE(metrics.horizontalAdvance(item->text()) + kFrame, grid->columnWidth(c))
            << "grid " << row << "," << c << " " << item->text().toStdString();
      }

  // Every hint of the window's commands, the views' mode hints and the longest words on a drag.
  QStringList hints = {"Click and drag to define an area", "Click in window to add a curve point",
                       "Not taken: the linkage would no longer run its whole path",
                       "Not taken: the linkage would break the areas or options",
                       "Slider Four Bar joints are not dragged"};
  for (const QAction* action : Form->findChildren<QAction*>())
    if (!action->statusTip().isEmpty()) hints << action->statusTip();
  const QFontMetrics hintMetrics(Form->StatusPanels[3]->font());
  for (const QString& hint : hints)
    EXPECT_LE(hintMetrics.horizontalAdvance(hint), Form->StatusPanels[3]->contentsRect().width()) << hint.toStdString();
}

// At the default size of a 1280 x 1024 and of a 1600 x 1000 screen every graph kind's tab is in
// sight with its whole caption: the tabs wrap into rows, the current tab's row next to the graph,
// and a click on a tab where it is drawn shows that tab's graph.
TEST_F(MainFormSolutionsTest, EveryGraphTabIsInSightAtTheDefaultSize) {
  Generate(600);
  Form->MechListView->setCurrentItem(Form->MechListView->topLevelItem(0));
  for (const QSize size : {QSize(768, 994), QSize(960, 970)}) {
    SCOPED_TRACE(size.width());
    fStore.Values.clear();
    fStore.WriteInteger("MainForm", "Width", size.width());
    fStore.WriteInteger("MainForm", "Height", size.height());
    Form->SetRegistryKey(ProgramInfo().RegistryKey);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
    QApplication::processEvents();
    ASSERT_EQ(Form->size(), size);
    QTabWidget& tabs = *Form->GraphTabControl;
    auto* bar = qobject_cast<TRowTabBar*>(tabs.tabBar());
    ASSERT_NE(bar, nullptr);
    EXPECT_GT(bar->RowCount(), 1);
    for (const QToolButton* arrow : bar->findChildren<QToolButton*>()) EXPECT_FALSE(arrow->isVisible());
    // The control lies whole in the window, the bar whole in the control.
    EXPECT_TRUE(Form->rect().contains(QRect(tabs.mapTo(Form.get(), QPoint()), tabs.size())));
    EXPECT_TRUE(tabs.rect().contains(bar->geometry()));
    const QFontMetrics metrics(bar->font());
    for (int kind = 0; kind < tabs.count(); ++kind) {
      SCOPED_TRACE(kind);
      const QRect tab = bar->RowTabRect(kind);
      EXPECT_TRUE(bar->rect().contains(tab));
      EXPECT_GE(tab.width(), metrics.horizontalAdvance(tabs.tabText(kind)) + 8);
      for (int other = 0; other < kind; ++other) EXPECT_FALSE(tab.intersects(bar->RowTabRect(other))) << other;
      QTest::mouseClick(bar, Qt::LeftButton, {}, tab.center());
      EXPECT_EQ(tabs.currentIndex(), kind);
      EXPECT_EQ(Form->Solutions().GraphKind, kind);
      EXPECT_EQ(Form->GraphPaintBox->parentWidget(), tabs.widget(kind));
      // The row of the tab shown comes next to the graph.
      int bottom = 0;
      for (int i = 0; i < tabs.count(); ++i) bottom = std::max(bottom, bar->RowTabRect(i).bottom());
      EXPECT_EQ(bar->RowTabRect(kind).bottom(), bottom);
    }
    QApplication::processEvents();
    EXPECT_GT(Form->GraphPaintBox->height(), 4 * metrics.height());
    EXPECT_GT(Form->GraphBox().Graph().Count, 0);
    tabs.setCurrentIndex(0);
  }
}

TEST_F(MainFormSolutionsTest, EachViewBarShowsEveryButtonAtTheDefaultWidth) {
  Form->resize(768, 700);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
  for (int view = 0; view < 3; ++view) {
    Form->MechPageControl->setCurrentIndex(view);
    QApplication::processEvents();
    ExpectEveryButtonShown(*Form->ViewToolBars[size_t(view)]);
  }
}

// A joint dragged in the mechanism view with the mouse: pressed where it is, moved to the drop's
// pixel and released; the world point the view dropped it at.
shared::TComplex DragInView(TMainForm& form, const shared::TComplex& from, const shared::TComplex& to) {
  const shared::TSynthCanvas2D& canvas = form.Canvas(0);
  const shared::TPoint a = canvas.WorldToScreen(from);
  const shared::TPoint b = canvas.WorldToScreen(to);
  auto send = [&](QEvent::Type type, const shared::TPoint& at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at.X, at.Y), QPointF(at.X, at.Y), button, held, Qt::NoModifier);
    QApplication::sendEvent(form.PaintBox1, &event);
  };
  send(QEvent::MouseButtonPress, a, Qt::LeftButton, Qt::LeftButton);
  send(QEvent::MouseMove, b, Qt::NoButton, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, b, Qt::LeftButton, Qt::NoButton);
  return canvas.ScreenToWorld(b.X, b.Y);
}

std::vector<shared::TComplex> JointsOf(const TMechanism& m) {
  std::vector<shared::TComplex> points;
  for (int32_t i = 1; i <= m.Joints.Count(); ++i) points.push_back(*m.Joints.Items(i));
  return points;
}

std::vector<std::string> RowTexts(QTreeWidget& view) {
  std::vector<std::string> rows;
  for (int r = 0; r < view.topLevelItemCount(); ++r)
    for (int c = 0; c < 3; ++c) rows.push_back(view.topLevelItem(r)->text(c).toStdString());
  return rows;
}

// A joint of a type without a drag rule stays where it is and the status line says so; a drop that
// is taken is rated again and sorted, one that is refused says why and changes nothing.
TEST_F(MainFormSolutionsTest, ADraggedJointMovesAsItsTypeAllowsAndTheStatusLineSaysWhyNot) {
  const QLabel& status = *Form->StatusPanels[3];
  TMechanismList& list = Form->Solutions();
  Form->MechButtons[kFourbarType]->trigger();
  Generate(600);
  list.Select(1);
  list.SyncListView();
  list.UpdateViews();
  MarkSaved();
  const std::vector<shared::TComplex> fourbar = JointsOf(*list.Current);
  DragInView(*Form, fourbar[1], shared::TComplex(fourbar[1].X + 0.1, fourbar[1].Y + 0.1));
  EXPECT_EQ(status.text(), "Fourbar joints are not dragged");
  const std::vector<shared::TComplex> after = JointsOf(*list.Current);
  for (size_t i = 0; i < after.size(); ++i) {
    EXPECT_EQ(after[i].X, fourbar[i].X);
    EXPECT_EQ(after[i].Y, fourbar[i].Y);
  }
  EXPECT_FALSE(Form->IsProjectModified());

  // An eight-bar's parallelogram half a curve length away: where its linkage would not run its
  // path the drop is refused, elsewhere taken. Which is which, a copy tells first.
  Form->NewProject();
  Form->MechButtons[kEightbarType]->trigger();
  Generate(600);
  const double reach = 0.5 * Form->Curve().CurveLength;
  struct TTry {
    int32_t Rank = 0;
    int32_t Joint = 0;
    shared::TComplex To;
  };
  TTry refused, taken;
  for (int32_t rank = 1; rank <= list.Count() && !(refused.Rank && taken.Rank); ++rank) {
    for (const int32_t joint : {6, 7, 8, 9}) {
      for (int32_t direction = 0; direction < 4; ++direction) {
        list.Select(rank);
        list.UpdateViews();
        const shared::TComplex at = *list.Current->Joints.Items(joint);
        shared::TComplex d;
        d.SetPolar(reach, direction * std::numbers::pi / 2);
        // Where the view drops it: on a pixel.
        const shared::TSynthCanvas2D& canvas = Form->Canvas(0);
        const shared::TPoint pixel = canvas.WorldToScreen(shared::TComplex(at.X + d.X, at.Y + d.Y));
        const shared::TComplex to = canvas.ScreenToWorld(pixel.X, pixel.Y);
        std::unique_ptr<TMechanism> copy = list.Current->Clone();
        copy->Joints.Select(joint);
        const TDrop drop = copy->DropJoint(to, &Form->Curve(), nullptr, nullptr);
        TTry& found = drop == TDrop::Taken ? taken : refused;
        if (!found.Rank && (drop == TDrop::Taken || drop == TDrop::PathNotRun)) found = {rank, joint, to};
      }
    }
  }
  ASSERT_GT(refused.Rank, 0);
  ASSERT_GT(taken.Rank, 0);

  list.Select(refused.Rank);
  list.SyncListView();
  list.UpdateViews();
  TMechanism& stays = *list.Current;
  const std::vector<shared::TComplex> before = JointsOf(stays);
  const double total = stays.Error.Total;
  const std::vector<std::string> rows = RowTexts(*Form->MechListView);
  MarkSaved();
  DragInView(*Form, before[size_t(refused.Joint - 1)], refused.To);
  EXPECT_EQ(status.text(), "Not taken: the linkage would no longer run its whole path");
  const std::vector<shared::TComplex> still = JointsOf(stays);
  for (size_t i = 0; i < still.size(); ++i) {
    EXPECT_EQ(still[i].X, before[i].X) << i;
    EXPECT_EQ(still[i].Y, before[i].Y) << i;
  }
  EXPECT_EQ(stays.Error.Total, total);
  EXPECT_EQ(RowTexts(*Form->MechListView), rows);
  EXPECT_FALSE(Form->IsProjectModified());

  list.Select(taken.Rank);
  list.SyncListView();
  list.UpdateViews();
  TMechanism& moves = *list.Current;
  const shared::TComplex dropped = DragInView(*Form, *moves.Joints.Items(taken.Joint), taken.To);
  EXPECT_EQ(status.text(), "");
  EXPECT_NEAR(moves.Joints.Items(taken.Joint)->X, dropped.X, 1e-9);
  EXPECT_NEAR(moves.Joints.Items(taken.Joint)->Y, dropped.Y, 1e-9);
  // The row shows the total of the linkage dropped, rated as a fresh copy rates it, in its place.
  std::unique_ptr<TMechanism> fresh = moves.Clone();
  ASSERT_EQ(fresh->Rate(&Form->Curve(), nullptr, nullptr), TRating::Rated);
  EXPECT_EQ(moves.Error.Total, fresh->Error.Total);
  const int32_t rank = list.IndexOf(&moves);
  EXPECT_EQ(Form->MechListView->topLevelItem(rank - 1)->text(2).toStdString(),
            shared::Convert().FormatSI(0, fresh->Error.Total));
  EXPECT_EQ(Form->MechListView->currentItem(), Form->MechListView->topLevelItem(rank - 1));
  for (int32_t i = 2; i <= list.Count(); ++i) EXPECT_LE(list.Items(i - 1)->Error.Total, list.Items(i)->Error.Total);
  // The grid shows the joint where it went, and the drag is to be saved.
  EXPECT_EQ(Form->StringGrid1->item(taken.Joint, 1)->text().toStdString(),
            shared::Convert().FormatSI(shared::cuLength, moves.Joints.Items(taken.Joint)->X));
  EXPECT_TRUE(Form->IsProjectModified());
}

// What a drag chose is the project's: saved, read back, optimised and the optimisation undone,
// the dragged joint is where it was dropped.
TEST_F(MainFormSolutionsTest, ADragIsKeptThroughASaveAReadAndAnOptimisationUndone) {
  struct TCase {
    uint8_t Type;
    int32_t Joint;
  };
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("vesk-drag-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "dragged.vesk").string();
  for (const TCase c : {TCase{kWatt2Type, 1}, TCase{kEightbarType, 8}}) {
    SCOPED_TRACE(testing::Message() << "type " << int(c.Type) << ", joint " << c.Joint);
    Form->NewProject();
    Form->MechButtons[c.Type]->trigger();
    Generate(600);
    TMechanismList& list = Form->Solutions();
    list.Select(1);
    list.UpdateViews();
    const int32_t id = list.Current->ID;
    int index = 0;
    TSolutionView& view = *Form->SolutionView();
    ASSERT_EQ(view.PickAt(*list.Current->Joints.Items(c.Joint), 1e-9, index), kPickJoint);
    ASSERT_EQ(index, c.Joint);
    const shared::TComplex& joint = *list.Current->Joints.Items(c.Joint);
    const shared::TComplex dropped(joint.X + 0.02, joint.Y - 0.01);
    view.DragJoint(dropped);
    ASSERT_NEAR(joint.X, dropped.X, 1e-12);

    shared::TProjectInfo info;
    TWindowProjectStore store(*Form, info);
    store.Write(path);
    Form->NewProject();
    store.Read(path);
    TMechanism* read = nullptr;
    for (int32_t i = 1; i <= list.Count(); ++i)
      if (list.Items(i)->ID == id) read = list.Items(i);
    ASSERT_NE(read, nullptr);
    list.Select(list.IndexOf(read));
    Form->UpdateControls();
    Form->SynthesisOptimize->trigger();
    ASSERT_EQ(Form->Work, TMainForm::TWork::Optimization);
    int sweeps = 1;
    while (!Form->OptimizeIdle() && sweeps < 5000) ++sweeps;
    ASSERT_TRUE(read->Optimized);
    Form->SynthesisUndoOptimizeItem->trigger();
    EXPECT_FALSE(read->Optimized);
    EXPECT_TRUE(read->Error.Valid);
    EXPECT_NEAR(read->Joints.Items(c.Joint)->X, dropped.X, 1e-9);
    EXPECT_NEAR(read->Joints.Items(c.Joint)->Y, dropped.Y, 1e-9);
  }
  std::filesystem::remove_all(dir);
}

// Joints, rotations, path, error terms, total and validity of a solution, to the bit.
std::vector<double> ShownValues(const TMechanism& m) {
  std::vector<double> v;
  for (const shared::TComplex& j : JointsOf(m)) v.insert(v.end(), {j.X, j.Y});
  for (int32_t i = 1; i <= m.Links.Count(); ++i)
    for (const double r : m.Links.GetLink(i)->Rot) v.push_back(r);
  for (int32_t i = 1; i <= m.PathPoints.Count(); ++i) {
    const TPathPoint& p = *m.PathPoints.GetPathPoint(i);
    v.insert(v.end(), {p.X, p.Y, p.TransAngle, p.Deviation});
  }
  const TErrorObject& e = m.Error;
  v.insert(v.end(), {e.Area, e.Link, e.MinDistGround, e.MinDistCoupler, e.OutRot, e.InRot, e.Dyad, e.PP, e.Total,
                     double(e.Valid)});
  return v;
}

// A list written by a build that closed the Stephenson 1's dyads in the former order (for the
// test curve): rank 1 synthesises again at its rotations only to round-off, rank 2 not at all.
// Optimize says so for rank 2 and changes nothing; Undo Optimize gives rank 1 back as it was read.
TEST_F(MainFormSolutionsTest, UndoOptimizeRestoresAListOfAnEarlierBuildAndAStartThatCannotBeBuiltIsNotOptimised) {
  DrawCurve();
  TMechanismList& list = Form->Solutions();
  {
    std::ifstream in(std::filesystem::path(SUITE_FIXTURES).parent_path().parent_path() /
                         "engine/fixtures/stephenson1-former-closing-order.txt",
                     std::ios::binary);
    ASSERT_TRUE(in.good());
    list.Read(in);
  }
  ASSERT_EQ(list.Count(), 2);
  // The curve the list was generated from.
  Form->Curve().ID = list.Items(1)->PrecisionPoints.ID;
  const std::vector<std::string> rows = RowTexts(*Form->MechListView);

  list.Select(2);
  list.SyncListView();
  Form->UpdateControls();
  TMechanism& lost = *list.Current;
  const std::vector<double> read2 = ShownValues(lost);
  Form->SynthesisOptimize->trigger();
  EXPECT_NE(Form->Work, TMainForm::TWork::Optimization);
  EXPECT_FALSE(Form->OptimizeButton->isChecked());
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_EQ(Errors[0], "The Mechanism cannot be synthesised again at its own rotations: it is not optimized.");
  EXPECT_FALSE(lost.Optimized);
  EXPECT_EQ(ShownValues(lost), read2);
  EXPECT_EQ(RowTexts(*Form->MechListView), rows);

  list.Select(1);
  list.SyncListView();
  Form->UpdateControls();
  TMechanism& kept = *list.Current;
  const std::vector<double> read1 = ShownValues(kept);
  Form->SynthesisOptimize->trigger();
  ASSERT_EQ(Form->Work, TMainForm::TWork::Optimization);
  int sweeps = 1;
  while (!Form->OptimizeIdle() && sweeps < 5000) ++sweeps;
  ASSERT_TRUE(kept.Optimized);
  ASSERT_NE(ShownValues(kept), read1);
  Form->SynthesisUndoOptimizeItem->trigger();
  EXPECT_FALSE(kept.Optimized);
  EXPECT_EQ(ShownValues(kept), read1);
  EXPECT_EQ(list.IndexOf(&kept), 1);
  EXPECT_EQ(RowTexts(*Form->MechListView), rows);
  EXPECT_EQ(Errors.size(), 1u);

  // Synthesised again but no longer passing today's path checks (here a transmission angle no
  // linkage reaches): the message says so, and nothing changes.
  const double minAngle = SynthOptions.MinTransAngle;
  SynthOptions.MinTransAngle = 1.5;
  Form->SynthesisOptimize->trigger();
  SynthOptions.MinTransAngle = minAngle;
  EXPECT_NE(Form->Work, TMainForm::TWork::Optimization);
  ASSERT_EQ(Errors.size(), 2u);
  EXPECT_EQ(Errors[1], "The Mechanism no longer runs its path within the synthesis options: it is not optimized.");
  EXPECT_FALSE(kept.Optimized);
  EXPECT_EQ(ShownValues(kept), read1);
  EXPECT_EQ(RowTexts(*Form->MechListView), rows);
}

TEST_F(MainFormSolutionsTest, OpeningAProjectFitsTheViewsToIt) {
  DrawCurve();
  Form->resize(900, 700);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
  Form->MechPageControl->setCurrentIndex(0);
  QApplication::processEvents();
  shared::TSynthCanvas2D& mech = Form->Canvas(0);
  shared::TSynthCanvas2D& coupler = Form->Canvas(1);
  ASSERT_DOUBLE_EQ(mech.WorldSize(), mech.InitialWorldSize());
  Form->RefreshAll();
  // The box runs from the first curve point over the curve: its middle is the view's middle, and the
  // view now shows less than the 3 m it started with.
  double minX = kCurve[0][0], maxX = minX, minY = kCurve[0][1], maxY = minY;
  for (const auto& p : kCurve) {
    minX = std::min(minX, p[0]);
    maxX = std::max(maxX, p[0]);
    minY = std::min(minY, p[1]);
    maxY = std::max(maxY, p[1]);
  }
  EXPECT_NEAR(mech.Origin().X, (minX + maxX) / 2, 1e-12);
  EXPECT_NEAR(mech.Origin().Y, (minY + maxY) / 2, 1e-12);
  EXPECT_LT(mech.WorldSize(), 1.5);
  // The output-link view, on a hidden tab, fits its drawing when the tab is shown.
  EXPECT_DOUBLE_EQ(coupler.WorldSize(), coupler.InitialWorldSize());
  shared::TComplex min, max;
  Drawing().UpdateExtent(min, max);
  Form->MechPageControl->setCurrentIndex(1);
  QApplication::processEvents();
  EXPECT_NEAR(coupler.Origin().X, (min.X + max.X) / 2, 1e-12);
  EXPECT_NEAR(coupler.Origin().Y, (min.Y + max.Y) / 2, 1e-12);
  EXPECT_LT(coupler.WorldSize(), coupler.InitialWorldSize());
}


TEST_F(MainFormSolutionsTest, TheGraphTabsAndTheTimeButtonRefillTheGraph) {
  Form->ReflectOptions();
  Generate(600);
  Form->MechListView->setCurrentItem(Form->MechListView->topLevelItem(0));
  ASSERT_NE(Form->Solutions().Current, nullptr);
  QTabWidget& tabs = *Form->GraphTabControl;
  ASSERT_EQ(tabs.count(), TMechanismList::kGraphKinds);
  for (int kind = 0; kind < tabs.count(); ++kind) EXPECT_EQ(tabs.tabText(kind), kGraphCaptions[size_t(kind)]);
  TGraphPaintBox& graph = Form->GraphBox().Graph();
  EXPECT_EQ(graph.YTitle, "Error");
  EXPECT_EQ(graph.XTitle, "Time");

  // A tab chooses the quantity; the one graph box goes with it.
  tabs.setCurrentIndex(7);
  EXPECT_EQ(Form->Solutions().GraphKind, 7);
  EXPECT_EQ(graph.YTitle, "Input Link Rotation");
  EXPECT_GT(graph.Count, 0);
  EXPECT_EQ(Form->GraphPaintBox->parentWidget(), tabs.widget(7));
  EXPECT_FALSE(Form->GraphPaintBox->isHidden());

  // The time button sets the x axis and refills the graph of the tab shown.
  ASSERT_TRUE(Form->XIsTimeToolButton->isChecked());
  Form->XIsTimeToolButton->trigger();
  EXPECT_FALSE(AppOptions.XIsTime);
  EXPECT_EQ(graph.XTitle, "Input Rotation");
  EXPECT_EQ(graph.YTitle, "Input Link Rotation");
  Form->XIsTimeToolButton->trigger();
  EXPECT_EQ(graph.XTitle, "Time");
}


TEST_F(MainFormSolutionsTest, SelectingASolutionFitsTheViewOnlyWithZoomAllOnSelect) {
  Generate(600);
  Form->resize(900, 700);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
  QApplication::processEvents();
  shared::TSynthCanvas2D& mech = Form->Canvas(0);
  // Every joint of the current solution lies inside the visible part of the view.
  const auto jointsInView = [&] {
    const QRect visible = Form->PaintBox1->visibleRegion().boundingRect();
    const TMechanism& m = *Form->Solutions().Current;
    for (int32_t i = 1; i <= m.Joints.Count(); ++i) {
      const shared::TPoint p = mech.WorldToScreen(*m.Joints.Items(i));
      if (!visible.contains(p.X, p.Y)) return false;
    }
    return true;
  };

  AppOptions.ZoomAllOnSelect = false;
  mech.Zoom(0.01);  // far out: nothing would show
  const double far = mech.WorldSize();
  Form->MechListView->setCurrentItem(Form->MechListView->topLevelItem(1));
  ASSERT_EQ(Form->Solutions().Current, Form->Solutions().Items(2));
  EXPECT_DOUBLE_EQ(mech.WorldSize(), far);

  AppOptions.ZoomAllOnSelect = true;
  Form->MechListView->setCurrentItem(Form->MechListView->topLevelItem(0));
  ASSERT_EQ(Form->Solutions().Current, Form->Solutions().Items(1));
  EXPECT_LT(mech.WorldSize(), far);
  EXPECT_TRUE(jointsInView());
}

// ---- Idle work under dialogs and file work

class IdleWorkTest : public MainFormSolutionsTest {
 protected:
  // How far the running work has come: candidates made, or sweeps of the optimisation.
  int WorkDone() const {
    return (Form->Work == TMainForm::TWork::Generation) ? Form->Progress().Count : Form->OptimizeSweeps();
  }
  // What a dialog's own event loop does while it is open: the window's events run for a while.
  // Records whether the running work moved meanwhile.
  void WhileOpen() {
    const int before = WorkDone();
    QTest::qWait(60);
    Moved.push_back(WorkDone() != before);
  }
  void StartGenerating() {
    DrawCurve();
    SetBudget(100000000);
    Form->SynthesisGenerate->trigger();
    for (int turns = 0; Form->Solutions().Count() < 3 && turns < 20000; ++turns) Form->GenerateIdle();
    ASSERT_GE(Form->Solutions().Count(), 3);
    Form->MechListView->setCurrentItem(Form->MechListView->topLevelItem(0));
    ASSERT_NE(Form->Solutions().Current, nullptr);
    ASSERT_EQ(Form->Work, TMainForm::TWork::Generation);
  }
  void StartOptimizing() {
    Generate(600);
    Form->MechListView->setCurrentItem(Form->MechListView->topLevelItem(0));
    Form->SynthesisOptimize->trigger();
    ASSERT_EQ(Form->Work, TMainForm::TWork::Optimization);
    Form->OptimizeIdle();
    ASSERT_EQ(Form->Work, TMainForm::TWork::Optimization);
  }
  std::vector<bool> Moved;
  QTemporaryDir Dir;
};

// Every command that opens a dialog while generation or optimisation runs: while the dialog's
// event loop runs the work stands, once it has closed the work goes on, and an export writes
// the solution that is current after its dialogs.
TEST_F(IdleWorkTest, WorkStandsWhileEveryDialogIsOpenAndGoesOnAfterwards) {
  struct TCase {
    const char* Name;
    std::function<void()> Command;
  };
  const TCase commands[] = {
      {"Export to SAM",
       [this] {
         Dialogs->PickedFile = Dir.filePath("deck.dat");
         Form->FileExporttoSAMItem->trigger();
       }},
      {"Export to SAM over a file",
       [this] {
         std::ofstream(Dir.filePath("old.dat").toStdString()) << "old";
         Dialogs->PickedFile = Dir.filePath("old.dat");
         Dialogs->Answers = {TAnswer::Yes};
         Form->FileExporttoSAMItem->trigger();
       }},
      {"Export to SAM that fails", [this] {
         Dialogs->PickedFile = Dir.filePath("missing/deck.dat");
         Form->FileExporttoSAMItem->trigger();
       }},
      {"Project Info", [this] { Form->FileProjectInfoItem->trigger(); }},
      {"About", [this] { Form->HelpAboutItem->trigger(); }},
      {"System of Units", [this] { Form->ViewUnitsItem->trigger(); }},
      {"Curve point properties",
       [this] {
         Form->Curve().Select(1);
         Form->MechProperties();
       }},
      {"Output link origin", [this] { Form->OriginCouplerButton->trigger(); }},
      {"Help without a help file", [this] { Form->HelpContentsItem->trigger(); }},
      {"Exit, then Cancel", [this] {
         Dialogs->Answers = {TAnswer::Cancel};
         EXPECT_FALSE(Form->close());
       }},
  };
  for (const bool optimizing : {false, true}) {
    for (const TCase& command : commands) {
      SCOPED_TRACE(std::string(command.Name) + (optimizing ? " while optimising" : " while generating"));
      TearDown();
      SetUp();
      for (const auto& entry : std::filesystem::directory_iterator(Dir.path().toStdString()))
        std::filesystem::remove_all(entry.path());
      shared::TProjectInfoDialog info;
      Form->SetProjectInfoDialog(&info);
      ProgramInfo().HelpPath = Dir.filePath("none.hlp").toStdString();
      if (optimizing)
        StartOptimizing();
      else
        StartGenerating();
      if (HasFatalFailure()) return;
      Moved.clear();
      Dialogs->WhileOpen = [this] { WhileOpen(); };
      Form->ShowModal = [this](QDialog&) {
        WhileOpen();
        return int(QDialog::Rejected);
      };
      Form->InfoBox = [this](const QString&) { WhileOpen(); };
      shared::SetExceptionHandler([this](const QString& text) {
        Errors.push_back(text);
        WhileOpen();
      });
      command.Command();
      ASSERT_FALSE(Moved.empty()) << "no dialog opened";
      for (bool moved : Moved) EXPECT_FALSE(moved);

      // The deck is the whole current solution, as written once the dialogs had closed.
      const std::string deck = Dialogs->PickedFile.toStdString();
      if (!deck.empty() && std::filesystem::exists(deck)) {
        const std::string again = Dir.filePath("again.dat").toStdString();
        ExportSamDeck(*Form->Solutions().Current, again);
        EXPECT_EQ(shared::test::ReadBytes(deck), shared::test::ReadBytes(again));
        const std::string text = shared::test::ReadBytes(deck);
        EXPECT_NE(text.find("\nNODE "), std::string::npos);
        EXPECT_NE(text.find("ENDBLOC"), std::string::npos);
      }

      // The work goes on as its button says (an optimisation may converge meanwhile).
      const int stopped = WorkDone();
      QTest::qWait(60);
      if (optimizing)
        EXPECT_TRUE(WorkDone() > stopped || Form->Work != TMainForm::TWork::Optimization);
      else
        EXPECT_GT(WorkDone(), stopped);
      Form->SetProjectInfoDialog(nullptr);
    }
  }
}

// Exit during a generation, Yes to "Save ?": the file holds exactly the list that was on screen,
// although the file progress lets the window's events run between the records.
TEST_F(IdleWorkTest, SaveOnExitWritesTheListThatWasShown) {
  shared::TProjectInfo info;
  auto store = std::make_unique<TWindowProjectStore>(*Form, info);
  TWindowProjectStore* project = store.get();
  Form->SetProjectStore(std::move(store));
  StartGenerating();
  for (int turns = 0; Form->Solutions().Count() < 12 && turns < 20000; ++turns) Form->GenerateIdle();
  ASSERT_GE(Form->Solutions().Count(), 12);
  QTest::qWait(20);
  std::vector<std::pair<int32_t, double>> shown;
  // Turns of many candidates, as the program makes them.
  Form->GenerateTurnMs = 15;
  Dialogs->WhileOpen = [&] {
    if (shown.empty()) {
      for (int32_t i = 1; i <= Form->Solutions().Count(); ++i)
        shown.emplace_back(Form->Solutions().Items(i)->ID, Form->Solutions().Items(i)->Error.Total);
    }
    WhileOpen();
  };
  const std::string path = Dir.filePath("exit.vesk").toStdString();
  Dialogs->PickedFile = QString::fromStdString(path);
  Dialogs->Answers = {TAnswer::Yes};
  EXPECT_TRUE(Form->close());
  ASSERT_EQ(Dialogs->Questions, std::vector<QString>{"Save ?"});
  EXPECT_NE(Form->Work, TMainForm::TWork::Generation);
  ASSERT_TRUE(Errors.empty()) << Errors.front().toStdString();

  Form->Solutions().Clear();
  ASSERT_NO_THROW(project->Read(path));
  ASSERT_EQ(Form->Solutions().Count(), int32_t(shown.size()));
  for (int32_t i = 1; i <= Form->Solutions().Count(); ++i) {
    EXPECT_EQ(Form->Solutions().Items(i)->ID, shown[size_t(i - 1)].first) << i;
    EXPECT_NEAR(Form->Solutions().Items(i)->Error.Total, shown[size_t(i - 1)].second,
                1e-12 * shown[size_t(i - 1)].second)
        << i;
  }
}

// A save that fails keeps the project modified: Exit asks "Save ?" again.
TEST_F(IdleWorkTest, AFailedSaveKeepsTheProjectModified) {
  struct TCase {
    const char* Name;
    std::function<void(const std::string& file)> Break;
  };
  const TCase cases[] = {
      {"folder removed", [](const std::string& file) {
         std::filesystem::remove_all(std::filesystem::path(file).parent_path());
       }},
      {"a folder in the file's place", [](const std::string& file) {
         std::filesystem::remove(file);
         std::filesystem::create_directory(file);
       }},
      {"disk full", [](const std::string&) { shared::FailNextReplacement(shared::TReplaceStage::Write, ENOSPC); }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TearDown();
    SetUp();
    Errors.clear();
    shared::TProjectInfo info;
    Form->SetProjectStore(std::make_unique<TWindowProjectStore>(*Form, info));
    Generate(300);
    const std::string file = Dir.filePath(QStringLiteral("%1/p.vesk").arg(c.Name)).toStdString();
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    Dialogs->PickedFile = QString::fromStdString(file);
    ASSERT_TRUE(Form->FileSaveAs());
    ASSERT_FALSE(Form->IsProjectModified());

    // Changes in the list and the curve, which the record writers mark as saved as they write.
    Form->MechListView->setCurrentItem(Form->MechListView->topLevelItem(0));
    Dialogs->Answers = {TAnswer::Yes};
    Form->ListPopUpDelete->trigger();
    Form->Curve().Add(std::make_unique<TPrePoint>(0.4, 0.0));
    Form->Curve().Recalc();
    Form->Modified = false;
    ASSERT_TRUE(Form->IsProjectModified());

    c.Break(file);
    Form->FileSaveItem->trigger();
    ASSERT_EQ(Errors.size(), 1u) << Errors.back().toStdString();
    EXPECT_EQ(Errors[0].indexOf("Cannot write"), 0) << Errors[0].toStdString();
    EXPECT_TRUE(Form->IsProjectModified());
    EXPECT_TRUE(Form->Solutions().IsModified());
    EXPECT_TRUE(Form->Curve().IsModified());

    Dialogs->Questions.clear();
    Dialogs->Answers = {TAnswer::No};
    EXPECT_TRUE(Form->close());
    EXPECT_EQ(Dialogs->Questions, std::vector<QString>{"Save ?"});
  }
}

// The end of a run that kept no candidate says so; one that kept some only beeps.
TEST_F(MainFormSolutionsTest, AGenerationThatFindsNothingSaysSo) {
  DrawCurve();
  SetBudget(30);
  SynthOptions.MaxLinkLengthOn = true;
  SynthOptions.MaxLinkLength = 1e-6;
  Form->SynthesisGenerate->trigger();
  RunGeneration();
  EXPECT_EQ(Form->Solutions().Count(), 0);
  EXPECT_EQ(Beeps, 1);
  ASSERT_EQ(Infos.size(), 1u);
  EXPECT_EQ(Infos[0], "The search found no mechanism that meets the curve, the pivot areas and the synthesis options.");

  SynthOptions.MaxLinkLengthOn = false;
  SetBudget(300);
  Form->SynthesisGenerate->trigger();
  RunGeneration();
  EXPECT_GT(Form->Solutions().Count(), 0);
  EXPECT_EQ(Beeps, 2);
  EXPECT_EQ(Infos.size(), 1u);
}

}  // namespace
}  // namespace vesk
