// Worksheet 1 of .xlsx and .xls files: cells of every kind, and damaged or hostile files that
// end in a readable message with the rows read before the fault kept.
#include "shared/SheetFile.h"

#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/shared/SheetFiles.h"
#include "tests/shared/TestFiles.h"

namespace shared {
namespace {

namespace fs = std::filesystem;
using namespace test;

class SheetFileTest : public test::TTempFolderTest {
 protected:
  SheetFileTest() : TTempFolderTest("sheetfile") {}
  std::string Write(const std::string& name, const std::string& bytes) {
    const fs::path path = dir / name;
    test::WriteBytes(path, bytes);
    return path.string();
  }
};

TEST_F(SheetFileTest, ReadsTheCellsOfAnXlsxWrittenBySpreadsheetSoftware) {
  // libxlsxwriter writes text as shared strings, as the spreadsheet program does.
  const std::string path = (dir / "book.xlsx").string();
  lxw_workbook* book = workbook_new(path.c_str());
  lxw_worksheet* first = workbook_add_worksheet(book, "Curve");
  lxw_worksheet* second = workbook_add_worksheet(book, "Other");
  worksheet_write_string(first, 0, 0, "Nr", nullptr);
  worksheet_write_string(first, 0, 1, "x \xC3\xA9", nullptr);
  worksheet_write_number(first, 1, 0, 1, nullptr);
  worksheet_write_number(first, 1, 1, -12.625, nullptr);
  worksheet_write_number(first, 1, 2, 1e-7, nullptr);
  worksheet_write_boolean(first, 2, 0, 1, nullptr);
  worksheet_write_number(first, 99, 701, 3.5, nullptr);  // ZZ100
  worksheet_write_number(second, 0, 0, 42, nullptr);
  ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);

