// The desktop connection of shell-open: documents, web addresses and "mailto:" addresses are
// handed to the desktop's own programs through QDesktopServices.
#pragma once

#include <QUrl>
#include <string>

namespace shared {

// The URL the desktop receives for a Windows-1252 target: a local path (absolute or relative
// to the working folder) becomes a file URL; "scheme:..." (http, https, mailto, file, ...)
// stays a URL. A drive letter such as "C:" is no scheme.
QUrl DesktopUrl(const std::string& target);

// Whether the desktop names a program for the local file's type (asked through xdg-mime); true
// when the desktop cannot be asked.
bool DesktopHasProgramFor(const QString& file);

// Whether the desktop has a program for addresses of the scheme ("https", "mailto"): one it
// names for the scheme (asked through xdg-mime), or a web browser that xdg-open falls back on
// ($BROWSER, or one of the browsers it tries on the PATH); true when the desktop cannot be asked.
bool DesktopHasProgramForScheme(const QString& scheme);

// Connects shared::ShellOpen to QDesktopServices::openUrl. A local file for whose type, or an
// address for whose scheme, the desktop has no program is refused: the desktop would accept it
// and then open nothing.
void ConnectDesktopShellOpen();

}  // namespace shared
