// Pivot areas and their list: distance factors worked out by hand, grabbing and moving corners,
// random points, link factors, records (version 0 without the joint line), drawing with the
// enlarged outline and the HTML table.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "shared/Convert.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/Area.h"
#include "synthesis/engine/Link.h"
#include "tests/synthesis/engine/RecordText.h"
#include "tests/synthesis/engine/ScriptedRandom.h"
#include "tests/synthesis/engine/SynthCanvas.h"

using namespace vesk;
using shared::TComplex;
using vesk::test::TScriptedRandom;
using vesktest::Lines;

namespace {

TEST(AreaTest, DistanceFactorIsTheSquaredLargerOvershoot) {
  struct TCase {
    const char* what;
    double x, y;
    int32_t joint;
    double factor;
  };
  // The rectangle 2 wide and 0.5 high at (0, 0), given with its corners the wrong way round.
  const TCase cases[] = {
      {"inside", 1, 0.25, 1, 1.0},
      {"on the right edge", 2, 0.5, 1, 1.0},
      {"one width to the right", 4, 0.25, 1, 4.0},
      {"half a width to the left", -1, 0.25, 1, 2.25},
      {"two heights above", 1, 1.5, 1, 9.0},
      // 0.5 widths right (1.5) and 1 height below (2): the larger counts.
      {"off a corner", 3, -0.5, 1, 4.0},
  };
  for (const TCase& c : cases) {
    TArea area(2, 0.5, 0, 0);
    EXPECT_DOUBLE_EQ(area.DistanceFactor(TComplex(c.x, c.y), c.joint), c.factor) << c.what;
    EXPECT_EQ(area.X, 0) << "normalised";
    EXPECT_EQ(area.Corner2.Y, 0.5);
  }
  // Reserved for joint 3: any other joint is rated 1e10, joint 3 as usual.
  TArea reserved(0, 0, 1, 1);
  reserved.Joint = 3;
  EXPECT_EQ(reserved.DistanceFactor(TComplex(0.5, 0.5), 2), 1e10);
  EXPECT_EQ(reserved.DistanceFactor(TComplex(0.5, 0.5), 3), 1.0);
  EXPECT_EQ(reserved.DistanceFactor(TComplex(2, 0.5), 3), 4.0);
  // An empty area, should one reach here, admits only points on it.
  TArea line(0, 0, 1, 0);
  EXPECT_EQ(line.DistanceFactor(TComplex(0.5, 0), 1), 1.0);
  EXPECT_EQ(line.DistanceFactor(TComplex(0.5, 0.1), 1), 1e10);
}

TEST(AreaTest, NearEdgesGrabCornersAndMoveThem) {
  struct TCase {
    double x, y;
    bool near;
    int32_t corner;
  };
  // The rectangle (0, 0) to (2, 1), tolerance 0.1. An edge counts only within its extent: just
  // below the bottom right corner is near the bottom edge, not the right one, so no corner.
  const TCase cases[] = {
      {0, 0, true, 1},         {0.05, 0.95, true, 2}, {2, 1, true, 3},      {1.95, -0.05, true, 0},
      {1.95, 0.05, true, 4},   {1, 0, true, 0},       {-0.1, 0.5, true, 0}, {1, 0.5, false, 0},
      {-0.05, 1.05, false, 0}, {3, 0.5, false, 0},
  };
  for (const TCase& c : cases) {
    TArea area(2, 1, 0, 0);
    area.GrabbedCorner = 9;
    EXPECT_EQ(area.IsNear(TComplex(c.x, c.y), 0.1), c.near) << c.x << ", " << c.y;
    EXPECT_EQ(area.GrabbedCorner, c.corner) << c.x << ", " << c.y;
  }
  struct TMove {
    int32_t corner;
    double x1, y1, x2, y2;
  };
  const TMove moves[] = {{0, 2, 1, 0, 0}, {1, 5, 6, 2, 1}, {2, 5, 0, 2, 6}, {3, 0, 0, 5, 6}, {4, 0, 6, 5, 1}};
  for (const TMove& m : moves) {
    TArea area(2, 1, 0, 0);
    area.GrabbedCorner = m.corner;
    area.MoveCorner(TComplex(5, 6));
    EXPECT_EQ(TComplex(area.X, area.Y).NotEqual(TComplex(m.x1, m.y1)), false) << m.corner;
    EXPECT_EQ(area.Corner2.NotEqual(TComplex(m.x2, m.y2)), false) << m.corner;
  }
  // A corner dragged across the opposite edges in steps keeps the opposite corner in place.
  TArea drawn(1, 1, 1, 1);
  drawn.GrabbedCorner = 3;
  for (const TComplex& step : {TComplex(1.5, 0.8), TComplex(2, 0), TComplex(0, -1), TComplex(-1, 2)})
    drawn.MoveCorner(step);
  drawn.Normalize();
  EXPECT_EQ(TComplex(drawn.X, drawn.Y).NotEqual(TComplex(-1, 1)), false);
  EXPECT_EQ(drawn.Corner2.NotEqual(TComplex(1, 2)), false);
  EXPECT_EQ(drawn.GrabbedCorner, 2);

  // The list finds the area under an edge from the last one down.
  TAreaList list;
  list.Add(std::make_unique<TArea>(0, 0, 2, 1));
  list.Add(std::make_unique<TArea>(1, 0, 3, 1));
  EXPECT_EQ(list.FindNear(TComplex(1, 0.5), 0.1), 2);
  EXPECT_EQ(list.FindNear(TComplex(0, 0.5), 0.1), 1);
  EXPECT_EQ(list.FindNear(TComplex(5, 5), 0.1), 0);
}

TEST(AreaTest, NamesAndWidth) {
  struct TCase {
    int32_t joint;
    std::string name;
    int32_t after;
  };
  const TCase cases[] = {{0, "All", 0}, {1, "A", 1},    {3, "C", 3},
                         {11, "K", 11}, {12, "All", 0}, {-1, "All", 0}};
  for (const TCase& c : cases) {
    TAreaList list;
    list.Add(std::make_unique<TArea>(0, 0, 1, 1));
    TArea& area = *list.GetArea(1);
    area.Joint = c.joint;
    EXPECT_EQ(area.GetName(), "1 " + c.name) << c.joint;
    EXPECT_EQ(area.Joint, c.after) << c.joint;
  }
  TArea area(3, 1, 1, 4);
  EXPECT_EQ(area.Width(), 2);
  EXPECT_EQ(area.Height(), 3);
  EXPECT_FALSE(area.IsEmpty());
  EXPECT_TRUE(TArea(1, 1, 1, 4).IsEmpty());
  EXPECT_TRUE(TArea(1, 1, 3, 1).IsEmpty());
}

TEST(AreaListTest, PointFactorIsTheBestAdmittingArea) {
  TAreaList list;
  EXPECT_EQ(list.PointFactor(TComplex(9, 9), 1), 1.0) << "no areas, no restriction";
  list.Add(std::make_unique<TArea>(0, 0, 1, 1));    // (2.5, 0.5): 1.5 widths out, 6.25
  list.Add(std::make_unique<TArea>(3, 0, 4, 1));    // 0.5 widths out, 2.25
  list.Add(std::make_unique<TArea>(10, 0, 11, 1));  // far
  EXPECT_DOUBLE_EQ(list.PointFactor(TComplex(2.5, 0.5), 1), 2.25);
  EXPECT_EQ(list.PointFactor(TComplex(0.5, 0.5), 1), 1.0);
  list.GetArea(1)->Joint = 2;
  EXPECT_DOUBLE_EQ(list.PointFactor(TComplex(0.5, 0.5), 1), std::pow(1 + 2.5, 2)) << "area 1 is for B only";
  EXPECT_EQ(list.PointFactor(TComplex(0.5, 0.5), 2), 1.0);
}

TEST(AreaListTest, LinkFactorOfGroundAndOutputBody) {
  TJointList joints;
  // A (0, 0), B (3, 0), C at infinity, D (1, 1) the output point, E (1, 2).
  for (const auto& [x, y] : std::vector<std::pair<double, double>>{{0, 0}, {3, 0}, {0, 1}, {1, 1}, {1, 2}})
    joints.Add(std::make_unique<TJoint>(x, y));
  joints.GetJoint(3)->Inf = true;
  joints.SetOrigin(4);
  TLink ground;
  ground.SetType(kGroundLink);
  for (const int j : {1, 2, 3}) ground.AddJoint(joints.GetJoint(j));
  TLink body;
  body.SetType(kOutputLink);
  for (const int j : {2, 4, 5}) body.AddJoint(joints.GetJoint(j));
  TLink input;
  input.SetType(kInputLink);
  for (const int j : {1, 2}) input.AddJoint(joints.GetJoint(j));

  TAreaList empty;
  EXPECT_EQ(empty.LinkFactor(ground), 1.0);
  TAreaList areas;
  areas.Add(std::make_unique<TArea>(-1, -1, 1, 1));  // 2 wide: B 1 width out, factor 4
  // The ground joint at infinity is skipped; the worst of A and B counts.
  EXPECT_EQ(areas.LinkFactor(ground), 4.0);
  EXPECT_EQ(areas.LinkFactor(input), 1.0);
  // Relative to D, B is (2, -1) and E (0, 1); at Origin (-0.5, 0) they are (1.5, -1), a
  // quarter width out (1.5625), and (-0.5, 1), inside.
  areas.Origin.SetXY(-0.5, 0);
  EXPECT_DOUBLE_EQ(areas.LinkFactor(body), 1.5625);
  // Reserving the area for E rates B at 1e10.
  areas.GetArea(1)->Joint = 5;
  EXPECT_EQ(areas.LinkFactor(body), 1e10);
  areas.GetArea(1)->Joint = 2;
  EXPECT_DOUBLE_EQ(areas.LinkFactor(body), 1e10) << "E now";
  // Inside: at least 1.0.
  areas.GetArea(1)->Joint = 0;
  areas.Origin.SetXY(-1, 0);
  EXPECT_EQ(areas.LinkFactor(body), 1.0);
}

TEST(AreaListTest, RandomPointOfARandomAreaRelativeToTheOrigin) {
  TAreaList list;
  TComplex out(7, 7);
  list.RandomPoint(out);
  EXPECT_FALSE(out.NotEqual(TComplex(7, 7))) << "no areas";
  list.Add(std::make_unique<TArea>(0, 0, 1, 1));
  list.Add(std::make_unique<TArea>(4, 3, 2, 1));  // normalised to (2, 1) - (4, 3)
  list.Origin.SetXY(0.5, -0.5);
  TScriptedRandom random;
  random.AddInteger(1, 2);
  random.Add(0.25);
  random.Add(0.75);
  TRandomScope scope(random);
  list.RandomPoint(out);
  EXPECT_EQ(random.Requests, (std::vector<int32_t>{2, TScriptedRandom::kUniform, TScriptedRandom::kUniform}));
  EXPECT_DOUBLE_EQ(out.X, 2 + 0.25 * 2 - 0.5);
  EXPECT_DOUBLE_EQ(out.Y, 1 + 0.75 * 2 + 0.5);
}

TEST(AreaListTest, RemoveEmptyAndExtents) {
  TAreaList list;
  list.Add(std::make_unique<TArea>(0, 0, 1, 1));
  list.Add(std::make_unique<TArea>(2, 0, 2, 1));
  list.Add(std::make_unique<TArea>(-3, 5, 1, 2));
  list.Add(std::make_unique<TArea>(0, 4, 1, 4));
  list.RemoveEmpty();
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.GetArea(2)->X, -3);
  TComplex min(0, 0), max(0, 0);
  list.GetExtents(min, max);
  EXPECT_FALSE(min.NotEqual(TComplex(-3, 0)));
  EXPECT_FALSE(max.NotEqual(TComplex(1, 5)));
}

