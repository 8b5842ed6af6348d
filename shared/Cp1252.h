// Windows-1252, the 8-bit text of every file of the suite, converted to and from UTF-8 at the
// user-interface edge. One table serves both directions so written bytes, checksummed bytes and
// shown text always agree.
#pragma once

#include <string>
#include <string_view>

namespace shared {

// Each byte becomes its character; the five unassigned bytes map to U+FFFD.
std::string Cp1252ToUtf8(std::string_view bytes);

// Characters that Windows-1252 cannot hold (and malformed UTF-8) become "?".
std::string Utf8ToCp1252(std::string_view utf8);

}  // namespace shared
