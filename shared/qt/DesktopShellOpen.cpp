// Shell-open through QDesktopServices.
#include "shared/qt/DesktopShellOpen.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>
#include <optional>

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

namespace {

// The answer of one xdg-mime query; empty when the desktop gave none.
std::optional<QString> AskXdgMime(const QString& tool, const QStringList& arguments) {
  QProcess query;
  query.start(tool, arguments);
  if (!query.waitForFinished(5000) || query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
    return std::nullopt;
  return QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
}

}  // namespace

bool DesktopHasProgramFor(const QString& file) {
  const QString tool = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
  if (tool.isEmpty()) return true;
  // The file's type as xdg-open itself will see it.
  const std::optional<QString> type = AskXdgMime(tool, {QStringLiteral("query"), QStringLiteral("filetype"), file});
  if (!type || type->isEmpty()) return true;
  const std::optional<QString> program = AskXdgMime(tool, {QStringLiteral("query"), QStringLiteral("default"), *type});
  return !program || !program->isEmpty();
}

bool DesktopHasProgramForScheme(const QString& scheme) {
  const QString tool = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
  if (tool.isEmpty()) return true;
  const std::optional<QString> program =
      AskXdgMime(tool, {QStringLiteral("query"), QStringLiteral("default"), "x-scheme-handler/" + scheme});
  if (!program || !program->isEmpty()) return true;
  if (!qEnvironmentVariableIsEmpty("BROWSER")) return true;
  // The browsers xdg-open tries, in its order, when the desktop names no program.
  for (const char* browser : {"x-www-browser", "firefox", "iceweasel", "seamonkey", "mozilla", "epiphany",
                              "konqueror", "chromium", "chromium-browser", "google-chrome", "www-browser",
                              "links2", "elinks", "links", "lynx", "w3m"})
    if (!QStandardPaths::findExecutable(QString::fromLatin1(browser)).isEmpty()) return true;
  return false;
}

void ConnectDesktopShellOpen() {
  SetShellOpen([](const std::string& target) {
    if (target.empty()) return false;
    const QUrl url = DesktopUrl(target);
    if (url.isLocalFile() ? !DesktopHasProgramFor(url.toLocalFile()) : !DesktopHasProgramForScheme(url.scheme()))
      return false;
    return QDesktopServices::openUrl(url);
  });
}

}  // namespace shared
