// The animation view's exports: the film of a cycle, the picture of the current step, the HTML
// report and the workbook. The sequences themselves are the engine's, shared with mechtool.
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "animator/app/AnimationFrm.h"
#include "animator/app/AppDialogs.h"
#include "animator/app/ExcelExportDlg.h"
#include "animator/app/GraphFrm.h"
#include "animator/app/InformationBox.h"
#include "animator/app/ProgressDlg.h"
#include "animator/engine/AniMechanism.h"
#include "animator/engine/ExcelExport.h"
#include "animator/engine/FilmWriter.h"
#include "animator/engine/HtmlReport.h"
#include "animator/engine/PictureExport.h"
#include "animator/engine/StdOut.h"
#include "shared/AniCanvas2D.h"
#include "shared/FilePath.h"
#include "shared/ProgramInfo.h"
#include "shared/Workbook.h"
#include "shared/qt/HTMLPrintDialog.h"
#include "shared/qt/ModalScope.h"
#include "shared/qt/PathName.h"
#include "shared/qt/XlsxWorkbook.h"

namespace quillon {

using shared::FromPath;
using shared::PathForLog;
using shared::ToPath;

void TAnimationFrm::ExportAVI(const std::string& fileName) {
  if (!BeginLoop(TLoop::Film)) {
    StdOut().Warning(BusyText);
    return;
  }
  TProgressDlg* const progress = AppDialogs().ProgressDlg;
  const auto finish = [&] {
    if (progress) progress->hide();
    EndLoop();
    SetTrackBarPosition(0);
    Invalidate();
  };
  const std::string failurePrefix = "Cannot write film file \"" + fileName + "\": ";
  try {
    // The running animation would move the steps under the recording.
    SetStartState(false);
    // A folder that cannot take the film is told before a cycle is recorded for nothing.
    { const shared::TReplacingFile probe(fileName, ".avi~", failurePrefix); }
    const QTemporaryDir work(QDir::tempPath() + QStringLiteral("/quillon-film-XXXXXX"));
    if (!work.isValid())
      throw std::runtime_error(failurePrefix + "no work folder for its pictures in " +
                               ToPath(QDir::tempPath()) + ".");
    TFilmWriter film(*FMechanism, ToPath(work.path()));
    film.FailurePrefix = failurePrefix;
    film.ShowStep = [this](int32_t step) { SetTrackBarPosition(step); };
    film.SavePicture = [this](const std::string& picture) { FCanvas->SaveBitmap(picture); };
    film.Progress = [progress] {
      if (progress) progress->StepIt();
      QCoreApplication::processEvents();
    };
    film.Cancelled = [this, progress] { return FilmStopped || (progress && progress->Cancelled); };
    if (progress) {
      progress->SetMax(3 * FMechanism->Len / 2);
      progress->show();
    }
    // The dialog appears before the first step is taken, and Cancel can reach it then.
    QCoreApplication::processEvents();
    film.Write(fileName);
  } catch (...) {
    finish();
    throw;
  }
  finish();
  OpenOrTell(PathForLog(fileName), SavedNotOpenedText(QStringLiteral("The film"), fileName));
}

// ---------------------------------------------------------------------------------------------
// Picture, report and workbook exports.

void TAnimationFrm::ExportPicture(const std::string& fileName) {
  const std::string picture = SaveStepPicture(*FCanvas, fileName, FMechanism->CurrentStep);
  StdOut().Message("Saved: " + PathForLog(picture));
}

void TAnimationFrm::WriteHTMLReport() {
  shared::THTMLPrintDialog* const dialog = AppDialogs().HTMLPrintDialog;
  if (!dialog) return;
  const shared::TProgramInfo& program = shared::ProgramInfo();
  std::error_code error;
  std::filesystem::path proposed =
      std::filesystem::is_regular_file(FFileName, error)
          ? std::filesystem::path(FFileName)
          : std::filesystem::path(program.DataDir) / std::filesystem::path(FFileName).filename();
  proposed.replace_extension(".html");
  dialog->FileNameEdit->setText(FromPath(proposed.string()));
  if (ShowModal(*dialog) != QDialog::Accepted) return;
  // The dialog is gone from the screen before the drawing is taken; as while it was open, nothing
  // else may act (a fit, a clipboard take-over) until the pictures are taken.
  const shared::TModalScope pictures;
  QCoreApplication::processEvents();

  THtmlReport report;
  const std::string name = ToPath(dialog->FileNameEdit->text().trimmed());
  // A full name, so that the page finds its pictures wherever it is opened from.
  report.FileName = name.empty() ? name : shared::FullNormal(name).string();
  report.DocumentName = std::filesystem::path(FFileName).filename().string();
  shared::StampReport(report, program);
  report.Options = dialog->Options();
  report.Info = &ProjectInfo();
  report.Mechanism = FMechanism.get();
  report.Polar = FCanvas->Polar;
  report.SaveDrawing = [this](const std::string& picture) { FCanvas->SaveJPEG(picture); };
  if (GraphVisible) {
    report.SaveGraph = [this](const std::string& picture) { GraphFrm1->SaveJPEG(picture); };
    const std::vector<std::string>& series = GraphFrm1->Data().SeriesNames();
    report.GraphSeriesName = series.empty() ? std::string() : series.front();
  }
  std::string failure;
  report.Save(failure);
  // The text names files as the file system does; the log takes Windows-1252.
  if (!failure.empty()) StdOut().Error(PathForLog(failure));
  StdOut().Message("Saved: " + PathForLog(report.FileName));
  OpenOrTell(PathForLog(report.FileName), SavedNotOpenedText(QStringLiteral("The report"), report.FileName));
}

void TAnimationFrm::ExportToExcel() {
  TExcelExportDlg* const dialog = AppDialogs().ExcelExportDlg;
  if (!dialog || ShowModal(*dialog) != QDialog::Accepted) return;
  shared::TWorkbook book;
  WriteExcelWorkbook(book, GraphFrm1->Data(), *FMechanism, ProjectInfo(), dialog->Options(),
                     PropertiesSheetName, FCanvas->Polar);
  // Where the user's documents go, named after the document ("fourbar.xlsx", else "fourbar
  // (2).xlsx" and on): the temporary folder is cleared behind the user's back.
  std::string stem = std::filesystem::path(FFileName).stem().string();
  if (stem.empty()) stem = "Untitled";
  book.FileName = shared::ReserveBookFile(
      shared::ProgramInfo().DataDir,
      [&stem](int n) { return n == 1 ? stem + ".xlsx" : stem + " (" + std::to_string(n) + ").xlsx"; }, 9999);
  std::string saved;
  try {
    saved = shared::ShowWorkbook(book);
  } catch (const std::runtime_error&) {
    // The book takes its file's place only whole: a file that is still empty was not written.
    std::error_code error;
    if (std::filesystem::file_size(book.FileName, error) == 0 || error) {
      std::filesystem::remove(book.FileName, error);
      throw;
    }
    StdOut().Message("Saved: " + PathForLog(book.FileName));
    ShowInformation(SavedNotOpenedText(QStringLiteral("The workbook"), book.FileName));
    return;
  }
  StdOut().Message("Saved: " + PathForLog(saved));
}

}  // namespace quillon
