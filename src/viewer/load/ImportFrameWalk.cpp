#include "viewer/load/ImportFrameWalk.h"

namespace lv {
namespace {

constexpr int kMaxBlocksPerFrame = 99;
constexpr std::uint16_t kFrameNumberBlock = 14;
constexpr std::uint16_t kStatusBlock = 10;
constexpr std::uint16_t kOneBlockLeadBlock = 15;
constexpr std::uint16_t kMinTableLength = 20;

void skipPadded(ByteReader& in, std::int64_t dataBytes) {
  if (dataBytes < 0) dataBytes = 0;
  in.skip((dataBytes + 3) / 4 * 4);
}

std::uint16_t passBlock(ByteReader& in) {
  std::uint16_t type = in.u16();
  std::uint16_t length = in.u16();
  skipPadded(in, static_cast<std::int64_t>(length) - 4);
  return type;
}

void readCarTable(ByteReader& in, std::size_t block, std::uint16_t length, std::int32_t driverId,
                  ImportFrame& out) {
  int records = length / kCarRecordSize;
  for (int i = 0; i < records; ++i) {
    in.seek(block + 4 + static_cast<std::size_t>(i) * kCarRecordSize);
    std::uint8_t r[kCarRecordSize];
    in.readBytes(r, sizeof r);
    if (r[7] / 4 != driverId) continue;
    out.hasRecord = true;
    out.record = decodeCarRecord(r);
    return;
  }
}

}  // namespace

ImportFrame readImportFrame(ByteReader& in, std::size_t frame, std::int32_t driverId) {
  ImportFrame out;
  in.seek(frame);
  out.length = in.u16();
  if (out.length == 0) return out;
  std::size_t frameEnd = frame + out.length;
  in.skip(6);
  if (passBlock(in) != kOneBlockLeadBlock) passBlock(in);

  std::size_t lastBlock = 0;
  std::uint16_t lastLength = 0;
  for (int n = 0; n < kMaxBlocksPerFrame && in.position() < frameEnd; ++n) {
    lastBlock = in.position();
    std::uint16_t type = in.u16();
    std::uint16_t length = in.u16();
    lastLength = length;
    if (type == kFrameNumberBlock) {
      out.hasFrameNumber = true;
      out.frameNumber = in.i32();
      skipPadded(in, static_cast<std::int64_t>(length) - 8);
    } else if (type == kStatusBlock && length == 20) {
      std::uint16_t value = in.u16();
      if (value / 64 == driverId) {
        in.skip(7);
        out.hasStatus = true;
        out.status = in.i32();
        in.skip(3);
      } else {
        in.skip(14);
      }
    } else {
      skipPadded(in, static_cast<std::int64_t>(length) - 4);
    }
  }
  if (lastLength >= kMinTableLength) readCarTable(in, lastBlock, lastLength, driverId, out);
  return out;
}

}  // namespace lv
