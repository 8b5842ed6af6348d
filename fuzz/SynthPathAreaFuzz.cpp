// Path-point, pivot-area and error records of the synthesis project file: the first byte picks
// the reader, the rest is the text. A record must be read or refused with the read error; one
// that reads must write a text that reads back and writes the same again.
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "fuzz/RecordRoundTrip.h"
#include "shared/Complex.h"
#include "synthesis/engine/Area.h"
#include "synthesis/engine/ErrorObject.h"
#include "synthesis/engine/PathPoint.h"

namespace {

using fuzz::RoundTrip;

template <class T>
void ListRoundTrip(const std::string& text) {
  RoundTrip<T>(
      text, [](T& o, std::istream& in) { o.Read(in); }, [](T& o, std::ostream& out) { o.Write(out); },
      [] { return std::make_unique<T>(); });
}

template <class T>
void PointRoundTrip(const std::string& text) {
  RoundTrip<T>(
      text, [](T& o, std::istream& in) { o.ReadFromText(in); },
      [](T& o, std::ostream& out) { o.WriteToText(out); }, [] { return std::make_unique<T>(); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  switch (data[0] % 5) {
    case 0:
      PointRoundTrip<vesk::TPathPoint>(text);
      break;
    case 1:
      ListRoundTrip<vesk::TPathPointList>(text);
      break;
    case 2:
      PointRoundTrip<vesk::TArea>(text);
      break;
    case 3:
      ListRoundTrip<vesk::TAreaList>(text);
      break;
    default:
      ListRoundTrip<vesk::TErrorObject>(text);
      break;
  }
  return 0;
}
