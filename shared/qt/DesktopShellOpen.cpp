// Shell-open through QDesktopServices.
#include "shared/qt/DesktopShellOpen.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

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

bool DesktopHasProgramFor(const QString& file) {
  const QString tool = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
  if (tool.isEmpty()) return true;
  const QString type = QMimeDatabase().mimeTypeForFile(file).name();
  QProcess query;
  query.start(tool, {QStringLiteral("query"), QStringLiteral("default"), type});
  if (!query.waitForFinished(5000) || query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
    return true;
  return !query.readAllStandardOutput().trimmed().isEmpty();
}

void ConnectDesktopShellOpen() {
  SetShellOpen([](const std::string& target) {
    if (target.empty()) return false;
    const QUrl url = DesktopUrl(target);
    if (url.isLocalFile() && !DesktopHasProgramFor(url.toLocalFile())) return false;
    return QDesktopServices::openUrl(url);
  });
}

}  // namespace shared
