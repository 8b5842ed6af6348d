// The process-wide set of long-lived dialogs, and their modal showing.
#include "animator/app/AppDialogs.h"

#include <QDialog>

#include "shared/qt/ModalScope.h"

namespace quillon {

TAppDialogs& AppDialogs() {
  static TAppDialogs dialogs;
  return dialogs;
}

int ShowModal(QDialog& dialog) {
  const shared::TModalScope modal;
  return dialog.exec();
}

}  // namespace quillon
