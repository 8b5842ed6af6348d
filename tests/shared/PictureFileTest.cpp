// Picture files: the 4-bit BMP layout with the VGA palette, JPEG framing, and failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

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

}  // namespace
}  // namespace shared
