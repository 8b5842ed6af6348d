// TDXFTransForm: the planar affine transform (offset, angle, 2x2 matrix) that places DXF objects,
// drawings and other drawn objects on a canvas.
#pragma once

#include "shared/Complex.h"

namespace shared {

class TDXFTransForm {
 public:
  double OffsetX = 0;
  double OffsetY = 0;
  // The turn of the transform: set by SetScaleRotation, summed by Compose; text adds it to its
  // own rotation, so text in a turned block or on a turning link turns with it.
  double Angle = 0;
  double M11 = 1;
  double M12 = 0;
  double M21 = 0;
  double M22 = 1;

  // Matrix := identity; offset and Angle stay.
  void Identity();
  // Scales along the object's own axes first, then the rotation.
  void SetScaleRotation(double angle, double scaleX, double scaleY);
  void SetAll(double offsetX, double offsetY, double angle, double scaleX, double scaleY);
  void Reset() { SetAll(0, 0, 0, 1, 1); }
  // A missing other is ignored.
  void Assign(const TDXFTransForm* other);
  // p := M·p + offset.
  void Apply(TComplex& p) const;
  TComplex Applied(const TComplex& p) const;
  // this := this after other (other acts first); the angles add.
  void Compose(const TDXFTransForm& other);
  void SubtractOffset(const TComplex& p);
  // Offset and matrix are finite numbers: scales composed beyond the double range are not.
  bool IsFinite() const;
};

}  // namespace shared
