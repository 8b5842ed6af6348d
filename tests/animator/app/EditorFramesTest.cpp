// Tests of the curve and area editor frames: what they show for a selection, Apply with x/y and
// polar values, the weights and their channels, bad numbers, a selection that went away, the
// include edit's keys and pastes.
#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <tuple>

#include "animator/app/AreaEditFrm.h"
#include "animator/app/MainForm.h"
#include "animator/app/SplineEditFrm.h"
#include "animator/app/TrackBar.h"
#include "animator/engine/Area.h"
#include "animator/engine/MechOptimize.h"
#include "animator/engine/Spline.h"
#include "tests/animator/app/DialogTestSupport.h"

namespace quillon {
namespace {

constexpr double kPi = std::numbers::pi;

class SplineEditFrmTest : public TDialogTest {
 protected:
  void SetUp() override {
    TDialogTest::SetUp();
    IsPolar = false;
    FittingMode = 0;
    for (auto [x, y] : {std::pair{0.0, 0.0}, {0.02, 0.01}, {0.04, -0.005}})
      Curve.AddPoint(shared::TComplex(x, y));
    Curve.DeselectAll();
    Frame = std::make_unique<TSplineEditFrm>();
    Frame->OnChange = [this] { ++Changes; };
    Frame->SetCurve(&Curve);
  }
  void TearDown() override {
    Frame.reset();
    IsPolar = false;
    FittingMode = 0;
    TDialogTest::TearDown();
  }

  void Select(int i) {
    Curve.DeselectAll();
    Curve.Point(i).Selected = true;
    Frame->Refresh();
  }

