#include "viewer/load/TimeSteppedAttachment.h"

#include <cstdint>

#include "viewer/load/Truncate.h"

namespace lv {
namespace {

constexpr std::int64_t kRecord = 96;
constexpr std::size_t kEndMargin = 100;

struct Timing {
  double framesPerSecond;  // F
  double step;             // h
  double slowStep;         // g
};

Timing timingFor(int fps) {
  if (fps == 36) return {36.008793, 0.0272, 0.027771};
  return {60.01, 0.016, 0.0166626};
}

class TimeAlignment {
 public:
  TimeAlignment(ByteReader& in, int version, ViewerStores& stores, int fps)
      : in_(in), version_(version), stores_(stores), timing_(timingFor(fps)) {}

  void run(int s0, int end) {
    in_.skip(40 * kRecord);
    float t0 = in_.peekF32();
    std::int64_t offset = truncToInt(t0 * timing_.framesPerSecond);
    int segment = 0;
    std::int64_t base = static_cast<std::int64_t>(s0) - stores_.segmentStarts[0];
    ++segment;
    double previousTime = t0;
    std::int64_t s = s0 + offset;
    // Records that belong before this load's first frame are passed over.
    if (s < s0) {
      in_.skip((s0 - s) * kRecord);
      s = s0;
    }
    for (; s < end && in_.position() + kEndMargin < in_.size(); ++s) {
      float t = in_.peekF32();
      double q = (t - previousTime) / timing_.step;
      std::int32_t whole = truncToInt(q);
      offset += whole;
      previousTime =
          q - whole <= 0.02 ? static_cast<double>(t) : previousTime + whole * timing_.slowStep;
      if (s > 1 && s < kSampleCapacity && isGap(static_cast<int>(s))) {
        previousTime = resyncAfterGap();
        offset = truncToInt(previousTime * timing_.framesPerSecond);
        base = s - (segment < kSegmentCapacity
                        ? stores_.segmentStarts[static_cast<std::size_t>(segment)]
                        : 0);
        ++segment;
      }
      if (base + offset > s) in_.skip(-kRecord);
      if (base + offset < s) in_.skip(kRecord);
      readRecordInto(static_cast<int>(s));
    }
  }

 private:
  bool isGap(int s) const {
    return stores_.frameTable[static_cast<std::size_t>(s)].f[1] -
               static_cast<std::int64_t>(stores_.frameTable[static_cast<std::size_t>(s - 1)].f[1]) >
           1;
  }

  // Steps back 200 records and forward to the first place where time falls back; returns the
  // time after the fall, with the reader at that record.
  double resyncAfterGap() {
    in_.skip(-200 * kRecord);
    while (in_.position() + 2 * static_cast<std::size_t>(kRecord) <= in_.size()) {
      float time = in_.peekF32();
      in_.skip(kRecord);
      float next = in_.peekF32();
      if (!(time <= next)) return next;
    }
    return in_.peekF32();
  }

  // A whole record is read where it lies; one cut short by the end of the file is read into a
  // buffer whose missing bytes are zero.
  void readRecordInto(int s) {
    std::uint8_t partial[kRecord];
    const std::uint8_t* record = in_.takeBytes(kRecord, partial);
    std::size_t row = static_cast<std::size_t>(s);
    if (version_ == 3) {
      float clutch = loadF32(record + 4);
      stores_.frameTable[row].f[FrameRecord::kClutch] = truncToInt(clutch * 10000.0f);
    }
    TelemetryRecord& telemetry = stores_.telemetryTable[row];
    const std::uint8_t* values = record + 8;  // floats 2 .. 23
    if (stores_.contactPatchMode != 0) {
      loadF32s(values, telemetry.f + 2, 10);
      loadF32s(values + 40, stores_.contactPatchTable[row].f, 12);
    } else {
      loadF32s(values, telemetry.f + 2, 22);
      telemetry.f[0] = 1000.0f;
    }
  }

  ByteReader& in_;
  int version_;
  ViewerStores& stores_;
  Timing timing_;
};

}  // namespace

void attachTimeStepped(ByteReader& in, TelFileShape shape, ViewerStores& stores, int s0, int end,
                       int fps) {
  in.seek(0);
  std::int32_t version = in.i32();
  in.seek(shape.dataOffset);
  TimeAlignment(in, version, stores, fps).run(s0, end);
}

}  // namespace lv
