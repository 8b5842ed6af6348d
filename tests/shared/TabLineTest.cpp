// The tab-line store: record encoding, sections, checksum, files, relative names, clipboard,
// history and the process-wide instance.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <stdexcept>

#include "shared/FilePath.h"
#include "shared/TabLine.h"
#include "tests/shared/TestFiles.h"

namespace {

namespace fs = std::filesystem;
using shared::TTabLines;
using Lines = std::vector<std::string>;

using shared::test::ReadBytes;
using shared::test::WriteBytes;

class TabLineFiles : public shared::test::TTempFolderTest {
 protected:
  TabLineFiles() : TTempFolderTest("tablines") {}
};

TEST(TabLineRecordTest, WritesAndReadsEachFieldKind) {
  TTabLines tl;
  tl.ClearFields();
  tl.AddBool(true);
  tl.AddBool(false);
  tl.AddInt(-42);
  tl.AddFloat(1.5);
  tl.AddString("two words");
  tl.WriteLine();
  EXPECT_EQ(tl.Lines, Lines{"1\t0\t-42\t 1.50000000000000E+0000\ttwo words"});

  tl.ReadPosition = 0;
  ASSERT_TRUE(tl.ReadLine());
  EXPECT_EQ(tl.FieldCount, 5);
  EXPECT_TRUE(tl.GetBool(false));
  EXPECT_FALSE(tl.GetBool(true));
  EXPECT_EQ(tl.GetInt(0), -42);
  EXPECT_EQ(tl.GetFloat(0), 1.5);
  EXPECT_EQ(tl.GetString(""), "two words");
  // Nothing left: every Get gives its default.
  EXPECT_EQ(tl.FieldCount, 0);
  EXPECT_TRUE(tl.GetBool(true));
  EXPECT_EQ(tl.GetInt(7), 7);
  EXPECT_EQ(tl.GetFloat(2.5), 2.5);
  EXPECT_EQ(tl.GetString("none"), "none");
  EXPECT_EQ(tl.GetFileName("x.dxf"), "x.dxf");
}

// Text where a number belongs reads as 0 and is counted, so a reader can say how much of a
// document it could not read; an empty field is a missing value, not a bad one.
TEST(TabLineRecordTest, CountsFieldsThatHoldNoNumber) {
  TTabLines tl;
  std::istringstream in("NAN\t-INF\t1E+0999\t\tabc\t2.5\t$x\t1.5\t7\r\n");
  tl.LoadFromStream(in);
  tl.ReadLine();
  EXPECT_EQ(tl.GetFloat(9), 0);
  EXPECT_EQ(tl.GetFloat(9), 0);
  EXPECT_EQ(tl.GetFloat(9), 0);
  EXPECT_EQ(tl.GetFloat(9), 0);  // empty
  EXPECT_EQ(tl.GetBool(true), false);
  EXPECT_EQ(tl.GetFloat(9), 2.5);
  EXPECT_EQ(tl.GetInt(9), 0);
  EXPECT_EQ(tl.GetInt(9), 0);  // "1.5" is no integer
  EXPECT_EQ(tl.GetInt(9), 7);
  EXPECT_EQ(tl.GetInt(9), 9);  // no field left: the default, nothing counted
  EXPECT_EQ(tl.UnreadNumbers, 6);
  std::istringstream again("1\r\n");
  tl.LoadFromStream(again);
  EXPECT_EQ(tl.UnreadNumbers, 0);
}

TEST(TabLineRecordTest, SplitsLinesAsTheFormatDefines) {
  const struct {
    std::string line;
    Lines fields;
  } cases[] = {
      {"", {}},                             // one empty text field reads back as no field
      {"a\t\tb", {"a", "", "b"}},           // empty fields between TABs survive
      {"a\t", {"a"}},                       // empty fields at the end are lost
      {"\tb", {"", "b"}},
      {" x \t y", {" x ", " y"}},           // blanks are part of the field
  };
  for (const auto& c : cases) {
    TTabLines tl;
    tl.Lines = {c.line};
    tl.ReadPosition = 0;
    tl.EndMarker = "<S]";
    EXPECT_TRUE(tl.ReadLine()) << c.line;
    Lines fields;
    while (tl.FieldCount > 0) fields.push_back(tl.GetString("?"));
    EXPECT_EQ(fields, c.fields) << c.line;
  }
}

TEST(TabLineRecordTest, KeepsAtMost51Fields) {
  TTabLines tl;
  for (int i = 0; i < 52; ++i) tl.AddInt(i);
  EXPECT_EQ(tl.FieldCount, 51);
  tl.WriteLine();
  EXPECT_EQ(std::count(tl.Lines[0].begin(), tl.Lines[0].end(), '\t'), 50);
  EXPECT_EQ(tl.Lines[0].substr(tl.Lines[0].rfind('\t') + 1), "50");

  // A longer line from elsewhere: the first 51 fields are kept, the rest dropped.
  std::string longLine;
  for (int i = 0; i < 60; ++i) longLine += std::to_string(i) + "\t";
  tl.Lines = {longLine};
  tl.ReadPosition = 0;
  ASSERT_TRUE(tl.ReadLine());
  EXPECT_EQ(tl.FieldCount, 51);
  for (int i = 0; i < 50; ++i) tl.GetInt(-1);
  EXPECT_EQ(tl.GetInt(-1), 50);
  EXPECT_EQ(tl.GetInt(-1), -1);
}

TEST(TabLineRecordTest, NonNumericFieldsReadAsZero) {
  TTabLines tl;
  tl.Lines = {"abc\t1,5\tyes\t$1F\t12"};
  tl.ReadPosition = 0;
  ASSERT_TRUE(tl.ReadLine());
  EXPECT_EQ(tl.GetInt(9), 0);
  EXPECT_EQ(tl.GetFloat(9), 0.0);
  EXPECT_FALSE(tl.GetBool(true));
  EXPECT_EQ(tl.GetInt(9), 31);  // "$" marks hexadecimal
  EXPECT_TRUE(tl.GetBool(false));
}

TEST(TabLineRecordTest, TextWithLineBreaksOrTabsStaysOneField) {
  TTabLines tl;
  tl.AddString("a\tb\r\nc");
  tl.AddFileName("pic\tture.dxf");
  tl.AddInt(3);
  tl.WriteLine();
  EXPECT_EQ(tl.Lines, Lines{"a b  c\tpic ture.dxf\t3"});
  tl.ReadPosition = 0;
  tl.ReadLine();
  EXPECT_EQ(tl.GetString(""), "a b  c");
  EXPECT_EQ(tl.GetString(""), "pic ture.dxf");
  EXPECT_EQ(tl.GetInt(0), 3);
}

TEST(TabLineRecordTest, RealsReadBackToFifteenDigits) {
  for (const double value : {3.14159265358979, -2.718281828459045e-7, 1.0 / 3.0, 6.02214076e23, 0.0}) {
    TTabLines tl;
    tl.AddFloat(value);
    tl.WriteLine();
    tl.ReadPosition = 0;
    tl.ReadLine();
    const double back = tl.GetFloat(99);
    char expected[40];
    std::snprintf(expected, sizeof expected, "%.14e", value);
    EXPECT_EQ(back, std::stod(expected)) << value;
    EXPECT_NEAR(back, value, std::abs(value) * 1e-14) << value;
  }
}

TEST(TabLineSectionTest, FindsSectionsAndStopsAtTheEndIgnoringCase) {
  TTabLines tl;
  tl.Lines = {"outside", "[CURVE>", "1\t2", "", "3", "<curve]", "after", "[Other>", "x", "<Other]"};
  ASSERT_TRUE(tl.FindSection("Curve"));
  EXPECT_EQ(tl.ReadPosition, 2);
  Lines records;
  while (tl.ReadLine()) records.push_back(tl.CurrentLine);
  EXPECT_EQ(records, (Lines{"1\t2", "", "3"}));

  // A missing section: false, and a reader that goes on reads from the first line.
  EXPECT_FALSE(tl.FindSection("Areas"));
  EXPECT_EQ(tl.ReadPosition, 0);
  EXPECT_EQ(tl.EndMarker, "<Areas]");
  EXPECT_TRUE(tl.ReadLine());
  EXPECT_EQ(tl.CurrentLine, "outside");

  // Past the end (and after Clear) ReadLine answers false with no fields.
  ASSERT_TRUE(tl.FindSection("Other"));
  EXPECT_TRUE(tl.ReadLine());
  EXPECT_FALSE(tl.ReadLine());
  EXPECT_FALSE(tl.ReadLine());
  EXPECT_EQ(tl.FieldCount, 0);
  tl.Clear();
  EXPECT_EQ(tl.ReadPosition, -1);
  EXPECT_FALSE(tl.ReadLine());
}

TEST(TabLineSectionTest, BeginAndEndFrameTheRecords) {
  TTabLines tl;
  tl.BeginSection("Info");
  tl.AddString("Title");
  tl.WriteLine();
  tl.ClearFields();
  tl.WriteLine();
  tl.EndSection();
  EXPECT_EQ(tl.Lines, (Lines{"[Info>", "Title", "", "<Info]"}));
}

TEST(TabLineCrcTest, MatchesCrc16XmodemCheckValues) {
  const struct {
    std::string key;
    Lines lines;
    uint16_t crc;
  } cases[] = {
      {"", {"123456789"}, 12739},  // the standard check value of CRC-16/XMODEM
      {"quintabole", {"123456789"}, 11480},
      {"quintabole", {"[Info>", "<Info]"}, 9419},
      {"quintabole", {"[Info", "><Info]"}, 9419},  // line breaks are not part of the input
  };
  for (const auto& c : cases) {
    TTabLines tl;
    tl.Key = c.key;
    tl.Lines = c.lines;
    EXPECT_EQ(tl.ComputeCrc(c.lines), c.crc);
    tl.AppendCrc();
    EXPECT_EQ(tl.Lines.back(), std::to_string(c.crc));
    EXPECT_EQ(tl.Lines.size(), c.lines.size() + 1);
    EXPECT_EQ(tl.StatusText, "OK");
    EXPECT_EQ(tl.StatusCode, 0);
  }
  TTabLines empty;
  empty.AppendCrc();
  EXPECT_TRUE(empty.Lines.empty());
  EXPECT_EQ(empty.StatusText, "");
}

TEST(TabLineCrcTest, FeedsBytesAsStored) {
  // Windows-1252 "é" is the one byte 0xE9, fed unsigned; the value is CRC-16/XMODEM of
  // "quintabole" + 0xE9 from an independent implementation (Python's binascii.crc_hqx).
  TTabLines tl;
  EXPECT_EQ(tl.ComputeCrc({"\xE9"}), 0xAED4);
}

TEST_F(TabLineFiles, SavesWithChecksumAndCrLfThenClears) {
  TTabLines tl;
  const std::string file = (dir / "doc.mech").string();
  tl.Clear();
  tl.SetFileName(file);
  tl.BeginSection("Info");
  tl.EndSection();
  tl.SaveToFile();
  EXPECT_EQ(ReadBytes(file), "[Info>\r\n<Info]\r\n9419\r\n");
  EXPECT_TRUE(tl.Lines.empty());
  EXPECT_EQ(tl.FileName, "");
  EXPECT_EQ(tl.BaseDirectory, "");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);  // no temporary left

