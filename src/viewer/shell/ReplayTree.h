#pragma once

#include <string>

#include "viewer/load/ReplaySections.h"
#include "viewer/load/ReplayTreeModel.h"
#include "viewer/shell/LapChoice.h"
#include "viewer/shell/ShellContext.h"

namespace lv {

// What "ld M" leaves for the tree's double-click.
struct MultiplayerState {
  std::string replayPath;  // cleared by each import: one import per "ld M"
  StartClock startClock;   // of the last replay that had one
  ReplayTreeModel tree;
};

// Steps of a tree import that belong to the graphs, supplied by the dialog.
struct TreeImportFollowUps {
  std::function<void(ShellContext&)> fitTrackMap;  // map frame after the new lap
  LapChoiceFollowUps lapChoice;                    // the lap list's double-click
};

// The "ld M" button: lets the user choose a multiplayer replay and lists every other
// driver's practice and race laps in the tree, shown when the replay has three or more
// driver entries.
void runLoadMultiplayer(ShellContext& context, MultiplayerState& multiplayer);

// A double-click on tree item `item` (numbered as the host received them). A lap line is
// imported as a new lap and chosen; a lap marked "*" is refused with a message; a driver or
// lap-kind item is left to the tree control, which opens or closes it.
void runTreeDoubleClick(ShellContext& context, MultiplayerState& multiplayer, int item,
                        const TreeImportFollowUps& followUps);

}  // namespace lv
