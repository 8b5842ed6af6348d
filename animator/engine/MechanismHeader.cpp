// The header record of a mechanism document: the version rules and the header check.
#include "animator/engine/MechanismHeader.h"

#include <algorithm>

#include "shared/ProgramInfo.h"
#include "shared/TabLine.h"

namespace quillon {

namespace {

bool SameWordIgnoringCase(const std::string& a, const std::string& b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

THeaderCheck CheckMechanismHeader(shared::TTabLines& lines) noexcept {
  THeaderCheck check;
  try {
    if (!lines.FindSection(shared::kProductWord)) {
      check.StatusText = kErrorInvalidText;
      return check;
    }
    check.StatusText = kHeaderOkayText;
    if (!lines.ReadLine()) {
      check.Result = kHeaderEmpty;
      return check;
    }
    const int32_t version = lines.GetInt(0);
    const std::string producer = lines.GetString("");
    if (version == kFileFormatVersion) {
      check.Result = SameWordIgnoringCase(producer, kSynthesisProducer) ? kHeaderSynthesis : kHeaderCurrent;
    } else {
      check.StatusText = kErrorNewText;
      check.Result = kHeaderOtherVersion;
    }
  } catch (...) {
    // Only an exhausted memory gets here; the text is then no document we can take.
    check.Result = kHeaderMissing;
    check.StatusText = kErrorInvalidText;
  }
  return check;
}

int32_t ReadFormatVersion(shared::TTabLines& lines) {
  if (!lines.FindSection(shared::kProductWord)) throw EMechanismError(kErrorInvalidText);
  int32_t version = 0;
  if (lines.ReadLine()) version = lines.GetInt(0);
  if (version < kOldestFormatVersion || version > kFileFormatVersion) throw EMechanismError(kErrorNewText);
  return version;
}

}  // namespace quillon
