// Per-user settings as the model code sees them: sections of named values under one key
// ("Software\Orvane\Quillon" and the like), read with defaults. The programs back it with INI
// files (shared/qt/IniSettings.h); tests use TMemorySettings.
#pragma once

#include <map>
#include <memory>
#include <string>

namespace shared {

class TSettings {
 public:
  virtual ~TSettings() = default;
  virtual std::string ReadString(const std::string& section, const std::string& name,
                                 const std::string& fallback) const = 0;
  virtual void WriteString(const std::string& section, const std::string& name, const std::string& value) = 0;
  virtual bool ValueExists(const std::string& section, const std::string& name) const = 0;
  virtual void EraseSection(const std::string& section) = 0;

  // Typed forms over the string values; a value that does not parse gives the fallback.
  int ReadInteger(const std::string& section, const std::string& name, int fallback) const;
  void WriteInteger(const std::string& section, const std::string& name, int value);
  bool ReadBool(const std::string& section, const std::string& name, bool fallback) const;
  void WriteBool(const std::string& section, const std::string& name, bool value);
};

// Settings held in memory, for tests and host programs.
class TMemorySettings : public TSettings {
 public:
  std::string ReadString(const std::string& section, const std::string& name,
                         const std::string& fallback) const override;
  void WriteString(const std::string& section, const std::string& name, const std::string& value) override;
  bool ValueExists(const std::string& section, const std::string& name) const override;
  void EraseSection(const std::string& section) override;
  std::map<std::string, std::map<std::string, std::string>> Values;
};

// Opens the settings of a registry-style key; set by the program at start-up (INI files),
// memory settings until then.
using TSettingsFactory = std::unique_ptr<TSettings> (*)(const std::string& key);
void SetSettingsFactory(TSettingsFactory factory);
std::unique_ptr<TSettings> OpenSettings(const std::string& key);

}  // namespace shared
