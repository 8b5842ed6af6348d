// The synthesis main window's widgets: the menus, the tool bar, the three views, the solution
// list, the graph and the status bar.
#include <QAction>
#include <QActionGroup>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "shared/qt/Application.h"
#include "shared/qt/QtCanvas.h"
#include "shared/qt/QtText.h"
#include "synthesis/app/CompactToolBar.h"
#include "synthesis/app/MainForm.h"
#include "synthesis/app/MechPictures.h"
#include "synthesis/app/QtGraphPaintBox.h"
#include "synthesis/app/TabRows.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/Mechanism.h"

namespace vesk {

void TMainForm::CreateComponents() {
  CreateMenus();
  CreateToolBar();
  CreateViews();
}

void TMainForm::CreateMenus() {
  const auto item = [](QMenu* menu, const char* name, const QString& text, const QKeySequence& keys = {}) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    if (!keys.isEmpty()) action->setShortcut(keys);
    return action;
  };
  FileMenu = menuBar()->addMenu(QStringLiteral("&File"));
  FileMenu->setObjectName(QStringLiteral("FileMenu"));
  FileNewItem = item(FileMenu, "FileNewItem", "&New", QKeySequence(Qt::CTRL | Qt::Key_N));
  FileOpenItem = item(FileMenu, "FileOpenItem", "&Open...", QKeySequence(Qt::CTRL | Qt::Key_O));
  FileSaveItem = item(FileMenu, "FileSaveItem", "&Save", QKeySequence(Qt::CTRL | Qt::Key_S));
  FileSaveAsItem = item(FileMenu, "FileSaveAsItem", "Save &As...");
  FileMenu->addSeparator();
  FileImportDXF = item(FileMenu, "FileImportDXF", "Import &DXF...");
  FileExportToExcelItem = item(FileMenu, "FileExportToExcelItem", "&Export to Excel");
  FileImportFromExcelItem = item(FileMenu, "FileImportFromExcelItem", "I&mport from Excel...");
  FileExporttoSAMItem = item(FileMenu, "FileExporttoSAMItem", "Export to SAM...");
  FileExporttoSAMItem->setStatusTip(QStringLiteral("Export the mechanism to a SAM 4.2 DAT file"));
  // "Export to " and the animator's product word, the accelerator on its second letter.
  FileExporttoQuillonItem =
      item(FileMenu, "FileExporttoQuillonItem", "Export to Q&uillon", QKeySequence(Qt::CTRL | Qt::Key_R));
  FileMenu->addSeparator();
  FileProjectInfoItem = item(FileMenu, "FileProjectInfoItem", "Project &Info");
  FileReportItem = item(FileMenu, "FileReportItem", "&Report", QKeySequence(Qt::CTRL | Qt::Key_P));
  FileMenu->addSeparator();
  FileExitItem = item(FileMenu, "FileExitItem", "E&xit", QKeySequence(Qt::CTRL | Qt::Key_X));
  FileRecentSeparator = FileMenu->addSeparator();
  FileLastOpened1Item = item(FileMenu, "FileLastOpened1Item", "&1 Last Opened");
  FileLastOpened2Item = item(FileMenu, "FileLastOpened2Item", "&2 Last Opened");
  connect(FileMenu, &QMenu::aboutToShow, this, [this] { FileMenuClick(); });

  EditMenu = menuBar()->addMenu(QStringLiteral("&Edit"));
  EditMenu->setObjectName(QStringLiteral("EditMenu"));
  EditSelectItem = item(EditMenu, "EditSelectItem", "&Select");
  EditPropertiesItem =
      item(EditMenu, "EditPropertiesItem", "&Properties", QKeySequence(Qt::SHIFT | Qt::Key_Insert));
  EditMenu->addSeparator();
  EditAddCurvePointItem = item(EditMenu, "EditAddCurvePointItem", "Add &Curve Point");
  EditDrawLineItem = item(EditMenu, "EditDrawLineItem", "Draw &Line");
  EditAddAreaItem = item(EditMenu, "EditAddAreaItem", "Add &Area");
  EditMenu->addSeparator();
  EditDeleteItem = item(EditMenu, "EditDeleteItem", "&Delete", QKeySequence(Qt::SHIFT | Qt::Key_Delete));

