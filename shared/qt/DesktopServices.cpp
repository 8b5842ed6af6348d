// The start-up step of both programs: sound, decimal separator and build date from the desktop.
#include "shared/qt/DesktopServices.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>

#include "shared/Convert.h"
#include "shared/qt/ConvertDlg.h"
#include "shared/qt/PathName.h"
#include "shared/qt/QtText.h"

namespace shared {

TDesktopServices::TDesktopServices(const std::string& programDir, TConvert& convert, std::string& buildDate,
                                   const std::filesystem::path& programFile)
    : Sound(programDir) {
  SetSound(&Sound);
  ApplyLocaleDecimalSeparator(convert);
  if (!programFile.empty()) buildDate = UserShortFileDate(programFile);
}

TDesktopServices::~TDesktopServices() {
  if (shared::Sound() == &Sound) SetSound(nullptr);
}

std::string UserShortFileDate(const std::filesystem::path& file) {
  const QFileInfo info(FromPath(file.string()));
  if (!info.exists()) return "";
  return FromQString(QLocale().toString(info.lastModified().date(), QLocale::ShortFormat));
}

}  // namespace shared
