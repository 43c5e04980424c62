#pragma once

#include "viewer/shell/ShellContext.h"

namespace lv {

// The "save" button: writes the chosen laps (all laps when none is chosen) to a .tmr file.
void runSaveCommand(ShellContext& context);

// The chosen name with ".tmr" appended unless it already ends in a three-letter extension.
std::string savedLapsPath(const std::string& chosen);

}  // namespace lv
