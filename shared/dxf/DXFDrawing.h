// TDXFDrawing: a whole ASCII DXF drawing in memory for display (its entities, blocks, line
// types and header), loaded from a file or a string and drawn at its own placement or at a
// pose that a caller hands in.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <utility>
#include <vector>

#include "shared/GeneralObject.h"
#include "shared/dxf/DXFBlock.h"
#include "shared/dxf/DXFEntity.h"
#include "shared/dxf/DXFGroup.h"
#include "shared/dxf/DXFHeader.h"
#include "shared/dxf/DXFTable.h"
#include "shared/dxf/DXFTransForm.h"

namespace shared {

class TDXFDrawing : public TGeneralList {
 public:
  // The profile (the animator's or the synthesis program's) outlives the drawing.
  explicit TDXFDrawing(const TDXFProfile& profile = TDXFProfile::Animator());

  // "Untitled" at creation, empty after Clear (the synthesis profile keeps "Untitled"), the
  // path after a successful LoadFromFile.
  std::string FileName;
  TDXFBlockList Blocks;
  TDXFGroup Group;
  TDXFHeader Header;
  TDXFTable LineTypes;
  // The drawing's own placement; reset at creation and by Clear.
  TDXFTransForm Transform;
  // Progress lines of loading, when the caller attaches a list; not owned.
  std::vector<std::string>* Log = nullptr;
  bool ShowDimensions = false;
  bool ShowText = true;
  // Synthesis profile: Draw draws only the INSERT entities.
  bool InsertsOnly = false;

  const TDXFProfile& Profile() const { return *FProfile; }

  void Clear() override;
  // Clear; a missing file leaves the drawing empty. A malformed group raises EFileReadError
  // naming the line and keeps what was read.
  void LoadFromFile(const std::string& path) override;
  void LoadFromString(const std::string& text);
  // The DXF text of the stream, as LoadFromFile reads a file (FileName stays as it is).
  void LoadDXF(std::istream& in);
  // Plain entities, so a "[List]" record or Assign keeps every item an entity.
  void CreateItems(int32_t n) override;
  // DXF is never written: raises.
  void SaveToFile(const std::string& path) override;
  void Draw(TCanvas2D& canvas) override;
  void DrawTransformed(TCanvas2D& canvas, const TDXFTransForm& transform) override;
  // At the drawing's own placement (the identity when the profile has none).
  void DrawPlaced(TCanvas2D& canvas);
  // Placed first, then turned by angle and moved to (x, y): a link's pose.
  void DrawAt(TCanvas2D& canvas, double x, double y, double angle);

  // Entities that no reader class draws (keywords such as LWPOLYLINE, HATCH or SPLINE) or that
  // were refused for a number that is not finite, in the ENTITIES section and in the blocks: per
  // keyword as in the file, in the order first met.
  std::vector<std::pair<std::string, int32_t>> UndrawnKinds() const;
  // Empty when every entity is of a kind that is drawn; otherwise FileName and the counts, as
  // "part.dxf holds entities that are not drawn: 3 LWPOLYLINE, 1 HATCH.", for a warning.
  std::string UndrawnWarning() const;

  void ReadTables(std::istream& in);
  void ReadEntities(std::istream& in);
  void ResolveReferences();

 private:
  bool Shown(const TGeneralObject& entity) const;
  void AddLog(const std::string& line);

  const TDXFProfile* FProfile;
};

}  // namespace shared
