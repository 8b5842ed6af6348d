// Instant centres: the solution order, four-bar centres by hand, centres at infinity, and every pair of
// a six-bar against the centres found from the links' velocities.
#include "animator/engine/ICenters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <utility>
#include <vector>

namespace {

using quillon::TCentre;
using quillon::TICenters;

struct Pt {
  double x, y;
};

// The table for a topology given as the link pair of each joint, planned.
void Build(TICenters& table, int links, const std::vector<std::pair<int, int>>& joints) {
  table.Init(static_cast<int>(joints.size()), links);
  for (size_t j = 0; j < joints.size(); ++j)
    table.SetCentreIndex(joints[j].first, joints[j].second, static_cast<int>(j));
  table.Plan();
}

void Solve(TICenters& table, const std::vector<Pt>& positions) {
  for (size_t j = 0; j < positions.size(); ++j)
    table.SetJoint(static_cast<int>(j), positions[j].x, positions[j].y);
  table.ComputeAll();
}

TCentre Shown(TICenters& table, int a, int b) {
  table.SetShownPair(a, b);
  TCentre c{-7, -7, false};
  table.GetShown(c);
  return c;
}

// Four-bar: 0 frame, 1 crank, 2 coupler, 3 rocker; joints A (0-1), B (1-2), C (2-3), D (3-0).
const std::vector<std::pair<int, int>> kFourBar = {{0, 1}, {1, 2}, {2, 3}, {3, 0}};

TEST(ICentersTest, FourBarMatchesHandCalculation) {
  TICenters table;
  Build(table, 4, kFourBar);
  ASSERT_EQ(table.DerivedCount(), 2);
  const auto& d02 = table.DerivedAt(0);
  const auto& d13 = table.DerivedAt(1);
  EXPECT_EQ(std::make_pair(d02.I, d02.J), std::make_pair(0, 2));
  EXPECT_EQ(std::make_pair(d02.K1, d02.K2), std::make_pair(1, 3));
  EXPECT_EQ(d02.Target, 4);
  EXPECT_EQ(std::make_pair(d13.I, d13.J), std::make_pair(1, 3));
  EXPECT_EQ(std::make_pair(d13.K1, d13.K2), std::make_pair(0, 2));
  EXPECT_EQ(d13.Target, 5);
  EXPECT_EQ(table.CentreIndex(2, 0), 4);

  // A (0, 0), B (0, 2), C (3, 3), D (4, 0).
  // I02: crank line AB is x = 0; rocker line DC is (4 - t, 3t), which meets x = 0 at t = 4: (0, 12).
  // I13: frame line AD is y = 0; coupler line BC is y = 2 + x / 3, which meets y = 0 at x = -6: (-6, 0).
  Solve(table, {{0, 0}, {0, 2}, {3, 3}, {4, 0}});
  const TCentre i02 = Shown(table, 2, 0);
  EXPECT_EQ(table.ShownLow(), 0);
  EXPECT_EQ(table.ShownHigh(), 2);
  EXPECT_FALSE(i02.IsDirection);
  EXPECT_NEAR(i02.X, 0, 1e-12);
  EXPECT_NEAR(i02.Y, 12, 1e-12);
  const TCentre i13 = Shown(table, 1, 3);
  EXPECT_FALSE(i13.IsDirection);
  EXPECT_NEAR(i13.X, -6, 1e-12);
  EXPECT_NEAR(i13.Y, 0, 1e-12);
  // A pair that shares a joint has that joint as its centre.
  const TCentre i23 = Shown(table, 3, 2);
  EXPECT_FALSE(i23.IsDirection);
  EXPECT_EQ(i23.X, 3);
  EXPECT_EQ(i23.Y, 3);

  // Planning again gives the same order and indices.
  table.Plan();
  ASSERT_EQ(table.DerivedCount(), 2);
  EXPECT_EQ(table.DerivedAt(0).Target, 4);
  EXPECT_EQ(table.DerivedAt(1).Target, 5);
}

// Parallelogram A (0, 0), B (1, 1), C (3, 1), D (2, 0): crank and rocker parallel, so do frame and coupler.
TEST(ICentersTest, ParallelogramGivesCentresAtInfinity) {
  TICenters table;
  Build(table, 4, kFourBar);
  Solve(table, {{0, 0}, {1, 1}, {3, 1}, {2, 0}});
  const double s = std::sqrt(0.5);
  const TCentre i02 = Shown(table, 0, 2);
  EXPECT_TRUE(i02.IsDirection);
  EXPECT_NEAR(i02.X, s, 1e-15);  // along the crank A -> B
  EXPECT_NEAR(i02.Y, s, 1e-15);
  const TCentre i13 = Shown(table, 1, 3);
  EXPECT_TRUE(i13.IsDirection);
  EXPECT_NEAR(i13.X, 1, 1e-15);  // along the frame A -> D
  EXPECT_NEAR(i13.Y, 0, 1e-15);
}

// Six-bar: the four-bar 0 (frame), 5 (crank), 4 (coupler), 3 (rocker), with a dyad 1-2 from the coupler
// at E to the frame at F. Joints A (0-5), B (5-4), C (4-3), D (3-0), E (4-1), F (0-2), G (1-2).
const std::vector<std::pair<int, int>> kSixBar = {{0, 5}, {5, 4}, {4, 3}, {3, 0}, {4, 1}, {0, 2}, {1, 2}};

// Pair (0, 1) comes first but needs (0, 4); (1, 3), (1, 5) and (2, 3) also wait for later pairs.
TEST(ICentersTest, UnresolvedPairsAreRetriedAfterTheOthers) {
  TICenters table;
  Build(table, 6, kSixBar);
  const std::vector<std::pair<int, int>> order = {{0, 4}, {2, 4}, {2, 5}, {3, 5},
                                                  {0, 1}, {1, 3}, {1, 5}, {2, 3}};
  ASSERT_EQ(table.DerivedCount(), static_cast<int>(order.size()));
  for (int r = 0; r < table.DerivedCount(); ++r) {
    const auto& d = table.DerivedAt(r);
    EXPECT_EQ(std::make_pair(d.I, d.J), order[r]) << r;
    EXPECT_EQ(d.Target, 7 + r) << r;
    EXPECT_EQ(table.CentreIndex(d.I, d.J), d.Target);
    // Each line joins known centres, one of them a joint.
    for (auto [ci, cj] : {std::make_pair(d.CI1, d.CJ1), std::make_pair(d.CI2, d.CJ2)}) {
      EXPECT_GE(std::min(ci, cj), 0);
      EXPECT_LT(std::min(ci, cj), 7);
      EXPECT_LT(std::max(ci, cj), d.Target);
    }
  }
}

// Closed-form six-bar pose at crank angle theta: joint positions A..G.
std::vector<Pt> SixBarPose(double theta) {
  const auto triangle = [](Pt p, Pt q, double a, double b) {
    const double c = std::hypot(q.x - p.x, q.y - p.y);
    const double arg = (a * a + c * c - b * b) / (2 * a * c);
    EXPECT_LT(std::fabs(arg), 1.0);
    const double angle = std::atan2(q.y - p.y, q.x - p.x) + std::acos(arg);
    return Pt{p.x + a * std::cos(angle), p.y + a * std::sin(angle)};
  };
  const Pt a{0, 0}, d{4, 0}, f{6, 3};
  const Pt b{1.5 * std::cos(theta), 1.5 * std::sin(theta)};
  const Pt c = triangle(b, d, 4, 3.5);
  const Pt v{c.x - b.x, c.y - b.y};
  const Pt e{b.x + 0.5 * v.x - 0.6 * v.y, b.y + 0.6 * v.x + 0.5 * v.y};
  const Pt g = triangle(e, f, 3, 3);
  return {a, b, c, d, e, f, g};
}

// Every relative centre of the six-bar equals the point where the two links' velocity fields agree,
// the velocities taken by central differences of the closed-form pose.
TEST(ICentersTest, SixBarCentresMatchVelocityPoles) {
  const double theta = 1.0, eps = 1e-5;
  const std::vector<Pt> pose = SixBarPose(theta);
  const std::vector<Pt> ahead = SixBarPose(theta + eps), behind = SixBarPose(theta - eps);
  std::vector<Pt> vel;
  for (size_t j = 0; j < pose.size(); ++j)
    vel.push_back({(ahead[j].x - behind[j].x) / (2 * eps), (ahead[j].y - behind[j].y) / (2 * eps)});
  // Each link's planar velocity (omega, velocity of its point at the origin) from two of its joints.
  struct Motion {
    double w = 0, vx = 0, vy = 0;
  };
  const auto motion = [&](int p, int q) {
    const double rx = pose[q].x - pose[p].x, ry = pose[q].y - pose[p].y;
    const double dvx = vel[q].x - vel[p].x, dvy = vel[q].y - vel[p].y;
    Motion m;
    m.w = (rx * dvy - ry * dvx) / (rx * rx + ry * ry);
    m.vx = vel[p].x + m.w * pose[p].y;
    m.vy = vel[p].y - m.w * pose[p].x;
    return m;
  };
  // Link 0 is the frame; the others by two of their joints (indices into A..G).
  const Motion links[6] = {Motion(), motion(4, 6), motion(5, 6), motion(2, 3), motion(1, 4), motion(0, 1)};

  TICenters table;
  Build(table, 6, kSixBar);
  Solve(table, pose);
  for (int i = 0; i < 6; ++i)
    for (int j = i + 1; j < 6; ++j) {
      SCOPED_TRACE(testing::Message() << "pair " << i << "-" << j);
      // (w_i - w_j) k x X = v_j - v_i at the centre X.
      const double dw = links[i].w - links[j].w;
      const double x = (links[j].vy - links[i].vy) / dw;
      const double y = -(links[j].vx - links[i].vx) / dw;
      const TCentre c = Shown(table, i, j);
      ASSERT_FALSE(c.IsDirection);
      const double tol = 1e-6 * std::max(1.0, std::hypot(x, y));
      EXPECT_NEAR(c.X, x, tol);
      EXPECT_NEAR(c.Y, y, tol);
    }
}

// The six-bar with its four-bar as a parallelogram: A (0, 0), B (1, 1), C (3, 1), D (2, 0), E (2, 2),
// F (5, 0), G (4, 3). The coupler translates, so I04 is at infinity along (1, 1) and I24 lies on the
// line from F along (1, 1), (5 + t, t), where it meets line G-E, y = x / 2 + 1: t = 7, I24 = (12, 7).
// I01 lies on line F-G, (5 - t, 3t), and on the line from E along (1, 1), (2 + u, 2 + u): t = 1.25,
// I01 = (3.75, 3.75).
TEST(ICentersTest, CentreAtInfinityEntersLaterLinesAsADirection) {
  TICenters table;
  Build(table, 6, kSixBar);
  Solve(table, {{0, 0}, {1, 1}, {3, 1}, {2, 0}, {2, 2}, {5, 0}, {4, 3}});
  const TCentre i04 = Shown(table, 4, 0);
  EXPECT_TRUE(i04.IsDirection);
  EXPECT_NEAR(i04.X, std::sqrt(0.5), 1e-15);
  EXPECT_NEAR(i04.Y, std::sqrt(0.5), 1e-15);
  const TCentre i24 = Shown(table, 2, 4);
  EXPECT_FALSE(i24.IsDirection);
  EXPECT_NEAR(i24.X, 12, 1e-12);
  EXPECT_NEAR(i24.Y, 7, 1e-12);
  const TCentre i01 = Shown(table, 0, 1);
  EXPECT_FALSE(i01.IsDirection);
  EXPECT_NEAR(i01.X, 3.75, 1e-12);
  EXPECT_NEAR(i01.Y, 3.75, 1e-12);
}

// A five-bar moves with two degrees of freedom: its non-adjacent pairs have no centre.
TEST(ICentersTest, UnresolvablePairsAndNoShownPairGiveOnlyTheFlag) {
  TICenters table;
  Build(table, 5, {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 0}});
  ASSERT_EQ(table.DerivedCount(), 5);
  for (int r = 0; r < 5; ++r) EXPECT_EQ(table.DerivedAt(r).Target, -1);
  Solve(table, {{0, 0}, {0, 1}, {1, 2}, {2, 1}, {2, 0}});
  for (auto [a, b] :
       {std::make_pair(0, 2), std::make_pair(1, 3), std::make_pair(0, 0), std::make_pair(7, 9)}) {
    const TCentre c = Shown(table, a, b);
    EXPECT_TRUE(c.IsDirection);
    EXPECT_EQ(c.X, -7);
    EXPECT_EQ(c.Y, -7);
  }
  const TCentre joint = Shown(table, 4, 3);
  EXPECT_FALSE(joint.IsDirection);
  EXPECT_EQ(joint.X, 2);
  EXPECT_EQ(joint.Y, 1);
}

