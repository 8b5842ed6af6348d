// mechtool: makes, checks and rewrites mechanism documents (*.mech) without the animator's windows.
//
//   mechtool new TYPE OUT
//     Writes the preset linkage TYPE (a type number of the animator's type buttons, 13 for
//     "Custom") as a mechanism document, with an empty project information section before the
//     mechanism content. A type without a preset writes an empty mechanism.
//   mechtool header FILE
//     Prints the answer of the header check: -2 no header, 0 empty header, 1 current version,
//     2 current version written by the synthesis program, -3 another version.
//   mechtool roundtrip IN OUT
//     Reads IN as the animator opens a document and saves it to OUT as the animator saves it,
//     keeping its project information.
//
// Exit status 0 on success, 1 when a document cannot be read or written, 2 on wrong arguments;
// the reason goes to stderr and nothing is written. Warnings of the reader go to stderr too.
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "animator/engine/AniMechanism.h"
#include "animator/engine/MechanismHeader.h"
#include "animator/engine/StdOut.h"
#include "shared/ProjectInfo.h"
#include "shared/RealText.h"
#include "shared/TabLine.h"

namespace {

const char* kUsage =
    "usage: mechtool new TYPE OUT\n"
    "       mechtool header FILE\n"
    "       mechtool roundtrip IN OUT\n";

class TUsageError : public std::runtime_error {
 public:
  TUsageError() : std::runtime_error(kUsage) {}
};

// The message log of the engine, shown on stderr.
class TStderrSink : public quillon::TMessageSink {
 public:
  void AppendLine(const std::string& line, quillon::TMessageKind) override { std::cerr << line << '\n'; }
  void ClearLines() override {}
};

// The store silently reads nothing for a missing file; here that is an error.
void Load(shared::TTabLines& lines, const std::string& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) throw std::runtime_error(path + " does not exist!");
  lines.Clear();
  lines.LoadFromFile(path);
}

void Save(const quillon::TAniMechanism& mechanism, const shared::TProjectInfo& info,
          const std::string& path) {
  shared::TTabLines& lines = shared::TabLines();
  lines.Clear();
  lines.SetFileName(path);
  info.WriteInfoSection(lines);
  mechanism.SaveToTabLines(lines);
  lines.SaveToFile();
}

void New(const std::string& typeText, const std::string& out) {
  int32_t type = 0;
  if (!shared::ParseInt(typeText, type)) throw TUsageError();
  quillon::TAniMechanism mechanism;
  mechanism.NewMechanism(type);
  mechanism.Calculate();
  Save(mechanism, shared::TProjectInfo{}, out);
}

void Header(const std::string& path) {
  shared::TTabLines& lines = shared::TabLines();
  Load(lines, path);
  std::cout << quillon::CheckMechanismHeader(lines).Result << '\n';
}

void Roundtrip(const std::string& in, const std::string& out) {
  shared::TTabLines& lines = shared::TabLines();
  Load(lines, in);
  quillon::TAniMechanism mechanism;
  mechanism.LoadFromTabLines(lines);
  shared::TProjectInfo info;
  // No date of today: a document without project information gets empty fields.
  info.ReadInfoSection(lines, "");
  mechanism.Calculate();
  Save(mechanism, info, out);
}

int Run(const std::vector<std::string>& args) {
  try {
    if (args.size() == 3 && args[0] == "new") {
      New(args[1], args[2]);
    } else if (args.size() == 2 && args[0] == "header") {
      Header(args[1]);
    } else if (args.size() == 3 && args[0] == "roundtrip") {
      Roundtrip(args[1], args[2]);
    } else {
      throw TUsageError();
    }
  } catch (const TUsageError& error) {
    std::cerr << error.what();
    return 2;
  } catch (const std::exception& error) {
    std::cerr << error.what() << '\n';
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  shared::CreateTabLines();
  quillon::CreateStdOut();
  TStderrSink sink;
  quillon::StdOut().SetSink(&sink);
  const int status = Run(std::vector<std::string>(argv + 1, argv + argc));
  quillon::StdOut().SetSink(nullptr);
  quillon::FreeStdOut();
  shared::FreeTabLines();
  return status;
}