  TSpline Curve;
  std::unique_ptr<TSplineEditFrm> Frame;
  int Changes = 0;
};

TEST_F(SplineEditFrmTest, WithoutASelectionOnlyTheVisibleBoxWorks) {
  TSplineEditFrm fresh;
  // The weights' first positions.
  EXPECT_EQ(fresh.PathTrackBar->value(), 0);
  EXPECT_EQ(fresh.InTrackBar->value(), 5);
  EXPECT_EQ(fresh.OutTrackBar->value(), 2);
  EXPECT_EQ(fresh.PathTrackBar->maximum(), 10);
  EXPECT_FALSE(fresh.VisibleCheckBox->isEnabled());

  EXPECT_FALSE(Frame->Enabled());
  for (QWidget* control :
       {static_cast<QWidget*>(Frame->PathGroupBox), static_cast<QWidget*>(Frame->InRotGroupBox),
        static_cast<QWidget*>(Frame->OutRotGroupBox), static_cast<QWidget*>(Frame->ApplyButton),
        static_cast<QWidget*>(Frame->NrComboBox)})
    EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
  for (QLineEdit* edit : {Frame->xEdit, Frame->yEdit, Frame->InRotEdit, Frame->OutRotEdit})
    EXPECT_TRUE(edit->text().isEmpty());
  EXPECT_EQ(Frame->InTrackBar->value(), 0);
  ASSERT_TRUE(Frame->VisibleCheckBox->isEnabled());
  EXPECT_TRUE(Frame->VisibleCheckBox->isChecked());
  Frame->VisibleCheckBox->click();
  EXPECT_FALSE(Curve.Visible);
  EXPECT_EQ(Changes, 1);
}

TEST_F(SplineEditFrmTest, ShowsAndAppliesTheSelectedPoint) {
  Curve.InWeight = 0.3;
  Curve.OutWeight = 0.8;
  Curve.Point(1).In = kPi / 6;
  Select(1);
  ASSERT_TRUE(Frame->Enabled());
  EXPECT_EQ(Frame->NrComboBox->count(), 3);
  EXPECT_EQ(Frame->NrComboBox->currentText(), QStringLiteral("1"));
  EXPECT_EQ(Frame->xLabel->text(), QStringLiteral("x [mm]"));
  EXPECT_EQ(Frame->InRotGroupBox->title(), QStringLiteral("Input Rotation [°]"));
  EXPECT_EQ(Frame->xEdit->text(), QStringLiteral("20.000"));
  EXPECT_EQ(Frame->yEdit->text(), QStringLiteral("10.000"));
  EXPECT_EQ(Frame->InRotEdit->text(), QStringLiteral("30.000"));
  EXPECT_EQ(Frame->PathTrackBar->value(), 10);
  EXPECT_EQ(Frame->InTrackBar->value(), 3);
  EXPECT_EQ(Frame->OutTrackBar->value(), 8);
  EXPECT_EQ(Frame->InTrackBar->SelEnd(), 3);

  const int stamp = Curve.ChangeStamp;
  Frame->xEdit->setText(QStringLiteral("25"));
  Frame->yEdit->setText(QStringLiteral("-7.5"));
  Frame->OutRotEdit->setText(QStringLiteral("90"));
  Frame->PathTrackBar->setValue(4);
  Frame->ApplyButton->click();
  const shared::TPrePoint& p = Curve.Point(1);
  EXPECT_NEAR(p.X, 0.025, 1e-15);
  EXPECT_NEAR(p.Y, -0.0075, 1e-15);
  EXPECT_NEAR(p.In, kPi / 6, 1e-15);
  EXPECT_NEAR(p.Out, kPi / 2, 1e-15);
  EXPECT_DOUBLE_EQ(Curve.PosWeight, 0.4);
  EXPECT_TRUE(Curve.PosEnabled);
  EXPECT_TRUE(Curve.OutEnabled);
  EXPECT_EQ(Frame->PathTrackBar->SelEnd(), 4);
  // Rebuilt: the curve's samples pass through the new point.
  EXPECT_NE(Curve.ChangeStamp, stamp);
  EXPECT_NEAR(Curve.Samples[10].X, 0.025, 1e-12);
  EXPECT_EQ(Changes, 1);
  EXPECT_EQ(Log.Errors(), 0);
}

// A weight of 0 turns its channel off and leaves the prescribed rotation as it was.
TEST_F(SplineEditFrmTest, AZeroWeightDisablesTheChannelAndKeepsItsRotation) {
  Curve.InEnabled = true;
  Curve.InWeight = 0.5;
  // Rotations count from the first point, whose own stay 0.
  Curve.Point(1).In = 0.3;
  Select(1);
  Frame->InTrackBar->setValue(0);
  Frame->InRotEdit->setText(QStringLiteral("45"));
  Frame->ApplyButton->click();
  EXPECT_FALSE(Curve.InEnabled);
  EXPECT_EQ(Curve.InWeight, 0);
  EXPECT_EQ(Curve.Point(1).In, 0.3);

  Frame->InTrackBar->setValue(7);
  Frame->ApplyButton->click();
  EXPECT_TRUE(Curve.InEnabled);
  EXPECT_DOUBLE_EQ(Curve.InWeight, 0.7);
  EXPECT_NEAR(Curve.Point(1).In, kPi / 4, 1e-15);
}

TEST_F(SplineEditFrmTest, PolarValuesLeftAsShownKeepThePoint) {
  const double x = 0.0123456789123, y = 0.0234567891234;
  Curve.Point(2).SetXY(x, y);
  IsPolar = true;
  Select(2);
  EXPECT_EQ(Frame->xLabel->text(), QStringLiteral("R [mm]"));
  EXPECT_EQ(Frame->yLabel->text(), QStringLiteral("Arg [°]"));
  // Read back, the rounded texts would move the point by far more than rounding of doubles.
  const double r = shared::Convert().TextToSI(shared::cuLength, Frame->xEdit->text().toStdString());
  const double a = shared::Convert().TextToSI(shared::cuAngle, Frame->yEdit->text().toStdString());
  ASSERT_GT(std::hypot(r * std::cos(a) - x, r * std::sin(a) - y), 1e-7);
  Frame->ApplyButton->click();
  EXPECT_EQ(Curve.Point(2).X, x);
  EXPECT_EQ(Curve.Point(2).Y, y);

  // Typed: distance and angle.
  Frame->xEdit->setText(QStringLiteral("50"));
  Frame->yEdit->setText(QStringLiteral("90"));
  Frame->ApplyButton->click();
  EXPECT_NEAR(Curve.Point(2).X, 0.0, 1e-15);
  EXPECT_NEAR(Curve.Point(2).Y, 0.05, 1e-15);
}

// One coordinate typed, the other left as shown: the one left keeps its exact value, not the
// three decimals it is shown with.
TEST_F(SplineEditFrmTest, ACoordinateLeftAsShownKeepsItsExactValue) {
  const double x = 0.0412345678912, y = -0.1588424066;
  struct TCase {
    const char* what;
    bool polar;
    QLineEdit* TSplineEditFrm::*edit;
    const char* typed;
  };
  const TCase cases[] = {
      {"x typed", false, &TSplineEditFrm::xEdit, "25"},
      {"y typed", false, &TSplineEditFrm::yEdit, "-7.5"},
      {"R typed", true, &TSplineEditFrm::xEdit, "200"},
      {"angle typed", true, &TSplineEditFrm::yEdit, "-45"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    Curve.Point(2).SetXY(x, y);
    const shared::TComplex before(x, y);
    IsPolar = c.polar;
    Select(2);
    (Frame.get()->*c.edit)->setText(QString::fromLatin1(c.typed));
    Frame->ApplyButton->click();
    const shared::TPrePoint& p = Curve.Point(2);
    const double typed = std::atof(c.typed);
    if (!c.polar && c.edit == &TSplineEditFrm::xEdit) {
      EXPECT_NEAR(p.X, typed / 1000, 1e-15);
      EXPECT_EQ(p.Y, y);
    } else if (!c.polar) {
      EXPECT_EQ(p.X, x);
      EXPECT_NEAR(p.Y, typed / 1000, 1e-15);
    } else if (c.edit == &TSplineEditFrm::xEdit) {
      EXPECT_NEAR(p.Abs(), typed / 1000, 1e-15);
      EXPECT_NEAR(p.Arg(), before.Arg(), 1e-15);
    } else {
      EXPECT_NEAR(p.Abs(), before.Abs(), 1e-15);
      EXPECT_NEAR(p.Arg(), typed * kPi / 180, 1e-15);
    }
  }
  EXPECT_EQ(Log.Errors(), 0);
}

TEST_F(SplineEditFrmTest, ABadNumberGoesToTheLogAndFocusesItsEdit) {
  struct TCase {
    const char* Edit;
    const char* Text;
  };
  const TCase cases[] = {{"xEdit", ""},    {"xEdit", "abc"},      {"yEdit", "inf"},
                         {"yEdit", "nan"}, {"InRotEdit", "1,5,"}, {"OutRotEdit", "--1"}};
  Curve.OutWeight = 0.2;
  Select(1);
  Frame->InTrackBar->setValue(5);
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Edit) + " " + c.Text);
    Select(1);
    Frame->InTrackBar->setValue(5);
    auto* edit = Frame->findChild<QLineEdit*>(QString::fromLatin1(c.Edit));
    ASSERT_NE(edit, nullptr);
    edit->setText(QString::fromUtf8(c.Text));
    const int errors = Log.Errors();
    Frame->ApplyButton->click();
    EXPECT_EQ(Log.Errors(), errors + 1);
    EXPECT_EQ(Frame->focusWidget(), edit);
    EXPECT_EQ(Curve.Point(1).X, 0.02);
    EXPECT_FALSE(Curve.InEnabled);
    EXPECT_EQ(Changes, 0);
  }
}

