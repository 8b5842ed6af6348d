// Tests of the animation view: layout, step bar and timer, tools, pop-up menu, documents through
// the tab-line store and a fake clipboard, the "Animation" settings and the language texts.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>

#include "animator/app/AnimationFrm.h"
#include "animator/app/AnimationSettings.h"
#include "shared/qt/Application.h"
#include "animator/app/LanguageFile.h"
#include "animator/app/MainForm.h"
#include "animator/app/MessageMemo.h"
#include "animator/app/TrackBar.h"
#include "animator/engine/AniMechanism.h"
#include "animator/engine/StdOut.h"
#include "shared/Canvas2D.h"
#include "shared/Clipboard.h"
#include "shared/Convert.h"
#include "shared/Cp1252.h"
#include "shared/ProgramInfo.h"
#include "shared/Settings.h"
#include "shared/TabLine.h"
#include "tests/animator/app/AppTestSupport.h"
#include "tests/shared/FileSizeLimit.h"
#include "tests/shared/TestFiles.h"

namespace quillon {
namespace {

using shared::SetExceptionHandler;

const std::string kFixtures = SUITE_FIXTURES;
constexpr const char* kKey = "Software\\Orvane\\Quillon";

class TLog : public TMessageSink {
 public:
  std::vector<std::string> Lines;
  void AppendLine(const std::string& line, TMessageKind) override { Lines.push_back(line); }
  void ClearLines() override { Lines.clear(); }
  bool Has(const std::string& line) const {
    return std::find(Lines.begin(), Lines.end(), line) != Lines.end();
  }
};

// The mechanism's document lines, to compare two states.
std::vector<std::string> Document(TAniMechanism& mechanism) {
  shared::TTabLines lines;
  mechanism.SaveToTabLines(lines);
  return lines.Lines;
}

class AnimationFrmTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shared::CreateProgramInfo();
    shared::CreateTabLines();
    // The program creates the unit service before the view; the graph labels need it.
    shared::CreateConvert();
    CreateStdOut();
    StdOut().SetSink(&Log);
    SettingsStore().Values.clear();
    shared::SetSettingsFactory(OpenStoreSettings);
    Folder =
        std::filesystem::temp_directory_path() /
        ("animation-frm-" + std::to_string(::getpid()) + "-" +
         std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(Folder);
    std::filesystem::create_directories(Folder);
    View = std::make_unique<TAnimationFrm>(Clipboard);
  }

  void TearDown() override {
    View.reset();
    std::filesystem::remove_all(Folder);
    shared::SetSettingsFactory(nullptr);
    StdOut().SetSink(nullptr);
    FreeStdOut();
    shared::FreeConvert();
    shared::FreeTabLines();
    shared::FreeProgramInfo();
  }

  // The view with the default settings (120 positions) and the four-bar document opened.
  void OpenFourbar() {
    View->SetRegistryKey(kKey);
    View->LoadFromFile(kFixtures + "/fourbar.mech");
  }
  // The four-bar shown at 800 x 600, and where its joint lies on the screen at step 0.
  shared::TPoint ShowFourbarAtJoint(char letter) {
    OpenFourbar();
    View->resize(800, 600);
    View->show();
    const TPositionRecord& at = View->Mechanism().Joint(View->Mechanism().FindJoint(letter)).Positions[0];
    return View->Canvas().WorldToScreen(at.X, at.Y);
  }

  QString Status(int panel) const { return View->StatusPanels[panel]->text(); }

  TFakeClipboard Clipboard;
  TLog Log;
  std::filesystem::path Folder;
  std::unique_ptr<TAnimationFrm> View;
};

TEST_F(AnimationFrmTest, ComponentsCarryTheirNamesAndStartStopped) {
  for (const char* name : {"SelectButton", "MoveButton", "ZoomAllButton", "ZoomInButton", "ZoomOutButton",
                           "ZoomButton", "AddInputButton", "AddDyadButton", "AddSliderButton",
                           "AddJointButton", "DeleteButton", "AddCurveButton", "AddAreaButton",
                           "OptimizeButton", "StopButton", "StartButton", "RecordButton", "SpeedButton"}) {
    EXPECT_NE(View->findChild<QToolButton*>(name), nullptr) << name;
  }
  for (const char* name : {"CoolBar1", "PanelTop", "Panel1", "PaintBox1", "PanelBottom", "GraphFrm1"}) {
    EXPECT_NE(View->findChild<QWidget*>(name), nullptr) << name;
  }
  auto* bar = View->findChild<TTrackBar*>("PositionTrackBar");
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->width(), 316);
  EXPECT_EQ(bar->tickPosition(), QSlider::NoTicks);
  EXPECT_FALSE(View->findChild<QTimer*>("AnimationTimer")->isActive());

  auto* menu = View->findChild<QMenu*>("PopupMenu1");
  ASSERT_NE(menu, nullptr);
  QStringList order;
  for (QAction* item : menu->actions())
    order << (item->isSeparator() ? QStringLiteral("-") : item->objectName());
  EXPECT_EQ(order.join(QLatin1Char(' ')).toStdString(),
            "PopTogglePath PopToggleGraph PopToggleVectors PopToggleLock - PopInstCenters PopDXFDrawing - "
            "PopBringToFront PopSendToBack - PopSetAsOutput PopEditInput PopMoveRotateResize - PopOptions");
  // Without the program's dialogs (none made here) their items stay disabled.
  EXPECT_TRUE(View->OptimizeButton->isEnabled());
  EXPECT_TRUE(View->OptimizeButton->isCheckable());
  for (QAction* item :
       {View->PopDXFDrawing, View->PopEditInput, View->PopMoveRotateResize, View->PopOptions}) {
    EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();
  }
  EXPECT_EQ(View->FileName(), "Untitled");
  EXPECT_EQ(Status(3), QStringLiteral("Untitled"));
  EXPECT_FALSE(View->IsModified());
  EXPECT_EQ(View->Speed(), 1);
  EXPECT_EQ(View->Canvas().GridStyle, shared::TGridStyle::Lines);
  EXPECT_DOUBLE_EQ(View->Canvas().GridStep, 0.1);
}

