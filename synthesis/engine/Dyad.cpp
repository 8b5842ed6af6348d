// Solving the standard-form dyad at positions 5 and 9 and closing it at the other positions.
#include "synthesis/engine/Dyad.h"

#include <algorithm>

#include "synthesis/engine/CMatrix.h"
#include "synthesis/engine/Link.h"
#include "synthesis/engine/PrePoint.h"
#include "synthesis/engine/VectorLoop.h"

namespace vesk {

using shared::TComplex;

namespace {

// The closing test at positions 5 and 9: the dyad must reproduce the rotations it was solved with.
constexpr double kMatchTolerance = 1e-5;

double Distance(const TComplex& a, const TComplex& b) {
  TComplex d;
  d.Sub(a, b);
  return d.Abs();
}

}  // namespace

TComplex TDyad::Turn(const TLink& link, int32_t i) {
  TComplex unit;
  unit.SetPolar(1.0, link.Rot[size_t(i)]);
  return unit;
}

void TDyad::Aim(TLink& w, bool wFree, TLink& z, bool zFree, const TPrePointList& points) {
  WLink = &w;
  WFree = wFree;
  ZLink = &z;
  ZFree = zFree;
  SetPrecisionPoints(points);
}

void TDyad::SetPrecisionPoints(const TPrePointList& points) {
  const int32_t n = std::min(points.Count(), kPositions);
  for (int32_t i = 1; i <= n; ++i) Points[size_t(i)].CopyFrom(*points.GetPoint(i));
}

void TDyad::ShiftPoints(const TComplex& offset, const TLink& link) {
  Points[1].AddTo(offset);
  for (int32_t i = 2; i <= kPositions; ++i) {
    TComplex turned;
    turned.Mul(offset, Turn(link, i));
    Points[size_t(i)].AddTo(turned);
  }
}

bool TDyad::Solve() {
  SetModified(true);
  if (!WLink || !ZLink) return false;
  TCMatrix& m = CMatrix();
  m.SetOrder(2);
  m.Clear();
  const int32_t positions[2] = {5, 9};
  for (int32_t row = 1; row <= 2; ++row) {
    const int32_t j = positions[row - 1];
    m.A(row, 1).Sub(Turn(*WLink, j), One);
    m.A(row, 2).Sub(Turn(*ZLink, j), One);
    m.B(row).Sub(Points[size_t(j)], Points[1]);
  }
  if (!m.Solve()) return false;
  W.CopyFrom(m.B(1));
  Z.CopyFrom(m.B(2));
  return true;
}

bool TDyad::Check() {
  Error = 1.0;
  TComplex pivot;
  pivot.Sub(Points[1], Z);
  pivot.SubFrom(W);
  int32_t failed = 0;
  if (!WLink || !ZLink) failed = 2;
  TVectorLoop loop;
  for (int32_t i = 2; i <= kPositions && failed == 0; ++i) {
    loop.A0.CopyFrom(W);
    loop.B0.CopyFrom(Z);
    loop.C.Sub(Points[size_t(i)], pivot);
    if (!loop.Solve()) {
      failed = i;
      break;
    }
    const TComplex& uW = loop.RotA1;
    const TComplex& uZ = loop.RotB1;
    if (i == 5 || i == 9) {
      if (!(Distance(Turn(*WLink, i), uW) < kMatchTolerance) ||
          !(Distance(Turn(*ZLink, i), uZ) < kMatchTolerance))
        failed = i;
      continue;
    }
    if (WFree)
      WLink->Rot[size_t(i)] = uW.Arg();
    else
      Error *= 1.0 + Distance(Turn(*WLink, i), uW);
    if (ZFree)
      ZLink->Rot[size_t(i)] = uZ.Arg();
    else
      Error *= 1.0 + Distance(Turn(*ZLink, i), uZ);
  }
  if (failed != 0) Error = 10.0 - failed;
  return failed == 0;
}

bool TDyad::CloseCarrying(const TComplex& offset) {
  if (!Close()) return false;
  Z.AddTo(offset);
  ShiftPoints(offset, *ZLink);
  return true;
}

void TDyad::Assign(const shared::TGeneralObject* source) {
  TGeneralObject::Assign(source);
  const auto* dyad = dynamic_cast<const TDyad*>(source);
  if (!dyad) return;
  W.CopyFrom(dyad->W);
  Z.CopyFrom(dyad->Z);
  WLink = dyad->WLink;
  ZLink = dyad->ZLink;
  WFree = dyad->WFree;
  ZFree = dyad->ZFree;
  Error = dyad->Error;
  for (int32_t i = 1; i <= kPositions; ++i) Points[size_t(i)].CopyFrom(dyad->Points[size_t(i)]);
}

std::unique_ptr<shared::TGeneralObject> TDyad::Clone() const {
  auto copy = std::make_unique<TDyad>();
  copy->Assign(this);
  return copy;
}

}  // namespace vesk
