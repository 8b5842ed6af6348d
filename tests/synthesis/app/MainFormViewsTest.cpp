// The synthesis main window's views driven by real mouse and wheel events, headless: modes and
// their buttons, adding and dragging curve points, drawing areas and lines, picking, deletion,
// Zoom All, the wheel, full lists, and the input-function command through a fake solution list.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QStatusTipEvent>
#include <QCheckBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QWheelEvent>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <numbers>
#include <vector>

#include "shared/Convert.h"
#include "shared/ShellOpen.h"
#include "shared/qt/Application.h"
#include "synthesis/app/CurvePointDlg.h"
#include "synthesis/app/MainForm.h"
#include "synthesis/app/PointDlg.h"
#include "synthesis/app/SolutionView.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/Area.h"
#include "synthesis/engine/ComplexLine.h"
#include "synthesis/engine/Drawing.h"
#include "synthesis/engine/PrePoint.h"
#include "synthesis/engine/ProgramInfo.h"
#include "synthesis/engine/Spline.h"
#include "tests/shared/StoreSettings.h"
#include "tests/synthesis/app/AppServices.h"
#include "tests/synthesis/app/FakeDialogs.h"

namespace vesk {
namespace {

// A current solution with one joint at (0.3, 0) that records what the window asks of it.
class TFakeSolution : public TSolutionView {
 public:
  bool Current = true;
  bool JointSelected = false;
  shared::TComplex Joint{0.3, 0};
  int Takes = 0;
  int Applies = 0;
  bool HasCurrent() const override { return Current; }
  void Deselect() override { JointSelected = false; }
  int PickAt(const shared::TComplex& p, double tolerance, int& index) override {
    if (std::hypot(p.X - Joint.X, p.Y - Joint.Y) > tolerance) return kPickNothing;
    JointSelected = true;
    index = 1;
    return kPickJoint;
  }
  bool HasSelectedJoint() const override { return JointSelected; }
  std::string DragJoint(const shared::TComplex& p) override {
    Joint.SetXY(p.X, p.Y);
    return {};
  }
  TComplexPointList* SelectedJointList() override { return nullptr; }
  // A path-point list whose selected point the properties show.
  TComplexPointList* PathPoints = nullptr;
  TComplexPointList* SelectedPathPointList() override { return PathPoints; }
  void RefillGrid() override {}
  void Draw(shared::TCanvas2D&) override {}
  void UpdateExtent(shared::TComplex& min, shared::TComplex& max) override {
    min.SetXY(std::min(min.X, Joint.X), std::min(min.Y, Joint.Y));
    max.SetXY(std::max(max.X, Joint.X), std::max(max.Y, Joint.Y));
  }
  void TakeDefaultInputFunction() override { ++Takes; }
  void ApplyDefaultInputFunction() override { ++Applies; }
  void RefillViews() override {}
};

// A fresh canvas shows 3 m on 1300 pixels with the world origin at pixel (650, 650), y up.
constexpr double kMetresPerPixel = 3.0 / 1300;
double WorldX(int px) { return (px - 650) * kMetresPerPixel; }
double WorldY(int py) { return (650 - py) * kMetresPerPixel; }

class MainFormViewsTest : public shared::test::TSettingsStoreTest {
 protected:
  void SetUp() override {
    TSettingsStoreTest::SetUp();
    test::StartAppServices();
    // The output-link drawing lives for the whole run; each test starts from the default.
    Drawing().MakeDefault();
    Drawing().Origin.SetXY(0, 0);
    Drawing().SetModified(false);
    shared::SetExceptionHandler([this](const QString& text) { Errors.push_back(text); });
    // With no answers queued every question is a failure: the views ask none.
    Form = std::make_unique<TMainForm>(std::make_unique<TFakeDialogs>());
    Form->InfoBox = [this](const QString& text) { Infos.push_back(text); };
    Form->ShowModal = [this](QDialog& dialog) {
      Shown.push_back(dialog.windowTitle());
      if (OnModal) OnModal(dialog);
      return ModalResult;
    };
    Form->resize(1000, 800);
    Form->show();
    Form->FormShow({});
    QApplication::processEvents();
  }
  void TearDown() override {
    Form.reset();
    shared::SetExceptionHandler(nullptr);
    test::StopAppServices();
    TSettingsStoreTest::TearDown();
  }

