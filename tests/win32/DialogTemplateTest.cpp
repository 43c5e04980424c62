#include <windows.h>
// The common controls build on the types above.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "platform/win32/dialog/ControlPlacement.h"
#include "platform/win32/dialog/DialogTemplate.h"
#include "viewer/shell/ControlCatalogue.h"
#include "viewer/shell/DialogUnits.h"

namespace lv {
namespace {

const DialogItem& itemWithId(const std::vector<DialogItem>& items, int id) {
  for (const DialogItem& item : items)
    if (item.id == static_cast<WORD>(id)) return item;
  throw std::runtime_error("no item " + std::to_string(id));
}

bool runsUnderWineWithoutDisplay() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  bool wine = ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  return wine && GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) == 0;
}

TEST(MainDialogItems, EveryControlOfTheCatalogueWithItsKindPlaceAndStartState) {
  std::vector<DialogItem> items = mainDialogItems();
  ASSERT_EQ(items.size(), kControlCatalogue.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    const ControlEntry& entry = kControlCatalogue[i];
    SCOPED_TRACE(entry.id);
    EXPECT_EQ(items[i].id, static_cast<WORD>(entry.id));
    EXPECT_EQ(items[i].x, entry.rect.x);
    EXPECT_EQ(items[i].y, entry.rect.y);
    EXPECT_EQ(items[i].width, entry.rect.width);
    EXPECT_EQ(items[i].height, entry.rect.height);
    EXPECT_EQ((items[i].style & WS_VISIBLE) != 0, entry.start == StartState::kShown);
    EXPECT_EQ((items[i].style & WS_DISABLED) != 0, entry.start == StartState::kHiddenDisabled);
  }
  struct Expected {
    int id;
    WORD atom;
    DWORD style;
  };
  for (Expected expected : {
           Expected{1000, kButtonAtom, BS_PUSHBUTTON},
           Expected{1001, kEditAtom, ES_READONLY | ES_MULTILINE},
           Expected{1005, kEditAtom, ES_READONLY | WS_BORDER},
           Expected{1022, kEditAtom, ES_CENTER | WS_BORDER},
           Expected{1044, kListBoxAtom, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER},
           Expected{1050, kScrollBarAtom, SBS_HORZ},
           Expected{1074, kButtonAtom, BS_GROUPBOX},
           Expected{1079, kButtonAtom, BS_AUTORADIOBUTTON | WS_GROUP},
           Expected{1082, kButtonAtom, BS_AUTORADIOBUTTON},
           Expected{-1, kStaticAtom, SS_LEFT},
           Expected{1109, 0, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT},
       }) {
    SCOPED_TRACE(expected.id);
    const DialogItem& item = itemWithId(items, expected.id);
    EXPECT_EQ(item.classAtom, expected.atom);
    EXPECT_EQ(item.style & expected.style, expected.style);
  }
  EXPECT_EQ(itemWithId(items, 1082).style & WS_GROUP, 0u);
  EXPECT_EQ(itemWithId(items, 1109).className, WC_TREEVIEWW);
  EXPECT_EQ(itemWithId(items, -1).text, L"%");
  EXPECT_EQ(itemWithId(items, 1107).text, L"rpm replay");
}

// The dialog manager itself reads the template: every control exists with its class, and
// once placed its place in pixels is the dialog-unit conversion the graphs draw by (1.5 px
// across, 1.625 px down), whatever the metrics of the system's dialog font.
TEST(MainDialogTemplate, EveryControlExistsAndStandsWhereTheGraphsExpectIt) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  DialogFrame frame = mainDialogFrame();
  frame.style &= ~(WS_VISIBLE | WS_MAXIMIZE);
  std::vector<WORD> bytes = buildDialogTemplate(frame, mainDialogItems());
  HWND dialog = CreateDialogIndirectParamW(
      GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(bytes.data()), nullptr,
      [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
  if (dialog == nullptr && runsUnderWineWithoutDisplay())
    GTEST_SKIP() << "Wine has no X display to create windows on (scripts/test-windows.sh "
                    "gives it one)";
  ASSERT_NE(dialog, nullptr) << GetLastError();
  RECT column{1211, 0, 4, 8};
  MapDialogRect(dialog, &column);
  std::printf("the dialog font's units: x 1211 -> %ld px, 4 x 8 units -> %ld x %ld px\n",
              column.left, column.right, column.bottom);
  placeControlsInPixels(dialog);
  RECT client;
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, kClientWidth);
  EXPECT_EQ(client.bottom, kClientHeight);
  wchar_t caption[32];
  GetWindowTextW(dialog, caption, 32);
  EXPECT_STREQ(caption, L"Lapvista");

  int children = 0;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT))
    ++children;
  EXPECT_EQ(children, kControlCount);
  for (const ControlEntry& entry : kControlCatalogue) {
    if (entry.id < 0) continue;
    SCOPED_TRACE(entry.id);
    HWND control = GetDlgItem(dialog, entry.id);
    ASSERT_NE(control, nullptr);
    RECT box;
    GetWindowRect(control, &box);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
    PixelRect expected = toPixels(entry.rect);
    EXPECT_EQ(box.left, expected.x);
    EXPECT_EQ(box.top, expected.y);
    EXPECT_EQ(box.right - box.left, expected.width);
    EXPECT_EQ(box.bottom - box.top, expected.height);
    wchar_t className[64];
    GetClassNameW(control, className, 64);
    std::wstring expectedClass = entry.kind == ControlKind::kTree        ? WC_TREEVIEWW
                                 : entry.kind == ControlKind::kEdit      ? L"Edit"
                                 : entry.kind == ControlKind::kListBox   ? L"ListBox"
                                 : entry.kind == ControlKind::kScrollBar ? L"ScrollBar"
                                                                         : L"Button";
    EXPECT_EQ(_wcsicmp(className, expectedClass.c_str()), 0) << className;
  }
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, 1112)));
  DestroyWindow(dialog);
}

}  // namespace
}  // namespace lv
