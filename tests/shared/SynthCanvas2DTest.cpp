// TSynthCanvas2D on a recording surface: the view by origin and size, its axes, its bitmap and
// the "[Canvas2D]" record.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "shared/SynthCanvas2D.h"
#include "tests/shared/FakePaintBox.h"

namespace shared {
namespace {

using test::TFakePaintBox;

// ---------------------------------------------------------------------------------------------
// Synthesis view

TEST(SynthCanvas2DView, ZoomLimits) {
  TFakePaintBox box(500, 500);
  TSynthCanvas2D canvas(box, 500, 2.0);
  canvas.Zoom(0.5);
  EXPECT_DOUBLE_EQ(canvas.WorldSize(), 4);
  EXPECT_DOUBLE_EQ(canvas.Scale(), 125);
  for (double refused : {0.0002, 0.0, -1.0, std::nan(""), 1e5}) {
    canvas.Zoom(refused);  // 0.0002 would give 20000
    EXPECT_DOUBLE_EQ(canvas.WorldSize(), 4) << refused;
  }
  canvas.ResetView();
  EXPECT_DOUBLE_EQ(canvas.WorldSize(), 2);
  EXPECT_DOUBLE_EQ(canvas.Scale(), 250);
}

TEST(SynthCanvas2DView, ZoomToRectCentresAndFitsTheParent) {
  TFakePaintBox box(500, 500);
  TSynthCanvas2D canvas(box, 500, 2.0);
  // Extent 2 x 1 is 500 x 250 pixels; the 250 x 250 client fits factor min(0.5, 1).
  canvas.ZoomToRect(TComplex(1, 0), TComplex(3, 1), 1.0);
  EXPECT_DOUBLE_EQ(canvas.Origin().X, 2);
  EXPECT_DOUBLE_EQ(canvas.Origin().Y, 0.5);
  EXPECT_DOUBLE_EQ(canvas.WorldSize(), 4);
  EXPECT_EQ(canvas.WorldToScreen(2, 0.5), (TPoint{250, 250}));
}

TEST(SynthCanvas2DView, ZoomToRectWithoutAFactorOnlyCentres) {
  TFakePaintBox box(500, 500);
  TSynthCanvas2D canvas(box, 500, 2.0);
  canvas.ZoomToRect(TComplex(1, 1), TComplex(1, 3), 1.4);  // zero width
  EXPECT_DOUBLE_EQ(canvas.Origin().X, 1);
  EXPECT_DOUBLE_EQ(canvas.Origin().Y, 2);
  EXPECT_DOUBLE_EQ(canvas.WorldSize(), 2);
  canvas.ZoomToRect(TComplex(0, 0), TComplex(1e-9, 1e-9), 1.0);  // far below a pixel
  EXPECT_DOUBLE_EQ(canvas.Origin().X, 0.5e-9);
  EXPECT_DOUBLE_EQ(canvas.WorldSize(), 2);
  box.ClientWidth = 0;
  canvas.ZoomToRect(TComplex(0, 0), TComplex(1, 1), 1.0);  // factor 0: refused
  EXPECT_DOUBLE_EQ(canvas.WorldSize(), 2);
}

TEST(SynthCanvas2DView, DrawAxesDotted) {
  TFakePaintBox box(500, 500);
  TSynthCanvas2D canvas(box, 500, 2.0);
  canvas.DrawAxes();
  EXPECT_EQ(box.Screen.CurrentPen, (TPen{kGray, 1, TPenStyle::Dot, TPenMode::Copy}));
  EXPECT_EQ(box.Screen.Log, (std::vector<std::string>{"M 0,250", "L 500,250", "M 250,500", "L 250,0"}));
}

// ---------------------------------------------------------------------------------------------
// Record

const char* const kRecord =
    "[Canvas2D]\r\n0\r\n500 CanvasSize\r\n 2.00000000000000E+0000 WorldSize\r\n"
    "[Vector]\r\n2  1.50000000000000E+0000 -2.50000000000000E-0001\r\n";

TEST(SynthCanvas2DRecord, WritesAndReadsBack) {
  TFakePaintBox box(500, 500);
  TSynthCanvas2D canvas(box, 500, 2.0);
  canvas.ZoomToRect(TComplex(1.5, -0.25), TComplex(1.5, -0.25), 1);
  std::ostringstream out;
  canvas.Write(out);
  EXPECT_EQ(out.str(), kRecord);

  TFakePaintBox other(1300, 1300);
  TSynthCanvas2D read(other, 1300, 3.0);
  std::istringstream in(std::string(kRecord) + "next\r\n");
  read.Read(in);
  EXPECT_EQ(read.CanvasSize(), 500);
  EXPECT_DOUBLE_EQ(read.WorldSize(), 2);
  EXPECT_DOUBLE_EQ(read.InitialWorldSize(), 3);
  EXPECT_DOUBLE_EQ(read.Origin().X, 1.5);
  EXPECT_DOUBLE_EQ(read.Origin().Y, -0.25);
  EXPECT_DOUBLE_EQ(read.Scale(), 250);
  EXPECT_EQ(read.OriginX(), 250);
  std::string rest;
  std::getline(in, rest);
  EXPECT_EQ(rest, "next\r");
}

// The largest world sizes and origins the record can hold come back from the record it writes.
TEST(SynthCanvas2DRecord, ExtremeValuesReadBack) {
  const double max = std::numeric_limits<double>::max();
  for (const double origin : {max, -max, std::numeric_limits<double>::denorm_min(), 1e-300}) {
    TFakePaintBox box(500, 500);
    TSynthCanvas2D canvas(box, 500, max);
    canvas.ZoomToRect(TComplex(origin, -origin), TComplex(origin, -origin), 1);
    std::ostringstream out;
    canvas.Write(out);
    TFakePaintBox other(500, 500);
    TSynthCanvas2D read(other, 500, 3.0);
    std::istringstream in(out.str());
    ASSERT_NO_THROW(read.Read(in)) << out.str();
    EXPECT_NEAR(read.WorldSize() / max, 1, 1e-14);
    EXPECT_NEAR(read.Origin().X, origin, std::fabs(origin) * 1e-14 + 1e-320);
    EXPECT_NEAR(read.Origin().Y, -origin, std::fabs(origin) * 1e-14 + 1e-320);
  }
}

TEST(SynthCanvas2DRecord, ReadsLinefeedsAndIgnoresTheKeys) {
  TFakePaintBox box(500, 500);
  TSynthCanvas2D canvas(box, 500, 2.0);
  std::istringstream in("[Canvas2D]\n7\n  800 anything\n4.5\n[Vector]\n2 0 1\n");
  canvas.Read(in);
  EXPECT_EQ(canvas.CanvasSize(), 800);
  EXPECT_DOUBLE_EQ(canvas.WorldSize(), 4.5);
  EXPECT_DOUBLE_EQ(canvas.Origin().Y, 1);
}

TEST(SynthCanvas2DRecord, BadRecordsRaiseAndKeepTheView) {
  const std::string good(kRecord);
  struct Case {
    std::string text;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"[Canvas]\r\n0\r\n500 CanvasSize\r\n", "File read error in TCanvas2D!"},
      {"", "File read error in TCanvas2D!"},
      {"[Canvas2D]\r\n0\r\nabc CanvasSize\r\n 2.0 WorldSize\r\n", "File read error in TCanvas2D!"},
      {"[Canvas2D]\r\n0\r\n500 CanvasSize\r\n 0.0 WorldSize\r\n[Vector]\r\n2 0 0\r\n",
       "File read error in TCanvas2D!"},
      {"[Canvas2D]\r\n0\r\n500 CanvasSize\r\n", "File read error in TCanvas2D!"},
      {"[Canvas2D]\r\n0\r\n500 CanvasSize\r\n 2.0 WorldSize\r\n[Point]\r\n", "File read error in TComplex!"},
      // A blank value line: the line before held a good number, which must not stand for it.
      {"[Canvas2D]\r\n0\r\n500 CanvasSize\r\n\r\n[Vector]\r\n2 0 0\r\n", "File read error in TCanvas2D!"},
      {"[Canvas2D]\r\n0\r\n500 CanvasSize\r\n   \r\n[Vector]\r\n2 0 0\r\n", "File read error in TCanvas2D!"},
      {"[Canvas2D]\r\n0\r\n\r\n 2.0 WorldSize\r\n[Vector]\r\n2 0 0\r\n", "File read error in TCanvas2D!"},
      {"[Canvas2D]\r\n0\r\n500 CanvasSize\r\n 2.0 WorldSize\r\n[Vector]\r\n2 0\r\n", "File read error in TComplex!"},
  };
  for (const Case& c : cases) {
    TFakePaintBox box(1300, 1300);
    TSynthCanvas2D canvas(box, 1300, 3.0);
    canvas.Zoom(2);
    std::istringstream in(c.text);
    try {
      canvas.Read(in);
      ADD_FAILURE() << "no error for " << c.text;
    } catch (const EFileReadError& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
    EXPECT_EQ(canvas.CanvasSize(), 1300);
    EXPECT_DOUBLE_EQ(canvas.WorldSize(), 1.5);
    EXPECT_DOUBLE_EQ(canvas.Origin().X, 0);
  }
}

TEST(SynthCanvas2DBuffers, OneBitmap) {
  TFakePaintBox box(500, 500);
  TSynthCanvas2D canvas(box, 500, 2.0);
  canvas.SetDoubleBuffered(true);
  ASSERT_EQ(box.BitmapCount, 1);
  EXPECT_EQ(&canvas.Surface(), box.Bitmaps[0]);
  EXPECT_EQ(box.Bitmaps[0]->CurrentFont.Color, kBlack);
  canvas.ClearBackground();
  canvas.Present();
  EXPECT_EQ(box.Bitmaps[0]->Log, (std::vector<std::string>{"Fill 0,0 500,500 15790320"}));
  EXPECT_EQ(box.Screen.Log, (std::vector<std::string>{"Draw 0,0 bitmap1"}));
}

}  // namespace
}  // namespace shared
