// TSlider: mechanism type 7, a four-bar whose very long rocker stands for a slider on a guide
// line through its ground pivot.
#pragma once

#include "synthesis/engine/Fourbar.h"

namespace vesk {

class TSlider : public TFourbar {
 public:
  TSlider();

  // The default four-bar with joint 3 at infinity straight up and link 4 a slider.
  void MakeDefault() override;
  std::unique_ptr<TMechanism> Clone() const override;
  // The four-bar's synthesis; link 4's guide line then runs from J4 across the rocker.
  bool Synthesize() override;
};

}  // namespace vesk
