#include "platform/win32/dialog/AboutBox.h"

#include "platform/win32/WideText.h"
#include "platform/win32/dialog/DialogTemplate.h"
#include "viewer/shell/ShellTexts.h"

namespace lv {
namespace {

constexpr WORD kIconId = 100;

INT_PTR CALLBACK aboutProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SendDlgItemMessageW(box, kIconId, STM_SETICON, static_cast<WPARAM>(lParam), 0);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(box, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

DialogItem item(DWORD style, WORD id, WORD atom, std::string_view text, short x, short y,
                short width, short height) {
  return {WS_CHILD | WS_VISIBLE | style, id, atom, {}, widen(text), x, y, width, height};
}

}  // namespace

void showAboutBox(HWND owner, HICON icon) {
  DialogFrame frame;
  frame.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK | DS_CENTER;
  frame.width = 235;
  frame.height = 55;
  frame.caption = widen(kAboutCaption);
  frame.font = L"MS Sans Serif";
  std::vector<DialogItem> items{
      item(SS_ICON, kIconId, kStaticAtom, "", 11, 17, 20, 20),
      item(SS_LEFT | SS_NOPREFIX, 0xFFFF, kStaticAtom, kAboutVersionLine, 40, 10, 119, 8),
      item(SS_LEFT | SS_NOPREFIX, 0xFFFF, kStaticAtom, kAboutSecondLine, 40, 25, 119, 8),
      item(BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, IDOK, kButtonAtom, "OK", 178, 7, 50, 14),
  };
  std::vector<WORD> bytes = buildDialogTemplate(frame, items);
  DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                          reinterpret_cast<const DLGTEMPLATE*>(bytes.data()), owner, aboutProc,
                          reinterpret_cast<LPARAM>(icon));
}

}  // namespace lv
