// TAniMechanism: construction, list management, the topology rebuild, frames and extent.
#include "animator/engine/AniMechanism.h"

#include <algorithm>

#include "animator/engine/Letters.h"

namespace quillon {

namespace {

template <class T>
void ResizeOwning(std::vector<std::unique_ptr<T>>& items, int32_t n, int32_t steps) {
  if (n < 0) return;
  while (static_cast<int32_t>(items.size()) > n) items.pop_back();
  while (static_cast<int32_t>(items.size()) < n) items.push_back(std::make_unique<T>(steps));
}

}  // namespace

TAniMechanism::TAniMechanism(TBlank) {
  Curve.Name = "Curve";
  Areas.Name = "Areas";
  CentreAt.resize(static_cast<size_t>(N) + 1);
  Deviation.resize(static_cast<size_t>(N) + 1);
}

TAniMechanism::TAniMechanism() : TAniMechanism(TBlank{}) {
  SetInputCount(1);
  NewMechanism(0);
  SetPositionCount(kDefaultPositions);
  Calculate();
  Modified = 0;
}

TAniMechanism::~TAniMechanism() {
  // The tracer is only a reference into Joints.
  Tracer = nullptr;
}

int32_t TAniMechanism::TracerIndex() const {
  for (int32_t i = 0; i < JointCount(); ++i) {
    if (Joints[i].get() == Tracer) return i;
  }
  return -1;
}

void TAniMechanism::SetJointCount(int32_t n) {
  if (n < 0) return;
  if (const int32_t tracer = TracerIndex(); tracer >= n) Tracer = nullptr;
  ResizeOwning(Joints, n, N);
}

void TAniMechanism::SetLinkCount(int32_t n) {
  if (n < 0) return;
  // A dyad must never keep a reference to a link that is freed.
  for (auto& dyad : Dyads) {
    for (int32_t l = n; l < LinkCount(); ++l) {
      if (dyad->Link1 == Links[l].get()) dyad->Link1 = nullptr;
      if (dyad->Link2 == Links[l].get()) dyad->Link2 = nullptr;
    }
  }
  while (LinkCount() > n) Links.pop_back();
  while (LinkCount() < n) {
    Links.push_back(std::make_unique<TAniLink>());
    Links.back()->SetN(N);
  }
  SharedJoint.assign(static_cast<size_t>(n), std::vector<int32_t>(static_cast<size_t>(n), -1));
}

void TAniMechanism::SetDyadCount(int32_t n) { ResizeOwning(Dyads, n, N); }

void TAniMechanism::SetInputCount(int32_t n) {
  if (n < 0) return;
  ResizeOwning(Inputs, n, N);
  RetimeInputs();
}

void TAniMechanism::AddInput(char letter) {
  auto input = std::make_unique<TInputFunction>(N);
  input->Letter = std::string(1, UpperLetter(letter));
  const int32_t joint = FindJoint(letter);
  input->JointIndex = joint;
  if (joint >= 0) Joints[joint]->InputIndex = InputCount();
  Inputs.push_back(std::move(input));
}

void TAniMechanism::AddJoint(char letter, bool trace, double x, double y, bool analyse, bool showVectors) {
  auto joint = std::make_unique<TAniJoint>(N);
  joint->Letter = static_cast<uint8_t>(UpperLetter(letter));
  joint->Positions[0].X = x;
  joint->Positions[0].Y = y;
  joint->Trace = trace;
  joint->SetAnalyse(analyse);
  joint->SetShowVectors(showVectors);
  joint->Locked = 0;
  Joints.push_back(std::move(joint));
}

void TAniMechanism::AddLink(const std::string& name, const std::string& kinds, bool kinematics, bool icLink) {
  auto link = std::make_unique<TAniLink>();
  link->SetN(N);
  link->SetName(name);
  link->SetKinds(kinds);
  link->SetKinematics(kinematics);
  link->ICLink = icLink;
  Links.push_back(std::move(link));
}

void TAniMechanism::AddDyad(const std::string& name1, const std::string& name2) {
  auto dyad = std::make_unique<TAniDyad>(N);
  dyad->Link1Index = FindLink(name1);
  dyad->Link2Index = FindLink(name2);
  dyad->Link1 = dyad->Link1Index >= 0 ? Links[dyad->Link1Index].get() : nullptr;
  dyad->Link2 = dyad->Link2Index >= 0 ? Links[dyad->Link2Index].get() : nullptr;
  Dyads.push_back(std::move(dyad));
}

int32_t TAniMechanism::FindJoint(char letter) const {
  const uint8_t wanted = static_cast<uint8_t>(UpperLetter(letter));
  for (int32_t i = JointCount() - 1; i >= 0; --i) {
    if (Joints[i]->Letter == wanted) return i;
  }
  return -1;
}

int32_t TAniMechanism::FindLink(const std::string& name) const {
  for (int32_t i = LinkCount() - 1; i >= 0; --i) {
    if (Links[i]->SameName(name)) return i;
  }
  return -1;
}

int32_t TAniMechanism::FindDyadWithLink(int32_t l) const {
  for (int32_t i = DyadCount() - 1; i >= 0; --i) {
    if (Dyads[i]->HasLink(l)) return i;
  }
  return -1;
}

void TAniMechanism::DeleteJoint(int32_t i) {
  if (i < 0 || i >= JointCount()) return;
  if (Joints[i].get() == Tracer) Tracer = nullptr;
  Joints.erase(Joints.begin() + i);
}

void TAniMechanism::DeleteLink(int32_t i) {
  if (i < 0 || i >= LinkCount()) return;
  for (auto& dyad : Dyads) {
    if (dyad->Link1 == Links[i].get()) dyad->Link1 = nullptr;
    if (dyad->Link2 == Links[i].get()) dyad->Link2 = nullptr;
  }
  Links.erase(Links.begin() + i);
  SharedJoint.assign(static_cast<size_t>(LinkCount()),
                     std::vector<int32_t>(static_cast<size_t>(LinkCount()), -1));
}

void TAniMechanism::DeleteDyad(int32_t i) {
  if (i < 0 || i >= DyadCount()) return;
  Dyads.erase(Dyads.begin() + i);
}

void TAniMechanism::LeaveLink(TAniLink& link, char letter) {
  const size_t pos = link.Name.rfind(UpperLetter(letter));
  if (pos == std::string::npos) return;
  const int32_t k = static_cast<int32_t>(pos);
  if (link.AnchorIndex > k) {
    --link.AnchorIndex;
  } else if (link.AnchorIndex == k) {
    link.AnchorIndex = 0;
  }
  link.RemoveJoint(letter);
}

void TAniMechanism::RemoveLooseFrameJoints() {
  if (LinkCount() == 0) return;
  bool removed = false;
  const std::string frame = Links[0]->Name;
  for (const char letter : frame) {
    bool elsewhere = false;
    for (int32_t l = 1; l < LinkCount() && !elsewhere; ++l) {
      elsewhere = Links[l]->Name.find(letter) != std::string::npos;
    }
    if (elsewhere) continue;
    LeaveLink(*Links[0], letter);
    DeleteJoint(FindJoint(letter));
    removed = true;
  }
  if (removed) RebuildTopology();
}

void TAniMechanism::MergeJoint(int32_t keep, int32_t drop) {
  if (keep < 0 || keep >= JointCount() || drop < 0 || drop >= JointCount() || keep == drop) return;
  const int32_t keepLink = Joints[keep]->Link1;
  const int32_t dropLink = Joints[drop]->Link1;
  for (const auto& joint : Joints) {
    if (joint->HasLinks(keepLink, dropLink)) return;
  }
  // A joint on three links records only two of them; the matrix knows every pair.
  if (keepLink >= 0 && dropLink >= 0 && static_cast<size_t>(keepLink) < SharedJoint.size() &&
      static_cast<size_t>(dropLink) < SharedJoint[keepLink].size() && SharedJoint[keepLink][dropLink] >= 0)
    return;
  if (dropLink >= 0 && dropLink < LinkCount()) {
    LeaveLink(*Links[dropLink], static_cast<char>(Joints[drop]->Letter));
    Links[dropLink]->AddJoint(static_cast<char>(Joints[keep]->Letter), 'P');
  }
  DeleteJoint(drop);
  RebuildTopology();
}

void TAniMechanism::RebuildTopology() {
  for (auto& dyad : Dyads) {
    dyad->Link1Index = dyad->Link1 ? FindLink(dyad->Link1->Name) : -1;
    dyad->Link2Index = dyad->Link2 ? FindLink(dyad->Link2->Name) : -1;
    // The references follow the indices, so both always name the same links.
    dyad->Link1 = dyad->Link1Index >= 0 ? Links[dyad->Link1Index].get() : nullptr;
    dyad->Link2 = dyad->Link2Index >= 0 ? Links[dyad->Link2Index].get() : nullptr;
  }
  for (auto& link : Links) {
    for (int32_t k = 0; k < link->JointCount; ++k) link->JointIndex[k] = FindJoint(link->Name[k]);
  }
  for (auto& joint : Joints) joint->Link1 = joint->Link2 = -1;
  for (int32_t l = 0; l < LinkCount(); ++l) {
    const TAniLink& link = *Links[l];
    for (int32_t k = 0; k < link.JointCount; ++k) {
      const int32_t j = link.JointIndex[k];
      if (j < 0) continue;
      TAniJoint& joint = *Joints[j];
      if (joint.Link1 < 0) {
        joint.Link1 = l;
      } else if (joint.Link1 != l) {
        joint.Link2 = l;
      }
    }
  }
  const int32_t links = LinkCount();
  SharedJoint.assign(static_cast<size_t>(links), std::vector<int32_t>(static_cast<size_t>(links), -1));
  Centres.Init(JointCount(), links);
  // A joint on three or more links joins every pair of them, not only Link1 and Link2: a dyad
  // attached at the joint of an earlier dyad must leave that dyad its common joint.
  std::vector<std::vector<int32_t>> holders(Joints.size());
  for (int32_t l = 0; l < links; ++l) {
    const TAniLink& link = *Links[l];
    for (int32_t k = 0; k < link.JointCount; ++k) {
      const int32_t j = link.JointIndex[k];
      if (j < 0) continue;
      if (std::find(holders[j].begin(), holders[j].end(), l) == holders[j].end()) holders[j].push_back(l);
    }
  }
  for (int32_t j = 0; j < JointCount(); ++j) {
    for (size_t a = 0; a < holders[j].size(); ++a) {
      for (size_t b = a + 1; b < holders[j].size(); ++b) {
        const int32_t la = holders[j][a], lb = holders[j][b];
        SharedJoint[la][lb] = SharedJoint[lb][la] = j;
        Centres.SetCentreIndex(la, lb, j);
      }
    }
  }
  int32_t previous = 0;
  int32_t last = 0;
  for (int32_t l = 0; l < links; ++l) {
    if (!Links[l]->ICLink) continue;
    previous = last;
    last = l;
  }
  Centres.SetShownPair(previous, last);
  Centres.Plan();
}

void TAniMechanism::SetPositionCount(int32_t n) {
  // Every per-step array needs at least the design position and one solved step.
  if (n < 1) return;
  // The first input function drives every step of the cycle, and it holds no more than this.
  N = std::min(n, TInputFunction::kMaxSteps);
  RetimeInputs();
  CentreAt.resize(static_cast<size_t>(N) + 1);
  Deviation.resize(static_cast<size_t>(N) + 1);
  for (auto& dyad : Dyads) dyad->SetN(N);
  for (auto& link : Links) link->SetN(N);
  for (auto& joint : Joints) joint->SetN(N);
  Len = std::min(Len, N);
  CurrentStep = std::clamp(CurrentStep, 0, N);
}

void TAniMechanism::RetimeInputs() {
  if (Inputs.empty()) return;
  Inputs[0]->SetSteps(N);
  for (size_t i = 1; i < Inputs.size(); ++i) Inputs[i]->SetTimeStep(Inputs[0]->TimeStep());
}

void TAniMechanism::SetTracer(int32_t i) {
  if (i < 0 || i >= JointCount()) return;
  Tracer = Joints[i].get();
  Tracer->Trace = 1;
  Tracer->SetAnalyse(true);
  Tracer->SetShowVectors(true);
}

void TAniMechanism::SetTracerReference(int32_t i) {
  Tracer = i >= 0 && i < JointCount() ? Joints[i].get() : nullptr;
}

bool TAniMechanism::GetModified() const { return Modified || Curve.Modified || Areas.IsModified(); }

void TAniMechanism::SetModified(bool value) {
  Modified = value;
  Curve.Modified = value;
  Areas.SetModified(value);
}

int32_t TAniMechanism::ShownStep() const { return std::clamp(CurrentStep, 0, std::clamp(Len, 0, N)); }

void TAniMechanism::SetFrame(int32_t i) { CurrentStep = std::clamp(i, 0, std::max(Len, 0)); }

void TAniMechanism::ResetFrame() {
  CurrentStep = 0;
  CycleCount = 0;
}

int32_t TAniMechanism::NextFrame() {
  ++CurrentStep;
  if (CurrentStep > Len) {
    CurrentStep = FullCycle ? 1 : 0;
    // A full cycle of length 0 has no step 1.
    if (CurrentStep > Len) CurrentStep = 0;
    ++CycleCount;
  }
  return CycleCount;
}

bool TAniMechanism::GetExtent(shared::TComplex& min, shared::TComplex& max) const {
  // Each part widens the box that the parts before it started, so the curve stays inside the
  // box also when the mechanism lies elsewhere.
  bool started = false;
  if (Curve.PointCount() > 0) {
    Curve.GetExtents(min, max);
    started = true;
  }
  if (!Joints.empty()) {
    if (!started) {
      const TPositionRecord& first = Joints[0]->Positions[0];
      min.SetXY(first.X, first.Y);
      max.SetXY(first.X, first.Y);
      started = true;
    }
    for (const auto& joint : Joints) joint->UpdateExtent(min, max);
  }
  if (Areas.Count() > 0) {
    if (!started) {
      min = Areas.Item(0).MinCorner;
      max = Areas.Item(0).MinCorner;
      started = true;
    }
    Areas.GetExtents(min, max);
  }
  return started;
}

}  // namespace quillon
