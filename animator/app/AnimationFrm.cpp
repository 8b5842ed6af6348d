// The animation view: layout, commands, drawing, animation, documents, settings and texts. Its
// mouse tools are in AnimationTools.cpp, its exports in AnimationExports.cpp.
#include "animator/app/AnimationFrm.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <exception>
#include <filesystem>
#include <stdexcept>

#include "animator/app/AnimOptionsDlg.h"
#include "animator/app/AnimationSettings.h"
#include "animator/app/AppDialogs.h"
#include "animator/app/DXFImportDlg.h"
#include "animator/app/FieldRange.h"
#include "animator/app/GraphFrm.h"
#include "animator/app/InformationBox.h"
#include "animator/app/InputFunctionDlg.h"
#include "animator/app/LanguageFile.h"
#include "animator/app/MorphDlg.h"
#include "animator/app/Pictures.h"
#include "animator/app/TrackBar.h"
#include "animator/engine/AniMechanism.h"
#include "animator/engine/MechOptimize.h"
#include "animator/engine/MechanismHeader.h"
#include "animator/engine/StdOut.h"
#include "animator/engine/UndoStep.h"
#include "shared/AniCanvas2D.h"
#include "shared/FilePath.h"
#include "shared/ProgramInfo.h"
#include "shared/Settings.h"
#include "shared/ShellOpen.h"
#include "shared/Sound.h"
#include "shared/TabLine.h"
#include "shared/qt/PathName.h"
#include "shared/qt/ProjectInfoDialog.h"
#include "shared/qt/QtCanvas.h"
#include "shared/qt/QtText.h"

namespace quillon {

using shared::FromPath;
using shared::PathForLog;
using shared::ToPath;

namespace {

constexpr const char* kTextSection = "Animation";
// Picture numbers of the tool icons: pause, start, and the three speeds from 13 on.
constexpr const char* kImageProperty = "ImageIndex";
constexpr int kPauseImage = 4;
constexpr int kStartImage = 5;
constexpr int kSpeedImage = 13;
// The widest texts of the coordinate read-outs and of the step panel.
constexpr const char* kWidestReadout = "Angle: -29091.23 mrad";
constexpr const char* kWidestPosition = "Pos: 99999";

// "Short|Long": the tool tip shows the short part, the status line the long one. For widgets
// and menu items alike.
template <typename THinted>
void SetHint(THinted* target, const std::string& hint) {
  const QString text = shared::ToQString(hint);
  const qsizetype bar = text.indexOf(QLatin1Char('|'));
  target->setToolTip(bar < 0 ? text : text.left(bar));
  target->setStatusTip(bar < 0 ? text : text.mid(bar + 1));
}

// The short hint is also the button's text, which the screen readers tell; the bars show only
// the pictures.
void SetButtonHint(QToolButton* button, const std::string& hint) {
  SetHint(button, hint);
  button->setText(button->toolTip());
}

std::string FormatName(const std::string& format, const std::string& name) {
  std::string text = format;
  const size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, name);
  return text;
}

}  // namespace

TAnimationFrm::TAnimationFrm(shared::TClipboard& clipboard, QWidget* parent)
    : QWidget(parent), Clipboard(clipboard) {
  setObjectName(QStringLiteral("AnimationFrm1"));
  CreateComponents();

  PaintBox = std::make_unique<shared::TQtPaintBox>(PaintBox1);
  FCanvas = std::make_unique<shared::TAniCanvas2D>(*PaintBox, 1.0);
  PaintBox->SetCanvas(FCanvas.get());
  XPanel = std::make_unique<shared::TQtStatusPanel>(StatusPanels[0]);
  YPanel = std::make_unique<shared::TQtStatusPanel>(StatusPanels[1]);
  FCanvas->XPanel = XPanel.get();
  FCanvas->YPanel = YPanel.get();
  // A zoom or pan tool stays until another tool is chosen.
  FCanvas->AutoResetMode = false;
  FCanvas->SetDoubleBuffered(true);
  FCanvas->SetFontName("MS Sans Serif");
  FCanvas->GridStyle = shared::TGridStyle::Lines;
  FCanvas->Polar = false;
  FCanvas->ImageList = &MechImageList;
  FCanvas->OnBackground = [this](shared::TAniCanvas2D& canvas) { DrawBackground(canvas); };
  FCanvas->GridColor = 12632256;
  FCanvas->GridPenStyle = shared::TPenStyle::Solid;

  // After the paint box's own filter, so this one sees the events first.
  PaintBox1->installEventFilter(this);
  PositionTrackBar->installEventFilter(this);
  PaintBox->OnPaint = [this] {
    Guarded([this] {
      if (RepaintPending) PaintBox1Paint();
    });
  };
  PaintBox->OnResize = [this] { RepaintPending = true; };
  PaintBox->OnMouseDown = [this](Qt::MouseButton button, shared::TShiftState shift, int x, int y) {
    Guarded([&] { PaintBox1MouseDown(button, shift, x, y); });
  };
  PaintBox->OnMouseMove = [this](shared::TShiftState shift, int x, int y) {
    Guarded([&] { PaintBox1MouseMove(shift, x, y); });
  };
  PaintBox->OnMouseUp = [this](Qt::MouseButton button, shared::TShiftState shift, int x, int y) {
    Guarded([&] { PaintBox1MouseUp(button, shift, x, y); });
  };

  GraphVisible = true;
  FFileName = shared::ProgramInfo().DefaultName;
  FMechanism = std::make_unique<TAniMechanism>();
  GraphFrm1->SetMechanism(FMechanism.get());
  GraphFrm1->Rebuild();
  SetSpeed(1);
  SetModified(false);
  RefreshTrackBar();
  ShowFileName();
  // The buttons show the state the first action would leave: Select down, Start with its picture.
  SetStartState(false);
  UpdateToolButtons();
}

TAnimationFrm::~TAnimationFrm() {
  AnimationTimer->stop();
  // Settings that cannot be written at the end of the run are lost; nothing else can be done.
  try {
    SaveSettings();
  } catch (...) {
  }
  // The paint box stops forwarding before the canvas goes.
  PaintBox.reset();
}

