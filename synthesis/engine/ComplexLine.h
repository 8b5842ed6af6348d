// TComplexLine: a line segment of the output-link drawing, which also serves as a construction
// line with an intersection, and its end-point dragging with the 15-degree snap.
#pragma once

#include <istream>
#include <memory>
#include <ostream>

#include "shared/Complex.h"
#include "shared/GeneralObject.h"
#include "synthesis/engine/ComplexPoint.h"

namespace vesk {

class TComplexLine : public shared::TGeneralObject {
 public:
  TComplexLine() = default;
  TComplexLine(double x1, double y1, double x2, double y2);

  // Set from the end points by SetEndpoints, LineAngle and SetLineAngle only.
  shared::TComplex Base;
  shared::TComplex Direction;  // not normalised
  shared::TComplex Point1;
  shared::TComplex Point2;
  // The end point the last hit test caught: &Point1, &Point2 or nullptr.
  mutable shared::TComplex* Grabbed = nullptr;

  // A point at infinity holds a direction: the end it stands for lies that far from the other.
  void SetEndpoints(const TComplexPoint& a, const TComplexPoint& b);
  // Parallel lines, or a crossing more than 100000 directions away, give a point at infinity in
  // this line's direction.
  void Intersect(const TComplexLine& other, TComplexPoint& result) const;
  // Base := the fixed end (the one not grabbed), Direction := moving end - fixed end; the angle
  // of Direction in (-pi, pi].
  double LineAngle();
  // Turns the moving end about the fixed end, keeping the length.
  void SetLineAngle(double angle);
  // Without a grabbed end the line moves by point - previous; a grabbed end goes to the point,
  // and the line snaps to a multiple of 15 degrees within 3 degrees of it.
  void DragTo(const shared::TComplex& point, const shared::TComplex& previous);

  // The seven general-object lines, "0", then the two end points as vector records.
  void ReadFromText(std::istream& in) override;
  void WriteToText(std::ostream& out) override;
  // The general fields and both end points.
  void Assign(const shared::TGeneralObject* source) override;
  std::unique_ptr<shared::TGeneralObject> Clone() const override;
  // "Line " + Id.
  void MakeDefaultName() override;
  void Draw(shared::TCanvas2D& canvas) override;
  void DrawTransformed(shared::TCanvas2D& canvas, const shared::TDXFTransForm& transform) override;
  // Grabs an end within the tolerance (Point1 before Point2), else tests the segment itself.
  bool HitTest(const shared::TComplex& point, double tolerance) const override;
  void UpdateExtent(shared::TComplex& min, shared::TComplex& max) const override;

 private:
  void DrawSegment(shared::TCanvas2D& canvas, const shared::TComplex& p1, const shared::TComplex& p2);
  shared::TComplex& FixedEnd() { return Grabbed == &Point1 ? Point2 : Point1; }
  shared::TComplex& MovingEnd() { return Grabbed == &Point1 ? Point1 : Point2; }
};

}  // namespace vesk
