// Joint records, names and drawing; the joint list's origin.
#include "synthesis/engine/Joint.h"

#include "synthesis/engine/ProjectText.h"

namespace vesk {

// TJoint

void TJoint::ReadFromText(std::istream& in) {
  TComplexPoint::ReadFromText(in);
  TProjectReader r(in, ClassName());
  r.Version();
  IsOut = r.Bool();
}

void TJoint::WriteToText(std::ostream& out) const {
  TComplexPoint::WriteToText(out);
  TProjectWriter w(out);
  w.Version();
  w.Bool(IsOut, " IsOut");
}

shared::TComplex& TJoint::Assign(const TComplex& source) {
  TComplexPoint::Assign(source);
  if (const auto* joint = dynamic_cast<const TJoint*>(&source)) IsOut = joint->IsOut;
  return *this;
}

TJoint* TJoint::Clone() const {
  auto* copy = new TJoint();
  copy->Assign(*this);
  return copy;
}

void TJoint::Draw(shared::TCanvas2D& canvas) const {
  const TComplexPointList* owner = Owner();
  if (!owner) return;
  const bool selected = IsSelected();
  canvas.SetPen(selected ? shared::kLime : IsOut ? shared::kRed : owner->Color);
  canvas.Marker(*this, owner->MarkerType, owner->MarkerSize);
  if (owner->ShowLabels || selected) canvas.TextLabel(*this, owner->TextOffset, GetName());
}

std::string TJoint::GetName() const {
  const int32_t i = Index();
  if (i < 1 || i > 26) return "";
  return std::string(1, char('A' + i - 1));
}

// TJointList

TJointList::TJointList(int32_t capacity) : TComplexPointList(capacity) {
  Name = "Joints";
  SelectOnAdd = true;
  ShowLabels = true;
  TextOffset = 10;
  MarkerType = shared::kMarkerOctagon;
  MarkerSize = 4;
  Color = shared::kBlack;
}

std::unique_ptr<TComplexPoint> TJointList::NewItem() const { return std::make_unique<TJoint>(); }

void TJointList::Read(std::istream& in) {
  TComplexPointList::Read(in);
  TProjectReader r(in, "TJointList");
  r.Version();
  if (IsEmpty()) r.Fail();
  SetOrigin(FindOutputJoint());
}

void TJointList::Write(std::ostream& out) {
  TComplexPointList::Write(out);
  TProjectWriter(out).Version();
}

void TJointList::Delete(int32_t i) {
  if (IsValidIndex(i) && Items(i) == fOrigin) fOrigin = nullptr;
  TComplexPointList::Delete(i);
  OriginIndex = IndexOf(fOrigin);
}

void TJointList::Clear() {
  fOrigin = nullptr;
  OriginIndex = 0;
  TComplexPointList::Clear();
}

TJoint* TJointList::GetJoint(int32_t i) const { return dynamic_cast<TJoint*>(Items(i)); }

TJoint* TJointList::GetSelectedJoint() const { return dynamic_cast<TJoint*>(Selected()); }

void TJointList::SetOrigin(int32_t i) {
  TJoint* joint = GetJoint(i);
  if (!joint) return;
  OriginIndex = i;
  joint->IsOut = true;
  fOrigin = joint;
}

int32_t TJointList::FindOutputJoint() const {
  for (int32_t i = Count(); i >= 2; --i) {
    const TJoint* joint = GetJoint(i);
    if (joint && joint->IsOut) return i;
  }
  return 1;
}

void TJointList::TranslateAll(const shared::TComplex& offset, int32_t skip) {
  for (int32_t i = 1; i <= Count(); ++i)
    if (i != skip) Items(i)->AddTo(offset);
}

}  // namespace vesk
