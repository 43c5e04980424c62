#include <gtest/gtest.h>

#include <memory>

#include "MultiplayerRecording.h"
#include "ReplayBuilder.h"
#include "telemetry/ByteWriter.h"
#include "viewer/load/CarRecord.h"
#include "viewer/load/ImportFrameWalk.h"
#include "viewer/load/LapImport.h"

namespace lv {
namespace {

using test::kDriver;
using test::Recording;

TEST(CarRecord, DecodesEveryFieldWithItsSignAndTruncation) {
  struct Case {
    const char* name;
    std::uint8_t r[16];
    CarRecordFields expected;
  };
  const Case cases[] = {
      {"all bits set where fields lie",
       {0, 0xF8, 0x1F, 0, 0x10, 0x27, 0, 0x1D, 0xFF, 0xFF, 0x80, 0x01, 0x7E, 0xFF, 0xFF, 0xFF},
       {7, 16787216, 6, -1, 0, 13, -4, 4091, -1, -1, 3}},
      {"largest positive values",
       {0, 0xF8, 0x0F, 0x10, 0, 0, 0, 0x50, 0xFF, 0x7F, 0, 0, 0x3E, 0, 0xF8, 0x0F},
       {20, 0, -1, 63, 5242, 1, 123, 3, 511, 511, 0}},
      {"most negative speed truncates toward zero",
       {0xFF, 0x07, 0, 0, 0xFF, 0xFF, 0xFF, 0x03, 0x00, 0x80, 0x7F, 0, 0x81, 0, 0, 0x20},
       {0, 67108863, 0, 1, -5242, 1, -5, 3, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    CarRecordFields f = decodeCarRecord(c.r);
    const CarRecordFields& e = c.expected;
    EXPECT_EQ(f.recordId, e.recordId) << c.name;
    EXPECT_EQ(f.distance, e.distance) << c.name;
    EXPECT_EQ(f.gear, e.gear) << c.name;
    EXPECT_EQ(f.steering, e.steering) << c.name;
    EXPECT_EQ(f.speed, e.speed) << c.name;
    EXPECT_EQ(f.input5, e.input5) << c.name;
    EXPECT_EQ(f.replayRpm, e.replayRpm) << c.name;
    EXPECT_EQ(f.yaw, e.yaw) << c.name;
    EXPECT_EQ(f.pitch, e.pitch) << c.name;
    EXPECT_EQ(f.roll, e.roll) << c.name;
    EXPECT_EQ(f.low2, e.low2) << c.name;
  }
}

// Blocks of one frame: a type, and data of any length (padded to four bytes).
struct Block {
  std::uint16_t type;
  std::vector<std::uint8_t> data;
};

std::vector<std::uint8_t> frameOf(const std::vector<Block>& blocks) {
  ByteWriter out;
  out.u16(0);
  out.u16(0);
  out.i32(1);
  for (const Block& block : blocks) {
    out.u16(block.type);
    out.u16(static_cast<std::uint32_t>(4 + block.data.size()));
    out.bytes(block.data.data(), block.data.size());
    while (out.size() % 4 != 0) out.u8(0);
  }
  out.patchU16(0, static_cast<std::uint32_t>(out.size()));
  return std::move(out.data());
}

Block frameNumber(std::int32_t n) {
  ByteWriter w;
  w.i32(n);
  return {14, w.data()};
}
Block status(int slot, std::int32_t word) {
  ByteWriter w;
  w.u16(static_cast<std::uint32_t>(slot * 64 + 9));
  w.zeros(7);
  w.i32(word);
  w.zeros(3);
  return {10, w.data()};
}
Block table(std::vector<std::int32_t> ids, std::size_t extraBytes = 0) {
  std::vector<std::uint8_t> data;
  for (std::int32_t id : ids) {
    auto r = test::carRecord(id, 1000u * static_cast<std::uint32_t>(id + 1));
    data.insert(data.end(), r.begin(), r.end());
  }
  data.resize(data.size() + extraBytes);
  return {12, data};
}
Block filler(std::uint16_t type, std::size_t bytes) {
  return {type, std::vector<std::uint8_t>(bytes, 0)};
}

TEST(ImportFrameWalk, PassesOverTheOpeningBlocksAndReadsTheClosingTable) {
  struct Case {
    const char* name;
    std::vector<Block> blocks;
    bool frameNumber, status, record;
    std::size_t missingBytes = 0;  // bytes the file lacks at the frame's end
  };
  const std::vector<Case> cases = {
      {"a type-15 opening is passed over alone",
       {filler(15, 4), frameNumber(77), status(kDriver, 0x1234), table({2, kDriver})},
       true,
       true,
       true},
      {"any other opening takes the block behind it along",
       {filler(13, 4), frameNumber(77), status(kDriver, 0x1234), table({kDriver})},
       false,
       true,
       true},
      {"other drivers' blocks are not the driver's",
       {filler(13, 4), filler(2, 4), frameNumber(77), status(kDriver + 1, 1), table({1, 2})},
       true,
       false,
       false},
      {"a table of 20 bytes holds one record",
       {filler(15, 4), frameNumber(77), table({kDriver})},
       true,
       false,
       true},
      {"a last block shorter than 20 bytes is no table",
       {filler(15, 4), frameNumber(77), filler(12, 15)},
       true,
       false,
       false},
      {"the table must close the frame",
       {filler(15, 4), table({kDriver}), filler(9, 4)},
       false,
       false,
       false},
      {"a record cut short by the end of the file is read as zeros",
       {filler(15, 4), table({kDriver})},
       false,
       false,
       true,
       8},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> bytes = frameOf(c.blocks);
    std::size_t length = bytes.size();
    bytes.resize(length - c.missingBytes);
    ByteReader in(bytes);
    ImportFrame frame = readImportFrame(in, 0, kDriver);
    EXPECT_EQ(frame.length, length) << c.name;
    EXPECT_EQ(frame.hasFrameNumber, c.frameNumber) << c.name;
    if (c.frameNumber) {
      EXPECT_EQ(frame.frameNumber, 77) << c.name;
    }
    EXPECT_EQ(frame.hasStatus, c.status) << c.name;
    if (c.status) {
      EXPECT_EQ(frame.status, 0x1234) << c.name;
    }
    EXPECT_EQ(frame.hasRecord, c.record) << c.name;
    if (c.record) {
      EXPECT_EQ(frame.record.distance, 5000) << c.name;
    }
  }
}

struct ImportCase {
  const char* name;
  Recording recording;
  int kind;
  int ping;     // as in "Ping.ini"
  int shift;    // frames the inputs are moved back
  int first;    // first frame of the lap
  int samples;  // samples of the lap
  int lap = 1;
  std::int32_t lapTime = 5000;  // 300 frames at 60 fps
  std::int32_t lapCar = 4;      // its car, and bits 6 and 5 for the race's lap 1
};

TEST(LapImport, FindsTheLapBehindTheLineAndMovesTheInputsBack) {
  Recording server;
  server.slot = 0;
  Recording early;
  early.offset = 250;  // lap 1 begins at frame 50, less than 72 frames in
  Recording racing;
  racing.raceFrom = 30;
  Recording cut;
  cut.frames = 400;  // the file ends inside the lap
  cut.trailing = 0;
  const ImportCase cases[] = {
      {"race lap, counted from the recording's start", {}, 1, 0, 0, 201, 299},
      {"practice lap, counted from the start clock", {}, 0, 0, 0, 201, 299},
      {"a client's delay counts twice", {}, 1, 2, 4, 201, 299},
      {"a server's delay counts once", server, 0, 3, 3, 201, 299},
      {"never before the first frame", early, 1, 0, 0, 51, 299},
      {"a lap cut short by the end of the file keeps what it got", cut, 1, 0, 0, 201, 199},
      {"the race's first lap starts at the race start", racing, 1, 0, 0, 30, 170, 0, 3333},
  };
  for (const ImportCase& c : cases) {
    auto stores = std::make_unique<ViewerStores>();
    stores->sampleCount = 1000;
    stores->lapCount = 4;
    stores->loadFirstLap = 4;
    stores->lapStart[4] = 1000;
    std::vector<std::uint8_t> replay = test::buildReplay(c.recording.plan());
    LapImportRequest request{kDriver, c.kind, c.lap, c.ping,
                             static_cast<std::int32_t>(c.recording.clock0)};
    LapImportResult result = importLap(replay, *stores, request);
    ASSERT_TRUE(result.imported) << c.name;
    EXPECT_EQ(result.end, 1000 + c.samples) << c.name;
    EXPECT_EQ(stores->lapStart[5], 1000 + c.samples) << c.name;
    EXPECT_EQ(stores->sampleCount, 1000 + c.samples) << c.name;
    EXPECT_EQ(stores->lapTime[4], c.lapTime) << c.name;
    EXPECT_EQ(stores->lapCar[4], c.lapCar + (c.kind == 1 && c.lap == 1 ? 0x40 + 32 : 0)) << c.name;
    EXPECT_STREQ(stores->lapDriver[4].data(), "Denny           Hulme") << c.name;
    for (int i = 0; i < c.samples; ++i) {
      int f = c.first + i;
      const FrameRecord& row = stores->frameTable[static_cast<std::size_t>(1000 + i)];
      ASSERT_EQ(row.f[0], static_cast<std::int32_t>(c.recording.distance(f))) << c.name << i;
      ASSERT_EQ(row.f[1], 7000 + f) << c.name << i;
      ASSERT_EQ(row.f[23], 3 * f) << c.name << i;
      ASSERT_EQ(row.f[7], f % 512 * 8 + 3) << c.name << i;
      if (f + c.shift < c.recording.frames) {
        ASSERT_EQ(row.f[2], (f + c.shift) % 8 - 1) << c.name << i;
      }
    }
    EXPECT_EQ(stores->frameTable[static_cast<std::size_t>(1000 + c.samples)].f[0], 0) << c.name;
  }
}

TEST(LapImport, StoresAreNeverWrittenPastTheirCapacity) {
  Recording recording;
  std::vector<std::uint8_t> replay = test::buildReplay(recording.plan());
  auto stores = std::make_unique<ViewerStores>();
  stores->sampleCount = kSampleCapacity - 40;
  LapImportResult result = importLap(replay, *stores, {kDriver, 1, 1, 5, 0});
  ASSERT_TRUE(result.imported);
  EXPECT_LE(result.end, kSampleCapacity);
  EXPECT_EQ(stores->lapStart[0], kSampleCapacity - 40);
  EXPECT_EQ(stores->lapStart[1], result.end);
  EXPECT_LE(stores->sampleCount, kSampleCapacity);

  // Full lap tables take nothing.
  stores->sampleCount = 0;
  stores->lapCount = kLapCapacity;
  EXPECT_FALSE(importLap(replay, *stores, {kDriver, 1, 1, 0, 0}).imported);
  EXPECT_EQ(stores->sampleCount, 0);
  EXPECT_EQ(stores->lapCount, kLapCapacity);
}

}  // namespace
}  // namespace lv
