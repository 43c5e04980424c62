#pragma once

#include <functional>
#include <string>

#include "viewer/graphs/ChannelCommands.h"
#include "viewer/graphs/GraphContext.h"
#include "viewer/shell/ControlStates.h"
#include "viewer/shell/DialogHost.h"
#include "viewer/shell/ViewerState.h"

namespace lv {

// What the dialog's handlers work on.
struct ShellContext {
  ViewerState& state;
  DialogHost& host;
  ControlStates& controls;
  const ChannelCommands& channels;
  std::string iniDir;  // where "Vantor.ini" is read

  GraphContext graphs() {
    return GraphContext{state.stores, state.view, state.fields, controls, host.canvas()};
  }
};

// Draws hint lines at x = 948, one every 15 pixels from y = 73.
void drawHints(Canvas& canvas, std::initializer_list<const char*> lines);

}  // namespace lv
