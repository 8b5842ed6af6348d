// The 2x2 matrix: products against hand values and rotations, and its "[Matrix]" record.
#include "synthesis/engine/Matrix2.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>

#include "tests/synthesis/engine/RecordText.h"

using namespace vesk;
using shared::TComplex;
using vesktest::Lines;
using vesktest::ReadError;

namespace {

void ExpectEntries(const TMatrix2& m, double a11, double a12, double a21, double a22, double tol = 0) {
  EXPECT_NEAR(m.m11, a11, tol);
  EXPECT_NEAR(m.m12, a12, tol);
  EXPECT_NEAR(m.m21, a21, tol);
  EXPECT_NEAR(m.m22, a22, tol);
}

std::string Written(const TMatrix2& m) {
  std::ostringstream out;
  m.Write(out);
  return out.str();
}

TEST(Matrix2Test, ProductsTransformScaleAndRotation) {
  TMatrix2 m;
  ExpectEntries(m, 0, 0, 0, 0);  // created as the zero matrix
  m.SetIdentity();
  ExpectEntries(m, 1, 0, 0, 1);
  TMatrix2 a(1, 2, 3, 4), b(5, 6, 7, 8);
  a.Multiply(b);  // [1 2; 3 4] [5 6; 7 8] by hand
  ExpectEntries(a, 19, 22, 43, 50);
  TMatrix2 c(1, 2, 3, 4);
  c.Multiply(c);
  ExpectEntries(c, 7, 10, 15, 22);
  TComplex v(1, -1);
  TMatrix2(1, 2, 3, 4).Transform(v);
  EXPECT_EQ(v.X, -1);
  EXPECT_EQ(v.Y, -1);
  TMatrix2 s(1, 2, 3, 4);
  s.Scale(10, -1);
  ExpectEntries(s, 10, -2, 30, -4);
  s.SetZero();
  ExpectEntries(s, 0, 0, 0, 0);

  // A rotation turns a vector as the complex rotation does; two compose to their sum.
  TMatrix2 r1, r2;
  r1.SetRotation(0.7);
  r2.SetRotation(-2.1);
  r1.Multiply(r2);
  TComplex p(0.3, 1.9), q = p;
  r1.Transform(p);
  q.Rotate(0.7 - 2.1);
  EXPECT_NEAR(p.X, q.X, 1e-15);
  EXPECT_NEAR(p.Y, q.Y, 1e-15);
}

TEST(Matrix2Test, RecordRoundTripsByteForByte) {
  const TMatrix2 m(1.5, -0.25, 1e-12, 12345.678);
  const std::string text = Written(m);
  EXPECT_EQ(text, Lines({"[Matrix]", "2", "2  1.50000000000000E+0000 -2.50000000000000E-0001",
                         "2  1.00000000000000E-0012  1.23456780000000E+0004"}));
  TMatrix2 back;
  std::istringstream in(text);
  back.Read(in);
  ExpectEntries(back, 1.5, -0.25, 1e-12, 12345.678);
  EXPECT_EQ(Written(back), text);
  std::unique_ptr<TMatrix2> clone(m.Clone());
  EXPECT_EQ(Written(*clone), text);
}

TEST(Matrix2Test, FurtherRowsAreSkipped) {
  std::istringstream in(
      Lines({"[Matrix]", "3", "2 1 2", "2 3 4", "2 5 6", "[Matrix]", "2", "2 0 1", "2 1 0"}));
  TMatrix2 m;
  m.Read(in);
  ExpectEntries(m, 1, 2, 3, 4);
  m.Read(in);  // the next record starts right after the skipped line
  ExpectEntries(m, 0, 1, 1, 0);
}

TEST(Matrix2Test, RefusedRecordsKeepTheEntries) {
  const std::vector<std::string> bad[] = {
      {"[Vector]", "2", "2 1 2", "2 3 4"},
      {"[Matrix]", "2", "2 1", "2 3 4"},
      {"[Matrix]", "2", "2 1 2 3", "two 3 4"},
      {"[Matrix]", "2147483647", "2 1 2", "2 3 4", "2 5 6"},  // runs out of lines, never hangs
  };
  for (const auto& lines : bad) {
    TMatrix2 m(9, 8, 7, 6);
    EXPECT_EQ(ReadError(Lines(lines), [&](std::istream& in) { m.Read(in); }), "File read error in TMatrix2!")
        << lines[1];
    ExpectEntries(m, 9, 8, 7, 6);
  }
  vesktest::ExpectDamageRefused(
      Written(TMatrix2(1, 2, 3, 4)), [](std::istream& in) { TMatrix2().Read(in); }, {},
      "File read error in TMatrix2!");
}

}  // namespace
