// Fuzz target: the tab-line store filled from bytes, every section found and every record read
// field by field with each kind of Get, file names against a document folder.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "shared/TabLine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  shared::TTabLines lines;
  std::istringstream in(text);
  lines.LoadFromStream(in);
  lines.SetFileName("/fuzz/docs/doc.mech");
  const std::vector<std::string> read = lines.Lines;
  for (const std::string& line : read) {
    if (line.size() < 2 || line.front() != '[' || line.back() != '>') continue;
    if (!lines.FindSection(line.substr(1, line.size() - 2))) __builtin_trap();
    for (int kind = 0; lines.ReadLine(); ++kind) {
      if (lines.FieldCount > shared::TTabLines::kMaxFields) __builtin_trap();
      while (lines.FieldCount > 0) {
        switch (kind++ % 5) {
          case 0: lines.GetBool(false); break;
          case 1: lines.GetInt(0); break;
          case 2: lines.GetFloat(0); break;
          case 3: lines.GetString(""); break;
          default: lines.GetFileName(""); break;
        }
      }
    }
  }
  // Every record written back comes back field for field.
  shared::TTabLines copy;
  copy.Lines = read;
  copy.ReadPosition = 0;
  shared::TTabLines written;
  while (copy.ReadPosition < static_cast<int32_t>(copy.Lines.size())) {
    copy.ReadLine();
    written.ClearFields();
    for (int i = 0; i < copy.FieldCount; ++i) written.AddString(copy.Fields[i]);
    written.WriteLine();
    written.ReadPosition = static_cast<int32_t>(written.Lines.size()) - 1;
    written.ReadLine();
    if (written.FieldCount > copy.FieldCount) __builtin_trap();
  }
  lines.AppendCrc();
  return 0;
}
