#pragma once

#include <string>
#include <vector>

#include "viewer/load/DialogFields.h"

namespace lv {

// "NAME VALUE" for every value field of the dialog in the order of its controls' table:
// ints as %d, floats as %.6g, texts as they are.
std::vector<std::string> fieldEvents(const DialogFields& fields);

}  // namespace lv
