// The position solution of TAniMechanism over one input cycle (driven links, dyads, instant centres,
// kinematics, the tracer's curve deviation) and the getters that views and graphs read it through.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

#include "animator/engine/AniMechanism.h"
#include "animator/engine/CurveDeviation.h"
#include "animator/engine/JointSteps.h"

namespace quillon {

using shared::TComplex;

namespace {

bool ValidJoint(const TAniMechanism& m, int32_t j) { return j >= 0 && j < m.JointCount(); }

// The frame's joints stay at their design positions; each driven link turns about its driven joint
// by the input function's increments.
void PlaceFrameAndDrivers(TAniMechanism& m) {
  TAniLink& frame = m.Link(0);
  for (int32_t k = 0; k < frame.JointCount; ++k) {
    if (ValidJoint(m, frame.JointIndex[k])) m.Joint(frame.JointIndex[k]).MakeStatic();
  }
  frame.Placed = 1;

  for (int32_t j = 0; j < m.JointCount(); ++j) {
    TAniJoint& driven = m.Joint(j);
    if (driven.InputIndex < 0 || driven.InputIndex >= m.InputCount()) continue;
    // A joint on the frame alone, or on no link at all, drives nothing.
    const int32_t l = driven.Link1 >= 1 ? driven.Link1 : driven.Link2;
    if (l < 1 || l >= m.LinkCount()) continue;
    const TInputFunction& input = m.Input(driven.InputIndex);
    TAniLink& link = m.Link(l);
    link.Angle[0] = 0;
    for (int32_t a = 1; a <= m.N; ++a) link.SetAngle(a, input.StepIncrement(a));
    const TComplex pivot = DesignOf(driven);
    for (int32_t k = 0; k < link.JointCount; ++k) {
      const int32_t other = link.JointIndex[k];
      if (!ValidJoint(m, other) || other == j) continue;
      TAniJoint& joint = m.Joint(other);
      TComplex arm;
      arm.Sub(DesignOf(joint), pivot);
      // Turning the design arm by the accumulated angle is the same as turning it step by step,
      // without letting its length drift over a long cycle.
      for (int32_t a = 1; a <= m.N; ++a) {
        const double c = std::cos(link.Angle[a]), s = std::sin(link.Angle[a]);
        const TPositionRecord& at = driven.Positions[static_cast<size_t>(a)];
        joint.Positions[static_cast<size_t>(a)] =
            TPositionRecord{at.X + arm.X * c - arm.Y * s, at.Y + arm.X * s + arm.Y * c, 0};
      }
      joint.Placed = 1;
    }
    link.Placed = 1;
  }
}

template <class AddPoint>
TDyadSide LoadSide(TAniMechanism& m, const TAniLink& link, int32_t common, AddPoint add) {
  TDyadSide side;
  for (int32_t k = 0; k < link.JointCount; ++k) {
    const int32_t j = link.JointIndex[k];
    if (!ValidJoint(m, j)) continue;
    const TAniJoint& joint = m.Joint(j);
    if (joint.Placed) {
      add(DesignOf(joint), TDyadRole::Base);
      side.Base = j;
      continue;
    }
    add(DesignOf(joint), j == common ? TDyadRole::Common : TDyadRole::Other);
    side.Moved[side.MovedCount++] = j;
  }
  return side;
}

// Assembles one dyad at every step 1..Len; where it cannot close the motion range ends.
void SolveDyad(TAniMechanism& m, TAniDyad& dyad) {
  const int32_t l1 = dyad.Link1Index;
  const int32_t l2 = dyad.Link2Index;
  if (l1 < 0 || l2 < 0 || l1 >= m.LinkCount() || l2 >= m.LinkCount() || l1 == l2) return;
  TAniLink& link1 = m.Link(l1);
  TAniLink& link2 = m.Link(l2);
  // The matrix is sized by the topology rebuild; links added since share nothing yet.
  const bool known =
      static_cast<size_t>(l1) < m.SharedJoint.size() && static_cast<size_t>(l2) < m.SharedJoint[l1].size();
  const int32_t common = known ? m.SharedJoint[l1][l2] : -1;
  TDyad& solver = m.Solver;
  solver.Clear();
  solver.Slider1 = link1.JointCount > 1 && link1.Kind[1] == TAniLink::kSlider;
  solver.Slider2 = link2.JointCount > 1 && link2.Kind[1] == TAniLink::kSlider;
  const TDyadSide side1 =
      LoadSide(m, link1, common, [&](const TComplex& p, TDyadRole role) { solver.AddPoint1(p, role); });
  const TDyadSide side2 =
      LoadSide(m, link2, common, [&](const TComplex& p, TDyadRole role) { solver.AddPoint2(p, role); });
  if (side1.Base < 0 || side2.Base < 0) return;
  // No free common joint (the links share none, or it is placed already): nothing to solve.
  if (!solver.FinishLoading()) return;
  dyad.Angle[0] = solver.JointAngle();

  const TDyadPlan plan{side1, side2, common, solver.Slider1, solver.Slider2};
  const int32_t earlier = m.Between.Count();
  m.Between.Add(plan);

  TAniJoint& base1 = m.Joint(side1.Base);
  TAniJoint& base2 = m.Joint(side2.Base);
  // The bases are placed at every step of the range before the dyad is solved, so the reach a
  // step ahead is known too: with the steps either side it shows whether a dead point may lie
  // between two steps that both close, and where it may, the linkage is posed between them to
  // see. Such a linkage jams there, whatever the step count.
  const auto reach = [&](int32_t k) {
    const TPositionRecord& p = base1.Positions[k];
    const TPositionRecord& q = base2.Positions[k];
    return solver.Reach(p.X, p.Y, q.X, q.Y);
  };
  constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
  double before = kNone, from = reach(0), to = m.Len >= 1 ? reach(1) : kNone;
  for (int32_t k = 1; k <= m.Len; ++k) {
    const double after = k < m.Len ? reach(k + 1) : kNone;
    const auto between = [&](double t) {
      if (!m.Between.Pose(m, k, t, earlier)) return kNone;
      return solver.Reach(m.Between.At(side1.Base), m.Between.At(side2.Base));
    };
    solver.RestoreCounts();
    solver.SetBases(PositionAt(base1, k), PositionAt(base2, k));
    if (!solver.Assemble() || !solver.StaysClosed(before, from, to, after, between)) {
      m.Len = k - 1;
      break;
    }
    before = from;
    from = to;
    to = after;
    // A sliding second link carries its base along to the slid position too.
    ReadOutDyad(solver, plan, [&m, k](int32_t j, const TComplex& p) {
      TAniJoint& joint = m.Joint(j);
      StorePosition(joint, k, p);
      joint.Placed = 1;
    });
    link1.SetAngle(k, solver.Rotation1());
    link2.SetAngle(k, solver.Rotation2());
    dyad.Angle[k] = solver.JointAngle();
    link1.Placed = link2.Placed = 1;
  }
  // A range that ended before step 1 leaves the dyad's joints at their design positions. They
  // belong to the linkage all the same, so unlike joints that nothing reaches they keep their
  // trace and analysis switches for the next solution.
  for (const TDyadSide* side : {&side1, &side2}) {
    for (int32_t i = 0; i < side->MovedCount; ++i) {
      TAniJoint& joint = m.Joint(side->Moved[i]);
      if (joint.Placed) continue;
      std::fill(joint.Positions.begin() + 1, joint.Positions.end(), joint.Positions[0]);
      joint.Placed = 1;
    }
  }
}

void ComputeCentres(TAniMechanism& m) {
  // A step without a centre (no shown pair, an unresolved pair, or beyond the solved range)
  // answers the direction flag with (0, 0), never a centre left from an earlier solution.
  std::fill(m.CentreAt.begin(), m.CentreAt.end(), TCentreRecord{0, 0, 1});
  for (int32_t k = 0; k <= m.Len; ++k) {
    for (int32_t j = 0; j < m.JointCount(); ++j) {
      const TPositionRecord& p = m.Joint(j).Positions[k];
      m.Centres.SetJoint(j, p.X, p.Y);
    }
    m.Centres.ComputeShown();
    TCentre centre{0, 0, false};
    m.Centres.GetShown(centre);
    m.CentreAt[k] = TCentreRecord{centre.X, centre.Y, static_cast<uint8_t>(centre.IsDirection)};
  }
}

void ComputeKinematics(TAniMechanism& m) {
  if (m.Inputs.empty()) return;
  const TInputFunction& first = m.Input(0);
  m.FullCycle = m.Len == m.N && first.IsPeriodic();
  const double dt = first.TimeStep();
  // Without a time base the differences would be infinite.
  if (!(dt > 0)) return;
  for (auto& joint : m.Joints) {
    joint->Len = m.Len;
    joint->FullCycle = m.FullCycle;
    joint->Dt = dt;
    joint->ComputeKinematics();
    if (joint->Analyse || joint->ShowVectors) {
      m.VelocityScale = joint->VelocityScale;
      m.AccelerationScale = joint->AccelerationScale;
    }
  }
}

void ClearDeviation(TAniMechanism& m) {
  std::fill(m.Deviation.begin(), m.Deviation.end(), TDeviationRecord{});
  m.MaxDeviation = m.MaxInputError = m.MaxOutputError = m.Integral = 0;
  m.InputProduct = m.OutputProduct = 1.0;
}

double LinkAngle(const TAniMechanism& m, int32_t l, int32_t step) {
  return l >= 0 && l < m.LinkCount() ? m.Links[l]->GetAngle(step) : 0.0;
}

// How far the tracer is from the curve, the curve taken at the tracer's arc length: the distances
// and the errors of the output link (the tracer's first link) and the input link (link 1) against
// the prescribed rotations, summed over the length of curve each judgement stands for.
class TDeviationSum {
 public:
  explicit TDeviationSum(TAniMechanism& m)
      : M(m),
        Length(m.Curve.Length),
        Output(m.Curve.OutWeight > 0),
        Input(m.Curve.InWeight > 0),
        FactorsPerLength(m.N / m.Curve.Length) {}

