// The synthesis main window's imports: curve points from worksheet 1 of a workbook file, and the
// DXF drawings of the ground link and the output link.
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QToolBar>
#include <exception>
#include <functional>

#include "shared/FilePath.h"
#include "shared/dxf/DXFDrawing.h"
#include "shared/qt/Application.h"
#include "shared/qt/ModalScope.h"
#include "shared/qt/PathName.h"
#include "shared/qt/QtText.h"
#include "synthesis/app/CompactToolBar.h"
#include "synthesis/app/MainForm.h"
#include "synthesis/app/MechPictures.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/Drawing.h"
#include "synthesis/engine/ProgramInfo.h"
#include "synthesis/engine/SheetImport.h"
#include "synthesis/engine/Spline.h"

namespace vesk {

namespace {

constexpr char kExcelFilter[] = "Excel files (*.xlsx;*.xls)|*.xlsx;*.xls|All files (*.*)|*.*";
constexpr char kDXFFilter[] = "DXF files (*.dxf)|*.dxf|All files (*.*)|*.*";

// The hourglass while it lives, restored however the work ends.
struct TBusyCursor {
  TBusyCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
  ~TBusyCursor() { QApplication::restoreOverrideCursor(); }
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;
};

// Reads under the hourglass; the message of a fault, "" when none. What was read before the
// fault stays, so the caller refreshes first and shows the message with it.
std::string ReadBusy(const std::function<void()>& read) {
  const TBusyCursor busy;
  try {
    read();
  } catch (const std::exception& error) {
    return error.what();
  }
  return "";
}

void ShowFault(const std::string& fault) {
  if (!fault.empty()) shared::ShowException(shared::ExceptionText(fault));
}

// The sheet goes on below the last row that a full curve took.
bool SheetHasMoreRows(const std::string& path) {
  shared::TSheetFile sheet;
  try {
    sheet.LoadFromFile(path);
    return TSheetFileCells(sheet).Value(TSpline::kCapacity + 2, 1) != 0;
  } catch (const std::exception&) {
    // A cell there that is no number is a row all the same.
    return sheet.Cell(TSpline::kCapacity + 2, 1).Kind != shared::ESheetCellKind::Empty;
  }
}

}  // namespace

void TMainForm::CreateImportCommands() {
  // before: the button it goes in front of; none, the end of the bar.
  const auto button = [](QToolBar* bar, const char* name, const char* picture, const QString& text,
                         const QString& hint, QAction* before = nullptr) {
    auto* action = new QAction(ToolPicture(QString::fromLatin1(picture)), text, bar);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(hint);
    action->setStatusTip(hint);
    bar->insertAction(before, action);
    return action;
  };
  // Beside the other file buttons, before the separator of the type buttons.
  const QList<QAction*> tools = ToolBar1->actions();
  const qsizetype types = tools.indexOf(MechButtons[0]);
  QAction* typesStart = types > 0 && tools[types - 1]->isSeparator() ? tools[types - 1] : MechButtons[0];
  ImportFromExcelButton =
      button(ToolBar1, "ImportFromExcelButton", "importexcel", "Import", "Import curve points from Excel", typesStart);
  ExportToExcelButton = button(ToolBar1, "ExportToExcelButton", "excel", "Export", "Export to Excel", typesStart);
  connect(ExportToExcelButton, &QAction::triggered, FileExportToExcelItem, &QAction::trigger);
  MakeCompact(ToolBar1);
  ImportOutputLinkButton =
      button(ViewToolBars[1], "ImportOutputLinkButton", "importdxf", "DXF", "Import output link DXF drawing");
  ImportBackGroundButton =
      button(ViewToolBars[2], "ImportBackGroundButton", "importdxf", "DXF", "Import ground link DXF drawing");
  // A failure shows its message and the window goes on.
  const auto guarded = [this](QAction* action, std::function<void()> command) {
    connect(action, &QAction::triggered, this, [command] {
      shared::DeliverGuarded([&] {
        command();
        return true;
      });
    });
  };
  for (QAction* action : {FileImportFromExcelItem, ImportFromExcelButton})
    guarded(action, [this] { FileImportFromExcelItemClick(); });
  for (QAction* action : {FileImportDXF, ImportBackGroundButton})
    guarded(action, [this] { FileImportDXFClick(); });
  guarded(ImportOutputLinkButton, [this] { ImportOutputLinkButtonClick(); });
}

void TMainForm::UpdateImportControls(bool idle) {
  for (QAction* action : {FileImportFromExcelItem, ImportFromExcelButton, FileImportDXF,
                          ImportBackGroundButton, ImportOutputLinkButton})
    action->setEnabled(idle);
}

std::string TMainForm::PickImportFile(const QString& title, const char* filter, const QString& defaultExt) {
  shared::TFileRequest request = DataPathRequest(title, filter, defaultExt);
  if (!Dialogs->PickOpenFile(request)) return "";
  const std::string path = shared::ToPath(request.FileName);
  // A typed name of no file leaves the data path where it was.
  if (shared::IsFile(path)) TakeDataPath(path);
  return path;
}

bool TMainForm::FileImportFromExcelItemClick() {
  if (AskSave() == shared::TAnswer::Cancel) return false;
  const std::string path =
      PickImportFile(QStringLiteral("Import Excel"), kExcelFilter, QStringLiteral("xls"));
  if (path.empty()) return false;
  std::string fault, notice;
  {
    // The dialog's leftovers are painted, but nothing runs on the project that is about to go.
    const shared::TModalScope modal;
    QApplication::processEvents();
    NewProject();
    // A file that is not there (a typed name) leaves the new project empty.
    fault = ReadBusy([&] {
      if (shared::IsFile(path)) ImportCurveFromFile(*FCurve, path, &notice);
    });
  }
  RefreshAll();
  ShowFault(fault);
  if (!notice.empty()) ShowInfoBox(shared::ToQString(notice));
  if (fault.empty() && FCurve->Count() == TSpline::kCapacity && SheetHasMoreRows(path))
    ShowInfoBox(QStringLiteral("The curve holds at most %1 points: the rows after the %1th point were not "
                               "imported.")
                    .arg(TSpline::kCapacity));
  return true;
}

bool TMainForm::FileImportDXFClick() {
  const std::string path =
      PickImportFile(QStringLiteral("Import DXF File"), kDXFFilter, QStringLiteral("dxf"));
  if (path.empty()) return false;
  const std::string fault = ReadBusy([&] { FGroundDrawing->LoadFromFile(path); });
  // The drawing keeps its full name; the project file stores it relative to itself.
  FGroundDrawing->FileName = path;
  if (Store) Store->SetGroundDrawingName(path);
  Modified = true;
  AppOptions.ShowGroundDrawing = FGroundDrawing->Count() > 0;
  ZoomAll(2);
  RepaintView(0);
  // The message as the DXF library gives it; a drawing read whole may still hold kinds not drawn.
  const std::string undrawn = FGroundDrawing->UndrawnWarning();
  ShowFault(fault.empty() && !undrawn.empty() ? "[Warning] " + undrawn : fault);
  return true;
}

bool TMainForm::ImportOutputLinkButtonClick() {
  const std::string path =
      PickImportFile(QStringLiteral("Import DXF File"), kDXFFilter, QStringLiteral("dxf"));
  if (path.empty()) return false;
  Drawing().Clear();
  const std::string fault = ReadBusy([&] { Drawing().ImportDXF(path); });
  AppOptions.ShowOutputLinkDrawing = Drawing().DXFDrawing().HasEntities();
  ZoomAll(1);
  RepaintView(0);
  const std::string undrawn = Drawing().DXFDrawing().UndrawnWarning();
  ShowFault(fault.empty() && !undrawn.empty() ? "[Warning] " + undrawn : fault);
  return true;
}

}  // namespace vesk
