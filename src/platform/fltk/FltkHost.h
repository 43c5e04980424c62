#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "platform/cairo/RasterCanvas.h"
#include "platform/fltk/MainWindow.h"
#include "platform/fltk/WindowCanvas.h"
#include "platform/fltk/WindowEvents.h"
#include "telemetry/Status.h"
#include "viewer/shell/DialogCommands.h"
#include "viewer/shell/DialogHost.h"
#include "viewer/shell/MainDialog.h"
#include "viewer/shell/ScriptedFileAnswers.h"

namespace lv {

// The main dialog's host on the desktop: the FLTK window with every control, the raster the
// dialog draws into shown as the client area, and FLTK boxes and file dialogs (a scripted
// answer, when one is queued, takes the place of a file dialog). One handler runs at a time:
// what the window reports while one runs (from a box's own event loop) is dropped.
class FltkHost : public DialogHost, private WindowEvents {
 public:
  explicit FltkHost(ScriptedFileAnswers& answers);
  ~FltkHost() override;

  // From now on the window's events go to `dialog`; a tree double-click runs as the command
  // "tree D K N" of `commands`.
  void attach(MainDialog& dialog, DialogCommands& commands);

  // Shows the window and returns once it is on the screen and painted.
  void showWindow();
  // Loads `path` as if it had been chosen in the file dialog the first mouse movement opens;
  // that first movement then opens nothing.
  void loadAtStart(const std::string& path);
  // Runs one scripted command and shows its outcome.
  Status runCommand(const std::string& command);
  bool windowShown() const;
  // From now on the window's own events reach the dialog; until then (the window appearing
  // under the mouse, clicks while FILE and the commands run) they are dropped.
  void takeInput() { takingInput_ = true; }

  const RasterCanvas& raster() const { return raster_; }
  MainWindow& window() { return *window_; }

  Canvas& canvas() override { return canvas_; }
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
  void buttonClicked(int controlId) override;
  void lapListSelected(int line) override;
  void lapListDoubleClicked(int line) override;
  void scrolled(int code, int position) override;
  void treeLapDoubleClicked(int driver, int kind, int lap) override;
  void mouseMoved() override;
  void rightButtonReleased(int x) override;
  void aboutRequested() override;

  // Runs `handler` unless one is running already, then shows what it drew.
  void run(const std::function<void()>& handler);
  // The same for an event of the window, once it takes input.
  void handle(const std::function<void()>& handler);
  void showPicture();
  void showProgress();

  ScriptedFileAnswers& answers_;
  RasterCanvas raster_;
  WindowCanvas canvas_;
  std::unique_ptr<MainWindow> window_;
  MainDialog* dialog_ = nullptr;
  DialogCommands* commands_ = nullptr;
  bool busy_ = false;
  bool takingInput_ = false;
  std::chrono::steady_clock::time_point lastShown_;
};

}  // namespace lv
