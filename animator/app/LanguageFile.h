// TLanguageFile: the user-interface texts of "English.ini", held in memory. Sections and keys
// match without regard to case; values are trimmed and lose one pair of enclosing quotes.
#pragma once

#include <istream>
#include <map>
#include <string>

namespace quillon {

class TLanguageFile {
 public:
  static constexpr const char* kFileName = "English.ini";

  // Texts are Windows-1252, as the file holds them. A line without "=" outside a section header
  // is skipped, so are comment lines (";" or "#"). The first occurrence of a section or key wins.
  void LoadFromStream(std::istream& in);
  // False when the file cannot be read; the texts then stay empty.
  bool LoadFromFile(const std::string& path);
  void Clear() { Sections.clear(); }

  // The value as written (possibly empty) when the key exists, else the fallback.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& fallback) const;
  bool ValueExists(const std::string& section, const std::string& key) const;

 private:
  // Lower-case section -> lower-case key -> value.
  std::map<std::string, std::map<std::string, std::string>> Sections;
};

// Loads "English.ini" from the working folder, else from programDir (with a trailing "/").
// Returns the path that was read, or "" when neither exists (every text keeps its default).
std::string OpenLanguageFile(TLanguageFile& file, const std::string& programDir);

}  // namespace quillon
