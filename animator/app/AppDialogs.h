// The dialogs that live for the whole run: made by the main block right after the main form, in
// a fixed order, and freed before it. A dialog that is not part of the program stays null and
// the commands that need it stay disabled.
#pragma once

class QDialog;

namespace shared {
class TConvertDlg;
class TProjectInfoDialog;
class THTMLPrintDialog;
}  // namespace shared

namespace quillon {

class TExcelExportDlg;
class TDXFImportDlg;
class TProgressDlg;
class TInputFunctionDlg;
class TAnimOptionsDlg;
class TMorphDlg;

struct TAppDialogs {
  shared::TConvertDlg* ConvertDlg = nullptr;
  shared::TProjectInfoDialog* ProjectInfoDialog = nullptr;
  shared::THTMLPrintDialog* HTMLPrintDialog = nullptr;
  TProgressDlg* ProgressDlg = nullptr;
  TExcelExportDlg* ExcelExportDlg = nullptr;
  TInputFunctionDlg* InputFunctionDlg = nullptr;
  TAnimOptionsDlg* AnimOptionsDlg = nullptr;
  TMorphDlg* MorphDlg = nullptr;
  TDXFImportDlg* DXFImportDlg = nullptr;
};

// The process-wide set; the main block fills it and clears it again.
TAppDialogs& AppDialogs();

// Shows the dialog modally inside a modal scope, so that background work (the clipboard
// take-over) waits for its end; gives the dialog's result.
int ShowModal(QDialog& dialog);

}  // namespace quillon
