// TMainForm: the synthesis program's main window. It owns the curve, the pivot areas, the three
// drawing views, the graph and the progress display; holds the project name, caption, recent
// files and window settings; and carries the menus, tool bar and status bar of the program.
#pragma once

#include <QMainWindow>
#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "shared/Complex.h"
#include "shared/SynthCanvas2D.h"
#include "shared/qt/UserDialogs.h"

class QAction;
class QActionGroup;
class QDialog;
class QLabel;
class QMenu;
class QProgressBar;
class QScrollArea;
class QSplitter;
class QTabWidget;
class QTableWidget;
class QTimer;
class QToolBar;
class QTreeWidget;

namespace shared {
class TConvertDlg;
class TDXFDrawing;
class TProjectInfo;
class THTMLPrintDialog;
class TProjectInfoDialog;
class TQtPaintBox;
class TQtStatusPanel;
}  // namespace shared

namespace vesk {

class TArea;
class TAreaList;
class TExcelExportDialog;
class TFileProgressDlg;
class TGenerateProgress;
class TInputFunctionDlg;
class TMechanismList;
class TMechOptimize;
class TQtListView;
class TQtPropertiesGrid;
class TSolutionView;
class TQtGraphPaintBox;
class TQtProgressPanel;
class TSpline;
class TSynthOptionsDlg;

inline constexpr const char* kConvertRegistryKey = "Software\\Orvane\\Convert";
inline constexpr const char* kProjectFilter = "Vesk files (*.vesk)|*.vesk;*.vsk|All files (*.*)|*.*";

// Reading and writing of a whole project. The window works without one (its file commands stay
// disabled) until the project file module is handed to it.
class TProjectStore {
 public:
  virtual ~TProjectStore() = default;
  // Both raise on failure; the window shows the message.
  virtual void Read(const std::string& path) = 0;
  virtual void Write(const std::string& path) = 0;
  // A new project: forget what the last read kept.
  virtual void Clear() {}
  // The ground-link drawing's file, as the next write stores it.
  virtual void SetGroundDrawingName(const std::string&) {}
};

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  // Dialogs: the questions and file dialogs (the real ones when null).
  explicit TMainForm(std::unique_ptr<shared::TUserDialogs> dialogs = nullptr, QWidget* parent = nullptr);
  ~TMainForm() override;

  // Start-up after creation: the settings key, the options shown, then the command-line project.
  void FormShow(const QString& commandLine);

  // Settings of the window under the key; nothing is read or written while it is empty.
  void SetRegistryKey(const std::string& key);
  void LoadSettings();
  void SaveSettings();

  void UpdateCaption();
  bool IsProjectModified() const;
  shared::TAnswer AskSave();
  void NewProject();
  void RefreshAll();
  void ClearSelections();
  void ReflectOptions();
  void FollowTypeButtons();
  void ResetTypeButtons();
  // Enables the commands; those whose dialog, view or engine is not in the program stay off.
  void UpdateControls();

  // Commands. Those that can be cancelled answer whether they went through.
  bool FileNew();
  bool FileOpen();
  bool FileSave();
  bool FileSaveAs();
  bool FileLastOpenedClick(int tag);
  void FileMenuClick();
  void FileProjectInfoItemClick();
  // The HTML report of the current solution, opened on the desktop.
  void FileReportItemClick();
  // The report options, kept from one report to the next; made at the first report.
  shared::THTMLPrintDialog* HTMLPrintDialog = nullptr;
  void HelpQuickTutorialClick();
  void HelpUsersGuideClick();
  void HelpFeedbackItemClick();
  void HelpEmailOrvaneClick();
  void HelpAbout();
  void SynthesisOptionsClick();
  void ViewUnitsClick();
  // Imports: curve points from worksheet 1 of a workbook, the ground-link and output-link DXF
  // drawings.
  bool FileImportFromExcelItemClick();
  bool FileImportDXFClick();
  bool ImportOutputLinkButtonClick();

  // Exports of the current solution; nothing happens without one. A file that cannot be
  // written, the SAM refusal or a desktop that opens nothing raise with the message.
  void FileExporttoQuillonItemClick();
  void FileExportToExcelItemClick();
  void FileExporttoSAMItemClick();
  // The Excel export options, made at the first use and kept for the run.
  TExcelExportDialog& ExcelExportDialog();

