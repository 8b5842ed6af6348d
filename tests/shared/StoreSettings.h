// Test settings: one in-memory store behind every TSettings that shared::OpenSettings opens,
// as the registry is one store; the fixture installs it for the length of each test.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "shared/Settings.h"

namespace shared::test {

class TStoreSettings : public TSettings {
 public:
  explicit TStoreSettings(TMemorySettings& store) : fStore(store) {}
  std::string ReadString(const std::string& s, const std::string& n, const std::string& f) const override {
    return fStore.ReadString(s, n, f);
  }
  void WriteString(const std::string& s, const std::string& n, const std::string& v) override {
    fStore.WriteString(s, n, v);
  }
  bool ValueExists(const std::string& s, const std::string& n) const override {
    return fStore.ValueExists(s, n);
  }
  void EraseSection(const std::string& s) override { fStore.EraseSection(s); }

 private:
  TMemorySettings& fStore;
};

class TSettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Current() = this;
    SetSettingsFactory(&Open);
  }
  void TearDown() override {
    SetSettingsFactory(nullptr);
    Current() = nullptr;
  }

  TMemorySettings fStore;
  // The key of the last OpenSettings call.
  std::string fLastKey;

 private:
  static TSettingsStoreTest*& Current() {
    static TSettingsStoreTest* current = nullptr;
    return current;
  }
  static std::unique_ptr<TSettings> Open(const std::string& key) {
    Current()->fLastKey = key;
    return std::make_unique<TStoreSettings>(Current()->fStore);
  }
};

}  // namespace shared::test
