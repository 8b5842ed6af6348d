// TTabLines: records of tab-separated fields in named sections, the keyed CRC-16 line, file,
// clipboard and undo-history transfer, and the process-wide instance.
#include "shared/TabLine.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "shared/FilePath.h"
#include "shared/ProcessWide.h"
#include "shared/RealText.h"
#include "shared/TextLine.h"

namespace shared {

namespace fs = std::filesystem;

namespace {

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           // ASCII folding only: section names are plain words.
           const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}

// Names written on Windows: "C:..." or "\\server\..." (either delimiter). No drive or server
// maps to this file system. Only a letter, a colon and a delimiter make a drive: "a:b.dxf" is a
// file name with a colon in it.
bool HasForeignRoot(const std::string& name) {
  const bool drive = name.size() >= 3 && name[1] == ':' && (name[2] == '/' || name[2] == '\\') &&
                     ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
  return drive || name.rfind("//", 0) == 0 || name.rfind("\\\\", 0) == 0;
}

std::vector<std::string> PartsOf(const fs::path& path) {
  std::vector<std::string> parts;
  for (const auto& part : path.relative_path()) {
    if (!part.empty()) parts.push_back(part.string());
  }
  return parts;
}

}  // namespace

TTabLines::TTabLines() { ResetCrc(); }

void TTabLines::Clear() {
  ClearFields();
  Lines.clear();
  ReadPosition = -1;
  FileName.clear();
  BaseDirectory.clear();
}

void TTabLines::ClearFields() {
  for (int i = 0; i < FieldCount; ++i) Fields[i].clear();
  FieldCount = 0;
}

void TTabLines::SetFileName(const std::string& name) {
  FileName = name;
  BaseDirectory.clear();
  if (name.empty()) return;
  BaseDirectory = DirectoryWithDelimiter(FullNormal(name).parent_path());
}

void TTabLines::AddField(std::string text) {
  if (FieldCount >= kMaxFields) return;
  Fields[FieldCount++] = std::move(text);
}

void TTabLines::AddBool(bool value) { AddField(value ? "1" : "0"); }

void TTabLines::AddInt(int32_t value) { AddField(std::to_string(value)); }

void TTabLines::AddFloat(double value) { AddField(FormatReal(value)); }

// A TAB, CR or LF inside a field would shift every later field of the record, or split it.
void TTabLines::AddString(const std::string& value) { AddField(OneLineField(value)); }

void TTabLines::AddFileName(const std::string& path) {
  const std::string safe = OneLineField(path);
  // A name on another drive is stored unchanged: no relative form leads there.
  if (BaseDirectory.empty() || safe.empty() || HasForeignRoot(safe)) {
    AddField(safe);
    return;
  }
  const std::vector<std::string> base = PartsOf(fs::path(BaseDirectory).lexically_normal());
  const std::vector<std::string> target = PartsOf(FullNormal(safe));
  if (target.empty()) {  // the root itself
    AddField(safe);
    return;
  }
  // Directories are compared exactly: this file system tells letter case apart.
  const size_t targetDirs = target.size() - 1;
  size_t shared = 0;
  while (shared < base.size() && shared < targetDirs && base[shared] == target[shared]) ++shared;
  std::string relative;
  for (size_t i = shared; i < base.size(); ++i) relative += "../";
  for (size_t i = shared; i < target.size(); ++i) {
    relative += target[i];
    if (i + 1 < target.size()) relative += '/';
  }
  // A folder named like a drive ("c:") would read back as that drive.
  if (HasForeignRoot(relative)) relative = "./" + relative;
  AddField(relative);
}

void TTabLines::WriteLine() {
  std::string line;
  for (int i = 0; i < FieldCount; ++i) {
    if (i > 0) line += '\t';
    line += Fields[i];
  }
  Lines.push_back(std::move(line));
}

void TTabLines::BeginSection(const std::string& name) {
  Lines.push_back("[" + name + ">");
  EndMarker = "<" + name + "]";
}

void TTabLines::EndSection() { Lines.push_back(EndMarker); }

bool TTabLines::FindSection(const std::string& name) {
  EndMarker = "<" + name + "]";
  const std::string start = "[" + name + ">";
  for (size_t i = 0; i < Lines.size(); ++i) {
    if (SameTextIgnoringCase(Lines[i], start)) {
      ReadPosition = static_cast<int32_t>(i) + 1;
      return true;
    }
  }
  ReadPosition = 0;
  return false;
}

bool TTabLines::ReadLine() {
  const bool atEnd = ReadPosition < 0 || static_cast<size_t>(ReadPosition) >= Lines.size();
  if (atEnd) {
    CurrentLine.clear();
  } else {
    CurrentLine = Lines[ReadPosition++];
  }
  ClearFields();
  // Empty fields between TABs survive; empty fields at the end of the line are lost; fields
  // beyond the 51st are dropped.
  size_t start = 0;
  while (start < CurrentLine.size() && FieldCount < kMaxFields) {
    const size_t tab = CurrentLine.find('\t', start);
    if (tab == std::string::npos) {
      AddField(CurrentLine.substr(start));
      break;
    }
    AddField(CurrentLine.substr(start, tab - start));
    start = tab + 1;
  }
  return !atEnd && !SameTextIgnoringCase(CurrentLine, EndMarker);
}

