#pragma once

#include <windows.h>

namespace lv {

// The modal About box of the system menu: icon, program name and version, OK.
void showAboutBox(HWND owner, HICON icon);

}  // namespace lv