  // An empty store gives an empty file, no checksum line.
  tl.SetFileName(file);
  tl.SaveToFile();
  EXPECT_TRUE(fs::exists(file));
  EXPECT_EQ(ReadBytes(file), "");
}

TEST_F(TabLineFiles, FailedSaveNamesTheFileAndKeepsThePreviousDocument) {
  TTabLines tl;
  const std::string missing = (dir / "no such folder" / "doc.mech").string();
  tl.SetFileName(missing);
  tl.BeginSection("Info");
  tl.EndSection();
  try {
    tl.SaveToFile();
    FAIL() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find(missing), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("does not exist"), std::string::npos) << e.what();
  }
  EXPECT_TRUE(tl.Lines.empty());  // cleared: a retry cannot carry two checksum lines

  // The target is a folder.
  tl.SetFileName(dir.string());
  tl.BeginSection("Info");
  EXPECT_THROW(tl.SaveToFile(), std::runtime_error);

  // The write cannot even start beside the target: the old document stays as it was.
  const std::string file = (dir / "doc.mech").string();
  WriteBytes(file, "old\r\n");
  shared::FailNextReplacement(shared::TReplaceStage::Create, EACCES);
  tl.SetFileName(file);
  tl.BeginSection("Info");
  EXPECT_THROW(tl.SaveToFile(), std::runtime_error);
  EXPECT_EQ(ReadBytes(file), "old\r\n");

  tl.SetFileName("");
  tl.BeginSection("Info");
  EXPECT_THROW(tl.SaveToFile(), std::runtime_error);
}

