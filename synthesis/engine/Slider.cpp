// The slider four-bar: the four-bar's layout, synthesis and motion with the rocker as a guide.
#include "synthesis/engine/Slider.h"

#include "synthesis/engine/ComplexLine.h"

namespace vesk {

using shared::TComplex;

namespace {
// The rocker stays nearly parallel to itself: it stands for a straight guide.
constexpr double kSliderMaxAngle = 0.001;
constexpr uint8_t kSliderMode = 4;
}  // namespace

TSlider::TSlider() {
  MechanismType = kSliderType;
  Name = "Slider Four Bar";
  MakeDefault();
}

void TSlider::MakeDefault() {
  TMechanism::MakeDefault();
  TComplexPoint& j3 = JointAt(3);
  j3.X = 0;
  j3.Y = 1;
  j3.Inf = true;
  TLink& rocker = LinkAt(4);
  rocker.SetMode(kSliderMode);
  rocker.MaxAngle = kSliderMaxAngle;
  Links.AssignRoles();
  Modified = false;
}

std::unique_ptr<TMechanism> TSlider::Clone() const {
  auto copy = std::make_unique<TSlider>();
  copy->Assign(*this);
  return copy;
}

bool TSlider::Synthesize() {
  const bool result = TFourbar::Synthesize();
  if (!result) return result;
  TLink& rocker = LinkAt(4);
  if (TComplexLine* guide = rocker.GuideLine()) {
    // Across the rocker at J4, as far as the rocker turns over the path.
    TComplex w;
    w.Sub(JointAt(4), JointAt(3));
    const double theta9 = rocker.Rot[9];
    TComplexPoint end(JointAt(4).X - w.Y * theta9, JointAt(4).Y + w.X * theta9);
    TComplexPoint start(JointAt(4).X, JointAt(4).Y);
    guide->SetEndpoints(start, end);
  }
  return result;
}

}  // namespace vesk
