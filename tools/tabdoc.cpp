// tabdoc: shows a tab-line document (a mechanism file, for one) or saves it again with a fresh
// keyed checksum line.
//
//   tabdoc show FILE
//     Each section (a line "[name>") shows as its name on a line of its own, then each record up
//     to its end line "<name]" (letter case ignored) or the end of the text, fields joined by
//     " | "; a record without fields shows as an empty line. Lines
//     outside sections are not shown. The last line of the file is taken as the checksum line
//     and is never a record: the listing ends with "checksum: N (stored M)", N being the keyed
//     CRC-16 over all lines before it and M the last line as stored. An empty file shows
//     "checksum: none (empty document)". Text is shown in UTF-8.
//   tabdoc save IN OUT
//     Loads IN, drops its last line when it is a decimal number (the old checksum), and saves
//     the rest to OUT with CR LF line ends and a fresh checksum line. OUT is replaced only when
//     the whole write succeeded.
//
// Exit status 0 on success, 1 when a file cannot be read or written, 2 on wrong arguments; the
// reason goes to stderr and nothing is written.
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "shared/Cp1252.h"
#include "shared/TabLine.h"

namespace {

const char* kUsage =
    "usage: tabdoc show FILE\n"
    "       tabdoc save IN OUT\n";

// A missing file is an error here, unlike for the store, whose callers report it themselves.
void Load(shared::TTabLines& store, const std::string& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    throw std::runtime_error("Cannot read \"" + path + "\": no such file.");
  }
  store.LoadFromFile(path);
}

bool IsDecimalNumber(const std::string& line) {
  return !line.empty() && line.find_first_not_of("0123456789") == std::string::npos;
}

void Show(const std::string& path) {
  shared::TTabLines store;
  Load(store, path);
  if (store.Lines.empty()) {
    std::cout << "checksum: none (empty document)\n";
    return;
  }
  const std::string stored = store.Lines.back();
  store.Lines.pop_back();
  size_t i = 0;
  while (i < store.Lines.size()) {
    const std::string& line = store.Lines[i];
    if (line.size() < 2 || line.front() != '[' || line.back() != '>') {
      ++i;
      continue;
    }
    const std::string name = line.substr(1, line.size() - 2);
    std::cout << shared::Cp1252ToUtf8(name) << '\n';
    store.EndMarker = "<" + name + "]";
    store.ReadPosition = static_cast<int32_t>(i) + 1;
    while (store.ReadLine()) {
      std::string record;
      for (int f = 0; f < store.FieldCount; ++f) {
        if (f > 0) record += " | ";
        record += store.Fields[f];
      }
      std::cout << shared::Cp1252ToUtf8(record) << '\n';
    }
    i = static_cast<size_t>(store.ReadPosition);
  }
  std::cout << "checksum: " << store.ComputeCrc(store.Lines) << " (stored " << shared::Cp1252ToUtf8(stored)
            << ")\n";
}

void Save(const std::string& in, const std::string& out) {
  shared::TTabLines store;
  Load(store, in);
  if (!store.Lines.empty() && IsDecimalNumber(store.Lines.back())) store.Lines.pop_back();
  store.SetFileName(out);
  store.SaveToFile();
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (args.size() == 2 && args[0] == "show") {
      Show(args[1]);
    } else if (args.size() == 3 && args[0] == "save") {
      Save(args[1], args[2]);
    } else {
      std::cerr << kUsage;
      return 2;
    }
  } catch (const std::exception& e) {
    std::cerr << "tabdoc: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
