// TPrePoint: the seven-number record line, hit tests, copying and the old text form.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "shared/PrePoint.h"
#include "shared/RealText.h"

using shared::TComplex;
using shared::TPrePoint;
using shared::TTabLines;

namespace {

TPrePoint Sample() {
  TPrePoint p(1.5, -2);
  p.Direction = TComplex(0.25, 3);
  p.In = 0.1;
  p.Out = -0.7;
  p.s = 0.5;
  p.Id = 4;
  p.Selected = true;
  return p;
}

TEST(PrePointRecordTest, WritesSevenRealsAndReadsThemBack) {
  TTabLines lines;
  lines.AddString("stale field");
  const TPrePoint p = Sample();
  p.WriteTabLine(lines);
  ASSERT_EQ(lines.Lines.size(), 1u);
  using shared::FormatReal;
  EXPECT_EQ(lines.Lines[0], FormatReal(1.5) + "\t" + FormatReal(-2) + "\t" + FormatReal(0.25) + "\t" +
                                FormatReal(3) + "\t" + FormatReal(0.1) + "\t" + FormatReal(-0.7) + "\t" +
                                FormatReal(0.5));

  lines.ReadPosition = 0;
  ASSERT_TRUE(lines.ReadLine());
  TPrePoint q;
  q.Selected = true;
  q.ReadTabLine(lines);
  EXPECT_DOUBLE_EQ(q.X, 1.5);
  EXPECT_DOUBLE_EQ(q.Y, -2);
  EXPECT_DOUBLE_EQ(q.Direction.X, 0.25);
  EXPECT_DOUBLE_EQ(q.Direction.Y, 3);
  EXPECT_DOUBLE_EQ(q.In, 0.1);
  EXPECT_DOUBLE_EQ(q.Out, -0.7);
  EXPECT_DOUBLE_EQ(q.s, 0.5);
  EXPECT_FALSE(q.Selected);
  EXPECT_EQ(q.Id, 0) << "the record carries no id";
}

TEST(PrePointRecordTest, MissingTrailingFieldsReadAsZero) {
  TTabLines lines;
  lines.Lines = {"2\t3"};
  lines.ReadPosition = 0;
  ASSERT_TRUE(lines.ReadLine());
  TPrePoint q = Sample();
  q.ReadTabLine(lines);
  EXPECT_EQ(q.X, 2);
  EXPECT_EQ(q.Y, 3);
  EXPECT_EQ(q.Direction.X, 0);
  EXPECT_EQ(q.Direction.Y, 0);
  EXPECT_EQ(q.In, 0);
  EXPECT_EQ(q.Out, 0);
  EXPECT_EQ(q.s, 0);
}

struct HitCase {
  double x, y;
  bool hit;
};

class PrePointHitTest : public testing::TestWithParam<HitCase> {};

TEST_P(PrePointHitTest, SquareWithBoundsIncluded) {
  const TPrePoint p(1, 1);
  EXPECT_EQ(p.HitTest(TComplex(GetParam().x, GetParam().y), 0.1), GetParam().hit)
      << GetParam().x << ", " << GetParam().y;
}

INSTANTIATE_TEST_SUITE_P(Square, PrePointHitTest,
                         testing::Values(HitCase{1, 1, true}, HitCase{1.1, 0.9, true},
                                         HitCase{0.9, 1.1, true}, HitCase{1.1001, 1, false},
                                         HitCase{1, 0.8999, false}, HitCase{1.09, 1.09, true}));

TEST(PrePointTest, HitTestSelectKeepsSelectionWhenExtending) {
  TPrePoint p(1, 1);
  const TComplex beside(2, 2), on(1, 1);
  EXPECT_TRUE(p.HitTestSelect(on, false, 0.1));
  EXPECT_TRUE(p.Selected);
  EXPECT_FALSE(p.HitTestSelect(beside, true, 0.1));
  EXPECT_TRUE(p.Selected) << "extend keeps a selected point";
  EXPECT_FALSE(p.HitTestSelect(beside, false, 0.1));
  EXPECT_FALSE(p.Selected);
  EXPECT_TRUE(p.HitTestSelect(on, true, 0.1));
  EXPECT_TRUE(p.Selected) << "extend still selects a hit point";
}

TEST(PrePointTest, AssignCopiesCurveValuesOnlyFromACurvePoint) {
  TPrePoint target = Sample();
  target.Assign(TComplex(7, 8));
  EXPECT_EQ(target.X, 7);
  EXPECT_EQ(target.Y, 8);
  EXPECT_EQ(target.Direction.X, 0.25);
  EXPECT_EQ(target.In, 0.1);
  EXPECT_EQ(target.s, 0.5);

  TPrePoint other;
  other.Id = 9;
  other.Assign(Sample());
  EXPECT_EQ(other.X, 1.5);
  EXPECT_EQ(other.Direction.Y, 3);
  EXPECT_EQ(other.Out, -0.7);
  EXPECT_EQ(other.s, 0.5);
  EXPECT_EQ(other.Id, 9) << "Id is not copied";
  EXPECT_FALSE(other.Selected) << "Selected is not copied";

  const TComplex& base = Sample();
  std::unique_ptr<TComplex> clone(base.Clone());
  auto* point = dynamic_cast<TPrePoint*>(clone.get());
  ASSERT_NE(point, nullptr) << "Clone keeps the class";
  EXPECT_EQ(point->In, 0.1);
  EXPECT_EQ(point->Id, 0);
  EXPECT_FALSE(point->Selected);
}

constexpr const char* kLegacy =
    "[PrePoint]\r\n"
    "3\r\n"
    "[Vector]\r\n"
    "2  1.00000000000000E+0000 -2.50000000000000E-0001\r\n"
    "skipped\r\n"
    "skipped\r\n"
    "[Vector]\r\n"
    "2  0.00000000000000E+0000  1.00000000000000E+0000\r\n"
    " 2.00000000000000E-0001\r\n"
    "-3.00000000000000E-0001\r\n"
    "0.75\r\n";

TEST(PrePointTest, ReadsTheOldTextForm) {
  std::istringstream in(kLegacy);
  TPrePoint p;
  p.Selected = true;
  p.ReadLegacyText(in);
  EXPECT_EQ(p.Id, 3);
  EXPECT_EQ(p.X, 1);
  EXPECT_EQ(p.Y, -0.25);
  EXPECT_EQ(p.Direction.X, 0);
  EXPECT_EQ(p.Direction.Y, 1);
  EXPECT_DOUBLE_EQ(p.In, 0.2);
  EXPECT_DOUBLE_EQ(p.Out, -0.3);
  EXPECT_EQ(p.s, 0.75);
  EXPECT_FALSE(p.Selected);
}

TEST(PrePointTest, ShortOldTextFormRaisesAndKeepsThePoint) {
  const std::string full = kLegacy;
  const std::string truncated = full.substr(0, full.rfind("0.75"));
  std::istringstream in(truncated);
  TPrePoint p = Sample();
  try {
    p.ReadLegacyText(in);
    FAIL() << "no exception";
  } catch (const shared::EFileReadError& e) {
    EXPECT_STREQ(e.what(), "File read error in TPrePoint!");
  }
  EXPECT_EQ(p.X, 1.5);
  EXPECT_EQ(p.Id, 4);
}

}  // namespace
