// TFiveBar: mechanism type 8, two cranks coupled by a belt over two wheels (wheel 2 turns Ratio
// times as far as wheel 1) and joined by a dyad that carries the coupler point.
#pragma once

#include "synthesis/engine/Fourbar.h"

namespace vesk {

class TFiveBar : public TFourbar {
 public:
  TFiveBar();

  void MakeDefault() override;
  // Links 2 and 4 as wheels: circle through the belt's tangent point, crank and its opposite.
  void DrawLinks(shared::TCanvas2D& canvas) override;
  std::unique_ptr<TMechanism> Clone() const override;
  // Both cranks' dyads, then the wheels and belt; false for a belt ratio of 0 or not a number
  // and for coincident ground pivots, on which the wheels cannot be built.
  bool Synthesize() override;
  // Wheel 1 turned by the angle, wheel 2 by Ratio times it; the belt's tangent points stay.
  bool StepInput(double angle) override;
  // At J7 between J3 and J6, folded to [0, pi/2].
  double TransmissionAngle() const override;

  // The wheels' radii (R1 at J1, R2 at J4) and belt angle F for the ratio and pivot distance;
  // false when they cannot be built.
  static bool WheelGeometry(double ratio, double distance, double& r1, double& r2, double& f);
  // Coupler point to the joint of the two dyads.
  static constexpr double kOffsetY = 0.05;

 protected:
  // Round a closed curve wheel 2 must turn whole turns to come back with wheel 1: the drawn
  // ratio goes to the nearest whole number other than 0.
  void DrawRotations() override;
};

}  // namespace vesk
