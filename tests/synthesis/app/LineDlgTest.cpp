// The line dialog driven headless: end points in the user's units, Cartesian or polar, the tab
// order, OK writing the line only when all four edits converted, and Cancel.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>
#include <string>
#include <vector>

#include "shared/Convert.h"
#include "shared/Sound.h"
#include "shared/qt/DialogStatus.h"
#include "synthesis/app/LineDlg.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/ComplexLine.h"
#include "tests/support/DialogSupport.h"

namespace vesk {
namespace {

constexpr double kTol = 1e-12;
const QString kDegree = QString::fromUtf8("\xC2\xB0");

class LineDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shared::FreeConvert();
    shared::CreateConvert();  // Metric Engineering: millimetres and degrees
    shared::SetSound(&beeps);
    ResetAppOptions();
    line.Id = 7;
    line.Name = "Line 7";
  }
  void TearDown() override {
    shared::SetSound(nullptr);
    ResetAppOptions();
  }

  test_support::TCountingSound beeps;
  TComplexLine line{0.01, 0.02, 0.03, 0.04};
};

TEST_F(LineDlgTest, ShowsTheEndPointsAndTakesThemInTabOrder) {
  TLineDialog dlg;
  dlg.TargetLine = &line;
  dlg.show();
  EXPECT_EQ(dlg.windowTitle(), "Line");
  EXPECT_EQ(dlg.GroupBox1->title(), "Line 7");
  const QLabel* labels[] = {dlg.X1Label, dlg.Y1Label, dlg.X2Label, dlg.Y2Label};
  const char* texts[] = {"X 1", "Y 1", "X 2", "Y 2"};
  const QLabel* units[] = {dlg.X1Unit, dlg.Y1Unit, dlg.X2Unit, dlg.Y2Unit};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(labels[i]->text(), texts[i]);
    EXPECT_EQ(units[i]->text(), "mm");
  }
  EXPECT_EQ(dlg.XminEdit->text().toDouble(), 10.0);
  EXPECT_EQ(dlg.YminEdit->text().toDouble(), 20.0);
  EXPECT_EQ(dlg.XmaxEdit->text().toDouble(), 30.0);
  EXPECT_EQ(dlg.YmaxEdit->text().toDouble(), 40.0);
  EXPECT_EQ(dlg.focusWidget(), dlg.XminEdit);
  EXPECT_EQ(test_support::NextTabStop(dlg.XminEdit), dlg.XmaxEdit);
  EXPECT_EQ(test_support::NextTabStop(dlg.XmaxEdit), dlg.YminEdit);
  EXPECT_EQ(test_support::NextTabStop(dlg.YminEdit), dlg.YmaxEdit);

  dlg.XminEdit->setText("-1");
  dlg.YminEdit->setText("2");
  dlg.XmaxEdit->setText("300");
  dlg.YmaxEdit->setText("-4.5");
  line.Modified = false;
  dlg.OKBtn->click();
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_NEAR(line.Point1.X, -0.001, kTol);
  EXPECT_NEAR(line.Point1.Y, 0.002, kTol);
  EXPECT_NEAR(line.Point2.X, 0.3, kTol);
  EXPECT_NEAR(line.Point2.Y, -0.0045, kTol);
  EXPECT_EQ(line.Id, 7);
  EXPECT_EQ(line.Name, "Line 7");
  EXPECT_TRUE(line.Modified);
}

TEST_F(LineDlgTest, PolarLengthsAndAngles) {
  AppOptions.IsPolar = true;
  TComplexLine unit(1, 0, 0, 1);
  TLineDialog dlg;
  dlg.TargetLine = &unit;
  dlg.show();
  EXPECT_EQ(dlg.X1Label->text(), "R 1");
  EXPECT_EQ(dlg.Y1Label->text(), "Angle 1");
  EXPECT_EQ(dlg.X2Label->text(), "R 2");
  EXPECT_EQ(dlg.Y2Label->text(), "Angle 2");
  EXPECT_EQ(dlg.X1Unit->text(), "mm");
  EXPECT_EQ(dlg.Y1Unit->text(), kDegree);
  EXPECT_EQ(dlg.X2Unit->text(), "mm");
  EXPECT_EQ(dlg.Y2Unit->text(), kDegree);
  EXPECT_EQ(dlg.XminEdit->text().toDouble(), 1000.0);
  EXPECT_EQ(dlg.YminEdit->text().toDouble(), 0.0);
  EXPECT_EQ(dlg.XmaxEdit->text().toDouble(), 1000.0);
  EXPECT_EQ(dlg.YmaxEdit->text().toDouble(), 90.0);

  dlg.XmaxEdit->setText("200");
  dlg.YmaxEdit->setText("-60");
  dlg.OKBtn->click();
  EXPECT_NEAR(unit.Point1.X, 1.0, kTol);
  EXPECT_NEAR(unit.Point1.Y, 0.0, kTol);
  EXPECT_NEAR(unit.Point2.X, 0.1, kTol);
  EXPECT_NEAR(unit.Point2.Y, -0.2 * std::sqrt(3.0) / 2, kTol);
}

