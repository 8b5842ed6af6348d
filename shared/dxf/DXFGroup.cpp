// Group pairs of ASCII DXF files, read line by line in the C locale.
#include "shared/dxf/DXFGroup.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <sstream>
#include <utility>

#include "shared/Complex.h"
#include "shared/PaintSurface.h"
#include "shared/RealText.h"
#include "shared/TextLine.h"

namespace shared {

namespace {

constexpr TDXFProfile kAnimator{};

constexpr TDXFProfile MakeSynthesis() {
  TDXFProfile p;
  p.SynthesisValueKinds = true;
  p.FixedPen = true;
  p.FixedPenColor = kSilver;
  p.CircleSegments = 32;
  p.CircleSegmentsTransformed = 32;
  p.ArcSegmentsPerTurn = 32;
  p.UnrotatedText = true;
  p.OwnPlacement = false;
  p.FilterInDraw = false;
  p.ShowDimensionsAtCreation = false;
  p.ShowTextAtCreation = false;
  p.ClearKeepsDefaultName = true;
  return p;
}
constexpr TDXFProfile kSynthesis = MakeSynthesis();

bool In(int32_t code, int32_t low, int32_t high) { return code >= low && code <= high; }

// The number at the start of the line, leading blanks skipped; what follows a blank after it is
// ignored, but "1.5" is no integer.
template <typename T>
bool LeadingNumber(const std::string& line, T& value) {
  const char* p = line.data();
  const char* end = p + line.size();
  while (p < end && (*p == ' ' || *p == '\t')) ++p;
  if (p < end && *p == '+') ++p;
  const auto [rest, error] = std::from_chars(p, end, value);
  return error == std::errc() && rest != p && (rest == end || *rest == ' ' || *rest == '\t');
}

[[noreturn]] void LineError(int64_t line, const std::string& what, const std::string& text) {
  throw EFileReadError("DXF line " + std::to_string(line) + ": " + what + ", found \"" + text.substr(0, 40) +
                       "\"");
}

}  // namespace

const TDXFProfile& TDXFProfile::Animator() { return kAnimator; }
const TDXFProfile& TDXFProfile::Synthesis() { return kSynthesis; }

std::string DecodeDXFText(const std::string& text) {
  std::string result;
  size_t at = 0;
  for (size_t found; (found = text.find("%%", at)) != std::string::npos;) {
    result.append(text, at, found - at);
    const std::string code = text.substr(found, 3);
    at = std::min(found + 3, text.size());
    if (code == "%%p")
      result += '\xB1';
    else if (code == "%%c")
      result += 'D';
    else
      result += ' ';
  }
  result.append(text, at, std::string::npos);
  return result;
}

void TDXFGroup::Clear() {
  Code = 0;
  FloatValue = 0;
  IntValue = 0;
  StringValue.clear();
}

void TDXFGroup::Assign(const TDXFGroup& other) {
  Code = other.Code;
  FloatValue = other.FloatValue;
  IntValue = other.IntValue;
  StringValue = other.StringValue;
}

std::unique_ptr<TDXFGroup> TDXFGroup::Clone() const {
  auto copy = std::make_unique<TDXFGroup>(*FProfile);
  copy->Assign(*this);
  return copy;
}

TDXFValueKind TDXFGroup::ValueKind(int32_t code) const {
  if (In(code, 10, 59) || In(code, 140, 147) || In(code, 210, 239) || In(code, 1010, 1059))
    return TDXFValueKind::Real;
  if (FProfile->SynthesisValueKinds) {
    if (In(code, 60, 79) || In(code, 170, 175) || In(code, 1060, 1079)) return TDXFValueKind::Integer;
    return TDXFValueKind::Text;
  }
  if (In(code, 60, 79) || In(code, 90, 99) || In(code, 170, 175) || In(code, 280, 289) || In(code, 370, 389) ||
      In(code, 400, 409) || In(code, 1060, 1071))
    return TDXFValueKind::Integer;
  return TDXFValueKind::Text;
}

bool TDXFGroup::ReadPair(std::istream& in) {
  std::string codeLine, valueLine;
  // A file cut off after a code line ends there, whatever the line holds.
  if (!ReadTextLine(in, codeLine) || !ReadTextLine(in, valueLine)) return false;
  LineNumber += 2;
  int32_t code = 0;
  if (!LeadingNumber(codeLine, code)) LineError(LineNumber - 1, "group code expected", codeLine);
  switch (ValueKind(code)) {
    case TDXFValueKind::Real: {
      double value = 0;
      if (!LeadingNumber(valueLine, value) || !std::isfinite(value))
        LineError(LineNumber, "real number expected", valueLine);
      FloatValue = value;
      break;
    }
    case TDXFValueKind::Integer: {
      int32_t value = 0;
      if (!LeadingNumber(valueLine, value)) LineError(LineNumber, "integer expected", valueLine);
      IntValue = value;
      break;
    }
    case TDXFValueKind::Text:
      StringValue = valueLine;
      break;
  }
  Code = code;
  return true;
}

int TDXFGroup::EntityKind() const {
  if (Code != 0) return 0;
  static const char* const kKeywords[] = {"LINE", "POINT", "CIRCLE", "ARC", "TRACE", "SOLID", "TEXT",
                                          "MTEXT", "POLYLINE", "VERTEX", "SEQEND", "INSERT", "DIMENSION"};
  for (int i = 0; i < 13; ++i)
    if (StringValue == kKeywords[i]) return i + 1;
  return 0;
}

int TDXFGroup::TableKind() const {
  if (Code != 0) return 0;
  static const char* const kKeywords[] = {"LTYPE", "LAYER", "STYLE", "VIEW", "UCS", "VPORT"};
  for (int i = 0; i < 6; ++i)
    if (StringValue == kKeywords[i]) return i + 1;
  return 0;
}

// Reduced to one turn in degrees first: a huge angle would overflow in radians, and its sine
// and cosine would mean nothing anyway.
double TDXFGroup::AngleRadians() const { return std::fmod(FloatValue, 360.0) * std::numbers::pi / 180; }

TVector3::TVector3(std::istream& in) {
  std::string line;
  if (!ReadTextLine(in, line)) throw EFileReadError("File read error in TVector3!");
  std::istringstream fields(line);
  std::string word;
  int32_t count = 0;
  if (!(fields >> word) || !ParseInt(word, count)) throw EFileReadError("File read error in TVector3!");
  Count = std::clamp(count, int32_t(0), int32_t(3));
  for (int i = 0; i < Used(); ++i) {
    double value = 0;
    if (!(fields >> word) || !ParseReal(word, value)) throw EFileReadError("File read error in TVector3!");
    Component(i) = value;
  }
}

void TVector3::WriteToText(std::ostream& out) const {
  const double values[3] = {X, Y, Z};
  out << Used();
  for (int i = 0; i < Used(); ++i) out << ' ' << FormatReal(values[i]);
  out << " Vector" << kLineEnd;
}

void TVector3::Assign(const TVector3& other) {
  const double values[3] = {other.X, other.Y, other.Z};
  for (int i = 0; i < Used(); ++i) Component(i) = values[i];
}

void TVector3::Swap(TVector3& other) {
  for (int i = 0; i < Used(); ++i) std::swap(Component(i), other.Component(i));
}

}  // namespace shared
