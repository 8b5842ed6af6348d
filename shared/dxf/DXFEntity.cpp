// DXF entities: their groups, drawing, extents, and the reader of entity lists.
#include "shared/dxf/DXFEntity.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "shared/Canvas2D.h"
#include "shared/dxf/DXFBlock.h"
#include "shared/dxf/DXFTable.h"

namespace shared {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

// Text taller than this many pixels is not drawn: a font of millions of pixels would stall the
// painter, and nothing of it would be legible anyway.
constexpr int kMaxTextPixels = 5000;

// Nesting of INSERTs being drawn or measured, and the block expansions left for the outermost
// one: a self-inserting block stops at once, a deep chain at the cap, and a block inserted many
// times by blocks inserted many times stays bounded in work.
constexpr int kMaxInsertDepth = 32;
constexpr long kInsertBudget = 50000;
thread_local int gInsertDepth = 0;
thread_local long gInsertBudget = 0;

class TInsertGuard {
 public:
  explicit TInsertGuard(const TDXFBlock* block) : FBlock(block) {
    if (block == nullptr || block->Busy || gInsertDepth >= kMaxInsertDepth) return;
    if (gInsertDepth == 0) gInsertBudget = kInsertBudget;
    if (gInsertBudget <= 0) return;
    --gInsertBudget;
    ++gInsertDepth;
    block->Busy = true;
    FEntered = true;
  }
  ~TInsertGuard() {
    if (!FEntered) return;
    FBlock->Busy = false;
    --gInsertDepth;
  }
  TInsertGuard(const TInsertGuard&) = delete;
  TInsertGuard& operator=(const TInsertGuard&) = delete;
  bool Entered() const { return FEntered; }

 private:
  const TDXFBlock* FBlock;
  bool FEntered = false;
};

// DXF text has no background: the brush is clear while it is drawn, then given back, so the
// brush a view fills its links with does not box the text in.
class TClearBrush {
 public:
  explicit TClearBrush(TCanvas2D& canvas) : FSurface(canvas.Surface()), FBrush(FSurface.Brush()) {
    FSurface.SetBrush(TBrush{FBrush.Color, TBrushStyle::Clear});
  }
  ~TClearBrush() { FSurface.SetBrush(FBrush); }
  TClearBrush(const TClearBrush&) = delete;
  TClearBrush& operator=(const TClearBrush&) = delete;

 private:
  TPaintSurface& FSurface;
  const TBrush FBrush;
};

void Widen(TComplex& min, TComplex& max, const TComplex& p) {
  min.X = std::min(min.X, p.X);
  min.Y = std::min(min.Y, p.Y);
  max.X = std::max(max.X, p.X);
  max.Y = std::max(max.Y, p.Y);
}

TComplex Polar(const TComplex& centre, double radius, double angle) {
  return TComplex(centre.X + radius * std::cos(angle), centre.Y + radius * std::sin(angle));
}

void Segment(TCanvas2D& canvas, const TComplex& a, const TComplex& b) {
  canvas.MoveTo(a);
  canvas.LineTo(b);
}

bool EqualNoCase(const std::string& a, const char* b) {
  const std::string other(b);
  return std::equal(a.begin(), a.end(), other.begin(), other.end(),
                    [](char x, char y) { return std::toupper((unsigned char)x) == std::toupper((unsigned char)y); });
}

std::vector<std::string> SplitParagraphs(const std::string& text) {
  std::vector<std::string> lines(1);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'P' || text[i + 1] == 'p')) {
      lines.emplace_back();
      ++i;
    } else {
      lines.back() += text[i];
    }
  }
  return lines;
}

}  // namespace

uint32_t DXFIndexColor(int32_t index) {
  static const uint32_t kColors[] = {255,      65535,   65280,   16776960, 16711680, 16711935,
                                     0,        8421376, 8388608, 128,      32768};
  return index >= 1 && index <= 11 ? kColors[index - 1] : 0;
}

// ---- TDXFEntity

TDXFEntity::TDXFEntity(const TDXFProfile& profile, int pointCount)
    : PointCount(pointCount), Points(size_t(pointCount)), FProfile(&profile) {
  Name = "ENTITY";
  TDXFEntity::SetDefaults();
}

void TDXFEntity::SetDefaults() {
  LineTypeName = "BYLAYER";
  Layer.clear();
  Elevation = 0;
  Thickness = 0;
  SetColorIndex(0);
  PaperSpace = 0;
  Extrusion.SetXYZ(0, 0, 1);
}

