// Forwarding of the view's mechanism operations. Until the engine has picking, moving, deleting,
// drawing and the add tools, those calls change nothing (an add tool only counts its clicks, so
// the view's tool cycle still ends); selection flags are read and set directly.
#include "animator/app/MechanismEdits.h"

#include "animator/engine/AniMechanism.h"
#include "shared/Canvas2D.h"

namespace quillon::edits {

void Paint(TAniMechanism&, shared::TAniCanvas2D&) {}

void DrawFrameDrawing(TAniMechanism&, shared::TAniCanvas2D&) {}

bool HasFrameDrawing(const TAniMechanism& mechanism) {
  return !mechanism.Links.empty() && !mechanism.Links[0]->Drawing.Empty();
}

bool HitJoint(TAniMechanism&, const shared::TComplex&, bool, bool, double) { return false; }

bool HitLink(TAniMechanism&, int, int, bool, bool) { return false; }

void DeselectAll(TAniMechanism& mechanism) {
  for (auto& joint : mechanism.Joints) joint->Selected = 0;
  for (auto& link : mechanism.Links) link->Selected = 0;
  for (auto& dyad : mechanism.Dyads) dyad->Selected = 0;
}

void SelectAll(TAniMechanism& mechanism) {
  for (auto& joint : mechanism.Joints) joint->Selected = 1;
  for (auto& link : mechanism.Links) link->Selected = 1;
  for (auto& dyad : mechanism.Dyads) dyad->Selected = 1;
}

int32_t NextSelectedJoint(const TAniMechanism& mechanism, int32_t from) {
  for (int32_t i = from < 0 ? 0 : from; i < static_cast<int32_t>(mechanism.Joints.size()); ++i) {
    if (mechanism.Joints[i]->Selected) return i;
  }
  return -1;
}

int32_t NextSelectedLink(const TAniMechanism& mechanism, int32_t from) {
  for (int32_t i = from < 0 ? 0 : from; i < static_cast<int32_t>(mechanism.Links.size()); ++i) {
    if (mechanism.Links[i]->Selected) return i;
  }
  return -1;
}

int32_t SelectionKind(const TAniMechanism& mechanism) {
  if (NextSelectedJoint(mechanism, 0) >= 0) return 1;
  if (NextSelectedLink(mechanism, 0) >= 0) return 2;
  if (mechanism.Curve.LastSelected() >= 0) return 3;
  if (mechanism.Areas.LastSelected() >= 0) return 4;
  return 0;
}

void MoveSelection(TAniMechanism&, double, double) {}

void SnapSelectedJoint(TAniMechanism&, double) {}

void DeleteSelected(TAniMechanism&) {}

void ToggleTraceSelected(TAniMechanism& mechanism) {
  for (auto& joint : mechanism.Joints) {
    if (joint->Selected) joint->ToggleTrace();
  }
}

void ToggleVectorsSelected(TAniMechanism& mechanism) {
  for (auto& joint : mechanism.Joints) {
    if (joint->Selected) joint->ToggleShowVectors();
  }
}

void ToggleLockSelected(TAniMechanism& mechanism) {
  for (auto& joint : mechanism.Joints) {
    if (joint->Selected) joint->ToggleLocked();
  }
}

void ToggleAnalysisSelected(TAniMechanism& mechanism) {
  for (auto& link : mechanism.Links) {
    if (link->Selected) link->Kinematics = link->Kinematics ? 0 : 1;
  }
  for (auto& joint : mechanism.Joints) {
    if (joint->Selected) joint->ToggleAnalyse();
  }
}

void SetICLinks(TAniMechanism&, int32_t, int32_t) {}

void BringLinkToFront(TAniMechanism&) {}

void SendLinkToBack(TAniMechanism&) {}

namespace {

void CountClick(TAniMechanism& mechanism, bool moving) {
  if (!moving && mechanism.AddClicks > 0) --mechanism.AddClicks;
}

}  // namespace

void AddCrankByClicks(TAniMechanism& mechanism, const shared::TComplex&, bool moving) {
  CountClick(mechanism, moving);
}

void AddPinDyadByClicks(TAniMechanism& mechanism, const shared::TComplex&, bool moving, double) {
  CountClick(mechanism, moving);
}

void AddSliderDyadByClicks(TAniMechanism& mechanism, const shared::TComplex&, bool moving, double) {
  CountClick(mechanism, moving);
}

void AddJointToLinkByClick(TAniMechanism& mechanism, const shared::TComplex&) {
  CountClick(mechanism, false);
}

}  // namespace quillon::edits
