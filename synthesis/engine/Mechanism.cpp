// The mechanism base: the default four-bar, its synthesis, position analysis, path simulation,
// record and list row.
#include "synthesis/engine/Mechanism.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "shared/Convert.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/Area.h"
#include "synthesis/engine/CMatrix.h"
#include "synthesis/engine/Drawing.h"
#include "synthesis/engine/ProjectText.h"
#include "synthesis/engine/Spline.h"
#include "synthesis/engine/SynthOptions.h"

namespace vesk {

using shared::TComplex;

namespace {

// Input link's default maximum rotation: 1.9 pi.
constexpr double kInputMaxAngle = 5.969026041820607;
// Coupler point on precision points 5 and 9 after the moves of the base simulation.
constexpr double kPrecisionTolerance = 1e-10;
// One turn of the input, with room for the rounding of a total typed in degrees.
constexpr double kOneTurn = 2 * std::numbers::pi * (1 + 1e-12);

TComplex Unit(double angle) {
  TComplex u;
  u.SetPolar(1.0, angle);
  return u;
}

// The point lies within reach of the polyline through the list's points. Points checked in turn
// lie near each other: the search starts at the step that held the last one (hint) and stops at
// the first step within reach, so a path that follows the curve costs one step a point.
bool WithinReach(const TComplexPointList& line, const TComplex& point, double reach, int32_t& hint) {
  const int32_t n = line.Count();
  if (n < 1 || !(reach >= 0)) return false;
  const double reach2 = reach * reach;
  auto near = [&](int32_t i) {
    return shared::SegmentDistance2(point, *line.Items(i - 1 < 1 ? 1 : i - 1), *line.Items(i)) <= reach2;
  };
  const int32_t start = std::clamp(hint, 1, n);
  for (int32_t step = 0; step < n; ++step) {
    const int32_t i = (start - 1 + step) % n + 1;
    if (near(i)) {
      hint = i;
      return true;
    }
  }
  return false;
}

}  // namespace

TCheckOptions CheckOptionsFromSynthOptions() {
  TCheckOptions options;
  options.LinkLengthPenaltyOn = SynthOptions.LinkLengthPenaltyOn;
  options.MaxLinkLengthOn = SynthOptions.MaxLinkLengthOn;
  options.MaxLinkLength = SynthOptions.MaxLinkLength;
  options.MaxDistToArea = SynthOptions.MaxDistToArea;
  options.FullInRotation = SynthOptions.FullInRotation;
  return options;
}

TMechanism::TMechanism() {
  Joints.Name = "Joints";
  StoredJoints.Name = "Joints";
  Links.Joints = &Joints;
  PrecisionPoints.Name = "Points";
  PathPoints.Name = "PathPoints";
  // Every candidate refills these; their items are reused rather than allocated again.
  PrecisionPoints.KeepSpare = true;
  PathPoints.KeepSpare = true;
  InputFunction.Assign(DefaultInputFunction());
  MakeDefault();
  PrecisionPoints.SetModified(false);
  PathPoints.SetModified(false);
  InputFunction.Changed = false;
  Modified = false;
}

TMechanism::~TMechanism() {
  ListItem = nullptr;
  Links.Clear();
}

bool TMechanism::IsModified() const {
  return Modified || Joints.IsModified() || Links.IsModified() || PrecisionPoints.IsModified() ||
         PathPoints.IsModified() || InputFunction.Changed;
}

bool TMechanism::CheckPrecisionPositions() { return true; }

TLink* TMechanism::AddLink(uint8_t type, uint8_t mode, std::initializer_list<int32_t> joints) {
  auto link = std::make_unique<TLink>();
  link->SetType(type);
  link->SetMode(mode);
  for (const int32_t j : joints) link->AddJoint(Joints.GetJoint(j));
  return Links.Add(std::move(link));
}

void TMechanism::MakeDefault() {
  Clear();
  const double xy[5][2] = {{-0.4, -0.25}, {-0.4, -0.115}, {0.2, -0.4}, {0.2, -0.1}, {0, 0}};
  const bool selectOnAdd = Joints.SelectOnAdd;
  Joints.SelectOnAdd = false;
  for (const auto& p : xy) Joints.Add(std::make_unique<TJoint>(p[0], p[1]));
  Joints.SelectOnAdd = selectOnAdd;
  Joints.SetOrigin(5);
  Joints.Deselect();
  AddLink(kGroundLink, 0, {1, 3});
  TLink* input = AddLink(kInputLink, 1, {1, 2});
  input->MaxAngle = kInputMaxAngle;
  AddLink(kOutputLink, 2, {2, 4, 5});
  AddLink(kOtherLink, 2, {3, 4});
  Links.Deselect();
  Joints.SetModified(false);
  Links.SetModified(false);
  Links.AssignRoles();
  Modified = false;
}

void TMechanism::DrawOutputBodyDrawing(shared::TCanvas2D& canvas) {
  if (!AppOptions.ShowOutputLinkDrawing) return;
  const TJoint* point = Joints.Origin();
  const TLink* body = Links.OutputLink;
  const TPathPoint* first = PathPoints.GetPathPoint(1);
  if (!point || !body) return;
  // The drawing turns with the output body from where it stood at the first path point.
  TComplex turn = Unit(body->Angle());
  if (first) turn.DivBy(Unit(first->OutAngle));
  shared::TDXFTransForm placement;
  placement.SetAll(point->X, point->Y, turn.Arg(), 1, 1);
  Drawing().DrawTransformed(canvas, placement);
}

void TMechanism::DrawLinks(shared::TCanvas2D& canvas) { Links.Draw(canvas); }

void TMechanism::Read(std::istream& in) {
  Clear();
  TProjectReader r(in, "TMechanism");
  MechanismType = uint8_t(r.Int(0, 255));
  r.Section(SectionName);
  r.Version();
  ID = r.Int();
  Optimized = r.Bool();
  Marked = r.Bool();
  Name = r.Line();
  Error.Read(in);
  Joints.Read(in);
  Links.Read(in);
  Links.AssignRoles();
  PrecisionPoints.Read(in);
  PathPoints.Read(in);
  InputFunction.Read(in);
  Visible = true;
  Modified = false;
}

void TMechanism::Write(std::ostream& out) {
  TProjectWriter w(out);
  w.Int(MechanismType, " Mechanism Type");
  w.Line(SectionName);
  w.Version();
  w.Int(ID, " ID");
  w.Bool(Optimized);
  w.Bool(Marked);
  w.Line(Name);
  Error.Write(out);
  Joints.Write(out);
  Links.Write(out);
  PrecisionPoints.Write(out);
  PathPoints.Write(out);
  InputFunction.Write(out);
  Modified = false;
}

void TMechanism::Clear() {
  fBeforeOptimize.reset();
  // Links point into the joints: they go first.
  Links.Clear();
  Joints.Clear();
  PrecisionPoints.Clear();
  StoredJoints.Clear();
  HasStoredJoints = false;
  PathPoints.Clear();
  Error.Reset();
  ID = 0;
  Optimized = false;
  Marked = false;
  Modified = false;
}

void TMechanism::Assign(const TMechanism& source) {
  if (&source == this) return;
  Clear();
  Joints.Assign(source.Joints);
  Joints.SetOrigin(source.Joints.OriginIndex);
  Links.Assign(source.Links);
  Links.AssignRoles();
  PrecisionPoints.Assign(source.PrecisionPoints);
  PathPoints.Assign(source.PathPoints);
  InputFunction.Assign(source.InputFunction);
  StoredJoints.Assign(source.StoredJoints);
  HasStoredJoints = source.HasStoredJoints;
  SectionName = source.SectionName;
  Name = source.Name;
  MechanismType = source.MechanismType;
  ID = source.ID;
  Optimized = source.Optimized;
  Marked = source.Marked;
  Visible = source.Visible;
  Error.Assign(source.Error);
  Modified = true;
}

std::unique_ptr<TMechanism> TMechanism::Clone() const {
  auto copy = std::make_unique<TMechanism>();
  copy->Assign(*this);
  return copy;
}

void TMechanism::Draw(shared::TCanvas2D& canvas) {
  if (!Visible) return;
  PrecisionPoints.ShowLabels = AppOptions.CurvePointFlag;
  if (canvas.Mode() != 1) {
    PathPoints.Draw(canvas);
    PrecisionPoints.Draw(canvas);
  }
  DrawLinks(canvas);
  Joints.Draw(canvas);
  DrawOutputBodyDrawing(canvas);
}

void TMechanism::ClearSelection() {
  Joints.Deselect();
  Links.Deselect();
  PrecisionPoints.Deselect();
  PathPoints.Deselect();
}

std::string TMechanism::CommonCurveRefusal(const TSpline& curve) {
  if (curve.Count() < 2) return kCurveTooShort;
  if (!curve.IsValid()) return kCurveWithoutLength;
  if (curve.InTotal) {
    const double turns = std::fabs(curve.TotalIn) / (2 * std::numbers::pi);
    if (curve.IsClosed() && std::fabs(turns - 1) > 1e-12) return kClosedTotalNotATurn;
    if (!curve.IsClosed() && std::fabs(curve.TotalIn) > kOneTurn) return kTotalInputAboveTurn;
  }
  return {};
}

bool TMechanism::TakeCurve(const TSpline& curve) {
  Error.Reset();
  if (!CurveRefusal(curve).empty()) {
    Error.Valid = false;
    return false;
  }
  Links.RefLength = curve.CurveLength;
  PrecisionPoints.FromSpline(curve);
  return true;
}

void TMechanism::Generate(const TSpline& curve, TAreaList* groundAreas, TAreaList* couplerAreas) {
  if (!TakeCurve(curve)) return;
  Error.Valid = false;
  for (int32_t attempt = 0; attempt < 100 && !Error.Valid; ++attempt) {
    Links.Randomize(PrecisionPoints);
    Error.Valid = Synthesize();
  }
  if (Error.Valid) EvaluateConstraints(groundAreas, couplerAreas);
  if (Error.Valid) SimulatePath(&curve);
  if (Error.Valid) Error.CalcTotal();
}

bool TMechanism::Synthesize() {
  ++SynthesisCount;
  TLink* input = Links.GetLink(2);
  TLink* body = Links.GetLink(3);
  TLink* rocker = Links.GetLink(4);
  if (!input || !body || !rocker || Joints.Count() < 5 || PrecisionPoints.Count() < 9) return false;
  InputFunction.SetXmax(input->Rot[9]);
  TCMatrix& m = CMatrix();
  m.SetOrder(4);
  m.Clear();
  const TComplex one(1.0, 0.0);
  const TComplex& p1 = *PrecisionPoints.GetPoint(1);
  const int32_t positions[2] = {5, 9};
  for (int32_t k = 0; k < 2; ++k) {
    const int32_t j = positions[k];
    TComplex d;
    d.Sub(*PrecisionPoints.GetPoint(j), p1);
    const int32_t upper = 1 + k;
    const int32_t lower = 3 + k;
    m.A(upper, 1).Sub(Unit(input->Rot[size_t(j)]), one);
    m.A(upper, 2).Sub(Unit(body->Rot[size_t(j)]), one);
    m.B(upper).CopyFrom(d);
    m.A(lower, 3).Sub(Unit(rocker->Rot[size_t(j)]), one);
    m.A(lower, 4).Sub(Unit(body->Rot[size_t(j)]), one);
    m.B(lower).CopyFrom(d);
  }
  if (!m.Solve()) return false;
  TComplexPoint& j5 = JointAt(5);
  j5.Assign(p1);
  JointAt(2).Sub(j5, m.B(2));
  JointAt(1).Sub(JointAt(2), m.B(1));
  JointAt(4).Sub(j5, m.B(4));
  JointAt(3).Sub(JointAt(4), m.B(3));
  Modified = true;
  return true;
}

void TMechanism::SimulatePath(const TSpline* curve) {
  StoreJoints();
  PathPoints.Clear();
  AddPathPoint();
  const int32_t steps = InputFunction.Steps();
  const TPrePoint* p5 = PrecisionPoints.GetPoint(5);
  const TPrePoint* p9 = PrecisionPoints.GetPoint(9);
  const TLink* input = Links.GetLink(2);
  auto onPoint = [&](const TPrePoint* p) {
    const TJoint* origin = Joints.Origin();
    if (!p || !origin) return false;
    TComplex d;
    d.Sub(*origin, *p);
    return d.Abs() < kPrecisionTolerance;
  };
  bool valid = p5 && p9 && input;
  int32_t m = 0;
  if (valid) {
    m = int32_t(std::lround(p5->s * steps));
    valid = Move(m, input->Rot[5]) && onPoint(p5);
  }
  if (valid) valid = Move(steps - m, input->Rot[9] - input->Rot[5]) && onPoint(p9);
  // The path must leave precision points 1, 5 and 9 in the curve's direction.
  auto follows = [&](int32_t from, int32_t to, const TPrePoint* p) {
    const TPathPoint* a = PathPoints.GetPathPoint(from);
    const TPathPoint* b = PathPoints.GetPathPoint(to);
    if (!a || !b || !p) return false;
    TComplex chord;
    chord.Sub(*b, *a);
    chord.Normalize();
    return chord.Dot(p->Direction) > SynthOptions.MaxPathDeviationAngle;
  };
  if (valid) valid = follows(1, 2, PrecisionPoints.GetPoint(1));
  if (valid) valid = follows(m + 1, m + 2, p5);
  if (valid) valid = follows(PathPoints.Count() - 1, PathPoints.Count(), p9);
  if (valid) valid = PathPoints.MinTransmissionAngle() > SynthOptions.MinTransAngle;
  if (valid) valid = PassesPrecisionPoints();
  if (valid && curve) valid = FollowsCurve(*curve);
  Error.Valid = Error.Valid && valid;
  if (Error.Valid && curve) PathPoints.MakeSummary(*curve, Error);
  RestoreJoints();
}

double TMechanism::InputRange() const {
  const TLink* input = Links.GetLink(2);
  if (!input) return 0;
  const double last = input->Rot[9];
  if (!PrecisionPoints.Closed) return last;
  if (PrecisionPoints.InTotal) return PrecisionPoints.TotalIn;
  return std::copysign(2 * std::numbers::pi, last);
}

bool TMechanism::PassesPrecisionPoints() const {
  double length = Links.RefLength;
  if (!(length > 0 && std::isfinite(length))) {
    length = 0;
    for (int32_t i = 2; i <= PrecisionPoints.Count(); ++i) {
      TComplex step;
      step.Sub(*PrecisionPoints.GetPoint(i), *PrecisionPoints.GetPoint(i - 1));
      length += step.Abs();
    }
  }
  const double tolerance = kPrecisionShare * length;
  for (int32_t i = 1; i <= PrecisionPoints.Count(); ++i)
    if (!(PathPoints.DistanceFrom(*PrecisionPoints.GetPoint(i)) <= tolerance)) return false;
  return true;
}

bool TMechanism::FollowsCurve(const TSpline& curve) const {
  const double length = curve.CurveLength;
  const int32_t n = PathPoints.Count();
  if (n < 2 || !(length > 0)) return false;
  if (!PrecisionPoints.Closed && std::fabs(InputRange()) > kOneTurn) return false;
  const double cap = (RunsOutAndBack() ? kOutAndBackShare / 2 : kLengthShare) * length;
  if (!(PathPoints.TotalPathLength() <= kCoarseMargin * cap)) return false;
  int32_t hint = 1;
  for (int32_t k = 1; k <= curve.Count(); ++k)
    if (!WithinReach(PathPoints, *curve.GetPoint(k), kCoarseMargin * curve.PassTolerance(k), hint))
      return false;
  const double stray = kCoarseMargin * kStrayShare * length;
  hint = 1;
  for (int32_t i = 1; i <= n; ++i)
    if (!WithinReach(curve.Samples, *PathPoints.GetPathPoint(i), stray, hint)) return false;
  if (PrecisionPoints.Closed) {
    const double loop = curve.LoopArea();
    const double ran = 0.5 * TwiceSweptArea(PathPoints, 1, n);
    if (!(loop != 0 && ran / loop >= kAreaShare / kCoarseMargin)) return false;
  }
  return true;
}

void TMechanism::EvaluateConstraints(const TAreaList* groundAreas, const TAreaList* couplerAreas) {
  const TCheckOptions options = CheckOptionsFromSynthOptions();
  Error.AreaDistances(Links.GroundLink, groundAreas, options);
  Error.AreaDistances(Links.OutputLink, couplerAreas, options);
  Error.LinkChecks(Links, options);
}

void TMechanism::ApplyDefaultInputFunction() {
  const TInputFunction& d = DefaultInputFunction();
  InputFunction.SetFunctionType(d.FunctionType());
  InputFunction.SetTmax(d.Tmax());
}

void TMechanism::RecalcPathTimes() {
  for (int32_t i = 1; i <= PathPoints.Count(); ++i) {
    TPathPoint& p = *PathPoints.GetPathPoint(i);
    p.Time = InputFunction.TimeOfPosition(p.In);
  }
}

bool TMechanism::StepInput(double angle) {
  if (Joints.Count() != 5) return false;
  TComplex& g = Vectors[0];
  TComplex& a = Vectors[1];
  TComplex& c = Vectors[2];
  TComplex& r = Vectors[3];
  TComplex& p = Vectors[4];
  g.Sub(JointAt(3), JointAt(1));
  a.Sub(JointAt(2), JointAt(1));
  c.Sub(JointAt(4), JointAt(2));
  r.Sub(JointAt(3), JointAt(4));
  p.Sub(JointAt(5), JointAt(2));
  a.MulBy(Unit(angle));
  VectorLoop.A0.CopyFrom(c);
  VectorLoop.B0.CopyFrom(r);
  VectorLoop.C.Sub(g, a);
  if (!VectorLoop.Solve()) return false;
  c.CopyFrom(VectorLoop.A1);
  r.CopyFrom(VectorLoop.B1);
  p.MulBy(VectorLoop.RotA1);
  JointAt(2).Add(JointAt(1), a);
  JointAt(5).Add(JointAt(2), p);
  JointAt(4).Add(JointAt(2), c);
  return true;
}

bool TMechanism::Move(int32_t steps, double angle) {
  bool result = true;
  const double increment = steps > 0 ? angle / steps : 0;
  for (int32_t i = 0; i < steps; ++i) {
    result = StepInput(increment);
    if (!result) break;
    AddPathPoint();
  }
  return result;
}

void TMechanism::AddPathPoint() {
  auto item = PathPoints.TakeSpare();
  auto* point = dynamic_cast<TPathPoint*>(item.get());
  if (!point) return;
  if (point->MechType() != MechanismType) point->SetMechType(MechanismType);
  point->Inf = false;
  point->Time = 0;
  point->Deviation = 0;
  point->s = 0;
  point->SetLinks(Links);
  point->ComputeICs(Joints);
  point->TransAngle = TransmissionAngle();
  PathPoints.Add(std::move(item));
}

void TMechanism::FlipBranch(int32_t) {}

void TMechanism::StoreJoints() {
  // Values into the kept joints: the same objects serve every candidate.
  if (StoredJoints.Count() == Joints.Count()) {
    for (int32_t i = 1; i <= Joints.Count(); ++i) StoredJoints.GetJoint(i)->Assign(*Joints.GetJoint(i));
  } else {
    StoredJoints.Assign(Joints);
  }
  HasStoredJoints = true;
  InputFunction.CurrentStep = 0;
}

void TMechanism::RestoreJoints() {
  if (!HasStoredJoints) return;
  // The links hold the joints themselves: only their values come back.
  const int32_t n = std::min(Joints.Count(), StoredJoints.Count());
  for (int32_t i = 1; i <= n; ++i) Joints.GetJoint(i)->Assign(*StoredJoints.GetJoint(i));
  HasStoredJoints = false;
  InputFunction.CurrentStep = 0;
}

void TMechanism::GetExtents(TComplex& min, TComplex& max) const {
  for (int32_t i = 1; i <= Joints.Count(); ++i) {
    const TJoint& j = *Joints.GetJoint(i);
    if (j.Inf) continue;
    min.SetXY(std::min(min.X, j.X), std::min(min.Y, j.Y));
    max.SetXY(std::max(max.X, j.X), std::max(max.Y, j.Y));
  }
}

void TMechanism::DragJoint(const TComplex&) {}

bool TMechanism::DragsJoint(int32_t) const { return false; }

std::unique_ptr<TMechanism::TDesign> TMechanism::SaveDesign() const {
  auto design = std::make_unique<TDesign>();
  for (int32_t i = 1; i <= Joints.Count(); ++i) design->Joints.emplace_back(JointAt(i).X, JointAt(i).Y);
  for (int32_t i = 1; i <= Links.Count(); ++i) design->Rot.push_back(LinkAt(i).Rot);
  design->Offset = Links.Offset;
  design->Ratio = Links.Ratio;
  design->LoopScale = Links.LoopScale;
  design->ParallelShift1 = Links.ParallelShift1;
  design->ParallelShift2 = Links.ParallelShift2;
  design->Xmax = InputFunction.Xmax();
  design->Error.Assign(Error);
  design->Path.Assign(PathPoints);
  design->Modified = IsModified();
  return design;
}

void TMechanism::RestoreDesign(const TDesign& design) {
  const int32_t joints = std::min(Joints.Count(), int32_t(design.Joints.size()));
  for (int32_t i = 1; i <= joints; ++i)
    JointAt(i).SetXY(design.Joints[size_t(i - 1)].X, design.Joints[size_t(i - 1)].Y);
  const int32_t links = std::min(Links.Count(), int32_t(design.Rot.size()));
  for (int32_t i = 1; i <= links; ++i) LinkAt(i).Rot = design.Rot[size_t(i - 1)];
  Links.Offset = design.Offset;
  Links.Ratio = design.Ratio;
  Links.LoopScale = design.LoopScale;
  Links.ParallelShift1 = design.ParallelShift1;
  Links.ParallelShift2 = design.ParallelShift2;
  InputFunction.SetXmax(design.Xmax);
  Error.Assign(design.Error);
  PathPoints.Assign(design.Path);
  if (!design.Modified) {
    Modified = false;
    Joints.SetModified(false);
    Links.SetModified(false);
    PathPoints.SetModified(false);
    InputFunction.Changed = false;
  }
}

TRating TMechanism::Rate(const TSpline* curve, const TAreaList* groundAreas, const TAreaList* couplerAreas) {
  Error.Valid = Synthesize();
  if (!Error.Valid) return TRating::NotSynthesised;
  EvaluateConstraints(groundAreas, couplerAreas);
  if (!Error.Valid) return TRating::OutsideConstraints;
  SimulatePath(curve);
  if (!Error.Valid) return TRating::PathNotRun;
  Error.CalcTotal();
  return TRating::Rated;
}

TDrop TMechanism::DropJoint(const TComplex& point, const TSpline* curve, const TAreaList* groundAreas,
                            const TAreaList* couplerAreas) {
  const TJoint* joint = Joints.GetSelectedJoint();
  if (!joint) return TDrop::Unchanged;
  const int32_t k = joint->Index();
  if (!DragsJoint(k)) {
    for (int32_t i = 1; i <= Joints.Count(); ++i)
      if (DragsJoint(i)) return TDrop::JointNotDragged;
    return TDrop::NoDragRule;
  }
  if (!joint->NotEqual(point)) return TDrop::Unchanged;
  // A drag builds a design, not a pose of the animation.
  if (InputFunction.CurrentStep != 0) return TDrop::Posed;
  // The total is rated against the curve, as the other solutions' are.
  if (!curve || !IsFromCurve(curve->ID)) return TDrop::NotFromCurve;
  const std::unique_ptr<TDesign> before = SaveDesign();
  DragJoint(point);
  bool moved = false;
  for (int32_t i = 1; i <= Joints.Count() && !moved; ++i)
    moved = JointAt(i).NotEqual(before->Joints[size_t(i - 1)]);
  // The rule found no design with the joint there.
  if (!moved) return TDrop::NotSynthesised;
  const TRating rating = Rate(curve, groundAreas, couplerAreas);
  if (rating == TRating::Rated) {
    Modified = true;
    return TDrop::Taken;
  }
  RestoreDesign(*before);
  switch (rating) {
    case TRating::OutsideConstraints:
      return TDrop::OutsideConstraints;
    case TRating::PathNotRun:
      return TDrop::PathNotRun;
    default:
      return TDrop::NotSynthesised;
  }
}

TRating TMechanism::StartOptimize(std::unique_ptr<TDesign> start, const TSpline* curve, TAreaList* groundAreas,
                                  TAreaList* couplerAreas) {
  if (!start) start = SaveDesign();
  // An optimisation compares every move with its start: a start it cannot rate would take any
  // linkage the moves happen to reach.
  const TRating rating = Rate(curve, groundAreas, couplerAreas);
  if (rating != TRating::Rated) {
    RestoreDesign(*start);
    return rating;
  }
  Links.SaveRotations();
  fBeforeOptimize = std::move(start);
  return rating;
}

TUndoOptimize TMechanism::UndoOptimize(const TSpline* curve, TAreaList* groundAreas,
                                       TAreaList* couplerAreas) {
  if (!Optimized) return TUndoOptimize::NothingToUndo;
  if (fBeforeOptimize) {
    // What a synthesis gives now may differ from what was shown: a list of an earlier build, a
    // record's rounded numbers, options changed since.
    RestoreDesign(*fBeforeOptimize);
    fBeforeOptimize.reset();
    Optimized = false;
    Modified = true;
    return TUndoOptimize::Restored;
  }
  const std::unique_ptr<TDesign> optimised = SaveDesign();
  Links.RestoreRotations();
  Error.Reset();
  if (groundAreas) groundAreas->RemoveEmpty();
  if (couplerAreas) couplerAreas->RemoveEmpty();
  if (Rate(curve, groundAreas, couplerAreas) != TRating::Rated) {
    RestoreDesign(*optimised);
    return TUndoOptimize::NotRebuilt;
  }
  Optimized = false;
  Modified = true;
  return TUndoOptimize::Rebuilt;
}

double TMechanism::TransmissionAngle() const {
  if (Joints.Count() < 4) return 0;
  TComplex u, v;
  u.Sub(JointAt(2), JointAt(4));
  v.Sub(JointAt(3), JointAt(4));
  u.DivBy(v);
  const double t = std::fabs(u.Arg());
  return t <= std::numbers::pi / 2 ? t : std::numbers::pi - t;
}

int32_t TypeImageIndex(uint8_t type) {
  switch (type) {
    case kWatt1Type: return 19;
    case kWatt2Type: return 22;
    case kStephenson1Type: return 25;
    case kStephenson3Type: return 60;
    case kEightbarType: return 54;
    case kSliderType: return 57;
    case kFiveBarType: return 63;
    default: return 16;
  }
}

int32_t TMechanism::GetImageIndex() const {
  const int32_t index = TypeImageIndex(MechanismType);
  if (Marked) return index + kImageMarked;
  if (Optimized) return index + kImageOptimized;
  return index;
}

void TMechanism::UpdateListItem() {
  if (!ListItem) return;
  ListItem->SetCaption(Name);
  ListItem->SetImageIndex(GetImageIndex());
  ListItem->SetSubItems({std::to_string(ID), shared::Convert().FormatSI(0, Error.Total)});
}

bool TMechanism::StepForward() {
  if (InputFunction.CurrentStep == 0) StoreJoints();
  if (!InputFunction.CanStepForward()) return false;
  InputFunction.StepForward();
  const bool result = StepInput(InputFunction.CurrentIncrement());
  if (!result) --InputFunction.CurrentStep;
  return result;
}

bool TMechanism::StepBack() {
  if (InputFunction.CurrentStep == 0) StoreJoints();
  if (!InputFunction.CanStepBack()) return false;
  // Back first: the increment is that of the step from c - 1 to c, turned the other way.
  InputFunction.StepBack();
  const bool result = StepInput(InputFunction.BackIncrement());
  if (!result) ++InputFunction.CurrentStep;
  return result;
}

}  // namespace vesk
