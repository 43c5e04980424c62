#include "viewer/load/PingFile.h"

#include "telemetry/FileBytes.h"

namespace lv {

int parsePingFrames(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\r' ||
                              text[at] == '\n' || text[at] == '\v' || text[at] == '\f'))
    ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  long long value = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    value = value * 10 + (text[at] - '0');
    if (value > kMaxPingFrames) value = kMaxPingFrames;
  }
  return negative ? 0 : static_cast<int>(value);
}

Status readPingFrames(const std::string& iniDir, int& frames) {
  std::string path = (iniDir.empty() ? std::string(".") : iniDir) + "/Ping.ini";
  FileBytes file;
  if (Status status = file.open(path); !status) return status;
  auto bytes = file.bytes();
  frames =
      parsePingFrames(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  return Status::ok();
}

}  // namespace lv