  ViewMenu = menuBar()->addMenu(QStringLiteral("&View"));
  ViewMenu->setObjectName(QStringLiteral("ViewMenu"));
  ViewZoomAllItem = item(ViewMenu, "ViewZoomAllItem", "Zoom &All", QKeySequence(Qt::CTRL | Qt::Key_F));
  ViewZoomInItem = item(ViewMenu, "ViewZoomInItem", "Zoom &In", QKeySequence(Qt::CTRL | Qt::Key_I));
  ViewZoomOutItem = item(ViewMenu, "ViewZoomOutItem", "Zoom &Out", QKeySequence(Qt::CTRL | Qt::Key_J));
  ViewMenu->addSeparator();
  ViewShowListItem = item(ViewMenu, "ViewShowListItem", "Show &Mechanism List");
  ViewShowGraphItem = item(ViewMenu, "ViewShowGraphItem", "Show &Graphs");
  ViewZoomAllOnSelectItem = item(ViewMenu, "ViewZoomAllOnSelectItem", "Zoom All on &Select");
  ViewMenu->addSeparator();
  ViewUnitsItem = item(ViewMenu, "ViewUnitsItem", "System of &Units...");
  connect(ViewUnitsItem, &QAction::triggered, this, [this] { ViewUnitsClick(); });

  AnalysisMenu = menuBar()->addMenu(QStringLiteral("&Analysis"));
  AnalysisMenu->setObjectName(QStringLiteral("AnalysisMenu"));
  AnalysisStartItem = item(AnalysisMenu, "AnalysisStartItem", "Start");
  AnalysisResetItem = item(AnalysisMenu, "AnalysisResetItem", "&Reset");
  AnalysisMenu->addSeparator();
  AnalysisInputFunctionItem = item(AnalysisMenu, "AnalysisInputFunctionItem", "Input &Function");

  SynthesisMenu = menuBar()->addMenu(QStringLiteral("&Synthesis"));
  SynthesisMenu->setObjectName(QStringLiteral("SynthesisMenu"));
  SynthesisGenerate =
      item(SynthesisMenu, "SynthesisGenerate", "&Start Synthesis", QKeySequence(Qt::CTRL | Qt::Key_G));
  SynthesisOptimize =
      item(SynthesisMenu, "SynthesisOptimize", "Optimi&ze", QKeySequence(Qt::CTRL | Qt::Key_T));
  SynthesisUndoOptimizeItem = item(SynthesisMenu, "SynthesisUndoOptimizeItem", "&Undo Optimize");
  SynthesisMenu->addSeparator();
  SynthesisOptionsItem = item(SynthesisMenu, "SynthesisOptionsItem", "&Options...");
  connect(SynthesisOptionsItem, &QAction::triggered, this, [this] { SynthesisOptionsClick(); });

  HelpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
  HelpMenu->setObjectName(QStringLiteral("HelpMenu"));
  HelpContentsItem = item(HelpMenu, "HelpContentsItem", "&Contents", QKeySequence(Qt::Key_F1));
  HelpSearchItem = item(HelpMenu, "HelpSearchItem", "&Search for Help On...");
  HelpHowToUseItem = item(HelpMenu, "HelpHowToUseItem", "&How to Use Help");
  HelpQuickTutorialItem = item(HelpMenu, "HelpQuickTutorialItem", "&Quick Tutorial");
  HelpMenu->addSeparator();
  HelpUsersGuideItem = item(HelpMenu, "HelpUsersGuideItem", "&Manual...");
  HelpFeedbackItem = item(HelpMenu, "HelpFeedbackItem", "&Feedback...");
  HelpMenu->addSeparator();
  HelpAboutItem = item(HelpMenu, "HelpAboutItem", "&About...");

