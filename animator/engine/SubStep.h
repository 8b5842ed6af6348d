// TSubStep: the animated linkage posed between two solved steps, for looking at what a dyad does
// where no step falls: the frame, the driven links and the dyads solved so far, each dyad on the
// branch it runs on at the step before.
#pragma once

#include <cstdint>
#include <vector>

#include "animator/engine/AniLink.h"
#include "animator/engine/Dyad.h"
#include "shared/Complex.h"

namespace quillon {

class TAniMechanism;

// One side of a dyad as the solution loads it: the joint it stands on (the last placed joint of
// its link, -1 when none) and the joints the worker moves, in loading order.
struct TDyadSide {
  int32_t Base = -1;
  int32_t Moved[TAniLink::kMaxJoints] = {};
  int32_t MovedCount = 0;
};

// A dyad the solution solved: its joints by side and its sliding flags.
struct TDyadPlan {
  TDyadSide Side1, Side2;
  int32_t Common = -1;
  bool Slider1 = false;
  bool Slider2 = false;
};

// Hands the points of a worker that has just assembled to place(joint, position) in the order
// the worker gives them: side 2's moved joints, a sliding side 2's base, then side 1's.
template <class Place>
void ReadOutDyad(TDyad& worker, const TDyadPlan& plan, Place place) {
  for (int32_t i = plan.Side2.MovedCount - 1; i >= 0; --i) place(plan.Side2.Moved[i], worker.NextPoint2());
  if (plan.Slider2) place(plan.Side2.Base, worker.NextPoint2());
  for (int32_t i = plan.Side1.MovedCount - 1; i >= 0; --i) place(plan.Side1.Moved[i], worker.NextPoint1());
}

class TSubStep {
 public:
  TSubStep();

  // Forgets the dyads of the last solution.
  void Clear() { Plans.clear(); }
  // A dyad solved, in the order of solving.
  void Add(const TDyadPlan& plan) { Plans.push_back(plan); }
  int32_t Count() const { return static_cast<int32_t>(Plans.size()); }

  // Poses the frame, the driven links and the first `dyads` dyads added at the fraction t (0..1)
  // of the way from step k - 1 to step k of the solution in m, which must hold steps up to k.
  // False when one of the dyads cannot close there.
  bool Pose(const TAniMechanism& m, int32_t k, double t, int32_t dyads);
  // A joint's place in the last pose; only joints of the frame, of driven links and of the
  // dyads posed have one.
  const shared::TComplex& At(int32_t joint) const { return Where[static_cast<size_t>(joint)]; }

 private:
  std::vector<TDyadPlan> Plans;
  std::vector<shared::TComplex> Where;
  TDyad Worker;
};

}  // namespace quillon
