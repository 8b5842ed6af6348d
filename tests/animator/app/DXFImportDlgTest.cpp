// Tests of the DXF import dialog and its preview frame, alone and driven through the animation
// view's DXF command: placement edits, OK and Cancel, joints, files that cannot be read, zoom
// all, the layout in the settings, and a clipboard take-over while the dialog is open.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cmath>
#include <deque>
#include <filesystem>
#include <functional>
#include <numbers>
#include <string>
#include <tuple>
#include <vector>

#include "animator/app/AnimationFrm.h"
#include "animator/app/AppDialogs.h"
#include "animator/app/DXFImportDlg.h"
#include "animator/app/DXFViewFrm.h"
#include "animator/app/MainForm.h"
#include "animator/engine/AniMechanism.h"
#include "animator/engine/StdOut.h"
#include "shared/AniCanvas2D.h"
#include "shared/Convert.h"
#include "shared/ProgramInfo.h"
#include "shared/Settings.h"
#include "shared/Sound.h"
#include "shared/TabLine.h"
#include "shared/dxf/DXFDrawing.h"
#include "shared/qt/UserDialogs.h"
#include "tests/animator/app/AppTestSupport.h"
#include "tests/shared/TestFiles.h"
#include "tests/shared/dxf/DXFFixtures.h"
#include "tests/support/DialogSupport.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;
constexpr const char* kKey = "Software\\Orvane\\Quillon";

class TLog : public TMessageSink {
 public:
  std::vector<std::string> Lines;
  void AppendLine(const std::string& line, TMessageKind) override { Lines.push_back(line); }
  void ClearLines() override { Lines.clear(); }
};

// A drawing of one line from (0, 0) to (x, y) millimetres.
std::string LineDrawing(int x, int y) {
  return dxftest::EntitiesOnly(dxftest::Pairs(
      {{0, "LINE"}, {8, "0"}, {10, "0"}, {20, "0"}, {11, std::to_string(x)}, {21, std::to_string(y)}}));
}

std::vector<std::string> DocumentLines(TAniMechanism& mechanism) {
  shared::TTabLines lines;
  mechanism.SaveToTabLines(lines);
  return lines.Lines;
}

class DXFImportDlgTest : public shared::test::TTempFolderTest {
 protected:
  DXFImportDlgTest() : TTempFolderTest("dxfimport") {}

  void SetUp() override {
    TTempFolderTest::SetUp();
    shared::CreateProgramInfo();
    shared::CreateTabLines();
    shared::CreateConvert();
    CreateStdOut();
    StdOut().SetSink(&Log);
    shared::SetSound(&Sound);
    SettingsStore().Values.clear();
    shared::SetSettingsFactory(OpenStoreSettings);
    Dialog = std::make_unique<TDXFImportDlg>();
    Frame = Dialog->DXFViewFrm1;
    Frame->ShowError = [this](const std::string& text) { Errors.push_back(text); };
    Frame->OpenDialog1 = [this] {
      if (Picks.empty()) return std::string();
      const std::string pick = Picks.front();
      Picks.pop_front();
      return pick;
    };
    AppDialogs().DXFImportDlg = Dialog.get();
    shared::test::WriteBytes(dir / "coupler.dxf", LineDrawing(100, 0));
    shared::test::WriteBytes(dir / "frame.dxf", LineDrawing(0, 40));
    shared::test::WriteBytes(dir / "broken.dxf", "Dear reader,\nthis is no drawing.\n");
  }

  void TearDown() override {
    View.reset();
    AppDialogs() = {};
    Dialog.reset();
    shared::SetSettingsFactory(nullptr);
    shared::SetSound(nullptr);
    StdOut().SetSink(nullptr);
    FreeStdOut();
    shared::FreeConvert();
    shared::FreeTabLines();
    shared::FreeProgramInfo();
    TTempFolderTest::TearDown();
  }

