// TCanvas2D on a recording surface, through both of its forms: mapping, markers, arrows, text
// placement, mouse modes and the read-out.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "shared/AniCanvas2D.h"
#include "shared/Convert.h"
#include "shared/SynthCanvas2D.h"
#include "tests/shared/FakePaintBox.h"

namespace shared {
namespace {

using test::P;
using test::TFakePaintBox;
using test::TFakePanel;
using test::TFakeSurface;

// ---------------------------------------------------------------------------------------------
// Mapping

TEST(Canvas2DMapping, AnimatorDefaultViewOfWorldSizeOne) {
  TFakePaintBox box(400, 300);
  TAniCanvas2D canvas(box, 1.0);
  EXPECT_DOUBLE_EQ(canvas.Scale(), 250.0);  // min(400, 300) / 1.2
  EXPECT_EQ(canvas.OriginX(), 200);
  EXPECT_EQ(canvas.OriginY(), 150);
  EXPECT_EQ(canvas.WorldToScreen(TComplex(0.1, 0.2)), (TPoint{225, 100}));
  EXPECT_EQ(canvas.WorldToScreen(-0.4, -0.2), (TPoint{100, 200}));
  const TComplex back = canvas.ScreenToWorld(225, 100);
  EXPECT_NEAR(back.X, 0.1, 1e-12);
  EXPECT_NEAR(back.Y, 0.2, 1e-12);
  EXPECT_NEAR(canvas.PixelsToWorld(25), 0.1, 1e-12);
  EXPECT_EQ(canvas.WorldToPixels(0.1), 25);
  EXPECT_DOUBLE_EQ(canvas.PickToleranceWorld(), 8 / 250.0);
  EXPECT_DOUBLE_EQ(canvas.GridStep, 0.1);
}

TEST(Canvas2DMapping, SynthesisScaleAndOrigin) {
  TFakePaintBox box(500, 500);
  TSynthCanvas2D canvas(box, 500, 2.0);
  EXPECT_DOUBLE_EQ(canvas.Scale(), 250.0);
  EXPECT_EQ(canvas.OriginX(), 250);
  EXPECT_EQ(canvas.OriginY(), 250);
  EXPECT_EQ(canvas.WorldToScreen(TComplex(1, -1)), (TPoint{500, 500}));
}

TEST(Canvas2DMapping, RoundsHalvesToEven) {
  // Scale 256 makes the half pixels exact binary fractions.
  TFakePaintBox box(512, 512);
  TSynthCanvas2D canvas(box, 512, 2.0);
  struct Case {
    double halfPixels;
    int expected;
  };
  for (const Case& c :
       {Case{0.5, 0}, Case{1.5, 2}, Case{2.5, 2}, Case{-0.5, 0}, Case{-1.5, -2}, Case{3.5, 4}}) {
    const double x = c.halfPixels / 256;
    EXPECT_EQ(canvas.WorldToScreen(x, 0).X, 256 + c.expected) << c.halfPixels;
    EXPECT_EQ(canvas.WorldToScreen(0, x).Y, 256 - c.expected) << c.halfPixels;
    EXPECT_EQ(canvas.WorldToPixels(x), c.expected) << c.halfPixels;
  }
}

TEST(Canvas2DMapping, FarPointsAreClampedNotOverflowed) {
  TFakePaintBox box(400, 300);
  TAniCanvas2D canvas(box, 1.0);
  // (1e10, 1e10) is what a zero division gives.
  const TPoint far = canvas.WorldToScreen(1e10, 1e10);
  EXPECT_GT(far.X, 1000000);
  EXPECT_LT(far.Y, -1000000);
  const TPoint nearFar = canvas.WorldToScreen(-1e300, 1e300);
  EXPECT_LT(nearFar.X, -1000000);
  EXPECT_LT(nearFar.Y, -1000000);
  EXPECT_EQ(canvas.WorldToScreen(std::nan(""), 0).X, 200);
  EXPECT_GT(canvas.WorldToPixels(1e10), 1000000);
}

TEST(Canvas2DMapping, ZoomedFarFromTheOriginTheCentreStaysInTheMiddle) {
  TFakePaintBox box(400, 300);
  TAniCanvas2D canvas(box, 1.0);
  // A millimetre around (100 m, 0): 300 / 0.001 / 1.2 = 250000 pixels a metre, so the centre
  // lies 25 million pixels from the world origin.
  canvas.SetWorldRect(100, 100.001, 0, 0.001);
  EXPECT_DOUBLE_EQ(canvas.Scale(), 250000);
  EXPECT_EQ(canvas.WorldToScreen(100.0005, 0.0005), (TPoint{200, 150}));
  EXPECT_EQ(canvas.WorldToScreen(100, 0), (TPoint{75, 275}));
  const TComplex back = canvas.ScreenToWorld(200, 150);
  EXPECT_NEAR(back.X, 100.0005, 1e-9);
  EXPECT_NEAR(back.Y, 0.0005, 1e-9);
}

TEST(Canvas2DMapping, PickTolerance) {
  TFakePaintBox box(400, 300);
  TAniCanvas2D canvas(box, 1.0);
  EXPECT_EQ(canvas.PickTolerance(), 8);
  canvas.SetPickTolerance(-5);
  EXPECT_EQ(canvas.PickTolerance(), 5);
  canvas.SetPickTolerance(0);
  EXPECT_EQ(canvas.PickTolerance(), 1);
}

// ---------------------------------------------------------------------------------------------
// Markers and arrows

TEST(Canvas2DMarker, ExactSegmentsOfEveryType) {
  struct Case {
    int type;
    std::vector<std::string> ops;
  };
  // At (200, 150) with half-size 6, h = 3.
  const std::vector<Case> cases = {
      {0, {"M 194,150", "L 206,150", "M 200,144", "L 200,156"}},
      {1, {"M 194,144", "L 206,156", "M 206,144", "L 194,156"}},
      {2, {"M 194,144", "L 206,156", "L 206,144", "L 194,156", "L 194,144"}},
      {3, {"M 194,144", "L 206,156", "L 194,156", "L 206,144", "L 194,144"}},
      {4, {"Ellipse 194,144 206,156 hollow"}},
      {5, {"M 194,144", "L 206,144", "L 206,156", "L 194,156", "L 194,144"}},
      {6,
       {"M 203,156", "L 206,153", "L 206,147", "L 203,144", "L 197,144", "L 194,147", "L 194,153",
        "L 197,156", "L 203,156"}},
      {0x85, {"M 194,144", "L 206,144", "L 206,156", "L 194,156", "L 194,144"}},
      {7, {}},
      {8, {}},
  };
  for (const Case& c : cases) {
    TFakePaintBox box(400, 300);
    TAniCanvas2D canvas(box, 1.0);
    canvas.Marker(TComplex(0, 0), c.type, 6);
    EXPECT_EQ(box.Screen.Log, c.ops) << "type " << c.type;
  }
}

TEST(Canvas2DMarker, CircleLeavesTheBrushAsItWas) {
  TFakePaintBox box(400, 300);
  TAniCanvas2D canvas(box, 1.0);
  canvas.SetBrush(kRed, TBrushStyle::Solid);
  canvas.Marker(TComplex(0, 0), kMarkerCircle, 3);
  EXPECT_EQ(box.Screen.CurrentBrush, (TBrush{kRed, TBrushStyle::Solid}));
}

TEST(Canvas2DMarker, SynthesisTriangleAndOddHalfSize) {
  TFakePaintBox box(500, 500);
  TSynthCanvas2D canvas(box, 500, 2.0);
  canvas.Marker(TComplex(0, 0), kMarkerTriangle, 7);  // h = 3
  EXPECT_EQ(box.Screen.Log, (std::vector<std::string>{"M 250,250", "L 247,257", "L 253,257", "L 250,250"}));
}

// Sizes and offsets of any 32-bit value, at the centre and at a point clamped far off screen:
// every figure keeps its shape at the screen limit of 2^24 pixels, nothing wraps around.
TEST(Canvas2DMarker, SizesAndOffsetsOfAnyValueAreHeldAtTheScreenLimit) {
  constexpr int kLimit = 1 << 24;
  const int sizes[] = {INT32_MAX, INT32_MIN, 1 << 30, -(1 << 30), kLimit + 1};
  for (const int n : sizes) {
    SCOPED_TRACE(n);
    const int held = n > 0 ? kLimit : -kLimit;
    {
      TFakePaintBox box(400, 300);
      TAniCanvas2D canvas(box, 1.0);
      canvas.Marker(TComplex(0, 0), kMarkerPlus, n);
      canvas.Marker(TComplex(0, 0), kMarkerCircle, n);
      canvas.TextLabel(TComplex(0, 0), n, "A");
      canvas.TextAtRec(TComplex(0, 0), n, n, "A");
      canvas.CircleRec(TComplex(0, 0), n);
      EXPECT_EQ(box.Screen.Log,
                (std::vector<std::string>{"M " + P(200 - held, 150), "L " + P(200 + held, 150),
                                          "M " + P(200, 150 - held), "L " + P(200, 150 + held),
                                          "Ellipse " + P(200 - held, 150 - held) + " " + P(200 + held, 150 + held) + " hollow",
                                          "Text " + P(200 + held, 150 + held) + " 0 A",
                                          "Text " + P(200 + held, 150 + held) + " 0 A",
                                          "Ellipse " + P(200 - held, 150 - held) + " " + P(200 + held, 150 + held) + " filled"}));
    }
    {
      TFakePaintBox box(500, 500);
      TSynthCanvas2D canvas(box, 500, 2.0);
      TImageList images;
      images.Images.emplace_back(2, 2);
      canvas.ImageList = &images;
      // Far off screen the point itself sits at the limit; the figure lies beyond it.
      const TPoint far = canvas.WorldToScreen(1e10, -1e10);
      ASSERT_EQ(far, (TPoint{kLimit, kLimit}));
      canvas.Marker(TComplex(1e10, -1e10), kMarkerTriangle, n);
      canvas.Marker(TComplex(1e10, -1e10), kMarkerOctagon, n);
      canvas.TextLabel(TComplex(1e10, -1e10), n, "A");
      canvas.DrawImage(TComplex(1e10, -1e10), 0, n, n);
      ASSERT_EQ(box.Screen.Log.size(), 4u + 9u + 2u);
      EXPECT_EQ(box.Screen.Log[1], "L " + P(kLimit - held / 2, kLimit + held));
      EXPECT_EQ(box.Screen.Log[4], "M " + P(kLimit + held / 2, kLimit + held));
      EXPECT_EQ(box.Screen.Log[13], "Text " + P(kLimit + held, kLimit + held) + " 0 A");
      EXPECT_EQ(box.Screen.Log[14], "Raster " + P(kLimit - held, kLimit - held) + " 2,2");
    }
  }
}

TEST(Canvas2DArrow, ShaftAndHead) {
  struct Case {
    TComplex v;
    std::vector<std::string> ops;
  };
  const std::vector<Case> cases = {
      // Along x: 25 pixels, head back 20 and 4 either side.
      {TComplex(0.1, 0), {"M 200,150", "L 225,150", "L 205,154", "L 205,146", "L 225,150"}},
      // Up: the screen tip is above.
      {TComplex(0, 0.2), {"M 200,150", "L 200,100", "L 204,120", "L 196,120", "L 200,100"}},
      // 45 degrees: -20u +- 4n with u = (0.7071, 0.7071) is (-11.3, -17.0) and (-17.0, -11.3).
      {TComplex(0.1, 0.1), {"M 200,150", "L 225,125", "L 214,142", "L 208,136", "L 225,125"}},
      {TComplex(0, 0), {}},
  };
  for (const Case& c : cases) {
    TFakePaintBox box(400, 300);
    TAniCanvas2D canvas(box, 1.0);
    canvas.Arrow(TComplex(0, 0), c.v);
    EXPECT_EQ(box.Screen.Log, c.ops) << c.v.X << " " << c.v.Y;
  }
}

TEST(Canvas2DPrimitives, CirclesImagesAndRectangle) {
  TFakePaintBox box(400, 300);
  TAniCanvas2D canvas(box, 1.0);
  TImageList images;
  images.Images.emplace_back(32, 32);
  canvas.DrawImage(TComplex(0, 0), 0, 16, 16);  // no image list: nothing
  canvas.ImageList = &images;
  canvas.DrawImage(TComplex(0, 0), 0, 16, 16);
  canvas.DrawImage(TComplex(0, 0), 1, 16, 16);
  canvas.CircleRec(TComplex(0.1, 0), 4);
  canvas.CircleWorld(TComplex(0, 0), 0.1);
  canvas.Rectangle(TComplex(0, 0), TComplex(0.1, 0.1));
  EXPECT_EQ(box.Screen.Log,
            (std::vector<std::string>{"Raster 184,134 32,32", "Ellipse 221,146 229,154 filled",
                                      "Ellipse 175,125 225,175 hollow",
                                      "Polyline 200,150 225,150 225,125 200,125 200,150 copy"}));
  EXPECT_EQ(box.Screen.CurrentBrush.Style, TBrushStyle::Solid);
}

// ---------------------------------------------------------------------------------------------
// Text

TEST(Canvas2DText, LabelsDrawOrErase) {
  TFakePaintBox box(400, 300);
  TAniCanvas2D canvas(box, 1.0);
  canvas.TextAtRec(TComplex(0, 0), -3, 4, "A");
  canvas.TextLabel(TComplex(0, 0), 5, "AB");
  canvas.LabelStyle = 1;
  canvas.TextLabel(TComplex(0, 0), 5, "AB");
  canvas.LabelStyle = 2;
  canvas.TextLabel(TComplex(0, 0), 5, "AB");
  EXPECT_EQ(box.Screen.Log, (std::vector<std::string>{"Text 197,154 0 A", "Text 205,155 0 AB",
                                                      "Fill 205,155 221,165 15790320"}));
}

TEST(Canvas2DText, RotatedTextPlacement) {
  struct Case {
    double angle;
    int v, k;
    std::string op;
  };
  // Text "ABCD" is 32 x 10; p1 at (200, 150), p2 at (250, 100).
  const double pi = std::numbers::pi;
  const std::vector<Case> cases = {
      {0, 1, 0, "Text 200,150 0 ABCD"},        {0, 0, 0, "Text 200,140 0 ABCD"},  // above the line
      {0, 2, 0, "Text 200,145 0 ABCD"},                                           // centred on it
      {0, 1, 1, "Text 209,125 0 ABCD"},         // (200 + 250 - 32) / 2, (150 + 100) / 2
      {0, 1, 2, "Text 218,100 0 ABCD"},         // ending at p2
      {pi / 2, 1, 2, "Text 250,132 900 ABCD"},  // upward text ending at p2 starts 32 below it
      {pi / 2, 0, 3, "Text 190,150 900 ABCD"},  // above an upward line is to its left
      {pi / 6, 1, 4, "Text 211,133 300 ABCD"},  // (450 - 27.7) / 2, (250 + 16) / 2
  };
  for (const Case& c : cases) {
    TFakePaintBox box(400, 300);
    TAniCanvas2D canvas(box, 1.0);
    canvas.RotatedText(TComplex(0, 0), TComplex(0.2, 0.2), "ABCD", c.angle, c.v, c.k);
    ASSERT_EQ(box.Screen.Log.size(), 1u);
    EXPECT_EQ(box.Screen.Log[0], c.op) << c.angle << " " << c.v << " " << c.k;
    EXPECT_EQ(box.Screen.CurrentFont.Escapement, 0);  // the rotated font is dropped
  }
}

TEST(Canvas2DText, TextListAnchors) {
  struct Case {
    int anchor;
    double angle;
    std::vector<std::string> ops;
  };
  // Lines "AB" (16 wide) and "ABCD" (32 wide), 10 high, at (200, 150).
  const std::vector<Case> cases = {
      {1, 0, {"Text 200,150 0 AB", "Text 200,160 0 ABCD"}},
      {5, 0, {"Text 192,140 0 AB", "Text 184,150 0 ABCD"}},
      {9, 0, {"Text 184,130 0 AB", "Text 168,140 0 ABCD"}},
      // Rotated a quarter turn: lines stack to the right, widths run upward.
      {3, std::numbers::pi / 2, {"Text 200,166 900 AB", "Text 210,182 900 ABCD"}},
  };
  for (const Case& c : cases) {
    TFakePaintBox box(400, 300);
    TAniCanvas2D canvas(box, 1.0);
    canvas.TextList(TComplex(0, 0), c.anchor, {"AB", "ABCD"}, c.angle);
    EXPECT_EQ(box.Screen.Log, c.ops) << c.anchor;
  }
}

TEST(Canvas2DText, AlignedAndAnchoredText) {
  struct Case {
    int a, b;
    std::string aligned, anchored;
  };
  // "ABC" is 24 x 10 at (250, 250); aligned (horizontal a, vertical b), anchored (anchor a).
  const std::vector<Case> cases = {
      {0, 0, "Text 250,240 0 ABC", "Text 250,250 0 ABC"}, {1, 1, "Text 238,240 0 ABC", "Text 250,250 0 ABC"},
      {2, 2, "Text 226,245 0 ABC", "Text 238,250 0 ABC"}, {3, 3, "Text 250,250 0 ABC", "Text 226,250 0 ABC"},
      {5, 0, "Text 250,240 0 ABC", "Text 238,245 0 ABC"}, {9, 0, "Text 250,240 0 ABC", "Text 226,240 0 ABC"},
      {7, 0, "Text 250,240 0 ABC", "Text 250,240 0 ABC"},
  };
  for (const Case& c : cases) {
    TFakePaintBox box(500, 500);
    TSynthCanvas2D canvas(box, 500, 2.0);
    canvas.AlignedText(TComplex(0, 0), c.a, "ABC", c.b);
    canvas.AnchoredText(TComplex(0, 0), c.a, "ABC");
    EXPECT_EQ(box.Screen.Log, (std::vector<std::string>{c.aligned, c.anchored})) << c.a << " " << c.b;
  }
}

TEST(Canvas2DText, SynthesisEraseMode) {
  TFakePaintBox box(500, 500);
  TSynthCanvas2D canvas(box, 500, 2.0);
  canvas.SetPen(kRed, 2, TPenStyle::Dash);
  EXPECT_EQ(box.Screen.CurrentPen.Color, kRed);
  canvas.EraseMode = 1;
  canvas.SetPen(kRed, 2, TPenStyle::Dash);
  EXPECT_EQ(box.Screen.CurrentPen, (TPen{0xF0F0F0, 2, TPenStyle::Dash, TPenMode::Copy}));
  canvas.TextLabel(TComplex(0, 0), 2, "A");
  canvas.AlignedText(TComplex(0, 0), 1, "AB", 2);
  EXPECT_EQ(box.Screen.Log,
            (std::vector<std::string>{"Fill 252,252 260,262 15790320", "Fill 242,245 258,255 15790320"}));
}

TEST(Canvas2DText, FontsOfTheAnimatorReachEverySurface) {
  TFakePaintBox box(400, 300);
  TAniCanvas2D canvas(box, 1.0);
  canvas.SetDoubleBuffered(true);
  canvas.SetFontName("Arial");
  canvas.SetFontHeight(0.04);  // 10 pixels
  for (TFakeSurface* s : {&box.Screen, box.Bitmaps[0], box.Bitmaps[1]}) {
    EXPECT_EQ(s->CurrentFont.Name, "Arial") << s->Name;
    EXPECT_EQ(s->CurrentFont.Height, 10) << s->Name;
  }
  canvas.SetFont("Courier", 9, kRed);
  EXPECT_EQ(box.Bitmaps[0]->CurrentFont, (TFont{"Courier", 12, kRed, 0}));
  EXPECT_EQ(box.Bitmaps[1]->CurrentFont.Name, "Arial");
}

// ---------------------------------------------------------------------------------------------
// Mouse modes and read-out

TEST(Canvas2DMouse, CursorsByMode) {
  struct Case {
    int mode, animator, synthesis;
  };
  const std::vector<Case> cases = {
      {0, kCursorArrow, kCursorArrow},           {1, kCursorHandPoint, kCursorHandPoint},
      {2, kCursorZoomIn, kCursorZoomIn},         {3, kCursorZoomOut, kCursorZoomOut},
      {4, kCursorAddArea, kCursorAddArea},       {5, kCursorAddCurve, kCursorAddCurve},
      {6, kCursorArrow, kCursorArrow},           {9, kCursorArrow, kCursorDelete},
      {10, kCursorMoveXY, kCursorMoveXY},        {11, kCursorRotate, kCursorZoom},
      {12, kCursorZoom, kCursorRotate},          {13, kCursorAddInput, kCursorArrow},
      {14, kCursorAddDyad, kCursorArrow},        {15, kCursorAddJoint, kCursorArrow},
      {16, kCursorAddSlider, kCursorArrow},      {17, kCursorArrow, kCursorArrow},
      {0x80 | 10, kCursorMoveXY, kCursorMoveXY}, {-1, kCursorArrow, kCursorArrow},
  };
  for (const Case& c : cases) {
    TFakePaintBox a(400, 300), s(500, 500);
    TAniCanvas2D animator(a, 1.0);
    TSynthCanvas2D synthesis(s, 500, 2.0);
    animator.SetMode(c.mode);
    synthesis.SetMode(c.mode);
    EXPECT_EQ(animator.Mode(), c.mode);
    EXPECT_EQ(a.Cursor, c.animator) << c.mode;
    EXPECT_EQ(s.Cursor, c.synthesis) << c.mode;
  }
}

TEST(Canvas2DMouse, PointsFollowTheEvents) {
  TFakePaintBox box(400, 300);
  TAniCanvas2D canvas(box, 1.0);
  canvas.MouseDown(225, 150);
  EXPECT_NEAR(canvas.PressPoint.X, 0.1, 1e-12);
  canvas.MouseMove(kLeftButton, 250, 125);
  EXPECT_NEAR(canvas.CurrentPoint.X, 0.2, 1e-12);
  EXPECT_NEAR(canvas.CurrentPoint.X - canvas.PreviousPoint.X, 0.1, 1e-12);
  EXPECT_NEAR(canvas.CurrentPoint.Y - canvas.PreviousPoint.Y, 0.1, 1e-12);
  canvas.MouseUp(kLeftButton, 250, 125);
  EXPECT_NEAR(canvas.ReleasePoint.Y, 0.1, 1e-12);
  canvas.MouseDown(200, 150);
  EXPECT_NEAR(canvas.PreviousPoint.X, 0.1, 1e-12);  // the press it replaced
  // Moves without the button only track the mouse.
  canvas.SetMode(kModePan);
  canvas.MouseMove(0, 300, 100);
  EXPECT_DOUBLE_EQ(canvas.WorldXMin(), -0.5);
}

TEST(Canvas2DMouse, AnimatorZoomRectangleWithBand) {
  TFakePaintBox box(400, 300);
  TAniCanvas2D canvas(box, 1.0);
  canvas.SetMode(kModeZoomRect);
  canvas.MouseDown(200, 150);
  canvas.MouseMove(kLeftButton, 225, 125);
  EXPECT_TRUE(canvas.BandShown());
  canvas.MouseMove(kLeftButton, 250, 100);
  const std::vector<std::string> band = {
      "Polyline 200,150 225,150 225,125 200,125 200,150 notxor",
      "Polyline 200,150 225,150 225,125 200,125 200,150 notxor",  // erased
      "Polyline 200,150 250,150 250,100 200,100 200,150 notxor",
  };
  EXPECT_EQ(box.Screen.Log, band);
  EXPECT_EQ(box.Screen.CurrentPen, TPen{});  // the band's pen does not stay
  canvas.MouseUp(kLeftButton, 250, 100);
  EXPECT_NEAR(canvas.WorldXMin(), 0, 1e-12);
  EXPECT_NEAR(canvas.WorldXMax(), 0.2, 1e-12);
  EXPECT_NEAR(canvas.WorldYMax(), 0.2, 1e-12);
  EXPECT_EQ(canvas.Mode(), kModeSelect);
  EXPECT_EQ(box.Cursor, kCursorArrow);
  canvas.MouseDown(10, 10);
  EXPECT_FALSE(canvas.BandShown());
}

TEST(Canvas2DMouse, AnimatorClickInZoomRectangleModeResetsBothAxes) {
  TFakePaintBox box(400, 300);
  TAniCanvas2D canvas(box, 1.0);
  canvas.SetWorldRect(2, 3, 2, 3);
  canvas.SetMode(kModeZoomRect);
  canvas.MouseDown(100, 100);
  canvas.MouseUp(kShiftKey, 100, 100);
  EXPECT_DOUBLE_EQ(canvas.WorldXMin(), -0.5);
  EXPECT_DOUBLE_EQ(canvas.WorldYMax(), 0.5);
  EXPECT_EQ(canvas.Mode(), kModeZoomRect);  // Shift keeps the mode
  canvas.AutoResetMode = false;
  canvas.MouseUp(0, 100, 100);
  EXPECT_EQ(canvas.Mode(), kModeZoomRect);
}

TEST(Canvas2DMouse, AnimatorPanZoomOutAndDragZoom) {
  TFakePaintBox box(400, 300);
  TAniCanvas2D canvas(box, 1.0);
  canvas.AutoResetMode = false;
  canvas.SetMode(kModePan);
  canvas.MouseDown(200, 150);
  canvas.MouseMove(kLeftButton, 250, 130);
  // The grabbed world point (0, 0) stays under the mouse.
  EXPECT_EQ(canvas.WorldToScreen(0, 0), (TPoint{250, 130}));
  EXPECT_NEAR(canvas.CurrentPoint.X, 0, 1e-12);

  canvas.ResetView();
  canvas.SetMode(kModeZoomOut);
  canvas.MouseDown(10, 10);
  canvas.MouseUp(0, 10, 10);
  EXPECT_NEAR(canvas.WorldXMax() - canvas.WorldXMin(), 1.5, 1e-12);

  canvas.ResetView();
  canvas.SetMode(kModeDragZoom);
  canvas.MouseDown(200, 100);
  canvas.MouseMove(kLeftButton, 200, 200);  // down by 100: zoom by 1/2
  EXPECT_NEAR(canvas.WorldXMax() - canvas.WorldXMin(), 2, 1e-12);
  canvas.MouseMove(kLeftButton, 200, 150);  // up by 50: zoom by 1.5
  EXPECT_NEAR(canvas.WorldXMax() - canvas.WorldXMin(), 4.0 / 3, 1e-12);
}

TEST(Canvas2DMouse, SynthesisPanKeepsTheGrabbedPoint) {
  TFakePaintBox box(500, 500);
  TSynthCanvas2D canvas(box, 500, 2.0);
  canvas.SetMode(kModePan);
  canvas.MouseDown(300, 200);
  const TComplex grabbed = canvas.PressPoint;
  canvas.MouseMove(kLeftButton, 340, 260);
  canvas.MouseMove(kLeftButton, 100, 400);
  const TComplex under = canvas.ScreenToWorld(100, 400);
  EXPECT_NEAR(under.X, grabbed.X, 1e-12);
  EXPECT_NEAR(under.Y, grabbed.Y, 1e-12);
  EXPECT_NEAR(canvas.Origin().X, 0.2 + 0.6, 1e-12);  // x 0.2 now 150 pixels left of the centre
}

TEST(Canvas2DMouse, SynthesisZoomOutCentresOnTheClick) {
  TFakePaintBox box(500, 500);
  TSynthCanvas2D canvas(box, 500, 2.0);
  canvas.SetMode(kModeZoomOut);
  canvas.MouseDown(375, 250);
  canvas.MouseUp(0, 375, 250);
  EXPECT_DOUBLE_EQ(canvas.Origin().X, 0.5);
  EXPECT_NEAR(canvas.WorldSize(), 3, 1e-12);
  EXPECT_EQ(canvas.Mode(), kModeSelect);
}

TEST(Canvas2DMouse, SynthesisZoomRectangleMarginOne) {
  TFakePaintBox box(500, 500);
  TSynthCanvas2D canvas(box, 500, 2.0);
  canvas.SetMode(kModeZoomRect);
  canvas.MouseDown(250, 250);
  canvas.MouseMove(kLeftButton, 375, 125);
  EXPECT_EQ(box.Screen.Log,
            (std::vector<std::string>{"Polyline 250,250 375,250 375,125 250,125 250,250 notxor"}));
  canvas.MouseUp(kLeftButton, 375, 125);
  // Extent 0.5 = 125 pixels into a 250-pixel client: factor 2.
  EXPECT_DOUBLE_EQ(canvas.Origin().X, 0.25);
  EXPECT_DOUBLE_EQ(canvas.WorldSize(), 1);
}

TEST(Canvas2DStatus, CartesianAndPolarReadOut) {
  TFakePaintBox box(400, 300);
  TAniCanvas2D canvas(box, 1.0);
  TFakePanel x, y;
  canvas.MouseMove(0, 300, 100);  // no panels: nothing to write
  canvas.XPanel = &x;
  canvas.YPanel = &y;
  canvas.MouseMove(0, 225, 200);
  EXPECT_EQ(x.Text, "X:     0.10 m");
  EXPECT_EQ(y.Text, "Y:    -0.20 m");
  canvas.Polar = true;
  canvas.Units.FromSI = [](int category, double si) {
    return category == kLengthCategory ? si * 1000 : si * 180 / std::numbers::pi;
  };
  canvas.Units.UnitSymbol = [](int category) {
    return std::string(category == kLengthCategory ? "mm" : "\xB0");
  };
  canvas.MouseMove(0, 150, 200);  // (-0.2, -0.2)
  EXPECT_EQ(x.Text, "R:   282.84 mm");
  EXPECT_EQ(y.Text, "Angle:  -135.00 \xB0");
  canvas.Units.FromSI = [](int, double) { return -123456.789; };
  canvas.Polar = false;
  canvas.UpdateStatus();
  EXPECT_EQ(x.Text, "X: -123456.79 mm");
}

TEST(Canvas2DStatus, DefaultUnitsReachNewCanvases) {
  TReadoutUnits saved = DefaultReadoutUnits();
  TReadoutUnits units = SIReadoutUnits();
  units.UnitSymbol = [](int) { return std::string("u"); };
  SetDefaultReadoutUnits(units);
  TFakePaintBox box(500, 500);
  TSynthCanvas2D canvas(box, 500, 2.0);
  SetDefaultReadoutUnits(saved);
  TFakePanel x;
  canvas.XPanel = &x;
  canvas.UpdateStatus();
  EXPECT_EQ(x.Text, "X:     0.00 u");
}

TEST(Canvas2DStatus, BoundToTheUnitService) {
  const TReadoutUnits saved = DefaultReadoutUnits();
  CreateConvert();  // Metric Engineering: millimetres and degrees
  BindReadoutToConvert();
  TFakePaintBox box(400, 300);
  TAniCanvas2D canvas(box, 1.0);
  TFakePanel x, y;
  canvas.XPanel = &x;
  canvas.YPanel = &y;
  canvas.MouseMove(0, 250, 150);  // (0.2, 0)
  EXPECT_EQ(x.Text, "X:   200.00 mm");
  Convert().DecimalSeparator = ',';
  canvas.Polar = true;
  canvas.MouseMove(0, 200, 100);  // (0, 0.2)
  EXPECT_EQ(x.Text, "R:   200,00 mm");
  EXPECT_EQ(y.Text, "Angle:    90,00 \xB0");
  SetDefaultReadoutUnits(saved);
  FreeConvert();
}

}  // namespace
}  // namespace shared
