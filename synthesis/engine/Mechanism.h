// TMechanism: one synthesised planar linkage (joints, links, precision points, simulated path,
// input function, error terms) and the virtual operations through which the solution list, the
// optimisers and the main window treat every chain type alike; the base is a plain four-bar.
#pragma once

#include <array>
#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "shared/Canvas2D.h"
#include "shared/Complex.h"
#include "synthesis/engine/ErrorObject.h"
#include "synthesis/engine/InputFunction.h"
#include "synthesis/engine/Joint.h"
#include "synthesis/engine/Link.h"
#include "synthesis/engine/PathPoint.h"
#include "synthesis/engine/PrePoint.h"
#include "synthesis/engine/VectorLoop.h"

namespace shared {
class TWorksheet;
class TWorkbook;
}  // namespace shared

namespace vesk {

class TAreaList;
class TSpline;

// Mechanism types.
inline constexpr uint8_t kFourbarType = 0;
inline constexpr uint8_t kWatt1Type = 1;
inline constexpr uint8_t kWatt2Type = 2;
inline constexpr uint8_t kStephenson1Type = 3;
inline constexpr uint8_t kStephenson3Type = 5;
inline constexpr uint8_t kEightbarType = 6;
inline constexpr uint8_t kSliderType = 7;
inline constexpr uint8_t kFiveBarType = 8;

// Images of the list rows and type buttons: a type's base image, then + 1 optimised, + 2 marked
// (or a type button down). Unknown types show the four-bar's.
inline constexpr int32_t kImageOptimized = 1;
inline constexpr int32_t kImageMarked = 2;
int32_t TypeImageIndex(uint8_t type);

// The row of the solution list's view that shows one mechanism; the view implements it.
class TListRow {
 public:
  virtual ~TListRow() = default;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void SetImageIndex(int32_t index) = 0;
  // The columns after the caption, in order.
  virtual void SetSubItems(const std::vector<std::string>& items) = 0;
};

// The synthesis options of the error object's checks.
TCheckOptions CheckOptionsFromSynthOptions();

// The first stage of a rating that failed; Rated when none did.
enum class TRating : uint8_t { Rated, NotSynthesised, OutsideConstraints, PathNotRun };

// What became of a dropped joint: taken (and rated again), nothing to do, or why it was refused.
enum class TDrop : uint8_t {
  Taken,
  Unchanged,
  NoDragRule,       // the type drags none of its joints
  JointNotDragged,  // the type drags others
  Posed,            // the animation stands away from the design
  NotFromCurve,     // no curve it was generated from to rate it against
  NotSynthesised,
  OutsideConstraints,
  PathNotRun,
};

// What Undo Optimize did.
enum class TUndoOptimize : uint8_t {
  NothingToUndo,
  Restored,    // the state the optimisation started from
  Rebuilt,     // synthesised again at the saved rotations: no start state was kept
  NotRebuilt,  // that synthesis failed; the optimised mechanism stays
};

class TMechanism {
 public:
  // Number of the work vectors of the position analysis.
  static constexpr int32_t kWorkVectors = 12;
  // Coupler point to precision point 9 at the end of the path.
  static constexpr double kEndTolerance = 1e-5;
  // How near, in shares of the curve's length, the path must pass each precision point.
  static constexpr double kPrecisionShare = 0.1;
  // A path that follows the curve strays from it by no more than this share of its length, is
  // no longer than kLengthShare curve lengths (kOutAndBackShare for one run out and back), and
  // on a closed curve encloses at least kAreaShare of its area, the same way round.
  static constexpr double kStrayShare = 0.25;
  static constexpr double kLengthShare = 1.6;
  static constexpr double kOutAndBackShare = 2.4;
  static constexpr double kAreaShare = 0.5;
  // The rating's path has far fewer steps than the animator solves: its distances and lengths
  // are held to this share of the bounds, so that the finer path keeps them too.
  static constexpr double kCoarseMargin = 0.98;

  // The default four-bar with the default input function; a chain type with its own layout
  // calls its MakeDefault again from its own constructor.
  TMechanism();
  virtual ~TMechanism();
  TMechanism(const TMechanism&) = delete;
  TMechanism& operator=(const TMechanism&) = delete;

