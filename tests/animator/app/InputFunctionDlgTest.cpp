// Tests of the input-function dialog: opening on a target, the section list and its buttons,
// the refused inputs and the status bar, write-back on OK only, and the graph's values.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cmath>
#include <numbers>

#include "animator/app/InputFunctionDlg.h"
#include "animator/app/SimpleGraphFrm.h"
#include "animator/engine/InputFunction.h"
#include "shared/qt/DialogStatus.h"
#include "tests/animator/app/DialogTestSupport.h"

namespace quillon {
namespace {

constexpr double kPi = std::numbers::pi;

class InputFunctionDlgTest : public TDialogTest {
 protected:
  void SetUp() override {
    TDialogTest::SetUp();
    Target.Letter = "A";
    Target.SetDefault();
    Dialog = std::make_unique<TInputFunctionDlg>();
  }
  void TearDown() override {
    Dialog.reset();
    TDialogTest::TearDown();
  }

  void Open() {
    Dialog->SetTarget(&Target);
    Dialog->show();
  }

  void Type(int law, const char* time, const char* displacement) {
    Dialog->FunTypeBox->setCurrentIndex(law);
    Dialog->TimeEdit->setText(QString::fromUtf8(time));
    Dialog->DispEdit->setText(QString::fromUtf8(displacement));
  }

  QString Cell(int row, int column) const {
    QTreeWidgetItem* item = Dialog->FunListView->topLevelItem(row);
    return item ? item->text(column) : QStringLiteral("<none>");
  }

