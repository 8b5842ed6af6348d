// TSynthCanvas2D: the synthesis program's form of the canvas. The view is a world origin and a
// world size, kept in the project file as the "[Canvas2D]" record.
#pragma once

#include <istream>
#include <ostream>

#include "shared/Canvas2D.h"

namespace shared {

class TSynthCanvas2D : public TCanvas2D {
 public:
  // canvasSize pixels show worldSize world units.
  TSynthCanvas2D(TPaintBox& paintBox, int canvasSize, double worldSize);

  int CanvasSize() const { return FCanvasSize; }
  double WorldSize() const { return FWorldSize; }
  double InitialWorldSize() const { return FInitialWorldSize; }
  // The world point shown at the centre.
  const TComplex& Origin() const { return FViewOrigin; }
  void UpdateScale();
  // WorldSize / f, refused outside 1e-4..1e4.
  void Zoom(double f) override;
  // Centres on the rectangle and fits it, enlarged by margin, into the parent's client area.
  void ZoomToRect(const TComplex& p1, const TComplex& p2, double margin = 1.0) override;
  void ResetView() override;
  void SetDoubleBuffered(bool on) override;
  void ClearBackground() override;
  void DrawAxes();
  // EraseMode 1 draws in the background colour.
  void SetPen(TColor color, int width = 1, TPenStyle style = TPenStyle::Solid) override;
  void Marker(const TComplex& p, int type, int n) override;
  int CursorForMode(int mode) const override;

  // The "[Canvas2D]" record; a wrong record raises EFileReadError and keeps the view.
  virtual void Read(std::istream& in);
  virtual void Write(std::ostream& out) const;

  // 1: SetPen takes the background colour and text labels erase their rectangle.
  int EraseMode = 0;
  TColor AxesColor = kGray;

 protected:
  void ResetPens() override;
  int LabelStyleValue() const override { return EraseMode; }
  void PanDrag(int x, int y) override;
  void ZoomOutClick() override;
  TPoint BandAnchor() const override;
  TPoint BandCorner(int x, int y) const override;

 private:
  int FCanvasSize;
  double FWorldSize;
  double FInitialWorldSize;
};

}  // namespace shared
