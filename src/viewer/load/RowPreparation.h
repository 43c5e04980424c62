#pragma once

#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

#include "viewer/load/FixedTable.h"

namespace lv {

// Has the system hand out the pages of table rows a load is about to write, on a thread of
// its own while the load reads its file: a fresh page is cleared at its first touch, and that
// clearing then falls to the other core. The rows are given in the order they are wanted;
// the work is done in pieces and ends, unfinished, when the object goes.
class RowPreparation {
 public:
  template <typename Row>
  void add(FixedTable<Row>& table, std::size_t first, std::size_t count) {
    pieces_.push_back({&table, first * sizeof(Row), count * sizeof(Row)});
  }
  // Starts the work; without a thread to be had the load clears its pages itself.
  void start();
  ~RowPreparation();

 private:
  struct Piece {
    RawTable* table;
    std::size_t firstByte, bytes;
  };
  void run();

  std::vector<Piece> pieces_;
  std::atomic<bool> stop_{false};
  std::thread worker_;
};

}  // namespace lv
