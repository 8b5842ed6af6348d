// TEightbar: mechanism type 6, a four-bar whose coupler drives a translating output body
// through two parallelograms.
#pragma once

#include "synthesis/engine/Fourbar.h"

namespace vesk {

class TEightbar : public TFourbar {
 public:
  TEightbar();

  void MakeDefault() override;
  std::unique_ptr<TMechanism> Clone() const override;
  // The four-bar's two dyads aimed at the translating body, then both parallelograms.
  bool Synthesize() override;
  // One input cycle; unlike the four-bar's, the end is not held to precision point 9.
  void SimulatePath(const TSpline* curve) override;
  // Three vector loops: the four-bar, the first parallelogram, the second.
  bool StepInput(double angle) override;
  // The selected joint dragged to the point, keeping the parallelograms.
  void DragJoint(const shared::TComplex& point) override;
  // Joints 1-4 (the whole linkage), 6 and 7, 8 and 9 (a parallelogram).
  bool DragsJoint(int32_t k) const override { return (k >= 1 && k <= 4) || (k >= 6 && k <= 9); }
  // The smallest of the angles at J3, J8 and J6.
  double TransmissionAngle() const override;
};

}  // namespace vesk
