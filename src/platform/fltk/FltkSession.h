#pragma once

#include <string>

#include "platform/fltk/FltkHost.h"
#include "viewer/shell/DialogCommands.h"
#include "viewer/shell/MainDialog.h"
#include "viewer/shell/ScriptedFileAnswers.h"

namespace lv {

// The main dialog in the desktop window, with the scripted commands lapvista-cli takes.
class FltkSession {
 public:
  explicit FltkSession(std::string iniDir);

  FltkHost& host() { return host_; }
  MainDialog& dialog() { return dialog_; }

 private:
  ScriptedFileAnswers answers_;
  FltkHost host_;
  MainDialog dialog_;
  DialogCommands commands_;
};

}  // namespace lv