  // Views: modes, mouse, picking, properties, deletion, zoom and the view commands.
  // Mouse modes of the views.
  static constexpr int kModeProperties = 1;
  static constexpr int kModeZoomIn = 2;
  static constexpr int kModeZoomOut = 3;
  static constexpr int kModeAddArea = 4;
  static constexpr int kModeAddCurvePoint = 5;
  static constexpr int kModeDrawLine = 7;
  static constexpr int kModeDelete = 9;
  void SelectButtonClick(int tag);
  void SelectCouplerButtonClick(int tag);
  void SelectBackGroundButtonClick(int tag);
  void ViewZoomInClick(int tag);
  void ViewZoomAllClick();
  void ZoomAll(int view);
  // Zoom All of the three views, as after opening a project.
  void ZoomAllViews();
  void CentreScrollBox(int view);
  void EditMenuClick();
  void PopupMenu1Popup();
  void LowSpeedToolButtonClick(int tag);
  void NewCouplerButtonClick();
  void NewBackGroundButtonClick();
  void OriginCouplerButtonClick();
  void LayerSelectButtonClick();
  void LayerPopupMenuPopup();
  void XYToolButtonClick(bool polar);
  // The graph: its tab chooses the quantity, the time button the x axis; both refill it.
  void GraphTabControlChange(int index);
  void XisTimeButtonClick();
  void AnalysisInputFunctionClick();
  void MouseWheel(int delta);
  void FormKeyDown(int key);
  // Mouse handlers of the three views (the canvas has seen the event first).
  void MechMouseDown(Qt::MouseButton button, int x, int y);
  void MechMouseMove(uint8_t shift, int x, int y);
  void MechMouseUp();
  void MechDoubleClick();
  void CouplerMouseDown(Qt::MouseButton button, int x, int y);
  void CouplerMouseMove(uint8_t shift, int x, int y);
  void CouplerMouseUp();
  void CouplerDoubleClick();
  void MechProperties();
  void MechDelete();
  void CouplerProperties();
  void CouplerDelete();
  int ActiveView() const;
  // The tool buttons of the view show its mode.
  void ShowMode(int view);

  // The solution list's side of the views; null until the list is wired in.
  void SetSolutionView(std::unique_ptr<TSolutionView> view);
  TSolutionView* SolutionView() const { return FSolution.get(); }
  // The work the idle turns run, one at a time: a generation or an optimisation of the current
  // solution (while FOptimizer holds it).
  enum class TWork { None, Generation, Optimization };
  TWork Work = TWork::None;
  // No work runs: the commands that would change or free the solutions it holds may act.
  bool Idle() const { return Work == TWork::None; }
  // The last item picked in the mechanism view.
  struct TPickHit {
    int Kind = 0;
    int Index = 0;
  } PickHit;

  // The solution list, with the list view, grid and graph as its views.
  TMechanismList& Solutions() { return *FSolutions; }
  // Generation and optimisation toggles; the sender flips the button unless it is the button.
  void SynthesisGenerateClick(QObject* sender);
  void OptimizeButtonClick(QObject* sender);
  void UndoOptimizeButtonClick();
  // One turn of the idle work; true when the run has ended.
  bool GenerateIdle();
  bool OptimizeIdle();
  // Milliseconds of candidates per generation turn.
  int GenerateTurnMs = 15;
  // The list view and its popup.
  void MechListViewSelect();
  void MechListViewDblClick();
  void ListPopUpMarkClick();
  void ListPopUpDeleteClick();
  void ListPopUpClearAllClick();
  // The system beep, the error box with OK and the information box; tests record them.
  std::function<void()> Beep;
  std::function<void(const QString& text)> ErrorBox;
  std::function<void(const QString& text)> InfoBox;
  // Sweeps of the running optimisation, 0 when none runs.
  int32_t OptimizeSweeps() const;
  // The animation of the current solution: once out to the end of its input and back.
  void AnimationStartClick(QObject* sender);
  void PauseButtonClick(QObject* sender);
  void AnimationResetClick();
  void AnimationStepClick(bool forward);
  void AnimTimerTick();
  // > 0 steps forward, else back.
  int AnimationDirection = 1;
  QAction* StepCCWButton;
  QAction* StartButton;
  QAction* PauseButton;
  QAction* StopButton;
  QAction* StepCWButton;
  // Stands for the idle handler: a zero-interval timer runs while a toggle is down.
  QTimer* IdleTimer;
  QMenu* ListPopupMenu;
  QAction* ListPopUpOptimize;
  QAction* ListPopUpMark;
  QAction* ListPopUpDelete;
  QAction* ListPopUpClearAll;
  QAction* ListPopUpInputFunction;

