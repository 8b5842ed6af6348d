// The animator's main window: commands, settings, texts and the clipboard watcher. Its widgets are
// built in MainFormLayout.cpp.
#include "animator/app/MainForm.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QStatusTipEvent>
#include <QTextEdit>
#include <cmath>
#include <exception>
#include <filesystem>

#include "animator/app/AnimOptionsDlg.h"
#include "animator/app/AnimationFrm.h"
#include "animator/app/AppDialogs.h"
#include "animator/app/AreaEditFrm.h"
#include "animator/app/DXFImportDlg.h"
#include "animator/app/ExcelExportDlg.h"
#include "animator/app/InformationBox.h"
#include "animator/app/LanguageFile.h"
#include "animator/app/MessageMemo.h"
#include "animator/app/PropertiesFrm.h"
#include "animator/app/SplineEditFrm.h"
#include "animator/engine/AniMechanism.h"
#include "animator/engine/StdOut.h"
#include "shared/Clipboard.h"
#include "shared/Convert.h"
#include "shared/ProgramInfo.h"
#include "shared/Settings.h"
#include "shared/ShellOpen.h"
#include "shared/TabLine.h"
#include "shared/qt/AboutDlg.h"
#include "shared/qt/Application.h"
#include "shared/qt/ConvertDlg.h"
#include "shared/qt/ModalScope.h"
#include "shared/qt/ProjectInfoDialog.h"
#include "shared/qt/QtText.h"
#include "shared/qt/WindowPlacement.h"

namespace quillon {

using shared::DeliverGuarded;
using shared::ExceptionText;
using shared::ShowException;

bool IsPolar = false;
bool ShowLeft = true;

namespace fs = std::filesystem;

namespace {

constexpr int kMemoHeight = 101;
// The memo's height held 7 lines of the font it was laid out for; MemoHeight keeps 7 lines in
// the font of this desktop.
constexpr int kMemoLines = 7;
// Part of the screen a first start takes before it is maximised, for desktops that do not
// maximise windows.
constexpr double kFirstStartShare = 0.9;
// Preset of File > New: the custom start mechanism; preset 0 is the four-bar.
constexpr int kCustomPreset = 13;
constexpr int kFourbarPreset = 0;

bool FileExists(const std::string& path) {
  std::error_code error;
  return !path.empty() && fs::is_regular_file(path, error);
}

std::string WithExtension(const std::string& path, const char* extension) {
  return fs::path(path).replace_extension(extension).string();
}

// Menu texts come through the language pick of the program information; only English exists.
QString Pick(const char* english) {
  return shared::ToQString(shared::ProgramInfo().PickByLanguage({english}));
}

bool IsTextWidget(const QWidget* widget) {
  if (qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget) ||
      qobject_cast<const QTextEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget) ||
      qobject_cast<const QAbstractItemView*>(widget))
    return true;
  const auto* box = qobject_cast<const QComboBox*>(widget);
  return box && box->isEditable();
}

bool SameProjectInfo(const shared::TProjectInfo& a, const shared::TProjectInfo& b) {
  return a.Title == b.Title && a.Client == b.Client && a.Author == b.Author && a.Date == b.Date &&
         a.Comments == b.Comments;
}

}  // namespace

TMainForm::TMainForm(TDocumentView* view, std::unique_ptr<TUserDialogs> dialogs,
                     shared::TClipboard& clipboard, QWidget* parent)
    : QMainWindow(parent),
      Document(view),
      Dialogs(dialogs ? std::move(dialogs) : std::make_unique<TQtUserDialogs>(this)),
      Clipboard(clipboard) {
  setObjectName(QStringLiteral("MainForm"));
  setWindowTitle(QString::fromStdString(shared::ProgramInfo().Title));
  setGeometry(233, 115, 765, 518);
  CreateToolBar();
  CreatePanels();
  CreateMenus();
  CreateKeys();
  UpdateCommands();
  FormCreate();
  Document->SetCommandRunner(
      [this](const std::function<void()>& command) { RunCommand(command, TWhileBusy::Refused); });
  // Queued: the take-over runs once the code that closed the last scope has finished.
  connect(
      &shared::ModalScopes(), &shared::TModalScopeNotifier::AllClosed, this,
      [this] { TakePendingClipboard(); }, Qt::QueuedConnection);
}

