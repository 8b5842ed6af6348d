// Unit table, unit systems, display formatting and settings of the unit conversion service.
#include "shared/Convert.h"

#include <algorithm>
#include <cassert>
#include <charconv>
#include <cmath>
#include <limits>
#include <numbers>

#include "shared/ProcessWide.h"
#include "shared/RealText.h"
#include "shared/Settings.h"

namespace shared {

namespace {

constexpr const char* kSection = "Convert";

constexpr const char* kRegistryNames[TConvert::kCategoryCount] = {
    "",        "cuLength", "cuArea",    "cuVolume", "cuLength4", "cuTime",   "cuVel",
    "cuAcc",   "cuAngle",  "cuAngVel",  "cuAngAcc", "cuTemp",    "cuStrain", "cuStress",
    "cuStiff", "cuMass",   "cuDensity", "cuForce",  "cuMoment",  "cuWork",   "cuPower"};

constexpr const char* kSystemCaptions[TConvert::kSystemCount] = {
    "SI Units (meters)", "Metric Engineering (millimeters)", "US Customary Units (inches)",
    "UK Imperial Units (inches)", "Custom Units"};

struct TPresetUnit {
  int Category;
  const char* Symbol;
};

// clang-format off
constexpr TPresetUnit kMetricPreset[] = {
    {cuLength, "mm"},   {cuArea, "mm\xB2"},  {cuVolume, "mm3"},  {cuLength4, "mm4"},
    {cuVel, "mm/s"},    {cuAcc, "mm/s\xB2"}, {cuAngle, "\xB0"},  {cuTemp, "\xB0" "C"},
    {cuStrain, "%"},    {cuStress, "MPa"},   {cuStiff, "N/mm"},  {cuWork, "kJ"}};

// The UK Imperial preset is this one with Energy in Btu.
constexpr TPresetUnit kUSPreset[] = {
    {cuLength, "in"},     {cuArea, "in\xB2"},       {cuVolume, "ft3"},  {cuLength4, "in4"},
    {cuVel, "ft/s"},      {cuAcc, "ft/s\xB2"},      {cuAngle, "\xB0"},  {cuAngVel, "rpm"},
    {cuTemp, "\xB0" "F"}, {cuStrain, "%"},          {cuStress, "psi"},  {cuStiff, "lb/ft"},
    {cuMass, "slug"},     {cuDensity, "slugs/ft3"}, {cuForce, "lb"},    {cuMoment, "N.ft"},
    {cuWork, "ft-lb"},    {cuPower, "ft-lb/s"}};
// clang-format on

// Digits of a real rounded to `significant` digits: value = 0.Digits * 10^Exponent, trailing
// zeros removed; zero gives no digits.
struct TDecimal {
  bool Negative = false;
  std::string Digits;
  int Exponent = 0;
};

TDecimal ToDecimal(double value, int significant) {
  TDecimal d;
  d.Negative = std::signbit(value);
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                    std::chars_format::scientific, significant - 1);
  const std::string_view text(buffer, result.ptr - buffer);
  const auto e = text.find('e');
  for (char c : text.substr(0, e))
    if (c != '.') d.Digits += c;
  int exponent = 0;
  std::string_view expText = text.substr(e + 1);
  if (!expText.empty() && expText.front() == '+') expText.remove_prefix(1);
  std::from_chars(expText.data(), expText.data() + expText.size(), exponent);
  while (!d.Digits.empty() && d.Digits.back() == '0') d.Digits.pop_back();
  d.Exponent = d.Digits.empty() ? 0 : exponent + 1;
  return d;
}

std::string NonFiniteText(double value) {
  if (std::isnan(value)) return "NAN";
  return value < 0 ? "-INF" : "INF";
}

char DigitAt(const std::string& digits, int index) {
  return index >= 0 && index < static_cast<int>(digits.size()) ? digits[index] : '0';
}

}  // namespace

