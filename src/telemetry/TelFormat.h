#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "telemetry/ByteWriter.h"
#include "telemetry/TelemetrySample.h"

namespace lv {

// The record layouts of the .tel file, by the format version word at offset 0.
//   7: 41 floats (the full sample)            6: floats 0..39 (no fuel)
//   5: floats 0..11, 3 tyre temps per wheel, 4 wear      1 and no version word: as 5 without wear
//   2, 3: time in seconds, clutch, floats 2..11, 12 tyre temperatures (96 bytes, time-stepped)
enum class TelLayout { kVersion7, kVersion6, kVersion5, kVersion1, kTimeStepped, kUnversioned };

struct TelFileShape {
  TelLayout layout;
  int recordSize;
  std::size_t dataOffset;  // 4 after a version word, 0 for a file without one
};

// How a file whose first int32 is `versionWord` is laid out. Any value that is none of the
// versions 1, 2, 3, 5, 6, 7 means the file has no version word: such a file starts with the
// distance float of its first record, which reads as a large number when it is positive.
TelFileShape telFileShape(std::int32_t versionWord);

constexpr int telRecordSize(TelLayout layout) {
  switch (layout) {
    case TelLayout::kVersion7:
      return 164;
    case TelLayout::kVersion6:
      return 160;
    case TelLayout::kVersion5:
      return 112;
    default:
      return 96;
  }
}

// Where a record keeps the values placed per wheel, in floats from its start: temperature v
// of wheel w at `tyreTemps` (or `contactPatch`) + `wheelStride` x w + v, the wear of wheel w at
// `wear` + w; -1 for values the layout does not carry.
struct TelRecordMap {
  int wheelStride;
  int tyreTemps;
  int contactPatch;
  int wear;
};

constexpr TelRecordMap telRecordMap(TelLayout layout) {
  switch (layout) {
    case TelLayout::kVersion7:
    case TelLayout::kVersion6:
      return {TelemetrySample::tyreTemp(1, 0) - TelemetrySample::tyreTemp(0, 0),
              TelemetrySample::tyreTemp(0, 0), TelemetrySample::contactPatchTemp(0, 0),
              TelemetrySample::wear(0)};
    case TelLayout::kVersion5:
      return {3, 12, -1, 24};
    default:
      return {3, 12, -1, -1};
  }
}

// Appends one record of `layout` built from `sample`; `timeSeconds` fills float 0 of the
// time-stepped layout. A file without version word gets the layout of version 1.
void appendTelRecord(ByteWriter& out, TelLayout layout, const TelemetrySample& sample,
                     float timeSeconds = 0.0f);

// Reads one record of `layout` from `record` (recordSize bytes) back into a full sample;
// fields the layout does not carry stay zero. Float 0 of a time-stepped record is its time.
TelemetrySample decodeTelRecord(TelLayout layout, std::span<const std::uint8_t> record);

// The byte image of a whole .tel file: the version word (none for kUnversioned, whose
// `versionWord` is ignored) and the records back to back.
std::vector<std::uint8_t> encodeTelFile(std::int32_t versionWord, TelLayout layout,
                                        std::span<const TelemetrySample> samples,
                                        std::span<const float> timesSeconds = {});

}  // namespace lv