// A value beyond what a real linkage takes is refused as text that is no number is: its range in
// the log, its edit focused, the point as it was. The curve's legend would read NAN otherwise.
TEST_F(SplineEditFrmTest, AValueOutOfItsRangeGoesToTheLogAndFocusesItsEdit) {
  struct TCase {
    const char* Edit;
    const char* Text;
    bool Polar;
    const char* Message;
  };
  const TCase cases[] = {
      {"xEdit", "1E308", false, "[Error] Value should be between -1E9 and 1E9 mm"},
      {"yEdit", "-1000000001", false, "[Error] Value should be between -1E9 and 1E9 mm"},
      {"xEdit", "2E9", true, "[Error] Value should be between -1E9 and 1E9 mm"},
      {"yEdit", "400", true, "[Error] Value should be between -360 and 360 \xB0"},
      {"InRotEdit", "1E9", false, "[Error] Value should be between -360000 and 360000 \xB0"},
      {"OutRotEdit", "-360001", false, "[Error] Value should be between -360000 and 360000 \xB0"},
  };
  Curve.OutWeight = 0.2;
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Edit) + " " + c.Text);
    IsPolar = c.Polar;
    Select(1);
    Frame->InTrackBar->setValue(5);
    auto* edit = Frame->findChild<QLineEdit*>(QString::fromLatin1(c.Edit));
    ASSERT_NE(edit, nullptr);
    edit->setText(QString::fromUtf8(c.Text));
    Frame->ApplyButton->click();
    ASSERT_FALSE(Log.Lines.empty());
    EXPECT_EQ(Log.Lines.back().first, c.Message);
    EXPECT_EQ(Frame->focusWidget(), edit);
    EXPECT_EQ(Curve.Point(1).X, 0.02);
    EXPECT_EQ(Curve.Point(1).In, 0);
    EXPECT_EQ(Changes, 0);
  }
  // The ends themselves are taken.
  IsPolar = false;
  Select(1);
  Frame->xEdit->setText(QStringLiteral("-1E9"));
  Frame->ApplyButton->click();
  EXPECT_EQ(Curve.Point(1).X, -shared::kMaxLength);
  EXPECT_EQ(Changes, 1);
}

