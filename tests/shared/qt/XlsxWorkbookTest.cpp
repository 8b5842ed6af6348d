// Workbooks written as .xlsx and read back from the package with unzip: sheet order, cells,
// merged formats, widths, links and charts; free book names and the hand-over to the desktop.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "shared/FilePath.h"
#include "shared/ProjectInfo.h"
#include "shared/ShellOpen.h"
#include "shared/qt/XlsxWorkbook.h"

namespace {

namespace fs = std::filesystem;

std::string Unzip(const std::string& file, const std::string& member) {
  const std::string command = "unzip -p '" + file + "' '" + member + "'";
  std::FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return {};
  std::string out;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  pclose(pipe);
  return out;
}

std::vector<std::string> All(const std::string& text, const std::string& pattern) {
  std::vector<std::string> found;
  const std::regex re(pattern);
  for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it)
    found.push_back((*it)[1]);
  return found;
}

// What a written package holds, looked up the way a spreadsheet program does.
class TPackage {
 public:
  explicit TPackage(std::string file) : File(std::move(file)) {
    Workbook = Unzip(File, "xl/workbook.xml");
    const std::string rels = Unzip(File, "xl/_rels/workbook.xml.rels");
    std::map<std::string, std::string> targets;
    const std::regex rel("<Relationship Id=\"(rId\\d+)\"[^>]*Target=\"([^\"]+)\"");
    for (auto it = std::sregex_iterator(rels.begin(), rels.end(), rel); it != std::sregex_iterator(); ++it)
      targets[(*it)[1]] = (*it)[2];
    const std::regex sheet("<sheet name=\"([^\"]+)\" sheetId=\"\\d+\" r:id=\"(rId\\d+)\"");
    for (auto it = std::sregex_iterator(Workbook.begin(), Workbook.end(), sheet);
         it != std::sregex_iterator(); ++it) {
      Names.push_back((*it)[1]);
      Members[(*it)[1]] = "xl/" + targets[(*it)[2]];
    }
    Strings = All(Unzip(File, "xl/sharedStrings.xml"), "<si><t[^>]*>([^<]*)</t></si>");
    const std::string styles = Unzip(File, "xl/styles.xml");
    const std::string fonts = styles.substr(0, styles.find("</fonts>"));
    Fonts = All(fonts, "<font>(.*?)</font>");
    Fills = All(styles.substr(0, styles.find("</fills>")), "<fill>(.*?)</fill>");
    const std::string xfs = styles.substr(styles.find("<cellXfs"));
    Xfs = All(xfs.substr(0, xfs.find("</cellXfs>")), "<xf ([^>]*)/?>");
  }

  std::string Sheet(const std::string& name) const { return Unzip(File, Members.at(name)); }

  // The cell element of a worksheet, empty when the cell was not written.
  static std::string CellXml(const std::string& sheet, const std::string& ref) {
    std::smatch m;
    if (std::regex_search(sheet, m, std::regex("<c r=\"" + ref + "\"[^>]*?(/>|>.*?</c>)"))) return m[0];
    return {};
  }

  std::string CellText(const std::string& sheet, const std::string& ref) const {
    const std::string cell = CellXml(sheet, ref);
    std::smatch m;
    if (!std::regex_search(cell, m, std::regex("<v>([^<]*)</v>"))) return {};
    if (cell.find("t=\"s\"") != std::string::npos) return Strings.at(std::stoul(m[1]));
    return m[1];
  }

  struct TStyle {
    bool Bold = false;
    std::string Fill;  // fgColor of a solid fill
    bool operator==(const TStyle&) const = default;
  };
  TStyle CellStyle(const std::string& sheet, const std::string& ref) const {
    std::smatch m;
    const std::string cell = CellXml(sheet, ref);
    const std::size_t xf = std::regex_search(cell, m, std::regex(" s=\"(\\d+)\"")) ? std::stoul(m[1]) : 0;
    return StyleOf(xf);
  }
  TStyle StyleOf(std::size_t xf) const {
    std::smatch m;
    const std::string& attributes = Xfs.at(xf);
    TStyle style;
    if (std::regex_search(attributes, m, std::regex("fontId=\"(\\d+)\"")))
      style.Bold = Fonts.at(std::stoul(m[1])).find("<b/>") != std::string::npos;
    if (std::regex_search(attributes, m, std::regex("fillId=\"(\\d+)\"")) &&
        std::regex_search(Fills.at(std::stoul(m[1])), m, std::regex("<fgColor rgb=\"([0-9A-F]+)\"")))
      style.Fill = m[1];
    return style;
  }

