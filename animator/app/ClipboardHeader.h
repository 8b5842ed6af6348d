// The header check of mechanism text: which program produced the document the tab-line store
// holds. The main window pastes documents of the synthesis program by itself.
#pragma once

#include <string>

#include "shared/TabLine.h"

namespace quillon {

// The producer word that the synthesis program writes into its header record.
inline constexpr const char* kSynthesisProducer = "Vesk";

// On the store's lines: -2 without the header section productWord, 0 when the section has no
// record, 1 for formatVersion with any other producer, 2 for formatVersion with the synthesis
// program's word (any letter case), -3 for any other version. The store's read position moves.
int CheckHeader(shared::TTabLines& lines, const std::string& productWord, int formatVersion);

}  // namespace quillon
