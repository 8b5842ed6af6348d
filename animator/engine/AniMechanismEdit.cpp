// TAniMechanism: the editing operations of the mechanism view and the properties frame, picking,
// selection, moving and shaping, flags, deleting and the interactive add tools.
#include <algorithm>
#include <cmath>
#include <set>

#include "animator/engine/AniMechanism.h"
#include "animator/engine/JointSteps.h"
#include "animator/engine/StdOut.h"

namespace quillon {

namespace {

using shared::TComplex;

int32_t IndexOf(const TAniMechanism& m, const TAniJoint* joint) {
  for (int32_t i = 0; i < m.JointCount(); ++i) {
    if (m.Joints[i].get() == joint) return i;
  }
  return -1;
}

// The joint each input function drives, taken before a deletion so that the inputs of joints
// that went can be found afterwards.
std::vector<const TAniJoint*> DrivenJoints(const TAniMechanism& m) {
  std::vector<const TAniJoint*> driven(m.Inputs.size(), nullptr);
  for (const auto& joint : m.Joints) {
    if (joint->InputIndex >= 0 && joint->InputIndex < m.InputCount()) driven[joint->InputIndex] = joint.get();
  }
  return driven;
}

// An input function whose joint was deleted must not stay behind: it would keep driving
// nothing and, as the first one, remain the time base of the whole run.
void DropOrphanInputs(TAniMechanism& m, const std::vector<const TAniJoint*>& driven) {
  bool dropped = false;
  for (int32_t i = static_cast<int32_t>(driven.size()) - 1; i >= 0; --i) {
    if (!driven[i] || IndexOf(m, driven[i]) >= 0) continue;
    m.Inputs.erase(m.Inputs.begin() + i);
    for (auto& joint : m.Joints) {
      if (joint->InputIndex > i) --joint->InputIndex;
    }
    dropped = true;
  }
  // Deleted joints before a driven one shift its index.
  for (int32_t j = 0; j < m.JointCount(); ++j) {
    const int32_t input = m.Joints[j]->InputIndex;
    if (input >= 0 && input < m.InputCount()) m.Inputs[input]->JointIndex = j;
  }
  if (dropped) m.RetimeInputs();
}

// Link l, or the frame when l is 0; a mechanism without links gets its frame first.
TAniLink& LinkOrFrame(TAniMechanism& m, int32_t l) {
  if (m.LinkCount() == 0) m.AddLink("", "", false, false);
  return m.Link(l >= 0 && l < m.LinkCount() ? l : 0);
}

// The letters of the joints an add tool needs, all or none.
bool FreeLetters(const TAniMechanism& m, int32_t count, std::string& letters) {
  const char first = m.NextJointLetter();
  if (first == 0 || first + count - 1 > 'Z') return false;
  letters.clear();
  for (int32_t k = 0; k < count; ++k) letters += static_cast<char>(first + k);
  return true;
}

// The joint of the last link's name at position k: the one an add tool is placing.
TAniJoint* LastLinkJoint(TAniMechanism& m, size_t k) {
  if (m.LinkCount() < 1 || m.Links.back()->Name.size() <= k) return nullptr;
  const int32_t j = m.FindJoint(m.Links.back()->Name[k]);
  return j >= 0 ? m.Joints[j].get() : nullptr;
}

bool AddDyadByClicks(TAniMechanism& m, const TComplex& point, bool moving, double d, bool slider) {
  if (m.AddClicks == 2) {
    // Moves before the first click have nothing to preview.
    if (moving) return true;
    const int32_t base = m.NextSelectedJoint(0);
    std::string letters;
    if (!FreeLetters(m, base >= 0 ? 2 : 3, letters)) {
      m.AddClicks = 0;
      return false;
    }
    char baseLetter;
    size_t next = 0;
    if (base >= 0) {
      baseLetter = static_cast<char>(m.Joint(base).Letter);
    } else {
      const int32_t link = m.NextSelectedLink(0);
      baseLetter = letters[next++];
      m.AddJoint(baseLetter, false, point.X, point.Y, false, false);
      LinkOrFrame(m, link).AddJoint(baseLetter, 'P');
    }
    const char second = letters[next++];
    const char third = letters[next];
    m.AddJoint(second, false, point.X + d, point.Y + d, false, false);
    m.AddJoint(third, false, point.X, point.Y, false, false);
    const std::string first = std::string(1, baseLetter) + second;
    const std::string other = std::string(1, second) + third;
    LinkOrFrame(m, 0);
    m.AddLink(first, "PP", false, false);
    m.AddLink(other, slider ? "PS" : "PP", false, false);
    m.AddDyad(first, other);
    m.RebuildTopology();
    --m.AddClicks;
    return true;
  }
  if (m.AddClicks != 1) return true;
  TAniJoint* second = LastLinkJoint(m, 0);
  TAniJoint* third = LastLinkJoint(m, 1);
  if (!second || !third) return true;
  SetDesign(*third, point);
  SetDesign(*second, TComplex(point.X, point.Y + (slider ? d / 4 : d)));
  if (moving) return true;
  const char letter = static_cast<char>(third->Letter);
  if (slider) {
    LinkOrFrame(m, 0).AddJoint(letter, 'S');
  } else if (const int32_t keep = m.NextSelectedJoint(0); keep >= 0 && m.Joints[keep].get() != third) {
    m.RebuildTopology();
    m.MergeJoint(keep, IndexOf(m, third));
  } else {
    LinkOrFrame(m, m.NextSelectedLink(0)).AddJoint(letter, 'P');
  }
  m.RebuildTopology();
  --m.AddClicks;
  return true;
}

}  // namespace

bool TAniMechanism::HitJoint(const shared::TComplex& point, bool extend, bool skipLast, double radius) {
  if (!extend) DeselectAll();
  const int32_t last = JointCount() - (skipLast ? 2 : 1);
  for (int32_t i = last; i >= 0; --i) {
    TAniJoint& joint = *Joints[i];
    if (!joint.IsNear(point, radius, ShownStep())) continue;
    joint.Selected = !joint.Selected;
    return true;
  }
  return false;
}

bool TAniMechanism::HitLink(TScreenPoint point, bool extend, bool skipLast) {
  if (!extend) DeselectAll();
  const int32_t end = LinkCount() - (skipLast ? 1 : 0);
  for (int32_t l = 1; l < end; ++l) {
    if (Links[l]->HitTest(point, extend)) return true;
  }
  return false;
}

void TAniMechanism::DeselectAll() {
  for (auto& joint : Joints) joint->Selected = 0;
  for (auto& link : Links) link->Selected = 0;
  for (auto& dyad : Dyads) dyad->Selected = 0;
}

void TAniMechanism::SelectAll() {
  for (auto& joint : Joints) joint->Selected = 1;
  for (auto& link : Links) link->Selected = 1;
  for (auto& dyad : Dyads) dyad->Selected = 1;
}

TSelectionKind TAniMechanism::SelectionKind() const {
  if (NextSelectedJoint(0) >= 0) return TSelectionKind::Joint;
  if (NextSelectedLink(0) >= 0) return TSelectionKind::Link;
  if (Curve.LastSelected() >= 0) return TSelectionKind::CurvePoint;
  if (Areas.LastSelected() >= 0) return TSelectionKind::Area;
  return TSelectionKind::None;
}

int32_t TAniMechanism::NextSelectedJoint(int32_t from) const {
  for (int32_t i = std::max(from, 0); i < JointCount(); ++i) {
    if (Joints[i]->Selected) return i;
  }
  return -1;
}

int32_t TAniMechanism::NextSelectedLink(int32_t from) const {
  for (int32_t i = std::max(from, 0); i < LinkCount(); ++i) {
    if (Links[i]->Selected) return i;
  }
  return -1;
}

void TAniMechanism::MoveSelection(double dx, double dy) {
  // A joint that is selected and on a selected link, or on two selected links, moves once.
  std::vector<uint8_t> moved(Joints.size(), 0);
  const auto move = [&](int32_t j) {
    if (j < 0 || j >= JointCount() || moved[j]) return;
    moved[j] = 1;
    Joints[j]->Move(dx, dy);
  };
  for (int32_t j = 0; j < JointCount(); ++j) {
    if (Joints[j]->Selected) move(j);
  }
  for (const auto& link : Links) {
    if (!link->Selected) continue;
    for (int32_t k = 0; k < link->JointCount; ++k) move(FindJoint(link->Name[k]));
  }
}

void TAniMechanism::SnapSelectedJoint(double radius) {
  const int32_t s = NextSelectedJoint(0);
  // A locked joint keeps its place here as it does under MoveSelection.
  if (s < 0 || Joints[s]->Locked) return;
  const int32_t step = ShownStep();
  const TPositionRecord& at = Joints[s]->Positions[step];
  const TComplex here(at.X, at.Y);
  for (int32_t j = JointCount() - 1; j >= 0; --j) {
    if (j == s || !Joints[j]->IsNear(here, radius, step)) continue;
    SetDesign(*Joints[s], DesignOf(*Joints[j]));
    return;
  }
}

void TAniMechanism::ResizeMoveRotate(double factor, double dx, double dy, double angle) {
  const std::vector<TComplex> design = ResizedMovedRotated(factor, dx, dy, angle);
  for (size_t j = 0; j < design.size(); ++j) SetDesign(*Joints[j], design[j]);
}

std::vector<TComplex> TAniMechanism::ResizedMovedRotated(double factor, double dx, double dy,
                                                         double angle) const {
  std::vector<TComplex> design;
  for (const auto& joint : Joints) design.push_back(DesignOf(*joint));
  if (design.empty()) return design;
  const size_t c = static_cast<size_t>(std::max(NextSelectedJoint(0), 0));
  // Every other joint's offset from the centre, changed in place.
  const auto aboutCentre = [&](const auto& change) {
    const TComplex centre = design[c];
    for (size_t j = 0; j < design.size(); ++j) {
      if (j == c) continue;
      TComplex offset = design[j];
      offset.SubFrom(centre);
      change(offset);
      offset.AddTo(centre);
      design[j] = offset;
    }
  };
  aboutCentre([&](TComplex& offset) { offset.Scale(factor); });
  for (TComplex& p : design) p = TComplex(p.X + dx, p.Y + dy);
  aboutCentre([&](TComplex& offset) { offset.Rotate(angle); });
  return design;
}

void TAniMechanism::SetJointPosition(char letter, bool polar, double a, double b) {
  const int32_t j = FindJoint(letter);
  if (j < 0) return;
  TComplex p(a, b);
  if (polar) p.SetPolar(a, b);
  SetDesign(*Joints[j], p);
}

shared::TComplex TAniMechanism::GetJointPosition(char letter, bool polar) const {
  const int32_t j = FindJoint(letter);
  if (j < 0) return TComplex(0, 0);
  const TComplex p = DesignOf(*Joints[j]);
  return polar ? TComplex(p.Abs(), p.Arg()) : p;
}

bool TAniMechanism::SetLinkLength(const std::string& pair, double length) {
  if (pair.size() < 2 || !(length > 0)) {
    StdOut().Warning("Length must be > 0 Operation cancelled!");
    return false;
  }
  const int32_t first = FindJoint(pair[0]);
  const int32_t second = FindJoint(pair[1]);
  if (first < 0 || second < 0) return false;
  TAniJoint& a = *Joints[first];
  TAniJoint& b = *Joints[second];
  TComplex direction = DesignOf(b);
  direction.SubFrom(DesignOf(a));
  if (direction.Abs() == 0) {
    StdOut().Warning("Joints Coincide, direction unclear. Operation cancelled!");
    return false;
  }
  if (a.Locked && b.Locked) {
    StdOut().Warning("Both Joints are locked! Operation cancelled.");
    return false;
  }
  direction.Normalize();
  direction.Scale(length);
  if (b.Locked) {
    SetDesign(a, TComplex(b.Positions[0].X - direction.X, b.Positions[0].Y - direction.Y));
  } else {
    SetDesign(b, TComplex(a.Positions[0].X + direction.X, a.Positions[0].Y + direction.Y));
  }
  return true;
}

namespace {

template <class Items, class Toggle>
void ToggleSelected(Items& items, Toggle toggle) {
  for (auto& item : items) {
    if (item->Selected) toggle(*item);
  }
}

}  // namespace

void TAniMechanism::ToggleTraceSelected() {
  ToggleSelected(Joints, [](TAniJoint& j) { j.ToggleTrace(); });
}

void TAniMechanism::ToggleVectorsSelected() {
  ToggleSelected(Joints, [](TAniJoint& j) { j.ToggleShowVectors(); });
}

void TAniMechanism::ToggleLockSelected() {
  ToggleSelected(Joints, [](TAniJoint& j) { j.ToggleLocked(); });
}

void TAniMechanism::ToggleAnalysisSelected() {
  ToggleSelected(Links, [](TAniLink& l) { l.SetKinematics(!l.Kinematics); });
  ToggleSelected(Joints, [](TAniJoint& j) { j.ToggleAnalyse(); });
}

void TAniMechanism::SetICLinks(int32_t a, int32_t b) {
  for (int32_t l = 0; l < LinkCount(); ++l) Links[l]->ICLink = l == a || l == b;
  RebuildTopology();
}

void TAniMechanism::BringLinkToFront() {
  const int32_t l = NextSelectedLink(1);
  if (l < 1 || l == LinkCount() - 1) return;
  std::rotate(Links.begin() + l, Links.begin() + l + 1, Links.end());
  RebuildTopology();
}

void TAniMechanism::SendLinkToBack() {
  const int32_t l = NextSelectedLink(1);
  if (l <= 1) return;
  std::rotate(Links.begin() + 1, Links.begin() + l, Links.begin() + l + 1);
  RebuildTopology();
}

bool TAniMechanism::HasFrameDrawing() const { return LinkCount() > 0 && Links[0]->HasDrawing(); }

void TAniMechanism::DeleteSelected() {
  const bool anything = NextSelectedJoint(0) >= 0 || NextSelectedLink(0) >= 0;
  const std::vector<const TAniJoint*> driven = DrivenJoints(*this);

  // A joint leaves only a link that keeps at least two joints; Link1 and Link2 stay valid
  // meanwhile, since no link is removed or reordered here.
  std::vector<TAniJoint*> selected;
  for (auto& joint : Joints) {
    if (joint->Selected) selected.push_back(joint.get());
  }
  for (TAniJoint* joint : selected) {
    if (joint->LinkCount() != 1 || joint->Link1 < 0 || joint->Link1 >= LinkCount()) continue;
    TAniLink& link = *Links[joint->Link1];
    if (link.JointCount <= 2) continue;
    LeaveLink(link, static_cast<char>(joint->Letter));
    DeleteJoint(IndexOf(*this, joint));
  }

  // A selected dyad link goes with its dyad and the dyad's other link.
  std::vector<TAniLink*> doomed;
  for (int32_t l = 1; l < LinkCount(); ++l) {
    if (!Links[l]->Selected) continue;
    for (int32_t d = FindDyadWithLink(l); d >= 0; d = FindDyadWithLink(l)) {
      for (TAniLink* link : {Dyads[d]->Link1, Dyads[d]->Link2}) {
        if (link && std::find(doomed.begin(), doomed.end(), link) == doomed.end()) doomed.push_back(link);
      }
      DeleteDyad(d);
    }
  }
  std::set<char> orphans;
  for (TAniLink* link : doomed) {
    // The frame stays whatever a dyad claims.
    for (int32_t l = 1; l < LinkCount(); ++l) {
      if (Links[l].get() != link) continue;
      orphans.insert(link->Name.begin(), link->Name.end());
      DeleteLink(l);
      break;
    }
  }
  // A joint is judged by the names of the links that remain: one on three links may still be
  // held by a link its Link1 and Link2 do not record.
  for (const char letter : orphans) {
    const bool held = std::any_of(Links.begin(), Links.end(), [&](const auto& link) {
      return link->Name.find(letter) != std::string::npos;
    });
    if (!held) DeleteJoint(FindJoint(letter));
  }

  if (!anything) return;
  RebuildTopology();
  RemoveLooseFrameJoints();
  DropOrphanInputs(*this, driven);
}

char TAniMechanism::NextJointLetter() const {
  char highest = 0;
  for (const auto& joint : Joints) {
    if (joint->Letter >= 'A' && joint->Letter <= 'Z')
      highest = std::max(highest, static_cast<char>(joint->Letter));
  }
  if (highest == 0) return 'A';
  return highest < 'Z' ? static_cast<char>(highest + 1) : 0;
}

char TAniMechanism::AddNewJoint(double x, double y) {
  const char letter = NextJointLetter();
  if (letter != 0) AddJoint(letter, false, x, y, false, false);
  return letter;
}

bool TAniMechanism::AddCrankByClicks(const shared::TComplex& point, bool moving) {
  if (AddClicks == 2) {
    // Moves before the first click have nothing to preview.
    if (moving) return true;
    std::string letters;
    if (!FreeLetters(*this, 2, letters)) {
      AddClicks = 0;
      return false;
    }
    AddJoint(letters[0], false, point.X, point.Y, false, false);
    AddJoint(letters[1], false, point.X, point.Y, false, false);
    LinkOrFrame(*this, 0).AddJoint(letters[0], 'P');
    AddLink(letters, "PP", false, false);
    AddInput(letters[0]);
    RetimeInputs();
    RebuildTopology();
    --AddClicks;
    return true;
  }
  if (AddClicks != 1) return true;
  if (TAniJoint* second = LastLinkJoint(*this, 1)) SetDesign(*second, point);
  if (!moving) --AddClicks;
  return true;
}

bool TAniMechanism::AddJointToLinkByClick(const shared::TComplex& point) {
  TAniLink& link = LinkOrFrame(*this, NextSelectedLink(0));
  // A full link would leave the new joint on no link at all.
  if (link.JointCount < TAniLink::kMaxJoints) {
    const char letter = AddNewJoint(point.X, point.Y);
    if (letter == 0) {
      AddClicks = 0;
      return false;
    }
    link.AddJoint(letter, 'P');
  }
  if (AddClicks > 0) --AddClicks;
  RebuildTopology();
  return true;
}

bool TAniMechanism::AddPinDyadByClicks(const shared::TComplex& point, bool moving, double d) {
  return AddDyadByClicks(*this, point, moving, d, false);
}

bool TAniMechanism::AddSliderDyadByClicks(const shared::TComplex& point, bool moving, double d) {
  return AddDyadByClicks(*this, point, moving, d, true);
}

}  // namespace quillon