void TDXFEntity::SetColorIndex(int32_t index) {
  ColorIndex = index;
  Pen.Color = int32_t(FProfile->FixedPen ? FProfile->FixedPenColor : DXFIndexColor(index));
}

void TDXFEntity::ReadGroup(const TDXFGroup& group) {
  switch (group.Code) {
    case 6:
      LineTypeName = group.StringValue;
      break;
    case 8:
      Layer = group.StringValue;
      break;
    case 38:
      Elevation = group.ScaledValue();
      break;
    case 39:
      Thickness = group.ScaledValue();
      break;
    case 62:
      SetColorIndex(group.IntValue);
      break;
    case 67:
      PaperSpace = group.IntValue;
      break;
    case 100:
      SubclassMarker = group.StringValue;
      break;
    case 210:
      Extrusion.X = group.ScaledValue();
      break;
    case 220:
      Extrusion.Y = group.ScaledValue();
      break;
    case 230:
      Extrusion.Z = group.ScaledValue();
      break;
    default:
      break;
  }
  if (group.ValueKind(group.Code) == TDXFValueKind::Real && !std::isfinite(group.ScaledValue())) Refused = true;
}

bool TDXFEntity::ReadPointGroup(const TDXFGroup& group, int32_t base, int count) {
  // In 64 bits: any 32-bit code may come from a file.
  const int64_t i = int64_t(group.Code) - base;
  if (i >= 0 && i < count && i < PointCount) {
    Points[size_t(i)].X = group.ScaledValue();
    FGiven |= 1u << i;
    return true;
  }
  const int64_t j = i - 10;
  if (j >= 0 && j < count && j < PointCount) {
    Points[size_t(j)].Y = group.ScaledValue();
    FGiven |= 1u << j;
    return true;
  }
  return false;
}

void TDXFEntity::Assign(const TGeneralObject* source) {
  TGeneralObject::Assign(source);
  const auto* entity = dynamic_cast<const TDXFEntity*>(source);
  if (entity == nullptr) return;
  LineTypeName = entity->LineTypeName;
  Layer = entity->Layer;
  Elevation = entity->Elevation;
  Thickness = entity->Thickness;
  ColorIndex = entity->ColorIndex;
  PaperSpace = entity->PaperSpace;
  Extrusion = entity->Extrusion;
}

std::unique_ptr<TGeneralObject> TDXFEntity::Clone() const {
  auto copy = std::make_unique<TDXFEntity>(*FProfile);
  copy->Assign(this);
  return copy;
}

void TDXFEntity::PrepareEntityPen(TCanvas2D& canvas) {
  if (LineType != nullptr) Pen.Style = LineType->PenStyle();
  PreparePen(canvas);
}

void TDXFEntity::Draw(TCanvas2D& canvas) {
  if (!Usable()) return;
  PrepareEntityPen(canvas);
  DrawGeometry(canvas, nullptr);
}

void TDXFEntity::DrawTransformed(TCanvas2D& canvas, const TDXFTransForm& transform) {
  if (!Usable()) return;
  PrepareEntityPen(canvas);
  DrawGeometry(canvas, &transform);
}

void TDXFEntity::DrawGeometry(TCanvas2D&, const TDXFTransForm*) {}

TComplex TDXFEntity::Mapped(const TComplex& p, const TDXFTransForm* transform) const {
  return transform ? transform->Applied(p) : TComplex(p.X, p.Y);
}

void TDXFEntity::ExtentPoints(std::vector<TComplex>& points) const {
  points.insert(points.end(), Points.begin(), Points.end());
}

void TDXFEntity::UpdateExtent(TComplex& min, TComplex& max) const { UpdateExtentThrough(min, max, nullptr); }

void TDXFEntity::UpdateExtentThrough(TComplex& min, TComplex& max, const TDXFTransForm* transform) const {
  if (!Usable()) return;
  std::vector<TComplex> points;
  ExtentPoints(points);
  if (points.empty()) return;
  if (transform != nullptr && Curved()) {
    // The curve lies in the box of its extreme points; the mapped box holds the mapped curve.
    TComplex lo = points.front(), hi = points.front();
    for (const TComplex& p : points) Widen(lo, hi, p);
    points = {lo, TComplex(hi.X, lo.Y), hi, TComplex(lo.X, hi.Y)};
  }
  for (const TComplex& p : points) Widen(min, max, Mapped(p, transform));
}

