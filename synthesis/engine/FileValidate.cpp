// The project file checksum: the tab-line store's keyed CRC-16 over every line but the last,
// which holds the checksum in decimal.
#include "synthesis/engine/FileValidate.h"

#include <cerrno>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "shared/FilePath.h"
#include "shared/ProcessWide.h"
#include "shared/TabLine.h"
#include "shared/TextLine.h"

namespace vesk {

namespace fs = std::filesystem;

namespace {

// Decimal with an optional sign, as a 32-bit signed value; anything else is a conversion error.
int32_t ToInteger(const std::string& text) {
  const char* first = text.data();
  const char* last = first + text.size();
  if (first != last && *first == '+') ++first;
  int32_t value = 0;
  const auto [end, error] = std::from_chars(first, last, value);
  if (first == last || error != std::errc() || end != last)
    throw std::runtime_error("'" + text + "' is not a valid integer value");
  return value;
}

std::vector<std::string> ReadLines(std::istream& in) {
  std::vector<std::string> lines;
  std::string line;
  while (shared::ReadTextLine(in, line)) lines.push_back(line);
  if (in.bad()) throw std::runtime_error("The file could not be read.");
  return lines;
}

}  // namespace

TFileValidate::TFileValidate() { ResetCrc(); }

void TFileValidate::ResetCrc() {
  Crc = CrcSeed * 257u;
  CrcPolynomial = CrcReflected ? 0x8408 : 0x1021;
  StatusText.clear();
  StatusCode = kValid;
}

void TFileValidate::Feed(const std::vector<std::string>& lines) {
  shared::TTabLines store;
  store.Key = Key;
  store.CrcSeed = CrcSeed;
  store.CrcReflected = CrcReflected;
  Crc = store.ComputeCrc(lines);
}

bool TFileValidate::Verify(std::istream& in) {
  ResetCrc();
  try {
    std::vector<std::string> lines = ReadLines(in);
    int32_t stored = 0;
    if (!lines.empty()) {
      const std::string last = std::move(lines.back());
      lines.pop_back();
      StatusCode = kFailed;
      stored = ToInteger(last);
    }
    Feed(lines);
    if (int64_t(stored) == int64_t(Crc)) {
      StatusCode = kValid;
      StatusText = "Valid";
    } else {
      StatusCode = kNotValid;
      StatusText = "Not a valid file";
    }
  } catch (const std::exception& error) {
    StatusCode = kFailed;
    StatusText = error.what();
  }
  return StatusCode == kValid;
}

bool TFileValidate::VerifyFile(const std::string& fileName) {
  ResetCrc();
  std::error_code error;
  if (!fs::exists(fileName, error)) {
    StatusCode = kMissing;
    StatusText = "File does not exist";
    return false;
  }
  std::ifstream in(fileName, std::ios::binary);
  if (!in || fs::is_directory(fileName, error)) {
    StatusCode = kFailed;
    StatusText = "Cannot read \"" + fileName + "\": the file cannot be opened.";
    return false;
  }
  return Verify(in);
}

std::string TFileValidate::ChecksumLine(const std::string& text) {
  std::istringstream in(text);
  Feed(ReadLines(in));
  // A last line without its line end would otherwise run into the checksum; line ends are not
  // part of the checksum, so adding one changes nothing else. A carriage return that ends the
  // text was read as the line end already and gets only its line feed.
  const std::string line = text.empty() || text.back() == '\n' ? ""
                           : text.back() == '\r'                ? "\n"
                                                                : shared::kLineEnd;
  return line + std::to_string(Crc) + shared::kLineEnd;
}

void TFileValidate::Sign(std::string& text) {
  ResetCrc();
  text += ChecksumLine(text);
  StatusCode = kValid;
  StatusText = "OK";
}

void TFileValidate::SignFile(const std::string& fileName) {
  ResetCrc();
  std::error_code error;
  if (!fs::exists(fileName, error)) return;
  try {
    std::string text;
    {
      std::ifstream in(fileName, std::ios::binary);
      if (!in || fs::is_directory(fileName, error))
        throw std::runtime_error("Cannot read \"" + fileName + "\": the file cannot be opened.");
      std::ostringstream bytes;
      bytes << in.rdbuf();
      if (in.bad()) throw std::runtime_error("The file could not be read.");
      text = bytes.str();
    }
    // The signed text replaces the file only once it is written whole: an append that fails half
    // way would leave a file whose last line is no checksum.
    shared::WriteFileReplacing(fileName, text + ChecksumLine(text), ".~signing",
                               "Cannot write \"" + fileName + "\": ");
    StatusCode = kValid;
    StatusText = "OK";
  } catch (const std::exception& failure) {
    StatusCode = kFailed;
    StatusText = failure.what();
  }
}

void CreateFileValidate() { shared::TProcessWide<TFileValidate>::Create(); }

void FreeFileValidate() { shared::TProcessWide<TFileValidate>::Free(); }

TFileValidate& FileValidate() { return shared::TProcessWide<TFileValidate>::Get("The file checksum"); }

}  // namespace vesk
