#pragma once

#include <cstddef>
#include <cstdint>

#include "telemetry/ByteReader.h"
#include "viewer/load/CarRecord.h"

namespace lv {

// What the lap import takes from one replay frame for one driver.
struct ImportFrame {
  std::uint16_t length = 0;  // 0: no frame here (the end of the frames)
  bool hasFrameNumber = false;
  std::int32_t frameNumber = 0;
  bool hasStatus = false;  // the driver's type-10 block
  std::int32_t status = 0;
  bool hasRecord = false;  // the driver's record in the per-car table
  CarRecordFields record{};
};

// Reads the frame at `frame`: after the 8-byte head the first block is passed over, and the
// second too unless the first is of type 15; then up to 99 blocks are examined, and the last
// one examined is the per-car table when it is 20 bytes or longer.
ImportFrame readImportFrame(ByteReader& in, std::size_t frame, std::int32_t driverId);

}  // namespace lv
