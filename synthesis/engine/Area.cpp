// Pivot areas: corners and grabbing, the distance factor of a pivot, random points, records,
// drawing with the enlarged outline, and the list's link factors and HTML table.
#include "synthesis/engine/Area.h"

#include <algorithm>
#include <cmath>

#include "shared/SynthCanvas2D.h"
#include "shared/Convert.h"
#include "shared/ProjectInfo.h"
#include "shared/TextLine.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/Link.h"
#include "synthesis/engine/ProjectText.h"
#include "synthesis/engine/Random.h"

namespace vesk {

using shared::TComplex;

namespace {

constexpr const char* kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr shared::TColor kOutlineColor = 0xFF00FF;

// Beyond an empty area (the program removes them before rating pivots) the factor is 1e10, as
// for a joint the area does not admit.
constexpr double kNoExtentOvershoot = 1e5 - 1;  // (1 + it)^2 = 1e10

// The overshoot of v beyond [lo, hi] in units of the extent.
double Overshoot(double v, double lo, double hi) {
  double d = 0;
  if (v - hi >= 0)
    d = v - hi;
  else if (lo - v >= 0)
    d = lo - v;
  const double extent = hi - lo;
  if (extent == 0) return d > 0 ? kNoExtentOvershoot : 0;
  return d / extent;
}

}  // namespace

// TArea

void TArea::Normalize() {
  if (X > Corner2.X) std::swap(X, Corner2.X);
  if (Y > Corner2.Y) std::swap(Y, Corner2.Y);
}

double TArea::Width() const { return std::fabs(Corner2.X - X); }

double TArea::Height() const { return std::fabs(Corner2.Y - Y); }

bool TArea::IsEmpty() const { return Width() == 0 || Height() == 0; }

bool TArea::IsNear(const TComplex& point, double tolerance) const {
  const double xmin = std::min(X, Corner2.X), xmax = std::max(X, Corner2.X);
  const double ymin = std::min(Y, Corner2.Y), ymax = std::max(Y, Corner2.Y);
  const bool withinY = point.Y >= ymin && point.Y <= ymax;
  const bool withinX = point.X >= xmin && point.X <= xmax;
  const bool left = withinY && std::fabs(point.X - xmin) <= tolerance;
  const bool right = withinY && std::fabs(point.X - xmax) <= tolerance;
  const bool bottom = withinX && std::fabs(point.Y - ymin) <= tolerance;
  const bool top = withinX && std::fabs(point.Y - ymax) <= tolerance;
  GrabbedCorner = 0;
  if (bottom && left) GrabbedCorner = 1;
  if (top && left) GrabbedCorner = 2;
  if (top && right) GrabbedCorner = 3;
  if (bottom && right) GrabbedCorner = 4;
  return left || right || bottom || top;
}

void TArea::MoveCorner(const TComplex& point) {
  if (GrabbedCorner < 1 || GrabbedCorner > 4) return;
  // The corners were counted on the normalised rectangle.
  Normalize();
  const bool wasRight = GrabbedCorner == 3 || GrabbedCorner == 4;
  const bool wasTop = GrabbedCorner == 2 || GrabbedCorner == 3;
  const double fixedX = wasRight ? X : Corner2.X;
  const double fixedY = wasTop ? Y : Corner2.Y;
  switch (GrabbedCorner) {
    case 1:
      X = point.X;
      Y = point.Y;
      break;
    case 2:
      X = point.X;
      Corner2.Y = point.Y;
      break;
    case 3:
      Corner2.X = point.X;
      Corner2.Y = point.Y;
      break;
    case 4:
      Corner2.X = point.X;
      Y = point.Y;
      break;
  }
  // A corner dragged across the opposite edge becomes the corner it now is, so that the next
  // move, which normalises first, keeps the opposite corner where it stands.
  const bool right = point.X > fixedX || (point.X == fixedX && wasRight);
  const bool top = point.Y > fixedY || (point.Y == fixedY && wasTop);
  GrabbedCorner = top ? (right ? 3 : 2) : (right ? 4 : 1);
  Modified = true;
}

double TArea::DistanceFactor(const TComplex& point, int32_t jointIndex) {
  if (Joint != 0 && Joint != jointIndex) return shared::kDivisionByZero;
  Normalize();
  const double fx = Overshoot(point.X, X, Corner2.X) + 1;
  const double fy = Overshoot(point.Y, Y, Corner2.Y) + 1;
  const double f = std::max(fx, fy);
  return f * f;
}

void TArea::RandomPoint(TComplex& out) {
  Normalize();
  const double r1 = Random().Uniform();
  const double r2 = Random().Uniform();
  out.SetXY(X + r1 * Width(), Y + r2 * Height());
}

std::string TArea::JointName() const {
  if (Joint >= 1 && Joint <= kMaxJoint) return std::string(1, kLetters[Joint - 1]);
  Joint = 0;
  return "All";
}

std::string TArea::GetName() const { return std::to_string(Index()) + " " + JointName(); }

void TArea::ReadFromText(std::istream& in) {
  TComplexPoint::ReadFromText(in);
  TProjectReader r(in, ClassName());
  const int32_t version = r.Version();
  try {
    Corner2.ReadFromText(in);
  } catch (const EFileReadError&) {
    r.Fail();
  }
  // Records before the restriction admit every joint.
  Joint = version >= 1 ? r.Int() : 0;
  Modified = false;
}

void TArea::WriteToText(std::ostream& out) const {
  TComplexPoint::WriteToText(out);
  TProjectWriter w(out);
  w.Version(1);
  Corner2.WriteToText(out);
  w.Int(Joint);
}

TComplex& TArea::Assign(const TComplex& source) {
  TComplexPoint::Assign(source);
  if (const auto* area = dynamic_cast<const TArea*>(&source)) {
    Corner2 = area->Corner2;
    Joint = area->Joint;
  }
  return *this;
}

TArea* TArea::Clone() const {
  auto* copy = new TArea();
  copy->Assign(*this);
  return copy;
}

void TArea::Draw(shared::TCanvas2D& canvas) const {
  const auto* list = dynamic_cast<const TAreaList*>(Owner());
  if (!list) return;
  const bool selected = IsSelected();
  const auto* synth = dynamic_cast<const shared::TSynthCanvas2D*>(&canvas);
  if (synth && synth->EraseMode == 1 && !selected) return;
  const shared::TColor color = selected ? shared::kLime : list->Color;

  auto rectangle = [&](double x1, double y1, double x2, double y2) {
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y1);
    canvas.LineTo(x2, y2);
    canvas.LineTo(x1, y2);
    canvas.LineTo(x1, y1);
  };
  canvas.SetPen(color, 1, shared::TPenStyle::Dot);
  rectangle(X, Y, Corner2.X, Corner2.Y);
  if (list->MaxDistToArea > 1) {
    // The line on which DistanceFactor reaches MaxDistToArea.
    const double k = std::sqrt(list->MaxDistToArea) - 1;
    const double dx = Width() * k, dy = Height() * k;
    canvas.SetPen(selected ? shared::kLime : kOutlineColor, 1, shared::TPenStyle::Dot);
    rectangle(std::min(X, Corner2.X) - dx, std::min(Y, Corner2.Y) - dy, std::max(X, Corner2.X) + dx,
              std::max(Y, Corner2.Y) + dy);
  }
  canvas.SetPen(color);
  for (const TComplex& corner : {TComplex(X, Y), TComplex(X, Corner2.Y), Corner2, TComplex(Corner2.X, Y)})
    canvas.Marker(corner, list->MarkerType, list->MarkerSize);
  if (list->ShowLabels || selected)
    canvas.TextLabel(TComplex(std::min(X, Corner2.X), std::max(Y, Corner2.Y)), list->TextOffset, GetName());
}

