// Links and the link list: types and modes, the random rotations and their draws, geometry,
// roles, drawing and records.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <sstream>

#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/Link.h"
#include "tests/synthesis/engine/RecordText.h"
#include "tests/synthesis/engine/ScriptedRandom.h"
#include "tests/synthesis/engine/SynthCanvas.h"

using namespace vesk;
using shared::TComplex;
using vesk::test::TScriptedRandom;
using vesktest::Lines;
using vesktest::ReadError;

namespace {

constexpr double kPi = std::numbers::pi;

std::string Written(TLink& link) {
  std::ostringstream out;
  link.Write(out);
  return out.str();
}

std::string Written(TLinkList& links) {
  std::ostringstream out;
  links.Write(out);
  return out.str();
}

// Five joints: A (0, 0), B (1, 0), C (1, 1), D at infinity in direction (0, 1), E (0, 2).
void FillJoints(TJointList& joints) {
  const double xy[5][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 2}};
  for (const auto& p : xy) joints.Add(std::make_unique<TJoint>(p[0], p[1]));
  joints.GetJoint(4)->Inf = true;
}

std::unique_ptr<TLink> MakeLink(TJointList& joints, uint8_t type, std::initializer_list<int> joined) {
  auto link = std::make_unique<TLink>();
  link->SetType(type);
  for (const int j : joined) link->AddJoint(joints.GetJoint(j));
  return link;
}

// Nine precision points; 5 and 9 carry the rotations given.
void FillPoints(TPrePointList& points, double in5, double in9, double out5, double out9) {
  points.Clear();
  points.AddNew(9);
  points.GetPoint(5)->In = in5;
  points.GetPoint(9)->In = in9;
  points.GetPoint(5)->Out = out5;
  points.GetPoint(9)->Out = out9;
}

TEST(LinkTest, TypesChooseModesAndModesTheGuideLine) {
  TLink link;
  EXPECT_EQ(link.Type(), kOtherLink);
  EXPECT_EQ(link.Mode(), 2);
  EXPECT_TRUE(link.Free());
  EXPECT_EQ(link.MaxAngle, kPi / 2);
  EXPECT_EQ(link.GuideLine(), nullptr);
  const std::pair<uint8_t, uint8_t> typeMode[] = {{0, 0}, {1, 2}, {2, 1}, {3, 2}};
  for (const auto& [type, mode] : typeMode) {
    link.MakeDefault();
    link.SetType(type);
    EXPECT_EQ(link.Mode(), mode) << int(type);
    EXPECT_EQ(link.Free(), type != 0) << int(type);
  }
  link.MakeDefault();
  link.SetMode(3);
  const TComplexLine* guide = link.GuideLine();
  ASSERT_NE(guide, nullptr);
  link.SetMode(4);
  EXPECT_EQ(link.GuideLine(), guide);  // kept
  link.SetMode(0);                     // kept as well, and everything fixed
  EXPECT_EQ(link.GuideLine(), guide);
  EXPECT_FALSE(link.Free());
  for (int i = 2; i <= 9; ++i) EXPECT_TRUE(link.Fixed[i]);
  link.SetMode(5);
  EXPECT_EQ(link.GuideLine(), nullptr);
}