TEST_F(LineDlgTest, ABadEditLeavesTheLineAndFocusesIt) {
  // Text, and a coordinate that would take the line out of every view.
  struct Case {
    QLineEdit* TLineDialog::*bad;
    const char* text;
  };
  std::vector<Case> cases;
  for (const char* text : {"5 mm", "1E300"}) {
    for (QLineEdit* TLineDialog::*bad :
         {&TLineDialog::XminEdit, &TLineDialog::YminEdit, &TLineDialog::XmaxEdit, &TLineDialog::YmaxEdit})
      cases.push_back({bad, text});
  }
  for (const Case& c : cases) {
    TLineDialog dlg;
    dlg.TargetLine = &line;
    dlg.show();
    beeps.Beeps = 0;
    line.Modified = false;
    for (QLineEdit* edit : {dlg.XminEdit, dlg.YminEdit, dlg.XmaxEdit, dlg.YmaxEdit}) edit->setText("5");
    QLineEdit* bad = dlg.*c.bad;
    bad->setText(c.text);
    dlg.OKBtn->click();
    SCOPED_TRACE(c.text);
    EXPECT_EQ(dlg.Status->Text().toStdString(), c.text == std::string("5 mm")
                                                    ? "'5 mm' is not a valid floating point value"
                                                    : "Value should be between -1E9 and 1E9 mm");
    EXPECT_TRUE(dlg.isVisible()) << bad->objectName().toStdString();
    EXPECT_EQ(dlg.focusWidget(), bad) << bad->objectName().toStdString();
    EXPECT_TRUE(dlg.Status->IsHighlighted());
    EXPECT_FALSE(dlg.Status->Text().isEmpty());
    EXPECT_EQ(beeps.Beeps, 1);
    EXPECT_EQ(line.Point1.X, 0.01);
    EXPECT_EQ(line.Point2.Y, 0.04);
    EXPECT_FALSE(line.Modified);
    dlg.reject();
  }
}

TEST_F(LineDlgTest, CancelKeepsTheLine) {
  TLineDialog dlg;
  dlg.TargetLine = &line;
  dlg.show();
  dlg.XminEdit->setText("123");
  dlg.YmaxEdit->setText("oops");
  line.Modified = false;
  dlg.CancelBtn->click();
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
  EXPECT_EQ(line.Point1.X, 0.01);
  EXPECT_EQ(line.Point2.Y, 0.04);
  EXPECT_FALSE(line.Modified);
}

TEST_F(LineDlgTest, WithoutALineTheEditsKeepTheirTextsDisabledAndOKCloses) {
  TLineDialog dlg;
  dlg.TargetLine = &line;
  dlg.show();
  dlg.reject();
  dlg.TargetLine = nullptr;
  dlg.show();
  for (QLineEdit* edit : {dlg.XminEdit, dlg.YminEdit, dlg.XmaxEdit, dlg.YmaxEdit})
    EXPECT_FALSE(edit->isEnabled());
  EXPECT_EQ(dlg.XminEdit->text().toDouble(), 10.0);
  EXPECT_EQ(dlg.YmaxEdit->text().toDouble(), 40.0);
  dlg.OKBtn->click();
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Accepted);

  // Not even never-filled edits hold it open.
  TLineDialog fresh;
  fresh.show();
  fresh.OKBtn->click();
  EXPECT_FALSE(fresh.isVisible());
  EXPECT_EQ(beeps.Beeps, 0);
}

}  // namespace
}  // namespace vesk
