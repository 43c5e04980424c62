#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>

#include "telemetry/Status.h"

namespace lv {

// A whole file mapped read-only into memory (nothing is copied); empty files map to an
// empty span.
class FileBytes {
 public:
  FileBytes() = default;
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;
  FileBytes(FileBytes&& other) noexcept
      : data_(std::exchange(other.data_, nullptr)),
        size_(std::exchange(other.size_, 0)),
        descriptor_(std::exchange(other.descriptor_, -1)) {}
  FileBytes& operator=(FileBytes&& other) noexcept {
    if (this != &other) {
      release();
      data_ = std::exchange(other.data_, nullptr);
      size_ = std::exchange(other.size_, 0);
      descriptor_ = std::exchange(other.descriptor_, -1);
    }
    return *this;
  }
  ~FileBytes() { release(); }

  Status open(const std::string& path);
  std::span<const std::uint8_t> bytes() const { return {data_, size_}; }
  // The open file, where the system reads it by offset (else -1): a table may map its pages.
  int descriptor() const { return descriptor_; }

  // Copies those of the `count` bytes from `offset` on that the file held when it was opened
  // into `out`, leaving the rest of `out` as it is, and returns how many that were. Blocks
  // that go straight into their place (a saved-laps file's tables) and cannot be the file's
  // own pages there are read by the system from the file: faulting in every page of this
  // mapping costs more than the copy.
  std::size_t copyOut(std::size_t offset, void* out, std::size_t count) const;

 private:
  // Unmaps the file the system's way; the only part that differs by platform.
  void release();

  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  int descriptor_ = -1;  // the open file, where the system reads it by offset
};

bool fileExists(const std::string& path);

// Writes `bytes` to `path` through a temporary file in the same folder and a rename, so
// that an existing file is never left half-written. The temporary file gets a fresh name and
// is created exclusively: a link planted in the folder is never followed.
Status writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace lv
