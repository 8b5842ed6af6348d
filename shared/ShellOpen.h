// Opening a document, URL or "mailto:" address with the desktop's own program. The programs
// connect it to the desktop; tests give a fake. Without a connection nothing is opened.
#pragma once

#include <functional>
#include <string>

namespace shared {

// Returns true when the desktop accepted the request.
using TShellOpenFunc = std::function<bool(const std::string& target)>;

void SetShellOpen(TShellOpenFunc open);
bool ShellOpen(const std::string& target);

}  // namespace shared
