// The guarded application object, its exception handler and the command-line document.
#include "shared/qt/Application.h"

#include <QMessageBox>
#include <QStringDecoder>
#include <exception>

#include "shared/qt/ModalScope.h"
#include "shared/qt/QtText.h"

namespace shared {

namespace {

TExceptionHandler& Handler() {
  static TExceptionHandler handler;
  return handler;
}

}  // namespace

TGuardedApplication::TGuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TGuardedApplication::notify(QObject* receiver, QEvent* event) {
  return DeliverGuarded([&] { return QApplication::notify(receiver, event); });
}

bool DeliverGuarded(const std::function<bool()>& deliver) {
  try {
    return deliver();
  } catch (const std::exception& error) {
    ShowException(ExceptionText(error.what()));
  } catch (...) {
    ShowException(QStringLiteral("Unknown error"));
  }
  return true;
}

void SetExceptionHandler(TExceptionHandler handler) { Handler() = std::move(handler); }

void ShowException(const QString& text) {
  // The message box runs its own event loop; background work waits for it.
  const TModalScope modal;
  if (Handler()) {
    Handler()(text);
    return;
  }
  QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), text);
}

QString ExceptionText(const std::string& what) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = utf8(QByteArrayView(what.data(), static_cast<qsizetype>(what.size())));
  if (!utf8.hasError()) return text;
  return ToQString(what);
}

QString JoinCommandLine(const QStringList& arguments) {
  QString joined;
  for (qsizetype i = 1; i < arguments.size(); ++i) joined += QLatin1Char(' ') + arguments[i];
  return joined.trimmed();
}

}  // namespace shared