// ---- LINE, POINT

TDXFLine::TDXFLine(const TDXFProfile& profile) : TDXFEntity(profile, 2) { Name = "LINE"; }

void TDXFLine::ReadGroup(const TDXFGroup& group) {
  TDXFEntity::ReadGroup(group);
  ReadPointGroup(group, 10, 2);
}

void TDXFLine::DrawGeometry(TCanvas2D& canvas, const TDXFTransForm* transform) {
  Segment(canvas, Mapped(Points[0], transform), Mapped(Points[1], transform));
}

TDXFPoint::TDXFPoint(const TDXFProfile& profile) : TDXFEntity(profile, 1) { Name = "POINT"; }

void TDXFPoint::ReadGroup(const TDXFGroup& group) {
  TDXFEntity::ReadGroup(group);
  if (!ReadPointGroup(group, 10, 1) && group.Code == 50) Angle = group.AngleRadians();
}

void TDXFPoint::DrawGeometry(TCanvas2D& canvas, const TDXFTransForm* transform) {
  canvas.Marker(Mapped(Points[0], transform), kMarkerSquare, 1);
}

// ---- CIRCLE, ARC

TDXFCircle::TDXFCircle(const TDXFProfile& profile) : TDXFEntity(profile, 1) { Name = "CIRCLE"; }

void TDXFCircle::ReadGroup(const TDXFGroup& group) {
  TDXFEntity::ReadGroup(group);
  if (!ReadPointGroup(group, 10, 1) && group.Code == 40) Radius = group.ScaledValue();
}

void TDXFCircle::DrawGeometry(TCanvas2D& canvas, const TDXFTransForm* transform) {
  const int n = transform ? Profile().CircleSegmentsTransformed : Profile().CircleSegments;
  for (int k = 0; k <= n; ++k) {
    const TComplex p = Mapped(Polar(Points[0], Radius, kTwoPi * k / n), transform);
    if (k == 0)
      canvas.MoveTo(p);
    else
      canvas.LineTo(p);
  }
}

void TDXFCircle::ExtentPoints(std::vector<TComplex>& points) const {
  const TComplex& c = Points[0];
  points.push_back(TComplex(c.X - Radius, c.Y - Radius));
  points.push_back(TComplex(c.X + Radius, c.Y + Radius));
}

TDXFArc::TDXFArc(const TDXFProfile& profile) : TDXFCircle(profile) { Name = "ARC"; }

void TDXFArc::ReadGroup(const TDXFGroup& group) {
  TDXFCircle::ReadGroup(group);
  if (group.Code == 50)
    StartAngle = group.AngleRadians();
  else if (group.Code == 51)
    EndAngle = group.AngleRadians();
}

double TDXFArc::Sweep() const {
  // The argument of e^{i·end} / e^{i·start}.
  const double d = EndAngle - StartAngle;
  double sweep = std::atan2(std::sin(d), std::cos(d));
  if (sweep < 0) sweep += kTwoPi;
  return sweep;
}

int TDXFArc::SegmentCount() const {
  const double n = std::nearbyint(std::fabs(Sweep()) * Profile().ArcSegmentsPerTurn / kTwoPi);
  // Also a sweep that is no number (angles that are not finite) gives one segment.
  return n >= 1 ? int(n) : 1;
}

void TDXFArc::DrawGeometry(TCanvas2D& canvas, const TDXFTransForm* transform) {
  const int n = SegmentCount();
  const double step = Sweep() / n;
  for (int k = 0; k <= n; ++k) {
    const TComplex p = Mapped(Polar(Points[0], Radius, StartAngle + k * step), transform);
    if (k == 0)
      canvas.MoveTo(p);
    else
      canvas.LineTo(p);
  }
}

void TDXFArc::ExtentPoints(std::vector<TComplex>& points) const {
  const double sweep = Sweep();
  points.push_back(Polar(Points[0], Radius, StartAngle));
  points.push_back(Polar(Points[0], Radius, StartAngle + sweep));
  for (int k = 0; k < 4; ++k) {
    const double axis = k * std::numbers::pi / 2;
    double from = std::fmod(axis - StartAngle, kTwoPi);
    if (from < 0) from += kTwoPi;
    if (from <= sweep) points.push_back(Polar(Points[0], Radius, axis));
  }
}

// ---- TRACE, SOLID

TDXFTrace::TDXFTrace(const TDXFProfile& profile) : TDXFEntity(profile, 4) { Name = "TRACE"; }

