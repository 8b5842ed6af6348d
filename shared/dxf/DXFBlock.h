// The BLOCKS section of a DXF drawing: a block (a named list of entities with a base point)
// and the block list that reads them and binds the INSERTs nested in them.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "shared/Complex.h"
#include "shared/GeneralObject.h"
#include "shared/dxf/DXFGroup.h"

namespace shared {

class TDXFBlock : public TGeneralList {
 public:
  TDXFBlock() { Name = "BLOCK"; }
  TComplex BasePoint;
  int32_t Flags = 1;
  std::string Description;
  // Set while the block is drawn or measured through an INSERT, so a block that inserts itself
  // is not entered again.
  mutable bool Busy = false;

  // Plain entities, so a "[List]" record or Assign keeps every item an entity.
  void CreateItems(int32_t n) override;
  // 1 Description, 2 and 3 Name, 10/20 BasePoint, 70 Flags.
  void ReadGroup(const TDXFGroup& group);
  // From the group holding "0 BLOCK" to "0 ENDBLK" (or the section's end). Nothing is current
  // afterwards.
  void ReadSection(std::istream& in, TDXFGroup& group, std::vector<std::string>* log = nullptr);
};

class TDXFBlockList : public TGeneralList {
 public:
  TDXFBlockList() { Name = "BLOCKS"; }
  void CreateItems(int32_t n) override;
  // From the group holding "2 BLOCKS" to "0 ENDSEC".
  void ReadSection(std::istream& in, TDXFGroup& group, std::vector<std::string>* log = nullptr);
  TDXFBlock* FindBlock(const std::string& name) const;
  // Binds every INSERT inside the blocks to the block of its name, or to none.
  void ResolveInserts();
};

}  // namespace shared