TConvert::TConvert() {
  BuildTable();
  SetFloatFormat(TFloatFormat::Fixed);
  SetSystem(usMetric);
}

void TConvert::BuildTable() {
  // The customary units are defined exactly from these; derived factors are their products.
  const double inch = 0.0254;
  const double foot = 12 * inch;
  const double yard = 3 * foot;
  const double pound = 4.44822;
  const double kip = 4448.22;
  const double slug = 14.5939;
  const double degree = std::numbers::pi / 180;

  SetCategoryName(cuNone, "None");
  AddUnit(cuNone, "no dimension", "", 1);

  SetCategoryName(cuLength, "Length");
  AddUnit(cuLength, "meter (SI)", "m", 1);
  AddUnit(cuLength, "decimeter", "dm", 0.1);
  AddUnit(cuLength, "centimeter", "cm", 0.01);
  AddUnit(cuLength, "millimeter", "mm", 0.001);
  AddUnit(cuLength, "inch", "in", inch);
  AddUnit(cuLength, "foot", "ft", foot);
  AddUnit(cuLength, "yard", "yd", yard);
  AddUnit(cuLength, "mile", "mile", 1609.344);

  SetCategoryName(cuArea, "Area");
  AddUnit(cuArea, "square meter (SI)", "m\xB2", 1);
  AddUnit(cuArea, "square decimeter", "dm\xB2", 0.01);
  AddUnit(cuArea, "square centimeter", "cm\xB2", 0.0001);
  AddUnit(cuArea, "square millimeter", "mm\xB2", 1e-6);
  AddUnit(cuArea, "square inch", "in\xB2", inch * inch);
  AddUnit(cuArea, "square foot", "ft\xB2", foot * foot);
  AddUnit(cuArea, "square yard", "yd\xB2", yard * yard);

  SetCategoryName(cuVolume, "Volume");
  AddUnit(cuVolume, "cubic meter (SI)", "m3", 1);
  AddUnit(cuVolume, "cubic decimeter", "dm3", 0.001);
  AddUnit(cuVolume, "cubic centimeter", "cm3", 1e-6);
  AddUnit(cuVolume, "cubic millimeter", "mm3", 1e-9);
  AddUnit(cuVolume, "liter", "l", 0.001);
  AddUnit(cuVolume, "cubic inch", "in3", inch * inch * inch);
  AddUnit(cuVolume, "cubic foot", "ft3", foot * foot * foot);
  AddUnit(cuVolume, "cubic yard", "yd3", yard * yard * yard);

  SetCategoryName(cuLength4, "Length4");
  AddUnit(cuLength4, "meter4 (SI)", "m4", 1);
  AddUnit(cuLength4, "decimeter4", "dm4", 0.0001);
  AddUnit(cuLength4, "centimeter4", "cm4", 1e-8);
  AddUnit(cuLength4, "millimeter4", "mm4", 1e-12);
  AddUnit(cuLength4, "inch4", "in4", inch * inch * inch * inch);
  AddUnit(cuLength4, "foot4", "ft4", foot * foot * foot * foot);
  AddUnit(cuLength4, "yard4", "yd4", yard * yard * yard * yard);

  SetCategoryName(cuTime, "Time");
  AddUnit(cuTime, "seconds (SI)", "s", 1);
  AddUnit(cuTime, "minutes", "min", 60);
  AddUnit(cuTime, "hours", "hr", 3600);

  SetCategoryName(cuVel, "Velocity");
  AddUnit(cuVel, "meter per sec (SI)", "m/s", 1);
  AddUnit(cuVel, "decimeter per sec", "dm/s", 0.1);
  AddUnit(cuVel, "centimeter per sec", "cm/s", 0.01);
  AddUnit(cuVel, "millimeter per sec", "mm/s", 0.001);
  AddUnit(cuVel, "kilometer per hour", "km/hr", 1 / 3.6);
  AddUnit(cuVel, "inch per sec", "in/s", inch);
  AddUnit(cuVel, "feet per sec", "ft/s", foot);
  AddUnit(cuVel, "yard per sec", "yd/s", yard);
  AddUnit(cuVel, "miles per hour", "mph", 0.44704);

  SetCategoryName(cuAcc, "Acceleration");
  AddUnit(cuAcc, "meter per sec2 (SI)", "m/s\xB2", 1);
  AddUnit(cuAcc, "decimeter per sec2", "dm/s\xB2", 0.1);
  AddUnit(cuAcc, "centimeter per sec2", "cm/s\xB2", 0.01);
  AddUnit(cuAcc, "millimeter per sec2", "mm/s\xB2", 0.001);
  AddUnit(cuAcc, "inch per sec2", "in/s\xB2", inch);
  AddUnit(cuAcc, "foot per sec2", "ft/s\xB2", foot);
  AddUnit(cuAcc, "yard per sec2", "yd/s\xB2", yard);

  SetCategoryName(cuAngle, "Angle");
  AddUnit(cuAngle, "radians (SI)", "rad", 1);
  AddUnit(cuAngle, "degrees", "\xB0", degree);
  AddUnit(cuAngle, "grads", "grad", std::numbers::pi / 200);

  SetCategoryName(cuAngVel, "Angular Velocity");
  AddUnit(cuAngVel, "rad per sec (SI)", "rad/s", 1);
  AddUnit(cuAngVel, "degrees per sec", "\xB0/s", degree);
  AddUnit(cuAngVel, "revolutions per minute", "rpm", 2 * std::numbers::pi / 60);
  AddUnit(cuAngVel, "revolutions per second", "Hz", 2 * std::numbers::pi);

  SetCategoryName(cuAngAcc, "Angular Acceleration");
  AddUnit(cuAngAcc, "rad per sec\xB2 (SI)", "rad/s\xB2", 1);
  AddUnit(cuAngAcc, "degrees per sec\xB2", "\xB0/s\xB2", degree);

  // 273.16 and 0.55555555 are the table's own constants (not 273.15 and 5/9); through them
  // 32 degF and 0 degC agree to the shown digits.
  SetCategoryName(cuTemp, "Temperature");
  AddUnit(cuTemp, "Kelvin (SI)", "\xB0K", 1);
  const std::string degreeSign = "\xB0";  // Windows-1252 byte 176
  AddUnit(cuTemp, "Celsius", degreeSign + "C", 1, 273.16);
  AddUnit(cuTemp, "Fahrenheit", degreeSign + "F", 0.55555555, 255.38222);

  SetCategoryName(cuStrain, "Strain");
  AddUnit(cuStrain, "none", "", 1);
  AddUnit(cuStrain, "percentage", "%", 0.01);

  SetCategoryName(cuStress, "Pressure or Stress");
  AddUnit(cuStress, "Pascal (SI)", "Pa", 1);
  AddUnit(cuStress, "Kilo Pascal", "kPa", 1000);
  AddUnit(cuStress, "Mega Pascal", "MPa", 1e6);
  AddUnit(cuStress, "Giga Pascal", "GPa", 1e9);
  AddUnit(cuStress, "bar", "bar", 100000);
  AddUnit(cuStress, "pound per square inch", "psi", pound / (inch * inch));
  AddUnit(cuStress, "pound per square foot", "psf", pound / (foot * foot));
  AddUnit(cuStress, "kip per square inch", "ksi", kip / (inch * inch));
  AddUnit(cuStress, "kip per square foot", "ksf", kip / (foot * foot));

  SetCategoryName(cuStiff, "Stiffness");
  AddUnit(cuStiff, "Newton per meter (SI)", "N/m", 1);
  AddUnit(cuStiff, "Newton per decimeter", "N/dm", 10);
  AddUnit(cuStiff, "Newton per centimeter", "N/cm", 100);
  AddUnit(cuStiff, "Newton per millimeter", "N/mm", 1000);
  AddUnit(cuStiff, "Pound per inch", "lb/in", pound / inch);
  AddUnit(cuStiff, "Pound per foot", "lb/ft", pound / foot);
  AddUnit(cuStiff, "Pound per yard", "lb/yd", pound / yard);

  SetCategoryName(cuMass, "Mass");
  AddUnit(cuMass, "kilogram (SI)", "kg", 1);
  AddUnit(cuMass, "gram", "gr", 0.001);
  AddUnit(cuMass, "slug", "slug", slug);

  SetCategoryName(cuDensity, "Density");
  AddUnit(cuDensity, "kilogram per cubic meter (SI)", "kg/m3", 1);
  AddUnit(cuDensity, "kilogram per cubic decimeter", "kg/dm3", 1000);
  AddUnit(cuDensity, "kilogram per cubic centimeter", "kg/cm3", 1e6);
  AddUnit(cuDensity, "kilogram per cubic millimeter", "kg/mm3", 1e9);
  AddUnit(cuDensity, "slugs per cubic inch", "slugs/in3", slug / (inch * inch * inch));
  AddUnit(cuDensity, "slugs per cubic foot", "slugs/ft3", slug / (foot * foot * foot));
  AddUnit(cuDensity, "slugs per cubic yard", "slugs/yd3", slug / (yard * yard * yard));

  SetCategoryName(cuForce, "Force");
  AddUnit(cuForce, "Newton (SI)", "N", 1);
  AddUnit(cuForce, "kilo Newton", "kN", 1000);
  AddUnit(cuForce, "kilogram force", "kgf", 9.80665);
  AddUnit(cuForce, "pound", "lb", pound);
  AddUnit(cuForce, "kip (1000 pounds)", "k", kip);

  SetCategoryName(cuMoment, "Moment of Force, Torque");
  AddUnit(cuMoment, "Newton meter (SI)", "N.m", 1);
  AddUnit(cuMoment, "Newton decimeter", "N.dm", 0.1);
  AddUnit(cuMoment, "Newton centimeter", "N.cm", 0.01);
  AddUnit(cuMoment, "Newton millimeter", "N.mm", 0.001);
  AddUnit(cuMoment, "Newton inch", "N.in", inch);
  AddUnit(cuMoment, "Newton foot", "N.ft", foot);
  AddUnit(cuMoment, "Newton yard", "N.yd", yard);

  SetCategoryName(cuWork, "Energy or Work");
  AddUnit(cuWork, "Joule (SI)", "J", 1);
  AddUnit(cuWork, "kilo Joule", "kJ", 1000);
  AddUnit(cuWork, "Mega Joule", "MJ", 1e6);
  AddUnit(cuWork, "Giga Joule", "GJ", 1e9);
  AddUnit(cuWork, "inch-pound", "in-lb", inch * pound);
  AddUnit(cuWork, "foot-pound", "ft-lb", foot * pound);
  AddUnit(cuWork, "yard-pound", "yd-lb", yard * pound);
  AddUnit(cuWork, "inch-kip", "in-k", inch * kip);
  AddUnit(cuWork, "foot-kip", "ft-k", foot * kip);
  AddUnit(cuWork, "yard-kip", "yd-k", yard * kip);
  AddUnit(cuWork, "British thermal unit", "Btu", 1055.06);

  SetCategoryName(cuPower, "Power");
  AddUnit(cuPower, "Watt (SI)", "W", 1);
  AddUnit(cuPower, "kilo Watt", "kW", 1000);
  AddUnit(cuPower, "Mega Watt", "MW", 1e6);
  AddUnit(cuPower, "Giga Watt", "GW", 1e9);
  AddUnit(cuPower, "inch-pound per second", "in-lb/s", inch * pound);
  AddUnit(cuPower, "foot-pound per second", "ft-lb/s", foot * pound);
  AddUnit(cuPower, "foot-pound per minute", "ft-lb/min", foot * pound / 60);
  AddUnit(cuPower, "yard-pound per second", "yd-lb/s", yard * pound);
  AddUnit(cuPower, "horsepower", "hp", 745.6996008);
}

