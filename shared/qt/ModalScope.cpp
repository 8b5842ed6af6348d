// The process-wide count of open modal scopes.
#include "shared/qt/ModalScope.h"

#include <QApplication>

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

TModalScopeNotifier& ModalScopes() {
  static TModalScopeNotifier notifier;
  return notifier;
}

}  // namespace shared
