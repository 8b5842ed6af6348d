// The step bar: a slider that paints its selection band below the groove.
#include "animator/app/TrackBar.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>
#include <algorithm>

namespace quillon {

TTrackBar::TTrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) { setTickPosition(QSlider::NoTicks); }

void TTrackBar::SetSelection(int start, int end) {
  if (start > end) std::swap(start, end);
  if (start == FSelStart && end == FSelEnd) return;
  FSelStart = start;
  FSelEnd = end;
  update();
}

void TTrackBar::paintEvent(QPaintEvent* event) {
  QSlider::paintEvent(event);
  if (FSelEnd <= FSelStart || maximum() <= minimum()) return;
  QStyleOptionSlider option;
  initStyleOption(&option);
  const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
  const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
  // The handle's centre runs over the groove less one handle width.
  const int span = groove.width() - handle.width();
  const auto x = [&](int value) {
    return groove.left() + handle.width() / 2 +
           QStyle::sliderPositionFromValue(minimum(), maximum(), value, span);
  };
  QPainter painter(this);
  const int top = std::min(height() - 4, groove.bottom() + 2);
  painter.fillRect(QRect(QPoint(x(FSelStart), top), QPoint(x(FSelEnd), top + 2)), palette().highlight());
}

}  // namespace quillon