  // The virtual operations, in the order the chain types override them.
  virtual bool IsModified() const;
  virtual bool CheckPrecisionPositions();
  virtual void MakeDefault();
  virtual void DrawOutputBodyDrawing(shared::TCanvas2D& canvas);
  virtual void DrawLinks(shared::TCanvas2D& canvas);
  // Type line, "[Mechanism]" (else "File read error in TMechanism!"), version, ID, Optimized,
  // Marked, Name, then error, joints, links, precision points, path points, input function.
  virtual void Read(std::istream& in);
  virtual void Write(std::ostream& out);
  virtual void Clear();
  virtual void Assign(const TMechanism& source);
  virtual std::unique_ptr<TMechanism> Clone() const;
  virtual void Draw(shared::TCanvas2D& canvas);
  virtual void ClearSelection();
  // Why no candidate of this chain type can follow the curve, known before any is made (the
  // curve has fewer than two points or no length; a prescribed total input rotation above a turn
  // on an open curve, or other than one turn on a closed one); empty when candidates may be found. Generate
  // makes no valid candidate while there is a reason.
  virtual std::string CurveRefusal(const TSpline& curve) const { return CommonCurveRefusal(curve); }
  // The reasons that hold for every chain type.
  static std::string CommonCurveRefusal(const TSpline& curve);
  static constexpr const char* kCurveTooShort = "A Curve has to be defined ! It needs two points at least.";
  static constexpr const char* kCurveWithoutLength =
      "A Curve has to be defined ! Its points all lie on one spot: it has no length.";
  static constexpr const char* kClosedTotalNotATurn =
      "On a closed curve the input turns once round: a specified total input rotation other than one "
      "turn (360 degrees) cannot bring the linkage back to where it began.";
  static constexpr const char* kTotalInputAboveTurn =
      "The specified total input rotation is more than one turn. A linkage runs its path again after "
      "one turn of its input, so no mechanism traces an open curve that way.";
  // One candidate for the curve; the result is in Error (Valid, Total).
  virtual void Generate(const TSpline& curve, TAreaList* groundAreas, TAreaList* couplerAreas);
  virtual bool Synthesize();
  virtual void SimulatePath(const TSpline* curve);
  virtual void EvaluateConstraints(const TAreaList* groundAreas, const TAreaList* couplerAreas);
  virtual void ApplyDefaultInputFunction();
  virtual void RecalcPathTimes();
  // The four-bar turned by the angle about its input; false (nothing moved) when it cannot
  // close or has not five joints.
  virtual bool StepInput(double angle);
  virtual bool Move(int32_t steps, double angle);
  virtual void AddPathPoint();
  virtual void FlipBranch(int32_t dyad);
  virtual void StoreJoints();
  virtual void RestoreJoints();
  virtual void GetExtents(shared::TComplex& min, shared::TComplex& max) const;
  // The selected joint to the point, as the type's drag rule moves the design; the linkage is
  // not rated again (DropJoint does that).
  virtual void DragJoint(const shared::TComplex& point);
  // Back to the state StartOptimize kept. Without one (a mechanism read back from a project),
  // synthesised again at the rotations saved when the optimisation started and rated as an
  // optimisation rates; where that fails nothing changes.
  virtual TUndoOptimize UndoOptimize(const TSpline* curve, TAreaList* groundAreas, TAreaList* couplerAreas);
  virtual double TransmissionAngle() const;
  // The "Quillon", "Joints", "Links", "Dyads" and input sections of the animator's document,
  // appended to the global tab-line store as this chain type (MechanismType) is written.
  virtual void ExportToAnimator();
  // Joint k (1-based) has a drag rule; none has in the base.
  virtual bool DragsJoint(int32_t k) const;
  // The animator runs the rated path out and then back along itself (a Watt 2 whose input loop
  // swings its rocker over half an input turn).
  virtual bool RunsOutAndBack() const { return false; }
  // The SAM input deck; false (no file touched) for a type SAM cannot take (slider four-bar,
  // five-bar: the caller shows kSamRefusal). Raises std::runtime_error when the file cannot be
  // written.
  bool ExportSam(const std::string& fileName) const;
  static constexpr const char* kSamRefusal = "Not yet able to export this mechanism to SAM";

  // Synthesize, then EvaluateConstraints, SimulatePath and CalcTotal while the mechanism stays
  // valid: the rating an optimisation gives every rotation set, and a drop its linkage.
  TRating Rate(const TSpline* curve, const TAreaList* groundAreas, const TAreaList* couplerAreas);
  // The selected joint dragged to the point and the linkage rated again against the curve it was
  // generated from. A drop whose linkage does not rate valid is refused and leaves the mechanism
  // as it was; so is a drop while the animation stands away from the design.
  TDrop DropJoint(const shared::TComplex& point, const TSpline* curve, const TAreaList* groundAreas,
                  const TAreaList* couplerAreas);

