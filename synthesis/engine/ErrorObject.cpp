// The error object: reset, total, the area and link checks, and its record.
#include "synthesis/engine/ErrorObject.h"

#include <algorithm>
#include <array>

#include "synthesis/engine/Area.h"
#include "synthesis/engine/Link.h"
#include "synthesis/engine/ProjectText.h"

namespace vesk {

void TErrorObject::Reset() {
  Total = 0;
  Area = 0;
  Link = 1.0;
  MinDistGround = 1.0;
  MinDistCoupler = 1.0;
  OutRot = 1.0;
  InRot = 1.0;
  Dyad = 1.0;
  PP = 0;
  Valid = true;
}

double TErrorObject::CalcTotal() {
  Total = Area * MinDistGround * MinDistCoupler * Link * OutRot * InRot;
  return Total;
}

void TErrorObject::AreaDistances(const TLink* link, const TAreaList* areas, const TCheckOptions& options) {
  if (!Valid || !areas || !link) return;
  if (link->Type() == kGroundLink) {
    MinDistGround = areas->LinkFactor(*link);
    Valid = MinDistGround <= options.MaxDistToArea;
  } else if (link->Type() == kOutputLink) {
    MinDistCoupler = areas->LinkFactor(*link);
    Valid = MinDistCoupler <= options.MaxDistToArea;
  }
}

void TErrorObject::LinkChecks(const TLinkList& links, const TCheckOptions& options) {
  if (Valid && options.FullInRotation) {
    // Links 1..4: ground, input and the two that close the loop with them.
    if (links.Count() < 4) {
      Valid = false;
    } else {
      std::array<double, 4> l{};
      for (int32_t i = 0; i < 4; ++i) l[size_t(i)] = links.GetLink(i + 1)->JointDistance(1, 2, true);
      const bool inputShortest = l[1] < l[0] && l[1] <= l[2] && l[1] <= l[3];
      auto sorted = l;
      std::sort(sorted.begin(), sorted.end());
      // Grashof: shortest + longest < the other two, strictly.
      Valid = inputShortest && sorted[0] + sorted[3] < sorted[1] + sorted[2];
    }
  }
  if (Valid && options.MaxLinkLengthOn) Valid = links.MaxLinkLength() <= options.MaxLinkLength;
  // A reference length that is not positive (a project file may hold one) gives no penalty.
  if (Valid && options.LinkLengthPenaltyOn && links.RefLength > 0) {
    const double a = links.MaxLinkLength() / links.RefLength;
    if (a >= 1) {
      Link = a;
      return;
    }
  }
  Link = 1.0;
}

template <class Io, class Self>
void TErrorObject::Fields(Io& io, Self& self) {
  io.Value(self.Area, " Area");
  io.Value(self.Link, " Link");
  io.Value(self.MinDistGround, " MinDist");
  io.Value(self.MinDistCoupler, " MinDist");
  io.Value(self.OutRot, " OutRot");
  io.Value(self.InRot, " InRot");
  io.Value(self.Dyad, " Dyad");
  io.Value(self.PP, " PP");
  io.Value(self.Total, " Total");
  io.Value(self.Valid, " OK");
}

void TErrorObject::Read(std::istream& in) {
  TProjectReader r(in, "TErrorObject");
  r.Section("[Error]");
  r.Version();
  Fields(r, *this);
}

void TErrorObject::Write(std::ostream& out) const {
  TProjectWriter w(out);
  w.Line("[Error]");
  w.Version();
  Fields(w, *this);
}

void TErrorObject::Assign(const TErrorObject& source) {
  Total = source.Total;
  Area = source.Area;
  Link = source.Link;
  MinDistGround = source.MinDistGround;
  MinDistCoupler = source.MinDistCoupler;
  OutRot = source.OutRot;
  InRot = source.InRot;
  Dyad = source.Dyad;
  PP = source.PP;
  Valid = source.Valid;
}

}  // namespace vesk