TEST(LinkTest, RandomRotationsFollowRoleAndModeWithTheirDraws) {
  const double M = 1.25;  // MaxAngle
  struct Case {
    const char* name;
    uint8_t type, mode;
    bool inTotal, in, out;
    std::vector<double> draws;
    double rot5, rot9;
    std::vector<int> fixed;  // positions fixed afterwards
  };
  const std::vector<int> all = {2, 3, 4, 5, 6, 7, 8, 9};
  const Case cases[] = {
      {"input, total input rotation", 2, 1, true, true, true, {0.5}, 2 * kPi * 0.5, 2 * kPi, {9}},
      {"input, total, smallest draw", 2, 1, true, false, false, {0}, 2 * kPi * 0.05, 2 * kPi, {9}},
      {"input, rotations at every point", 2, 1, false, true, true, {}, 0.3, 0.9, all},
      {"output body, output rotations", 3, 2, true, true, true, {}, -0.2, 0.7, all},
      {"output body without them: mode 2",
       3,
       2,
       true,
       true,
       false,
       {0.2, 0, 0.5, 0.5, 0.1},
       0.5 * M,
       -0.1 * M,
       {}},
      {"input without them: mode 1",
       2,
       1,
       false,
       false,
       true,
       {0.7, 0, 0.5, 0, 0.25},
       -0.25 * 0.5 * M,
       -0.5 * M,
       {}},
      {"mode 1, sign at 0.5", 1, 1, false, false, false, {0.5, 0.4, 0.5}, -0.5 * 0.4 * M, -0.4 * M, {}},
      {"mode 1, positive", 1, 1, false, false, false, {0.4999, 0.4, 0.5}, 0.5 * 0.4 * M, 0.4 * M, {}},
      {"mode 3 as mode 1", 1, 3, false, false, false, {0.1, 0.8, 0.75}, 0.75 * 0.8 * M, 0.8 * M, {}},
      {"mode 4 as mode 2", 1, 4, false, false, false, {0.9, 0.5, 0.3, 0, 0.25}, -0.5 * M, 0.25 * M, {}},
      {"mode 5, half turn", 1, 5, false, false, false, {}, 0, kPi, all},
      {"mode 0, no rotation", 1, 0, false, false, false, {}, 0, 0, {}},
      {"input, total, largest draw",
       2,
       1,
       true,
       false,
       false,
       {0.9999999999},
       2 * kPi * (0.05 + 0.9 * 0.9999999999),
       2 * kPi,
       {9}},
  };
  for (const auto& c : cases) {
    TPrePointList points;
    FillPoints(points, 0.3, 0.9, -0.2, 0.7);
    points.InTotal = c.inTotal;
    points.TotalIn = 2 * kPi;
    points.In = c.in;
    points.Out = c.out;
    TLink link;
    link.SetType(c.type);
    link.SetMode(c.mode);
    link.SetFree(true);
    link.MaxAngle = M;
    link.SetFixedAll(true);
    TScriptedRandom draws;
    for (const double u : c.draws) draws.Add(u);
    TRandomScope scope(draws);
    link.RandomizeRotations(points);
    EXPECT_EQ(draws.Left(), 0u) << c.name;
    EXPECT_NEAR(link.Rot[5], c.rot5, 1e-15) << c.name;
    EXPECT_NEAR(link.Rot[9], c.rot9, 1e-15) << c.name;
    for (int i = 2; i <= 9; ++i) {
      const bool fixed = std::find(c.fixed.begin(), c.fixed.end(), i) != c.fixed.end();
      EXPECT_EQ(link.Fixed[i], fixed) << c.name << " position " << i;
    }
    for (const int i : {2, 3, 4, 6, 7, 8}) EXPECT_EQ(link.Rot[i], 0) << c.name;
  }
}

TEST(LinkTest, NoDrawsForALinkThatIsNotFreeOrCannotRotate) {
  TPrePointList points;
  FillPoints(points, 1, 2, 3, 4);
  points.In = points.Out = true;
  TScriptedRandom none;
  TRandomScope scope(none);

  TLink fixedLink;
  fixedLink.SetType(kInputLink);
  fixedLink.SetFree(false);
  fixedLink.Fixed[3] = false;
  fixedLink.Rot[5] = 0.125;
  fixedLink.RandomizeRotations(points);
  EXPECT_EQ(fixedLink.Rot[5], 0.125);
  EXPECT_FALSE(fixedLink.Fixed[3]);  // not even the flags change

  // Mode 1 with no positive bound would redraw for ever: it draws nothing.
  for (const double bound : {0.0, -1.0, std::nan("")}) {
    TLink link;
    link.SetMode(1);
    link.MaxAngle = bound;
    link.RandomizeRotations(TPrePointList());
    EXPECT_EQ(link.Rot[9], 0);
  }
  // A free ground link (mode 0) only has its flags cleared.
  TLink ground;
  ground.SetType(kGroundLink);
  ground.SetFree(true);
  ground.RandomizeRotations(points);
  EXPECT_FALSE(ground.Fixed[9]);
  EXPECT_EQ(none.Taken(), 0u);
}

