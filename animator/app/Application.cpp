// The animator's application object and its exception handler.
#include "animator/app/Application.h"

#include <QMessageBox>
#include <QStringDecoder>
#include <exception>

#include "shared/qt/QtText.h"

namespace quillon {

namespace {

TExceptionHandler& Handler() {
  static TExceptionHandler handler;
  return handler;
}

}  // namespace

TQuillonApplication::TQuillonApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TQuillonApplication::notify(QObject* receiver, QEvent* event) {
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
  return shared::ToQString(what);
}

}  // namespace quillon
