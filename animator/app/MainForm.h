// TMainForm: the animator's main window. Menus, tool bar and keys of the whole program, the left
// panel with the message memo, the animation view on the right, the window's settings, the
// document questions and the clipboard watcher that takes over mechanisms of the synthesis
// program.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "animator/app/DocumentView.h"
#include "animator/engine/UndoStep.h"
#include "shared/qt/PathName.h"
#include "shared/qt/UserDialogs.h"

class QAction;
class QKeyEvent;
class QActionGroup;
class QLabel;
class QMenu;
class QSplitter;
class QTabWidget;
class QToolBar;

namespace shared {
class TClipboard;
}

namespace quillon {

using shared::FromPath;
using shared::PathForLog;
using shared::TAnswer;
using shared::TFileRequest;
using shared::ToPath;
using shared::TQtUserDialogs;
using shared::TUserDialogs;

class TMessageMemo;
class TPropertiesFrm;
class TSplineEditFrm;
class TAreaEditFrm;

// Program-wide switches of the main window's module: coordinates shown as R/angle instead of
// x/y, and the left panel shown.
extern bool IsPolar;
extern bool ShowLeft;

inline constexpr const char* kRegistryKey = "Software\\Orvane\\Quillon";
inline constexpr const char* kConvertRegistryKey = "Software\\Orvane\\Convert";
inline constexpr const char* kMechanismFilter = "Quillon Mechanism Files|*.mech|All Files|*.*";

using shared::DocumentsFolder;

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  // The view is parented by the form; without dialogs the form shows Qt's own. The clipboard is
  // not owned and outlives the form.
  TMainForm(TDocumentView* view, std::unique_ptr<TUserDialogs> dialogs, shared::TClipboard& clipboard,
            QWidget* parent = nullptr);
  ~TMainForm() override;

  // The document the first showing opens; set before the form is shown.
  void SetCommandLine(const QString& fileName) { CommandLine = fileName; }
  TDocumentView& View() { return *Document; }

  std::string PictureFileName;
  std::string AVIFileName;
  std::string RegistryKey;
  // Kept and written back; nothing else reads it.
  bool ZoomAllOnSelect = true;

  void ApplyLanguage(int index);
  void SetMenuTexts();
  void SetRegistryKey(const std::string& key);
  void LoadSettings();
  void SaveSettings();
  void ShowHint(const QString& hint);
  // No without a question when the document is unmodified. Yes saves first; when that save is
  // cancelled or fails the answer is Cancel, so no caller drops the document.
  TAnswer AskSave();
  // Before a command that replaces the document: false when the view refuses (a loop runs) or
  // the user cancels "Save ?".
  bool AskReplace();
  void UpdateCaption();
  void UpdateButtons();

  // Commands, named after the menu items and tool buttons that run them.
  void FileNewClick();
  void FileOpenClick();
  // True when the document was written.
  bool FileSaveClick();
  bool FileSaveasClick();
  void FileLastFileItemClick();
  void FileExportPictureClick();
  void FileCreateAVIVideoClick();
  void FileHTMLReportClick();
  void FileExporttoExcelClick();
  void FileImportDXFBackgroundClick();
  void FileExitClick();
  void FileMenuClick();
  void EditUndoItemClick();
  void EditCopyItemClick();
  void EditPasteItemClick();
  void EditSelectAllClick();
  void EditMoveRotateResizeClick();
  void AnimationInputFunctionItemClick();
  void AnimationStartItemClick();
  void AnimationStopItemClick();
  void ViewZoomAllClick();
  void ViewOptionsClick();
  void ViewUnitsClick();
  void FileProjectInfoClick();
  void HelpAboutClick();
  void ShowLeftButtonClick(QObject* sender);
  void ShowGraphButtonClick(QObject* sender);
  void XYButtonClick();
  void FourbarButtonClick(int tag);
  void HelpContentsClick();
  void HelpManualClick();
  void HelpFeedbackClick();
  // The clipboard changed: a mechanism of the synthesis program becomes the document. While a
  // command, a dialog or a loop runs, the change is taken over when it has finished.
  void ClipboardChanged();

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate();
  void FormShow();
  void FitPanelToProperties();
  void CreateMenus();
  void CreateToolBar();
  void CreatePanels();
  void CreateKeys();
  void UpdateCommands();
  // The curve and area editors edit the view's curve and areas and report to the view.
  void WireEditorFrames();
  void RefreshEditorFrames();
  void ClearProjectInfo();
  // A command of the user is refused while the view is busy (a curve fit or a film runs), with
  // the view's notice; one that stops the loop acts, as do showing, closing and the clipboard
  // take-over (which waits for the loop by itself).
  enum class TWhileBusy { Refused, Acts };
  QAction* NewAction(const char* name, const QString& caption, const QString& hint = QString());
  void OnTrigger(QAction* action, std::function<void()> command, TWhileBusy whileBusy = TWhileBusy::Refused);
  // Runs a command (menu, button, key, showing, closing, clipboard take-over) with its
  // exceptions shown; a clipboard change that came meanwhile is taken over at the end.
  void RunCommand(const std::function<void()>& command, TWhileBusy whileBusy = TWhileBusy::Acts);
  // A change that waited is taken over once no command runs and no modal scope is open.
  void TakePendingClipboard();
  void TakeClipboard();
  // Saves the document under the name; a failure is shown and gives false.
  bool SaveDocument(const std::string& fileName);
  // False for a document that has no file yet, also when a file of the default name exists.
  bool HasFile(const std::string& fileName) const;
  bool ConfirmReplace(const QString& fileName);
  // A help or manual file that is not there is named in the log as an error: true.
  bool ReportMissing(const std::string& what, const std::string& path);
  void TakeFirstStartBounds();
  // A key of the Edit menu's commands (undo, copy, paste, select all).
  bool IsTextEditKey(const QKeyEvent* key) const;
  // Lines of the memo in the font of this desktop, at least the height it was laid out with.
  int MemoHeight() const;