TEST_F(TabLineFiles, LoadsAnyLineEndWithoutVerifying) {
  const struct {
    std::string bytes;
    Lines lines;
  } cases[] = {
      {"[A>\r\nx\ty\r\n<A]\r\n123\r\n", {"[A>", "x\ty", "<A]", "123"}},
      {"[A>\nx\n\n<A]", {"[A>", "x", "", "<A]"}},  // LF only, empty line, no final line end
      {"\r\n", {""}},
      {"", {}},
  };
  for (const auto& c : cases) {
    const fs::path file = dir / "in.mech";
    WriteBytes(file, c.bytes);
    TTabLines tl;
    tl.LoadFromFile(file.string());
    EXPECT_EQ(tl.Lines, c.lines);
    EXPECT_EQ(tl.ReadPosition, 0);
    EXPECT_EQ(tl.FileName, file.string());
    EXPECT_EQ(tl.BaseDirectory, dir.string() + "/");
  }
}

TEST_F(TabLineFiles, MissingFileLeavesAnEmptyStoreAndAFolderRaises) {
  TTabLines tl;
  tl.SetFileName("/elsewhere/keep.mech");
  tl.Lines = {"stale"};
  tl.LoadFromFile((dir / "absent.mech").string());
  EXPECT_TRUE(tl.Lines.empty());
  EXPECT_EQ(tl.FileName, "/elsewhere/keep.mech");
  EXPECT_FALSE(tl.FindSection("Quillon"));

  try {
    tl.LoadFromFile(dir.string());
    FAIL() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find(dir.string()), std::string::npos);
  }
}

