// The main window's exports of the current solution: to the animator's document, to a workbook
// and to a SAM deck. The sequences themselves are the engine's, shared with synthtool.
#include <QDialog>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "shared/Cp1252.h"
#include "shared/FilePath.h"
#include "shared/ProjectInfo.h"
#include "shared/ShellOpen.h"
#include "shared/Workbook.h"
#include "shared/qt/PathName.h"
#include "shared/qt/ProjectInfoDialog.h"
#include "synthesis/app/ExcelExportDlg.h"
#include "synthesis/app/MainForm.h"
#include "synthesis/engine/MechanismList.h"
#include "synthesis/engine/ProgramInfo.h"
#include "synthesis/engine/SolutionExport.h"

namespace vesk {

namespace fs = std::filesystem;

std::string TMainForm::PickExportFile(const QString& title, const char* filter, const QString& defaultExt) {
  shared::TFileRequest request = DataPathRequest(title, filter, defaultExt);
  if (!Dialogs->PickSaveFile(request)) return {};
  const std::string path = shared::ToPath(request.FileName);
  std::error_code error;
  // A line break where the message box shows one.
  if (fs::exists(fs::path(path), error) &&
      Dialogs->Ask(request.FileName + QStringLiteral(" already exists !\nReplace ?")) != shared::TAnswer::Yes)
    return {};
  TakeDataPath(path);
  return path;
}

const shared::TProjectInfo& TMainForm::ProjectInformation() const {
  static const shared::TProjectInfo kNone;
  return ProjectInfoDialog ? ProjectInfoDialog->Info : kNone;
}

TExcelExportDialog& TMainForm::ExcelExportDialog() {
  if (!FExcelExportDialog) FExcelExportDialog = new TExcelExportDialog(this);
  return *FExcelExportDialog;
}

// Each export takes the current solution again once its dialogs have closed: the one it was
// called on may have gone meanwhile.
void TMainForm::FileExporttoQuillonItemClick() {
  if (!FSolutions->Current) return;
  const std::string path =
      PickExportFile(QStringLiteral("Export to Quillon Animator"),
                     "Quillon mechanism files (*.mech)|*.mech|All files (*.*)|*.*", QStringLiteral("mech"));
  TMechanism* solution = FSolutions->Current;
  if (path.empty() || !solution) return;
  ExportAnimatorDocument(*solution, *FCurve, ProjectInformation(), path);
  // The desktop starts the animator through its association with *.mech documents.
  if (!shared::ShellOpen(shared::PathForLog(path)))
    throw std::runtime_error("The mechanism was exported to " + path +
                             ", but the desktop opened no program for it");
}

void TMainForm::FileExportToExcelItemClick() {
  if (!FSolutions->Current) return;
  TExcelExportDialog& dialog = ExcelExportDialog();
  if (RunModal(dialog) != QDialog::Accepted) return;
  TMechanism* solution = FSolutions->Current;
  if (!solution) return;
  shared::TWorkbook book;
  ExportWorkbook(*solution, ProjectInformation(), dialog.Options(), book);
  // The book goes to the temporary folder, not where the user keeps files: the status line says where.
  const std::string file = shared::ShowWorkbook(book);
  SetHint(QStringLiteral("The workbook was saved as %1").arg(shared::FromPath(file)));
}

void TMainForm::FileExporttoSAMItemClick() {
  if (!FSolutions->Current) return;
  const std::string path =
      PickExportFile(QStringLiteral("Export to SAM"), "SAM dat files (*.dat)|*.dat|All files (*.*)|*.*",
                     QStringLiteral("DAT"));
  const TMechanism* solution = FSolutions->Current;
  if (path.empty() || !solution) return;
  ExportSamDeck(*solution, path);
}

}  // namespace vesk
