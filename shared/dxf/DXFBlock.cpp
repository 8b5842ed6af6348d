// Blocks of the BLOCKS section.
#include "shared/dxf/DXFBlock.h"

#include "shared/dxf/DXFEntity.h"

namespace shared {

void TDXFBlock::CreateItems(int32_t n) {
  for (int32_t i = 0; i < n; ++i) Add(std::make_unique<TDXFEntity>());
}

void TDXFBlockList::CreateItems(int32_t n) {
  for (int32_t i = 0; i < n; ++i) Add(std::make_unique<TDXFBlock>());
}

void TDXFBlock::ReadGroup(const TDXFGroup& group) {
  switch (group.Code) {
    case 1:
      Description = group.StringValue;
      break;
    case 2:
    case 3:
      Name = group.StringValue;
      break;
    case 10:
      BasePoint.X = group.ScaledValue();
      break;
    case 20:
      BasePoint.Y = group.ScaledValue();
      break;
    case 70:
      Flags = group.IntValue;
      break;
    default:
      break;
  }
}

void TDXFBlock::ReadSection(std::istream& in, TDXFGroup& group, std::vector<std::string>* log) {
  bool more = true;
  while ((more = group.ReadPair(in)) && group.Code != 0) ReadGroup(group);
  TDXFEntityReader reader(*this, false, log);
  while (more && !group.IsEndBlk() && !group.IsEndSec() && !group.IsEof()) {
    reader.Take(group);
    more = group.ReadPair(in);
  }
  Deselect();
}

void TDXFBlockList::ReadSection(std::istream& in, TDXFGroup& group, std::vector<std::string>* log) {
  while (!group.IsEndSec()) {
    if (!group.ReadPair(in)) break;
    if (group.IsBlock()) {
      auto* block = static_cast<TDXFBlock*>(Add(std::make_unique<TDXFBlock>()));
      block->ReadSection(in, group, log);
    }
  }
  Deselect();
}

TDXFBlock* TDXFBlockList::FindBlock(const std::string& name) const {
  return dynamic_cast<TDXFBlock*>(FindByName(name));
}

void TDXFBlockList::ResolveInserts() {
  for (int32_t i = 0; i < Count(); ++i) {
    auto* block = static_cast<TDXFBlock*>(Items(i));
    for (int32_t k = 0; k < block->Count(); ++k)
      if (auto* insert = dynamic_cast<TDXFInsert*>(block->Items(k))) insert->Block = FindBlock(insert->Name);
  }
}

}  // namespace shared
