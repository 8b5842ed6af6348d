// TUndoStep: one entry of the animator's undo history, taken before an edit and pushed after it
// only when the edit changed the document, so that Undo always reverses a change.
#pragma once

#include <string>
#include <vector>

namespace quillon {

class TAniMechanism;

class TUndoStep {
 public:
  // The mechanism as it is now, taken out of the process-wide store at once: between commands
  // the store serves others (the animator's clipboard watcher loads every clipboard change into
  // it).
  explicit TUndoStep(const TAniMechanism& mechanism);

  // Pushes the entry onto the store's history when the mechanism differs from it now; true when
  // pushed. The entry is used up either way.
  bool Commit();

 private:
  const TAniMechanism& Mechanism;
  std::vector<std::string> Before;
};

}  // namespace quillon
