// TCMatrix: solutions of orders 1..6 multiplied back, pivot choice, the zero-row and zero-column
// systems, reuse of one factorisation, NaN coefficients and the program-wide instance.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <random>
#include <stdexcept>
#include <vector>

#include "synthesis/engine/CMatrix.h"

namespace {

using vesk::TCMatrix;
using Cx = std::complex<double>;
using Rows = std::vector<std::vector<Cx>>;

void Fill(TCMatrix& m, const Rows& a, const std::vector<Cx>& b) {
  for (size_t i = 0; i < b.size(); ++i) {
    m.B(static_cast<int32_t>(i + 1)).SetXY(b[i].real(), b[i].imag());
    for (size_t j = 0; j < b.size(); ++j)
      m.A(static_cast<int32_t>(i + 1), static_cast<int32_t>(j + 1)).SetXY(a[i][j].real(), a[i][j].imag());
  }
}

Cx ValueOf(const shared::TComplex& z) { return {z.X, z.Y}; }

std::vector<Cx> Solution(const TCMatrix& m) {
  std::vector<Cx> x;
  for (int32_t i = 1; i <= m.Order(); ++i) x.push_back(ValueOf(m.B(i)));
  return x;
}

// Largest |A.x - b| relative to the sizes in play, in std::complex arithmetic.
double Residual(const Rows& a, const std::vector<Cx>& x, const std::vector<Cx>& b) {
  double worst = 0;
  for (size_t i = 0; i < b.size(); ++i) {
    Cx sum = 0;
    double size = std::abs(b[i]);
    for (size_t j = 0; j < x.size(); ++j) {
      sum += a[i][j] * x[j];
      size += std::abs(a[i][j]) * std::abs(x[j]);
    }
    worst = std::max(worst, std::abs(sum - b[i]) / size);
  }
  return worst;
}

// Rows of very different sizes, so that the row scaling matters to the pivot choice.
Rows RandomRows(std::mt19937& engine, int order) {
  std::uniform_real_distribution<double> part(-1, 1);
  const double sizes[] = {1, 1e-3, 250, 1e4, 0.02, 7};
  Rows a(order, std::vector<Cx>(order));
  for (int i = 0; i < order; ++i)
    for (int j = 0; j < order; ++j) a[i][j] = sizes[i] * Cx(part(engine), part(engine));
  return a;
}

std::vector<Cx> RandomVector(std::mt19937& engine, int order) {
  std::uniform_real_distribution<double> part(-10, 10);
  std::vector<Cx> b(order);
  for (auto& z : b) z = Cx(part(engine), part(engine));
  return b;
}

TEST(CMatrixTest, SolvesEveryOrderAndLeavesTheEntriesBeyondItAlone) {
  std::mt19937 engine(17);
  const Cx sentinel(-7.25, 3.5);
  for (int order = 1; order <= 6; ++order) {
    for (int trial = 0; trial < 20; ++trial) {
      TCMatrix m(order);
      for (int32_t i = 1; i <= 6; ++i) {
        m.B(i).SetXY(sentinel.real(), sentinel.imag());
        for (int32_t j = 1; j <= 6; ++j) m.A(i, j).SetXY(sentinel.real(), sentinel.imag());
      }
      const Rows a = RandomRows(engine, order);
      const std::vector<Cx> b = RandomVector(engine, order);
      Fill(m, a, b);
      ASSERT_TRUE(m.Solve()) << "order " << order;
      EXPECT_LT(Residual(a, Solution(m), b), 1e-13) << "order " << order << " trial " << trial;
      for (int32_t j = 1; j <= order; ++j) {
        EXPECT_GE(m.Index(j), j);
        EXPECT_LE(m.Index(j), order);
      }
      for (int32_t i = 1; i <= 6; ++i) {
        for (int32_t j = 1; j <= 6; ++j) {
          if (i > order || j > order) {
            EXPECT_EQ(ValueOf(m.A(i, j)), sentinel) << i << "," << j;
          }
        }
      }
      for (int32_t i = order + 1; i <= 6; ++i) EXPECT_EQ(ValueOf(m.B(i)), sentinel) << i;
    }
  }
}

TEST(CMatrixTest, SolvesHandWorkedSystems) {
  struct Case {
    const char* name;
    Rows a;
    std::vector<Cx> b;
    std::vector<Cx> x;  // solved by hand
  };
  const Case cases[] = {
      {"order 1", {{2}}, {{4, 2}}, {{2, 1}}},
      {"complex order 1", {{{0, 1}}}, {{3, 4}}, {{4, -3}}},
      // (1+i) x1 + x2 = 2+i, x1 - i x2 = 1-i: x1 = 1, x2 = 1.
      {"complex order 2", {{{1, 1}, 1}, {1, {0, -1}}}, {{2, 1}, {1, -1}}, {1, 1}},
      // Needs a row exchange: the first pivot is zero.
      {"zero leading pivot", {{0, 2, 0}, {1, 0, 0}, {0, 0, {0, 2}}}, {4, 3, {0, 4}}, {3, 2, 2}},
  };
  for (const Case& c : cases) {
    TCMatrix m(static_cast<int32_t>(c.b.size()));
    Fill(m, c.a, c.b);
    ASSERT_TRUE(m.Solve()) << c.name;
    const std::vector<Cx> x = Solution(m);
    for (size_t i = 0; i < x.size(); ++i)
      EXPECT_LT(std::abs(x[i] - c.x[i]), 1e-15) << c.name << " x" << i + 1;
  }
}

TEST(CMatrixTest, PivotsOnTheLargestScaledFigureAndTheLastOfEqualOnes) {
  struct Case {
    const char* name;
    Rows a;
    int32_t pivot;  // Index(1)
  };
  const Case cases[] = {
      {"larger figure below", {{1, 2}, {3, 1}}, 2},
      {"larger figure on the diagonal", {{3, 1}, {1, 2}}, 1},
      // Plain partial pivoting would keep row 1 (2 > 1); scaled, its figure is 2e-5.
      {"scaling decides", {{2, 1e5}, {1, 1}}, 2},
      {"equal figures: the last row", {{1, 1}, {1, 0.5}}, 2},
      {"equal figures of complex moduli", {{{3, 4}, 0, 0}, {5, 1, 0}, {{0, 5}, 0, 1}}, 3},
  };
  for (const Case& c : cases) {
    TCMatrix m(static_cast<int32_t>(c.a.size()));
    const std::vector<Cx> b(c.a.size(), Cx(1, -2));
    Fill(m, c.a, b);
    ASSERT_TRUE(m.Solve()) << c.name;
    EXPECT_EQ(m.Index(1), c.pivot) << c.name;
    EXPECT_LT(Residual(c.a, Solution(m), b), 1e-14) << c.name;
  }
}

TEST(CMatrixTest, AZeroRowIsSingularAndKeepsTheRightHandSide) {
  const Rows rows[] = {
      {{0, 0}, {1, 2}},
      {{1, 2, 3}, {4, 5, 6}, {0, 0, 0}},
      {{1, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}},
  };
  for (const Rows& a : rows) {
    TCMatrix m(static_cast<int32_t>(a.size()));
    std::vector<Cx> b;
    for (size_t i = 0; i < a.size(); ++i) b.emplace_back(i + 1.0, -0.5 * i);
    Fill(m, a, b);
    EXPECT_FALSE(m.Solve()) << a.size();
    EXPECT_TRUE(m.Singular());
    EXPECT_FALSE(m.Decomposed());
    EXPECT_EQ(Solution(m), b);
  }
  // A row that is zero within the order is zero, whatever lies beyond it.
  TCMatrix m(2);
  m.A(1, 1).SetXY(1, 0);
  m.A(2, 3).SetXY(5, 5);
  EXPECT_FALSE(m.Solve());
}

TEST(CMatrixTest, AZeroColumnIsNotSingularButSolvedWithATinyPivot) {
  // Column 1 is zero, no row is: both pivot figures are 0, the last row is taken and its pivot
  // 0 becomes 1e-20; L21 = 0 / 1e-20 = 0, so U22 = 1. Forward substitution gives (b2, b1), back
  // substitution x2 = b1 and x1 = (b2 - x2) / 1e-20.
  TCMatrix m(2);
  const Cx b1(1, 0.5), b2(2, -1);
  Fill(m, {{0, 1}, {0, 1}}, {b1, b2});
  EXPECT_TRUE(m.Solve());
  EXPECT_FALSE(m.Singular());
  EXPECT_EQ(m.Index(1), 2);
  EXPECT_EQ(ValueOf(m.A(1, 1)), Cx(1e-20, 0));
  EXPECT_EQ(ValueOf(m.A(2, 1)), Cx(0, 0));
  EXPECT_EQ(ValueOf(m.A(2, 2)), Cx(1, 0));
  const Cx x2 = b1;
  const Cx x1 = (b2 - x2) / 1e-20;
  EXPECT_EQ(ValueOf(m.B(2)), x2);
  EXPECT_LT(std::abs(ValueOf(m.B(1)) - x1), 1e-15 * std::abs(x1));
}

TEST(CMatrixTest, ASecondSolveWithoutClearReusesTheFactors) {
  std::mt19937 engine(4);
  const Rows a = RandomRows(engine, 4);
  TCMatrix m(4);
  Fill(m, a, RandomVector(engine, 4));
  ASSERT_TRUE(m.Solve());
  ASSERT_TRUE(m.Decomposed());
  std::vector<Cx> factors;
  for (int32_t i = 1; i <= 4; ++i)
    for (int32_t j = 1; j <= 4; ++j) factors.push_back(ValueOf(m.A(i, j)));

  for (int round = 0; round < 3; ++round) {
    const std::vector<Cx> b = RandomVector(engine, 4);
    for (int32_t i = 1; i <= 4; ++i) m.B(i).SetXY(b[i - 1].real(), b[i - 1].imag());
    ASSERT_TRUE(m.Solve());
    EXPECT_LT(Residual(a, Solution(m), b), 1e-13) << round;
  }
  std::vector<Cx> after;
  for (int32_t i = 1; i <= 4; ++i)
    for (int32_t j = 1; j <= 4; ++j) after.push_back(ValueOf(m.A(i, j)));
  EXPECT_EQ(after, factors);

  // Clear starts a new system: it is factorised afresh.
  m.Clear();
  EXPECT_FALSE(m.Decomposed());
  for (int32_t i = 1; i <= 6; ++i) {
    EXPECT_EQ(ValueOf(m.B(i)), Cx(0, 0));
    for (int32_t j = 1; j <= 6; ++j) EXPECT_EQ(ValueOf(m.A(i, j)), Cx(0, 0));
  }
  const Rows other = RandomRows(engine, 4);
  const std::vector<Cx> b = RandomVector(engine, 4);
  Fill(m, other, b);
  ASSERT_TRUE(m.Solve());
  EXPECT_LT(Residual(other, Solution(m), b), 1e-13);
}

TEST(CMatrixTest, BackSubstitutionWaitsForTheFactors) {
  TCMatrix m(2);
  Fill(m, {{2, 0}, {0, 4}}, {2, 2});
  m.BackSubstitute();
  EXPECT_EQ(Solution(m), (std::vector<Cx>{2, 2}));
  EXPECT_TRUE(m.Decompose());
  m.BackSubstitute();
  EXPECT_EQ(Solution(m), (std::vector<Cx>{1, 0.5}));
}

TEST(CMatrixTest, NaNCoefficientsStillPivotOnARowInRange) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Rows rows[] = {
      {{nan, 1}, {nan, 2}},
      {{1, nan, 2}, {2, nan, 1}, {1, 1, nan}},
      {{{nan, 0}, 1, 1}, {{0, nan}, 1, 2}, {nan, 3, 1}},
  };
  for (const Rows& a : rows) {
    const int32_t n = static_cast<int32_t>(a.size());
    TCMatrix m(n);
    Fill(m, a, std::vector<Cx>(a.size(), 1));
    m.Solve();
    ASSERT_TRUE(m.Decomposed());
    for (int32_t j = 1; j <= n; ++j) {
      EXPECT_GE(m.Index(j), j) << n;
      EXPECT_LE(m.Index(j), n) << n;
    }
  }
}

