// Number notations of the text files: the 23-character and %g writers and the locale-free readers.
#include "shared/RealText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace shared {

namespace {

std::string_view Trim(std::string_view text) {
  const char* blanks = " \t\r\n";
  const auto first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(blanks);
  return text.substr(first, last - first + 1);
}

}  // namespace

std::string FormatReal(double value) {
  if (!std::isfinite(value)) {
    std::string text = std::isnan(value) ? " NAN" : (value < 0 ? "-INF" : " INF");
    text.resize(23, ' ');
    return text;
  }
  if (value == 0) value = 0;  // -0 is written as 0
  // Rounded to 15 digits, the largest doubles would come out above the largest double and
  // no longer read; they are written rounded down instead.
  constexpr double kLargestWritten = 1.79769313486231e308;
  if (std::fabs(value) > kLargestWritten) value = std::copysign(kLargestWritten, value);
  // to_chars gives "d.dddddddddddddde+xx" with at least two exponent digits, whatever the
  // process locale (printf would follow LC_NUMERIC); widen the exponent to four.
  char buffer[40];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                    std::chars_format::scientific, 14);
  std::string_view digits(buffer, result.ptr - buffer);
  const auto e = digits.find('e');
  const char expSign = digits[e + 1];
  std::string_view expDigits = digits.substr(e + 2);
  std::string text;
  text.reserve(23);
  text += value < 0 ? '-' : ' ';
  text.append(digits.substr(0, e));
  text += 'E';
  text += expSign;
  text.append(expDigits.size() < 4 ? 4 - expDigits.size() : 0, '0');
  text.append(expDigits);
  return text;
}

std::string FormatGeneral(double value, int significant) {
  // "-1.2345678901234567e-308" is the longest at 17 digits; to_chars refuses a precision beyond
  // the buffer rather than overrunning it.
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general,
                                    std::clamp(significant, 0, 40));
  return std::string(buffer, result.ptr);
}

bool ParseReal(std::string_view text, double& value) {
  text = Trim(text);
  // One sign at most: from_chars takes a "-" of its own, so none may follow a "+".
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return false;
  }
  if (text.empty()) return false;
  double parsed = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  // "nan" and "inf" are no decimal notation: no value of a document or a dialog may be one.
  if (!std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

bool ParseInt(std::string_view text, int32_t& value) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (!text.empty() && text.front() == '$') {
    base = 16;
    text.remove_prefix(1);
  }
  // One sign, and only before the "$": from_chars would take another "-" of its own.
  if (text.empty() || text.front() == '-' || text.front() == '+') return false;
  int64_t parsed = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed, base);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  if (negative) parsed = -parsed;
  // Hexadecimal text may spell the bit pattern of a negative number ($FFFFFFFF is -1).
  if (base == 16 && parsed > INT32_MAX && parsed <= UINT32_MAX) parsed -= int64_t(1) << 32;
  if (parsed < INT32_MIN || parsed > INT32_MAX) return false;
  value = static_cast<int32_t>(parsed);
  return true;
}

double RealOr(std::string_view text, double fallback) {
  ParseReal(text, fallback);
  return fallback;
}

int32_t IntOr(std::string_view text, int32_t fallback) {
  ParseInt(text, fallback);
  return fallback;
}

}  // namespace shared
