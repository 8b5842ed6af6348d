// The information box of the commands whose file or address no program opened.
#include "animator/app/InformationBox.h"

#include <QApplication>
#include <QMessageBox>

#include "shared/ShellOpen.h"
#include "shared/qt/ModalScope.h"
#include "shared/qt/PathName.h"

namespace quillon {

namespace {
std::function<void(const QString&)>& Handler() {
  static std::function<void(const QString&)> handler;
  return handler;
}
}  // namespace

void SetInformationHandler(std::function<void(const QString& text)> handler) {
  Handler() = std::move(handler);
}

void ShowInformation(const QString& text) {
  if (Handler()) {
    Handler()(text);
    return;
  }
  // The box runs its own event loop; background work waits for it.
  const shared::TModalScope modal;
  QWidget* over = QApplication::activeModalWidget();
  QMessageBox::information(over ? over : QApplication::activeWindow(), QApplication::applicationName(), text);
}

bool OpenOrTell(const std::string& target, const QString& notOpened) {
  if (shared::ShellOpen(target)) return true;
  ShowInformation(notOpened);
  return false;
}

QString SavedNotOpenedText(const QString& what, const std::string& path) {
  return QStringLiteral("%1 was saved as %2, but the desktop opened no program for it")
      .arg(what, shared::FromPath(path));
}

QString NotOpenedText(const QString& what, const QString& target) {
  return QStringLiteral("%1 %2 could not be opened: the desktop has no program for it").arg(what, target);
}

}  // namespace quillon
