// The four motion laws of a section and the chained, tabulated input function of a driven joint.
#include "animator/engine/InputFunction.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "animator/engine/PropertyGrid.h"
#include "animator/engine/StdOut.h"
#include "shared/TextLine.h"
#include "shared/Workbook.h"

namespace quillon {

namespace {
constexpr double kTwoPi = 2.0 * std::numbers::pi;
}

// ---- TFunctionSection ----

TFunctionSection::TFunctionSection() { Recompute(); }

TFunctionSection::TFunctionSection(int32_t law, double duration, double displacement) {
  SetValues(law, duration, displacement);
}

void TFunctionSection::SetValues(int32_t law, double duration, double displacement) {
  fLaw = law;
  fDuration = duration;
  fDisplacement = displacement;
  Recompute();
}

void TFunctionSection::CopyFrom(const TFunctionSection& source) {
  SetValues(source.fLaw, source.fDuration, source.fDisplacement);
}

std::unique_ptr<TFunctionSection> TFunctionSection::Clone() const {
  return std::make_unique<TFunctionSection>(fLaw, fDuration, fDisplacement);
}

void TFunctionSection::Recompute() {
  const double t = fDuration;
  const double s = fDisplacement;
  fRate = 0.0;
  fAccel = 0.0;
  fCoeff.fill(0.0);
  switch (fLaw) {
    case kLawConstantVelocity:
      fRate = s / t;
      break;
    case kLawConstantAcceleration:
      // From rest over the whole section: it ends at twice the mean velocity.
      fRate = 2.0 * s / t;
      fAccel = 2.0 * s / (t * t);
      break;
    case kLawPolynomial345:
      fCoeff[3] = 10.0 * s / (t * t * t);
      fCoeff[4] = -15.0 * s / (t * t * t * t);
      fCoeff[5] = 6.0 * s / (t * t * t * t * t);
      break;
    default:
      fRate = 2.0 * s / t;
      fAccel = kTwoPi * s / (t * t);
      break;
  }
}

double TFunctionSection::Position(double t) const {
  switch (fLaw) {
    case kLawConstantVelocity:
      return fRate * t;
    case kLawConstantAcceleration:
      return fAccel * t * t / 2.0;
    case kLawPolynomial345:
      return ((fCoeff[5] * t + fCoeff[4]) * t + fCoeff[3]) * t * t * t;
    default:
      return fRate * t / 2.0 - fDisplacement * std::sin(kTwoPi * t / fDuration) / kTwoPi;
  }
}

double TFunctionSection::Velocity(double t) const {
  switch (fLaw) {
    case kLawConstantVelocity:
      return fRate;
    case kLawConstantAcceleration:
      return fAccel * t;
    case kLawPolynomial345:
      return ((5.0 * fCoeff[5] * t + 4.0 * fCoeff[4]) * t + 3.0 * fCoeff[3]) * t * t;
    default:
      return (1.0 - std::cos(kTwoPi * t / fDuration)) * fRate / 2.0;
  }
}

double TFunctionSection::Acceleration(double t) const {
  switch (fLaw) {
    case kLawConstantVelocity:
      return 0.0;
    case kLawConstantAcceleration:
      return fAccel;
    case kLawPolynomial345:
      return ((20.0 * fCoeff[5] * t + 12.0 * fCoeff[4]) * t + 6.0 * fCoeff[3]) * t;
    default:
      return fAccel * std::sin(kTwoPi * t / fDuration);
  }
}

std::string TFunctionSection::LawName() const {
  switch (fLaw) {
    case kLawConstantVelocity:
      return "Constant Velocity";
    case kLawConstantAcceleration:
      return "Constant Acceleration";
    case kLawPolynomial345:
      return "3-4-5 polynomial";
    case kLawSinusoidal:
      return "Sinusoidal";
    default:
      return "";
  }
}

bool TFunctionSection::IsUsable() const {
  if (!(fDuration > 0.0) || !std::isfinite(fDuration) || !std::isfinite(fDisplacement)) return false;
  return std::isfinite(fRate) && std::isfinite(fAccel) &&
         std::all_of(fCoeff.begin(), fCoeff.end(), [](double c) { return std::isfinite(c); });
}

// ---- TInputFunction ----

TInputFunction::TInputFunction(int32_t steps) {
  SetSteps(steps <= 0 ? kDefaultSteps : steps);
  SetDefault();
  Changed = false;
}

void TInputFunction::ResizeTable() {
  // Owed entries are prepared afresh by the Prepare that follows every resize.
  if (!fOwed) fTable.resize(std::min(fTable.size(), static_cast<size_t>(fSteps) + 1));
}

double TInputFunction::Entry(int32_t i) const {
  const size_t k = static_cast<size_t>(i);
  if (k < fTable.size()) return fTable[k];
  if (!fOwed) return 0.0;
  while (fTable.size() <= k) fTable.push_back(Position(TimeOfStep(static_cast<int32_t>(fTable.size()))));
  return fTable[k];
}

void TInputFunction::Settle() const {
  if (!fOwed) return;
  Entry(fSteps);
  fOwed = false;
}

const std::vector<double>& TInputFunction::Table() const {
  Settle();
  fTable.resize(static_cast<size_t>(fSteps) + 1, 0.0);
  return fTable;
}

void TInputFunction::SetSteps(int32_t n) {
  if (n <= 0) return;
  fSteps = std::min(n, kMaxSteps);
  ResizeTable();
  fTimeStep = fTotalTime / fSteps;
  Prepare();
  Changed = true;
}

void TInputFunction::SetTimeStep(double dt) {
  if (!(dt > 0.0)) return;
  const double ratio = fTotalTime / dt;
  // A time step longer than twice the cycle would round to 0 steps and divide by zero.
  fSteps = ratio >= kMaxSteps ? kMaxSteps : std::max(1, static_cast<int32_t>(std::nearbyint(ratio)));
  ResizeTable();
  fTimeStep = fTotalTime / fSteps;
  Prepare();
  Changed = true;
}

void TInputFunction::Prepare() {
  int32_t i = 0;
  while (i < fCount) {
    const TFunctionSection& section = *fSections[i];
    const double endTime = (i == 0 ? 0.0 : fEndTime[i - 1]) + section.Duration();
    const double endDisp = (i == 0 ? 0.0 : fEndDisp[i - 1]) + section.Displacement();
    if (!section.IsUsable() || !std::isfinite(endTime) || !std::isfinite(endDisp)) {
      StdOut().Warning(SectionName() + ": section " + std::to_string(i) +
                       " dropped, its duration must be above 0 and its values finite");
      RemoveSection(i);
      continue;
    }
    fEndTime[i] = endTime;
    fEndDisp[i] = endDisp;
    ++i;
  }
  if (fCount == 0) return;
  fTotalTime = fEndTime[fCount - 1];
  fTimeStep = fTotalTime / fSteps;
  fTable.clear();
  fOwed = true;
  Changed = true;
}

void TInputFunction::Assign(const TInputFunction& source) {
  // Clearing first would lose the sections to copy.
  if (&source == this) return;
  Letter = source.Letter;
  JointIndex = source.JointIndex;
  UnitCategory = source.UnitCategory;
  SetSteps(source.fSteps);
  Clear();
  for (int32_t i = 0; i < source.fCount; ++i) AddSectionObject(source.fSections[i]->Clone());
}

void TInputFunction::Clear() {
  Settle();
  for (auto& section : fSections) section.reset();
  fCount = 0;
}

void TInputFunction::SetDefault() {
  Clear();
  AddSection(kLawConstantVelocity, 1.0, kTwoPi);
}

bool TInputFunction::AddSection(int32_t law, double duration, double displacement) {
  return AddSectionObject(std::make_unique<TFunctionSection>(law, duration, displacement));
}

bool TInputFunction::AddSectionObject(std::unique_ptr<TFunctionSection> section) {
  if (!section || fCount >= kMaxSections) return false;
  fSections[fCount++] = std::move(section);
  const int32_t before = fCount;
  Prepare();
  return fCount == before;
}

void TInputFunction::RemoveSection(int32_t i) {
  for (int32_t k = i; k + 1 < fCount; ++k) fSections[k] = std::move(fSections[k + 1]);
  fSections[--fCount].reset();
}

void TInputFunction::DeleteSection(int32_t i) {
  if (i < 0 || i >= fCount) return;
  Settle();
  RemoveSection(i);
  Prepare();
}

std::string TInputFunction::SectionName() const { return "Input " + Letter; }

std::string TInputFunction::DisplacementText(int32_t i) const {
  const TFunctionSection* section = Section(i);
  return section ? shared::Convert().FormatSI(UnitCategory, section->Displacement()) : std::string();
}

std::string TInputFunction::DurationText(int32_t i) const {
  const TFunctionSection* section = Section(i);
  return section ? shared::Convert().FormatSI(shared::cuTime, section->Duration()) : std::string();
}

void TInputFunction::WriteHTML(std::ostream& out) const {
  const shared::TConvert& convert = shared::Convert();
  const char* end = shared::kLineEnd;
  out << "<table border=\"2\" bordercolor=\"#000000\" width=\"100%\">" << end;
  out << "<tr><td colspan=\"4\" bgcolor=\"#FFFFCC\" width=\"100%\">"
      << "<font face=\"Arial\" size=\"4\">" << SectionName() << "</font></td></tr>" << end;
  out << "<tr><td width=\"10%\">Nr</td>" << end;
  out << "<td width=\"30%\">Function</td>" << end;
  out << "<td width=\"30%\">Time " << convert.UnitLabel(shared::cuTime) << "</td>" << end;
  out << "<td width=\"30%\">Displacement " << convert.UnitLabel(UnitCategory) << "</td></tr>" << end;
  for (int32_t i = 0; i < fCount; ++i) {
    out << "<tr><td>" << i << "</td>" << end;
    out << "<td>" << fSections[i]->LawName() << "</td>" << end;
    out << "<td>" << DurationText(i) << "</td>" << end;
    out << "<td>" << DisplacementText(i) << "</td></tr>" << end;
  }
  out << "</table>" << end;
  out << "<p></p>" << end;
}

void TInputFunction::WriteGrid(TPropertyGrid& grid, int32_t& row) const {
  const shared::TConvert& convert = shared::Convert();
  ++row;
  grid.SetCell(0, row, SectionName());
  grid.SetCell(1, row, "");
  grid.SetCell(2, row, "");
  ++row;
  grid.SetCell(0, row, "Function");
  grid.SetCell(1, row, "Time " + convert.UnitLabel(shared::cuTime));
  grid.SetCell(2, row, "Disp. " + convert.UnitLabel(UnitCategory));
  for (int32_t i = 0; i < fCount; ++i) {
    ++row;
    grid.SetCell(0, row, fSections[i]->LawName());
    grid.SetCell(1, row, DurationText(i));
    grid.SetCell(2, row, DisplacementText(i));
  }
}

void TInputFunction::WriteSheet(shared::TWorksheet& sheet, int32_t& row) const {
  const shared::TConvert& convert = shared::Convert();
  ++row;
  sheet.SetRowBold(row);
  sheet.SetText(row, 1, SectionName());
  ++row;
  sheet.SetText(row, 1, "Function");
  sheet.SetText(row, 2, "Time " + convert.UnitLabel(shared::cuTime));
  sheet.SetText(row, 3, "Disp. " + convert.UnitLabel(UnitCategory));
  for (int32_t i = 0; i < fCount; ++i) {
    ++row;
    const TFunctionSection& section = *fSections[i];
    sheet.SetText(row, 1, section.LawName());
    sheet.SetNumber(row, 2, convert.FromSI(shared::cuTime, section.Duration()));
    sheet.SetNumber(row, 3, convert.FromSI(UnitCategory, section.Displacement()));
  }
}

double TInputFunction::TimeOfStep(int32_t i) const { return i <= 0 ? 0.0 : i * fTimeStep; }

double TInputFunction::ClampTime(double t) const {
  if (!(t > 0.0)) return 0.0;
  return std::min(t, fTotalTime);
}

double TInputFunction::ValueOfStep(int32_t i) const {
  if (i < 0 || i > fSteps) i = fSteps;
  return Entry(i);
}

double TInputFunction::StepIncrement(int32_t i) const {
  if (i < 1 || i > fSteps) return 0.0;
  return Entry(i) - Entry(i - 1);
}

// The first section whose end is not before t: a time on a boundary belongs to the earlier one.
int32_t TInputFunction::SectionAt(double t) const {
  int32_t lo = 0;
  int32_t hi = fCount - 1;
  while (lo < hi) {
    const int32_t mid = (lo + hi) / 2;
    if (t > fEndTime[mid])
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

double TInputFunction::Position(double t) const {
  if (fCount == 0) return 0.0;
  t = ClampTime(t);
  const int32_t k = SectionAt(t);
  if (k == 0) return fSections[0]->Position(t);
  return fSections[k]->Position(t - fEndTime[k - 1]) + fEndDisp[k - 1];
}

double TInputFunction::Velocity(double t) const {
  if (fCount == 0) return 0.0;
  t = ClampTime(t);
  const int32_t k = SectionAt(t);
  return fSections[k]->Velocity(k == 0 ? t : t - fEndTime[k - 1]);
}

double TInputFunction::Acceleration(double t) const {
  if (fCount == 0) return 0.0;
  t = ClampTime(t);
  const int32_t k = SectionAt(t);
  return fSections[k]->Acceleration(k == 0 ? t : t - fEndTime[k - 1]);
}

double TInputFunction::VelocityOfStep(int32_t i) const { return Velocity(TimeOfStep(i)); }

bool TInputFunction::IsPeriodic() const {
  // A crank driven clockwise turns through -2π: as closed a cycle as the other way round.
  return std::abs(kTwoPi - std::abs(ValueOfStep(fSteps))) < 1e-5 &&
         std::abs(VelocityOfStep(0) - VelocityOfStep(fSteps)) < 1e-5;
}

TFunctionSection* TInputFunction::Section(int32_t i) {
  // The caller may change the section: what the table owes comes from it as it is now.
  Settle();
  return i >= 0 && i < fCount ? fSections[i].get() : nullptr;
}

const TFunctionSection* TInputFunction::Section(int32_t i) const {
  return i >= 0 && i < fCount ? fSections[i].get() : nullptr;
}

}  // namespace quillon
