#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "viewer/load/DialogFields.h"

namespace lv {

struct ControlText {
  int controlId;
  std::string text;
};

// What data exchange writes into each edit box bound to a value field: whole numbers as
// "%d", the others with six significant digits ("%.6g"), names as they are. The lap list's
// text is left out: the list shows its selection itself.
std::vector<ControlText> fieldTexts(const DialogFields& fields);

// The unit labels beside the value boxes, fixed for the life of the window (UTF-8).
inline constexpr std::array<std::pair<int, std::string_view>, 5> kUnitLabels{{
    {1035, "m"},
    {1034, "\u00b0/s"},
    {1033, "U/min"},
    {1036, "kmh"},
    {1042, "g"},
}};

}  // namespace lv
