// The main window driven headless: start-up, "Save ?" outcomes, saving, the clipboard watcher,
// settings and the exception handler. The view and the dialogs are fakes that record calls.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <deque>
#include <fstream>
#include <functional>
#include <optional>
#include <stdexcept>
#include <utility>

#include "animator/app/AppDialogs.h"
#include "animator/app/ExcelExportDlg.h"
#include "animator/app/InformationBox.h"
#include "animator/app/LanguageFile.h"
#include "animator/app/MainForm.h"
#include "animator/app/MessageMemo.h"
#include "shared/Clipboard.h"
#include "shared/Convert.h"
#include "shared/ProgramInfo.h"
#include "shared/Settings.h"
#include "shared/ShellOpen.h"
#include "shared/TabLine.h"
#include "shared/qt/Application.h"
#include "shared/qt/HTMLPrintDialog.h"
#include "shared/qt/ProjectInfoDialog.h"
#include "tests/animator/app/AppTestSupport.h"

namespace quillon {
namespace {

using shared::DeliverGuarded;
using shared::ExceptionText;
using shared::JoinCommandLine;
using shared::QtFilter;
using shared::SetExceptionHandler;

class TFakeView : public QWidget, public TDocumentView {
 public:
  std::vector<std::string> Calls;
  bool Modified = false;
  std::string Name = "Untitled";
  int Header = 1;
  bool FailSave = false;
  bool FailLoad = false;
  bool GraphVisible = true;
  bool Busy = false;

  TFakeView() { setFocusPolicy(Qt::StrongFocus); }
  QWidget* Widget() override { return this; }
  void NewMechanism(int typeNumber) override {
    Calls.push_back("New " + std::to_string(typeNumber));
    Name = "Untitled";
    Modified = false;
  }
  void LoadFromFile(const std::string& fileName) override {
    if (FailLoad) throw std::runtime_error("Wrong file format!");
    Calls.push_back("Load " + fileName);
    Name = fileName;
    Modified = false;
  }
  void SaveToFile(const std::string& fileName) override {
    if (FailSave) throw std::runtime_error("Cannot save \"" + fileName + "\": the folder is not writable.");
    Calls.push_back("Save " + fileName);
    Name = fileName;
    Modified = false;
  }
  void CopyToClipboard() override { Calls.push_back("Copy"); }
  void PasteFromClipboard() override {
    Calls.push_back("Paste");
    Name = "Untitled";
    Modified = true;
  }
  void Undo() override { Calls.push_back("Undo"); }
  bool RefuseWhileBusy() override { return Busy; }
  void SelectAll() override { Calls.push_back("SelectAll"); }
  int CheckClipboardHeader() override {
    Calls.push_back("Check");
    return Header;
  }
  bool IsModified() const override { return Modified; }
  void SetModified(bool value) override { Modified = value; }
  std::string FileName() const override { return Name; }
  void SetRegistryKey(const std::string& key) override { Calls.push_back("Key " + key); }
  void ReadTexts(const TLanguageFile&) override { Calls.push_back("Texts"); }
  void SetPolar(bool polar) override { Calls.push_back(polar ? "Polar" : "XY"); }
  bool IsGraphVisible() const override { return GraphVisible; }
  void SetGraphVisible(bool visible) override { GraphVisible = visible; }
  void RefreshGraph() override {}
  void ZoomAllButtonClick() override { Calls.push_back("ZoomAll"); }
  void StartButtonClick(QObject*) override { Calls.push_back("Start"); }
  void StopButtonClick() override { Calls.push_back("Stop"); }
  void StopAndSelect() override { Calls.push_back("StopAndSelect"); }
  void DeleteButtonClick() override { Calls.push_back("Delete"); }
  void EditOptions() override {}
  void InputButtonClick() override {}
  void PopMoveRotateResizeClick() override {}
  void PopDXFDrawingClick() override {}
  void ExportPicture(const std::string& fileName) override { Calls.push_back("Picture " + fileName); }
  void ExportAVI(const std::string& fileName) override { Calls.push_back("AVI " + fileName); }
  void WriteHTMLReport() override { Calls.push_back("Report"); }
  void ExportToExcel() override { Calls.push_back("Excel"); }

