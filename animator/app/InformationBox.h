// What the animator's commands say when the desktop opened no program for what they handed it:
// an information box over the active window. Tests may take the texts instead.
#pragma once

#include <QString>
#include <functional>
#include <string>

namespace quillon {

// None: the box is shown.
void SetInformationHandler(std::function<void(const QString& text)> handler);
void ShowInformation(const QString& text);

// Hands the target (Windows-1252) to shared::ShellOpen; when no program takes it, the box shows
// notOpened. True when a program took it.
bool OpenOrTell(const std::string& target, const QString& notOpened);

// "The report was saved as /path/r.html, but the desktop opened no program for it": what, and
// the file as the file system names it.
QString SavedNotOpenedText(const QString& what, const std::string& path);
// "The manual /path/m.pdf could not be opened: the desktop has no program for it".
QString NotOpenedText(const QString& what, const QString& target);

}  // namespace quillon