TEST_F(AnimationFrmTest, OpenedPresetSetsTheStepBarAndStepsShowTheirPosition) {
  OpenFourbar();
  TAniMechanism& m = View->Mechanism();
  EXPECT_EQ(View->FileName(), kFixtures + "/fourbar.mech");
  EXPECT_FALSE(View->IsModified());
  ASSERT_EQ(m.N, 120);
  ASSERT_EQ(m.Len, 120);
  TTrackBar* bar = View->PositionTrackBar;
  EXPECT_EQ(bar->minimum(), 0);
  EXPECT_EQ(bar->maximum(), 120);
  EXPECT_EQ(bar->SelStart(), 120);
  EXPECT_EQ(bar->SelEnd(), 120);
  bar->setValue(7);
  EXPECT_EQ(m.CurrentStep, 7);
  EXPECT_EQ(Status(2), QStringLiteral("Pos: 7"));
}

TEST_F(AnimationFrmTest, UnsolvedStepsAreTheBarsSelection) {
  OpenFourbar();
  TAniMechanism& m = View->Mechanism();
  // A cycle the mechanism cannot close: the bar still runs to N, its band marks the unsolved
  // steps, and a step past the solution shows the last solved one. A crank much longer than the
  // dyad's reach leaves the loop open half way round.
  m.Joint(m.FindJoint('B')).Positions[0].X = -1.5;
  View->MechanismChanged();
  ASSERT_LT(m.Len, m.N);
  EXPECT_EQ(View->PositionTrackBar->maximum(), m.N);
  EXPECT_EQ(View->PositionTrackBar->SelStart(), m.Len);
  EXPECT_EQ(View->PositionTrackBar->SelEnd(), m.N);
  View->PositionTrackBar->setValue(m.N);
  EXPECT_EQ(m.CurrentStep, m.Len);
}

// An edit that shortens the solved range while a later step is shown: the bar and the status
// read-out go to the range's end with the drawing; taken back, the chosen step returns.
TEST_F(AnimationFrmTest, ShortenedRangeTakesTheBarAndTheReadOutToItsEnd) {
  OpenFourbar();
  TAniMechanism& m = View->Mechanism();
  View->PositionTrackBar->setValue(100);
  ASSERT_EQ(Status(2), QStringLiteral("Pos: 100"));
  const double bx = m.Joint(m.FindJoint('B')).Positions[0].X;
  m.Joint(m.FindJoint('B')).Positions[0].X = -1.5;
  View->MechanismChanged();
  ASSERT_LT(m.Len, 100);
  EXPECT_EQ(m.ShownStep(), m.Len);
  EXPECT_EQ(View->PositionTrackBar->value(), m.Len);
  EXPECT_EQ(Status(2), QStringLiteral("Pos: %1").arg(m.Len));
  m.Joint(m.FindJoint('B')).Positions[0].X = bx;
  View->MechanismChanged();
  ASSERT_EQ(m.Len, m.N);
  EXPECT_EQ(m.CurrentStep, 100);
  EXPECT_EQ(View->PositionTrackBar->value(), 100);
  EXPECT_EQ(Status(2), QStringLiteral("Pos: 100"));
}

TEST_F(AnimationFrmTest, TimerTicksAdvanceBySpeedAndRestartAtTheStepSize) {
  OpenFourbar();
  struct TCase {
    int Speed;
    int Interval;
    int Step;
    int From;
    std::vector<int> Steps;
  };
  const TCase cases[] = {
      {0, 130, 1, 118, {119, 120, 1, 2}},
      {1, 110, 2, 116, {118, 120, 2, 4}},
      {2, 90, 4, 112, {116, 120, 4, 8}},
      // Stored speeds are taken modulo 3.
      {5, 90, 4, 0, {4, 8, 12}},
  };
  for (const TCase& c : cases) {
    View->SetSpeed(c.Speed);
    EXPECT_EQ(View->AnimationTimer->interval(), c.Interval) << c.Speed;
    EXPECT_EQ(View->StepsPerTick(), c.Step) << c.Speed;
    View->StartButtonClick(nullptr);
    ASSERT_TRUE(View->StartButton->isChecked());
    View->PositionTrackBar->setValue(c.From);
    std::vector<int> seen;
    for (size_t i = 0; i < c.Steps.size(); ++i) {
      View->AnimationTimerTimer();
      seen.push_back(View->Mechanism().CurrentStep);
      EXPECT_TRUE(View->AnimationTimer->isActive());
    }
    EXPECT_EQ(seen, c.Steps) << c.Speed;
    View->StopButtonClick();
    EXPECT_FALSE(View->AnimationTimer->isActive());
    EXPECT_FALSE(View->StartButton->isChecked());
    EXPECT_EQ(View->PositionTrackBar->value(), 0);
    EXPECT_EQ(View->Mechanism().CurrentStep, 0);
  }
  // A negative speed leaves interval and step as they were.
  View->SetSpeed(2);
  View->SetSpeed(-1);
  EXPECT_EQ(View->Speed(), 2);
  EXPECT_EQ(View->AnimationTimer->interval(), 90);
  // The speed button cycles Low, Medium, High.
  View->SpeedButton->click();
  EXPECT_EQ(View->Speed(), 0);
  EXPECT_EQ(View->SpeedButton->toolTip(), QStringLiteral("Low Animation Speed"));
}

TEST_F(AnimationFrmTest, StartTogglesTheButtonAndTheTimerTogether) {
  OpenFourbar();
  View->StartButton->click();
  EXPECT_TRUE(View->AnimationTimer->isActive());
  EXPECT_EQ(View->StartButton->property("ImageIndex").toInt(), 4);
  EXPECT_EQ(View->StartButton->toolTip(), QStringLiteral("Pause"));
  // A menu item or key is another sender: it flips the button.
  View->StartButtonClick(nullptr);
  EXPECT_FALSE(View->StartButton->isChecked());
  EXPECT_FALSE(View->AnimationTimer->isActive());
  EXPECT_EQ(View->StartButton->property("ImageIndex").toInt(), 5);
  EXPECT_EQ(View->StartButton->statusTip(), QStringLiteral("Start Animation <Space>"));
  // A tick after a stop does not set the timer going again.
  View->AnimationTimerTimer();
  EXPECT_FALSE(View->AnimationTimer->isActive());
}

