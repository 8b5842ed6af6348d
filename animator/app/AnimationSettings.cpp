// Reading and writing of the "Animation" settings, value for value from one table.
#include "animator/app/AnimationSettings.h"

#include <charconv>
#include <cmath>

#include "shared/RealText.h"
#include "shared/Settings.h"

namespace quillon {

namespace {

struct TColourValue {
  const char* Name;
  uint32_t TAnimationSettings::*Field;
};

constexpr TColourValue kColours[] = {
    {"JointColor", &TAnimationSettings::JointColor}, {"LinkColor", &TAnimationSettings::LinkColor},
    {"EdgeColor", &TAnimationSettings::EdgeColor},   {"PathColor", &TAnimationSettings::PathColor},
    {"VelColor", &TAnimationSettings::VelColor},     {"AccColor", &TAnimationSettings::AccColor},
    {"ICColor", &TAnimationSettings::ICColor},       {"LabelColor", &TAnimationSettings::LabelColor},
    {"GridColor", &TAnimationSettings::GridColor},
};

struct TSwitchValue {
  const char* Name;
  bool TAnimationSettings::*Field;
};

constexpr TSwitchValue kSwitches[] = {
    {"ShowInstCenters", &TAnimationSettings::ShowInstCenters},
    {"ShowJointLabels", &TAnimationSettings::ShowJointLabels},
    {"ShowVelocity", &TAnimationSettings::ShowVelocity},
    {"ShowAcceleration", &TAnimationSettings::ShowAcceleration},
};

}  // namespace

void TAnimationSettings::Read(const shared::TSettings& settings, int32_t graphHeight) {
  const char* s = kAnimationSection;
  for (const TColourValue& value : kColours) {
    this->*value.Field =
        static_cast<uint32_t>(settings.ReadInteger(s, value.Name, static_cast<int>(this->*value.Field)));
  }
  for (const TSwitchValue& value : kSwitches) {
    this->*value.Field = settings.ReadBool(s, value.Name, this->*value.Field);
  }
  Speed = settings.ReadInteger(s, "Speed", Speed);
  const int32_t steps = settings.ReadInteger(s, "Steps", Steps);
  if (steps > 0) Steps = steps;
  double space = 0;
  if (shared::ParseReal(settings.ReadString(s, "GridSpace", FormatGridSpace(GridSpace)), space) &&
      std::isfinite(space) && space > 0) {
    GridSpace = space;
  }
  const int32_t background = settings.ReadInteger(s, "Background", static_cast<int>(Background));
  if (background >= 0 && background <= static_cast<int>(shared::TGridStyle::Background))
    Background = static_cast<shared::TGridStyle>(background);
  GraphHeight = graphHeight;
  const int32_t height = settings.ReadInteger(s, "GraphHeight", graphHeight);
  if (height >= 0) GraphHeight = height;
}

void TAnimationSettings::Write(shared::TSettings& settings) const {
  const char* s = kAnimationSection;
  for (const TColourValue& value : kColours) {
    settings.WriteInteger(s, value.Name, static_cast<int>(this->*value.Field));
  }
  for (const TSwitchValue& value : kSwitches) settings.WriteBool(s, value.Name, this->*value.Field);
  settings.WriteInteger(s, "Speed", Speed);
  settings.WriteInteger(s, "Steps", Steps);
  settings.WriteString(s, "GridSpace", FormatGridSpace(GridSpace));
  settings.WriteInteger(s, "Background", static_cast<int>(Background));
  settings.WriteInteger(s, "GraphHeight", GraphHeight);
}

std::string FormatGridSpace(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 4);
  std::string text(buffer, result.ptr);
  if (text.size() < 8) text.insert(0, 8 - text.size(), ' ');
  return text;
}

}  // namespace quillon
