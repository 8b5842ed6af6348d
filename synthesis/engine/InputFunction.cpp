// The synthesis input function: law parameters, law values, stepping, inversion and record.
#include "synthesis/engine/InputFunction.h"

#include <cmath>
#include <numbers>

#include "shared/ProcessWide.h"
#include "synthesis/engine/ProjectText.h"

namespace vesk {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

}  // namespace

TInputFunction::TInputFunction() {
  Recompute();
  Changed = false;
}

void TInputFunction::Recompute() {
  fTimeStep = fTmax / fSteps;
  const double T = fTmax, S = fXmax;
  fRate = fAccel = 0;
  fCoeff.fill(0);
  switch (Law()) {
    case kLawConstantVelocity:
      fRate = S / T;
      break;
    case kLawConstantAcceleration:
      fAccel = 2 * S / (T * T);
      fRate = 2 * S / T;
      break;
    case kLawPolynomial345:
      fCoeff[3] = 10 * S / std::pow(T, 3);
      fCoeff[4] = -15 * S / std::pow(T, 4);
      fCoeff[5] = 6 * S / std::pow(T, 5);
      break;
    default:
      fRate = 2 * S / T;
      fAccel = kTwoPi * S / (T * T);
      break;
  }
  Changed = true;
}

void TInputFunction::Read(std::istream& in) {
  TProjectReader r(in, "TInputFunction");
  r.Section("[InputFunction]");
  const double tmax = r.Real();
  const double xmax = r.Real();
  const int32_t steps = r.Int(1, kMaxSteps);
  const uint8_t type = r.Byte();
  if (!(std::isfinite(tmax) && tmax > 0) || !std::isfinite(xmax)) r.Fail();
  fTmax = tmax;
  fXmax = xmax;
  fSteps = steps;
  fFunctionType = type;
  Recompute();
  Changed = false;
  CurrentStep = 0;
}

void TInputFunction::Write(std::ostream& out) {
  TProjectWriter w(out);
  w.Line("[InputFunction]");
  w.Real(fTmax, " Tmax");
  w.Real(fXmax, " Xmax");
  w.Int(fSteps, " Steps");
  w.Int(fFunctionType, " Function Type");
  Changed = false;
}

void TInputFunction::Assign(const TInputFunction& source) {
  fTmax = source.fTmax;
  fXmax = source.fXmax;
  fSteps = source.fSteps;
  fFunctionType = source.fFunctionType;
  Recompute();
}

void TInputFunction::SetTmax(double tmax) {
  fTmax = tmax;
  Recompute();
}

void TInputFunction::SetXmax(double xmax) {
  fXmax = xmax;
  Recompute();
}

void TInputFunction::SetFunctionType(uint8_t type) {
  fFunctionType = type;
  Recompute();
}

void TInputFunction::SetSteps(int32_t steps) {
  if (steps < 1 || steps > kMaxSteps) return;
  fSteps = steps;
  Recompute();
}

double TInputFunction::ClampTime(double t) const {
  if (!(t > 0)) return 0;
  return t < fTmax ? t : fTmax;
}

double TInputFunction::Position(double t) const {
  t = ClampTime(t);
  const auto& c = fCoeff;
  switch (Law()) {
    case kLawConstantVelocity:
      return fRate * t;
    case kLawConstantAcceleration:
      return fAccel * t * t / 2;
    case kLawPolynomial345:
      return c[3] * t * t * t + c[4] * std::pow(t, 4) + c[5] * std::pow(t, 5);
    default:
      return fRate * t / 2 - fXmax * std::sin(kTwoPi * t / fTmax) / kTwoPi;
  }
}

double TInputFunction::Velocity(double t) const {
  t = ClampTime(t);
  const auto& c = fCoeff;
  switch (Law()) {
    case kLawConstantVelocity:
      return fRate;
    case kLawConstantAcceleration:
      return fAccel * t;
    case kLawPolynomial345:
      return 3 * c[3] * t * t + 4 * c[4] * t * t * t + 5 * c[5] * std::pow(t, 4);
    default:
      return (1 - std::cos(kTwoPi * t / fTmax)) * fRate / 2;
  }
}

double TInputFunction::Acceleration(double t) const {
  t = ClampTime(t);
  const auto& c = fCoeff;
  switch (Law()) {
    case kLawConstantVelocity:
      return 0;
    case kLawConstantAcceleration:
      return fAccel;
    case kLawPolynomial345:
      return 6 * c[3] * t + 12 * c[4] * t * t + 20 * c[5] * t * t * t;
    default:
      return fAccel * std::sin(kTwoPi * t / fTmax);
  }
}

double TInputFunction::TimeOfStep(int32_t i) const { return i <= 0 ? 0 : i * fTimeStep; }

double TInputFunction::PositionOfStep(int32_t i) const { return Position(TimeOfStep(i)); }

double TInputFunction::VelocityOfStep(int32_t i) const { return Velocity(TimeOfStep(i)); }

double TInputFunction::AccelerationOfStep(int32_t i) const { return Acceleration(TimeOfStep(i)); }

double TInputFunction::StepIncrement(int32_t i) const {
  return i <= 0 ? 0 : PositionOfStep(i) - PositionOfStep(i - 1);
}

double TInputFunction::BackIncrement() const {
  return CurrentStep < 0 ? 0 : PositionOfStep(CurrentStep) - PositionOfStep(CurrentStep + 1);
}

bool TInputFunction::StepForward() {
  ++CurrentStep;
  return CurrentStep <= fSteps;
}

bool TInputFunction::StepBack() {
  --CurrentStep;
  return CurrentStep >= 0;
}

double TInputFunction::TimeOfPosition(double x) const {
  switch (Law()) {
    case kLawConstantVelocity:
      // Xmax = 0: the input never moves, so it is everywhere at the start.
      return fRate == 0 ? 0 : x / fRate;
    case kLawConstantAcceleration:
      return fAccel == 0 ? 0 : std::sqrt(2 * x / fAccel);
    default:
      return InverseTime(x);
  }
}

double TInputFunction::InverseTime(double x) const {
  if (x == 0) return 0;
  if (x == fXmax) return fTmax;
  double t = fTmax / 2;
  for (int iteration = 0; iteration < 100; ++iteration) {
    const double v = Velocity(t);
    if (v == 0) break;
    const double step = (Position(t) - x) / v;
    t -= step;
    if (t < 0 || t > fTmax) {
      t += step;
      break;
    }
    if (std::fabs(step) < 1e-6) break;
  }
  return t;
}

void CreateDefaultInputFunction() { shared::TProcessWide<TInputFunction>::Create(); }

void FreeDefaultInputFunction() { shared::TProcessWide<TInputFunction>::Free(); }

bool DefaultInputFunctionExists() { return shared::TProcessWide<TInputFunction>::Exists(); }

TInputFunction& DefaultInputFunction() {
  return shared::TProcessWide<TInputFunction>::Get("The default input function");
}

}  // namespace vesk
