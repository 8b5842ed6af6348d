// The four motion laws of a section and the chained, tabulated input function of a driven joint.
#include "animator/engine/InputFunction.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "animator/engine/StdOut.h"

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
  Law_ = law;
  Duration_ = duration;
  Displacement_ = displacement;
  Recompute();
}

void TFunctionSection::CopyFrom(const TFunctionSection& source) {
  SetValues(source.Law_, source.Duration_, source.Displacement_);
}

std::unique_ptr<TFunctionSection> TFunctionSection::Clone() const {
  return std::make_unique<TFunctionSection>(Law_, Duration_, Displacement_);
}

void TFunctionSection::Recompute() {
  const double t = Duration_;
  const double s = Displacement_;
  Rate_ = 0.0;
  Accel_ = 0.0;
  Coeff_.fill(0.0);
  switch (Law_) {
    case kLawConstantVelocity:
      Rate_ = s / t;
      break;
    case kLawConstantAcceleration:
      // From rest over the whole section: it ends at twice the mean velocity.
      Rate_ = 2.0 * s / t;
      Accel_ = 2.0 * s / (t * t);
      break;
    case kLawPolynomial345:
      Coeff_[3] = 10.0 * s / (t * t * t);
      Coeff_[4] = -15.0 * s / (t * t * t * t);
      Coeff_[5] = 6.0 * s / (t * t * t * t * t);
      break;
    default:
      Rate_ = 2.0 * s / t;
      Accel_ = kTwoPi * s / (t * t);
      break;
  }
}

double TFunctionSection::Position(double t) const {
  switch (Law_) {
    case kLawConstantVelocity: return Rate_ * t;
    case kLawConstantAcceleration: return Accel_ * t * t / 2.0;
    case kLawPolynomial345: return ((Coeff_[5] * t + Coeff_[4]) * t + Coeff_[3]) * t * t * t;
    default: return Rate_ * t / 2.0 - Displacement_ * std::sin(kTwoPi * t / Duration_) / kTwoPi;
  }
}

double TFunctionSection::Velocity(double t) const {
  switch (Law_) {
    case kLawConstantVelocity: return Rate_;
    case kLawConstantAcceleration: return Accel_ * t;
    case kLawPolynomial345: return ((5.0 * Coeff_[5] * t + 4.0 * Coeff_[4]) * t + 3.0 * Coeff_[3]) * t * t;
    default: return (1.0 - std::cos(kTwoPi * t / Duration_)) * Rate_ / 2.0;
  }
}

double TFunctionSection::Acceleration(double t) const {
  switch (Law_) {
    case kLawConstantVelocity: return 0.0;
    case kLawConstantAcceleration: return Accel_;
    case kLawPolynomial345: return ((20.0 * Coeff_[5] * t + 12.0 * Coeff_[4]) * t + 6.0 * Coeff_[3]) * t;
    default: return Accel_ * std::sin(kTwoPi * t / Duration_);
  }
}

std::string TFunctionSection::LawName() const {
  switch (Law_) {
    case kLawConstantVelocity: return "Constant Velocity";
    case kLawConstantAcceleration: return "Constant Acceleration";
    case kLawPolynomial345: return "3-4-5 polynomial";
    case kLawSinusoidal: return "Sinusoidal";
    default: return "";
  }
}

bool TFunctionSection::IsUsable() const {
  if (!(Duration_ > 0.0) || !std::isfinite(Duration_) || !std::isfinite(Displacement_)) return false;
  return std::isfinite(Rate_) && std::isfinite(Accel_) &&
         std::all_of(Coeff_.begin(), Coeff_.end(), [](double c) { return std::isfinite(c); });
}

// ---- TInputFunction ----

TInputFunction::TInputFunction(int32_t steps) {
  SetSteps(steps <= 0 ? kDefaultSteps : steps);
  SetDefault();
  Changed = false;
}

void TInputFunction::ResizeTable() { Table_.resize(static_cast<size_t>(Steps_) + 1, 0.0); }

void TInputFunction::SetSteps(int32_t n) {
  if (n <= 0) return;
  Steps_ = std::min(n, kMaxSteps);
  ResizeTable();
  TimeStep_ = TotalTime_ / Steps_;
  Prepare();
  Changed = true;
}

void TInputFunction::SetTimeStep(double dt) {
  if (!(dt > 0.0)) return;
  const double ratio = TotalTime_ / dt;
  // A time step longer than twice the cycle would round to 0 steps and divide by zero.
  Steps_ = ratio >= kMaxSteps ? kMaxSteps : std::max(1, static_cast<int32_t>(std::nearbyint(ratio)));
  ResizeTable();
  TimeStep_ = TotalTime_ / Steps_;
  Prepare();
  Changed = true;
}

