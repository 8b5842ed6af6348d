// The user's folders as the file dialogs start in them.
#include "shared/qt/PathName.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>

#include "shared/FilePath.h"

namespace shared {

std::string DocumentsFolder() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::homePath();
  std::string path = ToPath(folder);
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

std::string StartFolder(const std::string& stored, const std::string& programFolder) {
  std::error_code error;
  const bool exists = !stored.empty() && std::filesystem::is_directory(stored, error);
  const bool own = exists && !programFolder.empty() && std::filesystem::equivalent(stored, programFolder, error);
  return exists && !own ? stored : DocumentsFolder();
}

std::string FolderOfFile(const std::string& fileName) {
  return DirectoryWithDelimiter(FullNormal(fileName).parent_path());
}

}  // namespace shared
