#include "platform/win32/dialog/Win32Host.h"

#include "platform/win32/WideText.h"
#include "platform/win32/dialog/FileDialogs.h"
#include "viewer/shell/ControlCatalogue.h"
#include "viewer/shell/DialogUnits.h"
#include "viewer/shell/FieldTexts.h"

namespace lv {

Win32Host::Win32Host(ScriptedFileAnswers& answers)
    : answers_(answers), canvas_(kClientWidth, kClientHeight) {
  // The dialog's erase empties the picture and repaints the window at once, controls too.
  canvas_.onErase([this] {
    if (dialog_ == nullptr) return;
    canvas_.takeChanged();
    InvalidateRect(dialog_, nullptr, TRUE);
    UpdateWindow(dialog_);
  });
}

void Win32Host::attach(HWND dialog) {
  dialog_ = dialog;
}

void Win32Host::showDrawing() {
  RECT changed = canvas_.takeChanged();
  if (dialog_ != nullptr && changed.right > changed.left) InvalidateRect(dialog_, &changed, FALSE);
}

void Win32Host::messageBox(std::string_view title, std::string_view text) {
  showDrawing();
  MessageBoxW(dialog_, widen(text).c_str(), widen(title).c_str(), MB_OK);
}

std::optional<std::string> Win32Host::chooseFileToOpen(const FileDialogRequest& request) {
  if (answers_.pending()) return answers_.take();
  return openFileDialog(dialog_, request);
}

std::optional<std::string> Win32Host::chooseFileToSave(const FileDialogRequest& request) {
  if (answers_.pending()) return answers_.take();
  return saveFileDialog(dialog_, request);
}

void Win32Host::lapListAppend(std::string_view line) {
  std::wstring text = widen(line);
  SendMessageW(control(control::kLapList), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Win32Host::lapListSelect(int line) {
  SendMessageW(control(control::kLapList), LB_SETCURSEL, static_cast<WPARAM>(line), 0);
}

void Win32Host::treeClear() {
  TreeView_DeleteAllItems(control(control::kTree));
  treeParents_.clear();
  treeItemCount_ = 0;
}

void Win32Host::treeAppend(int level, std::string_view text) {
  if (level < 1) level = 1;
  // An item deeper than one below the last is hung under the deepest parent there is.
  std::size_t depth = std::min(static_cast<std::size_t>(level), treeParents_.size() + 1);
  std::wstring wide = widen(text);
  TVINSERTSTRUCTW insert{};
  insert.hParent = depth > 1 ? treeParents_[depth - 2] : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  insert.item.pszText = wide.data();
  insert.item.lParam = treeItemCount_++;
  HTREEITEM item = reinterpret_cast<HTREEITEM>(
      SendMessageW(control(control::kTree), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  treeParents_.resize(depth);
  treeParents_[depth - 1] = item;
}

void Win32Host::treeItemDoubleClicked(HTREEITEM item) {
  if (item == nullptr || !treeDoubleClick_) return;
  TVITEMW data{};
  data.mask = TVIF_PARAM;
  data.hItem = item;
  if (!TreeView_GetItem(control(control::kTree), &data)) return;
  treeDoubleClick_(static_cast<int>(data.lParam));
}

void Win32Host::showControl(int controlId, bool shown) {
  ShowWindow(control(controlId), shown ? SW_SHOW : SW_HIDE);
}

void Win32Host::setCaption(int controlId, std::string_view caption) {
  SetDlgItemTextW(dialog_, controlId, widen(caption).c_str());
}

void Win32Host::setScrollBar(int minimum, int maximum, int page, int position) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = minimum;
  info.nMax = maximum;
  info.nPage = static_cast<UINT>(std::max(page, 0));
  info.nPos = position;
  SetScrollInfo(control(control::kScrollBar), SB_CTL, &info, TRUE);
}

void Win32Host::fieldsToControls(const DialogFields& fields) {
  for (const ControlText& box : fieldTexts(fields))
    SetDlgItemTextW(dialog_, box.controlId, widen(box.text).c_str());
}

}  // namespace lv
