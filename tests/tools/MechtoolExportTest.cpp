// mechtool export run as a user runs it: the film of one cycle read back by a RIFF walk of the
// test and by ffprobe, the workbook read back by openpyxl, the report line by line and by
// Python's HTML parser, the pictures by size and pixels, and the refusals that leave nothing
// written.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "MechtoolRun.h"
#include "animator/engine/AniMechanism.h"
#include "shared/PictureFile.h"
#include "shared/ProjectInfo.h"
#include "shared/TabLine.h"
#include "tests/shared/TestFiles.h"
#include "tests/shared/WaveFiles.h"
#include "tests/support/Python.h"

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

// One second of 16-bit mono sound at 8000 Hz with the film: ffprobe reads both streams and ffmpeg
// gives back the samples. A wave file that is none, or a name without ".wav", writes nothing.
TEST_F(MechtoolExportTest, FilmWithASoundTrack) {
  using namespace shared::test;
  const std::string samples = PatternSamples16(8000, 1);
  WriteBytes(dir / "sound.wav", WaveFile({WaveChunk("fmt ", PcmFormat(1, 8000, 16)), WaveChunk("data", samples)}));
  const fs::path film = dir / "four.avi";
  const TRun run = Run("export avi " + Quote(dir / "four.mech") + " " + Quote(film) + " --steps 40 --wav " +
                       Quote(dir / "sound.wav"));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, film.string() + "\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(Written(), (std::set<std::string>{"four.avi", "sound.wav"}));
  const std::string probe =
      "ffprobe -v error -show_entries stream=codec_type,codec_name,sample_rate,channels -of csv=p=0 " + Quote(film) +
      " > " + Quote(dir / "probe.txt");
  ASSERT_EQ(std::system(probe.c_str()), 0);
  EXPECT_EQ(ReadBytes(dir / "probe.txt"), "rawvideo,video\npcm_s16le,audio,8000,1\n");
  const std::string decode =
      "ffmpeg -v error -i " + Quote(film) + " -map 0:a -f s16le " + Quote(dir / "sound.raw");
  ASSERT_EQ(std::system(decode.c_str()), 0);
  EXPECT_TRUE(ReadBytes(dir / "sound.raw") == samples);
  fs::remove(dir / "probe.txt");
  fs::remove(dir / "sound.raw");
  fs::remove(film);

  struct Case {
    std::string wave;
    std::string message;
  };
  WriteBytes(dir / "noise.wav", "RIFF\x04\0\0\0WAVE");
  const Case cases[] = {
      {"noise.wav", "The file could not be read, indicating a corrupt file or an unrecognized format.\n"},
      {"sound.WAV.txt", "WavFileName must name a file with the .wav extension\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.wave);
    const TRun refused = Run("export avi " + Quote(dir / "four.mech") + " " + Quote(film) + " --wav " + Quote(dir / c.wave));
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, c.message);
    EXPECT_EQ(Written(), (std::set<std::string>{"sound.wav", "noise.wav"}));
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
      {"export xls " + doc + " " + out, 2},
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
      {"export avi " + doc + " " + out + " --wav", 2},
      {"export avi " + doc + " " + out + " --wav ''", 2},
      {"export avi " + doc + " " + out + " --wav a.wav --wav b.wav", 2},
      {"export xlsx " + doc + " " + Quote(dir / "out.xlsx") + " --wav a.wav", 2},
      {"export bmp " + doc + " " + Quote(dir / "out.bmp") + " --wav a.wav", 2},
      {"export avi " + doc + " " + out + " --wav " + Quote(dir / "song.mp3"), 1},
      {"export avi " + doc + " " + out + " --wav " + Quote(dir / "missing.wav"), 1},
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

// The default four-bar with a target curve through its tracer's positions at steps 0, 6, ..., 60
// (so the error sheet and the curve table are written), an area, and project information whose
// title holds markup characters and Windows-1252 letters (é, and € which Latin-1 lacks).
fs::path WriteCurveDocument(const fs::path& path) {
  quillon::TAniMechanism m;
  m.NewMechanism(0);
  m.Calculate();
  for (int32_t k = 0; k <= 60; k += 6) {
    const quillon::TPositionRecord& p = m.Tracer->Positions[size_t(k)];
    m.Curve.Point(m.Curve.NewPoint()).SetXY(p.X, p.Y);
  }
  m.Curve.Rebuild();
  m.Areas.AddArea({-0.1, -0.1}, {0.1, 0.2});
  shared::TTabLines lines;
  lines.SetFileName(path.string());
  m.SaveToTabLines(lines);
  shared::TProjectInfo info;
  info.Title = "Caf\xE9 \x80 <&> hinge";
  info.Client = "Orvane";
  info.Date = "10-12-2026";
  info.WriteInfoSection(lines);
  lines.SaveToFile();
  return path;
}

// The solve command's lines of a document: joint positions and deviations by step, SI units.
struct TSolved {
  std::map<std::pair<int, char>, std::pair<double, double>> P;
  std::map<int, double> PathDeviation;
  int Len = 0;
};

TSolved ParseSolve(const TRun& run) {
  TSolved solved;
  const auto lines = run.Lines();
  solved.Len = std::stoi(lines.at("LEN").at(0).at(1));
  for (const auto& f : lines.at("P"))
    solved.P[{std::stoi(f[1]), f[2][0]}] = {std::stod(f[3]), std::stod(f[4])};
  if (lines.count("DEV"))
    for (const auto& f : lines.at("DEV")) solved.PathDeviation[std::stoi(f[1])] = std::stod(f[2]);
  return solved;
}

std::vector<double> Numbers(const std::string& text) {
  std::vector<double> values;
  for (const std::string& field : Split(text, ',')) values.push_back(std::stod(field));
  return values;
}

const char* kWorkbookScript = R"PY(
import sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
print("SHEETS|" + "|".join(wb.sheetnames))
for cs in wb.chartsheets:
    for chart in cs._charts:
        for s in chart.series:
            print("CHART|%s|%s|%s" % (cs.title, s.xVal.numRef.f, s.yVal.numRef.f))
p = wb["Properties"]
for ref in ("A1", "A2", "A3", "A4", "A5", "A6", "C4", "D1"):
    c = p[ref]
    print("P|%s|%s|%s|%s" % (ref, c.value, c.font.b, c.fill.fgColor.rgb if c.fill.fill_type else "none"))
for name in ("Rotation", "Path", "Error", "Vectors"):
    ws = wb[name]
    last = ws.max_row
    # Cells of a joint that shows no vectors stay empty; the rest are numbers.
    numbers = all(isinstance(ws.cell(r, c).value, (int, float)) or (c > 3 and ws.cell(r, c).value is None)
                  for r in range(4, last + 1) for c in range(1, ws.max_column + 1))
    bold = all(ws.cell(r, c).font.b for r in (1, 2) for c in range(1, ws.max_column + 1))
    print("SHEET|%s|%d|%s|%s|%s|%s" % (name, last, numbers, bold, ws.cell(4, 3).font.b,
                                       ws["A1"].fill.fgColor.rgb))
    print("HEAD|%s|%s" % (name, "|".join(str(ws.cell(r, c).value) for r in (2, 3) for c in range(2, 4))))
    print("COL|%s|%s" % (name, ",".join(repr(float(ws.cell(r, 3).value)) for r in range(4, last + 1))))
)PY";

TEST_F(MechtoolExportTest, WorkbookWithEveryBoxChecked) {
  const fs::path doc = WriteCurveDocument(dir / "curve.mech");
  const fs::path book = dir / "curve.xlsx";
  const TRun run = Run("export xlsx " + Quote(doc) + " " + Quote(book));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, book.string() + "\n");
  EXPECT_EQ(Written(), (std::set<std::string>{"curve.mech", "curve.xlsx"}));

  const auto read = test_support::RunPython(kWorkbookScript, {book.string()});
  ASSERT_EQ(read.Status, 0) << read.Out;
  std::map<std::string, std::vector<std::vector<std::string>>> lines;
  for (const std::string& line : Split(read.Out, '\n')) {
    const auto fields = Split(line, '|');
    if (!fields.empty()) lines[fields[0]].push_back(fields);
  }
  // Each chart sheet before its data sheet, Properties leftmost; no empty sheet of the new book.
  EXPECT_EQ(
      lines["SHEETS"].at(0),
      (std::vector<std::string>{"SHEETS",       "Properties",     "Vectors",    "Error Chart",  "Error",
                                "Path Chart",   "Path",           "Vel Chart",  "Vel",          "Acc Chart",
                                "Acc",          "Rotation Chart", "Rotation",   "AngVel Chart", "AngVel",
                                "AngAcc Chart", "AngAcc",         "TransChart", "TransAngle"}));
  const TSolved solved = ParseSolve(Run("solve " + Quote(doc)));
  const std::string rows = "$4:$B$" + std::to_string(4 + solved.Len);
  std::map<std::string, std::vector<std::string>> charts;
  for (const auto& f : lines["CHART"]) charts[f[1]].push_back(f[2] + " " + f[3]);
  EXPECT_EQ(charts["Rotation Chart"], std::vector<std::string>{"Rotation!$B" + rows + " Rotation!$C$4:$C$" +
                                                               std::to_string(4 + solved.Len)});
  EXPECT_EQ(
      charts["Error Chart"],
      (std::vector<std::string>{"Error!$B" + rows + " Error!$C$4:$C$" + std::to_string(4 + solved.Len),
                                "Error!$B" + rows + " Error!$D$4:$D$" + std::to_string(4 + solved.Len)}));
  EXPECT_EQ(charts.size(), 8u);

  // The project block in A1:C4 with its bold title, a row gap, then the mechanism.
  std::map<std::string, std::vector<std::string>> cells;
  for (const auto& f : lines["P"]) cells[f[1]] = {f[2], f[3], f[4]};
  EXPECT_EQ(cells["A1"],
            (std::vector<std::string>{"Title: Caf\xC3\xA9 \xE2\x82\xAC <&> hinge", "True", "FFFFFF99"}));
  EXPECT_EQ(cells["A2"], (std::vector<std::string>{"Client: Orvane", "False", "FFFFFF99"}));
  EXPECT_EQ(cells["A4"], (std::vector<std::string>{"Date: 10-12-2026", "False", "FFFFFF99"}));
  EXPECT_EQ(cells["C4"], (std::vector<std::string>{"None", "False", "FFFFFF99"}));
  EXPECT_EQ(cells["D1"], (std::vector<std::string>{"None", "False", "none"}));
  EXPECT_EQ(cells["A5"], (std::vector<std::string>{"None", "False", "none"}));
  EXPECT_EQ(cells["A6"], (std::vector<std::string>{"Custom", "False", "none"}));

  // Data sheets: bold, filled head rows, numbers as numbers, one row per solved step.
  for (const auto& f : lines["SHEET"]) {
    SCOPED_TRACE(f[1]);
    EXPECT_EQ(f[2], std::to_string(4 + solved.Len));
    EXPECT_EQ(f[3], "True");
    EXPECT_EQ(f[4], "True");
    EXPECT_EQ(f[5], "False");
    EXPECT_EQ(f[6], "FFFFFF99");
  }
  std::map<std::string, std::vector<double>> columns;
  for (const auto& f : lines["COL"]) columns[f[1]] = Numbers(f[2]);
  std::map<std::string, std::string> heads;
  for (const auto& f : lines["HEAD"]) heads[f[1]] = f[2] + "|" + f[3] + "|" + f[4] + "|" + f[5];
  EXPECT_EQ(heads["Rotation"], "Time|BCE|[s]|[\xC2\xB0]");
  EXPECT_EQ(heads["Path"], "Time|E|[s]|[mm]");
  EXPECT_EQ(heads["Vectors"], "Time|x|[s]|[mm]");

  // Checked against the solved positions: the coupler BC's turn since step 0 in degrees, the
  // tracer E's path length in millimetres and its deviation from the curve, the x position of
  // B (the first joint whose path is shown).
  double turn = 0, path = 0;
  const auto at = [&](int k, char joint) { return solved.P.at({k, joint}); };
  const auto angle = [&](int k) {
    return std::atan2(at(k, 'C').second - at(k, 'B').second, at(k, 'C').first - at(k, 'B').first);
  };
  ASSERT_EQ(columns["Rotation"].size(), size_t(solved.Len + 1));
  for (int k = 0; k <= solved.Len; ++k) {
    if (k > 0) {
      turn += std::remainder(angle(k) - angle(k - 1), 2 * M_PI);
      path += std::hypot(at(k, 'E').first - at(k - 1, 'E').first, at(k, 'E').second - at(k - 1, 'E').second);
    }
    EXPECT_NEAR(columns["Rotation"][size_t(k)], turn * 180 / M_PI, 1e-9) << k;
    EXPECT_NEAR(columns["Path"][size_t(k)], path * 1000, 1e-9) << k;
    EXPECT_NEAR(columns["Error"][size_t(k)], solved.PathDeviation.at(k) * 1000, 1e-9) << k;
    EXPECT_NEAR(columns["Vectors"][size_t(k)], at(k, 'B').first * 1000, 1e-9) << k;
  }
}

