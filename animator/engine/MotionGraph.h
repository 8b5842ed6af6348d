// TMotionGraph: the motion graph of the animator without its window: the per-step series of one
// kind taken from the mechanism, the plot layout, painting on a paint surface, and the worksheets
// and charts of the workbook export.
#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "shared/AxisTicks.h"
#include "shared/PaintSurface.h"

namespace shared {
class TWorkbook;
class TWorksheet;
}  // namespace shared

namespace quillon {

class TAniMechanism;

// Graph kinds: the tags of the frame's kind buttons.
enum TGraphKind : int {
  gkRotation = 0,
  gkAngularVelocity = 1,
  gkAngularAcceleration = 2,
  gkPath = 3,
  gkPathVelocity = 4,
  gkPathAcceleration = 5,
  gkTransmission = 10,
  gkPathError = 11,
  gkRotationError = 12,
};

// Texts of the language file's "Graph" section.
struct TGraphTexts {
  std::string TimeHint = "Function of Time or Input Angle";
  std::string Error = "Path Error";
  std::string RotError = "Rotation Error";
  std::array<std::string, 3> Rot = {"Rotation", "Angular Velocity", "Angular Acceleration"};
  std::array<std::string, 3> Path = {"Path", "Velocity", "Acceleration"};
  std::string Trans = "Transmission Angle";
  std::string Time = "Time";
  std::string Input = "Input Rotation";
  std::string Vectors = "Vectors";
  std::string Pos = "Pos.";
};

// Picture numbers in the graph's image list: x axis by time or input, and kind k at k + 1.
inline constexpr int kTimePicture = 0;
inline constexpr int kInputPicture = 7;
inline constexpr int PictureOfKind(int kind) { return kind + 1; }

class TMotionGraph {
 public:
  static constexpr int kInitialCapacity = 120;
  static constexpr int kCapacityStep = 20;
  static constexpr int kSeriesColorCount = 10;
  // "1234.123456": the units service's width sample, whose height is the label line height.
  static constexpr const char* kSampleText = "1234.123456";

  // Kind 0 on no mechanism, x by time.
  TMotionGraph();

  // The view's mechanism, not owned; nullptr: nothing to plot.
  const TAniMechanism* Mechanism = nullptr;
  TGraphTexts Texts;
  // Pictures of the labels (kTimePicture, kInputPicture, PictureOfKind); none: no pictures.
  const shared::TImageList* Images = nullptr;

  shared::TColor CursorColor = 0x800000;
  shared::TColor FrameColor = shared::kBlack;
  shared::TColor GridColor = shared::kGray;
  shared::TColor BackColor = shared::kWhite;
  std::array<shared::TColor, kSeriesColorCount> SeriesColors = {
      0x0000FF, 0xFF0000, 0x008080, 0xFF00FF, 0x00FF00, 0x000080, 0x00FFFF, 0x008000, 0x800000, 0x808080};
  // Series past the tenth start the colours again.
  shared::TColor SeriesColor(int series) const { return SeriesColors[series % kSeriesColorCount]; }
  // At most this many grid divisions; the lines stand at round values of the scales.
  int GridColumns = 6;
  int GridRows = 6;
  bool ShowGrid = true;
  bool ShowLabels = true;
  // Whether the error kinds may be shown and their sheet written; the frame keeps it.
  bool ErrorAvailable = false;
  bool XIsTime = true;

  // A kind >= 0 becomes Kind; then the data are filled from the mechanism for Kind. The layout
  // follows on the next Layout or Paint.
  void Rebuild(int kind = -1);
  int Kind() const { return FKind; }

  // The data table.
  void Clear();
  // At least one series.
  void SetSeriesCount(int n);
  int SeriesCount() const { return FSeriesCount; }
  // Values beyond SeriesCount are ignored.
  void AddPoint(double x, std::span<const double> values);
  int Count() const { return FCount; }
  int Capacity() const { return FCapacity; }
  double X(int point) const { return Data[0][point]; }
  double Value(int point, int series) const { return Data[series + 1][point]; }
  double XMin() const { return FXMin; }
  double XMax() const { return FXMax; }
  double YMin() const { return FYMin; }
  double YMax() const { return FYMax; }
  bool Valid() const { return Axes.Drawable; }

