// The line types of a DXF drawing's TABLES section: the table entry, the line type with its
// dash pattern and the pen style that stands for it, and the table that reads them.
#pragma once

#include <array>
#include <cstdint>
#include <istream>
#include <string>

#include "shared/GeneralObject.h"
#include "shared/dxf/DXFGroup.h"

namespace shared {

class TDXFTableEntry : public TGeneralObject {
 public:
  TDXFTableEntry() { TDXFTableEntry::Reset(); }
  int32_t Flags = 0;
  virtual void Reset();
  // 2 Name, 70 Flags.
  virtual void ReadGroup(const TDXFGroup& group);
};

class TDXFLineType : public TDXFTableEntry {
 public:
  static constexpr int kMaxDashes = 21;

  TDXFLineType() { TDXFLineType::Reset(); }
  int32_t DashCount = 0;
  std::string Description;
  int32_t Alignment = 65;
  int32_t ElementCount = 0;
  double PatternLength = 0;
  // Dash (positive), gap (negative) and dot (0) lengths in metres, in the order read.
  std::array<double, kMaxDashes> Dashes{};

  void Reset() override;
  void ReadGroup(const TDXFGroup& group) override;
  // A dash past the 21st is ignored.
  void AddDash(double value);
  // The pen style number standing for the pattern: 0 solid, 1 dash, 2 dot, 3 dash-dot,
  // 4 dash-dot-dot.
  int32_t PenStyle() const;
};

class TDXFTable : public TGeneralList {
 public:
  TDXFTable() { Name = "TABLE"; }
  void CreateItems(int32_t n) override;
  // From the group holding "2 LTYPE" to "0 ENDTAB" (or the section's end); only LTYPE records
  // make entries. Nothing is current afterwards.
  void ReadSection(std::istream& in, TDXFGroup& group);
  const TDXFLineType* FindLineType(const std::string& name) const;
};

}  // namespace shared
