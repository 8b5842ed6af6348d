// Tests of the motion-graph frame in the animation view: kind buttons and x axis, the view's
// wiring (mechanism, changes, step bar cursor, record, texts), error-graph availability with a
// hidden panel, and the JPEG picture in sixteen colours.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QPalette>
#include <QToolBar>
#include <QToolButton>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <sstream>
#include <vector>

#include "animator/app/AnimationFrm.h"
#include "animator/app/AnimationSettings.h"
#include "animator/app/GraphFrm.h"
#include "animator/app/LanguageFile.h"
#include "animator/app/TrackBar.h"
#include "animator/engine/AniMechanism.h"
#include "animator/engine/StdOut.h"
#include "shared/Convert.h"
#include "shared/ProgramInfo.h"
#include "shared/TabLine.h"
#include "shared/Workbook.h"
#include "shared/qt/QtText.h"
#include "shared/qt/XlsxWorkbook.h"
#include "tests/animator/app/AppTestSupport.h"

namespace quillon {
namespace {

const std::string kFixtures = SUITE_FIXTURES;
constexpr const char* kKey = "Software\\Orvane\\Quillon";

std::string Unzip(const std::string& file, const std::string& member) {
  const std::string command = "unzip -p '" + file + "' '" + member + "'";
  std::FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return {};
  std::string out;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  pclose(pipe);
  return out;
}

class GraphFrmTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shared::CreateProgramInfo();
    shared::CreateTabLines();
    shared::CreateConvert();
    shared::Convert().SetSystem(shared::usMetric);
    CreateStdOut();
    SettingsStore().Values.clear();
    shared::SetSettingsFactory(OpenStoreSettings);
    View = std::make_unique<TAnimationFrm>(Clipboard);
    View->resize(800, 600);
    View->SetRegistryKey(kKey);
    View->LoadFromFile(kFixtures + "/fourbar.mech");
    Graph = View->GraphFrm1;
  }

  void TearDown() override {
    View.reset();
    shared::SetSettingsFactory(nullptr);
    FreeStdOut();
    shared::FreeConvert();
    shared::FreeTabLines();
    shared::FreeProgramInfo();
  }

  TAniMechanism& Mechanism() { return View->Mechanism(); }

  // A target curve near three positions of the tracer, so the curve can be fitted.
  void AddTargetCurve() {
    TAniMechanism& m = Mechanism();
    const TAniJoint& e = *m.Tracer;
    for (int s : {0, m.N / 4, m.N / 2})
      m.Curve.AddPoint(shared::TComplex(e.Positions[s].X + 0.01, e.Positions[s].Y));
    // The output rotation counts in the error, so the rotation error has values.
    m.Curve.OutWeight = 1;
  }

  // Each kind button down exactly for the graph's kind.
  void ExpectButtonsFollowKind() {
    for (QToolButton* button :
         {Graph->ErrorButton, Graph->RotErrorButton, Graph->Out0Button, Graph->Out1Button, Graph->Out2Button,
          Graph->Path0Button, Graph->Path1Button, Graph->Path2Button, Graph->Trans0Button})
      EXPECT_EQ(button->isChecked(), button->property("Tag").toInt() == Graph->Data().Kind())
          << button->objectName().toStdString();
  }

  TFakeClipboard Clipboard;
  std::unique_ptr<TAnimationFrm> View;
  TGraphFrm* Graph = nullptr;
};

