#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "viewer/shell/DialogHost.h"

namespace lv {

// The request's filter ("description|patterns|...||") in the common dialogs' form: the same
// pairs separated and ended by NUL characters. Empty for no filter.
std::wstring commonDialogFilter(const std::string& filter);

// The common open and save dialogs; UTF-8 paths. The save dialog asks before it overwrites.
std::optional<std::string> openFileDialog(HWND owner, const FileDialogRequest& request);
std::optional<std::string> saveFileDialog(HWND owner, const FileDialogRequest& request);

}  // namespace lv
