// Test helpers for workbook files: the parts of a small .xlsx workbook around a worksheet's rows,
// zipped in memory.
#pragma once

#include <string>

#include "tests/support/ZipParts.h"

namespace shared::test {

using test_support::MakeZip;
using test_support::TParts;
using test_support::kRelNs;

inline std::string SheetXml(const std::string& data) {
  return "<?xml version=\"1.0\"?><worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
         "<sheetData>" +
         data + "</sheetData></worksheet>";
}

// The parts of a workbook whose first sheet holds the rows; strings: the shared strings part.
inline TParts Workbook(const std::string& sheetData, const std::string& strings = "") {
  TParts parts = test_support::WorkbookParts(SheetXml(sheetData));
  if (!strings.empty()) parts["xl/sharedStrings.xml"] = "<sst>" + strings + "</sst>";
  return parts;
}

inline std::string Row(int r, const std::string& cells) { return "<row r=\"" + std::to_string(r) + "\">" + cells + "</row>"; }

inline std::string Num(const std::string& ref, const std::string& v) { return "<c r=\"" + ref + "\"><v>" + v + "</v></c>"; }

}  // namespace shared::test
