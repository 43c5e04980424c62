#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "viewer/load/MultiplayerListing.h"

namespace lv {

// Contents of the replay tree: drivers (level 1), their "Training" and "Rennen" items
// (level 2) and lap lines (level 3). Items are numbered depth-first from 0, the order in
// which a host receives them, so a host's double-click names an item by that number.
struct ReplayTreeItem {
  int level = 1;
  std::string text;
  int parent = -1;
  std::int32_t data = 0;  // driver: record identifier; lap kind: 0 or 1; lap line: 0
  bool hasChildren = false;
};

class ReplayTreeModel {
 public:
  void assign(const std::vector<TreeDriver>& drivers);
  void clear() { items_.clear(); }

  const std::vector<ReplayTreeItem>& items() const { return items_; }
  const ReplayTreeItem* item(int index) const {
    return index >= 0 && index < static_cast<int>(items_.size())
               ? &items_[static_cast<std::size_t>(index)]
               : nullptr;
  }
  // The item of lap line `line` (from 0) under lap kind `kind` of driver item `driver`
  // (from 0, in tree order), or -1.
  int lapItem(int driver, int kind, int line) const;

 private:
  std::vector<ReplayTreeItem> items_;
};

}  // namespace lv
