#include "viewer/load/RowPreparation.h"

#include <algorithm>
#include <system_error>

namespace lv {

void RowPreparation::start() {
  if (pieces_.empty() || std::thread::hardware_concurrency() < 2) return;
  try {
    worker_ = std::thread([this] { run(); });
  } catch (const std::system_error&) {
    // No thread: the load clears its pages as it writes them.
  }
}

RowPreparation::~RowPreparation() {
  stop_ = true;
  if (worker_.joinable()) worker_.join();
}

void RowPreparation::run() {
  // A few huge pages at a time, so that the end of the load never waits for much.
  constexpr std::size_t kPiece = std::size_t{8} << 20;
  for (const Piece& piece : pieces_) {
    for (std::size_t done = 0; done < piece.bytes && !stop_; done += kPiece)
      piece.table->prepare(piece.firstByte + done, std::min(kPiece, piece.bytes - done));
  }
}

}  // namespace lv