  QWidget* Box(int view) const {
    QWidget* boxes[3] = {Form->PaintBox1, Form->PaintBox2, Form->PaintBox3};
    return boxes[view];
  }
  void Mouse(int view, QEvent::Type type, int x, int y, Qt::MouseButtons held = Qt::LeftButton) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(x, y), QPointF(x, y), button, held, Qt::NoModifier);
    QApplication::sendEvent(Box(view), &event);
  }
  void Click(int view, int x, int y) {
    Mouse(view, QEvent::MouseButtonPress, x, y);
    Mouse(view, QEvent::MouseButtonRelease, x, y, Qt::NoButton);
  }
  void Drag(int view, int x1, int y1, int x2, int y2) {
    Mouse(view, QEvent::MouseButtonPress, x1, y1);
    Mouse(view, QEvent::MouseMove, (x1 + x2) / 2, (y1 + y2) / 2);
    Mouse(view, QEvent::MouseMove, x2, y2);
    Mouse(view, QEvent::MouseButtonRelease, x2, y2, Qt::NoButton);
  }
  // A tab shown for the first time fits its view to what it shows; the tests click at the
  // pixels of a fresh view.
  void ShowTab(int view) {
    Form->MechPageControl->setCurrentIndex(view);
    QApplication::processEvents();
    Form->Canvas(view).ResetView();
  }
  QString Hint() const { return Form->StatusPanels[3]->text(); }
  QAction* Button(const char* name) const { return Form->findChild<QAction*>(QString::fromLatin1(name)); }

  std::unique_ptr<TMainForm> Form;
  std::vector<QString> Errors;
  std::vector<QString> Infos;
  std::vector<QString> Shown;
  // What the user does in a dialog before its result is returned.
  std::function<void(QDialog&)> OnModal;
  int ModalResult = QDialog::Rejected;
};

TEST_F(MainFormViewsTest, ModeButtonsSetTheirModeAndASecondPressReturnsToSelect) {
  struct TCase {
    int View;
    const char* ButtonName;
    int Mode;
  };
  const TCase cases[] = {
      {0, "PropertiesButton", 1},        {0, "ZoomInButton", 2},           {0, "ZoomOutButton", 3},
      {0, "AddAreaButton", 4},           {0, "AddCurvePointButton", 5},    {0, "DeleteButton", 9},
      {1, "PropertiesCouplerButton", 1}, {1, "AddAreaCouplerButton", 4},   {1, "DrawLineButton", 7},
      {1, "DeleteCouplerButton", 9},     {2, "ZoomInBackGroundButton", 2}, {2, "ZoomOutBackGroundButton", 3},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.ButtonName);
    QAction* button = Button(c.ButtonName);
    ASSERT_NE(button, nullptr);
    button->trigger();
    EXPECT_EQ(Form->Canvas(c.View).Mode(), c.Mode);
    EXPECT_TRUE(button->isChecked());
    button->trigger();
    EXPECT_EQ(Form->Canvas(c.View).Mode(), 0);
    EXPECT_FALSE(button->isChecked());
  }
  Form->SelectButtonClick(4);
  EXPECT_EQ(Hint(), "Click and drag to define an area");
  Form->SelectButtonClick(5);
  EXPECT_EQ(Hint(), "Click in window to add a curve point");
  EXPECT_EQ(Form->Canvas(0).Mode(), 5);
  // View > Zoom In acts on the active tab's view only.
  Form->MechPageControl->setCurrentIndex(2);
  Form->ViewZoomInItem->trigger();
  EXPECT_EQ(Form->Canvas(2).Mode(), 2);
  EXPECT_EQ(Form->Canvas(0).Mode(), 5);
  // The Edit menu shows the active tab's items.
  Form->EditMenuClick();
  EXPECT_FALSE(Form->EditAddCurvePointItem->isVisible());
  EXPECT_FALSE(Form->EditDeleteItem->isVisible());
  ShowTab(1);
  Form->EditMenuClick();
  EXPECT_TRUE(Form->EditDrawLineItem->isVisible());
  EXPECT_FALSE(Form->EditAddCurvePointItem->isVisible());
  Form->EditAddAreaItem->trigger();
  EXPECT_EQ(Form->Canvas(1).Mode(), 4);
}

// The adding modes' instructions stay in the hint panel while the mouse passes over other
// controls (whose hints come and go) and leave with the mode.
TEST_F(MainFormViewsTest, TheAddingModesKeepTheirInstructionInTheHintPanel) {
  const auto hover = [this](const QString& tip) {
    QStatusTipEvent event(tip);
    QApplication::sendEvent(Form.get(), &event);
  };
  const std::pair<int, const char*> modes[] = {{5, "Click in window to add a curve point"},
                                               {4, "Click and drag to define an area"}};
  for (const auto& [tag, text] : modes) {
    SCOPED_TRACE(text);
    Form->SelectButtonClick(tag);
    hover(QStringLiteral("Add Curve Point"));
    EXPECT_EQ(Hint(), "Add Curve Point");
    hover(QString());
    EXPECT_EQ(Hint(), text);
    Form->SelectButtonClick(tag);
    EXPECT_EQ(Form->Canvas(0).Mode(), 0);
    EXPECT_EQ(Hint(), "");
    hover(QString());
    EXPECT_EQ(Hint(), "");
  }
}

