// The point, area and curve-point dialogs driven headless: values in the user's units (x and y
// or radius and angle), OK writing the target only when every edit converted, the status-bar
// warning on the first bad edit, and the curve point's rotation edits.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cmath>
#include <memory>
#include <numbers>
#include <string>

#include "shared/Convert.h"
#include "shared/Sound.h"
#include "shared/qt/DialogStatus.h"
#include "synthesis/app/AreaDlg.h"
#include "synthesis/app/CurvePointDlg.h"
#include "synthesis/app/PointDlg.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/Area.h"
#include "synthesis/engine/Joint.h"
#include "synthesis/engine/Spline.h"
#include "tests/support/DialogSupport.h"

namespace vesk {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTol = 1e-12;
const QString kDegree = QString::fromUtf8("\xC2\xB0");

class PointDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shared::FreeConvert();
    shared::CreateConvert();  // Metric Engineering: millimetres and degrees
    shared::SetSound(&beeps);
    ResetAppOptions();
  }
  void TearDown() override {
    shared::SetSound(nullptr);
    ResetAppOptions();
  }

  test_support::TCountingSound beeps;
};

// ---- point dialog

TEST_F(PointDialogsTest, PolarRadiusAndAngleSetThePoint) {
  AppOptions.IsPolar = true;
  TJointList joints;
  joints.Add(std::make_unique<TJoint>(0.0, 0.0));
  joints.Add(std::make_unique<TJoint>(0.03, 0.04));  // selected on adding
  TComplexPointDialog dlg;
  dlg.SetTarget(&joints);
  dlg.show();

  EXPECT_EQ(dlg.windowTitle(), "Point");
  EXPECT_EQ(dlg.GroupBox1->title(), "Number B");
  EXPECT_EQ(dlg.XLabel->text(), "R");
  EXPECT_EQ(dlg.YLabel->text(), "Angle");
  EXPECT_EQ(dlg.XUnitLabel->text(), "mm");
  EXPECT_EQ(dlg.YUnitLabel->text(), kDegree);
  // A 3-4-5 triangle: 50 mm long at atan(4/3).
  EXPECT_NEAR(dlg.XEdit->text().toDouble(), 50.0, 1e-3);
  EXPECT_NEAR(dlg.YEdit->text().toDouble(), std::atan2(4.0, 3.0) * 180 / kPi, 1e-3);
  EXPECT_EQ(dlg.focusWidget(), dlg.XEdit);

  dlg.XEdit->setText("100");
  dlg.YEdit->setText("90");
  dlg.OKBtn->click();
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_NEAR(joints.GetJoint(2)->X, 0.0, kTol);
  EXPECT_NEAR(joints.GetJoint(2)->Y, 0.1, kTol);
  EXPECT_EQ(joints.GetJoint(1)->Y, 0.0);
  // Closing forgets the target: the next show without one has nothing to edit.
  EXPECT_EQ(dlg.Target(), nullptr);
  dlg.show();
  EXPECT_FALSE(dlg.XEdit->isEnabled());
  dlg.reject();
}

TEST_F(PointDialogsTest, CartesianModeShowsXAndYWhateverTheOption) {
  for (bool polar : {false, true}) {
    AppOptions.IsPolar = polar;
    TComplexPoint origin(0.025, -0.5);
    TComplexPointDialog dlg;
    dlg.Cartesian = true;
    dlg.setWindowTitle("Output Link Origin");
    dlg.SetTarget(&origin);
    dlg.show();
    EXPECT_EQ(dlg.XLabel->text(), "X") << polar;
    EXPECT_EQ(dlg.YUnitLabel->text(), "mm") << polar;
    EXPECT_EQ(dlg.XEdit->text().toDouble(), 25.0) << polar;
    EXPECT_EQ(dlg.YEdit->text().toDouble(), -500.0) << polar;
    dlg.XEdit->setText("-12.5");
    dlg.YEdit->setText(" 7 ");
    dlg.OKBtn->click();
    EXPECT_EQ(dlg.windowTitle(), "Output Link Origin");
    EXPECT_NEAR(origin.X, -0.0125, kTol) << polar;
    EXPECT_NEAR(origin.Y, 0.007, kTol) << polar;
    EXPECT_TRUE(origin.Modified);
  }
}

