// Drawing of TAniMechanism on the canvas: links, ground and pin symbols, joints with their marks,
// traced paths, instant centres, velocity and acceleration arrows, curve and areas.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "animator/engine/AniMechanism.h"
#include "animator/engine/JointSteps.h"

namespace quillon {

namespace {

constexpr int kGroundSize = 16;
constexpr int kSliderRailGap = 4;
constexpr int kSliderRailHalf = 16;
constexpr int kPinRadius = 7;
constexpr int kJointRadius = 4;
constexpr int kLabelOffset = 10;
constexpr int kCentreRadius = 5;
constexpr int kOtherCentreRadius = 3;
constexpr const char* kLabelFont = "MS Sans Serif";
constexpr int kLabelFontSize = 8;

void Line(shared::TPaintSurface& surface, int x1, int y1, int x2, int y2) {
  surface.MoveTo(x1, y1);
  surface.LineTo(x2, y2);
}

// Hatch strokes below a base line from (x1, y) to (x2, y), as a drawing marks fixed ground.
void Hatch(shared::TPaintSurface& surface, int x1, int x2, int y, int depth) {
  Line(surface, x1, y, x2, y);
  const int step = std::max(1, (x2 - x1) / 4);
  for (int x = x1 + step; x <= x2; x += step) Line(surface, x, y, x - depth, y + depth);
}

// A frame pivot: a triangle under the joint standing on hatched ground, size pixels high.
void DrawGround(shared::TCanvas2D& canvas, const shared::TComplex& p, int size) {
  const shared::TPoint s = canvas.WorldToScreen(p);
  const int half = size / 2;
  const std::vector<shared::TPoint> triangle = {
      {s.X, s.Y}, {s.X - half, s.Y + size}, {s.X + half, s.Y + size}};
  canvas.Polygon(triangle);
  Hatch(canvas.Surface(), s.X - half - 2, s.X + half + 2, s.Y + size, size / 4);
}

// A frame slider: a hatched rail gap pixels off the joint along the slide direction.
void DrawSliderGround(shared::TCanvas2D& canvas, const shared::TComplex& p, const shared::TComplex& direction,
                      int gap, int half) {
  const shared::TPoint s = canvas.WorldToScreen(p);
  double ux = direction.X, uy = -direction.Y;  // screen y runs down
  const double length = std::hypot(ux, uy);
  if (length > 0) {
    ux /= length;
    uy /= length;
  } else {
    ux = 1;
    uy = 0;
  }
  // The rail lies on the side below the joint's path (the normal turned towards +y on screen).
  double nx = -uy, ny = ux;
  if (ny < 0) nx = -nx, ny = -ny;
  const auto at = [&](double along, double across) {
    return shared::TPoint{s.X + shared::PixelOf(along * ux + across * nx), s.Y + shared::PixelOf(along * uy + across * ny)};
  };
  shared::TPaintSurface& surface = canvas.Surface();
  const shared::TPoint a = at(-half, gap), b = at(half, gap);
  Line(surface, a.X, a.Y, b.X, b.Y);
  for (int k = -half + 4; k <= half; k += 8) {
    const shared::TPoint from = at(k, gap), to = at(k - 4, gap + 4);
    Line(surface, from.X, from.Y, to.X, to.Y);
  }
}

// A padlock beside a locked joint: body of width 2 * half and height high, offset pixels to the
// upper right, with its shackle above.
void DrawLock(shared::TCanvas2D& canvas, const shared::TComplex& p, int offset, int half, int high) {
  const shared::TPoint s = canvas.WorldToScreen(p);
  shared::TPaintSurface& surface = canvas.Surface();
  const int left = s.X + offset, right = left + 2 * half, bottom = s.Y - offset, top = bottom - high;
  surface.FillRect(left, top, right + 1, bottom + 1);
  const std::vector<shared::TPoint> shackle = {
      {left + 1, top}, {left + 1, top - half}, {right - 1, top - half}, {right - 1, top}};
  surface.Polyline(shackle);
}

// A driven joint: three quarters of a circle of the given pixel radius around it, drawn with
// pen width width, ending in an arrow head of head pixels, turning counter-clockwise.
void DrawInputMark(shared::TCanvas2D& canvas, const shared::TComplex& p, int radius, int width, int head) {
  const shared::TPoint s = canvas.WorldToScreen(p);
  shared::TPaintSurface& surface = canvas.Surface();
  shared::TPen pen = surface.Pen();
  pen.Width = width;
  surface.SetPen(pen);
  constexpr double kPi = 3.14159265358979323846;
  const auto at = [&](double angle) {
    return shared::TPoint{s.X + shared::PixelOf(radius * std::cos(angle)), s.Y - shared::PixelOf(radius * std::sin(angle))};
  };
  std::vector<shared::TPoint> arc;
  const double end = 1.5 * kPi;
  for (int k = 0; k <= 12; ++k) arc.push_back(at(end * k / 12));
  surface.Polyline(arc);
  // Head at the end of the arc, pointing along the turning direction (towards +x on screen).
  const shared::TPoint tip = arc.back();
  const int h = std::max(2, head / 4);
  Line(surface, tip.X, tip.Y, tip.X - h, tip.Y - h);
  Line(surface, tip.X, tip.Y, tip.X - h, tip.Y + h);
}

}  // namespace

void TAniMechanism::PaintFrameDrawing(shared::TCanvas2D& canvas) {
  if (LinkCount() == 0) return;
  // The frame does not move: its design position places the drawing at every step.
  TAniLink& frame = *Links[0];
  frame.LoadPoints(Joints, 0);
  frame.DrawDrawing(canvas);
}

void TAniMechanism::Paint(shared::TCanvas2D& canvas) {
  if (!Visible) return;
  // Steps beyond the solved length hold no valid positions.
  const int32_t len = std::clamp(Len, 0, N);
  const int32_t step = ShownStep();

  // Links.
  canvas.SetBrush(LinkColour, Stick ? shared::TBrushStyle::Clear : shared::TBrushStyle::Solid);
  canvas.SetPen(EdgeColour);
  for (int32_t l = 0; l < LinkCount(); ++l) {
    TAniLink& link = *Links[l];
    link.LoadPoints(Joints, step);
    if (l == 0) {
      for (int32_t k = 0; k < link.JointCount; ++k) {
        const int32_t j = link.JointIndex[k];
        if (j < 0) continue;
        const shared::TComplex pivot = PositionAt(*Joints[j], 0);
        if (link.Kind[k] == TAniLink::kSlider && link.JointCount >= 2 && link.JointIndex[0] >= 0) {
          shared::TComplex direction = pivot;
          direction.SubFrom(PositionAt(*Joints[link.JointIndex[0]], 0));
          DrawSliderGround(canvas, pivot, direction, kSliderRailGap, kSliderRailHalf);
        } else {
          DrawGround(canvas, pivot, kGroundSize);
        }
      }
      continue;
    }
    link.Draw(canvas, EdgeColour, Stick);
    if (Stick) continue;
    canvas.SetPen(EdgeColour);
    for (int32_t k = 0; k < link.JointCount; ++k) {
      const int32_t j = link.JointIndex[k];
      if (j < 0 || link.Kind[k] != TAniLink::kPin || Joints[j]->Link2 != l) continue;
      canvas.CircleRec(PositionAt(*Joints[j], step), kPinRadius);
    }
  }

  // Joints.
  for (const auto& joint : Joints) {
    const shared::TColor pen = joint->Selected         ? shared::kLime
                               : joint.get() == Tracer ? shared::kRed
                                                       : shared::kBlack;
    canvas.SetPen(pen);
    canvas.SetBrush(JointColour);
    const shared::TComplex p = PositionAt(*joint, step);
    canvas.CircleRec(p, kJointRadius);
    if (joint->Locked) DrawLock(canvas, p, 4, 3, 5);
    if (ShowLabels || joint->Selected) {
      canvas.SetFont(kLabelFont, kLabelFontSize, LabelColour);
      canvas.SetBrush(JointColour, shared::TBrushStyle::Clear);
      canvas.TextLabel(p, kLabelOffset, std::string(1, static_cast<char>(joint->Letter)));
    }
    if (joint->InputIndex >= 0) DrawInputMark(canvas, p, 16, 1, 16);
  }

  if (ShowPaths) {
    canvas.SetPen(PathColour);
    for (const auto& joint : Joints) {
      if (!joint->Trace) continue;
      canvas.MoveTo(PositionAt(*joint, 0));
      for (int32_t i = 1; i <= len; ++i) canvas.LineTo(PositionAt(*joint, i));
    }
  }

  if (ShowCentres) {
    canvas.SetPen(CentreColour);
    const int32_t last = std::min<int32_t>(len, static_cast<int32_t>(CentreAt.size()) - 1);
    for (int32_t i = 0; i <= last; ++i) {
      const TCentreRecord& c = CentreAt[static_cast<size_t>(i)];
      if (c.AtInfinity) continue;
      const bool current = i == step;
      canvas.SetBrush(CentreColour, current ? shared::TBrushStyle::Solid : shared::TBrushStyle::Clear);
      canvas.CircleRec(shared::TComplex(c.X, c.Y), current ? kCentreRadius : kOtherCentreRadius);
    }
  }

  const auto drawArrows = [&](bool velocity) {
    canvas.SetPen(velocity ? VelocityColour : AccelerationColour);
    const double scale = velocity ? VelocityScale : AccelerationScale;
    for (const auto& joint : Joints) {
      const std::vector<TPositionRecord>& values = velocity ? joint->Velocity : joint->Acceleration;
      if (!joint->ShowVectors || static_cast<int32_t>(values.size()) <= step) continue;
      const TPositionRecord& v = values[static_cast<size_t>(step)];
      canvas.Arrow(PositionAt(*joint, step), shared::TComplex(v.X * scale, v.Y * scale));
    }
  };
  if (ShowVelocity) drawArrows(true);
  if (ShowAcceleration) drawArrows(false);

  Curve.Draw(canvas);
  Areas.Draw(canvas);
}

}  // namespace quillon
