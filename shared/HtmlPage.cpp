// The report pages' shared parts: text conversions, head and header table, footer.
#include "shared/HtmlPage.h"

#include <cstdint>
#include <filesystem>

#include "shared/Cp1252.h"
#include "shared/FilePath.h"
#include "shared/ProjectInfo.h"
#include "shared/TextLine.h"

namespace shared {

namespace {

constexpr const char* kReplacement = "&#65533;";

std::string Reference(uint32_t code) { return "&#" + std::to_string(code) + ";"; }

// The next character of UTF-8 text from at on, at moved past it; false (at moved one byte) for
// a byte that starts no well-formed character.
bool NextCharacter(std::string_view text, size_t& at, uint32_t& code) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  const uint8_t first = byte(at);
  int length = 0;
  uint32_t min = 0;
  if (first < 0x80) {
    code = first;
    ++at;
    return true;
  } else if ((first & 0xE0) == 0xC0) {
    length = 2, code = first & 0x1F, min = 0x80;
  } else if ((first & 0xF0) == 0xE0) {
    length = 3, code = first & 0x0F, min = 0x800;
  } else if ((first & 0xF8) == 0xF0) {
    length = 4, code = first & 0x07, min = 0x10000;
  } else {
    ++at;
    return false;
  }
  if (at + static_cast<size_t>(length) > text.size()) {
    ++at;
    return false;
  }
  for (int i = 1; i < length; ++i) {
    const uint8_t next = byte(at + static_cast<size_t>(i));
    if ((next & 0xC0) != 0x80) {
      ++at;
      return false;
    }
    code = (code << 6) | (next & 0x3F);
  }
  // Overlong forms, surrogates and values past Unicode are no characters.
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    ++at;
    return false;
  }
  at += static_cast<size_t>(length);
  return true;
}

}  // namespace

std::string Latin1Html(std::string_view cp1252) {
  std::string out;
  out.reserve(cp1252.size());
  for (const char c : cp1252) {
    const auto byte = static_cast<uint8_t>(c);
    if (byte < 0x80 || byte >= 0xA0) {
      out += c;
      continue;
    }
    uint32_t code = 0;
    size_t at = 0;
    const std::string utf8 = Cp1252ToUtf8(std::string_view(&c, 1));
    if (NextCharacter(utf8, at, code) && code != 0xFFFD) {
      out += Reference(code);
    } else {
      out += kReplacement;
    }
  }
  return out;
}

std::string FileNameHtml(std::string_view path) {
  std::string out;
  size_t at = 0;
  while (at < path.size()) {
    uint32_t code = 0;
    if (!NextCharacter(path, at, code)) {
      out += kReplacement;
    } else if (code == '&') {
      out += "&amp;";
    } else if (code == '<') {
      out += "&lt;";
    } else if (code == '>') {
      out += "&gt;";
    } else if (code == '"') {
      out += "&quot;";
    } else if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
      out += static_cast<char>(code);
    } else {
      out += Reference(code);
    }
  }
  return out;
}

std::string FileNameUrl(std::string_view path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : path) {
    const auto byte = static_cast<uint8_t>(c);
    const bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                       (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
                       byte == '~' || byte == '/';
    if (plain) {
      out += c;
    } else {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    }
  }
  return out;
}

std::string PictureUrl(const std::string& fileName) {
  return FileNameUrl(std::filesystem::path(fileName).filename().string());
}

std::string ReplaceNameTail(const std::string& fileName, std::string_view tail) {
  std::filesystem::path stem(fileName);
  stem.replace_extension();
  return stem.string() + std::string(tail);
}

void WriteHtmlPageHead(std::ostream& out, const THtmlPageHead& head) {
  const auto line = [&](const std::string& text) { out << text << kLineEnd; };
  const std::string generator = HtmlEscape(head.Generator);
  line("<html>");
  line("<head>");
  line("<meta http-equiv=\"Content-Type\"");
  line("content=\"text/html; charset=iso-8859-1\">");
  line("<meta name=\"GENERATOR\" content=\"" + generator + "\">");
  line("<title>" + head.PageTitle + "</title>");
  if (head.AutoPrint) {
    for (const char* text :
         {"<script language=\"JavaScript\">", "<!-- Begin", "function printPage() {", "  if (window.print) {",
          "    window.print();", "  }", "}", "//  End -->", "</script>"})
      line(text);
  }
  line("</head>");
  // Without the script a call of it on loading would be a script error.
  line(head.AutoPrint ? "<body bgcolor=\"#FFFFFF\" onLoad=\"printPage()\">" : "<body bgcolor=\"#FFFFFF\">");
  line("<table border=\"1\" bordercolor=\"#000000\" width=\"100%\">");
  line("<tr><td width=\"100%\" bgcolor=\"#FFFFCC\">");
  line("<font face=\"Arial\" size=\"4\">" + generator + "</font><br>");
  line("<font face=\"Arial\" size=\"2\">" + head.DocumentName + " - " + HtmlEscape(head.Date) + " - " +
       HtmlEscape(head.Time) + "</font>");
  line("</td></tr>");
  line("</table>");
  line("<p></p>");
}

void WriteHtmlPageFooter(std::ostream& out, const std::string& productUrl, const std::string& title,
                         const std::string& notice) {
  out << "<p><a href=\"" << HtmlEscape(productUrl) << "\"><font size=\"2\" face=\"Arial\">"
      << HtmlEscape(title) << " - " << HtmlEscape(notice) << "</font></a></p>" << kLineEnd;
  out << "</body>" << kLineEnd;
  out << "</html>" << kLineEnd;
}

}  // namespace shared