TMainForm::~TMainForm() {
  disconnect(QGuiApplication::clipboard(), nullptr, this, nullptr);
  if (StdOut().GetSink() == Memo1) StdOut().SetSink(nullptr);
  SaveSettings();
}

void TMainForm::OnTrigger(QAction* action, std::function<void()> command, TWhileBusy whileBusy) {
  connect(action, &QAction::triggered, this,
          [this, command = std::move(command), whileBusy] { RunCommand(command, whileBusy); });
}

// Every command runs guarded: an exception it raises is shown and goes no further.
void TMainForm::RunCommand(const std::function<void()>& command, TWhileBusy whileBusy) {
  if (whileBusy == TWhileBusy::Refused && Document->RefuseWhileBusy()) {
    // A check item flips itself before its command is asked.
    UpdateButtons();
    return;
  }
  ++CommandDepth;
  DeliverGuarded([&] {
    command();
    return true;
  });
  --CommandDepth;
  TakePendingClipboard();
}

void TMainForm::TakePendingClipboard() {
  if (CommandDepth > 0 || !ClipboardPending) return;
  ClipboardPending = false;
  ClipboardChanged();
}

// Commands whose dialogs the program has not made stay disabled.
void TMainForm::UpdateCommands() {
  FileExporttoExcel->setEnabled(AppDialogs().ExcelExportDlg != nullptr);
  ExportToExcelButton->setEnabled(AppDialogs().ExcelExportDlg != nullptr);
  FileHTMLReport->setEnabled(AppDialogs().HTMLPrintDialog != nullptr);
  PrintToolButton->setEnabled(AppDialogs().HTMLPrintDialog != nullptr);
  AnimationInputFunctionItem->setEnabled(AppDialogs().InputFunctionDlg != nullptr);
  EditMoveRotateResize->setEnabled(AppDialogs().MorphDlg != nullptr);
  ViewOptions->setEnabled(AppDialogs().AnimOptionsDlg != nullptr);
  ViewUnits->setEnabled(AppDialogs().ConvertDlg != nullptr);
  FileImportDXFBackground->setEnabled(AppDialogs().DXFImportDlg != nullptr);
  ImportDXFButton->setEnabled(AppDialogs().DXFImportDlg != nullptr);
  FileProjectInfo->setEnabled(AppDialogs().ProjectInfoDialog != nullptr);
  ProjectInfoButton->setEnabled(AppDialogs().ProjectInfoDialog != nullptr);
}

void TMainForm::FormCreate() {
  ShowHint(QString());
  // The properties frame shows and edits the view's mechanism. It is another part for the view,
  // which repaints and leaves the frame to fill itself again; every solution of the view
  // refreshes it.
  if (auto* view = dynamic_cast<TAnimationFrm*>(Document)) {
    PropertiesFrm1->Mechanism = &view->Mechanism();
    PropertiesFrm1->OnChange = [view] { view->MechanismChanged(TChangeSource::Other); };
    PropertiesFrm1->MayEdit = [view] { return !view->RefuseWhileBusy(); };
    view->OnChange = [this] { PropertiesFrm1->Refresh(); };
    PropertiesFrm1->Refresh();
  }
  PropertiesFrm1->OnColumnsFitted = [this] { FitPanelToProperties(); };
  // A panel the user sizes keeps its width until the table needs more than it does now.
  connect(Splitter1, &QSplitter::splitterMoved, this,
          [this] { FittedTableWidth = std::max(FittedTableWidth, PropertiesFrm1->NeededWidth()); });
  StdOut().SetSink(Memo1);
  ShowLeft = true;
  ShowLeftButton->setChecked(true);
  ViewShowLeft->setChecked(true);
  WireEditorFrames();
  connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] { ClipboardChanged(); });
}

