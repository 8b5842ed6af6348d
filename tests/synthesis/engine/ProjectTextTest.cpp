// The project-text record convention: exact section lines, values with skipped keys, the read
// error on every missing or garbled line, and one field list run by reader and writer alike.
#include "synthesis/engine/ProjectText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "tests/synthesis/engine/RecordText.h"

using namespace vesk;
using vesktest::Lines;
using vesktest::ReadError;

namespace {

// A flat record whose fields are listed once for both directions.
struct TSample {
  bool Flag = false;
  int32_t Count = 0;
  uint8_t Kind = 0;
  uint32_t Color = 0;
  double Length = 0;

  template <class Io>
  void Fields(Io& io) {
    io.Value(Flag, " Flag");
    io.Value(Count);
    io.Value(Kind, " Kind");
    io.Value(Color, " Color");
    io.Value(Length, " Length");
  }
  void Write(std::ostream& out) {
    TProjectWriter w(out);
    w.Line("[Sample]");
    w.Version();
    Fields(w);
  }
  void Read(std::istream& in) {
    TProjectReader r(in, "TSample");
    r.Section("[Sample]");
    r.Version();
    Fields(r);
  }
};

TEST(ProjectTextTest, WriterPutsOneValuePerLineWithItsKey) {
  TSample s{true, -42, 6, 0xFF8000, 1.5};
  std::ostringstream out;
  s.Write(out);
  EXPECT_EQ(out.str(), Lines({"[Sample]", "0", "1 Flag", "-42", "6 Kind", "16744448 Color",
                              " 1.50000000000000E+0000 Length"}));
}

TEST(ProjectTextTest, RecordRoundTripsByteForByte) {
  TSample s{true, 2147483647, 255, 0xFFFFFFFF, -1.0 / 3.0};
  std::ostringstream first;
  s.Write(first);
  TSample t;
  std::istringstream in(first.str());
  t.Read(in);
  EXPECT_EQ(t.Color, 0xFFFFFFFFu);
  EXPECT_NEAR(t.Length, s.Length, 1e-15);  // 15 significant digits
  std::ostringstream second;
  t.Write(second);
  EXPECT_EQ(second.str(), first.str());
}

TEST(ProjectTextTest, ReadersSkipKeysAndTakeAnyDecimalNotation) {
  // LF line ends, tab before a key, a key that names something else, plain decimals.
  const std::string text = "[Sample]\n7 whatever\n0\t Flag\n  12   trailing words\n3\n$FF\n-2.5e-3 Length\n";
  TSample s{true, 0, 0, 0, 0};
  std::istringstream in(text);
  s.Read(in);
  EXPECT_FALSE(s.Flag);
  EXPECT_EQ(s.Count, 12);
  EXPECT_EQ(s.Kind, 3);
  EXPECT_EQ(s.Color, 255u);
  EXPECT_DOUBLE_EQ(s.Length, -0.0025);
}

TEST(ProjectTextTest, SectionLineIsComparedExactly) {
  auto read = [](std::istream& in) { TSample().Read(in); };
  for (const char* section : {"[sample]", "[Sample] ", " [Sample]", "Sample", ""}) {
    EXPECT_EQ(ReadError(Lines({section, "0", "1", "2", "3", "4", "5"}), read), "File read error in TSample!")
        << section;
  }
}

TEST(ProjectTextTest, EveryCutAndEveryGarbledLineIsARecordError) {
  TSample s{true, 5, 2, 7, 0.25};
  std::ostringstream out;
  s.Write(out);
  vesktest::ExpectDamageRefused(
      out.str(), [](std::istream& in) { TSample().Read(in); }, {}, "File read error in TSample!");
}

TEST(ProjectTextTest, ValueLinesThatAreNotOneNumberOfTheRightKind) {
  struct Case {
    const char* line;
    bool asInt, asReal;
  };
  const Case cases[] = {
      {"12", true, true},
      {"-7 key", true, true},
      {"1.5", false, true},
      {"1e3", false, true},
      {"", false, false},
      {"   ", false, false},
      {"1,5", false, false},
      {"1SelectOnAdd", false, false},
      {"x 1", false, false},
      {"99999999999", false, true},
      {" 1.00000000000000E+0000 Tmax", false, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadError(Lines({c.line}), [](std::istream& in) { TProjectReader(in, "T").Int(); }).empty(),
              c.asInt)
        << c.line;
    EXPECT_EQ(ReadError(Lines({c.line}), [](std::istream& in) { TProjectReader(in, "T").Real(); }).empty(),
              c.asReal)
        << c.line;
  }
}

TEST(ProjectTextTest, RangedIntegersBytesAndSkipping) {
  std::istringstream in(Lines({"120 Steps", "121", "-1", "255", "256", "a", "b", "3"}));
  TProjectReader r(in, "TInputFunction");
  EXPECT_EQ(r.Int(1, 120), 120);
  EXPECT_THROW(r.Int(1, 120), EFileReadError);
  EXPECT_THROW(r.Int(0, 10), EFileReadError);
  EXPECT_EQ(r.Byte(), 255);
  EXPECT_THROW(r.Byte(), EFileReadError);
  r.Skip(2);
  EXPECT_EQ(r.Int(), 3);
  // Skipping beyond the end stops there with the error instead of running on.
  EXPECT_THROW(r.Skip(1000000000000), EFileReadError);
}

TEST(ProjectTextTest, NamesAreWholeLinesAndStayOnOneLine) {
  std::ostringstream out;
  TProjectWriter w(out);
  w.Line("Ground Pivot Areas");
  w.Line("two\r\nlines");
  w.Int(3);
  EXPECT_EQ(out.str(), Lines({"Ground Pivot Areas", "two  lines", "3"}));
  std::istringstream in(out.str());
  TProjectReader r(in, "T");
  EXPECT_EQ(r.Line(), "Ground Pivot Areas");
  EXPECT_EQ(r.Line(), "two  lines");
  EXPECT_EQ(r.Int(), 3);
  EXPECT_THROW(r.Line(), EFileReadError);
}

TEST(ProjectTextTest, FieldsOfOneLine) {
  std::istringstream in(Lines({"2  1.50000000000000E+0000 -2.00000000000000E-0001", "", "1 x"}));
  TProjectReader r(in, "TMatrix2");
  const auto f = r.Fields();
  ASSERT_EQ(f.size(), 3u);
  EXPECT_EQ(r.IntOf(f[0]), 2);
  EXPECT_DOUBLE_EQ(r.RealOf(f[1]), 1.5);
  EXPECT_DOUBLE_EQ(r.RealOf(f[2]), -0.2);
  EXPECT_TRUE(r.Fields().empty());
  const auto g = r.Fields();
  EXPECT_THROW(r.RealOf(g[1]), EFileReadError);
  try {
    r.Fields();
    ADD_FAILURE();
  } catch (const EFileReadError& e) {
    EXPECT_STREQ(e.what(), "File read error in TMatrix2!");
  }
}

TEST(ProjectTextTest, NonFiniteRealsRoundTrip) {
  std::ostringstream out;
  TProjectWriter w(out);
  w.Real(INFINITY);
  w.Real(-INFINITY);
  w.Real(NAN, " N");
  std::istringstream in(out.str());
  TProjectReader r(in, "T");
  EXPECT_EQ(r.Real(), INFINITY);
  EXPECT_EQ(r.Real(), -INFINITY);
  EXPECT_TRUE(std::isnan(r.Real()));
}

}  // namespace