std::string Written(TComplexPointList& list) {
  std::ostringstream out;
  list.Write(out);
  return out.str();
}

TEST(AreaListTest, RecordsRoundTripAndVersionZeroAdmitsEveryJoint) {
  TAreaList list;
  list.Name = "Ground Pivot Areas";
  list.ID = 17;
  list.Add(std::make_unique<TArea>(0.25, -0.5, 1, 2));
  list.Add(std::make_unique<TArea>(3, 4, 5, 6));
  list.GetArea(2)->Joint = 4;
  const std::string record = Written(list);
  const auto lines = shared::SplitTextLines(record);
  // The list's 14 lines and count, two areas of 9 lines each, then version and ID.
  ASSERT_EQ(lines.size(), 14u + 18 + 2);
  EXPECT_EQ(
      std::vector<std::string>(lines.begin() + 19, lines.begin() + 23),
      (std::vector<std::string>{"1", "[Vector]", "2  1.00000000000000E+0000  2.00000000000000E+0000", "0"}));
  EXPECT_EQ(lines[31], "4");
  EXPECT_EQ(std::vector<std::string>(lines.end() - 2, lines.end()), (std::vector<std::string>{"0", "17 ID"}));

  TAreaList read;
  std::istringstream in(record);
  read.Read(in);
  EXPECT_EQ(read.ID, 17);
  ASSERT_EQ(read.Count(), 2);
  EXPECT_EQ(read.GetArea(2)->Joint, 4);
  EXPECT_FALSE(read.IsModified());
  EXPECT_EQ(Written(read), record);
  vesktest::ExpectDamageRefused(record, [](std::istream& s) { TAreaList().Read(s); }, {2});

  // An area of version 0 ends after its corner: the next line is not its Joint.
  TArea old;
  std::istringstream oldText(Lines({"0", "1", "[Vector]", "2 1 2", "0", "0", "[Vector]", "2 3 4", "5 next"}));
  old.ReadFromText(oldText);
  EXPECT_EQ(old.Joint, 0);
  EXPECT_EQ(old.Corner2.Y, 4);
  std::string next;
  std::getline(oldText, next);
  EXPECT_EQ(next, "5 next\r");

  TAreaList copy;
  list.Origin.SetXY(1, 2);
  copy.Assign(list);
  EXPECT_EQ(copy.ID, 17);
  EXPECT_EQ(copy.Origin.Y, 2);
  EXPECT_EQ(copy.GetArea(2)->Joint, 4);
  EXPECT_EQ(copy.GetArea(1)->Corner2.Y, 2);
}

