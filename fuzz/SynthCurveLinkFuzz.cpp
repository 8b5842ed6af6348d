// Project-file records of the curve, precision points, links and the output-link drawing: the
// first byte picks the reader, the rest is the text. A record must be read or refused with the
// read error; what reads must write a text that reads back, and from the second writing on the
// text must stay the same (the curve recomputes its tangents from the values it read).
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "fuzz/RecordRoundTrip.h"
#include "shared/Complex.h"
#include "synthesis/engine/ComplexLine.h"
#include "synthesis/engine/Drawing.h"
#include "synthesis/engine/Joint.h"
#include "synthesis/engine/Link.h"
#include "synthesis/engine/PrePoint.h"
#include "synthesis/engine/Spline.h"

namespace {

using fuzz::RoundTrip;

// The curve recomputes its tangents from the values it read: texts settle from the second writing.
constexpr int kWritings = 3;

// Ten joints for the links' indices to find.
vesk::TJointList& Joints() {
  static vesk::TJointList* joints = [] {
    auto* list = new vesk::TJointList(10);
    list->AddNew(10);
    return list;
  }();
  return *joints;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  switch (data[0] % 7) {
    case 0:
      RoundTrip<vesk::TSpline>(
          text, [](auto& o, std::istream& in) { o.Read(in); },
          [](auto& o, std::ostream& out) { o.Write(out); }, [] { return std::make_unique<vesk::TSpline>(); },
          kWritings);
      break;
    case 1:
      RoundTrip<vesk::TPrePointList>(
          text, [](auto& o, std::istream& in) { o.Read(in); },
          [](auto& o, std::ostream& out) { o.Write(out); },
          [] { return std::make_unique<vesk::TPrePointList>(); }, kWritings);
      break;
    case 2:
      RoundTrip<vesk::TPrePoint>(
          text, [](auto& o, std::istream& in) { o.ReadFromText(in); },
          [](auto& o, std::ostream& out) { o.WriteToText(out); },
          [] { return std::make_unique<vesk::TPrePoint>(); }, kWritings);
      break;
    case 3:
      RoundTrip<vesk::TLink>(
          text, [](auto& o, std::istream& in) { o.Read(in); },
          [](auto& o, std::ostream& out) { o.Write(out); }, [] { return std::make_unique<vesk::TLink>(); },
          kWritings);
      break;
    case 4:
      RoundTrip<vesk::TLinkList>(
          text, [](auto& o, std::istream& in) { o.Read(in); },
          [](auto& o, std::ostream& out) { o.Write(out); },
          [] {
            auto links = std::make_unique<vesk::TLinkList>();
            links->Joints = &Joints();
            return links;
          },
          kWritings);
      break;
    case 5:
      RoundTrip<vesk::TComplexLine>(
          text, [](auto& o, std::istream& in) { o.ReadFromText(in); },
          [](auto& o, std::ostream& out) { o.WriteToText(out); },
          [] { return std::make_unique<vesk::TComplexLine>(); }, kWritings);
      break;
    default:
      RoundTrip<vesk::TDrawing>(
          text, [](auto& o, std::istream& in) { o.ReadFromText(in); },
          [](auto& o, std::ostream& out) { o.WriteToText(out); },
          [] { return std::make_unique<vesk::TDrawing>(); }, kWritings);
      break;
  }
  return 0;
}
