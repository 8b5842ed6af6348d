// libFuzzer target of the workbook reader and the curve import over its cells. The first byte
// picks what the rest is: 0 a whole .xlsx, 1 a whole .xls (through a temporary file, as freexl
// reads only files), 2 the XML of worksheet 1 and 3 the shared strings, each packed into an
// otherwise sound .xlsx so the XML reaches the parser unmangled. ESheetFileError is expected;
// anything else is a finding.
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "fuzz/FuzzSupport.h"
#include "shared/SheetFile.h"
#include "synthesis/engine/SheetImport.h"
#include "synthesis/engine/Spline.h"
#include "tests/support/ZipParts.h"

namespace {

std::string Workbook(const std::string& sheet, const std::string& strings) {
  test_support::TParts parts = test_support::WorkbookParts(sheet);
  parts["xl/sharedStrings.xml"] = strings;
  return test_support::MakeZip(parts, true);
}

const char kSheet[] =
    "<worksheet><sheetData><row r=\"2\"><c r=\"A2\" t=\"s\"><v>0</v></c><c r=\"B2\" t=\"s\"><v>1</v></c>"
    "<c r=\"C2\" t=\"s\"><v>2</v></c></row><row r=\"3\"><c r=\"A3\" t=\"s\"><v>3</v></c><c r=\"B3\" t=\"s\">"
    "<v>4</v></c></row></sheetData></worksheet>";
const char kStrings[] = "<sst><si><t>1</t></si><si><t>2.5</t></si><si><t>3</t></si><si><t>1</t></si><si><t>x</t></si></sst>";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::CreateServices();
  if (size == 0) return 0;
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  shared::TSheetFile sheet;
  try {
    switch (data[0] % 4) {
      case 0:
        sheet.LoadXlsx(rest);
        break;
      case 1: {
        const std::string path = "/tmp/sheetfilefuzz-" + std::to_string(::getpid()) + ".xls";
        if (FILE* file = std::fopen(path.c_str(), "wb")) {
          std::fwrite(rest.data(), 1, rest.size(), file);
          std::fclose(file);
        }
        try {
          sheet.LoadFromFile(path);
        } catch (...) {
          std::remove(path.c_str());
          throw;
        }
        std::remove(path.c_str());
        break;
      }
      case 2:
        sheet.LoadXlsx(Workbook(std::string(rest), kStrings));
        break;
      default:
        sheet.LoadXlsx(Workbook(kSheet, std::string(rest)));
        break;
    }
  } catch (const shared::ESheetFileError&) {
  }
  // The curve reads whatever cells were read, rows without rotations among them too.
  vesk::TSpline curve;
  std::string notice;
  try {
    curve.ImportFromSheet(vesk::TSheetFileCells(sheet), &notice);
  } catch (const shared::ESheetFileError&) {
  }
  for (int32_t i = 1; i <= curve.Count(); ++i)
    if (!std::isfinite(curve.GetPoint(i)->Out) || !std::isfinite(curve.GetPoint(i)->In)) __builtin_trap();
  return 0;
}
