#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace lv {

// Little-endian reader over an in-memory file image. Reads past the end fill only the bytes
// that exist and leave the rest zero, the way a short read into a zero-initialised variable
// behaves; the position may move past the end, so later reads simply yield zero.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t size() const { return bytes_.size(); }
  std::size_t position() const { return pos_; }
  std::size_t remaining() const { return pos_ < bytes_.size() ? bytes_.size() - pos_ : 0; }
  bool atEnd() const { return pos_ >= bytes_.size(); }

  void seek(std::size_t absolute) { pos_ = absolute; }
  // A relative seek before the start clamps to the start, like a failed seek that leaves
  // the stream at offset zero.
  void skip(std::int64_t delta) {
    if (delta < 0 && static_cast<std::uint64_t>(-delta) > pos_) {
      pos_ = 0;
    } else {
      pos_ = static_cast<std::size_t>(static_cast<std::int64_t>(pos_) + delta);
    }
  }

  // Unsigned little-endian value of `count` (1..4) bytes.
  std::uint32_t readUnsigned(int count) {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
      if (pos_ < bytes_.size()) value |= static_cast<std::uint32_t>(bytes_[pos_]) << (8 * i);
      ++pos_;
    }
    return value;
  }
  std::uint8_t u8() { return static_cast<std::uint8_t>(readUnsigned(1)); }
  std::uint16_t u16() { return static_cast<std::uint16_t>(readUnsigned(2)); }
  std::uint32_t u24() { return readUnsigned(3); }
  std::uint32_t u32() { return readUnsigned(4); }
  std::int32_t i32() { return static_cast<std::int32_t>(readUnsigned(4)); }
  float f32() {
    std::uint32_t raw = u32();
    float value;
    std::memcpy(&value, &raw, sizeof value);
    return value;
  }
  float peekF32() const {
    ByteReader copy = *this;
    return copy.f32();
  }

  // Copies up to `count` bytes into `out`; bytes past the end of the image become zero.
  void readBytes(void* out, std::size_t count) {
    auto* dst = static_cast<std::uint8_t*>(out);
    std::size_t available = remaining() < count ? remaining() : count;
    if (available > 0) std::memcpy(dst, bytes_.data() + pos_, available);
    if (available < count) std::memset(dst + available, 0, count - available);
    pos_ += count;
  }

  // Copies the bytes of the next `count` that exist and leaves the rest of `out` as it is.
  void readExistingBytes(void* out, std::size_t count) {
    std::size_t available = remaining() < count ? remaining() : count;
    if (available > 0) std::memcpy(out, bytes_.data() + pos_, available);
    pos_ += count;
  }

  bool matches(const char* tag, std::size_t length) const {
    return remaining() >= length && std::memcmp(bytes_.data() + pos_, tag, length) == 0;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

}  // namespace lv
