#include "viewer/load/FixedTable.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <new>

#include "telemetry/FileBytes.h"
#include "viewer/load/LeasedFilePages.h"

namespace lv {

namespace {

constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;

std::uintptr_t roundUpTo(std::uintptr_t value, std::uintptr_t unit) {
  return (value + unit - 1) & ~(unit - 1);
}

std::uintptr_t pageSize() {
  static const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  return page;
}

// Fresh anonymous pages over [at, at + bytes), huge pages asked for.
bool mapZeros(std::uintptr_t at, std::size_t bytes) {
  void* zeros = mmap(reinterpret_cast<void*>(at), bytes, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
  if (zeros == MAP_FAILED) return false;
  // Fresh 4 KiB pages cost about 10 µs each to fault in; huge pages make a full load cheap.
  madvise(zeros, bytes, MADV_HUGEPAGE);
  return true;
}

}  // namespace

RawTable::RawTable(std::size_t rows, std::size_t rowBytes)
    : bytes_(rows * rowBytes), mapped_(roundUpTo(bytes_ + pageSize(), kHugePage)) {
  // The table starts and ends on huge-page boundaries, so that its first and last rows get
  // huge pages too: only whole aligned 2 MiB stretches of a mapping can have them. The page
  // to spare lets the rows move within their first page (mapFileRows).
  std::size_t reserved = mapped_ + kHugePage;
  void* raw = mmap(nullptr, reserved, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) throw std::bad_alloc();
  auto first = reinterpret_cast<std::uintptr_t>(raw);
  std::uintptr_t start = roundUpTo(first, kHugePage);
  if (start > first) munmap(raw, start - first);
  if (first + reserved > start + mapped_)
    munmap(reinterpret_cast<void*>(start + mapped_), first + reserved - (start + mapped_));
  base_ = start;
  data_ = reinterpret_cast<void*>(start);
  madvise(data_, mapped_, MADV_HUGEPAGE);
}

RawTable::~RawTable() {
  if (fileMapped_) forgetLeasedFilePages(base_, mapped_);
  munmap(reinterpret_cast<void*>(base_), mapped_);
}

void RawTable::clear() {
  if (fileMapped_) {
    // The file's pages would come back, not zeros: they give way to fresh memory.
    forgetLeasedFilePages(base_, mapped_);
    if (!mapZeros(base_, mapped_)) throw std::bad_alloc();
    fileMapped_ = false;
    return;
  }
  madvise(reinterpret_cast<void*>(base_), mapped_, MADV_DONTNEED);
}

void RawTable::prepare(std::size_t firstByte, std::size_t bytes) {
#ifdef MADV_POPULATE_WRITE
  if (firstByte >= bytes_) return;
  bytes = std::min(bytes, bytes_ - firstByte);
  std::uintptr_t page = pageSize();
  auto start = reinterpret_cast<std::uintptr_t>(data_) + firstByte;
  std::uintptr_t first = start & ~(page - 1);
  std::uintptr_t end = (start + bytes + page - 1) & ~(page - 1);
  madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
#else
  (void)firstByte;
  (void)bytes;
#endif
}

bool RawTable::mapFileRows(std::size_t firstByte, const FileBytes& file, std::uint64_t offset,
                           std::size_t bytes) {
  std::uintptr_t page = pageSize();
  if (firstByte >= bytes_ || file.descriptor() < 0) return false;
  bytes = std::min(bytes, bytes_ - firstByte);
  // Rows from the first on belong to a first load: the table moves within its first page so
  // that its bytes lie there as the file's lie within theirs. Whatever a load that came to
  // nothing left in it is dropped, so that the rows beyond this load read as zeros.
  if (firstByte == 0) {
    clear();
    data_ = reinterpret_cast<void*>(base_ + offset % page);
  }
  auto start = reinterpret_cast<std::uintptr_t>(data_) + firstByte;
  if (start % page != offset % page) return false;
  std::uintptr_t from = roundUpTo(start, page);
  std::uintptr_t to = (start + bytes) & ~(page - 1);
  if (to <= from) return false;
  if (!mapLeasedFilePages(file.descriptor(), offset + (from - start), from, to - from))
    return false;
  fileMapped_ = true;
  file.copyOut(offset, reinterpret_cast<void*>(start), from - start);
  file.copyOut(offset + (to - start), reinterpret_cast<void*>(to), start + bytes - to);
  return true;
}

}  // namespace lv
