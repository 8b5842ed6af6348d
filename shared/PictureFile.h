// Picture files of the views: 4-bit BMP with the 16-colour VGA palette and JPEG through the
// IJG codec. Both write to a temporary file beside the target and rename it into place. BMP
// pictures are read back too (the film export assembles its frames from them).
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

// An uncompressed BMP picture (1, 4, 8, 24 or 32 bits per pixel, rows bottom-up or top-down) as
// an opaque raster. ReadBmp raises std::runtime_error with the reason; LoadBmpFile names the file.
TRaster ReadBmp(const std::string& bytes);
TRaster LoadBmpFile(const std::string& fileName);

}  // namespace shared
