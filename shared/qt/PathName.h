// File names between the file system and the user interface: a path is bytes as the file system
// takes them, shown as Unicode text on screen and as Windows-1252 text in the message log.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <string>

#include "shared/qt/QtText.h"

namespace shared {

inline std::string ToPath(const QString& name) { return QFile::encodeName(name).toStdString(); }

inline QString FromPath(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

inline std::string PathForLog(const std::string& path) { return FromQString(FromPath(path)); }

// The user's documents folder (XDG), or the home folder where there is none; ends with "/".
std::string DocumentsFolder();

// Where the file dialogs start: the stored folder while it exists and is not the program's own
// folder, else the documents folder.
std::string StartFolder(const std::string& stored, const std::string& programFolder);

// The folder of a file picked in a dialog, full, normalised and ending with "/": where the next
// dialog starts.
std::string FolderOfFile(const std::string& fileName);

}  // namespace shared
