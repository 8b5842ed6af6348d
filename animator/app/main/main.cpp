// Program entry of Quillon Animator: the process-wide services in dependency order, the
// application, the main window, the message loop, and the services freed in reverse order.
#include <QFile>

#include "animator/app/Application.h"
#include "animator/app/MainForm.h"
#include "animator/app/AnimationFrm.h"
#include "animator/app/UserDialogs.h"
#include "animator/engine/StdOut.h"
#include "shared/Canvas2D.h"
#include "shared/Convert.h"
#include "shared/ProgramInfo.h"
#include "shared/TabLine.h"
#include "shared/qt/DesktopShellOpen.h"
#include "shared/qt/QtClipboard.h"

int main(int argc, char** argv) {
  shared::CreateProgramInfo();
  shared::CreateTabLines();
  shared::CreateConvert();
  shared::BindReadoutToConvert();
  quillon::CreateStdOut();
  int result = 0;
  {
    quillon::TQuillonApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("quillon"));
    app.setApplicationDisplayName(QString::fromStdString(shared::ProgramInfo().Title));
    shared::ConnectDesktopShellOpen();
    shared::TQtClipboard clipboard;
    auto* view = new quillon::TAnimationFrm(clipboard);
    quillon::TMainForm form(view, nullptr, clipboard);
    form.SetCommandLine(quillon::JoinCommandLine(app.arguments()));
    form.show();
    result = app.exec();
  }
  quillon::FreeStdOut();
  shared::FreeConvert();
  shared::FreeTabLines();
  shared::FreeProgramInfo();
  return result;
}