// Delete, undo, paste, load and new do not all refresh the frame: a point that is gone, or that
// changed meanwhile, is not written.
TEST_F(SplineEditFrmTest, ApplyWritesNothingWhenThePointIsGone) {
  Select(2);
  Frame->xEdit->setText(QStringLiteral("99"));
  Curve.DeletePoint(2);
  Frame->ApplyButton->click();
  EXPECT_EQ(Curve.PointCount(), 2);
  EXPECT_EQ(Curve.Point(1).X, 0.02);
  EXPECT_EQ(Changes, 0);
  // The frame shows the curve as it is now.
  EXPECT_FALSE(Frame->Enabled());

  Select(1);
  Frame->xEdit->setText(QStringLiteral("99"));
  // Another curve of as many points, read in under the frame.
  Curve.Point(1).SetXY(0.5, 0.5);
  Curve.Rebuild();
  Frame->ApplyButton->click();
  EXPECT_EQ(Curve.Point(1).X, 0.5);
  EXPECT_EQ(Changes, 0);
}

TEST_F(SplineEditFrmTest, NumberBoxSelectsAPointAndTheRadioSetsTheFittingMode) {
  Select(0);
  Frame->NrComboBox->setCurrentIndex(2);
  Frame->NrComboBoxChange(2);
  EXPECT_EQ(Curve.LastSelected(), 2);
  EXPECT_FALSE(Curve.Point(0).Selected);
  EXPECT_EQ(Frame->Current(), 2);
  EXPECT_EQ(Frame->xEdit->text(), QStringLiteral("40.000"));
  EXPECT_EQ(Changes, 1);

  EXPECT_TRUE(Frame->OptimizeTypeGroup->button(0)->isChecked());
  Frame->OptimizeTypeGroup->button(1)->click();
  EXPECT_EQ(FittingMode, 1);
  FittingMode = 0;
  Frame->Refresh();
  EXPECT_TRUE(Frame->OptimizeTypeGroup->button(0)->isChecked());
}

class AreaEditFrmTest : public TDialogTest {
 protected:
  void SetUp() override {
    TDialogTest::SetUp();
    IsPolar = false;
    Areas.AddArea(shared::TComplex(0.01, 0.02), shared::TComplex(0.03, 0.05));
    Areas.AddArea(shared::TComplex(-0.01, -0.02), shared::TComplex(0.0, 0.0));
    Areas.Item(0).SetLetters("AB");
    Frame = std::make_unique<TAreaEditFrm>();
    Frame->OnChange = [this] { ++Changes; };
    Frame->SetAreas(&Areas);
  }
  void TearDown() override {
    Frame.reset();
    IsPolar = false;
    TDialogTest::TearDown();
  }

