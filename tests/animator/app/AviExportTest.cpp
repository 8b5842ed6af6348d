// The view's film export and its progress dialog: the frames are the even steps of one cycle in
// order, Cancel films what was taken, failures keep an existing film, and no work file is left.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "animator/app/AnimationFrm.h"
#include "animator/app/AppDialogs.h"
#include "animator/app/InformationBox.h"
#include "animator/app/ProgressDlg.h"
#include "animator/app/TrackBar.h"
#include "animator/engine/AniMechanism.h"
#include "animator/engine/StdOut.h"
#include "shared/Canvas2D.h"
#include "shared/Convert.h"
#include "shared/PictureFile.h"
#include "shared/ProgramInfo.h"
#include "shared/Settings.h"
#include "shared/ShellOpen.h"
#include "shared/TabLine.h"
#include "tests/animator/app/AppTestSupport.h"
#include "tests/animator/app/BusyTestSupport.h"
#include "tests/shared/FileSizeLimit.h"
#include "tests/shared/TestFiles.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;
using shared::test::ReadBytes;
using shared::test::WriteBytes;

const std::string kFixtures = SUITE_FIXTURES;

uint32_t LE(const std::string& data, size_t at, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | uint8_t(data[at + size_t(i)]);
  return value;
}

// What the film holds, read from its bytes: the stream values and each frame's pixel bytes.
struct TFilm {
  uint32_t MicroSecondsPerFrame = 0, TotalFrames = 0, Width = 0, Height = 0;
  uint32_t Scale = 0, Rate = 0, Length = 0, Bits = 0;
  std::vector<std::string> Frames;
  size_t IndexEntries = 0;
};

// Walks the RIFF tree far enough to find avih, strh, strf, the "00db" chunks and idx1.
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
    } else if (id == "strh") {
      EXPECT_EQ(file.substr(data, 4), "vids");
      film.Scale = LE(file, data + 20, 4);
      film.Rate = LE(file, data + 24, 4);
      film.Length = LE(file, data + 32, 4);
    } else if (id == "strf") {
      film.Bits = LE(file, data + 14, 2);
    } else if (id == "00db") {
      film.Frames.push_back(file.substr(data, size));
    } else if (id == "idx1") {
      film.IndexEntries = size / 16;
    }
    at = data + size + (size & 1);
  }
}

TFilm ReadFilm(const fs::path& path) {
  const std::string file = ReadBytes(path);
  TFilm film;
  EXPECT_EQ(file.substr(0, 4), "RIFF");
  EXPECT_EQ(file.substr(8, 4), "AVI ");
  Walk(file, 0, file.size(), film);
  return film;
}

// The pixel bytes of a 4-bit frame made of the picture, bottom row first.
std::string FrameOfPicture(const shared::TRaster& picture) {
  const size_t row = size_t((picture.Width * 4 + 31) / 32) * 4;
  std::string bits(row * size_t(picture.Height), '\0');
  for (int y = 0; y < picture.Height; ++y)
    for (int x = 0; x < picture.Width; ++x) {
      const int index = shared::NearestVga16Index(picture.ColorAt(x, y));
      char& byte = bits[size_t(picture.Height - 1 - y) * row + size_t(x / 2)];
      byte = char(uint8_t(byte) | (x % 2 == 0 ? index << 4 : index));
    }
  return bits;
}

class TLogLines : public TMessageSink {
 public:
  std::vector<std::string> Lines;
  void AppendLine(const std::string& line, TMessageKind) override { Lines.push_back(line); }
  void ClearLines() override { Lines.clear(); }
};

class AviExportTest : public shared::test::TTempFolderTest {
 protected:
  AviExportTest() : TTempFolderTest("avi_export_test") {}

  void SetUp() override {
    TTempFolderTest::SetUp();
    // The export's private folder is made under the temporary folder: here, inside dir.
    SavedTmp = qgetenv("TMPDIR");
    fs::create_directories(dir / "tmp");
    qputenv("TMPDIR", QByteArray::fromStdString((dir / "tmp").string()));
    shared::CreateProgramInfo();
    shared::CreateTabLines();
    shared::CreateConvert();
    CreateStdOut();
    SettingsStore().Values.clear();
    shared::SetSettingsFactory(OpenStoreSettings);
    shared::SetShellOpen([this](const std::string& target) {
      Opened.push_back(target);
      return true;
    });
    Progress = std::make_unique<TProgressDlg>();
    AppDialogs().ProgressDlg = Progress.get();
    View = std::make_unique<TAnimationFrm>(Clipboard);
    View->SetRegistryKey("Software\\Orvane\\Quillon");
    View->LoadFromFile(kFixtures + "/fourbar.mech");
    View->resize(500, 400);
    View->show();
    QCoreApplication::processEvents();
  }