// A click on a curve of 80 points adds none and says why.
TEST_F(MainFormViewsTest, AClickOnAFullCurveSaysItIsFull) {
  TSpline& curve = Form->Curve();
  for (int i = 0; i < TSpline::kCapacity; ++i) curve.Add(std::make_unique<TPrePoint>(0.001 * i, 0.0));
  curve.Recalc();
  Form->SelectButtonClick(5);
  Click(0, 520, 650);
  EXPECT_EQ(curve.Count(), TSpline::kCapacity);
  EXPECT_EQ(curve.Selected(), nullptr);
  EXPECT_EQ(Hint(), "The curve is full: it holds at most 80 points");
  curve.Delete(TSpline::kCapacity);
  Click(0, 520, 650);
  EXPECT_EQ(curve.Count(), TSpline::kCapacity);
}

TEST_F(MainFormViewsTest, AddsDragsPicksAndDeletesCurvePoints) {
  Form->SelectButtonClick(5);
  // Pressed, the new point drags along with the mouse.
  Drag(0, 780, 520, 910, 650);
  Click(0, 520, 650);
  TSpline& curve = Form->Curve();
  ASSERT_EQ(curve.Count(), 2);
  EXPECT_NEAR(curve.Items(1)->X, WorldX(910), 1e-12);
  EXPECT_NEAR(curve.Items(1)->Y, 0, 1e-12);
  EXPECT_NEAR(curve.Items(2)->X, WorldX(520), 1e-12);
  EXPECT_TRUE(curve.IsValid()) << "the curve is recomputed";

  Form->SelectButtonClick(0);
  // Within 8 pixels (diagonally 5, 5) the point is picked; 10 pixels away it is not.
  Click(0, 915, 645);
  EXPECT_EQ(curve.Selected(), curve.Items(1));
  EXPECT_EQ(Hint(), "Curve Point 1");
  Click(0, 920, 650);
  EXPECT_EQ(curve.Selected(), nullptr);
  EXPECT_EQ(Hint(), "");

  // A picked point drags in select mode.
  Drag(0, 910, 650, 910, 390);
  EXPECT_NEAR(curve.Items(1)->X, WorldX(910), 1e-12);
  EXPECT_NEAR(curve.Items(1)->Y, WorldY(390), 1e-12);

  // Delete mode asks nothing (a question would throw) and leaves the other point.
  Form->SelectButtonClick(9);
  Click(0, 910, 390);
  ASSERT_EQ(curve.Count(), 1);
  EXPECT_NEAR(curve.Items(1)->X, WorldX(520), 1e-12);
  EXPECT_EQ(Form->Canvas(0).Mode(), 9) << "delete mode stays on";
  EXPECT_TRUE(Errors.empty());
}

TEST_F(MainFormViewsTest, DrawsAnAreaAndPicksItAfterTheCurve) {
  Form->SelectButtonClick(4);
  Drag(0, 650, 650, 780, 520);
  TAreaList& areas = Form->GroundAreas();
  ASSERT_EQ(areas.Count(), 1);
  TArea& area = *areas.GetArea(1);
  area.Normalize();
  EXPECT_NEAR(area.X, 0, 1e-12);
  EXPECT_NEAR(area.Y, 0, 1e-12);
  EXPECT_NEAR(area.Corner2.X, WorldX(780), 1e-12);
  EXPECT_NEAR(area.Corner2.Y, WorldY(520), 1e-12);

  Form->SelectButtonClick(0);
  Click(0, 715, 522);  // on the top edge
  EXPECT_EQ(Hint(), "Area 1");
  EXPECT_EQ(areas.Selected(), &area);
  // A curve point on the same edge is found first.
  Form->Curve().Add(std::make_unique<TPrePoint>(WorldX(715), WorldY(520)));
  Click(0, 715, 522);
  EXPECT_EQ(Hint(), "Curve Point 1");
  EXPECT_EQ(areas.Selected(), nullptr);

  // A corner drags; the Delete key removes the selected area without a question.
  Click(0, 650, 650);
  Drag(0, 650, 650, 600, 700);
  area.Normalize();
  EXPECT_NEAR(area.X, WorldX(600), 1e-12);
  EXPECT_NEAR(area.Y, WorldY(700), 1e-12);
  Form->FormKeyDown(Qt::Key_Delete);
  EXPECT_EQ(areas.Count(), 0);
  EXPECT_EQ(Form->Curve().Count(), 1);
}