  std::string File;
  std::string Workbook;
  std::vector<std::string> Names;
  std::map<std::string, std::string> Members;
  std::vector<std::string> Strings;
  std::vector<std::string> Fonts;
  std::vector<std::string> Fills;
  std::vector<std::string> Xfs;
};

class XlsxWorkbookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "xlsx_test_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    Dir = pattern;
  }
  void TearDown() override {
    shared::SetShellOpen(nullptr);
    shared::SetWorkbookShow(nullptr);
    fs::remove_all(Dir);
  }

  // The synthesis program's export: motion data, properties with the project rows and a chart.
  static shared::TWorkbook Export() {
    shared::TWorkbook book;
    shared::TWorksheet& data = book.AddSheet("Data");
    data.SetText(1, 1, "Four bar \xE9");  // é in Windows-1252
    data.SetRowBold(1);
    data.SetText(3, 2, "Time");
    data.SetText(3, 6, "Path");
    for (int row = 5; row <= 7; ++row) {
      data.SetNumber(row, 2, 0.5 * row);
      data.SetNumber(row, 6, row * row);
    }
    data.SetColumnWidth(1, 1, 5);
    data.SetColumnWidth(2, 16, 16);
    shared::TWorksheet& properties = book.AddSheet("Properties");
    shared::TProjectInfo info;
    info.Title = "Gripper";
    info.Client = "Smit & Zonen";
    info.Date = "10-12-2026";
    int row = 1;
    info.WriteToExcel(row, properties, shared::kSynthesisInfoFill);
    properties.SetHyperlink(8, 3, "https://example.org/vesk", "https://example.org/vesk");
    properties.SetNumber(6, 2, -0.25);
    shared::TChart chart;
    chart.Title = "Path";
    chart.ValueAxisTitle = "Path m";
    chart.HasLegend = false;
    chart.XMajorGridlines = true;
    chart.Series.push_back(
        {"Path", "Data", shared::ParseCellRange("B5:B7"), shared::ParseCellRange("F5:F7")});
    book.AddChart("Path Chart", chart);
    book.Activate("Properties");
    return book;
  }

  std::string Dir;
};

TEST_F(XlsxWorkbookTest, SheetsKeepTheirOrderAndTheActiveSheet) {
  const std::string file = Dir + "/export.xlsx";
  shared::WriteXlsx(Export(), file);
  const TPackage package(file);
  // The new book's empty sheet is no tab of the file.
  EXPECT_EQ(package.Names, (std::vector<std::string>{"Path Chart", "Properties", "Data"}));
  EXPECT_NE(package.Workbook.find("activeTab=\"1\""), std::string::npos) << package.Workbook;
  EXPECT_NE(package.Members.at("Path Chart").find("chartsheets/"), std::string::npos);
  EXPECT_NE(package.Sheet("Properties").find("tabSelected=\"1\""), std::string::npos);
}

TEST_F(XlsxWorkbookTest, CellsAndMergedFormatsReadBack) {
  const std::string file = Dir + "/export.xlsx";
  shared::WriteXlsx(Export(), file);
  const TPackage package(file);
  const std::string properties = package.Sheet("Properties");
  const std::pair<const char*, const char*> texts[] = {
      {"A1", "Title: Gripper"}, {"A2", "Client: Smit &amp; Zonen"},
      {"A3", "Author: "},       {"A4", "Date: 10-12-2026"},
      {"B6", "-0.25"},          {"C8", "https://example.org/vesk"}};
  for (const auto& [ref, text] : texts) EXPECT_EQ(package.CellText(properties, ref), text) << ref;
  const TPackage::TStyle titleStyle{true, "FFFFFF99"};
  const TPackage::TStyle filled{false, "FFFFFF99"};
  EXPECT_EQ(package.CellStyle(properties, "A1"), titleStyle) << "bold and fill in one format";
  for (const char* ref : {"A2", "A4", "B1", "D4"})
    EXPECT_EQ(package.CellStyle(properties, ref), filled) << ref;
  EXPECT_EQ(TPackage::CellXml(properties, "E4"), "") << "the fill ends at column D";
  EXPECT_EQ(package.CellStyle(properties, "B6"), TPackage::TStyle{});

  const std::string data = package.Sheet("Data");
  EXPECT_EQ(package.CellText(data, "A1"), "Four bar \xC3\xA9") << "Windows-1252 text is stored as UTF-8";
  EXPECT_EQ(package.CellStyle(data, "A1"), (TPackage::TStyle{true, ""}));
  EXPECT_EQ(package.CellText(data, "B5"), "2.5");
  EXPECT_EQ(package.CellText(data, "F7"), "49");
  std::smatch row;
  ASSERT_TRUE(std::regex_search(data, row, std::regex("<row r=\"1\"[^>]* s=\"(\\d+)\"")));
  EXPECT_TRUE(package.StyleOf(std::stoul(row[1])).Bold) << "the bold row reaches its empty cells";
  EXPECT_NE(data.find("<col min=\"1\" max=\"1\" width=\"5.7"), std::string::npos);
  EXPECT_NE(data.find("<col min=\"16\" max=\"16\" width=\"16.7"), std::string::npos);
  EXPECT_EQ(data.find("min=\"17\""), std::string::npos);
}

