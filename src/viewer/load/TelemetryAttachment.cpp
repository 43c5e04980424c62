#include "viewer/load/TelemetryAttachment.h"

#include <cstring>

#include "telemetry/ByteReader.h"
#include "telemetry/TelFormat.h"
#include "viewer/load/TimeSteppedAttachment.h"
#include "viewer/load/Truncate.h"

namespace lv {
namespace {

constexpr int kRecordsSkippedAtStart = 100;
constexpr int kRecordsBackAfterGap = 50;
constexpr std::size_t kEndMargin = 120;

class DistanceAlignment {
 public:
  DistanceAlignment(ByteReader& in, TelFileShape shape, ViewerStores& stores)
      : in_(in),
        shape_(shape),
        record_(static_cast<std::int64_t>(shape.recordSize)),
        stores_(stores) {}

  void run(int s0, int end) {
    in_.seek(shape_.dataOffset);
    in_.skip(kRecordsSkippedAtStart * record_);
    if (!findFirstMovingRecord()) return;
    std::int32_t startKey = distanceKey(in_.peekF32());
    int s = s0;
    while (s < end && frame(s).f[0] != startKey) ++s;
    if (s >= end) return;
    while (s < end && in_.position() + kEndMargin < in_.size()) {
      std::int32_t key = distanceKey(in_.peekF32());
      if (s > 1 && frame(s).f[1] - static_cast<std::int64_t>(frame(s - 1).f[1]) > 1) {
        s = skipStandingFrames(s, end);
        if (s >= end) break;
        resyncAfterGap();
      }
      std::int32_t here = frame(s).f[0];
      std::int32_t before = frame(clampRow(s - 1)).f[0];
      bool repeat = false;
      if (key < here && here > before && static_cast<std::int64_t>(here) - key < 50000) {
        in_.skip(record_);
      } else if (key > here && here >= before && static_cast<std::int64_t>(key) - here < 700000) {
        repeat = true;
      }
      readRecordInto(s);
      if (repeat) in_.skip(-record_);
      ++s;
    }
  }

 private:
  const FrameRecord& frame(int s) const { return stores_.frameTable[static_cast<std::size_t>(s)]; }

  // Leaves the reader at the record after the first one that moved at least 0.03 m.
  bool findFirstMovingRecord() {
    float previous = readDistanceAndAdvance();
    while (in_.position() + static_cast<std::size_t>(record_) <= in_.size()) {
      float distance = readDistanceAndAdvance();
      if (distance - previous >= 0.03) return in_.position() < in_.size();
      previous = distance;
    }
    return false;
  }

  float readDistanceAndAdvance() {
    float distance = in_.peekF32();
    in_.skip(record_);
    return distance;
  }

  int skipStandingFrames(int s, int end) {
    while (s < end && frame(s).f[0] == frame(s - 1).f[0]) ++s;
    return s;
  }

  void resyncAfterGap() {
    in_.skip(-kRecordsBackAfterGap * record_);
    while (in_.position() + 2 * static_cast<std::size_t>(record_) <= in_.size()) {
      float distance = in_.peekF32();
      in_.skip(record_);
      if (in_.peekF32() != distance) {
        in_.skip(-record_);
        return;
      }
    }
  }

  void readRecordInto(int s) {
    std::uint8_t raw[164];
    in_.readBytes(raw, static_cast<std::size_t>(record_));
    if (shape_.layout == TelLayout::kUnversioned) {
      TelemetryRecord& row = stores_.telemetryTable[static_cast<std::size_t>(s)];
      std::memcpy(row.f, raw, sizeof row.f);
      return;
    }
    placeAveraged(s, decodeTelRecord(shape_.layout, std::span<const std::uint8_t>(
                                                        raw, static_cast<std::size_t>(record_))));
  }

  void placeAveraged(int s, const TelemetrySample& sample) {
    std::size_t row = static_cast<std::size_t>(s);
    std::size_t previous = static_cast<std::size_t>(clampRow(s - 1));
    FrameRecord& frame = stores_.frameTable[row];
    float clutchBefore = static_cast<float>(stores_.frameTable[previous].f[FrameRecord::kClutch]);
    frame.f[FrameRecord::kClutch] =
        truncToInt((sample[TelemetrySample::kClutch] * 10000.0f + clutchBefore) / 2.0f);

    TelemetryRecord& telemetry = stores_.telemetryTable[row];
    const TelemetryRecord& telemetryBefore = stores_.telemetryTable[previous];
    for (int i = 2; i <= 11; ++i) telemetry.f[i] = (sample[i] + telemetryBefore.f[i]) / 2.0f;
    for (int wheel = 0; wheel < 4; ++wheel) {
      for (int value = 0; value < 3; ++value) {
        telemetry.f[TelemetryRecord::tyreTemp(wheel, value)] =
            sample[TelemetrySample::tyreTemp(wheel, value)];
      }
    }
    if (hasContactPatch()) {
      ContactPatchRecord& patch = stores_.contactPatchTable[row];
      for (int wheel = 0; wheel < 4; ++wheel)
        for (int value = 0; value < 3; ++value)
          patch.f[3 * wheel + value] = sample[TelemetrySample::contactPatchTemp(wheel, value)];
    }
    if (hasWear()) {
      ExtraRecord& extra = stores_.extraTable[row];
      const ExtraRecord& extraBefore = stores_.extraTable[previous];
      for (int wheel = 0; wheel < 4; ++wheel)
        extra.f[wheel] = (sample[TelemetrySample::wear(wheel)] + extraBefore.f[wheel]) / 2.0f;
    }
  }

  bool hasContactPatch() const {
    return shape_.layout == TelLayout::kVersion6 || shape_.layout == TelLayout::kVersion7;
  }
  bool hasWear() const { return hasContactPatch() || shape_.layout == TelLayout::kVersion5; }

  ByteReader& in_;
  TelFileShape shape_;
  std::int64_t record_;
  ViewerStores& stores_;
};

}  // namespace

std::int32_t distanceKey(float metres) {
  return truncToInt(metres * 2000.0f);
}

void attachTelemetry(std::span<const std::uint8_t> telFile, ViewerStores& stores, int s0, int end,
                     int fps) {
  if (end <= s0) return;
  ByteReader in(telFile);
  TelFileShape shape = telFileShape(in.i32());
  if (shape.layout == TelLayout::kTimeStepped) {
    attachTimeStepped(in, shape, stores, s0, end, fps);
    return;
  }
  DistanceAlignment(in, shape, stores).run(s0, end);
}

}  // namespace lv
