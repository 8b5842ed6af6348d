// TMainForm's solution list and its Qt views, and the generation and optimisation toggles that
// run as idle work on a zero-interval timer.
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <algorithm>
#include <initializer_list>
#include <memory>
#include <vector>

#include "shared/qt/ModalScope.h"
#include "shared/qt/QtText.h"
#include "synthesis/app/CompactToolBar.h"
#include "synthesis/app/MainForm.h"
#include "synthesis/app/MechPictures.h"
#include "synthesis/app/QtGraphPaintBox.h"
#include "synthesis/app/QtMechanismListViews.h"
#include "synthesis/app/SolutionView.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/Area.h"
#include "synthesis/engine/GenerateProgress.h"
#include "synthesis/engine/InputFunction.h"
#include "synthesis/engine/MechOptimize.h"
#include "synthesis/engine/MechanismList.h"
#include "synthesis/engine/Spline.h"

namespace vesk {

namespace {

// While a dialog or file work holds the idle work, the timer only looks now and then whether it
// may go on; the last scope's closing restarts it at once.
constexpr int kHeldPollMs = 100;

// The status line's word on a drag of the solution's selected joint.
std::string DropText(TDrop drop, const TMechanism& m) {
  switch (drop) {
    case TDrop::NoDragRule:
      return m.Name + " joints are not dragged";
    case TDrop::JointNotDragged:
      return m.Name + " joint " +
             (m.Joints.GetSelectedJoint() ? m.Joints.GetSelectedJoint()->GetName() : "") + " is not dragged";
    case TDrop::Posed:
      return "Not taken: the animation stands away from the design";
    case TDrop::NotFromCurve:
      return "Not taken: the solution was not made for this curve";
    case TDrop::NotSynthesised:
      return "Not taken: no such linkage has the joint there";
    case TDrop::OutsideConstraints:
      return "Not taken: the linkage would break the areas or options";
    case TDrop::PathNotRun:
      return "Not taken: the linkage would no longer run its whole path";
    case TDrop::Taken:
    case TDrop::Unchanged:
      break;
  }
  return {};
}

// The views' side of the list's current solution.
class TListSolutionView : public TSolutionView {
 public:
  // A drop is rated against the window's curve and areas.
  TListSolutionView(TMechanismList& list, const TSpline& curve, const TAreaList& groundAreas,
                    const TAreaList& couplerAreas)
      : List(list), Curve(curve), GroundAreas(groundAreas), CouplerAreas(couplerAreas) {}
  bool HasCurrent() const override { return List.Current != nullptr; }
  void Deselect() override {
    if (List.Current) List.Current->ClearSelection();
  }
  int PickAt(const shared::TComplex& point, double tolerance, int& index) override {
    const auto [kind, i] = List.HitTest(point, tolerance);
    index = i;
    if (!List.Current) return kPickNothing;
    TMechanism& m = *List.Current;
    if (kind == kPickJoint) m.Joints.Select(i);
    if (kind == kPickPathPoint) m.PathPoints.Select(i);
    if (kind == kPickLink) m.Links.Select(i);
    if (kind == kPickJoint || kind == kPickLink) List.SelectGridRow();
    return kind;
  }
  bool HasSelectedJoint() const override { return List.Current && List.Current->Joints.Selected(); }
  std::string DragJoint(const shared::TComplex& point) override {
    if (!List.Current) return {};
    // Each type moves what keeps its synthesis whole (a four-bar moves nothing); a joint moved
    // alone would change the link lengths under the solution's error terms.
    TMechanism& m = *List.Current;
    std::vector<shared::TComplex> before;
    for (int32_t i = 1; i <= m.Joints.Count(); ++i) before.push_back(*m.Joints.Items(i));
    const TDrop drop = List.DropJoint(point, &Curve, &GroundAreas, &CouplerAreas);
    for (int32_t i = 1; i <= m.Joints.Count(); ++i) {
      const shared::TComplex& now = *m.Joints.Items(i);
      // The drag is saved with the project: the list asks before it is lost.
      if (now.X != before[size_t(i - 1)].X || now.Y != before[size_t(i - 1)].Y) {
        m.Joints.SetModified(true);
        break;
      }
    }
    List.SelectGridRow();
    return DropText(drop, m);
  }
  TComplexPointList* SelectedJointList() override {
    return List.Current && List.Current->Joints.Selected() ? &List.Current->Joints : nullptr;
  }
  TComplexPointList* SelectedPathPointList() override {
    return List.Current && List.Current->PathPoints.Selected() ? &List.Current->PathPoints : nullptr;
  }
  void RefillGrid() override {
    List.FillPropertiesGrid();
    List.SelectGridRow();
  }
  void Draw(shared::TCanvas2D& canvas) override {
    if (List.Current) List.Current->Draw(canvas);
  }
  void UpdateExtent(shared::TComplex& min, shared::TComplex& max) override {
    if (List.Current) List.Current->GetExtents(min, max);
  }
  void TakeDefaultInputFunction() override {
    if (!List.Current) return;
    TInputFunction& d = DefaultInputFunction();
    d.SetFunctionType(List.Current->InputFunction.FunctionType());
    d.SetTmax(List.Current->InputFunction.Tmax());
  }
  void ApplyDefaultInputFunction() override {
    List.ApplyInputFunctionToAll();
    List.DrawGraph();
  }
  void RefillViews() override {
    List.RebuildListView();
    List.SyncListView();
    List.UpdateViews();
  }