TEST(LinkTest, ListRandomizeDrawsLinksThenOffsetThenRatio) {
  TJointList joints;
  FillJoints(joints);
  TLinkList links;
  links.Joints = &joints;
  links.Add(MakeLink(joints, kGroundLink, {1, 2}));
  links.Add(MakeLink(joints, kOtherLink, {2, 3}));  // mode 2: two signs, two fractions
  links.RefLength = 0.5;
  TPrePointList points;
  FillPoints(points, 0, 0, 0, 0);
  struct Case {
    double r1, r2, sign, r, ratio;
  };
  const Case cases[] = {
      {0.25, 0.5, 0.75, 0.5, 2.6}, {0, 0, 0.5, 0.25, -1.0}, {0.5, 0.999, 0.0, 0.999, -4.5952}};
  for (const auto& c : cases) {
    TScriptedRandom draws{0.1, 0.5, 0.6, 0.25, c.r1, c.r2, c.sign, c.r};
    TRandomScope scope(draws);
    links.Randomize(points);
    EXPECT_EQ(draws.Left(), 0u);
    EXPECT_NEAR(links.GetLink(2)->Rot[5], kPi / 4, 1e-15);
    EXPECT_NEAR(links.GetLink(2)->Rot[9], -kPi / 8, 1e-15);
    EXPECT_NEAR(links.Offset.Abs(), (c.r2 + 0.001) * 0.5, 1e-15);
    EXPECT_NEAR(std::remainder(links.Offset.Arg() - 2 * kPi * c.r1, 2 * kPi), 0, 1e-12);
    EXPECT_NEAR(links.Ratio, c.ratio, 1e-12);
  }
}

TEST(LinkTest, RotationsBetweenPositions) {
  TLink link;
  link.Rot[5] = 0.5;
  link.Rot[9] = 3;
  struct Case {
    int i, j;
    double angle;
  };
  const Case cases[] = {{5, 1, 0.5}, {9, 5, 2.5}, {5, 9, -2.5}, {1, 9, -3},
                        {9, 1, 3},   {1, 1, 0},   {2, 5, -0.5}};
  for (const auto& c : cases) EXPECT_NEAR(link.RelativeRotation(c.i, c.j), c.angle, 1e-15) << c.i << c.j;
  // Beyond a half turn the answer wraps into (-pi, pi].
  link.Rot[9] = 4;
  EXPECT_NEAR(link.RelativeRotation(9, 1), 4 - 2 * kPi, 1e-15);
  link.SetTotalRotation(-1);
  EXPECT_EQ(link.GetTotalRotation(), -1);
  EXPECT_EQ(link.Rot[9], -1);
}

TEST(LinkTest, GeometryOfJointsAndPointsAtInfinity) {
  TJointList joints;
  FillJoints(joints);
  auto link = MakeLink(joints, kOtherLink, {1, 3, 4});  // A, C and D at infinity
  EXPECT_NEAR(link->JointDistance(1, 2, false), std::sqrt(2), 1e-15);
  EXPECT_EQ(link->JointDistance(1, 3, true), 1e5);
  EXPECT_EQ(link->JointDistance(3, 1, false), 0);
  EXPECT_EQ(link->JointDistance(1, 4, true), 0);  // no fourth joint
  EXPECT_NEAR(link->MaxJointDistance(), std::sqrt(2), 1e-15);
  EXPECT_NEAR(link->Angle(), kPi / 4, 1e-15);
  EXPECT_EQ(link->GetName(), "ACD");
  EXPECT_EQ(link->KindString(), "PPP");
  link->AddJoint(joints.GetJoint(5));  // a fourth is ignored
  EXPECT_EQ(link->JointCount(), 3);

  auto bar = MakeLink(joints, kOtherLink, {1, 2});
  // Inside the thin ellipse about A-B: the sum of distances within the side plus the tolerance.
  EXPECT_TRUE(bar->HitTest(TComplex(0.5, 0), 0));
  EXPECT_TRUE(bar->HitTest(TComplex(0.5, 0.1), 2 * std::hypot(0.5, 0.1) - 1 + 1e-12));
  EXPECT_FALSE(bar->HitTest(TComplex(0.5, 0.1), 2 * std::hypot(0.5, 0.1) - 1 - 1e-12));
  EXPECT_FALSE(bar->HitTest(TComplex(1.2, 0), 0.3));
  EXPECT_TRUE(bar->HitTest(TComplex(1.2, 0), 0.41));
  EXPECT_EQ(TLink().MaxJointDistance(), 0);
  EXPECT_EQ(TLink().Angle(), 0);
}

