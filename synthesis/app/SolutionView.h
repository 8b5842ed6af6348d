// TSolutionView: what the drawing views ask of the solution list and its current solution. The
// main window holds none until the solution list is wired in; every call is then skipped.
#pragma once

#include <string>

#include "shared/Canvas2D.h"
#include "shared/Complex.h"

namespace vesk {

class TComplexPointList;

// Pick kinds of the mechanism view.
inline constexpr int kPickNothing = 0;
inline constexpr int kPickJoint = 1;
inline constexpr int kPickPrecisionPoint = 2;
inline constexpr int kPickLink = 3;
inline constexpr int kPickPathPoint = 4;
inline constexpr int kPickCurvePoint = 6;
inline constexpr int kPickGroundArea = 7;

class TSolutionView {
 public:
  virtual ~TSolutionView() = default;
  virtual bool HasCurrent() const = 0;
  // The current solution loses its selection.
  virtual void Deselect() = 0;
  // The list's hit test on the current solution: the kind found (joint, precision point, link,
  // path point or nothing) and its index. A joint, link or path point found is selected (a
  // precision point is not), and the grid row of a joint or link with it.
  virtual int PickAt(const shared::TComplex& point, double tolerance, int& index) = 0;
  virtual bool HasSelectedJoint() const = 0;
  // The selected joint dropped at the point, the views refilled; the status line's text: why
  // the drop was not taken or the joint is not dragged, empty when it was taken.
  virtual std::string DragJoint(const shared::TComplex& point) = 0;
  // The joint list with its selected joint current, or the path-point list with its selected
  // path point; null when nothing of that kind is selected.
  virtual TComplexPointList* SelectedJointList() = 0;
  virtual TComplexPointList* SelectedPathPointList() = 0;
  virtual void RefillGrid() = 0;
  virtual void Draw(shared::TCanvas2D& canvas) = 0;
  // Widens the box by the current solution's visible joints.
  virtual void UpdateExtent(shared::TComplex& min, shared::TComplex& max) = 0;
  // The default input function takes the current solution's function type and cycle time.
  virtual void TakeDefaultInputFunction() = 0;
  // Every solution applies the default input function; the graph is refilled.
  virtual void ApplyDefaultInputFunction() = 0;
  // The list's row views after a change of units or coordinates.
  virtual void RefillViews() = 0;
};

}  // namespace vesk
