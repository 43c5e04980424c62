#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "viewer/graphs/Canvas.h"
#include "viewer/graphs/DialogControls.h"

namespace lv {

struct FileDialogRequest {
  std::string filter;  // e.g. ".tmr,  .rpy,  .tel| *.tmr;*.rpy;*.tel||"; empty for none
  std::string initialFolder;
  bool mustExist = false;
};

// The platform side of the main dialog: its controls, the platform's boxes and file
// dialogs, and the client area to draw into. One implementation per platform (headless for
// lapvista-cli and tests, a desktop window, Win32).
class DialogHost : public DialogControls {
 public:
  virtual Canvas& canvas() = 0;

  // A modal box with an OK button; returns when it is closed.
  virtual void messageBox(std::string_view title, std::string_view text) = 0;
  // The chosen path, or nothing when the user cancels.
  virtual std::optional<std::string> chooseFileToOpen(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> chooseFileToSave(const FileDialogRequest& request) = 0;

  virtual void lapListAppend(std::string_view line) = 0;
  virtual void lapListSelect(int line) = 0;

  // The replay tree (control 1109): cleared, then filled depth-first, each item one level
  // (1 driver, 2 lap kind, 3 lap line) below the last item appended one level up. Items are
  // numbered from 0 in the order appended; a double-click on a lap line is passed to
  // MainDialog::onTreeDoubleClick with that number, while a double-click on a driver or lap
  // kind item only opens or closes it. The dialog shows and hides the tree with showControl.
  virtual void treeClear() = 0;
  virtual void treeAppend(int level, std::string_view text) = 0;
};

}  // namespace lv
