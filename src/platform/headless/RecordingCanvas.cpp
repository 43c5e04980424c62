#include "platform/headless/RecordingCanvas.h"

namespace lv {

namespace {

// Writes `value` in decimal at `out`; returns the end.
char* appendInt(char* out, int value) {
  unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  if (value < 0) *out++ = '-';
  char digits[10];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  while (n > 0) *out++ = digits[--n];
  return out;
}

}  // namespace

void RecordingCanvas::emit(std::string_view verb, std::initializer_list<int> numbers,
                           std::string_view text) {
  // A line of numbers fits a small buffer; only text lines need the string.
  char buffer[96];
  char* end = buffer;
  for (char c : verb) *end++ = c;
  for (int number : numbers) {
    *end++ = ' ';
    end = appendInt(end, number);
  }
  std::string_view line(buffer, static_cast<std::size_t>(end - buffer));
  if (verb == "text") {
    line_.assign(line);
    line_ += ' ';
    line_ += text;
    line = line_;
  }
  if (sink_) {
    sink_(line);
  } else {
    events_.emplace_back(line);
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