  void TearDown() override {
    View.reset();
    AppDialogs().ProgressDlg = nullptr;
    Progress.reset();
    shared::SetShellOpen(nullptr);
    shared::SetSettingsFactory(nullptr);
    FreeStdOut();
    shared::FreeConvert();
    shared::FreeTabLines();
    shared::FreeProgramInfo();
    if (SavedTmp.isNull()) {
      qunsetenv("TMPDIR");
    } else {
      qputenv("TMPDIR", SavedTmp);
    }
    TTempFolderTest::TearDown();
  }

  // Every file and folder the export left in dir, except the films named.
  std::vector<std::string> Leftovers(const std::vector<std::string>& films) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
      const std::string name = fs::relative(entry.path(), dir).string();
      if (name == "tmp" || std::find(films.begin(), films.end(), name) != films.end()) continue;
      names.push_back(name);
    }
    return names;
  }

  // Clicks Cancel once the bar reaches the value.
  void CancelAt(int value) {
    QObject::connect(Progress->ProgressBar1, &QProgressBar::valueChanged, Progress.get(),
                     [this, value](int v) {
                       if (v == value) Progress->CancelBtn->click();
                     });
  }

  QByteArray SavedTmp;
  TFakeClipboard Clipboard;
  std::unique_ptr<TProgressDlg> Progress;
  std::unique_ptr<TAnimationFrm> View;
  std::vector<std::string> Opened;
};

