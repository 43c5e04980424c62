#include "viewer/load/ReplayReader.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "telemetry/ByteReader.h"
#include "viewer/load/CarStateDecoder.h"

namespace lv {
namespace {

constexpr std::size_t kDriverTableOffset = 320;
constexpr int kDriverEntrySize = 152;
constexpr int kMaxBlocksPerFrame = 99;

enum BlockType : std::uint16_t {
  kCarState = 1,
  kPlayerStatus = 10,
  kRaceClock = 13,
  kFrameNumber = 14
};

struct DriverTable {
  int entries = 0;
  bool playerIsEntryZero = false;
  int carIndex = 0;
  std::int32_t recordId = 0;
};

bool isTag(ByteReader& in, const char* tag) {
  return in.matches(tag, 4);
}

void readFixedText(ByteReader& in, std::size_t offset, char* out, std::size_t length) {
  in.seek(offset);
  in.readBytes(out, length);
}

int frameRateFromHeader(std::uint8_t character) {
  return character == '0' || character == 60 ? 60 : 36;
}

bool sameName(const char* a, const char* b) {
  return std::strncmp(a, b, 32) == 0;
}

DriverTable readDriverTable(ByteReader& in, const std::array<char, 32>& playerName) {
  DriverTable table;
  in.seek(kDriverTableOffset);
  while (!in.atEnd() && !isTag(in, "ORPL")) {
    std::size_t entry = in.position();
    char name[32];
    in.readBytes(name, sizeof name);
    in.seek(entry + 108);
    std::int32_t carNumber = in.i32();
    in.seek(entry + 124);
    std::int32_t recordId = in.i32();
    if (sameName(name, playerName.data())) {
      if (table.entries == 0) table.playerIsEntryZero = true;
      table.carIndex = carNumber + 1;
      table.recordId = recordId;
    }
    ++table.entries;
    in.seek(entry + kDriverEntrySize);
  }
  return table;
}

// Reads the tag after a block; a "BTPL" separator and its 8 bytes are passed over.
bool readNextTagIsBlock(ByteReader& in) {
  if (isTag(in, "BTPL")) in.skip(12);
  bool block = isTag(in, "ORPL");
  in.skip(4);
  return block;
}

void readPlayerRecords(ByteReader& in, std::uint32_t size, int carIndex, LapRecords& records) {
  std::uint32_t inBlock = size / 4 >= 1 ? size / 4 - 1 : 0;
  std::uint32_t kept = std::min<std::uint32_t>(
      inBlock, static_cast<std::uint32_t>(kLapRecordCapacity - records.count));
  for (std::uint32_t i = 0; i < kept; ++i) {
    std::uint32_t time = in.u24();
    std::uint8_t flag = in.u8();
    records.time[static_cast<std::size_t>(records.count)] = static_cast<std::int32_t>(time);
    records.flags[static_cast<std::size_t>(records.count)] =
        (flag & 0xC0) + carIndex + ((flag & 0x10) != 0 ? 32 : 0);
    ++records.count;
  }
  // Records past the lists' capacity are passed over in one step.
  in.skip(4 * static_cast<std::int64_t>(inBlock - kept));
  ++records.blockCount;
}

// Walks the lap-record blocks behind the tag at the reader's position and leaves the reader
// just behind the last tag. With `appendAll` every block of the player is taken; otherwise
// only the first, and later blocks are passed over to reach the frames.
void readLapRecordBlocks(ByteReader& in, const DriverTable& table, bool appendAll,
                         LapRecords& records) {
  bool block = isTag(in, "ORPL");
  in.skip(4);
  bool playerBlockTaken = false;
  while (block) {
    in.skip(4);
    std::uint32_t size = in.u32();
    std::int32_t id = in.i32();
    bool take = id == table.recordId && (appendAll || !playerBlockTaken);
    if (take) {
      readPlayerRecords(in, size, table.carIndex, records);
      if (!playerBlockTaken) records.firstBlockCount = records.count;
      playerBlockTaken = true;
    } else {
      in.skip(size >= 4 ? static_cast<std::int64_t>(size) - 4 : 0);
    }
    block = readNextTagIsBlock(in);
  }
}

// Reads within one frame at offsets from its start, without a bounds check per read: the
// bytes behind it are ones the frame's decoding is sure to stay inside (see FrameWindow).
class FrameBytes {
 public:
  explicit FrameBytes(const std::uint8_t* data) : data_(data) {}

