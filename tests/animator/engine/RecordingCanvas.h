// A paint box whose surface records every drawing call as one text line, and the animator canvas
// over it, for the drawing tests of the engine's model classes.
#pragma once

#include <memory>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "shared/AniCanvas2D.h"
#include "shared/PaintSurface.h"

namespace enginetest {

using namespace shared;

inline std::string Hex(TColor c) {
  std::ostringstream text;
  text << std::hex << std::uppercase << c;
  return text.str();
}

// A text as drawn: where, its escapement (tenths of a degree) and the brush behind it.
struct TTextCall {
  int X, Y;
  std::string Text;
  int Escapement;
  TBrushStyle Brush;
};

class TRecordingSurface : public TPaintSurface {
 public:
  TRecordingSurface(int width, int height) : W(width), H(height) {}

  int Width() const override { return W; }
  int Height() const override { return H; }
  void SetSize(int width, int height) override {
    W = width;
    H = height;
  }
  void SetPen(const TPen& pen) override {
    CurrentPen = pen;
    Log.push_back("Pen " + Hex(pen.Color) + " " + std::to_string(pen.Width) + " " +
                  std::to_string(int(pen.Style)));
  }
  TPen Pen() const override { return CurrentPen; }
  void SetBrush(const TBrush& brush) override {
    CurrentBrush = brush;
    Log.push_back("Brush " + Hex(brush.Color) + " " + std::to_string(int(brush.Style)));
  }
  TBrush Brush() const override { return CurrentBrush; }
  void SetFont(const TFont& font) override { CurrentFont = font; }
  TFont Font() const override { return CurrentFont; }
  void MoveTo(int x, int y) override { Log.push_back("M " + P(x, y)); }
  void LineTo(int x, int y) override { Log.push_back("L " + P(x, y)); }
  void Polyline(std::span<const TPoint> points) override { Log.push_back("Polyline" + Points(points)); }
  void Polygon(std::span<const TPoint> points) override { Log.push_back("Polygon" + Points(points)); }
  void Ellipse(int x1, int y1, int x2, int y2) override {
    Log.push_back("Ellipse " + P(x1, y1) + " " + P(x2, y2));
  }
  void FillRect(int x1, int y1, int x2, int y2) override {
    Log.push_back("Fill " + P(x1, y1) + " " + P(x2, y2));
  }
  void TextOut(int x, int y, const std::string& text) override {
    Log.push_back("Text " + P(x, y) + " " + text);
    Texts.push_back({x, y, text, CurrentFont.Escapement, CurrentBrush.Style});
  }
  TSize TextExtent(const std::string& text) override { return {int(text.size()) * 8, 10}; }
  void DrawRaster(int x, int y, const TRaster&) override { Log.push_back("Raster " + P(x, y)); }
  void Draw(int x, int y, const TPaintSurface&) override { Log.push_back("Draw " + P(x, y)); }
  TRaster ReadPixels() const override { return TRaster(W, H); }

  static std::string P(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
  static std::string Points(std::span<const TPoint> points) {
    std::string text;
    for (const TPoint& p : points) text += " " + P(p.X, p.Y);
    return text;
  }

  // True when the lines occur in the log in this order (others may come between).
  bool Logged(const std::vector<std::string>& lines) const {
    size_t at = 0;
    for (const auto& line : lines) {
      while (at < Log.size() && Log[at] != line) ++at;
      if (at == Log.size()) return false;
      ++at;
    }
    return true;
  }
  int CountOf(const std::string& prefix) const {
    int n = 0;
    for (const auto& line : Log) n += line.rfind(prefix, 0) == 0;
    return n;
  }

  int W, H;
  TPen CurrentPen;
  TBrush CurrentBrush;
  TFont CurrentFont;
  std::vector<std::string> Log;
  std::vector<TTextCall> Texts;
};

class TRecordingPaintBox : public TPaintBox {
 public:
  TRecordingPaintBox(int width, int height) : Screen(width, height) {}
  int Width() const override { return Screen.W; }
  int Height() const override { return Screen.H; }
  int ParentClientWidth() const override { return Screen.W; }
  int ParentClientHeight() const override { return Screen.H; }
  TPaintSurface& Canvas() override { return Screen; }
  std::unique_ptr<TPaintSurface> CreateBitmap(int width, int height) override {
    return std::make_unique<TRecordingSurface>(width, height);
  }
  void SetCursor(int) override {}
  TColor WindowColor() const override { return 0xF0F0F0; }

  TRecordingSurface Screen;
};

// A 400 x 300 box showing a world of size 1: 250 pixels a unit, the world origin at pixel
// (200, 150), y up.
struct TRecordingView {
  TRecordingPaintBox box{400, 300};
  TAniCanvas2D canvas{box, 1.0};
  std::vector<std::string>& log = box.Screen.Log;
};

}  // namespace enginetest
