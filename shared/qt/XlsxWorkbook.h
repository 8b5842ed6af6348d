// The workbook writer of the programs: saves a shared::TWorkbook as an .xlsx file through
// libxlsxwriter and opens it with the desktop's spreadsheet program (shared::ShellOpen).
#pragma once

#include <functional>
#include <string>

#include "shared/Workbook.h"

namespace shared {

// Writes the book to path; a failed write leaves an existing file as it was. Raises
// std::runtime_error with the reason.
void WriteXlsx(const TWorkbook& book, const std::string& path);

// The first of nameOf(1) .. nameOf(count) that does not exist in the directory, created empty so
// that no file is written over and no other writer takes the name. Raises std::runtime_error
// naming the file and the reason when the directory takes no file, and when every name is taken.
std::string ReserveBookFile(const std::string& directory, const std::function<std::string(int)>& nameOf,
                            int count);
// The first "BookN.xlsx" (N = 1, 2, ...) of the directory, reserved so.
std::string ReserveBookFile(const std::string& directory);

// Saves the book to its FileName, or to a new BookN.xlsx in the directory (the system's
// temporary directory when empty), and opens it through shared::ShellOpen. Gives the file;
// raises std::runtime_error when saving fails or no program opens it.
std::string SaveAndOpenXlsx(const TWorkbook& book, const std::string& directory = {});

// Makes SaveAndOpenXlsx the process-wide shared::ShowWorkbook.
void ConnectXlsxWorkbook(const std::string& directory = {});

}  // namespace shared
