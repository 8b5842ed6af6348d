// The synthesis program's information: values at creation, language switch, help and shell
// opening, and its "Files" and "Statistics" settings.
#include "synthesis/engine/ProgramInfo.h"

#include <filesystem>

#include "shared/FilePath.h"
#include "shared/ProcessWide.h"
#include "shared/Settings.h"
#include "shared/ShellOpen.h"

namespace vesk {

namespace fs = std::filesystem;

TProgramInfo::TProgramInfo() {
  const fs::path exe = shared::ProgramFile();
  std::error_code error;
  const fs::path folder = exe.empty() ? fs::current_path(error) : exe.parent_path();
  ExeDir = shared::DirectoryWithDelimiter(folder);
  BuildDate = exe.empty() ? "" : shared::ShortFileDate(exe);
  DataDir = ExeDir;
  DefaultIni = ExeDir + "Default.ini";
  ProductURL = "https://www.orvane.com/vesk/";
  MailAddress = "sales@orvane.com";
  MailSubject = "Vesk Mechanism Vuzev " + Version;
  Notice = "Copyright (C) Orvane. All rights reserved.";
  SetLanguage(0);
  LoadSettings();
}

TProgramInfo::~TProgramInfo() {
  try {
    SaveSettings();
  } catch (...) {
    // Settings that cannot be written at exit are lost without a message, as the registry's.
  }
}

void TProgramInfo::SetLanguage(int32_t n) {
  LanguageIndex = (n == 0 || n == 1) ? n : 0;
  if (n != 0 && n != 1) return;
  LanguageCode = n == 0 ? "en" : "nl";
  HelpPath = ExeDir + "veskhelp.hlp";
  ManualPath = ExeDir + "vesk_manual.pdf";
  FeedbackURL = "https://www.orvane.com/" + LanguageCode + "/vesk/feedback.html";
}

std::string TProgramInfo::PickByLanguage(const std::vector<std::string>& items) const {
  if (items.empty()) return "";
  const auto index = static_cast<size_t>(LanguageIndex);
  return LanguageIndex >= 0 && index < items.size() ? items[index] : items[0];
}

void TProgramInfo::ShowHelpTopic(const std::string& /*topicId*/) const {
  std::error_code error;
  if (HelpPath.empty() || !fs::is_regular_file(HelpPath, error)) return;
  shared::ShellOpen(HelpPath);
}

bool TProgramInfo::OpenWithShell(const std::string& target) const { return shared::ShellOpen(target); }

void TProgramInfo::LoadSettings() {
  const auto settings = shared::OpenSettings(RegistryKey);
  LastOpened1 = settings->ReadString("Files", "LastOpened1", "");
  LastOpened2 = settings->ReadString("Files", "LastOpened2", "");
  DataDir = settings->ReadString("Files", "DataPath", ExeDir);
}

void TProgramInfo::SaveSettings() const {
  const auto settings = shared::OpenSettings(RegistryKey);
  settings->WriteString("Files", "LastOpened1", LastOpened1);
  settings->WriteString("Files", "LastOpened2", LastOpened2);
  settings->WriteString("Files", "DataPath", DataDir);
  settings->WriteInteger("Files", "Version", FileFormatVersion);
  settings->WriteString("Statistics", "Version", Version);
  settings->WriteString("Statistics", "Name", Title);
  settings->WriteString("Statistics", "Date", BuildDate);
}

void CreateProgramInfo() { shared::TProcessWide<TProgramInfo>::Create(); }

void FreeProgramInfo() { shared::TProcessWide<TProgramInfo>::Free(); }

TProgramInfo& ProgramInfo() {
  return shared::TProcessWide<TProgramInfo>::Get("The synthesis program information");
}

}  // namespace vesk
