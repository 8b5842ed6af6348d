// Typed settings values and the in-memory store.
#include "shared/Settings.h"

#include "shared/RealText.h"

namespace shared {

int TSettings::ReadInteger(const std::string& section, const std::string& name, int fallback) const {
  return IntOr(ReadString(section, name, ""), fallback);
}

void TSettings::WriteInteger(const std::string& section, const std::string& name, int value) {
  WriteString(section, name, std::to_string(value));
}

bool TSettings::ReadBool(const std::string& section, const std::string& name, bool fallback) const {
  return ReadInteger(section, name, fallback ? 1 : 0) != 0;
}

void TSettings::WriteBool(const std::string& section, const std::string& name, bool value) {
  WriteInteger(section, name, value ? 1 : 0);
}

std::string TMemorySettings::ReadString(const std::string& section, const std::string& name,
                                        const std::string& fallback) const {
  const auto s = Values.find(section);
  if (s == Values.end()) return fallback;
  const auto v = s->second.find(name);
  return v == s->second.end() ? fallback : v->second;
}

void TMemorySettings::WriteString(const std::string& section, const std::string& name,
                                  const std::string& value) {
  Values[section][name] = value;
}

bool TMemorySettings::ValueExists(const std::string& section, const std::string& name) const {
  const auto s = Values.find(section);
  return s != Values.end() && s->second.count(name) > 0;
}

void TMemorySettings::EraseSection(const std::string& section) { Values.erase(section); }

namespace {

std::unique_ptr<TSettings> MemoryFactory(const std::string&) { return std::make_unique<TMemorySettings>(); }

TSettingsFactory gFactory = MemoryFactory;

}  // namespace

void SetSettingsFactory(TSettingsFactory factory) { gFactory = factory ? factory : MemoryFactory; }

std::unique_ptr<TSettings> OpenSettings(const std::string& key) { return gFactory(key); }

}  // namespace shared