// The picture's width and height from a JPEG file's frame header.
std::pair<int, int> JpegSize(const std::string& data) {
  const auto be = [&data](size_t at) { return size_t(uint8_t(data[at])) << 8 | uint8_t(data[at + 1]); };
  for (size_t at = 2; at + 9 < data.size(); at += 2 + be(at + 2)) {
    if (uint8_t(data[at]) != 0xFF) break;
    const uint8_t marker = uint8_t(data[at + 1]);
    if (marker == 0xC0 || marker == 0xC1 || marker == 0xC2) return {int(be(at + 7)), int(be(at + 5))};
  }
  return {0, 0};
}

// The lines of a CR LF file, each checked for its CR.
std::vector<std::string> CrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = text.find("\r\n", at);
    EXPECT_NE(end, std::string::npos) << "line without CR LF: " << text.substr(at, 40);
    if (end == std::string::npos) break;
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

TEST_F(MechtoolExportTest, ReportWithEveryTableAndItsPictures) {
  const fs::path doc = WriteCurveDocument(dir / "curve.mech");
  const fs::path report = dir / "a <&> b.html";
  const TRun run = Run("export html " + Quote(doc) + " " + Quote(report));
  ASSERT_EQ(run.status, 0) << run.err;
  const fs::path drawing = dir / "a <&> bMech.jpg";
  const fs::path graph = dir / "a <&> bGraph.jpg";
  EXPECT_EQ(run.out, drawing.string() + "\n" + graph.string() + "\n" + report.string() + "\n");
  EXPECT_EQ(Written(),
            (std::set<std::string>{"curve.mech", "a <&> b.html", "a <&> bMech.jpg", "a <&> bGraph.jpg"}));
  EXPECT_EQ(JpegSize(ReadBytes(drawing)), std::make_pair(640, 480));
  EXPECT_EQ(JpegSize(ReadBytes(graph)), std::make_pair(640, 171));

  const std::string text = ReadBytes(report);
  const std::vector<std::string> lines = CrLfLines(text);
  ASSERT_GT(lines.size(), 20u);
  // The file name is HTML text in the title and a URL relative to the page in the picture
  // references.
  const std::string escaped = dir.string() + "/a &lt;&amp;&gt; b.html";
  const std::string url = "a%20%3C%26%3E%20b";
  const std::vector<std::string> head = {
      "<html>",
      "<head>",
      "<meta http-equiv=\"Content-Type\"",
      "content=\"text/html; charset=iso-8859-1\">",
      "<meta name=\"GENERATOR\" content=\"Quillon Animator - V2.1.4\">",
      "<title>" + escaped + "</title>",
      "</head>",
      "<body bgcolor=\"#FFFFFF\">",
      "<table border=\"1\" bordercolor=\"#000000\" width=\"100%\">",
      "<tr><td width=\"100%\" bgcolor=\"#FFFFCC\">",
      "<font face=\"Arial\" size=\"4\">Quillon Animator - V2.1.4</font><br>"};
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + long(head.size())), head);
  EXPECT_EQ(lines[head.size()].rfind("<font face=\"Arial\" size=\"2\">curve.mech - ", 0), 0u)
      << lines[head.size()];
  // The project title: markup escaped, é as its Latin-1 byte, € (no Latin-1 letter) as a reference.
  EXPECT_NE(text.find("Caf\xE9 &#8364; &lt;&amp;&gt; hinge"), std::string::npos);
  EXPECT_EQ(text.find('\x80'), std::string::npos);
  const std::vector<std::string> pictures = {"<table border=\"1\" bordercolor=\"#000000\">",
                                             "<tr><td colspan=\"1\" bgcolor=\"#C0C0C0\"><font face=\"Arial\" "
                                             "size=\"3\"><b>Custom</b></font></td></tr>",
                                             "<tr><td><img src=\"" + url + "Mech.jpg\"></td></tr>",
                                             "<tr><td bgcolor=\"#C0C0C0\"><font face=\"Arial\" size=\"3\">",
                                             "<b>Path Error</b></font></td></tr>",
                                             "<tr><td><img src=\"" + url + "Graph.jpg\"></td></tr>",
                                             "</table>",
                                             "<p></p>"};
  const auto first = std::find(lines.begin(), lines.end(), pictures[0]);
  ASSERT_NE(first, lines.end());
  EXPECT_EQ(std::vector<std::string>(first, first + long(pictures.size())), pictures);
  for (const char* table : {">Mechanism Properties<", ">Curve<", "Include</td>", "<td width=\"8%\">Nr.</td>"})
    EXPECT_NE(text.find(table), std::string::npos) << table;
  const std::vector<std::string> tail = {
      "<p><a href=\"https://www.orvane.com/quillon/\"><font size=\"2\" face=\"Arial\">Quillon Animator - "
      "Copyright (C) Orvane. All rights reserved.</font></a></p>",
      "</body>", "</html>"};
  EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()), tail);
  EXPECT_EQ(text.find("printPage"), std::string::npos);

  const auto parsed = test_support::RunPython(test_support::kBalancedTagsScript, {report.string()});
  EXPECT_EQ(parsed.Out, "balanced\n");
}

