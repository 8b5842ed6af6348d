// TDXFViewFrm: the preview of a DXF drawing for a link, with its tools (new, open, zoom), the
// drawing's offsets and angle in the display units, and the list of the link's joints.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QStatusBar;
class QToolBar;
class QToolButton;

namespace shared {
class TAniCanvas2D;
class TDXFDrawing;
class TQtPaintBox;
class TQtStatusPanel;
}  // namespace shared

namespace quillon {

class TDXFViewFrm : public QWidget {
  Q_OBJECT

 public:
  explicit TDXFViewFrm(QWidget* parent = nullptr);
  ~TDXFViewFrm() override;

  // The drawing shown, never null. Whoever takes it hands another one back in its place.
  std::unique_ptr<shared::TDXFDrawing> Drawing;
  shared::TAniCanvas2D& Canvas() { return *FCanvas; }

  // Hints of the edits and of the joint list.
  void SetCaptions();
  // File name in status panel 2; offsets and angle of the drawing's placement in the edits.
  void ShowOffsets();
  // The three edits into the drawing's placement (scales back to 1); an empty edit takes the
  // current value back. A text that is no number focuses its edit with a beep and changes
  // nothing: false.
  bool ApplyOffsets();
  // One item per letter, item index selected (-1: none).
  void SetJoints(const std::string& letters, int index);
  void UpdateButtons();

  void NewButtonClick();
  void OpenButtonClick();
  // The origin and the drawing where it is drawn (through its placement) fill the view.
  void ZoomAllButtonClick();
  // The mode tools share this handler: the mode is the button's tag.
  void ZoomInButtonClick(QToolButton* sender);
  void PaintBox1Paint();
  void FrameMouseWheel(int delta);
  // The offset buttons, Enter in an edit, and leaving an edit.
  void x0ButtonClick();

  // The open dialog: the chosen file's name, or empty when cancelled. Tests replace it.
  std::function<std::string()> OpenDialog1;
  // Shows a file's read error; tests replace it.
  std::function<void(const std::string&)> ShowError;

  QToolBar* ToolBar1;
  QToolButton* NewButton;
  QToolButton* OpenButton;
  QToolButton* SelectButton;
  QToolButton* MoveButton;
  QToolButton* ZoomAllButton;
  QToolButton* ZoomInButton;
  QToolButton* ZoomOutButton;
  QToolButton* ZoomButton;
  QToolBar* ToolBar2;
  QToolButton* x0Button;
  // Null until made: the event filter compares them while the first edit is being added.
  QLineEdit* x0Edit = nullptr;
  QToolButton* y0Button;
  QLineEdit* y0Edit = nullptr;
  QToolButton* Angle0Button;
  QLineEdit* Angle0Edit = nullptr;
  QComboBox* JointBox;
  QFrame* Panel1;
  QWidget* PaintBox1;
  QStatusBar* StatusBar1;
  QLabel* StatusPanels[3];

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateComponents();
  QToolButton* NewToolButton(QToolBar* bar, const char* name, const QString& caption, int tag);
  void Repaint();

  std::unique_ptr<shared::TQtPaintBox> PaintBox;
  std::unique_ptr<shared::TAniCanvas2D> FCanvas;
  std::unique_ptr<shared::TQtStatusPanel> XPanel;
  std::unique_ptr<shared::TQtStatusPanel> YPanel;
  // ApplyOffsets runs: the focus it moves does not start it again.
  bool Applying = false;
};

}  // namespace quillon
