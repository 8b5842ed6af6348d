// Reading and writing the lines of the synthesis engine's project-text records.
#include "synthesis/engine/ProjectText.h"

#include <limits>

#include "shared/RealText.h"
#include "shared/TextLine.h"

namespace vesk {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string ReadErrorText(std::string_view className) {
  return "File read error in " + std::string(className) + "!";
}

TProjectReader::TProjectReader(std::istream& in, std::string className)
    : fIn(in), fErrorText(ReadErrorText(className)) {}

void TProjectReader::Fail() const { throw EFileReadError(fErrorText); }

std::string TProjectReader::NextLine() {
  std::string line;
  if (!shared::ReadTextLine(fIn, line)) Fail();
  return line;
}

std::string_view TProjectReader::FirstField() {
  fLine = NextLine();
  std::string_view rest(fLine);
  size_t begin = 0;
  while (begin < rest.size() && IsBlank(rest[begin])) ++begin;
  size_t end = begin;
  while (end < rest.size() && !IsBlank(rest[end])) ++end;
  return rest.substr(begin, end - begin);
}

void TProjectReader::Section(std::string_view section) {
  if (NextLine() != section) Fail();
}

int32_t TProjectReader::Version() { return Int(); }

int32_t TProjectReader::Int() { return IntOf(FirstField()); }

int32_t TProjectReader::Int(int32_t lo, int32_t hi) {
  const int32_t value = Int();
  if (value < lo || value > hi) Fail();
  return value;
}

double TProjectReader::Real() { return RealOf(FirstField()); }

bool TProjectReader::Bool() { return Int() != 0; }

uint8_t TProjectReader::Byte() { return uint8_t(Int(0, 255)); }

std::string TProjectReader::Line() { return NextLine(); }

void TProjectReader::Skip(int64_t n) {
  for (int64_t i = 0; i < n; ++i) NextLine();
}

std::vector<std::string> TProjectReader::Fields() {
  const std::string line = NextLine();
  std::vector<std::string> fields;
  size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && IsBlank(line[at])) ++at;
    const size_t begin = at;
    while (at < line.size() && !IsBlank(line[at])) ++at;
    if (at > begin) fields.emplace_back(line, begin, at - begin);
  }
  return fields;
}

int32_t TProjectReader::IntOf(std::string_view field) const {
  int32_t value = 0;
  if (!shared::ParseInt(field, value)) Fail();
  return value;
}

double TProjectReader::RealOf(std::string_view field) const {
  double value = 0;
  if (shared::ParseReal(field, value)) return value;
  // The notation writes a value that went wrong in a computation as NAN or INF; a project that
  // holds one still opens (the engine rates such a candidate invalid).
  if (field == "NAN") return std::numeric_limits<double>::quiet_NaN();
  if (field == "INF") return std::numeric_limits<double>::infinity();
  if (field == "-INF") return -std::numeric_limits<double>::infinity();
  Fail();
  return value;
}

void TProjectWriter::Line(std::string_view text) {
  std::string line(text);
  for (char& c : line)
    if (c == '\r' || c == '\n') c = ' ';
  fOut << line << shared::kLineEnd;
}

void TProjectWriter::Int(int32_t value, std::string_view key) {
  fOut << std::to_string(value) << key << shared::kLineEnd;
}

void TProjectWriter::Real(double value, std::string_view key) {
  fOut << shared::FormatReal(value) << key << shared::kLineEnd;
}

}  // namespace vesk