void TMainForm::WireEditorFrames() {
  auto* view = dynamic_cast<TAnimationFrm*>(Document);
  if (!view) return;
  SplineEditFrm1->SetCurve(&view->Mechanism().Curve);
  AreaEditFrm1->SetAreas(&view->Mechanism().Areas);
  // An edit is recorded for Undo when it changed the document, and it re-solves and repaints, so
  // the drawing shows the point or area as it now is.
  const auto before = [this, view] { EditorUndo.emplace(view->Mechanism()); };
  const auto edited = [this, view] {
    if (EditorUndo) EditorUndo->Commit();
    EditorUndo.reset();
    view->MechanismChanged(TChangeSource::View);
  };
  SplineEditFrm1->OnBeforeApply = before;
  AreaEditFrm1->OnBeforeApply = before;
  SplineEditFrm1->OnChange = edited;
  AreaEditFrm1->OnChange = edited;
  // While a fit or a film runs the editors change nothing, as the view's own commands.
  SplineEditFrm1->MayEdit = [view] { return !view->RefuseWhileBusy(); };
  AreaEditFrm1->MayEdit = [view] { return !view->RefuseWhileBusy(); };
  view->OnCurveChange = [this] { SplineEditFrm1->Refresh(); };
  view->OnAreaChange = [this] { AreaEditFrm1->Refresh(); };
}

void TMainForm::RefreshEditorFrames() {
  SplineEditFrm1->Refresh();
  AreaEditFrm1->Refresh();
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (Shown) return;
  Shown = true;
  RunCommand([this] { FormShow(); });
}

void TMainForm::FormShow() {
  UpdateCommands();
  shared::Convert().SetRegistryKey(kConvertRegistryKey);
  SetRegistryKey(kRegistryKey);
  ApplyLanguage(0);
  const std::string fileName = ToPath(CommandLine);
  if (FileExists(fileName)) {
    try {
      Document->LoadFromFile(fileName);
    } catch (const std::exception& error) {
      ShowException(ExceptionText(error.what()));
    }
  } else {
    Document->NewMechanism(kFourbarPreset);
    ClearProjectInfo();
  }
  if (PanelWidthStored) FittedTableWidth = PropertiesFrm1->NeededWidth();
  FitPanelToProperties();
  UpdateCaption();
  PictureFileName.clear();
  AVIFileName.clear();
  // The drawing has the keys of the Edit menu from the start.
  Document->Widget()->setFocus();
}

// The left panel is as wide as the properties need, so no caption or number of the table is cut
// off: at the first start for the first document, and later whenever the table comes to need
// more than the panel was fitted or sized for (a value grown to many digits), up to half the
// window. A width the user chose, now or in an earlier run, stays until then.
void TMainForm::FitPanelToProperties() {
  if (!Shown || !PanelLeft->isVisible()) return;
  const int needed = PropertiesFrm1->NeededWidth();
  if (needed <= FittedTableWidth) return;
  FittedTableWidth = needed;
  const int missing = PropertiesFrm1->MissingWidth();
  if (missing <= 0) return;
  const int width =
      std::max(PanelLeft->width(), std::min(PanelLeft->width() + missing, Splitter1->width() / 2));
  PanelLeft->setMaximumWidth(std::max(PanelLeft->maximumWidth(), width));
  Splitter1->setSizes({width, std::max(1, Splitter1->width() - width)});
}

void TMainForm::closeEvent(QCloseEvent* event) {
  bool close = false;
  RunCommand([&] {
    close = AskSave() != TAnswer::Cancel;
    // A closing window takes nothing over any more, and a running curve fit ends with it.
    if (close) {
      ClipboardPending = false;
      Document->StopButtonClick();
    }
  });
  event->setAccepted(close);
}

