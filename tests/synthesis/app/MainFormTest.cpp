// The synthesis main window driven headless: start-up, caption, settings, recent files, the
// "Save ?" outcomes, help through the shell and the options command. Dialogs and the project
// store are fakes that record what they were asked.
#include <gtest/gtest.h>

#include <functional>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QFileInfo>
#include <QLocale>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QScrollBar>
#include <QStatusTipEvent>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <array>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "shared/Convert.h"
#include "shared/FilePath.h"
#include "shared/ShellOpen.h"
#include "shared/dxf/DXFDrawing.h"
#include "shared/qt/Application.h"
#include "shared/qt/ConvertDlg.h"
#include "shared/qt/DesktopServices.h"
#include "shared/qt/PathName.h"
#include "shared/qt/ProjectInfoDialog.h"
#include "synthesis/app/MainForm.h"
#include "synthesis/app/SynthOptionsDlg.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/Area.h"
#include "tests/synthesis/engine/SynthCanvas.h"
#include "synthesis/engine/Drawing.h"
#include "synthesis/engine/GenerateProgress.h"
#include "synthesis/engine/MechanismList.h"
#include "synthesis/engine/PrePoint.h"
#include "synthesis/engine/ProgramInfo.h"
#include "synthesis/engine/Spline.h"
#include "synthesis/engine/SynthOptions.h"
#include "tests/shared/StoreSettings.h"
#include "tests/synthesis/app/FakeDialogs.h"
#include "tests/synthesis/app/AppServices.h"

namespace vesk {
namespace {

using shared::TAnswer;
using shared::TFileRequest;

class TFakeStore : public TProjectStore {
 public:
  std::vector<std::string> Reads;
  std::vector<std::string> Writes;
  bool FailWrite = false;
  // Called in the middle of each read and write: what the window looks like while a file runs.
  std::function<void()> During;
  void Read(const std::string& path) override {
    if (During) During();
    Reads.push_back(path);
  }
  void Write(const std::string& path) override {
    if (During) During();
    if (FailWrite) throw std::runtime_error("Cannot write " + path);
    Writes.push_back(path);
    std::ofstream(path) << "[Vesk]\r\n";
  }
};

class MainFormTest : public shared::test::TSettingsStoreTest {
 protected:
  void SetUp() override {
    TSettingsStoreTest::SetUp();
    test::StartAppServices();
    ProgramInfo().LastOpened1.clear();
    ProgramInfo().LastOpened2.clear();
    ProgramInfo().DataDir = shared::ToPath(Dir.path()) + "/";
    shared::SetExceptionHandler([this](const QString& text) { Errors.push_back(text); });
    shared::SetShellOpen([this](const std::string& target) {
      Opened.push_back(target);
      return true;
    });
  }
  void TearDown() override {
    Form.reset();
    ProjectInfo.reset();
    shared::SetShellOpen({});
    shared::SetExceptionHandler(nullptr);
    test::StopAppServices();
    TSettingsStoreTest::TearDown();
  }

  // A window as the program makes it, shown and started with the command line.
  void Start(const QString& commandLine = {}, bool withStore = true) {
    Form.reset();
    auto dialogs = std::make_unique<TFakeDialogs>();
    Dialogs = dialogs.get();
    Form = std::make_unique<TMainForm>(std::move(dialogs));
    Form->InfoBox = [this](const QString& text) { Infos.push_back(text); };
    ProjectInfo = std::make_unique<shared::TProjectInfoDialog>();
    Form->SetProjectInfoDialog(ProjectInfo.get());
    if (withStore) {
      auto store = std::make_unique<TFakeStore>();
      Store = store.get();
      Form->SetProjectStore(std::move(store));
    }
    Form->ShowModal = [this](QDialog& dialog) {
      Shown.push_back(&dialog);
      return OnModal ? OnModal(dialog) : 0;
    };
    Form->show();
    Form->FormShow(commandLine);
  }

  std::string File(const char* name, bool create = true) {
    const std::string path = shared::ToPath(Dir.filePath(QString::fromUtf8(name)));
    if (create) std::ofstream(path) << "[Vesk]\r\n";
    return path;
  }

