// The "System of Units" dialog driven headless: what it shows, unit and system choices, OK with
// its format check, Cancel restoring the stored settings, and Help.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include "shared/Settings.h"
#include "shared/qt/ConvertDlg.h"
#include "tests/shared/StoreSettings.h"

namespace {

class ConvertDlgTest : public shared::test::TSettingsStoreTest {
 protected:
  template <class T>
  T* Find(shared::TConvertDlg& dlg, const char* name) {
    auto* widget = dlg.findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  static std::string Text(const QLabel* label) { return label->text().toStdString(); }
  // As the user does it: the keyboard moves the unit list and reports the choice.
  static void ChooseNextUnit(QComboBox* combo) {
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
  }
  std::map<std::string, std::string>& Section() { return fStore.Values["Convert"]; }
};

TEST_F(ConvertDlgTest, ShowsTheCurrentSettings) {
  shared::TConvert convert;
  convert.SetRegistryKey("Software\\Orvane\\Convert");
  shared::TConvertDlg dlg(convert);
  EXPECT_EQ(dlg.windowTitle().toStdString(), "System of Units");
  EXPECT_EQ(Text(Find<QLabel>(dlg, "ExampleLabel")), "123456.789");
  dlg.show();
  auto* group = Find<QGroupBox>(dlg, "UnitsRadioGroup");
  EXPECT_EQ(group->title().toStdString(), "Units");
  EXPECT_TRUE(Find<QRadioButton>(dlg, "UnitsRadioButton1")->isChecked());
  EXPECT_EQ(Find<QRadioButton>(dlg, "UnitsRadioButton1")->text().toStdString(),
            "Metric Engineering (millimeters)");
  EXPECT_EQ(Find<QSpinBox>(dlg, "PrecisionEdit")->value(), 7);
  EXPECT_EQ(Find<QSpinBox>(dlg, "DigitsEdit")->value(), 3);
  EXPECT_EQ(Find<QSpinBox>(dlg, "PrecisionEdit")->maximum(), 12);
  EXPECT_EQ(Find<QSpinBox>(dlg, "DigitsEdit")->maximum(), 11);
  EXPECT_EQ(Text(Find<QLabel>(dlg, "ExampleLabel")), "1234.123");
  auto* category = Find<QComboBox>(dlg, "CategoryCombo");
  EXPECT_EQ(category->count(), 21);
  EXPECT_EQ(category->currentText().toStdString(), "Length");
  auto* unit = Find<QComboBox>(dlg, "UnitCombo");
  EXPECT_EQ(unit->count(), 8);
  EXPECT_EQ(unit->currentText().toStdString(), "millimeter");
  EXPECT_EQ(Text(Find<QLabel>(dlg, "ConversionLabel")), "1 mm = 0.001 m");

  // Windows-1252 symbols reach the widgets as their characters.
  category->setCurrentIndex(shared::cuTemp);
  EXPECT_EQ(unit->currentText().toStdString(), "Celsius");
  EXPECT_EQ(Text(Find<QLabel>(dlg, "ConversionLabel")), "1 \u00B0C = 274.16 \u00B0K");

  Find<QSpinBox>(dlg, "DigitsEdit")->setValue(6);
  EXPECT_EQ(Text(Find<QLabel>(dlg, "ExampleLabel")), "????????????");
  Find<QSpinBox>(dlg, "PrecisionEdit")->setValue(10);
  EXPECT_EQ(Text(Find<QLabel>(dlg, "ExampleLabel")), "1234.123456");
  dlg.reject();
}

TEST_F(ConvertDlgTest, ChoosingAUnitMakesTheSystemCustomAndCancelRestores) {
  Section()["SystemOfUnits"] = "4";
  Section()["cuLength"] = "5";
  shared::TConvert convert;
  convert.SetRegistryKey("Software\\Orvane\\Convert");
  ASSERT_EQ(convert.UnitSymbol(shared::cuLength), "ft");

  shared::TConvertDlg dlg(convert);
  dlg.show();
  Find<QRadioButton>(dlg, "UnitsRadioButton0")->click();
  EXPECT_EQ(convert.UnitSystem(), shared::usSI);
  EXPECT_EQ(Find<QComboBox>(dlg, "UnitCombo")->currentText().toStdString(), "meter (SI)");
  EXPECT_EQ(Text(Find<QLabel>(dlg, "ConversionLabel")), "1 m = 1 m");

  ChooseNextUnit(Find<QComboBox>(dlg, "UnitCombo"));
  EXPECT_EQ(convert.UnitSymbol(shared::cuLength), "dm");
  EXPECT_EQ(convert.UnitSystem(), shared::usCustom);
  EXPECT_TRUE(Find<QRadioButton>(dlg, "UnitsRadioButton4")->isChecked());
  EXPECT_EQ(Text(Find<QLabel>(dlg, "ConversionLabel")), "1 dm = 0.1 m");

  QTest::mouseClick(Find<QPushButton>(dlg, "CancelButton"), Qt::LeftButton);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
  EXPECT_EQ(convert.UnitSystem(), shared::usCustom);
  EXPECT_EQ(convert.UnitSymbol(shared::cuLength), "ft");
  EXPECT_EQ(convert.UnitSymbol(shared::cuAngle), "rad");
  EXPECT_EQ(Section()["cuLength"], "5");
}

TEST_F(ConvertDlgTest, CancelWithoutAKeyRestoresTheShownState) {
  shared::TConvert convert;
  shared::TConvertDlg dlg(convert);
  dlg.show();
  Find<QRadioButton>(dlg, "UnitsRadioButton2")->click();
  EXPECT_EQ(convert.UnitSymbol(shared::cuLength), "in");
  dlg.reject();
  EXPECT_EQ(convert.UnitSystem(), shared::usMetric);
  EXPECT_EQ(convert.UnitSymbol(shared::cuLength), "mm");
  EXPECT_TRUE(fStore.Values.empty());

  // Closed before it was ever shown, the dialog leaves the service as it is.
  shared::TConvert imperial;
  imperial.SetSystem(shared::usUKImperial);
  imperial.DecimalSeparator = ',';
  shared::TConvertDlg unshown(imperial);
  unshown.reject();
  EXPECT_EQ(imperial.UnitSystem(), shared::usUKImperial);
  EXPECT_EQ(imperial.UnitSymbol(shared::cuWork), "Btu");
  EXPECT_EQ(imperial.DecimalSeparator, ',');
}

TEST_F(ConvertDlgTest, OkTakesOnlyAFormatWithTwoIntegerDigits) {
  const struct {
    int Precision, Digits, ExpectedPrecision, ExpectedDigits;
  } cases[] = {{4, 3, 7, 3}, {2, 1, 7, 3}, {9, 2, 9, 2}, {12, 10, 12, 10}, {2, 0, 2, 0}};
  for (const auto& c : cases) {
    fStore.Values.clear();
    shared::TConvert convert;
    convert.SetRegistryKey("Software\\Orvane\\Convert");
    shared::TConvertDlg dlg(convert);
    dlg.show();
    Find<QRadioButton>(dlg, "UnitsRadioButton3")->click();
    Find<QSpinBox>(dlg, "PrecisionEdit")->setValue(c.Precision);
    Find<QSpinBox>(dlg, "DigitsEdit")->setValue(c.Digits);
    QTest::mouseClick(Find<QPushButton>(dlg, "OkButton"), Qt::LeftButton);
    SCOPED_TRACE(testing::Message() << c.Precision << " " << c.Digits);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(convert.UnitSystem(), shared::usUKImperial);
    EXPECT_EQ(convert.Precision(), c.ExpectedPrecision);
    EXPECT_EQ(convert.Digits(), c.ExpectedDigits);
    EXPECT_EQ(Section()["SystemOfUnits"], "3");
    EXPECT_EQ(Section()["Precision"], std::to_string(c.ExpectedPrecision));
    EXPECT_EQ(Section()["Digits"], std::to_string(c.ExpectedDigits));
  }
}

TEST_F(ConvertDlgTest, OkSavesChosenUnits) {
  shared::TConvert convert;
  convert.SetRegistryKey("Software\\Orvane\\Convert");
  shared::TConvertDlg dlg(convert);
  dlg.show();
  Find<QComboBox>(dlg, "CategoryCombo")->setCurrentIndex(shared::cuTime);
  ChooseNextUnit(Find<QComboBox>(dlg, "UnitCombo"));
  QTest::mouseClick(Find<QPushButton>(dlg, "OkButton"), Qt::LeftButton);
  EXPECT_EQ(Section()["SystemOfUnits"], "4");
  EXPECT_EQ(Section()["cuTime"], "1");
  EXPECT_EQ(Section()["cuLength"], "3");
  EXPECT_EQ(convert.UnitSymbol(shared::cuTime), "min");
}

TEST_F(ConvertDlgTest, HelpShowsTheUnitsTopic) {
  shared::TConvert convert;
  shared::TConvertDlg dlg(convert);
  std::vector<std::string> topics;
  dlg.SetHelpHandler([&](const std::string& topic) { topics.push_back(topic); });
  dlg.show();
  QTest::mouseClick(Find<QPushButton>(dlg, "HelpButton"), Qt::LeftButton);
  EXPECT_EQ(topics, std::vector<std::string>{"units.html"});
  EXPECT_TRUE(dlg.isVisible());
  dlg.SetHelpHandler(nullptr);
  QTest::mouseClick(Find<QPushButton>(dlg, "HelpButton"), Qt::LeftButton);  // nothing connected: no effect
  dlg.reject();
}

TEST(ConvertLocaleTest, DecimalSeparatorComesFromTheLocale) {
  const QLocale saved;
  shared::TConvert convert;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  shared::ApplyLocaleDecimalSeparator(convert);
  EXPECT_EQ(convert.DecimalSeparator, ',');
  EXPECT_EQ(convert.FormatSI(shared::cuLength, 0.0125), "12,500");
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  shared::ApplyLocaleDecimalSeparator(convert);
  EXPECT_EQ(convert.DecimalSeparator, '.');
  QLocale::setDefault(saved);
}

}  // namespace