  TSheetFile sheet;
  sheet.LoadFromFile(path);
  EXPECT_EQ(sheet.CellCount(), 7u);
  EXPECT_EQ(sheet.Cell(1, 1).Kind, ESheetCellKind::Text);
  EXPECT_EQ(sheet.Cell(1, 1).Text, "Nr");
  EXPECT_EQ(sheet.Cell(1, 2).Text, "x \xC3\xA9");
  EXPECT_EQ(sheet.Cell(2, 1).Kind, ESheetCellKind::Number);
  EXPECT_EQ(sheet.Cell(2, 2).Number, -12.625);
  EXPECT_EQ(sheet.Cell(2, 3).Number, 1e-7);
  EXPECT_EQ(sheet.Cell(3, 1).Kind, ESheetCellKind::Boolean);
  EXPECT_EQ(sheet.Cell(3, 1).Number, 1);
  EXPECT_EQ(sheet.Cell(100, 702).Number, 3.5);
  EXPECT_EQ(SheetCellName(100, 702), "ZZ100");
  // Only sheet 1: the other sheet's A1 is not there, and a cell never written is empty.
  EXPECT_EQ(sheet.Cell(1, 3).Kind, ESheetCellKind::Empty);
}

TEST_F(SheetFileTest, ReadsTheXmlFormsThatWritersUse) {
  // Inline and rich shared strings without their phonetic runs, cells and rows without
  // references, prefixed element names, an error value, a formula's cached result.
  const std::string data =
      Row(1, "<c r=\"A1\" t=\"inlineStr\"><is><r><t>in</t></r><r><t>line</t></r></is></c>"
             "<c r=\"B1\" t=\"s\"><v>1</v></c><c t=\"s\"><v>0</v></c>") +
      "<row><c><v>7</v></c><c t=\"e\"><v>#DIV/0!</v></c><c t=\"str\"><f>A1</f><v>text</v></c>"
      "<c t=\"b\"><v>0</v></c><c><f>1+1</f><v>2</v></c><c/></row>";
  TParts parts =
      Workbook("", "<si><t>plain</t></si><si><r><t>ri</t></r><r><t>ch</t></r><rPh><t>ignored</t></rPh></si>");
  // Every element name with a prefix, as some writers give them.
  std::string prefixed;
  for (size_t i = 0; i < data.size(); ++i) {
    prefixed += data[i];
    if (data[i] == '<') prefixed += data[i + 1] == '/' ? (++i, "/x:") : "x:";
  }
  parts["xl/worksheets/sheet1.xml"] =
      "<x:worksheet xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><x:sheetData>" + prefixed +
      "</x:sheetData></x:worksheet>";
  TSheetFile sheet;
  sheet.LoadXlsx(MakeZip(parts));
  EXPECT_EQ(sheet.Cell(1, 1).Text, "inline");
  EXPECT_EQ(sheet.Cell(1, 2).Text, "rich");
  EXPECT_EQ(sheet.Cell(1, 3).Text, "plain");
  EXPECT_EQ(sheet.Cell(2, 1).Number, 7);
  EXPECT_EQ(sheet.Cell(2, 2).Kind, ESheetCellKind::Error);
  EXPECT_EQ(sheet.Cell(2, 2).Text, "#DIV/0!");
  EXPECT_EQ(sheet.Cell(2, 3).Text, "text");
  EXPECT_EQ(sheet.Cell(2, 4).Kind, ESheetCellKind::Boolean);
  EXPECT_EQ(sheet.Cell(2, 4).Number, 0);
  EXPECT_EQ(sheet.Cell(2, 5).Number, 2);
  EXPECT_EQ(sheet.Cell(2, 6).Kind, ESheetCellKind::Empty);
  EXPECT_EQ(sheet.CellCount(), 8u);
}

TEST_F(SheetFileTest, TakesTheFirstWorksheetThroughTheRelationships) {
  // The first tab is a chart sheet; worksheet 1 is the second tab, named by an absolute target
  // in a folder of its own.
  TParts parts = Workbook("");
  parts["xl/workbook.xml"] = std::string("<workbook xmlns:r=\"") + kRelNs +
                             "\"><sheets><sheet name=\"Chart\" r:id=\"rId3\"/><sheet name=\"B\" r:id=\"rId9\"/>"
                             "<sheet name=\"A\" r:id=\"rId1\"/></sheets></workbook>";
  parts["xl/_rels/workbook.xml.rels"] =
      std::string("<Relationships><Relationship Id=\"rId1\" Type=\"") + kRelNs +
      "/worksheet\" Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId3\" Type=\"" + kRelNs +
      "/chartsheet\" Target=\"chartsheets/sheet1.xml\"/><Relationship Id=\"rId9\" Type=\"" + kRelNs +
      "/worksheet\" Target=\"/xl/other/../data/first.xml\"/></Relationships>";
  parts["xl/data/first.xml"] = SheetXml(Row(2, Num("A2", "5")));
  parts["xl/worksheets/sheet1.xml"] = SheetXml(Row(2, Num("A2", "6")));
  TSheetFile sheet;
  sheet.LoadXlsx(MakeZip(parts));
  EXPECT_EQ(sheet.Cell(2, 1).Number, 5);
}

// The bad-input cases: each must end in ESheetFileError naming the fault, never a crash, with
// only whole rows before the fault kept.
TEST_F(SheetFileTest, DamagedAndHostileWorkbooksGiveAMessageAndKeepTheRowsRead) {
  const std::string good = MakeZip(Workbook(Row(1, Num("A1", "1")) + Row(2, Num("A2", "2"))));
  TParts noSheets = Workbook("");
  noSheets["xl/workbook.xml"] = "<workbook><sheets/></workbook>";
  TParts missingPart = Workbook("");
  missingPart.erase("xl/worksheets/sheet1.xml");
  TParts doctype = Workbook("");
  doctype["xl/worksheets/sheet1.xml"] =
      "<!DOCTYPE w [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">]><worksheet>&b;</worksheet>";
  TParts huge = Workbook("");
  huge["xl/worksheets/sheet1.xml"] = SheetXml(Row(1, Num("A1", "1"))) + std::string(size_t(65) << 20, ' ');
  struct TCase {
    const char* name;
    std::string bytes;
    const char* message;
    size_t kept;
  };
  const TCase cases[] = {
      {"not a zip", "just some text", "is damaged or no Excel workbook", 0},
      {"truncated zip", good.substr(0, good.size() / 2), "is damaged", 0},
      {"no worksheet", MakeZip(noSheets), "has no worksheet", 0},
      {"missing sheet part", MakeZip(missingPart), "is missing", 0},
      {"broken XML after two rows",
       MakeZip(Workbook(Row(1, Num("A1", "1")) + Row(2, Num("A2", "2")) + "<row r=\"3\">" + Num("A3", "3") + "<c><v>")),
       "broken XML", 2},
      {"mismatched tag", MakeZip(Workbook(Row(1, Num("A1", "1")) + "<row r=\"2\"><c r=\"A2\"><v>2</c></row>")),
       "broken XML", 1},
      {"column beyond XFD", MakeZip(Workbook(Row(1, Num("A1", "1")) + Row(2, Num("XFE2", "2")))),
       "beyond the sheet's limits", 1},
      {"row beyond the last", MakeZip(Workbook(Row(1, Num("A1048577", "1")))), "beyond the sheet's limits", 0},
      {"huge reference", MakeZip(Workbook(Row(1, Num("A99999999999999999999", "1")))), "beyond the sheet's limits", 0},
      {"huge row number", MakeZip(Workbook("<row r=\"99999999999\"></row>")), "beyond the sheet's limits", 0},
      {"row number beyond the integers", MakeZip(Workbook("<row r=\"2e300\"></row>")), "beyond the sheet's limits", 0},
      {"row number not a number", MakeZip(Workbook("<row r=\"nan\"></row>")), "beyond the sheet's limits", 0},
      {"fractional row number", MakeZip(Workbook("<row r=\"2.5\"></row>")), "bad row number", 0},
      {"text in a number cell", MakeZip(Workbook(Row(1, Num("A1", "1")) + Row(2, Num("A2", "abc")))), "no number", 1},
      {"shared string out of range", MakeZip(Workbook(Row(1, "<c r=\"A1\" t=\"s\"><v>5</v></c>"), "<si><t>a</t></si>")),
       "names a shared string", 0},
      {"entity expansion", MakeZip(doctype), "document type", 0},
      {"sheet unpacking beyond the bound", MakeZip(huge), "unpacks to over 64 MB", 1},
  };
  for (const TCase& c : cases) {
    TSheetFile sheet;
    try {
      sheet.LoadXlsx(c.bytes, "bad.xlsx");
      ADD_FAILURE() << c.name << ": no error";
    } catch (const ESheetFileError& error) {
      const std::string text = error.what();
      EXPECT_NE(text.find("\"bad.xlsx\""), std::string::npos) << c.name << ": " << text;
      EXPECT_NE(text.find(c.message), std::string::npos) << c.name << ": " << text;
    }
    EXPECT_EQ(sheet.CellCount(), c.kept) << c.name;
  }
}

