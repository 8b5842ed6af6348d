// The tab control whose tabs wrap into rows: layout by the tabs' own sizes, painting through the
// style, and the clicks and hover on the tabs as they are drawn.
#include "synthesis/app/TabRows.h"

#include <QEvent>
#include <QHoverEvent>
#include <QMouseEvent>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <algorithm>

namespace vesk {

TRowTabBar::TRowTabBar(QWidget* parent) : QTabBar(parent) {
  // The rows take the place of scrolling and of shortened captions.
  setUsesScrollButtons(false);
  setElideMode(Qt::ElideNone);
  setExpanding(false);
  setDrawBase(false);
  setAttribute(Qt::WA_Hover, true);
  // The current tab's row moves next to the page.
  connect(this, &QTabBar::currentChanged, this, [this] { update(); });
}

int TRowTabBar::AvailableWidth() const {
  const QWidget* control = qobject_cast<const QTabWidget*>(parentWidget());
  return std::max(1, control ? control->contentsRect().width() : width());
}

TRowTabBar::TRows TRowTabBar::Layout(int width) const {
  TRows rows;
  const int n = count();
  rows.Tabs.resize(size_t(n));
  rows.RowOf.resize(size_t(n));
  if (n == 0) return rows;
  std::vector<QSize> sizes;
  std::vector<std::vector<int>> lines(1);
  int x = 0, height = 0;
  for (int i = 0; i < n; ++i) {
    sizes.push_back(tabSizeHint(i));
    height = std::max(height, sizes.back().height());
    if (x > 0 && x + sizes.back().width() > width) {
      lines.emplace_back();
      x = 0;
    }
    lines.back().push_back(i);
    x += sizes.back().width();
  }
  const int current = currentIndex();
  const auto shown = std::find_if(lines.begin(), lines.end(), [current](const std::vector<int>& line) {
    return std::find(line.begin(), line.end(), current) != line.end();
  });
  if (shown != lines.end()) std::rotate(shown, shown + 1, lines.end());
  for (size_t row = 0; row < lines.size(); ++row) {
    const std::vector<int>& line = lines[row];
    int used = 0;
    for (int i : line) used += sizes[size_t(i)].width();
    const int extra = lines.size() > 1 ? std::max(0, width - used) : 0;
    const int tabs = int(line.size());
    x = 0;
    for (int k = 0; k < tabs; ++k) {
      const int i = line[size_t(k)];
      const int w = sizes[size_t(i)].width() + extra * (k + 1) / tabs - extra * k / tabs;
      rows.Tabs[size_t(i)] = QRect(x, int(row) * height, w, height);
      rows.RowOf[size_t(i)] = int(row);
      x += w;
    }
  }
  rows.Rows = int(lines.size());
  return rows;
}

QRect TRowTabBar::RowTabRect(int index) const {
  if (index < 0 || index >= count()) return {};
  return Layout(width()).Tabs[size_t(index)];
}

int TRowTabBar::RowCount() const { return Layout(width()).Rows; }

int TRowTabBar::RowTabAt(const QPoint& point) const {
  const TRows rows = Layout(width());
  for (int i = 0; i < count(); ++i)
    if (rows.Tabs[size_t(i)].contains(point)) return i;
  return -1;
}

QSize TRowTabBar::sizeHint() const {
  const int width = AvailableWidth();
  const TRows rows = Layout(width);
  int bottom = 0;
  for (const QRect& tab : rows.Tabs) bottom = std::max(bottom, tab.bottom() + 1);
  return {width, bottom};
}

QSize TRowTabBar::minimumSizeHint() const {
  // As narrow as the widest tab; as high as the rows at the width given.
  int widest = 0;
  for (int i = 0; i < count(); ++i) widest = std::max(widest, tabSizeHint(i).width());
  return {widest, sizeHint().height()};
}

bool TRowTabBar::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverMove: {
      const int hover = RowTabAt(static_cast<QHoverEvent*>(event)->position().toPoint());
      if (hover != fHover) {
        fHover = hover;
        update();
      }
      return true;
    }
    case QEvent::HoverLeave:
      fHover = -1;
      update();
      return true;
    default:
      break;
  }
  const bool handled = QTabBar::event(event);
  if (event->type() == QEvent::Resize) {
    // Another number of rows changes the height the tab control must keep for them.
    const int rows = RowCount();
    if (rows != fRows) {
      fRows = rows;
      updateGeometry();
    }
  }
  return handled;
}

void TRowTabBar::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  const TRows rows = Layout(width());
  const int current = currentIndex();
  const int n = count();
  const auto draw = [&](int i) {
    QStyleOptionTab tab;
    initStyleOption(&tab, i);
    tab.rect = rows.Tabs[size_t(i)];
    const int row = rows.RowOf[size_t(i)];
    const bool first = i == 0 || rows.RowOf[size_t(i - 1)] != row;
    const bool last = i == n - 1 || rows.RowOf[size_t(i + 1)] != row;
    tab.position = first && last ? QStyleOptionTab::OnlyOneTab
                   : first       ? QStyleOptionTab::Beginning
                   : last        ? QStyleOptionTab::End
                                 : QStyleOptionTab::Middle;
    tab.selectedPosition = !first && i - 1 == current ? QStyleOptionTab::PreviousIsSelected
                           : !last && i + 1 == current ? QStyleOptionTab::NextIsSelected
                                                       : QStyleOptionTab::NotAdjacent;
    tab.state &= ~QStyle::State_MouseOver;
    if (i == fHover && isEnabled()) tab.state |= QStyle::State_MouseOver;
    if (!(tab.state & QStyle::State_Enabled)) tab.palette.setCurrentColorGroup(QPalette::Disabled);
    painter.drawControl(QStyle::CE_TabBarTab, tab);
  };
  // The current tab last, over its neighbours.
  for (int i = 0; i < n; ++i)
    if (i != current) draw(i);
  if (current >= 0) draw(current);
}

void TRowTabBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  const int index = RowTabAt(event->position().toPoint());
  if (index >= 0 && isTabEnabled(index)) setCurrentIndex(index);
  event->accept();
}

// The tabs do not move: the bar's own dragging would follow its single-row places.
void TRowTabBar::mouseMoveEvent(QMouseEvent* event) { event->accept(); }

void TRowTabBar::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }

void TRowTabBar::tabLayoutChange() {
  QTabBar::tabLayoutChange();
  updateGeometry();
  update();
}

TRowTabWidget::TRowTabWidget(QWidget* parent) : QTabWidget(parent), fBar(new TRowTabBar(this)) {
  setTabBar(fBar);
}

}  // namespace vesk
