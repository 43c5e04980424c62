#pragma once

namespace lv {

// The About box: the icon, the program's name with its version and a second line, and an OK
// button (Return, Escape and the close box close it too). Modal; returns when closed.
void showAboutBox();

}  // namespace lv
