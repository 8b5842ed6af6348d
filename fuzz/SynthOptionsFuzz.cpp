// The synthesis options block from any text: it reads or is refused with the read error, a
// refused block changes no option, and a block that reads writes one that reads back the same.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "shared/Complex.h"
#include "synthesis/engine/SynthOptions.h"

namespace {

std::string Written(const vesk::TSynthOptions& options) {
  std::ostringstream out;
  options.WriteToText(out);
  return out.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  vesk::TSynthOptions options;
  options.FullInRotation = size % 2 == 1;
  const std::string before = Written(options);
  std::istringstream in(text);
  try {
    options.ReadFromText(in);
  } catch (const shared::EFileReadError&) {
    if (Written(options) != before) std::abort();
    return 0;
  }
  const std::string once = Written(options);
  vesk::TSynthOptions again;
  std::istringstream back(once);
  again.ReadFromText(back);
  if (Written(again) != once) std::abort();
  return 0;
}
