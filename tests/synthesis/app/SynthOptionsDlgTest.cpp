// The synthesis options dialog driven headless: values shown in the user's units, OK committing
// every field at once, a failed OK changing nothing, the status bar warning, Cancel and Help.
#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <cmath>
#include <numbers>

#include "shared/Convert.h"
#include "shared/Sound.h"
#include "synthesis/app/SynthOptionsDlg.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/Spline.h"
#include "synthesis/engine/SynthOptions.h"
#include "tests/support/DialogSupport.h"

namespace vesk {
namespace {

constexpr double kPi = std::numbers::pi;
const QString kDegree = QString::fromUtf8("\xC2\xB0");

// Everything the dialog may change, to compare before and after.
struct Snapshot {
  bool penalty, lengthOn, full;
  double length, angle, deviation, area;
  bool in, inTotal, curveModified;
  double totalIn;
  int search;

  static Snapshot Of(const TSynthOptions& o, const TSpline& curve) {
    return {o.LinkLengthPenaltyOn, o.MaxLinkLengthOn,       o.FullInRotation, o.MaxLinkLength,
            o.MinTransAngle,       o.MaxPathDeviationAngle, o.MaxDistToArea,  curve.In,
            curve.InTotal,         curve.IsModified(),      curve.TotalIn,    AppOptions.Search};
  }
  bool operator==(const Snapshot&) const = default;
};

class SynthOptionsDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shared::FreeConvert();
    shared::CreateConvert();  // Metric Engineering: millimetres and degrees
    shared::SetSound(&beeps);
    ResetAppOptions();
    options.Spline = &curve;
  }
  void TearDown() override {
    shared::SetSound(nullptr);
    ResetAppOptions();
  }

  test_support::TCountingSound beeps;
  TSpline curve;
  TSynthOptions options;
};

TEST_F(SynthOptionsDlgTest, ShowsTheOptionsInTheUsersUnits) {
  options.MaxDistToArea = 1.25;
  curve.InTotal = true;
  curve.TotalIn = -kPi;
  AppOptions.Search = 2;
  TSynthOptionsDlg dlg(options);
  dlg.show();

  EXPECT_EQ(dlg.windowTitle(), "Synthesis Options");
  EXPECT_EQ(dlg.PageControl->tabText(0), "General");
  EXPECT_EQ(dlg.PageControl->tabText(1), "Search");
  EXPECT_TRUE(dlg.LinkLengthPenaltyBox->isChecked());
  EXPECT_FALSE(dlg.MaxLinkLengthBox->isChecked());
  EXPECT_FALSE(dlg.MaxLinkLengthEdit->isEnabled());
  EXPECT_EQ(dlg.MaxLinkLengthEdit->text(), "1000.000");
  EXPECT_EQ(dlg.LengthUnitLabel->text(), "mm");
  EXPECT_EQ(dlg.MinTransAngleEdit->text(), "5.000");
  EXPECT_EQ(dlg.MinTransAngleUnitLabel->text(), kDegree);
  EXPECT_EQ(dlg.OutsideAreaSpin->value(), 25);
  EXPECT_EQ(dlg.PercentLabel->text(), "%");
  EXPECT_TRUE(dlg.TotalInBox->isChecked());
  EXPECT_TRUE(dlg.TotalInEdit->isEnabled());
  EXPECT_EQ(dlg.TotalInEdit->text(), "-180.000");
  EXPECT_EQ(dlg.TotalInUnitLabel->text(), kDegree);
  EXPECT_FALSE(dlg.FullInRotationBox->isChecked());
  EXPECT_TRUE(dlg.SearchRadios[2]->isChecked());
  EXPECT_EQ(dlg.SearchRadios[0]->text(), "Quick Search (approx. 2 minutes)");
  EXPECT_EQ(dlg.SearchRadios[1]->text(), "Standard Search (approx. 10 minutes)");
  EXPECT_EQ(dlg.SearchRadios[2]->text(), "Thorough Search (approx. 30 minutes)");
  EXPECT_TRUE(dlg.StatusBar->currentMessage().isEmpty());
  EXPECT_EQ(dlg.findChild<QLineEdit*>("TotalInEdit"), dlg.TotalInEdit);
  EXPECT_EQ(dlg.findChild<QRadioButton*>("SearchRadio2"), dlg.SearchRadios[2]);

  // The edits follow their boxes.
  dlg.MaxLinkLengthBox->setChecked(true);
  EXPECT_TRUE(dlg.MaxLinkLengthEdit->isEnabled());
  dlg.TotalInBox->setChecked(false);
  EXPECT_FALSE(dlg.TotalInEdit->isEnabled());
  dlg.reject();
}

