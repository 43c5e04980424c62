#include "viewer/load/ReplayTreeModel.h"

namespace lv {
namespace {

constexpr const char* kKindText[2] = {"Training", "Rennen"};

}  // namespace

void ReplayTreeModel::assign(const std::vector<TreeDriver>& drivers) {
  items_.clear();
  for (const TreeDriver& driver : drivers) {
    int driverItem = static_cast<int>(items_.size());
    items_.push_back({1, driver.label, -1, driver.recordId, true});
    for (int kind = 0; kind < 2; ++kind) {
      const auto& laps = driver.laps[static_cast<std::size_t>(kind)];
      int kindItem = static_cast<int>(items_.size());
      items_.push_back({2, kKindText[kind], driverItem, kind, !laps.empty()});
      for (const std::string& line : laps) items_.push_back({3, line, kindItem, 0, false});
    }
  }
}

int ReplayTreeModel::lapItem(int driver, int kind, int line) const {
  int drivers = -1;
  int kinds = -1;
  int lines = -1;
  for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
    const ReplayTreeItem& it = items_[static_cast<std::size_t>(i)];
    if (it.level == 1) {
      ++drivers;
      kinds = -1;
    } else if (it.level == 2) {
      ++kinds;
      lines = -1;
    } else if (++lines == line && kinds == kind && drivers == driver) {
      return i;
    }
  }
  return -1;
}

}  // namespace lv
