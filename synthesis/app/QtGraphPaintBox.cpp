// The graph box's widget binding: full repaints after a change or a new size, the kept picture
// otherwise.
#include "synthesis/app/QtGraphPaintBox.h"

namespace vesk {

TQtGraphPaintBox::TQtGraphPaintBox(QWidget* widget, const shared::TConvert& units)
    : FPaintBox(std::make_unique<shared::TQtPaintBox>(widget)),
      FGraph(std::make_unique<TGraphPaintBox>(*FPaintBox, units)) {
  FPaintBox->OnPaint = [this] {
    const QSize size(FPaintBox->Width(), FPaintBox->Height());
    if (!FRepaintPending && size == FPaintedSize) return;
    FRepaintPending = false;
    FPaintedSize = size;
    FGraph->Paint();
  };
  // A resize keeps only what fits the new size, and a panel shown again may pass through other
  // sizes on its way back to the old one: the picture is drawn anew.
  FPaintBox->OnResize = [this] {
    if (QSize(FPaintBox->Width(), FPaintBox->Height()) != FPaintedSize) FRepaintPending = true;
  };
}

TQtGraphPaintBox::~TQtGraphPaintBox() {
  // The paint box stops forwarding before the graph goes.
  FPaintBox.reset();
}

void TQtGraphPaintBox::Invalidate() {
  FRepaintPending = true;
  if (QWidget* widget = FPaintBox->Widget()) widget->update();
}

}  // namespace vesk
