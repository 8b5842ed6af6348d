// The synthesis main window: start-up, settings, caption, project questions, file and help
// commands. Its widgets are built in MainFormLayout.cpp.
#include "synthesis/app/MainForm.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QProgressBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusTipEvent>
#include <QTimer>
#include <filesystem>

#include "shared/Convert.h"
#include "shared/FilePath.h"
#include "shared/Settings.h"
#include "shared/SheetFile.h"
#include "shared/ShellOpen.h"
#include "shared/SynthCanvas2D.h"
#include "shared/dxf/DXFDrawing.h"
#include "shared/dxf/DXFGroup.h"
#include "shared/qt/AboutDlg.h"
#include "shared/qt/Application.h"
#include "shared/qt/ConvertDlg.h"
#include "shared/qt/ModalScope.h"
#include "shared/qt/PathName.h"
#include "shared/qt/ProjectInfoDialog.h"
#include "shared/qt/QtCanvas.h"
#include "shared/qt/QtText.h"
#include "shared/qt/WindowPlacement.h"
#include "synthesis/app/FileProgressDlg.h"
#include "synthesis/app/InputFunctionDlg.h"
#include "synthesis/app/QtGraphPaintBox.h"
#include "synthesis/app/QtMechanismListViews.h"
#include "synthesis/app/SolutionView.h"
#include "synthesis/app/SynthOptionsDlg.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/Area.h"
#include "synthesis/engine/Drawing.h"
#include "synthesis/engine/GenerateProgress.h"
#include "synthesis/engine/MechOptimize.h"
#include "synthesis/engine/MechanismList.h"
#include "synthesis/engine/ProgramInfo.h"
#include "synthesis/engine/Random.h"
#include "synthesis/engine/Spline.h"
#include "synthesis/engine/SynthOptions.h"

namespace vesk {

using shared::FromPath;
using shared::TAnswer;
using shared::ToPath;

// The progress panel of the window: shown while a generation runs.
class TQtProgressPanel : public TProgressPanel {
 public:
  TQtProgressPanel(QWidget* panel, QProgressBar* bar, QLabel* label) : Panel(panel), Bar(bar), Label(label) {}
  void Show() override { Panel->show(); }
  void Hide() override { Panel->hide(); }
  void SetBarPosition(int position) override { Bar->setValue(position); }
  void SetRemainingText(const std::string& text) override { Label->setText(shared::ToQString(text)); }

 private:
  QWidget* Panel;
  QProgressBar* Bar;
  QLabel* Label;
};

namespace {

constexpr double kWorldSize = 3.0;

QString Q(const std::string& text) { return shared::ToQString(text); }

// The pivot-area lists draw their enlarged outline where the option lets a pivot lie.
void TakeAreaOption(TAreaList& ground, TAreaList& coupler) {
  ground.MaxDistToArea = SynthOptions.MaxDistToArea;
  coupler.MaxDistToArea = SynthOptions.MaxDistToArea;
}

// Every question and file dialog of the window holds a modal scope while it is open, whichever
// implementation answers it, so the idle work never runs inside their event loops.
class TScopedDialogs : public shared::TUserDialogs {
 public:
  explicit TScopedDialogs(std::unique_ptr<shared::TUserDialogs> dialogs) : fDialogs(std::move(dialogs)) {}
  TAnswer Ask(const QString& text) override {
    const shared::TModalScope modal;
    return fDialogs->Ask(text);
  }
  bool Confirm(const QString& text) override {
    const shared::TModalScope modal;
    return fDialogs->Confirm(text);
  }
  bool PickOpenFile(shared::TFileRequest& request) override {
    const shared::TModalScope modal;
    return fDialogs->PickOpenFile(request);
  }
  bool PickSaveFile(shared::TFileRequest& request) override {
    const shared::TModalScope modal;
    return fDialogs->PickSaveFile(request);
  }

