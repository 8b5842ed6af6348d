// TAnimationFrm: the animator's central view. It owns the mechanism document and the canvas it
// is drawn on, the editing and animation tool bars with the step bar, the status read-out, the
// drawing's pop-up menu, the graph panel and the animation timer, and runs every document
// operation of the program (new, open, save, copy, paste, undo) and the view's settings.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "animator/app/AnimationTools.h"
#include "animator/app/DocumentView.h"
#include "animator/engine/UndoStep.h"
#include "shared/AniCanvas2D.h"
#include "shared/PaintSurface.h"
#include "shared/ProjectInfo.h"
#include "shared/qt/ModalScope.h"

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QStatusBar;
class QTimer;
class QToolBar;
class QToolButton;

namespace shared {
class TClipboard;
class TQtPaintBox;
class TQtStatusPanel;
}  // namespace shared

namespace quillon {

class TAniMechanism;
class TGraphFrm;
enum class TSelectionKind;
class TTrackBar;

// The loops that pump messages between their steps: the curve fit and the film export.
enum class TLoop { None, Fit, Film };

// Who reports an edit to MechanismChanged: nobody in particular (the tools' edits), the view
// itself (redraw at once), or another part such as the properties frame, a menu item or the
// mechanism (only invalidate).
enum class TChangeSource { None, View, Other };

class TAnimationFrm : public QWidget, public TDocumentView {
  Q_OBJECT

 public:
  // The clipboard is not owned and outlives the view.
  explicit TAnimationFrm(shared::TClipboard& clipboard, QWidget* parent = nullptr);
  ~TAnimationFrm() override;

  // The document view of the main window.
  QWidget* Widget() override { return this; }
  // Refused (a warning in the log) while a loop runs, as are open, paste and undo.
  void NewMechanism(int typeNumber) override;
  void LoadFromFile(const std::string& fileName) override;
  // An empty name keeps FileName.
  void SaveToFile(const std::string& fileName) override;
  void CopyToClipboard() override;
  void PasteFromClipboard() override;
  void Undo() override;
  void SelectAll() override;
  int CheckClipboardHeader() override;
  bool IsModified() const override;
  bool DiffersFromFile() const override { return Damaged; }
  std::string FileName() const override { return FFileName; }
  void SetRegistryKey(const std::string& key) override;
  void ReadTexts(const TLanguageFile& texts) override;
  void SetPolar(bool polar) override;
  bool IsGraphVisible() const override { return GraphVisible; }
  void SetGraphVisible(bool visible) override;
  void RefreshGraph() override;
  void ZoomAllButtonClick() override;
  void StartButtonClick(QObject* sender) override;
  void StopButtonClick() override;
  void StopAndSelect() override;
  void DeleteButtonClick() override;
  // The view-options round trip; refused while a loop runs, since it may change the positions
  // per cycle under it.
  void EditOptions() override;
  // The input function of the first selected joint in its dialog; a notice without one.
  void InputButtonClick() override;
  void PopMoveRotateResizeClick() override;
  // The DXF drawing of the first selected link, or of the frame, in the DXF import dialog;
  // nothing without the dialog or without links.
  void PopDXFDrawingClick() override;
  // View Options' DXF background: the frame's drawing reads the file and keeps its placement.
  // A file that cannot be read leaves the drawing as it was, and the reason goes to the log as
  // an error: false. An empty name empties the drawing. False without links.
  bool LoadFrameDrawing(const std::string& fileName);
  void SetCommandRunner(TCommandRunner runner) override { CommandRunner = std::move(runner); }
  // The drawing of the current step, named with the step before the extension; "Saved: " and
  // the name go to the log. Raises std::exception when the file cannot be written.
  void ExportPicture(const std::string& fileName) override;
  // Asks the report options, writes the report with its pictures and opens it. An error while
  // writing goes to the log and the part written is opened; a report file that cannot be
  // written at all raises std::exception and nothing is opened.
  void WriteHTMLReport() override;
  // Asks what to include and hands a new workbook of those sheets to the desktop; "Saved: " and
  // the workbook's name go to the log. Raises std::exception when the workbook cannot be made or
  // saved, or when the desktop opened no program for it.
  void ExportToExcel() override;
  // Records one cycle, every second step, as a film; the progress dialog offers Cancel, which
  // ends the recording and films the steps taken so far. The pictures live in a private
  // temporary folder that goes in every case; an existing film is replaced only by a complete
  // new one. Raises std::exception on failure.
  void ExportAVI(const std::string& fileName) override;

