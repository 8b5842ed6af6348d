// A paint box whose surface records the drawing calls as text lines, for tests that check what
// the model draws through TCanvas2D.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "shared/PaintSurface.h"

namespace quillon_test {

class TRecordingSurface : public shared::TPaintSurface {
 public:
  TRecordingSurface(int width, int height) : W(width), H(height) {}

  int Width() const override { return W; }
  int Height() const override { return H; }
  void SetSize(int width, int height) override {
    W = width;
    H = height;
  }
  void SetPen(const shared::TPen& pen) override {
    CurrentPen = pen;
    Log.push_back("Pen " + std::to_string(pen.Color));
  }
  shared::TPen Pen() const override { return CurrentPen; }
  void SetBrush(const shared::TBrush& brush) override { CurrentBrush = brush; }
  shared::TBrush Brush() const override { return CurrentBrush; }
  void SetFont(const shared::TFont& font) override { CurrentFont = font; }
  shared::TFont Font() const override { return CurrentFont; }
  void MoveTo(int x, int y) override { Log.push_back("M " + P(x, y)); }
  void LineTo(int x, int y) override { Log.push_back("L " + P(x, y)); }
  void Polyline(std::span<const shared::TPoint> points) override {
    Log.push_back("Polyline" + Points(points));
  }
  void Polygon(std::span<const shared::TPoint> points) override { Log.push_back("Polygon" + Points(points)); }
  void Ellipse(int x1, int y1, int x2, int y2) override {
    Log.push_back("Ellipse " + P(x1, y1) + " " + P(x2, y2));
  }
  void FillRect(int x1, int y1, int x2, int y2) override {
    Log.push_back("Fill " + P(x1, y1) + " " + P(x2, y2));
  }
  void TextOut(int x, int y, const std::string& text) override {
    Log.push_back("Text " + P(x, y) + " " + text);
  }
  shared::TSize TextExtent(const std::string& text) override { return {int(text.size()) * 8, 10}; }
  void DrawRaster(int x, int y, const shared::TRaster&) override { Log.push_back("Raster " + P(x, y)); }
  void Draw(int x, int y, const shared::TPaintSurface&) override { Log.push_back("Draw " + P(x, y)); }
  shared::TRaster ReadPixels() const override { return shared::TRaster(W, H); }

  static std::string P(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
  static std::string Points(std::span<const shared::TPoint> points) {
    std::string text;
    for (const shared::TPoint& p : points) text += " " + P(p.X, p.Y);
    return text;
  }

  int W, H;
  shared::TPen CurrentPen;
  shared::TBrush CurrentBrush;
  shared::TFont CurrentFont;
  std::vector<std::string> Log;
};

class TRecordingPaintBox : public shared::TPaintBox {
 public:
  TRecordingPaintBox(int width, int height) : Screen(width, height) {}
  int Width() const override { return Screen.W; }
  int Height() const override { return Screen.H; }
  int ParentClientWidth() const override { return Screen.W; }
  int ParentClientHeight() const override { return Screen.H; }
  shared::TPaintSurface& Canvas() override { return Screen; }
  std::unique_ptr<shared::TPaintSurface> CreateBitmap(int width, int height) override {
    return std::make_unique<TRecordingSurface>(width, height);
  }
  void SetCursor(int) override {}
  shared::TColor WindowColor() const override { return shared::kWhite; }

  TRecordingSurface Screen;
};

}  // namespace quillon_test
