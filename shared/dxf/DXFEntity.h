// The entities of a DXF drawing or block: the base TDXFEntity with the common groups and its
// vertices, one class per entity type that reads its own groups, draws itself on a TCanvas2D
// and widens an extent, and the reader that builds entity lists from group pairs.
#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <vector>

#include "shared/Complex.h"
#include "shared/GeneralObject.h"
#include "shared/dxf/DXFGroup.h"
#include "shared/dxf/DXFTransForm.h"

namespace shared {

class TDXFBlock;
class TDXFLineType;

// Pen colour of a DXF colour index (1 red .. 11 green); 0, 256 and every other index black.
uint32_t DXFIndexColor(int32_t index);

class TDXFEntity : public TGeneralObject {
 public:
  explicit TDXFEntity(const TDXFProfile& profile = TDXFProfile::Animator(), int pointCount = 0);

  // The keyword the entity was read under, as in the file.
  std::string Keyword;
  int32_t PointCount = 0;
  // x, y in metres.
  std::vector<TComplex> Points;
  std::string LineTypeName;
  std::string Layer;
  double Elevation = 0;
  double Thickness = 0;
  int32_t PaperSpace = 0;
  std::string SubclassMarker;
  TVector3 Extrusion;
  // The drawing's line type of LineTypeName; none until the drawing binds it.
  const TDXFLineType* LineType = nullptr;
  int32_t ColorIndex = 0;
  // A group gave a number that is not finite: the entity is neither drawn nor measured, and the
  // drawing's warning names it among the entities it does not draw.
  bool Refused = false;

  void Assign(const TGeneralObject* source) override;
  std::unique_ptr<TGeneralObject> Clone() const override;
  void Draw(TCanvas2D& canvas) override;
  void DrawTransformed(TCanvas2D& canvas, const TDXFTransForm& transform) override;
  void UpdateExtent(TComplex& min, TComplex& max) const override;

  virtual void SetDefaults();
  // The base handles the common codes; subclasses call it first.
  virtual void ReadGroup(const TDXFGroup& group);
  // Widens min and max by the extent mapped through the transform (none: as stored).
  virtual void UpdateExtentThrough(TComplex& min, TComplex& max, const TDXFTransForm* transform) const;

  void SetColorIndex(int32_t index);
  const TDXFProfile& Profile() const { return *FProfile; }
  // Not refused, nor any part it draws.
  virtual bool Usable() const { return !Refused; }

 protected:
  // Pen style of the line type, then the pen; the subclasses then draw their geometry, every
  // point through the transform when one is given.
  void PrepareEntityPen(TCanvas2D& canvas);
  virtual void DrawGeometry(TCanvas2D& canvas, const TDXFTransForm* transform);
  // The points whose box is the extent; Curved says the box, not the points, must be mapped.
  virtual void ExtentPoints(std::vector<TComplex>& points) const;
  virtual bool Curved() const { return false; }
  TComplex Mapped(const TComplex& p, const TDXFTransForm* transform) const;
  // Point index code − base of groups 10.. / 20.., when below PointCount.
  bool ReadPointGroup(const TDXFGroup& group, int32_t base, int count);
  // Bit i: point i was given by the file.
  uint32_t FGiven = 0;

 private:
  const TDXFProfile* FProfile;
};

class TDXFLine : public TDXFEntity {
 public:
  explicit TDXFLine(const TDXFProfile& profile = TDXFProfile::Animator());
  void ReadGroup(const TDXFGroup& group) override;

 protected:
  void DrawGeometry(TCanvas2D& canvas, const TDXFTransForm* transform) override;
};

class TDXFPoint : public TDXFEntity {
 public:
  explicit TDXFPoint(const TDXFProfile& profile = TDXFProfile::Animator());
  double Angle = 0;
  void ReadGroup(const TDXFGroup& group) override;

 protected:
  void DrawGeometry(TCanvas2D& canvas, const TDXFTransForm* transform) override;
};

class TDXFCircle : public TDXFEntity {
 public:
  explicit TDXFCircle(const TDXFProfile& profile = TDXFProfile::Animator());
  double Radius = 0;
  void ReadGroup(const TDXFGroup& group) override;

 protected:
  void DrawGeometry(TCanvas2D& canvas, const TDXFTransForm* transform) override;
  void ExtentPoints(std::vector<TComplex>& points) const override;
  bool Curved() const override { return true; }
};

class TDXFArc : public TDXFCircle {
 public:
  explicit TDXFArc(const TDXFProfile& profile = TDXFProfile::Animator());
  double StartAngle = 0;
  double EndAngle = 0;
  void ReadGroup(const TDXFGroup& group) override;
  // Counter-clockwise from start to end, in [0, 2π).
  double Sweep() const;
  int SegmentCount() const;

 protected:
  void DrawGeometry(TCanvas2D& canvas, const TDXFTransForm* transform) override;
  // The end points and the points at 0°, 90°, 180°, 270° within the sweep.
  void ExtentPoints(std::vector<TComplex>& points) const override;
};

// TRACE and SOLID: four corners drawn as a closed outline.
class TDXFTrace : public TDXFEntity {
 public:
  explicit TDXFTrace(const TDXFProfile& profile = TDXFProfile::Animator());
  void ReadGroup(const TDXFGroup& group) override;