TEST(CMatrixTest, RefusesOrdersAndIndicesOutsideTheStorage) {
  EXPECT_THROW(TCMatrix(0), std::out_of_range);
  EXPECT_THROW(TCMatrix(7), std::out_of_range);
  TCMatrix m(3);
  EXPECT_THROW(m.SetOrder(-1), std::out_of_range);
  EXPECT_EQ(m.Order(), 3);
  m.SetOrder(6);
  EXPECT_EQ(m.Order(), 6);
  EXPECT_THROW(m.A(0, 1), std::out_of_range);
  EXPECT_THROW(m.A(1, 7), std::out_of_range);
  EXPECT_THROW(m.B(7), std::out_of_range);
}

TEST(CMatrixInstanceTest, ExistsOfOrderSixBetweenCreateAndFree) {
  vesk::FreeCMatrix();
  EXPECT_THROW(vesk::CMatrix(), std::logic_error);
  vesk::CreateCMatrix();
  EXPECT_EQ(vesk::CMatrix().Order(), 6);
  EXPECT_FALSE(vesk::CMatrix().Singular());
  EXPECT_FALSE(vesk::CMatrix().Decomposed());
  EXPECT_EQ(ValueOf(vesk::CMatrix().A(6, 6)), Cx(0, 0));
  vesk::FreeCMatrix();
  EXPECT_THROW(vesk::CMatrix(), std::logic_error);
}

}  // namespace
