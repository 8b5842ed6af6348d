// The synthesis options' defaults and their block in the project file.
#include "synthesis/engine/SynthOptions.h"

#include <cmath>

#include "synthesis/engine/ProjectText.h"

namespace vesk {

TSynthOptions SynthOptions;

void TSynthOptions::SetDefaults() {
  TSpline* const spline = Spline;
  *this = TSynthOptions();
  Spline = spline;
}

void TSynthOptions::ReadFromText(std::istream& in) {
  TProjectReader reader(in, "TSynthOptions");
  // A non-finite limit would make every comparison of the rating false.
  auto real = [&reader] {
    const double value = reader.Real();
    if (!std::isfinite(value)) reader.Fail();
    return value;
  };
  reader.Section("[SynthOptions]");
  const int32_t version = reader.Version();
  TSynthOptions read = *this;
  read.LinkLengthPenaltyOn = reader.Bool();
  read.MaxLinkLengthOn = reader.Bool();
  read.MaxLinkLength = real();
  read.MinTransAngle = real();
  read.MaxPathDeviationAngle = real();
  read.MaxDistToArea = real();
  if (version > 0) read.FullInRotation = reader.Bool();
  *this = read;
}

void TSynthOptions::WriteToText(std::ostream& out) const {
  TProjectWriter writer(out);
  writer.Line("[SynthOptions]");
  writer.Version(1);
  writer.Bool(LinkLengthPenaltyOn, " LinkLengthPenaltyOn");
  writer.Bool(MaxLinkLengthOn, " MaxLinkLengthOn");
  writer.Real(MaxLinkLength, " MaxLinkLength");
  writer.Real(MinTransAngle, " MinTransAngle");
  writer.Real(MaxPathDeviationAngle, " MaxPathDeviationAngle");
  writer.Real(MaxDistToArea, " MaxDistToArea");
  writer.Bool(FullInRotation, " FullInRotation");
}

}  // namespace vesk