void TAnimationFrm::CreateComponents() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  CoolBar1 = new QWidget(this);
  CoolBar1->setObjectName(QStringLiteral("CoolBar1"));
  // Two bands, one tool bar each.
  auto* coolLayout = new QVBoxLayout(CoolBar1);
  coolLayout->setContentsMargins(0, 0, 0, 0);
  coolLayout->setSpacing(0);
  ToolBar1 = new QToolBar(CoolBar1);
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar2 = new QToolBar(CoolBar1);
  ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
  coolLayout->addWidget(ToolBar1);
  coolLayout->addWidget(ToolBar2);
  layout->addWidget(CoolBar1);

  SelectButton = NewToolButton(ToolBar1, "SelectButton", "Select", TTool::Select);
  MoveButton = NewToolButton(ToolBar1, "MoveButton", "Move", TTool::Pan);
  ToolBar1->addSeparator();
  ZoomAllButton = NewToolButton(ToolBar1, "ZoomAllButton", "Zoom All");
  ZoomInButton = NewToolButton(ToolBar1, "ZoomInButton", "Zoom In", TTool::ZoomRect);
  ZoomOutButton = NewToolButton(ToolBar1, "ZoomOutButton", "Zoom Out", TTool::ZoomOut);
  ZoomButton = NewToolButton(ToolBar1, "ZoomButton", "Zoom", TTool::DragZoom);
  ToolBar1->addSeparator();
  AddInputButton = NewToolButton(ToolBar1, "AddInputButton", "Add Input Link", TTool::AddInput);
  AddDyadButton =
      NewToolButton(ToolBar1, "AddDyadButton", "Add Dyad|Add Dyad Links or Free Joints", TTool::AddDyad);
  AddSliderButton = NewToolButton(ToolBar1, "AddSliderButton", "Add Slider", TTool::AddSlider);
  AddJointButton = NewToolButton(ToolBar1, "AddJointButton", "Add Joint to Link", TTool::AddJoint);
  ToolBar1->addSeparator();
  DeleteButton = NewToolButton(ToolBar1, "DeleteButton", "Delete Selected");
  ToolBar1->addSeparator();
  AddCurveButton = NewToolButton(ToolBar1, "AddCurveButton", "Add Curve Point", TTool::AddCurvePoint);
  AddAreaButton = NewToolButton(ToolBar1, "AddAreaButton", "Add Area", TTool::AddArea);
  OptimizeButton = NewToolButton(ToolBar1, "OptimizeButton", "Optimize");
  OptimizeButton->setCheckable(true);

  StopButton = NewToolButton(ToolBar2, "StopButton", "Stop and Reset|Stop and Reset <Esc>");
  StartButton = NewToolButton(ToolBar2, "StartButton", "Start|Start Animation <Space>");
  StartButton->setCheckable(true);
  RecordButton = NewToolButton(ToolBar2, "RecordButton", "Store|Store Current Position as Start Position");
  PositionTrackBar = new TTrackBar(ToolBar2);
  PositionTrackBar->setObjectName(QStringLiteral("PositionTrackBar"));
  PositionTrackBar->setFixedWidth(316);
  ToolBar2->addWidget(PositionTrackBar);
  SpeedButton = NewToolButton(ToolBar2, "SpeedButton", "Medium Animation Speed");
  const std::pair<QToolButton*, const char*> pictures[] = {
      {SelectButton, "select"},       {MoveButton, "move"},           {ZoomAllButton, "zoomall"},
      {ZoomInButton, "zoomin"},       {ZoomOutButton, "zoomout"},     {ZoomButton, "zoom"},
      {AddInputButton, "addinput"},   {AddDyadButton, "adddyad"},     {AddSliderButton, "addslider"},
      {AddJointButton, "addjoint"},   {DeleteButton, "delete"},       {AddCurveButton, "addcurve"},
      {AddAreaButton, "addarea"},     {OptimizeButton, "optimize"},   {StopButton, "stop"},
      {RecordButton, "store"}};
  for (const auto& [button, picture] : pictures) button->setIcon(ToolPicture(QString::fromLatin1(picture)));
  for (QToolBar* bar : {ToolBar1, ToolBar2}) {
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->setIconSize(ToolIconSize(fontMetrics()));
  }

  Splitter1 = new QSplitter(Qt::Vertical, this);
  Splitter1->setObjectName(QStringLiteral("Splitter1"));
  Splitter1->setChildrenCollapsible(false);
  layout->addWidget(Splitter1, 1);

  PanelTop = new QWidget(Splitter1);
  PanelTop->setObjectName(QStringLiteral("PanelTop"));
  auto* topLayout = new QVBoxLayout(PanelTop);
  topLayout->setContentsMargins(0, 0, 0, 0);
  topLayout->setSpacing(0);
  Panel1 = new QWidget(PanelTop);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  auto* panelLayout = new QVBoxLayout(Panel1);
  panelLayout->setContentsMargins(0, 0, 0, 0);
  PaintBox1 = new QWidget(Panel1);
  PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
  PaintBox1->setMouseTracking(true);
  PaintBox1->setContextMenuPolicy(Qt::CustomContextMenu);
  // A click in the drawing focuses the view, where the Delete key acts on the selection.
  PaintBox1->setFocusPolicy(Qt::ClickFocus);
  setFocusProxy(PaintBox1);
  PaintBox1->setMinimumSize(100, 80);
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPixelSize(13);
  PaintBox1->setFont(font);
  panelLayout->addWidget(PaintBox1);
  topLayout->addWidget(Panel1, 1);
  StatusBar1 = new QStatusBar(PanelTop);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(false);
  // The read-outs take the widest text they show, in the font of this desktop.
  const QFontMetrics metrics(StatusBar1->font());
  const int padding = 2 * metrics.averageCharWidth();
  const int readout = std::max(90, metrics.horizontalAdvance(QString::fromLatin1(kWidestReadout)) + padding);
  const int position = std::max(60, metrics.horizontalAdvance(QString::fromLatin1(kWidestPosition)) + padding);
  const int widths[4] = {readout, readout, position, 500};
  for (int i = 0; i < 4; ++i) {
    StatusPanels[i] = new QLabel(StatusBar1);
    StatusPanels[i]->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(i));
    if (i < 3) {
      StatusPanels[i]->setFixedWidth(widths[i]);
      StatusPanels[i]->setAlignment(Qt::AlignCenter);
      StatusBar1->addWidget(StatusPanels[i]);
    } else {
      StatusPanels[i]->setMinimumWidth(widths[i] / 4);
      StatusBar1->addWidget(StatusPanels[i], 1);
    }
  }
  topLayout->addWidget(StatusBar1);

  PanelBottom = new QWidget(Splitter1);
  PanelBottom->setObjectName(QStringLiteral("PanelBottom"));
  auto* bottomLayout = new QVBoxLayout(PanelBottom);
  bottomLayout->setContentsMargins(0, 0, 0, 0);
  GraphFrm1 = new TGraphFrm(PanelBottom);
  bottomLayout->addWidget(GraphFrm1);
  Splitter1->addWidget(PanelTop);
  Splitter1->addWidget(PanelBottom);
  Splitter1->setStretchFactor(0, 1);
  Splitter1->setStretchFactor(1, 0);
  connect(Splitter1, &QSplitter::splitterMoved, this, [this] { GraphHeight = PanelBottom->height(); });

  AnimationTimer = new QTimer(this);
  AnimationTimer->setObjectName(QStringLiteral("AnimationTimer"));

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  PopupMenu1->setToolTipsVisible(true);
  PopTogglePath = NewPopItem("PopTogglePath", "Show &Path", "Show path of selected joint");
  PopToggleGraph = NewPopItem("PopToggleGraph", "Show &Graph", "Show in Graph");
  PopToggleVectors =
      NewPopItem("PopToggleVectors", "Show &Vectors", "Show velocity and acceleration vectors");
  PopToggleLock = NewPopItem("PopToggleLock", "&Lock", "Lock Joint");
  PopupMenu1->addSeparator();
  PopInstCenters =
      NewPopItem("PopInstCenters", "Instant Centers", "Show Instant Center of two selected links");
  PopDXFDrawing = NewPopItem("PopDXFDrawing", "DXF drawing", "Import or edit DXF drawing and show as link");
  PopupMenu1->addSeparator();
  PopBringToFront = NewPopItem("PopBringToFront", "Bring to &front", "Bring selected link to the front");
  PopSendToBack = NewPopItem("PopSendToBack", "Send to &back", "Send selected link to the back");
  PopupMenu1->addSeparator();
  PopSetAsOutput = NewPopItem("PopSetAsOutput", "Set As &Output Joint", "Set selected joint at output joint");
  PopEditInput =
      NewPopItem("PopEditInput", "Edit &Input Function...", "Edit Input function of selected joint");
  PopMoveRotateResize =
      NewPopItem("PopMoveRotateResize", "&Move, Rotate, Resize...",
                 "Move, Rotate and/or resize the mechanism using the selected joint as reference");
  PopupMenu1->addSeparator();
  PopOptions = NewPopItem("PopOptions", "Option&s...", "Animation Color and Background settings");
  for (QAction* item : {PopTogglePath, PopToggleGraph, PopToggleVectors, PopToggleLock})
    item->setCheckable(true);
  UpdateDialogItems();

  // What the view does by itself: the step bar set by the program, the timer, the menu's items.
  const auto on = [this](auto* sender, auto signal, void (TAnimationFrm::*handler)()) {
    connect(sender, signal, this, [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
  };
  // What the user asks for.
  const auto user = [this](auto* sender, auto signal, void (TAnimationFrm::*handler)()) {
    connect(sender, signal, this,
            [this, handler] { Entry(TEntry::Command, [this, handler] { (this->*handler)(); }); });
  };
  for (QToolButton* button : ToolButtons()) {
    connect(button, &QToolButton::clicked, this,
            [this, button] { Entry(TEntry::Command, [this, button] { SelectButtonClick(button); }); });
  }
  user(ZoomAllButton, &QToolButton::clicked, &TAnimationFrm::ZoomAllButtonClick);
  user(DeleteButton, &QToolButton::clicked, &TAnimationFrm::DeleteButtonClick);
  connect(StopButton, &QToolButton::clicked, this,
          [this] { Entry(TEntry::Stop, [this] { StopButtonClick(); }); });
  connect(StartButton, &QToolButton::clicked, this,
          [this] { Entry(TEntry::Command, [this] { StartButtonClick(StartButton); }); });
  user(RecordButton, &QToolButton::clicked, &TAnimationFrm::RecordButtonClick);
  // Released while the fit runs, the button is the fit's Stop.
  connect(OptimizeButton, &QToolButton::clicked, this, [this] {
    Entry(FLoop == TLoop::Fit ? TEntry::Stop : TEntry::Command,
          [this] { OptimizeButtonClick(OptimizeButton); });
  });
  user(SpeedButton, &QToolButton::clicked, &TAnimationFrm::SpeedButtonClick);
  on(PositionTrackBar, &QSlider::valueChanged, &TAnimationFrm::PositionTrackBarChange);
  on(AnimationTimer, &QTimer::timeout, &TAnimationFrm::AnimationTimerTimer);
  on(PopupMenu1, &QMenu::aboutToShow, &TAnimationFrm::PopupMenu1Popup);
  shared::ScopeWhileShown(*PopupMenu1);
  user(PopTogglePath, &QAction::triggered, &TAnimationFrm::PopTogglePathClick);
  user(PopToggleLock, &QAction::triggered, &TAnimationFrm::PopToggleLockClick);
  user(PopToggleGraph, &QAction::triggered, &TAnimationFrm::PopToggleGraphClick);
  user(PopToggleVectors, &QAction::triggered, &TAnimationFrm::PopToggleVectorsClick);
  user(PopInstCenters, &QAction::triggered, &TAnimationFrm::PopInstCentersClick);
  user(PopBringToFront, &QAction::triggered, &TAnimationFrm::PopBringToFrontClick);
  user(PopSendToBack, &QAction::triggered, &TAnimationFrm::PopSendToBackClick);
  user(PopSetAsOutput, &QAction::triggered, &TAnimationFrm::PopSetAsOutputClick);
  // The items that open a dialog run as commands of the main window, like its menu items.
  const auto command = [this](QAction* item, void (TAnimationFrm::*handler)()) {
    connect(item, &QAction::triggered, this,
            [this, handler] { RunOwnCommand([this, handler] { (this->*handler)(); }); });
  };
  command(PopEditInput, &TAnimationFrm::InputButtonClick);
  command(PopMoveRotateResize, &TAnimationFrm::PopMoveRotateResizeClick);
  command(PopOptions, &TAnimationFrm::EditOptions);
  command(PopDXFDrawing, &TAnimationFrm::PopDXFDrawingClick);
  connect(PaintBox1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    Entry(TEntry::Command, [this, at] { PopupMenu1->popup(PaintBox1->mapToGlobal(at)); });
  });
}

