// TProgramInfo: the animator's program-wide constants (product names, version, file extension,
// directories, help and manual paths, web and mail addresses) and the opening of its help.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace shared {

// The animator's product word: the name of the header section of every mechanism document, the
// animator's own and those the synthesis program exports.
inline constexpr const char* kProductWord = "Quillon";

class TProgramInfo {
 public:
  // Reads the program file's folder and date; the language is English.
  TProgramInfo();

  std::string ProductWord = kProductWord;  // name of the mechanism file's header section
  int32_t FileFormatVersion = 0;        // written into that header
  std::string DefaultName = "Untitled";
  std::string Extension = "mech";
  std::string Title = "Quillon Animator";
  std::string Version = "2.1.4";
  std::string BuildDate;  // modification date of the program file, short date form
  std::string ExeDir;     // folder of the program file, with a trailing "/"
  std::string DataDir;    // folder for file dialogs; ExeDir at creation
  std::string LastFile;
  std::string DefaultIni;
  std::string ManualPath;
  std::string HelpPath;
  std::string FeedbackURL;
  std::string LanguageCode;
  int32_t LanguageIndex = 0;  // 0 English, 1 Dutch
  std::string ProductURL;
  std::string Mail;
  std::string MailWithSubject;
  std::string Notice;

  // 0 English, 1 Dutch; any other value only resets LanguageIndex to 0.
  void SetLanguage(int32_t n);
  // items[LanguageIndex] (English first, Dutch second), else items[0]; "" for no items.
  std::string PickByLanguage(const std::vector<std::string>& items) const;
  // Opens the help file through the desktop (shared::ShellOpen). A page inside the compiled
  // help file cannot be addressed that way, so every topic opens the help file itself. Nothing
  // happens when the help file does not exist or no shell-open is connected.
  void ShowHelpTopic(const std::string& topic) const;
  void ShowHelp() const;
};

// The process-wide instance, created at program start before any form and freed at exit.
// ProgramInfo() raises std::logic_error when none exists.
void CreateProgramInfo();
void FreeProgramInfo();
TProgramInfo& ProgramInfo();

}  // namespace shared