  // The tracer at (x, y) with the two links at their angles against the curve at arc length s;
  // piece is the length of curve it stands for. Answers the curve point's distance and errors.
  TDeviationRecord Judge(double s, double piece, double x, double y, double outAngle, double inAngle) {
    shared::TPrePoint q;
    M.Curve.PointAt(s / Length, q);
    TDeviationRecord record;
    record.Path = std::sqrt((q.X - x) * (q.X - x) + (q.Y - y) * (q.Y - y));
    M.MaxDeviation = std::max(M.MaxDeviation, record.Path);
    // The design position stands for no length of curve (0 times an infinite distance is no number).
    if (piece > 0) M.Integral += piece * record.Path;
    // A rotation product raises each factor to the share of the curve it stands for, N factors
    // over the whole curve: a tracer that runs the curve in fewer steps pays for as many.
    const double weight = piece * FactorsPerLength;
    if (Output) {
      record.OutputError = RotationError(outAngle, q.Out);
      M.MaxOutputError = std::max(M.MaxOutputError, record.OutputError);
      OutputLog += weight * std::log1p(RotationDistance2(outAngle, q.Out));
    }
    if (Input) {
      record.InputError = RotationError(inAngle, q.In);
      M.MaxInputError = std::max(M.MaxInputError, record.InputError);
      InputLog += weight * std::log1p(RotationDistance2(inAngle, q.In));
    }
    return record;
  }

