// Program entry of Vesk: the process-wide services in dependency order, the application and the
// main window, the message loop, and the services freed again in reverse order.
#include <QApplication>
#include <QMainWindow>

#include "shared/qt/DesktopShellOpen.h"
#include "shared/qt/IniSettings.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/CMatrix.h"
#include "synthesis/engine/ProgramInfo.h"
#include "synthesis/engine/Random.h"

int main(int argc, char** argv) {
  shared::InstallIniSettings();
  vesk::ResetAppOptions();
  vesk::CreateProgramInfo();
  vesk::CreateCMatrix();
  int result = 0;
  {
    QApplication app(argc, argv);
    app.setApplicationName(QString::fromStdString(vesk::ProgramInfo().Title));
    shared::ConnectDesktopShellOpen();
    QMainWindow window;
    vesk::SeedRandomFromClock();
    window.setWindowTitle(QString::fromStdString(vesk::ProgramInfo().Title));
    window.resize(1000, 700);
    window.show();
    result = app.exec();
  }
  vesk::FreeCMatrix();
  vesk::FreeProgramInfo();
  return result;
}