void TDXFTrace::ReadGroup(const TDXFGroup& group) {
  TDXFEntity::ReadGroup(group);
  ReadPointGroup(group, 10, 4);
}

void TDXFTrace::DrawGeometry(TCanvas2D& canvas, const TDXFTransForm* transform) {
  canvas.MoveTo(Mapped(Points[0], transform));
  for (int k : {1, 2, 3, 0}) canvas.LineTo(Mapped(Points[size_t(k)], transform));
}

TDXFSolid::TDXFSolid(const TDXFProfile& profile) : TDXFTrace(profile) { Name = "SOLID"; }

// ---- TEXT, MTEXT

TDXFText::TDXFText(const TDXFProfile& profile) : TDXFEntity(profile, 2) { Name = "TEXT"; }

void TDXFText::ReadGroup(const TDXFGroup& group) {
  TDXFEntity::ReadGroup(group);
  if (ReadPointGroup(group, 10, 2)) return;
  switch (group.Code) {
    case 1:
      Name = group.DecodeText();
      break;
    case 7:
      Style = EqualNoCase(group.StringValue, "STANDARD") ? "Arial" : group.StringValue;
      break;
    case 40:
      Height = group.ScaledValue();
      break;
    case 50:
      Rotation = group.AngleRadians();
      break;
    case 72:
      HorizontalJustification = group.IntValue;
      break;
    case 73:
      VerticalJustification = group.IntValue;
      break;
    default:
      break;
  }
}

void TDXFText::DrawGeometry(TCanvas2D& canvas, const TDXFTransForm* transform) {
  if (canvas.WorldToPixels(Height) > kMaxTextPixels) return;
  const TClearBrush clear(canvas);
  canvas.SetFontName(Style);
  canvas.SetFontColor(DrawColor());
  canvas.SetFontHeight(Height);
  if (Profile().UnrotatedText) {
    const TComplex& at = HorizontalJustification != 0 || VerticalJustification != 0 ? Points[1] : Points[0];
    canvas.AlignedText(Mapped(at, transform), HorizontalJustification, Name, VerticalJustification);
    return;
  }
  const double angle = Rotation + (transform ? transform->Angle : 0);
  canvas.RotatedText(Mapped(Points[0], transform), Mapped(Points[1], transform), Name, angle,
                     VerticalJustification, HorizontalJustification);
}

void TDXFText::ExtentPoints(std::vector<TComplex>& points) const {
  points.push_back(Points[0]);
  if (FGiven & 2u) points.push_back(Points[1]);
}

TDXFMText::TDXFMText(const TDXFProfile& profile) : TDXFEntity(profile, 2) { Name = "MTEXT"; }

void TDXFMText::ReadGroup(const TDXFGroup& group) {
  TDXFEntity::ReadGroup(group);
  if (ReadPointGroup(group, 10, 2)) return;
  switch (group.Code) {
    case 1:
      // A long text comes in groups 3 of 250 characters, then its end in group 1.
      Name = DecodeDXFText(ExtraText + group.StringValue);
      Lines = SplitParagraphs(Name);
      break;
    case 3:
      ExtraText += group.StringValue;
      break;
    case 7:
      Style = group.StringValue;
      break;
    case 40:
      Height = group.ScaledValue();
      break;
    case 41:
      ReferenceWidth = group.ScaledValue();
      break;
    case 50:
      Rotation = group.AngleRadians();
      break;
    case 71:
      Attachment = group.IntValue;
      break;
    case 72:
      DrawingDirection = group.IntValue;
      break;
    default:
      break;
  }
}

void TDXFMText::DrawGeometry(TCanvas2D& canvas, const TDXFTransForm* transform) {
  if (canvas.WorldToPixels(Height) > kMaxTextPixels) return;
  const TClearBrush clear(canvas);
  canvas.SetFontName(Style);
  canvas.SetFontColor(DrawColor());
  canvas.SetFontHeight(Height);
  if (Profile().UnrotatedText) {
    for (size_t i = 0; i < Lines.size(); ++i) {
      const TComplex at(Points[0].X, Points[0].Y - double(i) * Height);
      canvas.AnchoredText(Mapped(at, transform), Attachment, Lines[i]);
    }
    return;
  }
  const double angle = Rotation + (transform ? transform->Angle : 0);
  canvas.TextList(Mapped(Points[0], transform), Attachment, Lines, angle);
}

