#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

#include "telemetry/ByteReader.h"

namespace lv {
namespace {

// The value a read of `count` bytes at `at` must give: the bytes that exist, little-endian,
// and zeros in place of those past the end.
std::uint32_t assembled(std::span<const std::uint8_t> bytes, std::size_t at, int count) {
  std::uint32_t value = 0;
  for (int i = 0; i < count; ++i) {
    std::size_t index = at + static_cast<std::size_t>(i);
    if (index < bytes.size()) value |= static_cast<std::uint32_t>(bytes[index]) << (8 * i);
  }
  return value;
}

TEST(ByteReader, EveryReadAtEveryPositionMatchesTheBytesThatExist) {
  const std::uint8_t bytes[] = {0x81, 0x02, 0xF3, 0x04, 0x95, 0x06, 0xA7, 0x08, 0xB9, 0x7F, 0xC0};
  const std::span<const std::uint8_t> image(bytes);
  auto from = [&image](std::size_t at) {
    ByteReader in(image);
    in.seek(at);
    return in;
  };
  for (std::size_t at = 0; at <= image.size() + 5; ++at) {
    EXPECT_EQ(from(at).u8(), assembled(image, at, 1)) << at;
    EXPECT_EQ(from(at).u16(), assembled(image, at, 2)) << at;
    EXPECT_EQ(from(at).u24(), assembled(image, at, 3)) << at;
    EXPECT_EQ(from(at).u32(), assembled(image, at, 4)) << at;
    EXPECT_EQ(from(at).i32(), static_cast<std::int32_t>(assembled(image, at, 4))) << at;
    EXPECT_EQ(std::bit_cast<std::uint32_t>(from(at).f32()), assembled(image, at, 4)) << at;
    EXPECT_EQ(std::bit_cast<std::uint32_t>(from(at).peekF32()), assembled(image, at, 4)) << at;

    ByteReader in = from(at);
    in.u24();
    EXPECT_EQ(in.position(), at + 3) << "a read moves on by its width, also past the end";
    in.peekF32();
    EXPECT_EQ(in.position(), at + 3) << "a peek leaves the position";
  }
}

TEST(ByteReader, BytesInPlaceOnlyWhenAllOfThemExist) {
  const std::uint8_t bytes[] = {1, 2, 3, 4, 5, 6};
  ByteReader in(bytes);
  in.seek(2);
  ASSERT_NE(in.peekBytes(4), nullptr);
  EXPECT_EQ(in.peekBytes(4)[3], 6);
  EXPECT_EQ(in.peekBytes(5), nullptr);
  EXPECT_EQ(in.position(), 2u);
  in.seek(6);
  EXPECT_NE(in.peekBytes(0), nullptr);
  EXPECT_EQ(in.peekBytes(1), nullptr);
  in.seek(SIZE_MAX - 1);
  EXPECT_EQ(in.peekBytes(4), nullptr) << "a position far past the end must not wrap around";
}

TEST(ByteReader, LittleEndianLoadsOfEveryWidth) {
  const std::uint8_t bytes[] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
  EXPECT_EQ(loadLittleEndian<1>(bytes), 0x01u);
  EXPECT_EQ(loadU16(bytes), 0x2301u);
  EXPECT_EQ(loadU24(bytes), 0x452301u);
  EXPECT_EQ(loadU32(bytes), 0x67452301u);
  EXPECT_EQ(loadLittleEndian<5>(bytes), 0x8967452301ull);
  EXPECT_EQ(loadLittleEndian<7>(bytes), 0xCDAB8967452301ull);
  EXPECT_EQ(loadU64(bytes), 0xEFCDAB8967452301ull);
  float values[2];
  loadF32s(bytes, values, 2);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(values[0]), 0x67452301u);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(values[1]), 0xEFCDAB89u);
}

}  // namespace
}  // namespace lv