  QTemporaryDir Dir;
  std::unique_ptr<TMainForm> Form;
  std::unique_ptr<shared::TProjectInfoDialog> ProjectInfo;
  TFakeDialogs* Dialogs = nullptr;
  TFakeStore* Store = nullptr;
  std::vector<QString> Errors;
  std::vector<QString> Infos;
  std::vector<std::string> Opened;
  std::vector<QDialog*> Shown;
  std::function<int(QDialog&)> OnModal;
};

TEST_F(MainFormTest, StartsWithANewProjectAndItsObjects) {
  Start();
  EXPECT_EQ(Form->windowTitle(), "Vesk Professional - Untitled");
  EXPECT_EQ(Form->ProjectName(), "Untitled");
  EXPECT_FALSE(Form->IsProjectModified());
  EXPECT_EQ(Form->Curve().Name, "Curve definition");
  EXPECT_EQ(Form->GroundAreas().Name, "Ground Pivot Areas");
  EXPECT_EQ(Form->CouplerAreas().Name, "Coupler Pivot Areas");
  EXPECT_EQ(Form->GroundAreas().Capacity(), 20);
  EXPECT_EQ(Form->CouplerAreas().Capacity(), 20);
  EXPECT_EQ(Form->RegistryKey(), "Software\\Orvane\\Vesk1.6");
  for (int view = 0; view < 3; ++view) {
    EXPECT_EQ(Form->Canvas(view).CanvasSize(), 1300);
    EXPECT_DOUBLE_EQ(Form->Canvas(view).WorldSize(), 3.0);
    EXPECT_FALSE(Form->Canvas(view).AutoResetMode);
    QScrollArea* scroll = Form->ScrollBoxes[size_t(view)];
    EXPECT_EQ(scroll->widget()->size(), QSize(1300, 1300));
  }
  // Each view shows the middle of its canvas when it is first seen, whatever size its tab
  // takes then.
  for (int view = 0; view < 3; ++view) {
    Form->MechPageControl->setCurrentIndex(view);
    QApplication::processEvents();
    const QScrollArea* scroll = Form->ScrollBoxes[size_t(view)];
    ASSERT_GT(scroll->horizontalScrollBar()->maximum(), 0);
    EXPECT_NEAR(scroll->horizontalScrollBar()->value(), scroll->horizontalScrollBar()->maximum() / 2, 1) << view;
    EXPECT_NEAR(scroll->verticalScrollBar()->value(), scroll->verticalScrollBar()->maximum() / 2, 1) << view;
  }
  EXPECT_TRUE(Form->Canvas(0).DoubleBuffered());
  EXPECT_FALSE(Form->ProgressPanel->isVisible());
  EXPECT_TRUE(Form->MechButtons[0]->isChecked());
  EXPECT_EQ(Form->NewType, 0);
  EXPECT_TRUE(Errors.empty());
}

TEST_F(MainFormTest, ComponentsCarryTheirNames) {
  Start();
  for (const char* name :
       {"MechListView", "StringGrid1", "PanelLeft", "ProgressPanel", "ProgressBar1", "RemainingLabel", "GeneratingLabel",
        "MechPageControl", "MechTabSheet", "OutputLinkTabSheet", "GroundTabSheet", "ScrollBox1", "ScrollBox2",
        "ScrollBox3", "PaintBox1", "PaintBox2", "PaintBox3", "GraphTabControl", "GraphPaintBox", "StatusLine",
        "ToolBar1", "GenerateButton", "OptimizeButton", "UndoOptimizeButton", "SynthesisGenerate",
        "SynthesisOptimize", "SynthesisUndoOptimizeItem", "FileExporttoQuillonItem", "MechButton0",
        "MechButton7", "MechButton8", "MechButton1", "MechButton2", "MechButton3", "MechButton5",
        "MechButton6", "ListDeleteButton", "ClearListButton", "InputFunctionButton", "ExportToExcelButton"}) {
    EXPECT_NE(Form->findChild<QObject*>(QString::fromLatin1(name)), nullptr) << name;
  }
  EXPECT_EQ(Form->findChild<QObject*>("MechButton4"), nullptr);
  const QTabWidget* pages = Form->MechPageControl;
  ASSERT_EQ(pages->count(), 3);
  EXPECT_EQ(pages->tabText(0), "Mechanism");
  EXPECT_EQ(pages->tabText(1), "Output Link");
  EXPECT_EQ(pages->tabText(2), "Ground Link");
}

TEST_F(MainFormTest, MenusAndShortcuts) {
  Start();
  struct TCase {
    QAction* Item;
    const char* Text;
    QKeySequence Keys;
  };
  const TCase cases[] = {
      {Form->FileNewItem, "&New", QKeySequence("Ctrl+N")},
      {Form->FileOpenItem, "&Open...", QKeySequence("Ctrl+O")},
      {Form->FileSaveItem, "&Save", QKeySequence("Ctrl+S")},
      {Form->FileSaveAsItem, "Save &As...", {}},
      {Form->FileExporttoQuillonItem, "Export to Q&uillon", QKeySequence("Ctrl+R")},
      {Form->FileReportItem, "&Report", QKeySequence("Ctrl+P")},
      {Form->FileExitItem, "E&xit", QKeySequence("Ctrl+X")},
      {Form->EditPropertiesItem, "&Properties", QKeySequence("Shift+Ins")},
      {Form->EditDeleteItem, "&Delete", QKeySequence("Shift+Del")},
      {Form->ViewZoomAllItem, "Zoom &All", QKeySequence("Ctrl+F")},
      {Form->ViewZoomInItem, "Zoom &In", QKeySequence("Ctrl+I")},
      {Form->ViewZoomOutItem, "Zoom &Out", QKeySequence("Ctrl+J")},
      {Form->ViewUnitsItem, "System of &Units...", {}},
      {Form->SynthesisGenerate, "&Start Synthesis", QKeySequence("Ctrl+G")},
      {Form->SynthesisOptimize, "Optimi&ze", QKeySequence("Ctrl+T")},
      {Form->SynthesisOptionsItem, "&Options...", {}},
      {Form->HelpContentsItem, "&Contents", QKeySequence("F1")},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(c.Item->text(), QString::fromLatin1(c.Text));
    EXPECT_EQ(c.Item->shortcut(), c.Keys) << c.Text;
  }
  // No two commands share a key.
  std::vector<QKeySequence> keys;
  for (QAction* action : Form->findChildren<QAction*>()) {
    if (action->shortcut().isEmpty()) continue;
    EXPECT_EQ(std::count(keys.begin(), keys.end(), action->shortcut()), 0) << action->objectName().toStdString();
    keys.push_back(action->shortcut());
  }
  // Commands whose engine, list or dialog is not in the program yet stay off; the ones that
  // are here work.
  for (QAction* off : {Form->SynthesisGenerate, Form->SynthesisOptimize, Form->GenerateButton,
                       Form->FileExporttoQuillonItem, Form->FileReportItem, Form->AnalysisStartItem})
    EXPECT_FALSE(off->isEnabled()) << off->objectName().toStdString();
  for (QAction* on : {Form->FileNewItem, Form->FileOpenItem, Form->FileSaveItem, Form->SynthesisOptionsItem,
                      Form->ViewUnitsItem, Form->HelpAboutItem, Form->EditDeleteItem, Form->ViewZoomAllItem,
                      Form->AnalysisInputFunctionItem})
    EXPECT_TRUE(on->isEnabled()) << on->objectName().toStdString();
}

TEST_F(MainFormTest, WithoutAProjectStoreTheFileCommandsAreOffAndTheCommandLineIsIgnored) {
  const std::string gear = File("gear.vesk");
  Start(shared::FromPath(gear), false);
  EXPECT_EQ(Form->windowTitle(), "Vesk Professional - Untitled");
  EXPECT_FALSE(Form->FileOpenItem->isEnabled());
  EXPECT_FALSE(Form->FileSaveAsItem->isEnabled());
  EXPECT_FALSE(Form->FileOpen());
  EXPECT_TRUE(Dialogs->Requests.empty());
}

TEST_F(MainFormTest, TheStatusLineFitsItsTexts) {
  Start();
  ASSERT_EQ(Form->StatusPanels.size(), 4u);
  const QFontMetrics metrics(Form->StatusPanels[1]->font());
  for (int i : {1, 2}) {
    QLabel* panel = Form->StatusPanels[size_t(i)];
    EXPECT_GE(panel->contentsRect().width(), metrics.horizontalAdvance("X: -0000.000")) << i;
  }
  // Hints land in the last panel.
  QStatusTipEvent tip(QStringLiteral("Start Generating Mechanisms"));
  QApplication::sendEvent(Form.get(), &tip);
  EXPECT_EQ(Form->StatusPanels[3]->text(), "Start Generating Mechanisms");
}

// While a project is read or written the window takes no input and the file progress names the
// file; afterwards both are back as they were, also when the write fails.
TEST_F(MainFormTest, FileWorkClosesTheWindowToInputAndShowsItsProgress) {
  const std::string gear = File("gear.vesk");
  Start(shared::FromPath(gear));
  const auto progress = [] {
    for (QWidget* widget : QApplication::topLevelWidgets())
      if (widget->objectName() == QStringLiteral("FileProgressDlg")) return widget;
    return static_cast<QWidget*>(nullptr);
  };
  std::vector<std::pair<bool, QString>> seen;
  Store->During = [&] {
    QWidget* dialog = progress();
    seen.emplace_back(Form->isEnabled(), dialog && dialog->isVisible() ? dialog->windowTitle() : QString());
  };
  Form->FileSave();
  Store->FailWrite = true;
  Form->FileSave();
  Store->FailWrite = false;
  Dialogs->PickedFile = shared::FromPath(gear);
  Form->FileOpen();
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0], std::make_pair(false, QStringLiteral("Saving gear.vesk")));
  EXPECT_EQ(seen[1], std::make_pair(false, QStringLiteral("Saving gear.vesk")));
  EXPECT_EQ(seen[2], std::make_pair(false, QStringLiteral("Opening gear.vesk")));
  EXPECT_TRUE(Form->isEnabled());
  ASSERT_NE(progress(), nullptr);
  EXPECT_FALSE(progress()->isVisible());
}

