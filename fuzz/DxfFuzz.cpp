// libFuzzer target of the DXF reader and the "[List]" reader: the first byte picks the reader
// (the animator's or the synthesis program's DXF profile, or a general list), the rest is the
// file. A loaded drawing is also measured and drawn, inserts and all, on a surface that keeps
// nothing; the table reader's bytes are also read as an extrusion vector's text line. Read
// errors are expected; anything else is a finding.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "shared/AniCanvas2D.h"
#include "shared/GeneralObject.h"
#include "shared/dxf/DXFDrawing.h"
#include "shared/dxf/DXFTable.h"

namespace {

using namespace shared;

class TNullSurface : public TPaintSurface {
 public:
  int Width() const override { return 640; }
  int Height() const override { return 480; }
  void SetSize(int, int) override {}
  void SetPen(const TPen& pen) override { FPen = pen; }
  TPen Pen() const override { return FPen; }
  void SetBrush(const TBrush& brush) override { FBrush = brush; }
  TBrush Brush() const override { return FBrush; }
  void SetFont(const TFont& font) override { FFont = font; }
  TFont Font() const override { return FFont; }
  void MoveTo(int, int) override {}
  void LineTo(int, int) override {}
  void Polyline(std::span<const TPoint>) override {}
  void Polygon(std::span<const TPoint>) override {}
  void Ellipse(int, int, int, int) override {}
  void FillRect(int, int, int, int) override {}
  void TextOut(int, int, const std::string&) override {}
  TSize TextExtent(const std::string& text) override { return {int(text.size()) * 7, 13}; }
  void DrawRaster(int, int, const TRaster&) override {}
  void Draw(int, int, const TPaintSurface&) override {}
  TRaster ReadPixels() const override { return {}; }

 private:
  TPen FPen;
  TBrush FBrush;
  TFont FFont;
};

class TNullPaintBox : public TPaintBox {
 public:
  int Width() const override { return 640; }
  int Height() const override { return 480; }
  int ParentClientWidth() const override { return 640; }
  int ParentClientHeight() const override { return 480; }
  TPaintSurface& Canvas() override { return FScreen; }
  std::unique_ptr<TPaintSurface> CreateBitmap(int, int) override { return std::make_unique<TNullSurface>(); }
  void SetCursor(int) override {}
  TColor WindowColor() const override { return kWhite; }

 private:
  TNullSurface FScreen;
};

void Show(TDXFDrawing& drawing) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  TComplex min(kInf, kInf), max(-kInf, -kInf);
  drawing.UpdateExtent(min, max);
  TNullPaintBox box;
  TAniCanvas2D canvas(box, 1.0);
  if (min.X <= max.X && min.Y <= max.Y) canvas.SetWorldRect(min.X, max.X, min.Y, max.Y);
  drawing.ShowDimensions = true;
  drawing.Draw(canvas);
  drawing.DrawAt(canvas, 0.1, -0.2, 0.7);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::istringstream in(text);
  try {
    switch (data[0] % 4) {
      case 0:
      case 1: {
        TDXFDrawing drawing(data[0] % 4 == 0 ? TDXFProfile::Animator() : TDXFProfile::Synthesis());
        try {
          drawing.LoadDXF(in);
        } catch (const EFileReadError&) {
        }
        Show(drawing);
        // The warning of kinds not drawn stays one line, whatever keywords the file makes up.
        if (drawing.UndrawnWarning().find_first_of("\r\n") != std::string::npos) __builtin_trap();
        break;
      }
      case 2: {
        // What was read is written the same way after a second round.
        TGeneralList list;
        list.LoadFromStream(in);
        std::ostringstream first;
        list.WriteToText(first);
        std::istringstream again("[List]\r\n" + first.str());
        TGeneralList copy;
        copy.LoadFromStream(again);
        std::ostringstream second;
        copy.WriteToText(second);
        if (first.str() != second.str()) __builtin_trap();
        break;
      }
      default: {
        TDXFTable table;
        table.LoadFromStream(in);
        // The same bytes as a vector's text line: what it writes, it reads back to the same line.
        std::istringstream line(text);
        std::optional<TVector3> read;
        try {
          read.emplace(line);
        } catch (const EFileReadError&) {
        }
        if (read) {
          std::stringstream first;
          read->WriteToText(first);
          std::ostringstream second;
          try {
            TVector3(first).WriteToText(second);
          } catch (const EFileReadError&) {
            __builtin_trap();
          }
          if (first.str() != second.str()) __builtin_trap();
        }
        break;
      }
    }
  } catch (const EFileReadError&) {
  }
  return 0;
}
