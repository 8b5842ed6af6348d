// Picture files: the 4-bit BMP layout with the VGA palette, JPEG framing, failures, and BMP
// pictures read back.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "shared/PictureFile.h"
#include "tests/shared/TestFiles.h"

namespace shared {
namespace {

using test::ReadBytes;

uint32_t LE(const std::string& data, size_t at, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | uint8_t(data[at + size_t(i)]);
  return value;
}

class PictureFileTest : public test::TTempFolderTest {
 protected:
  PictureFileTest() : TTempFolderTest("picture_file_test") {}
};

TEST(PictureFilePalette, NearestColours) {
  struct Case {
    TColor color;
    int index;
  };
  for (const Case& c : {Case{0x000000, 0}, Case{0xFFFFFF, 15}, Case{0x808080, 8}, Case{0xC0C0C0, 7},
                        Case{0x0000FF, 9}, Case{0x00FF00, 10}, Case{0xFF0000, 12}, Case{0x808000, 6},
                        Case{0x0000F0, 9}, Case{0x202020, 0}, Case{0xA0A0A0, 7}, Case{0xF0F0F0, 15}}) {
    EXPECT_EQ(NearestVga16Index(c.color), c.index) << std::hex << c.color;
  }
  TRaster raster(2, 1, 0xFF000000u | 0x0000F0);
  raster.Pixels[1] = 0x00E0E0E0;
  QuantizeToVga16(raster);
  EXPECT_EQ(raster.Pixels[0], 0xFF0000FFu);
  EXPECT_EQ(raster.Pixels[1], 0xFFFFFFFFu);
}

TEST_F(PictureFileTest, BmpLayout) {
  // 3 x 2: top row black, red, lime; bottom row white, gray, blue.
  TRaster raster(3, 2);
  const TColor colors[6] = {kBlack, kRed, kLime, kWhite, kGray, 0xFF0000};
  for (int i = 0; i < 6; ++i) raster.Pixels[size_t(i)] = 0xFF000000u | colors[i];
  const auto file = dir / "small.bmp";
  SaveBmpFile(file.string(), raster);
  const std::string data = ReadBytes(file);
  ASSERT_EQ(data.size(), 118u + 2 * 4);
  EXPECT_EQ(data.substr(0, 2), "BM");
  EXPECT_EQ(LE(data, 2, 4), 126u);
  EXPECT_EQ(LE(data, 10, 4), 118u);
  EXPECT_EQ(LE(data, 14, 4), 40u);
  EXPECT_EQ(LE(data, 18, 4), 3u);
  EXPECT_EQ(LE(data, 22, 4), 2u);
  EXPECT_EQ(LE(data, 26, 2), 1u);
  EXPECT_EQ(LE(data, 28, 2), 4u);
  EXPECT_EQ(LE(data, 30, 4), 0u);
  EXPECT_EQ(LE(data, 46, 4), 16u);
  // Palette entries are blue, green, red, 0: entry 9 is red, entry 12 blue.
  EXPECT_EQ(LE(data, 54 + 9 * 4, 4), 0x00FF0000u);
  EXPECT_EQ(LE(data, 54 + 12 * 4, 4), 0x000000FFu);
  // Bottom row first: white 15, gray 8, blue 12; then black 0, red 9, lime 10.
  EXPECT_EQ(LE(data, 118, 4), 0x0000C0F8u);
  EXPECT_EQ(LE(data, 122, 4), 0x0000A009u);
  EXPECT_FALSE(std::filesystem::exists(file.string() + ".tmp~"));
}

// A JPEG file opens with the start-of-image marker and closes with the end-of-image marker.
void ExpectJpegFraming(const std::string& data) {
  ASSERT_GT(data.size(), 4u);
  EXPECT_EQ(uint8_t(data[0]), 0xFF);
  EXPECT_EQ(uint8_t(data[1]), 0xD8);
  EXPECT_EQ(uint8_t(data[data.size() - 2]), 0xFF);
  EXPECT_EQ(uint8_t(data[data.size() - 1]), 0xD9);
}

TEST_F(PictureFileTest, JpegFraming) {
  TRaster raster(16, 8, 0xFF000000u | kRed);
  const auto file = dir / "red.jpg";
  SaveJpegFile(file.string(), raster);
  ExpectJpegFraming(ReadBytes(file));

  // A picture whose code runs over many output blocks arrives whole.
  TRaster noise(200, 150);
  uint32_t state = 12345;
  for (uint32_t& pixel : noise.Pixels) {
    state = state * 1103515245u + 12345u;
    pixel = 0xFF000000u | (state >> 8);
  }
  SaveJpegFile(file.string(), noise);
  const std::string big = ReadBytes(file);
  EXPECT_GT(big.size(), 20000u);
  ExpectJpegFraming(big);
}

TEST_F(PictureFileTest, FailuresRaiseAndLeaveNothingBehind) {
  const TRaster raster(4, 4, 0xFFFFFFFF);
  const std::string missing = (dir / "no such folder" / "picture.bmp").string();
  for (bool jpeg : {false, true}) {
    try {
      jpeg ? SaveJpegFile(missing, raster) : SaveBmpFile(missing, raster);
      ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find(missing), std::string::npos) << e.what();
    }
    const std::string empty = (dir / "empty.jpg").string();
    EXPECT_THROW(jpeg ? SaveJpegFile(empty, TRaster()) : SaveBmpFile(empty, TRaster()), std::runtime_error);
    EXPECT_FALSE(std::filesystem::exists(empty));
  }
  // A directory in the way of the rename: the old entry stays, the temporary file goes.
  const auto blocked = dir / "blocked.bmp";
  std::filesystem::create_directories(blocked / "inside");
  EXPECT_THROW(SaveBmpFile(blocked.string(), raster), std::runtime_error);
  EXPECT_TRUE(std::filesystem::is_directory(blocked));
  EXPECT_FALSE(std::filesystem::exists(blocked.string() + ".tmp~"));
}

TEST_F(PictureFileTest, ReplacesAnExistingFile) {
  const auto file = dir / "again.bmp";
  SaveBmpFile(file.string(), TRaster(8, 8, 0xFF000000));
  SaveBmpFile(file.string(), TRaster(1, 1, 0xFFFFFFFF));
  EXPECT_EQ(std::filesystem::file_size(file), 118u + 4);
}

// A BMP file built by hand: the information header, the colour table (RGB triples) and the rows
// as stored (already padded).
std::string HandBmp(int32_t width, int32_t height, int bits, const std::vector<TColor>& palette,
                    const std::string& rows, uint32_t compression = 0) {
  std::string header;
  auto put = [&header](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) header.push_back(char((value >> (8 * i)) & 0xFF));
  };
  const uint32_t offset = 14 + 40 + 4 * uint32_t(palette.size());
  header += "BM";
  put(offset + uint32_t(rows.size()), 4);
  put(0, 4);
  put(offset, 4);
  put(40, 4);
  put(uint32_t(width), 4);
  put(uint32_t(height), 4);
  put(1, 2);
  put(uint32_t(bits), 2);
  put(compression, 4);
  put(uint32_t(rows.size()), 4);
  put(0, 4);
  put(0, 4);
  put(uint32_t(palette.size()), 4);
  put(0, 4);
  for (TColor c : palette) put(uint32_t(BlueOf(c)) | uint32_t(GreenOf(c)) << 8 | uint32_t(RedOf(c)) << 16, 4);
  return header + rows;
}