  void Select(int i) {
    Areas.DeselectAll();
    Areas.Item(i).Selected = true;
    Frame->Refresh();
  }

  TAreaList Areas;
  std::unique_ptr<TAreaEditFrm> Frame;
  int Changes = 0;
};

TEST_F(AreaEditFrmTest, ShowsAndAppliesTheSelectedAreaAsTyped) {
  Select(0);
  ASSERT_TRUE(Frame->Enabled());
  EXPECT_EQ(Frame->NrComboBox->count(), 2);
  EXPECT_EQ(Frame->x1Label->text(), QStringLiteral("x [mm]"));
  EXPECT_EQ(Frame->IncludeLabel->text(), QStringLiteral("Must include: (example: ABC)"));
  EXPECT_EQ(Frame->x1Edit->text(), QStringLiteral("10.000"));
  EXPECT_EQ(Frame->y2Edit->text(), QStringLiteral("50.000"));
  EXPECT_EQ(Frame->IncludeEdit->text(), QStringLiteral("AB"));

  // Corners stored as typed, the first right of the second.
  Frame->x1Edit->setText(QStringLiteral("60"));
  Frame->x2Edit->setText(QStringLiteral("15"));
  Frame->IncludeEdit->setText(QStringLiteral("cd"));
  Frame->ApplyButton->click();
  const TArea& area = Areas.Item(0);
  EXPECT_NEAR(area.MinCorner.X, 0.06, 1e-15);
  EXPECT_NEAR(area.MaxCorner.X, 0.015, 1e-15);
  EXPECT_EQ(area.MinCorner.Y, 0.02);
  EXPECT_EQ(area.Letters, "CD");
  EXPECT_EQ(Changes, 1);

  // Applied again after the area ordered its corners in use: still the same area.
  Areas.Item(0).Normalise();
  Frame->IncludeEdit->setText(QStringLiteral("E"));
  Frame->ApplyButton->click();
  EXPECT_EQ(Areas.Item(0).Letters, "E");
  EXPECT_EQ(Changes, 2);
}

TEST_F(AreaEditFrmTest, PolarCornersLeftAsShownKeepTheArea) {
  Areas.Item(1).MinCorner.SetXY(-0.0123456789, 0.0198765432);
  IsPolar = true;
  Select(1);
  EXPECT_EQ(Frame->x2Label->text(), QStringLiteral("R [mm]"));
  EXPECT_EQ(Frame->y1Label->text(), QStringLiteral("Arg [°]"));
  Frame->ApplyButton->click();
  EXPECT_EQ(Areas.Item(1).MinCorner.X, -0.0123456789);
  EXPECT_EQ(Areas.Item(1).MinCorner.Y, 0.0198765432);
  Frame->x2Edit->setText(QStringLiteral("20"));
  Frame->y2Edit->setText(QStringLiteral("180"));
  Frame->ApplyButton->click();
  EXPECT_NEAR(Areas.Item(1).MaxCorner.X, -0.02, 1e-15);
  EXPECT_NEAR(Areas.Item(1).MaxCorner.Y, 0.0, 1e-15);
}

// One coordinate of a corner typed: the other keeps its exact value, in x/y and in polar.
TEST_F(AreaEditFrmTest, ACornerCoordinateLeftAsShownKeepsItsExactValue) {
  const shared::TComplex corner(-0.0123456789, 0.1588424066);
  Areas.Item(1).MinCorner = corner;
  Select(1);
  Frame->x1Edit->setText(QStringLiteral("-20"));
  Frame->ApplyButton->click();
  EXPECT_NEAR(Areas.Item(1).MinCorner.X, -0.02, 1e-15);
  EXPECT_EQ(Areas.Item(1).MinCorner.Y, corner.Y);

  Areas.Item(1).MinCorner = corner;
  IsPolar = true;
  Select(1);
  Frame->y1Edit->setText(QStringLiteral("120"));
  Frame->ApplyButton->click();
  EXPECT_NEAR(Areas.Item(1).MinCorner.Abs(), corner.Abs(), 1e-15);
  EXPECT_NEAR(Areas.Item(1).MinCorner.Arg(), 2 * kPi / 3, 1e-15);
}