// The plan as a plain queue over the centre matrix: each pair looks through the links in order for
// two whose centres with both are known, one of them a joint; a pair that fails goes to the back,
// and twice the pairs plus one looks end the search.
std::vector<quillon::TDerivedCentre> ReferencePlan(int links, const std::vector<std::pair<int, int>>& joints) {
  const int primaries = static_cast<int>(joints.size());
  std::vector<int> index(static_cast<size_t>(links * links), -1);
  const auto at = [&](int a, int b) -> int& { return index[static_cast<size_t>(a * links + b)]; };
  for (int j = 0; j < primaries; ++j) at(joints[j].first, joints[j].second) = at(joints[j].second, joints[j].first) = j;
  std::vector<quillon::TDerivedCentre> waiting, planned;
  for (int i = 0; i < links; ++i)
    for (int j = i + 1; j < links; ++j)
      if (at(i, j) < 0) {
        quillon::TDerivedCentre d;
        d.I = i;
        d.J = j;
        waiting.push_back(d);
      }
  int next = primaries;
  for (int looks = 2 * static_cast<int>(waiting.size()) + 1; !waiting.empty() && looks > 0; --looks) {
    quillon::TDerivedCentre d = waiting.front();
    waiting.erase(waiting.begin());
    std::vector<int> thirds;
    for (int k = 0; k < links && thirds.size() < 2; ++k) {
      if (k == d.I || k == d.J) continue;
      const int ci = at(d.I, k), cj = at(d.J, k);
      if (ci >= 0 && cj >= 0 && (ci < primaries || cj < primaries)) thirds.push_back(k);
    }
    if (thirds.size() < 2) {
      waiting.push_back(d);
      continue;
    }
    d.K1 = thirds[0];
    d.K2 = thirds[1];
    d.Target = at(d.I, d.J) = at(d.J, d.I) = next++;
    d.CI1 = at(d.I, d.K1);
    d.CJ1 = at(d.J, d.K1);
    d.CI2 = at(d.I, d.K2);
    d.CJ2 = at(d.J, d.K2);
    planned.push_back(d);
  }
  planned.insert(planned.end(), waiting.begin(), waiting.end());
  return planned;
}

