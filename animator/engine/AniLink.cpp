// The link of the animated linkage: name and kinds, rotation and its differences, screen outline
// and hit test.
#include "animator/engine/AniLink.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <filesystem>
#include <numbers>
#include <string_view>
#include <system_error>

#include "animator/engine/Letters.h"
#include "animator/engine/StdOut.h"

namespace quillon {

namespace {

TScreenPoint Offset(TScreenPoint p, int32_t dx, int32_t dy) { return {p.X + dx, p.Y + dy}; }

double WorldAngle(const shared::TComplex& from, const shared::TComplex& to) {
  return std::atan2(to.Y - from.Y, to.X - from.X);
}

// Orders the points around their rounded centre so that the polygon does not cross itself for
// the usual convex bodies: bubble passes over triples, each pass one triple shorter.
void OrderAroundCentre(std::vector<TScreenPoint>& p) {
  const int32_t count = static_cast<int32_t>(p.size());
  if (count < 3) return;
  int64_t sx = 0, sy = 0;
  for (const TScreenPoint& q : p) {
    sx += q.X;
    sy += q.Y;
  }
  const int64_t cx = static_cast<int64_t>(std::nearbyint(static_cast<double>(sx) / count));
  const int64_t cy = static_cast<int64_t>(std::nearbyint(static_cast<double>(sy) / count));
  auto dot = [&](const TScreenPoint& a, const TScreenPoint& b) {
    return (a.X - cx) * (b.X - cx) + (a.Y - cy) * (b.Y - cy);
  };
  bool swapped = true;
  for (int32_t last = count - 3; swapped && last >= 0; --last) {
    swapped = false;
    for (int32_t i = 0; i <= last; ++i) {
      if (dot(p[i], p[i + 2]) > dot(p[i], p[i + 1])) {
        std::swap(p[i + 1], p[i + 2]);
        swapped = true;
      }
    }
  }
}

}  // namespace

std::string LoadDrawingFile(shared::TDXFDrawing& drawing, const std::string& fileName) {
  namespace fs = std::filesystem;
  std::string problem;
  std::error_code error;
  const fs::file_status status = fs::status(fileName, error);
  if (!fs::exists(status)) {
    drawing.Clear();
    drawing.FileName = fileName;
    return fileName + " does not exist!";
  }
  // Only plain files: a folder reads as nothing, and a device or pipe could block for ever.
  if (!fs::is_regular_file(status)) {
    problem = "not a file";
  } else if (fs::file_size(fileName, error) > kMaxDrawingFileSize) {
    problem = "the file is larger than " + std::to_string(kMaxDrawingFileSize >> 20) + " MB";
  } else {
    try {
      drawing.LoadFromFile(fileName);
    } catch (const std::exception& e) {
      problem = e.what();
    } catch (...) {
      problem = "unknown error";
    }
  }
  if (!problem.empty()) drawing.Clear();
  drawing.FileName = fileName;
  // Read, but some of it will not show: say so rather than lose it without a word.
  if (problem.empty())
    if (const std::string undrawn = drawing.UndrawnWarning(); !undrawn.empty()) StdOut().Warning(undrawn);
  return problem.empty() ? problem : fileName + ": " + problem;
}

TAniLink::TAniLink() : Drawing(std::make_unique<shared::TDXFDrawing>()) {
  Visible = 1;
  Clear();
}

void TAniLink::Clear() {
  Name.clear();
  JointCount = 0;
  Selected = Placed = ICLink = 0;
  Kind.fill(kPin);
  JointIndex.fill(-1);
  N = 90;
  Len = N;
  FullCycle = 0;
  Kinematics = 0;
  Angle.assign(static_cast<size_t>(N) + 1, 0.0);
  Outline.clear();
  Points.clear();
  Drawing->Clear();
  DrawStep = 0;
  AnchorIndex = 0;
}

void TAniLink::SetN(int32_t n) {
  N = std::max(n, 0);
  Len = N;
  FullCycle = 0;
  Angle.resize(static_cast<size_t>(N) + 1);
}

void TAniLink::SetName(const std::string& text) {
  Name = UpperText(text);
  if (static_cast<int32_t>(Name.size()) > kMaxJoints) {
    const std::string whole = Name;
    Name.resize(kMaxJoints);
    StdOut().Warning("Link " + whole + " has more than " + std::to_string(kMaxJoints) + " joints; only " +
                     Name + " is kept.");
  }
  JointCount = static_cast<int32_t>(Name.size());
}

int32_t TAniLink::KindOf(char c) { return c == 'S' ? kSlider : kPin; }

std::string TAniLink::KindsText() const {
  std::string text;
  for (int32_t k = 0; k < JointCount; ++k) text += Kind[k] == kSlider ? 'S' : 'P';
  return text;
}

void TAniLink::SetKinds(const std::string& text) {
  const std::string kinds = UpperText(text);
  for (int32_t k = 0; k < kMaxJoints; ++k)
    Kind[k] = (k < JointCount && k < static_cast<int32_t>(kinds.size())) ? KindOf(kinds[k]) : kPin;
}

void TAniLink::AddJoint(char letter, char kind) {
  if (JointCount >= kMaxJoints) return;
  Name += UpperLetter(letter);
  Kind[JointCount] = KindOf(UpperLetter(kind));
  JointIndex[JointCount] = -1;
  ++JointCount;
}

void TAniLink::RemoveJoint(char letter) {
  const size_t pos = Name.rfind(UpperLetter(letter));
  if (pos == std::string::npos) return;
  const int32_t k = static_cast<int32_t>(pos);
  Name.erase(pos, 1);
  std::copy(Kind.begin() + k + 1, Kind.begin() + JointCount, Kind.begin() + k);
  std::copy(JointIndex.begin() + k + 1, JointIndex.begin() + JointCount, JointIndex.begin() + k);
  --JointCount;
  Kind[JointCount] = kPin;
  JointIndex[JointCount] = -1;
  if (pos < Points.size()) Points.erase(Points.begin() + k);
}

bool TAniLink::SameName(const std::string& text) const {
  const std::string other = UpperText(text);
  if (other.size() != Name.size()) return false;
  return std::all_of(other.begin(), other.end(), [&](char c) { return Name.find(c) != std::string::npos; });
}

double TAniLink::GetAngle(int32_t i) const { return (i < 0 || i > N) ? 0 : Angle[i]; }

int32_t TAniLink::SolvedLength() const { return std::clamp(Len, 0, N); }

bool TAniLink::AtSeam(int32_t i) const { return FullCycle && Len == N && N >= 2 && (i == 0 || i == N); }

// Central difference inside the solved range, one-sided at its ends: steps beyond the solved
// length hold angles of an earlier solution and are never read. Over a full cycle the ends are
// one step: the step before N is the step before 0, turned by what the link turns in a cycle
// (a whole turn for a crank, none for a rocker).
double TAniLink::AngularVelocity(int32_t i, double dt) const {
  const int32_t last = SolvedLength();
  if (!Kinematics || i < 0 || i > last) return 0;
  if (AtSeam(i)) return (Angle[1] + (Angle[N] - Angle[0]) - Angle[N - 1]) / (2 * dt);
  double lower = Angle[i], upper = Angle[i], span = 0;
  if (i >= 1) {
    lower = Angle[i - 1];
    span += dt;
  }
  if (i < last) {
    upper = Angle[i + 1];
    span += dt;
  }
  return span != 0 ? (upper - lower) / span : 0;
}

double TAniLink::AngularAcceleration(int32_t i, double dt) const {
  const int32_t last = SolvedLength();
  if (!Kinematics || i < 0 || i > last) return 0;
  if (AtSeam(i)) return (AngularVelocity(1, dt) - AngularVelocity(N - 1, dt)) / (2 * dt);
  double lower = AngularVelocity(i, dt), upper = lower, span = 0;
  if (i >= 1) {
    lower = AngularVelocity(i - 1, dt);
    span += dt;
  }
  if (i < last) {
    upper = AngularVelocity(i + 1, dt);
    span += dt;
  }
  return span != 0 ? (upper - lower) / span : 0;
}

std::vector<int32_t> TAniLink::UsableJoints() const {
  std::vector<int32_t> used;
  for (int32_t k = 0; k < JointCount; ++k)
    if (JointIndex[k] >= 0 && k < static_cast<int32_t>(Points.size())) used.push_back(k);
  return used;
}

void TAniLink::BuildOutline(const TWorldToScreen& toScreen, bool stick) {
  Outline.clear();
  const std::vector<int32_t> used = UsableJoints();
  const size_t count = used.size();
  std::vector<shared::TComplex> world;
  std::vector<TScreenPoint> screen;
  for (int32_t k : used) {
    world.push_back(Points[k]);
    screen.push_back(toScreen(Points[k]));
  }

  if (count >= 2 && Kind[used[1]] == kSlider) {
    // A slider block: the guide direction from the first joint through the slider joint.
    const shared::TComplex& p1 = world[1];
    const double vx = p1.X - world[0].X, vy = p1.Y - world[0].Y;
    const double rx = -vy, ry = vx;
    Outline = {toScreen({p1.X + rx, p1.Y + ry}), toScreen({p1.X + rx - 2 * vx, p1.Y + ry - 2 * vy}),
               toScreen({p1.X - rx - 2 * vx, p1.Y - ry - 2 * vy}), toScreen({p1.X - rx, p1.Y - ry})};
  } else if (stick || (count != 2 && count != 3)) {
    Outline = screen;
    OrderAroundCentre(Outline);
  } else if (count == 2) {
    const double theta = WorldAngle(world[0], world[1]);
    const int32_t d = shared::PixelOf(3 * std::sin(theta)), f = shared::PixelOf(3 * std::cos(theta));
    Outline = {Offset(screen[0], d, f), Offset(screen[0], -d, -f), Offset(screen[1], -d, -f),
               Offset(screen[1], d, f)};
  } else {
    // A triangle widened by 3 pixels outward: the sign follows the turn from side 0 to side 1.
    double alpha[3];
    for (int k = 0; k < 3; ++k) alpha[k] = WorldAngle(world[k], world[(k + 1) % 3]);
    double turn = alpha[1] - alpha[0];
    while (turn <= -std::numbers::pi) turn += 2 * std::numbers::pi;
    while (turn > std::numbers::pi) turn -= 2 * std::numbers::pi;
    const double s = turn >= 0 ? 3 : -3;
    for (int k = 0; k < 3; ++k) {
      const int32_t dx = shared::PixelOf(s * std::sin(alpha[k])), dy = shared::PixelOf(s * std::cos(alpha[k]));
      Outline.push_back(Offset(screen[k], dx, dy));
      Outline.push_back(Offset(screen[(k + 1) % 3], dx, dy));
    }
  }
}

// Even-odd test by a horizontal and a vertical ray; the point is inside when both cross the
// outline an odd number of times.
bool TAniLink::HitTest(TScreenPoint point, bool extend) {
  int32_t across = 0, down = 0;
  const size_t count = Outline.size();
  const double px = point.X, py = point.Y;
  for (size_t i = 0; i < count; ++i) {
    const TScreenPoint& a = Outline[i];
    const TScreenPoint& b = Outline[(i + 1) % count];
    const double dx = b.X - a.X, dy = b.Y - a.Y;
    const double t = dy != 0 ? (py - a.Y) / dy : -1;
    if (t >= 0 && t < 1 && t * dx - (px - a.X) >= 0) ++across;
    const double u = dx != 0 ? (px - a.X) / dx : -1;
    if (u >= 0 && u < 1 && u * dy - (py - a.Y) >= 0) ++down;
  }
  const bool inside = (across % 2 == 1) && (down % 2 == 1);
  if (!(extend && Selected)) Selected = inside;
  return inside;
}

void TAniLink::Draw(shared::TCanvas2D& canvas, shared::TColor edgeColour, bool stick) {
  if (!Visible) {
    Outline.clear();
    return;
  }
  BuildOutline([&canvas](const shared::TComplex& p) { return canvas.WorldToScreen(p); }, stick);
  canvas.SetPen(Selected ? shared::kLime : edgeColour);
  if (Outline.size() >= 2) canvas.Polygon(Outline);
  DrawDrawing(canvas);
}

void TAniLink::DrawDrawing(shared::TCanvas2D& canvas) {
  shared::TComplex origin;
  double rotation = 0;
  if (DrawingPlacement(origin, rotation)) Drawing->DrawAt(canvas, origin.X, origin.Y, rotation);
}

bool TAniLink::DrawingPlacement(shared::TComplex& origin, double& rotation) const {
  if (!HasDrawing() || AnchorIndex < 0 || AnchorIndex >= JointCount) return false;
  if (JointIndex[AnchorIndex] < 0 || AnchorIndex >= static_cast<int32_t>(Points.size())) return false;
  origin = Points[AnchorIndex];
  rotation = GetAngle(DrawStep);
  return true;
}

std::string TAniLink::AnchorLetter() const {
  if (AnchorIndex < 0 || AnchorIndex >= JointCount) return "";
  return std::string(1, Name[AnchorIndex]);
}

std::string TAniLink::AnchorField() const {
  if (AnchorIndex >= 0 && AnchorIndex < JointCount) return AnchorLetter();
  // More marks than a name holds letters, so one is always free.
  static constexpr const char kMarks[] = "-?*#!+=%&@^~";
  static_assert(sizeof kMarks - 1 > kMaxJoints);
  for (const char mark : std::string_view(kMarks))
    if (Name.find(mark) == std::string::npos) return std::string(1, mark);
  return "";
}

void TAniLink::SetAnchorLetter(const std::string& text) {
  const std::string letter = TrimmedText(text);
  if (letter.empty()) {
    AnchorIndex = 0;
    return;
  }
  const size_t pos = Name.find(UpperText(letter));
  AnchorIndex = pos == std::string::npos ? -1 : static_cast<int32_t>(pos);
}

}  // namespace quillon