int TConvert::ValidCategory(int category) {
  return category >= 0 && category < kCategoryCount ? category : cuNone;
}

void TConvert::SetCategoryName(int category, const std::string& name) {
  auto& c = fCategories[ValidCategory(category)];
  c.Name = name;
  c.CurrentUnit = 0;
  c.UnitCount = 0;
}

void TConvert::AddUnit(int category, const std::string& name, const std::string& symbol, double factor,
                       double offset) {
  auto& c = fCategories[ValidCategory(category)];
  assert(c.UnitCount < TConvertCategory::kMaxUnits);
  if (c.UnitCount >= TConvertCategory::kMaxUnits) return;
  c.Units[c.UnitCount++] = TConvertUnit{name, symbol, factor, offset};
}

void TConvert::SetFloatFormat(TFloatFormat format) {
  for (auto& c : fCategories) c.Format = format;
  fCategories[cuNone].Format = TFloatFormat::General;
}

void TConvert::SetCurrentUnit(int category, int index) {
  auto& c = fCategories[ValidCategory(category)];
  c.CurrentUnit = index >= 0 && index < c.UnitCount ? index : 0;
}

void TConvert::SetSystem(int system) {
  if (system < usSI || system > usCustom) {
    fUnitSystem = usCustom;
    return;
  }
  fUnitSystem = system;
  if (system == usCustom) return;
  for (auto& c : fCategories) c.CurrentUnit = 0;
  auto apply = [this](const TPresetUnit& preset) {
    auto& c = fCategories[preset.Category];
    for (int i = 0; i < c.UnitCount; ++i)
      if (c.Units[i].Symbol == preset.Symbol) c.CurrentUnit = i;
  };
  if (system == usMetric) {
    for (const auto& p : kMetricPreset) apply(p);
  } else if (system == usUSCustomary || system == usUKImperial) {
    for (const auto& p : kUSPreset) apply(p);
    if (system == usUKImperial) apply({cuWork, "Btu"});
  }
}

