// TAniMechanism: the animated planar linkage, owning its joints, links, dyads, input functions,
// target curve and areas, and reading and writing the content of the mechanism document (*.mech).
#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "animator/engine/AniDyad.h"
#include "animator/engine/AniJoint.h"
#include "animator/engine/AniLink.h"
#include "animator/engine/Area.h"
#include "animator/engine/Dyad.h"
#include "animator/engine/ICenters.h"
#include "animator/engine/InputFunction.h"
#include "animator/engine/MechanismHeader.h"
#include "animator/engine/Spline.h"
#include "animator/engine/SubStep.h"
#include "shared/Canvas2D.h"
#include "shared/Complex.h"
#include "shared/TabLine.h"

namespace shared {
class TWorksheet;
}

namespace quillon {

class TPropertyGrid;

// Relative instant centre of the shown link pair at one step.
struct TCentreRecord {
  double X = 0;
  double Y = 0;
  uint8_t AtInfinity = 0;
};

// The tracer's deviation from the target curve at one step.
struct TDeviationRecord {
  double Path = 0;
  double InputError = 0;
  double OutputError = 0;
};

// What the selection holds, in the order a drag looks for it.
enum class TSelectionKind { None, Joint, Link, CurvePoint, Area };

class TAniMechanism {
 public:
  static constexpr int32_t kDefaultPositions = 90;
  // What one document may declare. Joints are single letters; every joint joins at most two
  // links, so 26 letters give at most 52 links, and a dyad takes two of them. A document
  // beyond a bound is read up to it with one warning.
  static constexpr int32_t kMaxJoints = 26;
  static constexpr int32_t kMaxLinks = 2 * kMaxJoints;
  static constexpr int32_t kMaxDyads = kMaxLinks / 2;

  // One input function, the four-bar preset, 90 positions, solved, not modified.
  TAniMechanism();
  ~TAniMechanism();
  TAniMechanism(const TAniMechanism&) = delete;
  TAniMechanism& operator=(const TAniMechanism&) = delete;

  uint8_t Modified = 0;
  // Last grid row the properties writer filled; rows up to it are editable.
  int32_t LastPropertyRow = 0;
  std::vector<std::unique_ptr<TInputFunction>> Inputs;
  TDyad Solver;
  // The dyads of the last solution, for posing the linkage between its steps.
  TSubStep Between;
  TICenters Centres;
  shared::TComplex Scratch;
  // Copied after every solution from the last joint with Analyse or ShowVectors; scale the arrows.
  double VelocityScale = 1.0;
  double AccelerationScale = 1.0;
  int32_t PresetType = 0;
  std::vector<std::unique_ptr<TAniJoint>> Joints;
  // The last solution covered the whole cycle with a periodic first input.
  uint8_t FullCycle = 0;
  int32_t CycleCount = 0;
  // Positions per cycle; every per-step array holds N + 1 entries.
  int32_t N = kDefaultPositions;
  int32_t CurrentStep = 0;
  // Solved length 0..N.
  int32_t Len = 0;
  // The output joint: one of Joints, not owned; nullptr for none.
  TAniJoint* Tracer = nullptr;
  // Link 0 is the frame.
  std::vector<std::unique_ptr<TAniLink>> Links;
  // LinkCount x LinkCount, symmetric: the joint links i and j share, -1 for none.
  std::vector<std::vector<int32_t>> SharedJoint;
  std::vector<std::unique_ptr<TAniDyad>> Dyads;
  std::string PresetName;
  // Clicks left of the interactive add tool in progress.
  int32_t AddClicks = 0;

  // $00BBGGRR.
  uint32_t LinkColour = 0xFFFF00;
  uint32_t EdgeColour = 0;
  uint32_t JointColour = 0xFFFFFF;
  uint32_t PathColour = 0xFF0000;
  uint32_t VelocityColour = 0xFF0000;
  uint32_t AccelerationColour = 0x0000FF;
  uint32_t CentreColour = 0x008000;
  uint32_t LabelColour = 0;

  uint8_t Visible = 1;
  // Links as hollow polygons through their joints, without pin circles.
  uint8_t Stick = 0;
  uint8_t ShowLabels = 1;
  uint8_t ShowCentres = 0;
  uint8_t ShowPaths = 1;
  uint8_t ShowVelocity = 1;
  uint8_t ShowAcceleration = 1;
  // Set by the optimiser, shown in reports.
  uint8_t Optimized = 0;

