// TComplex: the point, vector and complex number of all planar geometry in both programs.
#pragma once

#include <istream>
#include <ostream>
#include <stdexcept>

namespace shared {

// Raised by the record readers of the text files ("File read error in TComplex!" and the like).
class EFileReadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TComplex {
 public:
  double X = 0;
  double Y = 0;

  // C++ cannot dispatch to a subclass from a base constructor: a subclass that clears itself
  // its own way calls its Zero from its own constructor.
  TComplex() { TComplex::Zero(); }
  TComplex(double x, double y) : X(x), Y(y) {}
  TComplex(const TComplex&) = default;
  TComplex& operator=(const TComplex&) = default;
  virtual ~TComplex() = default;

  // Reads a "[Vector]" record; on a wrong first line raises EFileReadError and keeps X, Y.
  virtual void ReadFromText(std::istream& in);
  // Writes "[Vector]" and "2 X Y" with the 23-character real notation.
  virtual void WriteToText(std::ostream& out) const;
  virtual TComplex& Assign(const TComplex& other);
  virtual void Clear();
  // A new object owned by the caller; a plain TComplex unless a subclass overrides it.
  virtual TComplex* Clone() const;
  virtual void SetXY(double x, double y);
  virtual void Zero();
  virtual void CopyFrom(const TComplex& other);

  double Abs() const;
  double Abs2() const;
  // In (-pi, pi]; (0, 0) gives 0.
  double Arg() const;
  void SetPolar(double length, double angle);
  void Conjugate();
  void Normalize();
  void SetUnit();
  void Negate();
  void Scale(double f);
  void Rotate(double angle);
  void Rot90();
  void Add(const TComplex& a, const TComplex& b);
  void AddTo(const TComplex& a);
  void Sub(const TComplex& a, const TComplex& b);
  void SubFrom(const TComplex& a);
  void SubFrom2(const TComplex& a, const TComplex& b);
  void Mul(const TComplex& a, const TComplex& b);
  void MulBy(const TComplex& a);
  // A zero divisor gives (1e10, 1e10) without an error.
  void Divide(const TComplex& a, const TComplex& b);
  void DivBy(const TComplex& a);
  double Cross(const TComplex& a) const;
  double Dot(const TComplex& a) const;
  bool NotEqual(const TComplex& a) const;
};

inline constexpr double kDivisionByZero = 1e10;

// The squared distance of p from the segment from a to b, measured to the nearest point of the
// segment; a segment of no length is its point a.
double SegmentDistance2(const TComplex& p, const TComplex& a, const TComplex& b);

}  // namespace shared