void TDXFMText::ExtentPoints(std::vector<TComplex>& points) const { points.push_back(Points[0]); }

// ---- POLYLINE, VERTEX

TDXFVertex::TDXFVertex(const TDXFProfile& profile) : TDXFEntity(profile, 1) {}

void TDXFVertex::ReadGroup(const TDXFGroup& group) {
  TDXFEntity::ReadGroup(group);
  if (ReadPointGroup(group, 10, 1)) return;
  if (group.Code == 40)
    StartWidth = group.FloatValue;
  else if (group.Code == 41)
    EndWidth = group.FloatValue;
}

TDXFPolyline::TDXFPolyline(const TDXFProfile& profile) : TDXFEntity(profile, 0) { Name = "POLYLINE"; }

void TDXFPolyline::ReadGroup(const TDXFGroup& group) {
  TDXFEntity::ReadGroup(group);
  if (group.Code == 70) Flags = group.IntValue;
}

TDXFVertex* TDXFPolyline::AddVertex(std::unique_ptr<TDXFVertex> vertex) {
  Vertices.push_back(std::move(vertex));
  return Vertices.back().get();
}

bool TDXFPolyline::Usable() const {
  return !Refused && std::all_of(Vertices.begin(), Vertices.end(), [](const auto& v) { return v->Usable(); });
}

void TDXFPolyline::DrawGeometry(TCanvas2D& canvas, const TDXFTransForm* transform) {
  if (Vertices.size() < 2) return;
  canvas.MoveTo(Mapped(Vertices.front()->Points[0], transform));
  for (size_t i = 1; i < Vertices.size(); ++i) canvas.LineTo(Mapped(Vertices[i]->Points[0], transform));
  if (Closed()) canvas.LineTo(Mapped(Vertices.front()->Points[0], transform));
}

void TDXFPolyline::ExtentPoints(std::vector<TComplex>& points) const {
  for (const auto& vertex : Vertices) points.push_back(vertex->Points[0]);
}

// ---- DIMENSION

TDXFDimension::TDXFDimension(const TDXFProfile& profile) : TDXFEntity(profile, 7) { Name = "DIMENSION"; }

void TDXFDimension::ReadGroup(const TDXFGroup& group) {
  TDXFEntity::ReadGroup(group);
  if (ReadPointGroup(group, 10, 7)) return;
  switch (group.Code) {
    case 1:
      Name = group.DecodeText();
      break;
    case 2:
      BlockName = group.StringValue;
      break;
    case 40:
      Value = group.ScaledValue();
      break;
    case 50:
      Angle1 = group.AngleRadians();
      break;
    case 51:
      Angle2 = group.AngleRadians();
      break;
    case 70:
      DimensionType = group.IntValue;
      break;
    default:
      break;
  }
}

void TDXFDimension::DrawGeometry(TCanvas2D& canvas, const TDXFTransForm* transform) {
  std::vector<TComplex> q;
  for (const TComplex& p : Points) q.push_back(Mapped(p, transform));
  const int type = DimensionType & 7;
  if (type == 0 || type == 1) {
    TComplex d;
    d.Sub(q[0], q[3]);
    TComplex end4, end3;
    end4.Add(q[4], d);
    end3.Add(q[3], d);
    Segment(canvas, q[4], end4);
    Segment(canvas, q[3], end3);
    Segment(canvas, q[0], end4);
  } else if (type == 2) {
    Segment(canvas, q[4], q[3]);
    Segment(canvas, q[5], q[0]);
  }
  for (size_t i = 0; i < q.size(); ++i) {
    canvas.Marker(q[i], kMarkerCross, 2);
    canvas.TextLabel(q[i], 2, std::to_string(i));
  }
}

void TDXFDimension::ExtentPoints(std::vector<TComplex>& points) const {
  for (int i = 0; i < PointCount; ++i)
    if (FGiven & (1u << i)) points.push_back(Points[size_t(i)]);
}

// ---- INSERT

TDXFInsert::TDXFInsert(const TDXFProfile& profile) : TDXFEntity(profile, 1) {}