// Text that does not convert, or a coordinate beyond what a position can be (1E300 would take
// the point out of every view): the point is kept, the failing edit has the focus and the status
// bar says why.
TEST_F(PointDialogsTest, ABadEditKeepsThePointAndFocusesTheEdit) {
  const std::string length = "Value should be between -1E9 and 1E9 mm";
  const std::string radius = "Value should be between 0 and 1E9 mm";
  const std::string angle = "Value should be between -360 and 360 \xC2\xB0";
  const struct {
    bool polar;
    const char* x;
    const char* y;
    bool failsAtX;
    std::string message;  // empty: the conversion's own
  } cases[] = {
      {false, "1x", "2", true, ""},              {false, "", "2", true, ""},
      {false, "1", "y", false, ""},              {false, "1", "1e999", false, ""},
      {false, "1E300", "2", true, length},       {false, "1", "-1E300", false, length},
      {false, "-1000000001", "2", true, length}, {true, "-5", "30", true, radius},
      {true, "1E300", "30", true, radius},       {true, "5", "400", false, angle},
      {true, "5", "-1E9", false, angle},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.x) + " " + c.y + (c.polar ? " polar" : ""));
    AppOptions.IsPolar = c.polar;
    TComplexPoint point(0.001, 0.002);
    TComplexPointDialog dlg;
    dlg.SetTarget(&point);
    dlg.show();
    beeps.Beeps = 0;
    dlg.XEdit->setText(c.x);
    dlg.YEdit->setText(c.y);
    dlg.OKBtn->click();
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.focusWidget(), c.failsAtX ? dlg.XEdit : dlg.YEdit);
    EXPECT_EQ(point.X, 0.001);
    EXPECT_EQ(point.Y, 0.002);
    EXPECT_FALSE(point.Modified);
    EXPECT_FALSE(dlg.Status->Text().isEmpty());
    if (!c.message.empty()) {
      EXPECT_EQ(dlg.Status->Text().toStdString(), c.message);
    }
    EXPECT_TRUE(dlg.Status->IsHighlighted());
    EXPECT_TRUE(dlg.Status->Timer1->isActive());
    EXPECT_EQ(dlg.Status->Timer1->interval(), 1000);
    EXPECT_EQ(beeps.Beeps, 1);
    // The timer's end takes the colour off; showing again clears the text too.
    dlg.Status->Timer1Timer();
    EXPECT_FALSE(dlg.Status->IsHighlighted());
    dlg.hide();
    dlg.show();
    EXPECT_TRUE(dlg.Status->Text().isEmpty());
    dlg.reject();
  }
}

// The ends of the ranges a position can be are taken.
TEST_F(PointDialogsTest, TheEndsOfThePositionRangesAreTaken) {
  for (const bool polar : {false, true}) {
    AppOptions.IsPolar = polar;
    TComplexPoint point;
    TComplexPointDialog dlg;
    dlg.SetTarget(&point);
    dlg.show();
    dlg.XEdit->setText("1000000000");
    dlg.YEdit->setText(polar ? "-360" : "-1000000000");
    dlg.OKBtn->click();
    EXPECT_FALSE(dlg.isVisible()) << dlg.Status->Text().toStdString();
    EXPECT_NEAR(point.X, 1e6, 1e-3);
    EXPECT_NEAR(point.Y, polar ? 0 : -1e6, 1e-3);
  }
}

TEST_F(PointDialogsTest, WithoutATargetOrReadOnlyOKJustCloses) {
  TJointList empty;
  TComplexPointDialog dlg;
  dlg.SetTarget(&empty);
  dlg.show();
  EXPECT_FALSE(dlg.XEdit->isEnabled());
  EXPECT_FALSE(dlg.YEdit->isEnabled());
  dlg.OKBtn->click();
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(beeps.Beeps, 0);

  // A read-only point is shown, not read: even text that would not convert closes the dialog.
  TComplexPoint path(0.1, 0.2);
  dlg.SetTarget(&path);
  dlg.SetReadOnly(true);
  dlg.show();
  EXPECT_TRUE(dlg.IsReadOnly());
  dlg.XEdit->setText("junk");
  dlg.OKBtn->click();
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(path.X, 0.1);
  EXPECT_FALSE(path.Modified);
}

TEST_F(PointDialogsTest, CancelKeepsThePoint) {
  TComplexPoint point(0.1, 0.2);
  TComplexPointDialog dlg;
  dlg.SetTarget(&point);
  dlg.show();
  dlg.XEdit->setText("5");
  dlg.CancelBtn->click();
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(point.X, 0.1);
  EXPECT_FALSE(point.Modified);
}

// ---- area dialog

