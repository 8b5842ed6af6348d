// The process-wide set of long-lived dialogs.
#include "animator/app/AppDialogs.h"

namespace quillon {

TAppDialogs& AppDialogs() {
  static TAppDialogs dialogs;
  return dialogs;
}

}  // namespace quillon
