#include "platform/headless/HeadlessHost.h"

#include "platform/headless/FieldEvents.h"

namespace lv {

HeadlessHost::HeadlessHost(Sink sink, ScriptedFileAnswers& answers, HeadlessDrawing drawing)
    : sink_(std::move(sink)), canvas_(sink_), answers_(answers) {
  if (!drawing.events) {
    canvasInUse_ = drawing.picture != nullptr ? drawing.picture : &discard_;
  } else if (drawing.picture != nullptr) {
    tee_ = std::make_unique<CanvasTee>(canvas_, *drawing.picture);
    canvasInUse_ = tee_.get();
  } else {
    canvasInUse_ = &canvas_;
  }
}

void HeadlessHost::messageBox(std::string_view title, std::string_view text) {
  sink_("msgbox " + std::string(title));
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    sink_("| " + std::string(text.substr(start, end - start)));
    start = end + 1;
  }
  sink_("msgbox-end");
}

std::optional<std::string> HeadlessHost::chooseFileToOpen(const FileDialogRequest&) {
  return answers_.take();
}

std::optional<std::string> HeadlessHost::chooseFileToSave(const FileDialogRequest&) {
  return answers_.take();
}

void HeadlessHost::lapListAppend(std::string_view line) {
  sink_("list+ " + std::string(line));
}

void HeadlessHost::lapListSelect(int line) {
  sink_("list-select " + std::to_string(line));
}

void HeadlessHost::treeClear() {
  sink_("tree-clear");
}

void HeadlessHost::treeAppend(int level, std::string_view text) {
  sink_("tree+ " + std::to_string(level) + " " + std::string(text));
}

void HeadlessHost::showControl(int controlId, bool shown) {
  sink_((shown ? "show " : "hide ") + std::to_string(controlId));
}

void HeadlessHost::setCaption(int controlId, std::string_view caption) {
  sink_("caption " + std::to_string(controlId) + " " + std::string(caption));
}

void HeadlessHost::setScrollBar(int minimum, int maximum, int page, int position) {
  sink_("scrollbar " + std::to_string(minimum) + " " + std::to_string(maximum) + " " +
        std::to_string(page) + " " + std::to_string(position));
}

void HeadlessHost::fieldsToControls(const DialogFields& fields) {
  for (const std::string& event : fieldEvents(fields)) sink_("field " + event);
}

}  // namespace lv
