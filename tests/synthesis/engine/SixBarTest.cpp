// The six-bar types: default layouts, generated candidates stepped through their cycle and
// checked from their joints, the failure and drag cases, and their records.
#include "synthesis/engine/SixBar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <sstream>
#include <vector>

#include "synthesis/engine/Random.h"
#include "synthesis/engine/SynthOptions.h"
#include "tests/synthesis/engine/KnownFourbar.h"

namespace {

using namespace vesk;
using vesktest::Cx;
using vesktest::ToCx;

struct TSixBarCase {
  const char* name;
  uint8_t type;
  std::function<std::unique_ptr<TFourbar>()> make;
  // The two transmission angles: {a, b, c} is the angle at c between a and b.
  int angles[2][3];
};

const std::vector<TSixBarCase>& Cases() {
  static const std::vector<TSixBarCase> cases = {
      {"Watt 1", kWatt1Type, [] { return std::make_unique<TSixBarW1>(); }, {{2, 4, 3}, {5, 6, 7}}},
      {"Watt 2", kWatt2Type, [] { return std::make_unique<TSixBarW2>(); }, {{2, 4, 3}, {5, 7, 6}}},
      {"Stephenson 1", kStephenson1Type, [] { return std::make_unique<TSixBarS1>(); }, {{2, 4, 5}, {3, 6, 7}}},
      {"Stephenson 3", kStephenson3Type, [] { return std::make_unique<TSixBarS3>(); }, {{2, 3, 4}, {5, 6, 7}}},
  };
  return cases;
}

Cx J(const TMechanism& m, int i) { return ToCx(*m.Joints.GetJoint(i)); }

std::vector<Cx> AllJoints(const TMechanism& m) {
  std::vector<Cx> j;
  for (int i = 1; i <= m.Joints.Count(); ++i) j.push_back(J(m, i));
  return j;
}

// Every distance between two joints of one link.
std::vector<double> LinkDistances(const TMechanism& m) {
  std::vector<double> d;
  for (int l = 1; l <= m.Links.Count(); ++l) {
    const TLink& link = *m.Links.GetLink(l);
    for (int a = 1; a <= link.JointCount(); ++a)
      for (int b = a + 1; b <= link.JointCount(); ++b) d.push_back(std::abs(ToCx(*link.Joint(a)) - ToCx(*link.Joint(b))));
  }
  return d;
}

// The angle between the sides by the dot product, folded into [0, pi/2].
double AngleBetween(Cx a, Cx b, Cx c) {
  const Cx u = a - c, v = b - c;
  const double t = std::acos((u.real() * v.real() + u.imag() * v.imag()) / (std::abs(u) * std::abs(v)));
  return std::min(t, std::numbers::pi - t);
}

class SixBarTest : public vesktest::TMechanismTest {};

TEST_F(SixBarTest, DefaultLayouts) {
  struct TLayout {
    double xy[8][2];
    std::vector<std::vector<int>> links;
    uint8_t types[6];
    uint8_t modes[6];
    double max[6];
  };
  const double h = std::numbers::pi / 2, t19 = 1.9 * std::numbers::pi;
  const TLayout layouts[4] = {
      {{{-0.1, -0.3}, {-0.2, -0.2}, {0.2, -0.2}, {0.5, -0.5}, {-0.1, 0}, {0.5, -0.1}, {0.4, 0}, {0.2, 0.2}},
       {{1, 4}, {1, 2}, {2, 3, 5}, {3, 4, 6}, {6, 7}, {5, 7, 8}},
       {0, 2, 1, 1, 1, 3},
       {0, 1, 2, 2, 2, 1},
       {h, 6.0, 3.0, 1.0, h, h}},
      {{{-0.1, -0.3}, {-0.2, -0.2}, {0, -0.1}, {0.2, -0.3}, {0.1, -0.04}, {0.5, 0}, {0.45, -0.45}, {0.2, 0.2}},
       {{1, 4, 7}, {1, 2}, {2, 3}, {3, 4, 5}, {5, 6, 8}, {6, 7}},
       {0, 2, 1, 1, 3, 1},
       {0, 5, 2, 1, 2, 2},
       {h, 3.0, h, h, h, h}},
      {{{-0.1, -0.3}, {-0.2, -0.2}, {0, -0.2}, {0.5, -0.5}, {0.1, -0.04}, {0.5, 0}, {0, 0.1}, {0, 0.2}},
       {{1, 4}, {1, 2, 3}, {2, 5}, {4, 5, 6}, {3, 7}, {6, 7, 8}},
       {0, 2, 1, 1, 1, 3},
       {0, 1, 2, 2, 2, 2},
       {h, t19, std::numbers::pi / 4, h, h, h}},
      {{{-0.1, -0.2}, {-0.1, -0.1}, {0.2, -0.4}, {0.2, -0.1}, {0, 0}, {0.5, -0.2}, {0.5, 0.2}, {0.2, 0.2}},
       {{1, 3, 6}, {1, 2}, {2, 4, 5}, {3, 4}, {6, 7}, {5, 7, 8}},
       {0, 2, 1, 1, 1, 3},
       {0, 1, 2, 1, 2, 2},
       {h, t19, h, h, h, h}},
  };
  for (size_t c = 0; c < 4; ++c) {
    const TSixBarCase& k = Cases()[c];
    const TLayout& want = layouts[c];
    const auto m = k.make();
    SCOPED_TRACE(k.name);
    EXPECT_EQ(m->Name, k.name);
    EXPECT_EQ(m->MechanismType, k.type);
    ASSERT_EQ(m->Joints.Count(), 8);
    ASSERT_EQ(m->Links.Count(), 6);
    for (int i = 1; i <= 8; ++i) EXPECT_EQ(J(*m, i), Cx(want.xy[i - 1][0], want.xy[i - 1][1])) << i;
    EXPECT_EQ(m->Joints.OriginIndex, 8);
    EXPECT_EQ(m->Joints.GetSelectedJoint(), nullptr);
    for (int l = 1; l <= 6; ++l) {
      const TLink& link = *m->Links.GetLink(l);
      std::vector<int> joints;
      for (int a = 1; a <= link.JointCount(); ++a) joints.push_back(link.Joint(a)->Index());
      EXPECT_EQ(joints, want.links[size_t(l - 1)]) << l;
      EXPECT_EQ(link.Type(), want.types[l - 1]) << l;
      EXPECT_EQ(link.Mode(), want.modes[l - 1]) << l;
      EXPECT_DOUBLE_EQ(link.MaxAngle, want.max[l - 1]) << l;
    }
    EXPECT_EQ(m->Links.GroundLink, m->Links.GetLink(1));
    EXPECT_EQ(m->Links.InputLink, m->Links.GetLink(2));
    EXPECT_EQ(m->Links.OutputLink, m->Links.GetLink(k.type == kWatt2Type ? 5 : 6));
    EXPECT_FALSE(m->IsModified());
    const auto copy = m->Clone();
    EXPECT_EQ(copy->MechanismType, k.type);
    EXPECT_EQ(copy->Name, k.name);
    EXPECT_EQ(AllJoints(*copy), AllJoints(*m));
    // The copy is of the same class: its position analysis is the six-bar's.
    const auto& copied = *copy;
    const auto& original = *m;
    EXPECT_EQ(typeid(copied), typeid(original));
  }
}

// Rotations prescribed along the curve: a Watt 1's output body is then completed by function
// generation instead of translating, a Watt 2's input loop by the linear system instead of the
// closed form.
void TurnOutput(TSpline& curve) {
  curve.Out = true;
  for (int i = 1; i <= curve.Count(); ++i) static_cast<TPrePoint*>(curve.Items(i))->Out = 0.02 * (i - 1);
}

void TurnInput(TSpline& curve) {
  curve.In = true;
  for (int i = 1; i <= curve.Count(); ++i) static_cast<TPrePoint*>(curve.Items(i))->In = 0.25 * (i - 1);
}

// Seeded candidates of every type: from their own joints at each step of the cycle, every link
// keeps its joint distances and the coupler point is the path point of that step.
TEST_F(SixBarTest, GeneratedCandidatesStayRigidAndTraceTheirPath) {
  struct TRun {
    size_t type;
    bool turnOutput;
    bool turnInput;
  };
  for (const TRun run : {TRun{0, false, false}, TRun{0, true, false}, TRun{1, false, false}, TRun{1, false, true},
                         TRun{2, false, false}, TRun{3, false, false}}) {
    const TSixBarCase& k = Cases()[run.type];
    SCOPED_TRACE(std::string(k.name) + (run.turnOutput ? " turning output" : "") + (run.turnInput ? " turning input" : ""));
    TSpline curve;
    vesktest::FillCurve(curve);
    if (run.turnOutput) TurnOutput(curve);
    if (run.turnInput) TurnInput(curve);
    TRandom random(4711);
    TRandomScope scope(random);
    const auto m = k.make();
    int valid = 0;
    for (int n = 0; n < 100000 && valid < 3; ++n) {
      m->Generate(curve, nullptr, nullptr);
      if (!m->Error.Valid) continue;
      ++valid;
      EXPECT_EQ(J(*m, 8), ToCx(*m->PrecisionPoints.GetPoint(1)));
      const int steps = m->InputFunction.Steps();
      ASSERT_EQ(m->PathPoints.Count(), steps + 1);
      const std::vector<double> lengths = LinkDistances(*m);
      const Cx body = J(*m, 8) - J(*m, 5);
      const Cx link5 = (J(*m, 7) - J(*m, 6)) / (J(*m, 2) - J(*m, 1));
      m->StoreJoints();
      double smallest = 10;
      for (int s = 0; s <= steps; ++s) {
        if (s > 0) {
          ASSERT_TRUE(m->StepInput(m->Links.GetLink(2)->Rot[9] / steps)) << s;
        }
        const std::vector<double> now = LinkDistances(*m);
        for (size_t d = 0; d < now.size(); ++d) EXPECT_NEAR(now[d], lengths[d], 1e-9) << s << " " << d;
        EXPECT_LT(std::abs(J(*m, 8) - ToCx(*m->PathPoints.GetPathPoint(s + 1))), 1e-12) << s;
        const double t = std::min(AngleBetween(J(*m, k.angles[0][0]), J(*m, k.angles[0][1]), J(*m, k.angles[0][2])),
                                  AngleBetween(J(*m, k.angles[1][0]), J(*m, k.angles[1][1]), J(*m, k.angles[1][2])));
        EXPECT_NEAR(m->TransmissionAngle(), t, 1e-9) << s;
        smallest = std::min(smallest, t);
        // Nothing asks the translating Watt 1 body to turn; link 5 keeps its bearing to the crank,
        // so an input turned once round lines it up with the body: no closed curve is run.
        if (run.type == 0 && !run.turnOutput) {
          EXPECT_LT(std::abs(J(*m, 8) - J(*m, 5) - body), 1e-9) << s;
          EXPECT_LT(std::abs((J(*m, 7) - J(*m, 6)) / (J(*m, 2) - J(*m, 1)) - link5), 1e-9) << s;
        }
      }
      EXPECT_LT(std::abs(J(*m, 8) - ToCx(*m->PrecisionPoints.GetPoint(9))), 1e-5);
      EXPECT_GT(smallest, SynthOptions.MinTransAngle);
      m->RestoreJoints();
      if (run.type == 0 && !run.turnOutput) {
        for (int i = 2; i <= 9; ++i) EXPECT_EQ(m->Links.GetLink(6)->Rot[size_t(i)], 0.0) << i;
      }
    }
    EXPECT_EQ(valid, 3);
  }
}

TEST_F(SixBarTest, StephensonThreeFailingItsFirstDyadRunsNoOther) {
  TSixBarS3 m;
  vesktest::SetExactPrecision(m);
  TRandom random(5);
  TRandomScope scope(random);
  m.Links.Randomize(m.PrecisionPoints);
  // Out of every reach at position 2: the output dyad fails there.
  m.PrecisionPoints.GetPoint(2)->SetXY(100, 100);
  m.Dyad1.W.SetXY(7, 7);
  m.Dyad2.W.SetXY(7, 7);
  const std::vector<Cx> before = AllJoints(m);
  EXPECT_FALSE(m.Synthesize());
  EXPECT_EQ(m.Dyad3.Error, 8.0);
  EXPECT_EQ(m.Error.Dyad, 8.0);
  EXPECT_EQ(ToCx(m.Dyad1.W), Cx(7, 7));
  EXPECT_EQ(ToCx(m.Dyad2.W), Cx(7, 7));
  EXPECT_EQ(AllJoints(m), before);
}

TEST_F(SixBarTest, StepInputNeedsEightJointsAndMovesNothingOtherwise) {
  for (const TSixBarCase& k : Cases()) {
    const auto m = k.make();
    m->Joints.Add(std::make_unique<TJoint>(1, 1));
    const std::vector<Cx> before = AllJoints(*m);
    EXPECT_FALSE(m->StepInput(0.01)) << k.name;
    EXPECT_EQ(AllJoints(*m), before) << k.name;
  }
}

TEST_F(SixBarTest, StepInputThatCannotCloseMovesNothing) {
  // A full turn of each default linkage in small steps: wherever a loop breaks, the joints stay
  // where the last step left them.
  int broken = 0;
  for (const TSixBarCase& k : Cases()) {
    const auto m = k.make();
    for (int s = 0; s < 360; ++s) {
      const std::vector<Cx> before = AllJoints(*m);
      if (m->StepInput(2 * std::numbers::pi / 360)) continue;
      ++broken;
      EXPECT_EQ(AllJoints(*m), before) << k.name;
      break;
    }
  }
  EXPECT_GT(broken, 0);
}

TEST_F(SixBarTest, WattOneDragMovesTheLinkageAgainstTheCouplerPoint) {
  TSixBarW1 m;
  const std::vector<Cx> before = AllJoints(m);
  const Cx offset = ToCx(m.Links.Offset);
  m.Joints.Select(3);
  m.DragJoint(shared::TComplex(0.3, -0.1));
  const Cx d = Cx(0.3, -0.1) - before[2];
  for (int i = 1; i <= 8; ++i) EXPECT_LT(std::abs(J(m, i) - (i == 8 ? before[7] : before[size_t(i - 1)] + d)), 1e-15) << i;
  EXPECT_LT(std::abs(ToCx(m.Links.Offset) - (offset + d)), 1e-15);

  const std::vector<Cx> moved = AllJoints(m);
  m.Joints.Select(8);
  m.DragJoint(shared::TComplex(1, 1));
  EXPECT_EQ(AllJoints(m), moved);
  EXPECT_LT(std::abs(ToCx(m.Links.Offset) - (offset + d)), 1e-15);
}

TEST_F(SixBarTest, WattTwoDragOfJointOneTurnsAndScalesTheInputLoop) {
  TSixBarW2 m;
  const std::vector<Cx> before = AllJoints(m);
  for (int i : {2, 3, 4, 5, 8}) {
    m.Joints.Select(i);
    m.DragJoint(shared::TComplex(1, 1));
    EXPECT_EQ(AllJoints(m), before) << i;
  }
  m.Joints.Select(1);
  const Cx p(0.1, -0.5);
  m.DragJoint(shared::TComplex(p.real(), p.imag()));
  EXPECT_EQ(J(m, 1), p);
  // The triangle J4 J1 Jk keeps its shape: (Jk - J4) / (J1 - J4) is unchanged.
  const Cx j4 = before[3];
  for (int i : {2, 3}) {
    const Cx was = (before[size_t(i - 1)] - j4) / (before[0] - j4);
    EXPECT_LT(std::abs((J(m, i) - j4) / (p - j4) - was), 1e-14) << i;
  }
  for (int i : {4, 5, 6, 7, 8}) EXPECT_EQ(J(m, i), before[size_t(i - 1)]) << i;

  // Joint 1 on joint 4: no scale to take, nothing moves.
  m.Joints.GetJoint(1)->Assign(*m.Joints.GetJoint(4));
  const std::vector<Cx> folded = AllJoints(m);
  m.DragJoint(shared::TComplex(0.3, 0.3));
  EXPECT_EQ(AllJoints(m), folded);
}

TEST_F(SixBarTest, WattTwoAnimatorInputIsDoubled) {
  TSixBarW2 m;
  m.InputFunction.SetTmax(2);
  m.InputFunction.SetXmax(std::numbers::pi);
  EXPECT_EQ(m.AnimatorTmax(), 4.0);
  EXPECT_EQ(m.AnimatorXmax(), 2 * std::numbers::pi);
  // Solved for prescribed input rotations: the range as synthesised.
  m.PrecisionPoints.In = true;
  EXPECT_EQ(m.AnimatorTmax(), 2.0);
  EXPECT_EQ(m.AnimatorXmax(), std::numbers::pi);
}

TEST_F(SixBarTest, RecordsOfGeneratedCandidatesRoundTrip) {
  TSpline curve;
  vesktest::FillCurve(curve);
  TRandom random(99);
  TRandomScope scope(random);
  for (const TSixBarCase& k : Cases()) {
    const auto m = k.make();
    do m->Generate(curve, nullptr, nullptr);
    while (!m->Error.Valid);
    m->ID = 17;
    std::ostringstream first;
    m->Write(first);
    const auto back = k.make();
    std::istringstream in(first.str());
    back->Read(in);
    std::ostringstream second;
    back->Write(second);
    EXPECT_EQ(second.str(), first.str()) << k.name;
    EXPECT_EQ(back->Name, k.name);
    EXPECT_EQ(back->MechanismType, k.type);
    EXPECT_EQ(back->Joints.OriginIndex, 8) << k.name;
    EXPECT_FALSE(back->IsModified()) << k.name;
    // The read linkage moves as the written one (the record keeps 15 digits).
    const double step = m->Links.GetLink(2)->Rot[9] / m->InputFunction.Steps();
    ASSERT_TRUE(m->StepInput(step));
    ASSERT_TRUE(back->StepInput(step));
    for (int i = 1; i <= 8; ++i) EXPECT_LT(std::abs(J(*back, i) - J(*m, i)), 1e-12) << k.name << " " << i;
  }
}

}  // namespace
