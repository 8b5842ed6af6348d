// TComplex arithmetic and its "[Vector]" text record.
#include "shared/Complex.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <sstream>
#include <string>

#include "shared/RealText.h"
#include "shared/TextLine.h"

namespace shared {

void TComplex::ReadFromText(std::istream& in) {
  std::string line;
  if (!ReadTextLine(in, line) || line != "[Vector]")
    throw EFileReadError("File read error in TComplex!");
  if (!ReadTextLine(in, line)) throw EFileReadError("File read error in TComplex!");
  std::istringstream fields(line);
  std::string count, x, y;
  fields >> count >> x >> y;
  double newX = 0, newY = 0;
  if (!ParseReal(x, newX) || !ParseReal(y, newY)) throw EFileReadError("File read error in TComplex!");
  X = newX;
  Y = newY;
}

void TComplex::WriteToText(std::ostream& out) const {
  out << "[Vector]" << kLineEnd << "2 " << FormatReal(X) << ' ' << FormatReal(Y) << kLineEnd;
}

TComplex& TComplex::Assign(const TComplex& other) {
  X = other.X;
  Y = other.Y;
  return *this;
}

void TComplex::Clear() { Zero(); }

TComplex* TComplex::Clone() const {
  auto* copy = new TComplex();
  copy->TComplex::Assign(*this);
  return copy;
}

void TComplex::SetXY(double x, double y) {
  X = x;
  Y = y;
}

void TComplex::Zero() {
  X = 0;
  Y = 0;
}

void TComplex::CopyFrom(const TComplex& other) { Assign(other); }

double TComplex::Abs() const { return std::sqrt(X * X + Y * Y); }

double TComplex::Abs2() const { return X * X + Y * Y; }

double TComplex::Arg() const {
  double t;
  if (std::fabs(X) > std::fabs(Y))
    t = std::atan(std::fabs(Y / X));
  else if (Y != 0)
    t = std::numbers::pi / 2 - std::atan(std::fabs(X / Y));
  else
    t = 0;
  if (X < 0) t = std::numbers::pi - t;
  return Y >= 0 ? t : -t;
}

void TComplex::SetPolar(double length, double angle) {
  X = length * std::cos(angle);
  Y = length * std::sin(angle);
}

void TComplex::Conjugate() { Y = -Y; }

void TComplex::Normalize() {
  const double r = Abs();
  if (r > 0) {
    X /= r;
    Y /= r;
  }
}

void TComplex::SetUnit() {
  X = 1;
  Y = 0;
}

void TComplex::Negate() {
  X = -X;
  Y = -Y;
}

void TComplex::Scale(double f) {
  X *= f;
  Y *= f;
}

void TComplex::Rotate(double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  const double x = X * c - Y * s;
  Y = X * s + Y * c;
  X = x;
}

void TComplex::Rot90() {
  const double x = -Y;
  Y = X;
  X = x;
}

void TComplex::Add(const TComplex& a, const TComplex& b) {
  const double x = a.X + b.X, y = a.Y + b.Y;
  X = x;
  Y = y;
}

void TComplex::AddTo(const TComplex& a) { Add(*this, a); }

void TComplex::Sub(const TComplex& a, const TComplex& b) {
  const double x = a.X - b.X, y = a.Y - b.Y;
  X = x;
  Y = y;
}

void TComplex::SubFrom(const TComplex& a) { Sub(*this, a); }

void TComplex::SubFrom2(const TComplex& a, const TComplex& b) {
  const double x = X - a.X - b.X, y = Y - a.Y - b.Y;
  X = x;
  Y = y;
}

void TComplex::Mul(const TComplex& a, const TComplex& b) {
  const double x = a.X * b.X - a.Y * b.Y;
  const double y = b.X * a.Y + a.X * b.Y;
  X = x;
  Y = y;
}

void TComplex::MulBy(const TComplex& a) { Mul(*this, a); }

void TComplex::Divide(const TComplex& a, const TComplex& b) {
  const double d = b.X * b.X + b.Y * b.Y;
  if (d > 0) {
    const double x = (a.X * b.X + a.Y * b.Y) / d;
    const double y = (b.X * a.Y - a.X * b.Y) / d;
    X = x;
    Y = y;
  } else {
    X = kDivisionByZero;
    Y = kDivisionByZero;
  }
}

void TComplex::DivBy(const TComplex& a) { Divide(*this, a); }

double TComplex::Cross(const TComplex& a) const { return X * a.Y - Y * a.X; }

double TComplex::Dot(const TComplex& a) const { return X * a.X + Y * a.Y; }

bool TComplex::NotEqual(const TComplex& a) const { return X != a.X || Y != a.Y; }

double SegmentDistance2(const TComplex& p, const TComplex& a, const TComplex& b) {
  const double dx = b.X - a.X, dy = b.Y - a.Y;
  const double length2 = dx * dx + dy * dy;
  // The foot of the perpendicular, held on the segment; without a length there is no direction.
  const double t = length2 > 0 ? std::clamp(((p.X - a.X) * dx + (p.Y - a.Y) * dy) / length2, 0.0, 1.0) : 0.0;
  const double ex = a.X + t * dx - p.X, ey = a.Y + t * dy - p.Y;
  return ex * ex + ey * ey;
}

}  // namespace shared
