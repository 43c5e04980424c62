#pragma once

#include <windows.h>
// The common controls build on the types above.
#include <commctrl.h>

#include <functional>
#include <vector>

#include "platform/win32/dialog/GdiCanvas.h"
#include "viewer/shell/DialogHost.h"
#include "viewer/shell/ScriptedFileAnswers.h"

namespace lv {

// The main dialog's controls, boxes and file dialogs on Windows, and the picture the plot
// area shows. File dialogs take a scripted answer first when one is queued.
class Win32Host : public DialogHost {
 public:
  explicit Win32Host(ScriptedFileAnswers& answers);

  // The dialog window, once it exists; nothing is shown before.
  void attach(HWND dialog);
  HWND window() const { return dialog_; }
  GdiCanvas& picture() { return canvas_; }
  // A tree item was double-clicked: its number in the order appended since the last clear.
  void onTreeItemDoubleClick(std::function<void(int)> handler) {
    treeDoubleClick_ = std::move(handler);
  }
  void treeItemDoubleClicked(HTREEITEM item);
  // Lets the window show what the last handler drew.
  void showDrawing();

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
  HWND control(int id) const { return GetDlgItem(dialog_, id); }

  ScriptedFileAnswers& answers_;
  HWND dialog_ = nullptr;
  GdiCanvas canvas_;
  // The last item appended at each level of the tree, parents of the next deeper items.
  std::vector<HTREEITEM> treeParents_;
  int treeItemCount_ = 0;
  std::function<void(int)> treeDoubleClick_;
};

}  // namespace lv
