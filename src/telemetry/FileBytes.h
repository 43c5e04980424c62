#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "telemetry/Status.h"

namespace lv {

// A whole file mapped read-only into memory (nothing is copied); empty files map to an
// empty span.
class FileBytes {
 public:
  FileBytes() = default;
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;
  FileBytes(FileBytes&& other) noexcept;
  FileBytes& operator=(FileBytes&& other) noexcept;
  ~FileBytes();

  Status open(const std::string& path);
  std::span<const std::uint8_t> bytes() const { return {data_, size_}; }

 private:
  void release();

  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

bool fileExists(const std::string& path);

// Writes `bytes` to `path` through a temporary file in the same folder and a rename, so
// that an existing file is never left half-written. The temporary file gets a fresh name and
// is created exclusively: a link planted in the folder is never followed.
Status writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace lv