  // The project file module; null leaves the file commands disabled.
  void SetProjectStore(std::unique_ptr<TProjectStore> store);
  // The program's project-information dialog, created after the window; not owned.
  // The dialog's Help goes through the window's, which says when there is no help to show.
  void SetProjectInfoDialog(shared::TProjectInfoDialog* dialog);
  // Shows a modal dialog; tests answer it without an event loop. The window calls it through
  // RunModal, which holds the idle work while the dialog is open.
  std::function<int(QDialog& dialog)> ShowModal;

  const std::string& ProjectName() const { return FProjectName; }
  bool Modified = false;
  bool Closing = false;
  const std::string& RegistryKey() const { return FRegistryKey; }

  // Model objects owned by the window.
  TSpline& Curve() { return *FCurve; }
  TAreaList& GroundAreas() { return *FGroundAreas; }
  TAreaList& CouplerAreas() { return *FCouplerAreas; }
  shared::TDXFDrawing& GroundDrawing() { return *FGroundDrawing; }
  TGenerateProgress& Progress() { return *FProgress; }
  TQtGraphPaintBox& GraphBox() { return *FGraphBox; }
  shared::TSynthCanvas2D& Canvas(int view) { return *FCanvases.at(view); }
  shared::TConvertDlg& ConvertDlg() { return *FConvertDlg; }
  TSynthOptionsDlg& SynthOptionsDlg() { return *FSynthOptionsDlg; }
  TInputFunctionDlg& InputFunctionDlg() { return *FInputFunctionDlg; }
  // The mechanism type that the next generation makes; the four-bar after ResetTypeButtons.
  int NewType = 0;

  // Components, named as the program's forms name them.
  QWidget* PanelLeft;
  QSplitter* MainSplitter;
  QSplitter* LeftSplitter;
  QSplitter* RightSplitter;
  QTreeWidget* MechListView;
  QTableWidget* StringGrid1;
  QWidget* ProgressPanel;
  QProgressBar* ProgressBar1;
  // The remaining time ("Not Active" until a run updates it) beside the bar's " Generating".
  QLabel* RemainingLabel;
  QLabel* GeneratingLabel;
  QTabWidget* MechPageControl;
  QWidget* MechTabSheet;
  QWidget* OutputLinkTabSheet;
  QWidget* GroundTabSheet;
  std::array<QScrollArea*, 3> ScrollBoxes{};
  QWidget* PaintBox1;
  QWidget* PaintBox2;
  QWidget* PaintBox3;
  QTabWidget* GraphTabControl;
  QWidget* GraphPaintBox;
  QWidget* StatusLine;
  std::array<QLabel*, 4> StatusPanels{};
  QToolBar* ToolBar1;
  QToolBar* ToolBar2;
  // The tool bars above the three views and their mode buttons (mode in each action's data).
  std::array<QToolBar*, 3> ViewToolBars{};
  std::array<std::vector<QAction*>, 3> ModeButtons;
  QAction* ZoomAllButton;
  QAction* ZoomAllCouplerButton;
  QAction* ZoomAllBackGroundButton;
  QAction* LayerSelectButton;
  QMenu* LayerPopupMenu;
  QAction* LayerOutputItem;
  QAction* LayerGroundItem;
  QAction* LayerInstantCenterItem;
  QAction* NewCouplerButton;
  QAction* OriginCouplerButton;
  QAction* NewBackGroundButton;
  QAction* ImportFromExcelButton;
  QAction* ExportToExcelButton;
  QAction* ImportBackGroundButton;
  QAction* ImportOutputLinkButton;
  // The views' popups: the mode commands of the mechanism and output-link views.
  QMenu* PopupMenu1;
  QMenu* CouplerPopupMenu;
  // The animation's timer; it runs only with a current solution.
  QTimer* AnimTimer;

