// Placeholder of the position solution of TAniMechanism: nothing is solved yet, so no step
// beyond the design position is valid. The full solution replaces this file.
#include "animator/engine/AniMechanism.h"

namespace quillon {

void TAniMechanism::Calculate() { Len = 0; }

}  // namespace quillon