TEST_F(AnimationFrmTest, RecordMakesTheCurrentStepTheDesignPosition) {
  OpenFourbar();
  TAniMechanism& m = View->Mechanism();
  View->PositionTrackBar->setValue(30);
  const TPositionRecord at30 = m.Joint(m.FindJoint('B')).Positions[30];
  View->RecordButton->click();
  EXPECT_NEAR(m.Joint(m.FindJoint('B')).Positions[0].X, at30.X, 1e-12);
  EXPECT_NEAR(m.Joint(m.FindJoint('B')).Positions[0].Y, at30.Y, 1e-12);
  EXPECT_TRUE(View->IsModified());
  EXPECT_EQ(View->PositionTrackBar->value(), 0);
}

// Stored, the position is solved afresh: the bar's band follows the new solved length.
TEST_F(AnimationFrmTest, RecordRefreshesTheUnsolvedBand) {
  OpenFourbar();
  TAniMechanism& m = View->Mechanism();
  m.Joint(m.FindJoint('B')).Positions[0].X = -1.5;
  View->MechanismChanged();
  const int solved = m.Len;
  ASSERT_LT(solved, m.N);
  View->PositionTrackBar->setValue(solved);
  View->RecordButton->click();
  ASSERT_NE(m.Len, solved);
  EXPECT_EQ(View->PositionTrackBar->SelStart(), m.Len);
  EXPECT_EQ(View->PositionTrackBar->SelEnd(), m.N);
}

TEST_F(AnimationFrmTest, ToolButtonsSetCanvasModesAndAddToolsSaveAnUndoState) {
  OpenFourbar();
  struct TCase {
    QToolButton* Button;
    TTool Tool;
    int Clicks;
  };
  const TCase cases[] = {
      {View->ZoomInButton, TTool::ZoomRect, 0},
      {View->ZoomOutButton, TTool::ZoomOut, 0},
      {View->AddCurveButton, TTool::AddCurvePoint, 0},
      {View->AddAreaButton, TTool::AddArea, 0},
      {View->MoveButton, TTool::Pan, 0},
      {View->ZoomButton, TTool::DragZoom, 0},
      {View->AddInputButton, TTool::AddInput, 2},
      {View->AddDyadButton, TTool::AddDyad, 2},
      {View->AddJointButton, TTool::AddJoint, 1},
      {View->AddSliderButton, TTool::AddSlider, 2},
      {View->SelectButton, TTool::Select, 0},
  };
  shared::TTabLines& store = shared::TabLines();
  for (const TCase& c : cases) {
    store.ClearHistory();
    c.Button->click();
    EXPECT_EQ(View->Tool(), c.Tool) << c.Button->objectName().toStdString();
    EXPECT_EQ(View->Mechanism().AddClicks, c.Clicks);
    EXPECT_EQ(!store.History[0].empty(), c.Clicks > 0) << c.Button->objectName().toStdString();
    for (QToolButton* other :
         {View->SelectButton, View->MoveButton, View->ZoomInButton, View->ZoomOutButton, View->ZoomButton,
          View->AddInputButton, View->AddDyadButton, View->AddSliderButton, View->AddJointButton,
          View->AddCurveButton, View->AddAreaButton}) {
      EXPECT_EQ(other->isChecked(), other == c.Button) << other->objectName().toStdString();
    }
  }
  // Esc: stop, Select tool.
  View->AddDyadButton->click();
  View->StartButton->click();
  View->StopAndSelect();
  EXPECT_EQ(View->Tool(), TTool::Select);
  EXPECT_FALSE(View->AnimationTimer->isActive());
}

TEST_F(AnimationFrmTest, PlainClickPushesNoUndoEntryAndAddsCurvePointsInCurveMode) {
  OpenFourbar();
  shared::TTabLines& store = shared::TabLines();
  View->resize(600, 400);
  QTest::mouseClick(View->PaintBox1, Qt::LeftButton, {}, QPoint(40, 40));
  EXPECT_TRUE(store.History[0].empty());

  const int points = View->Mechanism().Curve.PointCount();
  View->AddCurveButton->click();
  QTest::mouseClick(View->PaintBox1, Qt::LeftButton, {}, QPoint(60, 60));
  EXPECT_EQ(View->Mechanism().Curve.PointCount(), points + 1);
  EXPECT_TRUE(View->IsModified());
  // A plain click elsewhere deselects the curve point as well.
  View->SelectButton->click();
  View->Mechanism().Curve.Point(points).Selected = true;
  QTest::mouseClick(View->PaintBox1, Qt::LeftButton, {}, QPoint(300, 300));
  EXPECT_LT(View->Mechanism().Curve.LastSelected(), 0);
}

TEST_F(AnimationFrmTest, DraggingAJointMovesItAndLeavesOneUndoEntry) {
  OpenFourbar();
  View->resize(800, 600);
  View->show();
  TAniMechanism& m = View->Mechanism();
  const int c = m.FindJoint('C');
  const TPositionRecord before = m.Joint(c).Positions[0];
  const shared::TPoint at = View->Canvas().WorldToScreen(before.X, before.Y);
  shared::TTabLines& store = shared::TabLines();
  ASSERT_TRUE(store.History[0].empty());
  QTest::mousePress(View->PaintBox1, Qt::LeftButton, {}, QPoint(at.X, at.Y));
  EXPECT_EQ(m.SelectionKind(), TSelectionKind::Joint);
  QTest::mouseMove(View->PaintBox1, QPoint(at.X + 20, at.Y));
  QTest::mouseRelease(View->PaintBox1, Qt::LeftButton, {}, QPoint(at.X + 20, at.Y));
  const double moved = m.Joint(c).Positions[0].X - before.X;
  EXPECT_NEAR(moved, View->Canvas().PixelsToWorld(20), 1e-9);
  EXPECT_EQ(View->LastSelectionKind(), TSelectionKind::Joint);
  EXPECT_TRUE(View->IsModified());
  EXPECT_FALSE(store.History[0].empty());
  EXPECT_TRUE(store.History[1].empty());
  View->Undo();
  EXPECT_DOUBLE_EQ(m.Joint(c).Positions[0].X, before.X);
}