  // Commands guarded against exceptions: a failure shows its message and the window goes on.
  const auto guarded = [this](QAction* action, std::function<void()> command) {
    connect(action, &QAction::triggered, this, [command] {
      shared::DeliverGuarded([&] {
        command();
        return true;
      });
    });
  };
  guarded(FileNewItem, [this] { FileNew(); });
  guarded(FileOpenItem, [this] { FileOpen(); });
  guarded(FileSaveItem, [this] { FileSave(); });
  guarded(FileSaveAsItem, [this] { FileSaveAs(); });
  guarded(FileProjectInfoItem, [this] { FileProjectInfoItemClick(); });
  guarded(FileExporttoQuillonItem, [this] { FileExporttoQuillonItemClick(); });
  guarded(FileExportToExcelItem, [this] { FileExportToExcelItemClick(); });
  guarded(FileExporttoSAMItem, [this] { FileExporttoSAMItemClick(); });
  guarded(FileReportItem, [this] { FileReportItemClick(); });
  guarded(FileLastOpened1Item, [this] { FileLastOpenedClick(1); });
  guarded(FileLastOpened2Item, [this] { FileLastOpenedClick(2); });
  connect(FileExitItem, &QAction::triggered, this, &QWidget::close);
  guarded(HelpContentsItem, [this] { ShowHelp(""); });
  guarded(HelpSearchItem, [this] { ShowHelp(""); });
  guarded(HelpHowToUseItem, [this] { ShowHelp(""); });
  guarded(HelpQuickTutorialItem, [this] { HelpQuickTutorialClick(); });
  guarded(HelpUsersGuideItem, [this] { HelpUsersGuideClick(); });
  guarded(HelpFeedbackItem, [this] { HelpFeedbackItemClick(); });
  guarded(HelpAboutItem, [this] { HelpAbout(); });
}