QToolButton* TAnimationFrm::NewToolButton(QToolBar* bar, const char* name, const char* hint,
                                          std::optional<TTool> tool) {
  auto* button = new QToolButton(bar);
  button->setObjectName(QString::fromLatin1(name));
  // A tool's button stays down while it is the view's tool.
  if (tool) SetToolOf(button, *tool);
  button->setCheckable(tool.has_value());
  button->setAutoRaise(true);
  SetButtonHint(button, hint);
  bar->addWidget(button);
  return button;
}

QAction* TAnimationFrm::NewPopItem(const char* name, const char* caption, const char* hint) {
  auto* item = new QAction(shared::ToQString(caption), PopupMenu1);
  item->setObjectName(QString::fromLatin1(name));
  SetHint(item, hint);
  PopupMenu1->addAction(item);
  return item;
}

void TAnimationFrm::Guarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    StdOut().Error(error.what());
  } catch (...) {
    StdOut().Error("Unknown error");
  }
}

void TAnimationFrm::RunOwnCommand(const std::function<void()>& command) {
  if (CommandRunner) {
    CommandRunner(command);
  } else {
    Entry(TEntry::Command, command);
  }
}

void TAnimationFrm::Entry(TEntry entry, const std::function<void()>& handler) {
  if (entry == TEntry::Command && RefuseWhileBusy()) {
    ShowButtonStates();
    return;
  }
  Guarded(handler);
}

// A check button flips itself before its command is asked; refused, it shows the state again.
void TAnimationFrm::ShowButtonStates() {
  UpdateToolButtons();
  StartButton->setChecked(Running);
  OptimizeButton->setChecked(FLoop == TLoop::Fit);
}

