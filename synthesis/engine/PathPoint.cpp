// Path points: instant centres by mechanism type, velocity ratios, records and drawing; the path
// list with its accumulated rotations, summary against the curve, accelerations and HTML table.
#include "synthesis/engine/PathPoint.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "shared/Canvas2D.h"
#include "shared/Convert.h"
#include "shared/ProjectInfo.h"
#include "shared/TextLine.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/ComplexLine.h"
#include "synthesis/engine/ErrorObject.h"
#include "synthesis/engine/GraphPaintBox.h"
#include "synthesis/engine/Joint.h"
#include "synthesis/engine/Link.h"
#include "synthesis/engine/ProjectText.h"
#include "synthesis/engine/Spline.h"

namespace vesk {

using shared::TComplex;

namespace {

constexpr uint8_t kLastMechType = 8;
constexpr shared::TColor kPoleColor = 0x008080;

TComplex Difference(const TComplex& a, const TComplex& b) {
  TComplex d;
  d.Sub(a, b);
  return d;
}

// The angle of e^{i to} / e^{i from}: the step from one angle to the next in (-pi, pi].
double AngleStep(double from, double to) {
  TComplex a, b, q;
  a.SetPolar(1, to);
  b.SetPolar(1, from);
  q.Divide(a, b);
  return q.Arg();
}

// |e^{i a} - e^{i b}|^2.
double UnitGap2(double a, double b) {
  TComplex p, q;
  p.SetPolar(1, a);
  q.SetPolar(1, b);
  return Difference(p, q).Abs2();
}

int32_t LinksOfType(uint8_t type) {
  if (type == 0 || type == 7) return 4;
  if (type == 6) return 8;
  return 6;
}

// Centres copied from joints: pair (two digits) and joint number.
struct TJointCentre {
  int pair;
  int joint;
};

// A centre built as line(p, q) x line(r, s).
struct TBuiltCentre {
  int centre, p, q, r, s;
};

struct TCentreRecipe {
  std::vector<TJointCentre> joints;
  std::vector<TBuiltCentre> built;
};

const TCentreRecipe* RecipeOf(uint8_t type) {
  static const TCentreRecipe fourBar{{{12, 1}, {23, 2}, {14, 3}, {34, 4}},
                                     {{13, 12, 23, 14, 34}, {24, 12, 14, 23, 34}}};
  static const TCentreRecipe slider{{{12, 1}, {23, 2}, {34, 3}, {14, 4}},
                                    {{13, 12, 23, 14, 34}, {24, 12, 14, 23, 34}}};
  static const TCentreRecipe stephenson1{{{12, 1}, {23, 2}, {25, 3}, {14, 4}, {34, 5}, {46, 6}, {56, 7}},
                                         {{24, 12, 14, 23, 34},
                                          {26, 25, 56, 46, 24},
                                          {16, 14, 46, 12, 26},
                                          {13, 12, 23, 14, 34},
                                          {15, 12, 25, 16, 56},
                                          {45, 24, 25, 46, 56},
                                          {35, 23, 25, 34, 45},
                                          {36, 34, 46, 23, 26}}};
  static const TCentreRecipe stephenson3{{{12, 1}, {23, 2}, {34, 4}, {14, 3}, {36, 5}, {56, 7}, {15, 6}},
                                         {{13, 12, 23, 14, 34},
                                          {16, 13, 36, 15, 56},
                                          {26, 23, 36, 12, 16},
                                          {24, 12, 14, 23, 34},
                                          {25, 26, 56, 12, 15},
                                          {35, 13, 15, 36, 56},
                                          {45, 14, 15, 34, 35},
                                          {46, 34, 36, 56, 45}}};
  static const TCentreRecipe watt1{{{12, 1}, {23, 2}, {34, 3}, {14, 4}, {36, 5}, {45, 6}, {56, 7}},
                                   {{13, 12, 23, 14, 34},
                                    {46, 45, 56, 34, 36},
                                    {16, 14, 46, 36, 13},
                                    {26, 23, 36, 12, 16},
                                    {15, 14, 45, 56, 16},
                                    {24, 23, 34, 12, 14},
                                    {25, 45, 24, 56, 26},
                                    {35, 34, 45, 36, 56}}};
  static const TCentreRecipe watt2{{{12, 1}, {23, 2}, {34, 3}, {14, 4}, {45, 5}, {56, 6}, {16, 7}},
                                   {{24, 12, 14, 23, 34},
                                    {15, 16, 56, 14, 45},
                                    {25, 12, 15, 24, 45},
                                    {13, 12, 23, 14, 34},
                                    {26, 12, 16, 25, 56},
                                    {35, 34, 45, 23, 25},
                                    {36, 13, 16, 35, 56},
                                    {46, 45, 56, 14, 16}}};
  // Of its 28 centres only these 17 are found; the others keep their values.
  static const TCentreRecipe eightBar{
      {{12, 1}, {23, 2}, {34, 3}, {35, 3}, {45, 3}, {14, 4}, {38, 5}, {78, 6}, {57, 7}, {56, 8}, {16, 9}},
      {{13, 12, 23, 14, 34},
       {58, 35, 38, 57, 78},
       {36, 35, 56, 13, 16},
       {68, 56, 58, 38, 36},
       {18, 38, 13, 16, 68},
       {28, 23, 38, 12, 18}}};
  switch (type) {
    case 0:
      return &fourBar;
    case 7:
      return &slider;
    case 3:
    case 8:
      return &stephenson1;
    case 5:
      return &stephenson3;
    case 1:
      return &watt1;
    case 2:
      return &watt2;
    case 6:
      return &eightBar;
    default:
      return nullptr;  // type 4 names no mechanism
  }
}

}  // namespace

// TPathPoint

int32_t TPathPoint::ICIndex(int32_t a, int32_t b) const {
  if (a > b) std::swap(a, b);
  const int32_t n = fLinkCount;
  if (!(0 < a && a < b && b <= n)) return -1;
  return a * n + b - n - (a + a * a) / 2 - 1;
}

TComplexPoint* TPathPoint::GetIC(int32_t a, int32_t b) const { return GetICByNumber(ICIndex(a, b)); }

TComplexPoint* TPathPoint::GetICByNumber(int32_t k) const {
  return k >= 0 && k < ICCount() ? fICs[size_t(k)].get() : nullptr;
}

TComplexPoint* TPathPoint::GetPole() const { return GetIC(GroundID, OutputID); }

void TPathPoint::SetMechType(uint8_t type) {
  if (type > kLastMechType) return;
  fMechType = type;
  fLinkCount = LinksOfType(type);
  fICs.clear();
  for (int32_t k = 0; k < fLinkCount * (fLinkCount - 1) / 2; ++k)
    fICs.push_back(std::make_unique<TComplexPoint>());
}

void TPathPoint::SetLinks(const TLinkList& links) {
  if (links.InputLink) {
    InAngle = links.InputLink->Angle();
    InputID = links.InputLink->ID;
  }
  if (links.OutputLink) {
    OutAngle = links.OutputLink->Angle();
    OutputID = links.OutputLink->ID;
  }
  if (links.GroundLink) GroundID = links.GroundLink->ID;
}

void TPathPoint::Intersect(int c, int p, int q, int r, int s) {
  TComplexPoint* target = GetIC(c / 10, c % 10);
  const TComplexPoint* a = GetIC(p / 10, p % 10);
  const TComplexPoint* b = GetIC(q / 10, q % 10);
  const TComplexPoint* d = GetIC(r / 10, r % 10);
  const TComplexPoint* e = GetIC(s / 10, s % 10);
  if (!target || !a || !b || !d || !e) return;
  TComplexLine first, second;
  first.SetEndpoints(*a, *b);
  second.SetEndpoints(*d, *e);
  first.Intersect(second, *target);
}

const TComplex& TPathPoint::ComputeICs(const TJointList& joints) {
  if (const TJoint* origin = joints.Origin()) SetXY(origin->X, origin->Y);
  if (const TCentreRecipe* recipe = RecipeOf(fMechType)) {
    for (const auto& [pair, joint] : recipe->joints) {
      TComplexPoint* centre = GetIC(pair / 10, pair % 10);
      const TJoint* source = joints.GetJoint(joint);
      if (centre && source) centre->Assign(*source);
    }
    for (const auto& c : recipe->built) Intersect(c.centre, c.p, c.q, c.r, c.s);
  }
  return PathTangent();
}

const TComplex& TPathPoint::PathTangent() {
  const TComplexPoint* pole = GetPole();
  if (!pole) return Direction;
  if (pole->Inf) {
    Direction.SetXY(-pole->X, -pole->Y);
  } else {
    Direction = Difference(*this, *pole);
    Direction.Normalize();
  }
  Direction.Rot90();
  return Direction;
}

double TPathPoint::VelocityRatio(int32_t a, int32_t b) const {
  const TComplexPoint* ab = GetIC(a, b);
  // The ground is link 1 in every mechanism; GroundID names it.
  const TComplexPoint* gb = GetIC(GroundID, b);
  const TComplexPoint* ga = GetIC(GroundID, a);
  if (!ab || !gb || !ga) return 0;
  if (ab->Inf) return 1.0;
  if (gb->Inf) return shared::kDivisionByZero;
  if (ga->Inf) return 0;
  TComplex q;
  q.Divide(Difference(*ab, *gb), Difference(*ab, *ga));
  return q.X;
}

double TPathPoint::OutputInputRatio() const { return VelocityRatio(OutputID, InputID); }

double TPathPoint::OutputVelocity(double omega) const { return OutputInputRatio() * omega; }

double TPathPoint::PathVelocity(double omega) const {
  const TComplexPoint* pole = GetPole();
  if (!pole) return 0;
  if (pole->Inf) {
    const TComplexPoint* io = GetIC(InputID, OutputID);
    const TComplexPoint* gi = GetIC(GroundID, InputID);
    if (!io || !gi) return 0;
    return Difference(*io, *gi).Abs() * std::fabs(omega);
  }
  return Difference(*this, *pole).Abs() * std::fabs(OutputInputRatio() * omega);
}

void TPathPoint::ReadFromText(std::istream& in) {
  TProjectReader r(in, ClassName());
  r.Section("[PathPoint]");
  TPrePoint::ReadFromText(in);
  r.Version();
  Time = r.Real();
  InAngle = r.Real();
  OutAngle = r.Real();
  TransAngle = r.Real();
  PathLength = r.Real();
  Deviation = r.Real();
  GroundID = r.Int();
  InputID = r.Int();
  OutputID = r.Int();
  // A type without a count of centres would leave the records after it misread.
  SetMechType(uint8_t(r.Int(0, kLastMechType)));
  for (auto& centre : fICs) {
    try {
      centre->ReadFromText(in);
    } catch (const EFileReadError&) {
      r.Fail();
    }
  }
  Modified = false;
}

void TPathPoint::WriteToText(std::ostream& out) const {
  TProjectWriter w(out);
  w.Line("[PathPoint]");
  TPrePoint::WriteToText(out);
  w.Version();
  w.Real(Time, " Time");
  w.Real(InAngle, " In");
  w.Real(OutAngle, " Out");
  w.Real(TransAngle, " Trans");
  w.Real(PathLength, " L");
  w.Real(Deviation, " E");
  w.Int(GroundID);
  w.Int(InputID);
  w.Int(OutputID);
  w.Int(fMechType, " MT");
  for (const auto& centre : fICs) centre->WriteToText(out);
  Modified = false;
}

TComplex& TPathPoint::Assign(const TComplex& source) {
  TPrePoint::Assign(source);
  const auto* point = dynamic_cast<const TPathPoint*>(&source);
  if (!point || point == this) return *this;
  Time = point->Time;
  InAngle = point->InAngle;
  OutAngle = point->OutAngle;
  TransAngle = point->TransAngle;
  PathLength = point->PathLength;
  Deviation = point->Deviation;
  GroundID = point->GroundID;
  InputID = point->InputID;
  OutputID = point->OutputID;
  SetMechType(point->fMechType);
  for (size_t k = 0; k < fICs.size(); ++k) fICs[k]->Assign(*point->fICs[k]);
  return *this;
}

void TPathPoint::Clear() {
  TPrePoint::Clear();
  for (auto& centre : fICs) centre->Clear();
}

TPathPoint* TPathPoint::Clone() const {
  auto* copy = new TPathPoint();
  copy->Assign(*this);
  return copy;
}

void TPathPoint::Draw(shared::TCanvas2D& canvas) const {
  const TComplexPoint* pole = GetPole();
  if (!AppOptions.ShowInstantCenters || !pole || pole->Inf) return;
  if (IsSelected()) {
    canvas.SetPen(shared::kLime);
    TPrePoint::Draw(canvas);
    canvas.Marker(*pole, shared::kMarkerSquare, 3);
  } else {
    canvas.SetPen(kPoleColor);
    canvas.Marker(*pole, shared::kMarkerSquare, 1);
  }
}

// TPathPointList

TPathPointList::TPathPointList(int32_t capacity) : TComplexPointList(capacity) {
  Name = "PathPoints";
  SelectOnAdd = false;
  Connect = true;
  ShowPoints = true;
  Color = 0xFF0000;
}

std::unique_ptr<TComplexPoint> TPathPointList::NewItem() const { return std::make_unique<TPathPoint>(); }

TPathPoint* TPathPointList::GetPathPoint(int32_t i) const { return static_cast<TPathPoint*>(Items(i)); }

TPathPoint* TPathPointList::GetSelectedPathPoint() const { return static_cast<TPathPoint*>(Selected()); }

TComplexPoint* TPathPointList::Add(std::unique_ptr<TComplexPoint> item) {
  if (item && !dynamic_cast<TPathPoint*>(item.get())) {
    auto point = std::make_unique<TPathPoint>();
    point->Assign(*item);
    item = std::move(point);
  }
  auto* added = static_cast<TPathPoint*>(TComplexPointList::Add(std::move(item)));
  if (!added) return nullptr;
  const TPathPoint* previous = GetPathPoint(added->Index() - 1);
  if (!previous) {
    added->PathLength = 0;
    added->In = 0;
    added->Out = 0;
  } else {
    added->PathLength = previous->PathLength + Difference(*added, *previous).Abs();
    added->In = previous->In + AngleStep(previous->InAngle, added->InAngle);
    added->Out = previous->Out + AngleStep(previous->OutAngle, added->OutAngle);
  }
  return added;
}

double TPathPointList::TotalPathLength() const { return Count() < 2 ? 0 : GetPathPoint(Count())->PathLength; }

void TPathPointList::NormalizeParameters() {
  const double total = TotalPathLength();
  for (int32_t i = 1; i < Count(); ++i) {
    TPathPoint& p = *GetPathPoint(i);
    // A path of no length (the output point stood still) has no length fraction.
    p.s = total > 0 ? p.PathLength / total : 0;
  }
  if (Count() > 0) GetPathPoint(Count())->s = 1.0;
}

void TPathPointList::MakeSummary(const TSpline& curve, TErrorObject& error) {
  NormalizeParameters();
  error.Area = 0;
  error.OutRot = 1.0;
  error.InRot = 1.0;
  if (Count() < 2) {
    error.Area = shared::kDivisionByZero;
    if (Count() == 1) GetPathPoint(1)->Deviation = 0;
    return;
  }
  GetPathPoint(1)->Deviation = 0;
  // The strip between path and curve, two triangles a step: (P(a-1), P(a), Q(a)) over the
  // path's step and (P(a-1), Q(a), Q(a-1)) over the curve's.
  TPrePoint q;
  curve.PointAt(q, GetPathPoint(1)->s);
  TComplex before(q.X, q.Y);
  TComplex deviationBefore = Difference(before, *GetPathPoint(1));
  for (int32_t a = 2; a <= Count(); ++a) {
    TPathPoint& p = *GetPathPoint(a);
    curve.PointAt(q, p.s);
    const TComplex d = Difference(q, p);
    p.Deviation = d.Abs();
    const double alongPath = std::fabs(Difference(*GetPathPoint(a - 1), p).Cross(d));
    const double alongCurve = std::fabs(Difference(before, q).Cross(deviationBefore));
    error.Area += 0.5 * (alongPath + alongCurve);
    if (curve.Out) error.OutRot *= 1 + UnitGap2(q.Out, p.Out);
    if (curve.In && !curve.InTotal) error.InRot *= 1 + UnitGap2(q.In, p.In);
    before.SetXY(q.X, q.Y);
    deviationBefore = d;
  }
}

double TPathPointList::DistanceFrom(const TComplex& point) const {
  if (Count() < 1) return shared::kDivisionByZero;
  double nearest = Difference(point, *GetPathPoint(1)).Abs();
  for (int32_t a = 2; a <= Count(); ++a)
    nearest = std::min(nearest, std::sqrt(shared::SegmentDistance2(point, *GetPathPoint(a - 1), *GetPathPoint(a))));
  return nearest;
}

double TPathPointList::MinTransmissionAngle() const {
  double smallest = std::numbers::pi;
  for (int32_t i = 1; i <= Count(); ++i) smallest = std::min(smallest, GetPathPoint(i)->TransAngle);
  return smallest;
}

template <class Velocity>
double TPathPointList::AlongPath(int32_t i, double dt, Velocity velocity) const {
  if (!IsValidIndex(i) || !(dt > 0)) return 0;
  const int32_t next = std::min(i + 1, Count());
  const int32_t before = i == 1 ? 1 : i - 1;
  const bool central = i > 1 && i < Count();
  return (velocity(*GetPathPoint(next)) - velocity(*GetPathPoint(before))) / (central ? 2 * dt : dt);
}

double TPathPointList::OutputAcceleration(int32_t i, double dt, double omega) const {
  return AlongPath(i, dt, [omega](const TPathPoint& p) { return p.OutputVelocity(omega); });
}

double TPathPointList::PathAcceleration(int32_t i, double dt, double omega) const {
  return AlongPath(i, dt, [omega](const TPathPoint& p) { return p.PathVelocity(omega); });
}

void TPathPointList::WriteHtml(std::ostream& out, const TGraphPaintBox& graph) const {
  const shared::TConvert& convert = shared::Convert();
  const std::string end = shared::kLineEnd;
  const std::string length = convert.UnitLabel(shared::cuLength);
  out << "<table border=\"2\" bordercolor=\"#000000\" width=\"100%\">" << end;
  out << "<tr><td colspan=\"8\" bgcolor=\"#FFFFCC\"><font face=\"Arial\" size=\"4\">Path "
         "points</font></td></tr>"
      << end;
  out << "<tr>" << end;
  out << "<td width=\"9%\">Nr.</td>" << end;
  out << "<td width=\"13%\">Time" << convert.UnitLabel(shared::cuTime) << "</td>" << end;
  out << "<td width=\"13%\">Input Rotation" << convert.UnitLabel(shared::cuAngle) << "</td>" << end;
  out << "<td width=\"13%\">Path x " << length << "</td>" << end;
  out << "<td width=\"13%\">Path y " << length << "</td>" << end;
  out << "<td width=\"13%\">" << shared::HtmlEscape(graph.YTitle) << " " << convert.UnitLabel(graph.YUnit)
      << "</td>" << end;
  out << "<td width=\"13%\">IC x " << length << "</td>" << end;
  out << "<td width=\"13%\">IC y " << length << "</td>" << end;
  out << "</tr>" << end;
  auto cell = [&](const std::string& text) { out << "<td>" << text << "</td>" << end; };
  for (int32_t i = 1; i <= Count(); ++i) {
    const TPathPoint& p = *GetPathPoint(i);
    out << "<tr>" << end;
    cell(std::to_string(i));
    cell(convert.FormatSI(shared::cuTime, p.Time));
    cell(convert.FormatSI(shared::cuAngle, p.In));
    cell(convert.FormatSI(shared::cuLength, p.X));
    cell(convert.FormatSI(shared::cuLength, p.Y));
    cell(convert.FormatSI(graph.YUnit, graph.Value(i - 1)));
    const TComplexPoint* pole = p.GetPole();
    if (!pole) {
      cell("-");
      cell("-");
    } else if (pole->Inf) {
      cell("infinity");
      cell("infinity");
    } else {
      cell(convert.FormatSI(shared::cuLength, pole->X));
      cell(convert.FormatSI(shared::cuLength, pole->Y));
    }
    out << "</tr>" << end;
  }
  out << "</table>" << end << "<p></p>" << end;
}

void TPathPointList::Read(std::istream& in) {
  TComplexPointList::Read(in);
  TProjectReader r(in, "TPathPointList");
  r.Skip();
  fModified = false;
}

void TPathPointList::Write(std::ostream& out) {
  TComplexPointList::Write(out);
  TProjectWriter w(out);
  w.Version();
}

}  // namespace vesk
