// Drawing of the mechanism on a recording surface: what is drawn at the current step, in which
// colours, and what the display switches leave out.
#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "animator/engine/AniMechanism.h"
#include "shared/AniCanvas2D.h"

namespace {

using quillon::TAniMechanism;
using shared::TBrushStyle;
using shared::TColor;

struct TCall {
  std::string Kind;  // "Ellipse", "Polygon", "Line", "Polyline", "Text", "Fill"
  TColor Pen = 0;
  TColor Brush = 0;
  bool Hollow = false;
  std::vector<shared::TPoint> Points;
  std::string Text;
  std::string Font;
  int Radius() const { return (Points[1].X - Points[0].X) / 2; }
  shared::TPoint Centre() const { return {(Points[0].X + Points[1].X) / 2, (Points[0].Y + Points[1].Y) / 2}; }
};

class TRecordingSurface : public shared::TPaintSurface {
 public:
  int Width() const override { return 400; }
  int Height() const override { return 300; }
  void SetSize(int, int) override {}
  void SetPen(const shared::TPen& pen) override { CurrentPen = pen; }
  shared::TPen Pen() const override { return CurrentPen; }
  void SetBrush(const shared::TBrush& brush) override { CurrentBrush = brush; }
  shared::TBrush Brush() const override { return CurrentBrush; }
  void SetFont(const shared::TFont& font) override { CurrentFont = font; }
  shared::TFont Font() const override { return CurrentFont; }
  void MoveTo(int x, int y) override { Position = {x, y}; }
  void LineTo(int x, int y) override {
    Record("Line", {Position, {x, y}});
    Position = {x, y};
  }
  void Polyline(std::span<const shared::TPoint> points) override {
    Record("Polyline", {points.begin(), points.end()});
  }
  void Polygon(std::span<const shared::TPoint> points) override {
    Record("Polygon", {points.begin(), points.end()});
  }
  void Ellipse(int x1, int y1, int x2, int y2) override { Record("Ellipse", {{x1, y1}, {x2, y2}}); }
  void FillRect(int x1, int y1, int x2, int y2) override { Record("Fill", {{x1, y1}, {x2, y2}}); }
  void TextOut(int x, int y, const std::string& text) override {
    Record("Text", {{x, y}});
    Calls.back().Text = text;
    Calls.back().Font = CurrentFont.Name;
    Calls.back().Pen = CurrentFont.Color;
  }
  shared::TSize TextExtent(const std::string& text) override { return {int(text.size()) * 8, 10}; }
  void DrawRaster(int, int, const shared::TRaster&) override {}
  void Draw(int, int, const shared::TPaintSurface&) override {}
  shared::TRaster ReadPixels() const override { return shared::TRaster(1, 1, 0); }

  std::vector<TCall> Of(const std::string& kind) const {
    std::vector<TCall> found;
    std::copy_if(Calls.begin(), Calls.end(), std::back_inserter(found),
                 [&](const TCall& c) { return c.Kind == kind; });
    return found;
  }
  std::vector<TCall> Circles(int radius) const {
    std::vector<TCall> found;
    for (const TCall& c : Of("Ellipse"))
      if (c.Radius() == radius) found.push_back(c);
    return found;
  }

  std::vector<TCall> Calls;

 private:
  void Record(const char* kind, std::vector<shared::TPoint> points) {
    Calls.push_back({kind, CurrentPen.Color, CurrentBrush.Color, CurrentBrush.Style == TBrushStyle::Clear,
                     std::move(points), "", ""});
  }
  shared::TPen CurrentPen;
  shared::TBrush CurrentBrush;
  shared::TFont CurrentFont;
  shared::TPoint Position;
};

class TFakePaintBox : public shared::TPaintBox {
 public:
  int Width() const override { return 400; }
  int Height() const override { return 300; }
  int ParentClientWidth() const override { return 400; }
  int ParentClientHeight() const override { return 300; }
  shared::TPaintSurface& Canvas() override { return Surface; }
  std::unique_ptr<shared::TPaintSurface> CreateBitmap(int, int) override {
    return std::make_unique<TRecordingSurface>();
  }
  void SetCursor(int) override {}
  TColor WindowColor() const override { return shared::kWhite; }
  TRecordingSurface Surface;
};

class AniMechanismPaintTest : public ::testing::Test {
 protected:
  // World size 1 on 400 x 300 pixels: 250 pixels a unit, the origin at (200, 150).
  AniMechanismPaintTest() : canvas(box, 1.0) {}
  const TRecordingSurface& Paint() {
    box.Surface.Calls.clear();
    mechanism.Paint(canvas);
    return box.Surface;
  }
  shared::TPoint At(double x, double y) const { return canvas.WorldToScreen(x, y); }

