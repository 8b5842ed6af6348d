// A paint box whose surfaces record every call as text, and a status panel that keeps its text,
// for the canvas tests.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "shared/Canvas2D.h"

namespace shared::test {

inline std::string P(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }

// Records every call as text; text extents are 8 pixels a character by 10.
class TFakeSurface : public TPaintSurface {
 public:
  explicit TFakeSurface(std::string name, int width, int height)
      : Name(std::move(name)), W(width), H(height) {}

  int Width() const override { return W; }
  int Height() const override { return H; }
  void SetSize(int width, int height) override {
    W = width;
    H = height;
  }
  void SetPen(const TPen& pen) override { CurrentPen = pen; }
  TPen Pen() const override { return CurrentPen; }
  void SetBrush(const TBrush& brush) override { CurrentBrush = brush; }
  TBrush Brush() const override { return CurrentBrush; }
  void SetFont(const TFont& font) override { CurrentFont = font; }
  TFont Font() const override { return CurrentFont; }
  void MoveTo(int x, int y) override { Log.push_back("M " + P(x, y)); }
  void LineTo(int x, int y) override { Log.push_back("L " + P(x, y)); }
  void Polyline(std::span<const TPoint> points) override {
    Log.push_back("Polyline" + Points(points) + PenMode());
  }
  void Polygon(std::span<const TPoint> points) override { Log.push_back("Polygon" + Points(points)); }
  void Ellipse(int x1, int y1, int x2, int y2) override {
    Log.push_back("Ellipse " + P(x1, y1) + " " + P(x2, y2) +
                  (CurrentBrush.Style == TBrushStyle::Clear ? " hollow" : " filled"));
  }
  void FillRect(int x1, int y1, int x2, int y2) override {
    Log.push_back("Fill " + P(x1, y1) + " " + P(x2, y2) + " " + std::to_string(CurrentBrush.Color));
  }
  void TextOut(int x, int y, const std::string& text) override {
    Log.push_back("Text " + P(x, y) + " " + std::to_string(CurrentFont.Escapement) + " " + text);
  }
  TSize TextExtent(const std::string& text) override { return {int(text.size()) * 8, 10}; }
  void DrawRaster(int x, int y, const TRaster& raster) override {
    Log.push_back("Raster " + P(x, y) + " " + P(raster.Width, raster.Height));
  }
  void Draw(int x, int y, const TPaintSurface& source) override {
    Log.push_back("Draw " + P(x, y) + " " + static_cast<const TFakeSurface&>(source).Name);
  }
  TRaster ReadPixels() const override {
    TRaster raster(W, H, 0xFF000000u | kWhite);
    if (W > 1 && H > 0) raster.Pixels[1] = 0xFF000000u | 0x0000FE;  // nearly red
    return raster;
  }

  std::string PenMode() const { return CurrentPen.Mode == TPenMode::NotXor ? " notxor" : " copy"; }
  static std::string Points(std::span<const TPoint> points) {
    std::string text;
    for (const TPoint& p : points) text += " " + P(p.X, p.Y);
    return text;
  }

  std::string Name;
  int W, H;
  TPen CurrentPen{kRed, 3, TPenStyle::Dash, TPenMode::NotXor};
  TBrush CurrentBrush;
  TFont CurrentFont{"Paint Box Font", 13, 0x123456, 0};
  std::vector<std::string> Log;
};

class TFakePaintBox : public TPaintBox {
 public:
  TFakePaintBox(int width, int height) : Screen("screen", width, height) {}
  int Width() const override { return Screen.W; }
  int Height() const override { return Screen.H; }
  int ParentClientWidth() const override { return ClientWidth; }
  int ParentClientHeight() const override { return ClientHeight; }
  TPaintSurface& Canvas() override { return Screen; }
  std::unique_ptr<TPaintSurface> CreateBitmap(int width, int height) override {
    auto bitmap = std::make_unique<TFakeSurface>("bitmap" + std::to_string(++BitmapCount), width, height);
    Bitmaps.push_back(bitmap.get());
    return bitmap;
  }
  void SetCursor(int cursor) override { Cursor = cursor; }
  TColor WindowColor() const override { return 0xF0F0F0; }

  TFakeSurface Screen;
  int ClientWidth = 250;
  int ClientHeight = 250;
  int Cursor = -999;
  int BitmapCount = 0;
  std::vector<TFakeSurface*> Bitmaps;
};

class TFakePanel : public TStatusPanel {
 public:
  void SetText(const std::string& text) override { Text = text; }
  std::string Text;
};

}  // namespace shared::test