void TMainForm::CreateToolBar() {
  ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setMovable(false);
  QToolBar* bar = ToolBar1;
  // Pictures one text line high, so that both bars share one row of a window 60 % of a
  // 1280-pixel screen wide; the hints give the names.
  const int side = PictureSide(QFontMetrics(font()));
  ToolBar1->setIconSize(QSize(side, side));
  const auto button = [&bar](const char* name, const QString& text, const QString& hint,
                             bool checkable = false, const char* picture = nullptr) {
    QAction* action = bar->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    if (picture) action->setIcon(ToolPicture(QString::fromLatin1(picture)));
    action->setToolTip(hint);
    action->setStatusTip(hint);
    action->setCheckable(checkable);
    return action;
  };
  NewButton = button("NewButton", "New", "New project", false, "new");
  OpenButton = button("OpenButton", "Open", "Open project", false, "open");
  SaveButton = button("SaveButton", "Save", "Save project", false, "save");
  PrintButton = button("PrintButton", "Report", "HTML Report", false, "report");
  ProjectInfoButton = button("ProjectInfoButton", "Info", "Project Info", false, "projectinfo");
  connect(NewButton, &QAction::triggered, FileNewItem, &QAction::trigger);
  connect(OpenButton, &QAction::triggered, FileOpenItem, &QAction::trigger);
  connect(SaveButton, &QAction::triggered, FileSaveItem, &QAction::trigger);
  connect(ProjectInfoButton, &QAction::triggered, FileProjectInfoItem, &QAction::trigger);
  connect(PrintButton, &QAction::triggered, FileReportItem, &QAction::trigger);
  ToolBar1->addSeparator();

  auto* types = new QActionGroup(this);
  types->setExclusive(true);
  // The tip shows the short hint, the status line the long one.
  struct TTypeButton {
    int Type;
    const char* Text;
    const char* Hint;
    const char* LongHint;
  };
  static const TTypeButton kTypes[] = {
      {0, "4-bar", "Four bar", "Four bar, universal and simple mechanism"},
      {7, "Slider", "Slider", "Slider four bar, universal and simple mechanism"},
      {8, "5-bar", "Five bar", "Five bar configuration with belt and wheels"},
      {1, "6-1", "Watt 1 six bar", "Watt 1 six bar"},
      {2, "6-2", "Watt 2 six bar", "Watt 2 six bar"},
      {3, "6-3", "Stephenson 1 six bar", "Stephenson 1 six bar"},
      {5, "6-5", "Stephenson 3 six bar", "Stephenson 3 six bar"},
      {6, "8-bar", "Eight bar", "Eight bar only suited for parallel motion"},
  };
  for (const TTypeButton& t : kTypes) {
    const QByteArray name = "MechButton" + QByteArray::number(t.Type);
    QAction* action =
        button(name.constData(), QString::fromLatin1(t.Text), QString::fromLatin1(t.Hint), true);
    action->setStatusTip(QString::fromLatin1(t.LongHint));
    types->addAction(action);
    action->setData(t.Type);
    MechButtons[size_t(t.Type)] = action;
    connect(action, &QAction::triggered, this, [this, type = t.Type] { NewType = type; });
    // The type's picture, highlighted while the button is down.
    const int image = TypeImageIndex(uint8_t(t.Type));
    action->setProperty("ImageIndex", image);
    action->setIcon(MechImage(image, side));
    connect(action, &QAction::toggled, this, [action, image, side](bool down) {
      const int shown = down ? image + kImageMarked : image;
      action->setProperty("ImageIndex", shown);
      action->setIcon(MechImage(shown, side));
    });
  }
  HelpMechanismsButton = button("HelpMechanismsButton", "?", "Help on choosing a mechanism", false, "help");
  connect(HelpMechanismsButton, &QAction::triggered, this, [this] { ShowHelp("IDH_MechanismTypes"); });
  ToolBar1->addSeparator();
  ShowListToolButton = button("ShowListToolButton", "List", "Show List", true, "showleft");
  ShowGraphToolButton = button("ShowGraphToolButton", "Graph", "Show Graph Window", true, "showgraph");
  ZoomAllOnSelectToolButton =
      button("ZoomAllOnSelectToolButton", "Zoom Sel", "Zoom All On Select", true, "zoomselect");
  connect(ShowListToolButton, &QAction::toggled, this, [this](bool on) {
    AppOptions.ShowList = on;
    PanelLeft->setVisible(on);
  });
  connect(ShowGraphToolButton, &QAction::toggled, this, [this](bool on) {
    AppOptions.ShowGraph = on;
    GraphTabControl->setVisible(on);
  });
  connect(ZoomAllOnSelectToolButton, &QAction::toggled, this,
          [](bool on) { AppOptions.ZoomAllOnSelect = on; });
  // The View items follow their buttons.
  for (auto [menuItem, toolButton] :
       {std::pair{ViewShowListItem, ShowListToolButton}, std::pair{ViewShowGraphItem, ShowGraphToolButton},
        std::pair{ViewZoomAllOnSelectItem, ZoomAllOnSelectToolButton}}) {
    menuItem->setCheckable(true);
    connect(menuItem, &QAction::triggered, toolButton, &QAction::trigger);
    connect(toolButton, &QAction::toggled, menuItem, &QAction::setChecked);
  }

  ToolBar1->addSeparator();
  auto* coordinates = new QActionGroup(this);
  XYToolButton = button("XYToolButton", "x,y", "x,y coordinates", true, "xy");
  PolarToolButton = button("PolarToolButton", "R,a", "Polar coordinates", true, "polar");
  coordinates->addAction(XYToolButton);
  coordinates->addAction(PolarToolButton);
  connect(PolarToolButton, &QAction::toggled, this, [this](bool on) {
    AppOptions.IsPolar = on;
    for (auto& canvas : FCanvases)
      if (canvas) canvas->Polar = on;
  });
  XIsTimeToolButton = button("XIsTimeToolButton", "t", "Graph as function of time", true, "graph-time");
  connect(XIsTimeToolButton, &QAction::toggled, this, [](bool on) { AppOptions.XIsTime = on; });

  MakeCompact(ToolBar1);

  // Generation, the list, speed and animation on a second row, so that every button stays in
  // sight at the default window width.
  addToolBarBreak();
  ToolBar2 = addToolBar(QStringLiteral("ToolBar2"));
  ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
  ToolBar2->setMovable(false);
  ToolBar2->setIconSize(QSize(side, side));
  bar = ToolBar2;
  GenerateButton = button("GenerateButton", "Generate", "Start Generating Mechanisms", true, "generate");
  OptimizeButton = button("OptimizeButton", "Optimize", "Optimize", true, "optimize");
  UndoOptimizeButton = button("UndoOptimizeButton", "Undo", "Undo Optimize", false, "undo");
  ToolBar2->addSeparator();

  auto* speeds = new QActionGroup(this);
  const char* speedNames[3] = {"LowSpeedToolButton", "MediumSpeedToolButton", "HighSpeedToolButton"};
  const char* speedTexts[3] = {"Slow", "Medium", "Fast"};
  const char* speedPictures[3] = {"speed1", "speed2", "speed3"};
  for (int i = 0; i < 3; ++i) {
    SpeedToolButtons[size_t(i)] =
        button(speedNames[i], QString::fromLatin1(speedTexts[i]),
               QString::fromLatin1(speedTexts[i]) + " animation", true, speedPictures[i]);
    speeds->addAction(SpeedToolButtons[size_t(i)]);
    connect(SpeedToolButtons[size_t(i)], &QAction::triggered, this,
            [this, i] { LowSpeedToolButtonClick(i); });
  }
}

