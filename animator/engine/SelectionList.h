// Selection and numbering over an owning list of picked items (curve points, areas): each item
// has an Id (its index), a Selected flag and HitTestSelect(point, extend, tolerance).
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "shared/Complex.h"
#include "shared/TabLine.h"

namespace quillon {

template <class T>
using TOwnedItems = std::vector<std::unique_ptr<T>>;

template <class T>
void RenumberItems(TOwnedItems<T>& items) {
  for (size_t i = 0; i < items.size(); ++i) items[i]->Id = static_cast<int32_t>(i);
}

template <class T>
void DeselectItems(TOwnedItems<T>& items) {
  for (auto& item : items) item->Selected = false;
}

// -1 when none is selected.
template <class T>
int32_t LastSelectedItem(const TOwnedItems<T>& items) {
  for (int32_t i = static_cast<int32_t>(items.size()) - 1; i >= 0; --i)
    if (items[i]->Selected) return i;
  return -1;
}

// The new item becomes the last one, numbered, and the only selected one when selectOnAdd.
template <class T>
void AppendItem(TOwnedItems<T>& items, std::unique_ptr<T> item, bool selectOnAdd) {
  DeselectItems(items);
  item->Id = static_cast<int32_t>(items.size());
  item->Selected = selectOnAdd;
  items.push_back(std::move(item));
}

// Reads the records of the section that lines stands in, the first `most` of them: each appended
// numbered and not selected, as its record leaves it, rather than through AppendItem, whose
// deselecting the whole list for every record made reading quadratic. True when there were more.
template <class T>
bool ReadItems(TOwnedItems<T>& items, shared::TTabLines& lines, size_t most) {
  bool over = false;
  while (lines.ReadLine()) {
    if (items.size() >= most) {
      over = true;
      continue;
    }
    auto item = std::make_unique<T>();
    item->ReadTabLine(lines);
    item->Id = static_cast<int32_t>(items.size());
    items.push_back(std::move(item));
  }
  return over;
}

// Removes item i and numbers the rest again; false outside the list.
template <class T>
bool EraseItem(TOwnedItems<T>& items, int32_t i) {
  if (i < 0 || i >= static_cast<int32_t>(items.size())) return false;
  items.erase(items.begin() + i);
  RenumberItems(items);
  return true;
}

// Deletes every selected item; true when any was.
template <class T>
bool EraseSelectedItems(TOwnedItems<T>& items) {
  bool any = false;
  for (int32_t i = static_cast<int32_t>(items.size()) - 1; i >= 0; --i)
    if (items[i]->Selected) any = EraseItem(items, i) || any;
  return any;
}

// Without extend (or while hidden) every selection is dropped first; then only the lowest-index
// item hit is selected. A hidden list is never hit.
template <class T>
bool HitTestItems(TOwnedItems<T>& items, bool visible, const shared::TComplex& p, bool extend,
                  double tolerance) {
  if (!extend || !visible) DeselectItems(items);
  if (!visible) return false;
  for (auto& item : items)
    if (item->HitTestSelect(p, extend, tolerance)) return true;
  return false;
}

}  // namespace quillon
