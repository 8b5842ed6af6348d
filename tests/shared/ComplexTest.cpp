// TComplex arithmetic, Arg quadrants, zero division and the "[Vector]" record.
#include "shared/Complex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <sstream>

using shared::TComplex;

namespace {

constexpr double kPi = std::numbers::pi;

struct ArgCase {
  double x, y, expected;
};

class ArgTest : public testing::TestWithParam<ArgCase> {};

TEST_P(ArgTest, FollowsQuadrantRule) {
  const auto& c = GetParam();
  EXPECT_NEAR(TComplex(c.x, c.y).Arg(), c.expected, 1e-15);
}

INSTANTIATE_TEST_SUITE_P(Quadrants, ArgTest,
                         testing::Values(ArgCase{0, 0, 0}, ArgCase{-2, 0, kPi}, ArgCase{0, 3, kPi / 2},
                                         ArgCase{1, -1, -kPi / 4}, ArgCase{0, -1, -kPi / 2},
                                         ArgCase{-1, 1, 3 * kPi / 4}, ArgCase{-1, -1, -3 * kPi / 4},
                                         ArgCase{2, 1, std::atan(0.5)}, ArgCase{1, 2, std::atan(2.0)}));

TEST(ComplexTest, ArithmeticMatchesComplexNumbers) {
  TComplex a(1, 2), b(3, -1), r;
  r.Mul(a, b);
  EXPECT_DOUBLE_EQ(r.X, 5);
  EXPECT_DOUBLE_EQ(r.Y, 5);
  r.Divide(r, b);  // self as argument reads its inputs first
  EXPECT_NEAR(r.X, 1, 1e-15);
  EXPECT_NEAR(r.Y, 2, 1e-15);
  r.Divide(a, a);
  EXPECT_DOUBLE_EQ(r.X, 1);
  EXPECT_DOUBLE_EQ(r.Y, 0);
  r.Add(a, b);
  r.SubFrom2(a, b);
  EXPECT_DOUBLE_EQ(r.Abs2(), 0);
  EXPECT_DOUBLE_EQ(a.Cross(b), 1 * -1 - 2 * 3);
  EXPECT_DOUBLE_EQ(a.Dot(b), 1);
  a.Rot90();
  EXPECT_DOUBLE_EQ(a.X, -2);
  EXPECT_DOUBLE_EQ(a.Y, 1);
  a.Rotate(-kPi / 2);
  EXPECT_NEAR(a.X, 1, 1e-15);
  EXPECT_NEAR(a.Y, 2, 1e-15);
}

// The segment from (1, 1) to (4, 5) is 5 long along u = (0.6, 0.8), with the normal
// n = (-0.8, 0.6): each point is built from a, u and n, so its distance is known beforehand.
TEST(ComplexTest, SegmentDistanceToTheNearestPointOfTheSegment) {
  const TComplex a(1, 1), b(4, 5);
  struct Case {
    TComplex p;
    double distance;
  };
  const Case cases[] = {
      {TComplex(0.9, 4.2), 2},             // a + 2.5u + 2n: beside the segment
      {TComplex(2.5, 3), 0},               // a + 2.5u: on it
      {TComplex(5.8, 7.4), 3},             // b + 3u: beyond b, measured to b
      {TComplex(-0.4, 0.8), std::sqrt(2.0)},  // a - u + n: before a, measured to a
      {TComplex(-2, -3), 5},               // a - 5u
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(shared::SegmentDistance2(c.p, a, b), c.distance * c.distance, 1e-12) << c.p.X << " " << c.p.Y;
    EXPECT_NEAR(shared::SegmentDistance2(c.p, b, a), c.distance * c.distance, 1e-12) << c.p.X << " " << c.p.Y;
  }
  // A segment of no length is its point: the distance from that point, never a division by 0.
  EXPECT_EQ(shared::SegmentDistance2(TComplex(4, 5), a, a), 25);
  EXPECT_EQ(shared::SegmentDistance2(a, a, a), 0);
  EXPECT_EQ(shared::SegmentDistance2(TComplex(-2, 1), TComplex(0, 0), TComplex(0, 0)), 5);
}

TEST(ComplexTest, ZeroCases) {
  TComplex z, r;
  z.Normalize();
  EXPECT_EQ(z.X, 0);
  EXPECT_EQ(z.Y, 0);
  r.Divide(TComplex(3, 4), z);
  EXPECT_EQ(r.X, 1e10);
  EXPECT_EQ(r.Y, 1e10);
  TComplex v(3, 4);
  v.DivBy(z);
  EXPECT_EQ(v.X, 1e10);
  v.SetXY(3, 4);
  v.Normalize();
  EXPECT_DOUBLE_EQ(v.Abs(), 1);
}

struct Tagged : TComplex {
  int tag = 7;
};

TEST(ComplexTest, BaseCloneIsPlainComplex) {
  Tagged t;
  t.SetXY(1.5, -2);
  std::unique_ptr<TComplex> copy(t.TComplex::Clone());
  EXPECT_EQ(dynamic_cast<Tagged*>(copy.get()), nullptr);
  EXPECT_EQ(copy->X, 1.5);
  EXPECT_EQ(copy->Y, -2);
}

TEST(ComplexTest, VectorRecordRoundTrip) {
  TComplex a(1.5, -0.001), b;
  std::stringstream text;
  a.WriteToText(text);
  EXPECT_EQ(text.str(), "[Vector]\r\n2  1.50000000000000E+0000 -1.00000000000000E-0003\r\n");
  b.ReadFromText(text);
  EXPECT_EQ(b.X, 1.5);
  EXPECT_EQ(b.Y, -0.001);

  TComplex p(std::numbers::pi, -std::numbers::e), q;
  std::stringstream more;
  p.WriteToText(more);
  q.ReadFromText(more);
  EXPECT_NEAR(q.X, p.X, 1e-14);
  EXPECT_NEAR(q.Y, p.Y, 1e-14);
}

TEST(ComplexTest, VectorRecordRejectsWrongSectionLine) {
  for (const char* text : {"[Vector] \n2 1 2\n", "[vector]\n2 1 2\n", "", "[Point]\n"}) {
    TComplex c(4, 5);
    std::istringstream in(text);
    EXPECT_THROW(c.ReadFromText(in), shared::EFileReadError) << text;
    EXPECT_EQ(c.X, 4);
    EXPECT_EQ(c.Y, 5);
  }
  TComplex c;
  std::istringstream lf("[Vector]\n2 1e0 2.5 trailing words\n");
  c.ReadFromText(lf);
  EXPECT_EQ(c.X, 1);
  EXPECT_EQ(c.Y, 2.5);
  try {
    std::istringstream bad("[x]\n");
    c.ReadFromText(bad);
  } catch (const shared::EFileReadError& e) {
    EXPECT_STREQ(e.what(), "File read error in TComplex!");
  }
}

}  // namespace