TEST_F(SynthOptionsDlgTest, TheSpinEditShowsTheExpansionInPercent) {
  // Values beyond the spin edit's range (a project file may hold them) show at its ends.
  const struct {
    double maxDist;
    int shown;
  } cases[] = {{1.0, 0}, {1.25, 25}, {1.999, 100}, {2.0, 100}, {7.5, 100}, {0.5, 0}, {1.004, 0}, {1.006, 1}};
  for (const auto& c : cases) {
    options.MaxDistToArea = c.maxDist;
    TSynthOptionsDlg dlg(options);
    dlg.show();
    EXPECT_EQ(dlg.OutsideAreaSpin->value(), c.shown) << c.maxDist;
    dlg.reject();
  }
}

TEST_F(SynthOptionsDlgTest, OKTakesEveryField) {
  curve.In = true;
  TSynthOptionsDlg dlg(options);
  dlg.show();
  dlg.LinkLengthPenaltyBox->setChecked(false);
  dlg.MaxLinkLengthBox->setChecked(true);
  dlg.MaxLinkLengthEdit->setText("250");
  dlg.MinTransAngleEdit->setText("30");
  dlg.OutsideAreaSpin->setValue(25);
  dlg.TotalInBox->setChecked(true);
  dlg.TotalInEdit->setText("-90");
  dlg.FullInRotationBox->setChecked(true);
  dlg.SearchRadios[0]->setChecked(true);
  dlg.OKBtn->click();

  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_FALSE(options.LinkLengthPenaltyOn);
  EXPECT_TRUE(options.MaxLinkLengthOn);
  EXPECT_DOUBLE_EQ(options.MaxLinkLength, 0.25);
  EXPECT_DOUBLE_EQ(options.MinTransAngle, kPi / 6);
  EXPECT_DOUBLE_EQ(options.MaxDistToArea, 1.25);
  EXPECT_TRUE(options.FullInRotation);
  EXPECT_EQ(options.MaxPathDeviationAngle, 0.75) << "no control edits it";
  EXPECT_TRUE(curve.InTotal);
  EXPECT_FALSE(curve.In) << "a total excludes rotations at every point";
  EXPECT_DOUBLE_EQ(curve.TotalIn, -kPi / 2);
  EXPECT_TRUE(curve.IsModified());
  EXPECT_EQ(AppOptions.Search, 0);
  EXPECT_EQ(beeps.Beeps, 0);
}

TEST_F(SynthOptionsDlgTest, WithoutATotalTheCurveKeepsItsRotationsAndTotal) {
  curve.In = true;
  curve.InTotal = false;
  curve.TotalIn = 2.0;
  TSynthOptionsDlg dlg(options);
  dlg.show();
  dlg.TotalInEdit->setText("not read");  // disabled: not converted
  dlg.OKBtn->click();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_TRUE(curve.In);
  EXPECT_FALSE(curve.InTotal);
  EXPECT_EQ(curve.TotalIn, 2.0);
  EXPECT_DOUBLE_EQ(options.MaxLinkLength, 1.0);
  EXPECT_DOUBLE_EQ(options.MinTransAngle, 5 * kPi / 180);
}

