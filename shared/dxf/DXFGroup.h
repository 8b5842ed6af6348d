// TDXFGroup: one group pair of an ASCII DXF file (code line, value line) with its value kinds,
// keyword tests, text decoding and unit scale; TDXFProfile, how one of the two programs shows
// DXF; TVector3, an entity's extrusion direction.
#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>
#include <string>

namespace shared {

// The two programs read and draw DXF with one library; the synthesis program's differences are
// this profile.
struct TDXFProfile {
  // Integer codes 60-79, 170-175, 1060-1079 only (90-99, 280-289, 370-389, 400-409 are text).
  bool SynthesisValueKinds = false;
  // Every entity drawn with this pen colour whatever its colour index (0: the index's colour).
  uint32_t FixedPenColor = 0;
  bool FixedPen = false;
  int CircleSegments = 64;
  int CircleSegmentsTransformed = 80;
  int ArcSegmentsPerTurn = 64;
  // TEXT and MTEXT horizontal, through the aligned and anchored text operations.
  bool UnrotatedText = false;
  // The drawing's own Transform places it (DrawPlaced, DrawAt); otherwise only the caller does.
  bool OwnPlacement = true;
  // Draw leaves out dimensions and text by ShowDimensions and ShowText.
  bool FilterInDraw = true;
  bool ShowDimensionsAtCreation = false;
  bool ShowTextAtCreation = true;
  // Clear sets FileName to the default document name instead of emptying it.
  bool ClearKeepsDefaultName = false;

  static const TDXFProfile& Animator();
  static const TDXFProfile& Synthesis();
};

enum class TDXFValueKind { Real, Integer, Text };

// Entity kinds of the code-0 keywords.
inline constexpr int kEntityLine = 1;
inline constexpr int kEntityPoint = 2;
inline constexpr int kEntityCircle = 3;
inline constexpr int kEntityArc = 4;
inline constexpr int kEntityTrace = 5;
inline constexpr int kEntitySolid = 6;
inline constexpr int kEntityText = 7;
inline constexpr int kEntityMText = 8;
inline constexpr int kEntityPolyline = 9;
inline constexpr int kEntityVertex = 10;
inline constexpr int kEntitySeqEnd = 11;
inline constexpr int kEntityInsert = 12;
inline constexpr int kEntityDimension = 13;

inline constexpr double kMillimetre = 0.001;
inline constexpr double kInch = 0.0254;

// The DXF text codes replaced: "%%p" the plus-minus sign (Windows-1252), "%%c" "D", any other
// code (or a "%%" at the end) one blank.
std::string DecodeDXFText(const std::string& text);

class TDXFGroup {
 public:
  explicit TDXFGroup(const TDXFProfile& profile = TDXFProfile::Animator()) : FProfile(&profile) {}

  int32_t Code = 0;
  // As written in the file (unscaled).
  double FloatValue = 0;
  int32_t IntValue = 0;
  std::string StringValue;
  // Metres per drawing unit.
  double Scale = kMillimetre;
  // Lines read from the stream so far, for messages.
  int64_t LineNumber = 0;

  // Code 0, both numbers 0, empty text; Scale stays.
  void Clear();
  // Code, numbers and text; Scale and the line count are the reader's and stay.
  void Assign(const TDXFGroup& other);
  // A group of the same profile holding the same pair, at the default scale.
  std::unique_ptr<TDXFGroup> Clone() const;
  TDXFValueKind ValueKind(int32_t code) const;
  // Reads the next pair; false when the stream ends before a whole pair (the group then keeps
  // the previous pair). A code or number that cannot be read raises EFileReadError naming the
  // line; so do nan, infinities and numbers out of range.
  bool ReadPair(std::istream& in);

  bool IsKeyword(int32_t code, const char* text) const { return Code == code && StringValue == text; }
  bool IsSection() const { return IsKeyword(0, "SECTION"); }
  bool IsEndSec() const { return IsKeyword(0, "ENDSEC"); }
  bool IsEof() const { return IsKeyword(0, "EOF"); }
  bool IsTable() const { return IsKeyword(0, "TABLE"); }
  bool IsEndTab() const { return IsKeyword(0, "ENDTAB"); }
  bool IsBlock() const { return IsKeyword(0, "BLOCK"); }
  bool IsEndBlk() const { return IsKeyword(0, "ENDBLK"); }
  bool IsHeader() const { return IsKeyword(2, "HEADER"); }
  bool IsTables() const { return IsKeyword(2, "TABLES"); }
  bool IsBlocks() const { return IsKeyword(2, "BLOCKS"); }
  bool IsEntities() const { return IsKeyword(2, "ENTITIES"); }
  // 1..13 for the entity keywords, 0 for others and for codes other than 0.
  int EntityKind() const;
  // LTYPE 1, LAYER 2, STYLE 3, VIEW 4, UCS 5, VPORT 6; 0 otherwise.
  int TableKind() const;

  std::string DecodeText() const { return DecodeDXFText(StringValue); }
  // Degrees as radians, reduced to one turn (the sign kept): 370 and 10 are the same angle.
  double AngleRadians() const;
  double ScaledValue() const { return FloatValue * Scale; }
  // The inverse of ScaledValue: a length in metres as drawing units.
  void SetScaledValue(double metres) { FloatValue = metres / Scale; }
  // An alternate-unit factor of at least 1 marks an inch drawing, any other millimetres.
  void SetUnitScale(double alternateUnitFactor) { Scale = alternateUnitFactor >= 1 ? kInch : kMillimetre; }

  const TDXFProfile& Profile() const { return *FProfile; }

 private:
  const TDXFProfile* FProfile;
};

// An extrusion direction: up to three components, of which the first Count are used.
struct TVector3 {
  TVector3() = default;
  // One text line: the count (taken within 0..3), that many reals, then anything; a count or
  // real that cannot be read raises EFileReadError.
  explicit TVector3(std::istream& in);

  int32_t Count = 3;
  double X = 0;
  double Y = 0;
  double Z = 0;

  // The line the stream constructor reads: the count, the used components, "Vector".
  void WriteToText(std::ostream& out) const;
  void SetXYZ(double x, double y, double z) {
    X = x;
    Y = y;
    Z = z;
  }
  // The first Count components of other, or exchanged with them.
  void Assign(const TVector3& other);
  void Swap(TVector3& other);

 private:
  double& Component(int i) { return i == 0 ? X : i == 1 ? Y : Z; }
  int Used() const { return Count < 0 ? 0 : Count > 3 ? 3 : int(Count); }
};

}  // namespace shared