// A drag that ends where it began changed nothing: as after every other command, no undo entry
// is left that Undo would spend on nothing.
TEST_F(AnimationFrmTest, DraggingAJointBackToItsStartLeavesNoUndoEntry) {
  const shared::TPoint joint = ShowFourbarAtJoint('C');
  const QPoint start(joint.X, joint.Y);
  TAniMechanism& m = View->Mechanism();
  const auto before = Document(m);
  ASSERT_TRUE(shared::TabLines().History[0].empty());
  QTest::mousePress(View->PaintBox1, Qt::LeftButton, {}, start);
  QTest::mouseMove(View->PaintBox1, start + QPoint(20, 0));
  ASSERT_NE(Document(m), before) << "the drag moved the joint";
  QTest::mouseMove(View->PaintBox1, start);
  QTest::mouseRelease(View->PaintBox1, Qt::LeftButton, {}, start);
  ASSERT_EQ(Document(m), before);
  EXPECT_TRUE(shared::TabLines().History[0].empty());
}

// The store serves others while the button is held (the main window's clipboard watcher loads
// every clipboard change into it): the undo entry of the drag is still the mechanism before it.
TEST_F(AnimationFrmTest, ClipboardChangeDuringADragLeavesItsUndoEntry) {
  OpenFourbar();
  View->resize(800, 600);
  View->show();
  TAniMechanism& m = View->Mechanism();
  const auto before = Document(m);
  const int c = m.FindJoint('C');
  const TPositionRecord at = m.Joint(c).Positions[0];
  const shared::TPoint screen = View->Canvas().WorldToScreen(at.X, at.Y);
  QTest::mousePress(View->PaintBox1, Qt::LeftButton, {}, QPoint(screen.X, screen.Y));
  Clipboard.Text = "Text copied by another program\r\n";
  ASSERT_TRUE(shared::TabLines().LoadFromClipboard(Clipboard));
  QTest::mouseMove(View->PaintBox1, QPoint(screen.X + 20, screen.Y));
  QTest::mouseRelease(View->PaintBox1, Qt::LeftButton, {}, QPoint(screen.X + 20, screen.Y));
  ASSERT_NE(Document(m), before);
  Log.Lines.clear();
  View->Undo();
  EXPECT_TRUE(Log.Lines.empty());
  EXPECT_EQ(Document(m), before);
}

TEST_F(AnimationFrmTest, AddInputToolTakesTwoClicksThenSelectReturns) {
  OpenFourbar();
  View->resize(800, 600);
  View->show();
  TAniMechanism& m = View->Mechanism();
  const int joints = m.JointCount();
  View->AddInputButton->click();
  ASSERT_EQ(View->Tool(), TTool::AddInput);
  QTest::mouseClick(View->PaintBox1, Qt::LeftButton, {}, QPoint(100, 100));
  EXPECT_EQ(m.AddClicks, 1);
  EXPECT_EQ(m.JointCount(), joints + 2);
  QTest::mouseMove(View->PaintBox1, QPoint(140, 100));
  QTest::mouseClick(View->PaintBox1, Qt::LeftButton, {}, QPoint(140, 100));
  EXPECT_EQ(m.AddClicks, 0);
  EXPECT_EQ(View->Tool(), TTool::Select);
  EXPECT_TRUE(View->SelectButton->isChecked());
  EXPECT_FALSE(View->AddInputButton->isChecked());
  EXPECT_TRUE(View->IsModified());
  // The tool saved the mechanism before it changed anything.
  View->Undo();
  EXPECT_EQ(m.JointCount(), joints);
}

// A document that replaces the one an add tool was working on ends the tool: its next clicks
// would otherwise move and join joints of the new document.
TEST_F(AnimationFrmTest, ReplacedDocumentEndsAnAddTool) {
  const std::string path = (Folder / "saved.mech").string();
  struct TCase {
    const char* Name;
    std::function<void()> Replace;
  };
  const TCase cases[] = {
      {"undo", [&] { View->Undo(); }},
      {"new", [&] { View->NewMechanism(0); }},
      {"open", [&] { View->LoadFromFile(path); }},
      {"paste", [&] { View->PasteFromClipboard(); }},
  };
  View->resize(800, 600);
  View->show();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    OpenFourbar();
    View->SaveToFile(path);
    View->CopyToClipboard();
    TAniMechanism& m = View->Mechanism();
    View->AddDyadButton->click();
    QTest::mouseClick(View->PaintBox1, Qt::LeftButton, {}, QPoint(100, 100));
    ASSERT_EQ(m.AddClicks, 1);
    c.Replace();
    const auto replaced = Document(m);
    EXPECT_EQ(View->Tool(), TTool::Select);
    EXPECT_TRUE(View->SelectButton->isChecked());
    QTest::mouseMove(View->PaintBox1, QPoint(160, 120));
    QTest::mouseClick(View->PaintBox1, Qt::LeftButton, {}, QPoint(160, 120));
    EXPECT_EQ(Document(m), replaced);
  }
}