  // The four-bar with the coupler's drawing (anchored at C, offset 10 mm, 20 mm, turned 0.25)
  // saved as doc.mech, opened in a view. The frame's drawing is named by frameDrawing.
  void OpenDocument(const std::string& couplerDrawing, const std::string& couplerAnchor = "C",
                    const std::string& frameDrawing = "") {
    TAniMechanism m;
    m.NewMechanism(0);
    TAniLink& coupler = m.Link(m.FindLink("BCE"));
    coupler.Drawing->FileName = couplerDrawing.empty() ? "" : (dir / couplerDrawing).string();
    coupler.SetAnchorLetter(couplerAnchor);
    coupler.Drawing->Transform.SetAll(0.01, 0.02, 0.25, 1, 1);
    if (!frameDrawing.empty()) m.Link(0).Drawing->FileName = (dir / frameDrawing).string();
    shared::TTabLines lines;
    lines.SetFileName((dir / "doc.mech").string());
    m.SaveToTabLines(lines);
    lines.SaveToFile();
    View = std::make_unique<TAnimationFrm>(Clipboard);
    View->LoadFromFile((dir / "doc.mech").string());
    Log.Lines.clear();
  }

  int Coupler() { return View->Mechanism().FindLink("BCE"); }
  TAniLink& CouplerLink() { return View->Mechanism().Link(Coupler()); }

  void SelectCoupler() {
    View->Mechanism().DeselectAll();
    CouplerLink().Selected = 1;
  }

  // Runs the view's DXF command; while its dialog is open, action runs and then, unless it
  // closed the dialog, the dialog is cancelled.
  void RunDXFCommand(const std::function<void()>& action) {
    Shown = false;
    QTimer::singleShot(0, Dialog.get(), [this, action] {
      Shown = Dialog->isVisible();
      QApplication::setActiveWindow(Dialog.get());
      action();
      if (Dialog->isVisible()) Dialog->reject();
    });
    View->PopDXFDrawingClick();
    QCoreApplication::processEvents();
  }

  // The text typed into an edit of the frame, as a user would, without leaving it.
  static void Type(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    if (text.isEmpty()) QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
  }

  TFakeClipboard Clipboard;
  TLog Log;
  test_support::TCountingSound Sound;
  std::unique_ptr<TDXFImportDlg> Dialog;
  TDXFViewFrm* Frame = nullptr;
  std::unique_ptr<TAnimationFrm> View;
  std::deque<std::string> Picks;
  std::vector<std::string> Errors;
  bool Shown = false;
};

TEST_F(DXFImportDlgTest, ComponentsCaptionsAndHelp) {
  for (const char* name : {"NewButton", "OpenButton", "SelectButton", "MoveButton", "ZoomAllButton",
                           "ZoomInButton", "ZoomOutButton", "ZoomButton", "x0Button", "y0Button", "Angle0Button"})
    EXPECT_NE(Dialog->findChild<QToolButton*>(name), nullptr) << name;
  for (const char* name : {"x0Edit", "y0Edit", "Angle0Edit"})
    EXPECT_EQ(Dialog->findChild<QLineEdit*>(name)->text(), QStringLiteral("0")) << name;
  for (const char* name : {"DXFViewFrm1", "ToolBar1", "ToolBar2", "Panel1", "PaintBox1", "StatusBar1"})
    EXPECT_NE(Dialog->findChild<QWidget*>(name), nullptr) << name;
  EXPECT_NE(Dialog->findChild<QComboBox*>("JointBox"), nullptr);
  EXPECT_EQ(Dialog->windowTitle(), "DXF Import");
  EXPECT_EQ(Dialog->OKButton->text(), "OK");
  EXPECT_EQ(Dialog->CancelButton->text(), "Cancel");
  EXPECT_EQ(Dialog->HelpButton->text(), "Help");
  EXPECT_TRUE(Frame->SelectButton->isChecked());
  EXPECT_EQ(Frame->StatusPanels[0]->width(), 90);
  EXPECT_EQ(Frame->x0Edit->toolTip(), "x position offset");
  EXPECT_EQ(Frame->y0Edit->toolTip(), "y position offset");
  EXPECT_EQ(Frame->Angle0Edit->toolTip(), "angle offset");
  EXPECT_EQ(Frame->JointBox->toolTip(), "Select Joint as DXF Origin");
  // Axes, solid red.
  EXPECT_EQ(Frame->Canvas().GridStyle, shared::TGridStyle::Axes);
  EXPECT_EQ(Frame->Canvas().GridColor, 255u);
  EXPECT_EQ(Frame->Canvas().GridPenStyle, shared::TPenStyle::Solid);

  Dialog->SetCaptions();
  Dialog->Prepare("BCE", 2);
  EXPECT_EQ(Dialog->windowTitle(), "Import DXF to Link BCE");
  ASSERT_EQ(Frame->JointBox->count(), 3);
  EXPECT_EQ(Frame->JointBox->itemText(1), "C");
  EXPECT_EQ(Dialog->SelectedJoint(), 2);
  // A link without joints: an empty list, no joint chosen.
  Dialog->Prepare("", 0);
  EXPECT_EQ(Frame->JointBox->count(), 0);
  EXPECT_EQ(Dialog->SelectedJoint(), -1);

  std::vector<std::string> topics;
  Dialog->SetHelpHandler([&](const std::string& topic) { topics.push_back(topic); });
  Dialog->HelpButton->click();
  EXPECT_EQ(topics, std::vector<std::string>{"dxf_import.html"});
}

