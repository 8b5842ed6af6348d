// Fakes that the window tests of the animator share: a clipboard in memory, and one settings
// store in memory behind every settings key.
#pragma once

#include <memory>
#include <string>

#include "shared/Clipboard.h"
#include "shared/Settings.h"
#include "tests/shared/StoreSettings.h"

namespace quillon {

class TFakeClipboard : public shared::TClipboard {
 public:
  std::string Text;
  bool HasText() const override { return !Text.empty(); }
  std::string GetText() const override { return Text; }
  void SetText(const std::string& text) override { Text = text; }
};

// One store for the whole run, so a second view or form reads what the first one wrote.
inline shared::TMemorySettings& SettingsStore() {
  static shared::TMemorySettings store;
  return store;
}

// The settings factory of the tests: every key opens the one store.
inline std::unique_ptr<shared::TSettings> OpenStoreSettings(const std::string&) {
  return std::make_unique<shared::test::TStoreSettings>(SettingsStore());
}

}  // namespace quillon
