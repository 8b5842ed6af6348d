// Group pairs: value kinds of both profiles, keyword tests, text decoding, angle and unit scale,
// the errors that name the line; and the placement transform.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "shared/Complex.h"
#include "shared/dxf/DXFGroup.h"
#include "shared/dxf/DXFTransForm.h"

namespace {

using namespace shared;

TEST(DXFGroupTest, ValueKindsOfBothProfiles) {
  struct TCase {
    int code;
    TDXFValueKind animator;
    TDXFValueKind synthesis;
  };
  const auto R = TDXFValueKind::Real, I = TDXFValueKind::Integer, T = TDXFValueKind::Text;
  const TCase cases[] = {{0, T, T},      {1, T, T},       {9, T, T},       {10, R, R},     {59, R, R},
                         {60, I, I},     {62, I, I},      {79, I, I},      {80, T, T},     {90, I, T},
                         {99, I, T},     {140, R, R},     {147, R, R},     {148, T, T},    {170, I, I},
                         {176, T, T},    {210, R, R},     {239, R, R},     {280, I, T},    {370, I, T},
                         {400, I, T},    {410, T, T},     {999, T, T},     {1010, R, R},   {1059, R, R},
                         {1071, I, I},   {1072, T, I},    {1079, T, I},    {1080, T, T},   {-5, T, T}};
  const TDXFGroup animator;
  const TDXFGroup synthesis(TDXFProfile::Synthesis());
  for (const TCase& c : cases) {
    EXPECT_EQ(animator.ValueKind(c.code), c.animator) << c.code;
    EXPECT_EQ(synthesis.ValueKind(c.code), c.synthesis) << c.code;
  }
}

TEST(DXFGroupTest, PairsReadOnlyTheirOwnValueField) {
  std::istringstream in("  62\n     3\n 40\n2.5 trailing\n  1\n  leading blanks kept \n1072\n12\n");
  TDXFGroup group;
  ASSERT_TRUE(group.ReadPair(in));
  EXPECT_EQ(group.Code, 62);
  EXPECT_EQ(group.IntValue, 3);
  ASSERT_TRUE(group.ReadPair(in));
  EXPECT_EQ(group.FloatValue, 2.5);
  EXPECT_EQ(group.IntValue, 3) << "a real leaves the integer alone";
  ASSERT_TRUE(group.ReadPair(in));
  EXPECT_EQ(group.StringValue, "  leading blanks kept ");
  ASSERT_TRUE(group.ReadPair(in));
  EXPECT_EQ(group.StringValue, "12") << "1072 is text";
  EXPECT_FALSE(group.ReadPair(in));
  EXPECT_EQ(group.LineNumber, 8);
}

TEST(DXFGroupTest, KeywordsCompareExactly) {
  struct TCase {
    std::string text;
    bool section;
  };
  const TCase cases[] = {{"  0\nSECTION\n", true}, {"0\r\nSECTION\r\n", true}, {"  0\nsection\n", false},
                         {"  0\nSECTION \n", false}, {"  2\nSECTION\n", false}};
  for (const TCase& c : cases) {
    std::istringstream in(c.text);
    TDXFGroup group;
    ASSERT_TRUE(group.ReadPair(in));
    EXPECT_EQ(group.IsSection(), c.section) << c.text;
  }
  std::istringstream in("0\nPOLYLINE\n2\nLINE\n0\n3DFACE\n0\nLTYPE\n0\nLAYER\n");
  TDXFGroup group;
  group.ReadPair(in);
  EXPECT_EQ(group.EntityKind(), kEntityPolyline);
  group.ReadPair(in);
  EXPECT_EQ(group.EntityKind(), 0) << "only code 0 names entities";
  group.ReadPair(in);
  EXPECT_EQ(group.EntityKind(), 0);
  group.ReadPair(in);
  EXPECT_EQ(group.TableKind(), 1);
  group.ReadPair(in);
  EXPECT_EQ(group.TableKind(), 2);
}

TEST(DXFGroupTest, DecodesTextCodes) {
  const std::pair<std::string, std::string> cases[] = {
      {"%%c50", "D50"},     {"12%%p0.1", "12\xB1" "0.1"}, {"%%d45", " 45"}, {"100%%%", "100 "},
      {"ends%%", "ends "},  {"%%C1", " 1"},              {"plain", "plain"}, {"%%c%%c", "DD"},
  };
  for (const auto& [text, decoded] : cases) EXPECT_EQ(DecodeDXFText(text), decoded) << text;
}

TEST(DXFGroupTest, AnglesAndUnitScale) {
  TDXFGroup group;
  group.FloatValue = 90;
  EXPECT_DOUBLE_EQ(group.AngleRadians(), std::numbers::pi / 2);
  group.FloatValue = 100;
  EXPECT_DOUBLE_EQ(group.ScaledValue(), 0.1);
  group.SetUnitScale(25.4);
  EXPECT_DOUBLE_EQ(group.ScaledValue(), 2.54);
  group.SetUnitScale(1);
  EXPECT_DOUBLE_EQ(group.Scale, 0.0254);
  group.SetUnitScale(1 / 25.4);
  EXPECT_DOUBLE_EQ(group.ScaledValue(), 0.1);
  group.Clear();
  EXPECT_DOUBLE_EQ(group.Scale, 0.001) << "Clear keeps the scale";

  // The writers' inverse: metres back to drawing units of either scale.
  group.SetScaledValue(0.1);
  EXPECT_DOUBLE_EQ(group.FloatValue, 100);
  group.SetUnitScale(25.4);
  group.SetScaledValue(2.54);
  EXPECT_DOUBLE_EQ(group.FloatValue, 100);
  EXPECT_DOUBLE_EQ(group.ScaledValue(), 2.54);
}

TEST(DXFGroupTest, AssignAndCloneCopyThePairNotTheScale) {
  // Code 90 is text to the synthesis profile: the clone must keep the profile to read it so.
  std::istringstream in(" 40\n12.5\n 62\n7\n 90\nninety\n");
  TDXFGroup group(TDXFProfile::Synthesis());
  group.SetUnitScale(25.4);
  ASSERT_TRUE(group.ReadPair(in) && group.ReadPair(in) && group.ReadPair(in));
  TDXFGroup other;
  other.StringValue = "old";
  other.Assign(group);
  EXPECT_EQ(other.Code, 90);
  EXPECT_EQ(other.FloatValue, 12.5);
  EXPECT_EQ(other.IntValue, 7);
  EXPECT_EQ(other.StringValue, "ninety");
  EXPECT_DOUBLE_EQ(other.Scale, 0.001) << "the scale is the reader's";
  const std::unique_ptr<TDXFGroup> clone = group.Clone();
  EXPECT_EQ(clone->Code, 90);
  EXPECT_EQ(clone->FloatValue, 12.5);
  EXPECT_EQ(clone->IntValue, 7);
  EXPECT_EQ(clone->StringValue, "ninety");
  EXPECT_EQ(clone->ValueKind(90), TDXFValueKind::Text);
  EXPECT_DOUBLE_EQ(clone->Scale, 0.001);
  group.StringValue = "changed";
  EXPECT_EQ(clone->StringValue, "ninety") << "a copy, not a view";
}

TEST(DXFVectorTest, TextLinesRoundTripAndReadOnlyTheirCount) {
  TVector3 written;
  written.SetXYZ(0.5, -2.25, 1e-3);
  std::ostringstream out;
  written.WriteToText(out);
  EXPECT_EQ(out.str(), "3  5.00000000000000E-0001 -2.25000000000000E+0000  1.00000000000000E-0003 Vector\r\n");

  struct TCase {
    int32_t count;
    double x, y, z;
  };
  const TCase cases[] = {{3, 0, 0, 1}, {3, -1e-300, 123456.789, 0.1}, {2, 7.5, -0.125, 0}, {1, 42, 0, 0}, {0, 0, 0, 0}};
  for (const TCase& c : cases) {
    TVector3 v;
    v.Count = c.count;
    v.SetXYZ(c.x, c.y, c.z);
    std::stringstream text;
    v.WriteToText(text);
    text << "next line\r\n";
    const TVector3 read(text);
    EXPECT_EQ(read.Count, c.count) << text.str();
    EXPECT_EQ(read.X, c.x) << text.str();
    EXPECT_EQ(read.Y, c.y) << text.str();
    EXPECT_EQ(read.Z, c.z) << text.str();
    std::string rest;
    std::getline(text, rest);
    EXPECT_EQ(rest, "next line\r") << "one line read";
  }

  // A count above 3 reads three values; the rest of the line is skipped.
  std::istringstream five("5 1 2 3 4 5 Vector\n");
  const TVector3 capped(five);
  EXPECT_EQ(capped.Count, 3);
  EXPECT_EQ(capped.Z, 3);
  std::istringstream negative("-4 Vector\n");
  EXPECT_EQ(TVector3(negative).Count, 0);
  for (const char* bad : {"", "x 1 2 3", "3 1 2", "2 1 nan", "1.5 1 2"}) {
    std::istringstream in(bad);
    EXPECT_THROW(TVector3 v(in), EFileReadError) << bad;
  }
}

TEST(DXFVectorTest, AssignAndSwapTouchOnlyTheFirstCountComponents) {
  TVector3 a, b;
  a.SetXYZ(1, 2, 3);
  b.SetXYZ(4, 5, 6);
  a.Count = 2;
  a.Swap(b);
  EXPECT_EQ((std::vector<double>{a.X, a.Y, a.Z, b.X, b.Y, b.Z}), (std::vector<double>{4, 5, 3, 1, 2, 6}));
  a.Count = 1;
  a.Assign(b);
  EXPECT_EQ((std::vector<double>{a.X, a.Y, a.Z}), (std::vector<double>{1, 5, 3}));
  a.Count = 3;
  a.Assign(b);
  EXPECT_EQ((std::vector<double>{a.X, a.Y, a.Z}), (std::vector<double>{1, 2, 6}));
  EXPECT_EQ(a.Count, 3);
}

TEST(DXFGroupTest, BadPairsRaiseNamingTheLine) {
  struct TCase {
    std::string text;
    std::string line;
  };
  const TCase cases[] = {
      {"0\nSECTION\nten\n1\n", "DXF line 3:"},    {"10\nabc\n", "DXF line 2:"},
      {"10\nnan\n", "DXF line 2:"},               {"10\n-inf\n", "DXF line 2:"},
      {"10\n1e999\n", "DXF line 2:"},             {"62\n99999999999\n", "DXF line 2:"},
      {"62\n\n", "DXF line 2:"},                  {"99999999999\nX\n", "DXF line 1:"},
      {"\n0\n", "DXF line 1:"},
  };
  for (const TCase& c : cases) {
    std::istringstream in(c.text);
    TDXFGroup group;
    try {
      while (group.ReadPair(in)) {
      }
      ADD_FAILURE() << "no error for " << c.text;
    } catch (const EFileReadError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(c.line, 0), 0u) << e.what();
    }
  }
  std::istringstream truncated("0\nLINE\n10\n");
  TDXFGroup group;
  EXPECT_TRUE(group.ReadPair(truncated));
  EXPECT_FALSE(group.ReadPair(truncated));
  EXPECT_EQ(group.Code, 0) << "a pair cut off keeps the previous one";
  EXPECT_EQ(group.StringValue, "LINE");
}

