// The parts both programs' HTML reports share: the options of the report dialog, the texts put
// into a page (report text and file names as ISO-8859-1 HTML, file names as URLs), the page's
// head with its header table, and its footer.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace shared {

// The "Include" and "Automatically Print" boxes of the report options.
struct THtmlReportOptions {
  bool ProjectInfo = true;
  bool Drawing = true;
  bool Properties = true;
  bool PathData = false;
  bool AutoPrint = true;
  bool Curve = false;
  bool Areas = false;
};

// What every report page tells of the program and of its writing (Windows-1252): the program's
// title and version, date and time of writing, and the footer's web page and notice.
struct TReportStamp {
  std::string Title;
  std::string Version;
  std::string Date;
  std::string Time;
  std::string ProductURL;
  std::string Notice;
};

// Windows-1252 text as ISO-8859-1: the bytes that differ (0x80..0x9F) as "&#N;" with their
// Unicode number.
std::string Latin1Html(std::string_view cp1252);
// A file name (UTF-8, as the file system names it) as HTML text: markup characters escaped,
// Latin-1 characters as they are, the others as "&#N;"; bytes that are no UTF-8 as "&#65533;".
std::string FileNameHtml(std::string_view path);
// A file name as URL text: every byte but letters, digits, "-._~/" percent-encoded.
std::string FileNameUrl(std::string_view path);
// A picture's reference in a page that it lies beside: its file name alone, relative to the
// page, so a page moved or mailed with its pictures still shows them.
std::string PictureUrl(const std::string& fileName);
// The file name with its extension replaced by the tail ("r.html", "Mech.bmp" give "rMech.bmp").
std::string ReplaceNameTail(const std::string& fileName, std::string_view tail);

// The page up to the end of its header table. The Windows-1252 texts are escaped here; the
// page title and document name are given as HTML already.
struct THtmlPageHead {
  std::string Generator;  // product title + " - V" + version
  std::string PageTitle;
  std::string DocumentName;
  std::string Date;
  std::string Time;
  // The print script, and the body calling it when loaded.
  bool AutoPrint = true;
};
void WriteHtmlPageHead(std::ostream& out, const THtmlPageHead& head);

// The link to the product's page and the end of the page (Windows-1252 texts).
void WriteHtmlPageFooter(std::ostream& out, const std::string& productUrl, const std::string& title,
                         const std::string& notice);

}  // namespace shared
