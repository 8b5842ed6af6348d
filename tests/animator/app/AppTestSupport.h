// Fakes that the window tests of the animator share: a clipboard in memory, and one settings
// store in memory behind every settings key.
#pragma once

#include <memory>
#include <string>

#include "shared/Clipboard.h"
#include "shared/Settings.h"

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

class TStoreSettings : public shared::TSettings {
 public:
  std::string ReadString(const std::string& s, const std::string& n, const std::string& f) const override {
    return SettingsStore().ReadString(s, n, f);
  }
  void WriteString(const std::string& s, const std::string& n, const std::string& v) override {
    SettingsStore().WriteString(s, n, v);
  }
  bool ValueExists(const std::string& s, const std::string& n) const override {
    return SettingsStore().ValueExists(s, n);
  }
  void EraseSection(const std::string& s) override { SettingsStore().EraseSection(s); }
};

// The settings factory of the tests: every key opens the one store.
inline std::unique_ptr<shared::TSettings> OpenStoreSettings(const std::string&) {
  return std::make_unique<TStoreSettings>();
}

}  // namespace quillon
