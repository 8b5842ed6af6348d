// Unit conversion service: 21 quantity categories with their units, the five unit systems, the
// number format of displayed values and the settings under the "Convert" section of a key.
#pragma once

#include <array>
#include <numbers>
#include <stdexcept>
#include <string>
#include <string_view>

namespace shared {

// Raised by TConvert::TextToSI for text that is not a number; dialogs catch it and show what().
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TFloatFormat { General, Fixed };

// Bounds of typed values. No real linkage comes near them, and beyond them drawings, solvers and
// files lose their numbers (a coordinate of 1E300 overflows every distance taken from it).
inline constexpr double kMaxLength = 1e6;  // metres, either sign: a coordinate or a link length
inline constexpr double kMaxTime = 1e6;    // seconds: the cycle time of a motion law
inline constexpr double kMinTime = 1e-6;   // seconds: a shorter cycle overflows accelerations
// Radians, either sign: a prescribed rotation of a single-input linkage, which runs its whole
// path within one turn of its input, and an angle of a polar position.
inline constexpr double kMaxRotation = 2 * std::numbers::pi;

// SI = shown * Factor + Offset. Texts are Windows-1252.
struct TConvertUnit {
  std::string Name;
  std::string Symbol;
  double Factor = 1;
  double Offset = 0;
};

struct TConvertCategory {
  static constexpr int kMaxUnits = 11;
  std::string Name;
  int CurrentUnit = 0;
  int UnitCount = 0;
  std::array<TConvertUnit, kMaxUnits> Units;
  TFloatFormat Format = TFloatFormat::Fixed;
};

// Category numbers that callers pass; any number outside 0..20 means cuNone.
enum TConvertCategoryId : int {
  cuNone = 0,
  cuLength,
  cuArea,
  cuVolume,
  cuLength4,
  cuTime,
  cuVel,
  cuAcc,
  cuAngle,
  cuAngVel,
  cuAngAcc,
  cuTemp,
  cuStrain,
  cuStress,
  cuStiff,
  cuMass,
  cuDensity,
  cuForce,
  cuMoment,
  cuWork,
  cuPower,
};

// Unit systems, in the order of the dialog's radio group.
enum TUnitSystem : int { usSI = 0, usMetric, usUSCustomary, usUKImperial, usCustom };

class TConvert {
 public:
  static constexpr int kCategoryCount = 21;
  static constexpr int kSystemCount = 5;
  static constexpr int kMinPrecision = 2, kMaxPrecision = 12;
  static constexpr int kMinDigits = 0, kMaxDigits = 11;
  static constexpr int kDefaultPrecision = 7, kDefaultDigits = 3;

  // The full table, Precision 7, Digits 3, fixed format, Metric Engineering.
  TConvert();

  // Stores the key and loads the settings from it.
  void SetRegistryKey(const std::string& key);
  const std::string& RegistryKey() const { return fRegistryKey; }
  // Both do nothing while no key is set.
  void LoadSettings();
  void SaveSettings() const;

  double ToSI(int category, double shown) const;
  double FromSI(int category, double si) const;
  // Throws EConvertError when the text is not a number.
  double TextToSI(int category, const std::string& text) const;
  // TextToSI that also throws EConvertError when the value lies outside low..high (SI, both
  // taken); the message names the range in the display unit.
  double TextToSIWithin(int category, const std::string& text, double low, double high) const;
  // A bound (SI) as the range messages show it: in the display unit, without the fixed decimals
  // ("1E9" for 1000 km in millimetres).
  std::string BoundText(int category, double si) const;
  std::string FormatSI(int category, double si) const;
  std::string FormatSIWithUnit(int category, double si) const;
  std::string UnitSymbol(int category) const;
  std::string UnitLabel(int category) const;
  std::string SampleNumberText(int category) const;
  std::string SampleValueText(int category) const;
  double RoundDownSignificant(int category, int n, double si) const;
  double RoundUpSignificant(int category, int n, double si) const;
  // "1 mm = 0.001 m": one current unit in SI, nine significant digits.
  std::string ConversionText(int category) const;

  // Applies the preset of systems 0..3; 4 keeps the chosen units. Any other value applies
  // nothing and leaves the system Custom, since the units stay as they are.
  void SetSystem(int system);
  int UnitSystem() const { return fUnitSystem; }
  // An index outside the category's units selects unit 0.
  void SetCurrentUnit(int category, int index);
  int Precision() const { return fPrecision; }
  int Digits() const { return fDigits; }
  // Taken only when both are in range and Precision - Digits > 1; false leaves the old values.
  bool SetPrecisionDigits(int precision, int digits);

  const TConvertCategory& Category(int category) const;
  const TConvertUnit& CurrentUnit(int category) const;

  // Display and typed numbers use this separator; set by the program from the user's locale.
  char DecimalSeparator = '.';

  // Display notations, with DecimalSeparator for the point. Fixed: `digits` behind the point,
  // at most `precision` significant digits (zeros beyond them), and the general form when the
  // integer part needs more than `precision` digits. General: at most `precision` significant
  // digits, trailing zeros dropped; scientific ("1.5E-6", "1E20") below 0.00001 or beyond
  // `precision` integer digits, the exponent with at least `expDigits` (0..4) digits.
  std::string FormatFixed(double value, int precision, int digits) const;
  std::string FormatGeneral(double value, int precision, int expDigits) const;

  static std::string SystemCaption(int system);
  static const char* RegistryValueName(int category);

 private:
  void AddUnit(int category, const std::string& name, const std::string& symbol, double factor,
               double offset = 0);
  void SetCategoryName(int category, const std::string& name);
  void SetFloatFormat(TFloatFormat format);
  void BuildTable();
  static int ValidCategory(int category);
  double RoundSignificant(int category, int n, double si, bool up) const;

  std::array<TConvertCategory, kCategoryCount> fCategories;
  std::string fRegistryKey;
  int fUnitSystem = usMetric;
  int fPrecision = kDefaultPrecision;
  int fDigits = kDefaultDigits;
};

// The process-wide instance, created and freed by the program's start-up and shutdown code
// (a second CreateConvert keeps the first). Convert() raises std::logic_error when none exists.
void CreateConvert();
void FreeConvert();
TConvert& Convert();

}  // namespace shared