TEST(LinkListTest, AddDeleteSelectionAndRoles) {
  TJointList joints;
  FillJoints(joints);
  TLinkList links;
  links.Joints = &joints;
  for (int i = 0; i < 8; ++i) EXPECT_NE(links.Add(MakeLink(joints, kOtherLink, {1, 2})), nullptr);
  EXPECT_EQ(links.Selected(), links.GetLink(8));
  EXPECT_TRUE(links.GetLink(8)->Selected);
  EXPECT_EQ(links.Add(std::make_unique<TLink>()), nullptr);  // a ninth is freed
  EXPECT_EQ(links.Count(), 8);
  EXPECT_EQ(links.Selected(), links.GetLink(8));

  links.Clear();
  links.Add(MakeLink(joints, kGroundLink, {1, 2}));
  links.Add(MakeLink(joints, kInputLink, {1, 3}));
  links.Add(MakeLink(joints, kOutputLink, {2, 5}));
  links.Add(MakeLink(joints, kInputLink, {2, 3}));
  links.GetLink(3)->SetMode(4);
  links.AssignRoles();
  EXPECT_EQ(links.GroundLink, links.GetLink(1));
  EXPECT_EQ(links.InputLink, links.GetLink(4));  // a later link of the same role wins
  EXPECT_EQ(links.OutputLink, links.GetLink(3));
  EXPECT_EQ(links.GuidedLink, links.GetLink(3));
  EXPECT_NEAR(links.MaxLinkLength(), std::sqrt(5), 1e-15);

  links.Select(2);
  TLink* third = links.GetLink(3);
  links.Delete(2);
  EXPECT_EQ(links.Selected(), nullptr);
  EXPECT_EQ(links.GetLink(2), third);
  EXPECT_EQ(third->ID, 2);
  EXPECT_EQ(links.GetLink(3)->ID, 3);
  EXPECT_EQ(links.IndexOf(third), 2);
  // Deleting a link that plays a role leaves the role empty, not pointing at a freed link.
  links.Delete(1);
  links.Delete(2);
  EXPECT_EQ(links.GroundLink, nullptr);
  EXPECT_EQ(links.InputLink, nullptr);
  EXPECT_EQ(links.OutputLink, third);
  links.Delete(5);  // not there: nothing
  EXPECT_EQ(links.Count(), 1);

  // Near: from the last link down.
  links.Clear();
  links.Add(MakeLink(joints, kOtherLink, {1, 2}));
  links.Add(MakeLink(joints, kOtherLink, {1, 2}));
  EXPECT_EQ(links.FindNear(TComplex(0.5, 0), 0.01), 2);
  EXPECT_EQ(links.FindNear(TComplex(0.5, 0.5), 0.01), 0);

  links.GetLink(1)->Rot[5] = 1;
  links.SaveRotations();
  links.GetLink(1)->Rot[5] = 2;
  EXPECT_EQ(links.GetLink(1)->SavedRot[5], 1);
  links.RestoreRotations();
  EXPECT_EQ(links.GetLink(1)->Rot[5], 1);
}

