// The animation view's curve fit: the loop between the button's press and release, the passes
// it runs while messages are pumped, the commands it refuses meanwhile, and when it does not run.
#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <string>
#include <vector>

#include "animator/app/AnimationFrm.h"
#include "animator/engine/AniMechanism.h"
#include "animator/engine/MechOptimize.h"
#include "animator/engine/StdOut.h"
#include "shared/Convert.h"
#include "shared/ProgramInfo.h"
#include "shared/Sound.h"
#include "shared/TabLine.h"
#include "tests/animator/app/AppTestSupport.h"
#include "tests/animator/app/BusyTestSupport.h"
#include "tests/support/DialogSupport.h"

namespace quillon {
namespace {

class TLog : public TMessageSink {
 public:
  std::vector<std::string> Lines;
  void AppendLine(const std::string& line, TMessageKind) override { Lines.push_back(line); }
  void ClearLines() override { Lines.clear(); }
};

// The joint records of the mechanism's document: the design positions the fit moves. (The
// curve's derived values may differ in the last digit once read back from text.)
std::vector<std::string> Joints(TAniMechanism& mechanism) {
  shared::TTabLines lines;
  mechanism.SaveToTabLines(lines);
  const auto first = std::find(lines.Lines.begin(), lines.Lines.end(), "[Joints>");
  const auto last = std::find(first, lines.Lines.end(), "<Joints]");
  return {first, last};
}

class AnimationOptimizeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shared::CreateProgramInfo();
    shared::CreateTabLines();
    shared::CreateConvert();
    CreateStdOut();
    StdOut().SetSink(&Log);
    shared::SetSound(&Sound);
    View = std::make_unique<TAnimationFrm>(Clipboard);
  }

  void TearDown() override {
    View.reset();
    FittingMode = kFitIntegral;
    shared::SetSound(nullptr);
    StdOut().SetSink(nullptr);
    FreeStdOut();
    shared::FreeConvert();
    shared::FreeTabLines();
    shared::FreeProgramInfo();
  }

  // The default four-bar, a curve through its tracer's path up to step 60 of 90, and the
  // coupler point E moved 14 mm off it.
  TAniMechanism& DisplacedFourBar() {
    TAniMechanism& m = View->Mechanism();
    const TAniJoint& tracer = *m.Tracer;
    for (int32_t k = 0; k <= 60; k += 6)
      m.Curve.Point(m.Curve.NewPoint()).SetXY(tracer.Positions[k].X, tracer.Positions[k].Y);
    m.Curve.Rebuild();
    m.Joint(m.FindJoint('E')).Positions[0].X += 0.01;
    m.Joint(m.FindJoint('E')).Positions[0].Y -= 0.01;
    View->MechanismChanged();
    return m;
  }

  bool Logged(const std::string& line) const {
    return std::find(Log.Lines.begin(), Log.Lines.end(), line) != Log.Lines.end();
  }

  TFakeClipboard Clipboard;
  TLog Log;
  test_support::TCountingSound Sound;
  std::unique_ptr<TAnimationFrm> View;
};

TEST_F(AnimationOptimizeTest, ReleasedButtonEndsTheFitAndDeleteAndAddToolsWaitForIt) {
  TAniMechanism& m = DisplacedFourBar();
  const int32_t joints = m.JointCount();
  bool busy = false;
  int changes = 0;
  View->OnChange = [&] { ++changes; };
  // Runs inside the fit's loop, when it first pumps messages.
  QTimer::singleShot(0, View.get(), [&] {
    busy = View->RunningLoop() != TLoop::None;
    m.Joint(m.FindJoint('E')).Selected = 1;
    View->DeleteButton->click();
    View->AddDyadButton->click();
    View->OptimizeButton->click();
  });
  View->OptimizeButton->click();
  EXPECT_TRUE(busy);
  EXPECT_EQ(m.JointCount(), joints) << "the joint was not deleted";
  EXPECT_EQ(std::count(Log.Lines.begin(), Log.Lines.end(), "[Warning] " + View->BusyText), 2);
  EXPECT_FALSE(View->AddDyadButton->isChecked());
  EXPECT_EQ(View->Tool(), TTool::Select);
  EXPECT_EQ(View->RunningLoop(), TLoop::None);
  EXPECT_FALSE(View->OptimizeButton->isChecked());
  EXPECT_EQ(m.Optimized, 1);
  EXPECT_EQ(Sound.Beeps, 1);
  EXPECT_GE(changes, 1) << "the accepted result reaches the listeners";
  EXPECT_TRUE(View->IsModified());

  // Once the loop is over, Delete works again.
  View->DeleteButton->click();
  EXPECT_EQ(m.JointCount(), joints - 1);
}

