// TProgramInfo: the synthesis program's constants (settings key, project file header and format,
// product names, version, folders, help and manual paths, web and mail addresses), the two most
// recently opened projects and the data folder kept in its settings, and the opening of its help.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vesk {

class TProgramInfo {
 public:
  // The values below, SetLanguage(0), then LoadSettings.
  TProgramInfo();
  // Runs SaveSettings; a failure to save is not reported.
  ~TProgramInfo();
  TProgramInfo(const TProgramInfo&) = delete;
  TProgramInfo& operator=(const TProgramInfo&) = delete;

  std::string RegistryKey = "Software\\Orvane\\Vesk1.6";
  std::string Header = "[Vesk]";  // first line of a project file
  int32_t FileFormatVersion = 2;  // project file format written
  std::string DefaultName = "Untitled";
  std::string LastOpened1;
  std::string LastOpened2;
  std::string Extension = "vesk";
  std::string Title = "Vesk Professional";
  std::string Version = "1.6.4";
  std::string BuildDate;  // modification date of the program file, short date form
  std::string ExeDir;     // folder of the program file, with a trailing "/"
  std::string DataDir;    // folder for file dialogs
  std::string DefaultIni;
  std::string ManualPath;
  std::string HelpPath;
  std::string FeedbackURL;
  std::string LanguageCode;
  int32_t LanguageIndex = 0;  // 0 English, 1 Dutch
  std::string ProductURL;
  std::string MailAddress;  // without "mailto:"
  std::string MailSubject;
  std::string Notice;

  // 0 English, 1 Dutch; any other value only resets LanguageIndex to 0.
  void SetLanguage(int32_t n);
  // items[LanguageIndex] (English first, Dutch second), else items[0]; "" for no items.
  std::string PickByLanguage(const std::vector<std::string>& items) const;
  // Opens the help file through the desktop (shared::ShellOpen). The desktop cannot address a
  // topic inside it, so every topic id ("IDH_Units", "IDH_SynthOptions", ...) opens the file
  // itself. Nothing happens when the help file does not exist or no shell-open is connected.
  void ShowHelpTopic(const std::string& topicId) const;
  // The desktop's open action on a file name or web address; false when nothing opened it.
  bool OpenWithShell(const std::string& target) const;

  // Section "Files" of RegistryKey: "LastOpened1", "LastOpened2" (default empty) and
  // "DataPath" (default ExeDir).
  void LoadSettings();
  // Section "Files": "LastOpened1", "LastOpened2", "DataPath" and "Version" (FileFormatVersion);
  // section "Statistics": "Version" (the Version text), "Name" (Title) and "Date" (BuildDate).
  void SaveSettings() const;
};

// The process-wide instance, created at program start before any form (after the defaults of
// AppOptions) and freed at exit, which saves its settings. ProgramInfo() raises
// std::logic_error when none exists.
void CreateProgramInfo();
void FreeProgramInfo();
TProgramInfo& ProgramInfo();

}  // namespace vesk
