// The host programs' window-less application object.
#include "shared/qt/OffscreenApplication.h"

#include <iostream>
#include <utility>

namespace shared {

TOffscreenApplication::TOffscreenApplication(std::string name) : FName(std::move(name)) {
  FArgv[0] = FName.data();
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << text.toStdString() << '\n';
  });
  FApplication = std::make_unique<QGuiApplication>(FArgc, FArgv);
}

TOffscreenApplication::~TOffscreenApplication() = default;

}  // namespace shared
