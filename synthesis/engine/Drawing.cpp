// The output-link drawing: its default house, placement, extent, DXF file name and record.
#include "synthesis/engine/Drawing.h"

#include <algorithm>
#include <exception>
#include <filesystem>

#include "shared/Canvas2D.h"
#include "shared/Complex.h"
#include "shared/FilePath.h"
#include "shared/dxf/DXFDrawing.h"
#include "synthesis/engine/AppOptions.h"

namespace vesk {

using shared::TComplex;
namespace fs = std::filesystem;

namespace {

// The DXF library's drawing, read and drawn as the synthesis program shows DXF pictures.
class TLibraryDXFUnderlay final : public TDXFUnderlay {
 public:
  TLibraryDXFUnderlay() : fDrawing(shared::TDXFProfile::Synthesis()) {}
  void Load(const std::string& path) override { fDrawing.LoadFromFile(path); }
  void Clear() override { fDrawing.Clear(); }
  bool HasEntities() const override { return fDrawing.Count() > 0; }
  void DrawTransformed(shared::TCanvas2D& canvas, const shared::TDXFTransForm& transform) override {
    fDrawing.DrawTransformed(canvas, transform);
  }
  void UpdateExtent(TComplex& min, TComplex& max) const override { fDrawing.UpdateExtent(min, max); }
  std::string UndrawnWarning() const override { return fDrawing.UndrawnWarning(); }

 private:
  shared::TDXFDrawing fDrawing;
};

// Line ends of the default house, in metres.
constexpr double kHouse[7][4] = {
    {0, 0, -0.1, 0},       {-0.1, 0, -0.1, 0.1},     {-0.1, 0.1, 0, 0.1}, {0, 0.1, 0, 0},
    {0, 0.1, -0.05, 0.15}, {-0.05, 0.15, -0.1, 0.1}, {0, 0, -0.1, 0.1},
};

}  // namespace

std::unique_ptr<TDXFUnderlay> NewDXFUnderlay() { return std::make_unique<TLibraryDXFUnderlay>(); }

TDrawing::TDrawing() : TDrawing(NewDXFUnderlay()) {}

TDrawing::TDrawing(std::unique_ptr<TDXFUnderlay> dxf) : fDXF(dxf ? std::move(dxf) : NewDXFUnderlay()) {
  MakeDefault();
  SetModified(false);
}

bool TDrawing::GetModified() const { return TGeneralList::GetModified() || Origin.Modified; }

void TDrawing::SetModified(bool value) {
  TGeneralList::SetModified(value);
  Origin.Modified = value;
}

void TDrawing::LoadDXF(const std::string& path) {
  // A damaged DXF file must not make the project that names it unreadable.
  try {
    ImportDXF(path);
  } catch (const std::exception&) {
    fDXF->Clear();
  }
}

void TDrawing::ImportDXF(const std::string& path) {
  fDXFFileName = path;
  Modified = true;
  if (path.empty()) {
    fDXF->Clear();
    return;
  }
  // A device or a pipe is refused by the reader, which would block on it for ever.
  fDXF->Load(path);
}

TComplexLine* TDrawing::GetLine(int32_t i) const {
  return ValidIndex(i) ? dynamic_cast<TComplexLine*>(Items(i)) : nullptr;
}

void TDrawing::MakeDefault() {
  Clear();
  Pen.Color = shared::kBlack;
  for (const auto& end : kHouse) Add(std::make_unique<TComplexLine>(end[0], end[1], end[2], end[3]));
  Origin.SetXY(0, 0);
  Deselect();
}

void TDrawing::ReadFromText(std::istream& in) {
  TGeneralList::ReadFromText(in);
  shared::ReadRecordLine(in, "Version");
  Origin.ReadFromText(in);
  const std::string stored = shared::ReadRecordLine(in, "DXF file");
  LoadDXF(DXFPathOf(stored));
  AppOptions.ShowOutputLinkDrawing = fDXF->HasEntities();
  Modified = false;
}

void TDrawing::WriteToText(std::ostream& out) {
  TGeneralList::WriteToText(out);
  shared::WriteRecordLine(out, "0");
  Origin.WriteToText(out);
  // A line break in the name would split the record.
  std::string stored = StoredDXFName();
  std::replace(stored.begin(), stored.end(), '\r', ' ');
  std::replace(stored.begin(), stored.end(), '\n', ' ');
  shared::WriteRecordLine(out, stored);
}

void TDrawing::Assign(const shared::TGeneralObject* source) {
  TGeneralList::Assign(source);
  if (const auto* drawing = dynamic_cast<const TDrawing*>(source)) Origin.Assign(drawing->Origin);
}

void TDrawing::DrawOrigin(shared::TCanvas2D& canvas, const TComplex& at) {
  canvas.SetPen(shared::kRed, 1, shared::TPenStyle::Solid);
  canvas.Marker(at, shared::kMarkerCircle, 4);
  canvas.Marker(at, shared::kMarkerCross, 8);
}

void TDrawing::Draw(shared::TCanvas2D& canvas) {
  TGeneralList::Draw(canvas);
  if (ShowOrigin) DrawOrigin(canvas, Origin);
}

void TDrawing::DrawTransformed(shared::TCanvas2D& canvas, const shared::TDXFTransForm& placement) {
  DrawPlaced(canvas, &placement);
}

void TDrawing::DrawPlaced(shared::TCanvas2D& canvas, const shared::TDXFTransForm* placement) {
  shared::TDXFTransForm work;
  if (placement) {
    Transform.Reset();
    Transform.OffsetX = -Origin.X;
    Transform.OffsetY = -Origin.Y;
    work.Assign(placement);
    work.Compose(Transform);
  }
  fDXF->DrawTransformed(canvas, work);
  TGeneralList::DrawTransformed(canvas, work);
  if (ShowOrigin) DrawOrigin(canvas, work.Applied(Origin));
}

void TDrawing::UpdateExtent(TComplex& min, TComplex& max) const {
  min = Origin;
  max = Origin;
  TGeneralList::UpdateExtent(min, max);
  fDXF->UpdateExtent(min, max);
}

void TDrawing::CreateItems(int32_t n) {
  for (int32_t i = 0; i < n; ++i) Add(std::make_unique<TComplexLine>());
}

void TDrawing::Clear() {
  TGeneralList::Clear();
  LoadDXF("");
}

std::string TDrawing::StoredDXFName() const {
  if (fDXFFileName.empty() || ProjectDirectory.empty()) return fDXFFileName;
  const fs::path relative =
      shared::FullNormal(fDXFFileName).lexically_relative(shared::FullNormal(ProjectDirectory));
  return relative.empty() ? fDXFFileName : relative.generic_string();
}

std::string TDrawing::DXFPathOf(const std::string& stored) const {
  if (stored.empty()) return "";
  // Files written on Windows separate folders with "\".
  std::string name = stored;
  std::replace(name.begin(), name.end(), '\\', '/');
  const fs::path path(name);
  if (path.is_absolute() || ProjectDirectory.empty()) return name;
  return (fs::path(ProjectDirectory) / path).lexically_normal().string();
}

TDrawing& Drawing() {
  static TDrawing drawing;
  return drawing;
}

}  // namespace vesk
