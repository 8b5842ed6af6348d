// TAnimationSettings: the animation view's values in the "Animation" section of the program's
// settings key (colours, speed, positions per cycle, display switches, grid, graph height).
#pragma once

#include <cstdint>
#include <string>

#include "shared/AniCanvas2D.h"

namespace shared {
class TSettings;
}

namespace quillon {

inline constexpr const char* kAnimationSection = "Animation";

struct TAnimationSettings {
  // Colours $00BBGGRR.
  uint32_t JointColor = 16777215;
  uint32_t LinkColor = 16776960;
  uint32_t EdgeColor = 0;
  uint32_t PathColor = 16711680;
  uint32_t VelColor = 16711680;
  uint32_t AccColor = 255;
  uint32_t ICColor = 32768;
  uint32_t LabelColor = 0;
  int32_t Speed = 2;
  int32_t Steps = 120;
  bool ShowInstCenters = false;
  bool ShowJointLabels = true;
  bool ShowVelocity = true;
  bool ShowAcceleration = true;
  uint32_t GridColor = 12632256;
  double GridSpace = 0.1;
  // The canvas's grid style; the frame's DXF drawing for Background.
  shared::TGridStyle Background = shared::TGridStyle::Lines;
  int32_t GraphHeight = 171;

  // The stored values over the defaults; graphHeight is the default of "GraphHeight". Values
  // the view cannot take (no positions, a grid spacing that is not a positive number, an
  // unknown background, a negative height) keep their defaults.
  void Read(const shared::TSettings& settings, int32_t graphHeight);
  void Write(shared::TSettings& settings) const;
};

// Fixed notation, width 8, 4 decimals, leading blanks: 0.1 gives "  0.1000".
std::string FormatGridSpace(double value);

}  // namespace quillon
