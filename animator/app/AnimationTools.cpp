// The animation view's mouse tools: the tool buttons, the add tools' undo entry, and what a
// press, a move and a release do in each tool.
#include <QToolButton>
#include <exception>

#include "animator/app/AnimationFrm.h"
#include "animator/app/GraphFrm.h"
#include "animator/engine/AniMechanism.h"
#include "animator/engine/StdOut.h"
#include "shared/AniCanvas2D.h"
#include "shared/TabLine.h"

namespace quillon {

namespace {

// The property of a tool button that holds its tool.
constexpr const char* kToolProperty = "Tool";

TTool ToolOf(const QToolButton* button) { return static_cast<TTool>(button->property(kToolProperty).toInt()); }

}  // namespace

TTool TAnimationFrm::Tool() const { return static_cast<TTool>(FCanvas->Mode()); }

void TAnimationFrm::SetTool(TTool tool) { FCanvas->SetMode(static_cast<int>(tool)); }

void TAnimationFrm::SetToolOf(QToolButton* button, TTool tool) {
  button->setProperty(kToolProperty, static_cast<int>(tool));
}

QList<QToolButton*> TAnimationFrm::ToolButtons() const {
  return {SelectButton,  MoveButton,      ZoomInButton,   ZoomOutButton,  ZoomButton,   AddInputButton,
          AddDyadButton, AddSliderButton, AddJointButton, AddCurveButton, AddAreaButton};
}

void TAnimationFrm::DropUnusedAddToolEntry() {
  if (!AddToolEntry) return;
  AddToolEntry = false;
  const TTool tool = Tool();
  // No click yet: the tool changed nothing, and its entry would make Undo look idle.
  if (!IsAddTool(tool) || FMechanism->AddClicks != ClicksOfTool(tool)) return;
  shared::TTabLines& store = shared::TabLines();
  store.Undo();
  store.Clear();
}

void TAnimationFrm::SelectButtonClick(QToolButton* button) {
  const TTool tool = ToolOf(button);
  if (IsAddTool(tool)) StopButtonClick();
  DropUnusedAddToolEntry();
  if (IsAddTool(Tool())) MechanismChanged();
  SetTool(tool);
  if (IsAddTool(tool)) {
    FMechanism->AddClicks = ClicksOfTool(tool);
    // The entry is pushed before the first click, which already changes the mechanism; a tool
    // left without a click drops it again.
    FMechanism->SaveUndoState(shared::TabLines());
    AddToolEntry = true;
  } else {
    FMechanism->AddClicks = 0;
  }
  UpdateToolButtons();
}

void TAnimationFrm::UpdateToolButtons() {
  for (QToolButton* button : ToolButtons())
    button->setChecked(ToolOf(button) == Tool());
}

void TAnimationFrm::EndAddTool() {
  if (!IsAddTool(Tool())) return;
  FMechanism->AddClicks = 0;
  SetTool(TTool::Select);
  UpdateToolButtons();
}

// ---------------------------------------------------------------------------------------------
// Mouse. The paint box has given each event to the canvas before these run.

void TAnimationFrm::PaintBox1MouseDown(Qt::MouseButton button, uint8_t shift, int x, int y) {
  TAniMechanism& m = *FMechanism;
  const shared::TComplex press = FCanvas->PressPoint;
  const bool extend = (shift & (shared::kShiftKey | shared::kCtrlKey)) != 0;
  if (!extend) {
    m.DeselectAll();
    m.Curve.DeselectAll();
  }
  const TTool tool = Tool();
  // The joint an add tool is placing is not itself picked.
  const bool skipLast = (tool == TTool::AddDyad || tool == TTool::AddSlider) && m.AddClicks == 1;
  // Kept aside until the release: a drag records it, and so do the curve and area tools when
  // they added something.
  DragUndo.reset();
  if (tool == TTool::Select || tool == TTool::AddArea || tool == TTool::AddCurvePoint) DragUndo.emplace(m);
  Dragged = false;
  const double t = FCanvas->PickToleranceWorld();
  if (tool == TTool::AddArea && button == Qt::LeftButton) m.Areas.AddArea(press, press);
  if (tool == TTool::Select && button == Qt::LeftButton) {
    if (!m.Curve.HitTest(press, extend, t)) m.Areas.HitTest(press, extend, t);
  }
  if (tool == TTool::Select || tool == TTool::AddDyad || tool == TTool::AddJoint ||
      tool == TTool::AddSlider) {
    if (!m.HitJoint(press, extend, skipLast, t)) m.HitLink(shared::TPoint{x, y}, extend, skipLast);
  }
}

void TAnimationFrm::PaintBox1MouseMove(uint8_t shift, int, int) {
  TAniMechanism& m = *FMechanism;
  enum { kNone, kDraw, kFull } redraw = kNone;
  const double dx = FCanvas->CurrentPoint.X - FCanvas->PreviousPoint.X;
  const double dy = FCanvas->CurrentPoint.Y - FCanvas->PreviousPoint.Y;
  const TTool tool = Tool();
  if (shift & shared::kLeftButton) {
    if (tool == TTool::Pan || tool == TTool::DragZoom) {
      redraw = kFull;
    } else if (tool == TTool::AddArea) {
      m.Areas.MoveSelected(dx, dy);
      redraw = kDraw;
    } else if (tool == TTool::Select) {
      const TSelectionKind kind = m.SelectionKind();
      FLastSelectionKind = kind;
      if (kind != TSelectionKind::None) {
        Dragged = true;
        switch (kind) {
          case TSelectionKind::Joint:
            m.MoveSelection(dx, dy);
            m.SnapSelectedJoint(FCanvas->PickToleranceWorld() / 2);
            break;
          case TSelectionKind::Link:
            m.MoveSelection(dx, dy);
            break;
          case TSelectionKind::CurvePoint:
            m.Curve.MoveSelected(dx, dy);
            if (OnCurveChange) OnCurveChange();
            break;
          default:
            m.Areas.MoveSelected(dx, dy);
            if (OnAreaChange) OnAreaChange();
            break;
        }
        // Areas play no part in the solution; a curve point changes the deviation.
        if (kind != TSelectionKind::Area) MechanismChanged();
        redraw = kDraw;
      }
    }
  }
  if (m.AddClicks == 1 && (tool == TTool::AddInput || tool == TTool::AddDyad || tool == TTool::AddSlider)) {
    const shared::TComplex point = FCanvas->CurrentPoint;
    if (tool == TTool::AddInput) m.AddCrankByClicks(point, true);
    if (tool == TTool::AddDyad) m.AddPinDyadByClicks(point, true, FCanvas->GridStep);
    if (tool == TTool::AddSlider) m.AddSliderDyadByClicks(point, true, FCanvas->GridStep);
    if (redraw == kNone) redraw = kDraw;
  }
  if (redraw == kFull) {
    PaintBox1Paint();
  } else if (redraw == kDraw) {
    Draw();
  }
}

void TAnimationFrm::PaintBox1MouseUp(Qt::MouseButton, uint8_t, int, int) {
  TAniMechanism& m = *FMechanism;
  const TTool tool = Tool();
  // Of the Select tool only a drag leaves an undo entry; a plain click records nothing.
  std::optional<TUndoStep> undo;
  if (DragUndo && (tool != TTool::Select || Dragged)) undo.emplace(std::move(*DragUndo));
  DragUndo.reset();
  Dragged = false;
  FLastSelectionKind = m.SelectionKind();
  const shared::TComplex release = FCanvas->ReleasePoint;
  std::exception_ptr failure;
  bool added = true;
  try {
    switch (tool) {
      case TTool::AddCurvePoint:
        m.Curve.AddPoint(FCanvas->PressPoint);
        break;
      case TTool::AddInput:
        added = m.AddCrankByClicks(release, false);
        break;
      case TTool::AddDyad:
        added = m.AddPinDyadByClicks(release, false, FCanvas->GridStep);
        break;
      case TTool::AddJoint:
        added = m.AddJointToLinkByClick(release);
        break;
      case TTool::AddSlider:
        added = m.AddSliderDyadByClicks(release, false, FCanvas->GridStep);
        break;
      default:
        break;
    }
  } catch (...) {
    failure = std::current_exception();
  }
  if (!added) StdOut().Warning(NoLetterText);
  if (undo) undo->Commit();
  // The tool's end runs whether or not its last step failed.
  if ((tool == TTool::AddCurvePoint || IsAddTool(tool)) && m.AddClicks == 0) {
    MechanismChanged();
    Draw();
    if (tool == TTool::AddCurvePoint) GraphFrm1->SetErrorAvailable(m.CanFitCurve());
    if (IsAddTool(tool)) SetTool(TTool::Select);
  } else {
    PaintBox1Paint();
  }
  if (OnCurveChange) OnCurveChange();
  if (OnAreaChange) OnAreaChange();
  UpdateToolButtons();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace quillon