TEST_F(SynthOptionsDlgTest, AFailedOKKeepsItOpenAndChangesNothing) {
  struct Case {
    const char* what;
    QString length, angle, total;
    std::string message;
    int field;  // 0 length, 1 angle, 2 total
  };
  const Case cases[] = {
      {"zero total", "250", "30", "0", "Value should not be equal to 0", 2},
      {"total below 1e-5 rad", "250", "30", "0.0005", "Value should not be equal to 0", 2},
      {"total not a number", "250", "30", "ninety", "'ninety' is not a valid floating point value", 2},
      {"angle not a number", "250", "3O", "90", "'3O' is not a valid floating point value", 1},
      {"length not a number", "", "30", "90", "'' is not a valid floating point value", 0},
      {"length and total bad", "1e", "30", "0", "'1e' is not a valid floating point value", 0},
      {"length below zero", "-5", "30", "90", "Value should be between 0 and 1E9 mm", 0},
      {"length of 1E300", "1E300", "30", "90", "Value should be between 0 and 1E9 mm", 0},
      {"length zero", "0", "30", "90", "Value should be greater than 0", 0},
      {"angle below zero", "250", "-50", "90", "Value should be between 0 and 90 \xC2\xB0", 1},
      {"angle past a right angle", "250", "200", "90", "Value should be between 0 and 90 \xC2\xB0", 1},
      {"angle of 1E300", "250", "1E300", "90", "Value should be between 0 and 90 \xC2\xB0", 1},
      {"total of 1E9", "250", "30", "1E9", "Value should be between -360 and 360 \xC2\xB0", 2},
      {"total past a turn back", "250", "30", "-360.5", "Value should be between -360 and 360 \xC2\xB0", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    curve.In = true;
    curve.InTotal = false;
    curve.TotalIn = 1.0;
    curve.SetModified(false);
    AppOptions.Search = 1;
    options = TSynthOptions();
    options.Spline = &curve;
    const Snapshot before = Snapshot::Of(options, curve);
    beeps.Beeps = 0;

    TSynthOptionsDlg dlg(options);
    dlg.show();
    // Every other control changed too: none of it may land.
    dlg.LinkLengthPenaltyBox->setChecked(false);
    dlg.MaxLinkLengthBox->setChecked(true);
    dlg.MaxLinkLengthEdit->setText(c.length);
    dlg.MinTransAngleEdit->setText(c.angle);
    dlg.OutsideAreaSpin->setValue(40);
    dlg.TotalInBox->setChecked(true);
    dlg.TotalInEdit->setText(c.total);
    dlg.FullInRotationBox->setChecked(true);
    dlg.SearchRadios[2]->setChecked(true);
    dlg.PageControl->setCurrentWidget(dlg.SearchSheet);
    dlg.OKBtn->click();

    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(Snapshot::Of(options, curve), before);
    EXPECT_EQ(dlg.StatusBar->currentMessage().toStdString(), c.message);
    EXPECT_EQ(beeps.Beeps, 1);
    EXPECT_EQ(dlg.StatusBar->palette().color(QPalette::Window), QColor(Qt::yellow));
    EXPECT_TRUE(dlg.StatusTimer->isActive());
    EXPECT_EQ(dlg.StatusTimer->interval(), 1000);
    EXPECT_TRUE(dlg.StatusTimer->isSingleShot());
    EXPECT_EQ(dlg.PageControl->currentWidget(), dlg.GeneralSheet);
    QLineEdit* edits[3] = {dlg.MaxLinkLengthEdit, dlg.MinTransAngleEdit, dlg.TotalInEdit};
    EXPECT_EQ(dlg.focusWidget(), edits[c.field]);

    dlg.StatusTimerTimer();
    EXPECT_FALSE(dlg.StatusTimer->isActive());
    EXPECT_EQ(dlg.StatusBar->palette().color(QPalette::Window), dlg.palette().color(QPalette::Button));

    // The message stays while the field is still wrong and goes once it is right.
    edits[c.field]->setText("x");
    EXPECT_EQ(dlg.StatusBar->currentMessage().toStdString(), c.message);
    edits[c.field]->setText("12");
    EXPECT_TRUE(dlg.StatusBar->currentMessage().isEmpty());

    // Mended, the same OK goes through.
    edits[c.field]->setText("12");
    if (c.field == 0) dlg.TotalInEdit->setText("12");
    dlg.OKBtn->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_TRUE(options.FullInRotation);
    EXPECT_DOUBLE_EQ(options.MaxDistToArea, 1.4);
    EXPECT_FALSE(curve.In);
    EXPECT_EQ(AppOptions.Search, 2);
  }
}

TEST_F(SynthOptionsDlgTest, TheEndsOfEachRangeAreTaken) {
  const struct {
    QString length, angle, total;
    double lengthSI, angleSI, totalSI;
  } cases[] = {
      {"1000000000", "0", "360", 1e6, 0, 2 * kPi},
      {"0.001", "90", "-360", 1e-6, kPi / 2, -2 * kPi},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.length.toStdString());
    TSynthOptionsDlg dlg(options);
    dlg.show();
    dlg.MaxLinkLengthBox->setChecked(true);
    dlg.MaxLinkLengthEdit->setText(c.length);
    dlg.MinTransAngleEdit->setText(c.angle);
    dlg.TotalInBox->setChecked(true);
    dlg.TotalInEdit->setText(c.total);
    dlg.OKBtn->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted) << dlg.StatusBar->currentMessage().toStdString();
    EXPECT_NEAR(options.MaxLinkLength, c.lengthSI, 1e-12 * c.lengthSI);
    EXPECT_NEAR(options.MinTransAngle, c.angleSI, 1e-12);
    EXPECT_NEAR(curve.TotalIn, c.totalSI, 1e-12);
  }
}

