// Joints and the joint list: records, letters, the output joint and drawing.
#include "synthesis/engine/Joint.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "tests/synthesis/engine/RecordText.h"
#include "tests/synthesis/engine/SynthCanvas.h"

using namespace vesk;
using shared::TComplex;
using vesktest::Lines;
using vesktest::ReadError;

namespace {

std::string Written(TComplexPointList& list) {
  std::ostringstream out;
  list.Write(out);
  return out.str();
}

std::string Written(const TComplexPoint& p) {
  std::ostringstream out;
  p.WriteToText(out);
  return out.str();
}

// A four-bar's joints A0, A, B, B0 and the coupler point as the origin.
void FillFourBar(TJointList& joints) {
  const double xy[5][2] = {{0, 0}, {0.1, 0.3}, {0.9, 0.6}, {1, 0}, {0.5, 1}};
  for (const auto& p : xy) joints.Add(std::make_unique<TJoint>(p[0], p[1]));
  joints.SetOrigin(5);
}

TEST(JointTest, RecordAppendsVersionAndIsOut) {
  TJoint j(0.25, -1);
  j.IsOut = true;
  const std::string text = Written(j);
  EXPECT_EQ(text, Lines({"0", "0", "[Vector]", "2  2.50000000000000E-0001 -1.00000000000000E+0000", "0 Inf",
                         "0", "1 IsOut"}));
  TJoint back;
  std::istringstream in(text);
  back.ReadFromText(in);
  EXPECT_TRUE(back.IsOut);
  EXPECT_EQ(back.X, 0.25);
  EXPECT_EQ(Written(back), text);
  vesktest::ExpectDamageRefused(text, [](std::istream& in) { TJoint().ReadFromText(in); });
  // The joint's own lines, before and after the vector record, give the joint's text.
  for (const size_t k : {0, 1, 4, 5, 6}) {
    auto lines = shared::SplitTextLines(text);
    lines[k] = "x";
    EXPECT_EQ(ReadError(Lines(lines), [](std::istream& in) { TJoint().ReadFromText(in); }),
              "File read error in TJoint!")
        << k;
  }
}

TEST(JointTest, AssignCloneAndLetters) {
  TJoint out(1, 2);
  out.IsOut = true;
  TJoint j;
  j.Assign(out);
  EXPECT_TRUE(j.IsOut);
  j.Assign(TComplexPoint(3, 4));  // not a joint: IsOut stays
  EXPECT_TRUE(j.IsOut);
  EXPECT_EQ(j.X, 3);
  std::unique_ptr<TComplexPoint> clone(static_cast<const TComplexPoint&>(out).Clone());
  auto* joint = dynamic_cast<TJoint*>(clone.get());
  ASSERT_NE(joint, nullptr);
  EXPECT_TRUE(joint->IsOut);

  TJointList joints(30);
  joints.AddNew(27);
  EXPECT_EQ(joints.Count(), 27);
  const std::pair<int, const char*> names[] = {{1, "A"}, {2, "B"}, {10, "J"}, {26, "Z"}, {27, ""}};
  for (const auto& [i, name] : names) EXPECT_EQ(joints.GetJoint(i)->GetName(), name);
  EXPECT_EQ(TJoint().GetName(), "");
}

TEST(JointListTest, RecordRoundTripsAndFindsTheOrigin) {
  TJointList joints;
  FillFourBar(joints);
  const std::string text = Written(joints);
  const auto lines = shared::SplitTextLines(text);
  const std::vector<std::string> head = {"[List]",        "0",
                                         "Joints",        "1 SelectOnAdd",
                                         "1 Visible",     "0 Connect",
                                         "0 ConnectEnds", "1 ShowPoints",
                                         "1 ShowLabels",  "10 TextOffset",
                                         "6 MarkerType",  "4 MarkerSize",
                                         "0 Color",       "5"};
  ASSERT_EQ(lines.size(), head.size() + 5 * 7 + 1);  // five joint records of seven lines, "0"
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + head.size()), head);
  EXPECT_EQ(lines[head.size() + 4 * 7 + 6], "1 IsOut");
  EXPECT_EQ(lines.back(), "0");
  TJointList back;
  std::istringstream in(text);
  back.Read(in);
  EXPECT_EQ(back.OriginIndex, 5);
  EXPECT_EQ(back.Origin(), back.GetJoint(5));
  EXPECT_EQ(back.Selected(), nullptr);
  EXPECT_EQ(Written(back), text);
  vesktest::ExpectDamageRefused(text, [](std::istream& in) { TJointList().Read(in); }, {2});
}

