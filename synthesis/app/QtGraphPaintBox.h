// TQtGraphPaintBox: the graph box on a widget. A paint event draws the whole graph only when it
// is out of date and otherwise shows the kept picture, so that a moving cursor draws alone.
#pragma once

#include <QSize>
#include <QWidget>
#include <memory>

#include "shared/Convert.h"
#include "shared/qt/QtCanvas.h"
#include "synthesis/engine/GraphPaintBox.h"

namespace vesk {

class TQtGraphPaintBox {
 public:
  TQtGraphPaintBox(QWidget* widget, const shared::TConvert& units);
  ~TQtGraphPaintBox();

  TGraphPaintBox& Graph() { return *FGraph; }
  // The samples, titles or options changed: the next paint event draws the graph anew.
  void Invalidate();

 private:
  std::unique_ptr<shared::TQtPaintBox> FPaintBox;
  std::unique_ptr<TGraphPaintBox> FGraph;
  bool FRepaintPending = true;
  QSize FPaintedSize;  // of the last full paint
};

}  // namespace vesk
