// The property table: bounds, cell access and growth.
#include "animator/engine/PropertyGrid.h"

#include <algorithm>

namespace quillon {

TPropertyGrid::TPropertyGrid(int32_t colCount, int32_t rowCount) {
  SetColCount(colCount);
  SetRowCount(rowCount);
}

void TPropertyGrid::SetColCount(int32_t n) {
  fColCount = std::max(n, 0);
  for (auto& row : fRows) row.resize(static_cast<size_t>(fColCount));
}

void TPropertyGrid::SetRowCount(int32_t n) {
  fRows.resize(static_cast<size_t>(std::max(n, 0)), std::vector<std::string>(static_cast<size_t>(fColCount)));
}

const std::string& TPropertyGrid::Cell(int32_t col, int32_t row) const {
  static const std::string empty;
  if (col < 0 || col >= fColCount || row < 0 || row >= RowCount()) return empty;
  return fRows[static_cast<size_t>(row)][static_cast<size_t>(col)];
}

void TPropertyGrid::SetCell(int32_t col, int32_t row, const std::string& text) {
  if (col < 0 || col >= fColCount || row < 0) return;
  if (row >= RowCount()) SetRowCount(row + 1);
  fRows[static_cast<size_t>(row)][static_cast<size_t>(col)] = text;
}

void TPropertyGrid::ClearRow(int32_t row) {
  if (row < 0 || row >= RowCount()) return;
  for (auto& cell : fRows[static_cast<size_t>(row)]) cell.clear();
}

}  // namespace quillon
