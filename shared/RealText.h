// The number notations of the suite's text files: the 23-character real notation that every
// writer uses, printf's %g for the tools and logs, and locale-independent readers for reals and
// integers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace shared {

// " 1.50000000000000E+0000": sign or blank, one digit, ".", 14 digits, "E", sign, 4 digits.
std::string FormatReal(double value);

// What printf's "%.<significant>g" writes in the "C" locale, always with "." as the decimal
// mark: printf itself follows LC_NUMERIC, which Qt sets from the environment.
std::string FormatGeneral(double value, int significant);

// Any decimal notation with "." as the decimal point, surrounding blanks allowed, whatever the
// process locale is. False (and value untouched) when the text is not a finite number ("NAN",
// "INF" and values beyond the double range included).
bool ParseReal(std::string_view text, double& value);

// A decimal integer, or hexadecimal after a leading "$"; surrounding blanks allowed.
// False (and value untouched) when the text is not a 32-bit integer.
bool ParseInt(std::string_view text, int32_t& value);

// Convenience forms that give fallback when the text does not parse.
double RealOr(std::string_view text, double fallback);
int32_t IntOr(std::string_view text, int32_t fallback);

}  // namespace shared