TEST_F(XlsxWorkbookTest, HyperlinksPointAtTheirTarget) {
  const std::string file = Dir + "/export.xlsx";
  shared::WriteXlsx(Export(), file);
  const TPackage package(file);
  EXPECT_NE(package.Sheet("Properties").find("<hyperlink ref=\"C8\""), std::string::npos);
  const std::string rels =
      Unzip(file, "xl/worksheets/_rels/" + fs::path(package.Members.at("Properties")).filename().string() +
                      ".rels");
  EXPECT_NE(rels.find("Target=\"https://example.org/vesk\" TargetMode=\"External\""), std::string::npos)
      << rels;
}

TEST_F(XlsxWorkbookTest, ChartIsASmoothScatterWithoutMarkers) {
  shared::TWorkbook book = Export();
  shared::TChart legend;
  legend.Series.push_back(
      {"Ratio", "Data", shared::ParseCellRange("B5:B7"), shared::ParseCellRange("F5:F7")});
  book.AddChart("Second", legend);
  const std::string file = Dir + "/export.xlsx";
  shared::WriteXlsx(book, file);
  const std::string chart = Unzip(file, "xl/charts/chart1.xml");
  for (const char* part :
       {"<c:scatterChart><c:scatterStyle val=\"smoothMarker\"/>", "<c:tx><c:v>Path</c:v></c:tx>",
        "<c:marker><c:symbol val=\"none\"/></c:marker>", "<c:f>Data!$B$5:$B$7</c:f>",
        "<c:f>Data!$F$5:$F$7</c:f>", "<c:smooth val=\"1\"/>", "<a:t>Path m</a:t>"})
    EXPECT_NE(chart.find(part), std::string::npos) << part;
  EXPECT_EQ(chart.find("<c:legend>"), std::string::npos);
  const std::string xAxis =
      chart.substr(chart.find("<c:valAx>"), chart.find("</c:valAx>") - chart.find("<c:valAx>"));
  EXPECT_NE(xAxis.find("<c:axPos val=\"b\"/><c:majorGridlines/>"), std::string::npos) << xAxis;
  EXPECT_EQ(xAxis.find("minorGridlines"), std::string::npos);

  const std::string second = Unzip(file, "xl/charts/chart2.xml");
  EXPECT_NE(second.find("<c:legend>"), std::string::npos);
  EXPECT_EQ(second.find("<c:title>"), std::string::npos) << "no title asked for";
  const std::string secondX =
      second.substr(second.find("<c:valAx>"), second.find("</c:valAx>") - second.find("<c:valAx>"));
  EXPECT_EQ(secondX.find("majorGridlines"), std::string::npos);
}

// A book of nothing but its own sheet still saves that sheet (a file holds one at least); a book
// whose active sheet is left out opens on its first sheet.
TEST_F(XlsxWorkbookTest, TheNewBooksSheetIsSavedOnlyWhenItIsAllThereIs) {
  const std::string empty = Dir + "/empty.xlsx";
  shared::WriteXlsx(shared::TWorkbook(), empty);
  EXPECT_EQ(TPackage(empty).Names, std::vector<std::string>{"Sheet1"});

  shared::TWorkbook book;
  book.AddSheet("Data").SetNumber(1, 1, 1);
  book.AddSheet("Properties");
  book.Activate("Sheet1");
  const std::string file = Dir + "/two.xlsx";
  shared::WriteXlsx(book, file);
  const TPackage package(file);
  EXPECT_EQ(package.Names, (std::vector<std::string>{"Properties", "Data"}));
  EXPECT_NE(package.Sheet("Properties").find("tabSelected=\"1\""), std::string::npos);
  EXPECT_EQ(package.Sheet("Data").find("tabSelected=\"1\""), std::string::npos);
}