 private:
  TMechanismList& List;
  const TSpline& Curve;
  const TAreaList& GroundAreas;
  const TAreaList& CouplerAreas;
};

}  // namespace

void TMainForm::CreateSolutionList() {
  Beep = [] { QApplication::beep(); };
  ErrorBox = [this](const QString& text) { QMessageBox::critical(this, windowTitle(), text); };
  // Over the dialog that asked for it, when one is open.
  InfoBox = [this](const QString& text) {
    QWidget* modal = QApplication::activeModalWidget();
    QMessageBox::information(modal ? modal : this, windowTitle(), text);
  };
  MechListView->setColumnCount(3);
  MechListView->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Nr"), QStringLiteral("Total")});
  const QFontMetrics metrics(MechListView->font());
  const auto widest = [&metrics](std::initializer_list<const char*> texts) {
    int width = 0;
    for (const char* text : texts) width = std::max(width, metrics.horizontalAdvance(QString::fromLatin1(text)));
    return width + 16;
  };
  // Columns as wide as their longest texts: the type names, six-digit numbers and totals of
  // seven significant digits. The name column holds the row's picture before the name.
  MechListView->setColumnWidth(
      0, std::max(90, PictureSide(metrics) + widest({"Slider Four Bar", "Stephenson 3", "Eight Bar"}) + 8));
  MechListView->setColumnWidth(1, std::max(40, widest({"Nr", "000000"})));
  MechListView->setColumnWidth(2, std::max(100, widest({"Total", "0.0001234567", "1.234567E-10"})));
  MechListView->setSelectionMode(QAbstractItemView::SingleSelection);
  const int side = PictureSide(metrics);
  MechListView->setIconSize(QSize(side, side));
  StringGrid1->setColumnCount(3);
  StringGrid1->setRowCount(TMechanismList::kGridRows);
  StringGrid1->horizontalHeader()->hide();
  StringGrid1->verticalHeader()->setDefaultSectionSize(metrics.height() + 6);
  // The captions: the type's name heads the grid; units may be the longest symbols.
  StringGrid1->setColumnWidth(0, widest({"Slider Four Bar", "Stephenson 3", "Gear Ratio", "Input [grad]",
                                         "Time [min]", "Slider P1", "Link 10"}));
  StringGrid1->setColumnWidth(1, widest({"-0000.000", "Joints", "x [mm]", "R [mm]"}));
  const int lastColumn = widest({"-0000.000", "Length [mm]", "Angle [grad]"});
  // The left panel shows the list's and the grid's columns whole, with a scroll bar beside them.
  const int scrollBar = MechListView->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4;
  ListPanelNeed = std::max(MechListView->columnWidth(0) + MechListView->columnWidth(1) + MechListView->columnWidth(2) +
                               2 * MechListView->frameWidth(),
                           StringGrid1->columnWidth(0) + StringGrid1->columnWidth(1) + lastColumn +
                               2 * StringGrid1->frameWidth()) +
                  scrollBar;
  FListView = std::make_unique<TQtListView>(MechListView);
  FGrid = std::make_unique<TQtPropertiesGrid>(StringGrid1);
  FSolutions = std::make_unique<TMechanismList>();
  FSolutions->ListView = FListView.get();
  FSolutions->Grid = FGrid.get();
  FSolutions->Graph = &FGraphBox->Graph();
  // The grid and the graph follow the current solution in the list; the views show it, or
  // nothing, and the commands that need one follow too.
  FSolutions->OnCurrentChange = [this] {
    RepaintSolution();
    UpdateControls();
  };

  IdleTimer = new QTimer(this);
  IdleTimer->setInterval(0);
  connect(IdleTimer, &QTimer::timeout, this, [this] { IdleTurn(); });
  connect(&shared::ModalScopes(), &shared::TModalScopeNotifier::AllClosed, this, [this] {
    if (IdleTimer->isActive()) IdleTimer->setInterval(0);
  });
  connect(GenerateButton, &QAction::triggered, this, [this] { SynthesisGenerateClick(GenerateButton); });
  connect(SynthesisGenerate, &QAction::triggered, this, [this] { SynthesisGenerateClick(SynthesisGenerate); });
  connect(OptimizeButton, &QAction::triggered, this, [this] { OptimizeButtonClick(OptimizeButton); });
  connect(SynthesisOptimize, &QAction::triggered, this, [this] { OptimizeButtonClick(SynthesisOptimize); });
  connect(UndoOptimizeButton, &QAction::triggered, this, [this] { UndoOptimizeButtonClick(); });
  connect(SynthesisUndoOptimizeItem, &QAction::triggered, this, [this] { UndoOptimizeButtonClick(); });
  for (size_t type = 0; type < MechButtons.size(); ++type)
    if (MechButtons[type])
      connect(MechButtons[type], &QAction::triggered, this, [this, type] { FSolutions->NewType = uint8_t(type); });

  connect(MechListView, &QTreeWidget::itemSelectionChanged, this, [this] { MechListViewSelect(); });
  connect(MechListView, &QTreeWidget::itemDoubleClicked, this, [this] { MechListViewDblClick(); });
  ListPopupMenu = new QMenu(this);
  ListPopupMenu->setObjectName(QStringLiteral("ListPopupMenu"));
  ListPopUpOptimize = ListPopupMenu->addAction(QStringLiteral("&Optimize"));
  ListPopUpMark = ListPopupMenu->addAction(QStringLiteral("&Mark"));
  ListPopUpDelete = ListPopupMenu->addAction(QStringLiteral("&Delete"));
  ListPopUpClearAll = ListPopupMenu->addAction(QStringLiteral("&Clear All"));
  ListPopUpInputFunction = ListPopupMenu->addAction(QStringLiteral("&Input Function"));
  connect(ListPopUpOptimize, &QAction::triggered, this, [this] { OptimizeButtonClick(ListPopUpOptimize); });
  connect(ListPopUpMark, &QAction::triggered, this, [this] { ListPopUpMarkClick(); });
  connect(ListPopUpDelete, &QAction::triggered, this, [this] { ListPopUpDeleteClick(); });
  connect(ListPopUpClearAll, &QAction::triggered, this, [this] { ListPopUpClearAllClick(); });
  connect(ListPopUpInputFunction, &QAction::triggered, this, [this] { AnalysisInputFunctionClick(); });
  MechListView->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(MechListView, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { ListPopupMenu->popup(MechListView->viewport()->mapToGlobal(at)); });

  const auto animButton = [this](const char* name, const QString& text, const QString& hint, bool checkable,
                                 const char* picture) {
    QAction* action = ToolBar2->addAction(ToolPicture(QString::fromLatin1(picture)), text);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(hint);
    action->setStatusTip(hint);
    action->setCheckable(checkable);
    return action;
  };
  ToolBar2->addSeparator();
  ListDeleteButton = animButton("ListDeleteButton", QStringLiteral("Delete"), QStringLiteral("Delete Mechanism"),
                                false, "deletemech");
  ClearListButton =
      animButton("ClearListButton", QStringLiteral("Clear"), QStringLiteral("Clear List"), false, "clearlist");
  connect(ListDeleteButton, &QAction::triggered, this, [this] { ListPopUpDeleteClick(); });
  connect(ClearListButton, &QAction::triggered, this, [this] { ListPopUpClearAllClick(); });
  ToolBar2->addSeparator();
  InputFunctionButton = animButton("InputFunctionButton", QStringLiteral("Input"), QStringLiteral("Input Function"),
                                   false, "inputfunction");
  connect(InputFunctionButton, &QAction::triggered, AnalysisInputFunctionItem, &QAction::trigger);
  ToolBar2->addSeparator();
  StepCCWButton =
      animButton("StepCCWButton", QStringLiteral("<"), QStringLiteral("Step back"), false, "stepback");
  StartButton =
      animButton("StartButton", QStringLiteral("Start"), QStringLiteral("Start animation"), true, "start");
  PauseButton =
      animButton("PauseButton", QStringLiteral("Pause"), QStringLiteral("Pause animation"), true, "pause");
  StopButton = animButton("StopButton", QStringLiteral("Stop"), QStringLiteral("Stop animation"), false, "stop");
  StepCWButton =
      animButton("StepCWButton", QStringLiteral(">"), QStringLiteral("Step forward"), false, "stepforward");
  MakeCompact(ToolBar2);
  connect(StepCCWButton, &QAction::triggered, this, [this] { AnimationStepClick(false); });
  connect(StepCWButton, &QAction::triggered, this, [this] { AnimationStepClick(true); });
  connect(StartButton, &QAction::triggered, this, [this] { AnimationStartClick(StartButton); });
  connect(AnalysisStartItem, &QAction::triggered, this, [this] { AnimationStartClick(AnalysisStartItem); });
  connect(PauseButton, &QAction::triggered, this, [this] { PauseButtonClick(PauseButton); });
  connect(StopButton, &QAction::triggered, this, [this] { AnimationResetClick(); });
  connect(AnalysisResetItem, &QAction::triggered, this, [this] { AnimationResetClick(); });
  connect(AnimTimer, &QTimer::timeout, this, [this] { AnimTimerTick(); });
  SetSolutionView(std::make_unique<TListSolutionView>(*FSolutions, *FCurve, *FGroundAreas, *FCouplerAreas));
}

void TMainForm::AnimationStartClick(QObject* sender) {
  TMechanism* current = FSolutions->Current;
  if (!current) {
    StartButton->setChecked(false);
    return;
  }
  if (sender != StartButton) StartButton->setChecked(!StartButton->isChecked());
  if (!StartButton->isChecked()) {
    PauseButton->setChecked(true);
    PauseButtonClick(PauseButton);
    return;
  }
  PauseButton->setChecked(false);
  UpdateControls();
  // A paused run resumes where it stands; only a run from the start is prepared.
  if (current->InputFunction.CurrentStep == 0 && !AnimTimer->isActive()) {
    AnimTimer->setInterval(AppOptions.AnimationInterval());
    current->RestoreJoints();
    current->StoreJoints();
    RepaintSolution();
  }
  AnimationDirection = 1;
  AnimTimer->start();
}

void TMainForm::PauseButtonClick(QObject* sender) {
  if (sender != PauseButton) PauseButton->setChecked(!PauseButton->isChecked());
  if (!PauseButton->isChecked()) {
    StartButton->setChecked(true);
    AnimationStartClick(StartButton);
    return;
  }
  StartButton->setChecked(false);
  AnimTimer->stop();
}

void TMainForm::AnimationResetClick() {
  AnimTimer->stop();
  if (TMechanism* current = FSolutions->Current) {
    current->RestoreJoints();
    FGraphBox->Graph().SetCursor(AppOptions.XIsTime ? current->InputFunction.CurrentTime()
                                                    : current->InputFunction.CurrentPosition());
  }
  StartButton->setChecked(false);
  PauseButton->setChecked(false);
  UpdateControls();
  PaintBox1->update();
}

void TMainForm::AnimationStepClick(bool forward) {
  TMechanism* current = FSolutions->Current;
  if (!current) return;
  if (forward)
    current->StepForward();
  else
    current->StepBack();
  // The graph stays as it is: the cursor draws its lines and value boxes alone.
  FGraphBox->Graph().SetCursor(AppOptions.XIsTime ? current->InputFunction.CurrentTime()
                                                  : current->InputFunction.CurrentPosition());
  PaintBox1->update();
}

void TMainForm::AnimTimerTick() {
  TMechanism* current = FSolutions->Current;
  if (!current) {
    AnimationResetClick();
    return;
  }
  if (AnimationDirection <= 0) {
    if (!current->StepBack()) {
      AnimationResetClick();
      return;
    }
  } else if (!current->StepForward()) {
    AnimationDirection = -1;
    return;
  }
  // The graph stays as it is: the cursor draws its lines and value boxes alone.
  FGraphBox->Graph().SetCursor(AppOptions.XIsTime ? current->InputFunction.CurrentTime()
                                                  : current->InputFunction.CurrentPosition());
  PaintBox1->update();
}

void TMainForm::RepaintSolution() {
  PaintBox1->update();
  GraphPaintBox->update();
  FGraphBox->Invalidate();
}

void TMainForm::IdleTurn() {
  // A dialog, a message box or file work runs its own event loop: the work waits for it.
  const bool held = !shared::BackgroundMayRun();
  IdleTimer->setInterval(held ? kHeldPollMs : 0);
  if (held) return;
  switch (Work) {
    case TWork::Generation:
      GenerateIdle();
      break;
    case TWork::Optimization:
      OptimizeIdle();
      break;
    case TWork::None:
      IdleTimer->stop();
      break;
  }
}

void TMainForm::SelectFirstSolution() {
  if (FSolutions->Count() == 0) return;
  FSolutions->Select(1);
  FSolutions->SyncListView();
  if (AppOptions.ZoomAllOnSelect) ZoomAll(0);
  RepaintSolution();
}

void TMainForm::SynthesisGenerateClick(QObject* sender) {
  if (sender != GenerateButton) GenerateButton->setChecked(!GenerateButton->isChecked());
  if (GenerateButton->isChecked()) {
    ClearSelections();
    FGroundAreas->RemoveEmpty();
    FCouplerAreas->RemoveEmpty();
    SelectButtonClick(0);
    SelectCouplerButtonClick(0);
    // The engine knows some curves on which no candidate of the type can be found: say why.
    const std::string refusal = FSolutions->CreateMechanism()->CurveRefusal(*FCurve);
    if (!refusal.empty()) {
      ShowErrorBox(QString::fromStdString(refusal));
      GenerateButton->setChecked(false);
      UpdateControls();
      return;
    }
    // A run continued after a stop keeps its count of valid candidates.
    if (FProgress->Count == 0) FRunValidCandidates = 0;
    FProgress->Start();
    Work = TWork::Generation;
    UpdateControls();
    IdleTimer->start();
    return;
  }
  // Stopped by the user: the count stays for the next press, no beep.
  IdleTimer->stop();
  if (Work == TWork::Generation) Work = TWork::None;
  FProgress->Hide();
  if (sender != MechListView && !FSolutions->Current) SelectFirstSolution();
  UpdateControls();
}

bool TMainForm::GenerateIdle() {
  if (Work != TWork::Generation) return true;
  if (!shared::BackgroundMayRun()) return false;
  QElapsedTimer turn;
  turn.start();
  do {
    FProgress->Step();
    std::unique_ptr<TMechanism> candidate = FSolutions->CreateMechanism();
    candidate->Generate(*FCurve, FGroundAreas.get(), FCouplerAreas.get());
    if (candidate->Error.Valid) ++FRunValidCandidates;
    FSolutions->AddCandidate(std::move(candidate));
    if (FProgress->IsDone()) {
      IdleTimer->stop();
      Work = TWork::None;
      Beep();
      FProgress->Hide();
      FProgress->Reset();
      GenerateButton->setChecked(false);
      UpdateControls();
      RepaintSolution();
      // A run that kept nothing would otherwise end with only the beep.
      if (FRunValidCandidates == 0)
        ShowInfoBox(QStringLiteral("The search found no mechanism that meets the curve, the pivot areas and "
                                   "the synthesis options."));
      return true;
    }
  } while (turn.elapsed() < GenerateTurnMs);
  return false;
}

void TMainForm::OptimizeButtonClick(QObject* sender) {
  AnimationResetClick();
  if (sender != OptimizeButton) OptimizeButton->setChecked(!OptimizeButton->isChecked());
  if (!OptimizeButton->isChecked()) {
    if (Work == TWork::Optimization) StopOptimizing();
    return;
  }
  TMechanism* mechanism = FSolutions->Current;
  if (!mechanism || Work == TWork::Generation) {
    OptimizeButton->setChecked(false);
    UpdateControls();
    return;
  }
  ClearSelections();
  FGroundAreas->RemoveEmpty();
  FCouplerAreas->RemoveEmpty();
  // What Undo Optimize gives back, as the list shows it now.
  std::unique_ptr<TMechanism::TDesign> start = mechanism->SaveDesign();
  mechanism->EvaluateConstraints(FGroundAreas.get(), FCouplerAreas.get());
  const bool valid = mechanism->Error.Valid;
  mechanism->Error.Valid = true;
  const bool curve = FCurve->Count() >= 2;
  if (valid && curve && mechanism->IsFromCurve(FCurve->ID)) {
    const TRating rating =
        mechanism->StartOptimize(std::move(start), FCurve.get(), FGroundAreas.get(), FCouplerAreas.get());
    if (rating != TRating::Rated) {
      // A solution of an earlier build may be synthesised again and still fail today's checks.
      ShowErrorBox(rating == TRating::PathNotRun
                       ? QStringLiteral("The Mechanism no longer runs its path within the synthesis options: "
                                        "it is not optimized.")
                       : QStringLiteral("The Mechanism cannot be synthesised again at its own rotations: it is "
                                        "not optimized."));
      OptimizeButton->setChecked(false);
      UpdateControls();
      return;
    }
    FOptimizer = std::make_unique<TMechOptimize>();
    FOptimizer->Mechanism = mechanism;
    FOptimizer->Curve = FCurve.get();
    FOptimizer->GroundAreas = FGroundAreas.get();
    FOptimizer->CouplerAreas = FCouplerAreas.get();
    FOptimizer->Start();
    Work = TWork::Optimization;
    UpdateControls();
    IdleTimer->start();
    return;
  }
  if (curve) ShowErrorBox(QStringLiteral("The Mechanism was not generated with current constraints."));
  OptimizeButton->setChecked(false);
  UpdateControls();
}

bool TMainForm::OptimizeIdle() {
  if (Work != TWork::Optimization) return true;
  if (!shared::BackgroundMayRun()) return false;
  if (!FOptimizer->Done) {
    FOptimizer->Iterate();
    // A long search shows its progress now and then; the paint waits for no event loop turn.
    if (FOptimizer->Iterations % 10 == 0) PaintBox1->repaint();
    if (!FOptimizer->Done) return false;
  }
  StopOptimizing();
  return true;
}

int32_t TMainForm::OptimizeSweeps() const { return FOptimizer ? FOptimizer->Iterations : 0; }

void TMainForm::StopOptimizing() {
  IdleTimer->stop();
  Beep();
  FOptimizer->Finish();
  FOptimizer.reset();
  Work = TWork::None;
  OptimizeButton->setChecked(false);
  FSolutions->Resort();
  if (FSolutions->Current) FSolutions->Current->UpdateListItem();
  FSolutions->SyncListView();
  FSolutions->UpdateViews();
  UpdateControls();
  RepaintSolution();
}

void TMainForm::UndoOptimizeButtonClick() {
  const TUndoOptimize undone =
      FSolutions->UndoOptimize(FCurve.get(), FGroundAreas.get(), FCouplerAreas.get());
  Beep();
  RepaintSolution();
  if (undone == TUndoOptimize::NotRebuilt)
    ShowErrorBox(
        QStringLiteral("The Mechanism cannot be synthesised again at the rotations it was optimized "
                       "from: it stays as optimized."));
}

void TMainForm::MechListViewSelect() {
  AnimationResetClick();
  FSolutions->SelectFromListView();
  if (FSolutions->Current && AppOptions.ZoomAllOnSelect) ZoomAll(0);
  UpdateControls();
  RepaintSolution();
}

void TMainForm::MechListViewDblClick() {
  AnimationResetClick();
  if (Work == TWork::Generation)
    SynthesisGenerateClick(MechListView);
  else if (Work == TWork::Optimization)
    OptimizeButtonClick(MechListView);
  AnimationStartClick(nullptr);
}

void TMainForm::ListPopUpMarkClick() {
  TMechanism* current = FSolutions->Current;
  if (!current) return;
  current->Marked = !current->Marked;
  current->UpdateListItem();
  Modified = true;
  UpdateCaption();
}

void TMainForm::ListPopUpDeleteClick() {
  if (FListView->SelectedRow() < 0) return;
  if (!Dialogs->Confirm(QStringLiteral("Do you wish to Delete the selected Mechanism?"))) return;
  AnimationResetClick();
  FSolutions->DeleteSelected();
  FSolutions->Modified = true;
  UpdateControls();
  RepaintSolution();
}

void TMainForm::ListPopUpClearAllClick() {
  if (!Dialogs->Confirm(QStringLiteral("Do you wish to Delete All Mechanisms?"))) return;
  AnimationResetClick();
  FSolutions->Clear();
  FSolutions->Modified = true;
  FProgress->Reset();
  UpdateControls();
  RepaintSolution();
}

}  // namespace vesk
