// Shell-open through QDesktopServices.
#include "shared/qt/DesktopShellOpen.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QRegularExpression>

#include "shared/ShellOpen.h"
#include "shared/qt/QtText.h"

namespace shared {

QUrl DesktopUrl(const std::string& target) {
  const QString text = ToQString(target);
  // Two or more scheme characters, so that "C:\..." is taken for a path.
  static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
  if (!text.startsWith(QLatin1Char('/')) && scheme.match(text).hasMatch()) {
    return QUrl(text, QUrl::TolerantMode);
  }
  return QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath());
}

void ConnectDesktopShellOpen() {
  SetShellOpen([](const std::string& target) {
    if (target.empty()) return false;
    return QDesktopServices::openUrl(DesktopUrl(target));
  });
}

}  // namespace shared
