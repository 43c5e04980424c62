#include "tools/gplsim/ReplayEncoding.h"

#include "telemetry/ByteWriter.h"

namespace lv::sim {

std::array<std::uint8_t, 28> encodeCarState(const std::int32_t (&f)[26]) {
  std::array<std::uint32_t, 28> b{};
  auto u = [&f](int i) { return static_cast<std::uint32_t>(f[i]); };
  std::uint32_t distance = u(0);
  b[0] = distance & 255;
  b[1] = (distance >> 8) & 255;
  b[2] = (distance >> 16) & 255;
  b[3] = ((distance >> 24) & 3) | ((u(2) + 1) & 7) << 3;
  std::uint32_t lane = static_cast<std::uint32_t>(f[4] * 100) & 0xFFFFF;
  b[4] = lane & 255;
  b[5] = (lane >> 8) & 255;
  b[6] = ((lane >> 16) & 15) | (u(5) & 15) << 4;
  b[7] = (u(5) >> 4) & 255;
  b[8] = u(6) & 255;
  b[9] = ((u(6) >> 8) & 3) | (u(7) & 63) << 2;
  b[10] = ((u(7) >> 6) & 63) | (u(8) & 3) << 6;
  b[11] = (u(8) >> 2) & 255;
  b[12] = u(9) & 255;
  b[13] = ((u(9) >> 8) & 3) | (u(10) & 63) << 2;
  b[14] = ((u(10) >> 6) & 1) | (u(11) & 127) << 1;
  b[15] = ((u(11) >> 7) & 1) | (u(3) & 127) << 1;
  b[16] = (u(16) & 7) << 5;
  b[17] = ((u(16) >> 3) & 15) | (u(12) & 15) << 4;
  b[18] = (u(12) >> 4) & 31;
  b[19] = (u(17) & 127) << 1;
  b[20] = (u(13) & 63) << 2;
  b[21] = ((u(13) >> 6) & 7) | (u(18) & 1) << 7;
  b[22] = ((u(18) >> 1) & 63) | (u(14) & 3) << 6;
  b[23] = (u(14) >> 2) & 127;
  b[24] = (u(19) & 7) << 5;
  b[25] = ((u(19) >> 3) & 15) | (u(15) & 15) << 4;
  b[26] = ((u(15) >> 4) & 63) | (u(25) & 3) << 6;
  b[27] = (u(25) >> 2) & 255;
  std::array<std::uint8_t, 28> bytes{};
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(b[i]);
  return bytes;
}

namespace {

void writeHeader(ByteWriter& out, const ReplayImage& image) {
  out.zeros(320);
  auto& bytes = out.data();
  bytes[5] = static_cast<std::uint8_t>(image.fpsCharacter);
  ByteWriter fields;
  fields.i32(image.playerSlot);
  std::copy(fields.data().begin(), fields.data().end(), bytes.begin() + 52);
  auto put = [&bytes](std::size_t at, const std::string& text, std::size_t width) {
    for (std::size_t i = 0; i < width && i < text.size(); ++i)
      bytes[at + i] = static_cast<std::uint8_t>(text[i]);
  };
  put(56, image.playerName, 31);
  put(112, image.trackName, 8);
  put(128, image.carSetName, 6);
}

std::size_t blocksSize(const std::vector<RecordBlock>& blocks) {
  std::size_t size = 0;
  for (const RecordBlock& block : blocks) size += 16 + 4 * block.records.size();
  return size;
}

void writeBlocks(ByteWriter& out, const std::vector<RecordBlock>& blocks) {
  for (const RecordBlock& block : blocks) {
    out.bytes("ORPL", 4);
    out.u32(0);
    out.u32(static_cast<std::uint32_t>(4 + 4 * block.records.size()));
    out.i32(block.recordId);
    for (const LapRecord& record : block.records) {
      out.u24(record.cumulativeMs);
      out.u8(record.flag);
    }
  }
}

void writeDrivers(ByteWriter& out, const ReplayImage& image) {
  for (std::size_t i = 0; i < image.drivers.size(); ++i) {
    const DriverEntry& driver = image.drivers[i];
    out.fixedText(driver.name, 108);
    out.i32(driver.carNumber);
    out.zeros(12);
    out.i32(driver.recordId);
    out.zeros(20);
    // The last entry ends with the length of the practice section behind it.
    out.u32(i + 1 == image.drivers.size() ? static_cast<std::uint32_t>(blocksSize(image.practice))
                                          : 0);
  }
}

void writeClock(ByteWriter& out, const ReplayFrame& frame) {
  out.u16(13);
  out.u16(8);
  out.u8(frame.clockFlag);
  out.u24(frame.clock);
}

// Returns the frame's length.
std::size_t writeFrame(ByteWriter& out, const ReplayFrame& frame, std::size_t previousLength) {
  std::size_t start = out.size();
  out.u16(0);
  out.u16(static_cast<std::uint32_t>(previousLength));
  out.i32(frame.counter);
  if (frame.opening == FrameOpening::kLeadBlock) {
    out.u16(15);
    out.u16(8);
    out.u32(frame.counter);
  }
  writeClock(out, frame);
  if (frame.opening == FrameOpening::kClockAndFiller) {
    out.u16(2);
    out.u16(8);
    out.u32(0);
  }
  out.u16(14);
  out.u16(8);
  out.i32(frame.frameNumber);
  for (auto [value, status] : frame.carStatus) {
    out.u16(10);
    out.u16(20);
    out.u16(value);
    out.zeros(7);
    out.i32(status);
    out.u24(frame.playerBlock3);
  }
  // A block of another kind whose length is no multiple of four, padded.
  out.u16(22);
  out.u16(6);
  out.u16(static_cast<std::uint32_t>(frame.frameNumber));
  out.zeros(2);
  out.u16(1);
  out.u16(32);
  auto carState = encodeCarState(frame.fields);
  out.bytes(carState.data(), carState.size());
  out.u16(9);
  out.u16(8);
  out.u16(static_cast<std::uint32_t>(frame.fields[24]));
  out.zeros(2);
  if (!frame.carTable.empty()) {
    out.u16(kCarTableBlock);
    out.u16(static_cast<std::uint32_t>(4 + 16 * frame.carTable.size()));
    for (const auto& record : frame.carTable) out.bytes(record.data(), record.size());
  }
  out.patchU16(start, static_cast<std::uint32_t>(out.size() - start));
  return out.size() - start;
}

}  // namespace

std::vector<std::uint8_t> encodeReplay(const ReplayImage& image) {
  ByteWriter out;
  writeHeader(out, image);
  writeDrivers(out, image);
  writeBlocks(out, image.practice);
  out.bytes("BTPL", 4);
  out.u32(0);
  out.u32(static_cast<std::uint32_t>(blocksSize(image.race)));
  writeBlocks(out, image.race);
  out.bytes("PTPR", 4);
  out.zeros(8);
  out.u16(8);  // frame-section header
  out.zeros(6);
  std::size_t previous = 8;
  for (const ReplayFrame& frame : image.frames) previous = writeFrame(out, frame, previous);
  return std::move(out.data());
}

}  // namespace lv::sim