bool TConvert::SetPrecisionDigits(int precision, int digits) {
  if (precision < kMinPrecision || precision > kMaxPrecision || digits < kMinDigits || digits > kMaxDigits ||
      precision - digits < 2)
    return false;
  fPrecision = precision;
  fDigits = digits;
  return true;
}

const TConvertCategory& TConvert::Category(int category) const {
  return fCategories[ValidCategory(category)];
}

const TConvertUnit& TConvert::CurrentUnit(int category) const {
  const auto& c = Category(category);
  return c.Units[c.CurrentUnit];
}

void TConvert::SetRegistryKey(const std::string& key) {
  fRegistryKey = key;
  LoadSettings();
}

void TConvert::LoadSettings() {
  if (fRegistryKey.empty()) return;
  const auto settings = OpenSettings(fRegistryKey);
  int system = settings->ReadInteger(kSection, "SystemOfUnits", usMetric);
  if (system < usSI || system > usCustom) system = usMetric;
  SetSystem(system);
  if (system == usCustom) {
    for (int c = cuLength; c < kCategoryCount; ++c)
      SetCurrentUnit(c, settings->ReadInteger(kSection, kRegistryNames[c], 0));
    SetCurrentUnit(cuNone, 0);
  }
  const int precision = settings->ReadInteger(kSection, "Precision", kDefaultPrecision);
  const int digits = settings->ReadInteger(kSection, "Digits", kDefaultDigits);
  if (!SetPrecisionDigits(precision, digits)) {
    fPrecision = kDefaultPrecision;
    fDigits = kDefaultDigits;
  }
}

