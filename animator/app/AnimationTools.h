// The animation view's mouse tools: the canvas mode each tool sets, and the clicks of the tools
// that add joints and links.
#pragma once

#include "shared/Canvas2D.h"

namespace quillon {

// A tool is the canvas mode it sets. The canvas acts on the zoom and pan modes itself; the view
// gives the others their meaning.
enum class TTool : int {
  Select = shared::kModeSelect,
  ZoomRect = shared::kModeZoomRect,
  ZoomOut = shared::kModeZoomOut,
  AddArea = 4,
  AddCurvePoint = 5,
  Pan = shared::kModePan,
  DragZoom = shared::kModeDragZoom,
  AddInput = 13,
  AddDyad = 14,
  AddJoint = 15,
  AddSlider = 16,
};

// The tools that add joints and links: each ends by itself once its clicks are made.
inline bool IsAddTool(TTool tool) { return tool >= TTool::AddInput && tool <= TTool::AddSlider; }

// Clicks an add tool needs: one for a joint on a link, two for the others.
inline int ClicksOfTool(TTool tool) { return tool == TTool::AddJoint ? 1 : 2; }

}  // namespace quillon