  // What a refused drop and Undo Optimize give back: joints, rotations, offset, ratio and the
  // drags' choices, path, error terms, the input's total rotation and the modified state.
  struct TDesign {
    std::vector<shared::TComplex> Joints;
    std::vector<std::array<double, TLink::kPositions + 1>> Rot;
    shared::TComplex Offset;
    double Ratio = 0;
    shared::TComplex LoopScale;
    shared::TComplex ParallelShift1;
    shared::TComplex ParallelShift2;
    double Xmax = 0;
    TErrorObject Error;
    TPathPointList Path;
    bool Modified = false;
  };
  std::unique_ptr<TDesign> SaveDesign() const;
  void RestoreDesign(const TDesign& design);
  // Before an optimisation: the stage that failed, with the mechanism back at start, when it
  // cannot be synthesised and rated valid at its own rotations. Otherwise (Rated) the rotations
  // are saved and UndoOptimize gives back start (the state now when none is given).
  TRating StartOptimize(std::unique_ptr<TDesign> start, const TSpline* curve, TAreaList* groundAreas,
                     TAreaList* couplerAreas);
  bool HasOptimizeStart() const { return fBeforeOptimize != nullptr; }

  // List-view image by type, plus 2 when marked, else plus 1 when optimised.
  int32_t GetImageIndex() const;
  void UpdateListItem();
  bool StepForward();
  bool StepBack();
  bool IsFromCurve(int32_t curveID) const { return PrecisionPoints.ID == curveID; }
  // How far the input turns over the path: to its rotation at position 9, or on a closed curve
  // once round the loop (the prescribed total, else a whole turn the way it turns to 9).
  double InputRange() const;
  // The simulated path passes every precision point within kPrecisionShare of the curve's
  // length (the link list's RefLength; the precision points' own polygon when that is none).
  bool PassesPrecisionPoints() const;
  // The simulated path follows the whole curve: it passes every control point within the
  // curve's PassTolerance, strays no farther than kStrayShare of its length, is no longer than
  // kLengthShare of it (kOutAndBackShare run out and back), on a closed curve runs round the
  // loop its way enclosing kAreaShare of its area, and on an open curve is run by an input that
  // turns at most once (beyond a turn a linkage runs its path again).
  bool FollowsCurve(const TSpline& curve) const;

  void WriteHtml(std::ostream& out) const;
  // From the given row on; the row is advanced past what was written.
  void ExportExcelProperties(int32_t& row, shared::TWorksheet& sheet) const;
  // Sheet "Data".
  void ExportExcelPath(shared::TWorksheet& sheet);
  void ExportExcelCharts(shared::TWorkbook& book) const;

  uint8_t MechanismType = kFourbarType;
  std::string Name = "Four bar*";
  std::string SectionName = "[Mechanism]";
  int32_t ID = 0;
  bool Optimized = false;
  bool Marked = false;
  bool Visible = true;
  bool Modified = false;
  int32_t SynthesisCount = 0;
  bool HasStoredJoints = false;
  // Not owned; bound by the solution list's view.
  TListRow* ListItem = nullptr;

  TJointList StoredJoints{10};
  TVectorLoop VectorLoop;
  std::array<shared::TComplex, kWorkVectors> Vectors{};
  TJointList Joints{10};
  TLinkList Links;
  TPrePointList PrecisionPoints{9};
  TPathPointList PathPoints{TPathPointList::kCapacity};
  TInputFunction InputFunction;
  TErrorObject Error;

 protected:
  // Link i and the point of joint i, which the chain's layout guarantees; the position analysis
  // needs no more than the point, and that without a type check in its inner loop.
  TLink& LinkAt(int32_t i) const { return *Links.GetLink(i); }
  TComplexPoint& JointAt(int32_t i) const { return *Joints.Items(i); }
  // Adds a link of the type and mode over the joints (1-based numbers).
  TLink* AddLink(uint8_t type, uint8_t mode, std::initializer_list<int32_t> joints);
  // The start of Generate: Error reset; false (Error not valid) while the curve has a
  // CurveRefusal, otherwise the reference length and the precision points taken from it.
  bool TakeCurve(const TSpline& curve);

 private:
  // Kept in memory only: a project read back has the saved rotations alone.
  std::unique_ptr<TDesign> fBeforeOptimize;
};

}  // namespace vesk