// While the fit runs only its Stop acts: Record, the pop-up's Lock, Set As Output, Bring to Front
// and Send to Back, and a joint drag in the drawing are refused with the busy notice and change
// nothing; the Stop button then ends the fit, which keeps what it found.
TEST_F(AnimationOptimizeTest, WhileTheFitRunsOnlyItsStopActs) {
  View->resize(500, 400);
  View->show();
  TAniMechanism& m = DisplacedFourBar();
  View->ZoomAllButtonClick();
  QCoreApplication::processEvents();
  const TAniJoint* const tracer = m.Tracer;
  const std::string secondLink = m.Link(2).Name;
  bool stillRunning = false;
  QTimer::singleShot(0, View.get(), [&] {
    TryWhatMustWait(*View, m, 'B', 2);
    stillRunning = View->OptimizeButton->isChecked();
    View->StopButton->click();
  });
  View->OptimizeButton->click();
  EXPECT_TRUE(stillRunning) << "a refused command stopped the fit";
  EXPECT_EQ(m.Joint(m.FindJoint('B')).Locked, 0);
  EXPECT_EQ(m.Tracer, tracer);
  EXPECT_EQ(m.Link(2).Name, secondLink);
  EXPECT_EQ(m.NextSelectedJoint(0), -1) << "the press in the drawing picked nothing";
  EXPECT_EQ(std::count(Log.Lines.begin(), Log.Lines.end(), "[Warning] " + View->BusyText), 6);
  EXPECT_EQ(View->RunningLoop(), TLoop::None);
  EXPECT_FALSE(View->OptimizeButton->isChecked());
  EXPECT_EQ(m.Optimized, 1);
  EXPECT_EQ(Sound.Beeps, 1);
}