TEST(TabLineFileNameTest, StoresNamesRelativeToTheDocumentAndResolvesThemBack) {
  const struct {
    std::string path;
    std::string stored;
  } cases[] = {
      {"/home/ann/docs/link.dxf", "link.dxf"},
      {"/home/ann/docs/parts/link.dxf", "parts/link.dxf"},
      {"/home/ann/link.dxf", "../link.dxf"},
      {"/opt/shapes/link.dxf", "../../../opt/shapes/link.dxf"},
      {"/home/ann/Docs/link.dxf", "../Docs/link.dxf"},  // letter case tells folders apart
      {"/home/ann/docs/./parts/../link.dxf", "link.dxf"},
  };
  for (const auto& c : cases) {
    TTabLines tl;
    tl.SetFileName("/home/ann/docs/crank.mech");
    EXPECT_EQ(tl.BaseDirectory, "/home/ann/docs/");
    tl.AddFileName(c.path);
    EXPECT_EQ(tl.Fields[0], c.stored) << c.path;
    tl.WriteLine();
    tl.ReadPosition = 0;
    tl.ReadLine();
    EXPECT_EQ(tl.GetFileName(""), fs::path(c.path).lexically_normal().string()) << c.path;
  }
}

TEST(TabLineFileNameTest, ReadsNamesAgainstTheDocumentBeingRead) {
  TTabLines tl;
  tl.Lines = {"..\\pics\\a.dxf\tsub/b.dxf\t/abs/./c.dxf\tC:\\Shapes\\d.dxf\t\tz.dxf"};
  tl.SetFileName("/data/mech/x.mech");
  tl.ReadPosition = 0;
  tl.ReadLine();
  EXPECT_EQ(tl.GetFileName(""), "/data/pics/a.dxf");
  EXPECT_EQ(tl.GetFileName(""), "/data/mech/sub/b.dxf");
  EXPECT_EQ(tl.GetFileName(""), "/abs/c.dxf");
  EXPECT_EQ(tl.GetFileName(""), "C:/Shapes/d.dxf");  // a drive: nothing here to resolve against
  EXPECT_EQ(tl.GetFileName("unused"), "");            // no file stays no file
  // Without a document name, names pass unchanged both ways.
  tl.SetFileName("");
  EXPECT_EQ(tl.GetFileName(""), "z.dxf");
  tl.ClearFields();
  tl.AddFileName("/abs/c.dxf");
  EXPECT_EQ(tl.Fields[0], "/abs/c.dxf");
}