TEST_F(GraphFrmTest, FrameReplacesThePlaceholderAndPlotsTheOpenedDocument) {
  ASSERT_NE(View->findChild<TGraphFrm*>(QStringLiteral("GraphFrm1")), nullptr);
  EXPECT_EQ(Graph->parentWidget(), View->PanelBottom);
  for (const char* name :
       {"ToolBar2", "TimeButton", "ErrorButton", "RotErrorButton", "Out0Button", "Out1Button", "Out2Button",
        "Path0Button", "Path1Button", "Path2Button", "Trans0Button", "Panel1", "PaintBox1"})
    EXPECT_NE(Graph->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
  const TAniMechanism& m = Mechanism();
  const TMotionGraph& data = Graph->Data();
  EXPECT_EQ(data.Kind(), gkRotation);
  EXPECT_TRUE(Graph->TimeButton->isChecked());
  EXPECT_FALSE(Graph->ErrorAvailable());
  ExpectButtonsFollowKind();
  ASSERT_EQ(data.Count(), m.Len + 1);
  const int bce = m.FindLink("BCE");
  for (int s = 0; s <= m.Len; ++s) EXPECT_EQ(data.Value(s, 0), m.GetLinkValue(s, 0, bce));
}

// Each button plots its quantity of the default four-bar, the error kinds against a target curve.
TEST_F(GraphFrmTest, EveryKindButtonPlotsItsGetter) {
  View->NewMechanism(0);
  AddTargetCurve();
  View->MechanismChanged();
  ASSERT_TRUE(Graph->ErrorAvailable());
  const TAniMechanism& m = Mechanism();
  const int bce = m.FindLink("BCE");
  const int e = m.FindJoint('E');
  struct Case {
    QToolButton* Button;
    std::function<double(int)> Value;
  };
  const std::vector<Case> cases = {
      {Graph->Out0Button, [&](int s) { return m.GetLinkValue(s, 0, bce); }},
      {Graph->Out1Button, [&](int s) { return m.GetLinkValue(s, 1, bce); }},
      {Graph->Out2Button, [&](int s) { return m.GetLinkValue(s, 2, bce); }},
      {Graph->Path0Button, [&](int s) { return m.GetJointValue(s, 0, e); }},
      {Graph->Path1Button, [&](int s) { return m.GetJointValue(s, 1, e); }},
      {Graph->Path2Button, [&](int s) { return m.GetJointValue(s, 2, e); }},
      {Graph->Trans0Button, [&](int s) { return m.GetDyadAngle(s, 0); }},
      {Graph->ErrorButton, [&](int s) { return m.GetPathError(s); }},
      {Graph->RotErrorButton, [&](int s) { return m.GetRotationError(s); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Button->objectName().toStdString());
    c.Button->click();
    ExpectButtonsFollowKind();
    const TMotionGraph& data = Graph->Data();
    ASSERT_EQ(data.SeriesCount(), 1);
    ASSERT_EQ(data.Count(), m.Len + 1);
    int differing = 0;
    for (int s = 0; s <= m.Len; ++s) {
      EXPECT_EQ(data.X(s), m.GetTime(s));
      EXPECT_EQ(data.Value(s, 0), c.Value(s));
      differing += c.Value(s) != c.Value(0);
    }
    EXPECT_GT(differing, 0) << "a constant getter cannot tell the kinds apart";
  }
}

TEST_F(GraphFrmTest, KindButtonsAndTimeButtonRebuild) {
  const TAniMechanism& m = Mechanism();
  const int e = m.FindJoint('E');
  Graph->Path1Button->click();
  EXPECT_EQ(Graph->Data().Kind(), gkPathVelocity);
  ExpectButtonsFollowKind();
  EXPECT_EQ(Graph->Data().Value(9, 0), m.GetJointValue(9, 1, e));
  // A second click on the down button keeps it down.
  Graph->Path1Button->click();
  EXPECT_TRUE(Graph->Path1Button->isChecked());

  Graph->Trans0Button->click();
  EXPECT_EQ(Graph->Data().SeriesNames(), std::vector<std::string>{"BCE-CD"});
  ExpectButtonsFollowKind();

  Graph->TimeButton->click();
  EXPECT_FALSE(Graph->Data().XIsTime);
  EXPECT_EQ(Graph->Data().Kind(), gkTransmission);
  EXPECT_EQ(Graph->Data().XCaption(), "Input Rotation");
  EXPECT_NEAR(Graph->Data().X(m.Len), 2 * std::acos(-1.0), 1e-12);
  shared::TWorkbook book;
  Graph->WriteTransmissionSheet(book);
  const shared::TCell* caption = book.Worksheet("TransAngle")->Cell(2, 2);
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(caption->Text, "Input Rotation");
  Graph->TimeButton->click();
  EXPECT_EQ(Graph->Data().XCaption(), "Time");
}

TEST_F(GraphFrmTest, CursorFollowsTheStepBarAndPastTheSolvedLengthShowsUnits) {
  View->PositionTrackBar->setValue(17);
  EXPECT_EQ(Graph->Data().Cursor(), 17);
  EXPECT_NE(Graph->Data().SeriesLegend(0).find("\xB0"), std::string::npos);
  EXPECT_NE(Graph->Data().SeriesLegend(0), "BCE [\xB0]");

  // Pivot D moved so far that coupler and rocker (0.211 + 0.5) cannot reach it from every crank
  // position (up to 0.746 away): the solution stops before the cycle's end while the bar still
  // runs to N.
  TAniMechanism& m = Mechanism();
  m.SetJointPosition('D', false, 0.25, -0.05);
  View->MechanismChanged();
  ASSERT_LT(m.Len, m.N);
  ASSERT_EQ(Graph->Data().Count(), m.Len + 1);
  View->PositionTrackBar->setValue(m.Len + 1);
  EXPECT_EQ(Graph->Data().Cursor(), m.Len + 1);
  EXPECT_EQ(Graph->Data().SeriesLegend(0), "BCE [\xB0]");
  EXPECT_EQ(Graph->Data().XLegend(), "Time [s]");
  // Painting there draws no cursor line and reads nothing past the points.
  Graph->Data().Paint(Graph->Surface());
  EXPECT_FALSE(Graph->Data().CursorLineShown());
}

TEST_F(GraphFrmTest, CurveBringsTheErrorGraphsAlsoWhileThePanelIsHidden) {
  View->SetGraphVisible(false);
  ASSERT_FALSE(Graph->isVisible());
  AddTargetCurve();
  View->MechanismChanged();
  ASSERT_TRUE(Mechanism().CanFitCurve());
  EXPECT_TRUE(Graph->ErrorAvailable());
  EXPECT_EQ(Graph->Data().Kind(), gkPathError);
  EXPECT_EQ(Graph->Data().SeriesNames(), std::vector<std::string>{"Path Error"});
  ExpectButtonsFollowKind();
  for (QAction* action : Graph->ToolBar2->actions()) {
    if (action == Graph->ErrorSeparator || Graph->ToolBar2->widgetForAction(action) == Graph->ErrorButton) {
      EXPECT_TRUE(action->isVisible());
    }
  }
  shared::TWorkbook book;
  Graph->WriteErrorSheet(book);
  EXPECT_NE(book.Worksheet("Error"), nullptr);

  // Another change that keeps the curve usable keeps the chosen kind.
  Graph->RotErrorButton->click();
  View->MechanismChanged();
  EXPECT_EQ(Graph->Data().Kind(), gkRotationError);

  // The curve gone, the frame falls back to link rotation and skips the error sheet.
  Mechanism().Curve.Clear();
  View->RefreshGraph();
  EXPECT_FALSE(Graph->ErrorAvailable());
  EXPECT_EQ(Graph->Data().Kind(), gkRotation);
  for (QAction* action : Graph->ToolBar2->actions()) {
    if (action == Graph->ErrorSeparator || Graph->ToolBar2->widgetForAction(action) == Graph->ErrorButton) {
      EXPECT_FALSE(action->isVisible());
    }
  }
  shared::TWorkbook later;
  Graph->WriteErrorSheet(later);
  EXPECT_EQ(later.Worksheet("Error"), nullptr);
}

TEST_F(GraphFrmTest, RecordRebuildsTheGraphFromTheNewStart) {
  View->PositionTrackBar->setValue(30);
  const int bce = Mechanism().FindLink("BCE");
  const double before = Graph->Data().Value(5, 0);
  View->RecordButtonClick();
  const TAniMechanism& m = Mechanism();
  ASSERT_EQ(Graph->Data().Count(), m.Len + 1);
  EXPECT_EQ(Graph->Data().Value(5, 0), m.GetLinkValue(5, 0, bce));
  EXPECT_NE(Graph->Data().Value(5, 0), before);
  EXPECT_EQ(Graph->Data().Cursor(), 0);
}

// Settings with another number of positions per cycle re-solve the mechanism; the graph follows.
TEST_F(GraphFrmTest, PositionsFromTheSettingsReachTheGraph) {
  SettingsStore().WriteString(kAnimationSection, "Steps", "40");
  View->SetRegistryKey(kKey);
  ASSERT_EQ(Mechanism().N, 40);
  EXPECT_EQ(Graph->Data().Count(), Mechanism().Len + 1);
  EXPECT_EQ(Graph->Data().Count(), 41);
}

TEST_F(GraphFrmTest, ViewPassesTheGraphTexts) {
  std::istringstream file(
      "[Graph]\nTimeHint=Zeit oder Winkel\nRot0=Drehung\nTime=Zeit\nPos=Nr.\nPath1=Geschwindigkeit\n");
  TLanguageFile texts;
  texts.LoadFromStream(file);
  View->ReadTexts(texts);
  EXPECT_EQ(Graph->Data().Title(), "Drehung");
  EXPECT_EQ(Graph->Data().XCaption(), "Zeit");
  EXPECT_EQ(Graph->Out0Button->toolTip(), QStringLiteral("Drehung"));
  EXPECT_EQ(Graph->Path1Button->toolTip(), QStringLiteral("Geschwindigkeit"));
  EXPECT_EQ(Graph->TimeButton->toolTip(), QStringLiteral("Zeit oder Winkel"));
  // Keys that the file lacks keep their English text.
  EXPECT_EQ(Graph->Trans0Button->toolTip(), QStringLiteral("Transmission Angle"));
  shared::TWorkbook book;
  Graph->WriteLinkSheet(book, 0);
  EXPECT_EQ(book.Worksheet("Rotation")->Cell(2, 1)->Text, "Nr.");
  EXPECT_EQ(book.Worksheet("Rotation")->Cell(1, 1)->Text, "Drehung");
}

// The picture keeps only the 16 colours of a 4-bit bitmap: a light grey background comes out
// as the palette's silver (192), not as itself (208).
TEST_F(GraphFrmTest, SaveJPEGQuantisesToSixteenColours) {
  QPalette palette = Graph->PaintBox1->palette();
  palette.setColor(QPalette::Base, QColor(208, 208, 208));
  Graph->PaintBox1->setPalette(palette);
  Graph->resize(600, 180);
  Graph->PaintBox1->resize(580, 140);
  const std::filesystem::path file = std::filesystem::temp_directory_path() /
      ("graph-frm-test-picture-" + std::to_string(::getpid()) + ".jpg");
  std::filesystem::remove(file);
  Graph->SaveJPEG(file.string());
  QImage image;
  ASSERT_TRUE(image.load(QString::fromStdString(file.string())));
  EXPECT_EQ(image.size(), QSize(580, 140));
  // The bottom left corner is background: no text, grid or curve there.
  const QColor corner = image.pixelColor(3, image.height() - 3);
  EXPECT_NEAR(corner.red(), 192, 6);
  EXPECT_NEAR(corner.green(), 192, 6);
  EXPECT_NEAR(corner.blue(), 192, 6);
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace quillon

namespace quillon {
namespace {

// The sheets of a small document as a spreadsheet program reads them from the written file.
TEST_F(GraphFrmTest, WrittenBookReadsBackWithSheetsAndChartSeries) {
  TAniMechanism& m = Mechanism();
  m.SetPositionCount(6);
  View->MechanismChanged();
  ASSERT_EQ(m.Len, 6);
  shared::TWorkbook book;
  Graph->WriteLinkSheet(book, 0);
  Graph->WriteVectorsSheet(book);
  const std::filesystem::path file = std::filesystem::temp_directory_path() /
      ("graph-frm-test-book-" + std::to_string(::getpid()) + ".xlsx");
  std::filesystem::remove(file);
  shared::WriteXlsx(book, file.string());

  const std::string workbook = Unzip(file.string(), "xl/workbook.xml");
  const size_t vectors = workbook.find("<sheet name=\"Vectors\"");
  const size_t chart = workbook.find("<sheet name=\"Rotation Chart\"");
  const size_t rotation = workbook.find("<sheet name=\"Rotation\"");
  ASSERT_NE(vectors, std::string::npos);
  ASSERT_NE(chart, std::string::npos);
  ASSERT_NE(rotation, std::string::npos);
  EXPECT_LT(vectors, chart);
  EXPECT_LT(chart, rotation);

  const std::string xml = Unzip(file.string(), "xl/charts/chart1.xml");
  for (const char* part : {"<c:f>Rotation!$B$4:$B$10</c:f>", "<c:f>Rotation!$C$4:$C$10</c:f>",
                           "<c:v>BCE</c:v>", "Rotation [\xC2\xB0]", "<c:smooth val=\"1\"/>"})
    EXPECT_NE(xml.find(part), std::string::npos) << part;
  const std::string strings = Unzip(file.string(), "xl/sharedStrings.xml");
  for (const char* text : {"Pos.", "Time", "[s]", "Vectors", "Vx", "[mm/s\xC2\xB2]"})
    EXPECT_NE(strings.find(std::string(">") + text + "<"), std::string::npos) << text;
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace quillon
