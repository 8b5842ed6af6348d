// A process locale with a comma as decimal mark, as a German desktop gives the programs: German
// compiled by localedef (package "locales") into a folder of the test's own, so the machine needs
// no installed locale. Restores the locale it found.
#pragma once

#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace testsupport {

class TCommaLocale {
 public:
  TCommaLocale() {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    Saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, kName)) {
      // glibc looks in LOCPATH at each setlocale call. Tests run side by side: each compiles into
      // a folder of its own and moves it into place whole.
      const std::filesystem::path folder = Folder();
      if (!std::filesystem::exists(folder / kName / "LC_NUMERIC")) {
        const std::filesystem::path work = folder.string() + "." + std::to_string(getpid());
        std::filesystem::create_directories(work);
        const std::string command =
            "localedef -i de_DE -f UTF-8 '" + (work / kName).string() + "' >/dev/null 2>&1";
        [[maybe_unused]] const int status = std::system(command.c_str());
        // Only a whole locale takes the folder's name; another test may have put one there first.
        std::error_code error;
        if (std::filesystem::exists(work / kName / "LC_NUMERIC", error))
          std::filesystem::rename(work, folder, error);
        std::filesystem::remove_all(work, error);
      }
      const char* path = std::getenv("LOCPATH");
      SavedPath = path ? path : "";
      HadPath = path != nullptr;
      setenv("LOCPATH", folder.c_str(), 1);
      SetPath = true;
      std::setlocale(LC_NUMERIC, kName);
    }
  }
  ~TCommaLocale() {
    std::setlocale(LC_NUMERIC, Saved.c_str());
    if (SetPath && HadPath) setenv("LOCPATH", SavedPath.c_str(), 1);
    if (SetPath && !HadPath) unsetenv("LOCPATH");
  }
  TCommaLocale(const TCommaLocale&) = delete;
  TCommaLocale& operator=(const TCommaLocale&) = delete;

  // printf writes 1.5 as "1,5": the locale is in force.
  static bool Active() {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", 1.5);
    return std::string(text) == "1,5";
  }

 private:
  static constexpr const char* kName = "de_DE.UTF-8";
  static std::filesystem::path Folder() {
    return std::filesystem::temp_directory_path() / ("comma-locale-" + std::to_string(getuid()));
  }
  std::string Saved, SavedPath;
  bool HadPath = false, SetPath = false;
};

}  // namespace testsupport
