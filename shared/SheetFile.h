// The cells of worksheet 1 of a workbook file, read directly from the file: .xlsx (zip parts of
// XML) and .xls (BIFF). No spreadsheet program is started.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace shared {

// A workbook that cannot be read: the text says which file and why.
class ESheetFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class ESheetCellKind { Empty, Number, Text, Boolean, Error };

struct TSheetCell {
  ESheetCellKind Kind = ESheetCellKind::Empty;
  // Number and Boolean (1 or 0).
  double Number = 0;
  // Text (UTF-8), and the code of an error value such as "#DIV/0!".
  std::string Text;
};

class TSheetFile {
 public:
  // Bounds on what a file may make the reader hold or unpack: outside input may be any size.
  static constexpr int32_t kMaxRow = 1048576;
  static constexpr int32_t kMaxColumn = 16384;
  static constexpr std::size_t kMaxFileBytes = std::size_t(256) << 20;
  static constexpr std::size_t kMaxPartBytes = std::size_t(64) << 20;
  static constexpr std::size_t kMaxCells = std::size_t(1) << 20;
  static constexpr std::size_t kMaxSharedStrings = std::size_t(1) << 20;

  // Worksheet 1 of the file, told by its content (zip: .xlsx, compound file: .xls). On failure
  // ESheetFileError: the cells of the rows read before the fault stay.
  void LoadFromFile(const std::string& path);
  // Worksheet 1 of .xlsx bytes; name is the file named in messages.
  void LoadXlsx(std::string_view bytes, const std::string& name = "workbook");

  // Rows and columns count from 1; a cell never written reads Empty.
  const TSheetCell& Cell(int32_t row, int32_t column) const;
  std::size_t CellCount() const { return FCells.size(); }
  // The rows from `first` on with a cell in columns 1..lastColumn that holds something (text of
  // blanks holds nothing), lowest first.
  std::vector<int32_t> FilledRows(int32_t first, int32_t lastColumn) const;
  void Clear() { FCells.clear(); }

  // Sets a cell; ESheetFileError past the bounds above.
  void SetCell(int32_t row, int32_t column, TSheetCell cell);

 private:
  void LoadXls(const std::string& path, const std::string& name);
  std::map<uint64_t, TSheetCell> FCells;
};

// "B7" for row 7, column 2.
std::string SheetCellName(int32_t row, int32_t column);

// Numbers in ascending order (rows, areas) as a message names them: "3, 5-9 and 12" (three or
// more in a run as a range).
std::string NumberListText(const std::vector<int32_t>& numbers);

// A number in decimal notation with "." as cells hold it, blanks around and a leading "+"
// allowed, in any locale; false for anything else.
bool ParseSheetNumber(std::string_view text, double& value);

}  // namespace shared
