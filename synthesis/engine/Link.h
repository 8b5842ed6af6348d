// TLink and TLinkList: the rigid links of a synthesised mechanism, their roles, the random
// rotations at the precision positions, and the mechanism's random offset and ratio.
#pragma once

#include <array>
#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "shared/Canvas2D.h"
#include "shared/Complex.h"
#include "synthesis/engine/ComplexLine.h"
#include "synthesis/engine/Joint.h"
#include "synthesis/engine/PrePoint.h"

namespace vesk {

// Link types.
inline constexpr uint8_t kGroundLink = 0;
inline constexpr uint8_t kOtherLink = 1;
inline constexpr uint8_t kInputLink = 2;
inline constexpr uint8_t kOutputLink = 3;  // the output body: path point and drawing

class TLink {
 public:
  static constexpr int32_t kMaxJoints = 3;
  // Rotations are kept for precision positions 2..9 (position 1 is the reference, 0).
  static constexpr int32_t kPositions = 9;

  TLink();
  TLink(const TLink&) = delete;
  TLink& operator=(const TLink&) = delete;

  // Type 1, mode 2, free, no rotations, MaxAngle pi/2.
  void MakeDefault();
  // The mode that goes with the type: 0 for the ground, 1 for the input, 2 otherwise.
  void SetType(uint8_t type);
  // Modes: 0 no rotation (its guide line stays), 1 total rotation with rotation 5 a fraction of
  // it, 2 rotations 5 and 9 independent, 3 and 4 as 1 and 2 with a guide line, 5 a half turn.
  void SetMode(uint8_t mode);
  // Not free fixes every rotation.
  void SetFree(bool value);
  void SetFixedAll(bool value);
  // Up to three joints of the mechanism's joint list; more are ignored.
  void AddJoint(TJoint* joint);

  double GetTotalRotation() const { return Rot[9]; }
  void SetTotalRotation(double value) { Rot[9] = value; }
  // The rotation from position j to position i in (-pi, pi]; position 1 has rotation 0.
  double RelativeRotation(int32_t i, int32_t j) const;
  // |Joint i - joint j| (1-based); with a joint at infinity 1e5 when atInfinity, else 0. 0 for a
  // joint the link does not have.
  double JointDistance(int32_t i, int32_t j, bool atInfinity) const;
  // The angle of joint 2 - joint 1; 0 with fewer than two joints.
  double Angle() const;
  double MaxJointDistance() const;
  // Inside the thin ellipse about a side: |p - Ji| + |p - Jj| <= |Ji - Jj| + tolerance.
  bool HitTest(const shared::TComplex& point, double tolerance) const;
  // Draws rotations 5 and 9 by the link's role and mode (see the source); nothing unless Free.
  void RandomizeRotations(const TPrePointList& points);
  // The joints' letters in order.
  std::string GetName() const;
  // "P" per joint: a synthesised link has pin joints only.
  std::string KindString() const;
  // Settings, rotations and the joints' list indices in JointIndex; Joints are cleared for the
  // caller to resolve in its own joint list (ResolveJoints).
  void Assign(const TLink& source);
  // Joints := the joints of the list at JointIndex; false (and those joints none) for an index
  // outside the list.
  bool ResolveJoints(const TJointList* joints);
  void Draw(shared::TCanvas2D& canvas) const;

  // "[Link]" (else "File read error in TLink!"); a record of more than three joints, or of mode
  // 1 or 3 whose MaxAngle is not above 0 (its rotation could never be drawn), is refused too.
  void Read(std::istream& in);
  void Write(std::ostream& out);

  int32_t JointCount() const { return fJointCount; }
  TJoint* Joint(int32_t k) const { return k >= 1 && k <= fJointCount ? Joints[size_t(k)] : nullptr; }
  uint8_t Type() const { return fType; }
  uint8_t Mode() const { return fMode; }
  bool Free() const { return fFree; }
  TComplexLine* GuideLine() const { return fGuideLine.get(); }

