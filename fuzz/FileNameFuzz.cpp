// Fuzz target: file names stored relative to the document's folder and resolved again. The
// input is the document's path and the file name, separated by the first NUL; a full name must
// come back as its normalised self.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "shared/TabLine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const size_t split = text.find('\0');
  if (split == std::string::npos) return 0;
  const std::string document = "/" + text.substr(0, split);
  const std::string name = text.substr(split + 1);
  if (document.find('\0') != std::string::npos || name.find('\0') != std::string::npos) return 0;

  shared::TTabLines lines;
  lines.SetFileName(document);
  lines.ClearFields();
  lines.AddFileName(name);
  lines.WriteLine();
  lines.ReadPosition = 0;
  lines.ReadLine();
  const std::string back = lines.GetFileName("");

  // A plain full name (no Windows delimiters or roots, no line breaks or TABs, not a folder)
  // reads back as itself, normalised.
  const bool plain = !name.empty() && name[0] == '/' && name.rfind("//", 0) != 0 &&
                     name.find_first_of("\\\t\r\n") == std::string::npos && name.back() != '/' &&
                     std::filesystem::path(name).filename() != "." && std::filesystem::path(name).filename() != "..";
  if (plain && back != std::filesystem::path(name).lexically_normal().string()) __builtin_trap();
  return 0;
}