// A new area spans press to release whichever way the mouse goes, in both views that draw areas.
TEST_F(MainFormViewsTest, ANewAreaSpansPressToReleaseInEveryDirection) {
  struct TCase {
    int View;
    int X2, Y2;
  };
  const TCase cases[] = {{0, 720, 540}, {0, 720, 760}, {0, 580, 760}, {0, 580, 540},
                         {1, 720, 540}, {1, 720, 760}, {1, 580, 760}, {1, 580, 540}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "view " << c.View << " to " << c.X2 << "," << c.Y2);
    ShowTab(c.View);
    TAreaList& areas = c.View == 0 ? Form->GroundAreas() : Form->CouplerAreas();
    areas.Clear();
    if (c.View == 0)
      Form->SelectButtonClick(4);
    else
      Form->SelectCouplerButtonClick(4);
    ASSERT_EQ(Form->Canvas(c.View).Mode(), TMainForm::kModeAddArea);
    // The mouse passes through several points on its way, as a hand moves it.
    Mouse(c.View, QEvent::MouseButtonPress, 650, 650);
    for (int step = 1; step <= 5; ++step)
      Mouse(c.View, QEvent::MouseMove, 650 + (c.X2 - 650) * step / 5, 650 + (c.Y2 - 650) * step / 5);
    Mouse(c.View, QEvent::MouseButtonRelease, c.X2, c.Y2, Qt::NoButton);
    ASSERT_EQ(areas.Count(), 1);
    TArea& area = *areas.GetArea(1);
    area.Normalize();
    EXPECT_NEAR(area.X, std::min(WorldX(650), WorldX(c.X2)), 1e-12);
    EXPECT_NEAR(area.Corner2.X, std::max(WorldX(650), WorldX(c.X2)), 1e-12);
    EXPECT_NEAR(area.Y, std::min(WorldY(650), WorldY(c.Y2)), 1e-12);
    EXPECT_NEAR(area.Corner2.Y, std::max(WorldY(650), WorldY(c.Y2)), 1e-12);
    if (c.View == 0)
      Form->SelectButtonClick(4);
    else
      Form->SelectCouplerButtonClick(4);
  }
}

// An area without width or height restricts nothing (the search would drop it unseen): a click
// without a drag, or a drag along one line, adds none, and a corner dragged onto the opposite
// edge's line gives the area back its size. The status line says so, with a beep.
TEST_F(MainFormViewsTest, AnAreaWithoutWidthOrHeightIsNotKept) {
  struct {
    int Beeps = 0;
  } beeps;
  Form->Beep = [&beeps] { ++beeps.Beeps; };
  const QString notAdded = "No area added: an area needs a width and a height";
  for (const int view : {0, 1}) {
    SCOPED_TRACE(view);
    ShowTab(view);
    TAreaList& areas = view == 0 ? Form->GroundAreas() : Form->CouplerAreas();
    areas.Clear();
    const auto mode = [&](int tag) { view == 0 ? Form->SelectButtonClick(tag) : Form->SelectCouplerButtonClick(tag); };
    mode(4);
    beeps.Beeps = 0;
    Click(view, 650, 650);
    EXPECT_EQ(areas.Count(), 0);
    EXPECT_EQ(Hint(), notAdded);
    Drag(view, 650, 650, 780, 650);  // no height
    Drag(view, 650, 650, 650, 520);  // no width
    EXPECT_EQ(areas.Count(), 0);
    EXPECT_EQ(beeps.Beeps, 3);

    Drag(view, 650, 650, 780, 520);
    ASSERT_EQ(areas.Count(), 1);
    TArea& area = *areas.GetArea(1);
    const TArea before(area.X, area.Y, area.Corner2.X, area.Corner2.Y);
    EXPECT_EQ(beeps.Beeps, 3);

    // The corner at (780, 520) dragged onto x = 650: width 0, and the area keeps its corners.
    mode(0);
    Drag(view, 780, 520, 650, 560);
    ASSERT_EQ(areas.Count(), 1);
    EXPECT_EQ(area.X, before.X);
    EXPECT_EQ(area.Y, before.Y);
    EXPECT_EQ(area.Corner2.X, before.Corner2.X);
    EXPECT_EQ(area.Corner2.Y, before.Corner2.Y);
    EXPECT_EQ(Hint(), "Area 1 kept its size: an area needs a width and a height");
    EXPECT_EQ(beeps.Beeps, 4);
    // A drag that leaves it a size is taken.
    Drag(view, 780, 520, 700, 560);
    area.Normalize();
    EXPECT_NEAR(area.Corner2.X, WorldX(700), 1e-12);
    EXPECT_NEAR(area.Y, WorldY(650), 1e-12);
    EXPECT_EQ(beeps.Beeps, 4);
  }
}

// A view scrolled aside shows the middle of its canvas again when its scroll box grows or
// shrinks.
TEST_F(MainFormViewsTest, AResizedScrollBoxIsCentredAgain) {
  for (int view = 0; view < 3; ++view) {
    Form->MechPageControl->setCurrentIndex(view);
    for (const QSize size : {QSize(700, 560), QSize(1200, 900), QSize(900, 700)}) {
      SCOPED_TRACE(testing::Message() << "view " << view << " at " << size.width() << "x" << size.height());
      QScrollArea* scroll = Form->ScrollBoxes[size_t(view)];
      scroll->horizontalScrollBar()->setValue(0);
      scroll->verticalScrollBar()->setValue(0);
      Form->resize(size);
      QApplication::processEvents();
      const QSize client = scroll->viewport()->size();
      ASSERT_LT(client.width(), 1300);
      EXPECT_NEAR(scroll->horizontalScrollBar()->value(), (1300 - client.width()) / 2, 1);
      EXPECT_NEAR(scroll->verticalScrollBar()->value(), (1300 - client.height()) / 2, 1);
    }
  }
}

