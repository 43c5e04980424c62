#include "viewer/load/FixedTable.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
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

void RawTable::prepare(std::size_t firstByte, std::size_t bytes) {
#ifdef MADV_POPULATE_WRITE
  if (firstByte >= bytes_) return;
  bytes = std::min(bytes, bytes_ - firstByte);
  auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  auto start = reinterpret_cast<std::uintptr_t>(data_) + firstByte;
  std::uintptr_t first = start & ~(page - 1);
  std::uintptr_t end = (start + bytes + page - 1) & ~(page - 1);
  madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
#else
  (void)firstByte;
  (void)bytes;
#endif
}

}  // namespace lv
