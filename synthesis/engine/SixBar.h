// The six-bar chain types: Watt 1, Watt 2, Stephenson 1 and Stephenson 3, each a four-bar's
// candidate generation with its own layout, dyads, completion, position analysis and
// transmission angle.
#pragma once

#include <memory>

#include "synthesis/engine/Dyad.h"
#include "synthesis/engine/Fourbar.h"

namespace vesk {

// Joint 8 is the coupler point of every six-bar; links 1 and 2 ground and input.
class TSixBarW1 : public TFourbar {
 public:
  TSixBarW1();
  void MakeDefault() override;
  std::unique_ptr<TMechanism> Clone() const override;
  // Input dyad and rocker on link 3, then the output body by translation (no output rotation
  // asked) or by function generation.
  bool Synthesize() override;
  bool StepInput(double angle) override;
  // The whole linkage but the coupler point moves with the dragged joint. When the output body
  // turns, the offset is set so that a synthesis puts the dragged joint where it is dropped, and
  // the linkage is that synthesis; nothing moves where none does, nor while the animation stands
  // away from the design.
  void DragJoint(const shared::TComplex& point) override;
  bool DragsJoint(int32_t k) const override { return k >= 1 && k <= 7; }
  double TransmissionAngle() const override;
  // A closed curve whose output rotations do not turn the body cannot be run: link 5 parallels
  // the crank, which turns once round, so it lines up with the body that keeps its bearing.
  std::string CurveRefusal(const TSpline& curve) const override;
  static constexpr const char* kClosedCurveRefusal =
      "A Watt 1 cannot run a closed curve unless output rotations turn its output body: its link 5 "
      "turns with the input crank, once round, and lines up with the body, a dead point.";

 private:
  // The curve prescribes output rotations and they are not all zero.
  bool BodyTurns() const;
};

class TSixBarW2 : public TFourbar {
 public:
  TSixBarW2();
  void MakeDefault() override;
  std::unique_ptr<TMechanism> Clone() const override;
  // The output dyads first, then the input loop by function generation.
  bool Synthesize() override;
  bool StepInput(double angle) override;
  // Dragging joint 1 turns and scales the input loop about joint 4 (not while joint 1 lies on
  // joint 4).
  void DragJoint(const shared::TComplex& point) override;
  bool DragsJoint(int32_t k) const override { return k == 1; }
  double TransmissionAngle() const override;
  // Its input loop built for a half turn, as on an open curve with no input rotations.
  bool RunsOutAndBack() const override { return !PrecisionPoints.In && !PrecisionPoints.Closed; }

  // Tmax and Xmax as the export writes them for the animator's input: twice the time and the
  // rotation for the input loop built for a half turn, as synthesised for one solved for
  // prescribed input rotations.
  double AnimatorInputFactor() const { return PrecisionPoints.In ? 1.0 : 2.0; }
  double AnimatorTmax() const { return AnimatorInputFactor() * InputFunction.Tmax(); }
  double AnimatorXmax() const { return AnimatorInputFactor() * InputFunction.Xmax(); }

 protected:
  // Round a closed curve the output loop's crank (link 4) turns once with the input: both are
  // drawn as a four-bar's input is, the input near link 4, and the input loop solved for them.
  void DrawRotations() override;
};

class TSixBarS1 : public TFourbar {
 public:
  TSixBarS1();
  void MakeDefault() override;
  std::unique_ptr<TMechanism> Clone() const override;
  bool Synthesize() override;
  bool StepInput(double angle) override;
  double TransmissionAngle() const override;
};

class TSixBarS3 : public TFourbar {
 public:
  TSixBarS3();
  void MakeDefault() override;
  std::unique_ptr<TMechanism> Clone() const override;
  // Three dyads: the output body's, the input's, and the rocker's on link 3.
  bool Synthesize() override;
  bool StepInput(double angle) override;
  double TransmissionAngle() const override;

  // Kept between candidates with the two inherited ones.
  TDyad Dyad3;
};

}  // namespace vesk
