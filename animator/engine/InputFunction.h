// TFunctionSection and TInputFunction: the motion law of a driven joint as a chain of up to 11
// sections, each a constant-velocity, constant-acceleration, 3-4-5 polynomial or cycloidal piece.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "shared/Convert.h"

namespace shared {
class TTabLines;
class TWorksheet;
}  // namespace shared

namespace quillon {

class TPropertyGrid;

// Law numbers shared with the synthesis program; any other value is computed as kLawSinusoidal.
constexpr int32_t kLawConstantVelocity = 0;
constexpr int32_t kLawConstantAcceleration = 1;
constexpr int32_t kLawPolynomial345 = 2;
constexpr int32_t kLawSinusoidal = 3;

class TFunctionSection {
 public:
  // Law 0, T = 1 s, S = 1.
  TFunctionSection();
  TFunctionSection(int32_t law, double duration, double displacement);

  void SetValues(int32_t law, double duration, double displacement);
  void CopyFrom(const TFunctionSection& source);
  std::unique_ptr<TFunctionSection> Clone() const;

  // t is local to the section, 0..Duration.
  double Position(double t) const;
  double Velocity(double t) const;
  double Acceleration(double t) const;

  // "Constant Velocity", "Constant Acceleration", "3-4-5 polynomial", "Sinusoidal"; empty for a
  // law outside 0..3, so the caller keeps the text it had.
  std::string LawName() const;

  // False when the duration is not above 0 or any value (given or derived) is not finite: such
  // a section would spread inf or NaN through every joint the input drives.
  bool IsUsable() const;

  int32_t Law() const { return fLaw; }
  double Duration() const { return fDuration; }
  double Displacement() const { return fDisplacement; }
  double Rate() const { return fRate; }
  double Accel() const { return fAccel; }
  // c0..c5 of the 3-4-5 polynomial; c0, c1, c2 stay 0.
  const std::array<double, 6>& Coeff() const { return fCoeff; }

 private:
  void Recompute();

  int32_t fLaw = kLawConstantVelocity;
  double fDuration = 1.0;
  double fDisplacement = 1.0;
  double fRate = 0.0;
  double fAccel = 0.0;
  std::array<double, 6> fCoeff{};
};

class TInputFunction {
 public:
  static constexpr int32_t kMaxSections = 11;
  static constexpr int32_t kDefaultSteps = 90;
  // Bound on the steps of one cycle, so a tiny time step or a corrupt step count cannot ask
  // for a table beyond memory or overflow the count: a document's 26 inputs stay within 21 MB.
  static constexpr int32_t kMaxSteps = 100000;

  // steps <= 0 means 90. One constant-velocity section: a full turn in one second.
  explicit TInputFunction(int32_t steps = kDefaultSteps);

  // Ignored when n <= 0; the table is resized to n + 1 entries (new entries hold 0 until a
  // section fills them).
  void SetSteps(int32_t n);
  // Ignored unless dt > 0; Steps := TotalTime / dt rounded half to even, at least 1.
  void SetTimeStep(double dt);
  // Cumulative ends, TotalTime, TimeStep and the table; does nothing while there are no
  // sections. Unusable sections are dropped here with a warning.
  void Prepare();

  void Assign(const TInputFunction& source);
  // Frees all sections; the table keeps its old values.
  void Clear();
  void SetDefault();

  // False when the section was refused (11 sections held, absent, or unusable).
  bool AddSection(int32_t law, double duration, double displacement);
  bool AddSectionObject(std::unique_ptr<TFunctionSection> section);
  void DeleteSection(int32_t i);

  // "Input " + Letter: the name of its section in the mechanism file.
  std::string SectionName() const;
  // Section i's S in display units of UnitCategory and its T in display units of time, through
  // the process-wide unit service; empty outside 0..Count-1.
  std::string DisplacementText(int32_t i) const;
  std::string DurationText(int32_t i) const;

  double TimeOfStep(int32_t i) const;
  double ClampTime(double t) const;
  // Table[i]; an index outside 0..Steps gives Table[Steps].
  double ValueOfStep(int32_t i) const;
  // What the solver turns the driven link by at step i: 0 outside 1..Steps.
  double StepIncrement(int32_t i) const;

  // Global time; all three give 0 without sections.
  double Position(double t) const;
  double Velocity(double t) const;
  double Acceleration(double t) const;
  double VelocityOfStep(int32_t i) const;

  // One full turn, either way round, that ends with the speed it started with (compared with 2π
  // in any unit).
  bool IsPeriodic() const;

  // The section SectionName of the mechanism file: one line Law, T, S per section.
  void ReadTabLines(shared::TTabLines& lines);
  void WriteTabLines(shared::TTabLines& lines) const;
  // The section table of the HTML report, CR LF after every line.
  void WriteHTML(std::ostream& out) const;
  // The section table in the properties grid and in a worksheet: row is the last row written
  // so far, advanced before each write and left at the last row written. The grid shows the
  // display texts, the sheet holds duration and displacement as numbers in display units.
  void WriteGrid(TPropertyGrid& grid, int32_t& row) const;
  void WriteSheet(shared::TWorksheet& sheet, int32_t& row) const;

  double TotalTime() const { return fTotalTime; }
  double TimeStep() const { return fTimeStep; }
  int32_t Steps() const { return fSteps; }
  int32_t Count() const { return fCount; }
  double EndTime(int32_t i) const { return fEndTime.at(i); }
  double EndDisp(int32_t i) const { return fEndDisp.at(i); }
  // Steps + 1 displacements, one per step.
  const std::vector<double>& Table() const;
  // nullptr outside 0..Count-1. After SetValues on a section, call Prepare.
  TFunctionSection* Section(int32_t i);
  const TFunctionSection* Section(int32_t i) const;

  // Set by every recomputation; the owner clears it once it has taken the change in.
  bool Changed = false;
  std::string Letter;
  int32_t UnitCategory = shared::cuAngle;
  int32_t JointIndex = -1;

 private:
  void ResizeTable();
  // Table entry i (0..Steps), worked out from the law when it is still owed.
  double Entry(int32_t i) const;
  // Works out every entry still owed, before the law that they come from changes.
  void Settle() const;
  int32_t SectionAt(double t) const;
  void RemoveSection(int32_t i);

  double fTotalTime = 0.0;
  double fTimeStep = 0.0;
  int32_t fSteps = 0;
  int32_t fCount = 0;
  std::array<double, kMaxSections> fEndTime{};
  std::array<double, kMaxSections> fEndDisp{};
  // The table is worked out as far as it is read: a law that runs far longer than the first
  // input's cycle may have 100,000 steps, of which a solution reads N + 1. Entries past the end of
  // fTable are owed by the law while fOwed, and 0 otherwise. While fOwed, the sections, their ends
  // and the time step are those the table was prepared with, every section usable.
  mutable std::vector<double> fTable;
  mutable bool fOwed = false;
  std::array<std::unique_ptr<TFunctionSection>, kMaxSections> fSections;
};

}  // namespace quillon