TEST(LinkTest, RecordRoundTripsByteForByte) {
  TJointList joints;
  FillJoints(joints);
  auto link = MakeLink(joints, kInputLink, {1, 3});
  link->ID = 2;
  link->Rot[5] = 0.5;
  link->Rot[9] = -1.5;
  link->SavedRot[9] = 2;
  link->Fixed[9] = true;
  const std::string text = Written(*link);
  const std::string zero = " 0.00000000000000E+0000 ";
  EXPECT_EQ(
      text,
      Lines(
          {"[Link]", "0", "2", "2 T", "1 M", "1 MR", " 1.57079632679490E+0000", "0", "2 Joints", "1 3 ", "9",
           zero + zero + zero + " 5.00000000000000E-0001 " + zero + zero + zero + "-1.50000000000000E+0000 ",
           zero + zero + zero + zero + zero + zero + zero + " 2.00000000000000E+0000 ", "0 0 0 0 0 0 0 1 "}));
  TLink back;
  std::istringstream in(text);
  back.Read(in);
  EXPECT_EQ(back.Type(), kInputLink);
  EXPECT_EQ(back.JointIndex[2], 3);
  EXPECT_EQ(back.Rot[9], -1.5);
  EXPECT_TRUE(back.Fixed[9]);
  EXPECT_FALSE(back.Modified);
  EXPECT_TRUE(back.ResolveJoints(&joints));
  EXPECT_EQ(back.Joint(2), joints.GetJoint(3));
  EXPECT_EQ(Written(back), text);
  vesktest::ExpectDamageRefused(text, [](std::istream& s) { TLink().Read(s); });

  // A guided link carries its guide line's record.
  auto guided = MakeLink(joints, kOtherLink, {2, 4});
  guided->SetMode(3);
  guided->GuideLine()->SetEndpoints(TComplexPoint(0, 0), TComplexPoint(2, 0.5));
  const std::string withGuide = Written(*guided);
  TLink guidedBack;
  std::istringstream guideIn(withGuide);
  guidedBack.Read(guideIn);
  ASSERT_NE(guidedBack.GuideLine(), nullptr);
  EXPECT_EQ(guidedBack.GuideLine()->Point2.Y, 0.5);
  EXPECT_EQ(Written(guidedBack), withGuide);
  // Damage inside the guide line's record is the link's read error too (the name line is text).
  // The guide's version lines are skipped unread, its name is text.
  vesktest::ExpectDamageRefused(withGuide, [](std::istream& s) { TLink().Read(s); }, {8, 10, 15});
}

TEST(LinkTest, RecordsThatCannotBeHeldAreRefused) {
  auto record = [](const std::string& mode, const std::string& maxAngle, const std::string& count,
                   const std::string& indices, const std::string& positions, const std::string& rot) {
    return Lines({"[Link]", "0", "1", "1 T", mode, "1 MR", maxAngle, "0", count, indices, positions, rot, rot,
                  "0 0 0 0 0 0 0 0 0 0 0"});
  };
  auto read = [](std::istream& s) { TLink().Read(s); };
  const std::string good = record("2 M", "1", "2 Joints", "1 2", "3", "0.5 0.25");
  EXPECT_EQ(ReadError(good, read), "");
  struct Case {
    const char* name;
    std::string text;
  };
  const Case refused[] = {
      {"mode 1 without a positive bound", record("1 M", "0", "2 Joints", "1 2", "3", "0.5 0.25")},
      {"mode 3 with a negative bound", record("3 M", "-0.5", "2 Joints", "1 2", "3", "0.5 0.25")},
      {"mode 1 with NAN", record("1 M", "NAN", "2 Joints", "1 2", "3", "0.5 0.25")},
      {"four joints", record("2 M", "1", "4 Joints", "1 2 3 4", "3", "0.5 0.25")},
      {"fewer indices than joints", record("2 M", "1", "3 Joints", "1 2", "3", "0.5 0.25")},
      {"fewer rotations than the count", record("2 M", "1", "2 Joints", "1 2", "4", "0.5 0.25")},
      {"mode 6", record("6 M", "1", "2 Joints", "1 2", "3", "0.5 0.25")},
      {"type 4", Lines({"[Link]", "0", "1", "4 T"})},
      {"wrong section", Lines({"[Links]", "0"})},
  };
  for (const auto& c : refused) EXPECT_EQ(ReadError(c.text, read), "File read error in TLink!") << c.name;

  // Mode 2 and mode 0 take any bound; a count line above 9 reads positions 2..9 only.
  EXPECT_EQ(ReadError(record("2 M", "0", "2 Joints", "1 2", "3", "0.5 0.25"), read), "");
  const std::string twelve = " 2 3 4 5 6 7 8 9 10 11 12";
  TLink link;
  std::istringstream in(record("2 M", "1", "2 Joints", "1 2", "12", twelve));
  link.Read(in);
  EXPECT_EQ(link.Rot[2], 2);
  EXPECT_EQ(link.Rot[9], 9);
}

