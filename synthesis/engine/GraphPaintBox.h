// TGraphPaintBox: one x/y line graph of at most 201 samples on a paint box, with frame, grid,
// zero line, axis titles, the x limits and round y values in display units, and a vertical
// cursor line with the value at the cursor that moves without repainting the graph.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "shared/Convert.h"
#include "shared/PaintSurface.h"

namespace vesk {

class TGraphPaintBox {
 public:
  static constexpr int kMaxSamples = 201;
  static constexpr int32_t GridX = 6;  // vertical grid divisions
  static constexpr int32_t GridY = 6;  // at most this many horizontal grid divisions

  // Values and unit symbols come from the unit service; the program gives it Convert().
  TGraphPaintBox(shared::TPaintBox& paintBox, const shared::TConvert& units);
  TGraphPaintBox(const TGraphPaintBox&) = delete;
  TGraphPaintBox& operator=(const TGraphPaintBox&) = delete;

  int32_t Count = 0;
  std::array<double, kMaxSamples> X{};
  std::array<double, kMaxSamples> Y{};
  std::array<int32_t, kMaxSamples> PX{};
  std::array<int32_t, kMaxSamples> PY{};
  std::array<double, GridX + 1> XTicks{};
  // The y axis runs from AxisMinY to AxisMaxY (SI), its grid lines and values at YTicks: round
  // values of the display unit (shared/AxisTicks.h), the first and last at the axis's ends.
  std::vector<double> YTicks;
  double AxisMinY = 0, AxisMaxY = 0;
  std::string XTitle = "x";
  std::string YTitle = "y";
  // Unit categories of the unit service; 0 is no unit.
  int32_t XUnit = 0;
  int32_t YUnit = 0;
  bool ShowGrid = true;
  bool ShowCursor = true;
  bool ShowLabels = true;
  shared::TPen FramePen;
  shared::TPen GridPen;
  shared::TPen CurvePen;
  shared::TPen CursorPen;  // not-XOR: drawing the line again erases it
  double CursorX = 0;
  double MinX = 0, MaxX = 0, MinY = 0, MaxY = 0;
  double ScaleX = 0, ScaleY = 0;  // pixels per unit
  int32_t PlotLeft = 0, PlotTop = 0, PlotRight = 0, PlotBottom = 0;
  int32_t MarginLeft = 0, MarginRight = 0, MarginTop = 0, MarginBottom = 0;
  bool CursorDrawn = false;
  std::string ValueText;  // the y value text last drawn
  int32_t TextHeight = 0;
  bool Drawable = false;  // the surface holds the margins and a grid

  // No samples, ranges 0, cursor at 0 and not drawn; titles and units stay.
  void Clear();
  // Ignored once 201 samples are held.
  void AddPoint(double x, double y);
  // Y[i], or 0 outside the samples.
  double Value(int i) const;
  // Linear between the samples around x (taken as increasing in x); 0 outside [MinX, MaxX]
  // and with fewer than two samples.
  double ValueAt(double x) const;
  // Moves the cursor: erases the line drawn last, draws the line at x and the value texts.
  // Nothing happens when x lies outside the samples' range or fewer than two samples are held.
  void SetCursor(double x);
  // The full repaint, the cursor line included; the paint box's paint event calls it.
  void Paint();

 private:
  void Layout();
  void LayoutY(int32_t plotHeight);
  int32_t PixelX(double x) const;
  int32_t PixelY(double y) const;
  void DrawCursorLine(int32_t px);
  void DrawLabels(shared::TPaintSurface& s);
  void DrawValueBox(int32_t left, int32_t right, int32_t top, bool centred, const std::string& text);
  std::string WithUnit(const std::string& title, int32_t unit) const;

  shared::TPaintBox& FPaintBox;
  const shared::TConvert& FUnits;
  int32_t FCursorPixel = 0;  // where the drawn cursor line stands
  int32_t FNumberWidth = 0;  // width of "0000.0000" or of the widest y value
};

}  // namespace vesk
