// The settings of the whole suite as INI files: the registry-style key "Software\Orvane\<Name>"
// is the file <config dir>/Orvane/<Name>.ini, and a section of the key is a group of the file.
#pragma once

#include <memory>
#include <string>

#include "shared/Settings.h"

namespace shared {

// Organisation and application of a key, as QSettings names the file: "Software\Orvane\Vesk1.6"
// gives "Orvane" and "Vesk1.6"; deeper keys keep their rest as sub-folders; a key without an
// organisation belongs to "Orvane".
struct TIniLocation {
  std::string Organisation;
  std::string Application;
};
TIniLocation IniLocationOfKey(const std::string& key);

// Values are kept as text: Windows-1252 here, UTF-8 in the file.
std::unique_ptr<TSettings> OpenIniSettings(const std::string& key);

// Full path of the INI file of a key.
std::string IniSettingsFileName(const std::string& key);

// Makes shared::OpenSettings open INI files; called once at program start-up.
void InstallIniSettings();

}  // namespace shared