 private:
  std::unique_ptr<shared::TUserDialogs> fDialogs;
};

// One pane of a two-pane splitter gets exactly the size given and the other the rest of the
// splitter's room (its handle excluded): sizes that do not add up to that room are shared out in
// proportion, so a kept layout would move a few pixels at every start.
void SetPaneSize(QSplitter& splitter, int pane, int size) {
  splitter.refresh();
  const QList<int> sizes = splitter.sizes();
  if (sizes.size() != 2 || pane < 0 || pane > 1) return;
  const int room = sizes[0] + sizes[1];
  QList<int> next = {0, 0};
  if (room > 0) {
    next[pane] = std::clamp(size, 0, room);
    next[1 - pane] = room - next[pane];
  } else {
    // Not laid out yet: the splitter shares its room out when it first is.
    next[pane] = std::max(0, size);
    next[1 - pane] = 1;
  }
  splitter.setSizes(next);
}

}  // namespace

TMainForm::TMainForm(std::unique_ptr<shared::TUserDialogs> dialogs, QWidget* parent)
    : QMainWindow(parent),
      Dialogs(std::make_unique<TScopedDialogs>(dialogs ? std::move(dialogs)
                                                       : std::make_unique<shared::TQtUserDialogs>(this))) {
  setObjectName(QStringLiteral("MainForm"));
  ShowModal = [](QDialog& dialog) { return dialog.exec(); };
  // Until a project has been opened or saved the file dialogs start in the user's documents
  // folder, never in the program's folder.
  ProgramInfo().DataDir = shared::StartFolder(ProgramInfo().DataDir, ProgramInfo().ExeDir);
  CreateComponents();

  FProjectName = ProgramInfo().DefaultName;
  Modified = false;
  // The unit settings are read at once and shared by every dialog and view.
  shared::Convert().SetRegistryKey(kConvertRegistryKey);
  FConvertDlg = new shared::TConvertDlg(shared::Convert(), this);
  FConvertDlg->SetHelpHandler([this](const std::string& topic) { ShowHelp(topic); });
  FSynthOptionsDlg = new TSynthOptionsDlg(SynthOptions, this);
  FSynthOptionsDlg->SetHelpHandler([this](const std::string& topic) { ShowHelp(topic); });
  // Made once, as the default input function it keeps lives as long as the program.
  FInputFunctionDlg = new TInputFunctionDlg(this);
  FInputFunctionDlg->SetHelpHandler([this](const std::string& topic) { ShowHelp(topic); });
  FInputFunctionDlg->SetErrorDisplay([](const std::string& message) { shared::ShowException(Q(message)); });

  QWidget* boxes[3] = {PaintBox1, PaintBox2, PaintBox3};
  for (int i = 0; i < 3; ++i) {
    FPaintBoxes[i] = std::make_unique<shared::TQtPaintBox>(boxes[i]);
    FCanvases[i] = std::make_unique<shared::TSynthCanvas2D>(*FPaintBoxes[i], kCanvasSize, kWorldSize);
    FPaintBoxes[i]->SetCanvas(FCanvases[i].get());
    FCanvases[i]->XPanel = FCoordinatePanels[0].get();
    FCanvases[i]->YPanel = FCoordinatePanels[1].get();
    FCanvases[i]->AutoResetMode = false;
    FPaintBoxes[i]->OnPaint = [this, i] { PaintView(i); };
  }

  FProgressPanel = std::make_unique<TQtProgressPanel>(ProgressPanel, ProgressBar1, RemainingLabel);
  FProgress = std::make_unique<TGenerateProgress>(*FProgressPanel, [] { return AppOptions.SearchBudget(); });
  FGroundAreas = std::make_unique<TAreaList>(20);
  FGroundAreas->Name = "Ground Pivot Areas";
  FCouplerAreas = std::make_unique<TAreaList>(20);
  FCouplerAreas->Name = "Coupler Pivot Areas";
  TakeAreaOption(*FGroundAreas, *FCouplerAreas);
  FCurve = std::make_unique<TSpline>();
  FCurve->Name = "Curve definition";
  FGraphBox = std::make_unique<TQtGraphPaintBox>(GraphPaintBox, shared::Convert());
  FGroundDrawing = std::make_unique<shared::TDXFDrawing>(shared::TDXFProfile::Synthesis());
  SeedRandomFromClock();
  CreateViewTools();
  CreateImportCommands();
  ShowViewToolPictures();
  CreateSolutionList();
  Closing = false;
  UpdateControls();
}

TMainForm::~TMainForm() {
  Closing = true;
  SaveSettings();
  AppOptions.ShowOutputLinkDrawing = false;
  AppOptions.ShowGroundDrawing = false;
  // The canvases go before their paint boxes.
  for (auto& canvas : FCanvases) canvas.reset();
  SynthOptions.Spline = nullptr;
}

void TMainForm::CentreView(int view) {
  // A view shows the middle of its canvas, where the world origin lies, the first time it is
  // seen; a hidden tab has no viewport size yet, so the others wait for their tab.
  if (view < 0 || view > 2 || FCentred[size_t(view)]) return;
  QScrollArea* scroll = ScrollBoxes[size_t(view)];
  if (!scroll->isVisible()) return;
  FCentred[size_t(view)] = true;
  scroll->horizontalScrollBar()->setValue(scroll->horizontalScrollBar()->maximum() / 2);
  scroll->verticalScrollBar()->setValue(scroll->verticalScrollBar()->maximum() / 2);
}

bool TMainForm::event(QEvent* event) {
  // Every hint goes to the last status panel.
  if (event->type() == QEvent::StatusTip) {
    // A hint goes when the mouse leaves its control; the window's own message comes back.
    const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
    StatusPanels[3]->setText(tip.isEmpty() ? FHint : tip);
    return true;
  }
  const bool handled = QMainWindow::event(event);
  if (event->type() == QEvent::Resize && FKeptPanes && !isMinimized()) LayoutPanes(*FKeptPanes);
  return handled;
}

void TMainForm::FormShow(const QString& commandLine) {
  SetRegistryKey(ProgramInfo().RegistryKey);
  // The mechanism view draws off screen so that animation and dragging do not flicker.
  FCanvases[0]->SetDoubleBuffered(true);
  CentreView(MechPageControl->currentIndex());
  ReflectOptions();
  ResetTypeButtons();
  const std::string path = ToPath(commandLine.trimmed());
  if (Store && shared::IsFile(path)) {
    FProjectName = path;
    ReadProject(path);
    UpdateCaption();
    RefreshAll();
  } else {
    FileNew();
  }
}

void TMainForm::SetRegistryKey(const std::string& key) {
  FRegistryKey = key;
  LoadSettings();
  UpdateCaption();
}

QRect TMainForm::ScreenRect() const {
  const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

void TMainForm::LayoutPanes(const TPaneSizes& panes) {
  // The panes are sized in the room the window has at its size.
  layout()->activate();
  SetPaneSize(*MainSplitter, 0, panes.ListWidth);
  PanelLeft->layout()->activate();
  SetPaneSize(*LeftSplitter, 1, panes.GridHeight);
  SetPaneSize(*RightSplitter, 1, panes.GraphHeight);
}

void TMainForm::LoadSettings() {
  if (FRegistryKey.empty()) return;
  const auto settings = shared::OpenSettings(FRegistryKey);
  const QRect screen = ScreenRect();
  const QRect bounds = shared::RestoreWindowPlacement(*this, *settings, "MainForm", shared::TWindowState::Normal,
                                                      QRect(0, 0, screen.width() * 6 / 10, screen.height() - 30));
  const int width = bounds.width();
  const int height = bounds.height();
  const TPaneSizes panes{settings->ReadInteger("List", "Width", DefaultListWidth(width)),
                         settings->ReadInteger("List", "Height", height * 2 / 3),
                         settings->ReadInteger("Graph", "Height", height / 4)};
  resize(width, height);
  LayoutPanes(panes);
  // The window may reach its size later (maximised, or as the desktop places it): until the user
  // moves a splitter the panes keep these sizes, and the settings keep them as read.
  FKeptPanes = panes;
  AppOptions.Speed = settings->ReadInteger("Options", "Speed", 1);
  AppOptions.ShowInstantCenters = settings->ReadBool("Options", "ShowInstantCenters", false);
  AppOptions.ZoomAllOnSelect = settings->ReadBool("Options", "ZoomAllOnSelect", true);
  AppOptions.IsPolar = settings->ReadBool("Options", "IsPolar", false);
  AppOptions.XIsTime = settings->ReadBool("Options", "XIsTime", true);
  AppOptions.Search = settings->ReadInteger("Options", "Search", 1);
}

void TMainForm::SaveSettings() {
  if (FRegistryKey.empty()) return;
  const auto settings = shared::OpenSettings(FRegistryKey);
  shared::StoreWindowPlacement(*this, *settings, "MainForm");
  // A hidden panel keeps the size it was last shown at.
  const TPaneSizes panes = FKeptPanes.value_or(
      TPaneSizes{PanelLeft->width(), StringGrid1->height(), GraphTabControl->height()});
  settings->WriteInteger("List", "Width", panes.ListWidth);
  settings->WriteInteger("List", "Height", panes.GridHeight);
  settings->WriteInteger("Graph", "Height", panes.GraphHeight);
  settings->WriteInteger("Options", "Speed", AppOptions.Speed);
  settings->WriteBool("Options", "ShowInstantCenters", AppOptions.ShowInstantCenters);
  settings->WriteBool("Options", "ZoomAllOnSelect", AppOptions.ZoomAllOnSelect);
  settings->WriteBool("Options", "IsPolar", AppOptions.IsPolar);
  settings->WriteBool("Options", "XIsTime", AppOptions.XIsTime);
  settings->WriteInteger("Options", "Search", AppOptions.Search);
}

QString TMainForm::ProjectFileTitle() const { return QFileInfo(FromPath(FProjectName)).fileName(); }

void TMainForm::UpdateCaption() {
  TProgramInfo& info = ProgramInfo();
  const QString file = ProjectFileTitle();
  setWindowTitle(QStringLiteral("%1 - %2").arg(Q(info.Title), file));
  if (FProjectName == info.DefaultName) return;
  if (ProjectInfoDialog && ProjectInfoDialog->Info.Title.empty())
    ProjectInfoDialog->Info.Title = shared::FromQString(file);
  if (FProjectName != info.LastOpened1 && FProjectName != info.LastOpened2) {
    info.LastOpened2 = info.LastOpened1;
    info.LastOpened1 = FProjectName;
  }
}

bool TMainForm::IsProjectModified() const {
  return Modified || FSolutions->IsModified() || FCurve->IsModified() || FGroundAreas->IsModified() || FCouplerAreas->IsModified() ||
         Drawing().GetModified();
}

TAnswer TMainForm::AskSave() {
  if (!IsProjectModified()) return TAnswer::No;
  const TAnswer answer = Dialogs->Ask(QStringLiteral("Save ?"));
  // A save that did not happen (no name chosen, replace declined, write failed) cancels the
  // command that asked, so nothing unsaved is thrown away.
  if (answer == TAnswer::Yes && !FileSave()) return TAnswer::Cancel;
  return answer;
}

void TMainForm::NewProject() {
  if (Closing) return;
  FGroundAreas->Clear();
  FCouplerAreas->Clear();
  FCurve->Clear();
  FGroundAreas->SetModified(false);
  FCouplerAreas->SetModified(false);
  FCurve->SetModified(false);
  Drawing().MakeDefault();
  Drawing().SetModified(false);
  AnimTimer->stop();
  FSolutions->Clear();
  FProgress->Reset();
  FGraphBox->Graph().Clear();
  FGraphBox->Invalidate();
  for (auto& canvas : FCanvases) canvas->ResetView();
  FGroundDrawing->Clear();
  if (Store) Store->Clear();
  if (ProjectInfoDialog) ProjectInfoDialog->SetDefaults();
  Modified = false;
  FProjectName = ProgramInfo().DefaultName;
  UpdateCaption();
}

void TMainForm::RefreshAll() {
  FSolutions->RebuildListView();
  FSolutions->SyncListView();
  FSolutions->UpdateViews();
  ZoomAllViews();
  for (QWidget* box : {PaintBox1, PaintBox2, PaintBox3, GraphPaintBox}) box->update();
  FGraphBox->Invalidate();
  UpdateControls();
}

void TMainForm::ClearSelections() {
  FCurve->Select(0);
  FGroundAreas->Select(0);
  FCouplerAreas->Select(0);
  Drawing().Select(-1);
  for (QWidget* box : {PaintBox1, PaintBox2, PaintBox3}) box->update();
}

void TMainForm::ReflectOptions() {
  ZoomAllOnSelectToolButton->setChecked(AppOptions.ZoomAllOnSelect);
  const int speed = AppOptions.Speed >= 0 && AppOptions.Speed <= 2 ? AppOptions.Speed : 1;
  SpeedToolButtons[size_t(speed)]->setChecked(true);
  AnimTimer->setInterval(AppOptions.AnimationInterval());
  (AppOptions.IsPolar ? PolarToolButton : XYToolButton)->setChecked(true);
  for (auto& canvas : FCanvases) canvas->Polar = AppOptions.IsPolar;
  XIsTimeToolButton->setChecked(AppOptions.XIsTime);
  ShowGraphToolButton->setChecked(AppOptions.ShowGraph);
  GraphTabControl->setVisible(AppOptions.ShowGraph);
  ShowListToolButton->setChecked(AppOptions.ShowList);
  PanelLeft->setVisible(AppOptions.ShowList);
}

void TMainForm::ResetTypeButtons() {
  NewType = 0;
  FSolutions->NewType = kFourbarType;
  for (QAction* button : MechButtons)
    if (button) button->setEnabled(true);
  MechButtons[0]->setChecked(true);
}

void TMainForm::UpdateControls() {
  for (QAction* action : {ViewZoomAllItem, ViewZoomInItem, ViewZoomOutItem}) action->setEnabled(true);
  const bool generating = Work == TWork::Generation;
  const bool optimizing = Work == TWork::Optimization;
  const bool idle = Idle();
  UpdateImportControls(idle);
  const bool current = FSolutions->Current != nullptr;
  const bool curve = FCurve->Count() >= 2;
  FileNewItem->setEnabled(idle);
  NewButton->setEnabled(idle);
  for (QAction* action : {FileOpenItem, FileSaveItem, FileSaveAsItem, OpenButton, SaveButton})
    action->setEnabled(idle && Store != nullptr);
  for (QAction* action : {AnalysisInputFunctionItem, SynthesisOptionsItem, ListPopUpDelete, ListPopUpClearAll,
                          ListPopUpInputFunction, ListDeleteButton, ClearListButton, InputFunctionButton})
    action->setEnabled(idle);
  for (QAction* action : {AnalysisStartItem, AnalysisResetItem, SynthesisUndoOptimizeItem, UndoOptimizeButton,
                          StepCCWButton, StartButton, PauseButton, StopButton, StepCWButton})
    action->setEnabled(idle && current);
  ListPopUpMark->setEnabled(current);
  FileExporttoQuillonItem->setEnabled(idle && current);
  FileExportToExcelItem->setEnabled(idle && current);
  ExportToExcelButton->setEnabled(idle && current);
  FileExporttoSAMItem->setEnabled(current);
  for (QAction* action : {FileReportItem, PrintButton}) action->setEnabled(idle && current);
  for (QWidget* box : {PaintBox1, PaintBox2, PaintBox3}) box->setEnabled(idle);
  GenerateButton->setEnabled(curve && !optimizing);
  SynthesisGenerate->setEnabled(curve && !optimizing);
  // A greyed Start says why where the pointer rests on it.
  const QString tooShort = QString::fromLatin1(TMechanism::kCurveTooShort);
  GenerateButton->setToolTip(curve ? QStringLiteral("Start Generating Mechanisms") : tooShort);
  GenerateButton->setStatusTip(GenerateButton->toolTip());
  SynthesisGenerate->setStatusTip(curve ? QString() : tooShort);
  for (QAction* action : {OptimizeButton, SynthesisOptimize, ListPopUpOptimize})
    action->setEnabled(curve && current && !generating);
  MechListView->setEnabled(!optimizing);
  EditMenuClick();
}

void TMainForm::SetProjectStore(std::unique_ptr<TProjectStore> store) {
  Store = std::move(store);
  UpdateControls();
}

namespace {

// The solution list's record steps the file-progress dialog, which pumps messages.
class TDialogFileProgress : public TFileProgress {
 public:
  explicit TDialogFileProgress(TFileProgressDlg& dialog) : fDialog(dialog) {}
  void SetRange(int32_t maximum, int32_t step) override { fDialog.SetRange(maximum, step); }
  void StepIt() override { fDialog.StepIt(); }

 private:
  TFileProgressDlg& fDialog;
};

}  // namespace

void TMainForm::RunFileWork(const QString& caption, const std::function<void()>& work) {
  // While the file is read or written the animation stands and the window takes no input: the
  // progress dialog pumps messages, and nothing may change the project under the file.
  AnimTimer->stop();
  if (!FFileProgress) FFileProgress = std::make_unique<TFileProgressDlg>(this);
  TDialogFileProgress progress(*FFileProgress);
  // Generation and optimisation wait too: no candidate may enter the list while it is written.
  const shared::TModalScope modal;
  setEnabled(false);
  FSolutions->Progress = &progress;
  struct TRestore {
    TMainForm& Form;
    ~TRestore() {
      Form.FSolutions->Progress = nullptr;
      Form.FFileProgress->hide();
      Form.setEnabled(true);
    }
  } restore{*this};
  FFileProgress->ShowCaption(caption.toStdString());
  work();
}

bool TMainForm::ReadProject(const std::string& path) {
  if (!Store) return false;
  const QString name = QFileInfo(FromPath(path)).fileName();
  try {
    RunFileWork(QStringLiteral("Opening %1").arg(name), [&] { Store->Read(path); });
    FollowTypeButtons();
    DropEmptyAreas();
    for (const std::string& undrawn : {FGroundDrawing->UndrawnWarning(), Drawing().DXFDrawing().UndrawnWarning()})
      if (!undrawn.empty()) shared::ShowException(shared::ExceptionText("[Warning] " + undrawn));
    return true;
  } catch (const std::exception& error) {
    // A read that failed half-way leaves no project to work on: start a new one.
    NewProject();
    FollowTypeButtons();
    shared::ShowException(shared::ExceptionText(error.what()));
  }
  return false;
}

// A project of an earlier build may hold areas made by a click without a drag. Without width or
// height an area restricts nothing, and the search would drop it unseen: it goes now, and the
// user is told.
void TMainForm::DropEmptyAreas() {
  QStringList told;
  int dropped = 0;
  for (const auto& [list, kind] : {std::pair{FGroundAreas.get(), "ground pivot area"},
                                   std::pair{FCouplerAreas.get(), "coupler pivot area"}}) {
    std::vector<int32_t> empty;
    for (int32_t i = 1; i <= list->Count(); ++i)
      if (list->GetArea(i)->IsEmpty()) empty.push_back(i);
    if (empty.empty()) continue;
    told << QStringLiteral("%1%2 %3")
                .arg(QLatin1String(kind), empty.size() > 1 ? QStringLiteral("s") : QString(),
                     Q(shared::NumberListText(empty)));
    list->RemoveEmpty();
    dropped += int(empty.size());
  }
  if (dropped == 0) return;
  Modified = true;
  ShowInfoBox(QStringLiteral("The project's %1 had no width or height and %2 dropped: an area without size "
                             "restricts nothing.")
                  .arg(told.join(QStringLiteral(" and ")), dropped > 1 ? QStringLiteral("were") : QStringLiteral("was")));
}

// A list read shows its type (that of its best solution) down, and the next Start makes more of
// it; without a list the button that is down keeps its type.
void TMainForm::FollowTypeButtons() {
  if (const TMechanism* best = FSolutions->Items(1)) {
    const size_t type = best->MechanismType;
    if (type < MechButtons.size() && MechButtons[type]) {
      MechButtons[type]->setChecked(true);
      NewType = int(type);
    }
  }
  for (QAction* button : MechButtons)
    if (button && button->isChecked()) FSolutions->NewType = uint8_t(button->data().toInt());
}

bool TMainForm::WriteProject(const std::string& path) {
  if (!Store) return false;
  const QString name = QFileInfo(FromPath(path)).fileName();
  try {
    RunFileWork(QStringLiteral("Saving %1").arg(name), [&] { Store->Write(path); });
    Modified = false;
    return true;
  } catch (const std::exception& error) {
    shared::ShowException(shared::ExceptionText(error.what()));
  }
  return false;
}

bool TMainForm::FileNew() {
  if (AskSave() == TAnswer::Cancel) return false;
  NewProject();
  RefreshAll();
  return true;
}

shared::TFileRequest TMainForm::DataPathRequest(const QString& title, const char* filter,
                                                const QString& defaultExt) const {
  shared::TFileRequest request;
  request.Title = title;
  request.Filter = QString::fromLatin1(filter);
  request.FilterIndex = 1;
  request.DefaultExt = defaultExt;
  request.InitialDir = FromPath(ProgramInfo().DataDir);
  return request;
}

void TMainForm::TakeDataPath(const std::string& path) {
  ProgramInfo().DataDir = shared::FolderOfFile(path);
}

bool TMainForm::FileOpen() {
  if (!Store || AskSave() == TAnswer::Cancel) return false;
  shared::TFileRequest request =
      DataPathRequest(QStringLiteral("Open"), kProjectFilter, Q(ProgramInfo().Extension));
  if (!Dialogs->PickOpenFile(request)) return false;
  NewProject();
  FProjectName = ToPath(request.FileName);
  TakeDataPath(FProjectName);
  ReadProject(FProjectName);
  UpdateCaption();
  RefreshAll();
  return true;
}

bool TMainForm::FileSave() {
  if (FProjectName == ProgramInfo().DefaultName) return FileSaveAs();
  return WriteProject(FProjectName);
}

bool TMainForm::Confirm(const QString& text) { return Dialogs->Ask(text) == TAnswer::Yes; }

bool TMainForm::FileSaveAs() {
  if (!Store) return false;
  shared::TFileRequest request =
      DataPathRequest(QStringLiteral("Save"), kProjectFilter, Q(ProgramInfo().Extension));
  request.FileName = FromPath(FProjectName);
  if (!Dialogs->PickSaveFile(request)) return false;
  const std::string path = ToPath(request.FileName);
  // A line break where the message box shows one.
  if (shared::IsFile(path) && !Confirm(request.FileName + QStringLiteral(" already exists !\nReplace ?")))
    return false;
  // The new name, folder and caption only once the project is on disk under it.
  if (!WriteProject(path)) return false;
  FProjectName = path;
  TakeDataPath(path);
  UpdateCaption();
  return true;
}

bool TMainForm::FileLastOpenedClick(int tag) {
  // A new project would free the solutions that running work holds.
  if (!Idle()) return false;
  if (AskSave() == TAnswer::Cancel) return false;
  NewProject();
  TProgramInfo& info = ProgramInfo();
  const std::string recent = tag == 1 ? info.LastOpened1 : info.LastOpened2;
  if (shared::IsFile(recent) && Store) {
    FProjectName = recent;
    TakeDataPath(recent);
    ReadProject(recent);
  } else if (tag == 1) {
    info.LastOpened1 = info.LastOpened2;
    info.LastOpened2.clear();
  } else {
    info.LastOpened2.clear();
  }
  UpdateCaption();
  RefreshAll();
  return true;
}

void TMainForm::FileMenuClick() {
  const TProgramInfo& info = ProgramInfo();
  const std::string* recent[2] = {&info.LastOpened1, &info.LastOpened2};
  QAction* items[2] = {FileLastOpened1Item, FileLastOpened2Item};
  for (int i = 0; i < 2; ++i) {
    const QString path = FromPath(*recent[i]);
    items[i]->setVisible(!recent[i]->empty());
    items[i]->setText(QStringLiteral("&%1 ").arg(i + 1) + QFileInfo(path).fileName());
    items[i]->setToolTip(path);
    items[i]->setStatusTip(path);
    items[i]->setEnabled(Store != nullptr && Idle());
  }
  FileRecentSeparator->setVisible(!info.LastOpened1.empty());
  FileExporttoSAMItem->setEnabled(FSolutions->Current != nullptr);
  FileMenu->setToolTipsVisible(true);
}

void TMainForm::SetProjectInfoDialog(shared::TProjectInfoDialog* dialog) {
  ProjectInfoDialog = dialog;
  if (dialog) dialog->SetHelpHandler([this](const std::string& topic) { ShowHelp(topic); });
}

void TMainForm::FileProjectInfoItemClick() {
  if (ProjectInfoDialog) RunModal(*ProjectInfoDialog);
}

void TMainForm::ShowHelp(const std::string&) {
  // The desktop opens the help file itself (it cannot address a topic inside it); when there is
  // none, or nothing opens it, the user is told instead of nothing happening.
  const TProgramInfo& info = ProgramInfo();
  const QString file = FromPath(info.HelpPath);
  if (!shared::IsFile(info.HelpPath))
    ShowInfoBox(QStringLiteral("No help is installed: the help file %1 was not found.").arg(file));
  else if (!shared::ShellOpen(shared::PathForLog(info.HelpPath)))
    ShowInfoBox(QStringLiteral("The help file %1 could not be opened: the desktop has no program for it.").arg(file));
}

int TMainForm::RunModal(QDialog& dialog) {
  const shared::TModalScope modal;
  return ShowModal(dialog);
}

void TMainForm::ShowErrorBox(const QString& text) {
  const shared::TModalScope modal;
  ErrorBox(text);
}

void TMainForm::ShowInfoBox(const QString& text) {
  const shared::TModalScope modal;
  InfoBox(text);
}

void TMainForm::HelpQuickTutorialClick() {
  ShowHelp("IDH_Tutorial");
  const QRect screen = ScreenRect();
  setWindowState(Qt::WindowNoState);
  move(0, 0);
  const int width = screen.width() * 6 / 10;
  const int height = screen.height() - 30;
  resize(width, height);
  FKeptPanes.reset();
  layout()->activate();
  SetPaneSize(*MainSplitter, 0, DefaultListWidth(width));
  PanelLeft->layout()->activate();
  SetPaneSize(*LeftSplitter, 0, height / 3);
}

void TMainForm::HelpUsersGuideClick() {
  const TProgramInfo& info = ProgramInfo();
  const QString manual = FromPath(info.ManualPath);
  if (!shared::IsFile(info.ManualPath)) {
    if (!info.OpenWithShell(info.ProductURL))
      ShowInfoBox(QStringLiteral("The manual %1 was not found, and the product's web page %2 could not be opened: "
                                 "the desktop has no program for it.")
                      .arg(manual, shared::ToQString(info.ProductURL)));
  } else if (!info.OpenWithShell(info.ManualPath)) {
    ShowInfoBox(QStringLiteral("The manual %1 could not be opened: the desktop has no program for it.").arg(manual));
  }
}

void TMainForm::HelpFeedbackItemClick() {
  const TProgramInfo& info = ProgramInfo();
  if (!info.OpenWithShell(info.FeedbackURL))
    ShowInfoBox(QStringLiteral("The feedback page %1 could not be opened: the desktop has no program for it.")
                    .arg(shared::ToQString(info.FeedbackURL)));
}

void TMainForm::HelpEmailOrvaneClick() {
  const TProgramInfo& info = ProgramInfo();
  info.OpenWithShell("mailto:" + info.MailAddress + "?subject=" + info.MailSubject);
}

void TMainForm::HelpAbout() {
  const TProgramInfo& program = ProgramInfo();
  shared::TAboutInfo info;
  info.ProgramName = program.Title;
  info.Version = program.Version;
  info.Date = program.BuildDate;
  info.Copyright = program.Notice;
  info.MailAddress = program.MailAddress;
  info.MailLink = "mailto:" + program.MailAddress + "?subject=" + program.MailSubject;
  info.URL = program.ProductURL;
  shared::TAboutDlg about(info, this);
  RunModal(about);
}

void TMainForm::SynthesisOptionsClick() {
  SynthOptions.Spline = FCurve.get();
  if (RunModal(*FSynthOptionsDlg) == QDialog::Accepted) TakeAreaOption(*FGroundAreas, *FCouplerAreas);
  PaintBox1->update();
}

void TMainForm::ViewUnitsClick() {
  if (RunModal(*FConvertDlg) == QDialog::Accepted && FSolution) FSolution->RefillViews();
  for (QWidget* box : {PaintBox1, PaintBox2, PaintBox3}) box->update();
  FGraphBox->Invalidate();
}

void TMainForm::PaintView(int view) {
  shared::TSynthCanvas2D& canvas = *FCanvases[size_t(view)];
  shared::DeliverGuarded([&] {
    // A move redraws the whole view, so nothing stays drawn in the background colour.
    canvas.EraseMode = 0;
    canvas.ClearBackground();
    // The mechanism view shows the ground drawing behind the pivot areas, the curve and the
    // current solution; the output-link view the output-link drawing; the ground view its
    // drawing.
    if (view == 0) {
      canvas.DrawAxes();
      if (AppOptions.ShowGroundDrawing) FGroundDrawing->Draw(canvas);
      FGroundAreas->Draw(canvas);
      FCurve->Draw(canvas);
      if (FSolution && FSolution->HasCurrent()) FSolution->Draw(canvas);
    } else if (view == 1) {
      canvas.DrawAxes();
      Drawing().Draw(canvas);
      FCouplerAreas->Draw(canvas);
    } else {
      FGroundDrawing->Draw(canvas);
    }
    canvas.Present();
    return true;
  });
}

void TMainForm::closeEvent(QCloseEvent* event) {
  // Running work waits while "Save ?" and the save run, so the file holds the list as shown; on
  // Cancel it goes on.
  const shared::TModalScope hold;
  if (AskSave() == TAnswer::Cancel) {
    event->ignore();
    return;
  }
  // Running work ends before the window goes; nothing may hold a solution that is freed.
  IdleTimer->stop();
  if (Work == TWork::Optimization) StopOptimizing();
  Work = TWork::None;
  GenerateButton->setChecked(false);
  event->accept();
}

}  // namespace vesk
