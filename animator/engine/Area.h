// TArea and TAreaList: axis-aligned rectangles, each restricted to some joint letters, in which
// the joints' design positions must lie; their editing handles and the "Areas" section.
#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "shared/Canvas2D.h"
#include "shared/Complex.h"
#include "shared/TabLine.h"

namespace quillon {

class TArea {
 public:
  // What a drag moves.
  enum : int32_t {
    kWholeArea = 0,
    kMinXMinY = 1,
    kMinXMaxY = 2,
    kMaxXMaxY = 3,
    kMaxXMinY = 4,
  };

  // Index in the list.
  int32_t Id = 0;
  // (min x, min y) and (max x, max y) once normalised.
  shared::TComplex MinCorner;
  shared::TComplex MaxCorner;
  int32_t Handle = kWholeArea;
  bool Selected = false;
  bool Modified = false;
  // Joint letters the area applies to, trimmed and upper-cased; empty: every joint.
  std::string Letters;

  void SetLetters(const std::string& text);
  // Orders the corners' x and y values.
  void Normalise();
  double Width() const;
  double Height() const;
  bool IsEmpty() const;
  // Corners and letters.
  void Assign(const TArea& other);
  // The area applies to the letter and the position lies inside, edges included.
  bool Holds(const shared::TComplex& position, char letter);
  // The point lies within the tolerance band of an edge; Handle names the corner it is near
  // (0 when none), for a drag that follows.
  bool HitEdge(const shared::TComplex& p, double tolerance);
  // With extend, a selected area stays selected whatever the result.
  bool HitTestSelect(const shared::TComplex& p, bool extend, double tolerance);
  // Moves what Handle names.
  void Drag(double dx, double dy);
  // Id and letters, e.g. "0 All".
  std::string LabelText() const;
  // Letters, or "All" when empty.
  std::string IncludeText() const;

  // One record: min x, min y, max x, max y, letters.
  void ReadTabLine(shared::TTabLines& lines);
  void WriteTabLine(shared::TTabLines& lines) const;

  // Dotted outline, square markers at the corners, and the label when selected.
  void Draw(shared::TCanvas2D& canvas) const;
};

class TAreaList {
 public:
  // Areas one document may hold: the reader stops there with a warning.
  static constexpr int32_t kMaxAreas = 1000;

  bool Modified = false;
  std::vector<std::unique_ptr<TArea>> Items;
  // An area added through the list becomes the only selected one.
  bool SelectOnAdd = true;
  // Editing operations do nothing while the areas are hidden.
  bool Visible = true;
  std::string Name = "Areas";

  int32_t Count() const { return static_cast<int32_t>(Items.size()); }
  TArea& Item(int32_t i) { return *Items[i]; }
  const TArea& Item(int32_t i) const { return *Items[i]; }

  // No areas, visible.
  void Clear();
  // The list's flag or any area's.
  bool IsModified() const;
  // false also clears every area's flag.
  void SetModified(bool value);

  // Takes ownership; clears every selection, numbers the area, selects it when SelectOnAdd.
  void AddObject(std::unique_ptr<TArea> area);
  // Appends a fresh area and returns its index.
  int32_t NewArea();
  // The area the mouse starts to draw: it keeps dragging the second corner (Handle 3).
  void AddArea(const shared::TComplex& corner1, const shared::TComplex& corner2);
  void Delete(int32_t i);
  void DeleteSelected();
  // Deletes every area of width or height 0 (one drawn by a click without movement).
  void RemoveDegenerate();
  void DeselectAll();
  int32_t LastSelected() const;
  void MoveSelected(double dx, double dy);
  // Selects only the lowest-index area whose edge is hit; true when one was.
  bool HitTest(const shared::TComplex& p, bool extend, double tolerance);
  // The highest index whose area holds the position for the letter; -1 when none.
  int32_t IndexHolding(const shared::TComplex& position, char letter);
  // Grows the caller's box by both corners of every area.
  void GetExtents(shared::TComplex& min, shared::TComplex& max) const;

  // Section Name, one record per area (up to kMaxAreas); nothing is written for an empty list.
  void ReadTabLines(shared::TTabLines& lines = shared::TabLines());
  void WriteTabLines(shared::TTabLines& lines = shared::TabLines()) const;

  // Nothing while hidden.
  void Draw(shared::TCanvas2D& canvas) const;
  // The report's table of areas (numbered from 1, corners ordered) in the display units of the
  // unit service; polar shows each corner as distance and angle.
  void WriteHTML(std::ostream& out, bool polar) const;
};

}  // namespace quillon