// A chain of links with joints added between random pairs: loops of every size, some of them
// with more freedom than one, so that some pairs stay unresolved.
std::vector<std::pair<int, int>> RandomTopology(int links, std::mt19937& random) {
  std::vector<std::pair<int, int>> joints;
  std::uniform_int_distribution<int> pick(0, links - 1);
  for (int l = 1; l < links; ++l) joints.emplace_back(l - 1, l);
  for (int extra = 0; extra < links / 2; ++extra) {
    const int a = pick(random), b = pick(random);
    if (a != b) joints.emplace_back(a, b);
  }
  return joints;
}

// Chains of four-bars and five-bars (the latter leave pairs that no plan resolves) joined at random,
// from a handful of links to more than two words of 64; the plan is the reference queue's, pair
// for pair, and planning a second time changes nothing.
TEST(ICentersTest, PlanMatchesThePlainQueueOnLargeTopologies) {
  std::mt19937 random(49);
  for (const int links : {4, 7, 12, 40, 63, 64, 65, 100, 140}) {
    const std::vector<std::pair<int, int>> joints = RandomTopology(links, random);
    const std::vector<quillon::TDerivedCentre> expected = ReferencePlan(links, joints);
    TICenters table;
    Build(table, links, joints);
    for (int pass = 0; pass < 2; ++pass) {
      ASSERT_EQ(table.DerivedCount(), static_cast<int>(expected.size())) << links;
      int unresolved = 0;
      for (int r = 0; r < table.DerivedCount(); ++r) {
        const auto& d = table.DerivedAt(r);
        const auto& e = expected[static_cast<size_t>(r)];
        ASSERT_EQ(std::vector<int>({d.Target, d.I, d.J, d.K1, d.K2, d.CI1, d.CJ1, d.CI2, d.CJ2}),
                  std::vector<int>({e.Target, e.I, e.J, e.K1, e.K2, e.CI1, e.CJ1, e.CI2, e.CJ2}))
            << links << " links, pass " << pass << ", entry " << r;
        unresolved += d.Target < 0;
      }
      if (links >= 40 && pass == 0) {
        EXPECT_GT(unresolved, 0) << links << " links: every pair resolved";
      }
      table.Plan();
    }
  }
}

