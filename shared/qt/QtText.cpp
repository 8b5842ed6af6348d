// Windows-1252 <-> QString through the UTF-8 codec.
#include "shared/qt/QtText.h"

#include "shared/Cp1252.h"

namespace shared {

QString ToQString(const std::string& text) { return QString::fromStdString(Cp1252ToUtf8(text)); }

std::string FromQString(const QString& text) { return Utf8ToCp1252(text.toStdString()); }

}  // namespace shared
