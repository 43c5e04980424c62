#pragma once

#include <gtest/gtest.h>

#include <span>
#include <string>

#include "ExpectedSample.h"
#include "FakeDrive.h"
#include "telemetry/TelFormat.h"

namespace lv::testing {

// Checks a .tel file recorded from a whole fakegame drive: format 7, one sample for every
// frame from the first one recorded on, each equal to what the reader makes of that frame,
// and every frame up to the last collected (the last two collected are not written).
inline void expectRecordingOfDrive(const std::string& bytes,
                                   const fakegame::DriveParameters& drive) {
  ASSERT_GE(bytes.size(), 4u);
  EXPECT_EQ(bytes.substr(0, 4), std::string("\x07\0\0\0", 4));
  ASSERT_EQ((bytes.size() - 4) % 164, 0u);
  std::size_t count = (bytes.size() - 4) / 164;
  ASSERT_GT(count, 20u);
  fakegame::TorqueCurve curve = fakegame::torqueCurve(drive);
  int firstFrame = -1;
  for (std::size_t j = 0; j < count; ++j) {
    TelemetrySample sample = decodeTelRecord(
        TelLayout::kVersion7,
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()) + 4 + 164 * j, 164));
    int frame = frameOfFuel(sample[TelemetrySample::kFuel]);
    if (j == 0) firstFrame = frame;
    ASSERT_EQ(frame, firstFrame + static_cast<int>(j)) << "a clock change was missed";
    EXPECT_EQ(sample.values, expectedSample(fakegame::frameAt(frame, drive), curve).values)
        << "frame " << frame;
  }
  EXPECT_EQ(firstFrame + static_cast<int>(count) - 1, fakegame::frameCount(drive) - 1 - 2);
}

}  // namespace lv::testing
