// What the host programs share: the error of wrong arguments and the exit status of a command,
// 2 for wrong arguments (the usage on stderr), 1 for a file or data error (its reason), else 0.
#pragma once

#include <functional>
#include <iostream>
#include <stdexcept>

namespace host {

class TUsageError : public std::runtime_error {
 public:
  TUsageError() : std::runtime_error("wrong arguments") {}
};

inline int RunCommand(const char* usage, const std::function<void()>& command) {
  try {
    command();
  } catch (const TUsageError&) {
    std::cerr << usage;
    return 2;
  } catch (const std::exception& error) {
    std::cerr << error.what() << '\n';
    return 1;
  }
  return 0;
}

}  // namespace host
