// AppOptions: the synthesis program's view and search options, one record for the whole run,
// set by the program and read by the engine.
#pragma once

#include <array>
#include <cstdint>

namespace vesk {

struct TAppOptions {
  int32_t Speed = 1;  // animation speed 0..2, index into AnimationIntervals
  std::array<int32_t, 3> AnimationIntervals{180, 88, 42};  // timer interval in ms per speed
  bool ShowInstantCenters = false;
  bool CurvePointFlag = false;  // handed to each mechanism's curve points; fixed at run time
  bool ShowGraph = true;
  bool ShowList = true;
  bool ZoomAllOnSelect = true;  // zoom to all after selecting a solution or stopping generation
  bool IsPolar = false;         // co-ordinates shown and edited as radius and angle
  bool ShowOutputLinkDrawing = false;
  bool ShowGroundDrawing = false;
  bool XIsTime = true;  // the graphs' x axis is time, else the input motion
  int32_t Search = 1;   // search level 0 Quick, 1 Standard, 2 Thorough
  std::array<int32_t, 3> SearchBudgets{80000, 200000, 600000};  // candidates per search level

  // The interval and budget of the current speed and search level; a value outside 0..2 (a
  // damaged setting) counts as the middle one, as the speed buttons show it.
  int32_t AnimationInterval() const;
  int32_t SearchBudget() const;
};

// The program-wide record, holding the defaults from program start.
extern TAppOptions AppOptions;

// AppOptions := the defaults.
void ResetAppOptions();

}  // namespace vesk