void TDXFInsert::ReadGroup(const TDXFGroup& group) {
  TDXFEntity::ReadGroup(group);
  if (ReadPointGroup(group, 10, 1)) return;
  switch (group.Code) {
    case 2:
      Name = group.StringValue;
      break;
    case 41:
      ScaleX = group.FloatValue;
      break;
    case 42:
      ScaleY = group.FloatValue;
      break;
    case 43:
      ScaleZ = group.FloatValue;
      break;
    case 44:
      ColumnSpacing = group.FloatValue;
      break;
    case 45:
      RowSpacing = group.FloatValue;
      break;
    case 50:
      Rotation = group.AngleRadians();
      break;
    case 66:
      AttributesFollow = group.IntValue;
      break;
    case 70:
      ColumnCount = group.IntValue;
      break;
    case 71:
      RowCount = group.IntValue;
      break;
    default:
      break;
  }
}

TDXFTransForm TDXFInsert::OwnTransform() const {
  TDXFTransForm own;
  own.SetAll(Points[0].X, Points[0].Y, Rotation, ScaleX, ScaleY);
  if (Block != nullptr) {
    const TComplex& b = Block->BasePoint;
    own.SubtractOffset(TComplex(own.M11 * b.X + own.M12 * b.Y, own.M21 * b.X + own.M22 * b.Y));
  }
  return own;
}

void TDXFInsert::DrawGeometry(TCanvas2D& canvas, const TDXFTransForm* transform) {
  const TInsertGuard guard(Block);
  if (!guard.Entered()) return;
  TDXFTransForm placement;
  placement.Assign(transform);
  placement.Compose(OwnTransform());
  // Scales that multiply beyond the double range place the block nowhere.
  if (!placement.IsFinite()) return;
  Block->DrawTransformed(canvas, placement);
}

void TDXFInsert::UpdateExtentThrough(TComplex& min, TComplex& max, const TDXFTransForm* transform) const {
  if (!Usable()) return;
  TDXFEntity::UpdateExtentThrough(min, max, transform);
  const TInsertGuard guard(Block);
  if (!guard.Entered()) return;
  TDXFTransForm placement;
  placement.Assign(transform);
  placement.Compose(OwnTransform());
  if (!placement.IsFinite()) return;
  for (int32_t i = 0; i < Block->Count(); ++i)
    if (const auto* entity = dynamic_cast<const TDXFEntity*>(Block->Items(i)))
      entity->UpdateExtentThrough(min, max, &placement);
}

// ---- creation and reading

std::unique_ptr<TDXFEntity> CreateDXFEntity(int kind, const TDXFProfile& profile) {
  switch (kind) {
    case kEntityLine:
      return std::make_unique<TDXFLine>(profile);
    case kEntityPoint:
      return std::make_unique<TDXFPoint>(profile);
    case kEntityCircle:
      return std::make_unique<TDXFCircle>(profile);
    case kEntityArc:
      return std::make_unique<TDXFArc>(profile);
    case kEntityTrace:
      return std::make_unique<TDXFTrace>(profile);
    case kEntitySolid:
      return std::make_unique<TDXFSolid>(profile);
    case kEntityText:
      return std::make_unique<TDXFText>(profile);
    case kEntityMText:
      return std::make_unique<TDXFMText>(profile);
    case kEntityPolyline:
      return std::make_unique<TDXFPolyline>(profile);
    case kEntityInsert:
      return std::make_unique<TDXFInsert>(profile);
    case kEntityDimension:
      return std::make_unique<TDXFDimension>(profile);
    default:
      return std::make_unique<TDXFEntity>(profile);
  }
}

void TDXFEntityReader::Take(const TDXFGroup& group) {
  if (group.Code != 0) {
    if (FTarget != nullptr) FTarget->ReadGroup(group);
    return;
  }
  const int kind = group.EntityKind();
  if (kind == kEntityVertex) {
    // A VERTEX outside a polyline has nowhere to go, nor have its groups.
    FTarget = FPolyline ? FPolyline->AddVertex(std::make_unique<TDXFVertex>(group.Profile())) : nullptr;
    return;
  }
  // Any other keyword ends an open polyline, whether or not SEQEND came.
  FPolyline = nullptr;
  FTarget = nullptr;
  if (kind == kEntitySeqEnd) return;
  auto created = CreateDXFEntity(kind, group.Profile());
  created->Keyword = group.StringValue;
  auto* entity = static_cast<TDXFEntity*>(FList.Add(std::move(created)));
  if (kind == 0 && FUnknownByKeyword) {
    entity->Name = group.StringValue;
    if (FLog) FLog->push_back(group.StringValue);
  }
  if (kind == kEntityPolyline) FPolyline = static_cast<TDXFPolyline*>(entity);
  FTarget = entity;
}

}  // namespace shared
