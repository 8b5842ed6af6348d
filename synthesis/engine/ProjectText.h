// The record convention of the project file that every persistent class of the synthesis engine
// follows: a section line, a version line, then one value per line with an optional key.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "shared/Complex.h"

namespace vesk {

// Raised by every record reader; the text is ReadErrorText(class name).
using shared::EFileReadError;

// "File read error in " + className + "!".
std::string ReadErrorText(std::string_view className);

// Reads one record line by line. Any line that is missing, or that does not start with the
// number asked for, raises EFileReadError with the record's own text, so a truncated or garbled
// file is refused instead of read as zeros. Nested records (a point inside a list) take their
// own reader on the same stream.
class TProjectReader {
 public:
  // className goes into the error text: "TLink" gives "File read error in TLink!".
  TProjectReader(std::istream& in, std::string className);

  std::istream& Stream() const { return fIn; }
  const std::string& ErrorText() const { return fErrorText; }
  [[noreturn]] void Fail() const;

  // The next whole line must equal section exactly.
  void Section(std::string_view section);
  // The number on the version line.
  int32_t Version();

  // One value per line: the number at the start of the line; the rest (the key) is skipped.
  int32_t Int();
  // As Int, refused outside lo..hi: for counts and indices that size or address something.
  int32_t Int(int32_t lo, int32_t hi);
  double Real();
  // An integer; anything but 0 is true.
  bool Bool();
  // An integer 0..255.
  uint8_t Byte();
  // The next line as it stands (names).
  std::string Line();
  // Skips n lines; the end of the text before that is a read error.
  void Skip(int64_t n = 1);

  // The blank-separated fields of the next line, for records with several values on one line;
  // IntOf and RealOf read one of them.
  std::vector<std::string> Fields();
  int32_t IntOf(std::string_view field) const;
  double RealOf(std::string_view field) const;

  // The same names for both directions, so that a flat record is one list of Value calls in a
  // template run by a reader and by a writer (see TProjectWriter).
  void Value(int32_t& value, std::string_view = {}) { value = Int(); }
  // A value refused outside lo..hi; the writer's form takes the same range and ignores it.
  void Value(int32_t& value, int32_t lo, int32_t hi, std::string_view = {}) { value = Int(lo, hi); }
  void Value(double& value, std::string_view = {}) { value = Real(); }
  void Value(bool& value, std::string_view = {}) { value = Bool(); }
  void Value(uint8_t& value, std::string_view = {}) { value = Byte(); }
  // Colours ($00BBGGRR) as the signed 32-bit number that the writer puts down.
  void Value(uint32_t& value, std::string_view = {}) { value = uint32_t(Int()); }

 private:
  std::string NextLine();
  std::string_view FirstField();

  std::istream& fIn;
  std::string fErrorText;
  std::string fLine;
};

// Writes one record; every line ends with CR LF. Keys begin with their blank (" SelectOnAdd").
class TProjectWriter {
 public:
  explicit TProjectWriter(std::ostream& out) : fOut(out) {}

  std::ostream& Stream() const { return fOut; }

  // A line of text (section lines, names); a line break inside would split the record, so CR
  // and LF are written as blanks.
  void Line(std::string_view text);
  void Version(int32_t version = 0) { Int(version); }
  void Int(int32_t value, std::string_view key = {});
  // The 23-character notation.
  void Real(double value, std::string_view key = {});
  void Bool(bool value, std::string_view key = {}) { Int(value ? 1 : 0, key); }

  void Value(int32_t value, std::string_view key = {}) { Int(value, key); }
  void Value(int32_t value, int32_t, int32_t, std::string_view key = {}) { Int(value, key); }
  void Value(double value, std::string_view key = {}) { Real(value, key); }
  void Value(bool value, std::string_view key = {}) { Bool(value, key); }
  void Value(uint8_t value, std::string_view key = {}) { Int(value, key); }
  void Value(uint32_t value, std::string_view key = {}) { Int(int32_t(value), key); }

 private:
  std::ostream& fOut;
};

}  // namespace vesk
