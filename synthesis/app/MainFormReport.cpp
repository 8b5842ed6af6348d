// The main window's HTML report of the current solution: the pictures of the mechanism view and
// the graph, the report options, the files and their opening on the desktop.
#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QPixmap>
#include <QScrollArea>
#include <algorithm>
#include <stdexcept>

#include "shared/FilePath.h"
#include "shared/qt/HTMLPrintDialog.h"
#include "shared/qt/PathName.h"
#include "shared/qt/ProjectInfoDialog.h"
#include "shared/qt/QtCanvas.h"
#include "synthesis/app/MainForm.h"
#include "synthesis/app/QtGraphPaintBox.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/Area.h"
#include "synthesis/engine/HtmlReport.h"
#include "synthesis/engine/MechanismList.h"
#include "synthesis/engine/ProgramInfo.h"
#include "synthesis/engine/Spline.h"

namespace vesk {

namespace {

// What the widget shows, at its size.
shared::TRaster Picture(QWidget* widget) { return shared::RasterFromImage(widget->grab().toImage()); }

}  // namespace

void TMainForm::FileReportItemClick() {
  const TMechanism* current = FSolutions->Current;
  if (!current) return;
  THtmlReport report;
  // The pictures show the window as it was when the command was given, without the dialog.
  report.MechPicture = Picture(ScrollBoxes[0]->viewport());
  if (AppOptions.ShowGraph) {
    shared::TRaster graph = Picture(GraphPaintBox);
    // A graph panel squeezed to nothing has no picture to give.
    if (graph.Width > 0 && graph.Height > 0) report.GraphPicture = std::move(graph);
  }

  TProgramInfo& program = ProgramInfo();
  if (!HTMLPrintDialog) HTMLPrintDialog = new shared::THTMLPrintDialog(this);
  // Named before the dialog, which may move the data path.
  report.BaseName = ReportBaseName(FProjectName, program.DataDir);
  HTMLPrintDialog->FileNameEdit->setText(
      shared::FromPath(DefaultReportName(FProjectName, program.DataDir, current->ID)));
  if (RunModal(*HTMLPrintDialog) != QDialog::Accepted) return;
  // The solution of now: the one named before the dialog may have gone meanwhile.
  current = FSolutions->Current;
  if (!current) return;
  const std::string name = shared::ToPath(HTMLPrintDialog->FileNameEdit->text().trimmed());
  // A full name: the pictures are saved beside the page, which names them relative to itself.
  report.FileName = name.empty() ? name : shared::FullNormal(name).string();
  if (!name.empty()) TakeDataPath(report.FileName);

  report.ProjectName = FProjectName;
  shared::StampReport(report, program);
  report.Options = HTMLPrintDialog->Options();
  report.Info = ProjectInfoDialog ? &ProjectInfoDialog->Info : nullptr;
  report.Mechanism = current;
  report.Graph = &FGraphBox->Graph();
  report.Curve = FCurve.get();
  report.GroundAreas = FGroundAreas.get();
  report.CouplerAreas = FCouplerAreas.get();
  report.GraphCaption =
      kGraphCaptions[size_t(std::clamp(FSolutions->GraphKind, 0, TMechanismList::kGraphKinds - 1))];
  report.Save();
  // The report stays written; the message says where, as the other exports do.
  if (!program.OpenWithShell(shared::PathForLog(report.FileName)))
    throw std::runtime_error("The report was saved as " + report.FileName +
                             ", but the desktop opened no program for it");
}

}  // namespace vesk
