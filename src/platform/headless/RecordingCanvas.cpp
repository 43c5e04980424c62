#include "platform/headless/RecordingCanvas.h"

#include <charconv>

namespace lv {

void RecordingCanvas::emit(std::string_view verb, std::initializer_list<int> numbers,
                           std::string_view text) {
  line_.assign(verb);
  char digits[16];
  for (int number : numbers) {
    auto [end, error] = std::to_chars(digits, digits + sizeof digits, number);
    (void)error;
    line_ += ' ';
    line_.append(digits, end);
  }
  if (!text.empty() || verb == "text") {
    line_ += ' ';
    line_ += text;
  }
  if (sink_) {
    sink_(line_);
  } else {
    events_.push_back(line_);
  }
}

void RecordingCanvas::eraseAll() {
  emit("erase", {});
}

void RecordingCanvas::moveTo(int x, int y) {
  emit("move", {x, y});
}

void RecordingCanvas::lineTo(int x, int y) {
  emit("line", {x, y});
}

void RecordingCanvas::rectangleOutline(int x, int y, int width, int height, Rgb colour) {
  emit("rect", {x, y, width, height, colour.r, colour.g, colour.b});
}

void RecordingCanvas::ellipse(int left, int top, int right, int bottom, Rgb) {
  emit("ellipse", {left, top, right, bottom});
}

void RecordingCanvas::text(int x, int y, std::string_view utf8) {
  emit("text", {x, y}, utf8);
}

void RecordingCanvas::penSelected(Rgb colour) {
  emit("pen", {colour.r, colour.g, colour.b});
}

}  // namespace lv
