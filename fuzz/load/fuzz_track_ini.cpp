#include <cstdint>
#include <string_view>

#include "viewer/load/GplFolder.h"
#include "viewer/load/TrackLength.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  lv::parseTrackLength(text);
  lv::GplFolder::fromIniContent(text).trackIni("monza");
  return 0;
}