// The tools stay until another is chosen; each mode tool shows which one is on.
TEST_F(DXFImportDlgTest, ModeToolsStayAndShowTheMode) {
  const struct {
    QToolButton* button;
    int mode;
  } tools[] = {{Frame->ZoomInButton, 2}, {Frame->ZoomOutButton, 3}, {Frame->MoveButton, 10},
               {Frame->ZoomButton, 12}, {Frame->SelectButton, 0}};
  for (const auto& tool : tools) {
    tool.button->click();
    EXPECT_EQ(Frame->Canvas().Mode(), tool.mode);
    for (const auto& other : tools) EXPECT_EQ(other.button->isChecked(), other.button == tool.button);
  }
  EXPECT_FALSE(Frame->Canvas().AutoResetMode);

  // The wheel zooms by 1 + delta / 1000 about the view's centre, with a beep.
  const shared::TAniCanvas2D& canvas = Frame->Canvas();
  const double width = canvas.WorldXMax() - canvas.WorldXMin();
  const int beeps = Sound.Beeps;
  Frame->FrameMouseWheel(250);
  EXPECT_NEAR(canvas.WorldXMax() - canvas.WorldXMin(), width / 1.25, 1e-12);
  EXPECT_EQ(Sound.Beeps, beeps + 1);
}