TEST_F(PointDialogsTest, AreaShowsAndTakesBothCornersAndTheJoint) {
  TAreaList areas;
  areas.Add(std::make_unique<TArea>(0.01, 0.02, 0.03, 0.04));
  TArea& area = *areas.GetArea(1);
  area.Joint = 2;
  TAreaDialog dlg;
  dlg.SetTarget(&area);
  dlg.show();

  EXPECT_EQ(dlg.windowTitle(), "Area");
  EXPECT_EQ(dlg.GroupBox1->title(), "Area 1 B");
  const QLabel* labels[] = {dlg.X1Label, dlg.Y1Label, dlg.X2Label, dlg.Y2Label};
  const char* cartesian[] = {"X 1", "Y 1", "X 2", "Y 2"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(labels[i]->text(), cartesian[i]);
  EXPECT_EQ(dlg.X1Edit->text().toDouble(), 10.0);
  EXPECT_EQ(dlg.Y1Edit->text().toDouble(), 20.0);
  EXPECT_EQ(dlg.X2Edit->text().toDouble(), 30.0);
  EXPECT_EQ(dlg.Y2Edit->text().toDouble(), 40.0);
  EXPECT_EQ(dlg.JointLabel->text(), "Joints allowed inside this area");
  ASSERT_EQ(dlg.JointComboBox->count(), 11);
  EXPECT_EQ(dlg.JointComboBox->itemText(0), "All");
  EXPECT_EQ(dlg.JointComboBox->itemText(10), "J");
  EXPECT_EQ(dlg.JointComboBox->currentText(), "B");
  // Tab order X 1, Y 1, X 2, Y 2, then the drop-down.
  EXPECT_EQ(test_support::NextTabStop(dlg.X1Edit), dlg.Y1Edit);
  EXPECT_EQ(test_support::NextTabStop(dlg.Y1Edit), dlg.X2Edit);
  EXPECT_EQ(test_support::NextTabStop(dlg.X2Edit), dlg.Y2Edit);
  EXPECT_EQ(test_support::NextTabStop(dlg.Y2Edit), dlg.JointComboBox);

  dlg.X1Edit->setText("-5");
  dlg.Y1Edit->setText("6");
  dlg.X2Edit->setText("70");
  dlg.Y2Edit->setText("80");
  dlg.JointComboBox->setCurrentIndex(0);
  dlg.OKBtn->click();
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_NEAR(area.X, -0.005, kTol);
  EXPECT_NEAR(area.Y, 0.006, kTol);
  EXPECT_NEAR(area.Corner2.X, 0.07, kTol);
  EXPECT_NEAR(area.Corner2.Y, 0.08, kTol);
  EXPECT_EQ(area.Joint, 0);
  EXPECT_EQ(area.Index(), 1);
}

TEST_F(PointDialogsTest, PolarAreaCorners) {
  AppOptions.IsPolar = true;
  TArea area(0.0, 0.2, -0.3, 0.0);
  TAreaDialog dlg;
  dlg.SetTarget(&area);
  dlg.show();
  EXPECT_EQ(dlg.X1Label->text(), "R 1");
  EXPECT_EQ(dlg.Y1Label->text(), "Angle 1");
  EXPECT_EQ(dlg.X2Label->text(), "R 2");
  EXPECT_EQ(dlg.Y2Label->text(), "Angle 2");
  EXPECT_EQ(dlg.X2Unit->text(), "mm");
  EXPECT_EQ(dlg.Y2Unit->text(), kDegree);
  EXPECT_NEAR(dlg.X1Edit->text().toDouble(), 200.0, 1e-3);
  EXPECT_NEAR(dlg.Y1Edit->text().toDouble(), 90.0, 1e-3);
  EXPECT_NEAR(dlg.X2Edit->text().toDouble(), 300.0, 1e-3);
  EXPECT_NEAR(dlg.Y2Edit->text().toDouble(), 180.0, 1e-3);
  dlg.X1Edit->setText("100");
  dlg.Y1Edit->setText("-45");
  dlg.OKBtn->click();
  EXPECT_NEAR(area.X, 0.1 * std::sqrt(0.5), kTol);
  EXPECT_NEAR(area.Y, -0.1 * std::sqrt(0.5), kTol);
  EXPECT_NEAR(area.Corner2.X, -0.3, 1e-9);
  EXPECT_NEAR(area.Corner2.Y, 0.0, 1e-9);
}

TEST_F(PointDialogsTest, ALetterInY2KeepsTheWholeArea) {
  TArea area(0.01, 0.02, 0.03, 0.04);
  area.Joint = 4;
  TAreaDialog dlg;
  dlg.SetTarget(&area);
  dlg.show();
  dlg.X1Edit->setText("1");  // converts, and still must not reach the area
  dlg.Y2Edit->setText("q");
  dlg.JointComboBox->setCurrentIndex(1);
  dlg.OKBtn->click();
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(dlg.focusWidget(), dlg.Y2Edit);
  EXPECT_TRUE(dlg.Status->IsHighlighted());
  EXPECT_EQ(beeps.Beeps, 1);
  EXPECT_EQ(area.X, 0.01);
  EXPECT_EQ(area.Corner2.Y, 0.04);
  EXPECT_EQ(area.Joint, 4);
  EXPECT_FALSE(area.Modified);
  dlg.reject();
}

TEST_F(PointDialogsTest, AnAreaCornerBeyondTheRangeKeepsTheWholeArea) {
  QLineEdit* TAreaDialog::*edits[] = {&TAreaDialog::X1Edit, &TAreaDialog::Y1Edit, &TAreaDialog::X2Edit,
                                      &TAreaDialog::Y2Edit};
  for (QLineEdit* TAreaDialog::*edit : edits) {
    TArea area(0.01, 0.02, 0.03, 0.04);
    TAreaDialog dlg;
    dlg.SetTarget(&area);
    dlg.show();
    for (QLineEdit* e : {dlg.X1Edit, dlg.Y1Edit, dlg.X2Edit, dlg.Y2Edit}) e->setText("7");
    QLineEdit* bad = dlg.*edit;
    bad->setText("1E300");
    dlg.OKBtn->click();
    SCOPED_TRACE(bad->objectName().toStdString());
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.focusWidget(), bad);
    EXPECT_EQ(dlg.Status->Text().toStdString(), "Value should be between -1E9 and 1E9 mm");
    EXPECT_EQ(area.X, 0.01);
    EXPECT_EQ(area.Y, 0.02);
    EXPECT_EQ(area.Corner2.X, 0.03);
    EXPECT_EQ(area.Corner2.Y, 0.04);
    EXPECT_FALSE(area.Modified);
    dlg.reject();
  }
}

