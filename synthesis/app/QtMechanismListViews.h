// TQtListView and TQtPropertiesGrid: the solution list's list view and properties grid over the
// main window's QTreeWidget and QTableWidget.
#pragma once

#include <QTableWidget>
#include <QTreeWidget>
#include <memory>
#include <vector>

#include "shared/qt/QtText.h"
#include "synthesis/app/MechPictures.h"
#include "synthesis/engine/MechanismList.h"

namespace vesk {

// One row of MechListView.
class TQtListRow : public TListRow {
 public:
  explicit TQtListRow(QTreeWidgetItem* item) : Item(item) {}
  void SetCaption(const std::string& caption) override { Item->setText(0, shared::ToQString(caption)); }
  // The number stays with the row; the picture shows the type, optimised or marked.
  void SetImageIndex(int32_t index) override {
    Item->setData(0, Qt::UserRole, index);
    const QTreeWidget* tree = Item->treeWidget();
    const int side = tree && tree->iconSize().height() > 0 ? tree->iconSize().height()
                                                           : PictureSide(QFontMetrics(Item->font(0)));
    Item->setIcon(0, MechImage(index, side));
  }
  void SetSubItems(const std::vector<std::string>& items) override {
    for (size_t i = 0; i < items.size(); ++i) Item->setText(int(i) + 1, shared::ToQString(items[i]));
  }
  QTreeWidgetItem* Item;
};

// MechListView behind the list's interface; each row keeps its adapter at a fixed address.
class TQtListView : public TListView {
 public:
  explicit TQtListView(QTreeWidget* tree) : Tree(tree) {}
  void BeginUpdate() override {
    if (Depth++ == 0) Tree->setUpdatesEnabled(false);
  }
  void EndUpdate() override {
    if (Depth > 0 && --Depth == 0) Tree->setUpdatesEnabled(true);
  }
  void Clear() override {
    const QSignalBlocker block(Tree);
    Tree->clear();
    Rows.clear();
  }
  int32_t RowCount() const override { return int32_t(Rows.size()); }
  TListRow* AddRow() override {
    const QSignalBlocker block(Tree);
    auto* item = new QTreeWidgetItem(Tree);
    Rows.push_back(std::make_unique<TQtListRow>(item));
    return Rows.back().get();
  }
  TListRow* Row(int32_t row) override {
    return row >= 0 && row < RowCount() ? Rows[size_t(row)].get() : nullptr;
  }
  void DeleteRow(int32_t row) override {
    if (row < 0 || row >= RowCount()) return;
    const QSignalBlocker block(Tree);
    delete Tree->takeTopLevelItem(row);
    Rows.erase(Rows.begin() + row);
  }
  int32_t SelectedRow() const override {
    QTreeWidgetItem* item = Tree->currentItem();
    return item && item->isSelected() ? Tree->indexOfTopLevelItem(item) : -1;
  }
  void SetSelectedRow(int32_t row) override {
    const QSignalBlocker block(Tree);
    if (row < 0 || row >= RowCount()) {
      Tree->clearSelection();
      Tree->setCurrentItem(nullptr);
      return;
    }
    Tree->setCurrentItem(Tree->topLevelItem(row));
    Tree->topLevelItem(row)->setSelected(true);
  }

 private:
  QTreeWidget* Tree;
  std::vector<std::unique_ptr<TQtListRow>> Rows;
  int Depth = 0;
};

// StringGrid1 behind the list's interface.
class TQtPropertiesGrid : public TPropertiesGrid {
 public:
  explicit TQtPropertiesGrid(QTableWidget* table) : Table(table) {}
  int32_t ColCount() const override { return Table->columnCount(); }
  int32_t RowCount() const override { return Table->rowCount(); }
  void SetCell(int32_t col, int32_t row, const std::string& text) override {
    QTableWidgetItem* item = Table->item(row, col);
    if (!item) {
      item = new QTableWidgetItem;
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      Table->setItem(row, col, item);
    }
    item->setText(shared::ToQString(text));
  }
  void SelectRow(int32_t row) override {
    if (row < 0)
      Table->clearSelection();
    else
      Table->selectRow(row);
  }

 private:
  QTableWidget* Table;
};

}  // namespace vesk