  TInputFunction Target;
  std::unique_ptr<TInputFunctionDlg> Dialog;
};

TEST_F(InputFunctionDlgTest, OpensOnTheTargetsCopyWithItsRowsLabelsAndAStraightGraph) {
  Open();
  EXPECT_EQ(Dialog->windowTitle(), QStringLiteral("Input Function A"));
  const QStringList laws = {"Constant Velocity", "Constant Acceleration", "3-4-5 Polynomial ", "Sinusoidal"};
  ASSERT_EQ(Dialog->FunTypeBox->count(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Dialog->FunTypeBox->itemText(i), laws[i]);
  ASSERT_EQ(Dialog->FunListView->topLevelItemCount(), 1);
  EXPECT_EQ(Cell(0, 0), QStringLiteral("Constant Velocity"));
  EXPECT_EQ(Cell(0, 1), QStringLiteral("1.000"));
  EXPECT_EQ(Cell(0, 2), QStringLiteral("360.000"));
  EXPECT_EQ(Dialog->TimeLabel->text(), QStringLiteral("Time [s]"));
  EXPECT_EQ(Dialog->DispLabel->text(), QStringLiteral("Displacement [°]"));
  EXPECT_EQ(Dialog->FunTypeBox->currentIndex(), 0);
  EXPECT_EQ(Dialog->TimeEdit->text(), QStringLiteral("1.000"));
  EXPECT_TRUE(Dialog->TimeEdit->isEnabled());
  EXPECT_EQ(Dialog->Status->Text(), QString());
  EXPECT_FALSE(Dialog->Status->IsHighlighted());

  // A turn in one second at constant speed: the displacement grows in proportion to time.
  const TSimpleGraphFrm& graph = *Dialog->SimpleGraphFrm1;
  const int steps = Target.Steps();
  ASSERT_EQ(graph.PointCount, steps + 1);
  for (int i = 0; i <= steps; i += 15) {
    EXPECT_NEAR(graph.Data[0][i], 1.0 * i / steps, 1e-12);
    EXPECT_NEAR(graph.Data[1][i], 2 * kPi * i / steps, 1e-9);
  }
  EXPECT_EQ(graph.XCategory, shared::cuTime);
  EXPECT_EQ(graph.YCategory, shared::cuAngle);
  // The graph shows its scales from the start, on round values: the turn of 0 to 360 degrees
  // within ticks a round number of degrees apart, the second in round parts of it.
  EXPECT_TRUE(graph.ShowLabels);
  const shared::TConvert& units = shared::Convert();
  ASSERT_GE(graph.Axes.YTicks.size(), 3u);
  ASSERT_GE(graph.Axes.XTicks.size(), 3u);
  const double degrees = units.FromSI(shared::cuAngle, graph.Axes.YTicks[1] - graph.Axes.YTicks[0]);
  EXPECT_TRUE(degrees == 50 || degrees == 100 || degrees == 200) << degrees;
  EXPECT_NEAR(units.FromSI(shared::cuAngle, graph.Axes.YTicks.front()), 0, 1e-9);
  EXPECT_GE(units.FromSI(shared::cuAngle, graph.Axes.YTicks.back()), 360 - 1e-9);
  EXPECT_LT(units.FromSI(shared::cuAngle, graph.Axes.YTicks.back()), 360 + degrees);
  const double seconds = graph.Axes.XTicks[1] - graph.Axes.XTicks[0];
  EXPECT_TRUE(std::fabs(seconds - 0.2) < 1e-12 || std::fabs(seconds - 0.5) < 1e-12) << seconds;
  EXPECT_EQ(graph.Axes.XTicks.front(), 0);
  EXPECT_NEAR(graph.Axes.XTicks.back(), 1, 1e-12);
}

// The status bar shows as a bar from the first showing on, not only once a message colours it.
TEST_F(InputFunctionDlgTest, TheStatusBarIsDrawnBeforeItsFirstMessage) {
  Open();
  QCoreApplication::processEvents();
  QWidget* bar = Dialog->Status->StatusBar1;
  ASSERT_GT(bar->height(), 0);
  const QImage shown = Dialog->grab(bar->geometry()).toImage();
  const QRgb background = Dialog->palette().color(QPalette::Window).rgb();
  int drawn = 0;
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x) drawn += shown.pixel(x, y) != background;
  EXPECT_GT(drawn, shown.width()) << "the bar is only the dialog's background";
}

TEST_F(InputFunctionDlgTest, WithoutATargetNothingIsEditable) {
  Dialog->show();
  EXPECT_FALSE(Dialog->FunTypeBox->isEnabled());
  EXPECT_FALSE(Dialog->TimeEdit->isEnabled());
  EXPECT_FALSE(Dialog->DispEdit->isEnabled());
  EXPECT_EQ(Dialog->Current(), -1);
  EXPECT_TRUE(Dialog->FormCloseQuery());
}

// Each bad field: its message in a yellow bar, a beep, the focus on it, nothing added.
TEST_F(InputFunctionDlgTest, BadInputsAreRefusedWithTheirMessageOnTheirField) {
  struct TCase {
    int Law;
    const char* Time;
    const char* Displacement;
    const char* Message;
    int Field;  // 0 type box, 1 time, 2 displacement
  };
  const TCase cases[] = {
      {-1, "1", "90", "Select a function type!", 0},
      {0, "", "90", "Set the time interval!", 1},
      {0, "  ", "90", "Set the time interval!", 1},
      {0, "0", "90", "Time > 0", 1},
      {1, "-0.5", "90", "Time > 0", 1},
      {0, "abc", "90", "'abc' is not a valid floating point value", 1},
      {0, "inf", "90", "'inf' is not a valid floating point value", 1},
      {2, "nan", "90", "'nan' is not a valid floating point value", 1},
      {0, "1", "", "Set the displacement for this time interval!", 2},
      {3, "1", "1e400", "'1e400' is not a valid floating point value", 2},
      {0, "1", "ten", "'ten' is not a valid floating point value", 2},
      // Beyond what a motion law of a real linkage takes: a section from a microsecond to a
      // million seconds, a crank's turn within a thousand turns either way.
      {2, "0.5", "1E308", "Value should be between -360000 and 360000 \u00b0", 2},
      {0, "1", "-360001", "Value should be between -360000 and 360000 \u00b0", 2},
      {0, "1E7", "90", "Value should be between 1E-6 and 1000000 s", 1},
      {3, "1E-7", "90", "Value should be between 1E-6 and 1000000 s", 1},
  };
  Open();
  QWidget* const fields[3] = {Dialog->FunTypeBox, Dialog->TimeEdit, Dialog->DispEdit};
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Time) + " / " + c.Displacement);
    const int beeps = Sound.Beeps;
    Type(c.Law, c.Time, c.Displacement);
    Dialog->AddButton->click();
    EXPECT_EQ(Dialog->WorkCopy().Count(), 1);
    EXPECT_EQ(Dialog->FunListView->topLevelItemCount(), 1);
    EXPECT_EQ(Dialog->Status->Text(), QString::fromUtf8(c.Message));
    EXPECT_TRUE(Dialog->Status->IsHighlighted());
    EXPECT_EQ(Dialog->Status->StatusBar1->palette().color(QPalette::Window), QColor(255, 255, 0));
    EXPECT_EQ(Sound.Beeps, beeps + 1);
    EXPECT_EQ(Dialog->focusWidget(), fields[c.Field]);
    EXPECT_TRUE(Dialog->Status->Timer1->isActive());
    EXPECT_EQ(Dialog->Status->Timer1->interval(), 1000);
    // Apply on the selected row refuses the same input.
    Dialog->ApplyButton->click();
    EXPECT_EQ(Dialog->WorkCopy().Section(0)->Duration(), 1.0);
    Dialog->Timer1Timer();
    EXPECT_FALSE(Dialog->Status->IsHighlighted());
    EXPECT_FALSE(Dialog->Status->Timer1->isActive());
  }
  Dialog->CancelBtn->click();
  EXPECT_EQ(Target.Count(), 1);
}

