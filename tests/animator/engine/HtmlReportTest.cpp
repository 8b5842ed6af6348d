// The HTML report page without windows: its lines in order with the drawing heading and the
// pictures, the part written after a failure, and a report file that
// cannot be written, which leaves no picture behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "animator/engine/AniMechanism.h"
#include "animator/engine/HtmlReport.h"
#include "shared/Convert.h"
#include "shared/ProjectInfo.h"
#include "tests/shared/TestFiles.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;
using shared::test::ReadBytes;
using shared::test::WriteBytes;

class HtmlReportTest : public shared::test::TTempFolderTest {
 protected:
  HtmlReportTest() : TTempFolderTest("html_report_test") {}

  void SetUp() override {
    TTempFolderTest::SetUp();
    shared::CreateConvert();
    Mechanism.NewMechanism(0);
    Mechanism.Calculate();
    Info.Title = "Door <hinge> & \x80 stop";
    Info.Date = "9-12-2026";
    Report.FileName = (dir / "r.html").string();
    Report.DocumentName = "door <1>.mech";
    Report.Title = "Quillon Animator";
    Report.Version = "2.1.4";
    Report.Date = "10-12-2026";
    Report.Time = "14:05";
    Report.ProductURL = "https://www.orvane.com/quillon/?a=1&b=2";
    Report.Notice = "(C) Orvane";
    Report.Info = &Info;
    Report.Mechanism = &Mechanism;
    Report.SaveDrawing = [this](const std::string& name) { SavePicture("drawing", name); };
  }
  void TearDown() override {
    shared::FreeConvert();
    TTempFolderTest::TearDown();
  }

  void SavePicture(const std::string& what, const std::string& name) {
    if (what == Failing) throw std::runtime_error("Cannot write picture file \"" + name + "\": disk full.");
    WriteBytes(name, what);
    Saved.push_back(name);
  }

  std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
      EXPECT_TRUE(!line.empty() && line.back() == '\r') << line;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    return lines;
  }

  std::set<std::string> Files() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename().string());
    return names;
  }

  TAniMechanism Mechanism;
  shared::TProjectInfo Info;
  THtmlReport Report;
  std::vector<std::string> Saved;
  std::string Failing;
};

TEST_F(HtmlReportTest, LinesInOrder) {
  Report.Options = {true, true, false, false, true, false, false};
  Report.SaveGraph = [this](const std::string& name) { SavePicture("graph", name); };
  Report.GraphSeriesName = "B<C>E";
  Mechanism.Optimized = 1;
  std::string error;
  const std::vector<std::string> written = Report.Save(error);
  EXPECT_EQ(error, "");
  const std::string drawing = (dir / "rMech.jpg").string();
  const std::string graph = (dir / "rGraph.jpg").string();
  EXPECT_EQ(written, (std::vector<std::string>{drawing, graph, Report.FileName}));
  EXPECT_EQ(Saved, (std::vector<std::string>{drawing, graph}));
  const std::string text = ReadBytes(Report.FileName);
  const std::vector<std::string> expected = {
      "<html>",
      "<head>",
      "<meta http-equiv=\"Content-Type\"",
      "content=\"text/html; charset=iso-8859-1\">",
      "<meta name=\"GENERATOR\" content=\"Quillon Animator - V2.1.4\">",
      "<title>" + Report.FileName + "</title>",
      "<script language=\"JavaScript\">",
      "<!-- Begin",
      "function printPage() {",
      "  if (window.print) {",
      "    window.print();",
      "  }",
      "}",
      "//  End -->",
      "</script>",
      "</head>",
      "<body bgcolor=\"#FFFFFF\" onLoad=\"printPage()\">",
      "<table border=\"1\" bordercolor=\"#000000\" width=\"100%\">",
      "<tr><td width=\"100%\" bgcolor=\"#FFFFCC\">",
      "<font face=\"Arial\" size=\"4\">Quillon Animator - V2.1.4</font><br>",
      "<font face=\"Arial\" size=\"2\">door &lt;1&gt;.mech - 10-12-2026 - 14:05</font>",
      "</td></tr>",
      "</table>",
      "<p></p>",
      "<table border=\"1\" bordercolor=\"#000000\" width=\"100%\">",
      "<tr><td width=\"100%\" colspan=\"2\"><font face=\"Arial\" size=\"4\">Door &lt;hinge&gt; &amp; &#8364; "
      "stop</font></td></tr><tr><td>Date: </td><td>9-12-2026</td></tr>",
      "</table>",
      "<p></p>",
      "<table border=\"1\" bordercolor=\"#000000\">",
      "<tr><td colspan=\"1\" bgcolor=\"#C0C0C0\"><font face=\"Arial\" size=\"3\"><b>Four Bar</b> "
      "[Optimized]</font></td></tr>",
      "<tr><td><img src=\"rMech.jpg\"></td></tr>",  // beside the page, named relative to it
      "<tr><td bgcolor=\"#C0C0C0\"><font face=\"Arial\" size=\"3\">",
      "<b>B&lt;C&gt;E</b></font></td></tr>",
      "<tr><td><img src=\"rGraph.jpg\"></td></tr>",
      "</table>",
      "<p></p>",
      "<p><a href=\"https://www.orvane.com/quillon/?a=1&amp;b=2\"><font size=\"2\" face=\"Arial\">Quillon "
      "Animator - "
      "(C) Orvane</font></a></p>",
      "</body>",
      "</html>",
  };
  EXPECT_EQ(Lines(text), expected);
}