  TAreaList Areas;
  TSpline Curve;

  std::vector<TCentreRecord> CentreAt;
  std::vector<TDeviationRecord> Deviation;
  double MaxDeviation = 0;
  double MaxInputError = 0;
  double MaxOutputError = 0;
  double Integral = 0;
  // Halved products of 1 + |w − u|² over the curve, each factor raised to N times the share of
  // the curve it stands for.
  double InputProduct = 1.0;
  double OutputProduct = 1.0;

  int32_t JointCount() const { return static_cast<int32_t>(Joints.size()); }
  int32_t LinkCount() const { return static_cast<int32_t>(Links.size()); }
  int32_t DyadCount() const { return static_cast<int32_t>(Dyads.size()); }
  int32_t InputCount() const { return static_cast<int32_t>(Inputs.size()); }
  TAniJoint& Joint(int32_t i) { return *Joints[i]; }
  TAniLink& Link(int32_t i) { return *Links[i]; }
  TAniDyad& Dyad(int32_t i) { return *Dyads[i]; }
  TInputFunction& Input(int32_t i) { return *Inputs[i]; }
  const TAniJoint& Joint(int32_t i) const { return *Joints[i]; }
  const TAniLink& Link(int32_t i) const { return *Links[i]; }
  const TInputFunction& Input(int32_t i) const { return *Inputs[i]; }
  // Index of the tracer in Joints, -1 for none.
  int32_t TracerIndex() const;

  // Count setters create new elements with the current N at the end, or free the surplus at
  // the end; a negative count is ignored.
  void SetJointCount(int32_t n);
  void SetLinkCount(int32_t n);
  void SetDyadCount(int32_t n);
  void SetInputCount(int32_t n);

  void AddInput(char letter);
  void AddJoint(char letter, bool trace, double x, double y, bool analyse, bool showVectors);
  void AddLink(const std::string& name, const std::string& kinds, bool kinematics, bool icLink);
  void AddDyad(const std::string& name1, const std::string& name2);

  // Last joint with the letter (upper-cased), -1 when none.
  int32_t FindJoint(char letter) const;
  // Last link of the same name, letter order free; -1 when none.
  int32_t FindLink(const std::string& name) const;
  // Last dyad holding link l, -1 when none.
  int32_t FindDyadWithLink(int32_t l) const;

  // Indices out of range are ignored.
  void DeleteJoint(int32_t i);
  void DeleteLink(int32_t i);
  void DeleteDyad(int32_t i);
  // Frame joints that belong to no other link leave the frame and are deleted.
  void RemoveLooseFrameJoints();
  // Joins drop into keep at drop's first link, unless some joint already holds both links.
  void MergeJoint(int32_t keep, int32_t drop);

  // Link indices of the dyads, joint indices of the links, Link1/Link2 of the joints,
  // SharedJoint and the plan of the centre table, all from the names.
  void RebuildTopology();

  // n < 1 is ignored; more than TInputFunction::kMaxSteps gives that many.
  void SetPositionCount(int32_t n);
  // The first input function gets N steps, every other one its time step.
  void RetimeInputs();
  // The joint becomes the tracer with Trace, Analyse and ShowVectors; other indices are ignored.
  void SetTracer(int32_t i);

  // The mechanism's, the curve's or the areas' flag.
  bool GetModified() const;
  void SetModified(bool value);

  // CurrentStep clamped to 0..Len.
  void SetFrame(int32_t i);
  // The step the drawing shows and picking works on: CurrentStep within the solved range. A
  // solution that shortens the range leaves CurrentStep as it is, so the step comes back once
  // an edit that ended the range early is taken back.
  int32_t ShownStep() const;
  void ResetFrame();
  // Next step, wrapping after Len (to 1 for a full cycle, where step N equals step 0); answers
  // the cycle count.
  int32_t NextFrame();