  TAniMechanism& Mechanism() { return *FMechanism; }
  shared::TAniCanvas2D& Canvas() { return *FCanvas; }
  // The project information of the document: the program's project-information dialog holds
  // it, or the view itself where there is no such dialog.
  shared::TProjectInfo& ProjectInfo();
  const std::string& RegistryKey() const { return FRegistryKey; }
  const std::string& HeaderStatusText() const { return FHeaderStatusText; }
  int Speed() const { return FSpeed; }
  int StepsPerTick() const { return FStepsPerTick; }
  TSelectionKind LastSelectionKind() const { return FLastSelectionKind; }
  // The mouse tool: the canvas's mode.
  TTool Tool() const;

  void SetModified(bool value) override;
  // An add tool left (or Undo pressed) before its first click drops the entry it pushed.
  void DropUnusedAddToolEntry();
  void ShowFileName();
  void LoadSettings();
  void SaveSettings();

  // Recalculates every step, marks the document modified, tells the listeners and refreshes the
  // step bar and the graph.
  void MechanismChanged(TChangeSource source = TChangeSource::None);
  void Draw();
  void PaintBox1Paint();
  void Invalidate();

  // The tool buttons with a mouse mode share this handler.
  void SelectButtonClick(QToolButton* button);
  void UpdateToolButtons();
  void SetSpeed(int index);
  // The next speed; the status bar under the pointer shows the new speed's hint.
  void SpeedButtonClick();
  void AnimationTimerTimer();
  void PositionTrackBarChange();
  void RecordButtonClick();
  // The curve fit: runs while the button is down and the optimiser is not done, pumping
  // messages between passes. A menu item or key (sender not the button) flips the button first.
  void OptimizeButtonClick(QObject* sender);
  void PopupMenu1Popup();
  void PopTogglePathClick();
  void PopToggleLockClick();
  void PopToggleGraphClick();
  void PopToggleVectorsClick();
  void PopInstCentersClick();
  void PopBringToFrontClick();
  void PopSendToBackClick();
  void PopSetAsOutputClick();

  void PaintBox1MouseDown(Qt::MouseButton button, uint8_t shift, int x, int y);
  void PaintBox1MouseMove(uint8_t shift, int x, int y);
  void PaintBox1MouseUp(Qt::MouseButton button, uint8_t shift, int x, int y);

  // A loop that pumps messages between its steps (optimisation, film export) runs between
  // BeginLoop and EndLoop. BeginLoop answers false when a loop already runs: that second start
  // is ignored. While one runs only its Stop acts (the Stop button, Esc, Animation > Stop and,
  // for the fit, its own button; the film's Cancel): every other command of the view and of the
  // main window is refused, and the drawing and the step bar take no mouse or keys. The loop
  // counts as a modal scope, so the clipboard take-over waits for its end.
  bool BeginLoop(TLoop loop = TLoop::Fit);
  void EndLoop();
  TLoop RunningLoop() const { return FLoop; }
  // The one busy check of every entry point: true, with the busy notice in the log, while a loop
  // runs or a modal scope is open (a command that arrives through the event pump of a dialog,
  // a read or a save).
  bool RefuseWhileBusy() override;

  // Fired after the mechanism was recalculated (the properties frame's refresh).
  std::function<void()> OnChange;
  // Fired when curve points or areas were edited on the drawing.
  std::function<void()> OnCurveChange;
  std::function<void()> OnAreaChange;

  // Texts of the language file.
  std::string FileNotExistText = "%s does not exist!";
  std::string SpeedHints[3] = {"Low Animation Speed", "Medium Animation Speed", "High Animation Speed"};
  std::string ErrorNewText = "Error: You need a new version of Quillon to read this data!";
  std::string ErrorInvalidText = "Error: This is invalid Quillon mechanism data!";
  std::string ErrorICText =
      "Select two links to show their instant center (select only one link to show instant center to ground)";
  std::string EmptyClipboardText = "Empty clipboard";
  std::string SelectInputText = "Select an input joint!";
  std::string ShowGraphText = "Show &Graph";
  std::string HideGraphText = "Hide &Graph";
  std::string ShowVectorsText = "Show &Vectors";
  std::string HideVectorsText = "Hide &Vectors";
  std::string ShowPathText = "Show &Path";
  std::string HidePathText = "Hide &Path";
  std::string LockText = "&Lock";
  std::string UnlockText = "Un&lock";
  std::string StartHint = "Start|Start Animation <Space>";
  std::string PauseHint = "Pause|Pause Animation <Space>";
  std::string PropertiesSheetName = "Properties";
  std::string PosLabel = "Pos";
  // Not a language text: the refusal of a command while a loop runs.
  std::string BusyText = "Wait until the optimization or export has finished.";
  // Nor this: an add tool that found no free joint letter (A to Z all in use).
  std::string NoLetterText = "No joint letter is left: A to Z are all in use.";

