#include "viewer/load/ReplayReader.h"

#include <algorithm>
#include <cstring>

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

class FrameDecoder {
 public:
  FrameDecoder(ByteReader& in, ViewerStores& stores, std::int32_t playerSlot, int fps,
               ReplayReadResult& result)
      : in_(in), stores_(stores), playerSlot_(playerSlot), fps_(fps), result_(result) {}

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
      p += frameLength;
      in_.skip(2);
      std::int32_t counter = in_.i32();
      if (counter > 10000) segmentBase_ = counter - 65536;
      std::int64_t carState = scanBlocks(p, s);
      if (carState < 0) continue;
      if (s == gapFrame_ || s == s0 + 4) recordSegmentStart(counter);
      decodeFrame(static_cast<std::size_t>(carState),
                  stores_.frameTable[static_cast<std::size_t>(s)]);
      ++s;
    }
    result_.end = s;
  }

 private:
  std::int64_t scanBlocks(std::size_t frameEnd, int s) {
    std::int64_t carState = -1;
    for (int n = 0; n < kMaxBlocksPerFrame && in_.position() < frameEnd; ++n) {
      std::uint16_t type = in_.u16();
      std::uint16_t length = in_.u16();
      if (type == kCarState && length == 32) {
        carState = static_cast<std::int64_t>(in_.position());
        in_.skip(28);
      } else if (type == kFrameNumber) {
        readFrameNumber(length, s);
      } else if (type == kPlayerStatus && length == 20) {
        readPlayerStatus(s);
      } else if (type == kRaceClock) {
        readRaceClock(s);
      } else {
        skipPadded(static_cast<std::int64_t>(length) - 4);
      }
    }
    return carState;
  }

  void skipPadded(std::int64_t dataBytes) {
    if (dataBytes < 0) dataBytes = 0;
    in_.skip((dataBytes + 3) / 4 * 4);
  }

  void readFrameNumber(std::uint16_t length, int s) {
    std::int32_t number = in_.i32();
    FrameRecord& frame = stores_.frameTable[static_cast<std::size_t>(s)];
    frame.f[FrameRecord::kFrameNumber] = number;
    if (s > 0) {
      std::int32_t previous =
          stores_.frameTable[static_cast<std::size_t>(s - 1)].f[FrameRecord::kFrameNumber];
      if (static_cast<std::int64_t>(number) - previous > 1) gapFrame_ = s + 4;
    }
    skipPadded(static_cast<std::int64_t>(length) - 8);
  }

  void readPlayerStatus(int s) {
    std::uint16_t value = in_.u16();
    if (value / 64 == playerSlot_) {
      in_.skip(7);
      FrameRecord& frame = stores_.frameTable[static_cast<std::size_t>(s)];
      frame.f[FrameRecord::kStatusWord] = in_.i32();
      frame.f[FrameRecord::kPlayerBlock3] = static_cast<std::int32_t>(in_.u24());
    } else {
      in_.skip(14);
    }
  }

  void readRaceClock(int s) {
    std::uint8_t flag = in_.u8();
    std::uint32_t clock = in_.u24();
    int second = s / fps_;
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

  void decodeFrame(std::size_t carStatePosition, FrameRecord& frame) {
    in_.seek(carStatePosition);
    std::uint8_t bytes[28];
    in_.readBytes(bytes, sizeof bytes);
    decodeCarState(bytes, frame);
    in_.skip(2);
    if (in_.u16() == 8) frame.f[FrameRecord::kEngineTemps] = static_cast<std::int32_t>(in_.u16());
  }

  ByteReader& in_;
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
  FrameDecoder(in, stores, playerSlot, result.fps, result).run(stores.sampleCount);
  return result;
}

}  // namespace lv