  // Index 0 and 1 unused: Rot[i] is the rotation at precision position i.
  std::array<double, kPositions + 1> Rot{};
  std::array<double, kPositions + 1> SavedRot{};
  std::array<bool, kPositions + 1> Fixed{};
  // 1-based; not owned.
  std::array<TJoint*, kMaxJoints + 1> Joints{};
  std::array<int32_t, kMaxJoints + 1> JointIndex{};
  int32_t ID = 0;
  double MaxAngle = 1.5707963267948966;
  bool Selected = false;
  bool Modified = false;

 private:
  int32_t JointListIndex(int32_t k) const;

  uint8_t fType = kOtherLink;
  uint8_t fMode = 2;
  bool fFree = true;
  int32_t fJointCount = 0;
  std::unique_ptr<TComplexLine> fGuideLine;
};

class TLinkList {
 public:
  static constexpr int32_t kCapacity = 8;
  // The record's version when it carries the drags' choices.
  static constexpr int32_t kDragChoicesVersion = 1;

  TLinkList() = default;
  TLinkList(const TLinkList&) = delete;
  TLinkList& operator=(const TLinkList&) = delete;

  // The mechanism's joints, through which joint indices are resolved; not owned.
  TJointList* Joints = nullptr;
  bool SelectOnAdd = true;
  // Roles, set by AssignRoles; none for a role no link plays.
  TLink* InputLink = nullptr;
  TLink* OutputLink = nullptr;
  TLink* GroundLink = nullptr;
  TLink* GuidedLink = nullptr;
  // Random coupler offset vector and ratio (the five-bar's belt ratio).
  shared::TComplex Offset;
  double Ratio = 2.0;
  // The curve's sampled length, copied in before each generation.
  double RefLength = 1.0;
  // What the user's drags chose that a synthesis would otherwise derive from the rotations:
  // Watt 2's input-loop scale against J7 - J4, the eight-bar's shifts of its two parallelograms
  // (J8 and J9, J6 and J7). A new or randomised design has none.
  shared::TComplex LoopScale{1.0, 0.0};
  shared::TComplex ParallelShift1;
  shared::TComplex ParallelShift2;

  int32_t Count() const { return int32_t(fItems.size()); }
  // Link i (1-based); nullptr outside 1..Count.
  TLink* GetLink(int32_t i) const;
  TLink* Selected() const { return fSelected; }
  bool IsModified() const;
  void SetModified(bool value);

  // A ninth link is freed and the answer is nullptr.
  TLink* Add(std::unique_ptr<TLink> link);
  // Later links move down and take their new index as ID.
  void Delete(int32_t i);
  void Clear();
  int32_t IndexOf(const TLink* link) const;
  bool IsValidIndex(int32_t i) const { return i >= 1 && i <= Count(); }
  void Select(int32_t i);
  void Deselect();
  // The highest index whose link is hit; 0 when none.
  int32_t FindNear(const shared::TComplex& point, double tolerance) const;
  // Ground, input and output body by type, the guided link by mode; a later link wins.
  void AssignRoles();
  double MaxLinkLength() const;
  // Every link's rotations, then Offset (two draws) and Ratio (two draws); the drags' choices
  // go back to none.
  void Randomize(const TPrePointList& points);
  bool HasDragChoices() const;
  void ClearDragChoices();
  void SaveRotations();
  void RestoreRotations();
  // From the last link to the first.
  void Draw(shared::TCanvas2D& canvas) const;

  // Clears first; "[Links]" (else "File read error in TLinkList!"). More than eight links, or a
  // joint index outside the joint list, raises the same error. A record of version 1 carries the
  // drags' choices after RefLength; a list without them is written as version 0, as before.
  void Read(std::istream& in);
  void Write(std::ostream& out);
  // Links, joints resolved by index in this list's joints, Offset, Ratio, RefLength and the
  // drags' choices.
  void Assign(const TLinkList& source);

 private:
  // Drops the roles and the selection that name this link.
  void Forget(const TLink* link);

  std::vector<std::unique_ptr<TLink>> fItems;
  TLink* fSelected = nullptr;
  bool fModified = false;
};

}  // namespace vesk