std::string TTabLines::TakeField() {
  std::string first = std::move(Fields[0]);
  std::move(Fields.begin() + 1, Fields.begin() + FieldCount, Fields.begin());
  Fields[--FieldCount].clear();
  return first;
}

bool TTabLines::GetBool(bool fallback) { return GetInt(fallback ? 1 : 0) != 0; }

int32_t TTabLines::GetInt(int32_t fallback) {
  if (FieldCount == 0) return fallback;
  const std::string field = TakeField();
  int32_t value = 0;
  if (!ParseInt(field, value) && !field.empty()) ++UnreadNumbers;
  return value;
}

double TTabLines::GetFloat(double fallback) {
  if (FieldCount == 0) return fallback;
  const std::string field = TakeField();
  double value = 0;
  if (!ParseReal(field, value) && !field.empty()) ++UnreadNumbers;
  return value;
}

std::string TTabLines::GetString(const std::string& fallback) {
  if (FieldCount == 0) return fallback;
  return TakeField();
}

std::string TTabLines::GetFileName(const std::string& fallback) {
  if (FieldCount == 0) return fallback;
  std::string name = TakeField();
  if (BaseDirectory.empty() || name.empty()) return name;
  std::replace(name.begin(), name.end(), '\\', '/');
  if (HasForeignRoot(name)) return name;
  const fs::path path(name);
  const fs::path full = path.is_absolute() ? path : fs::path(BaseDirectory) / path;
  return full.lexically_normal().string();
}

void TTabLines::LoadFromFile(const std::string& path) {
  ReadPosition = 0;
  UnreadNumbers = 0;
  Lines.clear();
  std::error_code error;
  if (!fs::exists(path, error)) return;
  if (fs::is_directory(path, error)) {
    throw std::runtime_error("Cannot read \"" + path + "\": it is a folder.");
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("Cannot read \"" + path + "\": the file cannot be opened.");
  LoadFromStream(in);
  if (in.bad()) {
    Lines.clear();
    throw std::runtime_error("Cannot read \"" + path + "\": reading failed.");
  }
  SetFileName(path);
}

void TTabLines::LoadFromStream(std::istream& in) {
  ReadPosition = 0;
  UnreadNumbers = 0;
  Lines.clear();
  std::string line;
  while (ReadTextLine(in, line)) Lines.push_back(line);
}

void TTabLines::SaveToFile() {
  struct ClearOnExit {
    TTabLines& store;
    ~ClearOnExit() { store.Clear(); }
  } clearOnExit{*this};
  if (FileName.empty()) throw std::runtime_error("Cannot save: no file name was given.");
  AppendCrc();
  WriteFileReplacing(FileName, Text(), kSavingSuffix, "Cannot save \"" + FileName + "\": ");
}

std::string TTabLines::Text() const {
  std::string text;
  for (const auto& line : Lines) {
    text += line;
    text += kLineEnd;
  }
  return text;
}

void TTabLines::CopyToClipboard(TClipboard& clipboard) {
  AppendCrc();
  clipboard.SetText(Text());
  Clear();
}

bool TTabLines::LoadFromClipboard(const TClipboard& clipboard) {
  ReadPosition = 0;
  UnreadNumbers = 0;
  Lines.clear();
  if (clipboard.HasText()) Lines = SplitTextLines(clipboard.GetText());
  return !Lines.empty();
}

void TTabLines::PushHistory() {
  std::move_backward(History.begin(), History.end() - 1, History.end());
  AppendCrc();
  History[0] = Lines;
  Clear();
}

bool TTabLines::Undo() {
  ReadPosition = 0;
  UnreadNumbers = 0;
  Lines = std::move(History[0]);
  std::move(History.begin() + 1, History.end(), History.begin());
  History.back().clear();
  return !Lines.empty();
}

void TTabLines::ClearHistory() {
  for (auto& entry : History) entry.clear();
}

void TTabLines::ResetCrc() {
  Crc = CrcSeed * 257u;
  CrcPolynomial = CrcReflected ? 0x8408 : 0x1021;
  StatusText.clear();
  StatusCode = 0;
}

uint16_t TTabLines::ComputeCrc(const std::vector<std::string>& lines) const {
  const uint16_t polynomial = CrcReflected ? 0x8408 : 0x1021;
  uint32_t crc = CrcSeed * 257u;
  const auto feed = [&](const std::string& text) {
    for (const char c : text) {
      const uint32_t byte = static_cast<unsigned char>(c);
      if (CrcReflected) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ polynomial : crc >> 1;
      } else {
        crc ^= byte << 8;
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x8000) ? (crc << 1) ^ polynomial : crc << 1;
      }
      crc &= 0xFFFF;
    }
  };
  feed(Key);
  for (const auto& line : lines) feed(line);
  return static_cast<uint16_t>(crc);
}

void TTabLines::AppendCrc() {
  ResetCrc();
  if (Lines.empty()) return;
  Crc = ComputeCrc(Lines);
  Lines.push_back(std::to_string(Crc));
  StatusCode = 0;
  StatusText = "OK";
}

void CreateTabLines() { TProcessWide<TTabLines>::Create(); }

void FreeTabLines() { TProcessWide<TTabLines>::Free(); }

TTabLines& TabLines() { return TProcessWide<TTabLines>::Get("The tab-line store"); }

}  // namespace shared
