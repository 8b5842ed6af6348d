// synthtool export html: the report of a listed solution of a generated project with its
// pictures, the print script on request, and the exit status of bad solutions, projects and
// arguments, which write nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "shared/PictureFile.h"
#include "synthesis/engine/FileValidate.h"
#include "synthesis/engine/ProjectFile.h"
#include "tests/tools/SynthtoolRun.h"

namespace synthtool_test {
namespace {

class SynthtoolExportHtmlTest : public TSynthtoolFixture {
 protected:
  SynthtoolExportHtmlTest() : TSynthtoolFixture("synthtool_export_html") {}

  void SetUp() override {
    TSynthtoolFixture::SetUp();
    const TRun made = Run("generate " + File("curve.txt", kCurve) +
                          " --type 0 --budget 400 --seed 3 --project " + Quote(dir / "gear.vesk"));
    ASSERT_EQ(made.status, 0) << made.err;
    fs::remove(dir / "curve.txt");
    // The solutions as the list prints them: "MECH" k type ID total.
    const TRun listed = Run("project " + Quote(dir / "gear.vesk"));
    ASSERT_EQ(listed.status, 0) << listed.err;
    for (const std::string& line : listed.Lines()) {
      std::istringstream fields(line);
      std::string word;
      int k = 0, type = 0, id = 0;
      if (fields >> word >> k >> type >> id && word == "MECH") Ids.push_back(id);
    }
    ASSERT_GE(Ids.size(), 2u);
  }

  std::set<std::string> Files() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename().string());
    return names;
  }

  // The report's lines, each ended by CR LF.
  static std::vector<std::string> HtmlLines(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t at = 0, end; at < text.size(); at = end + 2) {
      end = text.find("\r\n", at);
      if (end == std::string::npos) end = text.size();
      lines.push_back(text.substr(at, end - at));
    }
    return lines;
  }

  std::vector<int> Ids;
};

TEST_F(SynthtoolExportHtmlTest, ReportOfASolutionWithItsPictures) {
  fs::create_directories(dir / "out");
  const TRun run = Run("export html " + Quote(dir / "gear.vesk") + " 2 " + Quote(dir / "out" / "gear.html"));
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string stem = (dir / "out" / "gear").string();
  EXPECT_EQ(run.Lines(), (std::vector<std::string>{stem + "Mech.bmp", stem + "Graph.bmp", stem + ".html"}));
  EXPECT_EQ(run.err, "");

  const shared::TRaster mech = shared::LoadBmpFile(stem + "Mech.bmp");
  EXPECT_EQ(mech.Width, 640);
  EXPECT_EQ(mech.Height, 480);
  const shared::TRaster graph = shared::LoadBmpFile(stem + "Graph.bmp");
  EXPECT_EQ(graph.Width, 640);
  EXPECT_EQ(graph.Height, 300);
  // Both are drawn: more than a blank surface.
  for (const shared::TRaster* picture : {&mech, &graph}) {
    std::set<uint32_t> colours(picture->Pixels.begin(), picture->Pixels.end());
    EXPECT_GE(colours.size(), 3u);
  }

  const std::string text = ReadBytes(stem + ".html");
  ASSERT_EQ(text.substr(text.size() - 2), "\r\n");
  const std::vector<std::string> lines = HtmlLines(text);
  const std::string project = (dir / "gear.vesk").string();
  const std::vector<std::string> head = {
      "<html>",
      "<head>",
      "<meta http-equiv=\"Content-Type\"",
      "content=\"text/html; charset=iso-8859-1\">",
      "<meta name=\"GENERATOR\" content=\"Vesk Professional - V1.6.4\">",
      "<title>" + project + "</title>",
      "</head>",
      "<body bgcolor=\"#FFFFFF\">",
      "<table border=\"1\" bordercolor=\"#000000\" width=\"100%\">",
      "<tr><td width=\"100%\" bgcolor=\"#FFFFCC\">",
      "<font face=\"Arial\" size=\"4\">Vesk Professional - V1.6.4</font><br>",
      "",  // the date line
      "</td></tr>",
      "</table>",
      "<p></p>",
      // A new project's information: the empty table.
      "<table border=\"1\" bordercolor=\"#000000\" width=\"100%\">",
      "</table>",
      "<p></p>",
      "<table border=\"1\" bordercolor=\"#000000\">",
      "<tr><td colspan=\"1\" bgcolor=\"#C0C0C0\"><font face=\"Arial\" size=\"3\"><b>Fourbar " +
          std::to_string(Ids[1]) + "</b>",
      "</font></td></tr>",
      "<tr><td><img src=\"gearMech.bmp\"></td></tr>",  // beside the page
      "<tr><td bgcolor=\"#C0C0C0\"><font face=\"Arial\" size=\"3\">",
      "<b>Path Error</b></font></td></tr>",
      "<tr><td><img src=\"gearGraph.bmp\"></td></tr>",
      "</table>",
      "<p></p>",
  };
  ASSERT_GT(lines.size(), head.size());
  for (size_t i = 0; i < head.size(); ++i) {
    if (i == 11) {
      EXPECT_EQ(lines[i].rfind("<font face=\"Arial\" size=\"2\">gear.vesk - ", 0), 0u) << lines[i];
      continue;
    }
    EXPECT_EQ(lines[i], head[i]) << "line " << i + 1;
  }
  // Then every table in the report's order, and the footer.
  size_t at = head.size();
  for (const std::string& heading :
       {std::string("Mechanism Properties"), std::string("Path points"), std::string("Curve definition"),
        std::string("Ground Pivot Areas"), std::string("Coupler Pivot Areas")}) {
    while (at < lines.size() && lines[at].find(heading) == std::string::npos) ++at;
    EXPECT_LT(at, lines.size()) << heading;
  }
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[lines.size() - 3],
            "<p><a href=\"https://www.orvane.com/vesk/\"><font size=\"2\" face=\"Arial\">Vesk Professional - "
            "Copyright (C) Orvane. All rights reserved.</font></a></p>");
  EXPECT_EQ(lines[lines.size() - 2], "</body>");
  EXPECT_EQ(lines.back(), "</html>");
}

