#pragma once

// A GPL folder in a fresh temporary directory with "Vantor.ini", a replay of a few laps
// built by the test replay builder, its telemetry and the track's track.ini.

#include <filesystem>
#include <fstream>
#include <string>

#include "ReplayBuilder.h"
#include "telemetry/TelFormat.h"

namespace lv::test {

struct DriveFolder {
  static constexpr int kLaps = 3;
  static constexpr int kFramesPerLap = 300;
  static constexpr int kLead = 60;  // telemetry records before the first frame

  std::filesystem::path root;

  DriveFolder() {
    root = std::filesystem::temp_directory_path() /
           ("lapvista-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter()++));
    std::filesystem::create_directories(root / "gpl" / "replay");
    std::filesystem::create_directories(root / "gpl" / "tracks" / "monza");
    write(root / "Vantor.ini", (root / "gpl").string() + "/");
    write(root / "gpl" / "tracks" / "monza" / "track.ini", "[track]\ntrack_length = 3.600 miles\n");
  }
  ~DriveFolder() {
    std::error_code error;
    std::filesystem::remove_all(root, error);
  }

  std::string iniDir() const { return root.string(); }
  std::string replay(const std::string& name) const {
    return (root / "gpl" / "replay" / (name + ".rpy")).string();
  }

  static std::int32_t distance(int frame) { return 1000 + 1000 * (frame % kFramesPerLap); }
  // Race clock in hundredths at frame s of a 60 fps replay.
  static std::uint32_t clock(int s) { return static_cast<std::uint32_t>(s * 100 / 60); }

  // A drive of kLaps laps at 60 fps whose lap records match the race clock, with its
  // version-7 telemetry.
  void writeDrive(const std::string& name, bool withTelemetry = true) const {
    ReplayPlan plan;
    LapRecordBlock block{7, {}};
    for (int lap = 1; lap <= kLaps; ++lap) {
      int lastFrame = lap * kFramesPerLap - 1;
      // The clock of a second is the one of its last frame.
      int second = lastFrame / 60;
      std::uint32_t clockAtEnd = clock(std::min(second * 60 + 59, kLaps * kFramesPerLap - 1));
      block.records.push_back({clockAtEnd * 10, 0});
    }
    plan.practice = {block};
    for (int s = 0; s < kLaps * kFramesPerLap; ++s) {
      FramePlan frame;
      setDistance(frame, static_cast<std::uint32_t>(distance(s)));
      frame.frameNumber = 1000 + s;
      frame.clockFlag = 0;
      frame.clock = clock(s);
      frame.carBytes[15] = 2;  // lap-active field
      plan.frames.push_back(frame);
    }
    writeBytes(replay(name), buildReplay(plan));
    if (!withTelemetry) return;
    std::vector<TelemetrySample> samples;
    for (int r = 0; r < kLaps * kFramesPerLap + kLead; ++r) {
      int frame = r - kLead;
      TelemetrySample sample;
      sample[TelemetrySample::kLapDistance] =
          frame < 0 ? 0.25f * static_cast<float>(r) : static_cast<float>(distance(frame)) / 2000.0f;
      sample[TelemetrySample::kThrottle] = 1.0f;
      sample[TelemetrySample::kSpeed] = 100.0f + static_cast<float>(frame % kFramesPerLap) / 10.0f;
      samples.push_back(sample);
    }
    std::string tel = replay(name);
    tel.replace(tel.size() - 3, 3, "tel");
    writeBytes(tel, encodeTelFile(7, TelLayout::kVersion7, samples));
  }

  static void write(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  static void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }

 private:
  static int& counter() {
    static int value = 0;
    return value;
  }
};

}  // namespace lv::test