bool TMainForm::event(QEvent* event) {
  if (event->type() == QEvent::StatusTip) {
    ShowHint(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  // The key of an Edit command reaches this window only when the focused widget did not claim
  // it. A text or table widget keeps the keys of its own text even where it does not claim them
  // (a read-only memo), so they select and copy there and not the mechanism.
  if (event->type() == QEvent::ShortcutOverride && IsTextEditKey(static_cast<QKeyEvent*>(event)) &&
      IsTextWidget(QApplication::focusWidget())) {
    event->accept();
    return true;
  }
  return QMainWindow::event(event);
}

bool TMainForm::IsTextEditKey(const QKeyEvent* key) const {
  const QKeySequence pressed(key->keyCombination());
  for (const QAction* item : {EditUndoItem, EditCopyItem, EditPasteItem, EditSelectAll}) {
    if (item->shortcut() == pressed) return true;
  }
  return false;
}

int TMainForm::MemoHeight() const {
  const QFontMetrics metrics(Memo1->font());
  const int margins = 2 * Memo1->frameWidth() + 2 * static_cast<int>(Memo1->document()->documentMargin());
  return std::max(kMemoHeight, kMemoLines * metrics.lineSpacing() + margins);
}

void TMainForm::ApplyLanguage(int index) {
  shared::ProgramInfo().SetLanguage(index);
  TLanguageFile texts;
  OpenLanguageFile(texts, shared::ProgramInfo().ExeDir);
  SetMenuTexts();
  if (AppDialogs().ExcelExportDlg) AppDialogs().ExcelExportDlg->ReadTexts(texts);
  if (AppDialogs().AnimOptionsDlg) AppDialogs().AnimOptionsDlg->SetLanguage(texts);
  Document->ReadTexts(texts);
  if (AppDialogs().DXFImportDlg) AppDialogs().DXFImportDlg->SetCaptions();
}

void TMainForm::SetMenuTexts() {
  const auto set = [](QAction* item, const char* caption, const char* hint) {
    item->setText(Pick(caption));
    if (hint) {
      item->setToolTip(Pick(hint));
      item->setStatusTip(Pick(hint));
    }
  };
  FileMenu->setTitle(Pick("&File"));
  set(FileNew, "&New", "New mechanism");
  set(FileOpen, "&Open...", "Open file");
  set(FileSave, "&Save", "Save mechanism");
  set(FileSaveas, "Save &As...", "Save mechanism with different name");
  set(FileExit, "E&xit", "Exit Quillon");
  EditMenu->setTitle(Pick("&Edit"));
  ViewMenu->setTitle(Pick("&View"));
  AnimationMenu->setTitle(Pick("&Animation"));
  HelpMenu->setTitle(Pick("&Help"));
  set(HelpContents, "&Contents...", "Help contents");
  set(HelpManual, "&Manual...", "Quillon Manual");
  set(HelpFeedback, "&Feedback...", "Tell us your ideas or report bugs");
  set(HelpAbout, "A&bout...", "About Quillon");
}

void TMainForm::SetRegistryKey(const std::string& key) {
  RegistryKey = key;
  LoadSettings();
  Document->SetRegistryKey(key);
  if (AppDialogs().ExcelExportDlg) AppDialogs().ExcelExportDlg->SetRegistryKey(key);
  SplineEditFrm1->SetRegistryKey(key);
  AreaEditFrm1->SetRegistryKey(key);
  RefreshEditorFrames();
  if (AppDialogs().DXFImportDlg) AppDialogs().DXFImportDlg->SetRegistryKey(key);
  UpdateButtons();
  Document->SetPolar(IsPolar);
  // The stored coordinate mode may differ from the one the table was filled in.
  PropertiesFrm1->Refresh();
}

void TMainForm::LoadSettings() {
  if (RegistryKey.empty()) return;
  const auto settings = shared::OpenSettings(RegistryKey);
  shared::TProgramInfo& info = shared::ProgramInfo();
  // A first start: the window takes most of the screen, so the drawing is its largest part also
  // where the desktop does not maximise it, and a later restore keeps that size.
  if (!settings->ValueExists("Main", "Width")) TakeFirstStartBounds();
  shared::RestoreWindowPlacement(*this, *settings, "Main", shared::TWindowState::Maximised, QRect(pos(), size()));
  // Until a file has been opened or saved the file dialogs start in the user's documents folder,
  // never in the program's folder.
  info.DataDir = shared::StartFolder(settings->ReadString("Main", "DataPath", ""), info.ExeDir);
  info.LastFile = settings->ReadString("Main", "LastFile", "");
  if (!FileExists(info.LastFile)) info.LastFile.clear();
  IsPolar = settings->ReadBool("Options", "IsPolar", false);
  ZoomAllOnSelect = settings->ReadBool("Options", "ZoomAllOnSelect", true);
  PanelWidthStored = settings->ReadInteger("Main", "PanelLeft", -1) >= 0;
  const int panelWidth = settings->ReadInteger("Main", "PanelLeft", PanelLeft->width());
  const int memoHeight = settings->ReadInteger("Main", "MessageMemo", Memo1->height());
  Splitter1->setSizes({panelWidth, std::max(1, Splitter1->width() - panelWidth)});
  Splitter2->setSizes({std::max(1, Splitter2->height() - memoHeight), memoHeight});
}

void TMainForm::TakeFirstStartBounds() {
  const QScreen* display = screen() ? screen() : QGuiApplication::primaryScreen();
  if (!display) return;
  const QRect available = display->availableGeometry();
  QRect bounds(QPoint(), (QSizeF(available.size()) * kFirstStartShare).toSize());
  bounds.moveCenter(available.center());
  setGeometry(bounds);
}

void TMainForm::SaveSettings() {
  if (RegistryKey.empty()) return;
  const auto settings = shared::OpenSettings(RegistryKey);
  const shared::TProgramInfo& info = shared::ProgramInfo();
  shared::StoreWindowPlacement(*this, *settings, "Main");
  settings->WriteString("Main", "DataPath", info.DataDir);
  settings->WriteString("Main", "LastFile", info.LastFile);
  settings->WriteBool("Options", "IsPolar", IsPolar);
  settings->WriteBool("Options", "ZoomAllOnSelect", ZoomAllOnSelect);
  settings->WriteInteger("Main", "PanelLeft", PanelLeft->width());
  settings->WriteInteger("Main", "MessageMemo", Memo1->height());
}

void TMainForm::ShowHint(const QString& hint) { StatusPanel1->setText(hint); }

bool TMainForm::AskReplace() { return !Document->RefuseWhileBusy() && AskSave() != TAnswer::Cancel; }

TAnswer TMainForm::AskSave() {
  if (!Document->IsModified()) return TAnswer::No;
  const TAnswer answer = Dialogs->Ask(QStringLiteral("Save ?"));
  if (answer == TAnswer::Yes && !FileSaveClick()) return TAnswer::Cancel;
  return answer;
}

void TMainForm::UpdateCaption() {
  const QString name = QFileInfo(FromPath(Document->FileName())).fileName();
  setWindowTitle(QStringLiteral("%1 - %2").arg(name, QString::fromStdString(shared::ProgramInfo().Title)));
}

void TMainForm::UpdateButtons() {
  XYButton->setChecked(!IsPolar);
  PolarButton->setChecked(IsPolar);
  ShowLeftButton->setChecked(ShowLeft);
  ShowGraphButton->setChecked(Document->IsGraphVisible());
  ViewShowLeft->setChecked(ShowLeft);
  ViewShowGraph->setChecked(Document->IsGraphVisible());
}

bool TMainForm::HasFile(const std::string& fileName) const {
  return fileName != shared::ProgramInfo().DefaultName && FileExists(fileName);
}

bool TMainForm::SaveDocument(const std::string& fileName) {
  try {
    Document->SaveToFile(fileName);
    return true;
  } catch (const std::exception& error) {
    ShowException(ExceptionText(error.what()));
    return false;
  }
}

bool TMainForm::ConfirmReplace(const QString& fileName) {
  if (!FileExists(ToPath(fileName))) return true;
  return Dialogs->Ask(fileName + QStringLiteral(" already exists !\nReplace ?")) == TAnswer::Yes;
}

void TMainForm::FileNewClick() {
  if (!AskReplace()) return;
  Document->NewMechanism(kCustomPreset);
  ClearProjectInfo();
  UpdateCaption();
  PictureFileName.clear();
  AVIFileName.clear();
}

void TMainForm::FourbarButtonClick(int tag) {
  if (!AskReplace()) return;
  Document->NewMechanism(tag);
  ClearProjectInfo();
  PictureFileName.clear();
  UpdateCaption();
}

void TMainForm::FileOpenClick() {
  if (!AskReplace()) return;
  TFileRequest request;
  request.Title = QStringLiteral("Open Quillon Mechanism File");
  request.Filter = QString::fromLatin1(kMechanismFilter);
  request.DefaultExt = QStringLiteral("mech");
  request.InitialDir = FromPath(shared::ProgramInfo().DataDir);
  if (!Dialogs->PickOpenFile(request)) return;
  const std::string fileName = ToPath(request.FileName);
  // Read errors go on to the one exception handler.
  Document->LoadFromFile(fileName);
  UpdateCaption();
  PictureFileName.clear();
  shared::ProgramInfo().DataDir = shared::FolderOfFile(fileName);
  shared::ProgramInfo().LastFile = fileName;
}

bool TMainForm::FileSaveClick() {
  const std::string fileName = Document->FileName();
  if (HasFile(fileName)) {
    // A document read from a damaged file replaces that file only when the user says so.
    if (Document->DiffersFromFile() && !ConfirmReplace(FromPath(fileName))) return false;
    return SaveDocument(fileName);
  }
  return FileSaveasClick();
}

bool TMainForm::FileSaveasClick() {
  TFileRequest request;
  request.Title = QStringLiteral("Save Quillon Mechanism File");
  request.Filter = QString::fromLatin1(kMechanismFilter);
  request.DefaultExt = QStringLiteral("mech");
  request.InitialDir = FromPath(shared::ProgramInfo().DataDir);
  if (!Dialogs->PickSaveFile(request)) return false;
  if (!ConfirmReplace(request.FileName)) return false;
  const std::string fileName = ToPath(request.FileName);
  if (!SaveDocument(fileName)) return false;
  UpdateCaption();
  shared::ProgramInfo().DataDir = shared::FolderOfFile(fileName);
  shared::ProgramInfo().LastFile = fileName;
  return true;
}

void TMainForm::FileLastFileItemClick() {
  if (!AskReplace()) return;
  const std::string fileName = shared::ProgramInfo().LastFile;
  if (!FileExists(fileName)) return;
  Document->LoadFromFile(fileName);
  UpdateCaption();
  PictureFileName.clear();
  shared::ProgramInfo().DataDir = shared::FolderOfFile(fileName);
}

void TMainForm::FileMenuClick() {
  const std::string& lastFile = shared::ProgramInfo().LastFile;
  const bool hasLastFile = !lastFile.empty();
  FileN4->setVisible(hasLastFile);
  FileLastFileItem->setVisible(hasLastFile);
  if (!hasLastFile) return;
  FileLastFileItem->setText(QFileInfo(FromPath(lastFile)).fileName());
  FileLastFileItem->setToolTip(FromPath(lastFile));
  FileLastFileItem->setStatusTip(FromPath(lastFile));
}

void TMainForm::FileExportPictureClick() {
  TFileRequest request;
  request.Title = QStringLiteral("Export Picture");
  request.Filter = QStringLiteral("Bitmap Files (*.bmp)|*.bmp|JPEG Files (*.jpg)|*.jpg|All Files|*.*");
  request.DefaultExt = QStringLiteral("bmp");
  request.FileName = FromPath(PictureFileName);
  if (!Dialogs->PickSaveFile(request)) {
    PictureFileName.clear();
    return;
  }
  const std::string fileName = ToPath(request.FileName);
  if (request.FilterIndex == 1) {
    PictureFileName = WithExtension(fileName, ".bmp");
  } else if (request.FilterIndex == 2) {
    PictureFileName = WithExtension(fileName, ".jpg");
  } else {
    PictureFileName.clear();
  }
  if (!PictureFileName.empty()) Document->ExportPicture(PictureFileName);
}

void TMainForm::FileCreateAVIVideoClick() {
  TFileRequest request;
  request.Title = QStringLiteral("Create AVI Video");
  request.Filter = QStringLiteral("AVI Files|*.avi|All Files|*.*");
  request.DefaultExt = QStringLiteral("avi");
  request.FileName = FromPath(AVIFileName);
  if (!Dialogs->PickSaveFile(request)) {
    AVIFileName.clear();
    return;
  }
  AVIFileName = WithExtension(ToPath(request.FileName), ".avi");
  if (!ConfirmReplace(FromPath(AVIFileName))) return;
  Document->ExportAVI(AVIFileName);
  StdOut().Message(PathForLog(AVIFileName));
}

void TMainForm::FileHTMLReportClick() { Document->WriteHTMLReport(); }

void TMainForm::FileExporttoExcelClick() { Document->ExportToExcel(); }

void TMainForm::FileImportDXFBackgroundClick() { Document->PopDXFDrawingClick(); }

void TMainForm::FileExitClick() { close(); }

void TMainForm::EditUndoItemClick() { Document->Undo(); }

void TMainForm::EditCopyItemClick() { Document->CopyToClipboard(); }

void TMainForm::EditPasteItemClick() {
  if (!AskReplace()) return;
  Document->PasteFromClipboard();
  UpdateCaption();
  PictureFileName.clear();
}

void TMainForm::EditSelectAllClick() { Document->SelectAll(); }

void TMainForm::EditMoveRotateResizeClick() { Document->PopMoveRotateResizeClick(); }

void TMainForm::AnimationInputFunctionItemClick() { Document->InputButtonClick(); }

void TMainForm::AnimationStartItemClick() { Document->StartButtonClick(AnimationStartItem); }

void TMainForm::AnimationStopItemClick() { Document->StopButtonClick(); }

void TMainForm::ViewZoomAllClick() { Document->ZoomAllButtonClick(); }

void TMainForm::ViewOptionsClick() { Document->EditOptions(); }

void TMainForm::ShowLeftButtonClick(QObject* sender) {
  if (sender != ShowLeftButton) ShowLeftButton->setChecked(!ShowLeftButton->isChecked());
  ShowLeft = ShowLeftButton->isChecked();
  PanelLeft->setVisible(ShowLeft);
  ViewShowLeft->setChecked(ShowLeft);
}

void TMainForm::ShowGraphButtonClick(QObject* sender) {
  if (sender != ShowGraphButton) ShowGraphButton->setChecked(!ShowGraphButton->isChecked());
  Document->SetGraphVisible(ShowGraphButton->isChecked());
  ViewShowGraph->setChecked(ShowGraphButton->isChecked());
}

void TMainForm::XYButtonClick() {
  IsPolar = PolarButton->isChecked();
  PropertiesFrm1->Refresh();
  Document->SetPolar(IsPolar);
  RefreshEditorFrames();
}

void TMainForm::ViewUnitsClick() {
  if (!AppDialogs().ConvertDlg) return;
  ShowModal(*AppDialogs().ConvertDlg);
  PropertiesFrm1->Refresh();
  Document->RefreshGraph();
  // The editors show their values in the new units, and Apply reads them so.
  RefreshEditorFrames();
}

void TMainForm::FileProjectInfoClick() {
  shared::TProjectInfoDialog* dialog = AppDialogs().ProjectInfoDialog;
  if (!dialog) return;
  const shared::TProjectInfo before = dialog->Info;
  ShowModal(*dialog);
  // The information is saved with the document, so an edit of it is a change to save.
  if (!SameProjectInfo(before, dialog->Info)) Document->SetModified(true);
}

void TMainForm::HelpAboutClick() {
  shared::TAboutDlg about(shared::AboutInfoFor(shared::ProgramInfo()), this);
  ShowModal(about);
}

void TMainForm::ClearProjectInfo() {
  if (AppDialogs().ProjectInfoDialog) AppDialogs().ProjectInfoDialog->SetDefaults();
}

void TMainForm::HelpContentsClick() {
  const std::string& help = shared::ProgramInfo().HelpPath;
  if (ReportMissing("The help file ", help)) return;
  // What showing the help does, with a word when no program shows it.
  OpenOrTell(help, NotOpenedText(QStringLiteral("The help file"), shared::FromPath(help)));
}

void TMainForm::HelpManualClick() {
  const std::string& manual = shared::ProgramInfo().ManualPath;
  if (ReportMissing("The manual ", manual)) return;
  OpenOrTell(manual, NotOpenedText(QStringLiteral("The manual"), shared::FromPath(manual)));
}

bool TMainForm::ReportMissing(const std::string& what, const std::string& path) {
  if (FileExists(path)) return false;
  StdOut().Error(what + PathForLog(path) + " does not exist!");
  return true;
}

void TMainForm::HelpFeedbackClick() {
  const std::string& page = shared::ProgramInfo().FeedbackURL;
  OpenOrTell(page, NotOpenedText(QStringLiteral("The feedback page"), shared::ToQString(page)));
}

void TMainForm::ClipboardChanged() {
  // A change that arrives while the question of an earlier one is open (its modal loop runs) is
  // not checked again; the paste that follows reads the clipboard as it is by then.
  if (CheckingClipboard) return;
  // While another command, a dialog or a loop that pumps messages runs, the change waits for its
  // end: no paste comes between a "Save ?" answer and the command it was given for, nor replaces
  // the document under a dialog that edits it.
  if (CommandDepth > 0 || !shared::BackgroundMayRun()) {
    ClipboardPending = true;
    return;
  }
  CheckingClipboard = true;
  RunCommand([this] { TakeClipboard(); });
  CheckingClipboard = false;
}

void TMainForm::TakeClipboard() {
  if (!shared::TabLines().LoadFromClipboard(Clipboard)) return;
  if (Document->CheckClipboardHeader() != 2) return;
  if (!AskReplace()) return;
  Document->PasteFromClipboard();
  UpdateCaption();
  PictureFileName.clear();
}

}  // namespace quillon
