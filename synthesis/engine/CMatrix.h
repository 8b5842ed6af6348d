// TCMatrix: a complex linear system A.x = B of order 1..6 in fixed 6 x 6 storage, solved by Crout
// LU decomposition with implicit row scaling; the one instance that all dyad synthesis shares.
#pragma once

#include <array>
#include <cstdint>

#include "shared/Complex.h"

namespace vesk {

class TCMatrix {
 public:
  static constexpr int32_t kMaxOrder = 6;

  // Every entry 0 + 0i, both flags false. Raises std::out_of_range for an order outside 1..6.
  explicit TCMatrix(int32_t order);

  int32_t Order() const { return FOrder; }
  // Raises std::out_of_range outside 1..6; the entries and flags stay as they are.
  void SetOrder(int32_t order);

  // Coefficient (i, j) and right-hand-side entry i, indexed 1..6 whatever the order; entries
  // beyond the order are neither read nor changed by the solver. Raise std::out_of_range
  // outside 1..6. After decomposition A holds L (below the diagonal, unit diagonal implied)
  // and U of the row-permuted matrix; after a solution B holds x.
  shared::TComplex& A(int32_t i, int32_t j);
  const shared::TComplex& A(int32_t i, int32_t j) const;
  shared::TComplex& B(int32_t i);
  const shared::TComplex& B(int32_t i) const;
  // The row swapped with row j when column j was eliminated (1..Order).
  int32_t Index(int32_t j) const;

  // Set when a row of A is entirely zero.
  bool Singular() const { return FSingular; }
  // Set when A holds its LU factors.
  bool Decomposed() const { return FDecomposed; }

  // All 36 coefficients and 6 right-hand-side entries := 0 + 0i; Singular and Decomposed false.
  void Clear();
  // Factorises A unless it already holds its factors; true when no row is zero. A pivot that
  // is zero after elimination becomes 1e-20 and is not reported.
  bool Decompose();
  // Replaces B by the solution; nothing unless decomposed and not singular.
  void BackSubstitute();
  // Decompose and BackSubstitute; false (B as written) for a zero row. A second Solve without
  // Clear reuses the factors with the new right-hand side.
  bool Solve();

 private:
  int32_t FOrder;
  // Row and column 0 are unused, so the indices are those the synthesis formulas use.
  std::array<std::array<shared::TComplex, kMaxOrder + 1>, kMaxOrder + 1> FA;
  std::array<shared::TComplex, kMaxOrder + 1> FB;
  std::array<int32_t, kMaxOrder + 1> FIndex{};
  // 1 / the largest modulus of each row: the implicit scaling of the pivot search.
  std::array<double, kMaxOrder + 1> FScale{};
  bool FSingular = false;
  bool FDecomposed = false;
};

// The program-wide solver of order 6, created at start-up and freed at exit. CMatrix() raises
// std::logic_error when none exists.
void CreateCMatrix();
void FreeCMatrix();
TCMatrix& CMatrix();

}  // namespace vesk
