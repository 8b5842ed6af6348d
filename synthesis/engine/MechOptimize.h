// TMechOptimize and TDyadOptimize: coordinate searches over the free link rotations at precision
// positions 5 and 9, one minimising a candidate's error total, the other its precision-point
// error inside every generation.
#pragma once

#include <array>
#include <cstdint>

namespace vesk {

class TAreaList;
class TMechanism;
class TSpline;

class TMechOptimize {
 public:
  static constexpr int32_t kMaxParameters = 16;
  // The objective of a rotation set that cannot be evaluated.
  static constexpr double kFailed = 1e10;

  TMechOptimize() = default;
  virtual ~TMechOptimize() = default;

  // Call order: set the references, Start, Iterate until it returns true, Finish.
  virtual void Start();
  // One sweep; true when the search has ended.
  virtual bool Iterate();
  // Evaluates at the final rotations and marks the mechanism optimised.
  virtual void Finish();
  virtual void ApplyStep();
  virtual void UndoStep();
  // Objective[Current] from a full synthesis, constraint check and path simulation.
  virtual void Evaluate();
  virtual void BuildParameters();

  int32_t Iterations = 0;
  bool Done = false;
  // Not owned.
  TMechanism* Mechanism = nullptr;
  const TSpline* Curve = nullptr;
  TAreaList* GroundAreas = nullptr;
  TAreaList* CouplerAreas = nullptr;
  int32_t MaxIter = 1000;
  // Parameter being moved, 0 for the base point.
  int32_t Current = 0;
  int32_t Best = 0;
  int32_t Count = 0;
  // Index 0 unused, except Objective[0], the base point's value.
  std::array<double, kMaxParameters + 1> Step{};
  std::array<int32_t, kMaxParameters + 1> Position{};
  std::array<int32_t, kMaxParameters + 1> LinkIndex{};
  std::array<double, kMaxParameters + 1> Objective{};

 protected:
  // The rotation that parameter k moves.
  double& Rotation(int32_t k) const;
};

// A few sweeps on the precision-point error, without path or areas.
class TDyadOptimize : public TMechOptimize {
 public:
  void Start() override;
  void Finish() override;
  void Evaluate() override;
};

}  // namespace vesk