TEST_F(SheetFileTest, FilesThatAreNoWorkbookOrNoFileAreRefused) {
  struct TCase {
    const char* name;
    std::string path;
    const char* message;
  };
  // A sparse file past the size bound: refused before anything is read.
  const std::string huge = Write("huge.xlsx", "PK\x03\x04");
  fs::resize_file(huge, TSheetFile::kMaxFileBytes + 1);
  const TCase cases[] = {
      {"missing", (dir / "none.xlsx").string(), "does not exist"},
      {"huge", huge, "is too large (over 256 MB)"},
      {"folder", dir.string(), "is no file"},
      {"device", "/dev/zero", "is no file"},
      {"text", Write("plain.xls", "Nr\tx\ty\n1\t2\t3\n"), "is no Excel workbook"},
      {"empty", Write("empty.xlsx", ""), "is no Excel workbook"},
      {"broken compound file", Write("broken.xls", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(600, 'x')),
       "is damaged or no Excel workbook"},
  };
  for (const TCase& c : cases) {
    TSheetFile sheet;
    try {
      sheet.LoadFromFile(c.path);
      ADD_FAILURE() << c.name << ": no error";
    } catch (const ESheetFileError& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << c.name << ": " << error.what();
    }
  }
}

TEST_F(SheetFileTest, ReadsWorksheetOneOfAnXls) {
  TSheetFile sheet;
  sheet.LoadFromFile(SUITE_FIXTURES "/curve.xls");
  EXPECT_EQ(sheet.Cell(1, 2).Kind, ESheetCellKind::Text);
  EXPECT_EQ(sheet.Cell(1, 2).Text, "x");
  const double rows[5][5] = {
      {1, 0, 0, 0, 0}, {2, 10.5, 2.25, 5, 30}, {3, 20, -4.75, 10, 60}, {4, 31.125, 1.5, 15, 90}, {5, 40, 8, 20, 120}};
  for (int r = 0; r < 5; ++r)
    for (int c = 0; c < 5; ++c) {
      EXPECT_EQ(sheet.Cell(r + 2, c + 1).Kind, ESheetCellKind::Number) << r << "," << c;
      EXPECT_EQ(sheet.Cell(r + 2, c + 1).Number, rows[r][c]) << r << "," << c;
    }
  // The second sheet's A2 (99) is not read.
  EXPECT_EQ(sheet.Cell(7, 1).Kind, ESheetCellKind::Empty);
  EXPECT_EQ(sheet.CellCount(), 30u);

  sheet.LoadFromFile(SUITE_FIXTURES "/text.xls");
  EXPECT_EQ(sheet.Cell(4, 3).Kind, ESheetCellKind::Text);
  EXPECT_EQ(sheet.Cell(4, 3).Text, "six");
}

