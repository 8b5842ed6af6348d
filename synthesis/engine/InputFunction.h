// TInputFunction: the synthesis program's single motion law of a mechanism's input link (not the
// animator's class of the same name), with stepping, inversion and its "[InputFunction]" record.
#pragma once

#include <array>
#include <cstdint>
#include <istream>
#include <ostream>

namespace vesk {

// Law numbers, as in the animator; any other value is computed as kLawCycloidal.
inline constexpr uint8_t kLawConstantVelocity = 0;
inline constexpr uint8_t kLawConstantAcceleration = 1;
inline constexpr uint8_t kLawPolynomial345 = 2;
inline constexpr uint8_t kLawCycloidal = 3;

class TInputFunction {
 public:
  // A path holds the design position and at most this many steps.
  static constexpr int32_t kMaxSteps = 120;

  // Law 0, Tmax 1 s, Xmax 1 rad, 120 steps.
  TInputFunction();
  virtual ~TInputFunction() = default;

  // "[InputFunction]" (else "File read error in TInputFunction!"), Tmax, Xmax, Steps and the law.
  // The same error refuses a Tmax that is not a finite number above 0, an Xmax that is not
  // finite and Steps outside 1..kMaxSteps, on which every time and path loop would divide by 0
  // or run away. A refused record leaves the function as it was.
  virtual void Read(std::istream& in);
  virtual void Write(std::ostream& out);
  // Tmax, Xmax, Steps and the law; CurrentStep stays.
  virtual void Assign(const TInputFunction& source);

  void SetTmax(double tmax);
  void SetXmax(double xmax);
  void SetFunctionType(uint8_t type);
  // Ignored outside 1..kMaxSteps.
  void SetSteps(int32_t steps);

  double Tmax() const { return fTmax; }
  double Xmax() const { return fXmax; }
  int32_t Steps() const { return fSteps; }
  uint8_t FunctionType() const { return fFunctionType; }
  double TimeStep() const { return fTimeStep; }
  // V and A of the law.
  double Rate() const { return fRate; }
  double Accel() const { return fAccel; }
  // c0..c5 of the 3-4-5 polynomial; c0..c2 stay 0.
  const std::array<double, 6>& Coeff() const { return fCoeff; }

  // 0 unless t > 0, at most Tmax.
  double ClampTime(double t) const;
  double Position(double t) const;
  double Velocity(double t) const;
  double Acceleration(double t) const;

  // 0 for i <= 0, else i TimeStep.
  double TimeOfStep(int32_t i) const;
  double PositionOfStep(int32_t i) const;
  double VelocityOfStep(int32_t i) const;
  double AccelerationOfStep(int32_t i) const;
  double CurrentTime() const { return TimeOfStep(CurrentStep); }
  double CurrentPosition() const { return PositionOfStep(CurrentStep); }

  // The input's turn from step i - 1 to step i (0 for i <= 0).
  double StepIncrement(int32_t i) const;
  double CurrentIncrement() const { return StepIncrement(CurrentStep); }
  // The turn that takes the input from CurrentStep one step back.
  double BackIncrement() const;

  void Rewind() { CurrentStep = 0; }
  // True while CurrentStep <= Steps after the step.
  bool StepForward();
  // True while CurrentStep >= 0 after the step.
  bool StepBack();
  bool CanStepForward() const { return CurrentStep < fSteps; }
  bool CanStepBack() const { return CurrentStep > 0; }

  // The time at which the input reaches x: closed form for laws 0 and 1 (unclamped; 0 when the
  // law does not move), Newton's method on the others.
  double TimeOfPosition(double x) const;

  int32_t CurrentStep = 0;
  // Set by every recomputation, cleared by Read and Write.
  bool Changed = false;

 private:
  void Recompute();
  // Newton from Tmax / 2: at most 100 iterations, until a step is below 1e-6; a step that leaves
  // [0, Tmax] is taken back and ends the search.
  double InverseTime(double x) const;
  // The law computed: any value beyond 3 is the cycloidal law.
  uint8_t Law() const { return fFunctionType > kLawCycloidal ? kLawCycloidal : fFunctionType; }

  double fTmax = 1.0;
  double fTimeStep = 0;
  double fXmax = 1.0;
  double fRate = 0;
  double fAccel = 0;
  uint8_t fFunctionType = kLawConstantVelocity;
  std::array<double, 6> fCoeff{};
  int32_t fSteps = kMaxSteps;
};

// The process-wide default that new mechanisms start from; the program's input-function dialog
// creates it when start-up has not, and frees only the one it created. Tests and host programs
// make their own instances.
void CreateDefaultInputFunction();
void FreeDefaultInputFunction();
bool DefaultInputFunctionExists();
// Raises std::logic_error when there is none.
TInputFunction& DefaultInputFunction();

}  // namespace vesk
