// The bytes of a fixture file beside the engine tests, for byte-for-byte record comparisons.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace enginetest {

// Empty when the file is missing.
inline std::string ReadFixture(const std::string& name) {
  std::ifstream in(std::string(SUITE_FIXTURES) + "/" + name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace enginetest
