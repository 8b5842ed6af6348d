// Zip archives of named parts made in memory with libzip, and the parts of a small .xlsx
// workbook around worksheet 1: for the workbook reader's tests and its fuzz target.
#pragma once

#include <zip.h>

#include <map>
#include <stdexcept>
#include <string>

namespace test_support {

using TParts = std::map<std::string, std::string>;

inline const char kRelNs[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

// The archive of the parts; stored: without compression, so the bytes of a part stand in the
// archive as they are. Raises std::runtime_error when libzip fails.
inline std::string MakeZip(const TParts& parts, bool stored = false) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
  zip_source_keep(buffer);
  zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
  bool ok = archive != nullptr;
  for (const auto& [name, content] : parts) {
    if (!ok) break;
    zip_source_t* file = zip_source_buffer(archive, content.data(), content.size(), 0);
    const zip_int64_t index = zip_file_add(archive, name.c_str(), file, ZIP_FL_OVERWRITE);
    ok = index >= 0 && (!stored || zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_STORE, 0) == 0);
  }
  ok = archive && zip_close(archive) == 0 && ok;
  std::string bytes;
  if (ok && zip_source_open(buffer) == 0) {
    char chunk[4096];
    for (zip_int64_t n; (n = zip_source_read(buffer, chunk, sizeof chunk)) > 0;) bytes.append(chunk, size_t(n));
    zip_source_close(buffer);
  } else {
    ok = false;
  }
  zip_source_free(buffer);
  zip_error_fini(&error);
  if (!ok) throw std::runtime_error("libzip could not make the archive");
  return bytes;
}

// The parts of a workbook whose first sheet is xl/worksheets/sheet1.xml, holding sheetXml; the
// relationships name a shared strings part, which the caller adds when it wants one.
inline TParts WorkbookParts(const std::string& sheetXml) {
  TParts parts;
  parts["_rels/.rels"] = std::string("<Relationships xmlns=\"x\"><Relationship Id=\"rId1\" Type=\"") + kRelNs +
                         "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>";
  parts["xl/workbook.xml"] = std::string("<workbook xmlns:r=\"") + kRelNs +
                             "\"><sheets><sheet name=\"A\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
  parts["xl/_rels/workbook.xml.rels"] = std::string("<Relationships><Relationship Id=\"rId1\" Type=\"") + kRelNs +
                                        "/worksheet\" Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" "
                                        "Type=\"" +
                                        kRelNs + "/sharedStrings\" Target=\"sharedStrings.xml\"/></Relationships>";
  parts["xl/worksheets/sheet1.xml"] = sheetXml;
  return parts;
}

}  // namespace test_support
