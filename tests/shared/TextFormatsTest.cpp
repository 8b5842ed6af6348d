// The 23-character real notation, locale-free number reading, the line reader and the codec.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "shared/Cp1252.h"
#include "shared/RealText.h"
#include "shared/TextLine.h"
#include "tests/shared/CommaLocale.h"

namespace {

TEST(RealTextTest, FormatsTwentyThreeCharacters) {
  const std::pair<double, const char*> cases[] = {
      {1.5, " 1.50000000000000E+0000"},   {-0.001, "-1.00000000000000E-0003"},
      {0, " 0.00000000000000E+0000"},     {-0.0, " 0.00000000000000E+0000"},
      {1e10, " 1.00000000000000E+0010"},  {-2.5e-300, "-2.50000000000000E-0300"},
      {123456.789, " 1.23456789000000E+0005"}, {9.999999999999999e5, " 1.00000000000000E+0006"},
  };
  for (const auto& [value, text] : cases) {
    EXPECT_EQ(shared::FormatReal(value), text);
    EXPECT_EQ(shared::FormatReal(value).size(), 23u);
  }
}

TEST(RealTextTest, ReadsAnyDecimalNotationWhateverTheLocale) {
  const char* previous = std::setlocale(LC_ALL, nullptr);
  std::string saved = previous ? previous : "C";
  std::setlocale(LC_NUMERIC, "de_DE.UTF-8");  // may not exist; the reader must not care
  double v = 0;
  EXPECT_TRUE(shared::ParseReal(" 1.50000000000000E+0000", v));
  EXPECT_EQ(v, 1.5);
  EXPECT_TRUE(shared::ParseReal("+2", v));
  EXPECT_EQ(v, 2);
  EXPECT_TRUE(shared::ParseReal("-.25", v));
  EXPECT_EQ(v, -0.25);
  EXPECT_TRUE(shared::ParseReal("1e-3", v));
  EXPECT_EQ(v, 0.001);
  // One sign at most: "+-5" is no number.
  for (const char* bad : {"", "  ", "1,5", "abc", "1.5x", "--1", "+-5", "++5", "+ 5"}) {
    v = 9;
    EXPECT_FALSE(shared::ParseReal(bad, v)) << bad;
    EXPECT_EQ(v, 9);
  }
  std::setlocale(LC_ALL, saved.c_str());
  const double pi = 3.14159265358979;
  EXPECT_TRUE(shared::ParseReal(shared::FormatReal(pi), v));
  EXPECT_EQ(v, pi);
}

// What the notation writes must read back, also at the ends of the double range: rounding the
// largest doubles up to 15 digits gave a text above the largest double.
TEST(RealTextTest, ReadsBackWhatItWritesAtTheExtremes) {
  const double max = std::numeric_limits<double>::max();
  const double tiny = std::numeric_limits<double>::denorm_min();
  for (const double value : {max, -max, std::nextafter(max, 0.0), 1.797693134862315e308, 1.7976931348623e308,
                             1e308, std::numeric_limits<double>::min(), -std::numeric_limits<double>::min(),
                             tiny, -tiny, 3 * tiny, 1e-310, 9.999999999999999e-300, 123.456}) {
    const std::string text = shared::FormatReal(value);
    EXPECT_EQ(text.size(), 23u) << text;
    double back = 0;
    ASSERT_TRUE(shared::ParseReal(text, back)) << text;
    EXPECT_EQ(std::signbit(back), std::signbit(value)) << text;
    // Within the 15 written digits (subnormals carry fewer bits than that).
    EXPECT_LE(std::fabs(back - value), std::max(1e-14 * std::fabs(value), 2 * tiny)) << text;
  }
  EXPECT_EQ(shared::FormatReal(max), " 1.79769313486231E+0308");
  EXPECT_EQ(shared::FormatReal(-max), "-1.79769313486231E+0308");

  // No number is written for what is not one, and no such text reads as one.
  double back = 7;
  for (const double notFinite : {std::nan(""), HUGE_VAL, -HUGE_VAL})
    EXPECT_FALSE(shared::ParseReal(shared::FormatReal(notFinite), back)) << shared::FormatReal(notFinite);
  for (const char* text : {"nan", "-NaN", "inf", "INFINITY", "1e309", "-1.8E+0308"}) EXPECT_FALSE(shared::ParseReal(text, back)) << text;
  EXPECT_EQ(back, 7);
}

// The %g of the tools and logs: what printf writes in the "C" locale, and still that under a
// locale whose printf writes a decimal comma.
TEST(RealTextTest, FormatsGeneralAsPrintfDoesInTheCLocaleWhateverTheLocale) {
  const double inf = std::numeric_limits<double>::infinity(), max = std::numeric_limits<double>::max();
  const double values[] = {0,    -0.0, 1.5,  0.1,  -2.0 / 3, 1e21,   123456789012345678.0,
                           1e15, 1e16, 1e-5, 1e-4, 100,      5e-324, -1e-310,
                           max,  inf,  -inf, NAN};
  std::vector<std::string> printed;
  ASSERT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
  for (const int digits : {15, 17}) {
    for (const double value : values) {
      char text[64];
      std::snprintf(text, sizeof text, "%.*g", digits, value);
      printed.push_back(text);
      EXPECT_EQ(shared::FormatGeneral(value, digits), text);
    }
  }
  const testsupport::TCommaLocale comma;
  ASSERT_TRUE(comma.Active()) << "no German locale could be made (localedef, package locales)";
  size_t i = 0;
  for (const int digits : {15, 17})
    for (const double value : values) EXPECT_EQ(shared::FormatGeneral(value, digits), printed[i++]) << value;
  EXPECT_EQ(shared::FormatGeneral(0.1, 17), "0.10000000000000001");
}

TEST(RealTextTest, ReadsIntegers) {
  int32_t v = 0;
  EXPECT_TRUE(shared::ParseInt("-42", v));
  EXPECT_EQ(v, -42);
  EXPECT_TRUE(shared::ParseInt("$FF", v));
  EXPECT_EQ(v, 255);
  EXPECT_TRUE(shared::ParseInt("$FFFFFFFF", v));
  EXPECT_EQ(v, -1);
  EXPECT_TRUE(shared::ParseInt(" 7 ", v));
  EXPECT_EQ(v, 7);
  // One sign at most, before the "$": "--5" and "$-5" are no numbers.
  for (const char* bad : {"", "1.5", "x", "4294967296", "$", "--5", "+-5", "-+5", "$-5", "$+5", "- 5"}) {
    v = 9;
    EXPECT_FALSE(shared::ParseInt(bad, v)) << bad;
    EXPECT_EQ(v, 9) << bad;
  }
  EXPECT_EQ(shared::IntOr("nope", 3), 3);
  EXPECT_EQ(shared::RealOr("nope", 0.5), 0.5);
}

TEST(TextLineTest, StripsOnlyTheLineEnd) {
  std::istringstream in("a\r\n b \n\r\n[Vector] \r\nlast");
  std::string line;
  std::vector<std::string> lines;
  while (shared::ReadTextLine(in, line)) lines.push_back(line);
  EXPECT_EQ(lines, (std::vector<std::string>{"a", " b ", "", "[Vector] ", "last"}));
  EXPECT_EQ(shared::SplitTextLines("x\r\ny\r\n"), (std::vector<std::string>{"x", "y"}));
  EXPECT_TRUE(shared::SplitTextLines("").empty());
}

TEST(Cp1252Test, RoundTripsEveryAssignedByte) {
  std::string all;
  for (int b = 1; b < 256; ++b)
    if (b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D) all += static_cast<char>(b);
  EXPECT_EQ(shared::Utf8ToCp1252(shared::Cp1252ToUtf8(all)), all);
  EXPECT_EQ(shared::Cp1252ToUtf8("\x80\xB0"), "\u20AC\u00B0");
  EXPECT_EQ(shared::Utf8ToCp1252("\u00B0C \u03C0 \u20AC"), "\xB0" "C ? \x80");
  EXPECT_EQ(shared::Utf8ToCp1252("\xC3"), "?");  // cut-off sequence
}

}  // namespace
