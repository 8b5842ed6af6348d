// The round trip the synthesis record targets share: a record is read or refused with the read
// error; one that reads is written and read back, and the last two writings must be the same.
// A record that draws itself is then drawn, so what it read reaches the drawing code as well.
#pragma once

#include <cstdlib>
#include <functional>
#include <istream>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "shared/SynthCanvas2D.h"
#include "shared/Complex.h"

namespace fuzz {

// writings: how often the record is written and read back; a record that settles only from its
// second writing on (a value recomputed from what was read) needs three.
template <class T>
void RoundTrip(const std::string& text, const std::function<void(T&, std::istream&)>& read,
               const std::function<void(T&, std::ostream&)>& write,
               const std::function<std::unique_ptr<T>()>& make, int writings = 2) {
  auto record = make();
  std::istringstream in(text);
  try {
    read(*record, in);
  } catch (const shared::EFileReadError&) {
    return;
  }
  std::string written;
  std::string previous;
  for (int round = 0; round < writings; ++round) {
    std::ostringstream out;
    write(*record, out);
    previous = written;
    written = out.str();
    record = make();
    std::istringstream again(written);
    read(*record, again);  // a written record that does not read back is a fault: let it escape
  }
  if (written != previous) std::abort();
  // The record last read holds what the text gave; drawn on a view of the usual size.
  if constexpr (requires(T& t, shared::TCanvas2D& c) { t.Draw(c); }) {
    static TNullPaintBox box(640, 480);
    shared::TSynthCanvas2D canvas(box, 640, 3.0);
    record->Draw(canvas);
  }
}

}  // namespace fuzz
