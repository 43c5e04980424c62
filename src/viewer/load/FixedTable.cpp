#include "viewer/load/FixedTable.h"

#include <sys/mman.h>

#include <new>

namespace lv {

RawTable::RawTable(std::size_t rows, std::size_t rowBytes) : bytes_(rows * rowBytes) {
  data_ = mmap(nullptr, bytes_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (data_ == MAP_FAILED) throw std::bad_alloc();
  // Fresh 4 KiB pages cost about 10 µs each to fault in; huge pages make a full load cheap.
  madvise(data_, bytes_, MADV_HUGEPAGE);
}

RawTable::~RawTable() {
  munmap(data_, bytes_);
}

void RawTable::clear() {
  madvise(data_, bytes_, MADV_DONTNEED);
}

}  // namespace lv
