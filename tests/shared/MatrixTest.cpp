// TMatrix: solutions of hand-solved systems, reuse of one decomposition, pivoting and the
// singular and zero-pivot cases.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "shared/Matrix.h"

using shared::TMatrix;

namespace {

TMatrix Filled(const std::vector<std::vector<double>>& a, const std::vector<double>& b) {
  TMatrix m(static_cast<int32_t>(b.size()));
  for (size_t i = 0; i < b.size(); ++i) {
    m.B[i] = b[i];
    for (size_t j = 0; j < b.size(); ++j) m.A[i][j] = a[i][j];
  }
  return m;
}

struct SystemCase {
  const char* name;
  std::vector<std::vector<double>> a;
  std::vector<double> b;
  std::vector<double> x;  // solved by hand
  double parity;
};

class MatrixSolveTest : public testing::TestWithParam<SystemCase> {};

TEST_P(MatrixSolveTest, GivesHandSolvedSolution) {
  const auto& c = GetParam();
  TMatrix m = Filled(c.a, c.b);
  EXPECT_TRUE(m.Decompose());
  m.BackSubstitute();
  ASSERT_EQ(m.B.size(), c.x.size());
  for (size_t i = 0; i < c.x.size(); ++i) EXPECT_NEAR(m.B[i], c.x[i], 1e-13) << c.name << " x" << i;
  EXPECT_EQ(m.Parity, c.parity) << c.name;
  EXPECT_FALSE(m.Singular);
  EXPECT_TRUE(m.Decomposed);
}

INSTANTIATE_TEST_SUITE_P(
    Systems, MatrixSolveTest,
    testing::Values(SystemCase{"one", {{4}}, {2}, {0.5}, 1},
                    // Needs a row swap: x = (3, 2).
                    SystemCase{"swap", {{0, 1}, {1, 0}}, {2, 3}, {3, 2}, -1},
                    // 2x + y - z = 8, -3x - y + 2z = -11, -2x + y + 2z = -3: x = (2, 3, -1).
                    // Two swaps (rows 0 and 2, then 1 and 2): parity +1.
                    SystemCase{"three", {{2, 1, -1}, {-3, -1, 2}, {-2, 1, 2}}, {8, -11, -3}, {2, 3, -1}, 1},
                    // Rows of very different size: implicit scaling picks row 1 as the first pivot
                    // although row 0 has the larger element. x = (1, 1).
                    SystemCase{"scaled", {{1e6, 1e8}, {1, 0.5}}, {1e6 + 1e8, 1.5}, {1, 1}, -1},
                    // The spline's tridiagonal form, x = (1, -1, 2, 0): b = M.x.
                    SystemCase{"tridiagonal",
                               {{2, 1, 0, 0}, {1, 4, 1, 0}, {0, 1, 4, 1}, {0, 0, 1, 2}},
                               {1, -1, 7, 2},
                               {1, -1, 2, 0},
                               1}),
    [](const testing::TestParamInfo<SystemCase>& info) { return info.param.name; });

TEST(MatrixTest, OneDecompositionServesSeveralRightHandSides) {
  // 2y = 2, x + y = 3: x = (2, 1); the first column needs a swap.
  TMatrix m = Filled({{0, 2}, {1, 1}}, {2, 3});
  m.Solve();
  EXPECT_NEAR(m.B[0], 2, 1e-15);
  EXPECT_NEAR(m.B[1], 1, 1e-15);
  const auto lu = m.A;
  const auto index = m.Index;
  // 2y = 4, x + y = 5: x = (3, 2).
  m.B = {4, 5};
  m.Solve();
  EXPECT_EQ(m.A, lu) << "the decomposition was repeated";
  EXPECT_EQ(m.Index, index);
  EXPECT_EQ(m.Parity, -1) << "a repeated solve must not reset the permutation sign";
  EXPECT_NEAR(m.B[0], 3, 1e-15);
  EXPECT_NEAR(m.B[1], 2, 1e-15);
}

TEST(MatrixTest, ZeroRowIsSingularAndLeavesTheRightHandSide) {
  TMatrix m = Filled({{1, 2}, {0, 0}}, {5, 7});
  EXPECT_FALSE(m.Decompose());
  EXPECT_TRUE(m.Singular);
  EXPECT_FALSE(m.Decomposed);
  m.BackSubstitute();
  EXPECT_EQ(m.B, (std::vector<double>{5, 7}));
  EXPECT_EQ(m.A[0], (std::vector<double>{1, 2})) << "nothing is decomposed";
  m.Solve();
  EXPECT_EQ(m.B, (std::vector<double>{5, 7}));
}

TEST(MatrixTest, ZeroPivotGivesLargeFiniteSolution) {
  // Rank-deficient without a zero row: the second pivot vanishes and becomes 1e-20.
  TMatrix m = Filled({{1, 1}, {1, 1}}, {1, 2});
  EXPECT_TRUE(m.Decompose());
  m.BackSubstitute();
  for (double x : m.B) {
    EXPECT_TRUE(std::isfinite(x));
    EXPECT_GT(std::fabs(x), 1e15);
  }
}

TEST(MatrixTest, ClearZeroesAAndBButKeepsFlags) {
  TMatrix m = Filled({{0, 0}, {0, 0}}, {1, 1});
  m.Solve();
  ASSERT_TRUE(m.Singular);
  m.A[0][0] = 3;
  m.Clear();
  EXPECT_EQ(m.A, (std::vector<std::vector<double>>{{0, 0}, {0, 0}}));
  EXPECT_EQ(m.B, (std::vector<double>{0, 0}));
  EXPECT_TRUE(m.Singular);
}

}  // namespace