// TAreaList

TAreaList::TAreaList(int32_t capacity) : TComplexPointList(capacity) {
  Name = "Areas";
  SelectOnAdd = true;
  Connect = false;
  MarkerType = shared::kMarkerSquare;
  MarkerSize = 2;
  Color = 0x808000;
}

std::unique_ptr<TComplexPoint> TAreaList::NewItem() const { return std::make_unique<TArea>(); }

TArea* TAreaList::GetArea(int32_t i) const { return static_cast<TArea*>(Items(i)); }

TArea* TAreaList::GetSelectedArea() const { return static_cast<TArea*>(Selected()); }

TComplexPoint* TAreaList::Add(std::unique_ptr<TComplexPoint> item) {
  if (item && !dynamic_cast<TArea*>(item.get())) {
    auto area = std::make_unique<TArea>();
    area->Assign(*item);
    item = std::move(area);
  }
  return TComplexPointList::Add(std::move(item));
}

double TAreaList::PointFactor(const TComplex& point, int32_t jointIndex) const {
  if (IsEmpty()) return 1.0;
  double factor = GetArea(Count())->DistanceFactor(point, jointIndex);
  for (int32_t i = Count() - 1; i >= 1 && factor != 1.0; --i)
    factor = std::min(factor, GetArea(i)->DistanceFactor(point, jointIndex));
  return factor;
}

