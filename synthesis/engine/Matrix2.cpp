// The 2x2 matrix: products, rotation, scaling and its record.
#include "synthesis/engine/Matrix2.h"

#include <cmath>

#include "shared/RealText.h"
#include "synthesis/engine/ProjectText.h"

namespace vesk {

void TMatrix2::Read(std::istream& in) {
  TProjectReader r(in, "TMatrix2");
  r.Section("[Matrix]");
  const int32_t rows = r.Int();
  double m[2][2];
  for (auto& row : m) {
    // A leading integer (the column count), then the row.
    const auto fields = r.Fields();
    if (fields.size() < 3) r.Fail();
    r.IntOf(fields[0]);
    row[0] = r.RealOf(fields[1]);
    row[1] = r.RealOf(fields[2]);
  }
  if (rows > 2) r.Skip(rows - 2);
  m11 = m[0][0];
  m12 = m[0][1];
  m21 = m[1][0];
  m22 = m[1][1];
}

void TMatrix2::Write(std::ostream& out) const {
  TProjectWriter w(out);
  w.Line("[Matrix]");
  w.Int(2);
  w.Line("2 " + shared::FormatReal(m11) + " " + shared::FormatReal(m12));
  w.Line("2 " + shared::FormatReal(m21) + " " + shared::FormatReal(m22));
}

void TMatrix2::Assign(const TMatrix2& source) {
  m11 = source.m11;
  m12 = source.m12;
  m21 = source.m21;
  m22 = source.m22;
}

TMatrix2* TMatrix2::Clone() const {
  auto* copy = new TMatrix2();
  copy->Assign(*this);
  return copy;
}

void TMatrix2::SetIdentity() {
  m11 = m22 = 1;
  m12 = m21 = 0;
}

void TMatrix2::SetZero() { m11 = m12 = m21 = m22 = 0; }

void TMatrix2::Multiply(const TMatrix2& m) {
  // m may be this matrix: every input is read before an entry changes.
  const double a11 = m11, a12 = m12, a21 = m21, a22 = m22;
  const double b11 = m.m11, b12 = m.m12, b21 = m.m21, b22 = m.m22;
  m11 = a11 * b11 + a12 * b21;
  m12 = a11 * b12 + a12 * b22;
  m21 = a21 * b11 + a22 * b21;
  m22 = a21 * b12 + a22 * b22;
}

void TMatrix2::Transform(shared::TComplex& v) const {
  const double x = v.X, y = v.Y;
  v.X = m11 * x + m12 * y;
  v.Y = m21 * x + m22 * y;
}

void TMatrix2::SetRotation(double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  m11 = c;
  m12 = -s;
  m21 = s;
  m22 = c;
}

void TMatrix2::Scale(double sx, double sy) {
  m11 *= sx;
  m21 *= sx;
  m12 *= sy;
  m22 *= sy;
}

}  // namespace vesk