TEST_F(MechtoolExportTest, PicturesOfAStep) {
  struct Case {
    const char* kind;
    const char* name;
    const char* options;
    const char* written;
  };
  const Case cases[] = {
      {"bmp", "pic.bmp", "", "pic000.bmp"},
      {"bmp", "pic.BMP", " --step 12", "pic012.BMP"},
      {"bmp", "pic.bmp", " --steps 1300 --step 1234", "pic1234.bmp"},
      {"jpeg", "pic.jpg", " --step 12", "pic012.jpg"},
      {"jpeg", "pic", "", "pic000"},
  };
  // The pixels of a JPEG file as ffmpeg decodes them, RGB rows from the top.
  const auto decodeJpeg = [this](const fs::path& picture) {
    const fs::path raw = dir / "pixels.raw";
    const std::string command =
        "ffmpeg -v error -y -i " + Quote(picture) + " -f rawvideo -pix_fmt rgb24 " + Quote(raw);
    EXPECT_EQ(std::system(command.c_str()), 0);
    std::string pixels = ReadBytes(raw);
    fs::remove(raw);
    return pixels;
  };
  std::map<std::string, shared::TRaster> bitmaps;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.written);
    const TRun run = Run(std::string("export ") + c.kind + " " + Quote(dir / "four.mech") + " " +
                         Quote(dir / c.name) + c.options);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, (dir / c.written).string() + "\n");
    EXPECT_EQ(Written(), std::set<std::string>{c.written});
    const std::string data = ReadBytes(dir / c.written);
    if (std::string(c.kind) == "bmp") {
      // 4 bits per pixel: the drawing's 16 colours.
      EXPECT_EQ(LE(data, 28, 2), 4u);
      bitmaps[c.options] = shared::ReadBmp(data);
      EXPECT_EQ(bitmaps[c.options].Width, 640);
      EXPECT_EQ(bitmaps[c.options].Height, 480);
    } else {
      EXPECT_EQ(data.substr(0, 3), "\xFF\xD8\xFF");
      EXPECT_EQ(JpegSize(data), std::make_pair(640, 480));
      // The same drawing as the bitmap of the same step, up to the JPEG's losses.
      const shared::TRaster& bitmap = bitmaps[std::string(c.options).empty() ? "" : " --step 12"];
      const std::string pixels = decodeJpeg(dir / c.written);
      ASSERT_EQ(pixels.size(), size_t(640 * 480 * 3));
      double difference = 0;
      for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
          const shared::TColor colour = bitmap.ColorAt(x, y);
          const size_t at = size_t(y * 640 + x) * 3;
          difference += std::abs(int(uint8_t(pixels[at])) - int(colour & 0xFF)) +
                        std::abs(int(uint8_t(pixels[at + 1])) - int((colour >> 8) & 0xFF)) +
                        std::abs(int(uint8_t(pixels[at + 2])) - int((colour >> 16) & 0xFF));
        }
      EXPECT_LT(difference / (640.0 * 480 * 3), 4.0);
    }
    fs::remove(dir / c.written);
  }
  // The steps show different positions; step 1234 of 1300 lies near the end of the cycle, where
  // the linkage returns to its start.
  EXPECT_NE(bitmaps[""].Pixels, bitmaps[" --step 12"].Pixels);
}

