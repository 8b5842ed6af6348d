// Undo entries taken before an edit and kept only for a change.
#include "animator/engine/UndoStep.h"

#include <utility>

#include "animator/engine/AniMechanism.h"
#include "shared/TabLine.h"

namespace quillon {

namespace {

std::vector<std::string> Snapshot(const TAniMechanism& mechanism) {
  shared::TTabLines& store = shared::TabLines();
  mechanism.PrepareUndoState(store);
  std::vector<std::string> lines = std::move(store.Lines);
  store.Clear();
  return lines;
}

}  // namespace

TUndoStep::TUndoStep(const TAniMechanism& mechanism) : Mechanism(mechanism), Before(Snapshot(mechanism)) {}

bool TUndoStep::Commit() {
  std::vector<std::string> before = std::move(Before);
  Before.clear();
  if (before.empty() || Snapshot(Mechanism) == before) return false;
  shared::TTabLines& store = shared::TabLines();
  store.Clear();
  store.Lines = std::move(before);
  store.PushHistory();
  return true;
}

}  // namespace quillon