// The edits in the display units (millimetres and degrees by default): Enter applies them and
// never presses OK, an empty edit takes the current value back, text that is no number keeps the
// placement, and the scales return to 1.
TEST_F(DXFImportDlgTest, OffsetEditsApplyInDisplayUnits) {
  Dialog->show();
  QApplication::setActiveWindow(Dialog.get());
  Frame->Drawing->Transform.SetAll(0.004, -0.003, 0.5, 2, 3);
  Frame->ShowOffsets();
  EXPECT_EQ(Frame->x0Edit->text(), "4.000");
  EXPECT_EQ(Frame->y0Edit->text(), "-3.000");

  // The values as shown keep their exact values: Enter moves nothing by rounding.
  QTest::keyClick(Frame->x0Edit, Qt::Key_Return);
  EXPECT_EQ(Frame->Drawing->Transform.Angle, 0.5);
  EXPECT_EQ(Frame->Drawing->Transform.OffsetY, -0.003);
  // Cleared and Enter: the current x offset comes back into the edit and stays.
  Type(Frame->x0Edit, "");
  QTest::keyClick(Frame->x0Edit, Qt::Key_Return);
  EXPECT_EQ(Frame->x0Edit->text(), "4.000");
  EXPECT_EQ(Frame->Drawing->Transform.OffsetX, 0.004);
  EXPECT_TRUE(Dialog->isVisible()) << "Enter does not press OK";
  EXPECT_EQ(Dialog->result(), 0);
  EXPECT_EQ(Frame->Drawing->Transform.M11, std::cos(0.5)) << "scale 1";
  EXPECT_EQ(Frame->Drawing->Transform.M12, -std::sin(0.5));

  // 90 degrees is stored as a quarter turn in radians and shown back in degrees.
  Type(Frame->Angle0Edit, "90");
  QTest::keyClick(Frame->Angle0Edit, Qt::Key_Enter);
  EXPECT_NEAR(Frame->Drawing->Transform.Angle, std::numbers::pi / 2, 1e-15);
  Type(Frame->y0Edit, "-12.5");
  Frame->y0Button->click();
  EXPECT_NEAR(Frame->Drawing->Transform.OffsetY, -0.0125, 1e-15);
  Frame->ShowOffsets();
  EXPECT_EQ(Frame->Angle0Edit->text(), "90.000");
  EXPECT_EQ(Frame->y0Edit->text(), "-12.500");

  // Leaving an edit applies it.
  Type(Frame->x0Edit, "7");
  Type(Frame->y0Edit, "twelve");
  EXPECT_NEAR(Frame->Drawing->Transform.OffsetX, 0.007, 1e-15);
  // No number: its edit gets the focus with a beep, and the placement stays.
  Type(Frame->x0Edit, "8");
  const shared::TDXFTransForm before = Frame->Drawing->Transform;
  const int beeps = Sound.Beeps;
  Frame->x0Button->click();
  EXPECT_EQ(Sound.Beeps, beeps + 1);
  EXPECT_TRUE(Frame->y0Edit->hasFocus());
  EXPECT_EQ(Frame->Drawing->Transform.OffsetX, before.OffsetX) << "nothing of the three is taken";
  EXPECT_EQ(Frame->Drawing->Transform.OffsetY, before.OffsetY);
  // The status bar says why.
  EXPECT_EQ(Frame->StatusBar1->currentMessage(), "'twelve' is not a valid floating point value");
  // An offset beyond 1000 km or a turn of more than a full one is refused the same way.
  for (const auto& [edit, text, message] :
       {std::tuple{Frame->y0Edit, "1E300", "Value should be between -1E9 and 1E9 mm"},
        std::tuple{Frame->Angle0Edit, "-400", "Value should be between -360 and 360 \u00b0"}}) {
    SCOPED_TRACE(text);
    Frame->y0Edit->setText(QStringLiteral("-3"));
    edit->setText(QString::fromLatin1(text));
    const int beepsBefore = Sound.Beeps;
    Frame->x0Button->click();
    EXPECT_EQ(Sound.Beeps, beepsBefore + 1);
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(Frame->StatusBar1->currentMessage(), QString::fromUtf8(message));
    EXPECT_EQ(Frame->Drawing->Transform.OffsetY, before.OffsetY);
  }
  // Taken values clear the message.
  Type(Frame->Angle0Edit, "90");
  Type(Frame->y0Edit, "-12.5");
  Frame->x0Button->click();
  EXPECT_EQ(Frame->StatusBar1->currentMessage(), QString());
  EXPECT_NEAR(Frame->Drawing->Transform.OffsetX, 0.008, 1e-15);
  // Esc still closes.
  QTest::keyClick(Frame->y0Edit, Qt::Key_Escape);
  EXPECT_FALSE(Dialog->isVisible());
}

TEST_F(DXFImportDlgTest, ZoomAllTakesTheOriginAndThePlacedDrawing) {
  // An empty drawing: the default view about the origin.
  Frame->ZoomAllButtonClick();
  const shared::TAniCanvas2D& canvas = Frame->Canvas();
  EXPECT_LT(canvas.WorldXMin(), 0);
  EXPECT_GT(canvas.WorldXMax(), 0);
  EXPECT_LT(canvas.WorldYMin(), 0);
  EXPECT_GT(canvas.WorldYMax(), 0);

  // A line from (0, 0) to (0.1, 0) placed at (3, 2) and turned a quarter: from (3, 2) to (3, 2.1).
  Frame->Drawing->LoadFromString(LineDrawing(100, 0));
  Frame->Drawing->Transform.SetAll(3, 2, std::numbers::pi / 2, 1, 1);
  Frame->ZoomAllButtonClick();
  EXPECT_LE(canvas.WorldXMin(), 0);
  EXPECT_LE(canvas.WorldYMin(), 0);
  EXPECT_GE(canvas.WorldXMax(), 3 - 1e-9);
  EXPECT_GE(canvas.WorldYMax(), 2.1 - 1e-9);
  EXPECT_LT(canvas.WorldXMax(), 4) << "not widened by the unplaced line";
}