  TFakePaintBox box;
  shared::TAniCanvas2D canvas;
  TAniMechanism mechanism;
};

TEST_F(AniMechanismPaintTest, FourBarJointsLabelsPinsAndGround) {
  mechanism.Joint(1).Selected = 1;
  const TRecordingSurface& s = Paint();
  const std::vector<TCall> joints = s.Circles(4);
  ASSERT_EQ(joints.size(), 5u);
  EXPECT_EQ(joints[0].Centre(), At(-0.32, -0.25));
  EXPECT_EQ(joints[0].Pen, shared::kBlack);
  EXPECT_EQ(joints[1].Pen, shared::kLime);  // selected
  EXPECT_EQ(joints[4].Pen, shared::kRed);   // tracer E
  for (const TCall& c : joints) EXPECT_EQ(c.Brush, mechanism.JointColour);
  const std::vector<TCall> labels = s.Of("Text");
  ASSERT_EQ(labels.size(), 5u);
  EXPECT_EQ(labels[2].Text, "C");
  EXPECT_EQ(labels[2].Font, "MS Sans Serif");
  EXPECT_EQ(labels[2].Points[0], (shared::TPoint{At(-0.25, -0.05).X + 10, At(-0.25, -0.05).Y + 10}));
  // A, B, C and D are the second link's pins; E sits on the coupler alone.
  const std::vector<TCall> pins = s.Circles(7);
  ASSERT_EQ(pins.size(), 4u);
  for (const TCall& c : pins) {
    EXPECT_EQ(c.Brush, mechanism.LinkColour);
    EXPECT_EQ(c.Pen, mechanism.EdgeColour);
    EXPECT_FALSE(c.Hollow);
  }
  // Two ground triangles under the frame pivots A and D, then the three moving links' outlines.
  const std::vector<TCall> polygons = s.Of("Polygon");
  ASSERT_EQ(polygons.size(), 5u);
  EXPECT_EQ(polygons[0].Points[0], At(-0.32, -0.25));
  EXPECT_EQ(polygons[1].Points[0], At(0.2, -0.4));
  EXPECT_EQ(polygons[1].Points[1].Y, At(0.2, -0.4).Y + 16);
  // The input mark of the driven joint A.
  EXPECT_FALSE(s.Of("Polyline").empty());
}

TEST_F(AniMechanismPaintTest, SwitchesLeaveThingsOut) {
  mechanism.Visible = 0;
  EXPECT_TRUE(Paint().Calls.empty());
  mechanism.Visible = 1;
  mechanism.ShowLabels = 0;
  mechanism.Stick = 1;
  mechanism.Joint(3).Selected = 1;
  const TRecordingSurface& s = Paint();
  ASSERT_EQ(s.Of("Text").size(), 1u);
  EXPECT_EQ(s.Of("Text")[0].Text, "D");
  EXPECT_TRUE(s.Circles(7).empty());
  for (const TCall& c : s.Of("Polygon")) EXPECT_TRUE(c.Hollow);
}

TEST_F(AniMechanismPaintTest, SliderFramePivotDrawsRailAndLockedJointLock) {
  mechanism.NewMechanism(7);
  mechanism.Joint(2).Locked = 1;
  const TRecordingSurface& s = Paint();
  // Only A stands on a ground triangle; the slider D of the frame gets a rail.
  const std::vector<TCall> polygons = s.Of("Polygon");
  ASSERT_EQ(polygons.size(), 4u);
  EXPECT_EQ(polygons[0].Points[0], At(-0.32, -0.25));
  EXPECT_EQ(polygons[1].Points.size(), 4u);  // the coupler AB's outline follows
  ASSERT_EQ(s.Of("Fill").size(), 1u);
  EXPECT_GT(s.Of("Fill")[0].Points[0].X, At(0.2, 0).X);
}

TEST_F(AniMechanismPaintTest, PathsCentresAndArrowsOverSolvedSteps) {
  mechanism.ShowCentres = 1;
  mechanism.Len = 2;
  mechanism.CurrentStep = 1;
  for (auto& joint : mechanism.Joints) {
    for (int i = 1; i <= 2; ++i)
      joint->Positions[i] = {joint->Positions[0].X + 0.01 * i, joint->Positions[0].Y, 0};
  }
  mechanism.CentreAt[0] = {0.1, 0.1, 0};
  mechanism.CentreAt[1] = {0.2, 0.1, 0};
  mechanism.CentreAt[2] = {1, 0, 1};
  quillon::TAniJoint& e = mechanism.Joint(4);
  e.Velocity[1] = {0.4, 0, 0};
  mechanism.VelocityScale = 0.5;
  // A step beyond the solved length is drawn at the last solved step.
  mechanism.CurrentStep = 7;
  EXPECT_EQ(Paint().Circles(4)[4].Centre(), At(0.02, 0));
  mechanism.CurrentStep = 1;
  const TRecordingSurface& s = Paint();
  const std::vector<TCall> current = s.Circles(5);
  ASSERT_EQ(current.size(), 1u);
  EXPECT_EQ(current[0].Centre(), At(0.2, 0.1));
  EXPECT_EQ(current[0].Brush, mechanism.CentreColour);
  EXPECT_FALSE(current[0].Hollow);
  ASSERT_EQ(s.Circles(3).size(), 1u);
  EXPECT_TRUE(s.Circles(3)[0].Hollow);
  // Joints at the current step.
  EXPECT_EQ(s.Circles(4)[4].Centre(), At(0.01, 0));
  const auto hasLine = [&](const TRecordingSurface& surface, shared::TPoint from, shared::TPoint to) {
    for (const TCall& c : surface.Of("Line"))
      if (c.Points[0] == from && c.Points[1] == to) return true;
    return false;
  };
  // The path of the traced joint B over the solved steps, and the velocity arrow's shaft at E.
  EXPECT_TRUE(hasLine(s, At(-0.42, -0.16), At(-0.41, -0.16)));
  EXPECT_TRUE(hasLine(s, At(0.01, 0), At(0.21, 0)));
  mechanism.ShowPaths = 0;
  mechanism.ShowVelocity = 0;
  const TRecordingSurface& without = Paint();
  EXPECT_FALSE(hasLine(without, At(-0.42, -0.16), At(-0.41, -0.16)));
  EXPECT_FALSE(hasLine(without, At(0.01, 0), At(0.21, 0)));
}

TEST_F(AniMechanismPaintTest, CurveAndAreasDrawThemselvesLast) {
  mechanism.Curve.AddPoint(shared::TComplex(0.5, 0.5));
  mechanism.Curve.AddPoint(shared::TComplex(0.6, 0.5));
  mechanism.Areas.AddArea(shared::TComplex(-0.9, -0.9), shared::TComplex(-0.8, -0.8));
  mechanism.Areas.DeselectAll();
  const TRecordingSurface& s = Paint();
  size_t lastJoint = 0, curve = 0, area = 0;
  for (size_t i = 0; i < s.Calls.size(); ++i) {
    const TCall& c = s.Calls[i];
    if (c.Kind == "Ellipse" && c.Radius() == 4) lastJoint = i;
    if (c.Kind == "Line" && c.Pen == mechanism.Curve.Colour && c.Points[0] == At(0.5, 0.5) && !curve)
      curve = i;
    if (c.Kind == "Line" && c.Points[0] == At(-0.9, -0.9) && !area) area = i;
  }
  EXPECT_GT(curve, lastJoint);
  EXPECT_GT(area, curve);
}

// A curve drawn through the tracer: the point's number and the joint's letter do not cover each
// other.
TEST_F(AniMechanismPaintTest, ACurvePointOnAJointKeepsItsNumberOffTheLetter) {
  mechanism.Curve.AddPoint(shared::TComplex(0, 0));
  mechanism.Curve.AddPoint(shared::TComplex(0.2, 0.1));
  const TRecordingSurface& s = Paint();
  std::vector<TCall> letter, number;
  for (const TCall& c : s.Of("Text")) {
    if (c.Text == "E") letter.push_back(c);
    if (c.Text == "0") number.push_back(c);
  }
  ASSERT_EQ(letter.size(), 1u);
  ASSERT_EQ(number.size(), 1u);
  // Text boxes of 8 pixels a character and 10 high from their top left corners.
  const shared::TPoint a = letter[0].Points[0];
  const shared::TPoint b = number[0].Points[0];
  const bool apart = a.X + 8 <= b.X || b.X + 8 <= a.X || a.Y + 10 <= b.Y || b.Y + 10 <= a.Y;
  EXPECT_TRUE(apart) << "E at " << a.X << "," << a.Y << ", 0 at " << b.X << "," << b.Y;
  // Both still beside their point.
  const shared::TPoint e = At(0, 0);
  EXPECT_LE(std::abs(b.X - e.X), 20);
  EXPECT_LE(std::abs(b.Y - e.Y), 20);
}

}  // namespace
