// TPathPoint and TPathPointList: one simulated step of a candidate mechanism (output point, time,
// link angles, path length, deviation and all instant centres) and the path of up to 121 steps
// with its summary against the curve, velocity ratios, accelerations and HTML table.
#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>
#include <vector>

#include "synthesis/engine/ComplexPoint.h"
#include "synthesis/engine/PrePoint.h"

namespace vesk {

class TErrorObject;
class TGraphPaintBox;
class TJointList;
class TLinkList;
class TSpline;

// In a path point In and Out are the rotations of the input and output link since the first
// path point (whole turns counted), s the path-length fraction and Direction the path tangent.
class TPathPoint : public TPrePoint {
 public:
  // A new point has the four-bar's six centres, so that its record (which gives the centres by
  // the type) reads back.
  TPathPoint() { SetMechType(0); }
  TPathPoint(double x, double y) : TPrePoint(x, y) { SetMechType(0); }

  // The instant centre of links a and b in either order (links numbered 1..LinkCount);
  // nullptr for a pair that is not one.
  TComplexPoint* GetIC(int32_t a, int32_t b) const;
  // Its 0-based entry, -1 for none: (1,2), (1,3), ..., (1,N), (2,3), ...
  int32_t ICIndex(int32_t a, int32_t b) const;
  // Entry k (0-based); nullptr outside 0..ICCount-1.
  TComplexPoint* GetICByNumber(int32_t k) const;
  // The velocity pole of the output link: IC(GroundID, OutputID).
  TComplexPoint* GetPole() const;

  // New instant centres for the type: 4 links for types 0 and 7, 8 for type 6, 6 otherwise.
  // Types outside 0..8 are ignored.
  void SetMechType(uint8_t type);
  // The input and output links' angles and the three roles' IDs, from the list's roles.
  void SetLinks(const TLinkList& links);
  // Position := the joint list's origin, then the instant centres of the mechanism type from
  // the joints; returns the path tangent.
  const shared::TComplex& ComputeICs(const TJointList& joints);
  // Perpendicular to the pole ray (or to the pole's direction when it lies at infinity).
  const shared::TComplex& PathTangent();

  // Angular velocity of link a over that of link b, by the theorem of three centres: 1.0 when
  // their relative centre lies at infinity, 1e10 when b does not turn, 0 when a does not.
  double VelocityRatio(int32_t a, int32_t b) const;
  double OutputInputRatio() const;
  // The output link's angular velocity for the input's omega.
  double OutputVelocity(double omega) const;
  // Speed of the output point for the input's omega.
  double PathVelocity(double omega) const;

  int32_t ICCount() const { return int32_t(fICs.size()); }
  int32_t LinkCount() const { return fLinkCount; }
  uint8_t MechType() const { return fMechType; }

  // "[PathPoint]" (else "File read error in TPathPoint!"), the curve point record, a version
  // line, the six values, the three IDs, MechType (outside 0..8 refused), the centres.
  void ReadFromText(std::istream& in) override;
  void WriteToText(std::ostream& out) const override;
  // The curve point and, from a path point, its values, type and centres.
  TComplex& Assign(const TComplex& source) override;
  // Every instant centre as well.
  void Clear() override;
  TPathPoint* Clone() const override;
  // Only while instant centres are shown and the pole is finite: the pole (and, selected, the
  // point itself).
  void Draw(shared::TCanvas2D& canvas) const override;

  int32_t InputID = 2;
  int32_t OutputID = 3;
  int32_t GroundID = 1;
  double Time = 0;        // s
  double InAngle = 0;     // angle of the input link (joint 1 to joint 2), rad
  double OutAngle = 0;    // angle of the output link, rad
  double TransAngle = 0;  // transmission angle, set by the mechanism
  double PathLength = 0;  // from the first path point
  double Deviation = 0;   // distance from the curve at the same parameter

 protected:
  const char* ClassName() const override { return "TPathPoint"; }

 private:
  // IC(c) := line(IC(p), IC(q)) x line(IC(r), IC(s)), pairs written as two digits (13 = 1,3).
  void Intersect(int c, int p, int q, int r, int s);

  std::vector<std::unique_ptr<TComplexPoint>> fICs;
  int32_t fLinkCount = 0;
  uint8_t fMechType = 0;
};

class TPathPointList : public TComplexPointList {
 public:
  // A mechanism holds 121.
  static constexpr int32_t kCapacity = 121;

  explicit TPathPointList(int32_t capacity = kCapacity);

  // nullptr outside 1..Count.
  TPathPoint* GetPathPoint(int32_t i) const;
  TPathPoint* GetSelectedPathPoint() const;

  // The list's Add (a point of another class comes in as a path point); an accepted point
  // continues the path length and the input and output rotations from the point before it,
  // each step's rotation wrapped to (-pi, pi] so that whole turns add up.
  TComplexPoint* Add(std::unique_ptr<TComplexPoint> item) override;
  // The last point's PathLength; 0 with fewer than two points.
  double TotalPathLength() const;
  // s := PathLength / TotalPathLength, the last point's s 1.0 (0 for the others of a path of
  // no length).
  void NormalizeParameters();
  // Deviations from the curve, and the error terms Area, OutRot and InRot. Area is that of the
  // strip between the path and the curve at equal length fractions, the steps of both sides
  // counted, so a path that cuts the curve short is not the smaller for it.
  void MakeSummary(const TSpline& curve, TErrorObject& error);
  // The distance of the point from the polyline through the path points; 1e10 for no points.
  double DistanceFrom(const shared::TComplex& point) const;
  // The smallest transmission angle, pi for an empty list.
  double MinTransmissionAngle() const;
  // Central differences of OutputVelocity and PathVelocity at point i (one-sided at the ends)
  // over steps of dt; 0 outside 1..Count or for dt not above 0.
  double OutputAcceleration(int32_t i, double dt, double omega) const;
  double PathAcceleration(int32_t i, double dt, double omega) const;
  // The path table, with the graph shown as one column (its sample i-1 for point i).
  void WriteHtml(std::ostream& out, const TGraphPaintBox& graph) const;

  // The list record, then a line that is skipped.
  void Read(std::istream& in) override;
  void Write(std::ostream& out) override;

 protected:
  std::unique_ptr<TComplexPoint> NewItem() const override;

 private:
  template <class Velocity>
  double AlongPath(int32_t i, double dt, Velocity velocity) const;
};

}  // namespace vesk
