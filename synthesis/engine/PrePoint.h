// TPrePoint and TPrePointList: the synthesis engine's curve point (position, tangent, prescribed
// input and output rotations, curve parameter) and a mechanism's nine precision points.
#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>

#include "shared/Complex.h"
#include "shared/TabLine.h"
#include "synthesis/engine/ComplexPoint.h"

namespace vesk {

class TSpline;

class TPrePoint : public TComplexPoint {
 public:
  TPrePoint() = default;
  TPrePoint(double x, double y) : TComplexPoint(x, y) {}

  // A control point's spline tangent (not normalised), an evaluated point's unit tangent.
  shared::TComplex Direction;
  // Input-link and output-body rotation from the first point, radians.
  double In = 0;
  double Out = 0;
  // Curve parameter: 0 at the first control point, 1 at the last.
  double s = 0;

  // The point record, a version line, the Direction vector record, In, Out, s.
  void ReadFromText(std::istream& in) override;
  void WriteToText(std::ostream& out) const override;
  // Direction, In, Out and s come along from a curve point.
  TComplex& Assign(const TComplex& source) override;
  TPrePoint* Clone() const override;
  // The point, then a line 36 pixels long at the angle Out, unless the owner is a curve
  // without output rotations.
  void Draw(shared::TCanvas2D& canvas) const override;

  // The animator's curve point record: X, Y, Direction X, Direction Y, In, Out, s.
  void WriteCurveRecord(shared::TTabLines& lines = shared::TabLines()) const;

 protected:
  const char* ClassName() const override { return "TPrePoint"; }
};

// The item as a curve point: a point of another class is copied into a new TPrePoint, so that
// the curve and precision-point lists hold curve points only.
std::unique_ptr<TComplexPoint> AsPrePoint(std::unique_ptr<TComplexPoint> item);

class TPrePointList : public TComplexPointList {
 public:
  // A mechanism holds nine.
  explicit TPrePointList(int32_t capacity = 9);

  // nullptr outside 1..Count.
  TPrePoint* GetPoint(int32_t i) const;
  TPrePoint* GetSelectedPoint() const;

  // Nine points along a valid curve: 1, 5 and 9 at s = 0, a and 1 with a = 0.1 + 0.8 r (one
  // draw), three evenly between each; the curve's ID and settings come along. Nothing for a
  // curve that is not valid. On a closed curve, where s = 1 is point 1 again, the nine points
  // take 8/9 of the loop (every s times 8/9), as if a tenth closed it.
  void FromSpline(const TSpline& curve);

  // Points of another class come in as curve points.
  TComplexPoint* Add(std::unique_ptr<TComplexPoint> item) override;
  // The list record, a version line, ID, the six settings, ZeroOutRotations; version 1 (written
  // for points of a closed curve only) then Closed.
  void Read(std::istream& in) override;
  void Write(std::ostream& out) override;
  // The ID, the settings, ZeroOutRotations and Closed come along from precision points.
  void Assign(const TComplexPointList& source) override;

  // The ID of the curve the points were taken from.
  int32_t ID = -2;
  bool In = false;
  bool InTotal = false;
  double TotalIn = 1.0;
  bool Out = false;
  bool OutTotal = false;
  double TotalOut = 1.0;
  // The curve prescribes output rotations and every one of them is 0.
  bool ZeroOutRotations = false;
  // Taken from a closed curve: the last point stands short of the curve's end, and the path
  // runs on round the loop.
  bool Closed = false;

 protected:
  std::unique_ptr<TComplexPoint> NewItem() const override;

 private:
  template <class Io>
  void Fields(Io& io);
};

}  // namespace vesk