TEST_F(MainFormViewsTest, AClickOnAFullListAddsAndSelectsNothing) {
  TSpline& curve = Form->Curve();
  for (int i = 0; i < TSpline::kCapacity; ++i) curve.Add(std::make_unique<TPrePoint>(0.01 * i, 0.5));
  curve.Select(5);
  const double x5 = curve.Items(5)->X;
  Form->SelectButtonClick(5);
  Drag(0, 650, 650, 700, 700);
  EXPECT_EQ(curve.Count(), 80);
  EXPECT_EQ(curve.Selected(), nullptr);
  EXPECT_DOUBLE_EQ(curve.Items(5)->X, x5) << "the drag must not move an old point";

  TAreaList& areas = Form->GroundAreas();
  for (int i = 0; i < 20; ++i) areas.Add(std::make_unique<TArea>(-1, -1, -0.9 + 0.01 * i, -0.9));
  areas.Select(3);
  areas.GetArea(3)->GrabbedCorner = 3;
  const double corner = areas.GetArea(3)->Corner2.X;
  Form->SelectButtonClick(4);
  Drag(0, 650, 650, 700, 700);
  EXPECT_EQ(areas.Count(), 20);
  EXPECT_EQ(areas.Selected(), nullptr);
  EXPECT_DOUBLE_EQ(areas.GetArea(3)->Corner2.X, corner);
}

TEST_F(MainFormViewsTest, DrawsALineThatSnapsTo15Degrees) {
  ShowTab(1);
  QApplication::processEvents();
  TDrawing& drawing = Drawing();
  const int before = drawing.Count();
  Form->SelectCouplerButtonClick(7);
  // 200 right and 50 up is 14.04 degrees, within 3 degrees of 15.
  Drag(1, 650, 650, 850, 600);
  ASSERT_EQ(drawing.Count(), before + 1);
  auto* line = dynamic_cast<TComplexLine*>(drawing.Current());
  ASSERT_NE(line, nullptr);
  EXPECT_NEAR(line->Point1.X, 0, 1e-12);
  EXPECT_NEAR(line->Point1.Y, 0, 1e-12);
  const double length = std::hypot(200.0, 50.0) * kMetresPerPixel;
  EXPECT_NEAR(line->Point2.X, length * std::cos(std::numbers::pi / 12), 1e-9);
  EXPECT_NEAR(line->Point2.Y, length * std::sin(std::numbers::pi / 12), 1e-9);

  // 200 right and 100 up (26.6 degrees) is not near a step and stays.
  Drag(1, 650, 400, 850, 300);
  auto* free = dynamic_cast<TComplexLine*>(drawing.Current());
  EXPECT_NEAR(free->Point2.X - free->Point1.X, WorldX(850), 1e-12);
  EXPECT_NEAR(free->Point2.Y - free->Point1.Y, 100 * kMetresPerPixel, 1e-12);

  // Picked in select mode its name shows; Delete removes it.
  Form->SelectCouplerButtonClick(0);
  Click(1, 750, 350);
  EXPECT_EQ(drawing.Current(), free);
  EXPECT_EQ(Hint().toStdString(), free->Name);
  Form->FormKeyDown(Qt::Key_Delete);
  EXPECT_EQ(drawing.Count(), before + 1);
  EXPECT_EQ(drawing.IndexOf(free), -1);
}

TEST_F(MainFormViewsTest, PropertiesOpenTheDialogOfWhatWasPicked) {
  Form->Curve().Add(std::make_unique<TPrePoint>(WorldX(700), WorldY(600)));
  Form->GroundAreas().Add(std::make_unique<TArea>(WorldX(800), WorldY(500), WorldX(900), WorldY(400)));
  Form->Curve().Deselect();
  Form->GroundAreas().Deselect();
  // Properties mode on release, select mode on a double click; nothing picked opens nothing.
  Form->SelectButtonClick(1);
  Click(0, 702, 598);
  Click(0, 850, 500);
  Click(0, 300, 300);
  Form->SelectButtonClick(0);
  Mouse(0, QEvent::MouseButtonDblClick, 700, 600);
  Mouse(0, QEvent::MouseButtonRelease, 700, 600, Qt::NoButton);
  EXPECT_EQ(Shown, (std::vector<QString>{"Curve Point", "Area", "Curve Point"}));

  ShowTab(1);
  QApplication::processEvents();
  Shown.clear();
  Form->SelectCouplerButtonClick(1);
  Click(1, 650, 650);  // the origin of the drawing, where the default house has a corner
  ASSERT_EQ(Shown.size(), 1u);
  EXPECT_EQ(Shown[0], "Line") << "a line end on the origin is found before the origin";
  EXPECT_TRUE(Errors.empty());
}

