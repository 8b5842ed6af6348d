// TFourbar: mechanism type 0 and the base of every chain type; one Generate makes one candidate
// (precision points, random rotations, dyad synthesis and polishing, areas, path).
#pragma once

#include <memory>

#include "synthesis/engine/Dyad.h"
#include "synthesis/engine/MechOptimize.h"
#include "synthesis/engine/Mechanism.h"

namespace vesk {

class TFourbar : public TMechanism {
 public:
  TFourbar();

  // Steps the input to precision positions 2..9 and rates the coupler point there (Error.PP).
  bool CheckPrecisionPositions() override;
  std::unique_ptr<TMechanism> Clone() const override;
  // One candidate; a valid one ends with its error total computed.
  void Generate(const TSpline& curve, TAreaList* groundAreas, TAreaList* couplerAreas) override;
  // The two dyads (input and output body, then rocker on the output body); Error.Dyad.
  bool Synthesize() override;
  // One input cycle in Steps increments; rated against the curve when one is given.
  void SimulatePath(const TSpline* curve) override;

  // Kept between candidates so that generation allocates nothing.
  TDyad Dyad1;
  TDyad Dyad2;
  TDyadOptimize DyadOptimize;

 protected:
  // The start every chain built on two or more dyads shares: counts the synthesis, fails the
  // dyads (and third) until they solve, and is false, Error.Dyad 1, when the mechanism does not
  // have the type's joints and links or the precision points; then the input's range is
  // InputRange.
  bool BeginSynthesis(int32_t joints, int32_t links, TDyad* third = nullptr);
  // A candidate's rotations (and offset, ratio) at random for the precision points.
  virtual void DrawRotations();
  // Turns the input over InputRange from the design, a path point after each of the input
  // function's Steps increments, and restores the design. True when every increment was taken
  // and the path ends on precision point 9, or on a closed curve passes it and comes back to
  // where it began; with endOnLast false point 9 is not tested.
  bool RunInput(bool endOnLast);
  // SimulatePath: RunInput, the precision points passed, the summary against the curve when one
  // is given, the transmission angle; the first that fails clears Error.Valid.
  void RatePath(const TSpline* curve, bool endOnLast);
};

}  // namespace vesk