// An add tool chosen before the fit previews nothing while it runs: the joint it places stays
// where the first click put it.
TEST_F(AnimationOptimizeTest, AnAddToolPreviewsNothingWhileTheFitRuns) {
  View->resize(500, 400);
  View->show();
  TAniMechanism& m = DisplacedFourBar();
  View->ZoomAllButtonClick();
  QCoreApplication::processEvents();
  View->AddInputButton->click();
  QTest::mouseClick(View->PaintBox1, Qt::LeftButton, {}, QPoint(40, 40));
  ASSERT_EQ(m.AddClicks, 1);
  const TPositionRecord placed = m.Joint(m.JointCount() - 1).Positions[0];
  TPositionRecord now;
  QTimer::singleShot(0, View.get(), [&] {
    // A move with no button held, as the pointer crosses the drawing.
    const QPoint to(200, 150);
    QMouseEvent move(QEvent::MouseMove, to, View->PaintBox1->mapToGlobal(to), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(View->PaintBox1, &move);
    // Seen at once: the fit's end sets the joints it moves back to the best design found.
    now = m.Joint(m.JointCount() - 1).Positions[0];
    View->StopButton->click();
  });
  View->OptimizeButton->click();
  EXPECT_EQ(now.X, placed.X);
  EXPECT_EQ(now.Y, placed.Y);
  EXPECT_EQ(m.AddClicks, 1);
}

TEST_F(AnimationOptimizeTest, FitRunsToTheEndWithTheProgramsModeAndUndoes) {
  TAniMechanism& m = DisplacedFourBar();
  FittingMode = kFitMaxDeviation;
  const std::vector<std::string> before = Joints(m);
  const double maxDeviation = m.MaxDeviation;
  View->OptimizeButton->click();
  EXPECT_FALSE(View->OptimizeButton->isChecked());
  EXPECT_EQ(View->RunningLoop(), TLoop::None);
  EXPECT_LT(m.MaxDeviation, 0.5 * maxDeviation);
  // The view shows the solution of the accepted design.
  TMechOptimize judge;
  judge.Mechanism = &m;
  judge.Mode = kFitMaxDeviation;
  const double shown = m.MaxDeviation;
  EXPECT_EQ(judge.Objective(), shown);
  EXPECT_EQ(Sound.Beeps, 1);
  EXPECT_EQ(m.Optimized, 1);

  // Undo takes back the fit and its mark, which the report heading shows.
  View->Undo();
  EXPECT_EQ(Joints(View->Mechanism()), before);
  EXPECT_EQ(View->Mechanism().Optimized, 0);
}

// A curve point typed as 1e308 mm: the curve cannot be measured, so nothing is fitted, marked or
// sounded, and the log says why.
TEST_F(AnimationOptimizeTest, FitOfACurveTooLargeToMeasureSaysWhy) {
  TAniMechanism& m = DisplacedFourBar();
  m.Curve.Point(2).SetXY(1e305, 0);
  m.Curve.Rebuild();
  View->MechanismChanged();
  const std::vector<std::string> before = Joints(m);
  Log.Lines.clear();
  View->OptimizeButton->click();
  EXPECT_FALSE(View->OptimizeButton->isChecked());
  EXPECT_EQ(View->RunningLoop(), TLoop::None);
  EXPECT_EQ(Log.Lines, std::vector<std::string>{
                           "[Warning] Optimize cannot fit the linkage: the target curve is too large to measure."});
  EXPECT_EQ(Joints(m), before);
  EXPECT_EQ(m.Optimized, 0);
  EXPECT_EQ(Sound.Beeps, 0);
}

// D kept out of every area that applies to it: the run ends with the design as it was and the log
// says why.
TEST_F(AnimationOptimizeTest, FitWithEveryDesignInfeasibleSaysWhy) {
  TAniMechanism& m = DisplacedFourBar();
  m.Areas.AddArea({-2, -2}, {2, 2});
  m.Areas.Item(0).SetLetters("ABCE");
  m.Areas.AddArea({5, 5}, {6, 6});
  m.Areas.Item(1).SetLetters("D");
  const std::vector<std::string> before = Joints(m);
  View->OptimizeButton->click();
  EXPECT_FALSE(View->OptimizeButton->isChecked());
  EXPECT_TRUE(Logged("[Warning] Optimize found no feasible design: joint D lies outside every area that applies "
                     "to it. The mechanism is unchanged."));
  EXPECT_EQ(Joints(m), before);
  EXPECT_EQ(m.Optimized, 0);
}

TEST_F(AnimationOptimizeTest, NoFitWithoutACurveOrWhileAnotherLoopRuns) {
  TAniMechanism& m = View->Mechanism();
  // No curve: the button goes up at once and the log says why; degenerate areas are dropped all
  // the same.
  m.Areas.AddArea({0.1, 0.1}, {0.1, 0.3});
  View->OptimizeButton->click();
  EXPECT_FALSE(View->OptimizeButton->isChecked());
  EXPECT_EQ(m.Areas.Count(), 0);
  EXPECT_EQ(m.Optimized, 0);
  EXPECT_EQ(Sound.Beeps, 0);
  EXPECT_TRUE(Logged("[Warning] Optimize cannot fit the linkage: the mechanism has no target curve."));

  DisplacedFourBar();
  const std::vector<std::string> before = Joints(m);
  ASSERT_TRUE(View->BeginLoop());
  View->OptimizeButton->click();
  EXPECT_FALSE(View->OptimizeButton->isChecked());
  EXPECT_NE(View->RunningLoop(), TLoop::None) << "the other loop still runs";
  EXPECT_EQ(Joints(m), before);
  EXPECT_EQ(m.Optimized, 0);
  View->EndLoop();

  // Stop puts the button up, as does a call from elsewhere that flips it.
  View->OptimizeButtonClick(nullptr);
  EXPECT_EQ(m.Optimized, 1);
  EXPECT_FALSE(View->OptimizeButton->isChecked());
}

}  // namespace
}  // namespace quillon