// A section that the law would have dropped on its way to the mechanism is refused in the dialog,
// so the list never loses a row without a word and OK writes back the list as shown.
TEST_F(InputFunctionDlgTest, AnAbsurdSectionIsRefusedAndOKKeepsTheListShown) {
  Open();
  Type(2, "0.5", "1E308");
  Dialog->ApplyButton->click();
  EXPECT_EQ(Dialog->Status->Text(), QStringLiteral("Value should be between -360000 and 360000 \u00b0"));
  EXPECT_EQ(Dialog->focusWidget(), Dialog->DispEdit);
  ASSERT_EQ(Dialog->FunListView->topLevelItemCount(), 1);
  EXPECT_EQ(Cell(0, 0), QStringLiteral("Constant Velocity"));
  Type(2, "0.5", "1E308");
  Dialog->AddButton->click();
  EXPECT_EQ(Dialog->FunListView->topLevelItemCount(), 1);
  EXPECT_TRUE(Log.Lines.empty()) << "nothing goes to the log behind the dialog";

  // The ends of the ranges are taken, a slider's travel as a length.
  Type(2, "1E-6", "360000");
  Dialog->ApplyButton->click();
  Type(2, "1000000", "-360000");
  Dialog->AddButton->click();
  ASSERT_EQ(Dialog->FunListView->topLevelItemCount(), 2);
  Dialog->OKBtn->click();
  ASSERT_EQ(Target.Count(), 2);
  EXPECT_EQ(Target.Section(0)->Law(), kLawPolynomial345);
  EXPECT_NEAR(Target.Section(0)->Displacement(), 2000 * kPi, 1e-9);
  EXPECT_NEAR(Target.TotalTime(), 1e6 + 1e-6, 1e-7);
  for (double value : Target.Table()) ASSERT_TRUE(std::isfinite(value));

  Target.UnitCategory = shared::cuLength;
  Open();
  Type(0, "1", "1E10");
  Dialog->AddButton->click();
  EXPECT_EQ(Dialog->Status->Text(), QStringLiteral("Value should be between -1E9 and 1E9 mm"));
  Type(0, "1", "1E9");
  Dialog->AddButton->click();
  EXPECT_EQ(Dialog->FunListView->topLevelItemCount(), 3);
}

// The twelfth section is refused with a word, not dropped.
TEST_F(InputFunctionDlgTest, ASectionBeyondTheEleventhIsRefusedWithAMessage) {
  Open();
  for (int i = Dialog->WorkCopy().Count(); i < TInputFunction::kMaxSections; ++i) {
    Type(0, "0.1", "10");
    Dialog->AddButton->click();
  }
  ASSERT_EQ(Dialog->WorkCopy().Count(), 11);
  EXPECT_EQ(Dialog->Status->Text(), QString());
  const int beeps = Sound.Beeps;
  Type(0, "0.1", "10");
  Dialog->AddButton->click();
  EXPECT_EQ(Dialog->FunListView->topLevelItemCount(), 11);
  EXPECT_EQ(Dialog->Status->Text(), QStringLiteral("An input function has at most 11 sections!"));
  EXPECT_TRUE(Dialog->Status->IsHighlighted());
  EXPECT_EQ(Sound.Beeps, beeps + 1);
}

TEST_F(InputFunctionDlgTest, TheBarReturnsToItsColourWhenTheTimerRuns) {
  Open();
  Type(0, "0", "90");
  Dialog->AddButton->click();
  ASSERT_TRUE(Dialog->Status->IsHighlighted());
  const QColor normal = Dialog->style()->standardPalette().color(QPalette::Button);
  // Run out at once rather than after its second: a wall-clock wait is flaky on a loaded machine.
  ASSERT_TRUE(Dialog->Status->Timer1->isActive());
  Dialog->Status->Timer1->start(0);
  QTRY_VERIFY_WITH_TIMEOUT(!Dialog->Status->IsHighlighted(), 60000);
  EXPECT_EQ(Dialog->Status->StatusBar1->palette().color(QPalette::Window), normal);
  EXPECT_EQ(Dialog->Status->Text(), QStringLiteral("Time > 0"));
}

