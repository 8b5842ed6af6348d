// The process-wide services every window test of the synthesis program starts from: units,
// application and synthesis options at their defaults, the program information.
#pragma once

#include "shared/Convert.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/ProgramInfo.h"
#include "synthesis/engine/SynthOptions.h"

namespace vesk::test {

inline void StartAppServices() {
  shared::FreeConvert();
  shared::CreateConvert();
  ResetAppOptions();
  SynthOptions.SetDefaults();
  CreateProgramInfo();
}

inline void StopAppServices() {
  FreeProgramInfo();
  shared::FreeConvert();
}

}  // namespace vesk::test
