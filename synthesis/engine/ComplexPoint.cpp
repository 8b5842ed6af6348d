// The synthesis engine's point and point list: records, selection, near tests and drawing.
#include "synthesis/engine/ComplexPoint.h"

#include <algorithm>

#include "synthesis/engine/ProjectText.h"

namespace vesk {

using shared::TComplex;

// TComplexPoint

void TComplexPoint::ReadFromText(std::istream& in) {
  TProjectReader r(in, ClassName());
  r.Version();
  const int32_t index = r.Int();
  TComplex::ReadFromText(in);
  Inf = r.Bool();
  // Inside a list the place is the index: a record cannot move the point or alias another.
  if (!fOwner) fIndex = index;
  Modified = false;
}

void TComplexPoint::WriteToText(std::ostream& out) const {
  TProjectWriter w(out);
  w.Version();
  w.Int(fIndex);
  TComplex::WriteToText(out);
  w.Bool(Inf, " Inf");
  Modified = false;
}

TComplex& TComplexPoint::Assign(const TComplex& source) {
  TComplex::Assign(source);
  const auto* point = dynamic_cast<const TComplexPoint*>(&source);
  Inf = point && point->Inf;
  Modified = true;
  return *this;
}

void TComplexPoint::Clear() {
  TComplex::Clear();
  Inf = false;
  Modified = false;
}

TComplexPoint* TComplexPoint::Clone() const {
  auto* copy = new TComplexPoint();
  copy->Assign(*this);
  return copy;
}

void TComplexPoint::Zero() {
  TComplex::Zero();
  Inf = false;
}

bool TComplexPoint::IsNear(const TComplex& point, double tolerance) const {
  TComplex d;
  d.Sub(point, *this);
  return !(d.Abs() > tolerance);
}

void TComplexPoint::Draw(shared::TCanvas2D& canvas) const {
  const bool selected = IsSelected();
  if (!fOwner) {
    canvas.SetPen(selected ? shared::kLime : shared::kBlack);
    canvas.Marker(*this, shared::kMarkerCircle, 3);
    return;
  }
  canvas.SetPen(selected ? shared::kLime : fOwner->Color);
  canvas.Marker(*this, fOwner->MarkerType, fOwner->MarkerSize);
  if (fOwner->ShowLabels || selected) canvas.TextLabel(*this, fOwner->TextOffset, GetName());
}

std::string TComplexPoint::GetName() const { return std::to_string(fIndex); }

bool TComplexPoint::IsSelected() const { return fOwner && fOwner->Selected() == this; }

// TComplexPointList

TComplexPointList::TComplexPointList(int32_t capacity) : fCapacity(std::max(capacity, 0)) {
  fItems.reserve(size_t(fCapacity));
}

template <class Io>
void TComplexPointList::DisplayFields(Io& io) {
  io.Value(SelectOnAdd, " SelectOnAdd");
  io.Value(Visible, " Visible");
  io.Value(Connect, " Connect");
  io.Value(ConnectEnds, " ConnectEnds");
  io.Value(ShowPoints, " ShowPoints");
  io.Value(ShowLabels, " ShowLabels");
  io.Value(TextOffset, -kMaxLabelOffset, kMaxLabelOffset, " TextOffset");
  io.Value(MarkerType, " MarkerType");
  io.Value(MarkerSize, 0, kMaxMarkerSize, " MarkerSize");
  io.Value(Color, " Color");
}

void TComplexPointList::Read(std::istream& in) {
  Clear();
  // The list's own text has always had a blank before the mark.
  TProjectReader r(in, "TComplexPointList ");
  r.Section("[List]");
  r.Version();
  Name = r.Line();
  DisplayFields(r);
  // A count beyond the capacity would have its surplus refused by Add and the records after it
  // misread, so the file is refused instead.
  AddNew(r.Int(0, fCapacity));
  for (auto& item : fItems) item->ReadFromText(in);
  Deselect();
  fModified = false;
}

void TComplexPointList::Write(std::ostream& out) {
  TProjectWriter w(out);
  w.Line("[List]");
  w.Version();
  w.Line(Name);
  DisplayFields(w);
  w.Int(Count());
  for (const auto& item : fItems) item->WriteToText(out);
  fModified = false;
}

void TComplexPointList::Assign(const TComplexPointList& source) {
  if (&source == this) return;
  if (Count() != source.Count()) {
    Clear();
    AddNew(source.Count());
  }
  Deselect();
  const int32_t n = std::min(Count(), source.Count());
  for (int32_t i = 1; i <= n; ++i) Items(i)->Assign(*source.Items(i));
  if (source.Selected()) Select(source.IndexOf(source.Selected()));
  Name = source.Name;
  SelectOnAdd = source.SelectOnAdd;
  Visible = source.Visible;
  Connect = source.Connect;
  ConnectEnds = source.ConnectEnds;
  ShowPoints = source.ShowPoints;
  ShowLabels = source.ShowLabels;
  TextOffset = source.TextOffset;
  MarkerType = source.MarkerType;
  MarkerSize = source.MarkerSize;
  Color = source.Color;
  fModified = true;
}

std::unique_ptr<TComplexPoint> TComplexPointList::NewItem() const {
  return std::make_unique<TComplexPoint>();
}

void TComplexPointList::AddNew(int32_t n) {
  for (int32_t i = 0; i < n; ++i) Add(NewItem());
}

TComplexPoint* TComplexPointList::Add(std::unique_ptr<TComplexPoint> item) {
  if (!item || Count() >= fCapacity) return nullptr;
  Deselect();
  TComplexPoint* added = item.get();
  fItems.push_back(std::move(item));
  added->fIndex = Count();
  added->fOwner = this;
  fModified = true;
  if (SelectOnAdd) Select(Count());
  return added;
}

void TComplexPointList::Delete(int32_t i) {
  if (!IsValidIndex(i)) return;
  if (fSelected == Items(i)) Deselect();
  fItems.erase(fItems.begin() + (i - 1));
  for (int32_t k = i; k <= Count(); ++k) Items(k)->fIndex = k;
  fModified = true;
}

void TComplexPointList::DeleteSelected() {
  const int32_t i = IndexOf(fSelected);
  if (i == 0) return;
  if (Count() < 2)
    Deselect();
  else
    SelectPrevious();
  Delete(i);
}

void TComplexPointList::Clear() {
  Deselect();
  if (KeepSpare) {
    for (auto& item : fItems) {
      item->fOwner = nullptr;
      item->fIndex = 0;
      fSpare.push_back(std::move(item));
    }
  }
  fItems.clear();
  fModified = false;
  ConnectEnds = false;
}

std::unique_ptr<TComplexPoint> TComplexPointList::TakeSpare() {
  if (fSpare.empty()) return NewItem();
  auto item = std::move(fSpare.back());
  fSpare.pop_back();
  return item;
}

int32_t TComplexPointList::IndexOf(const TComplexPoint* item) const {
  if (!item) return 0;
  for (int32_t i = 1; i <= Count(); ++i)
    if (Items(i) == item) return i;
  return 0;
}

bool TComplexPointList::IsValidIndex(int32_t i) const { return i >= 1 && i <= Count(); }

int32_t TComplexPointList::FindNear(const TComplex& point, double tolerance) const {
  for (int32_t i = Count(); i >= 1; --i)
    if (Items(i)->IsNear(point, tolerance)) return i;
  return 0;
}

bool TComplexPointList::SelectNear(const TComplex& point, double tolerance) {
  const int32_t i = FindNear(point, tolerance);
  Select(i);
  return i > 0;
}

void TComplexPointList::Select(int32_t i) { fSelected = Items(i); }

void TComplexPointList::Deselect() { fSelected = nullptr; }

void TComplexPointList::SelectNext() {
  const int32_t i = IndexOf(fSelected);
  if (i == 0) return;
  Select(i == Count() ? 1 : i + 1);
}

void TComplexPointList::SelectPrevious() {
  const int32_t i = IndexOf(fSelected);
  if (i == 0) return;
  Select(i == 1 ? Count() : i - 1);
}

void TComplexPointList::Draw(shared::TCanvas2D& canvas) const {
  if (!Visible) return;
  if (Connect && Count() > 1) {
    canvas.SetPen(Color);
    canvas.MoveTo(*Items(1));
    for (int32_t i = 2; i <= Count(); ++i) canvas.LineTo(*Items(i));
    if (ConnectEnds) canvas.LineTo(*Items(1));
  }
  if (ShowPoints) {
    for (int32_t i = Count(); i >= 1; --i) Items(i)->Draw(canvas);
  } else if (fSelected) {
    fSelected->Draw(canvas);
  }
}

TComplexPoint* TComplexPointList::Items(int32_t i) const {
  return IsValidIndex(i) ? fItems[size_t(i - 1)].get() : nullptr;
}

bool TComplexPointList::IsModified() const {
  return fModified ||
         std::any_of(fItems.begin(), fItems.end(), [](const auto& item) { return item->Modified; });
}

void TComplexPointList::SetModified(bool value) {
  fModified = value;
  for (auto& item : fItems) item->Modified = value;
}

double TwiceSweptArea(const TComplexPointList& list, int32_t first, int32_t last) {
  double twice = 0;
  for (int32_t i = first + 1; i <= last; ++i) twice += list.Items(i - 1)->Cross(*list.Items(i));
  return twice;
}

}  // namespace vesk