TEST_F(AviExportTest, ProgressDialog) {
  EXPECT_EQ(Progress->windowTitle(), "AVI Progress");
  EXPECT_EQ(Progress->Label1->text(), "Creating AVI file...");
  EXPECT_EQ(Progress->CancelBtn->text(), "Cancel");
  EXPECT_EQ(Progress->ProgressBar1->maximum(), 190);
  EXPECT_TRUE(Progress->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(Progress->isModal());

  Progress->SetMax(2);
  Progress->show();
  QCoreApplication::processEvents();
  // The texts fit.
  EXPECT_GE(Progress->Label1->width(), Progress->Label1->sizeHint().width());
  EXPECT_GE(Progress->CancelBtn->width(), Progress->CancelBtn->sizeHint().width());
  EXPECT_EQ(Progress->ProgressBar1->value(), 0);
  for (int i = 0; i < 4; ++i) Progress->StepIt();
  EXPECT_EQ(Progress->ProgressBar1->value(), 2) << "the bar stays within its range";
  // Esc cancels as the button does and leaves the dialog up; showing it again clears both.
  QTest::keyClick(Progress.get(), Qt::Key_Escape);
  EXPECT_TRUE(Progress->Cancelled);
  EXPECT_TRUE(Progress->isVisible());
  Progress->hide();
  Progress->show();
  EXPECT_FALSE(Progress->Cancelled);
  EXPECT_EQ(Progress->ProgressBar1->value(), 0);
  Progress->CancelBtn->click();
  EXPECT_TRUE(Progress->Cancelled);
  Progress->hide();
}

// One cycle of the four-bar: its even steps in order, at the drawing's size, ten a second.
TEST_F(AviExportTest, FilmHoldsTheEvenStepsOfOneCycle) {
  TAniMechanism& m = View->Mechanism();
  ASSERT_TRUE(m.FullCycle);
  const int len = m.Len;
  ASSERT_EQ(len, 120);
  // The animation runs: the export stops it, so its steps cannot move under the recording.
  View->StartButtonClick(nullptr);
  const fs::path film = dir / "film.avi";
  std::vector<int> barMax;
  QObject::connect(Progress->ProgressBar1, &QProgressBar::valueChanged, Progress.get(),
                   [&] { barMax.push_back(Progress->ProgressBar1->maximum()); });
  View->ExportAVI(film.string());
  EXPECT_FALSE(View->StartButton->isChecked());

  const TFilm read = ReadFilm(film);
  const size_t frames = size_t(len / 2 + 1);
  EXPECT_EQ(read.Frames.size(), frames);
  EXPECT_EQ(read.TotalFrames, frames);
  EXPECT_EQ(read.Length, frames);
  EXPECT_EQ(read.IndexEntries, frames);
  EXPECT_EQ(read.MicroSecondsPerFrame, 100000u);
  EXPECT_EQ(read.Scale, 100u);
  EXPECT_EQ(read.Rate, 1000u);
  EXPECT_EQ(read.Bits, 4u);
  EXPECT_EQ(barMax.front(), 3 * len / 2);
  EXPECT_FALSE(Progress->isVisible());
  EXPECT_EQ(View->RunningLoop(), TLoop::None);
  EXPECT_EQ(View->PositionTrackBar->value(), 0);
  EXPECT_EQ(m.CurrentStep, 0);
  EXPECT_EQ(Opened, std::vector<std::string>{film.string()});
  EXPECT_EQ(Leftovers({"film.avi"}), std::vector<std::string>{});

  // Frame k is the drawing of step 2k.
  for (const int k : {0, 1, 30, 60}) {
    SCOPED_TRACE(k);
    View->PositionTrackBar->setValue(2 * k);
    const fs::path shot = dir / "shot.bmp";
    View->Canvas().SaveBitmap(shot.string());
    const shared::TRaster picture = shared::LoadBmpFile(shot.string());
    fs::remove(shot);
    EXPECT_EQ(read.Width, uint32_t(picture.Width));
    EXPECT_EQ(read.Height, uint32_t(picture.Height));
    EXPECT_EQ(read.Frames[size_t(k)], FrameOfPicture(picture));
  }
  EXPECT_NE(read.Frames[0], read.Frames[15]) << "the mechanism moves";
  // Step 120 is step 0 again.
  EXPECT_EQ(read.Frames[0], read.Frames[60]);
}

// Cancel after the third progress step: steps 0, 1 and 2 were taken, 0 and 2 are filmed.
TEST_F(AviExportTest, CancelFilmsTheStepsTaken) {
  const fs::path film = dir / "film.avi";
  WriteBytes(film, "the old film");
  CancelAt(3);
  View->ExportAVI(film.string());
  const TFilm read = ReadFilm(film);
  ASSERT_EQ(read.Frames.size(), 2u);
  EXPECT_EQ(read.TotalFrames, 2u);
  View->PositionTrackBar->setValue(2);
  View->Canvas().SaveBitmap((dir / "shot.bmp").string());
  EXPECT_EQ(read.Frames[1], FrameOfPicture(shared::LoadBmpFile((dir / "shot.bmp").string())));
  fs::remove(dir / "shot.bmp");
  EXPECT_FALSE(Progress->isVisible());
  EXPECT_EQ(View->RunningLoop(), TLoop::None);
  // The pictures left by the cancelled clean-up go with the private folder.
  EXPECT_EQ(Leftovers({"film.avi"}), std::vector<std::string>{});
}

// A film that the desktop opens no program for is named in an information box.
TEST_F(AviExportTest, AFilmNoProgramOpensIsNamedInAnInformation) {
  std::vector<QString> told;
  SetInformationHandler([&told](const QString& text) { told.push_back(text); });
  shared::SetShellOpen([](const std::string&) { return false; });
  const fs::path film = dir / "film.avi";
  CancelAt(3);
  View->ExportAVI(film.string());
  SetInformationHandler(nullptr);
  EXPECT_EQ(ReadFilm(film).Frames.size(), 2u);
  EXPECT_EQ(told, std::vector<QString>{QString::fromStdString("The film was saved as " + film.string() +
                                                              ", but the desktop opened no program for it")});
}

// While the film runs only its Stop acts: Record, the pop-up's items and a drag in the drawing
// are refused and leave the document as it was; the view's Stop ends the film as Cancel does.
TEST_F(AviExportTest, WhileTheFilmRunsOnlyItsStopActs) {
  TLogLines log;
  StdOut().SetSink(&log);
  TAniMechanism& m = View->Mechanism();
  const auto document = [&m] {
    shared::TTabLines lines;
    m.SaveToTabLines(lines);
    return lines.Lines;
  };
  const std::vector<std::string> before = document();
  const TAniJoint* const tracer = m.Tracer;
  const std::string firstLink = m.Link(1).Name;
  bool tried = false;
  QObject::connect(Progress->ProgressBar1, &QProgressBar::valueChanged, Progress.get(), [&](int v) {
    if (v == 3) {
      tried = true;
      View->PositionTrackBar->setValue(20);
      TryWhatMustWait(*View, m, 'C', 1);
    }
    if (v == 5) View->StopButton->click();
  });
  const fs::path film = dir / "film.avi";
  View->ExportAVI(film.string());
  StdOut().SetSink(nullptr);

  EXPECT_TRUE(tried);
  EXPECT_EQ(document(), before);
  EXPECT_EQ(m.Tracer, tracer);
  EXPECT_EQ(m.Link(1).Name, firstLink);
  EXPECT_EQ(m.NextSelectedJoint(0), -1) << "the press in the drawing picked nothing";
  EXPECT_EQ(std::count(log.Lines.begin(), log.Lines.end(), "[Warning] " + View->BusyText), 6);
  // Stopped after steps 0 to 4: the film of steps 0, 2 and 4, and the view as after Cancel.
  EXPECT_EQ(ReadFilm(film).Frames.size(), 3u);
  EXPECT_EQ(View->RunningLoop(), TLoop::None);
  EXPECT_FALSE(Progress->isVisible());
  EXPECT_EQ(View->PositionTrackBar->value(), 0);
  EXPECT_EQ(Leftovers({"film.avi"}), std::vector<std::string>{});
}

TEST_F(AviExportTest, FailuresKeepTheOldFilmAndCloseTheDialog) {
  const fs::path film = dir / "film.avi";
  // A file size limit that lets each frame's picture pass but not the film.
  View->Canvas().SaveBitmap((dir / "probe.bmp").string());
  const auto picture = rlim_t(fs::file_size(dir / "probe.bmp"));
  fs::remove(dir / "probe.bmp");
  std::optional<shared::test::TFileSizeLimit> limit;
  char tooLarge[16];
  std::snprintf(tooLarge, sizeof tooLarge, "%08X", unsigned(EFBIG));
  struct Case {
    const char* what;
    std::function<void()> arrange;
    fs::path target;
    std::string message;
    std::vector<std::string> kept;
    // Refused before the first step is recorded.
    bool early;
  };
  // Every failure names the film and says why.
  const std::string prefix = "Cannot write film file \"" + film.string() + "\": ";
  const fs::path gone = dir / "gone" / "film.avi";
  const fs::path folder = dir / "folder.avi";
  int steps = 0;
  QObject::connect(Progress->ProgressBar1, &QProgressBar::valueChanged, Progress.get(), [&] { ++steps; });
  const Case cases[] = {
      // The dialog's Cancel is the first thing the export sees.
      {"cancel before the first frame",
       [this] { QTimer::singleShot(0, Progress.get(), [this] { Progress->CancelBtn->click(); }); },
       film,
       prefix + "No bitmaps selected!",
       {"film.avi"},
       false},
      {"a file size limit",
       [&] { limit.emplace(picture + 4096); },
       film,
       prefix + "Failed to add frame to AVI. Err=" + tooLarge,
       {"film.avi"},
       false},
      {"a folder that does not exist",
       [] {},
       gone,
       "Cannot write film file \"" + gone.string() + "\": the folder does not exist.",
       {"film.avi"},
       true},
      {"a folder of the film's name",
       [&] { fs::create_directory(folder); },
       folder,
       "Cannot write film file \"" + folder.string() + "\": a folder of that name exists.",
       {"film.avi", "folder.avi"},
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(film, "the old film");
    c.arrange();
    steps = 0;
    try {
      View->ExportAVI(c.target.string());
      ADD_FAILURE() << "exported";
    } catch (const std::exception& error) {
      EXPECT_EQ(std::string(error.what()), c.message);
    }
    limit.reset();
    if (c.early) {
      EXPECT_EQ(steps, 0) << "a cycle recorded for a film that cannot be written";
    }
    EXPECT_EQ(ReadBytes(film), "the old film");
    EXPECT_FALSE(Progress->isVisible());
    EXPECT_EQ(View->RunningLoop(), TLoop::None);
    EXPECT_EQ(View->PositionTrackBar->value(), 0);
    EXPECT_TRUE(Opened.empty());
    EXPECT_EQ(Leftovers(c.kept), std::vector<std::string>{});
  }
}

// A second loop is refused while one runs: nothing recorded, the first loop keeps running.
TEST_F(AviExportTest, RefusedWhileALoopRuns) {
  TLogLines log;
  StdOut().SetSink(&log);
  ASSERT_TRUE(View->BeginLoop());
  View->ExportAVI((dir / "film.avi").string());
  EXPECT_NE(View->RunningLoop(), TLoop::None);
  EXPECT_FALSE(fs::exists(dir / "film.avi"));
  EXPECT_EQ(log.Lines, std::vector<std::string>{"[Warning] " + View->BusyText});
  View->EndLoop();
  StdOut().SetSink(nullptr);
}

}  // namespace
}  // namespace quillon
