// The linkage posed between two solved steps: frame, driven links and dyads at a fraction of a step.
#include "animator/engine/SubStep.h"

#include <cmath>

#include "animator/engine/AniMechanism.h"
#include "animator/engine/JointSteps.h"

namespace quillon {

using shared::TComplex;

namespace {

// What an input turns its link by from step k - 1 to the fraction t of the way to step k. Past
// the end of its table an input stands still, as its step increments do; an input without a law
// has only its table to go by.
double Increment(const TInputFunction& input, int32_t k, double t) {
  if (k > input.Steps()) return 0;
  if (input.Count() == 0) return t * input.StepIncrement(k);
  return input.Position(input.TimeOfStep(k - 1) + t * input.TimeStep()) - input.ValueOfStep(k - 1);
}

}  // namespace

TSubStep::TSubStep() {
  // Room for the largest document, so that solving allocates nothing.
  Plans.reserve(TAniMechanism::kMaxDyads);
  Where.reserve(TAniMechanism::kMaxJoints);
}

bool TSubStep::Pose(const TAniMechanism& m, int32_t k, double t, int32_t dyads) {
  const int32_t joints = m.JointCount();
  if (static_cast<int32_t>(Where.size()) < joints) Where.resize(static_cast<size_t>(joints));
  const auto valid = [joints](int32_t j) { return j >= 0 && j < joints; };
  const auto at = [&m](int32_t j, int32_t step) { return PositionAt(m.Joint(j), step); };

  // As the solution places them: the frame stands still, each driven link turns about its
  // driven joint.
  if (m.LinkCount() > 0) {
    const TAniLink& frame = m.Link(0);
    for (int32_t i = 0; i < frame.JointCount; ++i)
      if (valid(frame.JointIndex[i])) Where[frame.JointIndex[i]] = DesignOf(m.Joint(frame.JointIndex[i]));
  }
  for (int32_t j = 0; j < joints; ++j) {
    const TAniJoint& driven = m.Joint(j);
    if (driven.InputIndex < 0 || driven.InputIndex >= m.InputCount()) continue;
    const int32_t l = driven.Link1 >= 1 ? driven.Link1 : driven.Link2;
    if (l < 1 || l >= m.LinkCount()) continue;
    const TAniLink& link = m.Link(l);
    const double turn = link.Angle[static_cast<size_t>(k) - 1] + Increment(m.Input(driven.InputIndex), k, t);
    const double c = std::cos(turn), s = std::sin(turn);
    const TComplex from = at(j, k - 1), to = at(j, k);
    const TComplex pivot(from.X + t * (to.X - from.X), from.Y + t * (to.Y - from.Y));
    const TComplex design = DesignOf(driven);
    for (int32_t i = 0; i < link.JointCount; ++i) {
      const int32_t other = link.JointIndex[i];
      if (!valid(other) || other == j) continue;
      const TComplex arm = DesignOf(m.Joint(other));
      const double x = arm.X - design.X, y = arm.Y - design.Y;
      Where[other] = TComplex(pivot.X + x * c - y * s, pivot.Y + x * s + y * c);
    }
  }

  // Each dyad from its pose at step k - 1, which sets its body and its branch.
  for (int32_t d = 0; d < dyads && d < Count(); ++d) {
    const TDyadPlan& plan = Plans[static_cast<size_t>(d)];
    Worker.Clear();
    Worker.Slider1 = plan.Slider1;
    Worker.Slider2 = plan.Slider2;
    const auto role = [&plan](int32_t j) { return j == plan.Common ? TDyadRole::Common : TDyadRole::Other; };
    Worker.AddPoint1(at(plan.Side1.Base, k - 1), TDyadRole::Base);
    for (int32_t i = 0; i < plan.Side1.MovedCount; ++i)
      Worker.AddPoint1(at(plan.Side1.Moved[i], k - 1), role(plan.Side1.Moved[i]));
    Worker.AddPoint2(at(plan.Side2.Base, k - 1), TDyadRole::Base);
    for (int32_t i = 0; i < plan.Side2.MovedCount; ++i)
      Worker.AddPoint2(at(plan.Side2.Moved[i], k - 1), role(plan.Side2.Moved[i]));
    if (!Worker.FinishLoading()) return false;
    Worker.RestoreCounts();
    Worker.SetBases(Where[plan.Side1.Base], Where[plan.Side2.Base]);
    if (!Worker.Assemble()) return false;
    ReadOutDyad(Worker, plan, [this](int32_t j, const TComplex& p) { Where[j] = p; });
  }
  return true;
}

}  // namespace quillon
