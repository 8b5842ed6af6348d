// The animator's main window: layout, commands, settings, texts and the clipboard watcher.
#include "animator/app/MainForm.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QVBoxLayout>
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
#include "animator/app/Pictures.h"
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

constexpr int kPanelLeftWidth = 215;
constexpr int kPanelLeftMinWidth = 160;
constexpr int kPanelLeftMaxWidth = 228;
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

// The left panel's widths are those of a window in an 8-point dialog font, whose digits are six
// pixels wide; a font with wider digits widens the panel alike, so the numbers in its tables keep
// their columns whole.
int ScaledToFont(const QWidget& widget, int width) {
  const double digits = widget.fontMetrics().horizontalAdvance(QStringLiteral("0123456789")) / 60.0;
  return std::max(width, static_cast<int>(std::lround(width * digits)));
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

QAction* TMainForm::NewAction(const char* name, const QString& caption, const QString& hint) {
  auto* action = new QAction(caption, this);
  action->setObjectName(QString::fromLatin1(name));
  if (!hint.isEmpty()) {
    action->setToolTip(hint);
    action->setStatusTip(hint);
  }
  return action;
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

  const std::pair<QAction*, const char*> pictures[] = {
      {NewToolButton, "new"},        {OpenToolButton, "open"},          {SaveToolButton, "save"},
      {ProjectInfoButton, "projectinfo"}, {PrintToolButton, "report"}, {ImportDXFButton, "importdxf"},
      {ExportToExcelButton, "excel"}, {ExportAsJPEGButton, "picture"}, {AVIButton, "avi"},
      {ShowLeftButton, "showleft"},  {ShowGraphButton, "showgraph"},   {XYButton, "xy"},
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
  const std::pair<QAction*, const char*> pictures[] = {
      {FileNew, "new"},           {FileOpen, "open"},
      {FileSave, "save"},         {FileImportDXFBackground, "importdxf"},
      {FileExporttoExcel, "excel"}, {FileExportPicture, "picture"},
      {FileCreateAVIVideo, "avi"}, {FileProjectInfo, "projectinfo"},
      {FileHTMLReport, "report"}, {ViewShowLeft, "showleft"},
      {ViewShowGraph, "showgraph"}, {ViewZoomAll, "zoomall"},
      {AnimationStartItem, "start"}, {AnimationStopItem, "stop"}};
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
