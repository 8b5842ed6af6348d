// TAniCanvas2D: the animator's form of the canvas. A world rectangle is fitted into the paint box;
// it draws the grid, keeps a front and a background bitmap and saves pictures.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "shared/Canvas2D.h"

namespace shared {

// What the background bitmap shows under the drawing; the numbers are those the settings store.
enum class TGridStyle { None = 0, Axes = 1, Lines = 2, Background = 3 };

class TAniCanvas2D : public TCanvas2D {
 public:
  // The default view spans -worldSize/2..worldSize/2 on both axes.
  TAniCanvas2D(TPaintBox& paintBox, double worldSize);

  double WorldXMin() const { return FXMin; }
  double WorldXMax() const { return FXMax; }
  double WorldYMin() const { return FYMin; }
  double WorldYMax() const { return FYMax; }
  double WorldSize() const { return FWorldSize; }
  // An axis with an extent below 1e-4 takes the default range; the corners need not be ordered.
  void SetWorldRect(double x1, double x2, double y1, double y2);
  // Scale and origin so the world rectangle fills the paint box with a 20 % margin.
  void FitView();
  void Pan(double dx, double dy);
  // About the centre of the world rectangle; f > 1 zooms in.
  void Zoom(double f) override;
  // margin > 1 widens the rectangle about its centre.
  void ZoomToRect(const TComplex& p1, const TComplex& p2, double margin = 1.0) override;
  void ResetView() override;
  void Resize() override;
  void SetDoubleBuffered(bool on) override;
  void ClearBackground() override;
  void CopyBackground();
  void UseFrontCanvas();
  void UseBackgroundCanvas();
  void SetFontName(const std::string& name) override;
  void SetFontHeight(double height) override;
  // The front bitmap as a picture file; nothing when not double-buffered.
  void SaveBitmap(const std::string& fileName) const;
  void SaveJPEG(const std::string& fileName) const;
  int CursorForMode(int mode) const override;

  double GridStep;
  TGridStyle GridStyle = TGridStyle::Axes;
  TColor GridColor = kGray;
  TPenStyle GridPenStyle = TPenStyle::Dot;
  // 0 TextLabel draws the text, 1 erases its rectangle.
  int LabelStyle = 0;
  // Draws the Background style's picture on the background bitmap.
  std::function<void(TAniCanvas2D&)> OnBackground;

 protected:
  void ResetPens() override;
  int LabelStyleValue() const override { return LabelStyle; }
  void PanDrag(int x, int y) override;
  void ZoomDrag(int x, int y) override;
  void ZoomOutClick() override;

 private:
  void DrawGrid(TPaintSurface& surface);
  void SavePicture(const std::string& fileName, bool jpeg) const;

  double FWorldSize;
  double FXMin = 0;
  double FXMax = 0;
  double FYMin = 0;
  double FYMax = 0;
  std::unique_ptr<TPaintSurface> FBack;
};

}  // namespace shared