TEST_F(AnimationFrmTest, PopupMenuFollowsTheSelection) {
  OpenFourbar();
  TAniMechanism& m = View->Mechanism();
  View->PopupMenu1Popup();
  EXPECT_FALSE(View->PopTogglePath->isVisible());
  EXPECT_FALSE(View->PopToggleGraph->isVisible());
  EXPECT_FALSE(View->PopInstCenters->isVisible());
  EXPECT_TRUE(View->PopDXFDrawing->isVisible());
  EXPECT_TRUE(View->PopOptions->isVisible());

  // E is the traced, analysed coupler point of the preset; A carries the input function.
  m.Joint(m.FindJoint('E')).Selected = 1;
  View->PopupMenu1Popup();
  EXPECT_TRUE(View->PopTogglePath->isVisible());
  EXPECT_EQ(View->PopTogglePath->text(), QStringLiteral("Hide &Path"));
  EXPECT_EQ(View->PopToggleGraph->text(), QStringLiteral("Hide &Graph"));
  EXPECT_EQ(View->PopToggleLock->text(), QStringLiteral("&Lock"));
  EXPECT_FALSE(View->PopEditInput->isVisible());
  EXPECT_FALSE(View->PopDXFDrawing->isVisible());
  View->PopToggleLock->trigger();
  View->PopupMenu1Popup();
  EXPECT_EQ(View->PopToggleLock->text(), QStringLiteral("Un&lock"));
  EXPECT_TRUE(View->PopToggleLock->isChecked());

  m.Joint(m.FindJoint('E')).Selected = 0;
  m.Joint(m.FindJoint('A')).Selected = 1;
  View->PopupMenu1Popup();
  EXPECT_TRUE(View->PopEditInput->isVisible());
  m.Joint(m.FindJoint('A')).Selected = 0;

  // Instant centres need a link.
  View->PopInstCenters->trigger();
  EXPECT_TRUE(Log.Has(View->ErrorICText));
}

// The pop-up's Instant Centers shows the centre of the selected link also while View Options had
// the centres off (as they are at first): the drawing has the current step's centre as a filled
// circle in the centre colour.
TEST_F(AnimationFrmTest, InstantCentersFromThePopupAreShown) {
  OpenFourbar();
  View->resize(600, 450);
  View->show();
  QCoreApplication::processEvents();
  TAniMechanism& m = View->Mechanism();
  ASSERT_EQ(m.ShowCentres, 0);
  View->PositionTrackBar->setValue(10);
  m.DeselectAll();
  m.Link(m.FindLink("BCE")).Selected = 1;
  View->PopInstCenters->trigger();
  EXPECT_EQ(m.ShowCentres, 1);
  QCoreApplication::processEvents();
  const TCentreRecord& centre = m.CentreAt[10];
  ASSERT_EQ(centre.AtInfinity, 0);
  const shared::TPoint at = View->Canvas().WorldToScreen(centre.X, centre.Y);
  const shared::TRaster shown = View->Canvas().PaintBox().Canvas().ReadPixels();
  ASSERT_TRUE(at.X > 5 && at.Y > 5 && at.X < shown.Width - 5 && at.Y < shown.Height - 5)
      << "the centre lies in the drawing";
  EXPECT_EQ(shown.ColorAt(at.X, at.Y), m.CentreColour);
  EXPECT_FALSE(Log.Has(View->ErrorICText));
}

// Every pop-up toggle changes a flag the document stores, so the document counts as modified
// and is not dropped without "Save ?".
TEST_F(AnimationFrmTest, PopupTogglesMarkTheDocumentModified) {
  for (QAction* item :
       {View->PopTogglePath, View->PopToggleLock, View->PopToggleGraph, View->PopToggleVectors}) {
    OpenFourbar();
    ASSERT_FALSE(View->IsModified());
    TAniMechanism& m = View->Mechanism();
    m.Joint(m.FindJoint('C')).Selected = 1;
    const auto before = Document(m);
    item->trigger();
    EXPECT_NE(Document(m), before) << item->objectName().toStdString();
    EXPECT_TRUE(View->IsModified()) << item->objectName().toStdString();
  }
}

TEST_F(AnimationFrmTest, NewSaveOpenAndUndo) {
  OpenFourbar();
  const auto fourbar = Document(View->Mechanism());
  View->NewMechanism(1);
  EXPECT_EQ(View->FileName(), "Untitled");
  EXPECT_FALSE(View->IsModified());
  EXPECT_EQ(View->Mechanism().PresetType, 1);
  const auto type1 = Document(View->Mechanism());
  EXPECT_NE(type1, fourbar);

  // The new mechanism left the previous one restorable.
  View->Undo();
  EXPECT_EQ(Document(View->Mechanism()), fourbar);
  EXPECT_TRUE(View->IsModified());

  const std::string path = (Folder / "saved.mech").string();
  View->SaveToFile(path);
  EXPECT_EQ(View->FileName(), path);
  EXPECT_FALSE(View->IsModified());
  EXPECT_EQ(Status(3).toStdString(), path);
  // Saving empties the undo history.
  View->Undo();
  EXPECT_EQ(Document(View->Mechanism()), fourbar);
  EXPECT_FALSE(View->IsModified());

  View->NewMechanism(7);
  View->LoadFromFile(path);
  EXPECT_EQ(Document(View->Mechanism()), fourbar);
  EXPECT_EQ(View->FileName(), path);
  // Opening empties the undo history too.
  View->Undo();
  EXPECT_EQ(Document(View->Mechanism()), fourbar);

  // A save without a name keeps the file name.
  View->Mechanism().Joint(0).Positions[0].X += 0.01;
  View->MechanismChanged();
  EXPECT_TRUE(View->IsModified());
  View->SaveToFile("");
  EXPECT_EQ(View->FileName(), path);
  View->LoadFromFile(path);
  EXPECT_NEAR(View->Mechanism().Joint(0).Positions[0].X, -0.31, 1e-12);
}

TEST_F(AnimationFrmTest, ProjectInformationTravelsWithTheDocument) {
  OpenFourbar();
  View->ProjectInfo().Title = "Wiper";
  View->ProjectInfo().Comments = {"first", "second"};
  const std::string path = (Folder / "info.mech").string();
  View->SaveToFile(path);
  View->ProjectInfo().Title.clear();
  View->LoadFromFile(path);
  EXPECT_EQ(View->ProjectInfo().Title, "Wiper");
  EXPECT_EQ(View->ProjectInfo().Comments, (std::vector<std::string>{"first", "second"}));
  View->CopyToClipboard();
  EXPECT_NE(Clipboard.Text.find("Wiper"), std::string::npos);
}