double TAreaList::LinkFactor(const TLink& link) const {
  if (IsEmpty()) return 1.0;
  double factor = 1.0;
  if (link.Type() == kGroundLink) {
    for (int32_t k = 1; k <= link.JointCount(); ++k) {
      const TJoint* joint = link.Joint(k);
      if (joint && !joint->Inf) factor = std::max(factor, PointFactor(*joint));
    }
  } else if (link.Type() == kOutputLink) {
    const TJoint* reference = nullptr;
    for (int32_t k = 1; k <= link.JointCount(); ++k)
      if (link.Joint(k) && link.Joint(k)->IsOut) reference = link.Joint(k);
    if (!reference) return factor;
    for (int32_t k = 1; k <= link.JointCount(); ++k) {
      const TJoint* joint = link.Joint(k);
      // A joint at infinity has a direction, no place on the body.
      if (!joint || joint == reference || joint->Inf) continue;
      TComplex p;
      p.Sub(*joint, *reference);
      p.AddTo(Origin);
      factor = std::max(factor, PointFactor(p, joint->Index()));
    }
  }
  return factor;
}

void TAreaList::GetExtents(TComplex& min, TComplex& max) const {
  for (int32_t i = 1; i <= Count(); ++i) {
    const TArea& area = *GetArea(i);
    for (const TComplex* corner : {static_cast<const TComplex*>(&area), &area.Corner2}) {
      min.SetXY(std::min(min.X, corner->X), std::min(min.Y, corner->Y));
      max.SetXY(std::max(max.X, corner->X), std::max(max.Y, corner->Y));
    }
  }
}

void TAreaList::RemoveEmpty() {
  for (int32_t i = Count(); i >= 1; --i)
    if (GetArea(i)->IsEmpty()) Delete(i);
}

void TAreaList::RandomPoint(TComplex& out) const {
  if (IsEmpty()) return;
  GetArea(Random().Below(Count()) + 1)->RandomPoint(out);
  out.SubFrom(Origin);
}

void TAreaList::WriteHtml(std::ostream& out) const {
  const shared::TConvert& convert = shared::Convert();
  const bool polar = AppOptions.IsPolar;
  const std::string end = shared::kLineEnd;
  const std::string length = convert.UnitLabel(shared::cuLength);
  const std::string angle = convert.UnitLabel(shared::cuAngle);
  out << "<table border=\"1\" bordercolor=\"#000000\" width=\"100%\">" << end;
  out << "    <tr><td colspan=\"6\" bgcolor=\"#FFFFCC\" width=\"100%\"><font face=\"Arial\" size=\"4\">"
      << shared::HtmlEscape(Name) << "</font></td></tr>" << end;
  out << "    <tr>" << end;
  out << "        <td width=\"5%\">Nr.</td>" << end;
  for (const char* corner : {"Min. ", "Max. "}) {
    out << "        <td width=\"20%\">" << corner << (polar ? "R " + length : "x " + length) << "</td>"
        << end;
    out << "        <td width=\"20%\">" << corner << (polar ? "Angle " + angle : "y " + length) << "</td>"
        << end;
  }
  out << "        <td width=\"15%\">Include</td>" << end;
  out << "    </tr>" << end;
  auto cell = [&](const std::string& text) { out << "        <td>" << text << "</td>" << end; };
  for (int32_t i = 1; i <= Count(); ++i) {
    TArea& area = *GetArea(i);
    area.Normalize();
    out << "    <tr>" << end;
    cell(std::to_string(i));
    for (const TComplex* corner :
         {static_cast<const TComplex*>(&area), static_cast<const TComplex*>(&area.Corner2)}) {
      if (polar) {
        cell(convert.FormatSI(shared::cuLength, corner->Abs()));
        cell(convert.FormatSI(shared::cuAngle, corner->Arg()));
      } else {
        cell(convert.FormatSI(shared::cuLength, corner->X));
        cell(convert.FormatSI(shared::cuLength, corner->Y));
      }
    }
    cell(area.JointName());
    out << "    </tr>" << end;
  }
  out << "</table>" << end << "<p></p>" << end;
}

void TAreaList::Read(std::istream& in) {
  TComplexPointList::Read(in);
  TProjectReader r(in, "TAreaList");
  r.Version();
  ID = r.Int();
  fModified = false;
}

void TAreaList::Write(std::ostream& out) {
  TComplexPointList::Write(out);
  TProjectWriter w(out);
  w.Version();
  w.Int(ID, " ID");
}

void TAreaList::Assign(const TComplexPointList& source) {
  TComplexPointList::Assign(source);
  if (const auto* areas = dynamic_cast<const TAreaList*>(&source)) {
    ID = areas->ID;
    Origin = areas->Origin;
  }
}

}  // namespace vesk
