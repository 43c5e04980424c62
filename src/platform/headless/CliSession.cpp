#include "platform/headless/CliSession.h"

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

Status resultStatus(CommandResult result, const std::string& command) {
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
  return Status::error("'" + command + "' is not available in this version of lapvista-cli");
}

}  // namespace

CliSession::CliSession(HeadlessHost::Sink sink, std::string iniDir, HeadlessDrawing drawing)
    : host_(std::move(sink), drawing), dialog_(host_, std::move(iniDir)) {
  dialog_.initialize();
}

Status CliSession::run(const std::string& line) {
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
    host_.queueFileAnswer(argument.empty() ? std::nullopt : std::optional<std::string>(argument));
    return resultStatus(dialog_.onButton(verb == "load" ? control::kLoad : control::kSave),
                        command);
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
    return resultStatus(dialog_.onButton(control::kFirstRadio + a), command);
  }
  if (verb == "press" && !argument.empty()) return press(argument);
  if (verb == "rclick" && parseInt(argument, a))
    return resultStatus(dialog_.onRightButtonUp(a), command);
  if (verb == "scroll" && parseInt(first, a) && (second.empty() || parseInt(second, b))) {
    return resultStatus(dialog_.onScroll(a, b), command);
  }
  if (verb == "ldm" || verb == "tree") return resultStatus(CommandResult::kNotAvailable, command);
  return Status::error("'" + command + "': unknown command or wrong arguments");
}

Status CliSession::press(const std::string& argument) {
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
    host_.queueFileAnswer(std::nullopt);
  }
  return resultStatus(dialog_.onButton(id), "press " + argument);
}

}  // namespace lv