  TDocumentView* Document;
  std::unique_ptr<TUserDialogs> Dialogs;
  shared::TClipboard& Clipboard;
  QString CommandLine;
  bool Shown = false;
  // The left panel's width came from the settings: the user's, kept as it is.
  bool PanelWidthStored = false;
  // The table width the left panel was last fitted to, or that the user sized it for: the panel
  // widens again only for a table that needs more.
  int FittedTableWidth = 0;
  bool CheckingClipboard = false;
  int CommandDepth = 0;
  bool ClipboardPending = false;
  // The document before the curve or area editor applies an edit.
  std::optional<TUndoStep> EditorUndo;

 public:
  // Components, named as the window's parts are named.
  QToolBar* ToolBar1;
  QAction* NewToolButton;
  QAction* OpenToolButton;
  QAction* SaveToolButton;
  QAction* ProjectInfoButton;
  QAction* PrintToolButton;
  QAction* ImportDXFButton;
  QAction* ExportToExcelButton;
  QAction* ExportAsJPEGButton;
  QAction* AVIButton;
  QAction* ShowLeftButton;
  QAction* ShowGraphButton;
  QAction* XYButton;
  QAction* PolarButton;
  QActionGroup* CoordinateGroup;
  QList<QAction*> TypeButtons;

  QSplitter* Splitter1;
  QWidget* PanelLeft;
  QSplitter* Splitter2;
  QTabWidget* PageControl1;
  TPropertiesFrm* PropertiesFrm1;
  TSplineEditFrm* SplineEditFrm1;
  TAreaEditFrm* AreaEditFrm1;
  TMessageMemo* Memo1;
  QWidget* PanelRight;
  QLabel* StatusPanel0;
  QLabel* StatusPanel1;

  QMenu* FileMenu;
  QMenu* EditMenu;
  QMenu* ViewMenu;
  QMenu* AnimationMenu;
  QMenu* HelpMenu;
  QAction* FileNew;
  QAction* FileOpen;
  QAction* FileSave;
  QAction* FileSaveas;
  QAction* FileImportDXFBackground;
  QAction* FileExporttoExcel;
  QAction* FileExportPicture;
  QAction* FileCreateAVIVideo;
  QAction* FileProjectInfo;
  QAction* FileHTMLReport;
  QAction* FileExit;
  QAction* FileN4;
  QAction* FileLastFileItem;
  QAction* EditUndoItem;
  QAction* EditCopyItem;
  QAction* EditPasteItem;
  QAction* EditSelectAll;
  QAction* AnimationInputFunctionItem;
  QAction* EditMoveRotateResize;
  QAction* ViewShowLeft;
  QAction* ViewShowGraph;
  QAction* ViewZoomAll;
  QAction* ViewUnits;
  QAction* ViewOptions;
  QAction* AnimationStartItem;
  QAction* AnimationStopItem;
  QAction* HelpContents;
  QAction* HelpManual;
  QAction* HelpFeedback;
  QAction* HelpAbout;
};

}  // namespace quillon
