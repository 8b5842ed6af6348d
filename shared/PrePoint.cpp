// TPrePoint: copying, hit tests, the "Curve" record line and the old text form.
#include "shared/PrePoint.h"

#include <string>

#include "shared/RealText.h"
#include "shared/TextLine.h"

namespace shared {

namespace {

const char* const kReadError = "File read error in TPrePoint!";

std::string NextLine(std::istream& in) {
  std::string line;
  if (!ReadTextLine(in, line)) throw EFileReadError(kReadError);
  return line;
}

double NextReal(std::istream& in) {
  double value = 0;
  if (!ParseReal(NextLine(in), value)) throw EFileReadError(kReadError);
  return value;
}

}  // namespace

TComplex& TPrePoint::Assign(const TComplex& other) {
  TComplex::Assign(other);
  if (const auto* point = dynamic_cast<const TPrePoint*>(&other)) {
    Direction = point->Direction;
    In = point->In;
    Out = point->Out;
    s = point->s;
  }
  return *this;
}

TPrePoint* TPrePoint::Clone() const {
  auto* copy = new TPrePoint();
  copy->Assign(*this);
  return copy;
}

void TPrePoint::ReadTabLine(TTabLines& lines) {
  X = lines.GetFloat(0);
  Y = lines.GetFloat(0);
  Direction.X = lines.GetFloat(0);
  Direction.Y = lines.GetFloat(0);
  In = lines.GetFloat(0);
  Out = lines.GetFloat(0);
  s = lines.GetFloat(0);
  Selected = false;
}

void TPrePoint::WriteTabLine(TTabLines& lines) const {
  lines.ClearFields();
  lines.AddFloat(X);
  lines.AddFloat(Y);
  lines.AddFloat(Direction.X);
  lines.AddFloat(Direction.Y);
  lines.AddFloat(In);
  lines.AddFloat(Out);
  lines.AddFloat(s);
  lines.WriteLine();
}

void TPrePoint::ReadLegacyText(std::istream& in) {
  NextLine(in);
  int32_t id = 0;
  if (!ParseInt(NextLine(in), id)) throw EFileReadError(kReadError);
  TComplex position;
  position.ReadFromText(in);
  NextLine(in);
  NextLine(in);
  TComplex direction;
  direction.ReadFromText(in);
  const double newIn = NextReal(in);
  const double newOut = NextReal(in);
  const double newS = NextReal(in);
  // Only a complete record changes the point.
  Id = id;
  X = position.X;
  Y = position.Y;
  Direction = direction;
  In = newIn;
  Out = newOut;
  s = newS;
  Selected = false;
}

bool TPrePoint::HitTest(const TComplex& p, double tolerance) const {
  return X - tolerance <= p.X && p.X <= X + tolerance && Y - tolerance <= p.Y && p.Y <= Y + tolerance;
}

bool TPrePoint::HitTestSelect(const TComplex& p, bool extend, double tolerance) {
  const bool hit = HitTest(p, tolerance);
  if (!extend || !Selected) Selected = hit;
  return hit;
}

}  // namespace shared
