// Compact tool bars through a style that trims the frame of the buttons and the gaps of the bar.
#include "synthesis/app/CompactToolBar.h"

#include <QAction>
#include <QProxyStyle>
#include <QStyleOption>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

namespace vesk {

namespace {

// The application's style with tighter tool buttons; it draws as the application's style does.
class TCompactStyle : public QProxyStyle {
 public:

  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                         const QWidget* widget) const override {
    const QSize full = QProxyStyle::sizeFromContents(type, option, size, widget);
    if (type != CT_ToolButton) return full;
    // Three pixels of frame beside the picture, four above and below.
    return {std::min(full.width(), size.width() + 6), std::min(full.height(), size.height() + 8)};
  }
  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
    if (metric == PM_ToolBarItemSpacing) return 0;
    if (metric == PM_ToolBarSeparatorExtent) return 5;
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
};

}  // namespace

void MakeCompact(QToolBar* bar) {
  // One style for the bar and its buttons (a widget's style does not pass to its children); a
  // second call takes in the buttons added since. The window keeps the style until the bars
  // are gone.
  auto* style = dynamic_cast<TCompactStyle*>(bar->style());
  if (!style) {
    style = new TCompactStyle;
    style->setParent(bar->parentWidget() ? static_cast<QObject*>(bar->parentWidget()) : bar);
    bar->setStyle(style);
  }
  for (QAction* action : bar->actions())
    if (QWidget* button = bar->widgetForAction(action); qobject_cast<QToolButton*>(button) && button->style() != style)
      button->setStyle(style);
}

}  // namespace vesk
