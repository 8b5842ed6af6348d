// Function generation on a four-link loop: the linear system of three positions and its closed
// form for a half-turning input.
#include "synthesis/engine/FunctionGenerator.h"

#include <numbers>

#include "synthesis/engine/CMatrix.h"
#include "synthesis/engine/Link.h"
#include "synthesis/engine/VectorLoop.h"

namespace vesk {

using shared::TComplex;

namespace {

TComplex Turn(const TLink& link, int32_t i) {
  TComplex u;
  u.SetPolar(1.0, link.Rot[size_t(i)]);
  return u;
}

}  // namespace

bool TFunctionGenerator::SolveMatrix() {
  if (!L1 || !L2 || !L3 || !L4) return false;
  TCMatrix& m = CMatrix();
  m.SetOrder(3);
  m.Clear();
  for (int32_t c = 1; c <= 3; ++c) m.A(1, c).CopyFrom(One);
  m.B(1).CopyFrom(One);
  const TLink* columns[3] = {L2, L3, L4};
  const int32_t positions[2] = {5, 9};
  for (int32_t row = 2; row <= 3; ++row) {
    const int32_t j = positions[row - 2];
    for (int32_t c = 1; c <= 3; ++c) m.A(row, c).CopyFrom(Turn(*columns[c - 1], j));
    m.B(row).CopyFrom(Turn(*L1, j));
  }
  if (!m.Solve()) return false;
  V1.CopyFrom(One);
  V2.CopyFrom(m.B(1));
  V3.CopyFrom(m.B(2));
  V4.CopyFrom(m.B(3));
  return true;
}

void TFunctionGenerator::Scale(const TComplex& factor) {
  V1.MulBy(factor);
  V2.MulBy(factor);
  V3.MulBy(factor);
  V4.MulBy(factor);
}

bool TFunctionGenerator::SolveLoop() {
  if (!L4) return false;
  TComplex d = Turn(*L4, 9);
  d.SubFrom(One);
  // A half turn of V2 with V3 unturned closes at 9 when V2 = V4 (e^{i theta4,9} - 1) / 2; the
  // coupler is made four times the crank.
  V4.SetXY(0.0, -1.0);
  V2.Mul(V4, d);
  V2.Scale(0.5);
  V3.CopyFrom(V2);
  V3.Scale(4.0);
  V1.Add(V2, V3);
  V1.AddTo(V4);
  const TComplex norm(V1);
  V4.DivBy(norm);
  V3.DivBy(norm);
  V2.DivBy(norm);
  V1.DivBy(norm);

  TVectorLoop loop;
  loop.A0.CopyFrom(V2);
  loop.B0.CopyFrom(V3);
  TComplex rocker = Turn(*L4, 5);
  rocker.MulBy(V4);
  loop.C.Sub(V1, rocker);
  if (!loop.Solve()) return false;
  if (F2 && L2) {
    L2->Rot[5] = loop.RotA2.Arg();
    L2->Rot[9] = std::numbers::pi;
  }
  if (F3 && L3) {
    L3->Rot[5] = loop.RotB2.Arg();
    L3->Rot[9] = 0.0;
  }
  return true;
}

}  // namespace vesk
