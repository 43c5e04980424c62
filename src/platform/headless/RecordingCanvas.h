#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "viewer/graphs/Canvas.h"

namespace lv {

// A canvas that turns every drawing call into one event line of lapvista-cli:
//   erase | pen R G B | move X Y | line X Y | rect X Y W H R G B | ellipse L T R B | text X Y TEXT
// Lines go to a sink (stdout in lapvista-cli) and are kept for tests when no sink is given.
// A load can draw millions of lines, so a line is built in one reused buffer.
class RecordingCanvas : public Canvas {
 public:
  using Sink = std::function<void(std::string_view)>;

  RecordingCanvas() = default;
  explicit RecordingCanvas(Sink sink) : sink_(std::move(sink)) {}

  void eraseAll() override;
  void moveTo(int x, int y) override;
  void lineTo(int x, int y) override;
  void rectangleOutline(int x, int y, int width, int height, Rgb colour) override;
  void ellipse(int left, int top, int right, int bottom, Rgb fill) override;
  void text(int x, int y, std::string_view utf8) override;

  const std::vector<std::string>& events() const { return events_; }
  void clearEvents() { events_.clear(); }

 protected:
  void penSelected(Rgb colour) override;

 private:
  void emit(std::string_view verb, std::initializer_list<int> numbers, std::string_view text = {});

  Sink sink_;
  std::string line_;
  std::vector<std::string> events_;
};

}  // namespace lv