TEST_F(MainFormViewsTest, TheOutputLinkOriginDrags) {
  ShowTab(1);
  QApplication::processEvents();
  TDrawing& drawing = Drawing();
  drawing.Clear();
  drawing.Origin.SetXY(WorldX(400), WorldY(400));
  Drag(1, 402, 398, 500, 450);
  EXPECT_NEAR(drawing.Origin.X, WorldX(500), 1e-12);
  EXPECT_NEAR(drawing.Origin.Y, WorldY(450), 1e-12);
  // Properties mode opens the origin's point dialog.
  Form->SelectCouplerButtonClick(1);
  Click(1, 500, 450);
  ASSERT_EQ(Shown.size(), 1u);
  EXPECT_EQ(Shown[0], "Origin Output Link");
}

TEST_F(MainFormViewsTest, ZoomAllAndTheWheel) {
  // Nothing to fit: the view stays.
  Form->ZoomAll(0);
  EXPECT_DOUBLE_EQ(Form->Canvas(0).WorldSize(), 3.0);
  EXPECT_DOUBLE_EQ(Form->Canvas(0).Origin().X, 0);

  Form->Curve().Add(std::make_unique<TPrePoint>(0.1, 0.2));
  Form->Curve().Add(std::make_unique<TPrePoint>(0.6, 0.4));
  Form->ViewZoomAllItem->trigger();
  QScrollArea* scroll = Form->ScrollBoxes[0];
  const QSize client = scroll->viewport()->size();
  // The box 0.5 x 0.2 with margin 1.4 fits the client; its middle is the view's middle.
  const double shown = std::max(0.5 * 1.4 / client.width(), 0.2 * 1.4 / client.height()) * 1300;
  EXPECT_NEAR(Form->Canvas(0).WorldSize(), shown, shown * 0.01);
  EXPECT_NEAR(Form->Canvas(0).Origin().X, 0.35, 1e-12);
  EXPECT_NEAR(Form->Canvas(0).Origin().Y, 0.3, 1e-12);
  EXPECT_EQ(scroll->horizontalScrollBar()->value(), (1300 - client.width()) / 2);
  EXPECT_EQ(scroll->verticalScrollBar()->value(), (1300 - client.height()) / 2);

  // A notch each way: 1.12 and 0.88.
  const double before = Form->Canvas(0).WorldSize();
  for (int delta : {120, -120}) {
    QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Form->PaintBox1, &wheel);
  }
  EXPECT_NEAR(Form->Canvas(0).WorldSize(), before / 1.12 / 0.88, 1e-12);
}

TEST_F(MainFormViewsTest, JointsArePickedAfterCurveAndAreasAndDragInSelectMode) {
  auto solution = std::make_unique<TFakeSolution>();
  TFakeSolution& fake = *solution;
  Form->SetSolutionView(std::move(solution));
  Drag(0, 780, 650, 780, 520);
  EXPECT_NEAR(fake.Joint.X, WorldX(780), 1e-12);
  EXPECT_NEAR(fake.Joint.Y, WorldY(520), 1e-12);
  EXPECT_EQ(Form->PickHit.Kind, kPickJoint);
  // A curve point on the joint wins the pick.
  Form->Curve().Add(std::make_unique<TPrePoint>(WorldX(780), WorldY(520)));
  Click(0, 780, 520);
  EXPECT_EQ(Form->PickHit.Kind, kPickCurvePoint);
  EXPECT_FALSE(fake.JointSelected);
  // Esc clears the selections and returns every view to select mode.
  Form->SelectButtonClick(9);
  Form->FormKeyDown(Qt::Key_Escape);
  EXPECT_EQ(Form->Canvas(0).Mode(), 0);
  EXPECT_EQ(Form->Curve().Selected(), nullptr);
}

TEST_F(MainFormViewsTest, EditingWaitsForGenerationAndTheSpeedSetsTheTimer) {
  Form->Work = TMainForm::TWork::Generation;
  ShowTab(1);
  Form->EditMenuClick();
  Form->PopupMenu1Popup();
  EXPECT_FALSE(Form->EditAddAreaItem->isEnabled());
  EXPECT_TRUE(Form->EditDrawLineItem->isEnabled()) << "drawing lines goes on while generating";
  for (QAction* item : Form->PopupMenu1->actions())
    EXPECT_FALSE(item->isEnabled()) << item->text().toStdString();
  Form->Work = TMainForm::TWork::None;
  Form->PopupMenu1Popup();
  EXPECT_TRUE(Form->PopupMenu1->actions().front()->isEnabled());
  // The popup's items go to the mechanism view's modes.
  Form->PopupMenu1->actions().at(5)->trigger();
  EXPECT_EQ(Form->Canvas(0).Mode(), 5);

  const std::pair<int, int> speeds[] = {{0, 180}, {1, 88}, {2, 42}};
  for (auto [speed, interval] : speeds) {
    Form->SpeedToolButtons[size_t(speed)]->trigger();
    EXPECT_EQ(AppOptions.Speed, speed);
    EXPECT_EQ(Form->AnimTimer->interval(), interval);
    EXPECT_FALSE(Form->AnimTimer->isActive());
  }
}

