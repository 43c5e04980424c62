#pragma once

#include <string>

#include "telemetry/Status.h"
#include "viewer/shell/MainDialog.h"
#include "viewer/shell/ScriptedFileAnswers.h"

namespace lv {

// The scripted commands of the viewer, one per line, as every host takes them (lapvista-cli
// and the desktop window), so a command means the same everywhere:
//   mousemove | load [PATH] | ldm PATH | save [PATH] | select N | dblclick N | radio I |
//   press CAPTION | press #ID | rclick X | scroll CODE [POS] | tree D K N
// "load" and "save" answer their file dialog with PATH, or cancel it without one; the file
// dialog of a pressed file button is cancelled. "ldm PATH" answers the file dialog of "ld M";
// `tree D K N` double-clicks lap line N (from 0) of kind K (0 practice, 1 race) of driver
// item D (from 0, in tree order). Blank lines and lines starting with '#' are
// ignored.
class DialogCommands {
 public:
  // `program` names the program in the message about commands it does not offer.
  DialogCommands(MainDialog& dialog, ScriptedFileAnswers& answers, std::string program);

  Status run(const std::string& command);

 private:
  Status dispatch(const std::string& command);
  Status press(const std::string& argument);
  Status treeDoubleClick(const std::string& argument, const std::string& command);
  Status result(CommandResult result, const std::string& command) const;

  MainDialog& dialog_;
  ScriptedFileAnswers& answers_;
  std::string program_;
};

}  // namespace lv