  std::size_t offset() const { return offset_; }
  void seek(std::size_t offset) { offset_ = offset; }
  void skip(std::size_t count) { offset_ += count; }
  const std::uint8_t* here() const { return data_ + offset_; }

  std::uint8_t u8() { return data_[offset_++]; }
  std::uint16_t u16() { return static_cast<std::uint16_t>(take(2, loadU16(here()))); }
  std::uint32_t u24() { return take(3, loadU24(here())); }
  std::int32_t i32() { return static_cast<std::int32_t>(take(4, loadU32(here()))); }

 private:
  std::uint32_t take(std::size_t count, std::uint32_t value) {
    offset_ += count;
    return value;
  }

  const std::uint8_t* data_;
  std::size_t offset_ = 0;
};

// Block headers are read only before the frame's end, and no block reads further than 38
// bytes past its header (a car-state block: 28 bytes, then the length and first word of the
// block behind it). A frame with this many bytes behind its end is read in place.
constexpr std::size_t kReachPastFrameEnd = 40;

// The bytes of the frame at `start` with `length`, and the reach past its end. Near the end
// of the file they are copied into a zero-filled buffer, which reads exactly as reads past
// the end of the file do.
class FrameWindow {
 public:
  explicit FrameWindow(std::span<const std::uint8_t> file) : file_(file) {}

  FrameBytes at(std::size_t start, std::size_t length) {
    std::size_t reach = length + kReachPastFrameEnd;
    if (start < file_.size() && file_.size() - start >= reach)
      return FrameBytes(file_.data() + start);
    tail_.assign(reach, 0);
    if (start < file_.size())
      std::memcpy(tail_.data(), file_.data() + start, std::min(reach, file_.size() - start));
    return FrameBytes(tail_.data());
  }

 private:
  std::span<const std::uint8_t> file_;
  std::vector<std::uint8_t> tail_;
};

class FrameDecoder {
 public:
  FrameDecoder(ByteReader& in, std::span<const std::uint8_t> file, ViewerStores& stores,
               std::int32_t playerSlot, int fps, ReplayReadResult& result)
      : in_(in),
        window_(file),
        stores_(stores),
        playerSlot_(playerSlot),
        fps_(fps),
        result_(result) {}

  void run(int s0) {
    std::size_t fileLength = in_.size();
    in_.skip(8);
    std::uint32_t lastLength = in_.u16();
    in_.skip(static_cast<std::int64_t>(lastLength) - 2);
    std::size_t p = in_.position();
    int s = s0;
    while (p + 10ull * lastLength < fileLength && s < kSampleCapacity) {
      in_.seek(p);
      std::uint32_t frameLength = in_.u16();
      // A zero length would never reach the next frame.
      if (frameLength == 0) break;
      lastLength = frameLength;
      FrameBytes frame = window_.at(p, frameLength);
      p += frameLength;
      if (decodeFrame(frame, frameLength, s, s0)) ++s;
    }
    result_.end = s;
  }

 private:
  FrameRecord& row(int s) { return stores_.frameTable[static_cast<std::size_t>(s)]; }

  // False when the frame has no car-state block and is dropped.
  bool decodeFrame(FrameBytes& in, std::size_t frameLength, int s, int s0) {
    in.seek(4);
    std::int32_t counter = in.i32();
    if (counter > 10000) segmentBase_ = counter - 65536;
    std::size_t carState = scanBlocks(in, frameLength, s);
    if (carState == kNoCarState) return false;
    if (s == gapFrame_ || s == s0 + 4) recordSegmentStart(counter);
    in.seek(carState);
    FrameRecord& frame = row(s);
    decodeCarState(std::span<const std::uint8_t, 28>(in.here(), 28), frame);
    in.skip(30);
    if (in.u16() == 8) frame.f[FrameRecord::kEngineTemps] = static_cast<std::int32_t>(in.u16());
    return true;
  }

  static constexpr std::size_t kNoCarState = SIZE_MAX;

