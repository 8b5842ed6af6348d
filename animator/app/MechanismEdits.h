// The mechanism operations the animation view calls for drawing, picking, moving, deleting and
// the add tools, in one place: each forwards to the engine's operation of the same name.
// Operations the engine does not offer yet are flag-only or leave the mechanism untouched.
#pragma once

#include <cstdint>

#include "shared/Complex.h"

namespace shared {
class TAniCanvas2D;
}

namespace quillon {

class TAniMechanism;

namespace edits {

void Paint(TAniMechanism& mechanism, shared::TAniCanvas2D& canvas);
// The frame link's attached DXF drawing, drawn as the canvas background.
void DrawFrameDrawing(TAniMechanism& mechanism, shared::TAniCanvas2D& canvas);
bool HasFrameDrawing(const TAniMechanism& mechanism);

bool HitJoint(TAniMechanism& mechanism, const shared::TComplex& point, bool extend, bool skipLast,
              double radius);
// point in screen pixels: links are tested against their drawn outlines.
bool HitLink(TAniMechanism& mechanism, int x, int y, bool extend, bool skipLast);
void DeselectAll(TAniMechanism& mechanism);
void SelectAll(TAniMechanism& mechanism);
// 0 nothing, 1 joint, 2 link, 3 curve point, 4 area.
int32_t SelectionKind(const TAniMechanism& mechanism);
// First selected element at or after from, -1 when none.
int32_t NextSelectedJoint(const TAniMechanism& mechanism, int32_t from);
int32_t NextSelectedLink(const TAniMechanism& mechanism, int32_t from);

void MoveSelection(TAniMechanism& mechanism, double dx, double dy);
void SnapSelectedJoint(TAniMechanism& mechanism, double radius);
void DeleteSelected(TAniMechanism& mechanism);

void ToggleTraceSelected(TAniMechanism& mechanism);
void ToggleVectorsSelected(TAniMechanism& mechanism);
void ToggleLockSelected(TAniMechanism& mechanism);
void ToggleAnalysisSelected(TAniMechanism& mechanism);
void SetICLinks(TAniMechanism& mechanism, int32_t a, int32_t b);
void BringLinkToFront(TAniMechanism& mechanism);
void SendLinkToBack(TAniMechanism& mechanism);

// The add tools, called on every click (moving false) and on moves (moving true).
void AddCrankByClicks(TAniMechanism& mechanism, const shared::TComplex& point, bool moving);
void AddPinDyadByClicks(TAniMechanism& mechanism, const shared::TComplex& point, bool moving, double d);
void AddSliderDyadByClicks(TAniMechanism& mechanism, const shared::TComplex& point, bool moving, double d);
void AddJointToLinkByClick(TAniMechanism& mechanism, const shared::TComplex& point);

}  // namespace edits
}  // namespace quillon
