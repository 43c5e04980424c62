#include "platform/headless/RecordingCanvas.h"

namespace lv {

void RecordingCanvas::emit(std::string line) {
  if (sink_) {
    sink_(line);
  } else {
    events_.push_back(std::move(line));
  }
}

void RecordingCanvas::eraseAll() {
  emit("erase");
}

void RecordingCanvas::moveTo(int x, int y) {
  emit("move " + std::to_string(x) + " " + std::to_string(y));
}

void RecordingCanvas::lineTo(int x, int y) {
  emit("line " + std::to_string(x) + " " + std::to_string(y));
}

void RecordingCanvas::rectangleOutline(int x, int y, int width, int height, Rgb colour) {
  emit("rect " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(width) + " " +
       std::to_string(height) + " " + std::to_string(colour.r) + " " + std::to_string(colour.g) +
       " " + std::to_string(colour.b));
}

void RecordingCanvas::ellipse(int left, int top, int right, int bottom) {
  emit("ellipse " + std::to_string(left) + " " + std::to_string(top) + " " + std::to_string(right) +
       " " + std::to_string(bottom));
}

void RecordingCanvas::text(int x, int y, std::string_view utf8) {
  emit("text " + std::to_string(x) + " " + std::to_string(y) + " " + std::string(utf8));
}

void RecordingCanvas::penSelected(Rgb colour) {
  emit("pen " + std::to_string(colour.r) + " " + std::to_string(colour.g) + " " +
       std::to_string(colour.b));
}

}  // namespace lv