// A damaged .xls on which freexl reads past its buffer (found by fuzzing): the library runs in a
// child process, so this program only sees its result.
TEST_F(SheetFileTest, AnXlsThatTheLibraryMisreadsLeavesThisProgramWhole) {
  TSheetFile sheet;
  try {
    sheet.LoadFromFile(SUITE_FIXTURES "/overread.xls");
    ADD_FAILURE() << "no error";
  } catch (const ESheetFileError& error) {
    // The library's error code, or its crash when the child is built with the address sanitizer.
    EXPECT_NE(std::string(error.what()).find("\"overread.xls\" is damaged"), std::string::npos) << error.what();
  }
  EXPECT_EQ(sheet.CellCount(), 0u);
  // The reader goes on working in this process afterwards.
  sheet.LoadFromFile(SUITE_FIXTURES "/curve.xls");
  EXPECT_EQ(sheet.CellCount(), 30u);
}

TEST_F(SheetFileTest, HoldsNoMoreCellsThanItsBound) {
  TSheetFile sheet;
  for (int32_t i = 0; i < int32_t(TSheetFile::kMaxCells); ++i) sheet.SetCell(i / 1000 + 1, i % 1000 + 1, {});
  EXPECT_THROW(sheet.SetCell(TSheetFile::kMaxRow, 1, {}), ESheetFileError);
  // Overwriting a cell adds none.
  EXPECT_NO_THROW(sheet.SetCell(1, 1, {ESheetCellKind::Number, 2, ""}));
  EXPECT_EQ(sheet.Cell(1, 1).Number, 2);
  EXPECT_THROW(TSheetFile().SetCell(0, 1, {}), ESheetFileError);
  EXPECT_THROW(TSheetFile().SetCell(1, TSheetFile::kMaxColumn + 1, {}), ESheetFileError);
}

}  // namespace
}  // namespace shared
