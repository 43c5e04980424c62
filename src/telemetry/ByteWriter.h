#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace lv {

// Builds a little-endian byte image in memory; files are written from it in one piece.
class ByteWriter {
 public:
  void unsignedValue(std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) bytes_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  }
  void u8(std::uint32_t value) { unsignedValue(value, 1); }
  void u16(std::uint32_t value) { unsignedValue(value, 2); }
  void u24(std::uint32_t value) { unsignedValue(value, 3); }
  void u32(std::uint32_t value) { unsignedValue(value, 4); }
  void i32(std::int32_t value) { unsignedValue(static_cast<std::uint32_t>(value), 4); }
  void f32(float value) {
    std::uint32_t raw;
    std::memcpy(&raw, &value, sizeof raw);
    u32(raw);
  }
  void bytes(const void* data, std::size_t count) {
    const auto* src = static_cast<const std::uint8_t*>(data);
    bytes_.insert(bytes_.end(), src, src + count);
  }
  // Writes `text` into a field of `width` bytes, zero-padded and cut at the width.
  void fixedText(std::string_view text, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i)
      u8(i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
  }
  void zeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }
  void patchU16(std::size_t at, std::uint32_t value) {
    bytes_[at] = static_cast<std::uint8_t>(value);
    bytes_[at + 1] = static_cast<std::uint8_t>(value >> 8);
  }

  std::size_t size() const { return bytes_.size(); }
  const std::vector<std::uint8_t>& data() const { return bytes_; }
  std::vector<std::uint8_t>& data() { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace lv
