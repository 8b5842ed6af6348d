// Running synthtool as a user runs it, from a fresh folder per test: its exit status and output
// lines, and the curve files it reads.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/shared/TestFiles.h"

namespace synthtool_test {

namespace fs = std::filesystem;
using shared::test::ReadBytes;
using shared::test::WriteBytes;

// 13 points of the coupler path of a crank-rocker (ground 1, crank 0.3, coupler 0.9, rocker 0.8).
inline const char* kCurve =
    "0.863768221 0.005722727\n0.845262319 0.010239643\n0.821343882 0.014989800\n0.792727415 0.019956131\n"
    "0.760172590 0.024885999\n0.724433964 0.029370520\n0.686238478 0.032924822\n0.646281243 0.035054604\n"
    "0.605230085 0.035304690\n0.563732185 0.033291115\n0.522419187 0.028720371\n0.481909334 0.021399548\n"
    "0.442806413 0.011240277\n";

struct TRun {
  int status;
  std::string out;
  std::string err;
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
};

class TSynthtoolFixture : public shared::test::TTempFolderTest {
 protected:
  explicit TSynthtoolFixture(std::string prefix) : TTempFolderTest(std::move(prefix)) {}

  static std::string Quote(const fs::path& p) { return "'" + p.string() + "'"; }

  // The captured output files are removed again, so dir holds only what the tool wrote.
  TRun Run(const std::string& args) { return RunProgram(SYNTHTOOL_PATH, args); }

  TRun RunProgram(const std::string& program, const std::string& args) {
    const fs::path out = dir / "stdout.txt";
    const fs::path err = dir / "stderr.txt";
    const std::string command = Quote(program) + " " + args + " >" + Quote(out) + " 2>" + Quote(err);
    const int raw = std::system(command.c_str());
    TRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadBytes(out), ReadBytes(err)};
    fs::remove(out);
    fs::remove(err);
    return run;
  }

  // The text as a file in dir; its quoted path.
  std::string File(const std::string& name, const std::string& text) {
    WriteBytes(dir / name, text);
    return Quote(dir / name);
  }
};

}  // namespace synthtool_test
