// The process-wide count of open modal scopes.
#include "shared/qt/ModalScope.h"

#include <QApplication>
#include <QMenu>
#include <memory>
#include <optional>

namespace shared {

namespace {
int gDepth = 0;
}

TModalScope::TModalScope() { ++gDepth; }

TModalScope::~TModalScope() {
  if (--gDepth == 0) emit ModalScopes().AllClosed();
}

int TModalScope::Depth() { return gDepth; }

bool BackgroundMayRun() { return gDepth == 0 && QApplication::activeModalWidget() == nullptr; }

void ScopeWhileShown(QMenu& menu) {
  // Owned by the two connections, so a menu destroyed while shown closes its scope too.
  auto scope = std::make_shared<std::optional<TModalScope>>();
  QObject::connect(&menu, &QMenu::aboutToShow, &menu, [scope] {
    if (!scope->has_value()) scope->emplace();
  });
  QObject::connect(&menu, &QMenu::aboutToHide, &menu, [scope] { scope->reset(); });
}

TModalScopeNotifier& ModalScopes() {
  static TModalScopeNotifier notifier;
  return notifier;
}

}  // namespace shared