TEST(LinkListTest, RecordRoundTripsAndResolvesJoints) {
  TJointList joints;
  FillJoints(joints);
  TLinkList links;
  links.Joints = &joints;
  links.Add(MakeLink(joints, kGroundLink, {1, 2}));
  links.Add(MakeLink(joints, kInputLink, {1, 3}));
  links.Add(MakeLink(joints, kOutputLink, {3, 5, 2}));
  links.Offset.SetXY(0.25, -0.5);
  links.Ratio = -3;
  links.RefLength = 0.75;
  const std::string text = Written(links);
  const auto lines = shared::SplitTextLines(text);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 7),
            (std::vector<std::string>{"[Links]", "0", "[Vector]",
                                      "2  2.50000000000000E-0001 -5.00000000000000E-0001",
                                      "-3.00000000000000E+0000", " 7.50000000000000E-0001", "3"}));
  EXPECT_FALSE(links.IsModified());

  TLinkList back;
  back.Joints = &joints;
  back.SelectOnAdd = false;
  std::istringstream in(text);
  back.Read(in);
  ASSERT_EQ(back.Count(), 3);
  EXPECT_EQ(back.GetLink(3)->Joint(2), joints.GetJoint(5));
  EXPECT_EQ(back.OutputLink, back.GetLink(3));
  EXPECT_EQ(back.GroundLink, back.GetLink(1));
  EXPECT_EQ(back.Selected(), nullptr);
  EXPECT_TRUE(back.SelectOnAdd);
  EXPECT_FALSE(back.IsModified());
  EXPECT_EQ(back.Ratio, -3);
  EXPECT_EQ(Written(back), text);

  auto read = [&](std::istream& s) {
    TLinkList l;
    l.Joints = &joints;
    l.Read(s);
  };
  vesktest::ExpectDamageRefused(text, read);
  // A joint index outside the joint list, and more links than a list holds.
  auto badIndex = lines;
  badIndex[7 + 9] = "1 6 ";  // the first link's joint line
  EXPECT_EQ(ReadError(Lines(badIndex), read), "File read error in TLinkList!");
  auto nine = lines;
  nine[6] = "9";
  EXPECT_EQ(ReadError(Lines(nine), read), "File read error in TLinkList!");
  // The wrong section line leaves the list empty.
  TLinkList emptied;
  emptied.Add(std::make_unique<TLink>());
  std::istringstream wrong(Lines({"[Link]"}));
  EXPECT_THROW(emptied.Read(wrong), shared::EFileReadError);
  EXPECT_EQ(emptied.Count(), 0);
}

