#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace lv {

class FileBytes;

// Zero-initialised rows of T, allocated once at full capacity as anonymous memory that
// asks for huge pages: pages cost nothing until first written, and rows never written read
// as zeros. Rows read whole from a file can be that file's pages instead.
class RawTable {
 public:
  RawTable(std::size_t rows, std::size_t rowBytes);
  RawTable(const RawTable&) = delete;
  RawTable& operator=(const RawTable&) = delete;
  ~RawTable();

  // Gives every row back to the system; they read as zeros again.
  void clear();
  // Has the system hand out the pages of these bytes now, zeros still, rather than at their
  // first write; bytes beyond the table are left out. Where the system cannot, nothing happens.
  void prepare(std::size_t firstByte, std::size_t bytes);
  // Puts `bytes` bytes of the file from `offset` on into the table from `firstByte` on: the
  // whole pages among them are the file's own pages, mapped copy-on-write (nothing is copied),
  // and the bytes either side of them are read. Those rows must not have been written yet. A
  // load from the first row empties the table and moves it within its first page so that its
  // pages line up with the file's. Returns false, with the rows still zeros, where they do not
  // line up or the file cannot be mapped so: the rows must then be read.
  bool mapFileRows(std::size_t firstByte, const FileBytes& file, std::uint64_t offset,
                   std::size_t bytes);

 protected:
  void* data_ = nullptr;
  std::size_t bytes_ = 0;
  std::uintptr_t base_ = 0;  // where the table's memory starts: data_ lies within its first page
  std::size_t mapped_ = 0;   // bytes_ and what the last huge page holds beyond them
  bool fileMapped_ = false;  // some rows are a file's pages
};

template <typename T>
class FixedTable : public RawTable {
 public:
  explicit FixedTable(std::size_t rows) : RawTable(rows, sizeof(T)), rows_(rows) {}

  std::size_t capacity() const { return rows_; }
  T& operator[](std::size_t row) { return data()[row]; }
  const T& operator[](std::size_t row) const { return data()[row]; }
  T* data() { return static_cast<T*>(data_); }
  const T* data() const { return static_cast<const T*>(data_); }
  std::span<T> rows(std::size_t first, std::size_t count) { return {data() + first, count}; }

 private:
  std::size_t rows_;
};

}  // namespace lv
