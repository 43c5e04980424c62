#include "viewer/load/FixedTable.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <new>

namespace lv {

namespace {

constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;

std::uintptr_t roundUpToHugePages(std::uintptr_t value) {
  return (value + kHugePage - 1) & ~(kHugePage - 1);
}

}  // namespace

RawTable::RawTable(std::size_t rows, std::size_t rowBytes)
    : bytes_(rows * rowBytes), mapped_(roundUpToHugePages(bytes_)) {
  // The table starts and ends on huge-page boundaries, so that its first and last rows get
  // huge pages too: only whole aligned 2 MiB stretches of a mapping can have them.
  std::size_t reserved = mapped_ + kHugePage;
  void* raw = mmap(nullptr, reserved, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) throw std::bad_alloc();
  auto first = reinterpret_cast<std::uintptr_t>(raw);
  std::uintptr_t start = roundUpToHugePages(first);
  if (start > first) munmap(raw, start - first);
  if (first + reserved > start + mapped_)
    munmap(reinterpret_cast<void*>(start + mapped_), first + reserved - (start + mapped_));
  data_ = reinterpret_cast<void*>(start);
  // Fresh 4 KiB pages cost about 10 µs each to fault in; huge pages make a full load cheap.
  madvise(data_, mapped_, MADV_HUGEPAGE);
}

RawTable::~RawTable() {
  munmap(data_, mapped_);
}

void RawTable::clear() {
  madvise(data_, mapped_, MADV_DONTNEED);
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
