// TFileValidate: signs the synthesis program's project files with a keyed CRC-16 line and
// checks that line when a file is opened.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace vesk {

class TFileValidate {
 public:
  // Result codes of the last operation.
  static constexpr int32_t kValid = 0;
  static constexpr int32_t kNotValid = 1;      // the last line is a number but not the checksum
  static constexpr int32_t kMissing = 2;       // no such file (verify only)
  static constexpr int32_t kFailed = 3;        // read, write or number conversion failed

  TFileValidate();

  uint32_t Crc = 0;
  uint8_t CrcSeed = 0;
  uint16_t CrcPolynomial = 0x1021;
  bool CrcReflected = false;
  std::string StatusText;
  int32_t StatusCode = 0;
  // The project reader and writer set the tab-line store's key before every use.
  std::string Key = "Lanterns";

  // True when the last line is the checksum of Key and every line before it ("Valid").
  bool VerifyFile(const std::string& fileName);
  // The same on a stream: every line but the last is fed, the last is the stored number.
  bool Verify(std::istream& in);
  // Appends the checksum line to an existing file ("OK"), replacing the file only once the signed
  // one is whole; a missing file is left alone.
  void SignFile(const std::string& fileName);
  // The same on text in memory: text then holds what SignFile would leave in a file of it.
  void Sign(std::string& text);

 private:
  void ResetCrc();
  // Crc := the tab-line store's keyed CRC-16 of Key and the lines.
  void Feed(const std::vector<std::string>& lines);
  // What signing appends to the text: a line end when its last line has none, then Crc.
  std::string ChecksumLine(const std::string& text);
};

// The process-wide instance, created first at start-up and freed at exit. FileValidate() raises
// std::logic_error when none exists.
void CreateFileValidate();
void FreeFileValidate();
TFileValidate& FileValidate();

}  // namespace vesk
