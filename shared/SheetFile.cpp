// Worksheet 1 of a workbook file: .xlsx through libzip and the expat stream reader, .xls through
// freexl (in a child process of its own), each bounded in what it unpacks and holds.
#include "shared/SheetFile.h"

#include <expat.h>
#include <freexl.h>
#include <zip.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>
#include <vector>

namespace shared {

namespace fs = std::filesystem;

namespace {

const TSheetCell kEmptyCell;

uint64_t Key(int32_t row, int32_t column) { return (uint64_t(uint32_t(row)) << 32) | uint32_t(column); }

std::string FileTitle(const std::string& path) {
  const std::string title = fs::path(path).filename().string();
  return title.empty() ? path : title;
}

[[noreturn]] void Fail(const std::string& name, const std::string& why) {
  throw ESheetFileError("\"" + name + "\" " + why);
}

// "B7" -> row 7, column 2; false for anything that is no reference within the sheet's bounds.
bool ParseCellName(std::string_view text, int32_t& row, int32_t& column) {
  size_t i = 0;
  int64_t c = 0, r = 0;
  // ASCII only, whatever the locale says a letter is.
  const auto letter = [](char ch) { return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z'); };
  while (i < text.size() && i < 4 && letter(text[i])) {
    c = c * 26 + ((text[i] & ~0x20) - 'A' + 1);
    ++i;
  }
  const size_t letters = i;
  while (i < text.size() && i - letters < 8 && text[i] >= '0' && text[i] <= '9') {
    r = r * 10 + (text[i] - '0');
    ++i;
  }
  if (letters == 0 || i == letters || i != text.size()) return false;
  if (c > TSheetFile::kMaxColumn || r < 1 || r > TSheetFile::kMaxRow) return false;
  row = int32_t(r);
  column = int32_t(c);
  return true;
}

// The expat stream reader under a small interface: element starts and ends by local name (the
// namespace dropped), character data, and a fault raised from a handler stops the parse.
class TXmlReader {
 public:
  TXmlReader() : fParser(XML_ParserCreateNS(nullptr, '|')) {
    if (!fParser) throw std::bad_alloc();
    XML_SetUserData(fParser, this);
    XML_SetElementHandler(fParser, &OnStart, &OnEnd);
    XML_SetCharacterDataHandler(fParser, &OnText);
    // Workbook parts carry no document type; one could only be there to expand entities.
    XML_SetStartDoctypeDeclHandler(fParser, &OnDoctype);
  }
  virtual ~TXmlReader() { XML_ParserFree(fParser); }
  TXmlReader(const TXmlReader&) = delete;
  TXmlReader& operator=(const TXmlReader&) = delete;

  // Feeds a chunk; the last call has last set. An empty result means success.
  std::string Feed(const char* data, size_t size, bool last) {
    if (XML_Parse(fParser, data, int(size), last) == XML_STATUS_OK) return "";
    if (!fFault.empty()) return fFault;
    return "holds broken XML (" + std::string(XML_ErrorString(XML_GetErrorCode(fParser))) + " at line " +
           std::to_string(XML_GetCurrentLineNumber(fParser)) + ")";
  }

 protected:
  virtual void Start(std::string_view name, const char** attributes) = 0;
  virtual void End(std::string_view name) = 0;
  virtual void Text(std::string_view) {}
  // Stops the parse with the reason given.
  void Stop(const std::string& why) {
    if (fFault.empty()) fFault = why;
    XML_StopParser(fParser, XML_FALSE);
  }
  bool Stopped() const { return !fFault.empty(); }
  static std::string_view Local(const char* name) {
    const char* bar = std::strrchr(name, '|');
    return bar ? std::string_view(bar + 1) : std::string_view(name);
  }
  static const char* Attribute(const char** attributes, std::string_view name) {
    for (int i = 0; attributes[i]; i += 2)
      if (Local(attributes[i]) == name) return attributes[i + 1];
    return nullptr;
  }

 private:
  // Expat is C: nothing may be thrown through it, so a handler's failure becomes a stop.
  template <class F>
  static void Guard(void* data, F&& f) {
    auto* self = static_cast<TXmlReader*>(data);
    if (self->Stopped()) return;
    try {
      f(*self);
    } catch (const std::bad_alloc&) {
      self->Stop("is too large to read");
    } catch (const std::exception& error) {
      self->Stop(error.what());
    }
  }
  static void XMLCALL OnStart(void* data, const char* name, const char** attributes) {
    Guard(data, [&](TXmlReader& self) { self.Start(Local(name), attributes); });
  }
  static void XMLCALL OnEnd(void* data, const char* name) {
    Guard(data, [&](TXmlReader& self) { self.End(Local(name)); });
  }
  static void XMLCALL OnText(void* data, const char* text, int size) {
    Guard(data, [&](TXmlReader& self) { self.Text(std::string_view(text, size_t(size))); });
  }
  static void XMLCALL OnDoctype(void* data, const char*, const char*, const char*, int) {
    static_cast<TXmlReader*>(data)->Stop("holds a document type declaration");
  }

  XML_Parser fParser;
  std::string fFault;
};

struct TRelationship {
  std::string Id, Type, Target;
};

class TRelationshipsReader : public TXmlReader {
 public:
  std::vector<TRelationship> Items;

 protected:
  void Start(std::string_view name, const char** attributes) override {
    if (name != "Relationship") return;
    if (Items.size() >= 100000) return Stop("holds too many relationships");
    const char* id = Attribute(attributes, "Id");
    const char* type = Attribute(attributes, "Type");
    const char* target = Attribute(attributes, "Target");
    const char* mode = Attribute(attributes, "TargetMode");
    if (!id || !type || !target || (mode && std::string_view(mode) == "External")) return;
    Items.push_back({id, type, target});
  }
  void End(std::string_view) override {}
};

class TWorkbookReader : public TXmlReader {
 public:
  // The relationship ids of the sheets in tab order.
  std::vector<std::string> Sheets;

 protected:
  void Start(std::string_view name, const char** attributes) override {
    if (name != "sheet") return;
    if (Sheets.size() >= 100000) return Stop("holds too many sheets");
    const char* id = Attribute(attributes, "id");
    Sheets.push_back(id ? id : "");
  }
  void End(std::string_view) override {}
};

// The text of <t> elements inside <si> (shared strings) or <is> (inline strings), without the
// phonetic runs (<rPh>) that only annotate it.
class TStringCollector {
 public:
  void Start(std::string_view name) {
    if (name == "rPh") ++fPhonetic;
    if (name == "t" && fPhonetic == 0) fInText = true;
  }
  void End(std::string_view name) {
    if (name == "rPh" && fPhonetic > 0) --fPhonetic;
    if (name == "t") fInText = false;
  }
  void Text(std::string_view text, std::string& into, size_t limit) {
    if (!fInText) return;
    if (into.size() + text.size() > limit) throw ESheetFileError("holds a string too long to read");
    into.append(text);
  }

 private:
  int fPhonetic = 0;
  bool fInText = false;
};

class TSharedStringsReader : public TXmlReader {
 public:
  std::vector<std::string> Strings;

 protected:
  void Start(std::string_view name, const char**) override {
    if (name == "si") {
      if (Strings.size() >= TSheetFile::kMaxSharedStrings) return Stop("holds too many shared strings");
      Strings.emplace_back();
      fInItem = true;
    } else if (fInItem) {
      fCollect.Start(name);
    }
  }
  void End(std::string_view name) override {
    if (name == "si")
      fInItem = false;
    else if (fInItem)
      fCollect.End(name);
  }
  void Text(std::string_view text) override {
    if (fInItem) fCollect.Text(text, Strings.back(), TSheetFile::kMaxPartBytes);
  }

 private:
  bool fInItem = false;
  TStringCollector fCollect;
};

// The cells of one worksheet part. Rows reach the sheet whole at their end tag, so a fault
// leaves only the rows read before it.
class TWorksheetReader : public TXmlReader {
 public:
  TWorksheetReader(TSheetFile& sheet, const std::vector<std::string>& strings) : fSheet(sheet), fStrings(strings) {}

 protected:
  void Start(std::string_view name, const char** attributes) override {
    if (name == "sheetData") {
      fInData = true;
    } else if (!fInData) {
      return;
    } else if (name == "row") {
      Commit();
      const char* r = Attribute(attributes, "r");
      int64_t row = fRow + 1;
      if (r) {
        double value = 0;
        if (!ParseSheetNumber(r, value)) return Stop("has a bad row number");
        // Checked before the conversion, which a number beyond the integers would make undefined.
        if (!(value >= 1 && value <= TSheetFile::kMaxRow)) return Stop("has a row beyond the sheet's limits");
        if (value != double(int64_t(value))) return Stop("has a bad row number");
        row = int64_t(value);
      }
      if (row > TSheetFile::kMaxRow) return Stop("has a row beyond the sheet's limits");
      fRow = int32_t(row);
      fColumn = 0;
    } else if (name == "c") {
      const char* r = Attribute(attributes, "r");
      int32_t row = fRow < 1 ? 1 : fRow, column = fColumn + 1;
      if (r && !ParseCellName(r, row, column))
        return Stop("has a cell reference beyond the sheet's limits (" + std::string(r).substr(0, 20) + ")");
      if (column > TSheetFile::kMaxColumn) return Stop("has a cell beyond the sheet's limits");
      fCellRow = row;
      fColumn = fCellColumn = column;
      const char* t = Attribute(attributes, "t");
      fType = t ? t : "n";
      fValue.clear();
      fInline.clear();
      fHasValue = false;
      fInCell = true;
    } else if (fInCell && name == "v") {
      fInValue = true;
      fHasValue = true;
    } else if (fInCell && name == "is") {
      fInInline = true;
    } else if (fInInline) {
      fCollect.Start(name);
    }
  }

  void End(std::string_view name) override {
    if (!fInData) return;
    if (name == "sheetData") {
      Commit();
      fInData = false;
    } else if (name == "row") {
      Commit();
    } else if (name == "c" && fInCell) {
      fInCell = false;
      AddCell();
    } else if (name == "v") {
      fInValue = false;
    } else if (name == "is") {
      fInInline = false;
    } else if (fInInline) {
      fCollect.End(name);
    }
  }

  void Text(std::string_view text) override {
    if (fInValue) {
      if (fValue.size() + text.size() > TSheetFile::kMaxPartBytes) return Stop("holds a value too long to read");
      fValue.append(text);
    } else if (fInInline) {
      fCollect.Text(text, fInline, TSheetFile::kMaxPartBytes);
    }
  }

 private:
  void AddCell() {
    TSheetCell cell;
    if (fType == "inlineStr") {
      cell.Kind = ESheetCellKind::Text;
      cell.Text = fInline;
    } else if (!fHasValue) {
      return;
    } else if (fType == "s") {
      double index = -1;
      if (!ParseSheetNumber(fValue, index) || index < 0 || index >= double(fStrings.size()) ||
          index != double(int64_t(index)))
        return Stop("names a shared string it does not hold (cell " + SheetCellName(fCellRow, fCellColumn) + ")");
      cell.Kind = ESheetCellKind::Text;
      cell.Text = fStrings[size_t(index)];
    } else if (fType == "b") {
      cell.Kind = ESheetCellKind::Boolean;
      cell.Number = fValue == "1" || fValue == "true" ? 1 : 0;
    } else if (fType == "e") {
      cell.Kind = ESheetCellKind::Error;
      cell.Text = fValue;
    } else if (fType == "str" || fType == "d") {
      cell.Kind = ESheetCellKind::Text;
      cell.Text = fValue;
    } else {
      if (!ParseSheetNumber(fValue, cell.Number))
        return Stop("holds a number cell that is no number (cell " + SheetCellName(fCellRow, fCellColumn) + ")");
      cell.Kind = ESheetCellKind::Number;
    }
    if (fPending.size() + fSheet.CellCount() >= TSheetFile::kMaxCells) return Stop("holds too many cells");
    fPending.push_back({fCellRow, fCellColumn, std::move(cell)});
  }

  void Commit() {
    for (auto& [row, column, cell] : fPending) fSheet.SetCell(row, column, std::move(cell));
    fPending.clear();
  }

  struct TPending {
    int32_t Row, Column;
    TSheetCell Cell;
  };
  TSheetFile& fSheet;
  const std::vector<std::string>& fStrings;
  std::vector<TPending> fPending;
  bool fInData = false, fInCell = false, fInValue = false, fInInline = false, fHasValue = false;
  int32_t fRow = 0, fColumn = 0, fCellRow = 0, fCellColumn = 0;
  std::string fType, fValue, fInline;
  TStringCollector fCollect;
};

// The zip container of an .xlsx workbook, read from memory.
class TZip {
 public:
  TZip(std::string_view bytes, const std::string& name) : fName(name) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (source) fZip = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (!fZip) {
      const std::string why = zip_error_strerror(&error);
      zip_error_fini(&error);
      if (source) zip_source_free(source);
      Fail(name, "is damaged or no Excel workbook (" + why + ").");
    }
    zip_error_fini(&error);
  }
  ~TZip() { zip_discard(fZip); }
  TZip(const TZip&) = delete;
  TZip& operator=(const TZip&) = delete;

  bool Has(const std::string& part) const { return zip_name_locate(fZip, part.c_str(), ZIP_FL_NOCASE) >= 0; }

  // Streams the part through the reader, at most kMaxPartBytes unpacked.
  void Read(const std::string& part, TXmlReader& reader) const {
    const zip_int64_t index = zip_name_locate(fZip, part.c_str(), ZIP_FL_NOCASE);
    if (index < 0) Fail(fName, "is damaged: its part " + part + " is missing.");
    std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> file(zip_fopen_index(fZip, zip_uint64_t(index), 0), &zip_fclose);
    if (!file) Fail(fName, "is damaged: its part " + part + " cannot be opened (" + zip_strerror(fZip) + ").");
    std::vector<char> buffer(64 * 1024);
    size_t total = 0;
    for (;;) {
      const zip_int64_t n = zip_fread(file.get(), buffer.data(), buffer.size());
      if (n < 0)
        Fail(fName, "is damaged: its part " + part + " cannot be read (" + zip_file_strerror(file.get()) + ").");
      total += size_t(n);
      if (total > TSheetFile::kMaxPartBytes) Fail(fName, "is too large: its part " + part + " unpacks to over 64 MB.");
      const std::string fault = reader.Feed(buffer.data(), size_t(n), n == 0);
      if (!fault.empty()) Fail(fName, "is damaged: its part " + part + " " + fault + ".");
      if (n == 0) return;
    }
  }

 private:
  std::string fName;
  zip_t* fZip = nullptr;
};

// The folder of a part, "" at the root: "xl/workbook.xml" -> "xl/".
std::string FolderOfPart(const std::string& part) {
  const size_t slash = part.rfind('/');
  return slash == std::string::npos ? "" : part.substr(0, slash + 1);
}

// A relationship's target as a part name: absolute ("/xl/a.xml") or relative to the source's
// folder, with "." and ".." resolved.
std::string ResolveTarget(const std::string& folder, const std::string& target) {
  const std::string joined = !target.empty() && target[0] == '/' ? target.substr(1) : folder + target;
  std::vector<std::string> segments;
  size_t start = 0;
  while (start <= joined.size()) {
    size_t end = joined.find('/', start);
    if (end == std::string::npos) end = joined.size();
    const std::string segment = joined.substr(start, end - start);
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    start = end + 1;
  }
  std::string part;
  for (const std::string& segment : segments) part += (part.empty() ? "" : "/") + segment;
  return part;
}

bool EndsWith(const std::string& text, std::string_view tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The relationships of a part, none when it has no relationship part.
std::vector<TRelationship> RelationshipsOf(const TZip& zip, const std::string& part) {
  const std::string folder = FolderOfPart(part);
  const std::string rels = folder + "_rels/" + part.substr(folder.size()) + ".rels";
  if (!zip.Has(rels)) return {};
  TRelationshipsReader reader;
  zip.Read(rels, reader);
  return std::move(reader.Items);
}

// What the .xls child sends at most: cells of long shared texts could grow without end.
constexpr size_t kMaxXlsTransfer = size_t(256) << 20;

// The records from the .xls child: 'C' column, kind, number, text (a cell of the row to come),
// 'R' row (the cells so far make that row), 'E' text (the fault), 'D' (done).
class TXlsRecords {
 public:
  explicit TXlsRecords(std::string_view data) : fData(data) {}
  bool AtEnd() const { return fAt >= fData.size(); }
  char Tag() { return fData[fAt++]; }
  template <class T>
  bool Get(T& value) {
    if (fData.size() - fAt < sizeof value) return false;
    std::memcpy(&value, fData.data() + fAt, sizeof value);
    fAt += sizeof value;
    return true;
  }
  bool GetText(std::string& text) {
    uint32_t size = 0;
    if (!Get(size) || fData.size() - fAt < size) return false;
    text.assign(fData.data() + fAt, size);
    fAt += size;
    return true;
  }

 private:
  std::string_view fData;
  size_t fAt = 0;
};

class TXlsWriter {
 public:
  explicit TXlsWriter(int fd) : fFd(fd) {}
  template <class T>
  void Put(const T& value) {
    fBuffer.append(reinterpret_cast<const char*>(&value), sizeof value);
  }
  void PutText(std::string_view text) {
    Put(uint32_t(text.size()));
    fBuffer.append(text);
  }
  void Flush() {
    size_t at = 0;
    while (at < fBuffer.size()) {
      const ssize_t n = ::write(fFd, fBuffer.data() + at, fBuffer.size() - at);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) ::_exit(3);
      at += size_t(n);
    }
    fBuffer.clear();
  }
  std::string& Buffer() { return fBuffer; }

 private:
  int fFd;
  std::string fBuffer;
};

// The child's part: worksheet 1 through freexl, row by row down the pipe; never returns.
[[noreturn]] void ReadXlsInChild(const std::string& path, int fd) {
  // A file that keeps the library busy for ever is given up.
  ::alarm(60);
  TXlsWriter out(fd);
  const auto fail = [&](const std::string& why) {
    out.Put('E');
    out.PutText(why);
    out.Flush();
    ::_exit(0);
  };
  try {
    const void* handle = nullptr;
    const int opened = freexl_open(path.c_str(), &handle);
    if (opened != FREEXL_OK) {
      if (opened == FREEXL_INSUFFICIENT_MEMORY) fail("is too large to read.");
      fail("is damaged or no Excel workbook (error " + std::to_string(opened) + ").");
    }
    unsigned int value = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_PASSWORD, &value) == FREEXL_OK && value != FREEXL_BIFF_PLAIN)
      fail("is protected by a password.");
    if (freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &value) != FREEXL_OK || value == 0)
      fail("has no worksheet.");
    if (freexl_select_active_worksheet(handle, 0) != FREEXL_OK) fail("is damaged: its worksheet 1 cannot be read.");
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_worksheet_dimensions(handle, &rows, &columns) != FREEXL_OK)
      fail("is damaged: its worksheet 1 cannot be read.");
    rows = std::min<unsigned int>(rows, TSheetFile::kMaxRow);
    for (unsigned int row = 0; row < rows; ++row) {
      bool any = false;
      for (unsigned short column = 0; column < columns && column < TSheetFile::kMaxColumn; ++column) {
        FreeXL_CellValue cell{};
        if (freexl_get_cell_value(handle, row, column, &cell) != FREEXL_OK)
          fail("is damaged: cell " + SheetCellName(int32_t(row + 1), column + 1) + " cannot be read.");
        ESheetCellKind kind = ESheetCellKind::Text;
        double number = 0;
        std::string_view text;
        switch (cell.type) {
          case FREEXL_CELL_INT:
            kind = ESheetCellKind::Number;
            number = cell.value.int_value;
            break;
          case FREEXL_CELL_DOUBLE:
            kind = ESheetCellKind::Number;
            number = cell.value.double_value;
            break;
          case FREEXL_CELL_TEXT:
          case FREEXL_CELL_SST_TEXT:
          case FREEXL_CELL_DATE:
          case FREEXL_CELL_DATETIME:
          case FREEXL_CELL_TIME:
            text = cell.value.text_value ? std::string_view(cell.value.text_value) : std::string_view();
            break;
          default:
            continue;
        }
        out.Put('C');
        out.Put(int32_t(column + 1));
        out.Put(uint8_t(kind));
        out.Put(number);
        out.PutText(text);
        any = true;
        if (out.Buffer().size() > (size_t(1) << 20)) out.Flush();
      }
      if (any) {
        out.Put('R');
        out.Put(int32_t(row + 1));
      }
    }
    out.Put('D');
    out.Flush();
  } catch (...) {
    ::_exit(2);
  }
  ::_exit(0);
}

}  // namespace