bool TAnimationFrm::CommandsRefused() const {
  return RunningLoop() != TLoop::None || shared::TModalScope::Depth() > 0;
}

bool TAnimationFrm::RefuseWhileBusy() {
  if (!CommandsRefused()) return false;
  StdOut().Warning(BusyText);
  return true;
}

bool TAnimationFrm::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == PaintBox1 || watched == PositionTrackBar) && CommandsRefused()) {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
      case QEvent::KeyPress:
        RefuseWhileBusy();
        return true;
      case QEvent::MouseMove:
      case QEvent::MouseButtonRelease:
      case QEvent::KeyRelease:
      case QEvent::Wheel:
      case QEvent::ContextMenu:
        return true;
      default:
        break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

bool TAnimationFrm::BeginLoop(TLoop loop) {
  if (RunningLoop() != TLoop::None) return false;
  LoopScope.emplace();
  FLoop = loop;
  FilmStopped = false;
  return true;
}

void TAnimationFrm::EndLoop() {
  FLoop = TLoop::None;
  LoopScope.reset();
}

// ---------------------------------------------------------------------------------------------
// State and drawing.

shared::TProjectInfo& TAnimationFrm::ProjectInfo() {
  shared::TProjectInfoDialog* dialog = AppDialogs().ProjectInfoDialog;
  return dialog ? dialog->Info : FProjectInfo;
}

bool TAnimationFrm::IsModified() const { return Modified || FMechanism->GetModified(); }

void TAnimationFrm::SetModified(bool value) {
  Modified = value;
  FMechanism->SetModified(value);
}

void TAnimationFrm::ShowFileName() { StatusPanels[3]->setText(FromPath(FFileName)); }

void TAnimationFrm::SetPolar(bool polar) {
  FCanvas->Polar = polar;
  FCanvas->UpdateStatus();
}

void TAnimationFrm::Draw() {
  if (RepaintPending) {
    PaintBox1Paint();
    return;
  }
  FCanvas->CopyBackground();
  FCanvas->UseFrontCanvas();
  FMechanism->Paint(*FCanvas);
  FCanvas->Present();
}

void TAnimationFrm::PaintBox1Paint() {
  FCanvas->ClearBackground();
  RepaintPending = false;
  Draw();
}

void TAnimationFrm::Invalidate() {
  RepaintPending = true;
  PaintBox1->update();
}

// The background style's drawing: the frame link's attached DXF drawing.
void TAnimationFrm::DrawBackground(shared::TAniCanvas2D& canvas) { FMechanism->PaintFrameDrawing(canvas); }

void TAnimationFrm::UpdateGridStyle() {
  FCanvas->GridStyle =
      FMechanism->HasFrameDrawing() ? shared::TGridStyle::Background : shared::TGridStyle::Lines;
}

void TAnimationFrm::ZoomAllButtonClick() {
  shared::TComplex min;
  shared::TComplex max;
  if (FMechanism->GetExtent(min, max)) FCanvas->ZoomToRect(min, max, 1.2);
  Invalidate();
}

void TAnimationFrm::MechanismChanged(TChangeSource source) {
  FMechanism->Calculate();
  Modified = true;
  switch (source) {
    case TChangeSource::None:
      if (OnChange) OnChange();
      break;
    case TChangeSource::View:
      if (OnChange) OnChange();
      Draw();
      break;
    case TChangeSource::Other:
      Invalidate();
      break;
  }
  RefreshTrackBar();
  // A usable curve brings the error graphs.
  GraphFrm1->SetErrorAvailable(FMechanism->CanFitCurve());
  GraphFrm1->Rebuild();
}

void TAnimationFrm::RefreshTrackBar() {
  PositionTrackBar->Tag = 1;
  PositionTrackBar->setRange(0, FMechanism->N);
  PositionTrackBar->SetSelection(FMechanism->Len, FMechanism->N);
  PositionTrackBar->setValue(FMechanism->ShownStep());
  PositionTrackBar->Tag = 0;
  // A solution that shortened the range shows its end; the chosen step comes back with the range.
  ShowPosition();
}

void TAnimationFrm::ShowPosition() {
  StatusPanels[2]->setText(
      QStringLiteral("%1: %2").arg(shared::ToQString(PosLabel)).arg(PositionTrackBar->value()));
}

void TAnimationFrm::SetTrackBarPosition(int p) {
  if (PositionTrackBar->value() == p) {
    PositionTrackBarChange();
  } else {
    PositionTrackBar->setValue(p);
  }
}

void TAnimationFrm::ApplyGraphHeight() {
  const QList<int> sizes = Splitter1->sizes();
  const int total = sizes.value(0) + sizes.value(1);
  if (total > 0) Splitter1->setSizes({std::max(0, total - GraphHeight), GraphHeight});
}

void TAnimationFrm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // The splitter knows its height only once shown.
  if (!GraphHeightApplied) {
    GraphHeightApplied = true;
    layout()->activate();
    ApplyGraphHeight();
  }
}

void TAnimationFrm::SetGraphVisible(bool visible) {
  GraphVisible = visible;
  PanelBottom->setVisible(visible);
}

void TAnimationFrm::RefreshGraph() {
  GraphFrm1->SetErrorAvailable(FMechanism->CanFitCurve());
  GraphFrm1->Invalidate();
  // The coordinate read-out takes the new units now, not at the next mouse move.
  FCanvas->UpdateStatus();
}

// ---------------------------------------------------------------------------------------------
// Commands of the buttons and the pop-up menu.

void TAnimationFrm::DeleteButtonClick() {
  TUndoStep undo(*FMechanism);
  FMechanism->DeleteSelected();
  FMechanism->Areas.DeleteSelected();
  FMechanism->Curve.DeleteSelected();
  if (OnCurveChange) OnCurveChange();
  if (OnAreaChange) OnAreaChange();
  undo.Commit();
  MechanismChanged();
  Draw();
}

void TAnimationFrm::SelectAll() {
  FMechanism->SelectAll();
  Draw();
}

void TAnimationFrm::StopAndSelect() {
  StopButtonClick();
  SelectButtonClick(SelectButton);
  OptimizeButton->setChecked(false);
}

// The program makes its dialogs after the view: the items follow them when the menu opens.
void TAnimationFrm::UpdateDialogItems() {
  PopEditInput->setEnabled(AppDialogs().InputFunctionDlg != nullptr);
  PopMoveRotateResize->setEnabled(AppDialogs().MorphDlg != nullptr);
  PopOptions->setEnabled(AppDialogs().AnimOptionsDlg != nullptr);
  PopDXFDrawing->setEnabled(AppDialogs().DXFImportDlg != nullptr);
}

