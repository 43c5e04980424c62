#include "platform/fltk/FltkSession.h"

namespace lv {

FltkSession::FltkSession(std::string iniDir)
    : host_(answers_), dialog_(host_, std::move(iniDir)), commands_(dialog_, answers_, "lapvista") {
  host_.attach(dialog_, commands_);
  dialog_.initialize();
}

}  // namespace lv
