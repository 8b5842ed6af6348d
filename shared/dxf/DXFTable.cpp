// Line types of the TABLES section.
#include "shared/dxf/DXFTable.h"

#include <cmath>

namespace shared {

void TDXFTableEntry::Reset() {
  Name.clear();
  Flags = 0;
}

void TDXFTableEntry::ReadGroup(const TDXFGroup& group) {
  if (group.Code == 2)
    Name = group.StringValue;
  else if (group.Code == 70)
    Flags = group.IntValue;
}

void TDXFLineType::Reset() {
  TDXFTableEntry::Reset();
  Name = "CONTINUOUS";
  Description = "solid line";
  Alignment = 65;
  ElementCount = 0;
  PatternLength = 0;
}

void TDXFLineType::ReadGroup(const TDXFGroup& group) {
  TDXFTableEntry::ReadGroup(group);
  switch (group.Code) {
    case 3:
      Description = group.StringValue;
      break;
    case 40:
      PatternLength = group.ScaledValue();
      break;
    case 49:
      AddDash(group.ScaledValue());
      break;
    case 72:
      Alignment = group.IntValue;
      break;
    case 73:
      ElementCount = group.IntValue;
      break;
    default:
      break;
  }
}

void TDXFLineType::AddDash(double value) {
  if (DashCount >= kMaxDashes) return;
  Dashes[size_t(DashCount++)] = value;
}

int32_t TDXFLineType::PenStyle() const {
  const auto d = [this](int i) { return Dashes[size_t(i)]; };
  if (DashCount <= 1) return 0;
  if (DashCount == 2) return std::fabs(d(0)) >= std::fabs(d(1)) ? 1 : 2;
  if (std::fabs(d(0)) > std::fabs(d(2))) return DashCount >= 5 && d(2) == d(4) ? 4 : 3;
  return std::fabs(d(0)) > std::fabs(d(1)) ? 1 : 2;
}

void TDXFTable::CreateItems(int32_t n) {
  for (int32_t i = 0; i < n; ++i) Add(std::make_unique<TDXFLineType>());
}

void TDXFTable::ReadSection(std::istream& in, TDXFGroup& group) {
  while (!group.IsEndTab() && !group.IsEndSec()) {
    if (!group.ReadPair(in)) break;
    if (group.Code == 0) {
      if (group.IsEndTab() || group.IsEndSec()) break;
      if (group.TableKind() == 1)
        Add(std::make_unique<TDXFLineType>());
      else
        Deselect();
    } else if (auto* entry = dynamic_cast<TDXFTableEntry*>(Current())) {
      entry->ReadGroup(group);
    }
  }
  Deselect();
}

const TDXFLineType* TDXFTable::FindLineType(const std::string& name) const {
  return dynamic_cast<const TDXFLineType*>(FindByName(name));
}

}  // namespace shared
