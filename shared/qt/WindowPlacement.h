// The placement of a main window kept in its program's settings: the window state and the bounds
// of the normal window, in one section.
#pragma once

#include <QRect>
#include <string>

class QWidget;

namespace shared {

class TSettings;

// "WindowState" as the settings store it.
enum class TWindowState { Normal = 0, Minimised = 1, Maximised = 2 };

// Reads "WindowState" (fallback when missing; a number that names no state is Normal) and,
// unless maximised, "Left", "Top", "Width" and "Height", each defaulting to the edge of
// fallbackBounds; the window takes the bounds as its normal place, then the state. Answers the
// bounds taken; a maximised window's as they were before.
QRect RestoreWindowPlacement(QWidget& window, const TSettings& settings, const std::string& section,
                            TWindowState fallback, const QRect& fallbackBounds);

// Writes "WindowState" and, unless maximised, the bounds of the normal window, its frame's corner
// and its size: a minimised window's as it was before, so that it comes back there.
void StoreWindowPlacement(const QWidget& window, TSettings& settings, const std::string& section);

}  // namespace shared
