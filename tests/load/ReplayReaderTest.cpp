#include <gtest/gtest.h>

#include "ReplayBuilder.h"
#include "viewer/load/CarStateDecoder.h"
#include "viewer/load/ReplayReader.h"

namespace lv {
namespace {

using test::FramePlan;
using test::ReplayPlan;

FramePlan frameAt(std::uint32_t distance, int number) {
  FramePlan frame;
  test::setDistance(frame, distance);
  frame.frameNumber = number;
  return frame;
}

ReplayPlan drivingReplay(int frames) {
  ReplayPlan plan;
  for (int i = 0; i < frames; ++i)
    plan.frames.push_back(frameAt(1000u * static_cast<std::uint32_t>(i + 1), 100 + i));
  return plan;
}

TEST(CarStateDecoder, FieldsFollowTheirBitsAndSigns) {
  struct Case {
    int byte;
    std::uint8_t value;
    int field;
    std::int32_t expected;
  };
  const Case cases[] = {
      {3, 0x03, 0, 16777216 * 3},  // distance bits 24..25
      {3, 0x18, 2, 2},             // gear 3 - 1
      {3, 0x00, 2, -1},            // no gear bits: reverse
      {6, 0x08, 4, -5242},         // 20-bit lane offset 524288 -> -524288 / 100
      {4, 0x9B, 4, 1},             // 155 / 100 truncates
      {6, 0xF0, 5, 15},            // ride height low bits
      {9, 0x03, 6, 768},           // replay rpm high bits
      {11, 0x80, 8, -512},         // pitch: signed 10 bits
      {13, 0x02, 9, -512},         // roll: signed 10 bits
      {14, 0x01, 10, 64},          // squeal high bit
      {15, 0x01, 11, 128},         // lap-active high bit
      {15, 0x80, 3, -64},          // steering: signed 7 bits
      {18, 0x10, 12, -256},        // suspension 0: signed 9 bits
      {19, 0xFE, 17, 127},         // wheel 1 rotation
      {21, 0x80, 18, 1},           // wheel 2 rotation low bit
      {23, 0x40, 14, -256},        // suspension 2 sign
      {26, 0x20, 15, -512},        // suspension 3: signed 10 bits
      {27, 0x01, 25, 4},           // oil pressure
  };
  for (const Case& c : cases) {
    std::uint8_t bytes[28] = {};
    bytes[c.byte] = c.value;
    FrameRecord frame{};
    decodeCarState(bytes, frame);
    EXPECT_EQ(frame.f[c.field], c.expected) << "byte " << c.byte << " field " << c.field;
  }
}

TEST(ReplayReader, FrameRateCharacter) {
  const std::pair<char, int> cases[] = {{'0', 60}, {'1', 36}, {60, 60}, {'A', 36}};
  for (auto [character, fps] : cases) {
    ReplayPlan plan = drivingReplay(1);
    plan.fpsCharacter = character;
    ViewerStores stores;
    EXPECT_EQ(readReplay(test::buildReplay(plan), stores).fps, fps) << int(character);
  }
}

TEST(ReplayReader, DecodesHeaderFramesAndSideBlocks) {
  ReplayPlan plan = drivingReplay(3);
  plan.playerSlot = 2;
  plan.frames[0].statusSlotValue = 2 * 64 + 5;
  plan.frames[0].statusWord = 0x12345678;
  plan.frames[0].block22 = 0xABCDEF;
  plan.frames[1].statusSlotValue = 64;  // another car's block
  plan.frames[1].statusWord = 99;
  plan.frames[2].engineWord = 0x1234;
  plan.frames[2].clockFlag = 0;
  plan.frames[2].clock = 4321;
  ViewerStores stores;
  ReplayReadResult result = readReplay(test::buildReplay(plan), stores);

  ASSERT_EQ(result.outcome, ReplayOutcome::kRead);
  EXPECT_STREQ(stores.trackName.data(), "monza");
  EXPECT_STREQ(stores.carSetName.data(), "cars67");
  EXPECT_STREQ(result.playerName.data(), "Jim Clark");
  EXPECT_EQ(result.carIndex, 6);
  EXPECT_EQ(result.end, 3);
  EXPECT_EQ(stores.frameTable[0].f[0], 1000);
  EXPECT_EQ(stores.frameTable[2].f[0], 3000);
  EXPECT_EQ(stores.frameTable[1].f[1], 101);
  EXPECT_EQ(stores.frameTable[0].f[23], 0x12345678);
  EXPECT_EQ(stores.frameTable[0].f[22], 0xABCDEF);
  EXPECT_EQ(stores.frameTable[1].f[23], 0);
  EXPECT_EQ(stores.frameTable[2].f[24], 0x1234);
  EXPECT_EQ(stores.raceClockBySecond[0], 4321);
  EXPECT_EQ(result.raceStartFrame, INT32_MAX);
}

TEST(ReplayReader, FramesWithoutCarStateAreDroppedAndOddBlocksPadded) {
  ReplayPlan plan = drivingReplay(3);
  plan.frames[1].carState = false;
  // A block of another type whose length is not a multiple of 4 is padded.
  plan.frames[2].extraBlock = {7, 0, 6, 0, 0xAA, 0xBB, 0, 0};
  ViewerStores stores;
  ReplayReadResult result = readReplay(test::buildReplay(plan), stores);
  EXPECT_EQ(result.end, 2);
  EXPECT_EQ(stores.frameTable[1].f[0], 3000);
}

TEST(ReplayReader, LastTenFramesOfDataAreNotRead) {
  ReplayPlan plan = drivingReplay(20);
  plan.trailingFrames = 0;
  ViewerStores stores;
  ReplayReadResult result = readReplay(test::buildReplay(plan), stores);
  EXPECT_LT(result.end, 20);
  EXPECT_GE(result.end, 9);
}

// Reads past the end of the file yield zeros, also where a frame is decoded in one piece:
// a frame cut anywhere by the end of the file reads as the same bytes followed by zeros.
TEST(ReplayReader, FrameAtTheEndOfTheFileReadsAsIfZerosFollowed) {
  FramePlan frame = frameAt(123456, 42);
  frame.statusSlotValue = 0;
  frame.statusWord = 0x11223344;
  frame.block22 = 0x556677;
  frame.clockFlag = 1;
  frame.clock = 9876;
  for (int i = 3; i < 28; ++i) frame.carBytes[i] = static_cast<std::uint8_t>(37 * i + 11);
  // The car state closes the frame, so its engine word is read from the bytes behind it.
  frame.engineTemps = false;
  ReplayPlan plan;
  plan.frames = {frame};
  plan.trailingFrames = 0;
  std::vector<std::uint8_t> full = test::buildReplay(plan);
  const std::size_t frameLength = 8 + 8 + 20 + 8 + 32;
  const std::size_t frameStart = full.size() - frameLength;
  for (std::uint8_t byte : {0xEE, 0xEE, 0x08, 0x00, 0x34, 0x12}) full.push_back(byte);
  full.resize(full.size() + 60, 0xEE);

  ViewerStores whole;
  ASSERT_EQ(readReplay(full, whole).end, 1);
  EXPECT_EQ(whole.frameTable[0].f[FrameRecord::kEngineTemps], 0x1234);

  // From the first cut at which the frame is still read (more than ten lengths of the
  // section header remain) to the whole image.
  for (std::size_t cut = frameStart + 61; cut <= full.size(); ++cut) {
    std::vector<std::uint8_t> part(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut));
    std::vector<std::uint8_t> padded = part;
    padded.resize(cut + 100, 0);
    ViewerStores fromPart;
    ViewerStores fromPadded;
    ASSERT_EQ(readReplay(part, fromPart).end, 1) << cut;
    ASSERT_EQ(readReplay(padded, fromPadded).end, 1) << cut;
    for (int field = 0; field < 26; ++field)
      EXPECT_EQ(fromPart.frameTable[0].f[field], fromPadded.frameTable[0].f[field])
          << "cut " << cut << " field " << field;
    EXPECT_EQ(fromPart.raceClockBySecond[0], 9876) << cut;
  }
}

TEST(ReplayReader, RaceStartAndClockBySecond) {
  ReplayPlan plan = drivingReplay(130);
  for (int i = 0; i < 130; ++i) {
    plan.frames[static_cast<std::size_t>(i)].clockFlag = i >= 70 ? 1 : 0;
    plan.frames[static_cast<std::size_t>(i)].clock = static_cast<std::uint32_t>(i * 10);
  }
  plan.fpsCharacter = '0';
  ViewerStores stores;
  ReplayReadResult result = readReplay(test::buildReplay(plan), stores);
  EXPECT_EQ(result.raceStartFrame, 70);
  EXPECT_EQ(stores.raceClockBySecond[0], 590);  // last frame of second 0
  EXPECT_EQ(stores.raceClockBySecond[1], 1190);
  EXPECT_EQ(stores.raceClockBySecond[2], 1290);
}

TEST(ReplayReader, PlayerLapRecordsAndFlags) {
  ReplayPlan plan = drivingReplay(2);
  plan.drivers = {{"Jim Clark", 4, 7}};
  plan.practice = {{7, {{90000, 0x00}, {181000, 0x10}, {272000, 0xC0}}}};
  ViewerStores stores;
  ReplayReadResult result = readReplay(test::buildReplay(plan), stores);
  ASSERT_EQ(result.records.count, 3);
  EXPECT_EQ(result.records.time[1], 181000);
  EXPECT_EQ(result.records.flags[0], 5);
  EXPECT_EQ(result.records.flags[1], 5 + 32);  // file bit 4 becomes bit 5
  EXPECT_EQ(result.records.flags[2], 0xC0 + 5);
  EXPECT_EQ(result.end, 2);
}

TEST(ReplayReader, MultiplayerReplayAppendsEveryBlockOfThePlayer) {
  ReplayPlan plan = drivingReplay(2);
  plan.drivers = {{"Graham Hill", 1, 3}, {"Jim Clark", 5, 7}};
  plan.practice = {{3, {{95000, 0}}}, {7, {{90000, 0}, {180000, 0}}}};
  plan.race = {{7, {{100000, 0}}}, {3, {{101000, 0}}}};
  ViewerStores stores;
  ReplayReadResult result = readReplay(test::buildReplay(plan), stores);
  ASSERT_EQ(result.outcome, ReplayOutcome::kRead);
  EXPECT_EQ(result.records.count, 3);
  EXPECT_EQ(result.records.firstBlockCount, 2);
  EXPECT_EQ(result.records.blockCount, 2);
  EXPECT_EQ(result.records.time[2], 100000);
  EXPECT_EQ(result.end, 2);
}

TEST(ReplayReader, SingleDriverReplayPassesLaterBlocksToReachTheFrames) {
  ReplayPlan plan = drivingReplay(2);
  plan.practice = {{7, {{90000, 0}}}};
  plan.race = {{7, {{100000, 0}}}};
  ViewerStores stores;
  ReplayReadResult result = readReplay(test::buildReplay(plan), stores);
  EXPECT_EQ(result.records.count, 1);
  EXPECT_EQ(result.end, 2);
  EXPECT_EQ(stores.frameTable[1].f[0], 2000);
}

TEST(ReplayReader, RefusalsLeaveFramesAlone) {
  ReplayPlan server = drivingReplay(2);
  server.drivers = {{"Jim Clark", 5, 7}, {"Graham Hill", 1, 3}};
  ReplayPlan empty = drivingReplay(2);
  empty.drivers.clear();
  ReplayPlan stranger = drivingReplay(2);
  stranger.drivers = {{"Someone Else", 2, 9}};

  ViewerStores stores;
  EXPECT_EQ(readReplay(test::buildReplay(server), stores).outcome, ReplayOutcome::kRefusedServer);
  EXPECT_EQ(readReplay(test::buildReplay(empty), stores).outcome, ReplayOutcome::kRefusedNoDrivers);
  EXPECT_EQ(stores.frameTable[0].f[0], 0);
  ReplayReadResult accepted = readReplay(test::buildReplay(stranger), stores);
  EXPECT_EQ(accepted.outcome, ReplayOutcome::kRead);
  EXPECT_EQ(accepted.carIndex, 0);
}

TEST(ReplayReader, ForeignAndTruncatedBytesNeverReadOutside) {
  std::vector<std::uint8_t> replay = test::buildReplay(drivingReplay(30));
  ViewerStores stores;
  for (std::size_t cut :
       {std::size_t{0}, std::size_t{7}, std::size_t{321}, replay.size() / 2, replay.size() - 3}) {
    std::vector<std::uint8_t> part(replay.begin(),
                                   replay.begin() + static_cast<std::ptrdiff_t>(cut));
    ReplayReadResult result = readReplay(part, stores);
    EXPECT_LE(result.end, 30);
  }
  std::vector<std::uint8_t> noise(4096);
  for (std::size_t i = 0; i < noise.size(); ++i)
    noise[i] = static_cast<std::uint8_t>(i * 7919u >> 3);
  readReplay(noise, stores);
}

}  // namespace
}  // namespace lv
