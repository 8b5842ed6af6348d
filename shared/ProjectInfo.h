// TProjectInfo: a project's descriptive information (title, client, author, date, comments) and
// its records: the "Info" section of mechanism files, the "[Info]" block of project files, the
// rows of the workbook's properties sheet and the report's HTML table.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "shared/TextLine.h"

namespace shared {

class TTabLines;
class TWorksheet;

// The filled header block of the properties sheet: the animator's and the synthesis program's.
inline constexpr const char* kAnimatorInfoFill = "A1:C4";
inline constexpr const char* kSynthesisInfoFill = "A1:D4";

class TProjectInfo {
 public:
  std::string Title;
  std::string Client;
  std::string Author;
  std::string Date;
  std::vector<std::string> Comments;  // one entry per line

  // Everything empty, the date today's (in the user's short date format, given by the caller).
  void SetDefaults(const std::string& today);

  // SetDefaults, then the "Info" section of the store when there is one: a record of title,
  // client, author and date, then one record per comment line.
  void ReadInfoSection(TTabLines& lines, const std::string& today);
  void WriteInfoSection(TTabLines& lines) const;

  // The "[Info]" block, one item per line. A first line other than "[Info]" raises
  // EFileReadError("File read error in TProjectInfoDialog !") and changes nothing.
  void ReadFromText(std::istream& in);
  void WriteToText(std::ostream& out) const;

  // Four rows from row on ("Title: " in bold, "Client: ", "Author: ", "Date: "), the fill range
  // given colour index 36; row ends 4 further.
  void WriteToExcel(int& row, TWorksheet& sheet, const std::string& fillRange) const;

  // The report's project table; the texts are HTML-escaped.
  void WriteHTML(std::ostream& out) const;
};

// The text with & < > and " written as HTML character references.
std::string HtmlEscape(const std::string& text);

}  // namespace shared
