// Main window state and bounds to and from the settings.
#include "shared/qt/WindowPlacement.h"

#include <QWidget>

#include "shared/Settings.h"

namespace shared {

namespace {

TWindowState StoredState(int value) {
  switch (value) {
    case int(TWindowState::Minimised):
      return TWindowState::Minimised;
    case int(TWindowState::Maximised):
      return TWindowState::Maximised;
    default:
      return TWindowState::Normal;
  }
}

}  // namespace

QRect RestoreWindowPlacement(QWidget& window, const TSettings& settings, const std::string& section,
                            TWindowState fallback, const QRect& fallbackBounds) {
  const TWindowState state = StoredState(settings.ReadInteger(section, "WindowState", int(fallback)));
  QRect bounds(window.pos(), window.size());
  if (state != TWindowState::Maximised) {
    bounds = QRect(settings.ReadInteger(section, "Left", fallbackBounds.x()),
                   settings.ReadInteger(section, "Top", fallbackBounds.y()),
                   settings.ReadInteger(section, "Width", fallbackBounds.width()),
                   settings.ReadInteger(section, "Height", fallbackBounds.height()));
    // Out of a state first: leaving maximised would put back the bounds it had before.
    window.setWindowState(Qt::WindowNoState);
    window.move(bounds.topLeft());
    window.resize(bounds.size());
  }
  if (state != TWindowState::Normal)
    window.setWindowState(state == TWindowState::Maximised ? Qt::WindowMaximized : Qt::WindowMinimized);
  return bounds;
}

void StoreWindowPlacement(const QWidget& window, TSettings& settings, const std::string& section) {
  const TWindowState state = window.isMaximized()   ? TWindowState::Maximised
                             : window.isMinimized() ? TWindowState::Minimised
                                                    : TWindowState::Normal;
  settings.WriteInteger(section, "WindowState", int(state));
  if (state == TWindowState::Maximised) return;
  // A minimised window keeps its normal place; the frame's corner, as move takes it back.
  const QRect bounds(window.pos(), window.size());
  settings.WriteInteger(section, "Left", bounds.x());
  settings.WriteInteger(section, "Top", bounds.y());
  settings.WriteInteger(section, "Width", bounds.width());
  settings.WriteInteger(section, "Height", bounds.height());
}

}  // namespace shared
