// Project file checksum reader on arbitrary bytes: any input gives a status, never a crash; the
// bytes signed in memory, as a save signs them, verify.
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
  std::string text(reinterpret_cast<const char*>(data), size);
  validate.Sign(text);
  std::istringstream signedText(text);
  if (validate.StatusCode != 0 || !validate.Verify(signedText)) __builtin_trap();
  return 0;
}