bool ParseSheetNumber(std::string_view text, double& value) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

std::string SheetCellName(int32_t row, int32_t column) {
  std::string letters;
  for (int64_t c = column; c > 0; c = (c - 1) / 26) letters.insert(letters.begin(), char('A' + (c - 1) % 26));
  return letters + std::to_string(row);
}

std::string NumberListText(const std::vector<int32_t>& numbers) {
  std::vector<std::string> items;
  for (size_t k = 0; k < numbers.size();) {
    size_t end = k;
    while (end + 1 < numbers.size() && numbers[end + 1] == numbers[end] + 1) ++end;
    if (end - k >= 2) {
      items.push_back(std::to_string(numbers[k]) + "-" + std::to_string(numbers[end]));
    } else {
      for (size_t j = k; j <= end; ++j) items.push_back(std::to_string(numbers[j]));
    }
    k = end + 1;
  }
  std::string list;
  for (size_t k = 0; k < items.size(); ++k) list += (k == 0 ? "" : k + 1 == items.size() ? " and " : ", ") + items[k];
  return list;
}

std::vector<int32_t> TSheetFile::FilledRows(int32_t first, int32_t lastColumn) const {
  std::vector<int32_t> rows;
  for (auto it = FCells.lower_bound(Key(std::max(first, 1), 0)); it != FCells.end(); ++it) {
    const int32_t row = int32_t(it->first >> 32), column = int32_t(uint32_t(it->first));
    const TSheetCell& cell = it->second;
    const bool holds = cell.Kind != ESheetCellKind::Empty &&
                       (cell.Kind != ESheetCellKind::Text || cell.Text.find_first_not_of(" \t") != std::string::npos);
    if (column <= lastColumn && holds && (rows.empty() || rows.back() != row)) rows.push_back(row);
  }
  return rows;
}

