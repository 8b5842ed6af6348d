// The animator's program information: values at creation, language switch and help opening.
#include "shared/ProgramInfo.h"

#include <filesystem>

#include "shared/FilePath.h"
#include "shared/ProcessWide.h"
#include "shared/ShellOpen.h"

namespace shared {

namespace fs = std::filesystem;

TProgramInfo::TProgramInfo() {
  const fs::path exe = ProgramFile();
  std::error_code error;
  const fs::path folder = exe.empty() ? fs::current_path(error) : exe.parent_path();
  ExeDir = DirectoryWithDelimiter(folder);
  BuildDate = exe.empty() ? "" : ShortFileDate(exe);
  DataDir = ExeDir;
  DefaultIni = ExeDir + "Default.ini";
  ProductURL = "https://www.orvane.com/quillon/";
  Mail = "mailto:sales@orvane.com";
  MailWithSubject = Mail + "?subject=" + Title + " " + Version;
  Notice = "Copyright (C) Orvane. All rights reserved.";
  SetLanguage(0);
}

void TProgramInfo::SetLanguage(int32_t n) {
  LanguageIndex = (n == 0 || n == 1) ? n : 0;
  if (n != 0 && n != 1) return;
  LanguageCode = n == 0 ? "en" : "nl";
  HelpPath = ExeDir + "quillon_help.chm";
  ManualPath = ExeDir + "vesk_manual.pdf";
  FeedbackURL = "https://www.orvane.com/" + LanguageCode + "/quillon/feedback.html";
}

std::string TProgramInfo::PickByLanguage(const std::vector<std::string>& items) const {
  if (items.empty()) return "";
  const auto index = static_cast<size_t>(LanguageIndex);
  return LanguageIndex >= 0 && index < items.size() ? items[index] : items[0];
}

void TProgramInfo::ShowHelpTopic(const std::string& /*topic*/) const { ShowHelp(); }

void TProgramInfo::ShowHelp() const {
  std::error_code error;
  if (HelpPath.empty() || !fs::is_regular_file(HelpPath, error)) return;
  ShellOpen(HelpPath);
}

void CreateProgramInfo() { TProcessWide<TProgramInfo>::Create(); }

void FreeProgramInfo() { TProcessWide<TProgramInfo>::Free(); }

TProgramInfo& ProgramInfo() { return TProcessWide<TProgramInfo>::Get("The program information"); }

}  // namespace shared
