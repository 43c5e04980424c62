// The viewer's fixed tables on Windows: reserved and committed at full size, but like
// anonymous memory on Linux a committed page costs nothing until it is first touched, and
// reads as zeros until then.
#include "viewer/load/FixedTable.h"

#include <windows.h>

#include <new>

namespace lv {

RawTable::RawTable(std::size_t rows, std::size_t rowBytes) : bytes_(rows * rowBytes) {
  data_ = VirtualAlloc(nullptr, bytes_, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  if (data_ == nullptr) throw std::bad_alloc();
}

RawTable::~RawTable() {
  VirtualFree(data_, 0, MEM_RELEASE);
}

void RawTable::clear() {
  // Decommitting drops the pages; committing them again hands out fresh zero pages.
  VirtualFree(data_, bytes_, MEM_DECOMMIT);
  if (VirtualAlloc(data_, bytes_, MEM_COMMIT, PAGE_READWRITE) == nullptr) throw std::bad_alloc();
}

// Committed pages are cleared at their first touch, and only a touch gets them: a write from a
// second thread could meet the load's own writes, so the load touches them itself.
void RawTable::prepare(std::size_t, std::size_t) {}

// A file with a view mapped cannot be cut or replaced on Windows, so saving over a loaded
// file would fail: the rows are always read.
bool RawTable::mapFileRows(std::size_t, const FileBytes&, std::uint64_t, std::size_t) {
  return false;
}

}  // namespace lv