TEST(AreaListTest, DrawsTheEnlargedOutlineOnlyAboveOne) {
  struct TCase {
    double maxDist;
    bool outline;
  };
  for (const TCase c : {TCase{1.0, false}, TCase{1.44, true}}) {
    vesktest::TSynthView view;
    TAreaList list;
    list.MaxDistToArea = c.maxDist;
    list.SelectOnAdd = false;
    list.Add(std::make_unique<TArea>(0, 0, 1, 0.5));
    list.Draw(view.canvas);
    auto& screen = view.box.Screen;
    // 100 pixels a unit about (200, 200), y up.
    EXPECT_TRUE(
        screen.Logged({"Pen 808000 1 2", "M 200,200", "L 300,200", "L 300,150", "L 200,150", "L 200,200"}));
    // sqrt(1.44) - 1 = 0.2 of the width and height on every side.
    const bool outline =
        screen.Logged({"Pen FF00FF 1 2", "M 180,210", "L 320,210", "L 320,140", "L 180,140", "L 180,210"});
    EXPECT_EQ(outline, c.outline) << c.maxDist;
    EXPECT_TRUE(screen.Logged({"Pen 808000 1 0"})) << "corner markers solid";
    EXPECT_EQ(screen.CountOf("Text"), 0) << "no label unless shown or selected";

    view.log.clear();
    list.Select(1);
    list.Draw(view.canvas);
    EXPECT_TRUE(screen.Logged({"Pen FF00 1 2", "Pen FF00 1 0"}));
    EXPECT_EQ(screen.CountOf("Pen FF00FF"), 0);
    EXPECT_EQ(screen.CountOf("Text"), 1);
  }
  // An area outside a list, and an unselected one while erasing, draw nothing.
  vesktest::TSynthView view;
  TArea loose(0, 0, 1, 1);
  loose.Draw(view.canvas);
  EXPECT_TRUE(view.log.empty());
  TAreaList list;
  list.SelectOnAdd = false;
  list.Add(std::make_unique<TArea>(0, 0, 1, 1));
  view.canvas.EraseMode = 1;
  list.Draw(view.canvas);
  EXPECT_TRUE(view.log.empty());
}

