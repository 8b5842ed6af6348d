// TMatrix2: the 2x2 real matrix of the synthesis program's drawing transform, with its
// "[Matrix]" record.
#pragma once

#include <istream>
#include <ostream>

#include "shared/Complex.h"

namespace vesk {

class TMatrix2 {
 public:
  TMatrix2() = default;
  TMatrix2(double a11, double a12, double a21, double a22) : m11(a11), m12(a12), m21(a21), m22(a22) {}
  virtual ~TMatrix2() = default;

  // "[Matrix]" (else "File read error in TMatrix2!"), a row count n, two rows, n - 2 further
  // lines skipped. Any failure keeps the entries as they were.
  virtual void Read(std::istream& in);
  virtual void Write(std::ostream& out) const;
  virtual void Assign(const TMatrix2& source);
  virtual TMatrix2* Clone() const;

  void SetIdentity();
  void SetZero();
  // self := self x m.
  void Multiply(const TMatrix2& m);
  // v := self v.
  void Transform(shared::TComplex& v) const;
  // The rotation by angle (radians).
  void SetRotation(double angle);
  // The first column times sx, the second times sy.
  void Scale(double sx, double sy);

  // Created as the zero matrix, not the identity.
  double m11 = 0, m12 = 0, m21 = 0, m22 = 0;
};

}  // namespace vesk