TEST_F(MainFormTest, CommandLineProjectIsReadAndNamesTheCaption) {
  struct TCase {
    const char* Name;
    QString CommandLine;
    bool Read;
    const char* Caption;
  };
  const std::string gear = File("gear.vesk");
  const std::string blanks = File("my gear.vesk");
  const TCase cases[] = {
      {"existing file", shared::FromPath(gear), true, "Vesk Professional - gear.vesk"},
      {"name with blanks, rejoined", shared::JoinCommandLine({"vesk", shared::FromPath(blanks).section(' ', 0, 0),
                                                              shared::FromPath(blanks).section(' ', 1) + " "}),
       true, "Vesk Professional - my gear.vesk"},
      {"missing file: new project, no message", shared::FromPath(File("none.vesk", false)), false,
       "Vesk Professional - Untitled"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Start(c.CommandLine);
    EXPECT_EQ(Form->windowTitle(), c.Caption);
    EXPECT_EQ(Store->Reads.size(), c.Read ? 1u : 0u);
    EXPECT_TRUE(Dialogs->Questions.empty());
    EXPECT_TRUE(Errors.empty());
  }
  // The opened file is recent file 1 and the empty project title takes its name.
  EXPECT_EQ(ProgramInfo().LastOpened1, blanks);
  EXPECT_EQ(ProgramInfo().LastOpened2, gear);
}

class MainFormSettingsTest : public MainFormTest {
 protected:
  // A third of the window, or wider to show the list's three columns whole.
  void ExpectListPanelWidth(int windowWidth) {
    const QTreeWidget* list = Form->MechListView;
    const int columns = list->columnWidth(0) + list->columnWidth(1) + list->columnWidth(2);
    const int handle = Form->MainSplitter->handleWidth() + 1;
    EXPECT_GE(Form->PanelLeft->width() + handle, windowWidth / 3);
    EXPECT_GE(list->viewport()->width(), columns);
    if (Form->PanelLeft->width() > windowWidth / 3 + handle) {
      EXPECT_LE(Form->PanelLeft->width(), columns + 2 * list->frameWidth() + 40) << "no wider than its columns need";
    }
  }
};

TEST_F(MainFormSettingsTest, AMissingKeyGivesTheDefaultLayout) {
  Start();
  const QRect screen = Form->screen()->geometry();
  const int width = screen.width() * 6 / 10;
  const int height = screen.height() - 30;
  EXPECT_EQ(Form->pos(), QPoint(0, 0));
  EXPECT_EQ(Form->size(), QSize(width, height));
  // The splitters hand out the handle's width; the list panel is a third within that, or as wide
  // as its list's columns where a third is too narrow for them.
  ExpectListPanelWidth(width);
  EXPECT_EQ(AppOptions.Speed, 1);
  EXPECT_TRUE(AppOptions.ZoomAllOnSelect);
  EXPECT_TRUE(AppOptions.XIsTime);
  EXPECT_EQ(AppOptions.Search, 1);
  EXPECT_TRUE(Form->SpeedToolButtons[1]->isChecked());
  EXPECT_TRUE(Form->XYToolButton->isChecked());
}

TEST_F(MainFormSettingsTest, ValuesComeBackAsTheyWereSaved) {
  shared::TMemorySettings& s = fStore;
  s.WriteInteger("MainForm", "WindowState", 0);
  s.WriteInteger("MainForm", "Top", 20);
  s.WriteInteger("MainForm", "Left", 30);
  s.WriteInteger("MainForm", "Width", 700);
  s.WriteInteger("MainForm", "Height", 500);
  s.WriteInteger("List", "Width", 200);
  s.WriteInteger("Options", "Speed", 2);
  s.WriteBool("Options", "ShowInstantCenters", true);
  s.WriteBool("Options", "ZoomAllOnSelect", false);
  s.WriteBool("Options", "IsPolar", true);
  s.WriteBool("Options", "XIsTime", false);
  s.WriteInteger("Options", "Search", 2);
  Start();
  EXPECT_EQ(Form->pos(), QPoint(30, 20));
  EXPECT_EQ(Form->size(), QSize(700, 500));
  EXPECT_EQ(AppOptions.Speed, 2);
  EXPECT_TRUE(AppOptions.ShowInstantCenters);
  EXPECT_FALSE(AppOptions.ZoomAllOnSelect);
  EXPECT_TRUE(AppOptions.IsPolar);
  EXPECT_FALSE(AppOptions.XIsTime);
  EXPECT_EQ(AppOptions.Search, 2);
  EXPECT_EQ(AppOptions.SearchBudget(), 600000);
  // The buttons show the options.
  EXPECT_TRUE(Form->SpeedToolButtons[2]->isChecked());
  EXPECT_TRUE(Form->PolarToolButton->isChecked());
  EXPECT_TRUE(Form->Canvas(0).Polar);
  EXPECT_FALSE(Form->ZoomAllOnSelectToolButton->isChecked());
  EXPECT_FALSE(Form->XIsTimeToolButton->isChecked());
  const int listWidth = Form->PanelLeft->width();
  EXPECT_NEAR(listWidth, 200, Form->MainSplitter->handleWidth() + 1);

  s.Values.clear();
  Form.reset();
  EXPECT_EQ(s.ReadInteger("MainForm", "WindowState", -1), 0);
  EXPECT_EQ(s.ReadInteger("MainForm", "Top", -1), 20);
  EXPECT_EQ(s.ReadInteger("MainForm", "Left", -1), 30);
  EXPECT_EQ(s.ReadInteger("MainForm", "Width", -1), 700);
  EXPECT_EQ(s.ReadInteger("MainForm", "Height", -1), 500);
  EXPECT_EQ(s.ReadInteger("List", "Width", -1), listWidth);
  EXPECT_EQ(s.ReadInteger("Options", "Speed", -1), 2);
  EXPECT_TRUE(s.ReadBool("Options", "ShowInstantCenters", false));
  EXPECT_FALSE(s.ReadBool("Options", "ZoomAllOnSelect", true));
  EXPECT_TRUE(s.ReadBool("Options", "IsPolar", false));
  EXPECT_FALSE(s.ReadBool("Options", "XIsTime", true));
  EXPECT_EQ(s.ReadInteger("Options", "Search", -1), 2);
  EXPECT_TRUE(s.ValueExists("List", "Height"));
  EXPECT_TRUE(s.ValueExists("Graph", "Height"));
  // Closing hides both drawings for the next start.
  EXPECT_FALSE(AppOptions.ShowGroundDrawing);
  EXPECT_FALSE(AppOptions.ShowOutputLinkDrawing);
}

// Start, exit, start, exit with nothing touched: every stored size and splitter position comes
// back as it was kept, from the defaults of a first start or from a kept layout, also with the
// list or the graph panel hidden at exit.
TEST_F(MainFormSettingsTest, AKeptLayoutComesBackExactlyOverStartsAndExits) {
  const auto layout = [this] {
    std::map<std::string, int> values;
    for (const auto& [section, name] : std::vector<std::pair<std::string, std::string>>{
             {"MainForm", "Top"}, {"MainForm", "Left"}, {"MainForm", "Width"}, {"MainForm", "Height"},
             {"List", "Width"}, {"List", "Height"}, {"Graph", "Height"}})
      values[section + "." + name] = fStore.ReadInteger(section, name, -1);
    return values;
  };
  struct TCase {
    const char* Name;
    bool Kept;
    bool HideList;
    bool HideGraph;
    int State;
  };
  const TCase cases[] = {{"defaults of a first start", false, false, false, 0},
                         {"a kept layout", true, false, false, 0},
                         {"list hidden at exit", true, true, false, 0},
                         {"graph hidden at exit", true, false, true, 0},
                         {"maximised", true, false, false, 2}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    fStore.Values.clear();
    if (c.Kept) {
      fStore.WriteInteger("MainForm", "Top", 20);
      fStore.WriteInteger("MainForm", "Left", 30);
      fStore.WriteInteger("MainForm", "Width", 900);
      fStore.WriteInteger("MainForm", "Height", 714);
      fStore.WriteInteger("List", "Width", 310);
      fStore.WriteInteger("List", "Height", 476);
      fStore.WriteInteger("Graph", "Height", 170);
      fStore.WriteInteger("MainForm", "WindowState", c.State);
    }
    std::map<std::string, int> kept = layout();
    for (int run = 0; run < 3; ++run) {
      SCOPED_TRACE(run);
      Start();
      // The window takes its state and size from the platform.
      QApplication::processEvents();
      EXPECT_EQ(Form->isMaximized(), c.State == 2);
      if (c.Kept || run > 0) {
        EXPECT_EQ(Form->PanelLeft->width(), kept["List.Width"]);
        EXPECT_EQ(Form->StringGrid1->height(), kept["List.Height"]);
        // Unless the graph's tab rows need more than was kept in a window this narrow.
        EXPECT_EQ(Form->GraphTabControl->height(),
                  std::max(kept["Graph.Height"], Form->GraphTabControl->minimumSizeHint().height()));
      }
      if (c.HideList) Form->ShowListToolButton->trigger();
      if (c.HideGraph) Form->ShowGraphToolButton->trigger();
      Form.reset();
      if (!c.Kept && run == 0) kept = layout();
      EXPECT_EQ(layout(), kept);
      AppOptions.ShowList = true;
      AppOptions.ShowGraph = true;
    }
  }
}

// A layout moved by the user is kept as it was left and comes back so.
TEST_F(MainFormSettingsTest, AMovedSplitterIsKeptAsLeft) {
  Start();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
  // The user drags each splitter's handle by the amount given.
  const auto drag = [](QSplitter* splitter, int by) {
    QSplitterHandle* handle = splitter->handle(1);
    const QPoint from = handle->rect().center();
    const QPoint to = from + (splitter->orientation() == Qt::Horizontal ? QPoint(by, 0) : QPoint(0, by));
    QTest::mousePress(handle, Qt::LeftButton, {}, from);
    QTest::mouseMove(handle, to);
    QTest::mouseRelease(handle, Qt::LeftButton, {}, to);
  };
  const int list = Form->PanelLeft->width(), grid = Form->StringGrid1->height(),
            graph = Form->GraphTabControl->height();
  drag(Form->MainSplitter, -25);
  drag(Form->LeftSplitter, 40);
  drag(Form->RightSplitter, -30);
  ASSERT_EQ(Form->PanelLeft->width(), list - 25);
  ASSERT_EQ(Form->StringGrid1->height(), grid - 40);
  ASSERT_EQ(Form->GraphTabControl->height(), graph + 30);
  Form.reset();
  EXPECT_EQ(fStore.ReadInteger("List", "Width", -1), list - 25);
  EXPECT_EQ(fStore.ReadInteger("List", "Height", -1), grid - 40);
  EXPECT_EQ(fStore.ReadInteger("Graph", "Height", -1), graph + 30);
  Start();
  QApplication::processEvents();
  EXPECT_EQ(Form->PanelLeft->width(), list - 25);
  EXPECT_EQ(Form->StringGrid1->height(), grid - 40);
  EXPECT_EQ(Form->GraphTabControl->height(), graph + 30);
}

// A window quit minimised keeps the bounds it had before, and comes back at them; a stored state
// that names none is a normal window.
TEST_F(MainFormSettingsTest, AMinimisedWindowComesBackAtItsBounds) {
  struct TCase {
    int State;
    bool Minimised;
  };
  const std::pair<const char*, int> bounds[] = {{"Top", 20}, {"Left", 30}, {"Width", 700}, {"Height", 500}};
  for (const TCase c : {TCase{1, true}, TCase{7, false}}) {
    SCOPED_TRACE(c.State);
    shared::TMemorySettings& s = fStore;
    s.Values.clear();
    s.WriteInteger("MainForm", "WindowState", c.State);
    for (const auto& [name, value] : bounds) s.WriteInteger("MainForm", name, value);
    Start();
    EXPECT_EQ(Form->isMinimized(), c.Minimised);
    EXPECT_EQ(Form->normalGeometry().size(), QSize(700, 500));
    Form->setWindowState(Qt::WindowMinimized);
    s.Values.clear();
    Form.reset();
    EXPECT_EQ(s.ReadInteger("MainForm", "WindowState", -1), 1);
    for (const auto& [name, value] : bounds) EXPECT_EQ(s.ReadInteger("MainForm", name, -1), value) << name;
  }
}

TEST_F(MainFormSettingsTest, AMaximisedWindowWritesOnlyItsState) {
  shared::TMemorySettings& s = fStore;
  s.WriteInteger("MainForm", "Top", 11);
  s.WriteInteger("MainForm", "Left", 12);
  s.WriteInteger("MainForm", "Width", 613);
  s.WriteInteger("MainForm", "Height", 414);
  Start();
  Form->showMaximized();
  Form.reset();
  EXPECT_EQ(s.ReadInteger("MainForm", "WindowState", -1), 2);
  EXPECT_EQ(s.ReadInteger("MainForm", "Top", -1), 11);
  EXPECT_EQ(s.ReadInteger("MainForm", "Left", -1), 12);
  EXPECT_EQ(s.ReadInteger("MainForm", "Width", -1), 613);
  EXPECT_EQ(s.ReadInteger("MainForm", "Height", -1), 414);
  // The next start is maximised again and keeps the stored normal geometry for later.
  Start();
  EXPECT_TRUE(Form->isMaximized());
  Form.reset();
  EXPECT_EQ(s.ReadInteger("MainForm", "Width", -1), 613);
}

TEST_F(MainFormSettingsTest, TheQuickTutorialResetsTheLayout) {
  fStore.WriteInteger("MainForm", "Width", 500);
  fStore.WriteInteger("MainForm", "Left", 40);
  Start();
  Form->HelpQuickTutorialClick();
  const QRect screen = Form->screen()->geometry();
  EXPECT_EQ(Form->pos(), QPoint(0, 0));
  EXPECT_EQ(Form->size(), QSize(screen.width() * 6 / 10, screen.height() - 30));
  ExpectListPanelWidth(screen.width() * 6 / 10);
}

TEST_F(MainFormTest, RecentFilesFollowTheOpenedProjects) {
  const std::string a = File("a.vesk");
  const std::string b = File("b.vesk");
  const std::string c = File("c.vesk");
  struct TStep {
    std::string Open;
    std::string Recent1;
    std::string Recent2;
  };
  // Opening recent file 1 or 2 again leaves the order as it is; a new name goes first.
  const TStep steps[] = {{a, a, ""}, {b, b, a}, {b, b, a}, {a, b, a}, {c, c, b}};
  Start();
  for (const TStep& step : steps) {
    Dialogs->PickedFile = shared::FromPath(step.Open);
    ASSERT_TRUE(Form->FileOpen());
    EXPECT_EQ(Form->ProjectName(), step.Open);
    EXPECT_EQ(ProgramInfo().LastOpened1, step.Recent1);
    EXPECT_EQ(ProgramInfo().LastOpened2, step.Recent2);
  }
  EXPECT_EQ(Store->Reads, (std::vector<std::string>{a, b, b, a, c}));
  const TFileRequest& request = Dialogs->Requests.front();
  EXPECT_EQ(request.Title, "Open");
  EXPECT_EQ(request.Filter, "Vesk files (*.vesk)|*.vesk;*.vsk|All files (*.*)|*.*");
  EXPECT_EQ(request.FilterIndex, 1);
  EXPECT_EQ(request.DefaultExt, "vesk");
  EXPECT_EQ(Form->windowTitle(), "Vesk Professional - c.vesk");
  // The data folder follows the opened file.
  EXPECT_EQ(ProgramInfo().DataDir, shared::ToPath(Dir.path()) + "/");

  Form->FileMenuClick();
  EXPECT_TRUE(Form->FileLastOpened1Item->isVisible());
  EXPECT_EQ(Form->FileLastOpened1Item->text(), "&1 c.vesk");
  EXPECT_EQ(Form->FileLastOpened2Item->text(), "&2 b.vesk");
  EXPECT_EQ(Form->FileLastOpened1Item->toolTip(), shared::FromPath(c));
}

TEST_F(MainFormTest, RecentFileItemsOpenOrDropTheirEntry) {
  const std::string a = File("a.vesk");
  const std::string b = File("b.vesk");
  const std::string gone = File("gone.vesk", false);
  struct TCase {
    const char* Name;
    std::string Recent1, Recent2;
    int Tag;
    std::string Read;  // empty: nothing read
    std::string After1, After2;
    const char* Caption;
  };
  const TCase cases[] = {
      {"entry 1 opens", a, b, 1, a, a, b, "Vesk Professional - a.vesk"},
      {"entry 2 opens, order kept", a, b, 2, b, a, b, "Vesk Professional - b.vesk"},
      {"missing entry 1: entry 2 moves up", gone, b, 1, "", b, "", "Vesk Professional - Untitled"},
      {"missing entry 2 is emptied", a, gone, 2, "", a, "", "Vesk Professional - Untitled"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Start();
    ProgramInfo().LastOpened1 = c.Recent1;
    ProgramInfo().LastOpened2 = c.Recent2;
    EXPECT_TRUE(Form->FileLastOpenedClick(c.Tag));
    EXPECT_EQ(Store->Reads, c.Read.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.Read});
    EXPECT_EQ(ProgramInfo().LastOpened1, c.After1);
    EXPECT_EQ(ProgramInfo().LastOpened2, c.After2);
    EXPECT_EQ(Form->windowTitle(), c.Caption);
    EXPECT_TRUE(Errors.empty());
  }
  // Empty entries hide their items and the separator with the first.
  ProgramInfo().LastOpened1.clear();
  ProgramInfo().LastOpened2.clear();
  Form->FileMenuClick();
  EXPECT_FALSE(Form->FileLastOpened1Item->isVisible());
  EXPECT_FALSE(Form->FileLastOpened2Item->isVisible());
  EXPECT_FALSE(Form->FileRecentSeparator->isVisible());
}

TEST_F(MainFormTest, AnEmptyProjectTitleTakesTheFileName) {
  const std::string gear = File("gear.vesk");
  Start(shared::FromPath(gear));
  EXPECT_EQ(ProjectInfo->Info.Title, "gear.vesk");
  // A new project resets the information; an existing title is kept on the next open.
  Form->FileNew();
  EXPECT_TRUE(ProjectInfo->Info.Title.empty());
  ProjectInfo->Info.Title = "Press linkage";
  Dialogs->PickedFile = shared::FromPath(gear);
  Form->FileOpen();
  // FileOpen starts a new project first, which clears the title, then takes the file's name.
  EXPECT_EQ(ProjectInfo->Info.Title, "gear.vesk");
}

// A project with unsaved changes, then one command; what was asked, saved and kept.
TEST_F(MainFormTest, SaveQuestionOutcomes) {
  const std::string existing = File("gear.vesk");
  const std::string other = File("other.vesk");
  const std::string fresh = File("fresh.vesk", false);
  struct TCase {
    const char* Name;
    bool Untitled;
    std::vector<TAnswer> Answers;
    std::string Picked;  // in Save As; empty cancels
    bool FailWrite;
    bool Proceeds;
    std::string Written;  // empty: nothing written
  };
  const TCase cases[] = {
      {"No drops the changes", false, {TAnswer::No}, "", false, true, ""},
      {"Cancel keeps the project", false, {TAnswer::Cancel}, "", false, false, ""},
      {"Yes saves to its file", false, {TAnswer::Yes}, "", false, true, existing},
      {"Yes on Untitled asks for a name", true, {TAnswer::Yes}, fresh, false, true, fresh},
      {"Save As cancelled cancels the command", true, {TAnswer::Yes}, "", false, false, ""},
      {"Replace declined cancels the command", true, {TAnswer::Yes, TAnswer::No}, other, false, false, ""},
      {"Replace accepted writes", true, {TAnswer::Yes, TAnswer::Yes}, other, false, true, other},
      {"a failed write cancels the command", false, {TAnswer::Yes}, "", true, false, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Start(c.Untitled ? QString() : shared::FromPath(existing));
    std::remove(fresh.c_str());
    const std::string before = Form->ProjectName();
    Form->Modified = true;
    Dialogs->Answers.assign(c.Answers.begin(), c.Answers.end());
    Dialogs->PickedFile = shared::FromPath(c.Picked);
    Store->FailWrite = c.FailWrite;
    Errors.clear();
    EXPECT_EQ(Form->FileNew(), c.Proceeds);
    EXPECT_EQ(Dialogs->Questions.front(), "Save ?");
    EXPECT_TRUE(Dialogs->Answers.empty());
    EXPECT_EQ(Store->Writes, c.Written.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.Written});
    EXPECT_EQ(Errors.size(), c.FailWrite ? 1u : 0u);
    if (c.Proceeds) {
      EXPECT_EQ(Form->ProjectName(), "Untitled");
      EXPECT_FALSE(Form->IsProjectModified());
    } else {
      // Nothing thrown away, the name unchanged.
      EXPECT_EQ(Form->ProjectName(), before);
      EXPECT_TRUE(Form->IsProjectModified());
    }
  }
}

TEST_F(MainFormTest, NothingModifiedAsksNothing) {
  Start();
  EXPECT_EQ(Form->AskSave(), TAnswer::No);
  EXPECT_TRUE(Dialogs->Questions.empty());
  // Each owned object's change counts.
  const std::vector<std::function<void()>> changes = {
      [this] { Form->Modified = true; },
      [this] { Form->Curve().SetModified(true); },
      [this] { Form->GroundAreas().SetModified(true); },
      [this] { Form->CouplerAreas().SetModified(true); },
      [] { Drawing().SetModified(true); },
  };
  for (size_t i = 0; i < changes.size(); ++i) {
    Form->NewProject();
    ASSERT_FALSE(Form->IsProjectModified()) << i;
    changes[i]();
    EXPECT_TRUE(Form->IsProjectModified()) << i;
  }
  Form->NewProject();
}

TEST_F(MainFormTest, SaveAsTakesTheNameOnlyAfterAWriteThatWorked) {
  Start();
  const std::string target = File("target.vesk", false);
  Dialogs->PickedFile = shared::FromPath(target);
  Store->FailWrite = true;
  EXPECT_FALSE(Form->FileSaveAs());
  EXPECT_EQ(Form->ProjectName(), "Untitled");
  EXPECT_EQ(Form->windowTitle(), "Vesk Professional - Untitled");
  EXPECT_TRUE(ProgramInfo().LastOpened1.empty());
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_TRUE(Errors[0].contains("target.vesk"));

  Store->FailWrite = false;
  EXPECT_TRUE(Form->FileSaveAs());
  EXPECT_EQ(Form->ProjectName(), target);
  EXPECT_EQ(Form->windowTitle(), "Vesk Professional - target.vesk");
  EXPECT_EQ(ProgramInfo().LastOpened1, target);
  const TFileRequest& request = Dialogs->Requests.back();
  EXPECT_EQ(request.Title, "Save");
  EXPECT_EQ(request.DefaultExt, "vesk");
  EXPECT_EQ(request.FileName, "Untitled");
  // The replace question names the file.
  Dialogs->Answers = {TAnswer::No};
  EXPECT_FALSE(Form->FileSaveAs());
  EXPECT_EQ(Dialogs->Questions.back(), shared::FromPath(target) + " already exists !\nReplace ?");
  // Save on a named project writes without a dialog.
  const size_t picks = Dialogs->Requests.size();
  EXPECT_TRUE(Form->FileSave());
  EXPECT_EQ(Dialogs->Requests.size(), picks);
  EXPECT_EQ(Store->Writes.back(), target);
}

TEST_F(MainFormTest, CancelInSaveKeepsTheWindowOpen) {
  Start();
  Form->Curve().SetModified(true);
  Dialogs->Answers = {TAnswer::Cancel};
  EXPECT_FALSE(Form->close());
  EXPECT_TRUE(Form->isVisible());
  Dialogs->Answers = {TAnswer::No};
  EXPECT_TRUE(Form->close());
}

TEST_F(MainFormTest, HelpGoesThroughTheShell) {
  Start();
  ProgramInfo().MailAddress = "sales@orvane.example";
  ProgramInfo().MailSubject = "Vesk";
  ProgramInfo().ManualPath = File("manual.pdf", false);
  ProgramInfo().ProductURL = "https://orvane.example/vesk";
  ProgramInfo().FeedbackURL = "https://orvane.example/feedback";
  Form->HelpEmailOrvaneClick();
  Form->HelpUsersGuideClick();  // no manual: the product page
  File("manual.pdf");
  Form->HelpUsersGuideClick();
  Form->HelpFeedbackItemClick();
  EXPECT_EQ(Opened, (std::vector<std::string>{"mailto:sales@orvane.example?subject=Vesk", "https://orvane.example/vesk",
                                              ProgramInfo().ManualPath, "https://orvane.example/feedback"}));
}

// With nothing on the desktop to open them, Help > Manual and Help > Feedback say what they
// tried and that nothing opened it.
TEST_F(MainFormTest, HelpItemsThatNothingOpensSaySo) {
  Start();
  const std::string manual = File("manual.pdf", false);
  ProgramInfo().ManualPath = manual;
  ProgramInfo().ProductURL = "https://orvane.example/vesk";
  ProgramInfo().FeedbackURL = "https://orvane.example/feedback";
  shared::SetShellOpen([this](const std::string& target) {
    Opened.push_back(target);
    return false;
  });
  const QString name = QString::fromStdString(manual);
  Form->HelpUsersGuideItem->trigger();  // no manual: the product page, which nothing opens
  File("manual.pdf");
  Form->HelpUsersGuideItem->trigger();
  Form->HelpFeedbackItem->trigger();
  EXPECT_EQ(Opened, (std::vector<std::string>{"https://orvane.example/vesk", manual, "https://orvane.example/feedback"}));
  EXPECT_EQ(Infos, (std::vector<QString>{
                       "The manual " + name +
                           " was not found, and the product's web page https://orvane.example/vesk could not be "
                           "opened: the desktop has no program for it.",
                       "The manual " + name + " could not be opened: the desktop has no program for it.",
                       "The feedback page https://orvane.example/feedback could not be opened: the desktop has no "
                       "program for it."}));
  EXPECT_TRUE(Errors.empty());
}

// Help opens the help file through the desktop; without one, or with nothing to open it, the
// window says so, from the menu and from a dialog's Help button alike.
TEST_F(MainFormTest, HelpWithoutAHelpFileSaysSo) {
  Start();
  const std::string help = File("veskhelp.hlp", false);
  ProgramInfo().HelpPath = help;
  const QString name = QString::fromStdString(help);
  Form->HelpContentsItem->trigger();
  Form->SynthOptionsDlg().HelpBtn->click();
  shared::TProjectInfoDialog projectInfo(Form.get());
  Form->SetProjectInfoDialog(&projectInfo);
  projectInfo.HelpButton->click();
  Form->SetProjectInfoDialog(nullptr);
  EXPECT_TRUE(Opened.empty());
  EXPECT_EQ(Infos, std::vector<QString>(3, "No help is installed: the help file " + name + " was not found."));

  File("veskhelp.hlp");
  Infos.clear();
  Form->HelpContentsItem->trigger();
  EXPECT_EQ(Opened, std::vector<std::string>{help});
  EXPECT_TRUE(Infos.empty());
  shared::SetShellOpen([](const std::string&) { return false; });
  Form->HelpSearchItem->trigger();
  EXPECT_EQ(Infos, std::vector<QString>{"The help file " + name + " could not be opened: the desktop has no program "
                                        "for it."});
}

// The file dialogs start in the folder of the last project; until there is one, or when it has
// gone, in the user's documents folder and never in the program's own folder.
TEST_F(MainFormTest, FileDialogsStartInTheDocumentsFolderUntilAProjectIsOpened) {
  struct TCase {
    const char* Name;
    std::string DataDir;
    std::string Expected;
  };
  const std::string kept = shared::ToPath(Dir.path()) + "/";
  const TCase cases[] = {
      {"the program's folder", "", shared::DocumentsFolder()},
      {"no folder", "", shared::DocumentsFolder()},
      {"a folder that has gone", kept + "gone/", shared::DocumentsFolder()},
      {"the last project's folder", kept, kept},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    ProgramInfo().DataDir = c.Name == std::string("the program's folder") ? ProgramInfo().ExeDir : c.DataDir;
    Start();
    EXPECT_EQ(ProgramInfo().DataDir, c.Expected);
    Dialogs->PickedFile.clear();
    Form->FileOpenItem->trigger();
    ASSERT_FALSE(Dialogs->Requests.empty());
    EXPECT_EQ(Dialogs->Requests.back().InitialDir.toStdString(), c.Expected);
  }
}

TEST_F(MainFormTest, OptionsCommandEditsTheOptionsWithTheCurve) {
  Start();
  OnModal = [this](QDialog& dialog) {
    auto* options = dynamic_cast<TSynthOptionsDlg*>(&dialog);
    EXPECT_NE(options, nullptr);
    if (!options) return 0;
    // The dialog sees the window's curve.
    EXPECT_EQ(SynthOptions.Spline, &Form->Curve());
    dialog.show();
    options->MaxLinkLengthBox->setChecked(true);
    options->SearchRadios[2]->setChecked(true);
    options->OKBtn->click();
    return dialog.result();
  };
  ASSERT_FALSE(SynthOptions.MaxLinkLengthOn);
  Form->SynthesisOptionsItem->trigger();
  ASSERT_EQ(Shown.size(), 1u);
  EXPECT_TRUE(SynthOptions.MaxLinkLengthOn);
  EXPECT_EQ(AppOptions.Search, 2);
  EXPECT_TRUE(Errors.empty());
}

// Both area lists draw the line up to which a pivot may lie outside them, at the option the
// window starts with and at the one the options dialog's OK sets.
TEST_F(MainFormTest, TheAreaListsCarryTheOutsideAreaOption) {
  SynthOptions.MaxDistToArea = 4;
  Start();
  EXPECT_EQ(Form->GroundAreas().MaxDistToArea, 4.0);
  EXPECT_EQ(Form->CouplerAreas().MaxDistToArea, 4.0);
  Form->GroundAreas().SelectOnAdd = false;
  Form->GroundAreas().Add(std::make_unique<TArea>(0.0, 0.0, 1.0, 0.5));
  vesktest::TSynthView view;
  Form->GroundAreas().Draw(view.canvas);
  // At 100 pixels a unit about (200, 200), y up: the area widened by its width and height.
  EXPECT_TRUE(view.box.Screen.Logged({"Pen FF00FF 1 2", "M 100,250", "L 400,250", "L 400,100", "L 100,100", "L 100,250"}));

  struct TCase {
    bool ok;
    double expected;
  };
  for (const TCase c : {TCase{false, 4.0}, TCase{true, 1.5}}) {
    OnModal = [&](QDialog& dialog) {
      auto* options = dynamic_cast<TSynthOptionsDlg*>(&dialog);
      if (!options) return 0;
      dialog.show();
      options->OutsideAreaSpin->setValue(50);
      (c.ok ? options->OKBtn : options->CancelBtn)->click();
      return dialog.result();
    };
    Form->SynthesisOptionsItem->trigger();
    EXPECT_EQ(Form->GroundAreas().MaxDistToArea, c.expected) << c.ok;
    EXPECT_EQ(Form->CouplerAreas().MaxDistToArea, c.expected) << c.ok;
  }
}

TEST_F(MainFormTest, UnitsAndAboutOpenTheirDialogs) {
  Start();
  // The About box lives only while it is shown.
  std::vector<QString> names;
  OnModal = [&](QDialog& dialog) {
    names.push_back(dialog.objectName());
    return 0;
  };
  Form->ViewUnitsItem->trigger();
  Form->HelpAboutItem->trigger();
  ASSERT_EQ(Shown.size(), 2u);
  EXPECT_EQ(Shown[0], static_cast<QDialog*>(&Form->ConvertDlg()));
  EXPECT_EQ(names[1], "AboutDlg");
  // The units dialog reads and writes the shared units key.
  EXPECT_EQ(shared::Convert().RegistryKey(), "Software\\Orvane\\Convert");
}

// The program's start-up step gives the About box the build date in the user's short date form
// and the units the user's decimal separator, though the program information came first.
TEST_F(MainFormTest, AboutShowsTheBuildDateInTheUsersForm) {
  const QLocale saved;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  const std::filesystem::path program = shared::ProgramFile();
  ASSERT_FALSE(program.empty());
  {
    shared::TDesktopServices desktop(ProgramInfo().ExeDir, shared::Convert(), ProgramInfo().BuildDate, program);
    Start();
    QString date;
    OnModal = [&](QDialog& dialog) {
      if (auto* label = dialog.findChild<QLabel*>("DateLabel")) date = label->text();
      return 0;
    };
    Form->HelpAboutItem->trigger();
    const QDate written = QFileInfo(shared::FromPath(program.string())).lastModified().date();
    EXPECT_EQ(date, QStringLiteral("%1.%2.%3")
                        .arg(written.day(), 2, 10, QLatin1Char('0'))
                        .arg(written.month(), 2, 10, QLatin1Char('0'))
                        .arg(written.year() % 100, 2, 10, QLatin1Char('0')));
    EXPECT_EQ(shared::Convert().DecimalSeparator, ',');
    Form.reset();
  }
  QLocale::setDefault(saved);
}

TEST_F(MainFormTest, NewProjectClearsTheModel) {
  Start();
  Form->Curve().Add(std::make_unique<TPrePoint>(0.0, 0.0));
  Form->Curve().Add(std::make_unique<TPrePoint>(0.1, 0.0));
  Form->GroundAreas().Add(std::make_unique<TArea>(0.0, 0.0, 0.1, 0.1));
  Form->Progress().Count = 12;
  Drawing().Clear();
  ProjectInfo->Info.Author = "A. Designer";
  Form->Curve().SetModified(false);
  Form->GroundAreas().SetModified(false);
  Drawing().SetModified(false);
  ASSERT_TRUE(Form->FileNew());
  EXPECT_EQ(Form->Curve().Count(), 0);
  EXPECT_EQ(Form->GroundAreas().Count(), 0);
  EXPECT_EQ(Form->Progress().Count, 0);
  EXPECT_GT(Drawing().Count(), 0);  // the default outline
  EXPECT_FALSE(Drawing().GetModified());
  EXPECT_TRUE(ProjectInfo->Info.Author.empty());
  EXPECT_EQ(Form->windowTitle(), "Vesk Professional - Untitled");
  // While closing, a new project changes nothing.
  Form->Curve().Add(std::make_unique<TPrePoint>(0.2, 0.0));
  Form->Closing = true;
  Form->NewProject();
  EXPECT_EQ(Form->Curve().Count(), 1);
  Form->Closing = false;
}


TEST_F(MainFormTest, AfterAReadGenerationMakesTheTypeShownDown) {
  const std::string good = File("good.vesk");
  Start();
  // A list read leaves its own new type at the four-bar, as the real reader does; a read that
  // fails does too.
  for (const bool fails : {false, true}) {
    SCOPED_TRACE(fails);
    Form->MechButtons[1]->trigger();
    Store->During = [this, fails] {
      Form->Solutions().NewType = 0;
      if (fails) throw std::runtime_error("File read error in TMechanismList!");
    };
    Dialogs->PickedFile = shared::FromPath(good);
    Form->FileOpen();
    EXPECT_TRUE(Form->MechButtons[1]->isChecked() || fails);
    const QAction* down = nullptr;
    for (const QAction* button : Form->MechButtons)
      if (button && button->isChecked()) down = button;
    ASSERT_NE(down, nullptr);
    EXPECT_EQ(Form->Solutions().NewType, down->data().toInt());
  }
}

// The type buttons follow the list read: the best solution's type is down and the next Start
// makes more of it. An empty list leaves the button that is down.
TEST_F(MainFormTest, AfterAReadTheTypeButtonsShowTheListsType) {
  const std::string good = File("good.vesk");
  Start();
  struct TCase {
    const char* name;
    std::vector<uint8_t> listed;  // best first
    int down;
  };
  const TCase cases[] = {
      {"an eight-bar list", {kEightbarType, kEightbarType}, kEightbarType},
      {"a mixed list", {kWatt1Type, kFourbarType, kSliderType}, kWatt1Type},
      {"no list", {}, kSliderType},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    Form->MechButtons[kSliderType]->trigger();
    Store->During = [this, &c] {
      for (const uint8_t type : c.listed) {
        Form->Solutions().NewType = type;
        Form->Solutions().Append(Form->Solutions().CreateMechanism());
      }
      Form->Solutions().NewType = 0;  // as the real reader leaves it
    };
    Dialogs->PickedFile = shared::FromPath(good);
    if (Form->IsProjectModified()) Dialogs->Answers = {TAnswer::No};
    ASSERT_TRUE(Form->FileOpen());
    EXPECT_EQ(Form->Solutions().Count(), int32_t(c.listed.size()));
    for (const QAction* button : Form->MechButtons) {
      if (!button) continue;
      EXPECT_EQ(button->isChecked(), button->data().toInt() == c.down) << button->objectName().toStdString();
    }
    EXPECT_EQ(Form->Solutions().NewType, c.down);
    EXPECT_EQ(Form->NewType, c.down);
    EXPECT_EQ(Form->Solutions().CreateMechanism()->MechanismType, c.down);
  }
}

// A project of an earlier build may hold areas without width or height (a click without a drag):
// they restrict nothing, so the read drops them and says which; a project without them says
// nothing.
TEST_F(MainFormTest, AreasWithoutSizeAreDroppedFromAProjectReadWithANotice) {
  const std::string good = File("good.vesk");
  Start();
  struct TCase {
    const char* name;
    std::vector<std::array<double, 4>> ground, coupler;
    int groundLeft, couplerLeft;
    std::vector<QString> told;
  };
  const std::array<double, 4> sized = {0, 0, 0.1, 0.1}, point = {0.2, 0.2, 0.2, 0.2}, line = {0, 0.3, 0.1, 0.3};
  const TCase cases[] = {
      {"all sized", {sized, sized}, {sized}, 2, 1, {}},
      {"one ground point", {sized, point}, {}, 1, 0,
       {"The project's ground pivot area 2 had no width or height and was dropped: an area without size restricts "
        "nothing."}},
      {"several", {point, sized, line, point}, {line}, 1, 0,
       {"The project's ground pivot areas 1, 3 and 4 and coupler pivot area 1 had no width or height and were "
        "dropped: an area without size restricts nothing."}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    Infos.clear();
    Store->During = [this, &c] {
      for (const auto& a : c.ground) Form->GroundAreas().Add(std::make_unique<TArea>(a[0], a[1], a[2], a[3]));
      for (const auto& a : c.coupler) Form->CouplerAreas().Add(std::make_unique<TArea>(a[0], a[1], a[2], a[3]));
      Form->GroundAreas().SetModified(false);
      Form->CouplerAreas().SetModified(false);
    };
    Dialogs->PickedFile = shared::FromPath(good);
    if (Form->IsProjectModified()) Dialogs->Answers = {TAnswer::No};
    ASSERT_TRUE(Form->FileOpen());
    EXPECT_EQ(Form->GroundAreas().Count(), c.groundLeft);
    EXPECT_EQ(Form->CouplerAreas().Count(), c.couplerLeft);
    for (int32_t i = 1; i <= Form->GroundAreas().Count(); ++i) EXPECT_FALSE(Form->GroundAreas().GetArea(i)->IsEmpty());
    EXPECT_EQ(Infos, c.told);
    // Dropped, the project differs from its file.
    EXPECT_EQ(Form->IsProjectModified(), !c.told.empty());
  }
}

}  // namespace
}  // namespace vesk