TEST_F(MainFormViewsTest, TheInputFunctionReachesTheSolutionsOnlyAfterOK) {
  auto solution = std::make_unique<TFakeSolution>();
  TFakeSolution& fake = *solution;
  Form->SetSolutionView(std::move(solution));
  ModalResult = QDialog::Rejected;
  Form->AnalysisInputFunctionItem->trigger();
  EXPECT_EQ(fake.Takes, 1);
  EXPECT_EQ(fake.Applies, 0);
  ModalResult = QDialog::Accepted;
  Form->AnalysisInputFunctionItem->trigger();
  EXPECT_EQ(fake.Applies, 1);
  EXPECT_TRUE(Errors.empty());
}

TEST_F(MainFormViewsTest, PathPointsAreShownReadOnlyAndCurvePointsWithoutInputRotation) {
  auto solution = std::make_unique<TFakeSolution>();
  TFakeSolution& fake = *solution;
  Form->SetSolutionView(std::move(solution));
  TComplexPointList path(10);
  path.Add(std::make_unique<TComplexPoint>(0.1, 0.2));
  fake.PathPoints = &path;
  // The user types over the path point and presses OK: nothing changes.
  OnModal = [](QDialog& dialog) {
    auto* point = qobject_cast<TComplexPointDialog*>(&dialog);
    ASSERT_NE(point, nullptr);
    dialog.show();
    EXPECT_TRUE(point->IsReadOnly());
    point->XEdit->setText("junk");
    point->OKBtn->click();
    EXPECT_FALSE(dialog.isVisible());
  };
  Form->MechProperties();
  ASSERT_EQ(Shown, std::vector<QString>{"Path Point"});
  EXPECT_EQ(path.Items(1)->X, 0.1);
  EXPECT_FALSE(path.Items(1)->Modified);

  // The curve-point dialog keeps its input rotation off, and its Help reaches the program's help.
  fake.PathPoints = nullptr;
  const std::string help = (std::filesystem::temp_directory_path() / "vesk-views-help.hlp").string();
  std::ofstream(help) << "help";
  ProgramInfo().HelpPath = help;
  std::vector<std::string> opened;
  shared::SetShellOpen([&](const std::string& target) {
    opened.push_back(target);
    return true;
  });
  Form->Curve().Add(std::make_unique<TPrePoint>(0.0, 0.0));
  Form->Curve().Add(std::make_unique<TPrePoint>(0.1, 0.0));
  Form->Curve().In = true;
  OnModal = [](QDialog& dialog) {
    auto* point = qobject_cast<TPrePointDialog*>(&dialog);
    ASSERT_NE(point, nullptr);
    dialog.show();
    EXPECT_FALSE(point->InBox->isEnabled());
    EXPECT_TRUE(point->OutBox->isEnabled());
    point->HelpBtn->click();
    dialog.reject();
  };
  Form->MechProperties();
  shared::SetShellOpen(nullptr);
  std::filesystem::remove(help);
  EXPECT_EQ(Shown.back(), "Curve Point");
  EXPECT_EQ(opened, std::vector<std::string>{help});
  EXPECT_TRUE(Errors.empty());
}

TEST_F(MainFormViewsTest, ALineDrawnAfterACouplerAreaLeavesTheArea) {
  ShowTab(1);
  TAreaList& areas = Form->CouplerAreas();
  Form->SelectCouplerButtonClick(4);
  Drag(1, 650, 650, 750, 550);
  ASSERT_EQ(areas.Count(), 1);
  TArea& area = *areas.GetArea(1);
  const double x2 = area.Corner2.X, y2 = area.Corner2.Y;
  // The area is still selected while the line is drawn; only the line follows the mouse.
  Form->SelectCouplerButtonClick(7);
  Drag(1, 400, 400, 300, 300);
  EXPECT_EQ(area.Corner2.X, x2);
  EXPECT_EQ(area.Corner2.Y, y2);
  auto* line = dynamic_cast<TComplexLine*>(Drawing().Current());
  ASSERT_NE(line, nullptr);
  EXPECT_NEAR(line->Point2.X, WorldX(300), 1e-12);
  // In select mode the area's corner drags as before.
  Form->SelectCouplerButtonClick(0);
  Drag(1, 750, 550, 760, 560);
  EXPECT_NEAR(area.Corner2.X, WorldX(760), 1e-12);
  EXPECT_NEAR(area.Corner2.Y, WorldY(560), 1e-12);
}