  QMenu* FileMenu;
  QMenu* EditMenu;
  QMenu* ViewMenu;
  QMenu* AnalysisMenu;
  QMenu* SynthesisMenu;
  QMenu* HelpMenu;
  QAction* FileNewItem;
  QAction* FileOpenItem;
  QAction* FileSaveItem;
  QAction* FileSaveAsItem;
  QAction* FileImportDXF;
  QAction* FileExportToExcelItem;
  QAction* FileImportFromExcelItem;
  QAction* FileExporttoSAMItem;
  QAction* FileExporttoQuillonItem;
  QAction* FileProjectInfoItem;
  QAction* FileReportItem;
  QAction* FileExitItem;
  QAction* FileRecentSeparator;
  QAction* FileLastOpened1Item;
  QAction* FileLastOpened2Item;
  QAction* EditSelectItem;
  QAction* EditPropertiesItem;
  QAction* EditAddCurvePointItem;
  QAction* EditDrawLineItem;
  QAction* EditAddAreaItem;
  QAction* EditDeleteItem;
  QAction* ViewZoomAllItem;
  QAction* ViewZoomInItem;
  QAction* ViewZoomOutItem;
  QAction* ViewShowListItem;
  QAction* ViewShowGraphItem;
  QAction* ViewZoomAllOnSelectItem;
  QAction* ViewUnitsItem;
  QAction* AnalysisStartItem;
  QAction* AnalysisResetItem;
  QAction* AnalysisInputFunctionItem;
  QAction* SynthesisGenerate;
  QAction* SynthesisOptimize;
  QAction* SynthesisUndoOptimizeItem;
  QAction* SynthesisOptionsItem;
  QAction* HelpContentsItem;
  QAction* HelpSearchItem;
  QAction* HelpHowToUseItem;
  QAction* HelpQuickTutorialItem;
  QAction* HelpUsersGuideItem;
  QAction* HelpFeedbackItem;
  QAction* HelpAboutItem;

  // Tool bar.
  QAction* NewButton;
  QAction* OpenButton;
  QAction* SaveButton;
  QAction* PrintButton;
  QAction* ProjectInfoButton;
  QAction* GenerateButton;
  QAction* OptimizeButton;
  QAction* UndoOptimizeButton;
  // The list's and the input function's commands, beside the popup's items.
  QAction* ListDeleteButton;
  QAction* ClearListButton;
  QAction* InputFunctionButton;
  std::array<QAction*, 9> MechButtons{};  // by type number; 4 is not a type and stays null
  QAction* HelpMechanismsButton;
  QAction* ShowListToolButton;
  QAction* ShowGraphToolButton;
  QAction* ZoomAllOnSelectToolButton;
  QAction* XYToolButton;
  QAction* PolarToolButton;
  QAction* XIsTimeToolButton;
  std::array<QAction*, 3> SpeedToolButtons{};  // low, medium, high

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateComponents();
  void CreateMenus();
  void CreateToolBar();
  void CreateViews();
  void CreateViewTools();
  void ShowViewToolPictures();
  void CreateGraphTabs();
  void RefillGraph();
  void CreateImportCommands();
  void UpdateImportControls(bool idle);
  // The file of an import, "" when cancelled; an existing file's folder becomes the data path.
  std::string PickImportFile(const QString& title, const char* filter, const QString& defaultExt);
  void SetViewMode(int view, int mode);
  void MechPick();
  void CouplerPick();
  // An area whose corner the mouse holds, and its corners before the press; at the release an
  // area left without width or height is not kept.
  struct TAreaDrag {
    TAreaList* List = nullptr;
    TArea* Area = nullptr;
    bool New = false;
    shared::TComplex Corner1, Corner2;
  } FAreaDrag;
  void BeginAreaDrag(TAreaList& list, bool added);
  void EndAreaDrag();
  void RepaintView(int view);
  // The window's own message in the hint panel; a hint shown by the mouse goes, this one stays.
  void SetHint(const QString& text);
  QString FHint;
  // The modal entry points of the window: each holds a modal scope, so that the idle work waits
  // while its event loop runs.
  int RunModal(QDialog& dialog);
  void ShowErrorBox(const QString& text);
  void ShowInfoBox(const QString& text);
  // The list panel's width and the heights of the grid and the graph, as the settings keep them.
  struct TPaneSizes {
    int ListWidth = 0;
    int GridHeight = 0;
    int GraphHeight = 0;
  };
  void LayoutPanes(const TPaneSizes& panes);
  // The sizes read at start-up, until the user moves a splitter.
  std::optional<TPaneSizes> FKeptPanes;
  // Runs a file read or write with the file-progress dialog up and the window closed to input.
  void RunFileWork(const QString& caption, const std::function<void()>& work);
  bool ReadProject(const std::string& path);
  void DropEmptyAreas();
  bool WriteProject(const std::string& path);
  bool Confirm(const QString& text);
  QString ProjectFileTitle() const;
  void PaintView(int view);
  void CentreView(int view);
  void ShowHelp(const std::string& topic);
  QRect ScreenRect() const;

