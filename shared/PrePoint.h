// TPrePoint: a control point of the animator's target curve (position, direction and three
// interpolated values) and its seven-number record line of the "Curve" section.
#pragma once

#include <cstdint>
#include <istream>

#include "shared/Complex.h"
#include "shared/TabLine.h"

namespace shared {

class TPrePoint : public TComplex {
 public:
  TPrePoint() = default;
  TPrePoint(double x, double y) : TComplex(x, y) {}

  int32_t Id = 0;
  bool Selected = false;
  // The curve's direction at the point: the solved spline tangent of a control point, the unit
  // tangent of a sample.
  TComplex Direction;
  // Input and output rotation at the point, radians.
  double In = 0;
  double Out = 0;
  // Curve parameter: arc-length fraction of a control point after a rebuild.
  double s = 0;

  // X, Y from any TComplex; Direction, In, Out and s too from a TPrePoint. Id and Selected stay.
  TComplex& Assign(const TComplex& other) override;
  // A new point owned by the caller: Id 0, not selected.
  TPrePoint* Clone() const override;

  // The record: X, Y, Direction.X, Direction.Y, In, Out, s; missing fields read as 0.
  void ReadTabLine(TTabLines& lines = TabLines());
  void WriteTabLine(TTabLines& lines = TabLines()) const;

  // The old text form: a header line, Id, the position as a "[Vector]" record, two lines that
  // are skipped, Direction as a "[Vector]" record, then In, Out and s one per line.
  // Raises EFileReadError ("File read error in TPrePoint!") on a short or malformed record.
  virtual void ReadLegacyText(std::istream& in);

  // Within the square of half side tolerance about the point, bounds included.
  bool HitTest(const TComplex& p, double tolerance) const;
  // With extend, a selected point stays selected whatever the result.
  bool HitTestSelect(const TComplex& p, bool extend, double tolerance);
};

}  // namespace shared
