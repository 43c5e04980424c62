#include "platform/win32/dialog/Tooltips.h"

#include <commctrl.h>

#include <string>

#include "platform/win32/WideText.h"
#include "viewer/shell/ControlCatalogue.h"

namespace lv {

HWND createControlTooltips(HWND dialog) {
  HWND tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  if (tips == nullptr) return nullptr;
  SendMessageW(tips, TTM_SETMAXTIPWIDTH, 0, 690);
  for (const ControlEntry& entry : kControlCatalogue) {
    if (entry.tooltip.empty()) continue;
    std::wstring text = widen(entry.tooltip);
    TOOLINFOW tool{};
    // The size of the structure every version of the common controls accepts.
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    // The tooltip control watches the tool's messages itself, so no message loop of ours
    // has to relay them.
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, entry.id));
    tool.lpszText = text.data();
    SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  SendMessageW(tips, TTM_ACTIVATE, TRUE, 0);
  return tips;
}

}  // namespace lv
