// Fuzz target: the "English.ini" reader of the animator's user-interface texts.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "animator/app/LanguageFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  quillon::TLanguageFile file;
  std::istringstream in(text);
  file.LoadFromStream(in);
  for (const char* section : {"Animation", "MainForm", "Graph", ""})
    for (const char* key : {"FileNotExist", "Caption", "X", ""}) {
      file.ReadString(section, key, "fallback");
      file.ValueExists(section, key);
    }
  return 0;
}
