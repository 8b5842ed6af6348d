// TArea and TAreaList: the rectangles in which the fixed pivots, or the moving pivots on the
// output body, of a synthesised mechanism should lie; how far a link's pivots lie outside them,
// and random pivot positions inside them.
#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>
#include <string>

#include "shared/Complex.h"
#include "synthesis/engine/ComplexPoint.h"

namespace vesk {

class TLink;

class TArea : public TComplexPoint {
 public:
  // Joint restrictions 1..kMaxJoint name a joint; 0 admits every joint.
  static constexpr int32_t kMaxJoint = 11;

  TArea() = default;
  TArea(double x1, double y1, double x2, double y2) : TComplexPoint(x1, y1), Corner2(x2, y2) {}

  // The first corner is the point itself (X, Y).
  shared::TComplex Corner2;
  // The corner caught by the last IsNear: 0 none, 1 (xmin, ymin), 2 (xmin, ymax), 3 (xmax,
  // ymax), 4 (xmax, ymin).
  mutable int32_t GrabbedCorner = 0;
  // The only joint (by index) the area admits; 0 admits all. Showing a value outside 0..11
  // resets it to 0.
  mutable int32_t Joint = 0;

  // The first corner takes the minima, Corner2 the maxima.
  void Normalize();
  double Width() const;
  double Height() const;
  bool IsEmpty() const;
  // Within the tolerance of an edge and within the edge's extent; sets GrabbedCorner. The
  // corners are those of the normalised rectangle.
  bool IsNear(const shared::TComplex& point, double tolerance) const override;
  // Moves the grabbed corner (after normalising) to the point; nothing when none is grabbed.
  void MoveCorner(const shared::TComplex& point);
  // 1.0 inside; outside, the square of 1 + the larger overshoot in widths or heights; 1e10 for
  // a joint the area does not admit (jointIndex: the joint's index in its list).
  double DistanceFactor(const shared::TComplex& point, int32_t jointIndex);
  double DistanceFactor(const TComplexPoint& joint) { return DistanceFactor(joint, joint.Index()); }
  // A uniform point of the rectangle (two draws, x first).
  void RandomPoint(shared::TComplex& out);
  // The joint's letter, or "All".
  std::string JointName() const;
  // Index, a blank, JointName.
  std::string GetName() const override;

  // The point record, a version line, Corner2 and (from version 1 on) Joint.
  void ReadFromText(std::istream& in) override;
  void WriteToText(std::ostream& out) const override;
  // Corner2 and Joint come along from an area.
  TComplex& Assign(const TComplex& source) override;
  TArea* Clone() const override;
  // Inside a list only: the dotted rectangle, the enlarged outline at the list's MaxDistToArea,
  // the corner markers and the label.
  void Draw(shared::TCanvas2D& canvas) const override;

 protected:
  const char* ClassName() const override { return "TArea"; }
};

class TAreaList : public TComplexPointList {
 public:
  // The program's two lists hold 20.
  explicit TAreaList(int32_t capacity = 20);

  // nullptr outside 1..Count.
  TArea* GetArea(int32_t i) const;
  TArea* GetSelectedArea() const;

  // The smallest DistanceFactor over the areas, scanned from the last, stopping at the first
  // area that admits the point; 1.0 for an empty list.
  double PointFactor(const shared::TComplex& point, int32_t jointIndex) const;
  double PointFactor(const TComplexPoint& joint) const { return PointFactor(joint, joint.Index()); }
  // The largest PointFactor of the link's pivots, at least 1.0: the finite joints of a ground
  // link, the joints of the output body relative to its output joint and placed at Origin. 1.0
  // for other links and for an empty list.
  double LinkFactor(const TLink& link) const;
  // Widens min and max by both corners of every area.
  void GetExtents(shared::TComplex& min, shared::TComplex& max) const;
  // Deletes every area of no width or height.
  void RemoveEmpty();
  // A random point of a randomly chosen area, relative to Origin; out unchanged without areas.
  void RandomPoint(shared::TComplex& out) const;
  // A table of the areas in display units, the list's name escaped.
  void WriteHtml(std::ostream& out) const;

  // Areas of another class come in as areas.
  TComplexPoint* Add(std::unique_ptr<TComplexPoint> item) override;
  // The list record, a version line, ID.
  void Read(std::istream& in) override;
  void Write(std::ostream& out) override;
  // ID and Origin come along from an area list.
  void Assign(const TComplexPointList& source) override;

  int32_t ID = -1;
  // The point the areas are relative to: for the coupler-pivot areas the origin of the
  // output-body drawing.
  shared::TComplex Origin;
  // The synthesis option MaxDistToArea, for the enlarged outline of each area; the program
  // keeps it equal to the option.
  double MaxDistToArea = 1.0;

 protected:
  std::unique_ptr<TComplexPoint> NewItem() const override;
};

}  // namespace vesk
