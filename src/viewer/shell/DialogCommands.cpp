#include "viewer/shell/DialogCommands.h"

#include <charconv>
#include <sstream>

#include "viewer/shell/ControlCatalogue.h"

namespace lv {
namespace {

bool parseInt(const std::string& text, int& value) {
  const char* end = text.data() + text.size();
  auto [ptr, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && ptr == end;
}

std::string trim(const std::string& text) {
  std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  std::size_t last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

}  // namespace

DialogCommands::DialogCommands(MainDialog& dialog, ScriptedFileAnswers& answers,
                               std::string program)
    : dialog_(dialog), answers_(answers), program_(std::move(program)) {}

Status DialogCommands::run(const std::string& command) {
  Status status = dispatch(command);
  // An answer the command did not use must not answer a dialog the user opens later.
  answers_.clear();
  return status;
}

Status DialogCommands::result(CommandResult result, const std::string& command) const {
  switch (result) {
    case CommandResult::kDone:
      return Status::ok();
    case CommandResult::kUnknownControl:
      return Status::error("'" + command + "': no such control");
    case CommandResult::kDisabled:
      return Status::error("'" + command + "': the button is disabled");
    case CommandResult::kNotAvailable:
      break;
  }
  return Status::error("'" + command + "' is not available in this version of " + program_);
}

Status DialogCommands::dispatch(const std::string& line) {
  std::string command = trim(line);
  if (command.empty() || command[0] == '#') return Status::ok();
  std::size_t space = command.find(' ');
  std::string verb = command.substr(0, space);
  std::string argument = space == std::string::npos ? "" : trim(command.substr(space + 1));
  std::istringstream words(argument);
  int a = 0, b = 0;
  std::string first, second;
  words >> first >> second;

  if (verb == "mousemove" && argument.empty()) {
    dialog_.onMouseMove();
    return Status::ok();
  }
  if (verb == "load" || verb == "save") {
    answers_.push(argument.empty() ? std::nullopt : std::optional<std::string>(argument));
    return result(dialog_.onButton(verb == "load" ? control::kLoad : control::kSave), command);
  }
  if ((verb == "select" || verb == "dblclick") && parseInt(argument, a)) {
    if (verb == "select") {
      dialog_.onLapListSelect(a);
    } else {
      dialog_.onLapListDoubleClick(a);
    }
    return Status::ok();
  }
  if (verb == "radio" && parseInt(argument, a) && a >= 0 && a < 4) {
    return result(dialog_.onButton(control::kFirstRadio + a), command);
  }
  if (verb == "press" && !argument.empty()) return press(argument);
  if (verb == "rclick" && parseInt(argument, a)) return result(dialog_.onRightButtonUp(a), command);
  if (verb == "scroll" && parseInt(first, a) && (second.empty() || parseInt(second, b))) {
    return result(dialog_.onScroll(a, b), command);
  }
  if (verb == "ldm") {
    answers_.push(argument.empty() ? std::nullopt : std::optional<std::string>(argument));
    return result(dialog_.onButton(control::kLoadMultiplayer), command);
  }
  if (verb == "tree") return treeDoubleClick(argument, command);
  return Status::error("'" + command + "': unknown command or wrong arguments");
}

// `tree D K N` double-clicks lap line N (from 0) of kind K (0 "Training", 1 "Rennen") of
// driver item D (from 0, in tree order).
Status DialogCommands::treeDoubleClick(const std::string& argument, const std::string& command) {
  std::istringstream words(argument);
  std::string driver, kind, line, extra;
  int d = 0, k = 0, n = 0;
  words >> driver >> kind >> line >> extra;
  if (!parseInt(driver, d) || !parseInt(kind, k) || !parseInt(line, n) || !extra.empty())
    return Status::error("'" + command + "': unknown command or wrong arguments");
  if (!dialog_.onTreeLapDoubleClick(d, k, n))
    return Status::error("'" + command + "': the tree has no such lap line");
  return Status::ok();
}

Status DialogCommands::press(const std::string& argument) {
  int id = 0;
  if (argument[0] == '#') {
    if (!parseInt(argument.substr(1), id))
      return Status::error("'press " + argument + "': not a control id");
  } else {
    const ControlEntry* entry = findButtonByCaption(argument);
    if (entry == nullptr)
      return Status::error("'press " + argument + "': no button with that caption");
    id = entry->id;
  }
  if (id == control::kLoad || id == control::kSave || id == control::kLoadMultiplayer) {
    // The file dialog of a pressed button is cancelled; "load PATH" answers it instead.
    answers_.push(std::nullopt);
  }
  return result(dialog_.onButton(id), "press " + argument);
}

}  // namespace lv
