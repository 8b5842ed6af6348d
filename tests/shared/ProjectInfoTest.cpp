// The project information's "[Info]" block, HTML table and workbook rows.
#include <gtest/gtest.h>

#include <sstream>

#include "shared/Complex.h"
#include "shared/ProjectInfo.h"
#include "shared/TabLine.h"
#include "shared/Workbook.h"

namespace {

shared::TProjectInfo Sample() {
  shared::TProjectInfo info;
  info.Title = "Gripper";
  info.Client = "Orvane";
  info.Author = "J. Smit";
  info.Date = "10-12-2026";
  info.Comments = {"first", "", "third"};
  return info;
}

std::string Text(const shared::TProjectInfo& info) {
  std::ostringstream out;
  info.WriteToText(out);
  return out.str();
}

std::string Html(const shared::TProjectInfo& info) {
  std::ostringstream out;
  info.WriteHTML(out);
  return out.str();
}

TEST(ProjectInfoTest, SetDefaultsEmptiesAllButTheDate) {
  shared::TProjectInfo info = Sample();
  info.SetDefaults("10-12-2026");
  EXPECT_EQ(info.Title, "");
  EXPECT_EQ(info.Client, "");
  EXPECT_EQ(info.Author, "");
  EXPECT_EQ(info.Date, "10-12-2026");
  EXPECT_TRUE(info.Comments.empty());
}

std::vector<std::string> Section(const shared::TProjectInfo& info) {
  shared::TTabLines lines;
  info.WriteInfoSection(lines);
  return lines.Lines;
}

shared::TProjectInfo ReadSection(const std::vector<std::string>& text, const std::string& today = "today") {
  shared::TTabLines lines;
  lines.Lines = text;
  shared::TProjectInfo info = Sample();
  info.ReadInfoSection(lines, today);
  return info;
}

TEST(ProjectInfoTest, InfoSectionIsOneRecordThenOneLinePerComment) {
  EXPECT_EQ(Section(Sample()), (std::vector<std::string>{"[Info>", "Gripper\tOrvane\tJ. Smit\t10-12-2026",
                                                         "first", "", "third", "<Info]"}));
}

TEST(ProjectInfoTest, InfoSectionRoundTripsEmptyTitleAndComments) {
  shared::TProjectInfo info = Sample();
  info.Title = "";
  info.Author = "";
  info.Comments = {"", "middle", ""};
  const auto text = Section(info);
  EXPECT_EQ(text[1], "\tOrvane\t\t10-12-2026");
  shared::TTabLines lines;
  lines.Lines = {"[Header>", "0\tQuillon", "<Header]"};
  lines.Lines.insert(lines.Lines.end(), text.begin(), text.end());
  lines.Lines.push_back("[Next>");
  lines.Lines.push_back("not a comment");
  lines.Lines.push_back("<Next]");
  shared::TProjectInfo back;
  back.ReadInfoSection(lines, "today");
  EXPECT_EQ(back.Title, "");
  EXPECT_EQ(back.Client, "Orvane");
  EXPECT_EQ(back.Author, "");
  EXPECT_EQ(back.Date, "10-12-2026");
  EXPECT_EQ(back.Comments, (std::vector<std::string>{"", "middle", ""}));

  shared::TProjectInfo empty;
  empty.Date = "";
  EXPECT_EQ(Section(empty), (std::vector<std::string>{"[Info>", "\t\t\t", "<Info]"}));
  const shared::TProjectInfo emptyBack = ReadSection(Section(empty));
  EXPECT_EQ(emptyBack.Title + emptyBack.Client + emptyBack.Author + emptyBack.Date, "");
  EXPECT_TRUE(emptyBack.Comments.empty());
}

TEST(ProjectInfoTest, InfoSectionReadingFallsBackToDefaults) {
  const shared::TProjectInfo none = ReadSection({"[Header>", "0\tQuillon", "<Header]"}, "9-12-2026");
  EXPECT_EQ(none.Title, "");
  EXPECT_EQ(none.Client, "");
  EXPECT_EQ(none.Date, "9-12-2026") << "no section: today's date";
  EXPECT_TRUE(none.Comments.empty());

  const shared::TProjectInfo shortRecord = ReadSection({"[INFO>", "Title only", "<info]"});
  EXPECT_EQ(shortRecord.Title, "Title only") << "section names ignore case";
  EXPECT_EQ(shortRecord.Date, "") << "a record without a date gives an empty date";
  EXPECT_TRUE(shortRecord.Comments.empty());

  const shared::TProjectInfo bare = ReadSection({"[Info>", "<Info]"});
  EXPECT_EQ(bare.Date, "today");
  EXPECT_EQ(bare.Title, "");
}

TEST(ProjectInfoTest, InfoSectionFieldsCannotShift) {
  shared::TProjectInfo info;
  info.Title = "a\tb";
  info.Client = "line\r\nbreak";
  info.Author = "x";
  info.Date = "d";
  info.Comments = {"one\ntwo", "tab\there"};
  const auto text = Section(info);
  EXPECT_EQ(text,
            (std::vector<std::string>{"[Info>", "a b\tline  break\tx\td", "one two", "tab here", "<Info]"}));
  const shared::TProjectInfo back = ReadSection(text);
  EXPECT_EQ(back.Client, "line  break");
  EXPECT_EQ(back.Author, "x");
  EXPECT_EQ(back.Date, "d");
  EXPECT_EQ(back.Comments, (std::vector<std::string>{"one two", "tab here"}));
}

TEST(ProjectInfoTest, InfoBlockIsOneItemPerLine) {
  EXPECT_EQ(Text(Sample()),
            "[Info]\r\n0\r\nGripper\r\nOrvane\r\nJ. Smit\r\n10-12-2026\r\n3\r\nfirst\r\n\r\nthird\r\n");
}

TEST(ProjectInfoTest, InfoBlockRoundTripsEmptyTitleAndComments) {
  shared::TProjectInfo info = Sample();
  info.Title = "";
  info.Comments = {"", "middle", ""};
  std::istringstream in(Text(info) + "[Next]\r\n");
  shared::TProjectInfo back;
  back.ReadFromText(in);
  EXPECT_EQ(back.Title, "");
  EXPECT_EQ(back.Client, "Orvane");
  EXPECT_EQ(back.Author, "J. Smit");
  EXPECT_EQ(back.Date, "10-12-2026");
  EXPECT_EQ(back.Comments, (std::vector<std::string>{"", "middle", ""}));
  std::string next;
  std::getline(in, next);
  EXPECT_EQ(next, "[Next]\r") << "the reader takes exactly its own lines";
}

TEST(ProjectInfoTest, InfoBlockReadsLineFeedFilesAndReplacesOldComments) {
  std::istringstream in("[Info]\n0\nT\nC\nA\nD\n1\nonly\n");
  shared::TProjectInfo info = Sample();
  info.ReadFromText(in);
  EXPECT_EQ(info.Title, "T");
  EXPECT_EQ(info.Date, "D");
  EXPECT_EQ(info.Comments, std::vector<std::string>{"only"});
}

TEST(ProjectInfoTest, WrongFirstLineRaisesAndKeepsTheFields) {
  for (const char* text : {"[Infos]\r\n0\r\n", "", "[info]\r\n"}) {
    std::istringstream in(text);
    shared::TProjectInfo info = Sample();
    try {
      info.ReadFromText(in);
      FAIL() << "no exception for " << text;
    } catch (const shared::EFileReadError& error) {
      EXPECT_STREQ(error.what(), "File read error in TProjectInfoDialog !");
    }
    EXPECT_EQ(info.Title, "Gripper");
    EXPECT_EQ(info.Comments.size(), 3u);
  }
}

TEST(ProjectInfoTest, CutOffBlockEndsTheComments) {
  std::istringstream in("[Info]\r\n0\r\nT\r\nC\r\nA\r\nD\r\n100000000\r\none\r\n");
  shared::TProjectInfo info;
  info.ReadFromText(in);
  EXPECT_EQ(info.Comments, std::vector<std::string>{"one"});
}

TEST(ProjectInfoTest, LineBreaksAndTabsInFieldsBecomeBlanks) {
  shared::TProjectInfo info;
  info.Title = "two\r\nlines";
  info.Client = "a\tb";
  info.Author = "x\ny";
  info.Date = "d\r";
  info.Comments = {"c\td", "e\nf"};
  EXPECT_EQ(Text(info), "[Info]\r\n0\r\ntwo  lines\r\na b\r\nx y\r\nd \r\n2\r\nc d\r\ne f\r\n");
  std::istringstream in(Text(info));
  shared::TProjectInfo back;
  back.ReadFromText(in);
  EXPECT_EQ(back.Title, "two  lines");
  EXPECT_EQ(back.Comments, (std::vector<std::string>{"c d", "e f"}));
  EXPECT_EQ(shared::OneLineField("\t\r\n"), "   ");
}

TEST(ProjectInfoTest, HtmlBlockLineForLine) {
  EXPECT_EQ(Html(Sample()),
            "<table border=\"1\" bordercolor=\"#000000\" width=\"100%\">\r\n"
            "<tr><td width=\"100%\" colspan=\"2\"><font face=\"Arial\" size=\"4\">Gripper</font></td></tr>"
            "<tr><td>Client: </td><td>Orvane</td></tr>\r\n"
            "<tr><td>Author: </td><td>J. Smit</td></tr>\r\n"
            "<tr><td>Date: </td><td>10-12-2026</td></tr>\r\n"
            "<tr><td colspan=\"2\" bgcolor=\"#FFFFFF\"><p>\r\n"
            "first<br>\r\n"
            "<br>\r\n"
            "third<br>\r\n"
            "</p></td></tr>\r\n"
            "</table>\r\n"
            "<p></p>\r\n");
}

TEST(ProjectInfoTest, HtmlBlockLeavesOutEmptyFields) {
  shared::TProjectInfo info;
  EXPECT_EQ(Html(info),
            "<table border=\"1\" bordercolor=\"#000000\" width=\"100%\">\r\n</table>\r\n<p></p>\r\n");
  info.Title = "Only";
  EXPECT_EQ(
      Html(info),
      "<table border=\"1\" bordercolor=\"#000000\" width=\"100%\">\r\n"
      "<tr><td width=\"100%\" colspan=\"2\"><font face=\"Arial\" size=\"4\">Only</font></td></tr></table>\r\n"
      "<p></p>\r\n");
}

TEST(ProjectInfoTest, HtmlBlockEscapesTheTexts) {
  shared::TProjectInfo info;
  info.Client = "Smit & <Zonen> \"BV\"";
  info.Comments = {"a<br>b"};
  const std::string html = Html(info);
  EXPECT_NE(html.find("<tr><td>Client: </td><td>Smit &amp; &lt;Zonen&gt; &quot;BV&quot;</td></tr>\r\n"),
            std::string::npos)
      << html;
  EXPECT_NE(html.find("a&lt;br&gt;b<br>\r\n"), std::string::npos) << html;
  EXPECT_EQ(shared::HtmlEscape("plain text 'as is' \xE9"), "plain text 'as is' \xE9");
}

TEST(ProjectInfoTest, WorkbookRowsFromTheGivenRow) {
  shared::TWorkbook book;
  shared::TWorksheet& sheet = book.AddSheet("Properties");
  int row = 1;
  Sample().WriteToExcel(row, sheet, shared::kSynthesisInfoFill);
  EXPECT_EQ(row, 5);
  const std::pair<int, const char*> cells[] = {
      {1, "Title: Gripper"}, {2, "Client: Orvane"}, {3, "Author: J. Smit"}, {4, "Date: 10-12-2026"}};
  for (const auto& [r, text] : cells) {
    ASSERT_NE(sheet.Cell(r, 1), nullptr);
    EXPECT_EQ(sheet.Cell(r, 1)->Text, text);
    EXPECT_EQ(sheet.Format(r, 1), (shared::TCellFormat{r == 1, 36}));
  }
  EXPECT_EQ(sheet.Format(4, 4).FillColorIndex, 36);
  EXPECT_EQ(sheet.Format(4, 5).FillColorIndex, 0);
  EXPECT_EQ(sheet.Format(5, 1).FillColorIndex, 0);
  EXPECT_EQ(sheet.Cell(5, 1), nullptr) << "comments are not written";

  shared::TWorksheet& other = book.AddSheet("Other");
  row = 1;
  shared::TProjectInfo().WriteToExcel(row, other, shared::kAnimatorInfoFill);
  EXPECT_EQ(other.Cell(1, 1)->Text, "Title: ");
  EXPECT_EQ(other.Format(4, 3).FillColorIndex, 36);
  EXPECT_EQ(other.Format(4, 4).FillColorIndex, 0);
}

}  // namespace
