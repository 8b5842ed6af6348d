// Unit conversion service: the unit table against the defining constants, unit systems, display
// formatting, typed text, significant-digit rounding and the settings under "Convert".
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "shared/Convert.h"
#include "shared/Settings.h"
#include "tests/shared/StoreSettings.h"

using shared::TConvert;

namespace {

constexpr double kPi = std::numbers::pi;
// Windows-1252 degree sign (byte 176) with the scale letter.
const std::string kDegC = std::string("\xB0") + "C";
const std::string kDegF = std::string("\xB0") + "F";

::testing::AssertionResult RelativelyNear(double actual, double expected, double tolerance = 1e-12) {
  const double error = std::fabs(actual - expected);
  if (error <= tolerance * std::max(std::fabs(expected), 1e-300)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << actual << " differs from " << expected << " by " << error;
}

// Factors are the decimals of the customary definitions (inch 0.0254, pound 4.44822, kip 4448.22,
// slug 14.5939), worked out by hand, not by the code's own products.
struct FactorCase {
  int Category;
  int Index;
  std::string Symbol;
  double Factor;
  double Offset;
};

const FactorCase kFactorCases[] = {
    {shared::cuNone, 0, "", 1, 0},
    {shared::cuLength, 0, "m", 1, 0},
    {shared::cuLength, 3, "mm", 0.001, 0},
    {shared::cuLength, 4, "in", 0.0254, 0},
    {shared::cuLength, 5, "ft", 0.3048, 0},
    {shared::cuLength, 6, "yd", 0.9144, 0},
    {shared::cuLength, 7, "mile", 1609.344, 0},
    {shared::cuArea, 0, "m\xB2", 1, 0},
    {shared::cuArea, 4, "in\xB2", 0.00064516, 0},
    {shared::cuArea, 5, "ft\xB2", 0.09290304, 0},
    {shared::cuArea, 6, "yd\xB2", 0.83612736, 0},
    {shared::cuVolume, 4, "l", 0.001, 0},
    {shared::cuVolume, 5, "in3", 1.6387064e-5, 0},
    {shared::cuVolume, 6, "ft3", 0.028316846592, 0},
    {shared::cuVolume, 7, "yd3", 0.764554857984, 0},
    {shared::cuLength4, 3, "mm4", 1e-12, 0},
    {shared::cuLength4, 4, "in4", 4.162314256e-7, 0},
    {shared::cuLength4, 5, "ft4", 0.0086309748412416, 0},
    {shared::cuLength4, 6, "yd4", 0.6991089621405696, 0},
    {shared::cuTime, 2, "hr", 3600, 0},
    {shared::cuVel, 4, "km/hr", 1 / 3.6, 0},
    {shared::cuVel, 6, "ft/s", 0.3048, 0},
    {shared::cuVel, 8, "mph", 0.44704, 0},
    {shared::cuAcc, 0, "m/s\xB2", 1, 0},
    {shared::cuAcc, 6, "yd/s\xB2", 0.9144, 0},
    {shared::cuAngle, 1, "\xB0", kPi / 180, 0},
    {shared::cuAngle, 2, "grad", kPi / 200, 0},
    {shared::cuAngVel, 1, "\xB0/s", kPi / 180, 0},
    {shared::cuAngVel, 2, "rpm", kPi / 30, 0},
    {shared::cuAngVel, 3, "Hz", 2 * kPi, 0},
    {shared::cuAngAcc, 1, "\xB0/s\xB2", kPi / 180, 0},
    {shared::cuTemp, 0, "\xB0K", 1, 0},
    {shared::cuTemp, 1, kDegC, 1, 273.16},
    {shared::cuTemp, 2, kDegF, 0.55555555, 255.38222},
    {shared::cuStrain, 0, "", 1, 0},
    {shared::cuStrain, 1, "%", 0.01, 0},
    {shared::cuStress, 4, "bar", 1e5, 0},
    {shared::cuStress, 5, "psi", 6894.7547895095795, 0},
    {shared::cuStress, 6, "psf", 47.880241593816535, 0},
    {shared::cuStress, 7, "ksi", 6894754.78950958, 0},
    {shared::cuStress, 8, "ksf", 47880.241593816536, 0},
    {shared::cuStiff, 4, "lb/in", 175.12677165354331, 0},
    {shared::cuStiff, 5, "lb/ft", 14.593897637795276, 0},
    {shared::cuStiff, 6, "lb/yd", 4.864632545931759, 0},
    {shared::cuMass, 1, "gr", 0.001, 0},
    {shared::cuMass, 2, "slug", 14.5939, 0},
    {shared::cuDensity, 4, "slugs/in3", 890574.4189441135, 0},
    {shared::cuDensity, 5, "slugs/ft3", 515.3787146667325, 0},
    {shared::cuDensity, 6, "slugs/yd3", 19.088100543212317, 0},
    {shared::cuForce, 2, "kgf", 9.80665, 0},
    {shared::cuForce, 3, "lb", 4.44822, 0},
    {shared::cuForce, 4, "k", 4448.22, 0},
    {shared::cuMoment, 0, "N.m", 1, 0},
    {shared::cuMoment, 5, "N.ft", 0.3048, 0},
    {shared::cuWork, 4, "in-lb", 0.112984788, 0},
    {shared::cuWork, 5, "ft-lb", 1.355817456, 0},
    {shared::cuWork, 6, "yd-lb", 4.067452368, 0},
    {shared::cuWork, 7, "in-k", 112.984788, 0},
    {shared::cuWork, 8, "ft-k", 1355.817456, 0},
    {shared::cuWork, 9, "yd-k", 4067.452368, 0},
    {shared::cuWork, 10, "Btu", 1055.06, 0},
    {shared::cuPower, 4, "in-lb/s", 0.112984788, 0},
    {shared::cuPower, 6, "ft-lb/min", 0.0225969576, 0},
    {shared::cuPower, 7, "yd-lb/s", 4.067452368, 0},
    {shared::cuPower, 8, "hp", 745.6996008, 0},
};

TEST(ConvertTableTest, FactorsFollowFromTheDefiningConstants) {
  const TConvert convert;
  for (const auto& c : kFactorCases) {
    SCOPED_TRACE(testing::Message() << "category " << c.Category << " unit " << c.Index);
    const auto& category = convert.Category(c.Category);
    ASSERT_LT(c.Index, category.UnitCount);
    const auto& unit = category.Units[c.Index];
    EXPECT_EQ(unit.Symbol, c.Symbol);
    EXPECT_TRUE(RelativelyNear(unit.Factor, c.Factor));
    EXPECT_TRUE(RelativelyNear(unit.Offset, c.Offset));
  }
}

TEST(ConvertTableTest, EveryCategoryStartsWithItsSIUnit) {
  const TConvert convert;
  const int counts[TConvert::kCategoryCount] = {1, 8, 7, 8, 7, 3, 9, 7, 3,  4, 2,
                                                3, 2, 9, 7, 3, 7, 5, 7, 11, 9};
  const char* names[TConvert::kCategoryCount] = {"None",
                                                 "Length",
                                                 "Area",
                                                 "Volume",
                                                 "Length4",
                                                 "Time",
                                                 "Velocity",
                                                 "Acceleration",
                                                 "Angle",
                                                 "Angular Velocity",
                                                 "Angular Acceleration",
                                                 "Temperature",
                                                 "Strain",
                                                 "Pressure or Stress",
                                                 "Stiffness",
                                                 "Mass",
                                                 "Density",
                                                 "Force",
                                                 "Moment of Force, Torque",
                                                 "Energy or Work",
                                                 "Power"};
  for (int c = 0; c < TConvert::kCategoryCount; ++c) {
    const auto& category = convert.Category(c);
    EXPECT_EQ(category.Name, names[c]);
    EXPECT_EQ(category.UnitCount, counts[c]) << category.Name;
    EXPECT_EQ(category.Units[0].Factor, 1) << category.Name;
    EXPECT_EQ(category.Units[0].Offset, 0) << category.Name;
    EXPECT_EQ(category.Format, c == 0 ? shared::TFloatFormat::General : shared::TFloatFormat::Fixed);
  }
  EXPECT_EQ(convert.Category(shared::cuAngAcc).Units[0].Name, "rad per sec\xB2 (SI)");
  EXPECT_EQ(convert.Category(shared::cuForce).Units[4].Name, "kip (1000 pounds)");
  EXPECT_EQ(TConvert::RegistryValueName(shared::cuAcc), std::string("cuAcc"));
  EXPECT_EQ(TConvert::RegistryValueName(shared::cuPower), std::string("cuPower"));
}

TEST(ConvertTableTest, CategoryOutOfRangeIsNone) {
  const TConvert convert;
  for (int c : {-1, 21, 1000}) {
    EXPECT_EQ(convert.ToSI(c, 2.5), 2.5);
    EXPECT_EQ(convert.UnitSymbol(c), "");
    EXPECT_EQ(convert.UnitLabel(c), "");
    EXPECT_EQ(convert.FormatSIWithUnit(c, 2.5), "2.5");
  }
}

struct SystemCase {
  int System;
  int Category;
  std::string Symbol;
};

TEST(ConvertSystemTest, PresetsChooseTheirUnits) {
  const SystemCase cases[] = {
      {shared::usSI, shared::cuLength, "m"},
      {shared::usSI, shared::cuAngle, "rad"},
      {shared::usSI, shared::cuTemp, "\xB0K"},
      {shared::usMetric, shared::cuLength, "mm"},
      {shared::usMetric, shared::cuArea, "mm\xB2"},
      {shared::usMetric, shared::cuAcc, "mm/s\xB2"},
      {shared::usMetric, shared::cuAngle, "\xB0"},
      {shared::usMetric, shared::cuAngVel, "rad/s"},
      {shared::usMetric, shared::cuTemp, kDegC},
      {shared::usMetric, shared::cuStress, "MPa"},
      {shared::usMetric, shared::cuStiff, "N/mm"},
      {shared::usMetric, shared::cuMass, "kg"},
      {shared::usMetric, shared::cuWork, "kJ"},
      {shared::usUSCustomary, shared::cuLength, "in"},
      {shared::usUSCustomary, shared::cuVolume, "ft3"},
      {shared::usUSCustomary, shared::cuVel, "ft/s"},
      {shared::usUSCustomary, shared::cuAngVel, "rpm"},
      {shared::usUSCustomary, shared::cuTemp, kDegF},
      {shared::usUSCustomary, shared::cuStiff, "lb/ft"},
      {shared::usUSCustomary, shared::cuDensity, "slugs/ft3"},
      {shared::usUSCustomary, shared::cuMoment, "N.ft"},
      {shared::usUSCustomary, shared::cuWork, "ft-lb"},
      {shared::usUSCustomary, shared::cuPower, "ft-lb/s"},
      {shared::usUSCustomary, shared::cuTime, "s"},
      {shared::usUKImperial, shared::cuWork, "Btu"},
      {shared::usUKImperial, shared::cuStress, "psi"},
  };
  for (const auto& c : cases) {
    TConvert convert;
    convert.SetSystem(c.System);
    EXPECT_EQ(convert.UnitSystem(), c.System);
    EXPECT_EQ(convert.UnitSymbol(c.Category), c.Symbol)
        << "system " << c.System << " category " << c.Category;
  }
}

TEST(ConvertSystemTest, PresetResetsEveryChoiceAndCustomKeepsThem) {
  TConvert convert;
  convert.SetCurrentUnit(shared::cuTime, 2);
  convert.SetCurrentUnit(shared::cuLength, 7);
  convert.SetSystem(shared::usCustom);
  EXPECT_EQ(convert.UnitSymbol(shared::cuTime), "hr");
  EXPECT_EQ(convert.UnitSymbol(shared::cuLength), "mile");
  convert.SetSystem(shared::usMetric);
  EXPECT_EQ(convert.UnitSymbol(shared::cuTime), "s");
  EXPECT_EQ(convert.UnitSymbol(shared::cuLength), "mm");
  // An unknown system changes no unit; the units are then the user's own.
  convert.SetCurrentUnit(shared::cuTime, 1);
  convert.SetSystem(9);
  EXPECT_EQ(convert.UnitSystem(), shared::usCustom);
  EXPECT_EQ(convert.UnitSymbol(shared::cuTime), "min");
  for (int bad : {-1, 3, 100}) {
    convert.SetCurrentUnit(shared::cuTime, bad);
    EXPECT_EQ(convert.Category(shared::cuTime).CurrentUnit, 0) << bad;
  }
}

struct FormatCase {
  double Value;
  int Precision;
  int Digits;
  const char* Text;
};

TEST(ConvertFormatTest, FixedFormat) {
  const FormatCase cases[] = {
      {12.5, 7, 3, "12.500"},
      {0, 7, 3, "0.000"},
      {-0.0001, 7, 3, "0.000"},  // no "-0.000"
      {0.0006, 7, 3, "0.001"},
      {1234.56789, 7, 3, "1234.568"},
      {-3.14159, 7, 2, "-3.14"},
      {1234.56789, 5, 3, "1234.600"},  // digits beyond the precision are zeros
      {0.000123456, 3, 11, "0.00012300000"},
      {9999.9996, 7, 3, "10000.000"},
      {1234567, 7, 3, "1234567.000"},
      {12345678.9, 7, 3, "1.234568E007"},  // more integer digits than the precision
      {1e20, 15, 2, "1E20"},
      {2.5, 7, 0, "2"},  // halves to even
      {3.5, 7, 0, "4"},
      {INFINITY, 7, 3, "INF"},
      {-INFINITY, 7, 3, "-INF"},
      {NAN, 7, 3, "NAN"},
  };
  const TConvert convert;
  for (const auto& c : cases)
    EXPECT_EQ(convert.FormatFixed(c.Value, c.Precision, c.Digits), c.Text)
        << c.Value << " " << c.Precision << " " << c.Digits;
}

TEST(ConvertFormatTest, GeneralFormat) {
  const FormatCase cases[] = {
      {0, 7, 0, "0"},
      {2.5, 7, 0, "2.5"},
      {-0.5, 7, 0, "-0.5"},
      {0.001, 9, 0, "0.001"},
      {0.00001, 9, 0, "0.00001"},
      {0.000009, 9, 0, "9E-6"},
      {1e-6, 9, 3, "1E-006"},
      {1234567, 7, 0, "1234567"},
      {12345678, 7, 0, "1.234568E7"},
      {1e20, 15, 2, "1E20"},
      {123.456, 4, 0, "123.5"},
      {0.30479999999999996, 9, 0, "0.3048"},
      {6894.7547895095795, 9, 0, "6894.75479"},
      {1 / 3.0, 7, 3, "0.3333333"},
  };
  const TConvert convert;
  for (const auto& c : cases)
    EXPECT_EQ(convert.FormatGeneral(c.Value, c.Precision, c.Digits), c.Text)
        << c.Value << " " << c.Precision << " " << c.Digits;
}

TEST(ConvertFormatTest, DisplayUsesTheDecimalSeparator) {
  TConvert convert;
  convert.DecimalSeparator = ',';
  EXPECT_EQ(convert.FormatSI(shared::cuLength, 0.0125), "12,500");
  EXPECT_EQ(convert.FormatSI(shared::cuNone, 1.5e-6), "1,5E-006");  // Digits give the exponent width
  EXPECT_EQ(convert.ConversionText(shared::cuLength), "1 mm = 0,001 m");
  EXPECT_EQ(convert.TextToSI(shared::cuLength, "12,5"), 0.0125);
  EXPECT_THROW(convert.TextToSI(shared::cuLength, "12.5"), shared::EConvertError);
}

TEST(ConvertFormatTest, DefaultDisplay) {
  const TConvert convert;
  EXPECT_EQ(convert.UnitSystem(), shared::usMetric);
  EXPECT_EQ(convert.Precision(), 7);
  EXPECT_EQ(convert.Digits(), 3);
  EXPECT_EQ(convert.FormatSI(shared::cuLength, 0.0125), "12.500");
  EXPECT_EQ(convert.UnitLabel(shared::cuLength), "[mm]");
  EXPECT_EQ(convert.FormatSIWithUnit(shared::cuLength, 0.0125), "12.500 mm");
  EXPECT_EQ(convert.FormatSI(shared::cuAngle, kPi / 2), "90.000");
  EXPECT_EQ(convert.FormatSIWithUnit(shared::cuAngle, kPi), "180.000 \xB0");
  EXPECT_EQ(convert.FormatSI(shared::cuLength, 1e5), "1E008");  // 1e8 mm needs 9 integer digits
  EXPECT_EQ(convert.UnitLabel(shared::cuNone), "");
  EXPECT_EQ(convert.FormatSIWithUnit(shared::cuNone, 2.5), "2.5");
  EXPECT_EQ(convert.UnitLabel(shared::cuStrain), "[%]");
  EXPECT_EQ(convert.SampleNumberText(shared::cuLength), "123456.1234");
  EXPECT_EQ(convert.SampleValueText(shared::cuLength), "1234567 mm");
}

TEST(ConvertFormatTest, TemperatureScalesAgree) {
  TConvert convert;
  EXPECT_TRUE(RelativelyNear(convert.TextToSI(shared::cuTemp, "0"), 273.16));
  EXPECT_EQ(convert.FormatSIWithUnit(shared::cuTemp, 373.16), "100.000 " + kDegC);
  convert.SetSystem(shared::usUSCustomary);
  EXPECT_EQ(convert.FormatSI(shared::cuTemp, 273.16), "32.000");
  EXPECT_EQ(convert.FormatSI(shared::cuTemp, 373.16), "212.000");
  EXPECT_TRUE(RelativelyNear(convert.FromSI(shared::cuTemp, convert.ToSI(shared::cuTemp, -40)), -40, 1e-14));
}

TEST(ConvertFormatTest, ConversionLabel) {
  TConvert convert;
  EXPECT_EQ(convert.ConversionText(shared::cuLength), "1 mm = 0.001 m");
  EXPECT_EQ(convert.ConversionText(shared::cuArea), "1 mm\xB2 = 1E-6 m\xB2");
  EXPECT_EQ(convert.ConversionText(shared::cuTemp), "1 " + kDegC + " = 274.16 \xB0K");
  convert.SetSystem(shared::usUSCustomary);
  EXPECT_EQ(convert.ConversionText(shared::cuLength), "1 in = 0.0254 m");
  EXPECT_EQ(convert.ConversionText(shared::cuStress), "1 psi = 6894.75479 Pa");
  EXPECT_EQ(convert.ConversionText(shared::cuDensity), "1 slugs/ft3 = 515.378715 kg/m3");
}

TEST(ConvertTextTest, TypedNumbersBecomeSI) {
  const TConvert convert;
  const std::pair<const char*, double> cases[] = {
      {"12.5", 0.0125}, {" 12.5 ", 0.0125}, {"-3", -0.003}, {"+2", 0.002}, {"1e3", 1}, {".5", 0.0005},
  };
  for (const auto& [text, si] : cases)
    EXPECT_TRUE(RelativelyNear(convert.TextToSI(shared::cuLength, text), si));
}

TEST(ConvertTextTest, TextThatIsNoNumberRaisesTheConversionError) {
  const TConvert convert;
  for (const char* text : {"abc", "", "1,5", "12mm", "inf", "nan", "1e999", "--1"}) {
    try {
      convert.TextToSI(shared::cuLength, text);
      ADD_FAILURE() << "'" << text << "' was accepted";
    } catch (const shared::EConvertError& e) {
      EXPECT_EQ(e.what(), "'" + std::string(text) + "' is not a valid floating point value");
    }
  }
}

TEST(ConvertTextTest, ValuesOutsideTheirRangeRaiseTheConversionErrorNamingIt) {
  TConvert convert;
  const double turn = 2 * kPi;
  struct TCase {
    int system;
    int category;
    const char* text;
    double low, high;     // SI
    const char* message;  // empty: taken
  } cases[] = {
      {shared::usMetric, shared::cuLength, "1E300", -shared::kMaxLength, shared::kMaxLength,
       "Value should be between -1E9 and 1E9 mm"},
      {shared::usMetric, shared::cuLength, "-1000000001", -shared::kMaxLength, shared::kMaxLength,
       "Value should be between -1E9 and 1E9 mm"},
      {shared::usMetric, shared::cuLength, "-1000000000", -shared::kMaxLength, shared::kMaxLength, ""},
      {shared::usSI, shared::cuLength, "1000000", -shared::kMaxLength, shared::kMaxLength, ""},
      {shared::usUSCustomary, shared::cuLength, "4E7", -shared::kMaxLength, shared::kMaxLength,
       "Value should be between -3.937008E7 and 3.937008E7 in"},
      {shared::usMetric, shared::cuAngle, "-50", 0, kPi / 2, "Value should be between 0 and 90 \xB0"},
      {shared::usMetric, shared::cuAngle, "90", 0, kPi / 2, ""},
      {shared::usMetric, shared::cuAngle, "-360", -turn, turn, ""},
      {shared::usMetric, shared::cuAngle, "360.001", -turn, turn,
       "Value should be between -360 and 360 \xB0"},
      {shared::usMetric, shared::cuNone, "0.5", 1, 2, "Value should be between 1 and 2"},
      {shared::usMetric, shared::cuTime, "1E-300", shared::kMinTime, shared::kMaxTime,
       "Value should be between 1E-6 and 1000000 s"},
      {shared::usMetric, shared::cuTime, "0.000001", shared::kMinTime, shared::kMaxTime, ""},
      {shared::usMetric, shared::cuLength, "12mm", -1, 1, "'12mm' is not a valid floating point value"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.text);
    convert.SetSystem(c.system);
    try {
      const double si = convert.TextToSIWithin(c.category, c.text, c.low, c.high);
      EXPECT_STREQ(c.message, "") << "taken";
      EXPECT_EQ(si, convert.TextToSI(c.category, c.text));
    } catch (const shared::EConvertError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

struct RoundCase {
  int System;
  int Category;
  int N;
  double Value;
  double Down;
  double Up;
};

TEST(ConvertRoundTest, SignificantDigitsInShownUnits) {
  const RoundCase cases[] = {
      // 12.34 mm: e = 1, f = 10 -> 12.3 and 12.4 mm.
      {shared::usMetric, shared::cuLength, 2, 0.01234, 0.0123, 0.0124},
      {shared::usMetric, shared::cuLength, 2, -0.01234, -0.0124, -0.0123},
      // 0.5 m: e = 0, f = 100 -> stays.
      {shared::usSI, shared::cuLength, 2, 0.5, 0.5, 0.5},
      {shared::usSI, shared::cuLength, 1, 0, 0, 0},
      // 0.7 * 10 is 7.000000000000001 in doubles; an exact value must stay.
      {shared::usSI, shared::cuLength, 1, 0.7, 0.7, 0.7},
      {shared::usSI, shared::cuLength, 1, 0.74, 0.7, 0.8},
      // 12345: e = 4, f = 0.01.
      {shared::usSI, shared::cuLength, 2, 12345, 12300, 12400},
      // 1 rad = 57.29578 degrees: e = 1, f = 10.
      {shared::usMetric, shared::cuAngle, 2, 1.0, 57.2 * kPi / 180, 57.3 * kPi / 180},
      // Eleven digits: only representation error may count as an integer, not 0.2 of a step.
      {shared::usSI, shared::cuLength, 10, 1.23456789012, 1.2345678901, 1.2345678902},
      // Near the ends of the double range 10^(n - e) alone overflows: e = -299, f = 10^309.
      {shared::usSI, shared::cuLength, 10, 1.23456789012e-300, 1.23456789e-300, 1.234567891e-300},
      // More digits than a double holds: the value stays.
      {shared::usSI, shared::cuLength, 400, 0.01234, 0.01234, 0.01234},
  };
  for (const auto& c : cases) {
    TConvert convert;
    convert.SetSystem(c.System);
    SCOPED_TRACE(testing::Message() << c.Value << " n " << c.N);
    EXPECT_NEAR(convert.RoundDownSignificant(c.Category, c.N, c.Value), c.Down, 1e-12 * std::fabs(c.Value));
    EXPECT_NEAR(convert.RoundUpSignificant(c.Category, c.N, c.Value), c.Up, 1e-12 * std::fabs(c.Value));
  }
}

class ConvertSettingsTest : public shared::test::TSettingsStoreTest {
 protected:
  std::map<std::string, std::string>& Section() { return fStore.Values["Convert"]; }
};

TEST_F(ConvertSettingsTest, NothingIsReadOrWrittenWithoutAKey) {
  Section()["SystemOfUnits"] = "0";
  TConvert convert;
  convert.LoadSettings();
  EXPECT_EQ(convert.UnitSystem(), shared::usMetric);
  fStore.Values.clear();
  convert.SaveSettings();
  EXPECT_TRUE(fStore.Values.empty());
}

TEST_F(ConvertSettingsTest, CustomUnitsSurviveSaveAndLoad) {
  TConvert convert;
  convert.SetRegistryKey("Software\\Orvane\\Convert");
  EXPECT_EQ(fLastKey, "Software\\Orvane\\Convert");
  convert.SetCurrentUnit(shared::cuLength, 7);
  convert.SetCurrentUnit(shared::cuPower, 8);
  convert.SetSystem(shared::usCustom);
  ASSERT_TRUE(convert.SetPrecisionDigits(10, 4));
  convert.SaveSettings();
  EXPECT_EQ(Section()["SystemOfUnits"], "4");
  EXPECT_EQ(Section()["cuLength"], "7");
  EXPECT_EQ(Section()["cuPower"], "8");
  EXPECT_EQ(Section()["cuTime"], "0");
  EXPECT_EQ(Section()["Precision"], "10");
  EXPECT_EQ(Section()["Digits"], "4");

  TConvert loaded;
  loaded.SetRegistryKey("Software\\Orvane\\Convert");
  EXPECT_EQ(loaded.UnitSystem(), shared::usCustom);
  EXPECT_EQ(loaded.UnitSymbol(shared::cuLength), "mile");
  EXPECT_EQ(loaded.UnitSymbol(shared::cuPower), "hp");
  EXPECT_EQ(loaded.UnitSymbol(shared::cuAngle), "\xB0");  // from the metric preset
  EXPECT_EQ(loaded.Precision(), 10);
  EXPECT_EQ(loaded.Digits(), 4);
}

TEST_F(ConvertSettingsTest, PresetSystemWritesNoUnitsAndIgnoresStoredOnes) {
  TConvert convert;
  convert.SetRegistryKey("K");
  convert.SetSystem(shared::usUKImperial);
  convert.SaveSettings();
  EXPECT_EQ(Section().count("cuLength"), 0u);
  Section()["cuLength"] = "7";
  TConvert loaded;
  loaded.SetRegistryKey("K");
  EXPECT_EQ(loaded.UnitSystem(), shared::usUKImperial);
  EXPECT_EQ(loaded.UnitSymbol(shared::cuLength), "in");
  EXPECT_EQ(loaded.UnitSymbol(shared::cuWork), "Btu");
}

struct BadSettingsCase {
  const char* System;
  const char* Precision;
  const char* Digits;
  const char* Length;
  int ExpectedSystem;
  int ExpectedPrecision;
  int ExpectedDigits;
  const char* ExpectedLength;
};

TEST_F(ConvertSettingsTest, BadStoredValuesFallBack) {
  const BadSettingsCase cases[] = {
      {nullptr, nullptr, nullptr, nullptr, 1, 7, 3, "mm"},
      {"5", "8", "2", nullptr, 1, 8, 2, "mm"},
      {"-1", "8", "2", nullptr, 1, 8, 2, "mm"},
      {"abc", nullptr, nullptr, nullptr, 1, 7, 3, "mm"},
      {"0", "13", "3", nullptr, 0, 7, 3, "m"},
      {"0", "1", "0", nullptr, 0, 7, 3, "m"},
      {"0", "4", "3", nullptr, 0, 7, 3, "m"},
      {"0", "12", "12", nullptr, 0, 7, 3, "m"},
      {"0", "5", "-1", nullptr, 0, 7, 3, "m"},
      {"0", "2", "0", nullptr, 0, 2, 0, "m"},
      {"0", "12", "10", nullptr, 0, 12, 10, "m"},
      {"4", nullptr, nullptr, "99", 4, 7, 3, "m"},
      {"4", nullptr, nullptr, "-1", 4, 7, 3, "m"},
      {"4", nullptr, nullptr, "4", 4, 7, 3, "in"},
      {"4", nullptr, nullptr, nullptr, 4, 7, 3, "m"},
  };
  for (const auto& c : cases) {
    fStore.Values.clear();
    if (c.System) Section()["SystemOfUnits"] = c.System;
    if (c.Precision) Section()["Precision"] = c.Precision;
    if (c.Digits) Section()["Digits"] = c.Digits;
    if (c.Length) Section()["cuLength"] = c.Length;
    TConvert convert;
    convert.SetRegistryKey("K");
    SCOPED_TRACE(testing::Message() << (c.System ? c.System : "-") << " " << (c.Precision ? c.Precision : "-")
                                    << " " << (c.Digits ? c.Digits : "-") << " "
                                    << (c.Length ? c.Length : "-"));
    EXPECT_EQ(convert.UnitSystem(), c.ExpectedSystem);
    EXPECT_EQ(convert.Precision(), c.ExpectedPrecision);
    EXPECT_EQ(convert.Digits(), c.ExpectedDigits);
    EXPECT_EQ(convert.UnitSymbol(shared::cuLength), c.ExpectedLength);
  }
}

TEST(ConvertInstanceTest, ProcessWideInstance) {
  EXPECT_THROW(shared::Convert(), std::logic_error);  // before start-up created it
  shared::CreateConvert();
  shared::Convert().SetSystem(shared::usSI);
  shared::CreateConvert();  // a second call keeps the instance
  EXPECT_EQ(shared::Convert().UnitSystem(), shared::usSI);
  shared::FreeConvert();
  shared::CreateConvert();
  EXPECT_EQ(shared::Convert().UnitSystem(), shared::usMetric);
  shared::FreeConvert();
  EXPECT_THROW(shared::Convert(), std::logic_error);
}

}  // namespace
