// The preset linkages that every new document starts from, as tables: joints, links with their
// pin/slider kinds, dyads, the driven joint and the tracer of each type number.
#pragma once

#include <cstdint>
#include <vector>

namespace quillon {

struct TPresetJoint {
  char Letter;
  double X;
  double Y;
  bool Trace;
  bool ShowVectors;
  bool Analyse;
};

struct TPresetLink {
  const char* Name;
  // 'P' pin or 'S' slider per joint; a shorter text leaves the remaining joints as pins.
  const char* Kinds;
  bool Kinematics;
  bool ICLink;
};

struct TPresetDyad {
  const char* First;
  const char* Second;
};

struct TPreset {
  int32_t Type;
  const char* Name;
  std::vector<TPresetJoint> Joints;
  std::vector<TPresetLink> Links;  // link 0 is the frame
  std::vector<TPresetDyad> Dyads;
  char Input;   // letter of the driven joint
  char Tracer;  // letter of the output joint, 0 for none
};

// Type numbers follow the synthesis program's mechanism types where both have the chain.
const std::vector<TPreset>& Presets();
// nullptr for a type without a builder (4, 8 and every unknown number).
const TPreset* FindPreset(int32_t type);

}  // namespace quillon
