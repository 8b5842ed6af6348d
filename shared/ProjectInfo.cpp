// The project information and its project-file block, workbook rows and HTML table.
#include "shared/ProjectInfo.h"

#include "shared/Complex.h"
#include "shared/RealText.h"
#include "shared/TabLine.h"
#include "shared/TextLine.h"
#include "shared/Workbook.h"

namespace shared {

namespace {
constexpr const char* kInfoSection = "Info";
constexpr int kInfoFillColour = 36;
}  // namespace

std::string HtmlEscape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

void TProjectInfo::SetDefaults(const std::string& today) {
  Title.clear();
  Client.clear();
  Author.clear();
  Date = today;
  Comments.clear();
}

void TProjectInfo::ReadInfoSection(TTabLines& lines, const std::string& today) {
  SetDefaults(today);
  if (!lines.FindSection(kInfoSection)) return;
  if (!lines.ReadLine()) return;
  for (std::string* text : {&Title, &Client, &Author, &Date}) *text = lines.GetString("");
  while (lines.ReadLine()) Comments.push_back(lines.GetString(""));
}

void TProjectInfo::WriteInfoSection(TTabLines& lines) const {
  lines.BeginSection(kInfoSection);
  lines.ClearFields();
  for (const std::string* text : {&Title, &Client, &Author, &Date}) lines.AddString(*text);
  lines.WriteLine();
  for (const std::string& comment : Comments) {
    lines.ClearFields();
    lines.AddString(comment);
    lines.WriteLine();
  }
  lines.EndSection();
}

void TProjectInfo::ReadFromText(std::istream& in) {
  std::string line;
  if (!ReadTextLine(in, line) || line != "[Info]")
    throw EFileReadError("File read error in TProjectInfoDialog !");
  ReadTextLine(in, line);  // block version, only 0 so far
  std::string texts[4];
  for (std::string& text : texts)
    if (!ReadTextLine(in, text)) text.clear();
  std::string count;
  ReadTextLine(in, count);
  const int32_t n = IntOr(count, 0);
  Title = texts[0];
  Client = texts[1];
  Author = texts[2];
  Date = texts[3];
  Comments.clear();
  // A cut-off file ends the comments rather than filling them with empty lines.
  for (int32_t i = 0; i < n && ReadTextLine(in, line); ++i) Comments.push_back(line);
}

void TProjectInfo::WriteToText(std::ostream& out) const {
  out << "[Info]" << kLineEnd << "0" << kLineEnd;
  for (const std::string* text : {&Title, &Client, &Author, &Date}) out << OneLineField(*text) << kLineEnd;
  out << std::to_string(Comments.size()) << kLineEnd;
  for (const std::string& comment : Comments) out << OneLineField(comment) << kLineEnd;
}

void TProjectInfo::WriteToExcel(int& row, TWorksheet& sheet, const std::string& fillRange) const {
  sheet.SetFill(ParseCellRange(fillRange), kInfoFillColour);
  sheet.SetText(row, 1, "Title: " + Title);
  sheet.SetBold(row, 1);
  sheet.SetText(row + 1, 1, "Client: " + Client);
  sheet.SetText(row + 2, 1, "Author: " + Author);
  sheet.SetText(row + 3, 1, "Date: " + Date);
  row += 4;
}

void TProjectInfo::WriteHTML(std::ostream& out) const {
  out << "<table border=\"1\" bordercolor=\"#000000\" width=\"100%\">" << kLineEnd;
  // The title row has no line end of its own: the next row follows on its line.
  if (!Title.empty())
    out << "<tr><td width=\"100%\" colspan=\"2\"><font face=\"Arial\" size=\"4\">" << HtmlEscape(Title)
        << "</font></td></tr>";
  const std::pair<const char*, const std::string*> rows[] = {
      {"Client: ", &Client}, {"Author: ", &Author}, {"Date: ", &Date}};
  for (const auto& [caption, text] : rows)
    if (!text->empty())
      out << "<tr><td>" << caption << "</td><td>" << HtmlEscape(*text) << "</td></tr>" << kLineEnd;
  if (!Comments.empty()) {
    out << "<tr><td colspan=\"2\" bgcolor=\"#FFFFFF\"><p>" << kLineEnd;
    for (const std::string& comment : Comments) out << HtmlEscape(comment) << "<br>" << kLineEnd;
    out << "</p></td></tr>" << kLineEnd;
  }
  out << "</table>" << kLineEnd << "<p></p>" << kLineEnd;
}

}  // namespace shared
