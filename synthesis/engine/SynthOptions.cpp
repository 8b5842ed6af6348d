// The synthesis options' defaults and their block in the project file.
#include "synthesis/engine/SynthOptions.h"

#include <cmath>
#include <cstdint>

#include "synthesis/engine/ProjectText.h"

namespace vesk {

namespace {

constexpr int32_t kVersion = 1;

// The block's values in file order, for reading and writing alike; FullInRotation came with
// version 1.
template <class Io, class Options>
void Fields(Io& io, Options& o, int32_t version) {
  io.Value(o.LinkLengthPenaltyOn, " LinkLengthPenaltyOn");
  io.Value(o.MaxLinkLengthOn, " MaxLinkLengthOn");
  io.Value(o.MaxLinkLength, " MaxLinkLength");
  io.Value(o.MinTransAngle, " MinTransAngle");
  io.Value(o.MaxPathDeviationAngle, " MaxPathDeviationAngle");
  io.Value(o.MaxDistToArea, " MaxDistToArea");
  if (version > 0) io.Value(o.FullInRotation, " FullInRotation");
}

}  // namespace

TSynthOptions SynthOptions;

void TSynthOptions::SetDefaults() {
  TSpline* const spline = Spline;
  *this = TSynthOptions();
  Spline = spline;
}

void TSynthOptions::ReadFromText(std::istream& in) {
  TProjectReader reader(in, "TSynthOptions");
  reader.Section("[SynthOptions]");
  const int32_t version = reader.Version();
  TSynthOptions read = *this;
  Fields(reader, read, version);
  // A non-finite limit would make every comparison of the rating false.
  for (double value :
       {read.MaxLinkLength, read.MinTransAngle, read.MaxPathDeviationAngle, read.MaxDistToArea})
    if (!std::isfinite(value)) reader.Fail();
  *this = read;
}

void TSynthOptions::WriteToText(std::ostream& out) const {
  TProjectWriter writer(out);
  writer.Line("[SynthOptions]");
  writer.Version(kVersion);
  Fields(writer, *this, kVersion);
}

}  // namespace vesk
