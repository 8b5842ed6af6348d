// The mechanism of a type number (the one place that knows every chain type's class) and each
// type's joint and link layout, against which a read record is checked.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "synthesis/engine/Mechanism.h"

namespace vesk {

// A type's joints and, per link in order, the joint numbers (1-based) it connects.
struct TMechanismLayout {
  uint8_t Type;
  int32_t JointCount;
  std::vector<std::vector<int32_t>> Links;
};

// The type number no chain type has; a record of it is a four-bar.
inline constexpr uint8_t kUnusedFourbarType = 4;

// True for the types a record may hold: 0 to 8.
bool IsStoredMechanismType(uint8_t type);

// Whether two type numbers make the same class: 0 and 4 both a four-bar.
bool IsSameMechanismClass(uint8_t a, uint8_t b);

// The layout of a stored type (type 4 the four-bar's); nullptr for any other.
const TMechanismLayout* MechanismLayout(uint8_t type);

// True when the mechanism's joints and links' joint lists are those of its type.
bool HasTypeLayout(const TMechanism& mechanism);

// A new mechanism of the type with its default layout: 0 and 4 a four-bar, a number outside the
// stored types a plain mechanism. A chain type whose class is not in this build raises the
// mechanism's read error, so a file holding one is refused rather than misread.
std::unique_ptr<TMechanism> NewMechanism(uint8_t type);

}  // namespace vesk
