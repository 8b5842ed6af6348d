// The desktop sound: look-up of wave files by name and silent playback without a device.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "shared/qt/QtSound.h"

namespace {

namespace fs = std::filesystem;

class TOpenSound : public shared::TQtSound {
 public:
  using TQtSound::IsPlaying;
  using TQtSound::Locate;
  using TQtSound::TQtSound;
};

// A short mono 8 kHz 16-bit PCM tone.
void WriteWave(const fs::path& path) {
  const uint32_t samples = 800;
  std::ofstream out(path, std::ios::binary);
  auto u32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
  out << "RIFF";
  u32(36 + samples * 2);
  out << "WAVEfmt ";
  u32(16);
  u16(1);
  u16(1);
  u32(8000);
  u32(16000);
  u16(2);
  u16(16);
  out << "data";
  u32(samples * 2);
  for (uint32_t i = 0; i < samples; ++i) u16(static_cast<uint16_t>((i % 20 < 10) ? 8000 : -8000));
}

class QtSoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "qtsound_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    Dir = pattern;
    WriteWave(Dir / "About.wav");
  }
  void TearDown() override { fs::remove_all(Dir); }
  fs::path Dir;
};

TEST_F(QtSoundTest, FindsBareNamesBesideTheProgram) {
  TOpenSound sound(Dir.string());
  EXPECT_EQ(sound.Locate("About.wav"), (Dir / "About.wav").string());
  EXPECT_EQ(sound.Locate((Dir / "About.wav").string()), (Dir / "About.wav").string());
  EXPECT_EQ(sound.Locate("missing.wav"), "");
  EXPECT_EQ(sound.Locate("/nonexistent/About.wav"), "") << "an absolute name is not looked up elsewhere";
  TOpenSound fromProgram;
  EXPECT_EQ(fromProgram.Locate("About.wav"), "") << "the test program's directory holds no wave file";
}

TEST_F(QtSoundTest, PlaysOrStaysSilentWithoutError) {
  TOpenSound sound(Dir.string());
  sound.PlayWave("missing.wav", shared::kWaveNoStop | shared::kWaveNoDefault);
  EXPECT_FALSE(sound.IsPlaying());
  sound.PlayWave("About.wav", shared::kWaveNoStop | shared::kWaveNoDefault);
  sound.PlayWave("About.wav", shared::kWaveNoStop | shared::kWaveNoDefault);
  QCoreApplication::processEvents();
  if (!shared::TQtSound::HasAudioOutput()) {
    EXPECT_FALSE(sound.IsPlaying()) << "no device: silent";
  }
  sound.Beep();
}

}  // namespace
