#include "viewer/shell/ControlStates.h"

namespace lv {

ControlStates::ControlStates(DialogHost& host) : host_(host) {
  for (std::size_t i = 0; i < kControlCatalogue.size(); ++i) {
    shown_[i] = kControlCatalogue[i].start == StartState::kShown;
    captions_[i] = std::string(kControlCatalogue[i].caption);
  }
}

int ControlStates::indexOf(int controlId) const {
  const ControlEntry* entry = findControl(controlId);
  return entry == nullptr ? -1 : static_cast<int>(entry - kControlCatalogue.data());
}

void ControlStates::showControl(int controlId, bool shown) {
  int index = indexOf(controlId);
  if (index < 0) return;
  shown_[static_cast<std::size_t>(index)] = shown;
  host_.showControl(controlId, shown);
}

void ControlStates::setCaption(int controlId, std::string_view caption) {
  int index = indexOf(controlId);
  if (index < 0) return;
  captions_[static_cast<std::size_t>(index)] = std::string(caption);
  host_.setCaption(controlId, caption);
}

void ControlStates::setScrollBar(int minimum, int maximum, int page, int position) {
  host_.setScrollBar(minimum, maximum, page, position);
}

void ControlStates::fieldsToControls(const DialogFields& fields) {
  host_.fieldsToControls(fields);
}

bool ControlStates::isShown(int controlId) const {
  int index = indexOf(controlId);
  return index >= 0 && shown_[static_cast<std::size_t>(index)];
}

std::string ControlStates::caption(int controlId) const {
  int index = indexOf(controlId);
  return index < 0 ? std::string() : captions_[static_cast<std::size_t>(index)];
}

}  // namespace lv