void TConvert::SaveSettings() const {
  if (fRegistryKey.empty()) return;
  const auto settings = OpenSettings(fRegistryKey);
  settings->WriteInteger(kSection, "SystemOfUnits", fUnitSystem);
  if (fUnitSystem == usCustom)
    for (int c = cuLength; c < kCategoryCount; ++c)
      settings->WriteInteger(kSection, kRegistryNames[c], fCategories[c].CurrentUnit);
  settings->WriteInteger(kSection, "Precision", fPrecision);
  settings->WriteInteger(kSection, "Digits", fDigits);
}

double TConvert::ToSI(int category, double shown) const {
  const auto& u = CurrentUnit(category);
  return shown * u.Factor + u.Offset;
}

double TConvert::FromSI(int category, double si) const {
  const auto& u = CurrentUnit(category);
  return (si - u.Offset) / u.Factor;
}

double TConvert::TextToSI(int category, const std::string& text) const {
  std::string plain = text;
  bool valid = true;
  if (DecimalSeparator != '.') {
    for (char& c : plain) {
      if (c == '.')
        valid = false;
      else if (c == DecimalSeparator)
        c = '.';
    }
  }
  double value = 0;
  if (!valid || !ParseReal(plain, value) || !std::isfinite(value))
    throw EConvertError("'" + text + "' is not a valid floating point value");
  return ToSI(category, value);
}

