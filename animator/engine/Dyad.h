// TDyad: the animator's closed-form position worker for one two-link group: the common joint of two
// links found from the links' two known joints (pin-pin or sliding base), every other joint carried along.
#pragma once

#include "shared/Complex.h"

namespace quillon {

// What a joint loaded into the worker is to its side.
enum class TDyadRole {
  Base = 0,    // already placed at this step; a later base replaces an earlier one
  Common = 1,  // the joint that both links share, to be found
  Other = 2,   // any other joint of the link, carried along rigidly
};

// One worker serves every dyad of a mechanism in turn. Per dyad: Clear; set Slider1/Slider2;
// AddPoint1 for each joint of the first link, AddPoint2 for each joint of the second; FinishLoading
// (skip the dyad when it answers false); JointAngle for the design angle; then per step RestoreCounts,
// SetBases, Assemble, and on success NextPoint2 / NextPoint1, Rotation1 / Rotation2, JointAngle.
// Whether the dyad closes depends on its bases alone (Reach); StaysClosed tells whether it also
// closes all the way between two steps, where a dead point may lie that no step falls on.
class TDyad {
 public:
  // A link holds at most 11 joints, so a side never holds more points than that.
  static constexpr int kMaxPoints = 11;

  // The second joint of the side's link is a slider; either flag selects the sliding case.
  bool Slider1 = false;
  bool Slider2 = false;

  void Clear();
  // Design positions. Points beyond kMaxPoints on a side are ignored.
  void AddPoint1(const shared::TComplex& position, TDyadRole role);
  void AddPoint2(const shared::TComplex& position, TDyadRole role);
  // Turns the loaded points into body vectors from their base. False when a side lacks a base or a
  // common joint (the links share no joint, or the shared one is already placed): the dyad cannot be
  // solved and Assemble will refuse it.
  bool FinishLoading();
  void RestoreCounts();
  // Positions of the two bases at the step being solved.
  void SetBases(const shared::TComplex& base1, const shared::TComplex& base2);
  // True when the dyad closes at this step, keeping the branch of the previous pose; the body vectors
  // then stand in the new pose. On false nothing has moved.
  bool Assemble();
  bool LastResult() const { return Result; }

  // What decides whether the dyad closes with its bases at these places: for two pins the squared
  // distance between the bases, for a slide the offset of base 2 from base 1 along the slide.
  // Valid after FinishLoading.
  double Reach(double x1, double y1, double x2, double y2) const {
    const double ex = x2 - x1, ey = y2 - y1;
    if (Slider1 || Slider2)
      return (ex + SlideOffset.X) * SlideDirection.X + (ey + SlideOffset.Y) * SlideDirection.Y;
    return ex * ex + ey * ey;
  }
  double Reach(const shared::TComplex& base1, const shared::TComplex& base2) const {
    return Reach(base1.X, base1.Y, base2.X, base2.Y);
  }
  // Whether the dyad closes at this reach. A reach within rounding of a straight pose counts as
  // reaching it: there the branch can flip.
  bool Closes(double reach) const { return reach > ClosedLow && reach < ClosedHigh; }
  // True when the dyad stays closed all the way from one step, at reach r1, to the next, at r2.
  // r0 and r3 are the reach a step before and a step after, NaN where there is none: with them
  // the path between is judged from its slopes, and where it may come near a straight pose,
  // reachAt(t) gives the reach itself at the fraction t (0..1) of the way (NaN where the linkage
  // cannot be posed) and the pose nearest straight is sought on it.
  template <class ReachAt>
  bool StaysClosed(double r0, double r1, double r2, double r3, ReachAt reachAt) const;

  // The loaded non-base points in reverse order of loading, then the base (again on every later call).
  shared::TComplex NextPoint1() { return Next(P, Count1); }
  shared::TComplex NextPoint2() { return Next(Q, Count2); }
  // Turn of side 1 / side 2 in the last Assemble, radians.
  double Rotation1() const { return C1.Arg(); }
  double Rotation2() const { return D1.Arg(); }
  // Angle 0..pi at the common joint between base 1 -> joint and base 2 -> joint (transmission angle).
  double JointAngle() const;

