#pragma once

#include <string_view>

namespace lv {

enum class BoxIcon { kNone, kExclamation };

// A modal box with `title`, `text` (UTF-8, '\n' breaks lines, long lines wrap) and an OK button
// that Return, Escape and the close box also press; returns when it is closed. A text taller
// than the screen scrolls.
void showMessageBox(std::string_view title, std::string_view text, BoxIcon icon = BoxIcon::kNone);

// A modal question with "Yes" (Return) and "No" (Escape, the close box); true for "Yes".
bool askYesNo(std::string_view title, std::string_view text);

}  // namespace lv
