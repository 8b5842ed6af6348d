// TRowTabBar and TRowTabWidget: a tab control whose tabs wrap into as many rows as its width
// needs, each tab as wide as its caption in the font, so every tab stays in sight.
#pragma once

#include <QTabBar>
#include <QTabWidget>
#include <vector>

namespace vesk {

class TRowTabBar : public QTabBar {
  Q_OBJECT

 public:
  explicit TRowTabBar(QWidget* parent = nullptr);

  // Where the tab is drawn and takes its clicks; empty for an index out of range.
  QRect RowTabRect(int index) const;
  int RowCount() const;
  int RowTabAt(const QPoint& point) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void tabLayoutChange() override;

 private:
  struct TRows {
    std::vector<QRect> Tabs;  // by tab index
    std::vector<int> RowOf;   // by tab index, 0 the top row
    int Rows = 0;
  };
  // The tabs laid out in rows for the width: the row of the current tab last, next to the page;
  // with more than one row every row spans the width.
  TRows Layout(int width) const;
  // The width the tab control gives its bar.
  int AvailableWidth() const;
  int fHover = -1;
  int fRows = 0;
};

class TRowTabWidget : public QTabWidget {
  Q_OBJECT

 public:
  explicit TRowTabWidget(QWidget* parent = nullptr);
  TRowTabBar* RowTabBar() const { return fBar; }

 private:
  TRowTabBar* fBar;
};

}  // namespace vesk
