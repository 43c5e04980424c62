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

// One record of a layout with a distance and per-wheel values into the rows of frame s:
// clutch, the ten values from the map position on and the wear averaged with frame s - 1,
// the temperatures as they are. Every value is read from the record once, in runs of
// floats that lie side by side.
template <TelLayout kLayout>
void placeAveraged(ViewerStores& stores, int s, const std::uint8_t* record) {
  constexpr TelRecordMap map = telRecordMap(kLayout);
  auto valuesAt = [record](int firstFloat) { return record + 4 * firstFloat; };
  std::size_t row = static_cast<std::size_t>(s);
  std::size_t previous = static_cast<std::size_t>(clampRow(s - 1));

  FrameRecord& frame = stores.frameTable[row];
  float clutchBefore = static_cast<float>(stores.frameTable[previous].f[FrameRecord::kClutch]);
  float clutch = loadF32(valuesAt(TelemetrySample::kClutch));
  frame.f[FrameRecord::kClutch] = truncToInt((clutch * 10000.0f + clutchBefore) / 2.0f);

  // The row before is taken first: for the first row of the store it is the row itself.
  constexpr int kFirst = TelemetryRecord::kMapX;
  constexpr int kAveraged = TelemetryRecord::kLongForce - kFirst + 1;
  float value[kAveraged];
  float before[kAveraged];
  loadF32s(valuesAt(kFirst), value, kAveraged);
  std::memcpy(before, stores.telemetryTable[previous].f + kFirst, sizeof before);
  TelemetryRecord& telemetry = stores.telemetryTable[row];
  for (int i = 0; i < kAveraged; ++i) telemetry.f[kFirst + i] = (value[i] + before[i]) / 2.0f;
  for (int wheel = 0; wheel < 4; ++wheel)
    loadF32s(valuesAt(map.tyreTemps + map.wheelStride * wheel),
             telemetry.f + TelemetryRecord::tyreTemp(wheel, 0), 3);

  if constexpr (map.contactPatch >= 0) {
    ContactPatchRecord& patch = stores.contactPatchTable[row];
    for (int wheel = 0; wheel < 4; ++wheel)
      loadF32s(valuesAt(map.contactPatch + map.wheelStride * wheel), patch.f + 3 * wheel, 3);
  }
  if constexpr (map.wear >= 0) {
    float wear[4];
    float wearBefore[4];
    loadF32s(valuesAt(map.wear), wear, 4);
    std::memcpy(wearBefore, stores.extraTable[previous].f, sizeof wearBefore);
    ExtraRecord& extra = stores.extraTable[row];
    for (int wheel = 0; wheel < 4; ++wheel)
      extra.f[wheel] = (wear[wheel] + wearBefore[wheel]) / 2.0f;
  }
}

template <TelLayout kLayout>
class DistanceAlignment {
 public:
  DistanceAlignment(const ByteReader& in, std::size_t dataOffset, ViewerStores& stores)
      : in_(in), dataOffset_(dataOffset), stores_(stores) {}

  void run(int s0, int end) {
    in_.seek(dataOffset_);
    in_.skip(kRecordsSkippedAtStart * kRecord);
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
        in_.skip(kRecord);
      } else if (key > here && here >= before && static_cast<std::int64_t>(key) - here < 700000) {
        repeat = true;
      }
      readRecordInto(s);
      if (repeat) in_.skip(-kRecord);
      ++s;
    }
  }

 private:
  static constexpr std::int64_t kRecord = telRecordSize(kLayout);

  const FrameRecord& frame(int s) const { return stores_.frameTable[static_cast<std::size_t>(s)]; }

  // Leaves the reader at the record after the first one that moved at least 0.03 m.
  bool findFirstMovingRecord() {
    float previous = readDistanceAndAdvance();
    while (in_.position() + static_cast<std::size_t>(kRecord) <= in_.size()) {
      float distance = readDistanceAndAdvance();
      if (distance - previous >= 0.03) return in_.position() < in_.size();
      previous = distance;
    }
    return false;
  }

  float readDistanceAndAdvance() {
    float distance = in_.peekF32();
    in_.skip(kRecord);
    return distance;
  }

  int skipStandingFrames(int s, int end) {
    while (s < end && frame(s).f[0] == frame(s - 1).f[0]) ++s;
    return s;
  }

  void resyncAfterGap() {
    in_.skip(-kRecordsBackAfterGap * kRecord);
    while (in_.position() + 2 * static_cast<std::size_t>(kRecord) <= in_.size()) {
      float distance = in_.peekF32();
      in_.skip(kRecord);
      if (in_.peekF32() != distance) {
        in_.skip(-kRecord);
        return;
      }
    }
  }

  // A whole record is read where it lies; one cut short by the end of the file is read into a
  // buffer whose missing bytes are zero.
  void readRecordInto(int s) {
    std::uint8_t partial[kRecord];
    const std::uint8_t* record = in_.takeBytes(kRecord, partial);
    if constexpr (kLayout == TelLayout::kUnversioned) {
      TelemetryRecord& row = stores_.telemetryTable[static_cast<std::size_t>(s)];
      static_assert(sizeof row.f == kRecord);
      loadF32s(record, row.f, kRecord / 4);
    } else {
      placeAveraged<kLayout>(stores_, s, record);
    }
  }

  ByteReader in_;
  std::size_t dataOffset_;
  ViewerStores& stores_;
};

template <TelLayout kLayout>
void alignByDistance(ByteReader& in, std::size_t dataOffset, ViewerStores& stores, int s0,
                     int end) {
  DistanceAlignment<kLayout>(in, dataOffset, stores).run(s0, end);
}

}  // namespace

std::int32_t distanceKey(float metres) {
  return truncToInt(metres * 2000.0f);
}

void attachTelemetry(std::span<const std::uint8_t> telFile, ViewerStores& stores, int s0, int end,
                     int fps) {
  if (end <= s0) return;
  ByteReader in(telFile);
  TelFileShape shape = telFileShape(in.i32());
  switch (shape.layout) {
    case TelLayout::kTimeStepped:
      attachTimeStepped(in, shape, stores, s0, end, fps);
      return;
    case TelLayout::kVersion7:
      return alignByDistance<TelLayout::kVersion7>(in, shape.dataOffset, stores, s0, end);
    case TelLayout::kVersion6:
      return alignByDistance<TelLayout::kVersion6>(in, shape.dataOffset, stores, s0, end);
    case TelLayout::kVersion5:
      return alignByDistance<TelLayout::kVersion5>(in, shape.dataOffset, stores, s0, end);
    case TelLayout::kVersion1:
      return alignByDistance<TelLayout::kVersion1>(in, shape.dataOffset, stores, s0, end);
    case TelLayout::kUnversioned:
      return alignByDistance<TelLayout::kUnversioned>(in, shape.dataOffset, stores, s0, end);
  }
}

}  // namespace lv
