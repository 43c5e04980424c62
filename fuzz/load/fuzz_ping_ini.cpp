#include <cstdint>
#include <string_view>

#include "viewer/load/PingFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  int frames = lv::parsePingFrames(std::string_view(reinterpret_cast<const char*>(data), size));
  if (frames < 0 || frames > lv::kMaxPingFrames) __builtin_trap();
  return 0;
}
