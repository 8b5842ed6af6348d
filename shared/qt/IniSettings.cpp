// INI-file settings behind the TSettings interface, through QSettings (INI format, user scope).
#include "shared/qt/IniSettings.h"

#include <QSettings>
#include <QStringList>
#include <cctype>

#include "shared/qt/QtText.h"

namespace shared {

namespace {

// Registry sub-keys are separated by backslashes, QSettings groups by slashes.
QString GroupPath(const std::string& section) { return ToQString(section).replace(u'\\', u'/'); }

class TIniSettings : public TSettings {
 public:
  explicit TIniSettings(const TIniLocation& location)
      : fSettings(QSettings::IniFormat, QSettings::UserScope, ToQString(location.Organisation),
                  ToQString(location.Application)) {}

  std::string ReadString(const std::string& section, const std::string& name,
                         const std::string& fallback) const override {
    const QVariant value = fSettings.value(Key(section, name));
    if (!value.isValid()) return fallback;
    // A hand-edited value with unquoted commas comes back as a list.
    if (value.typeId() == QMetaType::QStringList) return FromQString(value.toStringList().join(u','));
    return FromQString(value.toString());
  }

  void WriteString(const std::string& section, const std::string& name, const std::string& value) override {
    fSettings.setValue(Key(section, name), ToQString(value));
  }

  bool ValueExists(const std::string& section, const std::string& name) const override {
    return fSettings.contains(Key(section, name));
  }

  void EraseSection(const std::string& section) override { fSettings.remove(GroupPath(section)); }

 private:
  static QString Key(const std::string& section, const std::string& name) {
    return GroupPath(section) + u'/' + ToQString(name);
  }

  QSettings fSettings;
};

std::unique_ptr<TSettings> IniFactory(const std::string& key) { return OpenIniSettings(key); }

}  // namespace

TIniLocation IniLocationOfKey(const std::string& key) {
  std::string rest = key;
  const std::string software = "software\\";
  if (rest.size() >= software.size()) {
    std::string head = rest.substr(0, software.size());
    for (char& c : head) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (head == software) rest.erase(0, software.size());
  }
  while (!rest.empty() && rest.front() == '\\') rest.erase(0, 1);
  while (!rest.empty() && rest.back() == '\\') rest.pop_back();
  TIniLocation location{"Orvane", rest.empty() ? "Settings" : rest};
  const auto slash = rest.find('\\');
  if (slash != std::string::npos) {
    location.Organisation = rest.substr(0, slash);
    location.Application = rest.substr(slash + 1);
    for (char& c : location.Application)
      if (c == '\\') c = '/';
  }
  return location;
}

std::unique_ptr<TSettings> OpenIniSettings(const std::string& key) {
  return std::make_unique<TIniSettings>(IniLocationOfKey(key));
}

std::string IniSettingsFileName(const std::string& key) {
  const auto location = IniLocationOfKey(key);
  const QSettings settings(QSettings::IniFormat, QSettings::UserScope, ToQString(location.Organisation),
                           ToQString(location.Application));
  return FromQString(settings.fileName());
}

void InstallIniSettings() { SetSettingsFactory(IniFactory); }

}  // namespace shared
