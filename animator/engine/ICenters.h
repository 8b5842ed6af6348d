// TICenters: relative instant centres of a linkage's link pairs by the Aronhold-Kennedy theorem (the
// three centres of any three links lie on one line), with the solution order planned once per topology.
#pragma once

#include <cstdint>
#include <vector>

namespace quillon {

// A centre at one step. With IsDirection set it lies at infinity and (X, Y) is a unit direction to it.
struct TCentre {
  double X = 0;
  double Y = 0;
  bool IsDirection = false;
};

// One pair whose centre is the meeting point of two lines: CI1-CJ1 (through the centres of I and J
// with K1) and CI2-CJ2 (with K2). Target is -1 while the pair is unresolved.
struct TDerivedCentre {
  int Target = -1;
  int I = 0, J = 0;
  int K1 = -1, K2 = -1;
  int CI1 = -1, CJ1 = -1, CI2 = -1, CJ2 = -1;
};

// Use: Init; SetCentreIndex for every joint shared by two links; SetShownPair; Plan. Per step:
// SetJoint for every joint, ComputeAll or ComputeShown, GetShown.
class TICenters {
 public:
  // The joints are the primary centres 0..jointCount-1; every centre index starts unknown (-1).
  void Init(int jointCount, int linkCount);
  // Joint j is shared by links a and b: their centre is that joint. Out-of-range indices are ignored.
  void SetCentreIndex(int a, int b, int joint);
  int CentreIndex(int a, int b) const;
  // Stored with the smaller link first; (0, 0) shows none.
  void SetShownPair(int a, int b);
  int ShownLow() const { return Low; }
  int ShownHigh() const { return High; }
  // Lists the pairs that share no joint and orders them so that each one's lines use centres known by then.
  void Plan();

  // Position of a joint at the step being solved; joints are always finite points.
  void SetJoint(int joint, double x, double y);
  void ComputeAll();
  // Only the centres the shown pair's centre is found from, in plan order: what GetShown then gives
  // is the same as after ComputeAll.
  void ComputeShown();
  // The shown pair's centre; when none is shown or it could not be resolved, only IsDirection is set
  // and X, Y are left as they were.
  void GetShown(TCentre& out) const;

  int LinkCount() const { return Links; }
  int PrimaryCount() const { return Primaries; }
  int DerivedCount() const { return Count; }
  const TDerivedCentre& DerivedAt(int r) const { return Derived[r]; }
  const TCentre& Centre(int index) const { return Centres[index]; }

  static constexpr double kInfinity = 1e10;

 private:
  bool FindThirdLinks(TDerivedCentre& d) const;
  void ComputeCentre(const TDerivedCentre& d);
  void LineOf(int ci, int cj, double& qx, double& qy, double& dx, double& dy) const;
  // Sets the centre of a and b both ways round, and the sets of links below.
  void SetIndex(int a, int b, int index);
  int IndexAt(int a, int b) const { return Indices[a * Links + b]; }
  uint64_t& Bits(std::vector<uint64_t>& set, int a, int k) { return set[a * Words + k / 64]; }

  int Links = 0;
  int Low = 0, High = 0;
  std::vector<TDerivedCentre> Derived;
  int Count = 0;
  int Primaries = 0;
  int NextIndex = 0;
  std::vector<int> Indices;  // Links x Links, symmetric, -1 = unknown
  // Per link, Words 64-bit words of one bit per link: the centre of the two is known (Known), or is
  // a joint (Joint). A plan looks for third links in these rather than in Indices.
  int Words = 0;
  std::vector<uint64_t> Known;
  std::vector<uint64_t> Joint;
  std::vector<TCentre> Centres;
  // The planned rows the shown pair needs, worked out on the first ComputeShown after a change.
  std::vector<int> ShownRows;
  bool ShownRowsKnown = false;
};

}  // namespace quillon
