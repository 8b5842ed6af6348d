// The solution list's record as a project file holds it: read or refused with a read error; one
// that reads must write a text that reads back and writes the same again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "shared/Complex.h"
#include "synthesis/engine/InputFunction.h"
#include "synthesis/engine/MechanismList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::CreateServices();
  vesk::CreateDefaultInputFunction();
  const std::string text(reinterpret_cast<const char*>(data), size);
  vesk::TMechanismList first;
  std::istringstream in(text);
  try {
    first.Read(in);
  } catch (const shared::EFileReadError&) {
    if (first.Count() != 0 || first.Current) std::abort();
    return 0;
  }
  std::ostringstream once;
  first.Write(once);
  vesk::TMechanismList second;
  std::istringstream again(once.str());
  second.Read(again);  // a written record that does not read back is a fault: let it escape
  std::ostringstream twice;
  second.Write(twice);
  if (twice.str() != once.str()) std::abort();
  return 0;
}
