// Crout LU decomposition with implicit partial pivoting, and forward and back substitution.
#include "shared/Matrix.h"

#include <cmath>
#include <utility>

namespace shared {

namespace {
// Stands in for a zero pivot so that a singular column yields a huge but finite solution.
constexpr double kTinyPivot = 1e-20;
}  // namespace

TMatrix::TMatrix(int32_t order)
    : N(order < 0 ? 0 : order), A(N, std::vector<double>(N, 0.0)), B(N, 0.0), Index(N, 0), RowScale(N, 0.0) {}

void TMatrix::Clear() {
  for (auto& row : A) row.assign(N, 0.0);
  B.assign(N, 0.0);
}

bool TMatrix::Decompose() {
  // A second call must not reset Parity or rescale the rows of the decomposed matrix.
  if (Decomposed) return !Singular;
  Parity = 1;
  for (int32_t i = 0; i < N; ++i) {
    double largest = 0;
    for (int32_t j = 0; j < N; ++j) largest = std::fmax(largest, std::fabs(A[i][j]));
    if (largest != 0)
      RowScale[i] = 1 / largest;
    else
      Singular = true;
  }
  if (Singular) return false;

  for (int32_t j = 0; j < N; ++j) {
    for (int32_t i = 0; i < j; ++i) {
      double sum = A[i][j];
      for (int32_t k = 0; k < i; ++k) sum -= A[i][k] * A[k][j];
      A[i][j] = sum;
    }
    double best = 0;
    int32_t pivot = j;
    for (int32_t i = j; i < N; ++i) {
      double sum = A[i][j];
      for (int32_t k = 0; k < j; ++k) sum -= A[i][k] * A[k][j];
      A[i][j] = sum;
      const double merit = RowScale[i] * std::fabs(sum);
      // On ties the later row wins.
      if (merit >= best) {
        best = merit;
        pivot = i;
      }
    }
    if (pivot != j) {
      std::swap(A[pivot], A[j]);
      Parity = -Parity;
      RowScale[pivot] = RowScale[j];
    }
    Index[j] = pivot;
    if (A[j][j] == 0) A[j][j] = kTinyPivot;
    if (j != N - 1) {
      const double inverse = 1 / A[j][j];
      for (int32_t i = j + 1; i < N; ++i) A[i][j] *= inverse;
    }
  }
  Decomposed = true;
  return true;
}

void TMatrix::BackSubstitute() {
  if (!Decomposed || Singular) return;
  // Forward substitution skips the leading zeros of the permuted right-hand side.
  int32_t first = -1;
  for (int32_t i = 0; i < N; ++i) {
    const int32_t p = Index[i];
    double sum = B[p];
    B[p] = B[i];
    if (first >= 0) {
      for (int32_t k = first; k < i; ++k) sum -= A[i][k] * B[k];
    } else if (sum != 0) {
      first = i;
    }
    B[i] = sum;
  }
  for (int32_t i = N - 1; i >= 0; --i) {
    double sum = B[i];
    for (int32_t k = i + 1; k < N; ++k) sum -= A[i][k] * B[k];
    B[i] = sum / A[i][i];
  }
}

void TMatrix::Solve() {
  Decompose();
  BackSubstitute();
}

}  // namespace shared
