#include "viewer/shell/ReplayTree.h"

#include <cstdlib>

#include "telemetry/FileBytes.h"
#include "viewer/load/GplFolder.h"
#include "viewer/load/LapImport.h"
#include "viewer/load/MultiplayerListing.h"
#include "viewer/load/PingFile.h"
#include "viewer/load/ReplayTreeText.h"
#include "viewer/shell/ControlCatalogue.h"

namespace lv {
namespace {

constexpr const char* kFileErrorTitle = "Lapvista";

void clearLapTimesBeforeFirstData(ViewerStores& stores) {
  if (stores.sampleCount == 0) stores.lapTime.fill(0);
}

void showTree(ShellContext& context, const ReplayTreeModel& tree) {
  context.controls.showControl(control::kTree, true);
  for (const ReplayTreeItem& item : tree.items()) context.host.treeAppend(item.level, item.text);
}

Status openHeldReplay(MultiplayerState& multiplayer, FileBytes& file) {
  std::string path = std::move(multiplayer.replayPath);
  multiplayer.replayPath.clear();
  if (path.empty())
    return Status::error("no replay to import from: choose one with \"ld M\" first");
  return file.open(path);
}

void listImportedLap(ShellContext& context, const std::string& line) {
  LapList& list = context.state.lapList;
  list.append(line);
  context.host.lapListAppend(line);
  list.select(list.size() - 1);
  context.host.lapListSelect(list.selected());
  context.state.fields.lapListText = list.selectedText();
}

}  // namespace

void runLoadMultiplayer(ShellContext& context, MultiplayerState& multiplayer) {
  ViewerStores& stores = context.state.stores;
  multiplayer.tree.clear();
  context.host.treeClear();
  clearLapTimesBeforeFirstData(stores);

  GplFolder folder;
  if (Status status = GplFolder::load(context.iniDir, folder); !status) {
    context.host.messageBox(kFileErrorTitle, status.message());
    return;
  }
  FileDialogRequest request{".rpy | *.rpy||", folder.replayFolder(), true};
  std::optional<std::string> chosen = context.host.chooseFileToOpen(request);
  if (!chosen) return;
  FileBytes file;
  if (Status status = file.open(*chosen); !status) {
    context.host.messageBox(kFileErrorTitle, status.message());
    return;
  }
  multiplayer.replayPath = *chosen;
  stores.segmentCount = 0;

  MultiplayerListing listing = readMultiplayerListing(file.bytes(), stores, multiplayer.startClock);
  multiplayer.startClock = listing.startClock;
  multiplayer.tree.assign(listing.drivers);
  if (listing.driverEntries < kMinimumEntriesForTree) {
    // A tree left open by an earlier "ld M" would otherwise show nothing.
    if (context.controls.isShown(control::kTree))
      context.controls.showControl(control::kTree, false);
    return;
  }
  showTree(context, multiplayer.tree);
}

void runTreeDoubleClick(ShellContext& context, MultiplayerState& multiplayer, int item,
                        const TreeImportFollowUps& followUps) {
  const ReplayTreeItem* lapItem = multiplayer.tree.item(item);
  // Driver and lap-kind items are opened and closed by the tree control itself.
  if (lapItem == nullptr || lapItem->level != 3) return;
  const std::string text = lapItem->text;
  if (text.size() > 4 && text[4] != ' ') {
    context.host.messageBox("Achtung", "Mit \"*\" gekennzeichnete Runden sind nicht gespeichert.");
    return;
  }
  ViewerStores& stores = context.state.stores;
  context.controls.showControl(control::kTree, false);
  clearLapTimesBeforeFirstData(stores);

  LapImportRequest request;
  if (Status status = readPingFrames(context.iniDir, request.pingFrames); !status) {
    context.host.messageBox(kFileErrorTitle, status.message());
    return;
  }
  FileBytes file;
  if (Status status = openHeldReplay(multiplayer, file); !status) {
    context.host.messageBox(kFileErrorTitle, status.message());
    return;
  }
  const ReplayTreeItem& kindItem = *multiplayer.tree.item(lapItem->parent);
  const ReplayTreeItem& driverItem = *multiplayer.tree.item(kindItem.parent);
  request.driverId = driverItem.data;
  request.kind = kindItem.data;
  request.lapNumber = std::atoi(text.c_str());
  request.startClock = multiplayer.startClock.clock;
  LapImportResult result = importLap(file.bytes(), stores, request);
  if (!result.imported) return;

  listImportedLap(context, importedLapListLine(text, driverItem.text, result.flag));
  context.state.view.frameFieldIndex = 0;
  context.state.view.sampleCountForGraphs = static_cast<float>(stores.sampleCount);
  if (followUps.fitTrackMap) followUps.fitTrackMap(context);
  chooseLap(context, followUps.lapChoice);
}

}  // namespace lv
