// The one line reader of every text format of the suite: CR LF or LF line ends, only the line
// end is stripped. Writers end every line with CR LF.
#pragma once

#include <istream>
#include <string>
#include <vector>

namespace shared {

inline constexpr const char* kLineEnd = "\r\n";

// Reads the next line without its line end; false at the end of the stream (a last line
// without a line end is still returned).
bool ReadTextLine(std::istream& in, std::string& line);

// Splits a whole text at its line ends; a final line end does not start another line.
std::vector<std::string> SplitTextLines(const std::string& text);

// The text with every TAB, CR and LF made a blank, so that it stays one field of one line.
std::string OneLineField(std::string text);

}  // namespace shared