void TMainForm::CreateViews() {
  MainSplitter = new QSplitter(Qt::Horizontal, this);
  MainSplitter->setObjectName(QStringLiteral("MainSplitter"));
  setCentralWidget(MainSplitter);

  PanelLeft = new QWidget(MainSplitter);
  PanelLeft->setObjectName(QStringLiteral("PanelLeft"));
  auto* leftLayout = new QVBoxLayout(PanelLeft);
  leftLayout->setContentsMargins(0, 0, 0, 0);
  LeftSplitter = new QSplitter(Qt::Vertical, PanelLeft);
  LeftSplitter->setObjectName(QStringLiteral("LeftSplitter"));
  leftLayout->addWidget(LeftSplitter);
  MechListView = new QTreeWidget(LeftSplitter);
  MechListView->setObjectName(QStringLiteral("MechListView"));
  MechListView->setRootIsDecorated(false);
  MechListView->setHeaderLabels({QStringLiteral("Nr"), QStringLiteral("Type"), QStringLiteral("Error")});
  StringGrid1 = new QTableWidget(0, 2, LeftSplitter);
  StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
  StringGrid1->horizontalHeader()->setStretchLastSection(true);
  StringGrid1->verticalHeader()->hide();
  StringGrid1->setHorizontalHeaderLabels({QStringLiteral("Property"), QStringLiteral("Value")});

  ProgressPanel = new QWidget(PanelLeft);
  ProgressPanel->setObjectName(QStringLiteral("ProgressPanel"));
  auto* progressLayout = new QVBoxLayout(ProgressPanel);
  auto* barRow = new QHBoxLayout;
  GeneratingLabel = new QLabel(QStringLiteral(" Generating"), ProgressPanel);
  GeneratingLabel->setObjectName(QStringLiteral("GeneratingLabel"));
  ProgressBar1 = new QProgressBar(ProgressPanel);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setRange(0, 100);
  barRow->addWidget(GeneratingLabel);
  barRow->addWidget(ProgressBar1, 1);
  RemainingLabel = new QLabel(QStringLiteral("Not Active"), ProgressPanel);
  RemainingLabel->setObjectName(QStringLiteral("RemainingLabel"));
  progressLayout->addLayout(barRow);
  progressLayout->addWidget(RemainingLabel);
  leftLayout->addWidget(ProgressPanel);
  ProgressPanel->hide();

  RightSplitter = new QSplitter(Qt::Vertical, MainSplitter);
  RightSplitter->setObjectName(QStringLiteral("RightSplitter"));
  MechPageControl = new QTabWidget(RightSplitter);
  MechPageControl->setObjectName(QStringLiteral("MechPageControl"));
  const char* sheetNames[3] = {"MechTabSheet", "OutputLinkTabSheet", "GroundTabSheet"};
  const char* sheetTexts[3] = {"Mechanism", "Output Link", "Ground Link"};
  QWidget* sheets[3];
  QWidget* boxes[3];
  for (int i = 0; i < 3; ++i) {
    sheets[i] = new QWidget;
    sheets[i]->setObjectName(QString::fromLatin1(sheetNames[i]));
    auto* layout = new QVBoxLayout(sheets[i]);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(sheets[i]);
    scroll->setObjectName(QStringLiteral("ScrollBox%1").arg(i + 1));
    boxes[i] = new QWidget;
    boxes[i]->setObjectName(QStringLiteral("PaintBox%1").arg(i + 1));
    // The scroll range is the canvas size.
    boxes[i]->setFixedSize(kCanvasSize, kCanvasSize);
    boxes[i]->setMouseTracking(true);
    scroll->setWidget(boxes[i]);
    layout->addWidget(scroll);
    ScrollBoxes[size_t(i)] = scroll;
    MechPageControl->addTab(sheets[i], QString::fromLatin1(sheetTexts[i]));
  }
  // Layout of the newly shown tab is done when the queued call runs.
  connect(MechPageControl, &QTabWidget::currentChanged, this, [this](int index) {
    QTimer::singleShot(0, this, [this, index] {
      CentreView(index);
      ShowPendingZoom(index);
    });
  });
  MechTabSheet = sheets[0];
  OutputLinkTabSheet = sheets[1];
  GroundTabSheet = sheets[2];
  PaintBox1 = boxes[0];
  PaintBox2 = boxes[1];
  PaintBox3 = boxes[2];

  // Twelve graph kinds: their tabs wrap into rows, so each is in sight at the default size.
  GraphTabControl = new TRowTabWidget(RightSplitter);
  GraphTabControl->setObjectName(QStringLiteral("GraphTabControl"));
  // Each tab is a page; the one graph box sits on the page of the tab shown.
  auto* graphPage = new QWidget;
  auto* graphLayout = new QVBoxLayout(graphPage);
  graphLayout->setContentsMargins(0, 0, 0, 0);
  GraphPaintBox = new QWidget(graphPage);
  GraphPaintBox->setObjectName(QStringLiteral("GraphPaintBox"));
  graphLayout->addWidget(GraphPaintBox);
  GraphTabControl->addTab(graphPage, QStringLiteral("Graph"));
  // The list panel, the grid and the graph keep their sizes when the window's size changes; the
  // views and the list take the change.
  MainSplitter->setStretchFactor(1, 1);
  LeftSplitter->setStretchFactor(0, 1);
  RightSplitter->setStretchFactor(0, 1);
  for (QSplitter* splitter : {MainSplitter, LeftSplitter, RightSplitter})
    connect(splitter, &QSplitter::splitterMoved, this, [this] { FKeptPanes.reset(); });

  // Status line: two coordinate panels between the first and the hint panel, sized from the font
  // so that their longest texts fit. The hint panel takes three quarters of the rest, room for
  // the longest hint at the default window width; the first panel shows nothing of its own.
  StatusLine = new QWidget(this);
  StatusLine->setObjectName(QStringLiteral("StatusLine"));
  auto* statusLayout = new QHBoxLayout(StatusLine);
  statusLayout->setContentsMargins(2, 0, 2, 0);
  const QFontMetrics metrics(font());
  const int widths[4] = {0, metrics.horizontalAdvance(QStringLiteral("X: -0000.000 mm")),
                         metrics.horizontalAdvance(QStringLiteral("Y: -0000.000 mm")), 0};
  const int stretches[4] = {1, 0, 0, 3};
  for (int i = 0; i < 4; ++i) {
    StatusPanels[size_t(i)] = new QLabel(StatusLine);
    StatusPanels[size_t(i)]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    StatusPanels[size_t(i)]->setFrameShape(QFrame::StyledPanel);
    if (widths[i] > 0) StatusPanels[size_t(i)]->setFixedWidth(widths[i]);
    // Their texts do not widen the window: a long hint is cut rather than pushing the frame.
    if (widths[i] == 0) StatusPanels[size_t(i)]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusLayout->addWidget(StatusPanels[size_t(i)], stretches[i]);
  }
  statusBar()->addWidget(StatusLine, 1);
  FCoordinatePanels[0] = std::make_unique<shared::TQtStatusPanel>(StatusPanels[1]);
  FCoordinatePanels[1] = std::make_unique<shared::TQtStatusPanel>(StatusPanels[2]);
}

}  // namespace vesk
