// Curve points: record, copy, drawing and the curve point line; the precision points taken from
// a curve.
#include "synthesis/engine/PrePoint.h"

#include <cmath>

#include "shared/Canvas2D.h"
#include "synthesis/engine/ProjectText.h"
#include "synthesis/engine/Random.h"
#include "synthesis/engine/Spline.h"

namespace vesk {

namespace {
// Length of the output-rotation line in pixels.
constexpr double kOutLineLength = 36;
// The share of a closed curve's loop that the nine precision points take: the gap from point 9
// back to point 1 is that of a tenth point, and the dyads' equations at position 9 are not
// those of position 1 again.
constexpr double kClosedSpan = 8.0 / 9.0;
}  // namespace

// TPrePoint

void TPrePoint::ReadFromText(std::istream& in) {
  TComplexPoint::ReadFromText(in);
  TProjectReader r(in, ClassName());
  r.Version();
  try {
    Direction.ReadFromText(in);
  } catch (const EFileReadError&) {
    r.Fail();
  }
  In = r.Real();
  Out = r.Real();
  s = r.Real();
  Modified = false;
}

void TPrePoint::WriteToText(std::ostream& out) const {
  TComplexPoint::WriteToText(out);
  TProjectWriter w(out);
  w.Version();
  Direction.WriteToText(out);
  w.Real(In, " In");
  w.Real(Out, " Out");
  w.Real(s, " s");
}

shared::TComplex& TPrePoint::Assign(const TComplex& source) {
  TComplexPoint::Assign(source);
  if (const auto* point = dynamic_cast<const TPrePoint*>(&source)) {
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

void TPrePoint::Draw(shared::TCanvas2D& canvas) const {
  TComplexPoint::Draw(canvas);
  const auto* curve = dynamic_cast<const TSpline*>(Owner());
  if (curve && !curve->Out) return;
  const shared::TPoint from = canvas.WorldToScreen(*this);
  canvas.Surface().MoveTo(from.X, from.Y);
  canvas.Surface().LineTo(from.X + int(std::lround(kOutLineLength * std::cos(Out))),
                          from.Y - int(std::lround(kOutLineLength * std::sin(Out))));
}

void TPrePoint::WriteCurveRecord(shared::TTabLines& lines) const {
  lines.ClearFields();
  for (const double value : {X, Y, Direction.X, Direction.Y, In, Out, s}) lines.AddFloat(value);
  lines.WriteLine();
}

std::unique_ptr<TComplexPoint> AsPrePoint(std::unique_ptr<TComplexPoint> item) {
  if (!item || dynamic_cast<TPrePoint*>(item.get())) return item;
  auto point = std::make_unique<TPrePoint>();
  point->Assign(*item);
  return point;
}

// TPrePointList

TPrePointList::TPrePointList(int32_t capacity) : TComplexPointList(capacity) {
  Name = "Points";
  ShowLabels = true;
  MarkerSize = 6;
  Color = shared::kBlack;
}

std::unique_ptr<TComplexPoint> TPrePointList::NewItem() const { return std::make_unique<TPrePoint>(); }

TComplexPoint* TPrePointList::Add(std::unique_ptr<TComplexPoint> item) {
  return TComplexPointList::Add(AsPrePoint(std::move(item)));
}

TPrePoint* TPrePointList::GetPoint(int32_t i) const { return static_cast<TPrePoint*>(Items(i)); }

TPrePoint* TPrePointList::GetSelectedPoint() const { return static_cast<TPrePoint*>(Selected()); }

void TPrePointList::FromSpline(const TSpline& curve) {
  if (!curve.IsValid()) return;
  ID = curve.ID;
  Clear();
  In = curve.In;
  InTotal = curve.InTotal;
  TotalIn = curve.TotalIn;
  Out = curve.Out;
  OutTotal = curve.OutTotal;
  TotalOut = curve.TotalOut;
  ZeroOutRotations = curve.HasZeroOutRotations();
  Closed = curve.IsClosed();
  const double a = 0.1 + 0.8 * Random().Uniform();
  double s = 0;
  const double span = Closed ? kClosedSpan : 1.0;
  const TPrePoint blank;
  auto append = [&] {
    auto item = AsPrePoint(TakeSpare());
    auto& point = static_cast<TPrePoint&>(*item);
    point.Assign(blank);
    curve.PointAt(point, s * span);
    Add(std::move(item));
  };
  append();
  for (int i = 0; i < 4; ++i) {
    s += a / 4;
    append();
  }
  for (int i = 0; i < 4; ++i) {
    s += (1 - a) / 4;
    append();
  }
  Deselect();
}

template <class Io>
void TPrePointList::Fields(Io& io) {
  io.Value(ID, " ID");
  io.Value(In, " In");
  io.Value(InTotal);
  io.Value(TotalIn);
  io.Value(Out, " Out");
  io.Value(OutTotal);
  io.Value(TotalOut);
  io.Value(ZeroOutRotations);
}

void TPrePointList::Read(std::istream& in) {
  TComplexPointList::Read(in);
  TProjectReader r(in, "TPrePointList");
  const int32_t version = r.Version();
  Fields(r);
  Closed = version >= 1 && r.Bool();
  fModified = false;
}

void TPrePointList::Write(std::ostream& out) {
  TComplexPointList::Write(out);
  TProjectWriter w(out);
  // Points of an open curve keep the record that every earlier project holds.
  w.Version(Closed ? 1 : 0);
  Fields(w);
  if (Closed) w.Bool(Closed, " Closed");
}

void TPrePointList::Assign(const TComplexPointList& source) {
  TComplexPointList::Assign(source);
  if (const auto* points = dynamic_cast<const TPrePointList*>(&source)) {
    ID = points->ID;
    In = points->In;
    InTotal = points->InTotal;
    TotalIn = points->TotalIn;
    Out = points->Out;
    OutTotal = points->OutTotal;
    TotalOut = points->TotalOut;
    ZeroOutRotations = points->ZeroOutRotations;
    Closed = points->Closed;
  }
}

}  // namespace vesk
