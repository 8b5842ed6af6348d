// Joints of the animated linkage: arrays and flags, difference kinematics against closed forms,
// link references and extent.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "animator/engine/AniJoint.h"

namespace {

using quillon::TAniJoint;

TEST(AniJointTest, DefaultsAndVectorArraysFollowTheFlags) {
  TAniJoint joint(10);
  EXPECT_EQ(joint.Letter, ' ');
  EXPECT_EQ(joint.Link1, -1);
  EXPECT_EQ(joint.Link2, -1);
  EXPECT_EQ(joint.InputIndex, -1);
  EXPECT_EQ(joint.Caption(), "Joint  ");
  EXPECT_EQ(joint.Positions.size(), 11u);
  EXPECT_EQ(joint.PathLength.size(), 11u);
  EXPECT_TRUE(joint.Velocity.empty());
  EXPECT_TRUE(joint.Acceleration.empty());
  EXPECT_EQ(joint.Speed(3), 0);
  EXPECT_EQ(joint.AccelerationMagnitude(3), 0);

  joint.SetAnalyse(true);
  EXPECT_EQ(joint.Velocity.size(), 11u);
  joint.SetAnalyse(false);
  joint.ToggleShowVectors();
  EXPECT_EQ(joint.Acceleration.size(), 11u);
  joint.ToggleShowVectors();
  EXPECT_TRUE(joint.Velocity.empty());

  // A new step count keeps the design position.
  joint.Positions[0] = {1.5, -2, 0};
  joint.SetN(20);
  EXPECT_EQ(joint.Positions.size(), 21u);
  EXPECT_EQ(joint.Positions[0].X, 1.5);
  joint.SetN(-4);
  EXPECT_EQ(joint.N, 0);
  EXPECT_EQ(joint.Positions.size(), 1u);
}

TEST(AniJointTest, MakeStaticMoveAndIsNear) {
  TAniJoint joint(4);
  joint.Letter = 'B';
  joint.Positions[0] = {3, 4, 0};
  joint.Trace = 1;
  joint.SetAnalyse(true);
  joint.SetShowVectors(true);
  joint.MakeStatic();
  EXPECT_EQ(joint.Caption(), "Joint B");
  EXPECT_FALSE(joint.Trace || joint.Analyse || joint.ShowVectors);
  EXPECT_TRUE(joint.Velocity.empty());
  EXPECT_EQ(joint.Placed, 1);
  for (const auto& p : joint.Positions) {
    EXPECT_EQ(p.X, 3);
    EXPECT_EQ(p.Y, 4);
  }

  joint.Move(1, -1);
  EXPECT_EQ(joint.Positions[0].X, 4);
  EXPECT_EQ(joint.Positions[0].Y, 3);
  joint.ToggleLocked();
  joint.Move(10, 10);
  EXPECT_EQ(joint.Positions[0].X, 4);

  // Step 2 is still at (3, 4): distance 5 from the origin, the bound included.
  EXPECT_TRUE(joint.IsNear({0, 0}, 5, 2));
  EXPECT_FALSE(joint.IsNear({0, 0}, 4.999, 2));
  EXPECT_FALSE(joint.IsNear({3, 4}, 1, 5));
  EXPECT_FALSE(joint.IsNear({3, 4}, 1, -1));
}

// x = a t^2 / 2 along a line: central differences are exact inside, the ends are one-sided.
TEST(AniJointTest, KinematicsOfUniformAccelerationMatchTheDifferenceRules) {
  const int n = 10;
  const double dt = 0.1, a = 3.0;
  TAniJoint joint(n);
  joint.SetAnalyse(true);
  for (int i = 0; i <= n; ++i) joint.Positions[i] = {0.5 * a * (i * dt) * (i * dt), 0, 0};
  joint.Len = n;
  joint.Dt = dt;
  joint.ComputeKinematics();

  const double tol = 1e-9;
  for (int i = 0; i <= n; ++i) EXPECT_NEAR(joint.PathLength[i], joint.Positions[i].X, tol) << i;
  EXPECT_NEAR(joint.Velocity[0].X, a * 0.5 * dt, tol);
  for (int i = 1; i < n; ++i) EXPECT_NEAR(joint.Velocity[i].X, a * i * dt, tol) << i;
  EXPECT_NEAR(joint.Velocity[n].X, a * (n - 0.5) * dt, tol);
  for (int i = 2; i <= n - 2; ++i) EXPECT_NEAR(joint.Acceleration[i].X, a, tol) << i;
  EXPECT_NEAR(joint.Acceleration[0].X, a / 2, tol);
  EXPECT_NEAR(joint.MaxSpeed, a * (n - 0.5) * dt, tol);
  EXPECT_NEAR(joint.VelocityScale, joint.PathLength[n] / (4 * joint.MaxSpeed), tol);
  EXPECT_NEAR(joint.AccelerationScale, joint.PathLength[n] / (4 * joint.MaxAcceleration), tol);
  EXPECT_EQ(joint.TotalPathLength(), 0) << "not traced";
  joint.Trace = 1;
  EXPECT_NEAR(joint.TotalPathLength(), 0.5 * a * 1.0, tol);
}

// A uniform revolution over a full cycle: every step, the ends included, has the central
// difference speed R sin(2 pi / N) / dt and the ends agree.
TEST(AniJointTest, FullCycleClosesVelocityAndAccelerationAtBothEnds) {
  const int n = 36;
  const double dt = 0.05, r = 2.0, step = 2 * std::numbers::pi / n;
  TAniJoint joint(n);
  joint.SetShowVectors(true);
  for (int i = 0; i <= n; ++i) joint.Positions[i] = {r * std::cos(i * step), r * std::sin(i * step), 0};
  joint.Len = n;
  joint.Dt = dt;
  joint.FullCycle = 1;
  joint.ComputeKinematics();

  const double speed = r * std::sin(step) / dt;
  for (int i = 0; i <= n; ++i) EXPECT_NEAR(joint.Speed(i), speed, 1e-9) << i;
  EXPECT_NEAR(joint.Velocity[0].X, joint.Velocity[n].X, 1e-12);
  EXPECT_NEAR(joint.Velocity[0].Y, joint.Velocity[n].Y, 1e-12);
  EXPECT_NEAR(joint.Acceleration[0].X, joint.Acceleration[n].X, 1e-12);
  EXPECT_NEAR(joint.AccelerationMagnitude(0), joint.AccelerationMagnitude(n / 2), 1e-9);
  EXPECT_NEAR(joint.PathLength[n], n * 2 * r * std::sin(step / 2), 1e-9);
}

TEST(AniJointTest, ResolvedLengthBoundsTheKinematicsAndTheExtent) {
  TAniJoint joint(6);
  joint.SetAnalyse(true);
  joint.Dt = 1;
  for (int i = 0; i <= 6; ++i) joint.Positions[i] = {double(i), double(-i), 0};
  joint.Positions[2].Invalid = 1;
  joint.Positions[2].X = 100;
  joint.Len = 3;
  joint.ComputeKinematics();
  joint.Trace = 1;
  EXPECT_NEAR(joint.TotalPathLength(), joint.PathLength[3], 0);

  shared::TComplex min(0, 0), max(0, 0);
  joint.UpdateExtent(min, max);
  EXPECT_EQ(max.X, 3) << "invalid step 2 and steps beyond Len are left out";
  EXPECT_EQ(min.Y, -3);

  // A length beyond N reads no record past the arrays.
  joint.Len = 50;
  joint.ComputeKinematics();
  EXPECT_EQ(joint.TotalPathLength(), 0);
  joint.UpdateExtent(min, max);
  EXPECT_EQ(max.X, 6);
}

TEST(AniJointTest, StillJointHasNoSpeedAndUnitScales) {
  TAniJoint joint(8);
  joint.SetAnalyse(true);
  joint.Positions[0] = {1, 1, 0};
  joint.MakeStatic();
  joint.SetAnalyse(true);
  joint.Len = 8;
  joint.Dt = 0.1;
  joint.ComputeKinematics();
  EXPECT_EQ(joint.MaxSpeed, 0);
  EXPECT_EQ(joint.VelocityScale, 1.0);
  EXPECT_EQ(joint.MaxAcceleration, 0);
  EXPECT_EQ(joint.AccelerationScale, 1.0);
}

TEST(AniJointTest, LinkReferences) {
  TAniJoint joint;
  EXPECT_EQ(joint.LinkCount(), 0);
  joint.Link1 = 2;
  joint.Link2 = 5;
  EXPECT_EQ(joint.LinkCount(), 2);
  EXPECT_TRUE(joint.HasLinks(5, 2));
  EXPECT_FALSE(joint.HasLinks(2, 3));
  joint.RemoveLink(7);
  EXPECT_EQ(joint.LinkCount(), 2) << "a link the joint does not hold changes nothing";
  joint.RemoveLink(2);
  EXPECT_EQ(joint.Link1, 5);
  EXPECT_EQ(joint.Link2, -1);
  joint.Link2 = 1;
  joint.RemoveLink(1);
  EXPECT_EQ(joint.Link1, 5);
  EXPECT_EQ(joint.Link2, -1);
}

}  // namespace