TEST_F(AnimationFrmTest, FailedOpenKeepsTheDocumentItsNameAndItsUndoHistory) {
  OpenFourbar();
  const std::string path = (Folder / "kept.mech").string();
  View->SaveToFile(path);
  View->NewMechanism(1);
  View->SaveToFile(path);
  View->Mechanism().Joint(0).Positions[0].X += 0.01;
  View->MechanismChanged();
  View->Mechanism().SaveUndoState();
  const auto before = Document(View->Mechanism());
  const auto history = shared::TabLines().History;

  EXPECT_THROW(View->LoadFromFile(kFixtures + "/newer.mech"), EMechanismError);
  EXPECT_EQ(Document(View->Mechanism()), before);
  EXPECT_EQ(View->FileName(), path);
  EXPECT_TRUE(View->IsModified());
  EXPECT_EQ(shared::TabLines().History, history);
  EXPECT_TRUE(shared::TabLines().Lines.empty());

  // A missing file is logged; the document stays.
  const std::string missing = (Folder / "missing.mech").string();
  View->LoadFromFile(missing);
  EXPECT_TRUE(Log.Has("[Error] " + missing + " does not exist!"));
  EXPECT_EQ(Document(View->Mechanism()), before);
  EXPECT_EQ(View->FileName(), "Untitled");
}

// File names are paths of the file system (UTF-8 here); the status line and the log show them
// as the user wrote them.
TEST_F(AnimationFrmTest, FileNamesBeyondAsciiAreShownAsWritten) {
  OpenFourbar();
  const std::string saved = (Folder / "Getriebe f\xc3\xbcr T\xc3\xbcr.mech").string();
  View->SaveToFile(saved);
  EXPECT_EQ(Status(3), QString::fromUtf8(saved.c_str()));
  const std::string missing = (Folder / "caf\xc3\xa9.mech").string();
  View->LoadFromFile(missing);
  EXPECT_TRUE(Log.Has("[Error] " + shared::Utf8ToCp1252(missing) + " does not exist!"));
}

TEST_F(AnimationFrmTest, FailedSaveKeepsTheNameAndTheModifiedState) {
  OpenFourbar();
  View->MechanismChanged();
  const std::string bad = (Folder / "no-such-folder" / "x.mech").string();
  EXPECT_THROW(View->SaveToFile(bad), std::runtime_error);
  EXPECT_EQ(View->FileName(), kFixtures + "/fourbar.mech");
  EXPECT_TRUE(View->IsModified());
}

// File > Save under a file size limit smaller than the document: the write error is shown, the
// old file stays whole with nothing beside it, and the document keeps its name, its undo
// history and its modified state. Without the limit the same save goes through.
TEST_F(AnimationFrmTest, AFileSizeLimitFailsTheSaveAndKeepsTheOldFile) {
  std::vector<QString> errors;
  SetExceptionHandler([&](const QString& text) { errors.push_back(text); });
  // Gone however the test ends: the handler refers to this test's list.
  struct TRestoreHandler {
    ~TRestoreHandler() { SetExceptionHandler(nullptr); }
  } restoreHandler;
  const std::filesystem::path document = Folder / "fourbar.mech";
  std::filesystem::copy_file(kFixtures + "/fourbar.mech", document);
  const std::string before = shared::test::ReadBytes(document);
  View.reset();
  auto* view = new TAnimationFrm(Clipboard);
  TMainForm form(view, nullptr, Clipboard);
  form.SetCommandLine(QString::fromStdString(document.string()));
  form.show();
  ASSERT_EQ(view->FileName(), document.string());
  view->Mechanism().SaveUndoState();
  view->MechanismChanged();
  ASSERT_TRUE(view->IsModified());
  {
    const shared::test::TFileSizeLimit limit(before.size() / 2);
    EXPECT_FALSE(form.FileSaveClick());
  }
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].toStdString(), "Cannot save \"" + document.string() + "\": the file would pass the limit on file size.");
  EXPECT_EQ(shared::test::ReadBytes(document), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Folder), std::filesystem::directory_iterator()), 1);
  EXPECT_TRUE(view->IsModified());
  EXPECT_EQ(view->FileName(), document.string());
  EXPECT_TRUE(shared::TabLines().Undo());

  errors.clear();
  EXPECT_TRUE(form.FileSaveClick());
  EXPECT_TRUE(errors.empty());
  EXPECT_FALSE(view->IsModified());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Folder), std::filesystem::directory_iterator()), 1);
}

TEST_F(AnimationFrmTest, CopyAndPasteThroughTheClipboard) {
  OpenFourbar();
  const auto fourbar = Document(View->Mechanism());
  View->CopyToClipboard();
  EXPECT_NE(Clipboard.Text.find("[Quillon>\r\n0\r\n<Quillon]\r\n"), std::string::npos);

  View->NewMechanism(1);
  View->PasteFromClipboard();
  EXPECT_EQ(Document(View->Mechanism()), fourbar);
  EXPECT_EQ(View->FileName(), "Untitled");
  EXPECT_TRUE(View->IsModified());
  // The paste pushed no undo entry: Undo gives back what stood before the last new mechanism.
  View->Undo();
  EXPECT_EQ(Document(View->Mechanism()), fourbar);
  View->Undo();
  EXPECT_EQ(Document(View->Mechanism()), fourbar);
}

// The mark of a curve fit belongs to the document it was run on; the report shows it.
TEST_F(AnimationFrmTest, ADocumentThatReplacesAnOptimisedOneIsNotMarkedOptimised) {
  OpenFourbar();
  View->CopyToClipboard();
  const std::pair<const char*, std::function<void()>> commands[] = {
      {"preset", [this] { View->NewMechanism(0); }},
      {"custom", [this] { View->NewMechanism(13); }},
      {"open", [this] { View->LoadFromFile(kFixtures + "/fourbar.mech"); }},
      {"paste", [this] { View->PasteFromClipboard(); }},
  };
  for (const auto& [name, command] : commands) {
    SCOPED_TRACE(name);
    View->Mechanism().Optimized = 1;
    command();
    EXPECT_EQ(View->Mechanism().Optimized, 0);
  }
}

