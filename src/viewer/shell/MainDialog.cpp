#include "viewer/shell/MainDialog.h"

#include <memory>

#include "viewer/graphs/GraphCanvas.h"
#include "viewer/graphs/GraphChannels.h"
#include "viewer/graphs/ZoomAndScroll.h"
#include "viewer/load/Truncate.h"
#include "viewer/overviews/ContactPatchToggle.h"
#include "viewer/overviews/Datasheet.h"
#include "viewer/overviews/OverviewChannels.h"
#include "viewer/overviews/TyreColumnSummaries.h"
#include "viewer/overviews/TyreOverview.h"
#include "viewer/shell/SaveCommand.h"
#include "viewer/shell/TrackMap.h"
#include "viewer/shell/ValueReadout.h"

namespace lv {
namespace {

// The tyre picture of a first load, gathering its column summaries while the load derives.
class TyreOverviewAfterLoad : public FirstLoadPicture {
 public:
  TyreOverviewAfterLoad(const ViewerStores& stores, int samples)
      : samples_(samples), summaries_(tyreOverviewSummaries(stores, samples)) {}
  void derived(int part, int from, int to) override { summaries_->derived(part, from, to); }
  void draw(ShellContext& context) override {
    GraphContext graphs = context.graphs();
    drawTyreOverview(graphs, samples_, summaries_.get());
  }

 private:
  int samples_;
  std::unique_ptr<TyreColumnSummaries> summaries_;
};

}  // namespace

MainDialog::MainDialog(DialogHost& host, std::string iniDir)
    : host_(host),
      state_(std::make_unique<ViewerState>()),
      controls_(host),
      context_{*state_, host, controls_, channels_, std::move(iniDir)} {
  registerGraphChannels(channels_);
  registerTyreChannels(channels_);
  registerTrackMap(channels_);
}

void MainDialog::initialize() {
  state_->view.scrollBar.set(controls_, truncToInt(state_->view.xSpan / 2000.0f), 1, 0);
  controls_.fieldsToControls(state_->fields);
}

void MainDialog::onMouseMove() {
  if (state_->autoLoadDone) return;
  runLoadCommand(context_, loadFollowUps());
  state_->autoLoadDone = true;
}

CommandResult MainDialog::onButton(int controlId) {
  GraphContext graphs = context_.graphs();
  switch (controlId) {
    case control::kLoad:
      runLoadCommand(context_, loadFollowUps());
      return CommandResult::kDone;
    case control::kSave:
      runSaveCommand(context_);
      return CommandResult::kDone;
    case control::kLoadMultiplayer:
      runLoadMultiplayer(context_, multiplayer_);
      return CommandResult::kDone;
    case control::kLineMinus:
      eraseGraphs(graphs);
      return CommandResult::kDone;
    case control::kZoomMinus:
      zoomOut(graphs, channels_);
      return CommandResult::kDone;
    case control::kZoomPlus:
      zoomIn(graphs, channels_);
      return CommandResult::kDone;
    case control::kLapMinus:
      dropLaps(graphs);
      return CommandResult::kDone;
    case control::kAverageTemps:
      toggleContactPatch(graphs, channels_);
      return CommandResult::kDone;
    case control::kDatasheet:
      showDatasheet();
      return CommandResult::kDone;
    case control::kLapChoiceGroup:
      return CommandResult::kDone;
    default:
      break;
  }
  if (controlId >= control::kFirstRadio && controlId < control::kFirstRadio + 4) {
    chooseRadioSlot(context_, controlId - control::kFirstRadio, lapChoiceFollowUps());
    return CommandResult::kDone;
  }
  return pressChannelButton(controlId);
}

CommandResult MainDialog::pressChannelButton(int controlId) {
  const ControlEntry* entry = findControl(controlId);
  if (entry == nullptr || entry->kind != ControlKind::kButton)
    return CommandResult::kUnknownControl;
  // A disabled button cannot be pressed.
  if (entry->start == StartState::kHiddenDisabled) return CommandResult::kDisabled;
  for (const ChannelInfo& info : kRedrawOrder) {
    if (info.controlId != controlId) continue;
    GraphContext graphs = context_.graphs();
    pressChannel(graphs, channels_, info.id);
    return CommandResult::kDone;
  }
  return CommandResult::kUnknownControl;
}

void MainDialog::showDatasheet() {
  GraphContext graphs = context_.graphs();
  Datasheet sheet = buildDatasheet(graphs);
  for (int line : sheet.selectedLines) onLapListSelect(line);
  host_.messageBox("Übersicht", sheet.text);
}

void MainDialog::onLapListSelect(int line) {
  state_->lapList.select(line);
  host_.lapListSelect(state_->lapList.selected());
  state_->fields.lapListText = state_->lapList.selectedText();
}

void MainDialog::onLapListDoubleClick(int line) {
  onLapListSelect(line);
  chooseLap(context_, lapChoiceFollowUps());
}

CommandResult MainDialog::onRightButtonUp(int x) {
  valueReadout(context_, x);
  return CommandResult::kDone;
}

CommandResult MainDialog::onScroll(int code, int position) {
  GraphContext graphs = context_.graphs();
  scrollGraphs(graphs, channels_, code, position);
  return CommandResult::kDone;
}

void MainDialog::onTreeDoubleClick(int item) {
  runTreeDoubleClick(context_, multiplayer_, item, treeImportFollowUps());
}

bool MainDialog::onTreeLapDoubleClick(int driver, int kind, int line) {
  int item = multiplayer_.tree.lapItem(driver, kind, line);
  if (item < 0) return false;
  onTreeDoubleClick(item);
  return true;
}

TreeImportFollowUps MainDialog::treeImportFollowUps() const {
  TreeImportFollowUps followUps;
  followUps.fitTrackMap = [](ShellContext& context) {
    GraphContext graphs = context.graphs();
    fitTrackMap(graphs, MapFrameVariant::kTreeImport);
  };
  followUps.lapChoice = lapChoiceFollowUps();
  return followUps;
}

LoadFollowUps MainDialog::loadFollowUps() const {
  LoadFollowUps followUps;
  followUps.redrawShownChannels = [](ShellContext& context) {
    GraphContext graphs = context.graphs();
    redrawShown(graphs, context.channels);
  };
  followUps.firstLoadPicture = [](ShellContext& context, int samples) {
    return std::unique_ptr<FirstLoadPicture>(
        std::make_unique<TyreOverviewAfterLoad>(context.state.stores, samples));
  };
  followUps.fitTrackMap = [](ShellContext& context) {
    GraphContext graphs = context.graphs();
    fitTrackMap(graphs, MapFrameVariant::kLoad);
  };
  return followUps;
}

LapChoiceFollowUps MainDialog::lapChoiceFollowUps() const {
  LapChoiceFollowUps followUps;
  followUps.redrawShownChannels = [](ShellContext& context) {
    GraphContext graphs = context.graphs();
    redrawShownChannels(graphs, context.channels);
  };
  followUps.drawLapColourMarks = [](ShellContext& context) {
    GraphContext graphs = context.graphs();
    drawLapColourMarks(graphs, 2);
  };
  followUps.fillReadout = [](ShellContext& context, int s) {
    GraphContext graphs = context.graphs();
    context.state.view.readoutSample = s;
    fillReadoutFields(graphs, s);
  };
  return followUps;
}

}  // namespace lv
