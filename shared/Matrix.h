// TMatrix: a dense real n x n linear system A.x = B solved by Crout LU decomposition with
// implicit partial pivoting; one decomposition serves any number of right-hand sides.
#pragma once

#include <cstdint>
#include <vector>

namespace shared {

class TMatrix {
 public:
  explicit TMatrix(int32_t order);

  // Fixed at creation: a new matrix needs a new object.
  const int32_t N;
  // Written by the caller (indices 0..N-1); after decomposition A holds L (below the
  // diagonal, unit diagonal implied) and U of the row-permuted matrix.
  std::vector<std::vector<double>> A;
  // Written by the caller; after a solve, the solution.
  std::vector<double> B;
  // Index[j]: the row swapped with row j at step j.
  std::vector<int32_t> Index;
  // 1 / largest absolute element of each row: the implicit pivot scaling.
  std::vector<double> RowScale;
  // Sign of the row permutation.
  double Parity = 1;
  // A row without a non-zero element was found; nothing is decomposed then.
  bool Singular = false;
  bool Decomposed = false;

  // A and B := zeros; the flags stay as they are.
  void Clear();
  // Decomposes A unless it already holds its decomposition; true when not Singular.
  bool Decompose();
  // Replaces B by the solution; nothing when not decomposed or singular.
  void BackSubstitute();
  void Solve();
};

}  // namespace shared
