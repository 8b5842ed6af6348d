// Test helpers for files: a whole file as bytes and back, and a fresh folder for each test.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

namespace shared::test {

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

// A folder named after the prefix, the process and the test, made empty before the test and
// removed after it: tests run in parallel processes.
class TTempFolderTest : public ::testing::Test {
 protected:
  explicit TTempFolderTest(std::string prefix) : fPrefix(std::move(prefix)) {}

  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir = std::filesystem::temp_directory_path() /
          (fPrefix + "_" + std::to_string(::getpid()) + "_" + info->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  std::filesystem::path dir;

 private:
  std::string fPrefix;
};

}  // namespace shared::test
