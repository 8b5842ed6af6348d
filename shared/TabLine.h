// TTabLines: the tab-separated section store that holds mechanism documents, clipboard text and
// the five-step undo history, closed by a keyed CRC-16 line.
#pragma once

#include <array>
#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "shared/Clipboard.h"

namespace shared {

class TTabLines {
 public:
  static constexpr int kMaxFields = 51;
  static constexpr int kHistoryDepth = 5;

  TTabLines();

  std::string Key = "quintabole";
  int32_t FieldCount = 0;
  std::array<std::string, kMaxFields> Fields;
  std::string CurrentLine;
  std::string EndMarker;
  std::vector<std::string> Lines;
  int32_t ReadPosition = -1;
  std::array<std::vector<std::string>, kHistoryDepth> History;
  uint32_t Crc = 0;
  uint8_t CrcSeed = 0;
  uint16_t CrcPolynomial = 0x1021;
  bool CrcReflected = false;
  int32_t StatusCode = 0;
  std::string StatusText;
  std::string BaseDirectory;
  std::string FileName;
  // Fields that held text but no number when a Get asked for one (each read as 0 then); set to
  // 0 by every load, so a reader can tell the user how much of a document it could not read.
  int32_t UnreadNumbers = 0;

  void Clear();
  void ClearFields();
  // BaseDirectory := the full, normalised directory of name with a trailing "/"; empty for "".
  void SetFileName(const std::string& name);

  void AddBool(bool value);
  void AddInt(int32_t value);
  void AddFloat(double value);
  // TAB, CR and LF would split the record on reading: they become blanks.
  void AddString(const std::string& value);
  // Relative to BaseDirectory when one is set ("/" between parts, ".." per base part left over).
  void AddFileName(const std::string& path);
  void WriteLine();
  void BeginSection(const std::string& name);
  void EndSection();

  bool FindSection(const std::string& name);
  bool ReadLine();
  bool GetBool(bool fallback);
  int32_t GetInt(int32_t fallback);
  double GetFloat(double fallback);
  std::string GetString(const std::string& fallback);
  // With a BaseDirectory a relative name ("/" or "\" between parts) is joined to it; the result
  // is a normalised full path. An empty field stays empty.
  std::string GetFileName(const std::string& fallback);

  // A missing file leaves Lines empty and FileName unchanged; a folder or a read error raises
  // std::runtime_error naming the file. The checksum line is not verified and stays in Lines.
  void LoadFromFile(const std::string& path);
  // Lines := the stream's lines (CR LF or LF), ReadPosition 0; FileName is not touched.
  void LoadFromStream(std::istream& in);
  // Appends the checksum, writes Lines to FileName, then clears (also when the write fails, so
  // a retry never carries two checksum lines). The text replaces the target only when complete
  // and on disk, so a failed save keeps the previous file and leaves nothing beside it (see
  // TReplacingFile; kSavingSuffix names the file where it must have a name while written).
  // Raises std::runtime_error naming the file.
  static constexpr const char* kSavingSuffix = ".~saving";
  void SaveToFile();
  // The whole text, CR LF after every line, as a save would write it (without appending a checksum).
  std::string Text() const;

  void CopyToClipboard(TClipboard& clipboard);
  bool LoadFromClipboard(const TClipboard& clipboard);

  void PushHistory();
  bool Undo();
  void ClearHistory();

  void AppendCrc();
  // The keyed CRC-16 of Key and the given lines (no line ends), as AppendCrc computes it.
  uint16_t ComputeCrc(const std::vector<std::string>& lines) const;

 private:
  void ResetCrc();
  void AddField(std::string text);
  std::string TakeField();
};

// The process-wide instance: created at start-up by each program (and by host programs and
// tests that use it), freed at exit. TabLines() raises std::logic_error when none exists.
void CreateTabLines();
void FreeTabLines();
TTabLines& TabLines();

}  // namespace shared
