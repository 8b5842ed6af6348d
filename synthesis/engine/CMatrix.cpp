// Crout LU decomposition of a complex matrix with implicit row scaling and partial pivoting,
// forward and back substitution, and the program-wide instance.
#include "synthesis/engine/CMatrix.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

namespace vesk {

using shared::TComplex;

namespace {

// Stands in for a zero pivot so that the elimination goes on; the solution then carries huge
// values, which the synthesis users reject through their own closing checks.
constexpr double kTinyPivot = 1e-20;

void CheckOrder(int32_t order) {
  if (order < 1 || order > TCMatrix::kMaxOrder)
    throw std::out_of_range("TCMatrix: order " + std::to_string(order) + " is outside 1..6.");
}

void CheckIndex(int32_t i) {
  if (i < 1 || i > TCMatrix::kMaxOrder)
    throw std::out_of_range("TCMatrix: index " + std::to_string(i) + " is outside 1..6.");
}

}  // namespace

TCMatrix::TCMatrix(int32_t order) : FOrder(order) { CheckOrder(order); }

void TCMatrix::SetOrder(int32_t order) {
  CheckOrder(order);
  FOrder = order;
}

TComplex& TCMatrix::A(int32_t i, int32_t j) {
  CheckIndex(i);
  CheckIndex(j);
  return FA[i][j];
}

const TComplex& TCMatrix::A(int32_t i, int32_t j) const {
  CheckIndex(i);
  CheckIndex(j);
  return FA[i][j];
}

TComplex& TCMatrix::B(int32_t i) {
  CheckIndex(i);
  return FB[i];
}

const TComplex& TCMatrix::B(int32_t i) const {
  CheckIndex(i);
  return FB[i];
}

int32_t TCMatrix::Index(int32_t j) const {
  CheckIndex(j);
  return FIndex[j];
}

void TCMatrix::Clear() {
  for (int32_t i = 1; i <= kMaxOrder; ++i) {
    for (int32_t j = 1; j <= kMaxOrder; ++j) FA[i][j].SetXY(0, 0);
    FB[i].SetXY(0, 0);
  }
  FSingular = false;
  FDecomposed = false;
}

bool TCMatrix::Decompose() {
  const int32_t n = FOrder;
  for (int32_t i = 1; i <= n; ++i) {
    double big = 0;
    for (int32_t j = 1; j <= n; ++j) {
      const double size = FA[i][j].Abs();
      if (size > big) big = size;
    }
    if (big != 0)
      FScale[i] = 1 / big;
    else
      FSingular = true;
  }
  if (FSingular || FDecomposed) return !FSingular;

  TComplex product;
  for (int32_t j = 1; j <= n; ++j) {
    for (int32_t i = 1; i < j; ++i)
      for (int32_t k = 1; k < i; ++k) {
        product.Mul(FA[i][k], FA[k][j]);
        FA[i][j].SubFrom(product);
      }
    double big = 0;
    // A NaN coefficient gives NaN figures, which win no comparison: the diagonal row then
    // stays the pivot instead of an unset one.
    int32_t imax = j;
    for (int32_t i = j; i <= n; ++i) {
      for (int32_t k = 1; k < j; ++k) {
        product.Mul(FA[i][k], FA[k][j]);
        FA[i][j].SubFrom(product);
      }
      const double figure = FScale[i] * FA[i][j].Abs();
      // Among equal figures the last row wins.
      if (figure >= big) {
        big = figure;
        imax = i;
      }
    }
    if (imax != j) {
      for (int32_t k = 1; k <= n; ++k) std::swap(FA[imax][k], FA[j][k]);
      FScale[imax] = FScale[j];
    }
    FIndex[j] = imax;
    if (FA[j][j].Abs() == 0) FA[j][j].SetXY(kTinyPivot, 0);
    if (j != n)
      for (int32_t i = j + 1; i <= n; ++i) FA[i][j].Divide(FA[i][j], FA[j][j]);
  }
  FDecomposed = true;
  return true;
}

void TCMatrix::BackSubstitute() {
  if (!FDecomposed || FSingular) return;
  const int32_t n = FOrder;
  TComplex product;
  // Forward substitution skips the leading zeros of the permuted right-hand side.
  int32_t first = 0;
  for (int32_t i = 1; i <= n; ++i) {
    const int32_t p = FIndex[i];
    TComplex sum = FB[p];
    FB[p] = FB[i];
    if (first != 0) {
      for (int32_t j = first; j < i; ++j) {
        product.Mul(FA[i][j], FB[j]);
        sum.SubFrom(product);
      }
    } else if (sum.Abs() != 0) {
      first = i;
    }
    FB[i] = sum;
  }
  for (int32_t i = n; i >= 1; --i) {
    TComplex sum = FB[i];
    for (int32_t j = i + 1; j <= n; ++j) {
      product.Mul(FA[i][j], FB[j]);
      sum.SubFrom(product);
    }
    FB[i].Divide(sum, FA[i][i]);
  }
}

bool TCMatrix::Solve() {
  Decompose();
  BackSubstitute();
  return !FSingular;
}

namespace {
std::unique_ptr<TCMatrix>& Instance() {
  static std::unique_ptr<TCMatrix> instance;
  return instance;
}
}  // namespace

void CreateCMatrix() { Instance() = std::make_unique<TCMatrix>(TCMatrix::kMaxOrder); }

void FreeCMatrix() { Instance().reset(); }

TCMatrix& CMatrix() {
  if (!Instance()) throw std::logic_error("The complex linear solver was used before it was created.");
  return *Instance();
}

}  // namespace vesk
