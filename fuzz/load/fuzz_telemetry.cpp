#include <cstdint>
#include <span>

#include "FuzzStores.h"
#include "viewer/load/TelemetryAttachment.h"

// Frames whose distances match the first records of a typical recording, so that inputs
// reach the alignment loop.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lv::ViewerStores& stores = lv::fuzzStores(data, size);
  int s0 = stores.sampleCount;
  int end = s0 + 2000 > lv::kSampleCapacity ? lv::kSampleCapacity : s0 + 2000;
  for (int s = s0; s < end; ++s) {
    stores.frameTable[static_cast<std::size_t>(s)].f[0] = 125 * (s - s0);
    stores.frameTable[static_cast<std::size_t>(s)].f[1] = s - s0 + ((s - s0) % 97 == 0 ? 5 : 0);
  }
  stores.contactPatchMode = size > 1 ? data[1] & 1 : 0;
  lv::attachTelemetry(std::span(data, size), stores, s0, end, size > 2 && (data[2] & 1) ? 36 : 60);
  return 0;
}