TEST_F(AnimationFrmTest, FailedPasteKeepsTheDocument) {
  OpenFourbar();
  const std::string path = (Folder / "named.mech").string();
  View->SaveToFile(path);
  const auto before = Document(View->Mechanism());
  struct TCase {
    std::string Text;
    std::string Error;
  };
  const TCase cases[] = {
      {"", "[Error] Empty clipboard"},
      {"just some words\r\n", "[Error] Error: This is invalid Quillon mechanism data!"},
      {"[Quillon>\r\n3\r\n<Quillon]\r\n",
       "[Error] Error: You need a new version of Quillon to read this data!"},
  };
  for (const TCase& c : cases) {
    Log.Lines.clear();
    Clipboard.Text = c.Text;
    View->PasteFromClipboard();
    EXPECT_TRUE(Log.Has(c.Error)) << c.Text;
    EXPECT_EQ(Document(View->Mechanism()), before) << c.Text;
    EXPECT_EQ(View->FileName(), path) << c.Text;
    EXPECT_FALSE(View->IsModified()) << c.Text;
    EXPECT_TRUE(shared::TabLines().Lines.empty());
  }
}

TEST_F(AnimationFrmTest, ClipboardHeaderCheck) {
  struct TCase {
    std::string Text;
    int Result;
    std::string Status;
  };
  const TCase cases[] = {
      {"[Quillon>\r\n0\tVesk\r\n<Quillon]\r\n", 2, "Okay"},
      {"[Quillon>\r\n0\tvESK\r\n<Quillon]\r\n", 2, "Okay"},
      {"[Quillon>\r\n0\tQuillon\r\n<Quillon]\r\n", 1, "Okay"},
      {"[Quillon>\r\n0\r\n<Quillon]\r\n", 1, "Okay"},
      {"[Quillon>\r\n-96\r\n<Quillon]\r\n", -3,
       "Error: You need a new version of Quillon to read this data!"},
      {"[Quillon>\r\n<Quillon]\r\n", 0, "Okay"},
      {"[Joints>\r\n<Joints]\r\n", -2, "Error: This is invalid Quillon mechanism data!"},
  };
  for (const TCase& c : cases) {
    Clipboard.Text = c.Text;
    ASSERT_TRUE(shared::TabLines().LoadFromClipboard(Clipboard) || c.Text.empty());
    EXPECT_EQ(View->CheckClipboardHeader(), c.Result) << c.Text;
    EXPECT_EQ(View->HeaderStatusText(), c.Status) << c.Text;
  }
}

TEST_F(AnimationFrmTest, CommandsThatReplaceTheDocumentWaitForARunningLoop) {
  OpenFourbar();
  View->NewMechanism(1);
  View->CopyToClipboard();
  const auto type1 = Document(View->Mechanism());
  View->NewMechanism(7);
  const auto before = Document(View->Mechanism());
  const std::string path = (Folder / "other.mech").string();
  View->SaveToFile(path);
  View->Mechanism().SaveUndoState();

  ASSERT_TRUE(View->BeginLoop());
  // A second start of the loop is ignored.
  EXPECT_FALSE(View->BeginLoop());
  EXPECT_NE(View->RunningLoop(), TLoop::None);
  Log.Lines.clear();
  View->NewMechanism(0);
  View->LoadFromFile(kFixtures + "/fourbar.mech");
  View->PasteFromClipboard();
  View->Undo();
  EXPECT_EQ(Document(View->Mechanism()), before);
  EXPECT_EQ(View->FileName(), path);
  EXPECT_EQ(Log.Lines.size(), 4u);
  EXPECT_TRUE(Log.Has("[Warning] " + View->BusyText));
  View->EndLoop();

  View->PasteFromClipboard();
  EXPECT_EQ(Document(View->Mechanism()), type1);
}

TEST_F(AnimationFrmTest, ExceptionsOfHandlersGoToTheLog) {
  OpenFourbar();
  View->OnChange = [] { throw std::runtime_error("refresh failed"); };
  View->DeleteButton->click();
  EXPECT_TRUE(Log.Has("[Error] refresh failed"));
}

TEST_F(AnimationFrmTest, DefaultSettingsAreWrittenWhenTheViewGoes) {
  View->SetRegistryKey(kKey);
  EXPECT_EQ(View->Speed(), 2);
  EXPECT_EQ(View->Mechanism().N, 120);
  View.reset();
  const auto& values = SettingsStore().Values.at(kAnimationSection);
  const std::map<std::string, std::string> expected = {
      {"JointColor", "16777215"}, {"LinkColor", "16776960"}, {"EdgeColor", "0"},
      {"PathColor", "16711680"},  {"VelColor", "16711680"},  {"AccColor", "255"},
      {"ICColor", "32768"},       {"LabelColor", "0"},       {"Speed", "2"},
      {"Steps", "120"},           {"ShowInstCenters", "0"},  {"ShowJointLabels", "1"},
      {"ShowVelocity", "1"},      {"ShowAcceleration", "1"}, {"GridColor", "12632256"},
      {"GridSpace", "  0.1000"},  {"Background", "2"},       {"GraphHeight", "171"},
  };
  for (const auto& [name, value] : expected) {
    ASSERT_TRUE(values.count(name)) << name;
    EXPECT_EQ(values.at(name), value) << name;
  }
}

TEST_F(AnimationFrmTest, StoredSettingsReachTheViewAndBadOnesFallBack) {
  struct TCase {
    std::map<std::string, std::string> Stored;
    int Steps;
    double GridStep;
    shared::TGridStyle GridStyle;
    int Speed;
  };
  using shared::TGridStyle;
  const TCase cases[] = {
      {{{"Steps", "60"}, {"GridSpace", "0.100"}, {"Background", "1"}, {"Speed", "0"}},
       60,
       0.1,
       TGridStyle::Axes,
       0},
      {{{"GridSpace", "0.25"}, {"Background", "0"}, {"Speed", "4"}}, 120, 0.25, TGridStyle::None, 1},
      {{{"Steps", "0"}, {"GridSpace", "abc"}, {"Background", "4"}}, 120, 0.1, TGridStyle::Lines, 2},
      {{{"Steps", "-5"}, {"GridSpace", "0"}, {"Background", "-1"}}, 120, 0.1, TGridStyle::Lines, 2},
      {{{"Steps", "many"}, {"GridSpace", "-0.5"}, {"Speed", "-3"}}, 120, 0.1, TGridStyle::Lines, 1},
  };
  for (const TCase& c : cases) {
    SettingsStore().Values.clear();
    for (const auto& [name, value] : c.Stored) SettingsStore().WriteString(kAnimationSection, name, value);
    auto view = std::make_unique<TAnimationFrm>(Clipboard);
    view->SetRegistryKey(kKey);
    EXPECT_EQ(view->Mechanism().N, c.Steps);
    EXPECT_DOUBLE_EQ(view->Canvas().GridStep, c.GridStep);
    EXPECT_EQ(view->Canvas().GridStyle, c.GridStyle);
    EXPECT_EQ(view->Speed(), c.Speed);
    EXPECT_EQ(view->PositionTrackBar->maximum(), c.Steps);
    view.reset();
    EXPECT_EQ(SettingsStore().ReadString(kAnimationSection, "GridSpace", ""), FormatGridSpace(c.GridStep));
  }
  EXPECT_EQ(FormatGridSpace(0.1), "  0.1000");
  EXPECT_EQ(FormatGridSpace(12.5), " 12.5000");
}