TEST(JointListTest, FindOutputJointTakesTheHighestFlagAboveJointOne) {
  struct Case {
    std::vector<int> flagged;
    int expected;
  };
  const Case cases[] = {{{}, 1}, {{1}, 1}, {{3}, 3}, {{2, 4}, 4}, {{1, 2}, 2}};
  for (const auto& c : cases) {
    TJointList joints;
    joints.AddNew(4);
    for (int i : c.flagged) joints.GetJoint(i)->IsOut = true;
    EXPECT_EQ(joints.FindOutputJoint(), c.expected);
  }
  // Reading a list without flags makes joint 1 the origin.
  TJointList joints, back;
  joints.AddNew(2);
  std::istringstream in(Written(joints));
  back.Read(in);
  EXPECT_EQ(back.OriginIndex, 1);
  EXPECT_TRUE(back.GetJoint(1)->IsOut);
}

TEST(JointListTest, RecordWithoutJointsIsRefused) {
  TJointList empty;
  const std::string text = Written(empty);
  TJointList joints;
  EXPECT_EQ(ReadError(text, [&](std::istream& in) { joints.Read(in); }), "File read error in TJointList!");
  EXPECT_EQ(joints.Origin(), nullptr);
  // Beyond the capacity of 10 is the list's own refusal.
  TJointList eleven(11);
  eleven.AddNew(11);
  EXPECT_EQ(ReadError(Written(eleven), [&](std::istream& in) { joints.Read(in); }),
            "File read error in TComplexPointList !");
}

TEST(JointListTest, OriginFollowsTheJointItNames) {
  TJointList joints;
  FillFourBar(joints);
  joints.SetOrigin(0);
  joints.SetOrigin(6);
  EXPECT_EQ(joints.OriginIndex, 5);
  TJoint* origin = joints.Origin();
  joints.Delete(2);
  EXPECT_EQ(joints.Origin(), origin);
  EXPECT_EQ(joints.OriginIndex, 4);
  joints.Delete(4);
  EXPECT_EQ(joints.Origin(), nullptr);
  EXPECT_EQ(joints.OriginIndex, 0);
  joints.SetOrigin(1);
  joints.Clear();
  EXPECT_EQ(joints.Origin(), nullptr);
  EXPECT_EQ(joints.OriginIndex, 0);
}

TEST(JointListTest, TranslateAllSkipsOneJoint) {
  TJointList joints;
  FillFourBar(joints);
  joints.TranslateAll(TComplex(1, -2), 5);
  EXPECT_EQ(joints.GetJoint(1)->X, 1);
  EXPECT_EQ(joints.GetJoint(1)->Y, -2);
  EXPECT_EQ(joints.GetJoint(4)->X, 2);
  EXPECT_EQ(joints.GetJoint(5)->X, 0.5);
  EXPECT_EQ(joints.GetJoint(5)->Y, 1);
  joints.TranslateAll(TComplex(1, 0), 0);
  EXPECT_EQ(joints.GetJoint(5)->X, 1.5);
}

TEST(JointListTest, OutputJointDrawsRedSelectedGreenWithLetters) {
  vesktest::TSynthView view;
  TJointList joints;
  joints.Add(std::make_unique<TJoint>(0, 0));
  joints.Add(std::make_unique<TJoint>(1, 0));
  joints.Add(std::make_unique<TJoint>(0, 1));
  joints.SetOrigin(2);
  joints.Select(3);
  joints.Color = 0x123456;
  joints.Draw(view.canvas);
  auto& s = view.box.Screen;
  EXPECT_TRUE(s.Logged({"Pen FF00 1 0", "Text 210,110 C", "Pen FF 1 0", "Text 310,210 B", "Pen 123456 1 0",
                        "Text 210,210 A"}));
  EXPECT_EQ(s.CountOf("M "), 3);  // one octagon per joint
  EXPECT_EQ(s.CountOf("L "), 3 * 8);

  view.log.clear();
  TJoint free(0, 0);
  free.Draw(view.canvas);
  EXPECT_TRUE(view.log.empty());
}

}  // namespace