TEST_F(MainFormViewsTest, TheWheelAndTheKeysReachTheWindowFromAnyControl) {
  TSpline& curve = Form->Curve();
  curve.Add(std::make_unique<TPrePoint>(0.1, 0.1));
  curve.Add(std::make_unique<TPrePoint>(0.2, 0.1));
  ASSERT_EQ(curve.Selected(), curve.Items(2));
  // The list view has the focus: Delete still deletes the view's selection.
  Form->MechListView->setFocus();
  QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
  QApplication::sendEvent(Form->MechListView, &del);
  EXPECT_EQ(curve.Count(), 1);
  // While a file is read or written the window is disabled and the keys do nothing.
  curve.Select(1);
  Form->setEnabled(false);
  QApplication::sendEvent(Form->MechListView, &del);
  Form->setEnabled(true);
  EXPECT_EQ(curve.Count(), 1);
  // Esc from the tab bar returns the views to select mode.
  Form->SelectButtonClick(4);
  QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(Form->MechPageControl->tabBar(), &esc);
  EXPECT_EQ(Form->Canvas(0).Mode(), 0);
  // Right does not switch the tab: it steps the animation, which has nothing to step.
  QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
  QApplication::sendEvent(Form->MechPageControl->tabBar(), &right);
  EXPECT_EQ(Form->MechPageControl->currentIndex(), 0);
  // A wheel notch over the list zooms the active view.
  const double before = Form->Canvas(0).WorldSize();
  QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(Form->MechListView->viewport(), &wheel);
  EXPECT_NEAR(Form->Canvas(0).WorldSize(), before / 1.12, 1e-12);
  // A field that takes text keeps Delete and the arrows for its text.
  auto* field = new QLineEdit(QStringLiteral("ab"), Form->StatusLine);
  field->setCursorPosition(0);
  curve.Select(1);
  QApplication::sendEvent(field, &right);
  QApplication::sendEvent(field, &del);
  EXPECT_EQ(field->text(), "a");
  EXPECT_EQ(curve.Count(), 1);
  delete field;
  EXPECT_TRUE(Errors.empty());
}

TEST_F(MainFormViewsTest, DrawingAndLayerCommands) {
  // Origin: Cartesian, on the drawing's origin.
  AppOptions.IsPolar = true;
  Drawing().Origin.SetXY(0.01, 0.02);
  OnModal = [](QDialog& dialog) {
    auto* point = qobject_cast<TComplexPointDialog*>(&dialog);
    ASSERT_NE(point, nullptr);
    dialog.show();
    EXPECT_EQ(point->XLabel->text(), "X");
    point->XEdit->setText("30");
    point->OKBtn->click();
  };
  Form->OriginCouplerButton->trigger();
  ASSERT_EQ(Shown, std::vector<QString>{"Output Link Origin"});
  EXPECT_NEAR(Drawing().Origin.X, 0.03, 1e-12);
  EXPECT_NEAR(Drawing().Origin.Y, 0.02, 1e-12);
  OnModal = nullptr;

  // New clears the drawing and the coupler areas and hides the drawing in the mechanism view.
  Form->CouplerAreas().Add(std::make_unique<TArea>(0, 0, 0.1, 0.1));
  AppOptions.ShowOutputLinkDrawing = true;
  ASSERT_GT(Drawing().Count(), 0);
  Form->NewCouplerButton->trigger();
  EXPECT_EQ(Drawing().Count(), 0);
  EXPECT_EQ(Form->CouplerAreas().Count(), 0);
  EXPECT_FALSE(AppOptions.ShowOutputLinkDrawing);
  AppOptions.ShowGroundDrawing = true;
  Form->NewBackGroundButton->trigger();
  EXPECT_FALSE(AppOptions.ShowGroundDrawing);

  // The layer button shows both drawings unless both are shown; the popup shows the flags.
  Form->LayerSelectButton->trigger();
  EXPECT_TRUE(AppOptions.ShowOutputLinkDrawing);
  EXPECT_TRUE(AppOptions.ShowGroundDrawing);
  Form->LayerSelectButton->trigger();
  EXPECT_FALSE(AppOptions.ShowOutputLinkDrawing);
  EXPECT_FALSE(AppOptions.ShowGroundDrawing);
  Form->LayerGroundItem->trigger();
  Form->LayerInstantCenterItem->trigger();
  Form->LayerPopupMenuPopup();
  EXPECT_FALSE(Form->LayerOutputItem->isChecked());
  EXPECT_TRUE(Form->LayerGroundItem->isChecked());
  EXPECT_EQ(Form->LayerInstantCenterItem->isChecked(), AppOptions.ShowInstantCenters);
  Form->LayerSelectButton->trigger();
  EXPECT_TRUE(AppOptions.ShowOutputLinkDrawing);

  // The coordinate buttons switch all three canvases.
  Form->XYToolButton->trigger();
  EXPECT_FALSE(AppOptions.IsPolar);
  for (int view = 0; view < 3; ++view) EXPECT_FALSE(Form->Canvas(view).Polar);
  Form->PolarToolButton->trigger();
  for (int view = 0; view < 3; ++view) EXPECT_TRUE(Form->Canvas(view).Polar);
  EXPECT_TRUE(Errors.empty());
}

}  // namespace
}  // namespace vesk
