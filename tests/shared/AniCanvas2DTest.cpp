// TAniCanvas2D on a recording surface: the world rectangle, zoom and pan, the two bitmaps, the
// grid and picture files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "shared/AniCanvas2D.h"
#include "tests/shared/FakePaintBox.h"

namespace shared {
namespace {

using test::TFakePaintBox;
using test::TFakeSurface;

// ---------------------------------------------------------------------------------------------
// Animator view

TEST(AniCanvas2DView, ZeroExtentFallsBackPerAxis) {
  TFakePaintBox box(400, 300);
  TAniCanvas2D canvas(box, 1.0);
  canvas.SetWorldRect(0.3, 0.3, 2, 0);
  EXPECT_DOUBLE_EQ(canvas.WorldXMin(), -0.5);
  EXPECT_DOUBLE_EQ(canvas.WorldXMax(), 0.5);
  EXPECT_DOUBLE_EQ(canvas.WorldYMin(), 0);
  EXPECT_DOUBLE_EQ(canvas.WorldYMax(), 2);
  // Height 2 decides: 300 / 2 / 1.2 = 125; the rectangle's centre (0, 1) sits at the box centre.
  EXPECT_DOUBLE_EQ(canvas.Scale(), 125);
  EXPECT_EQ(canvas.WorldToScreen(0, 1), (TPoint{200, 150}));
}

TEST(AniCanvas2DView, ZoomAboutTheCentreWithinLimits) {
  TFakePaintBox box(400, 300);
  TAniCanvas2D canvas(box, 1.0);
  canvas.SetWorldRect(1, 3, -1, 1);
  canvas.Zoom(2);
  EXPECT_DOUBLE_EQ(canvas.WorldXMin(), 1.5);
  EXPECT_DOUBLE_EQ(canvas.WorldXMax(), 2.5);
  EXPECT_DOUBLE_EQ(canvas.WorldYMin(), -0.5);
  EXPECT_DOUBLE_EQ(canvas.WorldYMax(), 0.5);
  for (double refused : {0.1, 0.05, 0.0, -2.0, 1e5}) {
    canvas.Zoom(refused);
    EXPECT_DOUBLE_EQ(canvas.WorldXMin(), 1.5) << refused;
    EXPECT_DOUBLE_EQ(canvas.WorldYMax(), 0.5) << refused;
  }
  canvas.Zoom(0.5);
  EXPECT_DOUBLE_EQ(canvas.WorldXMin(), 1);
  EXPECT_DOUBLE_EQ(canvas.WorldXMax(), 3);
}

TEST(AniCanvas2DView, PanShiftsTheRectangle) {
  TFakePaintBox box(400, 300);
  TAniCanvas2D canvas(box, 1.0);
  canvas.Pan(0.1, -0.2);
  EXPECT_DOUBLE_EQ(canvas.WorldXMin(), -0.4);
  EXPECT_DOUBLE_EQ(canvas.WorldYMax(), 0.3);
  EXPECT_EQ(canvas.WorldToScreen(0.1, -0.2), (TPoint{200, 150}));
}

TEST(AniCanvas2DView, ZoomToRectWithMargin) {
  TFakePaintBox box(400, 300);
  TAniCanvas2D canvas(box, 1.0);
  canvas.ZoomToRect(TComplex(2, 1), TComplex(0, 0), 1.2);
  EXPECT_DOUBLE_EQ(canvas.WorldXMin(), -0.2);
  EXPECT_DOUBLE_EQ(canvas.WorldXMax(), 2.2);
  EXPECT_DOUBLE_EQ(canvas.WorldYMin(), -0.1);
  EXPECT_DOUBLE_EQ(canvas.WorldYMax(), 1.1);
  canvas.ResetView();
  EXPECT_DOUBLE_EQ(canvas.WorldXMin(), -0.5);
  EXPECT_DOUBLE_EQ(canvas.Scale(), 250);
}

TEST(AniCanvas2DView, EmptyPaintBoxKeepsTheScale) {
  TFakePaintBox box(400, 300);
  TAniCanvas2D canvas(box, 1.0);
  box.Screen.SetSize(0, 0);
  canvas.Resize();
  canvas.Zoom(2);
  EXPECT_DOUBLE_EQ(canvas.Scale(), 250);
  EXPECT_EQ(canvas.OriginX(), 200);
  box.Screen.SetSize(800, 600);
  canvas.Resize();
  EXPECT_DOUBLE_EQ(canvas.Scale(), 1000);  // 600 / 0.5 / 1.2
}

// ---------------------------------------------------------------------------------------------
// Double buffering and background

TEST(AniCanvas2DBuffers, SurfacesSwitchAndPensReset) {
  TFakePaintBox box(400, 300);
  TAniCanvas2D canvas(box, 1.0);
  EXPECT_EQ(&canvas.Surface(), &box.Screen);
  EXPECT_EQ(box.Screen.CurrentPen, TPen{});
  EXPECT_EQ(canvas.BackgroundColor, 0xF0F0F0u);
  EXPECT_EQ(box.Screen.CurrentBrush.Color, 0xF0F0F0u);

  canvas.SetDoubleBuffered(true);
  canvas.SetDoubleBuffered(true);  // created once
  ASSERT_EQ(box.BitmapCount, 2);
  TFakeSurface& front = *box.Bitmaps[0];
  TFakeSurface& back = *box.Bitmaps[1];
  EXPECT_EQ(&canvas.Surface(), &front);
  for (TFakeSurface* s : {&front, &back}) {
    EXPECT_EQ(s->W, 400);
    EXPECT_EQ(s->H, 300);
    EXPECT_EQ(s->CurrentPen, TPen{});
    EXPECT_EQ(s->CurrentFont, (TFont{"Paint Box Font", 13, 0x123456, 0}));
  }
  canvas.UseBackgroundCanvas();
  EXPECT_EQ(&canvas.Surface(), &back);
  canvas.UseFrontCanvas();
  EXPECT_EQ(&canvas.Surface(), &front);

  canvas.CopyBackground();
  canvas.Present();
  EXPECT_EQ(front.Log, (std::vector<std::string>{"Draw 0,0 bitmap2"}));
  EXPECT_EQ(box.Screen.Log, (std::vector<std::string>{"Draw 0,0 bitmap1"}));

  box.Screen.SetSize(200, 100);
  canvas.Resize();
  EXPECT_EQ(front.W, 200);
  EXPECT_EQ(back.H, 100);

  canvas.SetDoubleBuffered(false);
  EXPECT_EQ(&canvas.Surface(), &box.Screen);
  EXPECT_FALSE(canvas.DoubleBuffered());
  box.Screen.Log.clear();
  canvas.Present();
  EXPECT_TRUE(box.Screen.Log.empty());
}

TEST(AniCanvas2DBuffers, GridStyles) {
  TFakePaintBox box(400, 300);
  TAniCanvas2D canvas(box, 1.0);
  canvas.SetDoubleBuffered(true);
  TFakeSurface& back = *box.Bitmaps[1];

  canvas.ClearBackground();  // style 1: the axes
  EXPECT_EQ(back.Log, (std::vector<std::string>{"Fill 0,0 400,300 15790320", "M 0,150", "L 400,150",
                                                "M 200,0", "L 200,300"}));
  EXPECT_EQ(back.CurrentPen, (TPen{kGray, 1, TPenStyle::Dot, TPenMode::Copy}));

  // Style 2: every 25 pixels, starting from the origin taken modulo the step.
  back.Log.clear();
  canvas.GridStyle = TGridStyle::Lines;
  canvas.Pan(-0.02, 0.02);  // origin moves to (205, 155)
  canvas.ClearBackground();
  ASSERT_EQ(back.Log.size(), 1u + 2 * (16 + 12));
  EXPECT_EQ(back.Log[1], "M 5,0");
  EXPECT_EQ(back.Log[2 * 15 + 1], "M 380,0");
  EXPECT_EQ(back.Log[2 * 16 + 1], "M 0,5");
  EXPECT_EQ(back.Log.back(), "L 400,280");

  back.Log.clear();
  canvas.GridStep = 0.01;  // 2.5 pixels: too fine to draw
  canvas.ClearBackground();
  EXPECT_EQ(back.Log.size(), 1u);

  // Style 3: the callback draws on the background, then the front is current again.
  back.Log.clear();
  canvas.GridStyle = TGridStyle::Background;
  canvas.ClearBackground();
  EXPECT_EQ(back.Log.size(), 1u);  // no callback: the fill only
  TPaintSurface* drawnOn = nullptr;
  canvas.OnBackground = [&](TAniCanvas2D& c) {
    drawnOn = &c.Surface();
    c.MoveTo(TComplex(0, 0));
  };
  canvas.ClearBackground();
  EXPECT_EQ(drawnOn, &back);
  EXPECT_EQ(back.Log.back(), "M 205,155");
  EXPECT_EQ(&canvas.Surface(), box.Bitmaps[0]);
}

TEST(AniCanvas2DBuffers, PicturesOnlyWhenDoubleBuffered) {
  // A folder of this process: suites run side by side must not write each other's picture.
  const auto dir =
      std::filesystem::temp_directory_path() / ("canvas2d_test_pictures_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string bmp = (dir / "view.bmp").string();
  std::filesystem::remove(bmp);
  TFakePaintBox box(5, 3);
  TAniCanvas2D canvas(box, 1.0);
  canvas.SaveBitmap(bmp);
  EXPECT_FALSE(std::filesystem::exists(bmp));
  canvas.SetDoubleBuffered(true);
  canvas.SaveBitmap(bmp);
  std::ifstream in(bmp, std::ios::binary);
  const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_EQ(data.size(), 118u + 3 * 4);  // rows of 5 pixels padded to 4 bytes
  EXPECT_EQ(data[28], 4);                // bits per pixel
  // Top row (last in the file): white, nearly red (palette red 9), white...
  EXPECT_EQ(uint8_t(data[118 + 2 * 4]), 0xF9);
  EXPECT_EQ(uint8_t(data[118 + 2 * 4 + 1]), 0xFF);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace shared
