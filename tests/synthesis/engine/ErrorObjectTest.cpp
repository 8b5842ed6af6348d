// The error object: its total, the link checks and area checks that decide validity, and its
// record with the key " MinDist" on two lines.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "synthesis/engine/Area.h"
#include "synthesis/engine/ErrorObject.h"
#include "synthesis/engine/Link.h"
#include "tests/synthesis/engine/RecordText.h"

using namespace vesk;
using vesktest::Lines;
using vesktest::ReadError;

namespace {

constexpr double kInfinite = -1;  // a link length written so: one joint at infinity

// Links 1..n of the given lengths along x, each between two joints of its own; link 1 the
// ground, link 2 the input.
struct TLinkage {
  TJointList joints{10};
  TLinkList links;

  explicit TLinkage(const std::vector<double>& lengths) {
    links.Joints = &joints;
    for (size_t i = 0; i < lengths.size(); ++i) {
      TJoint* a = static_cast<TJoint*>(joints.Add(std::make_unique<TJoint>(0.0, double(i))));
      auto far = std::make_unique<TJoint>(lengths[i], double(i));
      if (lengths[i] == kInfinite) {
        far->SetXY(0, 1);
        far->Inf = true;
      }
      TJoint* b = static_cast<TJoint*>(joints.Add(std::move(far)));
      auto link = std::make_unique<TLink>();
      link->SetType(i == 0 ? kGroundLink : i == 1 ? kInputLink : kOtherLink);
      link->AddJoint(a);
      link->AddJoint(b);
      links.Add(std::move(link));
    }
    links.AssignRoles();
  }
};

TEST(ErrorObjectTest, ResetAndTotalLeaveDyadAndPrecisionPointsOut) {
  TErrorObject e;
  EXPECT_EQ(e.Total, 0);
  EXPECT_EQ(e.Area, 0);
  EXPECT_EQ(e.PP, 0);
  for (const double v : {e.Link, e.MinDistGround, e.MinDistCoupler, e.OutRot, e.InRot, e.Dyad})
    EXPECT_EQ(v, 1.0);
  EXPECT_TRUE(e.Valid);

  e.Area = 2;
  e.Link = 3;
  e.MinDistGround = 5;
  e.MinDistCoupler = 7;
  e.OutRot = 11;
  e.InRot = 13;
  e.Dyad = 17;
  e.PP = 19;
  EXPECT_EQ(e.CalcTotal(), 30030.0);
  EXPECT_EQ(e.Total, 30030.0);

  TErrorObject copy;
  copy.Valid = true;
  e.Valid = false;
  copy.Assign(e);
  EXPECT_EQ(copy.Dyad, 17);
  EXPECT_EQ(copy.PP, 19);
  EXPECT_EQ(copy.Total, 30030.0);
  EXPECT_FALSE(copy.Valid);

  e.Reset();
  EXPECT_EQ(e.Total, 0);
  EXPECT_EQ(e.Dyad, 1.0);
  EXPECT_TRUE(e.Valid);
}

TEST(ErrorObjectTest, LinkChecks) {
  struct TCase {
    const char* what;
    std::vector<double> lengths;
    double refLength;
    TCheckOptions options;
    bool validBefore, valid;
    double link;
  };
  TCheckOptions full;
  full.FullInRotation = true;
  full.LinkLengthPenaltyOn = false;
  TCheckOptions limit;
  limit.MaxLinkLengthOn = true;
  limit.MaxLinkLength = 3.5;
  limit.LinkLengthPenaltyOn = false;
  TCheckOptions penalty;  // the defaults: penalty only
  TCheckOptions none;
  none.LinkLengthPenaltyOn = false;
  const std::vector<double> crank = {3.5, 1, 3, 2.5};
  const TCase cases[] = {
      {"crank-rocker turns fully", crank, 1, full, true, true, 1.0},
      {"input not the shortest", {3.5, 2.5, 3, 1}, 1, full, true, false, 1.0},
      {"input not shorter than the ground", {1, 1, 3, 3}, 1, full, true, false, 1.0},
      {"parallelogram: s + l = p + q is not enough", {3, 1, 3, 1}, 1, full, true, false, 1.0},
      {"s + l > p + q", {3.5, 1, 2, 1.5}, 1, full, true, false, 1.0},
      {"a joint at infinity counts 1e5", {3.5, 1, 3, kInfinite}, 1, full, true, false, 1.0},
      {"fewer than four links", {3.5, 1, 3}, 1, full, true, false, 1.0},
      {"longest link at the limit", crank, 1, limit, true, true, 1.0},
      {"longest link over the limit", {3.5, 1, 3, 3.6}, 1, limit, true, false, 1.0},
      {"longest 0.8 reference lengths", crank, 3.5 / 0.8, penalty, true, true, 1.0},
      {"longest 1.5 reference lengths", crank, 3.5 / 1.5, penalty, true, true, 3.5 / (3.5 / 1.5)},
      {"longest exactly the reference length", crank, 3.5, penalty, true, true, 1.0},
      {"no reference length", crank, 0, penalty, true, true, 1.0},
      {"negative reference length", crank, -2, penalty, true, true, 1.0},
      {"penalty off", crank, 1, none, true, true, 1.0},
      {"invalid already: no penalty", crank, 1, penalty, false, false, 1.0},
  };
  for (const TCase& c : cases) {
    TLinkage linkage(c.lengths);
    linkage.links.RefLength = c.refLength;
    TErrorObject e;
    e.Link = 9;
    e.Valid = c.validBefore;
    e.LinkChecks(linkage.links, c.options);
    EXPECT_EQ(e.Valid, c.valid) << c.what;
    EXPECT_DOUBLE_EQ(e.Link, c.link) << c.what;
  }
  TLinkage longest({3.5, 1, 3, 2.5});
  longest.links.RefLength = 3.5 / 1.5;
  TErrorObject e;
  e.LinkChecks(longest.links, penalty);
  EXPECT_NEAR(e.Link, 1.5, 1e-15);
}

TEST(ErrorObjectTest, AreaDistancesRateGroundAndOutputBody) {
  // Ground joints A (0, 0) and B (1.5, 0); the output body B, C (3, 1) and the output point D
  // (3, 0).
  TJointList joints;
  for (const auto& [x, y] : std::vector<std::pair<double, double>>{{0, 0}, {1.5, 0}, {3, 1}, {3, 0}})
    joints.Add(std::make_unique<TJoint>(x, y));
  joints.SetOrigin(4);
  TLink ground, body, other;
  ground.SetType(kGroundLink);
  ground.AddJoint(joints.GetJoint(1));
  ground.AddJoint(joints.GetJoint(2));
  body.SetType(kOutputLink);
  body.AddJoint(joints.GetJoint(2));
  body.AddJoint(joints.GetJoint(3));
  body.AddJoint(joints.GetJoint(4));
  other.AddJoint(joints.GetJoint(1));
  other.AddJoint(joints.GetJoint(3));

  // A unit square at (0, 0): A inside, B one width to the right (factor 4).
  TAreaList groundAreas;
  groundAreas.Add(std::make_unique<TArea>(-0.5, -0.5, 0.5, 0.5));
  // Relative to D, B lies at (-1.5, 0) and C at (0, 1); placed at Origin (10, 10) they are
  // (8.5, 10), on the edge, and (10, 11), half a height above (factor 2.25).
  TAreaList couplerAreas;
  couplerAreas.Origin.SetXY(10, 10);
  couplerAreas.Add(std::make_unique<TArea>(8.5, 9.5, 10.5, 10.5));

  TCheckOptions options;
  options.MaxDistToArea = 4.0;
  TErrorObject e;
  e.AreaDistances(&ground, &groundAreas, options);
  EXPECT_DOUBLE_EQ(e.MinDistGround, 4.0);
  EXPECT_TRUE(e.Valid);
  e.AreaDistances(&body, &couplerAreas, options);
  EXPECT_DOUBLE_EQ(e.MinDistCoupler, 2.25);
  EXPECT_TRUE(e.Valid);
  e.AreaDistances(&other, &groundAreas, options);  // neither ground nor output body
  EXPECT_DOUBLE_EQ(e.MinDistGround, 4.0);
  EXPECT_DOUBLE_EQ(e.MinDistCoupler, 2.25);

  // With MaxDistToArea 1.0 only pivots inside an admitting area pass.
  options.MaxDistToArea = 1.0;
  TErrorObject strict;
  strict.AreaDistances(&body, &couplerAreas, options);
  EXPECT_FALSE(strict.Valid);
  // Once invalid, nothing more is rated; without a list nothing either.
  strict.AreaDistances(&ground, &groundAreas, options);
  EXPECT_EQ(strict.MinDistGround, 1.0);
  TErrorObject noList;
  noList.AreaDistances(&ground, nullptr, options);
  EXPECT_TRUE(noList.Valid);
  EXPECT_EQ(noList.MinDistGround, 1.0);

  // A list whose only area is reserved for joint 3 rates the ground (joints 1 and 2) at 1e10.
  TAreaList reserved;
  reserved.Add(std::make_unique<TArea>(-5, -5, 5, 5));
  reserved.GetArea(1)->Joint = 3;
  for (const double limit : {1e9, 1e10}) {
    options.MaxDistToArea = limit;
    TErrorObject r;
    r.AreaDistances(&ground, &reserved, options);
    EXPECT_EQ(r.MinDistGround, 1e10);
    EXPECT_EQ(r.Valid, limit >= 1e10) << limit;
  }
}

const std::vector<std::string> kRecord = {"[Error]",
                                          "0",
                                          " 2.50000000000000E-0001 Area",
                                          " 1.50000000000000E+0000 Link",
                                          " 2.00000000000000E+0000 MinDist",
                                          " 3.00000000000000E+0000 MinDist",
                                          " 1.25000000000000E+0000 OutRot",
                                          " 1.00000000000000E+0000 InRot",
                                          " 4.00000000000000E+0000 Dyad",
                                          " 5.00000000000000E-0003 PP",
                                          " 2.81250000000000E+0000 Total",
                                          "0 OK"};

TEST(ErrorObjectTest, RecordInItsOwnOrderWithTwoMinDistLines) {
  TErrorObject e;
  e.Area = 0.25;
  e.Link = 1.5;
  e.MinDistGround = 2;
  e.MinDistCoupler = 3;
  e.OutRot = 1.25;
  e.Dyad = 4;
  e.PP = 0.005;
  e.CalcTotal();
  e.Valid = false;
  std::ostringstream out;
  e.Write(out);
  EXPECT_EQ(out.str(), Lines(kRecord));

  TErrorObject read;
  std::istringstream in(Lines(kRecord));
  read.Read(in);
  EXPECT_EQ(read.MinDistGround, 2.0);
  EXPECT_EQ(read.MinDistCoupler, 3.0);
  EXPECT_EQ(read.Total, 0.25 * 1.5 * 2 * 3 * 1.25);
  EXPECT_EQ(read.PP, 0.005);
  EXPECT_FALSE(read.Valid);
  std::ostringstream again;
  read.Write(again);
  EXPECT_EQ(again.str(), Lines(kRecord));

  vesktest::ExpectDamageRefused(Lines(kRecord), [](std::istream& s) { TErrorObject().Read(s); });
  EXPECT_EQ(ReadError(Lines({"[Errors]", "0"}), [](std::istream& s) { TErrorObject().Read(s); }),
            "File read error in TErrorObject!");
}

}  // namespace