TEST_F(AnimationFrmTest, NothingIsReadOrWrittenWithoutAKey) {
  SettingsStore().WriteString(kAnimationSection, "Steps", "60");
  View->LoadSettings();
  EXPECT_EQ(View->Mechanism().N, TAniMechanism::kDefaultPositions);
  SettingsStore().Values.clear();
  View.reset();
  EXPECT_TRUE(SettingsStore().Values.empty());
}

TEST_F(AnimationFrmTest, LanguageTextsReplaceCaptionsHintsAndMessages) {
  OpenFourbar();
  std::istringstream file(
      "[Animation]\r\n"
      "Select=Kies|Kies een element\r\n"
      "Pos=Stand\r\n"
      "Low=Langzaam\r\n"
      "SendToFront=Naar &achteren\r\n"
      "HidePath=Verberg &pad\r\n"
      "Empty=Klembord leeg\r\n"
      "FileNotExist=%s bestaat niet!\r\n");
  TLanguageFile texts;
  texts.LoadFromStream(file);
  View->SetSpeed(0);
  View->ReadTexts(texts);
  EXPECT_EQ(View->SelectButton->toolTip(), QStringLiteral("Kies"));
  EXPECT_EQ(View->SelectButton->statusTip(), QStringLiteral("Kies een element"));
  EXPECT_EQ(View->SpeedButton->toolTip(), QStringLiteral("Langzaam"));
  EXPECT_EQ(View->PopSendToBack->text(), QStringLiteral("Naar &achteren"));
  // Keys the file lacks keep their English texts.
  EXPECT_EQ(View->PopBringToFront->text(), QStringLiteral("Bring to &front"));
  EXPECT_EQ(View->PopInstCenters->text(), QStringLiteral("Instant &Centers"));
  View->PositionTrackBar->setValue(3);
  EXPECT_EQ(Status(2), QStringLiteral("Stand: 3"));
  TAniMechanism& m = View->Mechanism();
  m.Joint(m.FindJoint('E')).Selected = 1;
  View->PopupMenu1Popup();
  EXPECT_EQ(View->PopTogglePath->text(), QStringLiteral("Verberg &pad"));
  Clipboard.Text.clear();
  View->PasteFromClipboard();
  EXPECT_TRUE(Log.Has("[Error] Klembord leeg"));
  View->LoadFromFile("/no/such.mech");
  EXPECT_TRUE(Log.Has("[Error] /no/such.mech bestaat niet!"));
}

TEST_F(AnimationFrmTest, GraphPanelShowsAndHides) {
  EXPECT_TRUE(View->IsGraphVisible());
  View->SetGraphVisible(false);
  EXPECT_FALSE(View->IsGraphVisible());
  EXPECT_TRUE(View->PanelBottom->isHidden());
  View->SetGraphVisible(true);
  EXPECT_FALSE(View->PanelBottom->isHidden());
}

// A click in the drawing gives the view the focus, so the Delete key deletes what the click
// selected.
TEST_F(AnimationFrmTest, ClickInTheDrawingTakesTheFocusForDelete) {
  shared::CreateConvert();
  View.reset();
  auto* view = new TAnimationFrm(Clipboard);
  {
    TMainForm form(view, nullptr, Clipboard);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    int deletes = 0;
    view->OnAreaChange = [&] { ++deletes; };
    form.Memo1->setFocus();
    QTest::mouseClick(view->PaintBox1, Qt::LeftButton, {}, QPoint(20, 20));
    const int afterClick = deletes;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    EXPECT_EQ(deletes, afterClick + 1);
    view->SetModified(false);
  }
  shared::FreeConvert();
}

TEST_F(AnimationFrmTest, MainWindowHostsTheViewFromStartToClose) {
  shared::CreateConvert();
  std::vector<QString> errors;
  SetExceptionHandler([&](const QString& text) { errors.push_back(text); });
  View.reset();
  auto* view = new TAnimationFrm(Clipboard);
  {
    TMainForm form(view, nullptr, Clipboard);
    form.SetCommandLine(QString::fromStdString(kFixtures + "/fourbar.mech"));
    form.show();
    EXPECT_EQ(view->FileName(), kFixtures + "/fourbar.mech");
    EXPECT_EQ(view->RegistryKey(), kKey);
    EXPECT_EQ(view->Mechanism().N, 120);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("fourbar.mech - Quillon Animator"));
    // A document of the synthesis program on the clipboard becomes the document.
    view->CopyToClipboard();
    std::string text = Clipboard.Text;
    const std::string mark = "[Quillon>\r\n0\r\n";
    ASSERT_NE(text.find(mark), std::string::npos);
    text.replace(text.find(mark), mark.size(), "[Quillon>\r\n0\tVesk\r\n");
    Clipboard.Text = text;
    form.ClipboardChanged();
    EXPECT_EQ(view->FileName(), "Untitled");
    EXPECT_TRUE(view->IsModified());
  }
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(SettingsStore().ReadString(kAnimationSection, "Steps", ""), "120");
  SetExceptionHandler(nullptr);
  shared::FreeConvert();
}

}  // namespace
}  // namespace quillon