// Open reads a file into the preview; one that cannot be read shows the reader's message and
// leaves the preview as it was; New empties it.
TEST_F(DXFImportDlgTest, OpenAndNew) {
  Picks = {(dir / "coupler.dxf").string(), (dir / "broken.dxf").string(), (dir / "absent.dxf").string(), ""};
  Frame->OpenButtonClick();
  EXPECT_EQ(Frame->Drawing->Count(), 1);
  EXPECT_EQ(Frame->Drawing->FileName, (dir / "coupler.dxf").string());
  EXPECT_EQ(Frame->StatusPanels[2]->toolTip().toStdString(), (dir / "coupler.dxf").string());
  EXPECT_GE(Frame->Canvas().WorldXMax(), 0.1) << "zoomed to the drawing";

  for (const char* name : {"broken.dxf", "absent.dxf"}) {
    Frame->OpenButtonClick();
    ASSERT_EQ(Errors.size(), 1u) << name;
    EXPECT_EQ(Errors[0].rfind((dir / name).string(), 0), 0u) << Errors[0];
    EXPECT_EQ(Frame->Drawing->Count(), 1) << name;
    EXPECT_EQ(Frame->Drawing->FileName, (dir / "coupler.dxf").string());
    Errors.clear();
  }
  Frame->OpenButtonClick();  // cancelled
  EXPECT_EQ(Frame->Drawing->Count(), 1);

  Frame->NewButtonClick();
  EXPECT_EQ(Frame->Drawing->Count(), 0);
  EXPECT_EQ(Frame->Drawing->FileName, "");
  EXPECT_EQ(Frame->StatusPanels[2]->toolTip(), "");
}

// OK writes the preview's drawing, its placement and the chosen joint to the link and marks the
// document modified; Cancel changes nothing.
TEST_F(DXFImportDlgTest, OkWritesTheDrawingToTheLinkAndCancelChangesNothing) {
  OpenDocument("");
  SelectCoupler();
  const std::vector<std::string> before = DocumentLines(View->Mechanism());
  RunDXFCommand([&] {
    EXPECT_EQ(Dialog->windowTitle(), "Import DXF to Link BCE");
    Picks = {(dir / "coupler.dxf").string()};
    Frame->OpenButton->click();
    Type(Frame->x0Edit, "5");
    QTest::keyClick(Frame->x0Edit, Qt::Key_Return);
    Frame->JointBox->setCurrentIndex(2);
    Dialog->CancelButton->click();
  });
  EXPECT_TRUE(Shown);
  EXPECT_EQ(DocumentLines(View->Mechanism()), before);
  EXPECT_FALSE(View->IsModified());

  RunDXFCommand([&] {
    EXPECT_EQ(Frame->Drawing->FileName, "") << "read afresh from the link";
    Picks = {(dir / "coupler.dxf").string()};
    Frame->OpenButton->click();
    Type(Frame->x0Edit, "5");
    Type(Frame->Angle0Edit, "30");
    Frame->JointBox->setCurrentIndex(2);
    // The angle was typed and never left: OK takes it.
    Dialog->OKButton->click();
  });
  const TAniLink& link = CouplerLink();
  EXPECT_EQ(link.Drawing->FileName, (dir / "coupler.dxf").string());
  EXPECT_EQ(link.Drawing->Count(), 1);
  EXPECT_NEAR(link.Drawing->Transform.OffsetX, 0.005, 1e-15);
  EXPECT_NEAR(link.Drawing->Transform.Angle, std::numbers::pi / 6, 1e-15);
  EXPECT_EQ(link.AnchorLetter(), "E");
  EXPECT_TRUE(View->IsModified());
  EXPECT_EQ(View->Canvas().GridStyle, shared::TGridStyle::Lines) << "a link's drawing leaves the background";

  // Saved and opened again, the drawing, its anchor and placement come back.
  View->SaveToFile((dir / "saved.mech").string());
  View->LoadFromFile((dir / "saved.mech").string());
  const TAniLink& read = CouplerLink();
  EXPECT_EQ(read.Drawing->FileName, (dir / "coupler.dxf").string());
  EXPECT_EQ(read.Drawing->Count(), 1);
  EXPECT_EQ(read.AnchorLetter(), "E");
  EXPECT_NEAR(read.Drawing->Transform.Angle, std::numbers::pi / 6, 1e-15);
}