  // Positions, rotations, centres, kinematics and curve deviation of steps 1..N; CurrentStep is
  // left as it is (see ShownStep).
  void Calculate();
  // Every joint's position at CurrentStep becomes its design position; CurrentStep 0; Calculate.
  void FrameToDesign();
  // The curve is usable and the traced tracer covered a path of positive length.
  bool CanFitCurve() const;
  // A curve of positive length and a traced path of positive length, and with areas every design
  // position lies in an area of its letter.
  bool IsFeasible();
  // Weighted product of the integral path error and the output and input rotation products.
  double CombinedError() const;

  // Values of the last solution for views, graphs and tables; every getter answers 0 for a step
  // outside 0..Len, and those that need the time base answer 0 without an input function.
  double GetDyadAngle(int32_t step, int32_t dyad) const;
  // kind 0 rotation, 1 angular velocity, 2 angular acceleration.
  double GetLinkValue(int32_t step, int32_t kind, int32_t link) const;
  // kind 0 path length, 1 speed, 2 acceleration magnitude; 0 unless the joint is analysed.
  double GetJointValue(int32_t step, int32_t kind, int32_t joint) const;
  // kind 0 position, 1 velocity, 2 acceleration; (0, 0) without an analysed tracer.
  TPositionRecord GetTracerVector(int32_t step, int32_t kind) const;
  double GetPathError(int32_t step) const;
  // The output rotation error; 0 while the curve's output weight is not above 0.
  double GetRotationError(int32_t step) const;
  // Meant as the source of an "Out:In" graph, which no window offers; no ratio is defined, so
  // every step answers 0.
  double GetTransmissionRatio(int32_t step) const;
  double GetTime(int32_t step) const;
  // The first input function's displacement at the step.
  double GetInputValue(int32_t step) const;

  // Empties the mechanism and builds preset type (the table of Presets.h); a type without a
  // builder leaves it empty. Clears the message log, the curve and the areas.
  void NewMechanism(int32_t type);

  // The links, joints and their marks at ShownStep, the traced paths, the instant centres and
  // the arrows as the switches ask, then the curve and the areas; nothing while not Visible.
  void Paint(shared::TCanvas2D& canvas);
  // The frame link's drawing at its placement: the view's background.
  void PaintFrameDrawing(shared::TCanvas2D& canvas);
  // Bounding box of the curve, every joint's valid positions over 0..Len and the areas; false
  // (min and max untouched) when there is nothing to measure.
  bool GetExtent(shared::TComplex& min, shared::TComplex& max) const;

  // The document content. Reading checks the header (EMechanismError with kErrorInvalidText or
  // kErrorNewText) and replaces the content only when the whole document was read; on any
  // failure the mechanism keeps what it held. A damaged document (a checksum line that does not
  // match, text where a number belongs, records cut short, a section without its end mark,
  // letters that name no joint, records past the bounds) is still read as far as it goes, with
  // one warning per kind of damage naming the file; the answer is then false. A document read
  // is "Custom" and not optimised; an undo entry gives back the name and mark it was taken with.
  bool LoadFromTabLines(shared::TTabLines& lines = shared::TabLines());
  void SaveToTabLines(shared::TTabLines& lines = shared::TabLines()) const;
  // The store is cleared, the mechanism written and pushed onto the undo history.
  void SaveUndoState(shared::TTabLines& lines = shared::TabLines()) const;

  // Property tables and reports (AniMechanismReport.cpp): design positions in the display units
  // of the unit service, (R, angle) when polar, else (x, y).

  // Header row, a row per joint, the links' head row and a row per pair of joints of each link
  // (a link BCE gives BC, BE, CE), LastPropertyRow, an empty row, then each input function's rows.
  // The grid gets 3 columns and max(N + 2, rows filled) rows; the rows after the filled ones are
  // emptied, as are the value cells of a position marked invalid. Nothing without a grid.
  void FillPropertiesGrid(TPropertyGrid* grid, bool polar);
  // The "Mechanism Properties" table of the HTML report, then each input function's table.
  void WritePropertiesHTML(std::ostream& out, bool polar) const;
  // The tracer's position, velocity and acceleration and the shown instant centre at every
  // solved step; nothing without a tracer.
  void WritePathPointsHTML(std::ostream& out, bool polar) const;
  // The mechanism block of the spreadsheet export from the caller's row on, texts as text and
  // values as numbers; row is advanced through the block.
  void ExportToVariant(int32_t& row, shared::TWorksheet& sheet, bool polar) const;
  // Cleared and written with the preset name and the optimised mark, not pushed: the caller
  // pushes after a drag.
  void PrepareUndoState(shared::TTabLines& lines = shared::TabLines()) const;