 private:
  // Whether the path of the reach from r1 to r2 (r0, r3 the steps beside) may come near the
  // upper or the lower limit; false when it surely keeps clear of both.
  bool MayComeNear(double r0, double r1, double r2, double r3, bool& upper, bool& lower) const;
  bool PinPin();
  bool Slider();
  double BranchSign();
  void CarryAlong();

  static void Append(shared::TComplex* points, int& count, int& common, bool& hasBase,
                     const shared::TComplex& position, TDyadRole role);
  static shared::TComplex Next(const shared::TComplex* points, int& count) {
    if (count > 0) --count;
    if (count < 1) return points[0];
    return shared::TComplex(points[count].X + points[0].X, points[count].Y + points[0].Y);
  }

  // The worker runs for every dyad at every step of every solution, thousands of solutions per
  // curve fit: it works on the coordinates directly rather than through TComplex's operations.
  shared::TComplex A0, A1;  // base 1 -> common joint: previous pose, solution
  shared::TComplex B0, B1;  // common joint -> base 2: previous pose, solution
  shared::TComplex C1;      // unit rotation of side 1
  shared::TComplex D1;      // unit rotation of side 2
  shared::TComplex E;       // base 2 - base 1 at this step
  int Count1 = 1, Count2 = 1;
  int SavedCount1 = 1, SavedCount2 = 1;
  int Common1 = -1, Common2 = -1;  // -1: no common joint loaded on that side
  bool HasBase1 = false, HasBase2 = false;
  bool Loaded = false;
  // The reach within which the dyad closes, from the design lengths of its sides; and for a slide
  // its unit direction (common joint -> base 2) and the design vector base 2 -> common joint.
  double ReachLow = 0, ReachHigh = 0;
  // The same moved in by the share of the range that stands for rounding.
  double ClosedLow = 0, ClosedHigh = 0;
  shared::TComplex SlideDirection, SlideOffset;
  shared::TComplex P[kMaxPoints];  // side 1: P[0] base position, P[1..] body vectors from the base
  shared::TComplex Q[kMaxPoints];  // side 2, the same way
  bool Result = false;
};

template <class ReachAt>
bool TDyad::StaysClosed(double r0, double r1, double r2, double r3, ReachAt reachAt) const {
  if (!Closes(r1) || !Closes(r2)) return false;
  bool upper = false, lower = false;
  if (!MayComeNear(r0, r1, r2, r3, upper, lower)) return true;
  // Samples across the gap find the neighbourhood of the pose nearest a limit; a golden-section
  // search narrows it down to about a millionth of a step. g = side * reach peaks there.
  constexpr int kSamples = 8;
  constexpr int kNarrowings = 30;
  constexpr double golden = 0.6180339887498949;  // (sqrt 5 - 1) / 2
  for (const double side : {1.0, -1.0}) {
    if (!(side > 0 ? upper : lower)) continue;
    bool closed = true;
    const auto probe = [&](double t) {
      const double r = reachAt(t);
      if (!Closes(r)) closed = false;
      return side * r;
    };
    double peakAt = side * r1 >= side * r2 ? 0.0 : 1.0;
    double peak = side * (peakAt == 0 ? r1 : r2);
    for (int i = 1; i < kSamples && closed; ++i) {
      const double g = probe(static_cast<double>(i) / kSamples);
      if (g > peak) {
        peak = g;
        peakAt = static_cast<double>(i) / kSamples;
      }
    }
    double a = peakAt > 1.0 / kSamples ? peakAt - 1.0 / kSamples : 0.0;
    double b = peakAt < 1 - 1.0 / kSamples ? peakAt + 1.0 / kSamples : 1.0;
    double c = b - golden * (b - a), d = a + golden * (b - a);
    double gc = closed ? probe(c) : 0, gd = closed ? probe(d) : 0;
    for (int i = 0; i < kNarrowings && closed; ++i) {
      if (gc > gd) {
        b = d;
        d = c;
        gd = gc;
        c = b - golden * (b - a);
        gc = probe(c);
      } else {
        a = c;
        c = d;
        gc = gd;
        d = a + golden * (b - a);
        gd = probe(d);
      }
    }
    if (!closed) return false;
  }
  return true;
}

}  // namespace quillon
