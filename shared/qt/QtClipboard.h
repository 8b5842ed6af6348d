// The desktop clipboard behind shared::TClipboard: plain text, Windows-1252 on our side and
// Unicode on the desktop's.
#pragma once

#include "shared/Clipboard.h"

class QClipboard;

namespace shared {

class TQtClipboard : public TClipboard {
 public:
  // The application's clipboard when none is given.
  explicit TQtClipboard(QClipboard* clipboard = nullptr);
  bool HasText() const override;
  std::string GetText() const override;
  void SetText(const std::string& text) override;

 private:
  QClipboard* Clipboard;
};

}  // namespace shared
