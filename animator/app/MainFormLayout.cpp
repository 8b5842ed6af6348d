// The animator's main window: the tool bar, the panels, the menus and the window's keys.
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QFrame>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "animator/app/AreaEditFrm.h"
#include "animator/app/MainForm.h"
#include "animator/app/MessageMemo.h"
#include "animator/app/Pictures.h"
#include "animator/app/PropertiesFrm.h"
#include "animator/app/SplineEditFrm.h"
#include "shared/qt/ModalScope.h"

namespace quillon {

namespace {

constexpr int kPanelLeftWidth = 215;
constexpr int kPanelLeftMinWidth = 160;
constexpr int kPanelLeftMaxWidth = 228;

// The left panel's widths are those of a window in an 8-point dialog font, whose digits are six
// pixels wide; a font with wider digits widens the panel alike, so the numbers in its tables keep
// their columns whole.
int ScaledToFont(const QWidget& widget, int width) {
  const double digits = widget.fontMetrics().horizontalAdvance(QStringLiteral("0123456789")) / 60.0;
  return std::max(width, static_cast<int>(std::lround(width * digits)));
}

}  // namespace

QAction* TMainForm::NewAction(const char* name, const QString& caption, const QString& hint) {
  auto* action = new QAction(caption, this);
  action->setObjectName(QString::fromLatin1(name));
  if (!hint.isEmpty()) {
    action->setToolTip(hint);
    action->setStatusTip(hint);
  }
  return action;
}

void TMainForm::CreateToolBar() {
  ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setMovable(false);
  ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
  ToolBar1->setIconSize(ToolIconSize(fontMetrics()));

  NewToolButton = NewAction("NewToolButton", QStringLiteral("New"), QStringLiteral("New"));
  OpenToolButton = NewAction("OpenToolButton", QStringLiteral("Open"), QStringLiteral("Open"));
  SaveToolButton = NewAction("SaveToolButton", QStringLiteral("Save"), QStringLiteral("Save"));
  ProjectInfoButton = NewAction("ProjectInfoButton", QStringLiteral("Info"), QStringLiteral("Project Info"));
  PrintToolButton =
      NewAction("PrintToolButton", QStringLiteral("Report"), QStringLiteral("Print HTML Report"));
  ImportDXFButton =
      NewAction("ImportDXFButton", QStringLiteral("DXF"), QStringLiteral("Import DXF Background"));
  ExportToExcelButton = NewAction("ExportToExcelButton", QStringLiteral("Excel"),
                                  QStringLiteral("Export Mechanism Data to Excel"));
  ExportAsJPEGButton = NewAction("ExportAsJPEGButton", QStringLiteral("Picture"),
                                 QStringLiteral("Export Picture As Bitmap or JPEG"));
  AVIButton = NewAction("AVIButton", QStringLiteral("AVI"), QStringLiteral("Create AVI video"));
  ShowLeftButton =
      NewAction("ShowLeftButton", QStringLiteral("Left"), QStringLiteral("Show/Hide Left Panel"));
  ShowGraphButton = NewAction("ShowGraphButton", QStringLiteral("Graph"), QStringLiteral("Show/Hide Graph"));
  XYButton = NewAction("XYButton", QStringLiteral("x,y"), QStringLiteral("x,y Coordinates"));
  PolarButton = NewAction("PolarButton", QStringLiteral("R,\u03c6"), QStringLiteral("Polar Coordinates"));
  XYButton->setData(100);
  PolarButton->setData(101);
  ShowLeftButton->setCheckable(true);
  ShowGraphButton->setCheckable(true);
  XYButton->setCheckable(true);
  PolarButton->setCheckable(true);
  CoordinateGroup = new QActionGroup(this);
  CoordinateGroup->addAction(XYButton);
  CoordinateGroup->addAction(PolarButton);
  CoordinateGroup->setExclusive(true);

  const std::pair<QAction*, const char*> pictures[] = {{NewToolButton, "new"},
                                                       {OpenToolButton, "open"},
                                                       {SaveToolButton, "save"},
                                                       {ProjectInfoButton, "projectinfo"},
                                                       {PrintToolButton, "report"},
                                                       {ImportDXFButton, "importdxf"},
                                                       {ExportToExcelButton, "excel"},
                                                       {ExportAsJPEGButton, "picture"},
                                                       {AVIButton, "avi"},
                                                       {ShowLeftButton, "showleft"},
                                                       {ShowGraphButton, "showgraph"},
                                                       {XYButton, "xy"},
                                                       {PolarButton, "polar"}};
  for (const auto& [action, picture] : pictures) action->setIcon(ToolPicture(QString::fromLatin1(picture)));

  ToolBar1->addActions({NewToolButton, OpenToolButton, SaveToolButton, ProjectInfoButton});
  ToolBar1->addSeparator();
  ToolBar1->addActions(
      {PrintToolButton, ImportDXFButton, ExportToExcelButton, ExportAsJPEGButton, AVIButton});
  ToolBar1->addSeparator();
  ToolBar1->addActions({ShowLeftButton, ShowGraphButton});
  ToolBar1->addSeparator();
  ToolBar1->addActions({XYButton, PolarButton});
  ToolBar1->addSeparator();

  // Mechanism type buttons; the tag is the preset number.
  struct TTypeButton {
    const char* Name;
    int Tag;
    const char* Caption;
    const char* Hint;
    const char* Picture;
  };
  static const TTypeButton kTypes[] = {
      {"FourbarButton", 0, "4-bar", "Four bar", "type-fourbar"},
      {"SliderButton", 7, "Slider", "4-bar Slider", "type-slider"},
      {"Watt1Button", 1, "W1", "Watt 1 Six Bar", "type-watt1"},
      {"Watt2Button", 2, "W2", "Watt 2 Six Bar", "type-watt2"},
      {"Watt2DButton", 12, "W2D", "Watt 2 six bar", "type-watt2d"},
      {"Steph1Button", 3, "S1", "Stephenson 1 Six Bar", "type-steph1"},
      {"Steph3Button", 5, "S3", "Stephenson 3 Six Bar", "type-steph3"},
      {"EightbarButton", 6, "8-bar", "Eight Bar", "type-eightbar"},
      {nullptr, 0, nullptr, nullptr, nullptr},
      {"ToolButton3", 9, "4-bar F", "Four bar", "type-fourbarf"},
      {"Watt2FButton", 10, "W2F", "Watt 2 six bar", "type-watt2f"},
      {"ToolButton7", 11, "S3F", "Stephenson 3 six bar", "type-steph3f"},
  };
  for (const TTypeButton& type : kTypes) {
    if (!type.Name) {
      ToolBar1->addSeparator();
      continue;
    }
    QAction* button = NewAction(type.Name, QString::fromLatin1(type.Caption), QString::fromLatin1(type.Hint));
    button->setData(type.Tag);
    button->setIcon(ToolPicture(QString::fromLatin1(type.Picture)));
    ToolBar1->addAction(button);
    TypeButtons << button;
    OnTrigger(button, [this, tag = type.Tag] { FourbarButtonClick(tag); });
  }
  // The tool buttons carry the names of their actions, so both can be found by name.
  for (QAction* action : ToolBar1->actions()) {
    if (QWidget* button = ToolBar1->widgetForAction(action); button && !action->isSeparator()) {
      button->setObjectName(action->objectName());
    }
  }

  OnTrigger(NewToolButton, [this] { FileNewClick(); });
  OnTrigger(OpenToolButton, [this] { FileOpenClick(); });
  OnTrigger(SaveToolButton, [this] { FileSaveClick(); });
  OnTrigger(ProjectInfoButton, [this] { FileProjectInfoClick(); });
  OnTrigger(PrintToolButton, [this] { FileHTMLReportClick(); });
  OnTrigger(ImportDXFButton, [this] { FileImportDXFBackgroundClick(); });
  OnTrigger(ExportToExcelButton, [this] { FileExporttoExcelClick(); });
  OnTrigger(ExportAsJPEGButton, [this] { FileExportPictureClick(); });
  OnTrigger(AVIButton, [this] { FileCreateAVIVideoClick(); });
  OnTrigger(ShowLeftButton, [this] { ShowLeftButtonClick(ShowLeftButton); });
  OnTrigger(ShowGraphButton, [this] { ShowGraphButtonClick(ShowGraphButton); });
  OnTrigger(XYButton, [this] { XYButtonClick(); });
  OnTrigger(PolarButton, [this] { XYButtonClick(); });
}

void TMainForm::CreatePanels() {
  Splitter1 = new QSplitter(Qt::Horizontal, this);
  Splitter1->setObjectName(QStringLiteral("Splitter1"));
  Splitter1->setChildrenCollapsible(false);

  PanelLeft = new QWidget(Splitter1);
  PanelLeft->setObjectName(QStringLiteral("PanelLeft"));
  PanelLeft->setMinimumWidth(ScaledToFont(*this, kPanelLeftMinWidth));
  PanelLeft->setMaximumWidth(ScaledToFont(*this, kPanelLeftMaxWidth));
  auto* leftLayout = new QVBoxLayout(PanelLeft);
  leftLayout->setContentsMargins(0, 0, 0, 0);
  Splitter2 = new QSplitter(Qt::Vertical, PanelLeft);
  Splitter2->setObjectName(QStringLiteral("Splitter2"));
  Splitter2->setChildrenCollapsible(false);
  leftLayout->addWidget(Splitter2);
  // The properties first, then the curve and area editors.
  PageControl1 = new QTabWidget(Splitter2);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  PropertiesFrm1 = new TPropertiesFrm(PageControl1);
  PageControl1->addTab(PropertiesFrm1, QStringLiteral("Properties"));
  // The editors scroll when the panel is lower than they are, so they never set the window's
  // least height.
  const auto addPage = [this](QWidget* frame, const QString& caption) {
    auto* page = new QScrollArea(PageControl1);
    page->setWidgetResizable(true);
    page->setFrameShape(QFrame::NoFrame);
    page->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    page->setWidget(frame);
    PageControl1->addTab(page, caption);
  };
  SplineEditFrm1 = new TSplineEditFrm;
  addPage(SplineEditFrm1, QStringLiteral("Curve"));
  AreaEditFrm1 = new TAreaEditFrm;
  addPage(AreaEditFrm1, QStringLiteral("Areas"));
  Memo1 = new TMessageMemo(Splitter2);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Splitter2->addWidget(PageControl1);
  Splitter2->addWidget(Memo1);
  Splitter2->setStretchFactor(0, 1);
  Splitter2->setStretchFactor(1, 0);

  PanelRight = new QWidget(Splitter1);
  PanelRight->setObjectName(QStringLiteral("PanelRight"));
  auto* rightLayout = new QVBoxLayout(PanelRight);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  rightLayout->addWidget(Document->Widget());
  Splitter1->addWidget(PanelLeft);
  Splitter1->addWidget(PanelRight);
  Splitter1->setStretchFactor(0, 0);
  Splitter1->setStretchFactor(1, 1);
  const int panelWidth = ScaledToFont(*this, kPanelLeftWidth);
  Splitter1->setSizes({panelWidth, width() - panelWidth});
  const int memoHeight = MemoHeight();
  Splitter2->setSizes({height() - memoHeight, memoHeight});
  setCentralWidget(Splitter1);

  statusBar()->setObjectName(QStringLiteral("StatusBar1"));
  StatusPanel0 = new QLabel(this);
  StatusPanel0->setObjectName(QStringLiteral("StatusPanel0"));
  StatusPanel0->setFixedWidth(ScaledToFont(*this, kPanelLeftWidth));
  StatusPanel0->setAlignment(Qt::AlignCenter);
  StatusPanel1 = new QLabel(this);
  StatusPanel1->setObjectName(QStringLiteral("StatusPanel1"));
  StatusPanel1->setMinimumWidth(400);
  statusBar()->addWidget(StatusPanel0);
  statusBar()->addWidget(StatusPanel1, 1);
}

void TMainForm::CreateMenus() {
  FileMenu = menuBar()->addMenu(QStringLiteral("&File"));
  FileMenu->setObjectName(QStringLiteral("FileMenu"));
  FileNew = NewAction("FileNew", QStringLiteral("&New"));
  FileNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
  FileOpen = NewAction("FileOpen", QStringLiteral("&Open"));
  FileOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  FileSave = NewAction("FileSave", QStringLiteral("&Save"));
  FileSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  FileSaveas = NewAction("FileSaveas", QStringLiteral("Save &as..."));
  FileImportDXFBackground = NewAction("FileImportDXFBackground", QStringLiteral("Import &DXF Drawing..."),
                                      QStringLiteral("Import DXF drawing file"));
  FileExporttoExcel = NewAction("FileExporttoExcel", QStringLiteral("Export to Ex&cel..."),
                                QStringLiteral("Export Mechanism Data to Excel"));
  FileExportPicture = NewAction("FileExportPicture", QStringLiteral("Export &Picture..."),
                                QStringLiteral("Export Mechanism Picture to Bitmap or JPEG File"));
  FileCreateAVIVideo = NewAction("FileCreateAVIVideo", QStringLiteral("Create AVI Video..."),
                                 QStringLiteral("Create Windows AVI video file"));
  FileProjectInfo =
      NewAction("FileProjectInfo", QStringLiteral("Project &Info..."), QStringLiteral("Project Information"));
  FileHTMLReport =
      NewAction("FileHTMLReport", QStringLiteral("&HTML Report..."), QStringLiteral("Print HTML Report"));
  FileExit = NewAction("FileExit", QStringLiteral("E&xit"));
  FileLastFileItem = NewAction("FileLastFileItem", QString());
  FileMenu->addActions({FileNew, FileOpen, FileSave, FileSaveas});
  FileMenu->addSeparator();
  FileMenu->addActions({FileImportDXFBackground, FileExporttoExcel, FileExportPicture, FileCreateAVIVideo});
  FileMenu->addSeparator();
  FileMenu->addActions({FileProjectInfo, FileHTMLReport});
  FileMenu->addSeparator();
  FileMenu->addAction(FileExit);
  FileN4 = FileMenu->addSeparator();
  FileN4->setObjectName(QStringLiteral("FileN4"));
  FileMenu->addAction(FileLastFileItem);
  FileN4->setVisible(false);
  FileLastFileItem->setVisible(false);
  connect(FileMenu, &QMenu::aboutToShow, this, [this] { FileMenuClick(); });

  EditMenu = menuBar()->addMenu(QStringLiteral("&Edit"));
  EditMenu->setObjectName(QStringLiteral("EditMenu"));
  EditUndoItem = NewAction("EditUndoItem", QStringLiteral("&Undo"), QStringLiteral("Undo Recent Changes"));
  EditUndoItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  EditCopyItem =
      NewAction("EditCopyItem", QStringLiteral("&Copy"), QStringLiteral("Copy Mechanism to Clipboard"));
  EditCopyItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  EditPasteItem =
      NewAction("EditPasteItem", QStringLiteral("&Paste"), QStringLiteral("Paste Mechanism from Clipboard"));
  EditPasteItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
  EditSelectAll =
      NewAction("EditSelectAll", QStringLiteral("&Select All"), QStringLiteral("Select Entire Mechanism"));
  EditSelectAll->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
  AnimationInputFunctionItem =
      NewAction("AnimationInputFunctionItem", QStringLiteral("Edit &Input Function..."),
                QStringLiteral("Edit input function of selected input joint"));
  EditMoveRotateResize = NewAction(
      "EditMoveRotateResize", QStringLiteral("&Move, Rotate, Resize..."),
      QStringLiteral("Move, Rotate, and/or Resize the mechanism using the selected joint as reference"));
  EditMenu->addActions({EditUndoItem, EditCopyItem, EditPasteItem, EditSelectAll});
  EditMenu->addSeparator();
  EditMenu->addActions({AnimationInputFunctionItem, EditMoveRotateResize});

  ViewMenu = menuBar()->addMenu(QStringLiteral("&View"));
  ViewMenu->setObjectName(QStringLiteral("ViewMenu"));
  ViewShowLeft = NewAction("ViewShowLeft", QStringLiteral("Show &Left"),
                           QStringLiteral("Show/Hide Properties panel on the left"));
  ViewShowGraph = NewAction("ViewShowGraph", QStringLiteral("Show &Graph"),
                            QStringLiteral("Show/Hide Graph at the bottom"));
  ViewZoomAll = NewAction("ViewZoomAll", QStringLiteral("Zoom &All"),
                          QStringLiteral("Zoom to fit mechanism within animation window"));
  ViewZoomAll->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
  ViewUnits =
      NewAction("ViewUnits", QStringLiteral("System of &Units..."), QStringLiteral("Select Unit conversion"));
  ViewUnits->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_U));
  ViewOptions = NewAction("ViewOptions", QStringLiteral("&Options..."),
                          QStringLiteral("Animation Color and Background settings"));
  // The panel switches show their state, as their tool buttons do.
  ViewShowLeft->setCheckable(true);
  ViewShowGraph->setCheckable(true);
  ViewMenu->addActions({ViewShowLeft, ViewShowGraph, ViewZoomAll});
  ViewMenu->addSeparator();
  ViewMenu->addActions({ViewUnits, ViewOptions});

  AnimationMenu = menuBar()->addMenu(QStringLiteral("&Animation"));
  AnimationMenu->setObjectName(QStringLiteral("AnimationMenu"));
  AnimationStartItem =
      NewAction("AnimationStartItem", QStringLiteral("S&tart"), QStringLiteral("Start Animation"));
  AnimationStartItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
  AnimationStopItem =
      NewAction("AnimationStopItem", QStringLiteral("St&op"), QStringLiteral("Stop Animation and reset"));
  AnimationMenu->addActions({AnimationStartItem, AnimationStopItem});

  HelpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
  HelpMenu->setObjectName(QStringLiteral("HelpMenu"));
  HelpContents = NewAction("HelpContents", QStringLiteral("&Contents..."));
  HelpContents->setShortcut(QKeySequence(Qt::Key_F1));
  HelpManual = NewAction("HelpManual", QStringLiteral("&Manual..."));
  HelpFeedback = NewAction("HelpFeedback", QStringLiteral("&Feedback..."));
  HelpAbout = NewAction("HelpAbout", QStringLiteral("&About..."));
  HelpMenu->addActions({HelpContents, HelpManual});
  HelpMenu->addSeparator();
  HelpMenu->addAction(HelpFeedback);
  HelpMenu->addSeparator();
  HelpMenu->addAction(HelpAbout);
  // A clipboard take-over waits for an open menu as for a dialog.
  for (QMenu* menu : {FileMenu, EditMenu, ViewMenu, AnimationMenu, HelpMenu}) shared::ScopeWhileShown(*menu);

  // Menu items that share a command with a tool button show its picture.
  const std::pair<QAction*, const char*> pictures[] = {{FileNew, "new"},
                                                       {FileOpen, "open"},
                                                       {FileSave, "save"},
                                                       {FileImportDXFBackground, "importdxf"},
                                                       {FileExporttoExcel, "excel"},
                                                       {FileExportPicture, "picture"},
                                                       {FileCreateAVIVideo, "avi"},
                                                       {FileProjectInfo, "projectinfo"},
                                                       {FileHTMLReport, "report"},
                                                       {ViewShowLeft, "showleft"},
                                                       {ViewShowGraph, "showgraph"},
                                                       {ViewZoomAll, "zoomall"},
                                                       {AnimationStartItem, "start"},
                                                       {AnimationStopItem, "stop"}};
  for (const auto& [item, picture] : pictures) item->setIcon(ToolPicture(QString::fromLatin1(picture)));
  // A checked item with a picture shows it framed, which reads as no mark at all: the panel
  // switches show their check marks instead.
  ViewShowLeft->setIconVisibleInMenu(false);
  ViewShowGraph->setIconVisibleInMenu(false);

  OnTrigger(FileNew, [this] { FileNewClick(); });
  OnTrigger(FileOpen, [this] { FileOpenClick(); });
  OnTrigger(FileSave, [this] { FileSaveClick(); });
  OnTrigger(FileSaveas, [this] { FileSaveasClick(); });
  OnTrigger(FileImportDXFBackground, [this] { FileImportDXFBackgroundClick(); });
  OnTrigger(FileExporttoExcel, [this] { FileExporttoExcelClick(); });
  OnTrigger(FileExportPicture, [this] { FileExportPictureClick(); });
  OnTrigger(FileCreateAVIVideo, [this] { FileCreateAVIVideoClick(); });
  OnTrigger(FileHTMLReport, [this] { FileHTMLReportClick(); });
  OnTrigger(FileExit, [this] { FileExitClick(); });
  OnTrigger(FileLastFileItem, [this] { FileLastFileItemClick(); });
  OnTrigger(EditUndoItem, [this] { EditUndoItemClick(); });
  OnTrigger(EditCopyItem, [this] { EditCopyItemClick(); });
  OnTrigger(EditPasteItem, [this] { EditPasteItemClick(); });
  OnTrigger(EditSelectAll, [this] { EditSelectAllClick(); });
  OnTrigger(AnimationInputFunctionItem, [this] { AnimationInputFunctionItemClick(); });
  OnTrigger(EditMoveRotateResize, [this] { EditMoveRotateResizeClick(); });
  OnTrigger(ViewShowLeft, [this] { ShowLeftButtonClick(ViewShowLeft); });
  OnTrigger(ViewShowGraph, [this] { ShowGraphButtonClick(ViewShowGraph); });
  OnTrigger(ViewZoomAll, [this] { ViewZoomAllClick(); });
  OnTrigger(ViewOptions, [this] { ViewOptionsClick(); });
  OnTrigger(ViewUnits, [this] { ViewUnitsClick(); });
  OnTrigger(FileProjectInfo, [this] { FileProjectInfoClick(); });
  OnTrigger(HelpAbout, [this] { HelpAboutClick(); });
  OnTrigger(AnimationStartItem, [this] { AnimationStartItemClick(); });
  OnTrigger(
      AnimationStopItem, [this] { AnimationStopItemClick(); }, TWhileBusy::Acts);
  OnTrigger(HelpContents, [this] { HelpContentsClick(); });
  OnTrigger(HelpManual, [this] { HelpManualClick(); });
  OnTrigger(HelpFeedback, [this] { HelpFeedbackClick(); });
}

// Esc and Space act on the view wherever the focus is in the window, but Space not in the
// properties table; Delete only while the view itself has the focus.
void TMainForm::CreateKeys() {
  const auto key = [this](Qt::Key code, std::function<void()> command,
                          TWhileBusy whileBusy = TWhileBusy::Refused) {
    auto* shortcut = new QShortcut(QKeySequence(code), this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this,
            [this, command = std::move(command), whileBusy] { RunCommand(command, whileBusy); });
  };
  key(
      Qt::Key_Escape,
      [this] {
        Document->Widget()->setFocus();
        Document->StopAndSelect();
      },
      TWhileBusy::Acts);
  key(Qt::Key_Space, [this] {
    // Space typed into the properties table belongs to it.
    if (PropertiesFrm1->GridFocused) return;
    Document->Widget()->setFocus();
    Document->StartButtonClick(this);
  });
  key(Qt::Key_Delete, [this] {
    QWidget* focus = QApplication::focusWidget();
    QWidget* view = Document->Widget();
    if (focus && (focus == view || view->isAncestorOf(focus))) Document->DeleteButtonClick();
  });
}

}  // namespace quillon
