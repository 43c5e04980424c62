#include "platform/win32/dialog/ControlPlacement.h"

#include <cstdlib>

#include "viewer/shell/ControlCatalogue.h"
#include "viewer/shell/DialogUnits.h"

namespace lv {

void placeControlsInPixels(HWND dialog) {
  for (const ControlEntry& entry : kControlCatalogue) {
    HWND control = GetDlgItem(dialog, entry.id);
    if (control == nullptr) continue;
    PixelRect place = toPixels(entry.rect);
    SetWindowPos(control, nullptr, place.x, place.y, place.width, place.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(dialog, &placement);
  RECT& normal = placement.rcNormalPosition;
  normal.right = normal.left + (frame.right - frame.left);
  normal.bottom = normal.top + (frame.bottom - frame.top);
  if (IsZoomed(dialog) || IsIconic(dialog)) {
    // Only the size it returns to changes; a maximised window stays maximised.
    SetWindowPlacement(dialog, &placement);
  } else {
    SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
  }
}

namespace {

constexpr int kOriginalCharWidth = 6;

// The average character width as the dialog manager measures it.
int averageCharWidth(HDC dc) {
  SIZE size{};
  GetTextExtentPoint32W(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &size);
  return (size.cx / 26 + 1) / 2;
}

}  // namespace

HFONT fitDialogFont(HWND dialog) {
  RECT unit{0, 0, 4, 8};
  MapDialogRect(dialog, &unit);
  if (unit.right <= kOriginalCharWidth) return nullptr;
  HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  LOGFONTW look{};
  if (dialogFont == nullptr || GetObjectW(dialogFont, sizeof look, &look) == 0) return nullptr;
  HDC dc = GetDC(dialog);
  HFONT fitting = nullptr;
  for (LONG height = std::abs(look.lfHeight) - 1; height >= 8 && fitting == nullptr; --height) {
    look.lfHeight = -height;
    HFONT candidate = CreateFontIndirectW(&look);
    HGDIOBJ previous = SelectObject(dc, candidate);
    bool fits = averageCharWidth(dc) <= kOriginalCharWidth;
    SelectObject(dc, previous);
    if (fits) {
      fitting = candidate;
    } else {
      DeleteObject(candidate);
    }
  }
  ReleaseDC(dialog, dc);
  if (fitting == nullptr) return nullptr;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT))
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fitting), TRUE);
  return fitting;
}

}  // namespace lv
