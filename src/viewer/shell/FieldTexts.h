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

// A value field under its name in DialogFields, with the edit box it is written into.
struct NamedFieldText {
  std::string name;  // indexed fields as "wearValue[3]"
  int controlId;
  std::string text;
};

// The lap list's text has no edit box: the list shows its selection itself.
inline constexpr int kNoEditBox = 0;

// Every value field in the order of the dialog's controls table, formatted as data exchange
// writes it: whole numbers as "%d", the others with six significant digits ("%.6g"), names
// as they are.
std::vector<NamedFieldText> namedFieldTexts(const DialogFields& fields);

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
