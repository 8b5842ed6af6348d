// mechtool export run as a user runs it: the film of one cycle read back by a RIFF walk of the
// test and by ffprobe, and the refusals that leave nothing written.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "MechtoolRun.h"

namespace {

using namespace mechtool_test;

uint32_t LE(const std::string& data, size_t at, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | uint8_t(data[at + size_t(i)]);
  return value;
}

struct TFilm {
  uint32_t Width = 0, Height = 0, TotalFrames = 0, MicroSecondsPerFrame = 0, Bits = 0;
  std::vector<std::string> Frames;
};

void Walk(const std::string& file, size_t at, size_t end, TFilm& film) {
  while (at + 8 <= end) {
    const std::string id = file.substr(at, 4);
    const size_t size = LE(file, at + 4, 4);
    ASSERT_LE(at + 8 + size, end) << id;
    const size_t data = at + 8;
    if (id == "RIFF" || id == "LIST") {
      Walk(file, data + 4, data + size, film);
    } else if (id == "avih") {
      film.MicroSecondsPerFrame = LE(file, data, 4);
      film.TotalFrames = LE(file, data + 16, 4);
      film.Width = LE(file, data + 32, 4);
      film.Height = LE(file, data + 36, 4);
    } else if (id == "strf") {
      film.Bits = LE(file, data + 14, 2);
    } else if (id == "00db") {
      film.Frames.push_back(file.substr(data, size));
    }
    at = data + size + (size & 1);
  }
}

// The palette indices a 4-bit frame uses.
std::set<int> IndicesUsed(const std::string& frame) {
  std::set<int> used;
  for (const char c : frame) {
    used.insert(uint8_t(c) >> 4);
    used.insert(uint8_t(c) & 15);
  }
  return used;
}

class MechtoolExportTest : public TMechtoolFixture {
 protected:
  MechtoolExportTest() : TMechtoolFixture("mechtool_export") {}

  void SetUp() override {
    TMechtoolFixture::SetUp();
    // The tool's private work folder is made here, where the test can see what is left.
    const char* tmp = std::getenv("TMPDIR");
    SavedTmp = tmp ? std::optional<std::string>(tmp) : std::nullopt;
    fs::create_directories(dir / "tmp");
    setenv("TMPDIR", (dir / "tmp").c_str(), 1);
    ASSERT_EQ(Run("new 0 " + Quote(dir / "four.mech")).status, 0);
  }
  void TearDown() override {
    if (SavedTmp) {
      setenv("TMPDIR", SavedTmp->c_str(), 1);
    } else {
      unsetenv("TMPDIR");
    }
    TMechtoolFixture::TearDown();
  }

  // The names in dir besides the document and the temporary folder itself. Qt keeps its
  // per-user runtime folder ("runtime-" and the user name) there without a desktop session: that
  // is no work file of the tool and stays for the next run.
  std::set<std::string> Written() const {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
      const std::string name = fs::relative(entry.path(), dir).string();
      if (name == "four.mech" || name == "tmp" || name.rfind("tmp/runtime-", 0) == 0) continue;
      names.insert(name);
    }
    return names;
  }

  // The solved length as the solve command reports it.
  int SolvedLength(const std::string& steps) {
    const TRun run = Run("solve " + Quote(dir / "four.mech") + " --steps " + steps);
    EXPECT_EQ(run.status, 0);
    return std::stoi(run.Lines().at("LEN").at(0).at(1));
  }

  std::optional<std::string> SavedTmp;
};

TEST_F(MechtoolExportTest, FilmOfOneCycle) {
  struct Case {
    const char* options;
    const char* steps;
  };
  for (const Case c : {Case{"", "90"}, Case{" --steps 40", "40"}}) {
    SCOPED_TRACE(c.steps);
    const fs::path film = dir / "four.avi";
    const TRun run = Run("export avi " + Quote(dir / "four.mech") + " " + Quote(film) + c.options);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, film.string() + "\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(Written(), std::set<std::string>{"four.avi"});

    const size_t frames = size_t(SolvedLength(c.steps) / 2 + 1);
    TFilm read;
    Walk(ReadBytes(film), 0, fs::file_size(film), read);
    EXPECT_EQ(read.Width, 640u);
    EXPECT_EQ(read.Height, 480u);
    EXPECT_EQ(read.MicroSecondsPerFrame, 100000u);
    EXPECT_EQ(read.Bits, 4u);
    EXPECT_EQ(read.TotalFrames, frames);
    ASSERT_EQ(read.Frames.size(), frames);
    // White paper, the silver grid and the aqua links of the default view settings.
    const std::set<int> used = IndicesUsed(read.Frames[0]);
    for (const int index : {15, 7, 14}) EXPECT_TRUE(used.count(index)) << index;
    EXPECT_NE(read.Frames[0], read.Frames[1]) << "the mechanism moves";

    const std::string command =
        "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
        "stream=width,height,r_frame_rate,nb_read_frames -of csv=p=0 " +
        Quote(film) + " > " + Quote(dir / "probe.txt");
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(ReadBytes(dir / "probe.txt"), "640,480,10/1," + std::to_string(frames) + "\n");
    fs::remove(dir / "probe.txt");
    fs::remove(film);
  }
}

TEST_F(MechtoolExportTest, RefusalsLeaveNothingWritten) {
  WriteBytes(dir / "spoilt.mech", "[Quillon>\r\n7\r\n<Quillon]\r\n");
  const std::string doc = Quote(dir / "four.mech");
  const std::string out = Quote(dir / "out.avi");
  struct Case {
    std::string args;
    int status;
  };
  const Case cases[] = {
      {"export", 2},
      {"export avi", 2},
      {"export avi " + doc, 2},
      {"export xlsx " + doc + " " + out, 2},
      {"export AVI " + doc + " " + out, 2},
      {"export avi " + doc + " " + out + " extra", 2},
      {"export avi " + doc + " " + out + " --steps", 2},
      {"export avi " + doc + " " + out + " --steps 0", 2},
      {"export avi " + doc + " " + out + " --steps ten", 2},
      {"export avi " + doc + " " + out + " --steps 10 --steps 20", 2},
      {"export avi " + doc + " " + out + " --step 3", 2},
      {"export avi " + Quote(dir / "missing.mech") + " " + out, 1},
      {"export avi " + Quote(dir / "spoilt.mech") + " " + out, 1},
      {"export avi " + doc + " " + Quote(dir / "nowhere" / "out.avi"), 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    const TRun run = Run(c.args);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err, "");
    EXPECT_EQ(Written(), std::set<std::string>{"spoilt.mech"});
  }
  // A film that cannot be made keeps the one there.
  WriteBytes(dir / "out.avi", "the old film");
  EXPECT_EQ(Run("export avi " + Quote(dir / "spoilt.mech") + " " + out).status, 1);
  EXPECT_EQ(ReadBytes(dir / "out.avi"), "the old film");
  EXPECT_EQ(Written(), (std::set<std::string>{"spoilt.mech", "out.avi"}));
}

}  // namespace