const TSheetCell& TSheetFile::Cell(int32_t row, int32_t column) const {
  const auto found = FCells.find(Key(row, column));
  return found == FCells.end() ? kEmptyCell : found->second;
}

void TSheetFile::SetCell(int32_t row, int32_t column, TSheetCell cell) {
  if (row < 1 || row > kMaxRow || column < 1 || column > kMaxColumn)
    throw ESheetFileError("Cell " + std::to_string(row) + ", " + std::to_string(column) + " lies beyond the sheet's limits.");
  auto found = FCells.find(Key(row, column));
  if (found != FCells.end()) {
    found->second = std::move(cell);
    return;
  }
  if (FCells.size() >= kMaxCells) throw ESheetFileError("The sheet holds too many cells.");
  FCells.emplace(Key(row, column), std::move(cell));
}

void TSheetFile::LoadFromFile(const std::string& path) {
  Clear();
  const std::string name = FileTitle(path);
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (!fs::exists(status)) Fail(name, "does not exist.");
  // A device or a pipe might never end.
  if (!fs::is_regular_file(status)) Fail(name, "is no file.");
  const uintmax_t size = fs::file_size(path, error);
  if (error) Fail(name, "cannot be read (" + error.message() + ").");
  if (size > kMaxFileBytes) Fail(name, "is too large (over 256 MB).");
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail(name, "cannot be opened.");
  std::string bytes(size_t(size), '\0');
  in.read(bytes.data(), std::streamsize(bytes.size()));
  if (size_t(in.gcount()) != bytes.size()) Fail(name, "cannot be read.");
  static constexpr char kZip[] = {'P', 'K', 3, 4};
  static constexpr unsigned char kCompound[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  if (bytes.size() >= 4 && std::memcmp(bytes.data(), kZip, 4) == 0) return LoadXlsx(bytes, name);
  if (bytes.size() >= 8 && std::memcmp(bytes.data(), kCompound, 8) == 0) return LoadXls(path, name);
  Fail(name, "is no Excel workbook.");
}

void TSheetFile::LoadXlsx(std::string_view bytes, const std::string& name) {
  Clear();
  const TZip zip(bytes, name);
  std::string workbook;
  for (const TRelationship& item : RelationshipsOf(zip, ""))
    if (EndsWith(item.Type, "/officeDocument")) {
      workbook = ResolveTarget("", item.Target);
      break;
    }
  if (workbook.empty()) workbook = "xl/workbook.xml";
  if (!zip.Has(workbook)) Fail(name, "is no Excel workbook: it has no workbook part.");
  TWorkbookReader sheets;
  zip.Read(workbook, sheets);
  const std::vector<TRelationship> related = RelationshipsOf(zip, workbook);
  const std::string folder = FolderOfPart(workbook);
  std::string worksheet, strings;
  for (const TRelationship& item : related)
    if (EndsWith(item.Type, "/sharedStrings")) strings = ResolveTarget(folder, item.Target);
  // Worksheet 1 is the first sheet that is a worksheet; chart sheets do not count.
  for (const std::string& id : sheets.Sheets) {
    const auto found =
        std::find_if(related.begin(), related.end(), [&](const TRelationship& item) { return item.Id == id; });
    if (found == related.end()) Fail(name, "is damaged: a sheet has no part.");
    if (EndsWith(found->Type, "/worksheet")) {
      worksheet = ResolveTarget(folder, found->Target);
      break;
    }
  }
  if (worksheet.empty()) Fail(name, "has no worksheet.");
  TSharedStringsReader shared;
  if (!strings.empty() && zip.Has(strings)) zip.Read(strings, shared);
  TWorksheetReader cells(*this, shared.Strings);
  zip.Read(worksheet, cells);
}

void TSheetFile::LoadXls(const std::string& path, const std::string& name) {
  // freexl reads past its buffers on some damaged files, so it runs in a child process of its
  // own: whatever it does there, this program gets rows or a fault.
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) Fail(name, "cannot be read (no pipe).");
  const pid_t child = ::fork();
  if (child < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    Fail(name, "cannot be read (no process).");
  }
  if (child == 0) {
    ::close(fds[0]);
    ReadXlsInChild(path, fds[1]);
  }
  ::close(fds[1]);
  std::string data;
  bool tooLarge = false;
  char chunk[65536];
  for (;;) {
    const ssize_t n = ::read(fds[0], chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    data.append(chunk, size_t(n));
    if (data.size() > kMaxXlsTransfer) {
      tooLarge = true;
      ::kill(child, SIGKILL);
      break;
    }
  }
  ::close(fds[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  TXlsRecords records(data);
  std::string fault;
  bool done = false;
  std::vector<std::pair<int32_t, TSheetCell>> line;
  while (!done && fault.empty() && !records.AtEnd()) {
    const char tag = records.Tag();
    if (tag == 'C') {
      int32_t column = 0;
      uint8_t kind = 0;
      TSheetCell cell;
      if (!records.Get(column) || !records.Get(kind) || !records.Get(cell.Number) || !records.GetText(cell.Text) ||
          kind > uint8_t(ESheetCellKind::Error))
        break;
      cell.Kind = ESheetCellKind(kind);
      line.emplace_back(column, std::move(cell));
    } else if (tag == 'R') {
      int32_t row = 0;
      if (!records.Get(row)) break;
      if (CellCount() + line.size() > kMaxCells) Fail(name, "holds too many cells.");
      for (auto& [column, cell] : line) SetCell(row, column, std::move(cell));
      line.clear();
    } else if (tag == 'E') {
      if (!records.GetText(fault) || fault.empty()) fault = "cannot be read.";
    } else if (tag == 'D') {
      done = true;
    } else {
      break;
    }
  }
  if (tooLarge) Fail(name, "is too large to read.");
  if (!fault.empty()) Fail(name, fault);
  if (!done || !WIFEXITED(status) || WEXITSTATUS(status) != 0) Fail(name, "is damaged: its worksheet 1 cannot be read.");
}

}  // namespace shared
