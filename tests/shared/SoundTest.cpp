// The wave-file rules shared by every sound back end, and the process-wide connection.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "shared/Sound.h"

namespace {

class TFakeSound : public shared::TSound {
 public:
  void Beep() override { ++Beeps; }
  bool Playing = false;
  int Beeps = 0;
  std::vector<std::string> Started;

 protected:
  bool IsPlaying() const override { return Playing; }
  void Start(const std::string& path) override {
    Started.push_back(path);
    Playing = true;
  }
};

class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Named after the process: another suite's TearDown must not take it away mid-test.
    Wave = (std::filesystem::temp_directory_path() / ("sound_test_present_" + std::to_string(::getpid()) + ".wav"))
               .string();
    std::ofstream(Wave) << "RIFF";
  }
  void TearDown() override {
    std::filesystem::remove(Wave);
    shared::SetSound(nullptr);
  }
  std::string Wave;
  const std::string Missing = "/nonexistent/dir/absent.wav";
};

TEST_F(SoundTest, MissingFileIsSilentOnlyWithNoDefault) {
  TFakeSound sound;
  sound.PlayWave(Missing, shared::kWaveNoStop | shared::kWaveNoDefault);
  EXPECT_EQ(sound.Beeps, 0);
  sound.PlayWave(Missing, shared::kWaveNoStop);
  EXPECT_EQ(sound.Beeps, 1);
  sound.PlayWave("", shared::kWaveNoDefault);
  EXPECT_EQ(sound.Beeps, 1);
  EXPECT_TRUE(sound.Started.empty());
}

TEST_F(SoundTest, NoStopDropsARequestWhileASoundPlays) {
  TFakeSound sound;
  sound.PlayWave(Wave, shared::kWaveNoStop | shared::kWaveNoDefault);
  ASSERT_EQ(sound.Started.size(), 1u);
  EXPECT_EQ(sound.Started[0], Wave);
  sound.PlayWave(Wave, shared::kWaveNoStop | shared::kWaveNoDefault);
  EXPECT_EQ(sound.Started.size(), 1u) << "the second request came while the first still played";
  sound.PlayWave(Wave, 0);
  EXPECT_EQ(sound.Started.size(), 2u) << "without NoStop the new sound replaces the old";
  sound.Playing = false;
  sound.PlayWave(Wave, shared::kWaveNoStop);
  EXPECT_EQ(sound.Started.size(), 3u);
}

TEST_F(SoundTest, ProcessWideConnectionIsSilentWhenUnset) {
  shared::SetSound(nullptr);
  shared::PlayWave(Wave, 0);
  shared::Beep();
  TFakeSound sound;
  shared::SetSound(&sound);
  EXPECT_EQ(shared::Sound(), &sound);
  shared::PlayWave(Wave, shared::kWaveNoStop);
  shared::Beep();
  EXPECT_EQ(sound.Started.size(), 1u);
  EXPECT_EQ(sound.Beeps, 1);
}

}  // namespace
