// Text across the Qt edge: our Windows-1252 strings to QString and back (characters that
// Windows-1252 lacks become "?").
#pragma once

#include <QString>
#include <string>

namespace shared {

QString ToQString(const std::string& text);
std::string FromQString(const QString& text);

}  // namespace shared