 protected:
  void DrawGeometry(TCanvas2D& canvas, const TDXFTransForm* transform) override;
};

class TDXFSolid : public TDXFTrace {
 public:
  explicit TDXFSolid(const TDXFProfile& profile = TDXFProfile::Animator());
};

class TDXFText : public TDXFEntity {
 public:
  explicit TDXFText(const TDXFProfile& profile = TDXFProfile::Animator());
  // "STANDARD" read from the file is shown as "Arial".
  std::string Style = "STANDARD";
  double Height = 0;
  double Rotation = 0;
  int32_t HorizontalJustification = 0;
  int32_t VerticalJustification = 0;
  void ReadGroup(const TDXFGroup& group) override;

 protected:
  void DrawGeometry(TCanvas2D& canvas, const TDXFTransForm* transform) override;
  // The alignment point only when the file gave it.
  void ExtentPoints(std::vector<TComplex>& points) const override;
};

class TDXFMText : public TDXFEntity {
 public:
  explicit TDXFMText(const TDXFProfile& profile = TDXFProfile::Animator());
  // Groups 3: the leading chunks of a long text, before group 1.
  std::string ExtraText;
  std::string Style = "STANDARD";
  double Height = 0;
  double ReferenceWidth = 0;
  double Rotation = 0;
  int32_t Attachment = 1;
  int32_t DrawingDirection = 0;
  // The decoded text split at "\P".
  std::vector<std::string> Lines;
  void ReadGroup(const TDXFGroup& group) override;

 protected:
  void DrawGeometry(TCanvas2D& canvas, const TDXFTransForm* transform) override;
  // The insertion point; the second point is a direction, not a place.
  void ExtentPoints(std::vector<TComplex>& points) const override;
};

class TDXFVertex : public TDXFEntity {
 public:
  explicit TDXFVertex(const TDXFProfile& profile = TDXFProfile::Animator());
  double StartWidth = 0;
  double EndWidth = 0;
  void ReadGroup(const TDXFGroup& group) override;

 protected:
  void DrawGeometry(TCanvas2D&, const TDXFTransForm*) override {}
};

class TDXFPolyline : public TDXFEntity {
 public:
  explicit TDXFPolyline(const TDXFProfile& profile = TDXFProfile::Animator());
  int32_t Flags = 0;
  std::vector<std::unique_ptr<TDXFVertex>> Vertices;
  bool Closed() const { return (Flags & 1) != 0; }
  void ReadGroup(const TDXFGroup& group) override;
  TDXFVertex* AddVertex(std::unique_ptr<TDXFVertex> vertex);
  bool Usable() const override;

 protected:
  void DrawGeometry(TCanvas2D& canvas, const TDXFTransForm* transform) override;
  void ExtentPoints(std::vector<TComplex>& points) const override;
};

class TDXFDimension : public TDXFEntity {
 public:
  explicit TDXFDimension(const TDXFProfile& profile = TDXFProfile::Animator());
  std::string BlockName;
  double Value = 0;
  double Angle1 = 0;
  double Angle2 = 0;
  int32_t DimensionType = 0;
  void ReadGroup(const TDXFGroup& group) override;

 protected:
  void DrawGeometry(TCanvas2D& canvas, const TDXFTransForm* transform) override;
  // Only the definition points the file gave.
  void ExtentPoints(std::vector<TComplex>& points) const override;
};

class TDXFInsert : public TDXFEntity {
 public:
  explicit TDXFInsert(const TDXFProfile& profile = TDXFProfile::Animator());
  double ScaleX = 1;
  double ScaleY = 1;
  double ScaleZ = 1;
  double ColumnSpacing = 0;
  double RowSpacing = 0;
  double Rotation = 0;
  int32_t AttributesFollow = 0;
  int32_t ColumnCount = 1;
  int32_t RowCount = 1;
  // The block of the name; none until bound. Not owned.
  TDXFBlock* Block = nullptr;
  void ReadGroup(const TDXFGroup& group) override;
  // Insertion point, rotation and scales; the block's base point, scaled and rotated with it,
  // lands on the insertion point.
  TDXFTransForm OwnTransform() const;
  // The insertion point and the block's extent through the insert.
  void UpdateExtentThrough(TComplex& min, TComplex& max, const TDXFTransForm* transform) const override;

 protected:
  void DrawGeometry(TCanvas2D& canvas, const TDXFTransForm* transform) override;
};

// Creates the entity of a kind (1..13 but 10 and 11); a plain TDXFEntity for any other.
std::unique_ptr<TDXFEntity> CreateDXFEntity(int kind, const TDXFProfile& profile);

// Builds an entity list from the pairs of an ENTITIES section or a block, one pair at a time.
class TDXFEntityReader {
 public:
  // unknownByKeyword: an entity of an unknown keyword takes the keyword as Name (in ENTITIES);
  // otherwise it keeps its default name (in blocks).
  TDXFEntityReader(TGeneralList& list, bool unknownByKeyword, std::vector<std::string>* log = nullptr)
      : FList(list), FUnknownByKeyword(unknownByKeyword), FLog(log) {}
  // Takes the pair in the group: a code-0 keyword starts an entity (VERTEX joins the open
  // polyline, SEQEND closes it); other pairs go to the entity being read, or nowhere.
  void Take(const TDXFGroup& group);

 private:
  TGeneralList& FList;
  bool FUnknownByKeyword;
  std::vector<std::string>* FLog;
  TDXFPolyline* FPolyline = nullptr;
  TDXFEntity* FTarget = nullptr;
};

}  // namespace shared
