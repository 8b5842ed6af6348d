// The synthesis curve: tangents, resampling, evaluation, record, drawing, HTML table, sheet
// import and the animator's "Curve" section.
#include "synthesis/engine/Spline.h"

#include <algorithm>
#include <cmath>

#include "shared/Canvas2D.h"
#include "shared/Convert.h"
#include "shared/Matrix.h"
#include "shared/ProjectInfo.h"
#include "shared/SheetFile.h"
#include "shared/TextLine.h"
#include "shared/dxf/DXFTransForm.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/Drawing.h"
#include "synthesis/engine/ProjectText.h"
#include "synthesis/engine/Random.h"

namespace vesk {

using shared::TComplex;

namespace {

constexpr uint32_t kCurveColor = 0x808000;
// A curve whose points all coincide still has a sampled length from the rounding of the
// evaluation; below this fraction of its co-ordinates' size it counts as no length at all.
constexpr double kLengthRounding = 1e-12;
// The ends of a closed curve meet to within this share of its length.
constexpr double kClosedGap = 1e-9;
// Samples of the whole curve: (kSampleSpan div segments) per segment plus the first point.
constexpr int32_t kSampleSpan = 199;
// A path that follows the curve passes each control point within this share of its length.
constexpr double kPassShare = 0.1;

// The tangent of channel values at control point i (1-based); 0 where none was solved.
double Tangent(const std::vector<double>& tangents, int32_t i) {
  return i >= 1 && size_t(i) <= tangents.size() ? tangents[size_t(i - 1)] : 0;
}

}  // namespace

TSpline::TSpline() : TComplexPointList(kCapacity) {
  SelectOnAdd = true;
  ShowLabels = true;
  MarkerType = shared::kMarkerSquare;
  MarkerSize = 3;
  Color = kCurveColor;
  Samples.SelectOnAdd = false;
  Samples.Connect = true;
  Samples.ShowPoints = false;
  Samples.Color = kCurveColor;
}

std::unique_ptr<TComplexPoint> TSpline::NewItem() const { return std::make_unique<TPrePoint>(); }

TComplexPoint* TSpline::Add(std::unique_ptr<TComplexPoint> item) {
  return TComplexPointList::Add(AsPrePoint(std::move(item)));
}

TPrePoint* TSpline::GetPoint(int32_t i) const { return static_cast<TPrePoint*>(Items(i)); }

TPrePoint* TSpline::GetSelectedPoint() const { return static_cast<TPrePoint*>(Selected()); }

void TSpline::SolveTangents() {
  const int32_t n = Count();
  GetPoint(1)->In = 0;
  GetPoint(1)->Out = 0;
  // The tangents D of values P: 2 D1 + D2 = 3 (P2 - P1), D(i-1) + 4 Di + D(i+1) = 3 (P(i+1) -
  // P(i-1)), D(n-1) + 2 Dn = 3 (Pn - P(n-1)).
  auto solve = [&](auto value) {
    shared::TMatrix m(n);
    for (int32_t i = 0; i < n; ++i) {
      const int32_t before = i > 0 ? i - 1 : i;
      const int32_t after = i < n - 1 ? i + 1 : i;
      if (i > 0) m.A[i][i - 1] = 1;
      if (i < n - 1) m.A[i][i + 1] = 1;
      m.A[i][i] = i == 0 || i == n - 1 ? 2 : 4;
      m.B[i] = 3 * (value(*GetPoint(after + 1)) - value(*GetPoint(before + 1)));
    }
    m.Solve();
    return m.B;
  };
  const std::vector<double> dx = solve([](const TPrePoint& p) { return p.X; });
  const std::vector<double> dy = solve([](const TPrePoint& p) { return p.Y; });
  for (int32_t i = 1; i <= n; ++i) GetPoint(i)->Direction.SetXY(dx[size_t(i - 1)], dy[size_t(i - 1)]);
  OutTangents.assign(size_t(n), 0);
  InTangents.assign(size_t(n), 0);
  if (Out) OutTangents = solve([](const TPrePoint& p) { return p.Out; });
  if (In) InTangents = solve([](const TPrePoint& p) { return p.In; });
}

void TSpline::Resample() {
  Samples.Clear();
  const int32_t n = Count();
  const int32_t m = kSampleSpan / (n - 1);
  auto first = std::make_unique<TPrePoint>();
  first->Assign(*GetPoint(1));
  first->s = 0;
  const TPrePoint* previous = first.get();
  Samples.Add(std::move(first));
  CurveLength = 0;
  for (int32_t k = 2; k <= n; ++k) {
    for (int32_t i = 1; i <= m; ++i) {
      auto sample = std::make_unique<TPrePoint>();
      Evaluate(k, *sample, double(i) / m);
      TComplex step;
      step.Sub(*sample, *previous);
      CurveLength += step.Abs();
      sample->s = CurveLength;
      previous = sample.get();
      Samples.Add(std::move(sample));
    }
    GetPoint(k)->s = CurveLength;
  }
  GetPoint(1)->s = 0;
  // A curve without length keeps every parameter at 0 and is not valid.
  for (int32_t k = 2; k <= n; ++k) GetPoint(k)->s = HasLength() ? GetPoint(k)->s / CurveLength : 0;
}

bool TSpline::HasLength() const {
  double size = 1;
  for (int32_t i = 1; i <= Count(); ++i)
    size = std::fmax(size, std::fmax(std::fabs(Items(i)->X), std::fabs(Items(i)->Y)));
  return CurveLength > kLengthRounding * size;
}

void TSpline::Recalc() {
  if (Count() < 2) {
    Samples.Clear();
    MeasureLoops();
    return;
  }
  SolveTangents();
  Resample();
  MeasureLoops();
  ID = Random().Below(kIDRange);
}

void TSpline::MeasureLoops() {
  fPassTolerances.assign(size_t(Count()), 0.0);
  fLoopArea = 0;
  const int32_t n = Samples.Count();
  if (!IsValid() || n < 2) return;
  for (double& tolerance : fPassTolerances) tolerance = kPassShare * CurveLength;
  auto sample = [this](int32_t i) -> const TPrePoint& {
    return static_cast<const TPrePoint&>(*Samples.Items(i));
  };
  // A loop's scale, twice its area over its perimeter, is a circle's radius and about half the
  // width of a long loop: a path that cuts across a loop misses its points by more.
  auto narrow = [this](double area, double perimeter, double from, double to) {
    if (!(perimeter > 0)) return;
    const double scale = 2 * std::fabs(area) / perimeter;
    for (int32_t k = 1; k <= Count(); ++k) {
      const double s = GetPoint(k)->s * CurveLength;
      if (s >= from && s <= to)
        fPassTolerances[size_t(k - 1)] = std::min(fPassTolerances[size_t(k - 1)], scale);
    }
  };
  const bool closed = IsClosed();
  if (closed) {
    fLoopArea = 0.5 * TwiceSweptArea(Samples, 1, n);
    narrow(fLoopArea, CurveLength, 0, CurveLength);
  }
  // Every stretch between two crossing sides of the sampled curve.
  for (int32_t i = 2; i <= n; ++i) {
    const TPrePoint& a = sample(i - 1);
    const TPrePoint& b = sample(i);
    TComplex ab;
    ab.Sub(b, a);
    for (int32_t j = i + 2; j <= n; ++j) {
      // The closing sample meets the first one: no crossing.
      if (closed && i == 2 && j == n) continue;
      const TPrePoint& c = sample(j - 1);
      const TPrePoint& d = sample(j);
      TComplex cd, ac;
      cd.Sub(d, c);
      ac.Sub(c, a);
      const double den = ab.Cross(cd);
      if (den == 0) continue;
      const double t = ac.Cross(cd) / den;
      const double u = ac.Cross(ab) / den;
      if (t < 0 || t > 1 || u < 0 || u > 1) continue;
      const TComplex at(a.X + t * ab.X, a.Y + t * ab.Y);
      const double area = at.Cross(b) + TwiceSweptArea(Samples, i, j - 1) + c.Cross(at);
      const double from = a.s + t * (b.s - a.s);
      const double to = c.s + u * (d.s - c.s);
      narrow(0.5 * area, to - from, from, to);
    }
  }
}

double TSpline::PassTolerance(int32_t k) const {
  return k >= 1 && size_t(k) <= fPassTolerances.size() ? fPassTolerances[size_t(k - 1)] : 0;
}

bool TSpline::IsValid() const { return Count() > 1 && HasLength(); }

bool TSpline::IsClosed() const {
  if (Count() < 3 || !IsValid()) return false;
  TComplex gap;
  gap.Sub(*Items(Count()), *Items(1));
  return gap.Abs() <= kClosedGap * CurveLength;
}

void TSpline::Evaluate(int32_t k, TPrePoint& point, double t) const {
  if (k < 2 || k > Count()) return;
  const TPrePoint& p0 = *GetPoint(k - 1);
  const TPrePoint& p1 = *GetPoint(k);
  const double t2 = t * t, t3 = t2 * t;
  const double h00 = 2 * t3 - 3 * t2 + 1, h01 = 3 * t2 - 2 * t3;
  const double h10 = t3 - 2 * t2 + t, h11 = t3 - t2;
  auto blend = [&](double v0, double v1, double d0, double d1) {
    return h00 * v0 + h01 * v1 + h10 * d0 + h11 * d1;
  };
  point.SetXY(blend(p0.X, p1.X, p0.Direction.X, p1.Direction.X),
              blend(p0.Y, p1.Y, p0.Direction.Y, p1.Direction.Y));
  if (Out) point.Out = blend(p0.Out, p1.Out, Tangent(OutTangents, k - 1), Tangent(OutTangents, k));
  if (In) point.In = blend(p0.In, p1.In, Tangent(InTangents, k - 1), Tangent(InTangents, k));
  // The derivative of the position blend, as a unit vector.
  const double g00 = 6 * t2 - 6 * t, g01 = 6 * t - 6 * t2, g10 = 3 * t2 - 4 * t + 1, g11 = 3 * t2 - 2 * t;
  point.Direction.SetXY(g00 * p0.X + g01 * p1.X + g10 * p0.Direction.X + g11 * p1.Direction.X,
                        g00 * p0.Y + g01 * p1.Y + g10 * p0.Direction.Y + g11 * p1.Direction.Y);
  point.Direction.Normalize();
}

void TSpline::PointAt(TPrePoint& point, double s) const {
  if (Count() < 2) return;
  point.Zero();
  point.Direction.Zero();
  point.In = InTotal ? s * TotalIn : 0;
  point.Out = OutTotal ? s * TotalOut : 0;
  point.s = s;
  int32_t lo = 1, hi = Count();
  while (hi - lo > 1) {
    const int32_t mid = (lo + hi) / 2;
    if (s < GetPoint(mid)->s)
      hi = mid;
    else
      lo = mid;
  }
  // A segment of no length is taken at its start.
  const double span = GetPoint(hi)->s - GetPoint(lo)->s;
  Evaluate(hi, point, span > 0 ? (s - GetPoint(lo)->s) / span : 0);
}

void TSpline::GetExtents(TComplex& min, TComplex& max) const {
  if (Count() < 2) return;
  min = *Items(1);
  max = *Items(1);
  for (int32_t i = 2; i <= Count(); ++i) {
    const TComplexPoint& p = *Items(i);
    min.X = std::fmin(min.X, p.X);
    min.Y = std::fmin(min.Y, p.Y);
    max.X = std::fmax(max.X, p.X);
    max.Y = std::fmax(max.Y, p.Y);
  }
}

bool TSpline::HasZeroOutRotations() const {
  if (!Out) return false;
  for (int32_t i = 1; i <= Count(); ++i)
    if (GetPoint(i)->Out != 0) return false;
  return true;
}

void TSpline::Clear() {
  In = false;
  InTotal = false;
  Out = false;
  OutTotal = false;
  TotalIn = 1.0;
  TotalOut = 1.0;
  CurveLength = 0;
  Samples.Clear();
  TComplexPointList::Clear();
  MeasureLoops();
}

template <class Io>
void TSpline::Fields(Io& io) {
  io.Value(ID, " ID");
  io.Value(In, " In");
  io.Value(InTotal);
  io.Value(TotalIn);
  io.Value(Out, " Out");
  io.Value(OutTotal);
  io.Value(TotalOut);
}

void TSpline::Read(std::istream& in) {
  TComplexPointList::Read(in);
  TProjectReader r(in, "TSpline");
  r.Version();
  Fields(r);
  const int32_t stored = ID;
  Recalc();
  // A mechanism recognises its curve by the ID it was generated from.
  ID = stored;
  fModified = false;
}

void TSpline::Write(std::ostream& out) {
  TComplexPointList::Write(out);
  TProjectWriter w(out);
  w.Version();
  Fields(w);
}

void TSpline::Assign(const TComplexPointList& source) {
  TComplexPointList::Assign(source);
  const auto* curve = dynamic_cast<const TSpline*>(&source);
  if (curve && curve != this) {
    In = curve->In;
    InTotal = curve->InTotal;
    TotalIn = curve->TotalIn;
    Out = curve->Out;
    OutTotal = curve->OutTotal;
    TotalOut = curve->TotalOut;
  }
  Recalc();
  if (curve && curve->ID >= 0) ID = curve->ID;
}

void TSpline::Draw(shared::TCanvas2D& canvas) const {
  Samples.Draw(canvas);
  TComplexPointList::Draw(canvas);
  const TPrePoint* selected = GetSelectedPoint();
  if (!Out || !selected) return;
  shared::TDXFTransForm placement;
  placement.SetAll(selected->X, selected->Y, selected->Out, 1, 1);
  Drawing().DrawTransformed(canvas, placement);
}

void TSpline::WriteHtml(std::ostream& out) const {
  const shared::TConvert& convert = shared::Convert();
  const bool polar = AppOptions.IsPolar;
  const std::string end = shared::kLineEnd;
  const std::string length = convert.UnitLabel(shared::cuLength);
  const std::string angle = convert.UnitLabel(shared::cuAngle);
  out << "<table border=\"1\" bordercolor=\"#000000\" width=\"100%\">" << end;
  out << "    <tr><td colspan=\"5\" bgcolor=\"#FFFFCC\" width=\"100%\"><font face=\"Arial\" size=\"4\">"
      << shared::HtmlEscape(Name) << "</font></td></tr>" << end;
  out << "    <tr>" << end;
  out << "        <td width=\"8%\">Nr.</td>" << end;
  out << "        <td width=\"23%\">" << (polar ? "R " : "x ") << length << "</td>" << end;
  out << "        <td width=\"23%\">" << (polar ? "Angle " + angle : "y " + length) << "</td>" << end;
  out << "        <td width=\"23%\">Output Rotation " << angle << "</td>" << end;
  out << "        <td width=\"23%\">Input Rotation " << angle << "</td>" << end;
  out << "    </tr>" << end;
  auto cell = [&](int category, double si) {
    out << "        <td>" << convert.FormatSI(category, si) << "</td>" << end;
  };
  auto rotation = [&](bool prescribed, double si) {
    out << "<td>" << (prescribed ? convert.FormatSI(shared::cuAngle, si) : "-") << "</td>" << end;
  };
  for (int32_t i = 1; i <= Count(); ++i) {
    const TPrePoint& p = *GetPoint(i);
    out << "    <tr>" << end;
    out << "        <td>" << i << "</td>" << end;
    if (polar) {
      cell(shared::cuLength, p.Abs());
      cell(shared::cuAngle, p.Arg());
    } else {
      cell(shared::cuLength, p.X);
      cell(shared::cuLength, p.Y);
    }
    rotation(Out, p.Out);
    rotation(In, p.In);
    out << "    </tr>" << end;
  }
  out << "</table>" << end << "<p></p>" << end;
}

void TSpline::ImportFromSheet(const TSheetCells& cells, std::string* notice) {
  const shared::TConvert& convert = shared::Convert();
  const bool polar = AppOptions.IsPolar;
  // A cell that holds no finite number counts as empty.
  auto value = [&](int32_t row, int32_t column) {
    const double v = cells.Value(row, column);
    return std::isfinite(v) ? v : 0.0;
  };
  Clear();
  if (notice) notice->clear();
  // Per point: its row gave an output (input) rotation. The first point's are 0 by definition.
  std::vector<bool> outGiven, inGiven;
  // The points of the rows read before a cell that cannot be read stay, as a whole curve.
  const auto finish = [&] {
    const int32_t n = Count();
    const auto given = [n](const std::vector<bool>& rows) {
      int32_t count = 0;
      for (int32_t i = 2; i <= n; ++i) count += rows[size_t(i - 1)] ? 1 : 0;
      return count;
    };
    const int32_t outCount = given(outGiven), inCount = given(inGiven);
    // Empty output cells prescribe nothing: a 0 at every point would fix the output body.
    Out = n < 2 || outCount > 0;
    OutTotal = false;
    In = n >= 1 && inCount == n - 1;
    // One rotation, in the last row: only the total is prescribed, spread along the curve.
    InTotal = !In && inCount == 1 && inGiven.back();
    // Some rows without a value among rows with one: those rows follow from their neighbours.
    const bool outPartly = Out && outCount < n - 1;
    const bool inPartly = !In && !InTotal && inCount > 0;
    if (outPartly || inPartly) {
      In = In || inPartly;
      // The curve parameter of each point, to interpolate by.
      SolveTangents();
      Resample();
      std::string told;
      if (outPartly) told = FillRotations(outGiven, &TPrePoint::Out, "D (output rotation)", "is empty", "output");
      if (inPartly) {
        if (!told.empty()) told += "\n\n";
        told += FillRotations(inGiven, &TPrePoint::In, "E (input rotation)", "is empty or 0", "input");
      }
      if (notice) *notice = told;
    }
    if (In || InTotal) TotalIn = GetPoint(n)->In;
    Deselect();
    Recalc();
  };
  try {
    // The curve holds kCapacity points; rows beyond them are not read.
    for (int32_t row = 2; Count() < kCapacity && value(row, 1) != 0; ++row) {
      auto point = std::make_unique<TPrePoint>();
      const double a = value(row, 2), b = value(row, 3);
      if (polar)
        point->SetPolar(convert.ToSI(shared::cuLength, a), convert.ToSI(shared::cuAngle, b));
      else
        point->SetXY(convert.ToSI(shared::cuLength, a), convert.ToSI(shared::cuLength, b));
      // A 0 typed in column D prescribes 0; in column E a 0 is no turn of the input.
      const bool outCell = !cells.IsEmpty(row, 4);
      point->Out = convert.ToSI(shared::cuAngle, value(row, 4));
      point->In = convert.ToSI(shared::cuAngle, value(row, 5));
      const bool inCell = !cells.IsEmpty(row, 5) && point->In != 0;
      Add(std::move(point));
      outGiven.push_back(outCell);
      inGiven.push_back(inCell);
    }
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

std::string TSpline::FillRotations(const std::vector<bool>& given, double TPrePoint::*channel, const char* column,
                                   const char* empty, const char* rotation) {
  const int32_t n = Count();
  std::vector<int32_t> rows;
  int32_t lastGiven = 1;
  for (int32_t i = 2; i <= n; ++i)
    if (given[size_t(i - 1)])
      lastGiven = i;
    else
      rows.push_back(i + 1);
  // Linear in the curve parameter between the nearest points with a value, as a total rotation
  // is spread; after the last of them its value stays.
  bool between = false;
  for (int32_t i = 2, before = 1; i <= n; ++i) {
    if (given[size_t(i - 1)]) {
      before = i;
      continue;
    }
    TPrePoint& point = *GetPoint(i);
    const TPrePoint& from = *GetPoint(before);
    if (i > lastGiven) {
      point.*channel = from.*channel;
      continue;
    }
    between = true;
    int32_t after = i + 1;
    while (!given[size_t(after - 1)]) ++after;
    const TPrePoint& to = *GetPoint(after);
    const double span = to.s - from.s;
    const double t = span > 0 ? (point.s - from.s) / span : 0;
    // Weighted, not by the difference: values near the double range do not overflow.
    point.*channel = (1 - t) * from.*channel + t * to.*channel;
  }
  const std::string list = shared::NumberListText(rows);
  const bool several = rows.size() > 1;
  std::string text = std::string("Column ") + column + " " + empty + " in row" + (several ? "s " : " ") + list +
                     ". The " + rotation + " rotation is prescribed at every point: ";
  const std::string last = std::to_string(lastGiven + 1);
  const std::string keeps = "after row " + last + " it keeps the value of row " + last + ".";
  if (between) {
    text += std::string("in ") + (several ? "those rows" : "that row") +
            " it is interpolated along the curve between the nearest rows with a value";
    text += lastGiven < n ? ", and " + keeps : ".";
  } else {
    text += keeps;
  }
  return text;
}

void TSpline::ExportTabLines(shared::TTabLines& lines) const {
  if (IsEmpty()) return;
  lines.BeginSection("Curve");
  lines.ClearFields();
  lines.AddBool(In);
  lines.AddBool(InTotal);
  lines.AddFloat(TotalIn);
  lines.AddBool(Out);
  lines.AddBool(OutTotal);
  lines.AddFloat(TotalOut);
  lines.WriteLine();
  for (int32_t i = 1; i <= Count(); ++i) GetPoint(i)->WriteCurveRecord(lines);
  lines.EndSection();
}

}  // namespace vesk
