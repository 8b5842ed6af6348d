// Project-file records of the synthesis engine: the first byte picks the reader, the rest is the
// text. A record must be read or refused with the read error; one that reads must write a text
// that reads back and writes the same again.
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "fuzz/RecordRoundTrip.h"
#include "shared/Complex.h"
#include "synthesis/engine/ComplexPoint.h"
#include "synthesis/engine/InputFunction.h"
#include "synthesis/engine/Joint.h"
#include "synthesis/engine/Matrix2.h"

namespace {

using fuzz::RoundTrip;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  switch (data[0] % 6) {
    case 0:
      RoundTrip<vesk::TComplexPointList>(
          text, [](auto& o, std::istream& in) { o.Read(in); },
          [](auto& o, std::ostream& out) { o.Write(out); },
          [] { return std::make_unique<vesk::TComplexPointList>(20); });
      break;
    case 1:
      RoundTrip<vesk::TJointList>(
          text, [](auto& o, std::istream& in) { o.Read(in); },
          [](auto& o, std::ostream& out) { o.Write(out); },
          [] { return std::make_unique<vesk::TJointList>(10); });
      break;
    case 2:
      RoundTrip<vesk::TComplexPoint>(
          text, [](auto& o, std::istream& in) { o.ReadFromText(in); },
          [](auto& o, std::ostream& out) { o.WriteToText(out); },
          [] { return std::make_unique<vesk::TComplexPoint>(); });
      break;
    case 3:
      RoundTrip<vesk::TJoint>(
          text, [](auto& o, std::istream& in) { o.ReadFromText(in); },
          [](auto& o, std::ostream& out) { o.WriteToText(out); },
          [] { return std::make_unique<vesk::TJoint>(); });
      break;
    case 4:
      RoundTrip<vesk::TMatrix2>(
          text, [](auto& o, std::istream& in) { o.Read(in); },
          [](auto& o, std::ostream& out) { o.Write(out); },
          [] { return std::make_unique<vesk::TMatrix2>(); });
      break;
    default:
      RoundTrip<vesk::TInputFunction>(
          text, [](auto& o, std::istream& in) { o.Read(in); },
          [](auto& o, std::ostream& out) { o.Write(out); },
          [] { return std::make_unique<vesk::TInputFunction>(); });
      break;
  }
  return 0;
}