// What a drag chose goes into the record only when a drag made it, so every other list is written
// as before; it survives the record, a copy and nothing else.
TEST(LinkListTest, DragChoicesAreStoredOnlyWhenADragMadeThem) {
  TJointList joints;
  FillJoints(joints);
  TLinkList links;
  links.Joints = &joints;
  links.Add(MakeLink(joints, kGroundLink, {1, 2}));
  links.Add(MakeLink(joints, kInputLink, {1, 3}));
  links.Offset.SetXY(0.25, -0.5);
  const std::string plain = Written(links);
  links.LoopScale.SetXY(0.5, 0.25);
  links.ParallelShift1.SetXY(0.125, 0);
  links.ParallelShift2.SetXY(0, -2);
  const std::string text = Written(links);
  const auto lines = shared::SplitTextLines(text);
  const auto plainLines = shared::SplitTextLines(plain);
  EXPECT_EQ(plainLines[1], "0");
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 13),
            (std::vector<std::string>{"[Links]", "1", "[Vector]", "2  2.50000000000000E-0001 -5.00000000000000E-0001",
                                      " 2.00000000000000E+0000", " 1.00000000000000E+0000", "[Vector]",
                                      "2  5.00000000000000E-0001  2.50000000000000E-0001", "[Vector]",
                                      "2  1.25000000000000E-0001  0.00000000000000E+0000", "[Vector]",
                                      "2  0.00000000000000E+0000 -2.00000000000000E+0000", "2"}));
  // Past the three vectors the record is the plain one.
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 12, lines.end()),
            std::vector<std::string>(plainLines.begin() + 6, plainLines.end()));

  TLinkList back;
  back.Joints = &joints;
  std::istringstream in(text);
  back.Read(in);
  EXPECT_EQ(back.LoopScale.X, 0.5);
  EXPECT_EQ(back.LoopScale.Y, 0.25);
  EXPECT_EQ(back.ParallelShift1.X, 0.125);
  EXPECT_EQ(back.ParallelShift2.Y, -2);
  EXPECT_EQ(Written(back), text);
  // A record without them clears what the list held.
  std::istringstream plainIn(plain);
  back.Read(plainIn);
  EXPECT_FALSE(back.HasDragChoices());
  EXPECT_EQ(back.LoopScale.X, 1);

  auto read = [&](std::istream& s) {
    TLinkList l;
    l.Joints = &joints;
    l.Read(s);
  };
  vesktest::ExpectDamageRefused(text, read);
  // A scale that would fold the input loop onto its pivot, or none at all; a scale or a
  // parallelogram shift no drag makes, whose synthesis would run out of the double range.
  struct TDamage {
    size_t Line;  // 7 the loop scale, 9 and 11 the shifts
    const char* Vector;
  };
  for (const TDamage d : {TDamage{7, "2  0.00000000000000E+0000  0.00000000000000E+0000"}, TDamage{7, "2 NaN 0"},
                          TDamage{7, "2 Inf 0"}, TDamage{7, "2 1e308 0"}, TDamage{7, "2 0 1e-300"},
                          TDamage{9, "2 1e308 0"}, TDamage{9, "2 NaN 0"}, TDamage{11, "2 0 -1e308"},
                          TDamage{11, "2 1e200 1e200"}, TDamage{11, "2 -Inf 0"}}) {
    auto damaged = lines;
    damaged[d.Line] = d.Vector;
    EXPECT_EQ(ReadError(Lines(damaged), read), "File read error in TLinkList!") << d.Line << ": " << d.Vector;
  }
  // Far, but within what a drag can reach.
  auto far = lines;
  far[7] = "2 1000 0";
  far[9] = "2 -1000 1000";
  std::istringstream farIn(Lines(far));
  back.Read(farIn);
  EXPECT_EQ(back.LoopScale.X, 1000);
  EXPECT_EQ(back.ParallelShift1.Y, 1000);

  TLinkList copy;
  copy.Joints = &joints;
  copy.Assign(links);
  EXPECT_EQ(Written(copy), text);
  // A new layout and a random design have none.
  TPrePointList points;
  FillPoints(points, 0, 0, 0, 0);
  copy.Randomize(points);
  EXPECT_FALSE(copy.HasDragChoices());
  links.Clear();
  EXPECT_FALSE(links.HasDragChoices());
}