// Without a selected link the frame takes the drawing, and its drawing becomes the background.
TEST_F(DXFImportDlgTest, TheFrameTakesTheBackground) {
  OpenDocument("");
  View->Mechanism().DeselectAll();
  ASSERT_EQ(View->Canvas().GridStyle, shared::TGridStyle::Lines);
  RunDXFCommand([&] {
    EXPECT_EQ(Dialog->windowTitle().toStdString(), "Import DXF to Link " + View->Mechanism().Link(0).Name);
    Picks = {(dir / "frame.dxf").string()};
    Frame->OpenButton->click();
    Dialog->OKButton->click();
  });
  EXPECT_TRUE(View->Mechanism().HasFrameDrawing());
  EXPECT_EQ(View->Canvas().GridStyle, shared::TGridStyle::Background);
  RunDXFCommand([&] {
    Frame->NewButton->click();
    Dialog->OKButton->click();
  });
  EXPECT_FALSE(View->Mechanism().HasFrameDrawing());
  EXPECT_EQ(View->Mechanism().Link(0).Drawing->FileName, "");
  EXPECT_EQ(View->Canvas().GridStyle, shared::TGridStyle::Lines);
}

// Faults: OK with no joint chosen anchors at the first joint; OK stays open on an edit that is no
// number; a link whose file is missing keeps its name through OK.
TEST_F(DXFImportDlgTest, OkAnchorsAtTheFirstJointAndKeepsAMissingFilesName) {
  OpenDocument("gone.dxf", "Z");
  SelectCoupler();
  ASSERT_EQ(CouplerLink().AnchorIndex, -1);
  ASSERT_EQ(CouplerLink().Drawing->Count(), 0);
  RunDXFCommand([&] {
    EXPECT_EQ(Dialog->SelectedJoint(), -1);
    EXPECT_EQ(Frame->Drawing->FileName, (dir / "gone.dxf").string());
    EXPECT_TRUE(Dialog->isVisible());
    Type(Frame->y0Edit, "1,5.5");
    Dialog->OKButton->click();
    EXPECT_TRUE(Dialog->isVisible()) << "stays open on an edit that is no number";
    EXPECT_TRUE(Frame->y0Edit->hasFocus());
    Type(Frame->y0Edit, "");
    Dialog->OKButton->click();
    EXPECT_FALSE(Dialog->isVisible());
  });
  EXPECT_EQ(CouplerLink().AnchorIndex, 0);
  EXPECT_EQ(CouplerLink().Drawing->FileName, (dir / "gone.dxf").string());
  EXPECT_DOUBLE_EQ(CouplerLink().Drawing->Transform.OffsetY, 0.02);
}

// With no link at all (not even the frame) the command does nothing.
TEST_F(DXFImportDlgTest, NoLinksNoDialog) {
  shared::test::WriteBytes(dir / "empty.mech", "[Quillon>\r\n0\r\n<Quillon]\r\n");
  View = std::make_unique<TAnimationFrm>(Clipboard);
  View->LoadFromFile((dir / "empty.mech").string());
  ASSERT_EQ(View->Mechanism().LinkCount(), 0);
  RunDXFCommand([] {});
  EXPECT_FALSE(Shown);
  EXPECT_FALSE(View->LoadFrameDrawing((dir / "frame.dxf").string()));
}

