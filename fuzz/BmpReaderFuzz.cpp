// libFuzzer target of the BMP reader that the film export feeds its pictures through.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "shared/PictureFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const shared::TRaster raster = shared::ReadBmp(std::string(reinterpret_cast<const char*>(data), size));
    // A picture read is whole: one pixel per place, every one opaque.
    if (raster.Pixels.size() != size_t(raster.Width) * size_t(raster.Height)) __builtin_trap();
    for (const uint32_t pixel : raster.Pixels)
      if (pixel >> 24 != 0xFF) __builtin_trap();
  } catch (const std::runtime_error&) {
  }
  return 0;
}