// Working out only what the shown pair needs gives every pair the centre, or the flag, that
// working out every centre gives, bit for bit, at joints placed at random: the four-bar, the
// six-bar (whose pair 0-1 is found from the derived 0-4) and random topologies.
TEST(ICentersTest, ShownCentreAloneMatchesEveryCentre) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> coordinate(-1.0, 1.0);
  std::vector<std::pair<int, std::vector<std::pair<int, int>>>> topologies = {{4, kFourBar}, {6, kSixBar}};
  for (const int links : {9, 20, 70}) topologies.emplace_back(links, RandomTopology(links, random));
  int derived = 0;
  for (const auto& [links, joints] : topologies) {
    std::vector<Pt> positions;
    for (size_t j = 0; j < joints.size(); ++j) positions.push_back(Pt{coordinate(random), coordinate(random)});
    TICenters all, shown;
    Build(all, links, joints);
    Build(shown, links, joints);
    Solve(all, positions);
    for (size_t j = 0; j < positions.size(); ++j) shown.SetJoint(static_cast<int>(j), positions[j].x, positions[j].y);
    for (int a = 0; a < links; ++a)
      for (int b = a + 1; b < links; ++b) {
        shown.SetShownPair(a, b);
        shown.ComputeShown();
        TCentre expected{-7, -7, false}, got{-7, -7, false};
        all.SetShownPair(a, b);
        all.GetShown(expected);
        shown.GetShown(got);
        ASSERT_EQ(std::vector<double>({got.X, got.Y, double(got.IsDirection)}),
                  std::vector<double>({expected.X, expected.Y, double(expected.IsDirection)}))
            << links << " links, pair " << a << "-" << b;
        derived += all.CentreIndex(a, b) >= static_cast<int>(joints.size());
      }
  }
  EXPECT_GT(derived, 20);
}

}  // namespace