void TAnimationFrm::PopupMenu1Popup() {
  TAniMechanism& m = *FMechanism;
  const int j = m.NextSelectedJoint(0);
  const int l = m.NextSelectedLink(0);
  const bool joint = j >= 0;
  const bool link = l >= 0;
  PopTogglePath->setVisible(joint);
  PopToggleVectors->setVisible(joint);
  PopToggleLock->setVisible(joint);
  PopSetAsOutput->setVisible(joint);
  PopToggleGraph->setVisible(joint || link);
  PopInstCenters->setVisible(link);
  PopSendToBack->setVisible(link);
  PopBringToFront->setVisible(link);
  PopEditInput->setVisible(joint && m.Joint(j).InputIndex >= 0);
  PopDXFDrawing->setVisible(!joint);
  PopDXFDrawing->setEnabled(AppDialogs().DXFImportDlg != nullptr);
  PopOptions->setVisible(true);
  PopMoveRotateResize->setVisible(true);
  UpdateDialogItems();
  const auto follow = [](QAction* item, bool on, const std::string& hide, const std::string& show) {
    item->setChecked(on);
    item->setText(shared::ToQString(on ? hide : show));
  };
  if (link) follow(PopToggleGraph, m.Link(l).Kinematics != 0, HideGraphText, ShowGraphText);
  if (joint) {
    const TAniJoint& p = m.Joint(j);
    follow(PopToggleGraph, p.Analyse != 0, HideGraphText, ShowGraphText);
    follow(PopToggleVectors, p.ShowVectors != 0, HideVectorsText, ShowVectorsText);
    follow(PopTogglePath, p.Trace != 0, HidePathText, ShowPathText);
    follow(PopToggleLock, p.Locked != 0, UnlockText, LockText);
  }
}

// The trace and lock flags are part of the document: changed, it must be saved. Neither
// changes the solution, so nothing is recalculated.
void TAnimationFrm::PopTogglePathClick() {
  TUndoStep undo(*FMechanism);
  FMechanism->ToggleTraceSelected();
  undo.Commit();
  Modified = true;
  Draw();
}

void TAnimationFrm::PopToggleLockClick() {
  TUndoStep undo(*FMechanism);
  FMechanism->ToggleLockSelected();
  undo.Commit();
  Modified = true;
  Draw();
}

void TAnimationFrm::PopToggleGraphClick() {
  TUndoStep undo(*FMechanism);
  FMechanism->ToggleAnalysisSelected();
  undo.Commit();
  MechanismChanged(TChangeSource::Other);
}

void TAnimationFrm::PopToggleVectorsClick() {
  TUndoStep undo(*FMechanism);
  FMechanism->ToggleVectorsSelected();
  undo.Commit();
  MechanismChanged(TChangeSource::Other);
}

void TAnimationFrm::PopInstCentersClick() {
  const int a = FMechanism->NextSelectedLink(0);
  if (a < 0) {
    StdOut().Notify(ErrorICText);
    return;
  }
  int b = FMechanism->NextSelectedLink(a + 1);
  // One link: its centre relative to the frame.
  if (b < 0) b = 0;
  TUndoStep undo(*FMechanism);
  FMechanism->SetICLinks(a, b);
  undo.Commit();
  // Asked for, the centres are shown, also when View Options had them off.
  FMechanism->ShowCentres = 1;
  MechanismChanged(TChangeSource::Other);
}

void TAnimationFrm::PopBringToFrontClick() {
  TUndoStep undo(*FMechanism);
  FMechanism->BringLinkToFront();
  undo.Commit();
  MechanismChanged(TChangeSource::View);
}

void TAnimationFrm::PopSendToBackClick() {
  TUndoStep undo(*FMechanism);
  FMechanism->SendLinkToBack();
  undo.Commit();
  MechanismChanged(TChangeSource::View);
}

void TAnimationFrm::PopDXFDrawingClick() {
  TDXFImportDlg* const dialog = AppDialogs().DXFImportDlg;
  // Without links there is not even a frame to take the drawing.
  if (!dialog || FMechanism->LinkCount() == 0) return;
  int l = FMechanism->NextSelectedLink(0);
  if (l < 0) l = 0;
  const TAniLink* const target = &FMechanism->Link(l);
  dialog->LoadFromLink(*target->Drawing);
  dialog->Prepare(target->Name, target->AnchorIndex);
  TUndoStep undo(*FMechanism);
  if (ShowModal(*dialog) != QDialog::Accepted) return;
  // Nothing replaces the document while the dialog is open; should it have happened anyway,
  // the drawing has no link to go to.
  if (l >= FMechanism->LinkCount() || &FMechanism->Link(l) != target) return;
  TAniLink& link = FMechanism->Link(l);
  dialog->ApplyToLink(link.Drawing);
  // No joint chosen: the first, as an empty anchor reads back; none would hide the drawing.
  link.AnchorIndex = std::max(dialog->SelectedJoint(), 0);
  if (l == 0) UpdateGridStyle();
  undo.Commit();
  Modified = true;
  Invalidate();
}

bool TAnimationFrm::LoadFrameDrawing(const std::string& fileName) {
  if (FMechanism->LinkCount() == 0) return false;
  std::unique_ptr<shared::TDXFDrawing>& drawing = FMechanism->Link(0).Drawing;
  auto fresh = std::make_unique<shared::TDXFDrawing>();
  if (!fileName.empty()) {
    const std::string problem = LoadDrawingFile(*fresh, fileName);
    if (!problem.empty()) {
      StdOut().Error(problem);
      return false;
    }
  }
  fresh->Transform = drawing->Transform;
  drawing = std::move(fresh);
  Modified = true;
  Invalidate();
  return true;
}

void TAnimationFrm::PopSetAsOutputClick() {
  TUndoStep undo(*FMechanism);
  FMechanism->SetTracer(FMechanism->NextSelectedJoint(0));
  undo.Commit();
  MechanismChanged();
  Draw();
}

void TAnimationFrm::InputButtonClick() {
  TInputFunctionDlg* dialog = AppDialogs().InputFunctionDlg;
  if (!dialog || RefuseWhileBusy()) return;
  TAniMechanism& m = *FMechanism;
  const int j = m.NextSelectedJoint(0);
  const int input = j >= 0 ? m.Joint(j).InputIndex : -1;
  if (input < 0 || input >= m.InputCount()) {
    StdOut().Notify(SelectInputText);
    return;
  }
  TUndoStep undo(*FMechanism);
  dialog->SetTarget(&m.Input(input));
  const bool ok = ShowModal(*dialog) == QDialog::Accepted;
  // The dialog keeps no pointer into a mechanism that a later load replaces.
  dialog->SetTarget(nullptr);
  if (!ok) return;
  m.RetimeInputs();
  undo.Commit();
  MechanismChanged();
  Draw();
}

