// The process-wide shell-open connection.
#include "shared/ShellOpen.h"

namespace shared {

namespace {
TShellOpenFunc& Current() {
  static TShellOpenFunc open;
  return open;
}
}  // namespace

void SetShellOpen(TShellOpenFunc open) { Current() = std::move(open); }

bool ShellOpen(const std::string& target) {
  const auto& open = Current();
  return open ? open(target) : false;
}

}  // namespace shared
