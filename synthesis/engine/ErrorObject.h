// TErrorObject: the quality factors of one candidate mechanism, their product by which the
// solution list ranks candidates, the candidate's validity, and the checks against the pivot
// areas and the link-length options that decide it.
#pragma once

#include <istream>
#include <ostream>

namespace vesk {

class TAreaList;
class TLink;
class TLinkList;

// The synthesis options that the checks read; the program fills it from its synthesis options.
struct TCheckOptions {
  bool LinkLengthPenaltyOn = true;
  bool MaxLinkLengthOn = false;
  double MaxLinkLength = 1.0;  // m
  // 1 + the allowed area expansion / 100.
  double MaxDistToArea = 1.0;
  bool FullInRotation = false;
};

class TErrorObject {
 public:
  TErrorObject() { Reset(); }
  virtual ~TErrorObject() = default;

  // Every term back to its neutral value, Valid true.
  void Reset();
  // Total := Area * MinDistGround * MinDistCoupler * Link * OutRot * InRot (Dyad and PP are
  // not part of it); returns it.
  double CalcTotal();
  // The ground link against the ground-pivot areas, or the output body against the
  // coupler-pivot areas: the area factor, and Valid only within MaxDistToArea. Nothing when
  // already invalid, without a list or for another link.
  void AreaDistances(const TLink* link, const TAreaList* areas, const TCheckOptions& options);
  // A fully turning input link and the longest link when the options ask for them, then the
  // link-length penalty (1.0 unless the longest link exceeds the reference length, or with no
  // reference length).
  void LinkChecks(const TLinkList& links, const TCheckOptions& options);

  // "[Error]" (else "File read error in TErrorObject!"), a version line, then Area, Link,
  // MinDistGround, MinDistCoupler, OutRot, InRot, Dyad, PP, Total, Valid.
  virtual void Read(std::istream& in);
  virtual void Write(std::ostream& out) const;
  virtual void Assign(const TErrorObject& source);

  double Total = 0;
  double Area = 0;              // between the simulated path and the curve
  double Link = 1.0;            // link-length penalty
  double MinDistGround = 1.0;   // area factor of the ground pivots
  double MinDistCoupler = 1.0;  // area factor of the moving pivots on the output body
  double OutRot = 1.0;          // output-rotation error
  double InRot = 1.0;           // input-rotation error
  double Dyad = 1.0;            // product of the dyads' closure errors
  double PP = 0;                // precision-point error
  bool Valid = true;            // passed synthesis and every check

 private:
  // The record's lines in file order, for Read and Write alike.
  template <class Io, class Self>
  static void Fields(Io& io, Self& self);
};

}  // namespace vesk
