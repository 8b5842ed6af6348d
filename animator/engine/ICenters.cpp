// The instant-centre table: planning the Aronhold-Kennedy solution order and the per-step intersections.
#include "animator/engine/ICenters.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <utility>

namespace quillon {

void TICenters::Init(int jointCount, int linkCount) {
  Links = std::max(linkCount, 0);
  Primaries = std::max(jointCount, 0);
  const int pairs = Links * (Links - 1) / 2;
  Indices.assign(static_cast<size_t>(Links) * Links, -1);
  Words = (Links + 63) / 64;
  Known.assign(static_cast<size_t>(Links) * Words, 0);
  Joint.assign(static_cast<size_t>(Links) * Words, 0);
  Centres.assign(static_cast<size_t>(pairs + Primaries), TCentre());
  NextIndex = Primaries;
  Derived.assign(static_cast<size_t>(pairs), TDerivedCentre());
  Count = 0;
  ShownRowsKnown = false;
}

void TICenters::SetCentreIndex(int a, int b, int joint) {
  if (a < 0 || b < 0 || a >= Links || b >= Links || a == b) return;
  if (joint < -1 || joint >= Primaries) return;
  SetIndex(a, b, joint);
  ShownRowsKnown = false;
}

void TICenters::SetIndex(int a, int b, int index) {
  Indices[a * Links + b] = index;
  Indices[b * Links + a] = index;
  for (const auto& [i, k] : {std::pair{a, b}, std::pair{b, a}}) {
    const uint64_t bit = uint64_t{1} << (k % 64);
    Bits(Known, i, k) = index >= 0 ? Bits(Known, i, k) | bit : Bits(Known, i, k) & ~bit;
    Bits(Joint, i, k) = index >= 0 && index < Primaries ? Bits(Joint, i, k) | bit : Bits(Joint, i, k) & ~bit;
  }
}

int TICenters::CentreIndex(int a, int b) const {
  if (a < 0 || b < 0 || a >= Links || b >= Links) return -1;
  return IndexAt(a, b);
}

void TICenters::SetShownPair(int a, int b) {
  Low = std::min(a, b);
  High = std::max(a, b);
  ShownRowsKnown = false;
}

// The first two third links k whose centres with I and with J are both known, one of them a joint.
// Demanding a joint keeps at most one end of each line at infinity.
bool TICenters::FindThirdLinks(TDerivedCentre& d) const {
  int found = 0;
  const size_t i = static_cast<size_t>(d.I) * Words, j = static_cast<size_t>(d.J) * Words;
  for (int w = 0; w < Words && found < 2; ++w) {
    // A link's centre with itself is never known, so neither I nor J is among the candidates.
    uint64_t candidates = Known[i + w] & Known[j + w] & (Joint[i + w] | Joint[j + w]);
    for (; candidates != 0 && found < 2; candidates &= candidates - 1) {
      const int k = 64 * w + std::countr_zero(candidates);
      if (found == 0)
        d.K1 = k;
      else
        d.K2 = k;
      ++found;
    }
  }
  return found == 2;
}

void TICenters::Plan() {
  ShownRowsKnown = false;
  Count = 0;
  NextIndex = Primaries;
  // Centres derived by an earlier plan are forgotten, so planning again gives the same order.
  for (int& index : Indices)
    if (index >= Primaries) index = -1;
  Known = Joint;
  // The waiting pairs as a queue in a ring: it never holds more than it starts with.
  std::vector<TDerivedCentre> ring;
  for (int i = 0; i < Links; ++i)
    for (int j = i + 1; j < Links; ++j)
      if (IndexAt(i, j) < 0) {
        TDerivedCentre d;
        d.I = i;
        d.J = j;
        ring.push_back(d);
      }
  const size_t capacity = ring.size();
  size_t head = 0, waiting = capacity;
  const auto popFront = [&] {
    const TDerivedCentre d = ring[head];
    head = (head + 1) % capacity;
    --waiting;
    return d;
  };
  const auto pushBack = [&](const TDerivedCentre& d) {
    ring[(head + waiting) % capacity] = d;
    ++waiting;
  };
  // A pair that cannot be resolved yet goes to the back and is tried again after the others; the budget
  // ends the search when the remaining pairs can never be resolved.
  int looks = 2 * static_cast<int>(capacity) + 1;
  size_t failedInARow = 0;
  while (waiting > 0 && looks > 0) {
    if (failedInARow == waiting) {
      // Every pair failed against the centres as they stand, so every later look fails too: the
      // looks left only turn the queue.
      for (size_t turns = static_cast<size_t>(looks) % waiting; turns > 0; --turns) pushBack(popFront());
      break;
    }
    --looks;
    TDerivedCentre d = popFront();
    if (FindThirdLinks(d)) {
      d.Target = NextIndex;
      SetIndex(d.I, d.J, NextIndex);
      ++NextIndex;
      d.CI1 = IndexAt(d.I, d.K1);
      d.CJ1 = IndexAt(d.J, d.K1);
      d.CI2 = IndexAt(d.I, d.K2);
      d.CJ2 = IndexAt(d.J, d.K2);
      Derived[Count++] = d;
      failedInARow = 0;
    } else {
      d.K1 = d.K2 = -1;
      pushBack(d);
      ++failedInARow;
    }
  }
  // The unresolved pairs follow the planned ones, as they stood in the queue.
  for (size_t k = 0; k < waiting; ++k) Derived[Count++] = ring[(head + k) % capacity];
}

void TICenters::SetJoint(int joint, double x, double y) {
  if (joint < 0 || joint >= Primaries) return;
  Centres[joint] = TCentre{x, y, false};
}

// A line through two centres of which at most one is a direction: a point on it and its direction.
inline void TICenters::LineOf(int ci, int cj, double& qx, double& qy, double& dx, double& dy) const {
  const TCentre& a = Centres[ci];
  const TCentre& b = Centres[cj];
  if (a.IsDirection) {
    qx = b.X;
    qy = b.Y;
    dx = a.X;
    dy = a.Y;
    return;
  }
  qx = a.X;
  qy = a.Y;
  if (b.IsDirection) {
    dx = b.X;
    dy = b.Y;
  } else {
    dx = b.X - a.X;
    dy = b.Y - a.Y;
  }
}

void TICenters::ComputeCentre(const TDerivedCentre& d) {
  double q1x, q1y, d1x, d1y, q2x, q2y, d2x, d2y;
  LineOf(d.CI1, d.CJ1, q1x, q1y, d1x, d1y);
  LineOf(d.CI2, d.CJ2, q2x, q2y, d2x, d2y);
  const double den = d1x * d2y - d1y * d2x;
  const double num = (q2x - q1x) * d2y - (q2y - q1y) * d2x;
  const double t = den != 0 ? num / den : kInfinity;
  TCentre& c = Centres[d.Target];
  if (std::fabs(t) >= kInfinity) {
    // Parallel lines: the centre lies at infinity along them.
    const double r = std::hypot(d1x, d1y);
    c.X = r > 0 ? d1x / r : d1x;
    c.Y = r > 0 ? d1y / r : d1y;
    c.IsDirection = true;
  } else {
    c.X = q1x + t * d1x;
    c.Y = q1y + t * d1y;
    c.IsDirection = false;
  }
}

void TICenters::ComputeAll() {
  for (int r = 0; r < Count; ++r)
    if (Derived[r].Target >= 0) ComputeCentre(Derived[r]);
}

void TICenters::ComputeShown() {
  if (!ShownRowsKnown) {
    // A planned row's centres come from rows planned before it, so one pass from the last row
    // back collects every row the shown centre depends on.
    ShownRows.clear();
    std::vector<bool> needed(static_cast<size_t>(Count), false);
    const auto need = [&](int index) {
      if (index >= Primaries && index - Primaries < Count) needed[static_cast<size_t>(index - Primaries)] = true;
    };
    if (Low != 0 || High != 0) need(CentreIndex(Low, High));
    for (int r = Count - 1; r >= 0; --r) {
      const TDerivedCentre& d = Derived[r];
      if (!needed[static_cast<size_t>(r)] || d.Target < 0) continue;
      need(d.CI1);
      need(d.CJ1);
      need(d.CI2);
      need(d.CJ2);
    }
    for (int r = 0; r < Count; ++r)
      if (needed[static_cast<size_t>(r)] && Derived[r].Target >= 0) ShownRows.push_back(r);
    ShownRowsKnown = true;
  }
  for (const int r : ShownRows) ComputeCentre(Derived[r]);
}

void TICenters::GetShown(TCentre& out) const {
  const int index = (Low == 0 && High == 0) ? -1 : CentreIndex(Low, High);
  if (index < 0) {
    out.IsDirection = true;
    return;
  }
  out = Centres[index];
}

}  // namespace quillon
