#pragma once

#include <string>
#include <vector>

namespace lv {

// Contents of the lap list box: one line per lap held, in lap order, and the selected line.
class LapList {
 public:
  void append(std::string line) { lines_.push_back(std::move(line)); }
  const std::vector<std::string>& lines() const { return lines_; }
  int size() const { return static_cast<int>(lines_.size()); }

  void select(int line) { selected_ = line >= 0 && line < size() ? line : -1; }
  int selected() const { return selected_; }
  // Text of the selected line, empty without a selection.
  std::string selectedText() const {
    return selected_ >= 0 ? lines_[static_cast<std::size_t>(selected_)] : std::string();
  }

 private:
  std::vector<std::string> lines_;
  int selected_ = -1;
};

}  // namespace lv
