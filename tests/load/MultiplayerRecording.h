#pragma once

// A small multiplayer recording built byte by byte, independently of gplsim.

#include <vector>

#include "ReplayBuilder.h"

namespace lv::test {

inline constexpr std::int32_t kDriver = 4;

// A recording at 60 fps in which driver kDriver laps every 300 frames, crossing the line at
// frames where (f + offset) % 300 is 0. Each record carries the frame in its yaw (written
// with the frame) and in its gear (an input, moved back by the delay).
struct Recording {
  int offset = 100;
  int frames = 900;
  std::int32_t slot = 7;
  int trailing = 10;
  int raceFrom = 100000;  // the first frame of the race
  std::uint32_t clock0 = 1000;

  std::uint32_t distance(int f) const {
    return 500u + 5000u * static_cast<std::uint32_t>((f + offset) % 300);
  }
  std::vector<int> crossings() const {
    std::vector<int> list;
    for (int f = 1; f < frames + 300; ++f)
      if ((f + offset) % 300 == 0) list.push_back(f);
    return list;
  }
  std::uint32_t clock(int f) const { return clock0 + static_cast<std::uint32_t>(f * 100 / 60); }

  ReplayPlan plan() const {
    ReplayPlan plan;
    plan.playerSlot = slot;
    plan.trailingFrames = trailing;
    plan.drivers = {{"Graham          Hill", 1, 0},
                    {"Jim             Clark", 5, slot},
                    {"Denny           Hulme", 3, kDriver}};
    test::LapRecordBlock practice{kDriver, {}};
    test::LapRecordBlock race{kDriver, {}};
    for (int c : crossings()) {
      practice.records.push_back({clock(c) * 10, 0});
      // The end of lap 1 has bit 6 and the not-counted bit 4 set.
      std::uint8_t flag = race.records.size() == 1 ? 0x50 : 0;
      race.records.push_back({static_cast<std::uint32_t>(c * 1000 / 60), flag});
    }
    plan.practice = {{0, {{1000, 0}}}, practice};
    plan.race = {race};
    for (int f = 0; f < frames; ++f) {
      FramePlan frame;
      frame.clockFlag = f >= raceFrom ? 1 : 0;
      frame.clock = clock(f);
      if (f > 0) {
        frame.extraBlock = {15, 0, 8, 0, 0, 0, 0, 0};
        frame.frameNumber = 7000 + f;
        frame.statusSlotValue = kDriver * 64;
        frame.statusWord = 3 * f;
      }
      auto record = test::carRecord(kDriver, distance(f));
      record[13] = static_cast<std::uint8_t>((f % 512 & 63) << 2);
      record[14] = static_cast<std::uint8_t>((f % 512 >> 6) & 7);
      record[15] = static_cast<std::uint8_t>((f % 8) << 5);
      frame.carTable = {test::carRecord(0, 77), record};
      plan.frames.push_back(frame);
    }
    return plan;
  }
};

}  // namespace lv::test
