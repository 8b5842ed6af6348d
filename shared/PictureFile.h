// Picture files of the views: 4-bit BMP with the 16-colour VGA palette and JPEG through the
// IJG codec. Both write to a temporary file beside the target and rename it into place.
#pragma once

#include <array>
#include <string>

#include "shared/PaintSurface.h"

namespace shared {

// The standard VGA palette in the order of the default 4-bit bitmap palette.
extern const std::array<TColor, 16> kVga16Palette;

// Index of the nearest palette colour (squared RGB distance, the lower index on a tie).
int NearestVga16Index(TColor color);
// Every pixel replaced by its nearest palette colour (opaque).
void QuantizeToVga16(TRaster& raster);

// Raise std::runtime_error naming the file when it cannot be written or the raster is empty.
void SaveBmpFile(const std::string& fileName, const TRaster& raster);
void SaveJpegFile(const std::string& fileName, const TRaster& raster, int quality = 90);

}  // namespace shared
