// The placement transform of DXF objects.
#include "shared/dxf/DXFTransForm.h"

#include <cmath>

namespace shared {

void TDXFTransForm::Identity() {
  M11 = 1;
  M12 = 0;
  M21 = 0;
  M22 = 1;
}

void TDXFTransForm::SetScaleRotation(double angle, double scaleX, double scaleY) {
  Angle = angle;
  const double c = std::cos(angle), s = std::sin(angle);
  M11 = c * scaleX;
  M12 = -s * scaleY;
  M21 = s * scaleX;
  M22 = c * scaleY;
}

void TDXFTransForm::SetAll(double offsetX, double offsetY, double angle, double scaleX, double scaleY) {
  OffsetX = offsetX;
  OffsetY = offsetY;
  SetScaleRotation(angle, scaleX, scaleY);
}

void TDXFTransForm::Assign(const TDXFTransForm* other) {
  if (other != nullptr) *this = *other;
}

void TDXFTransForm::Apply(TComplex& p) const {
  const double x = p.X, y = p.Y;
  p.X = M11 * x + M12 * y + OffsetX;
  p.Y = M21 * x + M22 * y + OffsetY;
}

TComplex TDXFTransForm::Applied(const TComplex& p) const {
  TComplex q(p.X, p.Y);
  Apply(q);
  return q;
}

void TDXFTransForm::Compose(const TDXFTransForm& other) {
  const double ox = M11 * other.OffsetX + M12 * other.OffsetY + OffsetX;
  const double oy = M21 * other.OffsetX + M22 * other.OffsetY + OffsetY;
  const double m11 = M11 * other.M11 + M12 * other.M21, m12 = M11 * other.M12 + M12 * other.M22;
  const double m21 = M21 * other.M11 + M22 * other.M21, m22 = M21 * other.M12 + M22 * other.M22;
  OffsetX = ox;
  OffsetY = oy;
  M11 = m11;
  M12 = m12;
  M21 = m21;
  M22 = m22;
  Angle += other.Angle;
}

void TDXFTransForm::SubtractOffset(const TComplex& p) {
  OffsetX -= p.X;
  OffsetY -= p.Y;
}

bool TDXFTransForm::IsFinite() const {
  for (const double v : {OffsetX, OffsetY, M11, M12, M21, M22})
    if (!std::isfinite(v)) return false;
  return true;
}

}  // namespace shared