  // Editing (AniMechanismEdit.cpp). Every edit works on design positions (step 0); the caller
  // takes the undo snapshot before it, solves after it and sets Modified.

  // Without extend everything is deselected first; the last joint within radius of the point at
  // ShownStep toggles its selection (skipLast passes over the joint an add tool is placing).
  bool HitJoint(const shared::TComplex& point, bool extend, bool skipLast, double radius);
  // Screen point against the outlines of the last draw, from link 1 upwards; the frame is never
  // picked.
  bool HitLink(TScreenPoint point, bool extend, bool skipLast);
  // Joints, links and dyads.
  void DeselectAll();
  void SelectAll();
  // What a drag in the Select tool moves: a selected joint, else a link, else curve points,
  // else areas.
  TSelectionKind SelectionKind() const;
  // First selected index at or after from, -1 when none.
  int32_t NextSelectedJoint(int32_t from = 0) const;
  int32_t NextSelectedLink(int32_t from = 0) const;

  // Selected joints and the joints of selected links move once each; locked joints stay.
  void MoveSelection(double dx, double dy);
  // The first selected joint takes the design position of the last other joint within radius.
  void SnapSelectedJoint(double radius);
  // About the first selected joint (joint 0 when none): scale, move, then rotate (radians);
  // locked joints move too.
  void ResizeMoveRotate(double factor, double dx, double dy, double angle);
  // The design positions, in joint order, that ResizeMoveRotate would give; nothing is changed.
  std::vector<shared::TComplex> ResizedMovedRotated(double factor, double dx, double dy, double angle) const;
  // (R, angle) when polar, else (x, y); an unknown letter changes nothing or answers (0, 0).
  void SetJointPosition(char letter, bool polar, double a, double b);
  shared::TComplex GetJointPosition(char letter, bool polar) const;
  // The second joint of the pair moves along the line from the first (the first moves when the
  // second is locked) to the distance length. Refusals warn in the log; false when nothing changed.
  bool SetLinkLength(const std::string& pair, double length);

  void ToggleTraceSelected();
  void ToggleVectorsSelected();
  void ToggleLockSelected();
  // Kinematics of the selected links, Analyse of the selected joints.
  void ToggleAnalysisSelected();
  // Exactly links a and b show their relative instant centre.
  void SetICLinks(int32_t a, int32_t b);
  // The first selected link (never the frame) is drawn last, or first after the frame.
  void BringLinkToFront();
  void SendLinkToBack();
  // The frame link's drawing holds at least one entity.
  bool HasFrameDrawing() const;

  // Selected joints of one link with more than two joints, and selected links of a dyad with
  // the dyad, its other link and the joints left without a link; then loose frame joints. A
  // deleted joint takes its input function with it.
  void DeleteSelected();

  // The letter after the highest one in use ('A' without joints); 0 when 'Z' is in use.
  char NextJointLetter() const;
  // A joint of the next letter at (x, y), every flag off; answers its letter, 0 (nothing added)
  // when no letter is free.
  char AddNewJoint(double x, double y);
  // The interactive add tools, called on every click (moving false) and on moves (moving true)
  // with the world point; AddClicks counts the clicks down to 0. Each answers false when it had
  // to refuse for want of a free joint letter: nothing was added and AddClicks is 0.
  bool AddCrankByClicks(const shared::TComplex& point, bool moving);
  bool AddJointToLinkByClick(const shared::TComplex& point);
  // d is the view's offset (its grid step) between the joints being placed.
  bool AddPinDyadByClicks(const shared::TComplex& point, bool moving, double d);
  bool AddSliderDyadByClicks(const shared::TComplex& point, bool moving, double d);

 private:
  struct TBlank {};
  // Nothing built, nothing solved: the scratch document of a read.
  explicit TAniMechanism(TBlank);
  bool ReadContent(shared::TTabLines& lines);
  void TakeContent(TAniMechanism& source);
  void SetTracerReference(int32_t i);
  // The letter leaves the link; a drawing stays anchored at its joint (at the first joint when
  // the anchor itself leaves).
  static void LeaveLink(TAniLink& link, char letter);
};

}  // namespace quillon
