// TGraphFrm: the motion-graph frame in the animation view's bottom panel: the tool bar that picks
// the graph kind and the x axis, and the paint box that shows the graph (TMotionGraph).
#pragma once

#include <QWidget>
#include <memory>
#include <string>

#include "animator/engine/MotionGraph.h"
#include "shared/PaintSurface.h"

class QAction;
class QFrame;
class QToolBar;
class QToolButton;

namespace shared {
class TQtPaintBox;
class TWorkbook;
}  // namespace shared

namespace quillon {

class TAniMechanism;
class TLanguageFile;

class TGraphFrm : public QWidget {
  Q_OBJECT

 public:
  explicit TGraphFrm(QWidget* parent = nullptr);
  ~TGraphFrm() override;

  // The view's mechanism, not owned; the data follow on the next Rebuild.
  void SetMechanism(const TAniMechanism* mechanism) { Graph.Mechanism = mechanism; }
  // The "Graph" texts; the graph is rebuilt in the new language.
  void ReadTexts(const TLanguageFile& texts);
  // Shows or hides the error kinds; a change rebuilds with the path error (available) or the
  // link rotation (unavailable). The frame's own flag, whether or not the frame is visible.
  void SetErrorAvailable(bool available);
  bool ErrorAvailable() const { return Graph.ErrorAvailable; }
  // A kind >= 0 becomes the current one; -1 rebuilds the current kind.
  void Rebuild(int kind = -1);
  void Out0ButtonClick(QToolButton* button);
  void TimeButtonClick();
  // The cursor to the step; the graph is repainted.
  void SetCursor(int step);
  // The graph as painted now, in the 16 colours of a 4-bit bitmap, as a JPEG file.
  void SaveJPEG(const std::string& fileName);
  // Layout and repaint, as after a change of display units.
  void Invalidate();

  void WriteLinkSheet(shared::TWorkbook& book, int quantity) const { Graph.WriteLinkSheet(book, quantity); }
  void WritePathSheet(shared::TWorkbook& book, int quantity) const { Graph.WritePathSheet(book, quantity); }
  void WriteTransmissionSheet(shared::TWorkbook& book) const { Graph.WriteTransmissionSheet(book); }
  void WriteErrorSheet(shared::TWorkbook& book) const { Graph.WriteErrorSheet(book); }
  void WriteVectorsSheet(shared::TWorkbook& book) const { Graph.WriteVectorsSheet(book); }

  TMotionGraph& Data() { return Graph; }
  const TMotionGraph& Data() const { return Graph; }
  // The paint box's drawing as shown (after the last paint).
  shared::TPaintSurface& Surface();

  QToolBar* ToolBar2;
  QToolButton* TimeButton;
  QAction* TimeSeparator;
  QToolButton* ErrorButton;
  QToolButton* RotErrorButton;
  QAction* ErrorSeparator;
  QToolButton* Out0Button;
  QToolButton* Out1Button;
  QToolButton* Out2Button;
  QToolButton* Path0Button;
  QToolButton* Path1Button;
  QToolButton* Path2Button;
  QToolButton* Trans0Button;
  QFrame* Panel1;
  QWidget* PaintBox1;

 private:
  QToolButton* NewKindButton(const char* name, int tag, const std::string& hint);
  void SetButtonHints();
  void ShowTimePicture();
  void PaintBox1Paint();

  TMotionGraph Graph;
  shared::TImageList GraphImageList;
  std::unique_ptr<shared::TQtPaintBox> PaintBox;
  QAction* ErrorButtonAction = nullptr;
  QAction* RotErrorButtonAction = nullptr;
};

}  // namespace quillon
