// TDyad: the standard-form dyad of synthesis, two links W and Z in series whose end must pass
// through nine precision points; solved at positions 5 and 9 and checked at the others.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "shared/Complex.h"
#include "shared/GeneralObject.h"

namespace vesk {

class TLink;
class TPrePointList;

class TDyad : public shared::TGeneralObject {
 public:
  static constexpr int32_t kPositions = 9;

  TDyad() = default;

  // 1 + 0i, the constant of every e^{i theta} - 1.
  shared::TComplex One{1.0, 0.0};
  // The two link vectors at position 1: pivot to moving joint, moving joint to point.
  shared::TComplex W;
  shared::TComplex Z;
  // The links whose rotations W and Z follow; not owned.
  TLink* WLink = nullptr;
  TLink* ZLink = nullptr;
  // Free: Check writes the closed rotations into the link; fixed: it rates them.
  bool WFree = false;
  bool ZFree = false;
  // 1.0 for a dyad that closed; 10 - p after a failure at position p; above 1 when fixed
  // rotations differ from the closed ones.
  double Error = 1.0;
  // Index 0 unused: Points[i] is the point of precision position i.
  std::array<shared::TComplex, kPositions + 1> Points{};

  // Points[i] := precision point i, for the list's points up to nine.
  void SetPrecisionPoints(const TPrePointList& points);
  // The dyad's two links, whether Check writes or rates their rotations, and its points.
  void Aim(TLink& w, bool wFree, TLink& z, bool zFree, const TPrePointList& points);
  // Points[i] += offset turned by the link's rotation at i (position 1 unturned): aims the dyad
  // at another point of that link.
  void ShiftPoints(const shared::TComplex& offset, const TLink& link);
  // W and Z from positions 5 and 9 on the program-wide solver; false (W and Z kept) when the
  // system is singular or a link is missing. Sets Modified either way.
  bool Solve();
  // Closes the dyad about its fixed pivot at positions 2..9 (see the source); false at the
  // first position that fails, with Error := 10 - that position and the rotations written
  // before it left in the links.
  bool Check();
  // Solve, then Check: the dyad closed at every position.
  bool Close() { return Solve() && Check(); }
  // Close for the point offset away on the Z link itself (Z gets the offset, the points are
  // shifted with Z's rotations): the link's turning at 2..8 is what this closing finds, so it is
  // closed on the unshifted points with Z - offset and the shift follows.
  bool CloseCarrying(const shared::TComplex& offset);

  // After the general fields, and only from a dyad: vectors, links, flags, Error and points.
  void Assign(const shared::TGeneralObject* source) override;
  std::unique_ptr<shared::TGeneralObject> Clone() const override;

 private:
  // e^{i theta} of the link's rotation at position i.
  static shared::TComplex Turn(const TLink& link, int32_t i);
};

}  // namespace vesk