TEST_F(SynthtoolExportHtmlTest, PrintAddsTheScriptAndItsCall) {
  const TRun run =
      Run("export html " + Quote(dir / "gear.vesk") + " 1 " + Quote(dir / "r.html") + " --print");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string text = ReadBytes(dir / "r.html");
  EXPECT_NE(text.find("<script language=\"JavaScript\">\r\n"), std::string::npos);
  EXPECT_NE(text.find("<body bgcolor=\"#FFFFFF\" onLoad=\"printPage()\">\r\n"), std::string::npos);
  EXPECT_NE(text.find("<b>Fourbar " + std::to_string(Ids[0]) + "</b>"), std::string::npos);
}

TEST_F(SynthtoolExportHtmlTest, ErrorsWriteNothing) {
  WriteBytes(dir / "broken.vesk", "[Vesk]\r\nnot a project\r\n");
  const std::string project = Quote(dir / "gear.vesk");
  const std::string out = Quote(dir / "r.html");
  struct Case {
    std::string args;
    int status;
  };
  const Case cases[] = {
      {"export html " + project + " " + std::to_string(Ids.size() + 1) + " " + out, 1},
      {"export html " + project + " 0 " + out, 1},
      {"export html " + Quote(dir / "broken.vesk") + " 1 " + out, 1},
      {"export html " + Quote(dir / "none.vesk") + " 1 " + out, 1},
      {"export html " + project + " 1", 2},
      {"export html " + project + " x " + out, 2},
      {"export html " + project + " -1 " + out, 2},
      {"export html " + project + " 1 " + out + " --print --print", 2},
      {"export html " + project + " 1 " + out + " extra", 2},
      {"export html " + project + " 1 " + out + " --bogus", 2},
      {"export pdf " + project + " 1 " + out, 2},
      {"export", 2},
  };
  const std::set<std::string> before = Files();
  for (const Case& c : cases) {
    const TRun run = Run(c.args);
    EXPECT_EQ(run.status, c.status) << c.args << "\n" << run.err;
    EXPECT_EQ(run.out, "") << c.args;
    EXPECT_NE(run.err, "") << c.args;
    if (c.status == 2) {
      EXPECT_NE(run.err.find("synthtool export sam|mech|xlsx|html IN.vesk K OUT [--print]"),
                std::string::npos)
          << c.args;
    }
    EXPECT_EQ(Files(), before) << c.args;
  }
}

// A project whose list asks for markers or labels no screen can draw, signed as the program
// signs: refused as a damaged list, nothing written. The joints come first in a mechanism, then
// its precision and path points; the curve is the last list of the project.
TEST_F(SynthtoolExportHtmlTest, ListSettingsNoDrawingCanUseAreRefused) {
  std::string text = ReadBytes(dir / "gear.vesk");
  // Without its checksum line.
  text.erase(text.rfind("\r\n", text.size() - 3) + 2);
  struct Case {
    const char* line;
    bool last;
    const char* value;
  };
  const Case cases[] = {
      {"\r\n4 MarkerSize\r\n", false, "2147483647"},    {"\r\n10 TextOffset\r\n", false, "2147483647"},
      {"\r\n6 MarkerSize\r\n", false, "-2147483648"},   {"\r\n3 MarkerSize\r\n", false, "65536"},
      {"\r\n3 MarkerSize\r\n", true, "-1"},             {"\r\n8 TextOffset\r\n", true, "-2147483648"},
  };
  const std::set<std::string> before = Files();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.line).substr(2) + c.value);
    std::string changed = text;
    const size_t at = c.last ? changed.rfind(c.line) : changed.find(c.line);
    ASSERT_NE(at, std::string::npos);
    changed.replace(at + 2, std::string(c.line).find(' ') - 2, c.value);
    vesk::TFileValidate validate;
    validate.Key = vesk::kProjectKey;
    validate.Sign(changed);
    WriteBytes(dir / "gear.vesk", changed);
    const TRun run = Run("export html " + Quote(dir / "gear.vesk") + " 1 " + Quote(dir / "r.html"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("File read error in "), std::string::npos) << run.err;
    EXPECT_EQ(Files(), before);
  }
}

}  // namespace
}  // namespace synthtool_test