TEST(AreaListTest, HtmlTableEscapesTheName) {
  shared::CreateConvert();
  TAreaList list;
  list.Name = "Pivots <b>&\"x\"";
  list.Add(std::make_unique<TArea>(0.004, 0.003, 0.001, 0));
  list.GetArea(1)->Joint = 2;
  std::ostringstream out;
  list.WriteHtml(out);
  EXPECT_EQ(out.str(),
            "<table border=\"1\" bordercolor=\"#000000\" width=\"100%\">\r\n"
            "    <tr><td colspan=\"6\" bgcolor=\"#FFFFCC\" width=\"100%\"><font face=\"Arial\" size=\"4\">"
            "Pivots &lt;b&gt;&amp;&quot;x&quot;</font></td></tr>\r\n"
            "    <tr>\r\n"
            "        <td width=\"5%\">Nr.</td>\r\n"
            "        <td width=\"20%\">Min. x [mm]</td>\r\n"
            "        <td width=\"20%\">Min. y [mm]</td>\r\n"
            "        <td width=\"20%\">Max. x [mm]</td>\r\n"
            "        <td width=\"20%\">Max. y [mm]</td>\r\n"
            "        <td width=\"15%\">Include</td>\r\n"
            "    </tr>\r\n"
            "    <tr>\r\n"
            "        <td>1</td>\r\n"
            "        <td>1.000</td>\r\n"
            "        <td>0.000</td>\r\n"
            "        <td>4.000</td>\r\n"
            "        <td>3.000</td>\r\n"
            "        <td>B</td>\r\n"
            "    </tr>\r\n"
            "</table>\r\n<p></p>\r\n");
  AppOptions.IsPolar = true;
  std::ostringstream polar;
  list.WriteHtml(polar);
  EXPECT_NE(polar.str().find(
                "Min. R [mm]</td>\r\n        <td width=\"20%\">Min. Angle [\xB0]</td>\r\n"
                "        <td width=\"20%\">Max. R [mm]</td>\r\n        <td width=\"20%\">Max. Angle [\xB0]"),
            std::string::npos);
  // Max corner (4, 3) mm: 5 mm at atan(3/4) = 36.870 degrees.
  EXPECT_NE(polar.str().find("<td>5.000</td>\r\n        <td>36.870</td>"), std::string::npos);
  ResetAppOptions();
  shared::FreeConvert();
}

}  // namespace
