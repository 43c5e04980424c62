#include <cstdint>
#include <span>

#include "FuzzStores.h"
#include "telemetry/ByteReader.h"
#include "telemetry/TelFormat.h"
#include "viewer/load/TelemetryAttachment.h"

// Frames that follow the distances of the input's own records, as the replay of the same
// drive would, with a jump in the frame numbers now and then: inputs made from recordings
// reach the alignment loop and its gap handling.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lv::ViewerStores& stores = lv::fuzzStores(data, size);
  int s0 = stores.sampleCount;
  lv::ByteReader in(std::span(data, size));
  lv::TelFileShape shape = lv::telFileShape(in.i32());
  int end = s0;
  for (std::size_t at = shape.dataOffset; at < size && end < lv::kSampleCapacity;
       at += static_cast<std::size_t>(shape.recordSize), ++end) {
    in.seek(at);
    lv::FrameRecord& frame = stores.frameTable[static_cast<std::size_t>(end)];
    frame.f[0] = lv::distanceKey(in.f32());
    frame.f[1] = end - s0 + ((end - s0) % 97 == 96 ? 5 : 0);
  }
  stores.contactPatchMode = size > 1 ? data[1] & 1 : 0;
  lv::attachTelemetry(std::span(data, size), stores, s0, end, size > 2 && (data[2] & 1) ? 36 : 60);
  return 0;
}
