#include "viewer/shell/LapChoice.h"

#include "viewer/graphs/ReadoutSample.h"
#include "viewer/load/Truncate.h"

namespace lv {

const std::array<int, 39> kButtonsRevealedByLapChoice{
    1059, 1058, 1092, 1104, 1014, 1030, 1085, 1013, 1060, 1052, 1107, 1093, 1095,
    1051, 1114, 1049, 1099, 1090, 1113, 1083, 1086, 1088, 1089, 1087, 1097, 1098,
    1106, 1056, 1091, 1094, 1096, 1053, 1101, 1103, 1054, 1084, 1105, 1100, 1102};

namespace {

void detectContactPatchData(ShellContext& context) {
  ViewerStores& stores = context.state.stores;
  if (stores.contactPatchTable[static_cast<std::size_t>(clampRow(stores.sampleCount - 100))].f[0] >
      10.0f) {
    stores.contactPatchMode = 1;
    context.controls.setCaption(control::kAverageTemps, "contact patch");
  }
}

void clearChoice(ShellContext& context) {
  ViewerStores& stores = context.state.stores;
  context.state.view.offsetInDistanceUnits = 1;
  stores.selectedCount = 0;
  for (std::string& name : context.state.fields.lapNameText) name = "No lap";
  context.controls.fieldsToControls(context.state.fields);
  stores.selectedLaps.fill(0);
  context.host.canvas().eraseAll();
}

// The scroll bar follows the x axis: samples of the first lap while one lap is chosen,
// distance (in 2000ths) from the second lap on.
void resetScrollBar(ShellContext& context) {
  ViewerStores& stores = context.state.stores;
  CanvasState& view = context.state.view;
  int firstLapSamples = stores.lapSampleCount(stores.selectedLaps[0]);
  int range = 0;
  int position = 0;
  if (stores.selectedCount == 0) {
    range = firstLapSamples;
    if (view.offsetInDistanceUnits == 1) {
      view.scrollOffset =
          view.xSpan != 0.0f ? truncToInt(range / view.xSpan * view.scrollOffset) : 0;
      view.offsetInDistanceUnits = 0;
    }
    position = view.scrollOffset;
  } else {
    range = truncToInt(view.xSpan / 2000.0);
    view.scrollOffset = firstLapSamples != 0
                            ? truncToInt(view.xSpan / 1.0 / firstLapSamples * view.scrollOffset)
                            : 0;
    position = view.scrollOffset / 2000;
  }
  view.scrollBar.set(context.controls, range, scrollPage(range, view.zoomFactor), position);
}

}  // namespace

void chooseLap(ShellContext& context, const LapChoiceFollowUps& followUps) {
  ViewerStores& stores = context.state.stores;
  detectContactPatchData(context);
  for (int id : kButtonsRevealedByLapChoice) context.controls.showControl(id, true);
  if (stores.selectedCount == 4) {
    clearChoice(context);
    return;
  }
  int line = context.state.lapList.selected();
  if (line < 0 || line >= stores.lapCount) return;
  stores.selectedLaps[static_cast<std::size_t>(stores.selectedCount)] = line;
  if (stores.selectedCount <= 1) resetScrollBar(context);
  const std::string& text = context.state.fields.lapListText;
  context.state.fields.lapNameText[static_cast<std::size_t>(stores.selectedCount)] =
      text.size() > 3 ? text.substr(3, 11) : "";
  context.controls.fieldsToControls(context.state.fields);
  context.host.canvas().eraseAll();
  ++stores.selectedCount;
  if (followUps.redrawShownChannels) followUps.redrawShownChannels(context);
  if (followUps.drawLapColourMarks) followUps.drawLapColourMarks(context);
}

void chooseRadioSlot(ShellContext& context, int slot, const LapChoiceFollowUps& followUps) {
  ViewerStores& stores = context.state.stores;
  stores.radioSlot = slot;
  GraphContext graphs = context.graphs();
  if (followUps.fillReadout) followUps.fillReadout(context, readoutSampleAtCursor(graphs));
  context.controls.fieldsToControls(context.state.fields);
  const CanvasState& view = context.state.view;
  bool singleLapChannelShown = view.shown(ChannelId::kTireTemps) || view.shown(ChannelId::kRpm) ||
                               view.shown(ChannelId::kOutsideInside) ||
                               view.shown(ChannelId::kCentreOutside) ||
                               view.shown(ChannelId::kWear) || view.shown(ChannelId::kWheelspeed);
  if (singleLapChannelShown) {
    Canvas& canvas = context.host.canvas();
    canvas.eraseAll();
    PenScope pen(canvas, kBlack);
    canvas.moveTo(view.cursorX, 0);
    canvas.lineTo(view.cursorX, 1030);
  }
  if (followUps.redrawShownChannels) followUps.redrawShownChannels(context);
}

}  // namespace lv
