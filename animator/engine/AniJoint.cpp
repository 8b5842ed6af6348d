// The joint of the animated linkage: per-step arrays, flags and difference kinematics.
#include "animator/engine/AniJoint.h"

#include <algorithm>
#include <cmath>

#include "animator/engine/Extent.h"

namespace quillon {

namespace {

TPositionRecord Mean(const TPositionRecord& a, const TPositionRecord& b) {
  return {(a.X + b.X) / 2, (a.Y + b.Y) / 2, static_cast<uint8_t>(a.Invalid | b.Invalid)};
}

// dst[0..len] := the derivative of src[0..len]: backward differences averaged into central ones
// inside, one-sided at both ends; over a full cycle both ends take the mean of the two.
void Differentiate(const std::vector<TPositionRecord>& src, std::vector<TPositionRecord>& dst, int32_t len,
                   double dt, bool fullCycle) {
  dst[0] = TPositionRecord{};
  const double rate = 1 / dt;
  for (int32_t i = 1; i <= len; ++i) {
    dst[i] = {(src[i].X - src[i - 1].X) * rate, (src[i].Y - src[i - 1].Y) * rate,
              static_cast<uint8_t>(src[i].Invalid | src[i - 1].Invalid)};
    if (i == 1)
      dst[0] = dst[1];
    else
      dst[i - 1] = Mean(dst[i - 1], dst[i]);
  }
  if (fullCycle) {
    dst[0] = Mean(dst[len], dst[0]);
    dst[len] = dst[0];
  }
}

// Lengths of solved positions and their differences: no overflow to guard against, and hypot's
// care costs several times a square root, thousands of times per solution.
double Norm(double x, double y) { return std::sqrt(x * x + y * y); }

double Length(const std::vector<TPositionRecord>& records, int32_t i) {
  if (i < 0 || i >= static_cast<int32_t>(records.size())) return 0;
  return Norm(records[i].X, records[i].Y);
}

// The largest length of records 0..len (0 without records): one root of the largest square.
double MaxLength(const std::vector<TPositionRecord>& records, int32_t len) {
  double max = 0;
  const int32_t last = std::min(len, static_cast<int32_t>(records.size()) - 1);
  for (int32_t i = 0; i <= last; ++i) {
    const TPositionRecord& r = records[static_cast<size_t>(i)];
    max = std::max(max, r.X * r.X + r.Y * r.Y);
  }
  return std::sqrt(max);
}

}  // namespace

TAniJoint::TAniJoint(int32_t n) {
  N = std::max(n, 0);
  Clear();
}

void TAniJoint::Clear() {
  Letter = ' ';
  Link1 = Link2 = -1;
  Selected = Analyse = ShowVectors = Trace = Locked = Placed = 0;
  InputIndex = -1;
  ResizeArrays();
}

void TAniJoint::SetN(int32_t n) {
  N = std::max(n, 0);
  ResizeArrays();
}

void TAniJoint::SetAnalyse(bool on) {
  Analyse = on;
  ResizeArrays();
}

void TAniJoint::SetShowVectors(bool on) {
  ShowVectors = on;
  ResizeArrays();
}

void TAniJoint::ToggleTrace() { Trace = !Trace; }
void TAniJoint::ToggleLocked() { Locked = !Locked; }
void TAniJoint::ToggleAnalyse() { SetAnalyse(!Analyse); }
void TAniJoint::ToggleShowVectors() { SetShowVectors(!ShowVectors); }

void TAniJoint::ResizeArrays() {
  const size_t count = static_cast<size_t>(N) + 1;
  PathLength.resize(count);
  Positions.resize(count);
  const size_t vectors = (Analyse || ShowVectors) ? count : 0;
  Velocity.resize(vectors);
  Acceleration.resize(vectors);
}

int32_t TAniJoint::SolvedLength() const { return std::clamp(Len, 0, N); }

void TAniJoint::MakeStatic() {
  Trace = ShowVectors = Analyse = 0;
  ResizeArrays();
  std::fill(Positions.begin() + 1, Positions.end(), Positions[0]);
  Placed = 1;
}

void TAniJoint::Move(double dx, double dy) {
  if (Locked) return;
  Positions[0].X += dx;
  Positions[0].Y += dy;
}

bool TAniJoint::IsNear(const shared::TComplex& point, double radius, int32_t step) const {
  if (step < 0 || step > N) return false;
  return std::hypot(Positions[step].X - point.X, Positions[step].Y - point.Y) <= radius;
}

void TAniJoint::ComputeKinematics() {
  const int32_t len = SolvedLength();
  PathLength[0] = 0;
  for (int32_t i = 1; i <= len; ++i)
    PathLength[i] =
        PathLength[i - 1] + Norm(Positions[i].X - Positions[i - 1].X, Positions[i].Y - Positions[i - 1].Y);

  const bool vectors = !Velocity.empty();
  if (vectors) Differentiate(Positions, Velocity, len, Dt, FullCycle);
  MaxSpeed = MaxLength(Velocity, len);
  VelocityScale = MaxSpeed > 0 ? PathLength[len] / (4 * MaxSpeed) : 1.0;

  if (vectors) Differentiate(Velocity, Acceleration, len, Dt, FullCycle);
  MaxAcceleration = MaxLength(Acceleration, len);
  AccelerationScale = MaxAcceleration > 0 ? PathLength[len] / (4 * MaxAcceleration) : 1.0;
}

double TAniJoint::Speed(int32_t i) const { return Length(Velocity, i); }

double TAniJoint::AccelerationMagnitude(int32_t i) const { return Length(Acceleration, i); }

double TAniJoint::TotalPathLength() const {
  if (Trace && Len > 0 && Len <= N) return PathLength[Len];
  return 0;
}

int32_t TAniJoint::LinkCount() const { return (Link1 >= 0 ? 1 : 0) + (Link2 >= 0 ? 1 : 0); }

void TAniJoint::RemoveLink(int32_t l) {
  if (Link1 == l) {
    Link1 = Link2;
    Link2 = -1;
  } else if (Link2 == l) {
    Link2 = -1;
  }
}

void TAniJoint::UpdateExtent(shared::TComplex& min, shared::TComplex& max) const {
  const int32_t len = SolvedLength();
  for (int32_t i = 0; i <= len; ++i) {
    const TPositionRecord& p = Positions[i];
    if (!p.Invalid) WidenExtent(min, max, p.X, p.Y);
  }
}

void TAniJoint::DrawPath(shared::TCanvas2D& canvas) const {
  if (!Trace) return;
  const int32_t len = SolvedLength();
  canvas.MoveTo(Positions[0].X, Positions[0].Y);
  for (int32_t i = 1; i <= len; ++i) canvas.LineTo(Positions[i].X, Positions[i].Y);
}

}  // namespace quillon
