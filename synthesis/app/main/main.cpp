// Program entry of Vesk: the process-wide services in dependency order, the application, the
// main window and the dialogs that live for the whole run, the message loop, and everything
// freed again in reverse order.
#include <memory>

#include "shared/Canvas2D.h"
#include "shared/Convert.h"
#include "shared/FilePath.h"
#include "shared/TabLine.h"
#include "shared/qt/Application.h"
#include "shared/qt/DesktopServices.h"
#include "shared/qt/DesktopShellOpen.h"
#include "shared/qt/IniSettings.h"
#include "shared/qt/ProjectInfoDialog.h"
#include "shared/qt/XlsxWorkbook.h"
#include "synthesis/app/MainForm.h"
#include "synthesis/app/ProjectStore.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/CMatrix.h"
#include "synthesis/engine/FileValidate.h"
#include "synthesis/engine/InputFunction.h"
#include "synthesis/engine/ProgramInfo.h"

int main(int argc, char** argv) {
  // A file size limit fails a save with its message; the signal would end the program mid-save.
  shared::IgnoreFileSizeSignal();
  // The project files' checksum, first so that it outlives everything that reads or writes them.
  vesk::CreateFileValidate();
  shared::InstallIniSettings();
  shared::CreateConvert();
  shared::BindReadoutToConvert();
  vesk::ResetAppOptions();
  vesk::CreateProgramInfo();
  // The export to the animator fills and saves the process-wide store.
  shared::CreateTabLines();
  vesk::CreateCMatrix();
  // Every new solution takes the default law; the input-function dialog edits it.
  vesk::CreateDefaultInputFunction();
  int result = 0;
  {
    shared::TGuardedApplication app(argc, argv);
    // The title of message boxes; no display name, which the desktop would append to captions.
    app.setApplicationName(QStringLiteral("Vesk Mechanism Synthesis"));
    shared::ConnectDesktopShellOpen();
    // About plays its wave file and the dialogs beep; numbers and the build date follow the locale.
    shared::TDesktopServices desktop(vesk::ProgramInfo().ExeDir, shared::Convert(), vesk::ProgramInfo().BuildDate,
                                     shared::ProgramFile());
    // The Excel export hands its books to the desktop's spreadsheet program.
    shared::ConnectXlsxWorkbook();

    vesk::TMainForm form;
    // The point, area, input-function, curve-point, report, export and line dialogs join here,
    // in this order, as they are built.
    auto projectInfoDialog = std::make_unique<shared::TProjectInfoDialog>(&form);
    projectInfoDialog->HelpTopic = "IDH_ProjectInfo";
    projectInfoDialog->ExcelFillRange = shared::kSynthesisInfoFill;
    form.SetProjectInfoDialog(projectInfoDialog.get());
    form.SetProjectStore(std::make_unique<vesk::TWindowProjectStore>(form, projectInfoDialog->Info));

    form.show();
    form.FormShow(shared::JoinCommandLine(app.arguments()));
    result = app.exec();
    form.SetProjectInfoDialog(nullptr);
  }
  vesk::FreeDefaultInputFunction();
  vesk::FreeCMatrix();
  shared::FreeTabLines();
  vesk::FreeProgramInfo();
  shared::FreeConvert();
  vesk::FreeFileValidate();
  return result;
}