TEST_F(XlsxWorkbookTest, NewBooksNeverTakeAnExistingName) {
  std::ofstream(Dir + "/Book1.xlsx") << "mine";
  std::ofstream(Dir + "/Book3.xlsx") << "mine too";
  EXPECT_EQ(shared::ReserveBookFile(Dir), Dir + "/Book2.xlsx");
  EXPECT_EQ(shared::ReserveBookFile(Dir), Dir + "/Book4.xlsx");
  std::vector<std::string> opened;
  shared::SetShellOpen([&](const std::string& target) {
    opened.push_back(target);
    return true;
  });
  const std::string path = shared::SaveAndOpenXlsx(Export(), Dir);
  EXPECT_EQ(path, Dir + "/Book5.xlsx");
  EXPECT_EQ(opened, std::vector<std::string>{path});
  EXPECT_EQ(TPackage(path).Names.size(), 3u);
  std::ifstream first(Dir + "/Book1.xlsx");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(first), {}), "mine");
}

TEST_F(XlsxWorkbookTest, ANamedFileIsWrittenThere) {
  shared::TWorkbook book = Export();
  book.FileName = Dir + "/chosen.xlsx";
  std::ofstream(book.FileName) << "old";
  shared::ConnectXlsxWorkbook(Dir);
  shared::SetShellOpen([](const std::string&) { return true; });
  EXPECT_EQ(shared::ShowWorkbook(book), book.FileName);
  EXPECT_EQ(TPackage(book.FileName).Names.front(), "Path Chart");
  EXPECT_FALSE(fs::exists(Dir + "/Book1.xlsx"));
  for (const auto& entry : fs::directory_iterator(Dir))
    EXPECT_EQ(entry.path().filename().string().find(".part"), std::string::npos) << "no leftover";
}

// Under a file size limit the book is not written: with the signal ignored, as the programs
// ignore it, the write error is reported; a process that the signal ends leaves nothing either.
// The old book stays whole. Each case runs in a child process.
TEST_F(XlsxWorkbookTest, AFileSizeLimitKeepsTheOldBookAndLeavesNothing) {
  const std::string chosen = Dir + "/chosen.xlsx";
  std::ofstream(chosen) << "old";
  const auto write = [&](bool ignore) {
    if (ignore) shared::IgnoreFileSizeSignal();
    rlimit limit{};
    limit.rlim_cur = limit.rlim_max = 2000;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    try {
      shared::WriteXlsx(Export(), chosen);
    } catch (const std::runtime_error& error) {
      std::fprintf(stderr, "%s\n", error.what());
      std::exit(3);
    }
    std::exit(0);
  };
  const auto entries = [&] {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(Dir)) names.push_back(entry.path().filename().string());
    return names;
  };
  EXPECT_EXIT(write(true), ::testing::ExitedWithCode(3), "The workbook .*chosen.xlsx cannot be written: the file would pass the limit on file size");
  EXPECT_EQ(entries(), std::vector<std::string>{"chosen.xlsx"});
  EXPECT_EXIT(write(false), ::testing::KilledBySignal(SIGXFSZ), "");
  EXPECT_EQ(entries(), std::vector<std::string>{"chosen.xlsx"});
  std::ifstream old(chosen);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(old), {}), "old");
}

TEST_F(XlsxWorkbookTest, FailuresAreReported) {
  shared::SetShellOpen(nullptr);
  try {
    shared::SaveAndOpenXlsx(Export(), Dir);
    FAIL() << "no program opened the book";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find(Dir + "/Book1.xlsx"), std::string::npos) << error.what();
  }
  EXPECT_TRUE(fs::exists(Dir + "/Book1.xlsx")) << "the saved book stays for the user";
  EXPECT_THROW(shared::WriteXlsx(Export(), Dir + "/missing/dir/book.xlsx"), std::runtime_error);
  try {
    shared::ReserveBookFile(Dir + "/missing");
    ADD_FAILURE() << "a book reserved in a missing folder";
  } catch (const std::runtime_error& error) {
    // The file tried and why it could not be made.
    EXPECT_EQ(std::string(error.what()),
              "Cannot write workbook file \"" + Dir + "/missing/Book1.xlsx\": No such file or directory.");
  }
}

}  // namespace