TEST(DXFTransFormTest, MapsScalesRotationsAndCompositions) {
  TDXFTransForm t;
  t.SetAll(1, 2, std::numbers::pi / 2, 2, 3);
  TComplex a(1, 0), b(0, 1);
  t.Apply(a);
  t.Apply(b);
  EXPECT_NEAR(a.X, 1, 1e-15);
  EXPECT_NEAR(a.Y, 4, 1e-15);
  EXPECT_NEAR(b.X, -2, 1e-15);
  EXPECT_NEAR(b.Y, 2, 1e-15);
  EXPECT_DOUBLE_EQ(t.Angle, std::numbers::pi / 2);

  // A translation by (1, 0) after a quarter turn.
  TDXFTransForm move, turn;
  move.SetAll(1, 0, 0, 1, 1);
  turn.SetAll(0, 0, std::numbers::pi / 2, 1, 1);
  move.Compose(turn);
  const TComplex p = move.Applied(TComplex(1, 0));
  EXPECT_NEAR(p.X, 1, 1e-15);
  EXPECT_NEAR(p.Y, 1, 1e-15);
  EXPECT_DOUBLE_EQ(move.Angle, std::numbers::pi / 2) << "the turn carries through";

  // Composition agrees with applying one after the other for an arbitrary pair.
  TDXFTransForm outer, inner;
  outer.SetAll(-0.3, 0.7, 0.4, 1.5, 0.5);
  inner.SetAll(2, -1, -1.1, 0.25, 3);
  TDXFTransForm both = outer;
  both.Compose(inner);
  const TComplex q(0.6, -2.2);
  const TComplex one = both.Applied(q), two = outer.Applied(inner.Applied(q));
  EXPECT_NEAR(one.X, two.X, 1e-14);
  EXPECT_NEAR(one.Y, two.Y, 1e-14);
  EXPECT_DOUBLE_EQ(both.Angle, 0.4 - 1.1);

  t.SubtractOffset(TComplex(1, 2));
  EXPECT_EQ(t.OffsetX, 0);
  EXPECT_EQ(t.OffsetY, 0);
  t.Reset();
  EXPECT_EQ(t.Applied(q).X, q.X);
  t.Assign(nullptr);
  EXPECT_EQ(t.M11, 1);
}

}  // namespace
