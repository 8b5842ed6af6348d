// BMP (4 bits per pixel, VGA palette) and JPEG writers for the pictures of the views.
#include "shared/PictureFile.h"

#include <jpeglib.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
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

namespace {

uint32_t GetLE(const std::string& bytes, size_t at, int count) {
  uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = (value << 8) | uint8_t(bytes[at + size_t(i)]);
  return value;
}

[[noreturn]] void Refuse(const std::string& why) { throw std::runtime_error(why); }

// Larger pictures are refused rather than allocated: no screen drawing comes near this.
constexpr int64_t kMaxBmpPixels = int64_t(1) << 26;

}  // namespace

TRaster ReadBmp(const std::string& bytes) {
  // File header 14 bytes, then at least the 40-byte information header.
  if (bytes.size() < 14 + 40 || bytes.compare(0, 2, "BM") != 0) Refuse("not a BMP picture.");
  const uint32_t dataOffset = GetLE(bytes, 10, 4);
  const uint32_t headerSize = GetLE(bytes, 14, 4);
  if (headerSize < 40 || headerSize > bytes.size() - 14) Refuse("unknown BMP header.");
  const int32_t width = int32_t(GetLE(bytes, 18, 4));
  const int32_t rawHeight = int32_t(GetLE(bytes, 22, 4));
  const uint32_t bits = GetLE(bytes, 28, 2);
  const uint32_t compression = GetLE(bytes, 30, 4);
  uint32_t colorsUsed = GetLE(bytes, 46, 4);
  if (compression != 0) Refuse("compressed BMP pictures are not read.");
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
    Refuse("unsupported BMP colour depth.");
  // INT32_MIN has no positive height.
  if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN) Refuse("the picture is empty.");
  const bool topDown = rawHeight < 0;
  const int32_t height = topDown ? -rawHeight : rawHeight;
  if (int64_t(width) * height > kMaxBmpPixels) Refuse("the picture is too large.");

  std::vector<TColor> palette;
  if (bits <= 8) {
    const uint32_t maxColors = 1u << bits;
    if (colorsUsed == 0 || colorsUsed > maxColors) colorsUsed = maxColors;
    const size_t paletteAt = 14 + size_t(headerSize);
    if (paletteAt + 4 * size_t(colorsUsed) > bytes.size()) Refuse("the palette is cut short.");
    for (uint32_t i = 0; i < colorsUsed; ++i) {
      const size_t at = paletteAt + 4 * size_t(i);
      palette.push_back(MakeColor(uint8_t(bytes[at + 2]), uint8_t(bytes[at + 1]), uint8_t(bytes[at])));
    }
  }
  const size_t rowBytes = ((size_t(width) * bits + 31) / 32) * 4;
  if (dataOffset > bytes.size() || rowBytes * size_t(height) > bytes.size() - dataOffset)
    Refuse("the pixels are cut short.");

  TRaster raster(width, height);
  for (int32_t row = 0; row < height; ++row) {
    const size_t at = dataOffset + rowBytes * size_t(row);
    const int32_t y = topDown ? row : height - 1 - row;
    for (int32_t x = 0; x < width; ++x) {
      TColor color = 0;
      if (bits == 24 || bits == 32) {
        const size_t p = at + size_t(x) * (bits / 8);
        color = MakeColor(uint8_t(bytes[p + 2]), uint8_t(bytes[p + 1]), uint8_t(bytes[p]));
      } else {
        const size_t bit = size_t(x) * bits;
        const uint32_t byte = uint8_t(bytes[at + bit / 8]);
        const uint32_t index = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
        // An index beyond the palette shows black, as the desktop shows it.
        color = index < palette.size() ? palette[index] : kBlack;
      }
      raster.Pixels[size_t(y) * size_t(width) + size_t(x)] = 0xFF000000u | color;
    }
  }
  return raster;
}

TRaster LoadBmpFile(const std::string& fileName) {
  const std::string prefix = "Cannot read picture file \"" + fileName + "\": ";
  std::ifstream in(fileName, std::ios::binary);
  if (!in) throw std::runtime_error(prefix + "the file cannot be opened.");
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) throw std::runtime_error(prefix + "reading failed.");
  try {
    return ReadBmp(bytes);
  } catch (const std::runtime_error& error) {
    throw std::runtime_error(prefix + error.what());
  }
}

}  // namespace shared
