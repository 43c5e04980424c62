#pragma once

#include <memory>
#include <string>

#include "viewer/graphs/ChannelCommands.h"
#include "viewer/shell/ControlStates.h"
#include "viewer/shell/DialogHost.h"
#include "viewer/shell/LapChoice.h"
#include "viewer/shell/LoadCommand.h"
#include "viewer/shell/ReplayTree.h"
#include "viewer/shell/ShellContext.h"
#include "viewer/shell/ViewerState.h"

namespace lv {

enum class CommandResult { kDone, kUnknownControl, kNotAvailable, kDisabled };

// The viewer's one window: owns the viewer's state and runs every handler to completion.
class MainDialog {
 public:
  MainDialog(DialogHost& host, std::string iniDir);

  // Dialog initialisation: the scroll bar's empty range and the value fields in their boxes.
  void initialize();

  void onMouseMove();
  // A click on a button, radio button or group box.
  CommandResult onButton(int controlId);
  void onLapListSelect(int line);
  void onLapListDoubleClick(int line);
  CommandResult onRightButtonUp(int x);
  CommandResult onScroll(int code, int position);
  // A double-click on tree item `item`, numbered depth-first from 0 as the host received
  // the items since the last clear.
  void onTreeDoubleClick(int item);
  // A double-click on lap line `line` (from 0) of lap kind `kind` (0 practice, 1 race) of
  // driver item `driver` (from 0, in tree order); false when the tree has no such line.
  bool onTreeLapDoubleClick(int driver, int kind, int line);

  const ReplayTreeModel& tree() const { return multiplayer_.tree; }

  ViewerState& state() { return *state_; }

 private:
  CommandResult pressChannelButton(int controlId);
  void showDatasheet();
  LoadFollowUps loadFollowUps() const;
  LapChoiceFollowUps lapChoiceFollowUps() const;
  TreeImportFollowUps treeImportFollowUps() const;

  DialogHost& host_;
  std::unique_ptr<ViewerState> state_;
  ControlStates controls_;
  ChannelCommands channels_;
  ShellContext context_;
  MultiplayerState multiplayer_;
};

}  // namespace lv