  const std::string& Title() const { return FTitle; }
  const std::string& XCaption() const { return FXCaption; }
  int XCategory() const { return FXCategory; }
  const std::vector<std::string>& SeriesNames() const { return FSeriesNames; }
  int ValueCategory() const { return FValueCategory; }

  // Margins and plot rectangle from the surface's size and font; the ticks at round display
  // values, the y range widened to them, and the scales.
  void Layout(shared::TPaintSurface& surface);
  int PlotLeft() const { return Left; }
  int PlotTop() const { return Top; }
  int PlotRight() const { return Right; }
  int PlotBottom() const { return Bottom; }
  int LeftMargin() const { return FLeftMargin; }
  int TopMargin() const { return FTopMargin; }
  int BottomMargin() const { return FBottomMargin; }
  int ScreenX(int point) const;
  int ScreenY(int point, int series) const;
  // The scales' ticks after the last layout, SI values, lowest first.
  const std::vector<double>& XTickValues() const { return Axes.XTicks; }
  const std::vector<double>& YTickValues() const { return Axes.YTicks; }

  // -1: no cursor. The line shows only strictly between the first and the last point; the
  // legend shows values only for a step within the points.
  void SetCursor(int step) { CursorIndex = step; }
  int Cursor() const { return CursorIndex; }
  bool CursorLineShown() const { return CursorIndex > 0 && CursorIndex < FCount - 1; }
  bool CursorHasValues() const { return CursorIndex >= 0 && CursorIndex < FCount; }
  // The label texts as painted.
  std::string XLegend() const;
  std::string SeriesLegend(int series) const;

  // Lays out and paints the whole graph, background included.
  void Paint(shared::TPaintSurface& surface);
  // Paints on the off-screen surface, reduces it to the 16 colours of a 4-bit bitmap and saves
  // it as a JPEG file; raises std::runtime_error when the file cannot be written.
  void SaveJPEG(shared::TPaintSurface& bitmap, const std::string& fileName);

  // Worksheets of the workbook export: each adds a sheet (and a chart sheet when it has
  // series). Quantity 0..2. The error sheet is written only while the error graphs are
  // available. They write nothing without a mechanism.
  void WriteLinkSheet(shared::TWorkbook& book, int quantity) const;
  void WritePathSheet(shared::TWorkbook& book, int quantity) const;
  void WriteTransmissionSheet(shared::TWorkbook& book) const;
  void WriteErrorSheet(shared::TWorkbook& book) const;
  void WriteVectorsSheet(shared::TWorkbook& book) const;
  // A smooth scatter chart of the columns firstColumn..lastColumn over column B, rows 4 to
  // lastRow, each series named by its row 2.
  static void AddChart(shared::TWorkbook& book, const shared::TWorksheet& sheet, const std::string& chartName,
                       int firstColumn, int lastColumn, int lastRow, const std::string& valueAxisTitle,
                       const std::string& title);

 private:
  struct TSeriesSource;
  TSeriesSource SourceOf(int kind) const;
  void WriteSeriesSheet(shared::TWorkbook& book, const std::string& sheetName, const std::string& chartName,
                        const TSeriesSource& source) const;
  int XHeaderAndSteps(shared::TWorksheet& sheet, const std::string& caption) const;
  double XOfStep(int step) const;
  int PictureWidth() const;
  int PictureHeight() const;
  void DrawPicture(shared::TPaintSurface& surface, int index, int x, int y) const;
  void PaintLabels(shared::TPaintSurface& surface, int h);
  int TickX(double x) const;
  int TickY(double y) const;

  int FKind = -1;
  int FSeriesCount = 1;
  int FCapacity = kInitialCapacity;
  int FCount = 0;
  // Row 0 the x values, row i + 1 series i; FCapacity columns each.
  std::vector<std::vector<double>> Data;
  double FXMin = 0, FXMax = 0, FYMin = 0, FYMax = 0;
  // The ranges as plotted (y widened to round ticks in display units), ticks and scales.
  shared::TGraphAxes Axes;
  int FLeftMargin = 10, FTopMargin = 10, FBottomMargin = 10, RightMargin = 8;
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int CursorIndex = -1;
  std::string FTitle;
  std::string FXCaption;
  int FXCategory = 0;
  std::vector<std::string> FSeriesNames;
  int FValueCategory = 0;
};

}  // namespace quillon
