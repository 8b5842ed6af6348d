// BMP (4 bits per pixel, VGA palette) and JPEG writers for the pictures of the views.
#include "shared/PictureFile.h"

#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "shared/FilePath.h"

namespace shared {

const std::array<TColor, 16> kVga16Palette = {
    MakeColor(0x00, 0x00, 0x00), MakeColor(0x80, 0x00, 0x00), MakeColor(0x00, 0x80, 0x00),
    MakeColor(0x80, 0x80, 0x00), MakeColor(0x00, 0x00, 0x80), MakeColor(0x80, 0x00, 0x80),
    MakeColor(0x00, 0x80, 0x80), MakeColor(0xC0, 0xC0, 0xC0), MakeColor(0x80, 0x80, 0x80),
    MakeColor(0xFF, 0x00, 0x00), MakeColor(0x00, 0xFF, 0x00), MakeColor(0xFF, 0xFF, 0x00),
    MakeColor(0x00, 0x00, 0xFF), MakeColor(0xFF, 0x00, 0xFF), MakeColor(0x00, 0xFF, 0xFF),
    MakeColor(0xFF, 0xFF, 0xFF),
};

int NearestVga16Index(TColor color) {
  int best = 0;
  int bestDistance = 0;
  for (int i = 0; i < 16; ++i) {
    const TColor p = kVga16Palette[size_t(i)];
    const int dr = int(RedOf(color)) - RedOf(p);
    const int dg = int(GreenOf(color)) - GreenOf(p);
    const int db = int(BlueOf(color)) - BlueOf(p);
    const int distance = dr * dr + dg * dg + db * db;
    if (i == 0 || distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return best;
}

void QuantizeToVga16(TRaster& raster) {
  // Pictures hold few colours: remember the last one.
  uint32_t lastIn = 0, lastOut = 0;
  bool haveLast = false;
  for (uint32_t& pixel : raster.Pixels) {
    const TColor c = pixel & 0xFFFFFF;
    if (!haveLast || c != lastIn) {
      lastIn = c;
      lastOut = 0xFF000000u | kVga16Palette[size_t(NearestVga16Index(c))];
      haveLast = true;
    }
    pixel = lastOut;
  }
}

namespace {

// Pictures are written beside the target under this suffix, then renamed into place.
constexpr const char* kTemporarySuffix = ".tmp~";

std::string FailurePrefix(const std::string& fileName) {
  return "Cannot write picture file \"" + fileName + "\": ";
}

[[noreturn]] void Fail(const std::string& fileName, const std::string& why) {
  throw std::runtime_error(FailurePrefix(fileName) + why);
}

void CheckRaster(const std::string& fileName, const TRaster& raster) {
  if (raster.Width <= 0 || raster.Height <= 0 ||
      raster.Pixels.size() != size_t(raster.Width) * size_t(raster.Height))
    Fail(fileName, "the picture is empty");
}

void PutLE(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(char((value >> (8 * i)) & 0xFF));
}

}  // namespace

void SaveBmpFile(const std::string& fileName, const TRaster& raster) {
  CheckRaster(fileName, raster);
  const uint32_t width = uint32_t(raster.Width), height = uint32_t(raster.Height);
  const uint32_t rowBytes = ((width * 4 + 31) / 32) * 4;
  const uint32_t headerBytes = 14 + 40 + 16 * 4;
  const uint32_t imageBytes = rowBytes * height;
  std::string data;
  data.reserve(headerBytes + imageBytes);
  // BITMAPFILEHEADER
  data += "BM";
  PutLE(data, headerBytes + imageBytes, 4);
  PutLE(data, 0, 4);
  PutLE(data, headerBytes, 4);
  // BITMAPINFOHEADER: bottom-up rows, no compression, 16 palette entries.
  PutLE(data, 40, 4);
  PutLE(data, width, 4);
  PutLE(data, height, 4);
  PutLE(data, 1, 2);
  PutLE(data, 4, 2);
  PutLE(data, 0, 4);
  PutLE(data, imageBytes, 4);
  PutLE(data, 0, 4);
  PutLE(data, 0, 4);
  PutLE(data, 16, 4);
  PutLE(data, 0, 4);
  // RGBQUAD entries: blue, green, red, reserved.
  for (TColor c : kVga16Palette) {
    data.push_back(char(BlueOf(c)));
    data.push_back(char(GreenOf(c)));
    data.push_back(char(RedOf(c)));
    data.push_back(0);
  }
  std::string row(rowBytes, '\0');
  for (int y = raster.Height - 1; y >= 0; --y) {
    std::fill(row.begin(), row.end(), '\0');
    for (int x = 0; x < raster.Width; ++x) {
      const int index = NearestVga16Index(raster.ColorAt(x, y));
      char& byte = row[size_t(x / 2)];
      byte = char(uint8_t(byte) | (x % 2 == 0 ? index << 4 : index));
    }
    data += row;
  }
  WriteFileReplacing(fileName, data, kTemporarySuffix, FailurePrefix(fileName));
}

namespace {

// libjpeg reports fatal errors through error_exit, which must not return.
struct TJpegError {
  jpeg_error_mgr Manager;
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr info) {
  auto* error = reinterpret_cast<TJpegError*>(info->err);
  (*info->err->format_message)(info, error->Message);
  std::longjmp(error->Jump, 1);
}

// The encoder's output, block by block into a string of the caller.
struct TJpegOutput {
  jpeg_destination_mgr Manager;
  std::string* Bytes;
  JOCTET Block[4096];
};

void StartBlock(j_compress_ptr info) {
  auto* out = reinterpret_cast<TJpegOutput*>(info->dest);
  out->Manager.next_output_byte = out->Block;
  out->Manager.free_in_buffer = sizeof out->Block;
}

boolean FlushBlock(j_compress_ptr info) {
  auto* out = reinterpret_cast<TJpegOutput*>(info->dest);
  out->Bytes->append(reinterpret_cast<const char*>(out->Block), sizeof out->Block);
  StartBlock(info);
  return TRUE;
}

void FinishBlocks(j_compress_ptr info) {
  auto* out = reinterpret_cast<TJpegOutput*>(info->dest);
  out->Bytes->append(reinterpret_cast<const char*>(out->Block),
                     sizeof out->Block - out->Manager.free_in_buffer);
}

// Kept apart from SaveJpegFile so no object with a destructor lives across setjmp.
bool EncodeJpeg(const TRaster& raster, int quality, std::vector<JSAMPLE>& row, std::string& bytes,
                TJpegError& error) {
  jpeg_compress_struct info;
  TJpegOutput output;
  output.Manager.init_destination = StartBlock;
  output.Manager.empty_output_buffer = FlushBlock;
  output.Manager.term_destination = FinishBlocks;
  output.Bytes = &bytes;
  info.err = jpeg_std_error(&error.Manager);
  error.Manager.error_exit = JpegErrorExit;
  if (setjmp(error.Jump)) {
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  info.dest = &output.Manager;
  info.image_width = JDIMENSION(raster.Width);
  info.image_height = JDIMENSION(raster.Height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    const int y = int(info.next_scanline);
    for (int x = 0; x < raster.Width; ++x) {
      const TColor c = raster.ColorAt(x, y);
      row[size_t(3 * x)] = RedOf(c);
      row[size_t(3 * x + 1)] = GreenOf(c);
      row[size_t(3 * x + 2)] = BlueOf(c);
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

}  // namespace

void SaveJpegFile(const std::string& fileName, const TRaster& raster, int quality) {
  CheckRaster(fileName, raster);
  std::vector<JSAMPLE> row(size_t(raster.Width) * 3);
  std::string data;
  TJpegError error;
  if (!EncodeJpeg(raster, quality, row, data, error)) Fail(fileName, error.Message);
  WriteFileReplacing(fileName, data, kTemporarySuffix, FailurePrefix(fileName));
}

}  // namespace shared