// The colours of a raster, row by row from the top.
std::vector<TColor> Colors(const TRaster& raster) {
  std::vector<TColor> colors;
  for (uint32_t pixel : raster.Pixels) colors.push_back(pixel & 0xFFFFFF);
  return colors;
}

TEST_F(PictureFileTest, WrittenBmpReadsBackAsItsPaletteColours) {
  // Odd width: rows carry padding; colours off the palette come back as their nearest entry.
  TRaster raster(5, 3);
  const TColor colors[15] = {kBlack,   kRed,     kLime,    kWhite,   kGray,    0xFF0000, 0x808000, 0xC0C0C0,
                             0x0000F0, 0x101010, 0xFFFF00, 0x00FFFF, 0x800080, 0x008000, 0xF0F0F0};
  for (int i = 0; i < 15; ++i) raster.Pixels[size_t(i)] = 0xFF000000u | colors[i];
  const auto file = dir / "five.bmp";
  SaveBmpFile(file.string(), raster);
  const TRaster read = LoadBmpFile(file.string());
  ASSERT_EQ(read.Width, 5);
  ASSERT_EQ(read.Height, 3);
  TRaster expected = raster;
  QuantizeToVga16(expected);
  EXPECT_EQ(read.Pixels, expected.Pixels);
  EXPECT_EQ(read.ColorAt(3, 1), 0x0000FFu) << "0x0000F0 is nearest to red";
}