  // A file dialog's request: the title, the filter (its first entry chosen) and the default
  // extension, starting in the data path.
  shared::TFileRequest DataPathRequest(const QString& title, const char* filter,
                                       const QString& defaultExt) const;
  // The chosen file's folder becomes the data path.
  static void TakeDataPath(const std::string& path);
  // The save dialog of an export: empty at first, in the data path, the first filter; an existing
  // file asks before it is replaced. The chosen file (its folder becomes the data path), or
  // empty when the user cancelled.
  std::string PickExportFile(const QString& title, const char* filter, const QString& defaultExt);
  // The project information of the dialog, empty without one.
  const shared::TProjectInfo& ProjectInformation() const;
  TExcelExportDialog* FExcelExportDialog = nullptr;

  std::unique_ptr<shared::TUserDialogs> Dialogs;
  std::unique_ptr<TProjectStore> Store;
  shared::TProjectInfoDialog* ProjectInfoDialog = nullptr;
  std::string FProjectName;
  std::string FRegistryKey;

  std::unique_ptr<TSpline> FCurve;
  std::unique_ptr<TAreaList> FGroundAreas;
  std::unique_ptr<TAreaList> FCouplerAreas;
  std::unique_ptr<shared::TDXFDrawing> FGroundDrawing;
  std::unique_ptr<TFileProgressDlg> FFileProgress;
  std::unique_ptr<TQtProgressPanel> FProgressPanel;
  std::unique_ptr<TGenerateProgress> FProgress;
  std::unique_ptr<TQtGraphPaintBox> FGraphBox;
  // The views' paint boxes and canvases, kCanvasSize pixels square.
  static constexpr int kCanvasSize = 1300;
  std::array<std::unique_ptr<shared::TQtPaintBox>, 3> FPaintBoxes;
  std::array<std::unique_ptr<shared::TSynthCanvas2D>, 3> FCanvases;
  std::array<std::unique_ptr<shared::TQtStatusPanel>, 2> FCoordinatePanels;
  std::array<bool, 3> FCentred{};
  // Views that fit their content when their tab is next shown.
  std::array<bool, 3> FZoomPending{};
  void ShowPendingZoom(int view);
  shared::TConvertDlg* FConvertDlg = nullptr;
  TSynthOptionsDlg* FSynthOptionsDlg = nullptr;
  TInputFunctionDlg* FInputFunctionDlg = nullptr;
  std::unique_ptr<TSolutionView> FSolution;
  std::unique_ptr<TQtListView> FListView;
  std::unique_ptr<TQtPropertiesGrid> FGrid;
  std::unique_ptr<TMechanismList> FSolutions;
  std::unique_ptr<TMechOptimize> FOptimizer;
  void CreateSolutionList();
  // The width at which the left panel shows its columns whole; its default is at least this.
  int ListPanelNeed = 0;
  int DefaultListWidth(int windowWidth) const { return std::max(windowWidth / 3, ListPanelNeed); }
  void IdleTurn();
  // Valid candidates of the generation run, over its stops and continuations.
  int32_t FRunValidCandidates = 0;
  void StopOptimizing();
  void SelectFirstSolution();
  void RepaintSolution();
};

}  // namespace vesk
