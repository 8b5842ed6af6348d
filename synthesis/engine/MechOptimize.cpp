// The coordinate searches of the optimisers: a fixed signed step per rotation, the best single
// move of each sweep made permanent.
#include "synthesis/engine/MechOptimize.h"

#include "synthesis/engine/Mechanism.h"

namespace vesk {

double& TMechOptimize::Rotation(int32_t k) const {
  return Mechanism->Links.GetLink(LinkIndex[size_t(k)])->Rot[size_t(Position[size_t(k)])];
}

void TMechOptimize::BuildParameters() {
  Count = 0;
  if (!Mechanism) return;
  const TLinkList& links = Mechanism->Links;
  for (int32_t i = 2; i <= links.Count(); ++i) {
    const TLink& link = *links.GetLink(i);
    for (const int32_t j : {5, 9}) {
      if (link.Fixed[size_t(j)] || Count >= kMaxParameters) continue;
      ++Count;
      LinkIndex[size_t(Count)] = i;
      Position[size_t(Count)] = j;
      Step[size_t(Count)] = link.MaxAngle / 200;
    }
  }
}

void TMechOptimize::ApplyStep() {
  if (Current > 0) Rotation(Current) += Step[size_t(Current)];
}

void TMechOptimize::UndoStep() {
  if (Current > 0) Rotation(Current) -= Step[size_t(Current)];
}

void TMechOptimize::Evaluate() {
  const bool rated = Mechanism->Rate(Curve, GroundAreas, CouplerAreas) == TRating::Rated;
  Objective[size_t(Current)] = rated ? Mechanism->Error.Total : kFailed;
}

void TMechOptimize::Start() {
  Current = 0;
  Done = false;
  Iterations = 0;
  BuildParameters();
  Evaluate();
}

bool TMechOptimize::Iterate() {
  Best = 0;
  for (int32_t k = 1; k <= Count; ++k) {
    Current = k;
    ApplyStep();
    Evaluate();
    if (Objective[size_t(k)] > Objective[0]) {
      UndoStep();
      // The reversal is kept for the later sweeps.
      Step[size_t(k)] = -Step[size_t(k)];
      ApplyStep();
      Evaluate();
    }
    UndoStep();
    if (Objective[size_t(Best)] > Objective[size_t(k)]) Best = k;
  }
  Done = Best == 0;
  if (Best > 0) {
    Current = Best;
    Objective[0] = Objective[size_t(Best)];
    ApplyStep();
  }
  ++Iterations;
  Done = Done || Iterations > MaxIter;
  return Done;
}

void TMechOptimize::Finish() {
  Evaluate();
  Mechanism->Optimized = true;
}

void TDyadOptimize::Start() {
  TMechOptimize::Start();
  MaxIter = 4;
}

void TDyadOptimize::Finish() {
  Evaluate();
  // The last sweep's move was made without a synthesis: a candidate that cannot be synthesised
  // where the search ended is lost.
  if (Objective[size_t(Current)] == kFailed) Mechanism->Error.Valid = false;
}

void TDyadOptimize::Evaluate() {
  if (Mechanism->Synthesize()) {
    Mechanism->EvaluateConstraints(GroundAreas, CouplerAreas);
    Objective[size_t(Current)] = Mechanism->Error.PP;
  } else {
    Objective[size_t(Current)] = kFailed;
  }
}

}  // namespace vesk
