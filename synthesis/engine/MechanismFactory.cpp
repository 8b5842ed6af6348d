// The mechanism of a type number and the type layouts.
#include "synthesis/engine/MechanismFactory.h"

#include <algorithm>

#include "synthesis/engine/Eightbar.h"
#include "synthesis/engine/FiveBar.h"
#include "synthesis/engine/Fourbar.h"
#include "synthesis/engine/ProjectText.h"
#include "synthesis/engine/SixBar.h"
#include "synthesis/engine/Slider.h"

namespace vesk {

namespace {

// The default layouts of the chain types; the operations of a type index these joints.
const std::vector<TMechanismLayout>& Layouts() {
  static const std::vector<TMechanismLayout> layouts = {
      {kFourbarType, 5, {{1, 3}, {1, 2}, {2, 4, 5}, {3, 4}}},
      {kWatt1Type, 8, {{1, 4}, {1, 2}, {2, 3, 5}, {3, 4, 6}, {6, 7}, {5, 7, 8}}},
      {kWatt2Type, 8, {{1, 4, 7}, {1, 2}, {2, 3}, {3, 4, 5}, {5, 6, 8}, {6, 7}}},
      {kStephenson1Type, 8, {{1, 4}, {1, 2, 3}, {2, 5}, {4, 5, 6}, {3, 7}, {6, 7, 8}}},
      {kStephenson3Type, 8, {{1, 3, 6}, {1, 2}, {2, 4, 5}, {3, 4}, {6, 7}, {5, 7, 8}}},
      {kEightbarType, 10, {{1, 4, 9}, {1, 2}, {2, 3, 5}, {4, 3}, {3, 7, 8}, {9, 8}, {6, 7}, {5, 6, 10}}},
      {kSliderType, 5, {{1, 3}, {1, 2}, {2, 4, 5}, {3, 4}}},
      {kFiveBarType, 8, {{1, 4}, {1, 3, 2}, {2, 5}, {4, 6, 5}, {3, 7}, {6, 7, 8}}},
  };
  return layouts;
}

}  // namespace

bool IsStoredMechanismType(uint8_t type) { return MechanismLayout(type) != nullptr; }

bool IsSameMechanismClass(uint8_t a, uint8_t b) {
  auto chain = [](uint8_t t) { return t == kUnusedFourbarType ? kFourbarType : t; };
  return chain(a) == chain(b);
}

const TMechanismLayout* MechanismLayout(uint8_t type) {
  // Type 4 is a four-bar.
  if (type == kUnusedFourbarType) type = kFourbarType;
  const auto& layouts = Layouts();
  const auto it = std::find_if(layouts.begin(), layouts.end(), [type](const auto& l) { return l.Type == type; });
  return it == layouts.end() ? nullptr : &*it;
}

bool HasTypeLayout(const TMechanism& mechanism) {
  const TMechanismLayout* layout = MechanismLayout(mechanism.MechanismType);
  if (!layout || mechanism.Joints.Count() != layout->JointCount ||
      mechanism.Links.Count() != int32_t(layout->Links.size()))
    return false;
  for (int32_t n = 1; n <= mechanism.Links.Count(); ++n) {
    const TLink& link = *mechanism.Links.GetLink(n);
    const std::vector<int32_t>& joints = layout->Links[size_t(n - 1)];
    if (link.JointCount() != int32_t(joints.size())) return false;
    for (int32_t k = 1; k <= link.JointCount(); ++k) {
      const TJoint* joint = link.Joint(k);
      if (!joint || joint->Index() != joints[size_t(k - 1)]) return false;
    }
  }
  return true;
}

std::unique_ptr<TMechanism> NewMechanism(uint8_t type) {
  switch (type) {
    case kFourbarType:
    case kUnusedFourbarType:
      return std::make_unique<TFourbar>();
    case kWatt1Type:
      return std::make_unique<TSixBarW1>();
    case kWatt2Type:
      return std::make_unique<TSixBarW2>();
    case kStephenson1Type:
      return std::make_unique<TSixBarS1>();
    case kStephenson3Type:
      return std::make_unique<TSixBarS3>();
    case kEightbarType:
      return std::make_unique<TEightbar>();
    case kSliderType:
      return std::make_unique<TSlider>();
    case kFiveBarType:
      return std::make_unique<TFiveBar>();
    default:
      return std::make_unique<TMechanism>();
  }
}

}  // namespace vesk