TEST(LinkListTest, AssignCopiesLinksAndResolvesInItsOwnJoints) {
  TJointList joints, otherJoints;
  FillJoints(joints);
  FillJoints(otherJoints);
  TLinkList source;
  source.Joints = &joints;
  source.Add(MakeLink(joints, kGroundLink, {1, 2}));
  source.Add(MakeLink(joints, kOutputLink, {3, 5}));
  source.GetLink(2)->SetMode(3);
  source.GetLink(2)->GuideLine()->Point2.SetXY(4, 4);
  source.GetLink(2)->Rot[9] = 0.5;
  source.Offset.SetXY(1, 2);
  source.Ratio = 4;

  TLinkList copy;
  copy.Joints = &otherJoints;
  for (int i = 0; i < 5; ++i) copy.Add(std::make_unique<TLink>());
  copy.Assign(source);
  ASSERT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.GetLink(2)->Joint(2), otherJoints.GetJoint(5));
  EXPECT_EQ(copy.GetLink(2)->Rot[9], 0.5);
  EXPECT_EQ(copy.GetLink(2)->GuideLine()->Point2.X, 4);
  EXPECT_EQ(copy.GetLink(2)->ID, 2);
  EXPECT_EQ(copy.OutputLink, copy.GetLink(2));
  EXPECT_EQ(copy.GuidedLink, copy.GetLink(2));
  EXPECT_EQ(copy.Offset.Y, 2);
  EXPECT_EQ(copy.Ratio, 4);
  EXPECT_EQ(copy.Selected(), nullptr);
  EXPECT_TRUE(copy.IsModified());

  TLinkList longer;
  longer.Joints = &otherJoints;
  longer.Add(std::make_unique<TLink>());
  source.Add(MakeLink(joints, kInputLink, {1, 3}));
  longer.Assign(source);
  EXPECT_EQ(longer.Count(), 3);
  EXPECT_EQ(longer.InputLink, longer.GetLink(3));
}

TEST(LinkTest, DrawsByRoleAndMode) {
  TJointList joints;
  FillJoints(joints);
  vesktest::TSynthView view;
  auto& screen = view.box.Screen;

  auto ground = MakeLink(joints, kGroundLink, {1, 4, 2});  // the joint at infinity gets no marker
  ground->Draw(view.canvas);
  EXPECT_TRUE(screen.Logged({"Pen 0 1 0", "M 200,200", "L 191,218", "L 209,218", "M 300,200", "L 309,218"}));
  EXPECT_EQ(screen.CountOf("M "), 2);

  view.log.clear();
  auto bar = MakeLink(joints, kInputLink, {1, 2});
  bar->Selected = true;
  bar->Draw(view.canvas);
  EXPECT_TRUE(screen.Logged({"Pen FF00 1 0", "M 200,200", "L 300,200", "Pen FF 1 0"}));

  view.log.clear();
  auto guided = MakeLink(joints, kOtherLink, {2, 4});
  guided->SetMode(4);
  guided->GuideLine()->SetEndpoints(TComplexPoint(0, 0), TComplexPoint(1, 1));
  guided->Draw(view.canvas);
  EXPECT_EQ(screen.CountOf("Ellipse"), 1);  // the finite joint only
  EXPECT_TRUE(screen.Logged({"Ellipse 290,190 310,210", "M 200,200", "L 300,100"}));

  // A three-joint body: hatched black, hollow for the output body while its drawing is shown;
  // the brush is restored afterwards.
  for (const bool shown : {false, true}) {
    view.log.clear();
    AppOptions.ShowOutputLinkDrawing = shown;
    auto body = MakeLink(joints, kOutputLink, {1, 2, 3});
    screen.CurrentBrush = {shared::kWhite, shared::TBrushStyle::Solid};
    body->Draw(view.canvas);
    const std::string brush = shown ? "Brush 0 1" : "Brush 0 5";
    EXPECT_TRUE(screen.Logged({brush, "Polygon 200,200 300,200 300,100", "Brush FFFFFF 0"})) << shown;
  }
  ResetAppOptions();
  view.log.clear();
  TLink().Draw(view.canvas);
  EXPECT_TRUE(view.log.empty());
}

}  // namespace
