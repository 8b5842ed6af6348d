// The film loop that the animator's view and mechtool share: which steps are shown and filmed,
// in what order, what Cancel and the pumped messages do to it, and what is left in the work
// folder.
#include "animator/engine/FilmWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "animator/engine/AniMechanism.h"
#include "shared/PictureFile.h"
#include "tests/shared/RiffChunks.h"
#include "tests/shared/TestFiles.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

// The pixel bytes of the film's frames in order, found by a walk of the RIFF tree.
void Frames(const shared::test::TChunk& chunk, std::vector<std::string>& frames) {
  for (const shared::test::TChunk& child : chunk.Children) {
    if (child.Id == "00db") frames.push_back(child.Data);
    Frames(child, frames);
  }
}

std::vector<std::string> FramesOf(const fs::path& film) {
  std::vector<std::string> frames;
  Frames(shared::test::ParseAvi(shared::test::ReadBytes(film)), frames);
  return frames;
}

// Each step's picture: 4 x 2 pixels of the palette colour of its number. Its 4-bit frame holds
// two bytes of that index per row and two bytes that pad the row to 32 bits.
int ColourIndex(int step) { return step % 16; }
std::string FrameOfStep(int step) {
  const char pair = char(ColourIndex(step) * 17);
  return std::string{pair, pair, 0, 0, pair, pair, 0, 0};
}

class FilmWriterTest : public shared::test::TTempFolderTest {
 protected:
  FilmWriterTest() : TTempFolderTest("film_writer_test") {}

  void SetUp() override {
    TTempFolderTest::SetUp();
    fs::create_directories(dir / "work");
  }

  // A cycle of len steps; a full one wraps to step 1, since step len is step 0 again.
  void Cycle(int len, bool full) {
    Mechanism.Len = len;
    Mechanism.FullCycle = full ? 1 : 0;
    // A step left from before the recording.
    Mechanism.SetFrame(len / 2);
  }

  // A writer that records what it is asked, drawing each step in its colour.
  TFilmWriter Writer() {
    TFilmWriter film(Mechanism, (dir / "work").string());
    film.ShowStep = [this](int32_t step) {
      Shown.push_back(step);
      EXPECT_EQ(Mechanism.CurrentStep, step);
    };
    film.SavePicture = [this](const std::string& picture) {
      Pictures.push_back(fs::path(picture).filename().string());
      const int step = Mechanism.CurrentStep;
      shared::SaveBmpFile(picture, shared::TRaster(4, 2, 0xFF000000u | shared::kVga16Palette[ColourIndex(step)]));
    };
    film.Progress = [this] { ++Progressed; };
    return film;
  }

  std::vector<std::string> WorkFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir / "work")) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  TAniMechanism Mechanism;
  std::vector<int> Shown;
  std::vector<std::string> Pictures;
  int Progressed = 0;
};

// Every step of the cycle is shown once, from 0; the even ones are filmed in order, named after
// the film, and deleted once the film is saved.
TEST_F(FilmWriterTest, OneCycleFilmsItsEvenSteps) {
  struct TCase {
    const char* Name;
    int Len;
    bool Full;
    std::vector<int> Filmed;
  };
  const TCase cases[] = {
      {"a full cycle", 8, true, {0, 2, 4, 6, 8}},
      // Solved only to step 5: the film ends there.
      {"a cycle cut short", 5, false, {0, 2, 4}},
      {"a single position", 0, false, {0}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Shown.clear();
    Pictures.clear();
    Progressed = 0;
    Cycle(c.Len, c.Full);
    TFilmWriter film = Writer();
    const fs::path target = dir / "four.bar.avi";
    film.Write(target.string());

    std::vector<int> all(size_t(c.Len) + 1);
    for (int s = 0; s <= c.Len; ++s) all[size_t(s)] = s;
    EXPECT_EQ(Shown, all);
    std::vector<std::string> names;
    std::vector<std::string> frames;
    for (const int step : c.Filmed) {
      char number[8];
      std::snprintf(number, sizeof number, "%03d", step);
      names.push_back(std::string("four.bar") + number + ".bmp");
      frames.push_back(FrameOfStep(step));
    }
    EXPECT_EQ(Pictures, names);
    EXPECT_EQ(FramesOf(target), frames);
    EXPECT_EQ(WorkFiles(), std::vector<std::string>{});
    // A unit a step, one for the film, one a deleted picture.
    EXPECT_EQ(Progressed, c.Len + 1 + 1 + int(c.Filmed.size()));
    EXPECT_EQ(film.Avi.FrameTime, 100);
    fs::remove(target);
  }
}

// The view pumps messages between the steps, and they may move the shown step (the step bar, the
// animation timer): the recording goes on from its own step.
TEST_F(FilmWriterTest, AStepMovedBetweenStepsDoesNotMoveTheRecording) {
  Cycle(6, true);
  TFilmWriter film = Writer();
  film.Progress = [this] { Mechanism.SetFrame(5); };
  film.Write((dir / "film.avi").string());
  EXPECT_EQ(Shown, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(FramesOf(dir / "film.avi"), (std::vector<std::string>{FrameOfStep(0), FrameOfStep(2), FrameOfStep(4),
                                                                   FrameOfStep(6)}));
}

// Cancel ends the recording, and the film holds the steps taken; asked again, it ends the
// clean-up, whose pictures stay for the caller's work folder to take. Before the first step it
// leaves nothing to film.
TEST_F(FilmWriterTest, CancelFilmsTheStepsTaken) {
  Cycle(10, true);
  TFilmWriter film = Writer();
  film.Cancelled = [this] { return Progressed >= 3; };
  film.Write((dir / "film.avi").string());
  EXPECT_EQ(Shown, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(FramesOf(dir / "film.avi"), (std::vector<std::string>{FrameOfStep(0), FrameOfStep(2)}));
  EXPECT_EQ(WorkFiles(), (std::vector<std::string>{"film000.bmp", "film002.bmp"}));

  TFilmWriter none = Writer();
  none.Cancelled = [] { return true; };
  none.FailurePrefix = "Cannot write film file: ";
  shared::test::WriteBytes(dir / "old.avi", "the old film");
  try {
    none.Write((dir / "old.avi").string());
    ADD_FAILURE() << "a film without frames";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot write film file: No bitmaps selected!");
  }
  EXPECT_EQ(shared::test::ReadBytes(dir / "old.avi"), "the old film");
}

}  // namespace
}  // namespace quillon
