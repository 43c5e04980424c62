#include "platform/win32/dialog/FileDialogs.h"

#include <commdlg.h>

#include "platform/win32/WideText.h"

namespace lv {
namespace {

std::optional<std::string> runFileDialog(HWND owner, const FileDialogRequest& request, bool save) {
  std::wstring filter = commonDialogFilter(request.filter);
  std::wstring folder = widen(request.initialFolder);
  // Long enough for any path the system can open.
  std::wstring path(32768, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_NOCHANGEDIR;
  if (request.mustExist) dialog.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
  if (save) dialog.Flags |= OFN_OVERWRITEPROMPT;
  BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
  if (!chosen) return std::nullopt;
  path.resize(wcslen(path.c_str()));
  return narrow(path);
}

}  // namespace

std::wstring commonDialogFilter(const std::string& filter) {
  if (filter.empty()) return {};
  std::wstring wide = widen(filter);
  for (wchar_t& c : wide)
    if (c == L'|') c = L'\0';
  // Pairs end with one NUL each and the list with one more, whether or not the filter was
  // written with its closing "||".
  while (!wide.empty() && wide.back() == L'\0') wide.pop_back();
  wide.append(2, L'\0');
  return wide;
}

std::optional<std::string> openFileDialog(HWND owner, const FileDialogRequest& request) {
  return runFileDialog(owner, request, false);
}

std::optional<std::string> saveFileDialog(HWND owner, const FileDialogRequest& request) {
  return runFileDialog(owner, request, true);
}

}  // namespace lv
