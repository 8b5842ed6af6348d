// TAniLink: a rigid body of the animated linkage named by its joints' letters, with pin or slider
// kinds, its rotation per step, its screen outline for drawing and picking, and its drawing.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shared/Canvas2D.h"
#include "shared/Complex.h"
#include "shared/PaintSurface.h"
#include "shared/dxf/DXFDrawing.h"

namespace quillon {

using TScreenPoint = shared::TPoint;

// World point to screen pixel, as the canvas maps it.
using TWorldToScreen = std::function<TScreenPoint(const shared::TComplex&)>;

// Files larger than this are not read as link drawings: a drawing of a link is small, and a
// file of gigabytes would hold the program for minutes and exhaust memory.
inline constexpr std::uintmax_t kMaxDrawingFileSize = 64u << 20;

// Reads the named DXF file into the drawing. Returns the empty text when it was read, otherwise
// the warning for the log (the name and " does not exist!", or the name, ": " and the reason);
// the drawing is then empty. Either way its FileName is the given name, so that a document
// saved again keeps the name of a file that could not be read. A drawing read whole that holds
// entities of kinds that are not drawn gives one warning in the message log.
std::string LoadDrawingFile(shared::TDXFDrawing& drawing, const std::string& fileName);

class TAniLink {
 public:
  static constexpr int32_t kMaxJoints = 11;
  static constexpr int32_t kPin = 0;
  static constexpr int32_t kSlider = 1;

  TAniLink();
  TAniLink(const TAniLink&) = delete;
  TAniLink& operator=(const TAniLink&) = delete;
  TAniLink(TAniLink&&) = default;
  TAniLink& operator=(TAniLink&&) = default;

  shared::TComplex Scratch;
  int32_t N = 90;
  uint8_t Kinematics = 0;
  // Rotation relative to the design position per step 0..N; Angle[0] = 0.
  std::vector<double> Angle;
  // Upper-cased joint letters in order; JointCount == Name.size() <= kMaxJoints.
  std::string Name;
  int32_t JointCount = 0;
  uint8_t Selected = 0;
  uint8_t Placed = 0;
  uint8_t ICLink = 0;
  uint8_t Visible = 1;
  // Per position in Name: kPin or kSlider, and the joint's index in the mechanism (-1: no such joint).
  std::array<int32_t, kMaxJoints> Kind{};
  std::array<int32_t, kMaxJoints> JointIndex{};
  // Screen polygon of the last draw; the hit test uses it.
  std::vector<TScreenPoint> Outline;
  // Joint positions at DrawStep, one per position in Name (entries of index -1 are not used).
  std::vector<shared::TComplex> Points;
  // The attached drawing, never null; its own Transform places it on the link. A holder may
  // exchange it for another drawing.
  std::unique_ptr<shared::TDXFDrawing> Drawing;
  int32_t DrawStep = 0;
  // Position in Name of the joint the drawing is anchored at.
  int32_t AnchorIndex = 0;
  // Solved length 0..N of the last solution, set by the mechanism; the difference kinematics
  // read no step beyond it.
  int32_t Len = 90;
  // The last solution ran a full periodic cycle (set by the mechanism): step N is step 0 again,
  // so the differences at both ends reach across the seam.
  uint8_t FullCycle = 0;

  void Clear();
  void SetN(int32_t n);
  // Upper-cased; a name of more than kMaxJoints letters is cut with a warning to the log.
  void SetName(const std::string& text);
  void SetKinematics(bool on) { Kinematics = on; }

  static int32_t KindOf(char c);
  std::string KindsText() const;
  void SetKinds(const std::string& text);
  void AddJoint(char letter, char kind);
  void RemoveJoint(char letter);
  bool SameName(const std::string& text) const;

  // i > 0 adds the increment to the previous step's angle; i outside 0..N is ignored. Inline:
  // the solution calls it for every link at every step.
  void SetAngle(int32_t i, double value) {
    if (i < 0 || i > N) return;
    Angle[static_cast<size_t>(i)] = i == 0 ? value : Angle[static_cast<size_t>(i) - 1] + value;
  }
  double GetAngle(int32_t i) const;
  // Central differences over the steps around i; at steps 0 and N of a full cycle across the
  // seam, otherwise one-sided at the ends of the solved range.
  double AngularVelocity(int32_t i, double dt) const;
  double AngularAcceleration(int32_t i, double dt) const;

  // Copies the joints' positions at a step into Points (joints[k] dereferences to a TAniJoint).
  template <class JointList>
  void LoadPoints(const JointList& joints, int32_t step);
  // Rebuilds Outline from Points through the world-to-screen mapping.
  void BuildOutline(const TWorldToScreen& toScreen, bool stick);
  // Point in the outline; Selected follows unless extend keeps an existing selection.
  bool HitTest(TScreenPoint point, bool extend);
  // The outline with the edge colour, or green when selected, then the attached drawing; the
  // mechanism has set the brush. An invisible link draws nothing and cannot be picked.
  void Draw(shared::TCanvas2D& canvas, shared::TColor edgeColour, bool stick);
  // The attached drawing alone, at its placement at DrawStep; nothing without a placement.
  void DrawDrawing(shared::TCanvas2D& canvas);
  // Where the attached drawing sits at DrawStep: origin at the anchor joint, turned by the
  // link's rotation. False when the drawing holds nothing or the anchor names no usable joint.
  bool DrawingPlacement(shared::TComplex& origin, double& rotation) const;
  bool HasDrawing() const { return !Drawing->IsEmpty(); }

  std::string AnchorLetter() const;
  // The anchor as the document stores it: the letter, or for no anchor a mark that is not in
  // the name, so that reading it gives no anchor again (an empty field would mean the first
  // joint).
  std::string AnchorField() const;
  void SetAnchorLetter(const std::string& text);

  std::string Caption() const { return "Link " + Name; }

 private:
  // Positions in Name whose joint exists and has a point.
  std::vector<int32_t> UsableJoints() const;
  int32_t SolvedLength() const;
  // Steps 0 and N of a full cycle of at least two steps: they meet at the seam.
  bool AtSeam(int32_t i) const;
};

template <class JointList>
void TAniLink::LoadPoints(const JointList& joints, int32_t step) {
  Points.assign(static_cast<size_t>(JointCount), shared::TComplex());
  DrawStep = step;
  for (int32_t k = 0; k < JointCount; ++k) {
    const int32_t j = JointIndex[k];
    if (j < 0 || j >= static_cast<int32_t>(joints.size())) continue;
    const auto& joint = *joints[j];
    if (step < 0 || step >= static_cast<int32_t>(joint.Positions.size())) continue;
    Points[k].SetXY(joint.Positions[step].X, joint.Positions[step].Y);
  }
}

}  // namespace quillon