// A limit that is off is not read: a project may have stored one the field would refuse.
TEST_F(SynthOptionsDlgTest, ALengthLimitThatIsOffKeepsItsValue) {
  options.MaxLinkLengthOn = false;
  options.MaxLinkLength = -0.005;
  TSynthOptionsDlg dlg(options);
  dlg.show();
  dlg.MinTransAngleEdit->setText("10");
  dlg.OKBtn->click();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(options.MaxLinkLength, -0.005);
  EXPECT_DOUBLE_EQ(options.MinTransAngle, kPi / 18);

  // Switched on, it is read and refused until mended.
  dlg.show();
  dlg.MaxLinkLengthBox->setChecked(true);
  dlg.OKBtn->click();
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(dlg.focusWidget(), dlg.MaxLinkLengthEdit);
  EXPECT_TRUE(options.MaxLinkLength < 0 && !options.MaxLinkLengthOn);
  dlg.MaxLinkLengthBox->setChecked(false);
  EXPECT_TRUE(dlg.StatusBar->currentMessage().isEmpty()) << "off again, the field is not wrong";
  dlg.reject();
}

TEST_F(SynthOptionsDlgTest, CancelChangesNothing) {
  curve.In = true;
  const Snapshot before = Snapshot::Of(options, curve);
  TSynthOptionsDlg dlg(options);
  dlg.show();
  dlg.MaxLinkLengthEdit->setText("250");
  dlg.TotalInBox->setChecked(true);
  dlg.TotalInEdit->setText("0");
  dlg.OutsideAreaSpin->setValue(25);
  dlg.SearchRadios[0]->setChecked(true);
  dlg.OKBtn->click();  // fails on the zero total
  dlg.CancelBtn->click();
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
  EXPECT_EQ(Snapshot::Of(options, curve), before);
}

TEST_F(SynthOptionsDlgTest, ShowingAgainRefillsFromTheOptions) {
  TSynthOptionsDlg dlg(options);
  dlg.show();
  dlg.MaxLinkLengthEdit->setText("abc");
  dlg.OKBtn->click();
  dlg.reject();
  options.MaxLinkLength = 0.002;
  AppOptions.Search = 7;  // a damaged setting shows as the middle level
  dlg.show();
  EXPECT_EQ(dlg.MaxLinkLengthEdit->text(), "2.000");
  EXPECT_TRUE(dlg.StatusBar->currentMessage().isEmpty());
  EXPECT_TRUE(dlg.SearchRadios[1]->isChecked());
  dlg.OKBtn->click();
  EXPECT_EQ(AppOptions.Search, 1);
}

TEST_F(SynthOptionsDlgTest, WithoutACurveTheTotalCannotBeSet) {
  options.Spline = nullptr;
  TSynthOptionsDlg dlg(options);
  dlg.show();
  EXPECT_FALSE(dlg.TotalInBox->isEnabled());
  EXPECT_FALSE(dlg.TotalInEdit->isEnabled());
  dlg.MinTransAngleEdit->setText("10");
  dlg.OKBtn->click();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_DOUBLE_EQ(options.MinTransAngle, kPi / 18);
}

TEST_F(SynthOptionsDlgTest, HelpAsksForItsTopic) {
  TSynthOptionsDlg dlg(options);
  std::vector<std::string> topics;
  dlg.SetHelpHandler([&](const std::string& topic) { topics.push_back(topic); });
  dlg.HelpBtn->click();
  EXPECT_EQ(topics, std::vector<std::string>{"IDH_SynthOptions"});
}

// Built under an application font of the given pixel size: no text is clipped.
class SynthOptionsDlgFont : public SynthOptionsDlgTest, public ::testing::WithParamInterface<int> {};

TEST_P(SynthOptionsDlgFont, NothingIsClipped) {
  const QFont saved = QApplication::font();
  QFont font = saved;
  font.setPixelSize(GetParam());
  QApplication::setFont(font);
  {
    TSynthOptionsDlg dlg(options);
    for (int page = 1; page >= 0; --page) {
      dlg.PageControl->setCurrentIndex(page);
      dlg.show();
      QApplication::processEvents();
      for (QWidget* w : dlg.findChildren<QWidget*>()) {
        if (!w->isVisible()) continue;
        const QRect inDialog(w->mapTo(&dlg, QPoint(0, 0)), w->size());
        EXPECT_TRUE(dlg.rect().contains(inDialog)) << w->metaObject()->className();
        QString text;
        if (auto* label = qobject_cast<QLabel*>(w)) text = label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w)) text = button->text();
        if (!text.isEmpty()) {
          EXPECT_GE(w->width(), w->fontMetrics().horizontalAdvance(text)) << text.toStdString();
        }
      }
      for (QLineEdit* edit : {dlg.MaxLinkLengthEdit, dlg.MinTransAngleEdit, dlg.TotalInEdit})
        if (edit->isVisible()) {
          EXPECT_GE(edit->width(), edit->fontMetrics().horizontalAdvance("-1000000.000"));
        }
    }
    dlg.reject();
  }
  QApplication::setFont(saved);
}

INSTANTIATE_TEST_SUITE_P(Fonts, SynthOptionsDlgFont, ::testing::Values(11, 13, 24));

}  // namespace
}  // namespace vesk
