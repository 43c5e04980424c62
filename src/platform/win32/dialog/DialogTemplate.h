#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace lv {

// One control of an in-memory dialog template. Places and sizes are in dialog units, so the
// dialog manager lays the controls out with the dialog font's metrics, as from a resource.
struct DialogItem {
  DWORD style = 0;
  WORD id = 0;
  WORD classAtom = 0;      // the predefined classes (button, edit, ...); 0 when named
  std::wstring className;  // a registered class such as the tree view's
  std::wstring text;
  short x = 0, y = 0, width = 0, height = 0;
};

struct DialogFrame {
  DWORD style = 0;
  DWORD extendedStyle = 0;
  short x = 0, y = 0, width = 0, height = 0;
  std::wstring caption;
  WORD pointSize = 8;
  std::wstring font;
};

// Predefined window class atoms of the dialog template format.
inline constexpr WORD kButtonAtom = 0x0080;
inline constexpr WORD kEditAtom = 0x0081;
inline constexpr WORD kStaticAtom = 0x0082;
inline constexpr WORD kListBoxAtom = 0x0083;
inline constexpr WORD kScrollBarAtom = 0x0084;

// The template bytes (DLGTEMPLATE followed by DWORD-aligned DLGITEMTEMPLATEs) as words;
// the vector's storage is suitably aligned for the dialog functions.
std::vector<WORD> buildDialogTemplate(const DialogFrame& frame,
                                      const std::vector<DialogItem>& items);

// The main dialog: every control of the catalogue in template order.
DialogFrame mainDialogFrame();
std::vector<DialogItem> mainDialogItems();

}  // namespace lv
