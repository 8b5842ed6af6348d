// The solution's HTML report without windows: its default name, its lines in order, the texts
// from files escaped and written as ISO-8859-1, the print script, the hidden graph and its
// files, also when the report file cannot be written.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "shared/Convert.h"
#include "shared/HtmlPage.h"
#include "shared/PictureFile.h"
#include "shared/ProjectInfo.h"
#include "synthesis/engine/Area.h"
#include "synthesis/engine/Fourbar.h"
#include "synthesis/engine/GraphPaintBox.h"
#include "synthesis/engine/HtmlReport.h"
#include "synthesis/engine/Spline.h"
#include "tests/animator/engine/RecordingCanvas.h"
#include "tests/shared/TestFiles.h"
#include "tests/synthesis/engine/KnownFourbar.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using shared::test::ReadBytes;
using shared::test::WriteBytes;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = text.find("\r\n", at);
    if (end == std::string::npos) {
      lines.push_back(text.substr(at));
      break;
    }
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

template <class T>
std::vector<std::string> LinesOf(const T& writer) {
  std::ostringstream out;
  writer(out);
  return Lines(out.str());
}

void Append(std::vector<std::string>& to, const std::vector<std::string>& lines) {
  to.insert(to.end(), lines.begin(), lines.end());
}

TEST(ReportName, DefaultNameFromProjectOrDataFolder) {
  const fs::path folder = fs::temp_directory_path() / ("vesk_report_name_" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const fs::path saved = folder / "gear.vesk";
  WriteBytes(saved, "[Vesk]\r\n");
  const std::string data = (folder / "data").string() + "/";
  struct Case {
    std::string project;
    int32_t id;
    std::string name;
  };
  const Case cases[] = {
      // A saved project: beside its file, whatever the data folder.
      {saved.string(), 12, (folder / "gear12.html").string()},
      // Never saved: the default name in the data folder.
      {"Untitled", 12, data + "Untitled12.html"},
      // A project file that is gone: its name in the data folder.
      {"/no/such/folder/gear.vesk", 3, data + "gear3.html"},
      // Only the last extension goes.
      {"/no/such/folder/gear.v2.vesk", 45, data + "gear.v245.html"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DefaultReportName(c.project, data, c.id), c.name) << c.project;
    THtmlReport report;
    report.FileName = DefaultReportName(c.project, data, c.id);
    const std::string stem = c.name.substr(0, c.name.size() - 5);
    EXPECT_EQ(report.MechPictureName(), stem + "Mech.bmp");
    EXPECT_EQ(report.GraphPictureName(), stem + "Graph.bmp");
  }
  EXPECT_EQ(ReportBaseName(saved.string(), data), saved.string());
  EXPECT_EQ(ReportBaseName("Untitled", data), data + "Untitled");
  fs::remove_all(folder);
}

class HtmlReportTest : public vesktest::TMechanismTest {
 protected:
  void SetUp() override {
    shared::CreateConvert();
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    dir = fs::temp_directory_path() / ("vesk_report_" + std::to_string(::getpid()) + "_" + test->name());
    fs::remove_all(dir);
    fs::create_directories(dir);

    fourbar.emplace();
    TMechanism& m = *fourbar;
    vesktest::SetExactPrecision(m);
    ASSERT_TRUE(m.Synthesize());
    m.InputFunction.SetSteps(10);
    m.SimulatePath(nullptr);
    m.ID = 12;
    m.Name = "Four bar*";
    graphHolder.emplace(graphBox, shared::Convert());
    graph().YTitle = "Error";
    graph().YUnit = shared::cuLength;
    for (int32_t i = 1; i <= m.PathPoints.Count(); ++i) graph().AddPoint(i, 0.001 * i);
    vesktest::FillCurve(curve);
    curve.Name = "Curve definition";
    ground.Name = "Ground Pivot Areas";
    ground.Add(std::make_unique<TArea>(0, 0, 0.2, 0.1));
    coupler.Name = "Coupler Pivot Areas";
    coupler.Add(std::make_unique<TArea>(-0.1, -0.1, 0.1, 0.1));
    info.Title = "Gear";
    info.Client = "Orvane";
    info.Date = "10-12-2026";
    info.Comments = {"first", ""};

    report.FileName = (dir / "gear12.html").string();
    report.BaseName = (dir / "gear.vesk").string();
    report.ProjectName = (dir / "gear.vesk").string();
    report.Title = "Vesk Professional";
    report.Version = "1.6.4";
    report.Date = "10-12-2026";
    report.Time = "16:05";
    report.ProductURL = "https://www.orvane.com/vesk/";
    report.Notice = "Copyright (C) Orvane. All rights reserved.";
    report.Options = {true, true, true, true, false, true, true};
    report.Info = &info;
    report.Mechanism = &m;
    report.Graph = &graph();
    report.Curve = &curve;
    report.GroundAreas = &ground;
    report.CouplerAreas = &coupler;
    report.MechPicture = shared::TRaster(64, 48, 0xFFFFFFFF);
    report.GraphPicture = shared::TRaster(64, 30, 0xFFFFFFFF);
    report.GraphCaption = "Path Error";
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string Text() const {
    std::ostringstream out;
    report.WriteLines(out);
    return out.str();
  }

  fs::path dir;
  std::optional<TFourbar> fourbar;
  enginetest::TRecordingPaintBox graphBox{64, 30};
  std::optional<TGraphPaintBox> graphHolder;  // made once the unit service is
  TGraphPaintBox& graph() { return *graphHolder; }
  TSpline curve;
  TAreaList ground{20};
  TAreaList coupler{20};
  shared::TProjectInfo info;
  THtmlReport report;
};

TEST_F(HtmlReportTest, LinesInOrder) {
  // The pictures beside the page, named relative to it.
  const std::string mech = "gear12Mech.bmp";
  const std::string graphPicture = "gear12Graph.bmp";
  std::vector<std::string> expected = {
      "<html>",
      "<head>",
      "<meta http-equiv=\"Content-Type\"",
      "content=\"text/html; charset=iso-8859-1\">",
      "<meta name=\"GENERATOR\" content=\"Vesk Professional - V1.6.4\">",
      "<title>" + (dir / "gear.vesk").string() + "</title>",
      "</head>",
      "<body bgcolor=\"#FFFFFF\">",
      "<table border=\"1\" bordercolor=\"#000000\" width=\"100%\">",
      "<tr><td width=\"100%\" bgcolor=\"#FFFFCC\">",
      "<font face=\"Arial\" size=\"4\">Vesk Professional - V1.6.4</font><br>",
      "<font face=\"Arial\" size=\"2\">gear.vesk - 10-12-2026 - 16:05</font>",
      "</td></tr>",
      "</table>",
      "<p></p>",
  };
  Append(expected, LinesOf([&](std::ostream& out) { info.WriteHTML(out); }));
  Append(expected,
         {
             "<table border=\"1\" bordercolor=\"#000000\">",
             "<tr><td colspan=\"1\" bgcolor=\"#C0C0C0\"><font face=\"Arial\" size=\"3\"><b>Four bar* 12</b>",
             "</font></td></tr>",
             "<tr><td><img src=\"" + mech + "\"></td></tr>",
             "<tr><td bgcolor=\"#C0C0C0\"><font face=\"Arial\" size=\"3\">",
             "<b>Path Error</b></font></td></tr>",
             "<tr><td><img src=\"" + graphPicture + "\"></td></tr>",
             "</table>",
             "<p></p>",
         });
  Append(expected, LinesOf([&](std::ostream& out) { fourbar->WriteHtml(out); }));
  Append(expected, LinesOf([&](std::ostream& out) { fourbar->PathPoints.WriteHtml(out, graph()); }));
  Append(expected, LinesOf([&](std::ostream& out) { curve.WriteHtml(out); }));
  Append(expected, LinesOf([&](std::ostream& out) { ground.WriteHtml(out); }));
  Append(expected, LinesOf([&](std::ostream& out) { coupler.WriteHtml(out); }));
  Append(expected, {
                       "<p><a href=\"https://www.orvane.com/vesk/\"><font size=\"2\" face=\"Arial\">Vesk "
                       "Professional - Copyright (C) Orvane. All rights reserved.</font></a></p>",
                       "</body>",
                       "</html>",
                   });
  // Each table is there, and no two writers gave the same lines.
  for (const char* heading : {"Mechanism Properties", "Path points", "Curve definition", "Ground Pivot Areas",
                              "Coupler Pivot Areas", "<td>Client: </td><td>Orvane</td>"}) {
    EXPECT_NE(Text().find(heading), std::string::npos) << heading;
  }
  const std::vector<std::string> lines = Lines(Text());
  ASSERT_EQ(lines.size(), expected.size());
  for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1;
  EXPECT_EQ(Text().substr(Text().size() - 2), "\r\n");

  // An optimised solution says so after its name.
  fourbar->Optimized = true;
  EXPECT_NE(Text().find("<b>Four bar* 12</b> [Optimized]\r\n</font></td></tr>"), std::string::npos);
}

TEST_F(HtmlReportTest, TheOptionsLeaveOutTheirTables) {
  const std::string all = Text();
  struct Case {
    const char* name;
    bool shared::THtmlReportOptions::*box;
    std::string part;
  };
  const Case cases[] = {
      {"project info", &shared::THtmlReportOptions::ProjectInfo, "<td>Client: </td>"},
      {"drawing", &shared::THtmlReportOptions::Drawing, "gear12Mech.bmp"},
      {"properties", &shared::THtmlReportOptions::Properties, "Mechanism Properties"},
      {"path data", &shared::THtmlReportOptions::PathData, "Path points"},
      {"curve", &shared::THtmlReportOptions::Curve, "Curve definition"},
      {"areas", &shared::THtmlReportOptions::Areas, "Pivot Areas"},
  };
  for (const Case& c : cases) {
    ASSERT_NE(all.find(c.part), std::string::npos) << c.name;
    report.Options.*c.box = false;
    EXPECT_EQ(Text().find(c.part), std::string::npos) << c.name;
    report.Options.*c.box = true;
  }
}

TEST_F(HtmlReportTest, PrintScriptAndTheBodyThatCallsIt) {
  // Without the script the body must not call it: that would be a script error on loading.
  report.Options.AutoPrint = false;
  std::string text = Text();
  EXPECT_EQ(text.find("printPage"), std::string::npos);
  EXPECT_NE(text.find("</head>\r\n<body bgcolor=\"#FFFFFF\">\r\n"), std::string::npos);

  report.Options.AutoPrint = true;
  text = Text();
  EXPECT_NE(
      text.find("</title>\r\n<script language=\"JavaScript\">\r\n<!-- Begin\r\nfunction printPage() {\r\n"
                "  if (window.print) {\r\n    window.print();\r\n  }\r\n}\r\n//  End -->\r\n</script>\r\n"
                "</head>\r\n<body bgcolor=\"#FFFFFF\" onLoad=\"printPage()\">\r\n"),
      std::string::npos);
}

TEST_F(HtmlReportTest, TextsFromFilesAreEscapedAndWrittenAsLatin1) {
  struct Case {
    const char* name;
    std::function<void()> set;
    std::string written;  // as the file holds it
  };
  const Case cases[] = {
      {"solution name", [&] { fourbar->Name = "Cam <A> & \"B\""; },
       "<b>Cam &lt;A&gt; &amp; &quot;B&quot; 12</b>"},
      {"project title with Windows-1252 letters", [&] { info.Title = "Caf\xE9 \x80 <1>"; },
       "size=\"4\">Caf\xE9 &#8364; &lt;1&gt;</font>"},
      {"comment", [&] { info.Comments = {"a</p><script>"}; }, "a&lt;/p&gt;&lt;script&gt;<br>"},
      {"curve name",
       [&] {
         curve.Name =
             "\x93"
             "c\x94 & d";
       },
       "&#8220;c&#8221; &amp; d</font>"},
      {"area list name", [&] { ground.Name = "<g>"; }, "size=\"4\">&lt;g&gt;</font>"},
      {"graph caption", [&] { report.GraphCaption = "\x84x"; }, "<b>&#8222;x</b>"},
      // File names are UTF-8: a Latin-1 letter is one byte, others references.
      {"project file name", [&] { report.ProjectName = "/d/gear \xC3\xA9\xE2\x82\xAC<.vesk"; },
       "size=\"2\">gear \xE9&#8364;&lt;.vesk - "},
      {"page title", [&] { report.BaseName = "/d/a&b\xE6\xBC\xA2.vesk"; },
       "<title>/d/a&amp;b&#28450;.vesk</title>"},
      {"picture names", [&] { report.FileName = (dir / "r \xE2\x82\xAC.html").string(); },
       "r%20%E2%82%ACMech.bmp\""},
  };
  // Each case changes its own text; the picture names come last, since they move the files.
  for (const Case& c : cases) {
    c.set();
    report.Save();
    const std::string file = ReadBytes(report.FileName);
    EXPECT_NE(file.find(c.written), std::string::npos) << c.name << "\n" << file.substr(0, 2000);
    // The file is ISO-8859-1: no byte where Windows-1252 differs from it.
    for (const char byte : file)
      ASSERT_FALSE(static_cast<uint8_t>(byte) >= 0x80 && static_cast<uint8_t>(byte) < 0xA0) << c.name;
  }
}

TEST_F(HtmlReportTest, FilesWrittenWithAndWithoutTheGraph) {
  const std::vector<std::string> written = report.Save();
  EXPECT_EQ(written,
            (std::vector<std::string>{(dir / "gear12Mech.bmp").string(), (dir / "gear12Graph.bmp").string(),
                                      (dir / "gear12.html").string()}));
  EXPECT_EQ(shared::LoadBmpFile(written[0]).Width, 64);
  EXPECT_EQ(shared::LoadBmpFile(written[1]).Height, 30);
  EXPECT_EQ(ReadBytes(written[2]), shared::Latin1Html(Text()));

  // The graph panel hidden: no graph picture and no rows for it.
  fs::remove_all(dir);
  fs::create_directories(dir);
  report.GraphPicture.reset();
  EXPECT_EQ(report.Save(),
            (std::vector<std::string>{(dir / "gear12Mech.bmp").string(), (dir / "gear12.html").string()}));
  EXPECT_FALSE(fs::exists(dir / "gear12Graph.bmp"));
  const std::string text = ReadBytes(dir / "gear12.html");
  EXPECT_EQ(text.find("Graph.bmp"), std::string::npos);
  EXPECT_EQ(text.find("Path Error"), std::string::npos);
  EXPECT_NE(text.find("gear12Mech.bmp\"></td></tr>\r\n</table>\r\n<p></p>\r\n"), std::string::npos);
}

// The page names its pictures relative to itself: moved to another folder with them (or mailed),
// every picture it refers to is found beside it. Names that a URL must encode stay one.
TEST_F(HtmlReportTest, AMovedReportStillFindsItsPictures) {
  for (const char* name : {"gear12.html", "my gear #2 100%.html"}) {
    SCOPED_TRACE(name);
    const fs::path written = dir / "written", moved = dir / "moved";
    fs::create_directories(written);
    report.FileName = (written / name).string();
    const std::vector<std::string> files = report.Save();
    ASSERT_EQ(files.size(), 3u);
    fs::rename(written, moved);
    const std::string page = ReadBytes(moved / name);
    std::vector<std::string> sources;
    for (size_t at = page.find("<img src=\""); at != std::string::npos; at = page.find("<img src=\"", at + 1)) {
      const size_t start = at + 10;
      sources.push_back(page.substr(start, page.find('"', start) - start));
    }
    ASSERT_EQ(sources.size(), 2u);
    for (size_t k = 0; k < sources.size(); ++k) {
      // No folder in the reference: percent-decoded, it is the picture's own name.
      EXPECT_EQ(sources[k].find('/'), std::string::npos) << sources[k];
      std::string decoded;
      for (size_t i = 0; i < sources[k].size(); ++i) {
        if (sources[k][i] == '%') {
          decoded += char(std::stoi(sources[k].substr(i + 1, 2), nullptr, 16));
          i += 2;
        } else {
          decoded += sources[k][i];
        }
      }
      EXPECT_EQ(decoded, fs::path(files[k]).filename().string());
      EXPECT_TRUE(fs::exists(moved / decoded)) << decoded;
    }
    fs::remove_all(moved);
  }
}

TEST_F(HtmlReportTest, AReportThatCannotBeWrittenLeavesNothingAndSaysWhy) {
  // A folder where the report file should go: the pictures beside it are saved first, then
  // taken away again when the report fails.
  fs::create_directories(dir / "gear12.html");
  try {
    report.Save();
    FAIL() << "no error";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find("gear12.html"), std::string::npos) << error.what();
  }
  EXPECT_FALSE(fs::exists(dir / "gear12Mech.bmp"));
  EXPECT_FALSE(fs::exists(dir / "gear12Graph.bmp"));

  // No name at all, and a folder that does not exist.
  for (const std::string& name : {std::string(), (dir / "none" / "r.html").string()}) {
    report.FileName = name;
    EXPECT_THROW(report.Save(), std::runtime_error) << name;
  }
  EXPECT_FALSE(fs::exists(dir / "none"));
}

}  // namespace
}  // namespace vesk
