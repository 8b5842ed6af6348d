// A mechanism's document text as a save writes it, for comparing what edits and reads leave.
#pragma once

#include <string>

#include "animator/engine/AniMechanism.h"
#include "shared/TabLine.h"

namespace enginetest {

inline std::string Saved(const quillon::TAniMechanism& mechanism) {
  shared::TTabLines lines;
  mechanism.SaveToTabLines(lines);
  return lines.Text();
}

}  // namespace enginetest
