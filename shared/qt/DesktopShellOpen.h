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

// Connects shared::ShellOpen to QDesktopServices::openUrl.
void ConnectDesktopShellOpen();

}  // namespace shared
