// The synthesis input-function dialog driven headless: the law and time of the default shown and
// taken on OK only, the preview following the copy, a refused time keeping the dialog open and
// leaving the copy usable, and Cancel.
#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <cmath>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "shared/Convert.h"
#include "shared/Sound.h"
#include "synthesis/app/InputFunctionDlg.h"
#include "synthesis/app/QtGraphPaintBox.h"
#include "synthesis/engine/GraphPaintBox.h"
#include "synthesis/engine/InputFunction.h"
#include "tests/support/DialogSupport.h"

namespace vesk {
namespace {

constexpr double kPi = std::numbers::pi;

class InputFunctionDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shared::FreeConvert();
    shared::CreateConvert();  // Metric Engineering: seconds
    shared::SetSound(&beeps);
    dlg = std::make_unique<TInputFunctionDlg>();
    dlg->SetErrorDisplay([this](const std::string& m) { errors.push_back(m); });
  }
  void TearDown() override {
    dlg.reset();
    shared::SetSound(nullptr);
  }

  test_support::TCountingSound beeps;
  std::vector<std::string> errors;
  std::unique_ptr<TInputFunctionDlg> dlg;
};

TEST_F(InputFunctionDlgTest, ShowsTheDefaultAndItsPreview) {
  DefaultInputFunction().SetFunctionType(kLawPolynomial345);
  DefaultInputFunction().SetTmax(2.5);
  DefaultInputFunction().SetSteps(40);
  dlg->show();
  EXPECT_EQ(dlg->windowTitle(), "Input Function");
  EXPECT_EQ(dlg->FunctionRadioGroup->title(), "Function Type");
  const char* laws[] = {"Constant Velocity", "Constant Acceleration", "3-4-5 polynomial", "Sinusoidal"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(dlg->FunctionRadios[size_t(i)]->text(), laws[i]);
  EXPECT_TRUE(dlg->FunctionRadios[2]->isChecked());
  EXPECT_EQ(dlg->TmaxLabel->text(), "Max time");
  EXPECT_EQ(dlg->TmaxEdit->text().toDouble(), 2.5);
  EXPECT_EQ(dlg->TmaxUnitLabel->text(), "s");
  ASSERT_EQ(dlg->GraphTabControl->count(), 3);
  EXPECT_EQ(dlg->GraphTabControl->tabText(0), "Displacement");
  EXPECT_EQ(dlg->GraphTabControl->tabText(1), "Velocity");
  EXPECT_EQ(dlg->GraphTabControl->tabText(2), "Acceleration");

  const TGraphPaintBox& graph = dlg->Graph().Graph();
  EXPECT_FALSE(graph.ShowCursor);
  EXPECT_FALSE(graph.ShowLabels);
  EXPECT_EQ(graph.XTitle, "time");
  // The copy's 40 steps and the design position; the 3-4-5 law is half way at half time.
  ASSERT_EQ(graph.Count, 41);
  EXPECT_DOUBLE_EQ(graph.X[40], 2.5);
  EXPECT_NEAR(graph.Y[20], 0.5, 1e-12);
  EXPECT_NEAR(graph.Y[40], 1.0, 1e-12);
  dlg->reject();
}

TEST_F(InputFunctionDlgTest, TheChosenLawShowsAtOnceAndReachesTheDefaultOnOK) {
  dlg->show();
  EXPECT_TRUE(dlg->FunctionRadios[0]->isChecked());
  dlg->FunctionRadios[3]->click();
  EXPECT_EQ(dlg->WorkCopy().FunctionType(), kLawCycloidal);
  EXPECT_EQ(DefaultInputFunction().FunctionType(), kLawConstantVelocity);

  // Velocity of the cycloidal law over T = 1 s and 1 rad: (1 - cos(2 pi t)), peak 2 at t = 1/2.
  const TGraphPaintBox& graph = dlg->Graph().Graph();
  dlg->GraphTabControl->setCurrentIndex(1);
  ASSERT_EQ(graph.Count, DefaultInputFunction().Steps() + 1);
  for (int i = 0; i < graph.Count; i += 15)
    EXPECT_NEAR(graph.Y[i], 1 - std::cos(2 * kPi * graph.X[i]), 1e-9) << i;
  // Acceleration: 2 pi sin(2 pi t).
  dlg->GraphTabControl->setCurrentIndex(2);
  for (int i = 0; i < graph.Count; i += 15)
    EXPECT_NEAR(graph.Y[i], 2 * kPi * std::sin(2 * kPi * graph.X[i]), 1e-9) << i;

  dlg->TmaxEdit->setText("4");
  dlg->OKBtn->click();
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(dlg->result(), QDialog::Accepted);
  EXPECT_EQ(DefaultInputFunction().FunctionType(), kLawCycloidal);
  EXPECT_EQ(DefaultInputFunction().Tmax(), 4.0);
  EXPECT_TRUE(errors.empty());
}

TEST_F(InputFunctionDlgTest, ARefusedTimeKeepsTheDialogOpen) {
  const struct {
    const char* text;
    const char* message;  // nullptr: the conversion's own message
  } cases[] = {{"0", "Time > 0"},
               {"-2", "Time > 0"},
               {"0.0", "Time > 0"},
               {"soon", nullptr},
               {"", nullptr},
               {"1E300", "Value should be between 1E-6 and 1000000 s"},
               {"1000001", "Value should be between 1E-6 and 1000000 s"},
               {"1E-300", "Value should be between 1E-6 and 1000000 s"}};
  for (const auto& c : cases) {
    errors.clear();
    beeps.Beeps = 0;
    dlg->show();
    dlg->FunctionRadios[1]->click();
    dlg->TmaxEdit->setText(c.text);
    dlg->OKBtn->click();
    EXPECT_TRUE(dlg->isVisible()) << c.text;
    EXPECT_EQ(dlg->focusWidget(), dlg->TmaxEdit) << c.text;
    EXPECT_EQ(beeps.Beeps, 1) << c.text;
    ASSERT_EQ(errors.size(), 1u) << c.text;
    if (c.message)
      EXPECT_EQ(errors[0], c.message);
    else
      EXPECT_NE(errors[0], "Time > 0");
    // The copy keeps its time: the preview stays finite and nothing reached the default.
    EXPECT_EQ(dlg->WorkCopy().Tmax(), 1.0) << c.text;
    EXPECT_TRUE(std::isfinite(dlg->WorkCopy().TimeStep())) << c.text;
    dlg->RefreshGraph();
    const TGraphPaintBox& graph = dlg->Graph().Graph();
    for (int i = 0; i < graph.Count; ++i) ASSERT_TRUE(std::isfinite(graph.X[i]) && std::isfinite(graph.Y[i]));
    EXPECT_EQ(DefaultInputFunction().FunctionType(), kLawConstantVelocity);
    EXPECT_EQ(DefaultInputFunction().Tmax(), 1.0);
    dlg->reject();
  }
}

TEST_F(InputFunctionDlgTest, TheEndsOfTheTimeRangeAreTaken) {
  for (const auto& [text, seconds] : {std::pair{"1000000", 1e6}, {"0.000001", 1e-6}}) {
    dlg->show();
    dlg->TmaxEdit->setText(text);
    dlg->OKBtn->click();
    EXPECT_FALSE(dlg->isVisible()) << text;
    EXPECT_TRUE(errors.empty()) << text;
    EXPECT_NEAR(DefaultInputFunction().Tmax(), seconds, 1e-12 * seconds) << text;
  }
}

TEST_F(InputFunctionDlgTest, CancelLeavesTheDefaultAndHelpNamesItsTopic) {
  std::string topic;
  dlg->SetHelpHandler([&](const std::string& t) { topic = t; });
  dlg->show();
  dlg->HelpButton->click();
  EXPECT_EQ(topic, "IDH_InputFun");
  dlg->FunctionRadios[2]->click();
  dlg->TmaxEdit->setText("9");
  dlg->CancelBtn->click();
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(DefaultInputFunction().FunctionType(), kLawConstantVelocity);
  EXPECT_EQ(DefaultInputFunction().Tmax(), 1.0);
  // Shown again, the dialog starts from the default, not from the cancelled choice.
  dlg->show();
  EXPECT_TRUE(dlg->FunctionRadios[0]->isChecked());
  EXPECT_EQ(dlg->TmaxEdit->text().toDouble(), 1.0);
  dlg->reject();
}

}  // namespace
}  // namespace vesk