TEST(PictureFileRead, DepthsAndRowOrders) {
  const TColor orange = MakeColor(0xFF, 0x80, 0x00), teal = MakeColor(0x00, 0x80, 0x80);
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<TColor> top, bottom;
  };
  const Case cases[] = {
      // 1 bit: 10 pixels, bits from the high end; bottom row first.
      {"1 bit",
       HandBmp(10, 2, 1, {kBlack, orange}, std::string("\xA0\x40\0\0\x44\x00\0\0", 8)),
       {kBlack, orange, kBlack, kBlack, kBlack, orange, kBlack, kBlack, kBlack, kBlack},
       {orange, kBlack, orange, kBlack, kBlack, kBlack, kBlack, kBlack, kBlack, orange}},
      // 4 bits, high nibble first, with a colour table of three entries; index 5 lies beyond it.
      {"4 bits",
       HandBmp(3, 2, 4, {kWhite, teal, orange}, std::string("\x12\x00\0\0\x01\x50\0\0", 8)),
       {kWhite, teal, kBlack},
       {teal, orange, kWhite}},
      // 8 bits, rows top-down (negative height).
      {"8 bits",
       HandBmp(2, -2, 8, {kWhite, teal, orange}, std::string("\x02\x01\0\0\x00\x02\0\0", 8)),
       {orange, teal},
       {kWhite, orange}},
      // 24 bits: blue, green, red per pixel, rows padded to 4 bytes.
      {"24 bits", HandBmp(1, 2, 24, {}, std::string("\x00\x80\xFF\0\x80\x80\x00\0", 8)), {teal}, {orange}},
      // 32 bits: blue, green, red, unused.
      {"32 bits",
       HandBmp(2, 1, 32, {}, std::string("\x80\x80\x00\x7F\x00\x80\xFF\x00", 8)),
       {teal, orange},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TRaster raster = ReadBmp(c.bytes);
    const int width = int(c.top.size());
    ASSERT_EQ(raster.Width, width);
    ASSERT_EQ(raster.Height, c.bottom.empty() ? 1 : 2);
    std::vector<TColor> expected = c.top;
    expected.insert(expected.end(), c.bottom.begin(), c.bottom.end());
    EXPECT_EQ(Colors(raster), expected);
    for (uint32_t pixel : raster.Pixels) EXPECT_EQ(pixel >> 24, 0xFFu);
  }
}

TEST(PictureFileRead, RefusedPictures) {
  const std::string good = HandBmp(2, 2, 8, {kWhite}, std::string(8, '\0'));
  ASSERT_NO_THROW(ReadBmp(good));
  struct Case {
    std::string bytes;
    const char* reason;
  };
  std::string badMagic = good;
  badMagic[0] = 'X';
  std::string badHeader = good;
  badHeader[14] = 12;
  const Case cases[] = {
      {"", "not a BMP picture."},
      {good.substr(0, 40), "not a BMP picture."},
      {badMagic, "not a BMP picture."},
      {badHeader, "unknown BMP header."},
      {HandBmp(2, 2, 8, {kWhite}, std::string(8, '\0'), 1), "compressed BMP pictures are not read."},
      {HandBmp(2, 2, 16, {}, std::string(8, '\0')), "unsupported BMP colour depth."},
      {HandBmp(0, 2, 8, {kWhite}, ""), "the picture is empty."},
      {HandBmp(2, 0, 8, {kWhite}, ""), "the picture is empty."},
      {HandBmp(2, int32_t(0x80000000u), 8, {kWhite}, ""), "the picture is empty."},
      {HandBmp(-3, 2, 8, {kWhite}, std::string(8, '\0')), "the picture is empty."},
      {HandBmp(100000, 100000, 1, {kWhite}, ""), "the picture is too large."},
      {good.substr(0, good.size() - 1), "the pixels are cut short."},
      // The colour table claims 200 entries that the file does not hold.
      {HandBmp(2, 2, 8, {kWhite}, std::string(8, '\0')).replace(46, 1, "\xC8"), "the palette is cut short."},
  };
  for (const Case& c : cases) {
    try {
      ReadBmp(c.bytes);
      ADD_FAILURE() << "read: " << c.reason;
    } catch (const std::runtime_error& error) {
      EXPECT_EQ(std::string(error.what()), c.reason);
    }
  }
}

TEST_F(PictureFileTest, LoadBmpFileNamesTheFile) {
  const std::string missing = (dir / "gone.bmp").string();
  try {
    LoadBmpFile(missing);
    ADD_FAILURE();
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(std::string(error.what()),
              "Cannot read picture file \"" + missing + "\": the file cannot be opened.");
  }
  const auto text = dir / "text.bmp";
  test::WriteBytes(text, "hello");
  try {
    LoadBmpFile(text.string());
    ADD_FAILURE();
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(std::string(error.what()),
              "Cannot read picture file \"" + text.string() + "\": not a BMP picture.");
  }
}

}  // namespace
}  // namespace shared
