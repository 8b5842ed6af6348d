// TDrawing: the picture that the output link carries (line segments, an origin and a DXF drawing
// under the lines), one for the whole program, with its block of the project file.
#pragma once

#include <istream>
#include <memory>
#include <ostream>
#include <string>

#include "shared/GeneralObject.h"
#include "shared/dxf/DXFTransForm.h"
#include "synthesis/engine/ComplexLine.h"
#include "synthesis/engine/ComplexPoint.h"

namespace vesk {

// The DXF drawing under the lines, as the output-link drawing uses it. The DXF library's drawing
// stands behind it (NewDXFUnderlay); tests may give their own.
class TDXFUnderlay {
 public:
  virtual ~TDXFUnderlay() = default;
  // Clears, then reads the file; a missing or unreadable file leaves it empty.
  virtual void Load(const std::string& path) = 0;
  virtual void Clear() = 0;
  virtual bool HasEntities() const = 0;
  virtual void DrawTransformed(shared::TCanvas2D& canvas, const shared::TDXFTransForm& transform) = 0;
  // Widens min and max by the entities' extent.
  virtual void UpdateExtent(shared::TComplex& min, shared::TComplex& max) const = 0;  // The DXF library's warning of entities of kinds that are not drawn; "" when there are none.
  virtual std::string UndrawnWarning() const { return {}; }
};

// The underlay of every new TDrawing.
std::unique_ptr<TDXFUnderlay> NewDXFUnderlay();

class TDrawing : public shared::TGeneralList {
 public:
  // The default house, nothing modified.
  TDrawing();
  explicit TDrawing(std::unique_ptr<TDXFUnderlay> dxf);

  // Scratch space for the picture's own shift; not stored.
  shared::TDXFTransForm Transform;
  TComplexPoint Origin;
  // Set by the output-link view while a press on the origin drags it.
  bool OriginGrabbed = false;
  // The project file's folder; the DXF file name is stored relative to it.
  std::string ProjectDirectory;
  bool ShowOrigin = true;

  TDXFUnderlay& DXFDrawing() const { return *fDXF; }
  // The full path of the DXF drawing, "" for none. Kept when the file cannot be read, so that
  // saving the project does not drop the reference.
  const std::string& DXFFileName() const { return fDXFFileName; }
  // Loads the DXF drawing from the path ("" clears it); a file that fails to load leaves it
  // empty.
  void LoadDXF(const std::string& path);
  // As LoadDXF, but a file that fails raises the DXF library's error and keeps what was read;
  // a name that is no regular file (a folder, a device) raises without reading. A missing file
  // leaves the drawing empty.
  void ImportDXF(const std::string& path);

  // Item i (0-based) as a line; nullptr outside 0..Count-1.
  TComplexLine* GetLine(int32_t i) const;
  // A small house of seven lines about the origin (0, 0); nothing current.
  void MakeDefault();

  // The lines, the list, and the origin as well: moving it is a change to save.
  bool GetModified() const override;
  void SetModified(bool value) override;
  // The list record, "0", the origin, the DXF file name relative to ProjectDirectory. Reading
  // loads the DXF drawing and sets AppOptions.ShowOutputLinkDrawing when it has entities.
  void ReadFromText(std::istream& in) override;
  void WriteToText(std::ostream& out) override;
  // The lines and the origin.
  void Assign(const shared::TGeneralObject* source) override;
  // The lines, and the origin's red circle and cross when ShowOrigin.
  void Draw(shared::TCanvas2D& canvas) override;
  // DXF drawing, lines and origin, with Origin put where the placement puts the origin.
  void DrawTransformed(shared::TCanvas2D& canvas, const shared::TDXFTransForm& placement) override;
  // Without a placement: as drawn in the picture's own co-ordinates.
  void DrawPlaced(shared::TCanvas2D& canvas, const shared::TDXFTransForm* placement);
  // Sets min and max to the origin first, then widens them by the lines and the DXF drawing.
  void UpdateExtent(shared::TComplex& min, shared::TComplex& max) const override;
  void CreateItems(int32_t n) override;
  // The lines and the DXF drawing; the origin and the flags stay.
  void Clear() override;

  // The DXF file name as stored: relative to ProjectDirectory ("" for none).
  std::string StoredDXFName() const;
  // The full path that a stored name stands for.
  std::string DXFPathOf(const std::string& stored) const;

 private:
  void DrawOrigin(shared::TCanvas2D& canvas, const shared::TComplex& at);

  std::unique_ptr<TDXFUnderlay> fDXF;
  std::string fDXFFileName;
};

// The program's output-link drawing, created on first use and kept for the whole run.
TDrawing& Drawing();

}  // namespace vesk
