// Reading of the language file: INI sections of key=value lines.
#include "animator/app/LanguageFile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "shared/TextLine.h"

namespace quillon {

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : static_cast<char>(c);
  });
  return text;
}

std::string Trim(const std::string& text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  size_t first = 0;
  size_t last = text.size();
  while (first < last && blank(text[first])) ++first;
  while (last > first && blank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

std::string StripQuotes(const std::string& value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace

void TLanguageFile::LoadFromStream(std::istream& in) {
  Sections.clear();
  std::map<std::string, std::string>* current = nullptr;
  std::string line;
  while (shared::ReadTextLine(in, line)) {
    const std::string text = Trim(line);
    if (text.empty() || text.front() == ';' || text.front() == '#') continue;
    if (text.front() == '[') {
      const size_t close = text.find(']');
      if (close == std::string::npos) continue;
      const std::string name = Lower(Trim(text.substr(1, close - 1)));
      // A repeated section adds nothing: the first one is the one that is read.
      current = Sections.count(name) ? nullptr : &Sections[name];
      continue;
    }
    const size_t equals = text.find('=');
    if (!current || equals == std::string::npos) continue;
    const std::string key = Lower(Trim(text.substr(0, equals)));
    if (key.empty()) continue;
    current->emplace(key, StripQuotes(Trim(text.substr(equals + 1))));
  }
}

bool TLanguageFile::LoadFromFile(const std::string& path) {
  Sections.clear();
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  LoadFromStream(in);
  return true;
}

std::string TLanguageFile::ReadString(const std::string& section, const std::string& key,
                                      const std::string& fallback) const {
  const auto found = Sections.find(Lower(section));
  if (found == Sections.end()) return fallback;
  const auto value = found->second.find(Lower(key));
  return value == found->second.end() ? fallback : value->second;
}

bool TLanguageFile::ValueExists(const std::string& section, const std::string& key) const {
  const auto found = Sections.find(Lower(section));
  return found != Sections.end() && found->second.count(Lower(key)) > 0;
}

std::string OpenLanguageFile(TLanguageFile& file, const std::string& programDir) {
  for (const std::string& path :
       {std::string(TLanguageFile::kFileName), programDir + TLanguageFile::kFileName}) {
    if (file.LoadFromFile(path)) return path;
  }
  file.Clear();
  return "";
}

}  // namespace quillon