TEST_F(MechtoolExportTest, ReportAndWorkbookRefusalsLeaveNothingWritten) {
  const std::string doc = Quote(dir / "four.mech");
  fs::create_directories(dir / "taken.html");
  struct Case {
    std::string args;
    int status;
  };
  const Case cases[] = {
      {"export xlsx " + doc + " " + Quote(dir / "out.xlsx") + " --step 3", 2},
      {"export html " + doc + " " + Quote(dir / "out.html") + " --step 3", 2},
      {"export bmp " + doc + " " + Quote(dir / "pic.jpg"), 2},
      {"export jpeg " + doc + " " + Quote(dir / "pic.bmp"), 2},
      {"export bmp " + doc + " " + Quote(dir / "pic.bmp") + " --step -1", 2},
      {"export bmp " + doc + " " + Quote(dir / "pic.bmp") + " --step", 2},
      {"export bmp " + doc + " " + Quote(dir / "pic.bmp") + " --step 1 --step 2", 2},
      {"export bmp " + doc + " " + Quote(dir / "pic.bmp") + " --step 91", 1},
      {"export jpeg " + Quote(dir / "missing.mech") + " " + Quote(dir / "pic.jpg"), 1},
      {"export xlsx " + doc + " " + Quote(dir / "nowhere" / "out.xlsx"), 1},
      {"export html " + doc + " " + Quote(dir / "nowhere" / "out.html"), 1},
      {"export bmp " + doc + " " + Quote(dir / "nowhere" / "pic.bmp"), 1},
      // The pictures are made beside it before the report fails: they go again.
      {"export html " + doc + " " + Quote(dir / "taken.html"), 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    const TRun run = Run(c.args);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err, "");
    EXPECT_EQ(Written(), std::set<std::string>{"taken.html"});
  }
  // A workbook that cannot be made keeps the one there.
  WriteBytes(dir / "spoilt.mech", "[Quillon>\r\n7\r\n<Quillon]\r\n");
  WriteBytes(dir / "out.xlsx", "the old book");
  EXPECT_EQ(Run("export xlsx " + Quote(dir / "spoilt.mech") + " " + Quote(dir / "out.xlsx")).status, 1);
  EXPECT_EQ(ReadBytes(dir / "out.xlsx"), "the old book");
}

}  // namespace
