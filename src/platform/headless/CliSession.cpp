#include "platform/headless/CliSession.h"

namespace lv {

CliSession::CliSession(HeadlessHost::Sink sink, std::string iniDir, HeadlessDrawing drawing)
    : host_(std::move(sink), answers_, drawing),
      dialog_(host_, std::move(iniDir)),
      commands_(dialog_, answers_, "lapvista-cli") {
  dialog_.initialize();
}

}  // namespace lv
