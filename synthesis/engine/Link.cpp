// Links and the link list: roles, modes, random rotations, geometry, drawing and records.
#include "synthesis/engine/Link.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "shared/RealText.h"
#include "shared/SynthCanvas2D.h"
#include "shared/TextLine.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/ProjectText.h"
#include "synthesis/engine/Random.h"

namespace vesk {

using shared::TComplex;

namespace {

// The distance that stands for a joint at infinity when the caller asks for one.
constexpr double kInfiniteDistance = 1e5;

// No drag moves a parallelogram a thousand kilometres or scales a loop a millionfold either way:
// a record beyond that is damaged, and its synthesis would square the values out of range.
constexpr double kMaxDragChoice = 1e6;

bool Bounded(const TComplex& v) {
  const double r = v.Abs();
  return std::isfinite(r) && r <= kMaxDragChoice;
}

bool Finite(const TJoint* joint) { return joint && !joint->Inf; }

TComplex Difference(const TComplex& a, const TComplex& b) {
  TComplex d;
  d.Sub(a, b);
  return d;
}

// A sign drawn at random: -1 when the draw is at least 0.5.
double DrawSign() { return Random().Uniform() >= 0.5 ? -1.0 : 1.0; }

// A fraction in (0, 1): draws of 0 are drawn again.
double DrawFraction() {
  double f;
  do f = Random().Uniform();
  while (!(f > 0));
  return f;
}

}  // namespace

// TLink

TLink::TLink() { MakeDefault(); }

void TLink::MakeDefault() {
  SetType(kOtherLink);
  fFree = true;
  Rot.fill(0);
  SavedRot.fill(0);
  Fixed.fill(false);
  MaxAngle = std::numbers::pi / 2;
}

void TLink::SetType(uint8_t type) {
  fType = type;
  if (type == kGroundLink)
    SetMode(0);
  else if (type == kOtherLink || type == kOutputLink)
    SetMode(2);
  else if (type == kInputLink)
    SetMode(1);
}

void TLink::SetMode(uint8_t mode) {
  fMode = mode;
  if (mode == 0) {
    SetFree(false);
  } else if (mode == 3 || mode == 4) {
    if (!fGuideLine) fGuideLine = std::make_unique<TComplexLine>();
  } else {
    fGuideLine.reset();
  }
}

void TLink::SetFree(bool value) {
  fFree = value;
  if (!value) SetFixedAll(true);
}

void TLink::SetFixedAll(bool value) { std::fill(Fixed.begin() + 2, Fixed.end(), value); }

void TLink::AddJoint(TJoint* joint) {
  if (fJointCount >= kMaxJoints) return;
  ++fJointCount;
  Joints[size_t(fJointCount)] = joint;
  JointIndex[size_t(fJointCount)] = joint ? joint->Index() : 0;
}

double TLink::RelativeRotation(int32_t i, int32_t j) const {
  auto rotation = [&](int32_t k) { return k >= 2 && k <= kPositions ? Rot[size_t(k)] : 0.0; };
  TComplex r;
  r.SetPolar(1, rotation(i));
  if (j != 1) {
    TComplex from;
    from.SetPolar(1, rotation(j));
    r.DivBy(from);
  }
  return r.Arg();
}

double TLink::JointDistance(int32_t i, int32_t j, bool atInfinity) const {
  const TJoint* a = Joint(i);
  const TJoint* b = Joint(j);
  if (!a || !b) return 0;
  if (a->Inf || b->Inf) return atInfinity ? kInfiniteDistance : 0;
  return Difference(*a, *b).Abs();
}

double TLink::Angle() const {
  const TJoint* a = Joint(1);
  const TJoint* b = Joint(2);
  return a && b ? Difference(*b, *a).Arg() : 0;
}

double TLink::MaxJointDistance() const {
  double largest = 0;
  for (int32_t i = 1; i <= fJointCount; ++i)
    for (int32_t j = i + 1; j <= fJointCount; ++j) largest = std::max(largest, JointDistance(i, j, false));
  return largest;
}

bool TLink::HitTest(const TComplex& point, double tolerance) const {
  for (int32_t i = 1; i <= fJointCount; ++i) {
    for (int32_t j = i + 1; j <= fJointCount; ++j) {
      const TJoint* a = Joint(i);
      const TJoint* b = Joint(j);
      if (!a || !b) continue;
      if (Difference(point, *a).Abs() + Difference(point, *b).Abs() <= Difference(*a, *b).Abs() + tolerance)
        return true;
    }
  }
  return false;
}

void TLink::RandomizeRotations(const TPrePointList& points) {
  if (!fFree) return;
  SetFixedAll(false);
  auto at = [&](int32_t i, bool input) {
    const TPrePoint* p = points.GetPoint(i);
    return p ? (input ? p->In : p->Out) : 0.0;
  };
  if (fType == kInputLink && points.InTotal) {
    // On a closed curve the total belongs to the whole loop, of which point 9 is short.
    Rot[9] = points.Closed ? at(9, true) : points.TotalIn;
    Rot[5] = Rot[9] * (0.05 + 0.9 * Random().Uniform());
    Fixed[9] = true;
    return;
  }
  if ((fType == kInputLink && points.In) || (fType == kOutputLink && points.Out)) {
    const bool input = fType == kInputLink;
    Rot[5] = at(5, input);
    Rot[9] = at(9, input);
    SetFixedAll(true);
    return;
  }
  switch (fMode) {
    case 1:
    case 3: {
      // No positive rotation lies below a bound that is not positive: nothing to draw.
      if (!(MaxAngle > 0)) return;
      const double sign = DrawSign();
      double v;
      do v = Random().Uniform() * MaxAngle;
      while (!(v > 0));
      Rot[9] = sign * v;
      Rot[5] = DrawFraction() * Rot[9];
      break;
    }
    case 2:
    case 4:
      for (const size_t k : {5, 9}) {
        const double sign = DrawSign();
        Rot[k] = sign * MaxAngle * DrawFraction();
      }
      break;
    case 5:
      Rot[9] = std::numbers::pi;
      SetFixedAll(true);
      break;
    default:
      break;
  }
}

std::string TLink::GetName() const {
  std::string name;
  for (int32_t k = 1; k <= fJointCount; ++k)
    if (const TJoint* joint = Joint(k)) name += joint->GetName();
  return name;
}

std::string TLink::KindString() const { return std::string(size_t(fJointCount), 'P'); }

int32_t TLink::JointListIndex(int32_t k) const {
  const TJoint* joint = Joint(k);
  return joint ? joint->Index() : JointIndex[size_t(k)];
}

void TLink::Assign(const TLink& source) {
  if (&source == this) return;
  SetType(source.fType);
  SetMode(source.fMode);
  fFree = source.fFree;
  if (fGuideLine && source.fGuideLine) fGuideLine->Assign(source.fGuideLine.get());
  MaxAngle = source.MaxAngle;
  fJointCount = source.fJointCount;
  Joints.fill(nullptr);
  JointIndex.fill(0);
  for (int32_t k = 1; k <= fJointCount; ++k) JointIndex[size_t(k)] = source.JointListIndex(k);
  Rot = source.Rot;
  SavedRot = source.SavedRot;
  Fixed = source.Fixed;
  Modified = true;
}

bool TLink::ResolveJoints(const TJointList* joints) {
  bool found = true;
  for (int32_t k = 1; k <= fJointCount; ++k) {
    TJoint* joint = joints ? joints->GetJoint(JointIndex[size_t(k)]) : nullptr;
    Joints[size_t(k)] = joint;
    found = found && joint;
  }
  return found;
}

void TLink::Draw(shared::TCanvas2D& canvas) const {
  if (fJointCount < 2) return;
  canvas.SetPen(Selected ? shared::kLime : shared::kBlack, 1, shared::TPenStyle::Solid);
  if (fType == kGroundLink) {
    for (int32_t k = 1; k <= fJointCount; ++k)
      if (Finite(Joint(k))) canvas.Marker(*Joint(k), shared::kMarkerTriangle, 18);
    return;
  }
  if (fMode == 3 || fMode == 4) {
    for (int32_t k = 1; k <= fJointCount; ++k)
      if (Finite(Joint(k))) canvas.Marker(*Joint(k), shared::kMarkerCircle, 10);
    if (fGuideLine) fGuideLine->Draw(canvas);
  } else if (fJointCount == 2) {
    if (Joint(1) && Joint(2)) {
      canvas.MoveTo(*Joint(1));
      canvas.LineTo(*Joint(2));
    }
  } else if (Joint(1) && Joint(2) && Joint(3)) {
    const auto* synth = dynamic_cast<const shared::TSynthCanvas2D*>(&canvas);
    const bool erasing = synth && synth->EraseMode == 1;
    const bool hollow = fType == kOutputLink && AppOptions.ShowOutputLinkDrawing;
    const shared::TBrush previous = canvas.Surface().Brush();
    canvas.SetBrush(erasing ? canvas.BackgroundColor : shared::kBlack,
                    hollow ? shared::TBrushStyle::Clear : shared::TBrushStyle::BDiagonal);
    const shared::TPoint corners[3] = {canvas.WorldToScreen(*Joint(1)), canvas.WorldToScreen(*Joint(2)),
                                       canvas.WorldToScreen(*Joint(3))};
    canvas.Polygon(corners);
    canvas.Surface().SetBrush(previous);
  }
  if (fType == kInputLink && Finite(Joint(1))) {
    canvas.SetPen(shared::kRed, 1, shared::TPenStyle::Solid);
    canvas.Marker(*Joint(1), shared::kMarkerOctagon, 10);
  }
}

void TLink::Read(std::istream& in) {
  TProjectReader r(in, "TLink");
  r.Section("[Link]");
  r.Version();
  ID = r.Int();
  const uint8_t type = r.Byte();
  if (type > kOutputLink) r.Fail();
  SetType(type);
  const uint8_t mode = r.Byte();
  if (mode > 5) r.Fail();
  SetMode(mode);
  fFree = r.Bool();
  MaxAngle = r.Real();
  if ((mode == 1 || mode == 3) && !(MaxAngle > 0)) r.Fail();
  if (r.Int() > 0) {
    if (!fGuideLine) fGuideLine = std::make_unique<TComplexLine>();
    try {
      fGuideLine->ReadFromText(in);
    } catch (const EFileReadError&) {
      r.Fail();
    }
  }
  fJointCount = r.Int(0, kMaxJoints);
  const auto indices = r.Fields();
  if (indices.size() < size_t(fJointCount)) r.Fail();
  Joints.fill(nullptr);
  JointIndex.fill(0);
  for (int32_t k = 1; k <= fJointCount; ++k) JointIndex[size_t(k)] = r.IntOf(indices[size_t(k - 1)]);
  // Positions beyond 9 are not kept.
  const int32_t last = std::min(r.Int(), kPositions);
  auto row = [&](auto store) {
    const auto fields = r.Fields();
    for (int32_t i = 2; i <= last; ++i) {
      if (size_t(i - 2) >= fields.size()) r.Fail();
      store(size_t(i), fields[size_t(i - 2)]);
    }
  };
  row([&](size_t i, const std::string& f) { Rot[i] = r.RealOf(f); });
  row([&](size_t i, const std::string& f) { SavedRot[i] = r.RealOf(f); });
  row([&](size_t i, const std::string& f) { Fixed[i] = r.IntOf(f) != 0; });
  Modified = false;
}

void TLink::Write(std::ostream& out) {
  TProjectWriter w(out);
  w.Line("[Link]");
  w.Version();
  w.Int(ID);
  w.Int(fType, " T");
  w.Int(fMode, " M");
  w.Bool(fFree, " MR");
  w.Real(MaxAngle);
  if (fGuideLine) {
    w.Int(1);
    fGuideLine->WriteToText(out);
  } else {
    w.Int(0);
  }
  w.Int(fJointCount, " Joints");
  std::string indices;
  for (int32_t k = 1; k <= fJointCount; ++k) indices += std::to_string(JointListIndex(k)) + " ";
  w.Line(indices);
  w.Int(kPositions);
  auto row = [&](auto text) {
    std::string line;
    for (size_t i = 2; i <= size_t(kPositions); ++i) line += text(i) + " ";
    w.Line(line);
  };
  row([&](size_t i) { return shared::FormatReal(Rot[i]); });
  row([&](size_t i) { return shared::FormatReal(SavedRot[i]); });
  row([&](size_t i) { return std::string(Fixed[i] ? "1" : "0"); });
  Modified = false;
}

// TLinkList

TLink* TLinkList::GetLink(int32_t i) const { return IsValidIndex(i) ? fItems[size_t(i - 1)].get() : nullptr; }

bool TLinkList::IsModified() const {
  return fModified ||
         std::any_of(fItems.begin(), fItems.end(), [](const auto& link) { return link->Modified; });
}

void TLinkList::SetModified(bool value) {
  fModified = value;
  for (auto& link : fItems) link->Modified = value;
}

TLink* TLinkList::Add(std::unique_ptr<TLink> link) {
  if (!link || Count() >= kCapacity) return nullptr;
  Deselect();
  TLink* added = link.get();
  fItems.push_back(std::move(link));
  added->ID = Count();
  fModified = true;
  if (SelectOnAdd) Select(Count());
  return added;
}

void TLinkList::Forget(const TLink* link) {
  if (fSelected == link) Deselect();
  for (TLink** role : {&InputLink, &OutputLink, &GroundLink, &GuidedLink})
    if (*role == link) *role = nullptr;
}

void TLinkList::Delete(int32_t i) {
  if (!IsValidIndex(i)) return;
  Forget(GetLink(i));
  fItems.erase(fItems.begin() + (i - 1));
  for (int32_t k = i; k <= Count(); ++k) GetLink(k)->ID = k;
  fModified = true;
}

void TLinkList::Clear() {
  Deselect();
  InputLink = OutputLink = GroundLink = GuidedLink = nullptr;
  fItems.clear();
  ClearDragChoices();
  fModified = true;
}

int32_t TLinkList::IndexOf(const TLink* link) const {
  for (int32_t i = 1; i <= Count(); ++i)
    if (link && GetLink(i) == link) return i;
  return 0;
}

void TLinkList::Select(int32_t i) {
  Deselect();
  fSelected = GetLink(i);
  if (fSelected) fSelected->Selected = true;
}

void TLinkList::Deselect() {
  if (fSelected) fSelected->Selected = false;
  fSelected = nullptr;
}

int32_t TLinkList::FindNear(const TComplex& point, double tolerance) const {
  for (int32_t i = Count(); i >= 1; --i)
    if (GetLink(i)->HitTest(point, tolerance)) return i;
  return 0;
}

void TLinkList::AssignRoles() {
  InputLink = OutputLink = GroundLink = GuidedLink = nullptr;
  for (const auto& link : fItems) {
    if (link->Type() == kGroundLink) GroundLink = link.get();
    if (link->Type() == kInputLink) InputLink = link.get();
    if (link->Type() == kOutputLink) OutputLink = link.get();
    if (link->Mode() == 3 || link->Mode() == 4) GuidedLink = link.get();
  }
}

double TLinkList::MaxLinkLength() const {
  double largest = 0;
  for (const auto& link : fItems) largest = std::max(largest, link->MaxJointDistance());
  return largest;
}

void TLinkList::Randomize(const TPrePointList& points) {
  for (auto& link : fItems) link->RandomizeRotations(points);
  const double r1 = Random().Uniform();
  const double r2 = Random().Uniform();
  Offset.SetPolar((r2 + 0.001) * RefLength, 2 * std::numbers::pi * r1);
  const double sign = Random().Uniform() > 0.5 ? 1.0 : -1.0;
  Ratio = sign * 4.8 * Random().Uniform() + 0.2;
  ClearDragChoices();
}

bool TLinkList::HasDragChoices() const {
  return LoopScale.NotEqual(TComplex(1.0, 0.0)) || ParallelShift1.NotEqual(TComplex()) ||
         ParallelShift2.NotEqual(TComplex());
}

void TLinkList::ClearDragChoices() {
  LoopScale = TComplex(1.0, 0.0);
  ParallelShift1 = TComplex();
  ParallelShift2 = TComplex();
}

void TLinkList::SaveRotations() {
  for (auto& link : fItems) link->SavedRot = link->Rot;
}

void TLinkList::RestoreRotations() {
  for (auto& link : fItems) link->Rot = link->SavedRot;
}

void TLinkList::Draw(shared::TCanvas2D& canvas) const {
  for (int32_t i = Count(); i >= 1; --i) GetLink(i)->Draw(canvas);
}

void TLinkList::Read(std::istream& in) {
  Clear();
  TProjectReader r(in, "TLinkList");
  r.Section("[Links]");
  const int32_t version = r.Version();
  try {
    Offset.ReadFromText(in);
  } catch (const EFileReadError&) {
    r.Fail();
  }
  Ratio = r.Real();
  RefLength = r.Real();
  if (version == kDragChoicesVersion) {
    try {
      LoopScale.ReadFromText(in);
      ParallelShift1.ReadFromText(in);
      ParallelShift2.ReadFromText(in);
    } catch (const EFileReadError&) {
      r.Fail();
    }
    // A scale of zero would fold the input loop onto its pivot.
    if (!Bounded(LoopScale) || !(LoopScale.Abs() >= 1 / kMaxDragChoice)) r.Fail();
    if (!Bounded(ParallelShift1) || !Bounded(ParallelShift2)) r.Fail();
  }
  const int32_t n = r.Int(0, kCapacity);
  for (int32_t i = 1; i <= n; ++i) {
    TLink* link = Add(std::make_unique<TLink>());
    link->Read(in);
    // The place in the list is the link's number, whatever the record says.
    link->ID = i;
    if (!link->ResolveJoints(Joints)) r.Fail();
  }
  Deselect();
  SelectOnAdd = true;
  AssignRoles();
  fModified = false;
}

void TLinkList::Write(std::ostream& out) {
  TProjectWriter w(out);
  w.Line("[Links]");
  const bool choices = HasDragChoices();
  // Lists without the drags' choices stay byte for byte what earlier versions wrote.
  w.Version(choices ? kDragChoicesVersion : 0);
  Offset.WriteToText(out);
  w.Real(Ratio);
  w.Real(RefLength);
  if (choices) {
    LoopScale.WriteToText(out);
    ParallelShift1.WriteToText(out);
    ParallelShift2.WriteToText(out);
  }
  w.Int(Count());
  for (auto& link : fItems) link->Write(out);
  fModified = false;
}

void TLinkList::Assign(const TLinkList& source) {
  if (&source == this) return;
  while (Count() > source.Count()) Delete(Count());
  while (Count() < source.Count()) Add(std::make_unique<TLink>());
  Deselect();
  for (int32_t i = 1; i <= Count(); ++i) {
    GetLink(i)->Assign(*source.GetLink(i));
    GetLink(i)->ResolveJoints(Joints);
  }
  Offset = source.Offset;
  Ratio = source.Ratio;
  RefLength = source.RefLength;
  LoopScale = source.LoopScale;
  ParallelShift1 = source.ParallelShift1;
  ParallelShift2 = source.ParallelShift2;
  AssignRoles();
  fModified = true;
}

}  // namespace vesk