void TAnimationFrm::PopMoveRotateResizeClick() {
  TMorphDlg* dialog = AppDialogs().MorphDlg;
  if (!dialog || RefuseWhileBusy()) return;
  dialog->ResultFits = [this](double factor, double dx, double dy, double angle) {
    return MorphFits(factor, dx, dy, angle);
  };
  const bool ok = ShowModal(*dialog) == QDialog::Accepted;
  dialog->ResultFits = nullptr;
  if (!ok) return;
  TUndoStep undo(*FMechanism);
  FMechanism->ResizeMoveRotate(dialog->Resize, dialog->MoveX, dialog->MoveY, dialog->Rotate);
  undo.Commit();
  MechanismChanged();
  Draw();
}

bool TAnimationFrm::MorphFits(double factor, double dx, double dy, double angle) const {
  const double reach = kLengthRange.High * (1 + 1e-12);
  for (const shared::TComplex& p : FMechanism->ResizedMovedRotated(factor, dx, dy, angle))
    if (!(std::fabs(p.X) <= reach && std::fabs(p.Y) <= reach)) return false;
  return true;
}

void TAnimationFrm::EditOptions() {
  TAnimOptionsDlg* dialog = AppDialogs().AnimOptionsDlg;
  if (!dialog || RefuseWhileBusy()) return;
  TAniMechanism& m = *FMechanism;
  dialog->LinkColour = m.LinkColour;
  dialog->EdgeColour = m.EdgeColour;
  dialog->JointColour = m.JointColour;
  dialog->PathColour = m.PathColour;
  dialog->VelColour = m.VelocityColour;
  dialog->AccColour = m.AccelerationColour;
  dialog->ICColour = m.CentreColour;
  dialog->LabelColour = m.LabelColour;
  dialog->ShowPath = m.ShowPaths != 0;
  dialog->ShowVel = m.ShowVelocity != 0;
  dialog->ShowAcc = m.ShowAcceleration != 0;
  dialog->ShowIC = m.ShowCentres != 0;
  dialog->ShowLabels = m.ShowLabels != 0;
  dialog->GridSize = FCanvas->GridStep;
  dialog->GridColour = FCanvas->GridColor;
  dialog->Background = FCanvas->GridStyle;
  if (m.LinkCount() > 0) dialog->DXFFile = m.Link(0).Drawing->FileName;
  dialog->SetStick(m.Stick != 0);
  dialog->SetSteps(m.N);
  if (ShowModal(*dialog) != QDialog::Accepted) return;
  // Colours and switches are view settings; the steps and the frame's drawing are document.
  TUndoStep undo(*FMechanism);
  m.LinkColour = dialog->LinkColour;
  m.EdgeColour = dialog->EdgeColour;
  m.JointColour = dialog->JointColour;
  m.PathColour = dialog->PathColour;
  m.VelocityColour = dialog->VelColour;
  m.AccelerationColour = dialog->AccColour;
  m.CentreColour = dialog->ICColour;
  m.LabelColour = dialog->LabelColour;
  m.ShowPaths = dialog->ShowPath;
  m.ShowVelocity = dialog->ShowVel;
  m.ShowAcceleration = dialog->ShowAcc;
  m.ShowCentres = dialog->ShowIC;
  m.ShowLabels = dialog->ShowLabels;
  m.Stick = dialog->GetStick();
  m.SetPositionCount(dialog->GetSteps());
  FCanvas->GridStep = dialog->GridSize;
  FCanvas->GridColor = dialog->GridColour;
  FCanvas->GridStyle = dialog->Background;
  if (FCanvas->GridStyle == shared::TGridStyle::Background && m.LinkCount() > 0)
    LoadFrameDrawing(dialog->DXFFile);
  undo.Commit();
  MechanismChanged(TChangeSource::Other);
}

// ---------------------------------------------------------------------------------------------
// Animation.

void TAnimationFrm::SetSpeed(int index) {
  // A negative stored speed leaves interval and step as they were.
  if (index < 0) return;
  FSpeed = index % 3;
  static constexpr int kIntervals[3] = {130, 110, 90};
  static constexpr int kSteps[3] = {1, 2, 4};
  static const char* const kCaptions[3] = {">", ">>", ">>>"};
  static const char* const kPictures[3] = {"speed1", "speed2", "speed3"};
  AnimationTimer->setInterval(kIntervals[FSpeed]);
  FStepsPerTick = kSteps[FSpeed];
  SetHint(SpeedButton, SpeedHints[FSpeed]);
  SpeedButton->setText(QString::fromLatin1(kCaptions[FSpeed]));
  SpeedButton->setIcon(ToolPicture(QString::fromLatin1(kPictures[FSpeed])));
  SpeedButton->setProperty(kImageProperty, kSpeedImage + FSpeed);
}

void TAnimationFrm::SpeedButtonClick() {
  SetSpeed(FSpeed + 1);
  // The pointer is still on the button, whose hint changed under it.
  QStatusTipEvent tip(SpeedButton->statusTip());
  QCoreApplication::sendEvent(SpeedButton, &tip);
}

void TAnimationFrm::AnimationTimerTimer() {
  // Off while the frame is drawn, so slow frames never queue up.
  AnimationTimer->stop();
  int p = PositionTrackBar->value() + FStepsPerTick;
  // The cycle restarts at the step size: step N is step 0 again.
  if (p > PositionTrackBar->maximum()) p = FStepsPerTick;
  SetTrackBarPosition(p);
  if (StartButton->isChecked()) AnimationTimer->start();
}

void TAnimationFrm::PositionTrackBarChange() {
  if (PositionTrackBar->Tag != 0) return;
  const int n = PositionTrackBar->value();
  FMechanism->SetFrame(n);
  ShowPosition();
  GraphFrm1->SetCursor(n);
  Draw();
}

void TAnimationFrm::SetStartState(bool running) {
  Running = running;
  StartButton->setChecked(running);
  StartButton->setIcon(ToolPicture(running ? QStringLiteral("pause") : QStringLiteral("start")));
  StartButton->setProperty(kImageProperty, running ? kPauseImage : kStartImage);
  SetHint(StartButton, running ? PauseHint : StartHint);
  if (running) {
    AnimationTimer->start();
  } else {
    AnimationTimer->stop();
  }
}

void TAnimationFrm::StartButtonClick(QObject* sender) {
  // A menu item or key flips the button first; the button has flipped itself.
  if (sender != StartButton) StartButton->setChecked(!StartButton->isChecked());
  SetStartState(StartButton->isChecked());
}

void TAnimationFrm::StopButtonClick() {
  // A film ends as its Cancel ends it; the recording puts the step bar back itself.
  if (FLoop == TLoop::Film) {
    FilmStopped = true;
    return;
  }
  AnimationTimer->stop();
  SetTrackBarPosition(0);
  SetStartState(false);
  // The optimisation loop ends when its button is up.
  OptimizeButton->setChecked(false);
}

