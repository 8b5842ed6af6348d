// Running mechtool as a user runs it, from a fresh folder per test: its exit status and what it
// printed, and reading and writing the files it works on.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/shared/TestFiles.h"

namespace mechtool_test {

namespace fs = std::filesystem;
using shared::test::ReadBytes;
using shared::test::WriteBytes;

inline std::vector<std::string> Split(const std::string& line, char separator) {
  std::vector<std::string> fields;
  std::string field;
  std::istringstream in(line);
  while (std::getline(in, field, separator)) fields.push_back(field);
  return fields;
}

struct TRun {
  int status;
  std::string out;
  std::string err;
  // Tab-separated lines of stdout grouped by their first field.
  std::map<std::string, std::vector<std::vector<std::string>>> Lines() const {
    std::map<std::string, std::vector<std::vector<std::string>>> lines;
    for (const std::string& line : Split(out, '\n')) {
      const auto fields = Split(line, '\t');
      if (!fields.empty()) lines[fields[0]].push_back(fields);
    }
    return lines;
  }
};

class TMechtoolFixture : public shared::test::TTempFolderTest {
 protected:
  explicit TMechtoolFixture(std::string prefix) : TTempFolderTest(std::move(prefix)) {}

  // args is passed to the shell as it stands; paths in it are single-quoted by Quote. The captured
  // output files are removed again, so dir holds only what the tool wrote.
  TRun Run(const std::string& args) {
    const fs::path out = dir / "stdout.txt";
    const fs::path err = dir / "stderr.txt";
    const std::string command = Quote(MECHTOOL_PATH) + " " + args + " >" + Quote(out) + " 2>" + Quote(err);
    const int raw = std::system(command.c_str());
    TRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadBytes(out), ReadBytes(err)};
    fs::remove(out);
    fs::remove(err);
    return run;
  }
  static std::string Quote(const fs::path& path) { return "'" + path.string() + "'"; }
};

}  // namespace mechtool_test
