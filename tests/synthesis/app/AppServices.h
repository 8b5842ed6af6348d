// The process-wide services every window test of the synthesis program starts from: units,
// application and synthesis options at their defaults, the program information and the project
// files' checksum.
#pragma once

#include "shared/Convert.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/FileValidate.h"
#include "synthesis/engine/ProgramInfo.h"
#include "synthesis/engine/SynthOptions.h"

namespace vesk::test {

inline void StartAppServices() {
  shared::FreeConvert();
  shared::CreateConvert();
  ResetAppOptions();
  SynthOptions.SetDefaults();
  CreateProgramInfo();
  CreateFileValidate();
}

inline void StopAppServices() {
  FreeFileValidate();
  FreeProgramInfo();
  shared::FreeConvert();
}

}  // namespace vesk::test
