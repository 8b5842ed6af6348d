// TTrackBar: the step bar of the animation view, a horizontal slider with a marked selection
// band (the steps a solution did not reach) and a Tag that guards its change handler.
#pragma once

#include <QSlider>

namespace quillon {

class TTrackBar : public QSlider {
  Q_OBJECT

 public:
  explicit TTrackBar(QWidget* parent = nullptr);

  // Non-zero while the owner sets the bar itself; the owner's change handler then does nothing.
  int Tag = 0;

  void SetSelection(int start, int end);
  int SelStart() const { return FSelStart; }
  int SelEnd() const { return FSelEnd; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int FSelStart = 0;
  int FSelEnd = 0;
};

}  // namespace quillon