TEST(TabLineFileNameTest, KeepsNamesOnAnotherDriveOrServerAsTheyStand) {
  // Such names come from documents written on Windows; no folder here leads to them, so a
  // relative form would point somewhere else entirely.
  for (const std::string name :
       {"C:\\Shapes\\d.dxf", "c:/Shapes/d.dxf", "\\\\server\\share\\d.dxf", "//server/share/d.dxf"}) {
    TTabLines tl;
    tl.SetFileName("/home/ann/docs/crank.mech");
    tl.AddFileName(name);
    EXPECT_EQ(tl.Fields[0], name);
  }
  // A colon after the first letter without a delimiter behind it is part of a file name here:
  // it is joined to the document's folder like any relative name and comes back the same. A
  // folder named like a drive is written behind "./", so that it does not read as the drive.
  for (const std::string name : {"a:b.dxf", "C:", "x:y/z.dxf", "./c:/shapes.dxf"}) {
    TTabLines tl;
    tl.SetFileName("/home/ann/docs/crank.mech");
    tl.Lines = {name};
    tl.ReadPosition = 0;
    tl.ReadLine();
    const std::string read = tl.GetFileName("");
    EXPECT_EQ(read, fs::path("/home/ann/docs/" + name).lexically_normal().string());
    tl.ClearFields();
    tl.AddFileName(read);
    EXPECT_EQ(tl.Fields[0], name);
  }
  // A document named from the root with two or more slashes has the root as its folder.
  {
    TTabLines tl;
    tl.SetFileName("///doc.mech");
    EXPECT_EQ(tl.BaseDirectory, "/");
    tl.SetFileName("//doc.mech");
    EXPECT_EQ(tl.BaseDirectory, "/");
    tl.AddFileName("/c:/d.dxf");
    EXPECT_EQ(tl.Fields[0], "./c:/d.dxf");
  }
  // Read back and written again, the name stays the same.
  TTabLines tl;
  tl.Lines = {"C:\\Shapes\\d.dxf"};
  tl.SetFileName("/home/ann/docs/crank.mech");
  tl.ReadPosition = 0;
  tl.ReadLine();
  const std::string read = tl.GetFileName("");
  tl.AddFileName(read);
  EXPECT_EQ(tl.Fields[0], read);
}

class FakeClipboard : public shared::TClipboard {
 public:
  bool HasText() const override { return hasText; }
  std::string GetText() const override { return text; }
  void SetText(const std::string& value) override {
    text = value;
    hasText = true;
  }
  bool hasText = false;
  std::string text;
};

TEST(TabLineClipboardTest, CopiesWithChecksumAndLoadsBack) {
  TTabLines tl;
  FakeClipboard clipboard;
  EXPECT_FALSE(tl.LoadFromClipboard(clipboard));  // no text on the clipboard
  EXPECT_EQ(tl.ReadPosition, 0);

  tl.BeginSection("Info");
  tl.EndSection();
  tl.CopyToClipboard(clipboard);
  EXPECT_EQ(clipboard.text, "[Info>\r\n<Info]\r\n9419\r\n");
  EXPECT_TRUE(tl.Lines.empty());

  clipboard.text = "[Info>\nrow\r\n<Info]";
  ASSERT_TRUE(tl.LoadFromClipboard(clipboard));
  EXPECT_EQ(tl.Lines, (Lines{"[Info>", "row", "<Info]"}));
  clipboard.text = "";
  EXPECT_FALSE(tl.LoadFromClipboard(clipboard));
  EXPECT_TRUE(tl.Lines.empty());
}

TEST(TabLineHistoryTest, UndoRestoresTheFiveNewestStatesNewestFirst) {
  TTabLines tl;
  for (int state = 1; state <= 6; ++state) {
    tl.AddInt(state);
    tl.WriteLine();
    tl.PushHistory();
    EXPECT_TRUE(tl.Lines.empty());
  }
  for (int state = 6; state >= 2; --state) {
    ASSERT_TRUE(tl.Undo()) << state;
    ASSERT_EQ(tl.Lines.size(), 2u);
    EXPECT_EQ(tl.Lines[0], std::to_string(state));
    EXPECT_EQ(tl.Lines[1], std::to_string(tl.ComputeCrc({tl.Lines[0]})));  // stored with checksum
    EXPECT_EQ(tl.ReadPosition, 0);
  }
  EXPECT_FALSE(tl.Undo());

  tl.AddInt(1);
  tl.WriteLine();
  tl.PushHistory();
  tl.ClearHistory();
  EXPECT_FALSE(tl.Undo());
}

TEST(TabLineInstanceTest, ExistsBetweenCreateAndFree) {
  shared::FreeTabLines();
  EXPECT_THROW(shared::TabLines(), std::logic_error);
  shared::CreateTabLines();
  shared::TabLines().Lines = {"x"};
  EXPECT_EQ(shared::TabLines().Key, "quintabole");
  EXPECT_EQ(shared::TabLines().ReadPosition, -1);
  shared::CreateTabLines();  // a fresh start
  EXPECT_TRUE(shared::TabLines().Lines.empty());
  shared::FreeTabLines();
  EXPECT_THROW(shared::TabLines(), std::logic_error);
}

}  // namespace