void TAnimationFrm::OptimizeButtonClick(QObject* sender) {
  if (sender != OptimizeButton) OptimizeButton->setChecked(!OptimizeButton->isChecked());
  // Releasing the button ends a run and changes nothing itself.
  if (!OptimizeButton->isChecked()) return;
  if (!BeginLoop(TLoop::Fit)) {
    OptimizeButton->setChecked(false);
    return;
  }
  TUndoStep undo(*FMechanism);
  FMechanism->Areas.RemoveDegenerate();
  TMechOptimize optimizer;
  // Before Start, which judges the start design by this objective.
  optimizer.Mode = FittingMode;
  try {
    // A linkage that cannot be fitted is refused here, with the reason in the log.
    optimizer.Start(*FMechanism);
    while (!optimizer.Done && OptimizeButton->isChecked()) {
      QCoreApplication::processEvents();
      optimizer.Iterate();
      if (optimizer.IsRedrawTurn()) MechanismChanged(TChangeSource::View);
    }
  } catch (const std::exception& error) {
    StdOut().Error(error.what());
  } catch (...) {
    StdOut().Error("Unknown error");
  }
  if (!optimizer.Refused) {
    Guarded([&] {
      optimizer.Accept();
      MechanismChanged(TChangeSource::View);
    });
    shared::Beep();
  }
  undo.Commit();
  EndLoop();
  OptimizeButton->setChecked(false);
}

void TAnimationFrm::RecordButtonClick() {
  // The mechanism solves the cycle afresh from the stored position; the bar shows its length.
  TUndoStep undo(*FMechanism);
  FMechanism->FrameToDesign();
  undo.Commit();
  Modified = true;
  // The properties table shows the design positions, which are now those of the step.
  if (OnChange) OnChange();
  RefreshTrackBar();
  GraphFrm1->Rebuild();
  StopButtonClick();
}

// ---------------------------------------------------------------------------------------------
// Documents.

void TAnimationFrm::NewMechanism(int typeNumber) {
  if (RefuseWhileBusy()) return;
  // The previous mechanism stays restorable by Undo.
  FMechanism->SaveUndoState(shared::TabLines());
  if (FCanvas->GridStyle == shared::TGridStyle::Background) FCanvas->GridStyle = shared::TGridStyle::Lines;
  FMechanism->NewMechanism(typeNumber);
  // A new document has not been fitted yet.
  FMechanism->Optimized = 0;
  EndAddTool();
  MechanismChanged();
  SetTrackBarPosition(0);
  ZoomAllButtonClick();
  FFileName = shared::ProgramInfo().DefaultName;
  ShowFileName();
  SetModified(false);
  Damaged = false;
}

void TAnimationFrm::LoadFromFile(const std::string& fileName) {
  if (RefuseWhileBusy()) return;
  shared::TTabLines& store = shared::TabLines();
  std::error_code error;
  bool whole = true;
  if (std::filesystem::exists(fileName, error)) {
    // Read first: a document that fails to read leaves the view as it was, name, undo history
    // and modified state included, and the error goes to the caller.
    try {
      store.LoadFromFile(fileName);
      whole = FMechanism->LoadFromTabLines(store);
    } catch (...) {
      store.Clear();
      throw;
    }
    EndAddTool();
    store.ClearHistory();
    ProjectInfo().ReadInfoSection(store, shared::TProjectInfoDialog::Today());
    FFileName = fileName;
    store.Clear();
    UpdateGridStyle();
  } else {
    FFileName = shared::ProgramInfo().DefaultName;
    StdOut().Error(FormatName(FileNotExistText, PathForLog(fileName)));
  }
  ShowFileName();
  MechanismChanged();
  SetTrackBarPosition(0);
  ZoomAllButtonClick();
  SetModified(false);
  // Read from a damaged file, the document is not what the file holds: saving must ask first.
  Damaged = !whole;
  if (Damaged) Modified = true;
}

void TAnimationFrm::SaveToFile(const std::string& fileName) {
  const std::string target = fileName.empty() ? FFileName : fileName;
  shared::TTabLines& store = shared::TabLines();
  store.Clear();
  store.SetFileName(target);
  FMechanism->SaveToTabLines(store);
  ProjectInfo().WriteInfoSection(store);
  // The name and the emptied undo history follow only a written file.
  store.SaveToFile();
  store.ClearHistory();
  FFileName = target;
  SetModified(false);
  Damaged = false;
  ShowFileName();
}

void TAnimationFrm::CopyToClipboard() {
  shared::TTabLines& store = shared::TabLines();
  store.Clear();
  FMechanism->SaveToTabLines(store);
  ProjectInfo().WriteInfoSection(store);
  store.CopyToClipboard(Clipboard);
}

void TAnimationFrm::PasteFromClipboard() {
  if (RefuseWhileBusy()) return;
  shared::TTabLines& store = shared::TabLines();
  try {
    if (!store.LoadFromClipboard(Clipboard)) {
      StdOut().Error(EmptyClipboardText);
      return;
    }
    FMechanism->LoadFromTabLines(store);
  } catch (const std::exception& error) {
    // The mechanism kept its content; so does the rest of the view.
    store.Clear();
    StdOut().Error(error.what());
    return;
  }
  EndAddTool();
  Guarded([&] {
    ProjectInfo().ReadInfoSection(store, shared::TProjectInfoDialog::Today());
    store.Clear();
    UpdateGridStyle();
    FFileName = shared::ProgramInfo().DefaultName;
    ShowFileName();
    MechanismChanged();
    SetTrackBarPosition(0);
    ZoomAllButtonClick();
  });
  // Pasted text has no file: the document counts as modified.
  Modified = true;
  Damaged = false;
}

void TAnimationFrm::Undo() {
  if (RefuseWhileBusy()) return;
  DropUnusedAddToolEntry();
  shared::TTabLines& store = shared::TabLines();
  if (!store.Undo()) return;
  try {
    FMechanism->LoadFromTabLines(store);
  } catch (const std::exception& error) {
    store.Clear();
    StdOut().Error(error.what());
    return;
  }
  EndAddTool();
  store.Clear();
  MechanismChanged();
  SetTrackBarPosition(0);
  Invalidate();
  Modified = true;
}

int TAnimationFrm::CheckClipboardHeader() {
  const THeaderCheck check = CheckMechanismHeader(shared::TabLines());
  switch (check.Result) {
    case kHeaderMissing:
      FHeaderStatusText = ErrorInvalidText;
      break;
    case kHeaderOtherVersion:
      FHeaderStatusText = ErrorNewText;
      break;
    default:
      FHeaderStatusText = kHeaderOkayText;
      break;
  }
  return check.Result;
}

// ---------------------------------------------------------------------------------------------
// Settings and texts.

void TAnimationFrm::SetRegistryKey(const std::string& key) {
  FRegistryKey = key;
  LoadSettings();
}