void TInputFunction::Prepare() {
  int32_t i = 0;
  while (i < Count_) {
    const TFunctionSection& section = *Sections_[i];
    const double endTime = (i == 0 ? 0.0 : EndTime_[i - 1]) + section.Duration();
    const double endDisp = (i == 0 ? 0.0 : EndDisp_[i - 1]) + section.Displacement();
    if (!section.IsUsable() || !std::isfinite(endTime) || !std::isfinite(endDisp)) {
      StdOut().Warning(SectionName() + ": section " + std::to_string(i) +
                       " dropped, its duration must be above 0 and its values finite");
      RemoveSection(i);
      continue;
    }
    EndTime_[i] = endTime;
    EndDisp_[i] = endDisp;
    ++i;
  }
  if (Count_ == 0) return;
  TotalTime_ = EndTime_[Count_ - 1];
  TimeStep_ = TotalTime_ / Steps_;
  for (int32_t j = 0; j <= Steps_; ++j) Table_[j] = Position(TimeOfStep(j));
  Changed = true;
}

void TInputFunction::Assign(const TInputFunction& source) {
  // Clearing first would lose the sections to copy.
  if (&source == this) return;
  Letter = source.Letter;
  JointIndex = source.JointIndex;
  UnitCategory = source.UnitCategory;
  SetSteps(source.Steps_);
  Clear();
  for (int32_t i = 0; i < source.Count_; ++i) AddSectionObject(source.Sections_[i]->Clone());
}

void TInputFunction::Clear() {
  for (auto& section : Sections_) section.reset();
  Count_ = 0;
}

void TInputFunction::SetDefault() {
  Clear();
  AddSection(kLawConstantVelocity, 1.0, kTwoPi);
}

bool TInputFunction::AddSection(int32_t law, double duration, double displacement) {
  return AddSectionObject(std::make_unique<TFunctionSection>(law, duration, displacement));
}

bool TInputFunction::AddSectionObject(std::unique_ptr<TFunctionSection> section) {
  if (!section || Count_ >= kMaxSections) return false;
  Sections_[Count_++] = std::move(section);
  const int32_t before = Count_;
  Prepare();
  return Count_ == before;
}

void TInputFunction::RemoveSection(int32_t i) {
  for (int32_t k = i; k + 1 < Count_; ++k) Sections_[k] = std::move(Sections_[k + 1]);
  Sections_[--Count_].reset();
}

void TInputFunction::DeleteSection(int32_t i) {
  if (i < 0 || i >= Count_) return;
  RemoveSection(i);
  Prepare();
}

std::string TInputFunction::SectionName() const { return "Input " + Letter; }

double TInputFunction::TimeOfStep(int32_t i) const { return i <= 0 ? 0.0 : i * TimeStep_; }

double TInputFunction::ClampTime(double t) const {
  if (!(t > 0.0)) return 0.0;
  return std::min(t, TotalTime_);
}

double TInputFunction::ValueOfStep(int32_t i) const {
  if (i < 0 || i > Steps_) i = Steps_;
  return Table_[i];
}

double TInputFunction::StepIncrement(int32_t i) const {
  if (i < 1 || i > Steps_) return 0.0;
  return Table_[i] - Table_[i - 1];
}

// The first section whose end is not before t: a time on a boundary belongs to the earlier one.
int32_t TInputFunction::SectionAt(double t) const {
  int32_t lo = 0;
  int32_t hi = Count_ - 1;
  while (lo < hi) {
    const int32_t mid = (lo + hi) / 2;
    if (t > EndTime_[mid])
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

double TInputFunction::Position(double t) const {
  if (Count_ == 0) return 0.0;
  t = ClampTime(t);
  const int32_t k = SectionAt(t);
  if (k == 0) return Sections_[0]->Position(t);
  return Sections_[k]->Position(t - EndTime_[k - 1]) + EndDisp_[k - 1];
}

double TInputFunction::Velocity(double t) const {
  if (Count_ == 0) return 0.0;
  t = ClampTime(t);
  const int32_t k = SectionAt(t);
  return Sections_[k]->Velocity(k == 0 ? t : t - EndTime_[k - 1]);
}

double TInputFunction::Acceleration(double t) const {
  if (Count_ == 0) return 0.0;
  t = ClampTime(t);
  const int32_t k = SectionAt(t);
  return Sections_[k]->Acceleration(k == 0 ? t : t - EndTime_[k - 1]);
}

double TInputFunction::VelocityOfStep(int32_t i) const { return Velocity(TimeOfStep(i)); }

bool TInputFunction::IsPeriodic() const {
  return std::abs(kTwoPi - ValueOfStep(Steps_)) < 1e-5 &&
         std::abs(VelocityOfStep(0) - VelocityOfStep(Steps_)) < 1e-5;
}

TFunctionSection* TInputFunction::Section(int32_t i) {
  return i >= 0 && i < Count_ ? Sections_[i].get() : nullptr;
}

const TFunctionSection* TInputFunction::Section(int32_t i) const {
  return i >= 0 && i < Count_ ? Sections_[i].get() : nullptr;
}

}  // namespace quillon
