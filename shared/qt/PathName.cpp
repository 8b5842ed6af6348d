// The user's folders as the file dialogs start in them.
#include "shared/qt/PathName.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace shared {

std::string DocumentsFolder() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::homePath();
  std::string path = ToPath(folder);
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

}  // namespace shared
