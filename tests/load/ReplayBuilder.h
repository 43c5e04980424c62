#pragma once

// Builds small replay images byte by byte for the reader's tests, independently of gplsim.

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "telemetry/ByteWriter.h"

namespace lv::test {

struct DriverEntry {
  std::string name;
  std::int32_t carNumber = 0;
  std::int32_t recordId = 0;
};

struct LapRecordBlock {
  std::int32_t recordId = 0;
  std::vector<std::pair<std::uint32_t, std::uint8_t>> records;  // cumulative ms, flag byte
};

struct FramePlan {
  std::int32_t counter = 0;
  bool carState = true;
  std::uint8_t carBytes[28] = {};
  bool engineTemps = true;
  std::uint16_t engineWord = 0;
  int frameNumber = -1;      // type-14 block when >= 0
  int statusSlotValue = -1;  // type-10 block with V = this when >= 0
  std::int32_t statusWord = 0;
  std::uint32_t block22 = 0;
  int clockFlag = -1;  // type-13 block when >= 0
  std::uint32_t clock = 0;
  std::vector<std::uint8_t> extraBlock;  // raw block of another type placed first
  // 16-byte records of the per-car table that closes the frame; none: no table.
  std::vector<std::array<std::uint8_t, 16>> carTable;
};

// A per-car table record with only the identifier and the distance set.
inline std::array<std::uint8_t, 16> carRecord(std::int32_t id, std::uint32_t distance) {
  std::array<std::uint8_t, 16> r{};
  r[4] = static_cast<std::uint8_t>(distance);
  r[5] = static_cast<std::uint8_t>(distance >> 8);
  r[6] = static_cast<std::uint8_t>(distance >> 16);
  r[7] = static_cast<std::uint8_t>(id * 4 | ((distance >> 24) & 3));
  return r;
}

// Distance in 1/2000 m packed into the first car-state bytes.
inline void setDistance(FramePlan& frame, std::uint32_t distance) {
  frame.carBytes[0] = static_cast<std::uint8_t>(distance);
  frame.carBytes[1] = static_cast<std::uint8_t>(distance >> 8);
  frame.carBytes[2] = static_cast<std::uint8_t>(distance >> 16);
  frame.carBytes[3] = static_cast<std::uint8_t>((frame.carBytes[3] & ~3) | ((distance >> 24) & 3));
}

struct ReplayPlan {
  char fpsCharacter = '0';
  std::int32_t playerSlot = 0;
  std::string playerName = "Jim Clark";
  std::string trackName = "monza";
  std::string carSetName = "cars67";
  std::vector<DriverEntry> drivers{{"Jim Clark", 5, 7}};
  std::vector<LapRecordBlock> practice;
  std::vector<LapRecordBlock> race;  // after a "BTPL" separator when not empty
  std::vector<FramePlan> frames;
  int trailingFrames = 10;  // frames without a car state after the last, so that it is read
};

inline std::vector<std::uint8_t> buildReplay(const ReplayPlan& plan) {
  ByteWriter out;
  out.zeros(320);
  auto& bytes = out.data();
  bytes[5] = static_cast<std::uint8_t>(plan.fpsCharacter);
  auto put = [&bytes](std::size_t at, const void* data, std::size_t n) {
    const auto* src = static_cast<const std::uint8_t*>(data);
    for (std::size_t i = 0; i < n; ++i) bytes[at + i] = src[i];
  };
  put(52, &plan.playerSlot, 4);
  put(56, plan.playerName.data(), plan.playerName.size());
  put(112, plan.trackName.data(), plan.trackName.size());
  put(128, plan.carSetName.data(), plan.carSetName.size());
  for (const DriverEntry& driver : plan.drivers) {
    std::size_t entry = out.size();
    out.zeros(152);
    put(entry, driver.name.data(), std::min<std::size_t>(driver.name.size(), 32));
    put(entry + 108, &driver.carNumber, 4);
    put(entry + 124, &driver.recordId, 4);
  }
  // The last entry's last four bytes hold the practice section's length, patched below.
  std::size_t practiceLengthAt = out.size() - 4;
  std::size_t firstTag = out.size();
  auto writeBlocks = [&out](const std::vector<LapRecordBlock>& blocks) {
    for (const LapRecordBlock& block : blocks) {
      out.bytes("ORPL", 4);
      out.u32(0);
      out.u32(static_cast<std::uint32_t>(4 + 4 * block.records.size()));
      out.i32(block.recordId);
      for (auto [time, flag] : block.records) {
        out.u24(time);
        out.u8(flag);
      }
    }
  };
  writeBlocks(plan.practice);
  if (plan.practice.empty()) {
    // A lone player without records still has the section's tag.
    out.bytes("ORPL", 4);
    out.u32(0);
    out.u32(4);
    out.i32(-1);
  }
  auto patchU32 = [&out](std::size_t at, std::size_t value) {
    for (int i = 0; i < 4; ++i)
      out.data()[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
  };
  if (!plan.drivers.empty()) patchU32(practiceLengthAt, out.size() - firstTag);
  if (!plan.race.empty()) {
    out.bytes("BTPL", 4);
    out.zeros(4);
    std::size_t raceLengthAt = out.size();
    out.zeros(4);
    std::size_t raceStart = out.size();
    writeBlocks(plan.race);
    patchU32(raceLengthAt, out.size() - raceStart);
  }
  out.bytes("END!", 4);
  out.zeros(8);
  out.u16(6);  // frame-section header of 6 bytes
  out.zeros(4);

  std::size_t previousLength = 6;
  auto writeFrame = [&out, &previousLength](const FramePlan& frame) {
    std::size_t start = out.size();
    out.u16(0);
    out.u16(static_cast<std::uint32_t>(previousLength));
    out.i32(frame.counter);
    if (!frame.extraBlock.empty()) out.bytes(frame.extraBlock.data(), frame.extraBlock.size());
    if (frame.frameNumber >= 0) {
      out.u16(14);
      out.u16(8);
      out.i32(frame.frameNumber);
    }
    if (frame.statusSlotValue >= 0) {
      out.u16(10);
      out.u16(20);
      out.u16(static_cast<std::uint32_t>(frame.statusSlotValue));
      out.zeros(7);
      out.i32(frame.statusWord);
      out.u24(frame.block22);
    }
    if (frame.clockFlag >= 0) {
      out.u16(13);
      out.u16(8);
      out.u8(static_cast<std::uint32_t>(frame.clockFlag));
      out.u24(frame.clock);
    }
    if (frame.carState) {
      out.u16(1);
      out.u16(32);
      out.bytes(frame.carBytes, 28);
      if (frame.engineTemps) {
        out.u16(9);
        out.u16(8);
        out.u16(frame.engineWord);
        out.u16(0);
      }
    }
    if (!frame.carTable.empty()) {
      out.u16(12);
      out.u16(static_cast<std::uint32_t>(4 + 16 * frame.carTable.size()));
      for (const auto& record : frame.carTable) out.bytes(record.data(), record.size());
    }
    previousLength = out.size() - start;
    out.patchU16(start, static_cast<std::uint32_t>(previousLength));
  };
  for (const FramePlan& frame : plan.frames) writeFrame(frame);
  FramePlan empty;
  empty.carState = false;
  empty.extraBlock.assign(88, 0);
  empty.extraBlock[0] = 99;
  empty.extraBlock[2] = 88;
  for (int i = 0; i < plan.trailingFrames; ++i) writeFrame(empty);
  return std::move(out.data());
}

}  // namespace lv::test
