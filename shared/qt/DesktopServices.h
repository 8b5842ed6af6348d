// TDesktopServices: the start-up step that both programs take once their application object
// exists: the desktop's sound for wave files and beeps, and the user's locale for the unit
// service's decimal separator and the build date that the About box shows.
#pragma once

#include <filesystem>
#include <string>

#include "shared/qt/QtSound.h"

namespace shared {

class TConvert;

// Made after the application and freed before it; while it lives it is the process's sound.
class TDesktopServices {
 public:
  // programDir: where the program's wave files are. buildDate is rewritten from programFile in
  // the user's short date format (the program information made it before the locale was set).
  TDesktopServices(const std::string& programDir, TConvert& convert, std::string& buildDate,
                   const std::filesystem::path& programFile);
  ~TDesktopServices();
  TDesktopServices(const TDesktopServices&) = delete;
  TDesktopServices& operator=(const TDesktopServices&) = delete;

 private:
  TQtSound Sound;
};

// The file's modification date in the user's short date format; empty when it cannot be read.
std::string UserShortFileDate(const std::filesystem::path& file);

}  // namespace shared