TEST_F(InputFunctionDlgTest, AddApplyDeleteAndTheEleventhSection) {
  Open();
  Type(2, "0.5", "90");
  Dialog->AddButton->click();
  ASSERT_EQ(Dialog->WorkCopy().Count(), 2);
  EXPECT_EQ(Dialog->Current(), 1);
  EXPECT_EQ(Cell(1, 0), QStringLiteral("3-4-5 polynomial"));
  EXPECT_EQ(Cell(1, 1), QStringLiteral("0.500"));
  EXPECT_NEAR(Dialog->WorkCopy().Section(1)->Displacement(), kPi / 2, 1e-12);
  EXPECT_EQ(Dialog->FunListView->selectedItems().value(0), Dialog->FunListView->topLevelItem(1));

  // Apply rewrites the selected row's section.
  Dialog->FunListView->setCurrentItem(Dialog->FunListView->topLevelItem(0));
  EXPECT_EQ(Dialog->Current(), 0);
  Type(3, "2", "-45");
  Dialog->ApplyButton->click();
  const TFunctionSection& first = *Dialog->WorkCopy().Section(0);
  EXPECT_EQ(first.Law(), 3);
  EXPECT_EQ(first.Duration(), 2.0);
  EXPECT_NEAR(first.Displacement(), -kPi / 4, 1e-12);
  EXPECT_EQ(Cell(0, 0), QStringLiteral("Sinusoidal"));
  EXPECT_EQ(Cell(0, 2), QStringLiteral("-45.000"));
  EXPECT_NEAR(Dialog->WorkCopy().TotalTime(), 2.5, 1e-12);

  // Up to 11 sections; a 12th is refused and adds no row.
  for (int i = Dialog->WorkCopy().Count(); i < TInputFunction::kMaxSections; ++i) {
    Type(0, "0.1", "10");
    Dialog->AddButton->click();
  }
  ASSERT_EQ(Dialog->WorkCopy().Count(), 11);
  Type(0, "0.1", "10");
  Dialog->AddButton->click();
  EXPECT_EQ(Dialog->WorkCopy().Count(), 11);
  EXPECT_EQ(Dialog->FunListView->topLevelItemCount(), 11);

  // Deleting the last row selects the one before it.
  Dialog->FunListView->setCurrentItem(Dialog->FunListView->topLevelItem(10));
  Dialog->DeleteButton->click();
  EXPECT_EQ(Dialog->WorkCopy().Count(), 10);
  EXPECT_EQ(Dialog->Current(), 9);
  EXPECT_EQ(Dialog->FunListView->selectedItems().value(0), Dialog->FunListView->topLevelItem(9));

  // OK writes the copy back.
  Dialog->OKBtn->click();
  EXPECT_EQ(Dialog->result(), QDialog::Accepted);
  EXPECT_EQ(Target.Count(), 10);
  EXPECT_EQ(Target.Section(0)->Law(), 3);
  EXPECT_EQ(Target.Letter, "A");
}

// Cancel keeps the target as it was; OK on an emptied list is refused with a word rather than
// closing on the old law the list no longer shows.
TEST_F(InputFunctionDlgTest, CancelAndAnEmptyCopyLeaveTheTargetUnchanged) {
  Open();
  Type(1, "3", "720");
  Dialog->AddButton->click();
  Dialog->CancelBtn->click();
  EXPECT_EQ(Target.Count(), 1);
  EXPECT_EQ(Target.TotalTime(), 1.0);

  Open();
  ASSERT_EQ(Dialog->WorkCopy().Count(), 1);
  Dialog->ClearButton->click();
  EXPECT_EQ(Dialog->FunListView->topLevelItemCount(), 0);
  EXPECT_EQ(Dialog->Current(), -1);
  EXPECT_EQ(Dialog->SimpleGraphFrm1->PointCount, 0);
  const int beeps = Sound.Beeps;
  Dialog->OKBtn->click();
  EXPECT_TRUE(Dialog->isVisible());
  EXPECT_NE(Dialog->result(), QDialog::Accepted);
  EXPECT_EQ(Dialog->Status->Text(), QStringLiteral("An input function needs at least one section!"));
  EXPECT_EQ(Sound.Beeps, beeps + 1);
  EXPECT_EQ(Dialog->focusWidget(), Dialog->FunTypeBox);
  Dialog->CancelBtn->click();
  ASSERT_EQ(Target.Count(), 1);
  EXPECT_NEAR(Target.Section(0)->Displacement(), 2 * kPi, 1e-12);
}