  bool Called(const std::string& call) const {
    return std::find(Calls.begin(), Calls.end(), call) != Calls.end();
  }
  bool CalledStartingWith(const std::string& prefix) const {
    return std::any_of(Calls.begin(), Calls.end(),
                       [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
  }
};

class TFakeDialogs : public TUserDialogs {
 public:
  std::deque<TAnswer> Answers;
  std::vector<QString> Questions;
  // Per file dialog: the picked name and filter index, or nothing for a cancelled dialog.
  std::deque<std::optional<std::pair<QString, int>>> Picks;
  std::vector<TFileRequest> Requests;

  // Runs while a question is open, as the event loop would run what arrives meanwhile.
  std::function<void()> WhileAsking;

  TAnswer Ask(const QString& text) override {
    Questions.push_back(text);
    if (WhileAsking) std::exchange(WhileAsking, nullptr)();
    if (Answers.empty()) throw std::logic_error("unexpected question: " + text.toStdString());
    const TAnswer answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
  bool PickOpenFile(TFileRequest& request) override { return Pick(request); }
  bool PickSaveFile(TFileRequest& request) override { return Pick(request); }

 private:
  bool Pick(TFileRequest& request) {
    Requests.push_back(request);
    if (Picks.empty()) throw std::logic_error("unexpected file dialog: " + request.Title.toStdString());
    const auto pick = Picks.front();
    Picks.pop_front();
    if (!pick) return false;
    request.FileName = pick->first;
    request.FilterIndex = pick->second;
    return true;
  }
};

class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shared::CreateProgramInfo();
    shared::CreateTabLines();
    shared::CreateConvert();
    shared::SetSettingsFactory(OpenStoreSettings);
    SettingsStore().Values.clear();
    ASSERT_TRUE(Folder.isValid());
    SetExceptionHandler([this](const QString& text) { Errors.push_back(text); });
  }
  void TearDown() override {
    Form.reset();
    SetExceptionHandler(nullptr);
    shared::SetSettingsFactory(nullptr);
    shared::FreeConvert();
    shared::FreeTabLines();
    shared::FreeProgramInfo();
  }

  void Make(const QString& commandLine = QString()) {
    View = new TFakeView;
    auto dialogs = std::make_unique<TFakeDialogs>();
    Dialogs = dialogs.get();
    Form = std::make_unique<TMainForm>(View, std::move(dialogs), Clipboard);
    Form->SetCommandLine(commandLine);
  }
  void Start(const QString& commandLine = QString()) {
    Make(commandLine);
    Form->show();
  }
  std::string PathOf(const std::string& name) const { return (Folder.path() + "/").toStdString() + name; }
  std::string Touch(const std::string& name) const {
    const std::string path = PathOf(name);
    std::ofstream(path) << "x";
    return path;
  }
  QAction* Action(const char* name) const { return Form->findChild<QAction*>(QString::fromLatin1(name)); }

  QTemporaryDir Folder;
  TFakeClipboard Clipboard;
  std::unique_ptr<TMainForm> Form;
  TFakeView* View = nullptr;
  TFakeDialogs* Dialogs = nullptr;
  std::vector<QString> Errors;
};

TEST_F(MainFormTest, StartsWithTheFourBarWhenTheCommandLineNamesNoFile) {
  Start(QString::fromStdString(PathOf("gone.mech")));
  EXPECT_EQ(Form->windowTitle(), "Untitled - Quillon Animator");
  EXPECT_TRUE(View->Called("New 0"));
  EXPECT_FALSE(View->CalledStartingWith("Load"));
  EXPECT_TRUE(View->Called("Key Software\\Orvane\\Quillon"));
  EXPECT_TRUE(View->Called("Texts"));
  EXPECT_TRUE(Dialogs->Questions.empty());
}

TEST_F(MainFormTest, OpensTheCommandLineFileWithBlanksInItsPath) {
  const std::string path = Touch("four bar.mech");
  // The shell may hand the path over in two pieces split at the blank.
  const QString halves = QString::fromStdString(path);
  const qsizetype blank = halves.indexOf(QLatin1Char(' '));
  const QString commandLine = JoinCommandLine({"quillon", halves.left(blank), halves.mid(blank + 1) + "  "});
  EXPECT_EQ(commandLine, halves);
  Start(commandLine);
  EXPECT_TRUE(View->Called("Load " + path));
  EXPECT_EQ(Form->windowTitle(), "four bar.mech - Quillon Animator");
  // Opening from the command line leaves the data path and the last file alone.
  EXPECT_EQ(shared::ProgramInfo().LastFile, "");
}

TEST_F(MainFormTest, CommandLineReadErrorIsShownAndStartUpGoesOn) {
  const std::string path = Touch("broken.mech");
  Make(QString::fromStdString(path));
  View->FailLoad = true;
  Form->show();
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_EQ(Errors[0], "Wrong file format!");
  EXPECT_EQ(Form->windowTitle(), "Untitled - Quillon Animator");
}

TEST_F(MainFormTest, SaveQuestionOutcomes) {
  const std::string existing = Touch("four.mech");
  const std::string picked = PathOf("new.mech");
  struct TCase {
    const char* Name;
    bool Modified;
    std::string FileName;
    std::vector<TAnswer> Answers;
    std::optional<std::pair<QString, int>> SaveAsPick;
    bool FailSave;
    bool NewRuns;
    std::string Saved;  // the file written, or "" for none
  };
  const TCase cases[] = {
      {"unmodified: no question", false, "Untitled", {}, std::nullopt, false, true, ""},
      {"No drops the changes", true, existing, {TAnswer::No}, std::nullopt, false, true, ""},
      {"Cancel keeps the document", true, existing, {TAnswer::Cancel}, std::nullopt, false, false, ""},
      {"Yes saves to its file", true, existing, {TAnswer::Yes}, std::nullopt, false, true, existing},
      {"Yes on a new document asks for a name",
       true,
       "Untitled",
       {TAnswer::Yes},
       std::make_pair(QString::fromStdString(picked), 1),
       false,
       true,
       picked},
      {"Save As cancelled cancels the command",
       true,
       "Untitled",
       {TAnswer::Yes},
       std::nullopt,
       false,
       false,
       ""},
      {"Save failing cancels the command", true, existing, {TAnswer::Yes}, std::nullopt, true, false, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Errors.clear();
    Start();
    View->Calls.clear();
    View->Modified = c.Modified;
    View->Name = c.FileName;
    View->FailSave = c.FailSave;
    Dialogs->Answers.assign(c.Answers.begin(), c.Answers.end());
    if (c.FileName == "Untitled" && !c.Answers.empty() && c.Answers[0] == TAnswer::Yes) {
      Dialogs->Picks.push_back(c.SaveAsPick);
    }
    Action("FileNew")->trigger();
    EXPECT_EQ(View->Called("New 13"), c.NewRuns);
    ASSERT_EQ(Dialogs->Questions.size(), c.Answers.size());
    if (!c.Answers.empty()) {
      EXPECT_EQ(Dialogs->Questions[0], "Save ?");
    }
    EXPECT_EQ(View->CalledStartingWith("Save "), !c.Saved.empty());
    if (!c.Saved.empty()) {
      EXPECT_TRUE(View->Called("Save " + c.Saved));
    }
    EXPECT_EQ(Errors.size(), c.FailSave ? 1u : 0u);
    EXPECT_TRUE(Dialogs->Answers.empty());
    EXPECT_TRUE(Dialogs->Picks.empty());
    Form.reset();
  }
}

// Every command that would drop a modified document asks first and stops on Cancel.
TEST_F(MainFormTest, EveryDroppingCommandStopsOnCancel) {
  const std::string last = Touch("last.mech");
  struct TCase {
    const char* Action;
    const char* Effect;
  };
  const TCase cases[] = {
      {"FileNew", "New 13"},      {"NewToolButton", "New 13"},  {"FileOpen", "Load"},
      {"OpenToolButton", "Load"}, {"FileLastFileItem", "Load"}, {"EditPasteItem", "Paste"},
      {"FourbarButton", "New 0"}, {"SliderButton", "New 7"},    {"ToolButton7", "New 11"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Action);
    Start();
    shared::ProgramInfo().LastFile = last;
    View->Calls.clear();
    View->Modified = true;
    ASSERT_NE(Action(c.Action), nullptr);

    // While a loop runs the view refuses: no question, no file dialog, no effect.
    View->Busy = true;
    Action(c.Action)->trigger();
    EXPECT_TRUE(Dialogs->Questions.empty());
    EXPECT_TRUE(Dialogs->Requests.empty());
    EXPECT_FALSE(View->CalledStartingWith(c.Effect));
    View->Busy = false;

    Dialogs->Answers = {TAnswer::Cancel};
    Action(c.Action)->trigger();
    EXPECT_EQ(Dialogs->Questions, std::vector<QString>{"Save ?"});
    EXPECT_FALSE(View->CalledStartingWith(c.Effect));
    EXPECT_TRUE(Dialogs->Requests.empty());

    // Answered No, the command goes ahead.
    Dialogs->Answers = {TAnswer::No};
    Dialogs->Picks = {std::make_pair(QString::fromStdString(last), 1)};
    Action(c.Action)->trigger();
    EXPECT_TRUE(View->CalledStartingWith(c.Effect));
    Dialogs->Picks.clear();
    Form.reset();
  }
}

TEST_F(MainFormTest, ClosingAsksAndCancelKeepsTheWindow) {
  Start();
  View->Modified = true;
  Dialogs->Answers = {TAnswer::Cancel};
  EXPECT_FALSE(Form->close());
  EXPECT_TRUE(Form->isVisible());
  EXPECT_FALSE(View->Called("Stop"));
  Dialogs->Answers = {TAnswer::No};
  EXPECT_TRUE(Form->close());
  // A curve fit that pumps messages ends with the window.
  EXPECT_TRUE(View->Called("Stop"));
}

// A document without a file is saved through Save As even when a file named like the default
// name lies in the working folder: that file is never written.
TEST_F(MainFormTest, NewDocumentIsSavedThroughSaveAs) {
  // Restored however the test ends: a failed assertion must not leave later tests in a folder
  // that is deleted with this fixture.
  struct TRestoreFolder {
    std::filesystem::path Previous = std::filesystem::current_path();
    ~TRestoreFolder() { std::filesystem::current_path(Previous); }
  } restore;
  std::filesystem::current_path(Folder.path().toStdString());
  Touch("Untitled");
  Start();
  View->Modified = true;
  Dialogs->Picks = {std::nullopt};
  EXPECT_FALSE(Form->FileSaveClick());
  ASSERT_EQ(Dialogs->Requests.size(), 1u);
  EXPECT_EQ(Dialogs->Requests[0].Title, "Save Quillon Mechanism File");
  EXPECT_EQ(Dialogs->Requests[0].DefaultExt, "mech");
  EXPECT_EQ(Dialogs->Requests[0].Filter, "Quillon Mechanism Files|*.mech|All Files|*.*");
  EXPECT_FALSE(View->CalledStartingWith("Save "));
}

TEST_F(MainFormTest, SaveAsOverAnExistingFileAsksToReplace) {
  const std::string existing = Touch("four.mech");
  const QString name = QString::fromStdString(existing);
  for (const TAnswer answer : {TAnswer::No, TAnswer::Cancel, TAnswer::Yes}) {
    Start();
    Dialogs->Picks = {std::make_pair(name, 1)};
    Dialogs->Answers = {answer};
    EXPECT_EQ(Form->FileSaveasClick(), answer == TAnswer::Yes);
    ASSERT_EQ(Dialogs->Questions.size(), 1u);
    EXPECT_EQ(Dialogs->Questions[0], name + " already exists !\nReplace ?");
    EXPECT_EQ(View->Called("Save " + existing), answer == TAnswer::Yes);
    Form.reset();
  }
  // Saved, the name is the caption, the last file and the folder of the file dialogs.
  EXPECT_EQ(shared::ProgramInfo().LastFile, existing);
  EXPECT_EQ(shared::ProgramInfo().DataDir, Folder.path().toStdString() + "/");
}

TEST_F(MainFormTest, OpenTakesCaptionDataPathAndLastFile) {
  const std::string path = Touch("crank.mech");
  Start();
  Form->PictureFileName = "old.bmp";
  Dialogs->Picks = {std::make_pair(QString::fromStdString(path), 1)};
  Action("FileOpen")->trigger();
  ASSERT_EQ(Dialogs->Requests.size(), 1u);
  EXPECT_EQ(Dialogs->Requests[0].Title, "Open Quillon Mechanism File");
  EXPECT_TRUE(View->Called("Load " + path));
  EXPECT_EQ(Form->windowTitle(), "crank.mech - Quillon Animator");
  EXPECT_EQ(Form->PictureFileName, "");
  EXPECT_EQ(shared::ProgramInfo().LastFile, path);
  EXPECT_EQ(shared::ProgramInfo().DataDir, Folder.path().toStdString() + "/");

  // The File menu offers the last file by its name.
  Form->FileMenuClick();
  EXPECT_TRUE(Action("FileLastFileItem")->isVisible());
  EXPECT_EQ(Action("FileLastFileItem")->text(), "crank.mech");
}

TEST_F(MainFormTest, ReadErrorOfAnOpenReachesTheExceptionHandler) {
  const std::string path = Touch("bad.mech");
  Start();
  View->FailLoad = true;
  Dialogs->Picks = {std::make_pair(QString::fromStdString(path), 1)};
  Action("FileOpen")->trigger();
  EXPECT_EQ(Errors, std::vector<QString>{"Wrong file format!"});
  EXPECT_EQ(shared::ProgramInfo().LastFile, "");
}

// The clipboard watcher pastes what the synthesis program exported, after "Save ?" when needed.
TEST_F(MainFormTest, ClipboardWatcherPastesSynthesisDocuments) {
  struct TCase {
    const char* Name;
    std::string Text;
    int Header;
    bool Modified;
    std::vector<TAnswer> Answers;
    bool Checked;
    bool Pasted;
  };
  const TCase cases[] = {
      {"synthesis document", "[Quillon>\r\n0\tVesk\r\n<Quillon]\r\n", 2, false, {}, true, true},
      {"modified, answered No", "line\r\n", 2, true, {TAnswer::No}, true, true},
      {"modified, answered Cancel", "line\r\n", 2, true, {TAnswer::Cancel}, true, false},
      {"the animator's own copy", "line\r\n", 1, true, {}, true, false},
      {"invalid text", "line\r\n", -2, false, {}, true, false},
      {"empty clipboard", "", 2, true, {}, false, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Start();
    View->Calls.clear();
    View->Header = c.Header;
    View->Modified = c.Modified;
    View->Name = "Untitled";
    Form->PictureFileName = "picture.bmp";
    Clipboard.Text = c.Text;
    Dialogs->Answers.assign(c.Answers.begin(), c.Answers.end());
    Form->ClipboardChanged();
    EXPECT_EQ(View->Called("Check"), c.Checked);
    EXPECT_EQ(View->Called("Paste"), c.Pasted);
    EXPECT_EQ(Dialogs->Questions.size(), c.Answers.size());
    EXPECT_EQ(Form->PictureFileName.empty(), c.Pasted);
    Form.reset();
  }
}

// A document of the synthesis program copied while a command asks "Save ?" is taken over once
// that command has finished, not in between: the answer belongs to the document it was asked
// for, and the pasted document is never replaced without a question of its own.
TEST_F(MainFormTest, ClipboardChangeDuringAQuestionWaitsForTheCommand) {
  for (const char* command : {"FileNew", "FourbarButton"}) {
    SCOPED_TRACE(command);
    Start();
    View->Calls.clear();
    View->Modified = true;
    Dialogs->Answers = {TAnswer::No, TAnswer::No};
    Dialogs->WhileAsking = [this] {
      View->Header = 2;
      Clipboard.Text = "[Quillon>\r\n0\tVesk\r\n<Quillon]\r\n";
      Form->ClipboardChanged();
    };
    Action(command)->trigger();
    EXPECT_EQ(Dialogs->Questions, std::vector<QString>{"Save ?"});
    ASSERT_FALSE(View->Calls.empty());
    EXPECT_EQ(View->Calls.back(), "Paste");
    EXPECT_TRUE(View->Called("Check"));
    Form.reset();
  }
}

TEST_F(MainFormTest, SettingsRoundTrip) {
  const std::string last = Touch("last.mech");
  auto& values = SettingsStore().Values;
  values["Main"] = {{"WindowState", "0"}, {"Left", "40"},
                    {"Top", "30"},        {"Width", "700"},
                    {"Height", "500"},    {"DataPath", Folder.path().toStdString() + "/"},
                    {"LastFile", last},   {"PanelLeft", "220"}};
  values["Options"] = {{"IsPolar", "1"}, {"ZoomAllOnSelect", "0"}};
  Start();
  EXPECT_TRUE(IsPolar);
  EXPECT_TRUE(Action("PolarButton")->isChecked());
  EXPECT_FALSE(Action("XYButton")->isChecked());
  EXPECT_TRUE(View->Called("Polar"));
  EXPECT_FALSE(Form->ZoomAllOnSelect);
  EXPECT_EQ(Form->size(), QSize(700, 500));
  EXPECT_EQ(shared::ProgramInfo().DataDir, Folder.path().toStdString() + "/");
  EXPECT_EQ(shared::ProgramInfo().LastFile, last);
  QApplication::processEvents();
  EXPECT_EQ(Form->PanelLeft->width(), 220);
  Form->resize(720, 510);
  Form.reset();
  EXPECT_EQ(values["Main"]["WindowState"], "0");
  EXPECT_EQ(values["Main"]["Width"], "720");
  EXPECT_EQ(values["Main"]["Height"], "510");
  EXPECT_EQ(values["Options"]["IsPolar"], "1");
  EXPECT_EQ(values["Options"]["ZoomAllOnSelect"], "0");
  EXPECT_EQ(values["Main"]["LastFile"], last);
  EXPECT_TRUE(values["Main"].count("PanelLeft"));
  EXPECT_TRUE(values["Main"].count("MessageMemo"));
  IsPolar = false;
}

TEST_F(MainFormTest, GoneFoldersAndFilesAreForgotten) {
  auto& values = SettingsStore().Values;
  values["Main"] = {{"DataPath", PathOf("gone/")}, {"LastFile", PathOf("gone.mech")}};
  Start();
  EXPECT_EQ(shared::ProgramInfo().DataDir, DocumentsFolder());
  EXPECT_EQ(shared::ProgramInfo().LastFile, "");
  Form->FileMenuClick();
  EXPECT_FALSE(Action("FileLastFileItem")->isVisible());
  EXPECT_FALSE(Action("FileN4")->isVisible());
}

TEST_F(MainFormTest, MaximisedWindowLeavesTheStoredBounds) {
  auto& values = SettingsStore().Values;
  values["Main"] = {{"WindowState", "2"}, {"Left", "1"}, {"Top", "2"}, {"Width", "3"}, {"Height", "4"}};
  Start();
  Form->showMaximized();
  QApplication::processEvents();
  Form.reset();
  EXPECT_EQ(values["Main"]["WindowState"], "2");
  EXPECT_EQ(values["Main"]["Left"], "1");
  EXPECT_EQ(values["Main"]["Width"], "3");
}

// Quit minimised, the window keeps the place and size it had before and comes back there, start
// after start.
TEST_F(MainFormTest, MinimisedWindowKeepsItsBounds) {
  auto& values = SettingsStore().Values;
  values["Main"] = {{"WindowState", "1"}, {"Left", "40"}, {"Top", "30"}, {"Width", "700"}, {"Height", "500"}};
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run);
    Start();
    QApplication::processEvents();
    EXPECT_TRUE(Form->isMinimized());
    EXPECT_EQ(Form->normalGeometry().size(), QSize(700, 500));
    Form.reset();
    EXPECT_EQ(values["Main"]["WindowState"], "1");
    EXPECT_EQ(values["Main"]["Left"], "40");
    EXPECT_EQ(values["Main"]["Top"], "30");
    EXPECT_EQ(values["Main"]["Width"], "700");
    EXPECT_EQ(values["Main"]["Height"], "500");
  }
}

// The file dialogs start next in the folder of the file opened, named plainly.
TEST_F(MainFormTest, OpenThroughAFolderAboveTakesThePlainFolder) {
  Touch("crank.mech");
  ASSERT_TRUE(QDir(Folder.path()).mkpath(QStringLiteral("sub")));
  Start();
  Dialogs->Picks = {std::make_pair(QString::fromStdString(PathOf("sub/../crank.mech")), 1)};
  Action("FileOpen")->trigger();
  EXPECT_EQ(shared::ProgramInfo().DataDir, Folder.path().toStdString() + "/");
}

TEST_F(MainFormTest, PictureExportByFilter) {
  struct TCase {
    std::optional<std::pair<QString, int>> Pick;
    std::string Expected;
  };
  const QString name = QString::fromStdString(PathOf("shot.png"));
  const TCase cases[] = {
      {std::make_pair(name, 1), PathOf("shot.bmp")},
      {std::make_pair(name, 2), PathOf("shot.jpg")},
      {std::make_pair(name, 3), ""},  // "All Files" exports nothing
      {std::nullopt, ""},
  };
  for (const TCase& c : cases) {
    Start();
    Form->PictureFileName = "earlier.bmp";
    Dialogs->Picks = {c.Pick};
    Form->FileExportPictureClick();
    EXPECT_EQ(Form->PictureFileName, c.Expected);
    EXPECT_EQ(View->CalledStartingWith("Picture "), !c.Expected.empty());
    if (!c.Expected.empty()) {
      EXPECT_TRUE(View->Called("Picture " + c.Expected));
    }
    EXPECT_EQ(Dialogs->Requests[0].FileName, "earlier.bmp");
    Form.reset();
  }
}

TEST_F(MainFormTest, PanelAndCoordinateSwitches) {
  Start();
  // The View menu's items carry the state as check marks, as the tool buttons do.
  EXPECT_TRUE(Action("ShowLeftButton")->isChecked());
  ASSERT_TRUE(Action("ViewShowLeft")->isCheckable());
  ASSERT_TRUE(Action("ViewShowGraph")->isCheckable());
  EXPECT_TRUE(Action("ViewShowLeft")->isChecked());
  EXPECT_TRUE(Action("ViewShowGraph")->isChecked());
  // A mark, not a framed picture.
  EXPECT_FALSE(Action("ViewShowLeft")->isIconVisibleInMenu());
  EXPECT_FALSE(Action("ViewShowGraph")->isIconVisibleInMenu());
  Action("ViewShowLeft")->trigger();
  EXPECT_FALSE(ShowLeft);
  EXPECT_FALSE(Action("ShowLeftButton")->isChecked());
  EXPECT_FALSE(Action("ViewShowLeft")->isChecked());
  EXPECT_FALSE(Form->PanelLeft->isVisible());
  Action("ShowLeftButton")->trigger();
  EXPECT_TRUE(ShowLeft);
  EXPECT_TRUE(Action("ViewShowLeft")->isChecked());
  EXPECT_TRUE(Form->PanelLeft->isVisible());

  Action("ViewShowGraph")->trigger();
  EXPECT_FALSE(View->GraphVisible);
  EXPECT_FALSE(Action("ViewShowGraph")->isChecked());
  EXPECT_FALSE(Action("ShowGraphButton")->isChecked());
  Action("ShowGraphButton")->trigger();
  EXPECT_TRUE(View->GraphVisible);
  EXPECT_TRUE(Action("ViewShowGraph")->isChecked());

  Action("PolarButton")->trigger();
  EXPECT_TRUE(IsPolar);
  Action("XYButton")->trigger();
  EXPECT_FALSE(IsPolar);
  EXPECT_TRUE(View->Called("XY"));
}

// While the view runs a loop, only its Stop acts: every other command of the menus, the tool
// bar and the keys is refused (the view says why), and the switches keep their state.
TEST_F(MainFormTest, WhileALoopRunsOnlyItsStopActs) {
  Start();
  Form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
  View->Name = Touch("doc.mech");
  View->Modified = true;
  View->Calls.clear();
  View->Busy = true;
  const char* const refused[] = {
      "FileSave",     "SaveToolButton", "FileSaveas",        "EditCopyItem",
      "EditUndoItem", "EditSelectAll",  "FileExportPicture", "AnimationStartItem",
      "ViewZoomAll",  "PolarButton",    "ViewShowLeft",      "ShowGraphButton",
  };
  for (const char* name : refused) {
    SCOPED_TRACE(name);
    ASSERT_NE(Action(name), nullptr);
    ASSERT_TRUE(Action(name)->isEnabled());
    Action(name)->trigger();
  }
  View->setFocus();
  QTest::keyClick(View, Qt::Key_Space);
  QTest::keyClick(View, Qt::Key_Delete);
  EXPECT_EQ(View->Calls, std::vector<std::string>{});
  EXPECT_TRUE(Dialogs->Requests.empty());
  EXPECT_TRUE(Dialogs->Questions.empty());
  EXPECT_FALSE(IsPolar);
  EXPECT_TRUE(ShowLeft);
  EXPECT_TRUE(View->GraphVisible);
  for (const char* name : {"XYButton", "ViewShowLeft", "ShowLeftButton", "ShowGraphButton", "ViewShowGraph"})
    EXPECT_TRUE(Action(name)->isChecked()) << name;
  EXPECT_FALSE(Action("PolarButton")->isChecked());

  // The Stop item and Esc end the loop.
  Action("AnimationStopItem")->trigger();
  QTest::keyClick(View, Qt::Key_Escape);
  EXPECT_EQ(View->Calls, (std::vector<std::string>{"Stop", "StopAndSelect"}));
}

TEST_F(MainFormTest, MissingDialogsLeaveTheirCommandsDisabled) {
  Start();
  for (const char* name :
       {"ViewUnits", "FileProjectInfo", "ProjectInfoButton", "ViewOptions", "FileExporttoExcel"}) {
    EXPECT_FALSE(Action(name)->isEnabled()) << name;
  }
  for (const char* name :
       {"FileNew", "FileOpen", "FileSave", "FileSaveas", "EditCopyItem", "HelpContents", "HelpAbout"}) {
    EXPECT_TRUE(Action(name)->isEnabled()) << name;
  }
  EXPECT_EQ(Action("FileSaveas")->text(), "Save &As...");
  EXPECT_EQ(Action("FileExit")->statusTip(), "Exit Quillon");
}

// With their dialogs in the program the export commands are on and reach the view; the
// workbook dialog reads its section of the key and its texts at start-up.
TEST_F(MainFormTest, ExportCommandsWithTheirDialogs) {
  shared::THTMLPrintDialog report;
  TExcelExportDlg excel;
  AppDialogs().HTMLPrintDialog = &report;
  AppDialogs().ExcelExportDlg = &excel;
  SettingsStore().Values["ExcelExportDlg"]["Rot"] = "0";
  Start();
  for (const char* name : {"FileExporttoExcel", "ExportToExcelButton", "FileHTMLReport", "PrintToolButton",
                           "FileExportPicture", "ExportAsJPEGButton"})
    EXPECT_TRUE(Action(name)->isEnabled()) << name;
  EXPECT_FALSE(excel.RotCheck->isChecked());
  EXPECT_TRUE(excel.AngVelCheck->isChecked());
  // The language text in place of the form's caption.
  EXPECT_EQ(excel.VectorsCheck->text(), "Vectors of joint positions");
  const struct {
    const char* action;
    const char* call;
  } commands[] = {{"FileHTMLReport", "Report"},
                  {"PrintToolButton", "Report"},
                  {"FileExporttoExcel", "Excel"},
                  {"ExportToExcelButton", "Excel"}};
  for (const auto& c : commands) {
    View->Calls.clear();
    Action(c.action)->trigger();
    EXPECT_EQ(View->Calls, std::vector<std::string>{c.call}) << c.action;
  }
  Form.reset();
  AppDialogs() = {};
}

// With the project-information dialog in the program its command is on, and a new document
// starts with fresh project information.
TEST_F(MainFormTest, NewDocumentsClearTheProjectInformation) {
  shared::TProjectInfoDialog projectInfo;
  AppDialogs().ProjectInfoDialog = &projectInfo;
  Start();
  EXPECT_TRUE(Action("FileProjectInfo")->isEnabled());
  for (const char* name : {"FileNew", "FourbarButton"}) {
    projectInfo.Info.Title = "Door hinge";
    Action(name)->trigger();
    EXPECT_EQ(projectInfo.Info.Title, "") << name;
  }
  Form.reset();
  AppDialogs() = {};
}

// The project information is saved with the document: editing it makes the document one to save.
TEST_F(MainFormTest, EditedProjectInformationMarksTheDocumentModified) {
  shared::TProjectInfoDialog projectInfo;
  AppDialogs().ProjectInfoDialog = &projectInfo;
  Start();
  for (const char* title : {"", "Door hinge"}) {
    QTimer::singleShot(0, &projectInfo, [&] {
      projectInfo.TitleEdit->setText(QString::fromLatin1(title));
      projectInfo.accept();
    });
    Action("FileProjectInfo")->trigger();
    EXPECT_EQ(projectInfo.Info.Title, title);
    EXPECT_EQ(View->Modified, *title != 0) << title;
  }
  Form.reset();
  AppDialogs() = {};
}

// Esc and Space reach the view from anywhere in the window; Delete only while the view has the focus.
TEST_F(MainFormTest, KeysOfTheWindow) {
  Start();
  Form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
  Form->Memo1->setFocus();
  QTest::keyClick(Form->Memo1, Qt::Key_Delete);
  EXPECT_FALSE(View->Called("Delete"));
  QTest::keyClick(Form->Memo1, Qt::Key_Escape);
  EXPECT_TRUE(View->Called("StopAndSelect"));
  EXPECT_TRUE(View->hasFocus());
  QTest::keyClick(View, Qt::Key_Delete);
  EXPECT_TRUE(View->Called("Delete"));
  Form->Memo1->setFocus();
  QTest::keyClick(Form->Memo1, Qt::Key_Space);
  EXPECT_TRUE(View->Called("Start"));
  EXPECT_TRUE(View->hasFocus());
}

// The keys of the Edit menu act on the text of a focused memo, edit or table (select, copy,
// paste, undo there) and leave the mechanism and its clipboard alone; with the drawing focused
// they act on the mechanism.
TEST_F(MainFormTest, EditKeysActOnTheFocusedText) {
  Start();
  Form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
  Form->Memo1->appendPlainText(QStringLiteral("Joint C cannot be reached"));
  auto* edit = new QLineEdit(QStringLiteral("12.5"));
  auto* table = new QTableWidget(2, 2);
  for (int row = 0; row < 2; ++row)
    for (int column = 0; column < 2; ++column)
      table->setItem(row, column, new QTableWidgetItem(QStringLiteral("%1%2").arg(row).arg(column)));
  Form->PageControl1->addTab(edit, QStringLiteral("Edit"));
  Form->PageControl1->addTab(table, QStringLiteral("Table"));
  QClipboard* system = QGuiApplication::clipboard();

  struct TCase {
    const char* Name;
    QWidget* Focus;
    std::function<bool()> AllSelected;
    QString Copied;
  };
  const TCase cases[] = {
      {"memo", Form->Memo1, [&] { return Form->Memo1->textCursor().selectedText() == "Joint C cannot be reached"; },
       QStringLiteral("Joint C cannot be reached")},
      {"edit", edit, [&] { return edit->selectedText() == "12.5"; }, QStringLiteral("12.5")},
      {"table", table, [&] { return table->selectedItems().size() == 4; }, QStringLiteral("00")},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    if (Form->PageControl1->indexOf(c.Focus) >= 0) Form->PageControl1->setCurrentWidget(c.Focus);
    if (c.Focus == table) table->setCurrentCell(0, 0);
    c.Focus->setFocus();
    ASSERT_TRUE(c.Focus->hasFocus());
    system->setText(QStringLiteral("before"));
    View->Calls.clear();
    QTest::keyClick(c.Focus, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(c.Focus, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(c.AllSelected());
    EXPECT_EQ(system->text(), c.Copied);
    EXPECT_FALSE(View->Called("SelectAll"));
    EXPECT_FALSE(View->Called("Copy"));
    EXPECT_TRUE(Clipboard.Text.empty());
  }

  // Paste and undo in the edit change its text, not the document.
  edit->setFocus();
  edit->selectAll();
  system->setText(QStringLiteral("7.25"));
  View->Calls.clear();
  QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(edit->text(), "7.25");
  QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(edit->text(), "12.5");
  EXPECT_FALSE(View->Called("Paste"));
  EXPECT_FALSE(View->Called("Undo"));

  // In the drawing the same keys are the mechanism's.
  View->setFocus();
  ASSERT_TRUE(View->hasFocus());
  View->Calls.clear();
  for (Qt::Key key : {Qt::Key_A, Qt::Key_C, Qt::Key_Z, Qt::Key_V}) QTest::keyClick(View, key, Qt::ControlModifier);
  for (const char* call : {"SelectAll", "Copy", "Undo", "Paste"}) EXPECT_TRUE(View->Called(call)) << call;
}

// The drawing holds the focus after start-up, so the keys of the Edit menu work at once.
TEST_F(MainFormTest, DrawingHasTheFocusAfterStartUp) {
  Start();
  Form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
  EXPECT_TRUE(View->hasFocus());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
  EXPECT_TRUE(View->Called("SelectAll"));
}

// The file dialogs start in the user's documents folder as the desktop names it, not in the
// program's folder, until a file has been opened or saved; then in that file's folder, also after
// a restart.
TEST_F(MainFormTest, FileDialogsStartInTheDocumentsFolderUntilAFileIsOpened) {
  const QString config = Folder.path() + QStringLiteral("/config");
  const QString documents = Folder.path() + QStringLiteral("/My Documents");
  ASSERT_TRUE(QDir().mkpath(config));
  ASSERT_TRUE(QDir().mkpath(documents));
  {
    std::ofstream dirs((config + QStringLiteral("/user-dirs.dirs")).toStdString());
    dirs << "XDG_DOCUMENTS_DIR=\"" << documents.toStdString() << "\"\n";
  }
  const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", config.toUtf8());
  const std::string documentsPath = documents.toStdString() + "/";
  EXPECT_EQ(DocumentsFolder(), documentsPath);

  auto& values = SettingsStore().Values;
  const auto openDialogFolder = [&] {
    Dialogs->Picks.push_back(std::nullopt);
    Form->FileOpenClick();
    return Dialogs->Requests.back().InitialDir.toStdString();
  };
  struct TCase {
    const char* Name;
    std::optional<std::string> Stored;
  };
  const TCase cases[] = {
      {"first start", std::nullopt},
      {"the program's folder stored by an earlier run", shared::ProgramInfo().ExeDir},
      {"a folder that is gone", PathOf("gone/")},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    values.clear();
    if (c.Stored) values["Main"]["DataPath"] = *c.Stored;
    Start();
    EXPECT_EQ(shared::ProgramInfo().DataDir, documentsPath);
    EXPECT_EQ(openDialogFolder(), documentsPath);
    Form.reset();
  }

  values.clear();
  Start();
  const std::string opened = Touch("four.mech");
  Dialogs->Picks.push_back(std::make_pair(QString::fromStdString(opened), 1));
  Form->FileOpenClick();
  const std::string folder = Folder.path().toStdString() + "/";
  EXPECT_EQ(openDialogFolder(), folder);
  Form.reset();
  Start();
  EXPECT_EQ(openDialogFolder(), folder);
  Form.reset();

  // Without a documents folder the home folder stands in.
  ASSERT_TRUE(QDir(documents).removeRecursively());
  EXPECT_EQ(DocumentsFolder(), QDir::homePath().toStdString() + "/");
  if (oldConfig.isNull()) {
    qunsetenv("XDG_CONFIG_HOME");
  } else {
    qputenv("XDG_CONFIG_HOME", oldConfig);
  }
}

// A first start (nothing stored) opens maximised over a window that already takes most of the
// screen, for desktops that do not maximise; stored bounds are kept.
TEST_F(MainFormTest, FirstStartTakesMostOfTheScreen) {
  Start();
  QApplication::processEvents();
  EXPECT_TRUE(Form->isMaximized());
  const QRect available = Form->screen()->availableGeometry();
  EXPECT_GE(Form->width(), available.width() * 9 / 10);
  EXPECT_GE(Form->height(), available.height() * 9 / 10);
}

TEST(Application, ExceptionsStopAtTheGuard) {
  std::vector<QString> shown;
  SetExceptionHandler([&](const QString& text) { shown.push_back(text); });
  EXPECT_TRUE(DeliverGuarded([]() -> bool { throw std::runtime_error("File read error in TComplex!"); }));
  EXPECT_FALSE(DeliverGuarded([] { return false; }));
  EXPECT_TRUE(DeliverGuarded([]() -> bool { throw 42; }));
  SetExceptionHandler(nullptr);
  EXPECT_EQ(shown, (std::vector<QString>{"File read error in TComplex!", "Unknown error"}));
}

TEST(Application, ExceptionTextEncodings) {
  EXPECT_EQ(ExceptionText("Cannot read \"/tmp/caf\xc3\xa9.mech\""),
            QString::fromUtf8("Cannot read \"/tmp/café.mech\""));
  EXPECT_EQ(ExceptionText("Stra\xdf"
                          "e"),
            QString::fromUtf8("Straße"));
}

TEST(UserDialogs, QtFilters) {
  EXPECT_EQ(QtFilter("Quillon Mechanism Files|*.mech|All Files|*.*"),
            "Quillon Mechanism Files (*.mech);;All Files (*.*)");
  EXPECT_EQ(QtFilter("Bitmap Files (*.bmp)|*.bmp|JPEG Files (*.jpg)|*.jpg"),
            "Bitmap Files (*.bmp);;JPEG Files (*.jpg)");
  EXPECT_EQ(QtFilter("Pictures|*.bmp;*.jpg"), "Pictures (*.bmp *.jpg)");
}

// The film command: its name dialog, the replace question, the view's export and the log line.
// Help > Contents and Help > Manual open their file, and name it in the log when it is missing.
TEST_F(MainFormTest, HelpCommandsNameAMissingFile) {
  std::vector<std::string> opened;
  shared::SetShellOpen([&opened](const std::string& target) {
    opened.push_back(target);
    return true;
  });
  Start();
  const std::pair<const char*, std::string*> commands[] = {
      {"HelpContents", &shared::ProgramInfo().HelpPath},
      {"HelpManual", &shared::ProgramInfo().ManualPath},
  };
  for (const auto& [action, path] : commands) {
    SCOPED_TRACE(action);
    *path = PathOf(std::string(action) + ".file");
    Form->Memo1->clear();
    opened.clear();
    Action(action)->trigger();
    EXPECT_TRUE(opened.empty());
    EXPECT_NE(Form->Memo1->toPlainText().toStdString().find(*path + " does not exist!"), std::string::npos)
        << Form->Memo1->toPlainText().toStdString();
    Touch(std::string(action) + ".file");
    Form->Memo1->clear();
    Action(action)->trigger();
    EXPECT_EQ(opened, std::vector<std::string>{*path});
    EXPECT_TRUE(Form->Memo1->toPlainText().isEmpty());
  }
  shared::SetShellOpen(nullptr);
}

// Help > Contents, Manual and Feedback say so when the desktop opens no program for their file or
// address, naming it.
TEST_F(MainFormTest, HelpCommandsTellWhenNoProgramOpensThem) {
  std::vector<std::string> opened;
  shared::SetShellOpen([&opened](const std::string& target) {
    opened.push_back(target);
    return false;
  });
  std::vector<QString> told;
  SetInformationHandler([&told](const QString& text) { told.push_back(text); });
  Start();
  shared::TProgramInfo& info = shared::ProgramInfo();
  info.HelpPath = Touch("help.chm");
  info.ManualPath = Touch("manual.pdf");
  const std::pair<const char*, std::string> commands[] = {
      {"HelpContents",
       "The help file " + info.HelpPath + " could not be opened: the desktop has no program for it"},
      {"HelpManual",
       "The manual " + info.ManualPath + " could not be opened: the desktop has no program for it"},
      {"HelpFeedback",
       "The feedback page " + info.FeedbackURL + " could not be opened: the desktop has no program for it"},
  };
  for (const auto& [action, text] : commands) {
    SCOPED_TRACE(action);
    told.clear();
    opened.clear();
    Action(action)->trigger();
    EXPECT_EQ(opened.size(), 1u);
    EXPECT_EQ(told, std::vector<QString>{QString::fromStdString(text)});
  }
  SetInformationHandler(nullptr);
  shared::SetShellOpen(nullptr);
  EXPECT_TRUE(Errors.empty());
}

TEST_F(MainFormTest, FilmCommandAsksTheNameAndLogsTheFilm) {
  const std::string existing = Touch("old.avi");
  struct TCase {
    const char* what;
    std::optional<std::pair<QString, int>> Pick;
    std::deque<TAnswer> Answers;
    std::string Exported;
    std::string Kept;
  };
  const QString clip = QString::fromStdString(PathOf("clip"));
  const QString old = QString::fromStdString(existing);
  const TCase cases[] = {
      {"new name", std::make_pair(clip, 1), {}, PathOf("clip.avi"), PathOf("clip.avi")},
      {"existing, replaced", std::make_pair(old, 1), {TAnswer::Yes}, existing, existing},
      {"existing, kept", std::make_pair(old, 1), {TAnswer::No}, "", existing},
      {"cancelled", std::nullopt, {}, "", ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    Start();
    EXPECT_TRUE(Action("FileCreateAVIVideo")->isEnabled());
    EXPECT_TRUE(Action("AVIButton")->isEnabled());
    Form->AVIFileName = "earlier.avi";
    Dialogs->Picks = {c.Pick};
    Dialogs->Answers = c.Answers;
    Action("AVIButton")->trigger();
    ASSERT_EQ(Dialogs->Requests.size(), 1u);
    EXPECT_EQ(Dialogs->Requests[0].Title, "Create AVI Video");
    EXPECT_EQ(Dialogs->Requests[0].Filter, "AVI Files|*.avi|All Files|*.*");
    EXPECT_EQ(Dialogs->Requests[0].DefaultExt, "avi");
    EXPECT_EQ(Dialogs->Requests[0].FileName, "earlier.avi");
    EXPECT_EQ(Dialogs->Questions.size(), c.Answers.size());
    EXPECT_EQ(View->CalledStartingWith("AVI "), !c.Exported.empty());
    if (!c.Exported.empty()) {
      EXPECT_TRUE(View->Called("AVI " + c.Exported));
    }
    EXPECT_EQ(Form->AVIFileName, c.Kept);
    // The film's name is the log's one line.
    EXPECT_EQ(Form->Memo1->toPlainText().toStdString(), c.Exported);
    EXPECT_TRUE(Errors.empty());
    Form.reset();
  }
  // While a loop runs no name is asked for.
  Start();
  View->Busy = true;
  Action("FileCreateAVIVideo")->trigger();
  EXPECT_TRUE(Dialogs->Requests.empty());
  EXPECT_FALSE(View->CalledStartingWith("AVI "));
  EXPECT_TRUE(Errors.empty());
}

}  // namespace
}  // namespace quillon
