// The clipboard as the model code sees it: plain text in and out. The programs connect it to
// the desktop clipboard; tests give a fake.
#pragma once

#include <string>

namespace shared {

class TClipboard {
 public:
  virtual ~TClipboard() = default;
  // Text is 8-bit Windows-1252, lines separated by CR LF.
  virtual bool HasText() const = 0;
  virtual std::string GetText() const = 0;
  virtual void SetText(const std::string& text) = 0;
};

}  // namespace shared
