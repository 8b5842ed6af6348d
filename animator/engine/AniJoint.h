// TAniJoint: a joint of the animated linkage, named by one letter, with its position, path
// length, velocity and acceleration at every step 0..N of a cycle (step 0 = design position).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shared/Canvas2D.h"
#include "shared/Complex.h"

namespace quillon {

// Position, velocity or acceleration of a joint at one step; Invalid marks a record without a
// value, which tables leave out.
struct TPositionRecord {
  double X = 0;
  double Y = 0;
  uint8_t Invalid = 0;
};

class TAniJoint {
 public:
  explicit TAniJoint(int32_t n = 90);

  int32_t N = 90;
  // Velocity and Acceleration hold N + 1 records only while Analyse or ShowVectors is set.
  uint8_t Analyse = 0;
  uint8_t ShowVectors = 0;
  uint8_t Letter = ' ';
  uint8_t Selected = 0;
  uint8_t Placed = 0;
  uint8_t Trace = 0;
  uint8_t Locked = 0;
  // First link holding the joint and the last other one, -1 for none.
  int32_t Link1 = -1;
  int32_t Link2 = -1;
  std::vector<double> PathLength;
  std::vector<TPositionRecord> Positions;
  std::vector<TPositionRecord> Velocity;
  std::vector<TPositionRecord> Acceleration;
  double MaxSpeed = 0;
  double VelocityScale = 1.0;
  double MaxAcceleration = 0;
  double AccelerationScale = 1.0;
  // Set by the mechanism before kinematics and drawing.
  int32_t Len = 0;
  uint8_t FullCycle = 0;
  double Dt = 0;
  int32_t InputIndex = -1;

  void Clear();
  // A negative count is taken as 0; existing records keep their values.
  void SetN(int32_t n);
  void SetAnalyse(bool on);
  void SetShowVectors(bool on);
  void ToggleTrace();
  void ToggleLocked();
  void ToggleAnalyse();
  void ToggleShowVectors();

  // Fixes the joint at its design position for every step (frame joints, unplaced joints).
  void MakeStatic();
  void Move(double dx, double dy);
  bool IsNear(const shared::TComplex& point, double radius, int32_t step) const;

  // Path length, velocity and acceleration over 0..Len from Len, FullCycle and Dt.
  void ComputeKinematics();
  double Speed(int32_t i) const;
  double AccelerationMagnitude(int32_t i) const;
  double TotalPathLength() const;

  int32_t LinkCount() const;
  bool HasLink(int32_t l) const { return Link1 == l || Link2 == l; }
  bool HasLinks(int32_t a, int32_t b) const { return HasLink(a) && HasLink(b); }
  void RemoveLink(int32_t l);

  // Widens the two corners by every valid position 0..Len.
  void UpdateExtent(shared::TComplex& min, shared::TComplex& max) const;

  // The traced path over 0..Len with the current pen.
  void DrawPath(shared::TCanvas2D& canvas) const;

  std::string Caption() const { return "Joint " + std::string(1, static_cast<char>(Letter)); }

 private:
  void ResizeArrays();
  // The solved length brought into 0..N.
  int32_t SolvedLength() const;
};

}  // namespace quillon