double TConvert::TextToSIWithin(int category, const std::string& text, double low, double high) const {
  const double si = TextToSI(category, text);
  // A bound typed as shown ("360" degrees) may land a rounding off the bound in SI.
  if (si >= low - 1e-12 * std::fabs(low) && si <= high + 1e-12 * std::fabs(high)) return si;
  // "-1E9 and 1E9 mm", "0 and 90 \xB0".
  std::string message =
      "Value should be between " + BoundText(category, low) + " and " + BoundText(category, high);
  if (ValidCategory(category) != cuNone) message += " " + UnitSymbol(category);
  throw EConvertError(message);
}

std::string TConvert::BoundText(int category, double si) const {
  return FormatGeneral(FromSI(category, si), fPrecision, 0);
}

std::string TConvert::FormatFixed(double value, int precision, int digits) const {
  if (!std::isfinite(value)) return NonFiniteText(value);
  precision = std::clamp(precision, 1, 17);
  digits = std::clamp(digits, 0, 18);
  const TDecimal d = ToDecimal(value, precision);
  if (d.Exponent > precision) return FormatGeneral(value, precision, digits);
  std::string text;
  if (d.Exponent + digits < precision) {
    // Fewer digits behind the point than the precision allows: round there.
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed, digits);
    text.assign(buffer, result.ptr);
  } else {
    for (int i = 0; i < std::max(d.Exponent, 1); ++i) text += d.Exponent > 0 ? DigitAt(d.Digits, i) : '0';
    if (digits > 0) text += '.';
    for (int i = 0; i < digits; ++i) text += DigitAt(d.Digits, d.Exponent + i);
  }
  const bool zero = text.find_first_not_of("0.") == std::string::npos;
  for (char& c : text)
    if (c == '.') c = DecimalSeparator;
  return d.Negative && !zero ? "-" + text : text;
}

std::string TConvert::FormatGeneral(double value, int precision, int expDigits) const {
  if (!std::isfinite(value)) return NonFiniteText(value);
  precision = std::clamp(precision, 1, 17);
  expDigits = std::clamp(expDigits, 0, 4);
  const TDecimal d = ToDecimal(value, precision);
  if (d.Digits.empty()) return "0";
  const int count = static_cast<int>(d.Digits.size());
  std::string text = d.Negative ? "-" : "";
  if (d.Exponent <= precision && d.Exponent >= -4) {
    if (d.Exponent > 0) {
      for (int i = 0; i < d.Exponent; ++i) text += DigitAt(d.Digits, i);
      if (count > d.Exponent) text += DecimalSeparator + d.Digits.substr(d.Exponent);
    } else {
      text += '0';
      text += DecimalSeparator;
      text.append(-d.Exponent, '0');
      text += d.Digits;
    }
    return text;
  }
  text += d.Digits[0];
  if (count > 1) text += DecimalSeparator + d.Digits.substr(1);
  const int exponent = d.Exponent - 1;
  text += 'E';
  if (exponent < 0) text += '-';
  std::string expText = std::to_string(std::abs(exponent));
  if (static_cast<int>(expText.size()) < expDigits) expText.insert(0, expDigits - expText.size(), '0');
  return text + expText;
}

