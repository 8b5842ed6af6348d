// A joint's position at a step as a complex number: reading it, its design position (step 0), and
// writing a solved or an edited one; shared by the mechanism's solution, drawing and editing.
#pragma once

#include <cstdint>

#include "animator/engine/AniJoint.h"
#include "shared/Complex.h"

namespace quillon {

inline shared::TComplex PositionAt(const TAniJoint& joint, int32_t step) {
  const TPositionRecord& p = joint.Positions[static_cast<size_t>(step)];
  return shared::TComplex(p.X, p.Y);
}

inline shared::TComplex DesignOf(const TAniJoint& joint) { return PositionAt(joint, 0); }

// A solved position, valid.
inline void StorePosition(TAniJoint& joint, int32_t step, const shared::TComplex& p) {
  joint.Positions[static_cast<size_t>(step)] = TPositionRecord{p.X, p.Y, 0};
}

inline void SetDesign(TAniJoint& joint, const shared::TComplex& p) {
  joint.Positions[0].X = p.X;
  joint.Positions[0].Y = p.Y;
}

}  // namespace quillon