  // The products, halved.
  void Finish() {
    M.OutputProduct = std::exp(OutputLog) / 2;
    M.InputProduct = std::exp(InputLog) / 2;
  }

 private:
  TAniMechanism& M;
  const double Length;
  const bool Output;
  const bool Input;
  const double FactorsPerLength;
  double OutputLog = 0;
  double InputLog = 0;
};

void ComputeDeviation(TAniMechanism& m) {
  ClearDeviation(m);
  if (!m.CanFitCurve()) return;
  const TAniJoint& tracer = *m.Tracer;
  const double curveLength = m.Curve.Length;
  const double limit = std::min(curveLength, tracer.TotalPathLength());
  const int32_t outLink = tracer.Link1;
  TDeviationSum sum(m);
  int32_t last = -1;
  for (int32_t i = 0; i <= m.Len; ++i) {
    const double s = tracer.PathLength[i];
    if (s > limit) break;
    last = i;
    const TPositionRecord& p = tracer.Positions[i];
    const double piece = i > 0 ? s - tracer.PathLength[i - 1] : 0.0;
    m.Deviation[i] = sum.Judge(s, piece, p.X, p.Y, LinkAngle(m, outLink, i), LinkAngle(m, 1, i));
  }
  const double s0 = last >= 0 ? tracer.PathLength[last] : 0.0;
  const double rest = curveLength - s0;
  if (last < 0 || !(rest > 0)) {
    sum.Finish();
    return;
  }
  const TPositionRecord& p0 = tracer.Positions[last];
  if (last < m.Len) {
    // The curve ends between the last counted step and the next: the piece up to its end is
    // judged at the tracer's point there. Without it a design that runs past the end in one long
    // step would leave most of the curve unmeasured and pay less for it.
    const double s1 = tracer.PathLength[last + 1];
    if (s1 > s0) {
      const double t = std::min(rest / (s1 - s0), 1.0);
      const TPositionRecord& p1 = tracer.Positions[last + 1];
      const auto between = [t](double a, double b) { return a + t * (b - a); };
      sum.Judge(curveLength, rest, between(p0.X, p1.X), between(p0.Y, p1.Y),
                between(LinkAngle(m, outLink, last), LinkAngle(m, outLink, last + 1)),
                between(LinkAngle(m, 1, last), LinkAngle(m, 1, last + 1)));
    }
  } else {
    // The path ends before the curve does: the part it leaves out is judged against where the
    // tracer stops, in pieces of at most a step's share of the curve (its length / N), so a
    // path that falls short pays for every piece of curve it does not reach. A curve too long to
    // measure (the share is not 0..1) gets a single piece.
    const double share = rest / curveLength;
    const int32_t pieces =
        share > 0 && share <= 1 ? std::max(1, static_cast<int32_t>(std::ceil(share * m.N))) : 1;
    const double piece = rest / pieces;
    const double outAngle = LinkAngle(m, outLink, last), inAngle = LinkAngle(m, 1, last);
    for (int32_t k = 1; k <= pieces; ++k)
      sum.Judge(k == pieces ? curveLength : s0 + k * piece, piece, p0.X, p0.Y, outAngle, inAngle);
  }
  sum.Finish();
}

}  // namespace

void TAniMechanism::Calculate() {
  for (auto& joint : Joints) {
    for (int32_t k = 1; k <= N; ++k) joint->Positions[k].Invalid = 0;
    // Every pass places its joints afresh; with no links none is placed at all.
    joint->Placed = 0;
  }
  if (Tracer) {
    Tracer->Trace = 1;
    Tracer->SetAnalyse(true);
    Tracer->SetShowVectors(true);
  }
  for (auto& link : Links) {
    link->Angle[0] = 0;
    link->Placed = 0;
  }
  if (!Links.empty()) PlaceFrameAndDrivers(*this);
  Len = N;
  Between.Clear();
  for (auto& dyad : Dyads) SolveDyad(*this, *dyad);
  for (auto& joint : Joints) {
    if (!joint->Placed) joint->MakeStatic();
  }
  for (auto& link : Links) link->Len = Len;
  ComputeCentres(*this);
  if (Inputs.empty()) FullCycle = 0;
  ComputeKinematics(*this);
  for (auto& link : Links) link->FullCycle = FullCycle;
  ComputeDeviation(*this);
}

void TAniMechanism::FrameToDesign() {
  SetFrame(CurrentStep);
  for (auto& joint : Joints) joint->Positions[0] = joint->Positions[CurrentStep];
  CurrentStep = 0;
  Calculate();
}

bool TAniMechanism::CanFitCurve() const {
  return Curve.IsUsable() && Tracer && Tracer->Trace && Tracer->TotalPathLength() > 0;
}

bool TAniMechanism::IsFeasible() {
  // A path shorter than the curve is judged on what it covers and pays for the rest: it can be
  // scored, and a fit must be able to start from it.
  if (!(Curve.Length > 0 && Tracer && Tracer->TotalPathLength() > 0)) return false;
  if (Areas.Count() == 0) return true;
  for (const auto& joint : Joints) {
    if (Areas.IndexHolding(DesignOf(*joint), static_cast<char>(joint->Letter)) < 0) return false;
  }
  return true;
}

double TAniMechanism::CombinedError() const {
  const double a = Curve.PosWeight > 0 ? Curve.PosWeight * Integral : 1.0;
  const double b = Curve.OutWeight > 0 ? Curve.OutWeight * OutputProduct : 1.0;
  const double c = Curve.InWeight > 0 ? Curve.InWeight * InputProduct : 1.0;
  return a * b * c;
}

namespace {

bool InRange(const TAniMechanism& m, int32_t step) { return step >= 0 && step <= m.Len && step <= m.N; }

}  // namespace

double TAniMechanism::GetDyadAngle(int32_t step, int32_t dyad) const {
  if (!InRange(*this, step) || dyad < 0 || dyad >= DyadCount()) return 0;
  return Dyads[dyad]->Angle[step];
}

double TAniMechanism::GetLinkValue(int32_t step, int32_t kind, int32_t link) const {
  if (!InRange(*this, step) || link < 0 || link >= LinkCount()) return 0;
  const TAniLink& l = *Links[link];
  switch (kind) {
    case 0:
      return l.GetAngle(step);
    case 1:
      return Inputs.empty() ? 0 : l.AngularVelocity(step, Inputs[0]->TimeStep());
    case 2:
      return Inputs.empty() ? 0 : l.AngularAcceleration(step, Inputs[0]->TimeStep());
    default:
      return 0;
  }
}

double TAniMechanism::GetJointValue(int32_t step, int32_t kind, int32_t joint) const {
  if (!InRange(*this, step) || !ValidJoint(*this, joint)) return 0;
  const TAniJoint& j = *Joints[joint];
  if (!j.Analyse) return 0;
  switch (kind) {
    case 0:
      return j.PathLength[step];
    case 1:
      return j.Speed(step);
    case 2:
      return j.AccelerationMagnitude(step);
    default:
      return 0;
  }
}

TPositionRecord TAniMechanism::GetTracerVector(int32_t step, int32_t kind) const {
  if (!Tracer || !Tracer->Analyse || !InRange(*this, step)) return {};
  const std::vector<TPositionRecord>* records = nullptr;
  switch (kind) {
    case 0:
      records = &Tracer->Positions;
      break;
    case 1:
      records = &Tracer->Velocity;
      break;
    case 2:
      records = &Tracer->Acceleration;
      break;
    default:
      return {};
  }
  if (static_cast<size_t>(step) >= records->size()) return {};
  return (*records)[step];
}

double TAniMechanism::GetPathError(int32_t step) const {
  return InRange(*this, step) ? Deviation[step].Path : 0;
}

double TAniMechanism::GetRotationError(int32_t step) const {
  if (!InRange(*this, step) || !(Curve.OutWeight > 0)) return 0;
  return Deviation[step].OutputError;
}

double TAniMechanism::GetTransmissionRatio(int32_t) const { return 0; }

double TAniMechanism::GetTime(int32_t step) const {
  if (!InRange(*this, step) || Inputs.empty()) return 0;
  return Inputs[0]->TimeOfStep(step);
}

double TAniMechanism::GetInputValue(int32_t step) const {
  if (!InRange(*this, step) || Inputs.empty()) return 0;
  return Inputs[0]->ValueOfStep(step);
}

}  // namespace quillon