// View Options' DXF background: the frame reads the file and keeps its placement; a file that
// cannot be read leaves the drawing as it was.
TEST_F(DXFImportDlgTest, FrameDrawingFromTheOptions) {
  OpenDocument("coupler.dxf", "C", "frame.dxf");
  TAniLink& frame = View->Mechanism().Link(0);
  ASSERT_EQ(frame.Drawing->Count(), 1);
  frame.Drawing->Transform.SetAll(0.1, 0.2, 0.3, 1, 1);
  EXPECT_TRUE(View->LoadFrameDrawing((dir / "coupler.dxf").string()));
  EXPECT_EQ(frame.Drawing->FileName, (dir / "coupler.dxf").string());
  EXPECT_EQ(frame.Drawing->Transform.OffsetY, 0.2);
  for (const char* name : {"broken.dxf", "absent.dxf"}) {
    Log.Lines.clear();
    EXPECT_FALSE(View->LoadFrameDrawing((dir / name).string())) << name;
    ASSERT_EQ(Log.Lines.size(), 1u);
    EXPECT_EQ(Log.Lines[0].rfind("[Error] " + (dir / name).string(), 0), 0u) << Log.Lines[0];
    EXPECT_EQ(frame.Drawing->FileName, (dir / "coupler.dxf").string());
    EXPECT_EQ(frame.Drawing->Count(), 1);
  }
  EXPECT_TRUE(View->LoadFrameDrawing(""));
  EXPECT_FALSE(View->Mechanism().HasFrameDrawing());
}

// The frame's drawing is painted on the view's background, where the frame's anchor places it.
TEST_F(DXFImportDlgTest, TheViewPaintsTheFrameDrawingAsBackground) {
  OpenDocument("coupler.dxf", "C", "frame.dxf");
  EXPECT_EQ(View->Canvas().GridStyle, shared::TGridStyle::Background);
  View->resize(600, 500);
  View->show();
  QCoreApplication::processEvents();
  View->Canvas().SetWorldRect(-1, 1, -1, 1);
  View->Canvas().FitView();
  View->PaintBox1Paint();
  const QImage image = View->PaintBox1->grab().toImage();
  // The frame's line runs 40 mm up from its first joint: its middle is drawn in the background.
  TAniMechanism& m = View->Mechanism();
  const auto& anchor = m.Joint(m.FindJoint(m.Link(0).Name[0])).Positions[0];
  const shared::TPoint middle = View->Canvas().WorldToScreen(anchor.X, anchor.Y + 0.02);
  EXPECT_NE(image.pixel(middle.X, middle.Y), image.pixel(middle.X + 3, middle.Y));
}

// A take-over of the clipboard while the dialog is open, from the view's own menu too, waits for
// the dialog's end, so OK writes to the link that was shown.
TEST_F(DXFImportDlgTest, ClipboardTakeOverWaitsForTheDialog) {
  class TAnswerNo : public TUserDialogs {
   public:
    TAnswer Ask(const QString&) override { return TAnswer::No; }
    bool PickOpenFile(TFileRequest&) override { return false; }
    bool PickSaveFile(TFileRequest&) override { return false; }
  };
  auto* view = new TAnimationFrm(Clipboard);
  TMainForm form(view, std::make_unique<TAnswerNo>(), Clipboard);
  view->NewMechanism(0);
  const int coupler = view->Mechanism().FindLink("BCE");
  view->Mechanism().DeselectAll();
  view->Mechanism().Link(coupler).Selected = 1;
  TAniMechanism vesk;
  vesk.NewMechanism(1);
  shared::TTabLines lines;
  vesk.SaveToTabLines(lines);
  lines.Lines[1] = "0\tVesk";
  bool replacedMeanwhile = true;
  QTimer::singleShot(0, Dialog.get(), [&] {
    Clipboard.Text = lines.Text();
    form.ClipboardChanged();
    replacedMeanwhile = view->Mechanism().LinkCount() != 4 || view->Mechanism().FindLink("BCE") != coupler;
    Picks = {(dir / "coupler.dxf").string()};
    Frame->OpenButton->click();
    Dialog->OKButton->click();
  });
  view->PopDXFDrawing->trigger();
  EXPECT_FALSE(replacedMeanwhile);
  // The pasted mechanism came after the dialog.
  EXPECT_EQ(DocumentLines(view->Mechanism()), DocumentLines(vesk));
}

}  // namespace
}  // namespace quillon

