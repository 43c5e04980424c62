#pragma once

#include <optional>
#include <string>

#include "viewer/shell/DialogHost.h"

namespace lv {

// The desktop's open-file dialog with the request's filter and initial folder; a path that
// must exist but does not is refused with a box and the dialog opens again.
std::optional<std::string> chooseOpenPath(const FileDialogRequest& request);

// The desktop's save-file dialog. `written` names the file the command will write for a
// chosen path; when that file exists the user confirms replacing it or chooses again.
std::optional<std::string> chooseSavePath(const FileDialogRequest& request,
                                          std::string (*written)(const std::string&));

}  // namespace lv
