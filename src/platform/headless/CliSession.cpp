#include "platform/headless/CliSession.h"

namespace lv {

CliSession::CliSession(HeadlessHost::Sink sink, std::string iniDir, Canvas* picture)
    : host_(std::move(sink), answers_, picture),
      dialog_(host_, std::move(iniDir)),
      commands_(dialog_, answers_, "lapvista-cli") {
  dialog_.initialize();
}

}  // namespace lv