// A slider's law is a length, its velocity graph still the category of angular velocity.
TEST_F(InputFunctionDlgTest, GraphTabsPlotVelocityAndAccelerationOfTheLaw) {
  Target.UnitCategory = shared::cuLength;
  Target.Clear();
  // Constant acceleration over 2 s through 0.1 m.
  Target.AddSection(kLawConstantAcceleration, 2.0, 0.1);
  Open();
  EXPECT_EQ(Dialog->DispLabel->text(), QStringLiteral("Displacement [mm]"));
  EXPECT_EQ(Cell(0, 2), QStringLiteral("100.000"));
  const TSimpleGraphFrm& graph = *Dialog->SimpleGraphFrm1;
  Dialog->GraphTabControl->setCurrentIndex(1);
  EXPECT_EQ(graph.YName, "Velocity");
  EXPECT_EQ(graph.YCategory, shared::cuAngVel);
  Dialog->GraphTabControl->setCurrentIndex(2);
  EXPECT_EQ(graph.YName, "Acceleration");
  EXPECT_EQ(graph.YCategory, shared::cuAngAcc);
  // From rest through s in T: a = 2 s / T^2 = 0.05 m/s^2 throughout, v = a t up to 0.1 m/s.
  const int steps = Target.Steps();
  for (int i : {1, steps / 4, steps / 2, steps - 1}) EXPECT_NEAR(graph.Data[1][i], 0.05, 1e-12);
  Dialog->GraphTabControl->setCurrentIndex(1);
  for (int i : {0, steps / 4, steps / 2, steps})
    EXPECT_NEAR(graph.Data[1][i], 0.05 * graph.Data[0][i], 1e-12);
  EXPECT_NEAR(graph.YMax, 0.1, 1e-12);
  Dialog->GraphTabControl->setCurrentIndex(0);
  EXPECT_EQ(graph.YCategory, shared::cuLength);
  EXPECT_NEAR(graph.Data[1][steps / 2], 0.025, 1e-12);
}

TEST_F(InputFunctionDlgTest, TheLabelsButtonSwitchesTheGraphsLabels) {
  Open();
  EXPECT_EQ(Dialog->ShowLabelsButton->text(), QStringLiteral("Hide Labels"));
  const int labelledLeft = Dialog->SimpleGraphFrm1->PlotLeft;
  Dialog->ShowLabelsButton->click();
  EXPECT_FALSE(Dialog->SimpleGraphFrm1->ShowLabels);
  EXPECT_EQ(Dialog->ShowLabelsButton->text(), QStringLiteral("Show Labels"));
  // The axis values took room left of the plot.
  EXPECT_LT(Dialog->SimpleGraphFrm1->PlotLeft, labelledLeft);
  Dialog->ShowLabelsButton->click();
  EXPECT_EQ(Dialog->ShowLabelsButton->text(), QStringLiteral("Hide Labels"));
  EXPECT_EQ(Dialog->SimpleGraphFrm1->PlotLeft, labelledLeft);
}

class SimpleGraphFrmTest : public TDialogTest {};

TEST_F(SimpleGraphFrmTest, PointsWidenTheRangeAndGrowTheRoom) {
  TSimpleGraphFrm graph;
  graph.AddPoint(1, 5);
  EXPECT_EQ(graph.XMin, 1);
  EXPECT_EQ(graph.YMax, 5);
  for (int i = 1; i < 150; ++i) graph.AddPoint(1 + i, 5 - i);
  EXPECT_EQ(graph.PointCount, 150);
  EXPECT_EQ(graph.Data[0].size(), 160u);
  EXPECT_EQ(graph.XMax, 150);
  EXPECT_EQ(graph.YMin, -144);
  EXPECT_EQ(graph.Data[1][149], -144);
  // A flat series gets a band of one on either side.
  graph.Reset();
  graph.AddPoint(0, 2);
  graph.AddPoint(1, 2);
  graph.PaintBox1->resize(300, 200);
  graph.Relayout();
  EXPECT_EQ(graph.YMin, 2);
  EXPECT_EQ(graph.Axes.YMin, 1);
  EXPECT_EQ(graph.Axes.YMax, 3);
  EXPECT_TRUE(graph.Axes.Drawable);
}

}  // namespace
}  // namespace quillon
