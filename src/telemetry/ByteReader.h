#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <type_traits>

namespace lv {

// Little-endian value of the `kCount` (1..8) bytes at `p`, all of which must exist. Odd
// counts are put together from loads of whole sizes: bytes copied into part of a wider
// variable and read back as a whole stall the processor's store forwarding.
template <int kCount>
std::uint64_t loadLittleEndian(const std::uint8_t* p) {
  static_assert(kCount >= 1 && kCount <= 8);
  if constexpr (kCount == 3) {
    return loadLittleEndian<2>(p) | loadLittleEndian<1>(p + 2) << 16;
  } else if constexpr (kCount > 4 && kCount < 8) {
    return loadLittleEndian<4>(p) | loadLittleEndian<kCount - 4>(p + 4) << 32;
  } else if constexpr (std::endian::native == std::endian::little) {
    using Word = std::conditional_t<
        kCount == 1, std::uint8_t,
        std::conditional_t<kCount == 2, std::uint16_t,
                           std::conditional_t<kCount == 4, std::uint32_t, std::uint64_t>>>;
    Word value;
    std::memcpy(&value, p, kCount);
    return value;
  } else {
    std::uint64_t value = 0;
    for (int i = 0; i < kCount; ++i) value |= static_cast<std::uint64_t>(p[i]) << (8 * i);
    return value;
  }
}
inline std::uint16_t loadU16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(loadLittleEndian<2>(p));
}
inline std::uint32_t loadU24(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(loadLittleEndian<3>(p));
}
inline std::uint32_t loadU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(loadLittleEndian<4>(p));
}
inline std::uint64_t loadU64(const std::uint8_t* p) {
  return loadLittleEndian<8>(p);
}
inline float loadF32(const std::uint8_t* p) {
  return std::bit_cast<float>(loadU32(p));
}

// `count` little-endian floats from `p`, all of whose bytes must exist, into `out`.
inline void loadF32s(const std::uint8_t* p, float* out, std::size_t count) {
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(out, p, count * sizeof(float));
  } else {
    for (std::size_t i = 0; i < count; ++i) out[i] = loadF32(p + 4 * i);
  }
}

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
  std::uint8_t u8() { return static_cast<std::uint8_t>(read<1>()); }
  std::uint16_t u16() { return static_cast<std::uint16_t>(read<2>()); }
  std::uint32_t u24() { return read<3>(); }
  std::uint32_t u32() { return read<4>(); }
  std::int32_t i32() { return static_cast<std::int32_t>(read<4>()); }
  float f32() { return std::bit_cast<float>(u32()); }
  float peekF32() const {
    const std::uint8_t* here = peekBytes(4);
    return here != nullptr ? loadF32(here) : ByteReader(*this).f32();
  }

  // The next `count` bytes in place when all of them lie inside the image, else nullptr;
  // the position stays. Lets a parser check a whole record once and then read it directly.
  const std::uint8_t* peekBytes(std::size_t count) const {
    return remaining() >= count ? bytes_.data() + pos_ : nullptr;
  }

  // Reads the next `count` bytes: in place when all of them lie inside the image, else
  // copied into `spare` with zeros for the missing ones. Returns where they are.
  const std::uint8_t* takeBytes(std::size_t count, std::uint8_t* spare) {
    if (const std::uint8_t* here = peekBytes(count)) {
      pos_ += count;
      return here;
    }
    readBytes(spare, count);
    return spare;
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
  template <int kCount>
  std::uint32_t read() {
    if (remaining() < kCount) return readUnsigned(kCount);
    auto value = static_cast<std::uint32_t>(loadLittleEndian<kCount>(bytes_.data() + pos_));
    pos_ += kCount;
    return value;
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

}  // namespace lv
