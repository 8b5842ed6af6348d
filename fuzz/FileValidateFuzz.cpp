// Project file checksum reader on arbitrary bytes: any input gives a status, never a crash.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "synthesis/engine/FileValidate.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vesk::TFileValidate validate;
  validate.Key = "quintabole";
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  const bool valid = validate.Verify(in);
  if (valid != (validate.StatusCode == 0) || validate.StatusCode < 0 || validate.StatusCode > 3) __builtin_trap();
  return 0;
}