// Corners that give the area no width or no height are refused: such an area restricts nothing.
TEST_F(PointDialogsTest, AnAreaWithoutWidthOrHeightIsRefused) {
  const struct {
    bool polar;
    const char *x1, *y1, *x2, *y2;
    std::string message;
    QLineEdit* TAreaDialog::*focused;
  } cases[] = {
      {false, "5", "6", "5", "80", "The area has no width: its corners must differ in x", &TAreaDialog::X2Edit},
      {false, "5", "6", "70", "6", "The area has no height: its corners must differ in y", &TAreaDialog::Y2Edit},
      {false, "5", "6", "5", "6", "The area has no width: its corners must differ in x", &TAreaDialog::X2Edit},
      {true, "100", "0", "200", "0", "The area has no height: its corners must differ in y", &TAreaDialog::X2Edit},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message + (c.polar ? " polar" : ""));
    AppOptions.IsPolar = c.polar;
    TArea area(0.01, 0.02, 0.03, 0.04);
    TAreaDialog dlg;
    dlg.SetTarget(&area);
    dlg.show();
    beeps.Beeps = 0;
    dlg.X1Edit->setText(c.x1);
    dlg.Y1Edit->setText(c.y1);
    dlg.X2Edit->setText(c.x2);
    dlg.Y2Edit->setText(c.y2);
    dlg.OKBtn->click();
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.Status->Text().toStdString(), c.message);
    EXPECT_EQ(dlg.focusWidget(), dlg.*c.focused);
    EXPECT_EQ(beeps.Beeps, 1);
    EXPECT_EQ(area.X, 0.01);
    EXPECT_EQ(area.Corner2.Y, 0.04);
    EXPECT_FALSE(area.Modified);
    dlg.reject();
  }
}

TEST_F(PointDialogsTest, AreaWithoutTargetDisablesItsControls) {
  TAreaDialog dlg;
  dlg.show();
  for (QWidget* w : {static_cast<QWidget*>(dlg.X1Edit), static_cast<QWidget*>(dlg.Y2Edit),
                     static_cast<QWidget*>(dlg.JointComboBox)})
    EXPECT_FALSE(w->isEnabled());
  dlg.OKBtn->click();
  EXPECT_FALSE(dlg.isVisible());
}

// ---- curve-point dialog

