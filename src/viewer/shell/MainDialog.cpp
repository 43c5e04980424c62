#include "viewer/shell/MainDialog.h"

#include "viewer/load/Truncate.h"
#include "viewer/shell/SaveCommand.h"

namespace lv {

MainDialog::MainDialog(DialogHost& host, std::string iniDir)
    : host_(host),
      state_(std::make_unique<ViewerState>()),
      controls_(host),
      context_{*state_, host, controls_, channels_, std::move(iniDir)} {}

void MainDialog::initialize() {
  controls_.setScrollBar(0, truncToInt(state_->view.xSpan / 2000.0f), 1, 0);
  controls_.fieldsToControls(state_->fields);
}

void MainDialog::onMouseMove() {
  if (state_->autoLoadDone) return;
  runLoadCommand(context_, loadFollowUps());
  state_->autoLoadDone = true;
}

CommandResult MainDialog::onButton(int controlId) {
  switch (controlId) {
    case control::kLoad:
      runLoadCommand(context_, loadFollowUps());
      return CommandResult::kDone;
    case control::kSave:
      runSaveCommand(context_);
      return CommandResult::kDone;
    case 1074:
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
  for (const ChannelInfo& info : kRedrawOrder) {
    if (info.controlId != controlId) continue;
    return channels_.get(info.id) == nullptr ? CommandResult::kNotAvailable
                                             : CommandResult::kNotAvailable;
  }
  return findControl(controlId) == nullptr ? CommandResult::kUnknownControl
                                           : CommandResult::kNotAvailable;
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

CommandResult MainDialog::onRightButtonUp(int) {
  return CommandResult::kNotAvailable;
}

CommandResult MainDialog::onScroll(int, int) {
  return CommandResult::kNotAvailable;
}

LoadFollowUps MainDialog::loadFollowUps() const {
  return {};
}

LapChoiceFollowUps MainDialog::lapChoiceFollowUps() const {
  return {};
}

}  // namespace lv
