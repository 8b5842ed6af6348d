// Program entry of Quillon Animator: the process-wide services in dependency order, the
// application, the main window and the dialogs that live for the whole run, the message loop,
// and everything freed again in reverse order.
#include <memory>

#include "animator/app/AnimOptionsDlg.h"
#include "animator/app/AnimationFrm.h"
#include "animator/app/AppDialogs.h"
#include "animator/app/DXFImportDlg.h"
#include "shared/qt/Application.h"
#include "animator/app/ExcelExportDlg.h"
#include "animator/app/InputFunctionDlg.h"
#include "animator/app/MainForm.h"
#include "animator/app/MorphDlg.h"
#include "animator/app/Pictures.h"
#include "animator/app/ProgressDlg.h"
#include "animator/engine/StdOut.h"
#include "shared/Canvas2D.h"
#include "shared/Convert.h"
#include "shared/FilePath.h"
#include "shared/ProgramInfo.h"
#include "shared/TabLine.h"
#include "shared/qt/ConvertDlg.h"
#include "shared/qt/DesktopServices.h"
#include "shared/qt/DesktopShellOpen.h"
#include "shared/qt/HTMLPrintDialog.h"
#include "shared/qt/IniSettings.h"
#include "shared/qt/ProjectInfoDialog.h"
#include "shared/qt/QtClipboard.h"
#include "shared/qt/XlsxWorkbook.h"

int main(int argc, char** argv) {
  // A file size limit fails a save with its message; the signal would end the program mid-save.
  shared::IgnoreFileSizeSignal();
  shared::InstallIniSettings();
  shared::CreateProgramInfo();
  shared::CreateTabLines();
  shared::CreateConvert();
  shared::BindReadoutToConvert();
  quillon::CreateStdOut();
  int result = 0;
  {
    shared::TGuardedApplication app(argc, argv);
    app.setApplicationName(QString::fromStdString(shared::ProgramInfo().Title));
    // Ties the windows to the desktop entry that opens *.mech documents.
    QGuiApplication::setDesktopFileName(QStringLiteral("quillon"));
    // Every window, the About box and the project information show the program's icon.
    QApplication::setWindowIcon(quillon::ProgramIcon());
    shared::ConnectDesktopShellOpen();
    shared::TDesktopServices desktop(shared::ProgramInfo().ExeDir, shared::Convert(), shared::ProgramInfo().BuildDate,
                                     shared::ProgramFile());
    shared::TQtClipboard clipboard;

    quillon::TMainForm form(new quillon::TAnimationFrm(clipboard), nullptr, clipboard);
    const auto help = [](const std::string& topic) { shared::ProgramInfo().ShowHelpTopic(topic); };
    auto convertDlg = std::make_unique<shared::TConvertDlg>(shared::Convert(), &form);
    convertDlg->SetHelpHandler(help);
    auto inputFunctionDlg = std::make_unique<quillon::TInputFunctionDlg>(&form);
    auto projectInfoDialog = std::make_unique<shared::TProjectInfoDialog>(&form);
    projectInfoDialog->SetHelpHandler(help);
    auto htmlPrintDialog = std::make_unique<shared::THTMLPrintDialog>(&form);
    htmlPrintDialog->SetHelpHandler(help);
    auto animOptionsDlg = std::make_unique<quillon::TAnimOptionsDlg>(&form);
    quillon::AppDialogs() = {convertDlg.get(), projectInfoDialog.get(), htmlPrintDialog.get()};
    auto progressDlg = std::make_unique<quillon::TProgressDlg>(&form);
    quillon::AppDialogs().ProgressDlg = progressDlg.get();
    auto excelExportDlg = std::make_unique<quillon::TExcelExportDlg>(&form);
    excelExportDlg->SetHelpHandler(help);
    quillon::AppDialogs().ExcelExportDlg = excelExportDlg.get();
    // The workbook export hands its books to the desktop's spreadsheet program.
    shared::ConnectXlsxWorkbook();
    auto morphDlg = std::make_unique<quillon::TMorphDlg>(&form);
    quillon::AppDialogs().InputFunctionDlg = inputFunctionDlg.get();
    quillon::AppDialogs().AnimOptionsDlg = animOptionsDlg.get();
    quillon::AppDialogs().MorphDlg = morphDlg.get();
    // The last of the dialogs that live for the whole run.
    auto dxfImportDlg = std::make_unique<quillon::TDXFImportDlg>(&form);
    dxfImportDlg->SetHelpHandler(help);
    quillon::AppDialogs().DXFImportDlg = dxfImportDlg.get();

    form.SetCommandLine(shared::JoinCommandLine(app.arguments()));
    form.show();
    result = app.exec();
    quillon::AppDialogs() = {};
  }
  quillon::FreeStdOut();
  shared::FreeConvert();
  shared::FreeTabLines();
  shared::FreeProgramInfo();
  return result;
}
