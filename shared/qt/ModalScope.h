// TModalScope: held while a modal dialog, a message box or file work runs a nested event loop,
// and while a menu is open. Background work (idle generation, optimisation, the clipboard
// hand-over) asks BackgroundMayRun() before each step and waits while any scope is open;
// AllClosed() tells it when the last one closes, so deferred work can go on.
#pragma once

#include <QObject>

class QMenu;

namespace shared {

class TModalScope {
 public:
  TModalScope();
  ~TModalScope();
  TModalScope(const TModalScope&) = delete;
  TModalScope& operator=(const TModalScope&) = delete;

  // Scopes open now (nested dialogs count each).
  static int Depth();
};

// False while a scope is open or Qt shows an application-modal widget of its own.
bool BackgroundMayRun();

// The menu holds a scope from showing to hiding: what it offers was chosen for the document as
// it is, which background work must not replace under it.
void ScopeWhileShown(QMenu& menu);

// Emits AllClosed() after the last open scope has closed.
class TModalScopeNotifier : public QObject {
  Q_OBJECT

 signals:
  void AllClosed();
};

TModalScopeNotifier& ModalScopes();

}  // namespace shared