class CurvePointDialogTest : public PointDialogsTest {
 protected:
  void SetUp() override {
    PointDialogsTest::SetUp();
    for (int i = 0; i < 3; ++i) curve.Add(std::make_unique<TPrePoint>(0.1 * i, 0.05));
    curve.GetPoint(2)->Out = kPi / 6;
    curve.GetPoint(2)->In = -kPi / 2;
    curve.Out = true;
    curve.In = true;
    curve.OutTotal = true;
    curve.InTotal = true;
    dlg.SetCurve(&curve);
  }

  TSpline curve;
  TPrePointDialog dlg;
};

TEST_F(CurvePointDialogTest, TheFirstPointKeepsBothRotationEditsDisabled) {
  curve.Select(1);
  dlg.show();
  EXPECT_EQ(dlg.GroupBox1->title(), "Number 1");
  EXPECT_TRUE(dlg.OutBox->isChecked());
  EXPECT_TRUE(dlg.InBox->isChecked());
  EXPECT_FALSE(dlg.OutEdit->isEnabled());
  EXPECT_FALSE(dlg.InEdit->isEnabled());
  // Ticking the boxes again opens nothing either.
  dlg.OutBox->setChecked(false);
  dlg.OutBox->setChecked(true);
  EXPECT_FALSE(dlg.OutEdit->isEnabled());
  EXPECT_TRUE(dlg.XEdit->isEnabled());
  dlg.reject();
}

TEST_F(CurvePointDialogTest, LaterPointsOpenTheEditsOfTheirCheckedBoxes) {
  curve.Select(2);
  dlg.show();
  EXPECT_EQ(dlg.GroupBox1->title(), "Number 2");
  EXPECT_EQ(dlg.OutBox->text(), "Output link rotation");
  EXPECT_EQ(dlg.InBox->text(), "Input link rotation");
  EXPECT_EQ(dlg.OutUnitLabel->text(), kDegree);
  EXPECT_NEAR(dlg.OutEdit->text().toDouble(), 30.0, 1e-3);
  EXPECT_NEAR(dlg.InEdit->text().toDouble(), -90.0, 1e-3);
  EXPECT_TRUE(dlg.OutEdit->isEnabled());
  EXPECT_TRUE(dlg.InEdit->isEnabled());
  dlg.InBox->setChecked(false);
  EXPECT_FALSE(dlg.InEdit->isEnabled());
  EXPECT_TRUE(dlg.OutEdit->isEnabled());
  dlg.InBox->setChecked(true);
  EXPECT_TRUE(dlg.InEdit->isEnabled());
  dlg.reject();

  // Where input rotations are not allowed the box cannot be changed.
  dlg.SetInRotationAllowed(false);
  dlg.show();
  EXPECT_FALSE(dlg.InBox->isEnabled());
  EXPECT_TRUE(dlg.OutBox->isEnabled());
  dlg.reject();
  dlg.SetInRotationAllowed(true);
  dlg.show();
  EXPECT_TRUE(dlg.InBox->isEnabled());
  dlg.reject();
}

TEST_F(CurvePointDialogTest, OKWritesThePointAndTheCurvesRotationChoice) {
  curve.Select(3);
  dlg.show();
  dlg.XEdit->setText("250");
  dlg.YEdit->setText("-20");
  dlg.OutEdit->setText("45");
  dlg.InEdit->setText("120");
  dlg.InBox->setChecked(false);  // the input edit closes and its text is not read
  dlg.OKBtn->click();
  EXPECT_FALSE(dlg.isVisible());
  const TPrePoint& p = *curve.GetPoint(3);
  EXPECT_NEAR(p.X, 0.25, kTol);
  EXPECT_NEAR(p.Y, -0.02, kTol);
  EXPECT_NEAR(p.Out, kPi / 4, kTol);
  EXPECT_EQ(p.In, 0.0);
  EXPECT_TRUE(curve.Out);
  EXPECT_FALSE(curve.OutTotal);  // rotations at the points replace a total
  EXPECT_FALSE(curve.In);
  EXPECT_TRUE(curve.InTotal);  // kept: no point rotations were chosen
  EXPECT_EQ(curve.GetPoint(2)->Out, kPi / 6);
}

