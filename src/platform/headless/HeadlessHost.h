#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/headless/CanvasTee.h"
#include "platform/headless/DiscardingCanvas.h"
#include "platform/headless/RecordingCanvas.h"
#include "viewer/shell/DialogHost.h"
#include "viewer/shell/ScriptedFileAnswers.h"

namespace lv {

// Whether drawing calls become events, and where else they go.
struct HeadlessDrawing {
  Canvas* picture = nullptr;  // every drawing call also goes here
  bool events = true;         // false: erase, pen, move, line, rect, ellipse, text are not sent
};

// A dialog host without a window: every change to a control, every box and every drawing
// call becomes one event line, and file dialogs take the scripted answers (none cancels).
class HeadlessHost : public DialogHost {
 public:
  using Sink = std::function<void(std::string_view)>;
  HeadlessHost(Sink sink, ScriptedFileAnswers& answers, HeadlessDrawing drawing = {});

  Canvas& canvas() override { return *canvasInUse_; }
  void messageBox(std::string_view title, std::string_view text) override;
  std::optional<std::string> chooseFileToOpen(const FileDialogRequest& request) override;
  std::optional<std::string> chooseFileToSave(const FileDialogRequest& request) override;
  void lapListAppend(std::string_view line) override;
  void lapListSelect(int line) override;
  void treeClear() override;
  void treeAppend(int level, std::string_view text) override;
  void showControl(int controlId, bool shown) override;
  void setCaption(int controlId, std::string_view caption) override;
  void setScrollBar(int minimum, int maximum, int page, int position) override;
  void fieldsToControls(const DialogFields& fields) override;

 private:
  Sink sink_;
  RecordingCanvas canvas_;
  DiscardingCanvas discard_;
  std::unique_ptr<CanvasTee> tee_;
  ScriptedFileAnswers& answers_;
  Canvas* canvasInUse_ = nullptr;
};

}  // namespace lv