// Without the graph only the drawing is taken; a document name that is no path is shown as is.
TEST_F(HtmlReportTest, HiddenGraphAndTables) {
  Report.Options = {false, true, true, true, false, true, true};
  std::string error;
  EXPECT_EQ(Report.Save(error).size(), 2u);
  EXPECT_EQ(Saved, std::vector<std::string>{(dir / "rMech.jpg").string()});
  const std::string text = ReadBytes(Report.FileName);
  EXPECT_EQ(text.find("Graph.jpg"), std::string::npos);
  EXPECT_EQ(text.find("[Optimized]"), std::string::npos);
  EXPECT_EQ(text.find("Door"), std::string::npos);
  // The property, path, curve and area tables in that order.
  const size_t properties = text.find(">Mechanism Properties<");
  const size_t curve = text.find(">" + Mechanism.Curve.Name + "<");
  const size_t areas = text.find(">" + Mechanism.Areas.Name + "<");
  ASSERT_NE(properties, std::string::npos);
  ASSERT_NE(curve, std::string::npos);
  ASSERT_NE(areas, std::string::npos);
  EXPECT_LT(properties, curve);
  EXPECT_LT(curve, areas);
  std::ostringstream path;
  Mechanism.WritePathPointsHTML(path, false);
  ASSERT_FALSE(path.str().empty());
  const size_t pathAt = text.find(path.str());
  EXPECT_GT(pathAt, properties);
  EXPECT_LT(pathAt, curve);
}

// A failing picture ends the lines: the report keeps what came before it, and the error is
// handed back for the log.
TEST_F(HtmlReportTest, FailureEndsTheLinesAndTheRestIsWritten) {
  Report.Options = {false, true, true, false, false, false, false};
  Report.SaveGraph = [this](const std::string& name) { SavePicture("graph", name); };
  Failing = "graph";
  std::string error;
  const std::vector<std::string> written = Report.Save(error);
  EXPECT_EQ(error, "Cannot write picture file \"" + (dir / "rGraph.jpg").string() + "\": disk full.");
  EXPECT_EQ(written, (std::vector<std::string>{(dir / "rMech.jpg").string(), Report.FileName}));
  const std::vector<std::string> lines = Lines(ReadBytes(Report.FileName));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "<tr><td><img src=\"rMech.jpg\"></td></tr>");
}

// The pictures are named relative to the report, so a report moved with them, or mailed, still
// shows them; names with blanks and accents are URL-encoded.
TEST_F(HtmlReportTest, PicturesAreFoundBesideTheMovedReport) {
  Report.Options = {false, true, false, false, false, false, false};
  Report.SaveGraph = [this](const std::string& name) { SavePicture("graph", name); };
  fs::create_directory(dir / "first");
  Report.FileName = (dir / "first" / "d\xC3\xA9j\xC3\xA0 vu.html").string();
  std::string error;
  Report.Save(error);
  ASSERT_EQ(error, "");
  fs::rename(dir / "first", dir / "moved");
  const fs::path report = dir / "moved" / fs::path(Report.FileName).filename();
  const std::string text = ReadBytes(report);
  std::vector<std::string> sources;
  for (size_t at = text.find("<img src=\""); at != std::string::npos; at = text.find("<img src=\"", at + 1)) {
    const size_t from = at + 10;
    sources.push_back(text.substr(from, text.find('"', from) - from));
  }
  EXPECT_EQ(sources,
            (std::vector<std::string>{"d%C3%A9j%C3%A0%20vuMech.jpg", "d%C3%A9j%C3%A0%20vuGraph.jpg"}));
  for (const std::string& source : sources) {
    // Decoded as a browser does, beside the report.
    std::string name;
    for (size_t i = 0; i < source.size(); ++i) {
      if (source[i] == '%') {
        name += static_cast<char>(std::stoi(source.substr(i + 1, 2), nullptr, 16));
        i += 2;
      } else {
        name += source[i];
      }
    }
    EXPECT_TRUE(fs::is_regular_file(report.parent_path() / name)) << name;
  }
}

// Project information with nothing in it (or blanks only) leaves out its table rather than show
// an empty frame; one filled field brings the table.
TEST_F(HtmlReportTest, EmptyProjectInformationHasNoTable) {
  Report.Options = {true, false, false, false, false, false, false};
  const auto tables = [this] {
    std::string error;
    Report.Save(error);
    const std::string text = ReadBytes(Report.FileName);
    size_t count = 0;
    for (size_t at = text.find("<table"); at != std::string::npos; at = text.find("<table", at + 1)) ++count;
    return count;
  };
  Info = shared::TProjectInfo();
  EXPECT_EQ(tables(), 1u) << "the heading's table only";
  Info.Author = "  ";
  Info.Comments = {"", " "};
  EXPECT_EQ(tables(), 1u);
  Info.Comments = {"", "hinge"};
  EXPECT_EQ(tables(), 2u);
  Info.Comments.clear();
  Info.Client = "Orvane";
  EXPECT_EQ(tables(), 2u);
}

// A report that cannot be written leaves none of its pictures.
TEST_F(HtmlReportTest, UnwritableReportLeavesNothing) {
  Report.Options = {true, true, true, false, false, false, false};
  Report.SaveGraph = [this](const std::string& name) { SavePicture("graph", name); };
  const struct {
    const char* what;
    fs::path target;
  } cases[] = {{"a folder of that name", dir / "taken.html"}, {"a missing folder", dir / "gone" / "r.html"}};
  fs::create_directory(dir / "taken.html");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Report.FileName = c.target.string();
    std::string error;
    EXPECT_THROW(Report.Save(error), std::runtime_error);
    EXPECT_EQ(Files(), std::set<std::string>{"taken.html"});
  }
  Report.FileName = dir.string() + "/";
  Saved.clear();
  std::string error;
  EXPECT_THROW(Report.Save(error), std::runtime_error);
  EXPECT_TRUE(Saved.empty()) << "no picture before the name is known to be a file's";
}

}  // namespace
}  // namespace quillon