TEST_F(CurvePointDialogTest, AZeroInputRotationIsRefused) {
  const char* texts[] = {"0", "0.0000001", "-0"};
  for (const char* text : texts) {
    curve.Select(2);
    curve.InTotal = true;
    dlg.show();
    beeps.Beeps = 0;
    dlg.XEdit->setText("999");
    dlg.InEdit->setText(text);
    dlg.OKBtn->click();
    EXPECT_TRUE(dlg.isVisible()) << text;
    EXPECT_EQ(dlg.Status->Text(), "Value should not be equal to 0") << text;
    EXPECT_EQ(dlg.focusWidget(), dlg.InEdit) << text;
    EXPECT_EQ(beeps.Beeps, 1);
    EXPECT_EQ(curve.GetPoint(2)->X, 0.1);
    EXPECT_EQ(curve.GetPoint(2)->In, -kPi / 2);
    EXPECT_TRUE(curve.InTotal);
    dlg.reject();
  }
  // A bad output rotation stops before the input one.
  curve.Select(2);
  dlg.show();
  dlg.OutEdit->setText("x");
  dlg.InEdit->setText("0");
  dlg.OKBtn->click();
  EXPECT_EQ(dlg.focusWidget(), dlg.OutEdit);
  EXPECT_NE(dlg.Status->Text(), "Value should not be equal to 0");
  dlg.reject();
}

// A rotation from the first point lies within one turn of the input.
TEST_F(CurvePointDialogTest, RotationsBeyondATurnAndFarPositionsAreRefused) {
  const std::string turn = "Value should be between -360 and 360 \xC2\xB0";
  const struct {
    const char* x;
    const char* out;
    const char* in;
    int field;  // 0 x, 1 output, 2 input
    std::string message;
  } cases[] = {
      {"1E300", "45", "120", 0, "Value should be between -1E9 and 1E9 mm"},
      {"250", "400", "120", 1, turn},
      {"250", "-1E300", "120", 1, turn},
      {"250", "45", "1E9", 2, turn},
      {"250", "45", "-360.01", 2, turn},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.x + std::string(" ") + c.out + " " + c.in);
    curve.Select(2);
    dlg.show();
    dlg.XEdit->setText(c.x);
    dlg.OutEdit->setText(c.out);
    dlg.InEdit->setText(c.in);
    dlg.OKBtn->click();
    EXPECT_TRUE(dlg.isVisible());
    QLineEdit* fields[] = {dlg.XEdit, dlg.OutEdit, dlg.InEdit};
    EXPECT_EQ(dlg.focusWidget(), fields[c.field]);
    EXPECT_EQ(dlg.Status->Text().toStdString(), c.message);
    EXPECT_EQ(curve.GetPoint(2)->X, 0.1);
    EXPECT_EQ(curve.GetPoint(2)->Out, kPi / 6);
    EXPECT_EQ(curve.GetPoint(2)->In, -kPi / 2);
    dlg.reject();
  }
  curve.Select(2);
  dlg.show();
  dlg.OutEdit->setText("-360");
  dlg.InEdit->setText("360");
  dlg.OKBtn->click();
  EXPECT_FALSE(dlg.isVisible()) << dlg.Status->Text().toStdString();
  EXPECT_NEAR(curve.GetPoint(2)->Out, -2 * kPi, 1e-12);
  EXPECT_NEAR(curve.GetPoint(2)->In, 2 * kPi, 1e-12);
}

TEST_F(CurvePointDialogTest, WithoutASelectedPointOKJustClosesAndHelpNamesItsTopic) {
  curve.Deselect();
  std::string topic;
  dlg.SetHelpHandler([&](const std::string& t) { topic = t; });
  dlg.show();
  EXPECT_FALSE(dlg.XEdit->isEnabled());
  EXPECT_FALSE(dlg.OutEdit->isEnabled());
  dlg.HelpBtn->click();
  EXPECT_EQ(topic, "IDH_CurvePoint");
  dlg.OKBtn->click();
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_TRUE(curve.OutTotal);
  EXPECT_TRUE(curve.InTotal);
}

TEST_F(CurvePointDialogTest, PolarPosition) {
  AppOptions.IsPolar = true;
  curve.Select(2);
  dlg.show();
  EXPECT_EQ(dlg.XLabel->text(), "R");
  EXPECT_NEAR(dlg.XEdit->text().toDouble(), std::hypot(100.0, 50.0), 1e-3);
  dlg.XEdit->setText("100");
  dlg.YEdit->setText("90");
  dlg.OKBtn->click();
  EXPECT_NEAR(curve.GetPoint(2)->X, 0.0, kTol);
  EXPECT_NEAR(curve.GetPoint(2)->Y, 0.1, kTol);
}

}  // namespace
}  // namespace vesk