  // Components, named after the view's parts.
  QWidget* CoolBar1;
  QToolBar* ToolBar1;
  QToolBar* ToolBar2;
  QToolButton* SelectButton;
  QToolButton* MoveButton;
  QToolButton* ZoomAllButton;
  QToolButton* ZoomInButton;
  QToolButton* ZoomOutButton;
  QToolButton* ZoomButton;
  QToolButton* AddInputButton;
  QToolButton* AddDyadButton;
  QToolButton* AddSliderButton;
  QToolButton* AddJointButton;
  QToolButton* DeleteButton;
  QToolButton* AddCurveButton;
  QToolButton* AddAreaButton;
  QToolButton* OptimizeButton;
  QToolButton* StopButton;
  QToolButton* StartButton;
  QToolButton* RecordButton;
  TTrackBar* PositionTrackBar;
  QToolButton* SpeedButton;
  QSplitter* Splitter1;
  QWidget* PanelTop;
  QStatusBar* StatusBar1;
  QLabel* StatusPanels[4];
  QWidget* Panel1;
  QWidget* PaintBox1;
  QWidget* PanelBottom;
  TGraphFrm* GraphFrm1;
  QTimer* AnimationTimer;
  QMenu* PopupMenu1;
  QAction* PopTogglePath;
  QAction* PopToggleGraph;
  QAction* PopToggleVectors;
  QAction* PopToggleLock;
  QAction* PopInstCenters;
  QAction* PopDXFDrawing;
  QAction* PopBringToFront;
  QAction* PopSendToBack;
  QAction* PopSetAsOutput;
  QAction* PopEditInput;
  QAction* PopMoveRotateResize;
  QAction* PopOptions;

 protected:
  void showEvent(QShowEvent* event) override;
  // While busy the drawing and the step bar take no mouse or keys: a press is refused with the
  // busy notice, moves and releases are dropped.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateComponents();
  void ApplyGraphHeight();
  // A button with a tool is a check button that chooses it.
  QToolButton* NewToolButton(QToolBar* bar, const char* name, const char* hint,
                             std::optional<TTool> tool = std::nullopt);
  void SetToolOf(QToolButton* button, TTool tool);
  QList<QToolButton*> ToolButtons() const;
  void SetTool(TTool tool);
  QAction* NewPopItem(const char* name, const char* caption, const char* hint);
  void SetStartState(bool running);
  // The bar to p; its change handler runs also when the position does not move.
  void SetTrackBarPosition(int p);
  void RefreshTrackBar();
  // The step bar's position in the status bar.
  void ShowPosition();
  void DrawBackground(shared::TAniCanvas2D& canvas);
  // Every joint, resized, moved and rotated as the move dialog would, stays in the length range.
  bool MorphFits(double factor, double dx, double dy, double angle) const;
  void UpdateGridStyle();
  // The items of the dialogs that the program has made are enabled.
  void UpdateDialogItems();
  // An add tool's clicks belong to the document it started on: a document that replaces it
  // ends the tool and the Select tool returns.
  void EndAddTool();
  // Runs a handler of a Qt event; an exception goes to the log as an error.
  void Guarded(const std::function<void()>& handler);
  // Every command of the view's own buttons and menu enters here: refused while busy (the check
  // buttons then show the state again), except a Stop, which acts.
  enum class TEntry { Command, Stop };
  void Entry(TEntry entry, const std::function<void()>& handler);
  void ShowButtonStates();
  // Commands wait: a loop runs, or a modal scope is open.
  bool CommandsRefused() const;
  // A command of the pop-up menu, through the main window's runner when it has given one.
  void RunOwnCommand(const std::function<void()>& command);

  shared::TClipboard& Clipboard;
  TCommandRunner CommandRunner;
  std::unique_ptr<shared::TQtPaintBox> PaintBox;
  std::unique_ptr<shared::TAniCanvas2D> FCanvas;
  std::unique_ptr<shared::TQtStatusPanel> XPanel;
  std::unique_ptr<shared::TQtStatusPanel> YPanel;
  shared::TImageList MechImageList;
  std::unique_ptr<TAniMechanism> FMechanism;
  shared::TProjectInfo FProjectInfo;
  std::string FFileName;
  bool Modified = false;
  bool Damaged = false;
  bool AddToolEntry = false;
  std::string FRegistryKey;
  int FSpeed = 0;
  int FStepsPerTick = 1;
  bool GraphVisible = true;
  int GraphHeight = 171;
  bool GraphHeightApplied = false;
  bool Dragged = false;
  // The mechanism at the press, the undo entry of a drag and of the curve and area tools.
  std::optional<TUndoStep> DragUndo;
  TSelectionKind FLastSelectionKind{};
  std::string FHeaderStatusText;
  std::optional<shared::TModalScope> LoopScope;
  TLoop FLoop = TLoop::None;
  // Stop asked the running film to end, as its Cancel does.
  bool FilmStopped = false;
  // The animation timer runs: what the Start button shows.
  bool Running = false;
  // The background bitmap must be rebuilt before the next frame is drawn.
  bool RepaintPending = true;
};

}  // namespace quillon
