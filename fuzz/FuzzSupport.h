// What the fuzz targets share: a paint box that draws nowhere, and the process-wide services
// the engine reads (tab-line store, message log, unit service) created once.
#pragma once

#include <memory>
#include <span>
#include <string>

#include "animator/engine/StdOut.h"
#include "shared/Convert.h"
#include "shared/PaintSurface.h"
#include "shared/TabLine.h"

namespace fuzz {

class TNullSurface : public shared::TPaintSurface {
 public:
  TNullSurface(int width, int height) : W(width), H(height) {}
  int Width() const override { return W; }
  int Height() const override { return H; }
  void SetSize(int width, int height) override {
    W = width;
    H = height;
  }
  void SetPen(const shared::TPen& pen) override { CurrentPen = pen; }
  shared::TPen Pen() const override { return CurrentPen; }
  void SetBrush(const shared::TBrush& brush) override { CurrentBrush = brush; }
  shared::TBrush Brush() const override { return CurrentBrush; }
  void SetFont(const shared::TFont& font) override { CurrentFont = font; }
  shared::TFont Font() const override { return CurrentFont; }
  void MoveTo(int, int) override {}
  void LineTo(int, int) override {}
  void Polyline(std::span<const shared::TPoint>) override {}
  void Polygon(std::span<const shared::TPoint>) override {}
  void Ellipse(int, int, int, int) override {}
  void FillRect(int, int, int, int) override {}
  void TextOut(int, int, const std::string&) override {}
  shared::TSize TextExtent(const std::string& text) override { return {int(text.size()) * 8, 10}; }
  void DrawRaster(int, int, const shared::TRaster&) override {}
  void Draw(int, int, const shared::TPaintSurface&) override {}
  shared::TRaster ReadPixels() const override { return shared::TRaster(W, H); }

 private:
  int W, H;
  shared::TPen CurrentPen;
  shared::TBrush CurrentBrush;
  shared::TFont CurrentFont;
};

class TNullPaintBox : public shared::TPaintBox {
 public:
  TNullPaintBox(int width, int height) : Screen(width, height) {}
  int Width() const override { return Screen.Width(); }
  int Height() const override { return Screen.Height(); }
  int ParentClientWidth() const override { return Screen.Width(); }
  int ParentClientHeight() const override { return Screen.Height(); }
  shared::TPaintSurface& Canvas() override { return Screen; }
  std::unique_ptr<shared::TPaintSurface> CreateBitmap(int width, int height) override {
    return std::make_unique<TNullSurface>(width, height);
  }
  void SetCursor(int) override {}
  shared::TColor WindowColor() const override { return 0xF0F0F0; }

  TNullSurface Screen;
};

// The engine's process-wide services, made once per fuzzing process; the log keeps nothing.
inline void CreateServices() {
  static const bool created = [] {
    shared::CreateTabLines();
    shared::CreateConvert();
    quillon::CreateStdOut();
    return true;
  }();
  (void)created;
}

}  // namespace fuzz
