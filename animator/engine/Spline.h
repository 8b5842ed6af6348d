// TSpline: the animator's target curve, a cubic Hermite spline through control points with optional
// input and output rotation channels, arc-length sampling and its "Curve" section.
#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "shared/Canvas2D.h"
#include "shared/Complex.h"
#include "shared/PrePoint.h"
#include "shared/TabLine.h"

namespace quillon {

class TSpline {
 public:
  // Points one document may give the curve: the reader stops there with a warning.
  static constexpr int32_t kMaxPoints = 10000;

  TSpline();

  // A point added through the list becomes the only selected point.
  bool SelectOnAdd = true;
  // 10 per segment plus the first point; s holds the absolute arc length.
  std::vector<shared::TPrePoint> Samples;
  // Control points; Id is the index, s the arc-length fraction after a rebuild.
  std::vector<std::unique_ptr<shared::TPrePoint>> Points;
  // -1 until the first rebuild, then a new random number at every rebuild.
  int32_t ChangeStamp = -1;
  // Arc length of the sampled polyline.
  double Length = 0;
  bool Modified = false;
  // Editing operations do nothing while the curve is hidden.
  bool Visible = true;
  uint32_t Colour = 0x808000;
  int32_t MarkerSize = 3;
  int32_t LabelOffset = 8;
  // Solved tangents of the rotation channels, one per control point.
  std::vector<double> InTangents;
  std::vector<double> OutTangents;

  // Input-link rotation channel; InTotal makes PointAt's In grow in proportion to the fraction
  // up to TotalIn when the channel itself is disabled.
  bool InEnabled = false;
  double InWeight = 0;
  bool InTotal = false;
  double TotalIn = 1.0;
  // Output-link rotation channel, likewise.
  bool OutEnabled = false;
  double OutWeight = 0;
  bool OutTotal = false;
  double TotalOut = 1.0;
  // Path channel of the combined fitting error; not stored in the file.
  bool PosEnabled = true;
  double PosWeight = 1.0;

  std::string Name = "Spline";

  void SetDefaults();
  // Defaults, no points, no samples, visible.
  void Clear();
  // Tangents, samples, arc lengths and a new ChangeStamp; with fewer than 2 points only the
  // samples are dropped.
  void Rebuild();

  int32_t PointCount() const { return static_cast<int32_t>(Points.size()); }
  shared::TPrePoint& Point(int32_t i) { return *Points[i]; }
  const shared::TPrePoint& Point(int32_t i) const { return *Points[i]; }

  // Takes ownership; clears every selection, numbers the point, selects it when SelectOnAdd.
  void AddPointObject(std::unique_ptr<shared::TPrePoint> point);
  // Appends a fresh point at (0, 0) and returns its index.
  int32_t NewPoint();
  void AddPoint(const shared::TComplex& position);
  void DeletePoint(int32_t i);
  void DeleteSelected();
  void MoveSelected(double dx, double dy);
  void DeselectAll();
  int32_t LastSelected() const;
  // Selects only the lowest-index point within the tolerance; true when one was hit.
  bool HitTest(const shared::TComplex& p, bool extend, double tolerance);
  // Bounding box of the control points; untouched without points.
  void GetExtents(shared::TComplex& min, shared::TComplex& max) const;

  // Segment i (1..n-1) from point i-1 to point i at parameter t: position, the enabled
  // channels and the unit tangent into out. Nothing for another i.
  void Hermite(int32_t i, double t, shared::TPrePoint& out) const;
  // The point at arc-length fraction f (0..1) of a usable curve, with the prescribed rotations.
  void PointAt(double f, shared::TPrePoint& out) const;
  // More than one point and a positive length.
  bool IsUsable() const;

  // Section Name: InWeight, InTotal, TotalIn, OutWeight, OutTotal, TotalOut, then one record
  // per control point (up to kMaxPoints). Nothing is written without points.
  void ReadTabLines(shared::TTabLines& lines = shared::TabLines());
  void WriteTabLines(shared::TTabLines& lines = shared::TabLines()) const;

  // Polyline through the samples, numbered point markers and the prescribed rotations as short
  // lines (output black, input blue); nothing while hidden or without points.
  void Draw(shared::TCanvas2D& canvas) const;
  // The report's table of control points in the display units of the unit service; polar shows
  // each point as distance and angle.
  void WriteHTML(std::ostream& out, bool polar) const;

 private:
  void ComputeTangents();
  // The arc-length fractions of the points, from the samples; a record needs only those, a drawing
  // keeps the samples too.
  void BuildSamples(bool keep);
};

}  // namespace quillon