TEST_F(AreaEditFrmTest, BadCornersAndAGoneAreaWriteNothing) {
  Select(0);
  for (const char* name : {"x1Edit", "y1Edit", "x2Edit", "y2Edit"}) {
    SCOPED_TRACE(name);
    Select(0);
    auto* edit = Frame->findChild<QLineEdit*>(QString::fromLatin1(name));
    edit->setText(QStringLiteral("1e999"));
    const int errors = Log.Errors();
    Frame->ApplyButton->click();
    EXPECT_EQ(Log.Errors(), errors + 1);
    EXPECT_EQ(Frame->focusWidget(), edit);
  }
  EXPECT_EQ(Areas.Item(0).MaxCorner.Y, 0.05);
  EXPECT_EQ(Changes, 0);

  // Numbers out of their range as well: a corner beyond 1000 km, a direction beyond a turn.
  const std::tuple<const char*, const char*, bool, const char*> outOfRange[] = {
      {"x1Edit", "1E300", false, "[Error] Value should be between -1E9 and 1E9 mm"},
      {"y2Edit", "-2E9", false, "[Error] Value should be between -1E9 and 1E9 mm"},
      {"y1Edit", "-720", true, "[Error] Value should be between -360 and 360 \xB0"},
  };
  for (const auto& [name, text, polar, message] : outOfRange) {
    SCOPED_TRACE(name);
    IsPolar = polar;
    Select(0);
    auto* edit = Frame->findChild<QLineEdit*>(QString::fromLatin1(name));
    edit->setText(QString::fromLatin1(text));
    Frame->ApplyButton->click();
    EXPECT_EQ(Log.Lines.back().first, message);
    EXPECT_EQ(Frame->focusWidget(), edit);
  }
  IsPolar = false;
  EXPECT_EQ(Areas.Item(0).MinCorner.X, 0.01);
  EXPECT_EQ(Areas.Item(0).MaxCorner.Y, 0.05);
  EXPECT_EQ(Changes, 0);

  Select(1);
  Frame->x1Edit->setText(QStringLiteral("5"));
  Areas.Delete(1);
  Frame->ApplyButton->click();
  EXPECT_EQ(Areas.Count(), 1);
  EXPECT_EQ(Areas.Item(0).MinCorner.X, 0.01);
  EXPECT_EQ(Changes, 0);
  EXPECT_FALSE(Frame->Enabled());
  EXPECT_TRUE(Frame->x1Edit->text().isEmpty());
}

// Only letters reach the include edit, typed or pasted: a tab would split the area's record.
TEST_F(AreaEditFrmTest, TheIncludeEditTakesLettersOnly) {
  Select(0);
  TIncludeEdit& edit = *Frame->IncludeEdit;
  edit.clear();
  const int beeps = Sound.Beeps;
  QTest::keyClicks(&edit, QStringLiteral("a1 B"));
  EXPECT_EQ(edit.text(), QStringLiteral("aB"));
  EXPECT_EQ(Sound.Beeps, beeps + 2);
  QTest::keyClick(&edit, Qt::Key_Backspace);
  EXPECT_EQ(edit.text(), QStringLiteral("a"));
  EXPECT_EQ(Sound.Beeps, beeps + 2);

  QGuiApplication::clipboard()->setText(QStringLiteral("C\tD7"));
  QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(edit.text(), QStringLiteral("aCD"));
  EXPECT_EQ(Sound.Beeps, beeps + 3);
  // The context menu's paste goes past the key handler and is refused whole.
  QGuiApplication::clipboard()->setText(QStringLiteral("E\tF"));
  edit.paste();
  EXPECT_EQ(edit.text(), QStringLiteral("aCD"));
  Frame->ApplyButton->click();
  EXPECT_EQ(Areas.Item(0).Letters, "ACD");
}

}  // namespace
}  // namespace quillon
