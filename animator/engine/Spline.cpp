// TSpline: tangents from the tridiagonal system, Hermite segments, arc-length sampling, point
// editing and the "Curve" section.
#include "animator/engine/Spline.h"

#include <cmath>
#include <random>
#include <string>

#include "animator/engine/Extent.h"
#include "animator/engine/ReportTable.h"
#include "animator/engine/SelectionList.h"
#include "animator/engine/StdOut.h"
#include "shared/Convert.h"
#include "shared/RealText.h"
#include "shared/TextLine.h"

namespace quillon {

using shared::TComplex;
using shared::TPrePoint;

namespace {

constexpr int32_t kSamplesPerSegment = 10;
constexpr int32_t kMaxChangeStamp = 12345677;
// Pixel lengths of the rotation lines drawn at the control points.
constexpr double kOutLineLength = 36;
constexpr double kInLineLength = 24;
constexpr shared::TColor kInLineColour = 0xFF0000;

int32_t NewChangeStamp(int32_t previous) {
  static std::mt19937 generator{std::random_device{}()};
  std::uniform_int_distribution<int32_t> stamps(0, kMaxChangeStamp);
  // Callers detect a change by comparing stamps, so the new one must differ.
  int32_t stamp;
  do stamp = stamps(generator);
  while (stamp == previous);
  return stamp;
}

// The cubic Hermite basis at t in 0..1, and a value blended from two ends and their tangents.
struct THermite {
  explicit THermite(double t) {
    const double t2 = t * t, t3 = t2 * t;
    h00 = 2 * t3 - 3 * t2 + 1;
    h01 = 3 * t2 - 2 * t3;
    h10 = t3 - 2 * t2 + t;
    h11 = t3 - t2;
  }
  double Blend(double a, double b, double da, double db) const { return h00 * a + h01 * b + h10 * da + h11 * db; }
  double h00 = 0, h01 = 0, h10 = 0, h11 = 0;
};

// A channel tangent of point i; a point added since the last rebuild has none yet.
double Tangent(const std::vector<double>& tangents, int32_t i) {
  return static_cast<size_t>(i) < tangents.size() ? tangents[i] : 0.0;
}

// The value a reader gets back from the record's notation: 15 digits, and 0 for what is no number.
double AsWritten(double value) {
  double read = 0;
  return shared::ParseReal(shared::FormatReal(value), read) ? read : 0.0;
}

}  // namespace

TSpline::TSpline() { SetDefaults(); }

void TSpline::SetDefaults() {
  InEnabled = false;
  InWeight = 0;
  InTotal = false;
  TotalIn = 1.0;
  OutEnabled = false;
  OutWeight = 0;
  OutTotal = false;
  TotalOut = 1.0;
  PosEnabled = true;
  PosWeight = 1.0;
}

void TSpline::Clear() {
  SetDefaults();
  Samples.clear();
  Points.clear();
  InTangents.clear();
  OutTangents.clear();
  Length = 0;
  Visible = true;
}

void TSpline::Rebuild() {
  Samples.clear();
  if (PointCount() < 2) {
    Length = 0;
    return;
  }
  ComputeTangents();
  BuildSamples(true);
  ChangeStamp = NewChangeStamp(ChangeStamp);
}

void TSpline::ComputeTangents() {
  const int32_t n = PointCount();
  // Rotations count from the first point.
  Points[0]->In = 0;
  Points[0]->Out = 0;

  // Natural end conditions: second derivative zero at both ends, continuous inside. The system
  // is tridiagonal (2 or 4 on the diagonal, 1 beside it), so the Thomas algorithm solves it in
  // linear time; the diagonal dominates, so no pivoting is needed.
  std::vector<double> upper(n), rhs(n), tangents(n);
  auto solve = [&](auto value) {
    rhs[0] = 3 * (value(1) - value(0));
    for (int32_t i = 1; i < n - 1; ++i) rhs[i] = 3 * (value(i + 1) - value(i - 1));
    rhs[n - 1] = 3 * (value(n - 1) - value(n - 2));
    // Forward sweep: row i becomes x[i] + upper[i] x[i+1] = rhs[i].
    upper[0] = 1.0 / 2;
    rhs[0] /= 2;
    for (int32_t i = 1; i < n; ++i) {
      const double diagonal = (i == n - 1 ? 2.0 : 4.0) - upper[i - 1];
      upper[i] = 1.0 / diagonal;
      rhs[i] = (rhs[i] - rhs[i - 1]) / diagonal;
    }
    tangents[n - 1] = rhs[n - 1];
    for (int32_t i = n - 2; i >= 0; --i) tangents[i] = rhs[i] - upper[i] * tangents[i + 1];
    return tangents;
  };
  const auto dx = solve([&](int32_t i) { return Points[i]->X; });
  const auto dy = solve([&](int32_t i) { return Points[i]->Y; });
  for (int32_t i = 0; i < n; ++i) Points[i]->Direction.SetXY(dx[i], dy[i]);
  OutTangents.assign(n, 0.0);
  InTangents.assign(n, 0.0);
  if (OutEnabled) OutTangents = solve([&](int32_t i) { return Points[i]->Out; });
  if (InEnabled) InTangents = solve([&](int32_t i) { return Points[i]->In; });
}

void TSpline::Hermite(int32_t i, double t, TPrePoint& out) const {
  if (i < 1 || i >= PointCount()) return;
  const TPrePoint& a = *Points[i - 1];
  const TPrePoint& b = *Points[i];
  const THermite h(t);
  out.X = h.Blend(a.X, b.X, a.Direction.X, b.Direction.X);
  out.Y = h.Blend(a.Y, b.Y, a.Direction.Y, b.Direction.Y);
  if (OutEnabled) out.Out = h.Blend(a.Out, b.Out, Tangent(OutTangents, i - 1), Tangent(OutTangents, i));
  if (InEnabled) out.In = h.Blend(a.In, b.In, Tangent(InTangents, i - 1), Tangent(InTangents, i));
  const double t2 = t * t;
  const double d00 = 6 * t2 - 6 * t, d01 = 6 * t - 6 * t2;
  const double d10 = 3 * t2 - 4 * t + 1, d11 = 3 * t2 - 2 * t;
  out.Direction.SetXY(d00 * a.X + d01 * b.X + d10 * a.Direction.X + d11 * b.Direction.X,
                      d00 * a.Y + d01 * b.Y + d10 * a.Direction.Y + d11 * b.Direction.Y);
  out.Direction.Normalize();
}

void TSpline::BuildSamples(bool keep) {
  const int32_t n = PointCount();
  Length = 0;
  if (keep) Samples.reserve(kSamplesPerSegment * (n - 1) + 1);
  // Before the copy, so that the first sample's length is 0 whatever fraction was read for it.
  Points[0]->s = 0;
  if (keep) {
    Samples.emplace_back();
    Samples.back().Assign(*Points[0]);
  }
  double previousX = Points[0]->X, previousY = Points[0]->Y;
  for (int32_t i = 1; i < n; ++i) {
    const TPrePoint& a = *Points[i - 1];
    const TPrePoint& b = *Points[i];
    for (int32_t j = 1; j <= kSamplesPerSegment; ++j) {
      const double t = static_cast<double>(j) / kSamplesPerSegment;
      double x, y;
      if (keep) {
        TPrePoint& sample = Samples.emplace_back();
        Hermite(i, t, sample);
        x = sample.X;
        y = sample.Y;
      } else {
        // The lengths alone: the position as Hermite finds it, without the rest of a sample.
        const THermite h(t);
        x = h.Blend(a.X, b.X, a.Direction.X, b.Direction.X);
        y = h.Blend(a.Y, b.Y, a.Direction.Y, b.Direction.Y);
      }
      Length += TComplex(x - previousX, y - previousY).Abs();
      if (keep) Samples.back().s = Length;
      previousX = x;
      previousY = y;
    }
    Points[i]->s = Length;
  }
  // A curve of length 0 keeps the lengths: it is not usable anyway.
  if (Length != 0)
    for (int32_t i = 1; i < n; ++i) Points[i]->s /= Length;
}

void TSpline::PointAt(double f, TPrePoint& out) const {
  out.SetXY(0, 0);
  out.s = f;
  if (InTotal) out.In = f * TotalIn;
  if (OutTotal) out.Out = f * TotalOut;
  const int32_t n = PointCount();
  if (n < 2) return;
  int32_t lo = 0, hi = n - 1;
  while (hi - lo > 1) {
    const int32_t mid = (lo + hi) / 2;
    if (f >= Points[mid]->s)
      lo = mid;
    else
      hi = mid;
  }
  // Two equal control points make a segment of length 0: its start stands for all of it.
  const double span = Points[hi]->s - Points[lo]->s;
  Hermite(hi, span != 0 ? (f - Points[lo]->s) / span : 0.0, out);
}

bool TSpline::IsUsable() const { return PointCount() > 1 && Length > 0; }

void TSpline::AddPointObject(std::unique_ptr<TPrePoint> point) {
  if (!point) return;
  AppendItem(Points, std::move(point), SelectOnAdd);
  Modified = true;
}

int32_t TSpline::NewPoint() {
  AddPointObject(std::make_unique<TPrePoint>());
  return PointCount() - 1;
}

void TSpline::AddPoint(const TComplex& position) {
  if (!Visible) return;
  Points[NewPoint()]->SetXY(position.X, position.Y);
  Rebuild();
}

void TSpline::DeletePoint(int32_t i) { EraseItem(Points, i); }

void TSpline::DeleteSelected() {
  if (Visible && EraseSelectedItems(Points)) Rebuild();
}

void TSpline::MoveSelected(double dx, double dy) {
  if (!Visible) return;
  bool any = false;
  for (auto& p : Points)
    if (p->Selected) {
      p->X += dx;
      p->Y += dy;
      any = true;
    }
  if (any) Rebuild();
}

void TSpline::DeselectAll() { DeselectItems(Points); }

int32_t TSpline::LastSelected() const { return LastSelectedItem(Points); }

bool TSpline::HitTest(const TComplex& p, bool extend, double tolerance) {
  return HitTestItems(Points, Visible, p, extend, tolerance);
}

void TSpline::GetExtents(TComplex& min, TComplex& max) const {
  if (Points.empty()) return;
  min.SetXY(Points[0]->X, Points[0]->Y);
  max = min;
  for (const auto& p : Points) WidenExtent(min, max, p->X, p->Y);
}

void TSpline::ReadTabLines(shared::TTabLines& lines) {
  Clear();
  if (!lines.FindSection(Name) || !lines.ReadLine()) return;
  InWeight = lines.GetFloat(0);
  InTotal = lines.GetBool(false);
  TotalIn = lines.GetFloat(0);
  OutWeight = lines.GetFloat(0);
  OutTotal = lines.GetBool(false);
  TotalOut = lines.GetFloat(0);
  InEnabled = InWeight > 0;
  OutEnabled = OutWeight > 0;
  const bool over = ReadItems(Points, lines, kMaxPoints);
  if (!Points.empty()) Modified = true;
  if (over)
    StdOut().Warning("The curve holds more than " + std::to_string(kMaxPoints) + " points; only the first " +
                     std::to_string(kMaxPoints) + " were read.");
  Rebuild();
}

void TSpline::WriteTabLines(shared::TTabLines& lines) const {
  if (Points.empty()) return;
  // A reader solves the tangents and arc-length fractions again from the coordinates as written.
  // The record holds those rather than the ones solved from every digit in memory, so that a
  // document read and saved with no edit comes out byte for byte.
  TSpline stored;
  stored.Points.reserve(Points.size());
  for (const auto& p : Points) {
    auto point = std::make_unique<TPrePoint>();
    point->Assign(*p);
    point->SetXY(AsWritten(p->X), AsWritten(p->Y));
    stored.Points.push_back(std::move(point));
  }
  if (stored.PointCount() >= 2) {
    stored.ComputeTangents();
    stored.BuildSamples(false);
  }
  lines.BeginSection(Name);
  lines.ClearFields();
  lines.AddFloat(InWeight);
  lines.AddBool(InTotal);
  lines.AddFloat(TotalIn);
  lines.AddFloat(OutWeight);
  lines.AddBool(OutTotal);
  lines.AddFloat(TotalOut);
  lines.WriteLine();
  for (const auto& p : stored.Points) p->WriteTabLine(lines);
  lines.EndSection();
}

void TSpline::Draw(shared::TCanvas2D& canvas) const {
  if (Points.empty() || !Visible) return;
  canvas.SetPen(Colour, 1, shared::TPenStyle::Solid);
  canvas.SetBrush(canvas.PaintBox().WindowColor(), shared::TBrushStyle::Clear);
  if (!Samples.empty()) {
    canvas.MoveTo(Samples[0]);
    for (size_t i = 1; i < Samples.size(); ++i) canvas.LineTo(Samples[i]);
  }
  // A line of the given pixel length from the point in the direction of a rotation.
  auto rotationLine = [&canvas](const shared::TPoint& from, double length, double angle) {
    canvas.Surface().MoveTo(from.X, from.Y);
    canvas.Surface().LineTo(from.X + shared::PixelOf(length * std::cos(angle)),
                            from.Y - shared::PixelOf(length * std::sin(angle)));
  };
  for (int32_t i = 0; i < PointCount(); ++i) {
    const TPrePoint& p = *Points[i];
    canvas.SetPen(p.Selected ? shared::kLime : Colour, 1, shared::TPenStyle::Solid);
    canvas.Marker(p, shared::kMarkerSquare, MarkerSize);
    const shared::TPoint screen = canvas.WorldToScreen(p);
    // Up and to the left of the point: joint letters stand below and to the right, and a curve
    // drawn through a joint (its tracer) would put both in one place.
    const std::string number = std::to_string(i);
    const shared::TSize size = canvas.Surface().TextExtent(number);
    canvas.Surface().TextOut(screen.X - LabelOffset - size.Width, screen.Y - LabelOffset - size.Height,
                             number);
    if (OutEnabled) {
      canvas.SetPen(shared::kBlack, 1, shared::TPenStyle::Solid);
      rotationLine(screen, kOutLineLength, p.Out);
    }
    if (InEnabled) {
      canvas.SetPen(kInLineColour, 1, shared::TPenStyle::Solid);
      rotationLine(screen, kInLineLength, p.In);
    }
  }
}

void TSpline::WriteHTML(std::ostream& out, bool polar) const {
  const shared::TConvert& convert = shared::Convert();
  const char* end = shared::kLineEnd;
  const std::string length = convert.UnitLabel(shared::cuLength);
  const std::string angle = convert.UnitLabel(shared::cuAngle);
  BeginReportTable(out, Name, 5, 8);
  ReportHeadCell(out, 23, (polar ? "R " : "x ") + length);
  ReportHeadCell(out, 23, polar ? "Angle " + angle : "y " + length);
  ReportHeadCell(out, 23, "Output Rotation " + angle);
  ReportHeadCell(out, 23, "Input Rotation " + angle);
  out << "    </tr>" << end;
  // The rotation cells of a row stand unindented.
  auto rotation = [&](bool enabled, double value) {
    out << "<td>" << (enabled ? convert.FormatSI(shared::cuAngle, value) : "-") << "</td>" << end;
  };
  for (int32_t i = 0; i < PointCount(); ++i) {
    const TPrePoint& p = *Points[i];
    out << "    <tr>" << end;
    ReportCell(out, std::to_string(i));
    ReportPointCells(out, p, polar);
    rotation(OutEnabled, p.Out);
    rotation(InEnabled, p.In);
    out << "    </tr>" << end;
  }
  EndReportTable(out);
}

}  // namespace quillon
