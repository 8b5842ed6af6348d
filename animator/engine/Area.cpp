// TArea and TAreaList: letters, corners, inside and edge tests, handles, the "Areas" section.
#include "animator/engine/Area.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "animator/engine/Extent.h"
#include "animator/engine/Letters.h"
#include "animator/engine/ReportTable.h"
#include "animator/engine/SelectionList.h"
#include "animator/engine/StdOut.h"
#include "shared/Convert.h"
#include "shared/ProjectInfo.h"
#include "shared/TextLine.h"

namespace quillon {

using shared::TComplex;

namespace {

bool Near(double value, double edge, double tolerance) {
  return edge - tolerance <= value && value <= edge + tolerance;
}

constexpr shared::TColor kAreaColour = 0x808000;
constexpr int kCornerMarkerSize = 2;
constexpr int kLabelOffset = 5;

}  // namespace

void TArea::SetLetters(const std::string& text) { Letters = UpperText(TrimmedText(text)); }

void TArea::Normalise() {
  if (MinCorner.X > MaxCorner.X) std::swap(MinCorner.X, MaxCorner.X);
  if (MinCorner.Y > MaxCorner.Y) std::swap(MinCorner.Y, MaxCorner.Y);
}

double TArea::Width() const { return std::fabs(MaxCorner.X - MinCorner.X); }

double TArea::Height() const { return std::fabs(MaxCorner.Y - MinCorner.Y); }

bool TArea::IsEmpty() const { return Width() == 0 || Height() == 0; }

void TArea::Assign(const TArea& other) {
  MinCorner = other.MinCorner;
  MaxCorner = other.MaxCorner;
  Letters = other.Letters;
}

bool TArea::Holds(const TComplex& position, char letter) {
  if (!Letters.empty() && Letters.find(UpperLetter(letter)) == std::string::npos) return false;
  Normalise();
  return MinCorner.X <= position.X && position.X <= MaxCorner.X && MinCorner.Y <= position.Y &&
         position.Y <= MaxCorner.Y;
}

bool TArea::HitEdge(const TComplex& p, double tolerance) {
  Normalise();
  const bool inX = MinCorner.X <= p.X && p.X <= MaxCorner.X;
  const bool inY = MinCorner.Y <= p.Y && p.Y <= MaxCorner.Y;
  const bool nearL = Near(p.X, MinCorner.X, tolerance), nearR = Near(p.X, MaxCorner.X, tolerance);
  const bool nearB = Near(p.Y, MinCorner.Y, tolerance), nearT = Near(p.Y, MaxCorner.Y, tolerance);
  // In a rectangle narrower than the tolerance a later corner overrides an earlier one.
  Handle = kWholeArea;
  if (nearB && nearL) Handle = kMinXMinY;
  if (nearT && nearL) Handle = kMinXMaxY;
  if (nearT && nearR) Handle = kMaxXMaxY;
  if (nearB && nearR) Handle = kMaxXMinY;
  return (inX && (nearB || nearT)) || (inY && (nearL || nearR));
}

bool TArea::HitTestSelect(const TComplex& p, bool extend, double tolerance) {
  const bool hit = HitEdge(p, tolerance);
  if (!extend || !Selected) Selected = hit;
  return hit;
}

void TArea::Drag(double dx, double dy) {
  switch (Handle) {
    case kWholeArea:
      MinCorner.X += dx;
      MinCorner.Y += dy;
      MaxCorner.X += dx;
      MaxCorner.Y += dy;
      break;
    case kMinXMinY:
      MinCorner.X += dx;
      MinCorner.Y += dy;
      break;
    case kMinXMaxY:
      MinCorner.X += dx;
      MaxCorner.Y += dy;
      break;
    case kMaxXMaxY:
      MaxCorner.X += dx;
      MaxCorner.Y += dy;
      break;
    case kMaxXMinY:
      MaxCorner.X += dx;
      MinCorner.Y += dy;
      break;
    default:
      return;
  }
  Modified = true;
}

std::string TArea::LabelText() const { return std::to_string(Id) + " " + IncludeText(); }

std::string TArea::IncludeText() const { return Letters.empty() ? "All" : Letters; }

void TArea::ReadTabLine(shared::TTabLines& lines) {
  MinCorner.X = lines.GetFloat(0);
  MinCorner.Y = lines.GetFloat(0);
  MaxCorner.X = lines.GetFloat(0);
  MaxCorner.Y = lines.GetFloat(0);
  SetLetters(lines.GetString(""));
  Selected = false;
  Modified = false;
}

void TArea::WriteTabLine(shared::TTabLines& lines) const {
  lines.ClearFields();
  lines.AddFloat(MinCorner.X);
  lines.AddFloat(MinCorner.Y);
  lines.AddFloat(MaxCorner.X);
  lines.AddFloat(MaxCorner.Y);
  lines.AddString(Letters);
  lines.WriteLine();
}

void TArea::Draw(shared::TCanvas2D& canvas) const {
  const shared::TColor colour = Selected ? shared::kLime : kAreaColour;
  const TComplex corners[4] = {MinCorner, TComplex(MaxCorner.X, MinCorner.Y), MaxCorner,
                               TComplex(MinCorner.X, MaxCorner.Y)};
  canvas.SetBrush(canvas.PaintBox().WindowColor(), shared::TBrushStyle::Clear);
  canvas.SetPen(colour, 1, shared::TPenStyle::Dot);
  canvas.MoveTo(corners[0]);
  for (int i = 1; i <= 4; ++i) canvas.LineTo(corners[i % 4]);
  canvas.SetPen(colour, 1, shared::TPenStyle::Solid);
  for (const auto& corner : corners) canvas.Marker(corner, shared::kMarkerSquare, kCornerMarkerSize);
  if (Selected)
    canvas.TextLabel(TComplex(std::min(MinCorner.X, MaxCorner.X), std::max(MinCorner.Y, MaxCorner.Y)),
                     kLabelOffset, LabelText());
}

void TAreaList::Clear() {
  Items.clear();
  Visible = true;
}

bool TAreaList::IsModified() const {
  return Modified || std::any_of(Items.begin(), Items.end(), [](const auto& a) { return a->Modified; });
}

void TAreaList::SetModified(bool value) {
  Modified = value;
  if (!value)
    for (auto& a : Items) a->Modified = false;
}

void TAreaList::AddObject(std::unique_ptr<TArea> area) {
  if (!area) return;
  AppendItem(Items, std::move(area), SelectOnAdd);
  Modified = true;
}

int32_t TAreaList::NewArea() {
  AddObject(std::make_unique<TArea>());
  return Count() - 1;
}

void TAreaList::AddArea(const TComplex& corner1, const TComplex& corner2) {
  if (!Visible) return;
  TArea& area = *Items[NewArea()];
  area.MinCorner.SetXY(corner1.X, corner1.Y);
  area.MaxCorner.SetXY(corner2.X, corner2.Y);
  area.Handle = TArea::kMaxXMaxY;
}

void TAreaList::Delete(int32_t i) { EraseItem(Items, i); }

void TAreaList::DeleteSelected() {
  if (Visible) EraseSelectedItems(Items);
}

void TAreaList::RemoveDegenerate() {
  for (int32_t i = Count() - 1; i >= 0; --i)
    if (Items[i]->IsEmpty()) Delete(i);
}

void TAreaList::DeselectAll() { DeselectItems(Items); }

int32_t TAreaList::LastSelected() const { return LastSelectedItem(Items); }

void TAreaList::MoveSelected(double dx, double dy) {
  if (!Visible) return;
  for (auto& a : Items)
    if (a->Selected) a->Drag(dx, dy);
}

bool TAreaList::HitTest(const TComplex& p, bool extend, double tolerance) {
  return HitTestItems(Items, Visible, p, extend, tolerance);
}

int32_t TAreaList::IndexHolding(const TComplex& position, char letter) {
  for (int32_t i = Count() - 1; i >= 0; --i)
    if (Items[i]->Holds(position, letter)) return i;
  return -1;
}

void TAreaList::GetExtents(TComplex& min, TComplex& max) const {
  for (const auto& a : Items) {
    WidenExtent(min, max, a->MinCorner.X, a->MinCorner.Y);
    WidenExtent(min, max, a->MaxCorner.X, a->MaxCorner.Y);
  }
}

void TAreaList::ReadTabLines(shared::TTabLines& lines) {
  Clear();
  if (!lines.FindSection(Name)) return;
  const bool over = ReadItems(Items, lines, kMaxAreas);
  if (!Items.empty()) Modified = true;
  if (over)
    StdOut().Warning("The document holds more than " + std::to_string(kMaxAreas) + " areas; only the first " +
                     std::to_string(kMaxAreas) + " were read.");
}

void TAreaList::WriteTabLines(shared::TTabLines& lines) const {
  if (Items.empty()) return;
  lines.BeginSection(Name);
  for (const auto& a : Items) a->WriteTabLine(lines);
  lines.EndSection();
}

void TAreaList::Draw(shared::TCanvas2D& canvas) const {
  if (!Visible) return;
  for (const auto& a : Items) a->Draw(canvas);
}

void TAreaList::WriteHTML(std::ostream& out, bool polar) const {
  const shared::TConvert& convert = shared::Convert();
  const char* end = shared::kLineEnd;
  const std::string length = convert.UnitLabel(shared::cuLength);
  const std::string angle = convert.UnitLabel(shared::cuAngle);
  BeginReportTable(out, Name, 6, 5);
  for (const std::string corner : {"Min. ", "Max. "}) {
    ReportHeadCell(out, 20, corner + (polar ? "R " : "x ") + length);
    ReportHeadCell(out, 20, corner + (polar ? "Angle " + angle : "y " + length));
  }
  ReportHeadCell(out, 15, "Include");
  out << "    </tr>" << end;
  for (int32_t i = 0; i < Count(); ++i) {
    TArea area;
    area.Assign(*Items[i]);
    area.Normalise();
    out << "    <tr>" << end;
    ReportCell(out, std::to_string(i + 1));
    ReportPointCells(out, area.MinCorner, polar);
    ReportPointCells(out, area.MaxCorner, polar);
    ReportCell(out, shared::HtmlEscape(area.IncludeText()));
    out << "    </tr>" << end;
  }
  EndReportTable(out);
}

}  // namespace quillon
