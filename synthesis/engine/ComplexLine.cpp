// The complex line: end points, intersection, hit test, angle snapping, drawing and its record.
#include "synthesis/engine/ComplexLine.h"

#include <cmath>
#include <numbers>

#include "shared/Canvas2D.h"
#include "shared/dxf/DXFTransForm.h"

namespace vesk {

using shared::TComplex;

namespace {

// Beyond this many directions from the base a crossing counts as lying at infinity.
constexpr double kFarIntersection = 100000;
constexpr double kSnapStep = std::numbers::pi / 12;  // 15 degrees
// Within 0.2 of a step (3 degrees) of a multiple the line snaps to it.
constexpr double kSnapNear = 0.2;
constexpr double kSnapFar = 1 - kSnapNear;

TComplex Difference(const TComplex& a, const TComplex& b) {
  TComplex d;
  d.Sub(a, b);
  return d;
}

}  // namespace

TComplexLine::TComplexLine(double x1, double y1, double x2, double y2) {
  SetEndpoints(TComplexPoint(x1, y1), TComplexPoint(x2, y2));
}

void TComplexLine::SetEndpoints(const TComplexPoint& a, const TComplexPoint& b) {
  Point1.Assign(a);
  Point2.Assign(b);
  if (a.Inf)
    Point1.Add(b, a);
  else if (b.Inf)
    Point2.Add(a, b);
  Base = Point1;
  Direction = Difference(Point2, Point1);
}

void TComplexLine::Intersect(const TComplexLine& other, TComplexPoint& result) const {
  const double denominator = Direction.Cross(other.Direction);
  const double t = Difference(other.Base, Base).Cross(other.Direction) / denominator;
  // The negated test also sends a NaN (from a line of no length) to infinity.
  if (denominator == 0 || !(std::fabs(t) <= kFarIntersection)) {
    result.Zero();
    result.SetXY(Direction.X, Direction.Y);
    result.Normalize();
    result.Inf = true;
    return;
  }
  result.Zero();
  result.SetXY(Base.X + t * Direction.X, Base.Y + t * Direction.Y);
}

double TComplexLine::LineAngle() {
  Base = FixedEnd();
  Direction = Difference(MovingEnd(), FixedEnd());
  return Direction.Arg();
}

void TComplexLine::SetLineAngle(double angle) {
  Base = FixedEnd();
  Direction.SetPolar(Difference(MovingEnd(), FixedEnd()).Abs(), angle);
  MovingEnd().Add(FixedEnd(), Direction);
}

void TComplexLine::DragTo(const TComplex& point, const TComplex& previous) {
  if (!Grabbed) {
    const TComplex shift = Difference(point, previous);
    Point1.AddTo(shift);
    Point2.AddTo(shift);
    return;
  }
  Grabbed->Assign(point);
  const double a = LineAngle() / kSnapStep;
  double n = std::trunc(a);
  const double f = a - n;
  if (f > kSnapFar) n += 1;
  if (f < -kSnapFar) n -= 1;
  if (std::fabs(f) < kSnapNear || std::fabs(f) > kSnapFar) SetLineAngle(n * kSnapStep);
}

void TComplexLine::ReadFromText(std::istream& in) {
  TGeneralObject::ReadFromText(in);
  shared::ReadRecordLine(in, "Version");
  Point1.ReadFromText(in);
  Point2.ReadFromText(in);
}

void TComplexLine::WriteToText(std::ostream& out) {
  TGeneralObject::WriteToText(out);
  shared::WriteRecordLine(out, "0");
  Point1.WriteToText(out);
  Point2.WriteToText(out);
}

void TComplexLine::Assign(const TGeneralObject* source) {
  TGeneralObject::Assign(source);
  if (const auto* line = dynamic_cast<const TComplexLine*>(source)) {
    Point1 = line->Point1;
    Point2 = line->Point2;
  }
}

std::unique_ptr<shared::TGeneralObject> TComplexLine::Clone() const {
  auto copy = std::make_unique<TComplexLine>();
  copy->Assign(this);
  return copy;
}

void TComplexLine::MakeDefaultName() { Name = "Line " + std::to_string(Id); }

void TComplexLine::DrawSegment(shared::TCanvas2D& canvas, const TComplex& p1, const TComplex& p2) {
  canvas.MoveTo(p1);
  canvas.LineTo(p2);
  if (IsSelected()) {
    canvas.Marker(p1, shared::kMarkerSquare, 2);
    canvas.Marker(p2, shared::kMarkerSquare, 2);
  }
}

void TComplexLine::Draw(shared::TCanvas2D& canvas) {
  PreparePen(canvas);
  DrawSegment(canvas, Point1, Point2);
}

void TComplexLine::DrawTransformed(shared::TCanvas2D& canvas, const shared::TDXFTransForm& transform) {
  PreparePen(canvas);
  DrawSegment(canvas, transform.Applied(Point1), transform.Applied(Point2));
}

bool TComplexLine::HitTest(const TComplex& point, double tolerance) const {
  Grabbed = nullptr;
  auto near = [&](const TComplex& end) { return Difference(point, end).Abs() <= tolerance; };
  if (near(Point2)) Grabbed = const_cast<TComplex*>(&Point2);
  if (near(Point1)) Grabbed = const_cast<TComplex*>(&Point1);
  if (Grabbed) return true;
  // Beyond either end (and on a line of no length) the nearest point is an end, tested above.
  return std::sqrt(shared::SegmentDistance2(point, Point1, Point2)) <= tolerance;
}

void TComplexLine::UpdateExtent(TComplex& min, TComplex& max) const {
  for (const TComplex* p : {&Point1, &Point2}) {
    min.X = std::fmin(min.X, p->X);
    min.Y = std::fmin(min.Y, p->Y);
    max.X = std::fmax(max.X, p->X);
    max.Y = std::fmax(max.Y, p->Y);
  }
}

}  // namespace vesk
