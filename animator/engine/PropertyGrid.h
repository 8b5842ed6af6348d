// TPropertyGrid: a plain table of text cells, addressed (column, row) from 0 like a string grid,
// that the mechanism fills with its properties and the properties frame shows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

class TPropertyGrid {
 public:
  explicit TPropertyGrid(int32_t colCount = 3, int32_t rowCount = 0);

  int32_t ColCount() const { return fColCount; }
  int32_t RowCount() const { return static_cast<int32_t>(fRows.size()); }
  // Cells inside the new bounds keep their text; a negative count is taken as 0.
  void SetColCount(int32_t n);
  void SetRowCount(int32_t n);

  // Empty outside the grid.
  const std::string& Cell(int32_t col, int32_t row) const;
  // A row beyond the last one adds rows up to it; a column outside the grid or a negative row
  // is ignored.
  void SetCell(int32_t col, int32_t row, const std::string& text);
  // Every cell of the row emptied; nothing outside the grid.
  void ClearRow(int32_t row);

 private:
  int32_t fColCount = 0;
  std::vector<std::vector<std::string>> fRows;
};

}  // namespace quillon