void TAnimationFrm::LoadSettings() {
  if (FRegistryKey.empty()) return;
  TAnimationSettings s;
  s.Read(*shared::OpenSettings(FRegistryKey), GraphHeight);
  TAniMechanism& m = *FMechanism;
  m.JointColour = s.JointColor;
  m.LinkColour = s.LinkColor;
  m.EdgeColour = s.EdgeColor;
  m.PathColour = s.PathColor;
  m.VelocityColour = s.VelColor;
  m.AccelerationColour = s.AccColor;
  m.CentreColour = s.ICColor;
  m.LabelColour = s.LabelColor;
  SetSpeed(s.Speed);
  m.SetPositionCount(s.Steps);
  m.ShowCentres = s.ShowInstCenters;
  m.ShowLabels = s.ShowJointLabels;
  m.ShowVelocity = s.ShowVelocity;
  m.ShowAcceleration = s.ShowAcceleration;
  FCanvas->GridColor = s.GridColor;
  FCanvas->GridStep = s.GridSpace;
  FCanvas->GridStyle = s.Background;
  GraphHeight = s.GraphHeight;
  ApplyGraphHeight();
  m.Calculate();
  RefreshTrackBar();
  // The positions per cycle may have changed: the graph's points follow.
  GraphFrm1->Rebuild();
  Invalidate();
}

void TAnimationFrm::SaveSettings() {
  if (FRegistryKey.empty()) return;
  const TAniMechanism& m = *FMechanism;
  TAnimationSettings s;
  s.JointColor = m.JointColour;
  s.LinkColor = m.LinkColour;
  s.EdgeColor = m.EdgeColour;
  s.PathColor = m.PathColour;
  s.VelColor = m.VelocityColour;
  s.AccColor = m.AccelerationColour;
  s.ICColor = m.CentreColour;
  s.LabelColor = m.LabelColour;
  s.Speed = FSpeed;
  s.Steps = m.N;
  s.ShowInstCenters = m.ShowCentres;
  s.ShowJointLabels = m.ShowLabels;
  s.ShowVelocity = m.ShowVelocity;
  s.ShowAcceleration = m.ShowAcceleration;
  s.GridColor = FCanvas->GridColor;
  s.GridSpace = FCanvas->GridStep;
  s.Background = FCanvas->GridStyle;
  s.GraphHeight = GraphHeight;
  s.Write(*shared::OpenSettings(FRegistryKey));
}

void TAnimationFrm::ReadTexts(const TLanguageFile& texts) {
  const auto read = [&](const char* key, const std::string& fallback) {
    return texts.ReadString(kTextSection, key, fallback);
  };
  const auto hint = [&](QToolButton* button, const char* key, const char* fallback) {
    SetButtonHint(button, read(key, fallback));
  };
  const auto item = [&](QAction* action, const char* key, const char* fallback) {
    action->setText(shared::ToQString(read(key, fallback)));
  };
  const auto itemHint = [&](QAction* action, const char* key, const char* fallback) {
    SetHint(action, read(key, fallback));
  };
  hint(SelectButton, "Select", "Select");
  hint(MoveButton, "Move", "Move");
  hint(ZoomAllButton, "ZoomAll", "Zoom All");
  hint(ZoomInButton, "ZoomIn", "Zoom In");
  hint(ZoomOutButton, "ZoomOut", "Zoom Out");
  hint(ZoomButton, "Zoom", "Zoom");
  hint(AddInputButton, "AddInput", "Add Input Link");
  hint(AddDyadButton, "AddDyad", "Add Dyad|Add Dyad Links or Free Joints");
  hint(AddSliderButton, "AddSlider", "Add Slider");
  hint(AddJointButton, "AddJoint", "Add Joint to Link");
  hint(DeleteButton, "Delete", "Delete Selected");
  hint(AddCurveButton, "AddCurve", "Add Curve Point");
  hint(AddAreaButton, "AddArea", "Add Area");
  hint(OptimizeButton, "Optimize", "Optimize");
  hint(StopButton, "Stop", "Stop and Reset|Stop and Reset <Esc>");
  StartHint = read("Start", StartHint);
  PauseHint = read("Pause", PauseHint);
  SetHint(StartButton, StartButton->isChecked() ? PauseHint : StartHint);
  hint(RecordButton, "Record", "Store|Store Current Position as Start Position");
  ShowPathText = read("ShowPath", ShowPathText);
  HidePathText = read("HidePath", HidePathText);
  itemHint(PopTogglePath, "PathHint", "Show path of selected joint");
  ShowGraphText = read("ShowGraph", ShowGraphText);
  HideGraphText = read("HideGraph", HideGraphText);
  itemHint(PopToggleGraph, "GraphHint", "Show in Graph");
  ShowVectorsText = read("ShowVectors", ShowVectorsText);
  HideVectorsText = read("HideVectors", HideVectorsText);
  itemHint(PopToggleVectors, "VectorsHint", "Show velocity and acceleration vectors");
  LockText = read("Lock", LockText);
  UnlockText = read("Unlock", UnlockText);
  itemHint(PopToggleLock, "LockHint", "Lock joint in place");
  item(PopInstCenters, "IC", "Instant &Centers");
  itemHint(PopInstCenters, "ICHint", "Show Instant Center of two selected links");
  item(PopDXFDrawing, "DXF", "Edit &DXF drawing...");
  itemHint(PopDXFDrawing, "DXFHint", "Edit or import DXF drawing attached to selected link");
  // This key carries the send-to-back caption.
  item(PopSendToBack, "SendToFront", "Send to &back");
  itemHint(PopSendToBack, "SendToFrontHint", "Send selected link to the back");
  item(PopBringToFront, "BringToFront", "Bring to &front");
  itemHint(PopBringToFront, "BringToFrontHint", "Bring selected link to the front");
  item(PopSetAsOutput, "Output", "Set As &Output Joint");
  itemHint(PopSetAsOutput, "OutputHint", "Set selected joint at output joint");
  item(PopEditInput, "Input", "Edit &Input function...");
  itemHint(PopEditInput, "InputHint", "Edit input function of selected joint");
  item(PopMoveRotateResize, "MRR", "&Move, Rotate, Resize...");
  itemHint(PopMoveRotateResize, "MRRHint",
           "Move, Rotate and/or resize the mechanism using the selected joint as reference");
  item(PopOptions, "Options", "Option&s...");
  itemHint(PopOptions, "OptionsHint", "Animation Color and Background settings");
  FileNotExistText = read("FileNotExist", "%s does not exist!");
  SpeedHints[0] = read("Low", "Low Animation Speed");
  SpeedHints[1] = read("Medium", "Medium Animation Speed");
  SpeedHints[2] = read("High", "High Animation Speed");
  ErrorNewText = read("ErrorNew", kErrorNewText);
  ErrorInvalidText = read("ErrorInvalid", kErrorInvalidText);
  ErrorICText = read("ErrorIC",
                     "Select two links to show their instant center (select only one link to show instant "
                     "center to ground)");
  EmptyClipboardText = read("Empty", "Empty clipboard");
  SelectInputText = read("SelectInput", "Select an input joint!");
  PropertiesSheetName = read("Properties", "Properties");
  PosLabel = read("Pos", "Pos");
  GraphFrm1->ReadTexts(texts);
  // The speed button takes its hint in the new language.
  SetSpeed(FSpeed);
}

}  // namespace quillon
