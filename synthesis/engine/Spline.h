// TSpline: the target curve of the synthesis program, a cubic Hermite spline through up to 80
// control points with optional rotation channels, its sampled copy, evaluation by length
// parameter, HTML table, spreadsheet import and the animator's "Curve" section.
#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "shared/TabLine.h"
#include "synthesis/engine/ComplexPoint.h"
#include "synthesis/engine/PrePoint.h"

namespace vesk {

// The cells of a worksheet, as the spreadsheet import reads them. Rows and columns count from
// 1; an empty cell reads 0. A cell that cannot be read as a number may raise.
class TSheetCells {
 public:
  virtual ~TSheetCells() = default;
  virtual double Value(int32_t row, int32_t column) const = 0;
  // The cell holds nothing (a 0 typed in it is not empty); cells that cannot tell are filled.
  virtual bool IsEmpty(int32_t, int32_t) const { return false; }
};

class TSpline : public TComplexPointList {
 public:
  static constexpr int32_t kCapacity = 80;
  static constexpr int32_t kSampleCapacity = 200;
  // IDs are drawn from 0..kIDRange-1.
  static constexpr int32_t kIDRange = 12345678;

  TSpline();

  // Redrawn at random by every Recalc of two or more points; -1 until then.
  int32_t ID = -1;
  // Length of the sampled polyline.
  double CurveLength = 0;
  // Spline tangents of the rotation channels, one per control point (index i - 1 for point i).
  std::vector<double> OutTangents;
  std::vector<double> InTangents;
  // An input rotation at every point, or (exclusively) only the total TotalIn.
  bool In = false;
  bool InTotal = false;
  double TotalIn = 1.0;
  // An output rotation at every point, or (exclusively) only the total TotalOut.
  bool Out = false;
  bool OutTotal = false;
  double TotalOut = 1.0;
  // The sampled curve (TPrePoint items); a sample's s is the running length.
  TComplexPointList Samples{kSampleCapacity};

  // Tangents, samples, arc-length parameters and a new ID; with fewer than two points only the
  // samples are dropped.
  void Recalc();
  // Two or more points and a sampled length: a curve whose points all coincide has no length
  // parameter to place points by.
  bool IsValid() const;
  // A valid curve of three or more points whose last point repeats its first (within a
  // billionth of its length): a loop.
  bool IsClosed() const;
  // nullptr outside 1..Count.
  TPrePoint* GetPoint(int32_t i) const;
  TPrePoint* GetSelectedPoint() const;
  // The point at curve parameter s, with the rotations prescribed there. Nothing without two
  // control points.
  void PointAt(TPrePoint& point, double s) const;
  // The point at t in [0, 1] on the segment ending at control point k (2 <= k <= Count):
  // position, unit tangent and the prescribed rotation channels. Nothing for another k.
  void Evaluate(int32_t k, TPrePoint& point, double t) const;
  // From control point 1, widened over all; nothing with fewer than two points.
  void GetExtents(shared::TComplex& min, shared::TComplex& max) const;
  // Out is set and every control point's Out is exactly 0.
  bool HasZeroOutRotations() const;
  // How near a path that follows the curve passes control point k (1-based): a tenth of the
  // curve's length, less on a loop the curve makes (the closed curve itself, or a stretch
  // between two crossing sides) whose scale, twice its area over its perimeter, is smaller.
  // 0 outside 1..Count or before a Recalc.
  double PassTolerance(int32_t k) const;
  // The area the sampled loop of a closed curve encloses, positive counter-clockwise; 0 for an
  // open curve.
  double LoopArea() const { return fLoopArea; }

  // Points of another class come in as curve points.
  TComplexPoint* Add(std::unique_ptr<TComplexPoint> item) override;
  // The settings back to their defaults, samples and points gone; the ID stays.
  void Clear() override;
  // The list record, a version line, ID and the six settings; the stored ID survives Recalc.
  void Read(std::istream& in) override;
  void Write(std::ostream& out) override;
  // Points and, from a curve, its settings, then Recalc; a curve's ID (when drawn) comes along.
  void Assign(const TComplexPointList& source) override;
  // The samples, the control points and, with output rotations, the output-body drawing at the
  // selected point turned by its Out.
  void Draw(shared::TCanvas2D& canvas) const override;

  // A table of the control points in display units.
  void WriteHtml(std::ostream& out) const;
  // Control points from row 2 on until a 0 in column 1, at most kCapacity: position in columns
  // 2 and 3 (polar: R and angle), Out in 4, In in 5, in display units (the first point's
  // rotations are 0 by definition). Column 4 empty in every row after the first leaves the
  // output rotation free; a typed 0 is a value. Column 5 empty or 0 in every row after the first
  // leaves the input rotation free, a value only in the last row prescribes it as a total. Where
  // some of these rows have a value and others not, the rotation is prescribed at every point,
  // the rows without one interpolated along the curve between the nearest rows with one (after
  // the last of them, its value), and notice names the rows and what was prescribed; otherwise
  // notice is empty. When a cell raises, the points of the rows before it stay, recalculated,
  // and the exception goes on.
  void ImportFromSheet(const TSheetCells& cells, std::string* notice = nullptr);
  // The "Curve" section that the animator reads as its target curve; nothing without points.
  void ExportTabLines(shared::TTabLines& lines = shared::TabLines()) const;

 protected:
  std::unique_ptr<TComplexPoint> NewItem() const override;

 private:
  template <class Io>
  void Fields(Io& io);
  void SolveTangents();
  void Resample();
  // PassTolerance and LoopArea from the samples.
  void MeasureLoops();
  // CurveLength is more than the rounding of evaluating coincident points.
  bool HasLength() const;
  // The import's values of the points without one in their row (given per point, point 1 always
  // given), from the points' curve parameters; the words that tell the user.
  std::string FillRotations(const std::vector<bool>& given, double TPrePoint::*channel, const char* column,
                            const char* empty, const char* rotation);

  std::vector<double> fPassTolerances;
  double fLoopArea = 0;
};

}  // namespace vesk
