// Test helpers for workbook files: a zip archive of parts made in memory, and the parts of a
// small .xlsx workbook around a worksheet's rows.
#pragma once

#include <gtest/gtest.h>
#include <zip.h>

#include <map>
#include <string>

namespace shared::test {

using TParts = std::map<std::string, std::string>;

// A zip archive of the parts, made in memory with libzip.
inline std::string MakeZip(const TParts& parts) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
  zip_source_keep(buffer);
  zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
  EXPECT_NE(archive, nullptr);
  for (const auto& [name, content] : parts) {
    zip_source_t* file = zip_source_buffer(archive, content.data(), content.size(), 0);
    EXPECT_GE(zip_file_add(archive, name.c_str(), file, ZIP_FL_OVERWRITE), 0);
  }
  EXPECT_EQ(zip_close(archive), 0);
  EXPECT_EQ(zip_source_open(buffer), 0);
  std::string bytes;
  char chunk[4096];
  for (zip_int64_t n; (n = zip_source_read(buffer, chunk, sizeof chunk)) > 0;) bytes.append(chunk, size_t(n));
  zip_source_close(buffer);
  zip_source_free(buffer);
  zip_error_fini(&error);
  return bytes;
}

inline const char kRelNs[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

inline std::string SheetXml(const std::string& data) {
  return "<?xml version=\"1.0\"?><worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
         "<sheetData>" +
         data + "</sheetData></worksheet>";
}

// The parts of a workbook whose first sheet is sheet1.xml; strings: the shared strings part.
inline TParts Workbook(const std::string& sheetData, const std::string& strings = "") {
  TParts parts;
  parts["_rels/.rels"] = std::string("<Relationships xmlns=\"x\"><Relationship Id=\"rId1\" Type=\"") + kRelNs +
                         "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>";
  parts["xl/workbook.xml"] = std::string("<workbook xmlns:r=\"") + kRelNs +
                             "\"><sheets><sheet name=\"A\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
  parts["xl/_rels/workbook.xml.rels"] = std::string("<Relationships><Relationship Id=\"rId1\" Type=\"") + kRelNs +
                                        "/worksheet\" Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" "
                                        "Type=\"" +
                                        kRelNs + "/sharedStrings\" Target=\"sharedStrings.xml\"/></Relationships>";
  parts["xl/worksheets/sheet1.xml"] = SheetXml(sheetData);
  if (!strings.empty()) parts["xl/sharedStrings.xml"] = "<sst>" + strings + "</sst>";
  return parts;
}

inline std::string Row(int r, const std::string& cells) { return "<row r=\"" + std::to_string(r) + "\">" + cells + "</row>"; }

inline std::string Num(const std::string& ref, const std::string& v) { return "<c r=\"" + ref + "\"><v>" + v + "</v></c>"; }

}  // namespace shared::test