namespace quillon {
namespace {

// The layout lives in section "DXFImport" of the key: read when the key comes, written when the
// dialog goes; nothing without a key.
TEST_F(DXFImportDlgTest, LayoutInTheSettings) {
  shared::TMemorySettings& store = SettingsStore();
  AppDialogs() = {};
  Dialog.reset();
  EXPECT_TRUE(store.Values.empty()) << "no key, nothing written";

  store.WriteInteger("DXFImport", "Left", 40);
  store.WriteInteger("DXFImport", "Top", 30);
  store.WriteInteger("DXFImport", "Width", 700);
  store.WriteInteger("DXFImport", "Height", 560);
  Dialog = std::make_unique<TDXFImportDlg>();
  Dialog->SetRegistryKey(kKey);
  EXPECT_EQ(Dialog->RegistryKey(), kKey);
  EXPECT_EQ(Dialog->pos(), QPoint(40, 30));
  EXPECT_EQ(Dialog->size(), QSize(700, 560));
  Dialog->resize(720, 580);
  Dialog->move(50, 60);
  Dialog.reset();
  EXPECT_EQ(store.ReadInteger("DXFImport", "Width", 0), 720);
  EXPECT_EQ(store.ReadInteger("DXFImport", "Height", 0), 580);
  EXPECT_EQ(store.ReadInteger("DXFImport", "Left", 0), 50);
  EXPECT_EQ(store.ReadInteger("DXFImport", "Top", 0), 60);
  // The design size at first, never smaller than the contents need.
  Dialog = std::make_unique<TDXFImportDlg>();
  EXPECT_GE(Dialog->width(), 575);
  EXPECT_GE(Dialog->height(), 504);
  EXPECT_GE(Dialog->width(), Dialog->minimumSizeHint().width());

  // A first use with a key but no place stored opens centred on the screen, not in its corner.
  store.Values.clear();
  Dialog = std::make_unique<TDXFImportDlg>();
  Dialog->SetRegistryKey(kKey);
  Dialog->show();
  const QRect screen = Dialog->screen()->availableGeometry();
  ASSERT_GT(screen.width(), Dialog->width());
  ASSERT_GT(screen.height(), Dialog->height());
  // Within the window frame, which is not known before the first showing.
  const QPoint offset = Dialog->frameGeometry().center() - screen.center();
  EXPECT_LE(std::abs(offset.x()), 8) << offset.x();
  EXPECT_LE(std::abs(offset.y()), 8) << offset.y();
  Dialog->hide();
}

// The main window's commands reach the dialog once the program has it, and hand it the key.
TEST_F(DXFImportDlgTest, MainWindowCommandsAndKey) {
  class TNoQuestions : public TUserDialogs {
   public:
    TAnswer Ask(const QString&) override { return TAnswer::No; }
    bool PickOpenFile(TFileRequest&) override { return false; }
    bool PickSaveFile(TFileRequest&) override { return false; }
  };
  auto* view = new TAnimationFrm(Clipboard);
  TMainForm form(view, std::make_unique<TNoQuestions>(), Clipboard);
  for (const char* name : {"FileImportDXFBackground", "ImportDXFButton"}) {
    QAction* action = form.findChild<QAction*>(name);
    ASSERT_NE(action, nullptr) << name;
    EXPECT_TRUE(action->isEnabled()) << name;
  }
  form.SetRegistryKey(kKey);
  EXPECT_EQ(Dialog->RegistryKey(), kKey);
  view->NewMechanism(0);
  view->Mechanism().DeselectAll();
  QTimer::singleShot(0, Dialog.get(), [&] {
    Shown = Dialog->isVisible();
    Dialog->reject();
  });
  form.findChild<QAction*>("ImportDXFButton")->trigger();
  EXPECT_TRUE(Shown);
  EXPECT_EQ(Dialog->windowTitle().toStdString(), "Import DXF to Link " + view->Mechanism().Link(0).Name);
  view->PopupMenu1Popup();
  EXPECT_TRUE(view->PopDXFDrawing->isEnabled());
}

}  // namespace
}  // namespace quillon
