// TFunctionGenerator: three-position function generation on a closed loop of four links, the
// completion of the six-bars once their first loop is synthesised.
#pragma once

#include <array>

#include "shared/Complex.h"

namespace vesk {

class TLink;

class TFunctionGenerator {
 public:
  TFunctionGenerator() = default;

  shared::TComplex One{1.0, 0.0};
  // The loop at position 1: V1 = V2 + V3 + V4, V1 closing the other three.
  shared::TComplex V1, V2, V3, V4;
  // The links whose rotations the vectors follow; not owned.
  TLink* L1 = nullptr;
  TLink* L2 = nullptr;
  TLink* L3 = nullptr;
  TLink* L4 = nullptr;
  // SolveLoop may write the rotations of L2 (F2) and L3 (F3); F1 and F4 it never reads.
  bool F1 = false;
  bool F2 = false;
  bool F3 = false;
  bool F4 = false;

  // The loop closing at positions 1, 5 and 9 with the links' rotations there, on the
  // program-wide solver, normalised to V1 = 1; false (vectors kept) when the system has a zero
  // row or a link is missing.
  bool SolveMatrix();
  // Every vector times the factor: the loop at its true size and orientation.
  void Scale(const shared::TComplex& factor);
  // The closed form: L2 a half turn at 9, L3 not turned at 9; the loop normalised to V1 = 1 and
  // the rotations of L2 and L3 at 5 (and 9) taken from the closed loop for the flags set. False
  // when the loop cannot close at 5, and then no rotation is written.
  bool SolveLoop();
};

}  // namespace vesk