std::string TConvert::FormatSI(int category, double si) const {
  const double shown = FromSI(category, si);
  if (Category(category).Format == TFloatFormat::Fixed) return FormatFixed(shown, fPrecision, fDigits);
  return FormatGeneral(shown, fPrecision, fDigits);
}

std::string TConvert::FormatSIWithUnit(int category, double si) const {
  if (ValidCategory(category) == cuNone) return FormatSI(category, si);
  return FormatSI(category, si) + " " + UnitSymbol(category);
}

std::string TConvert::UnitSymbol(int category) const { return CurrentUnit(category).Symbol; }

std::string TConvert::UnitLabel(int category) const {
  if (ValidCategory(category) == cuNone) return "";
  return "[" + UnitSymbol(category) + "]";
}

std::string TConvert::SampleNumberText(int) const { return "123456.1234"; }

std::string TConvert::SampleValueText(int category) const {
  return std::string("12345678901234567890").substr(0, fPrecision) + " " + UnitSymbol(category);
}

namespace {

// Rounds d to the 10^-k grid with floor or ceil. A product that misses an integer only by
// representation error (0.7 * 10) counts as that integer, so an exact value is not pushed a step.
// 10^|k| is taken in two factors where one would overflow (values near the ends of the double
// range); a grid finer or coarser than any double keeps d.
double RoundToGrid(double d, int k, bool up) {
  const int magnitude = std::abs(k);
  const int first = magnitude > 300 ? magnitude / 2 : magnitude;
  const double s1 = std::pow(10.0, first), s2 = std::pow(10.0, magnitude - first);
  double scaled = k >= 0 ? d * s1 * s2 : d / s1 / s2;
  if (!std::isfinite(scaled) || scaled == 0) return d;
  const double nearest = std::nearbyint(scaled);
  if (std::fabs(scaled - nearest) <=
      8 * std::numeric_limits<double>::epsilon() * std::max(1.0, std::fabs(nearest)))
    scaled = nearest;
  scaled = up ? std::ceil(scaled) : std::floor(scaled);
  const double rounded = k >= 0 ? scaled / s1 / s2 : scaled * s1 * s2;
  return std::isfinite(rounded) ? rounded : d;
}

}  // namespace

double TConvert::RoundSignificant(int category, int n, double si, bool up) const {
  const double d = FromSI(category, si);
  if (d == 0 || !std::isfinite(d)) return si;
  const int e = static_cast<int>(std::trunc(std::log10(std::fabs(d))));
  return ToSI(category, RoundToGrid(d, n - e, up));
}

double TConvert::RoundDownSignificant(int category, int n, double si) const {
  return RoundSignificant(category, n, si, false);
}

double TConvert::RoundUpSignificant(int category, int n, double si) const {
  return RoundSignificant(category, n, si, true);
}

std::string TConvert::ConversionText(int category) const {
  const auto& c = Category(category);
  return "1 " + CurrentUnit(category).Symbol + " = " + FormatGeneral(ToSI(category, 1), 9, 0) + " " +
         c.Units[0].Symbol;
}

std::string TConvert::SystemCaption(int system) {
  return system >= 0 && system < kSystemCount ? kSystemCaptions[system] : "";
}

const char* TConvert::RegistryValueName(int category) { return kRegistryNames[ValidCategory(category)]; }

void CreateConvert() { TProcessWide<TConvert>::CreateOnce(); }

void FreeConvert() { TProcessWide<TConvert>::Free(); }

TConvert& Convert() { return TProcessWide<TConvert>::Get("The unit conversion service"); }

}  // namespace shared
