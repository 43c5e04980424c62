#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/headless/CanvasTee.h"
#include "platform/headless/DiscardingCanvas.h"
#include "platform/headless/RecordingCanvas.h"
#include "viewer/shell/DialogHost.h"

namespace lv {

// Whether drawing calls become events, and where else they go.
struct HeadlessDrawing {
  Canvas* picture = nullptr;  // every drawing call also goes here
  bool events = true;         // false: erase, pen, move, line, rect, ellipse, text are not sent
};

// A dialog host without a window: every change to a control, every box and every drawing
// call becomes one event line, and file dialogs answer from a queue of scripted answers
// (an empty queue cancels).
class HeadlessHost : public DialogHost {
 public:
  using Sink = std::function<void(std::string_view)>;
  explicit HeadlessHost(Sink sink, HeadlessDrawing drawing = {});

  // The answer of the next file dialog; nothing cancels it.
  void queueFileAnswer(std::optional<std::string> path) { answers_.push_back(std::move(path)); }

  Canvas& canvas() override { return *canvasInUse_; }
  void messageBox(std::string_view title, std::string_view text) override;
  std::optional<std::string> chooseFileToOpen(const FileDialogRequest& request) override;
  std::optional<std::string> chooseFileToSave(const FileDialogRequest& request) override;
  void lapListAppend(std::string_view line) override;
  void lapListSelect(int line) override;
  void treeClear() override {}
  void treeAppend(int level, std::string_view text) override;
  void showControl(int controlId, bool shown) override;
  void setCaption(int controlId, std::string_view caption) override;
  void setScrollBar(int minimum, int maximum, int page, int position) override;
  void fieldsToControls(const DialogFields& fields) override;

 private:
  std::optional<std::string> nextAnswer();

  Sink sink_;
  RecordingCanvas canvas_;
  DiscardingCanvas discard_;
  std::unique_ptr<CanvasTee> tee_;
  Canvas* canvasInUse_ = nullptr;
  std::deque<std::optional<std::string>> answers_;
};

}  // namespace lv