  // Offset of the last car-state block's data, or kNoCarState.
  std::size_t scanBlocks(FrameBytes& in, std::size_t frameEnd, int s) {
    std::size_t carState = kNoCarState;
    for (int n = 0; n < kMaxBlocksPerFrame && in.offset() < frameEnd; ++n) {
      std::uint16_t type = in.u16();
      std::uint16_t length = in.u16();
      if (type == kCarState && length == 32) {
        carState = in.offset();
        in.skip(28);
      } else if (type == kFrameNumber) {
        readFrameNumber(in, length, s);
      } else if (type == kPlayerStatus && length == 20) {
        readPlayerStatus(in, s);
      } else if (type == kRaceClock) {
        readRaceClock(in, s);
      } else {
        skipPadded(in, static_cast<std::int64_t>(length) - 4);
      }
    }
    return carState;
  }

  static void skipPadded(FrameBytes& in, std::int64_t dataBytes) {
    if (dataBytes > 0) in.skip(static_cast<std::size_t>((dataBytes + 3) / 4 * 4));
  }

  void readFrameNumber(FrameBytes& in, std::uint16_t length, int s) {
    std::int32_t number = in.i32();
    row(s).f[FrameRecord::kFrameNumber] = number;
    if (s > 0) {
      std::int32_t previous = row(s - 1).f[FrameRecord::kFrameNumber];
      if (static_cast<std::int64_t>(number) - previous > 1) gapFrame_ = s + 4;
    }
    skipPadded(in, static_cast<std::int64_t>(length) - 8);
  }

  void readPlayerStatus(FrameBytes& in, int s) {
    std::uint16_t value = in.u16();
    if (value / 64 == playerSlot_) {
      in.skip(7);
      FrameRecord& frame = row(s);
      frame.f[FrameRecord::kStatusWord] = in.i32();
      frame.f[FrameRecord::kPlayerBlock3] = static_cast<std::int32_t>(in.u24());
    } else {
      in.skip(14);
    }
  }

  void readRaceClock(FrameBytes& in, int s) {
    std::uint8_t flag = in.u8();
    std::uint32_t clock = in.u24();
    // The rate is 60 or 36: division by a constant is a multiplication, far cheaper than a
    // division by a variable in every frame.
    int second = fps_ == 60 ? s / 60 : s / 36;
    if (second < kRaceClockSeconds)
      stores_.raceClockBySecond[static_cast<std::size_t>(second)] =
          static_cast<std::int32_t>(clock);
    if (flag == 1 && !raceStarted_) {
      raceStarted_ = true;
      result_.raceStartFrame = s;
    }
  }

  void recordSegmentStart(std::int32_t counter) {
    std::int64_t q = counter;
    if (q < segmentBase_) q += 1024;
    if (stores_.segmentCount < kSegmentCapacity) {
      stores_.segmentStarts[static_cast<std::size_t>(stores_.segmentCount++)] =
          static_cast<std::int32_t>(q - segmentBase_ - 6);
    }
  }

  ByteReader& in_;
  FrameWindow window_;
  ViewerStores& stores_;
  std::int32_t playerSlot_;
  int fps_;
  ReplayReadResult& result_;
  std::int64_t segmentBase_ = 0;
  std::int64_t gapFrame_ = -1;
  bool raceStarted_ = false;
};

}  // namespace

ReplayReadResult readReplay(std::span<const std::uint8_t> file, ViewerStores& stores) {
  ReplayReadResult result;
  ByteReader in(file);
  in.seek(5);
  result.fps = frameRateFromHeader(in.u8());
  in.seek(52);
  std::int32_t playerSlot = in.i32();
  readFixedText(in, 56, result.playerName.data(), 32);
  readFixedText(in, 112, stores.trackName.data(), 8);
  readFixedText(in, 128, stores.carSetName.data(), 6);

  DriverTable table = readDriverTable(in, result.playerName);
  if (table.entries == 0) {
    result.outcome = ReplayOutcome::kRefusedNoDrivers;
    return result;
  }
  if (table.entries >= 2 && table.playerIsEntryZero) {
    result.outcome = ReplayOutcome::kRefusedServer;
    return result;
  }
  result.carIndex = table.carIndex;

  readLapRecordBlocks(in, table, table.entries >= 2, result.records);
  stores.segmentCount = 0;
  FrameDecoder(in, file, stores, playerSlot, result.fps, result).run(stores.sampleCount);
  return result;
}

}  // namespace lv
