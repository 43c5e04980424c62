#pragma once

#include <string>

#include "platform/headless/HeadlessHost.h"
#include "telemetry/Status.h"
#include "viewer/shell/DialogCommands.h"
#include "viewer/shell/MainDialog.h"
#include "viewer/shell/ScriptedFileAnswers.h"

namespace lv {

// The main dialog without a window, driven by the viewer's scripted commands (see
// DialogCommands); file dialogs take their answers from the commands and otherwise cancel.
class CliSession {
 public:
  CliSession(HeadlessHost::Sink sink, std::string iniDir, HeadlessDrawing drawing = {});

  Status run(const std::string& command) { return commands_.run(command); }

  MainDialog& dialog() { return dialog_; }
  HeadlessHost& host() { return host_; }

 private:
  ScriptedFileAnswers answers_;
  HeadlessHost host_;
  MainDialog dialog_;
  DialogCommands commands_;
};

}  // namespace lv
