// TVectorLoop: the two-vector loop A + B = C closed in complex numbers (the circle-circle
// intersection of dyad theory), the position solver of every dyad and mechanism step.
#pragma once

#include "shared/Complex.h"

namespace vesk {

class TVectorLoop {
 public:
  // Set by the caller: the closing vector and the reference configuration.
  shared::TComplex C, A0, B0;
  // Solution 1 on the closure branch of A0, B0, and solution 2, the mirror branch.
  shared::TComplex A1, B1, A2, B2;
  // Unit vectors: the rotations that turn A0 into A1, A2 and B0 into B1, B2.
  shared::TComplex RotA1, RotA2, RotB1, RotB2;

  // True when |C| lies strictly between ||A0| - |B0|| and |A0| + |B0| (touching circles do not
  // close); on false no output vector changes.
  bool Solve();
};

}  // namespace vesk
