#include "platform/win32/dialog/MainWindow.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cstdio>

#include "platform/win32/WideText.h"
#include "platform/win32/dialog/AboutBox.h"
#include "platform/win32/dialog/AppIcon.h"
#include "platform/win32/dialog/ControlPlacement.h"
#include "platform/win32/dialog/DialogTemplate.h"
#include "platform/win32/dialog/Tooltips.h"
#include "viewer/shell/ControlCatalogue.h"
#include "viewer/shell/FieldTexts.h"
#include "viewer/shell/ShellTexts.h"

namespace lv {
namespace {

constexpr UINT kRunStartUp = WM_APP + 1;
constexpr UINT kAboutCommand = 16;

bool isClickable(int id) {
  const ControlEntry* entry = findControl(id);
  return entry != nullptr &&
         (entry->kind == ControlKind::kButton || entry->kind == ControlKind::kRadioButton ||
          entry->kind == ControlKind::kGroupBox);
}

}  // namespace

MainWindow::MainWindow(std::string iniDir)
    : host_(answers_), dialog_(host_, std::move(iniDir)), commands_(dialog_, answers_, "lapvista") {
  largeIcon_ = createAppIcon(GetSystemMetrics(SM_CXICON));
  smallIcon_ = createAppIcon(GetSystemMetrics(SM_CXSMICON));
  // A double-click on a lap line of the replay tree imports that lap.
  host_.onTreeItemDoubleClick([this](int item) { dialog_.onTreeDoubleClick(item); });
}

MainWindow::~MainWindow() {
  if (dialogBrush_ != nullptr) DeleteObject(dialogBrush_);
  if (fittedFont_ != nullptr) DeleteObject(fittedFont_);
  DestroyIcon(largeIcon_);
  DestroyIcon(smallIcon_);
}

int MainWindow::run(StartUp startUp) {
  startUp_ = std::move(startUp);
  std::vector<WORD> bytes = buildDialogTemplate(mainDialogFrame(), mainDialogItems());
  DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                          reinterpret_cast<const DLGTEMPLATE*>(bytes.data()), nullptr, dialogProc,
                          reinterpret_cast<LPARAM>(this));
  return status_;
}

INT_PTR CALLBACK MainWindow::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<MainWindow*>(lParam);
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    self->initialize(window);
    return TRUE;
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, DWLP_USER));
  if (self == nullptr) return FALSE;
  INT_PTR handled = self->handle(message, wParam, lParam);
  self->host_.showDrawing();
  return handled;
}

void MainWindow::initialize(HWND window) {
  window_ = window;
  host_.attach(window);
  placeControlsInPixels(window);
  fittedFont_ = fitDialogFont(window);
  if (HMENU menu = GetSystemMenu(window, FALSE); menu != nullptr) {
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kAboutCommand, widen(kAboutEntry).c_str());
  }
  SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon_));
  SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
  for (const auto& [id, text] : kUnitLabels) SetDlgItemTextW(window, id, widen(text).c_str());
  dialog_.initialize();
  CheckRadioButton(window, control::kFirstRadio, control::kFirstRadio + 3, control::kFirstRadio);
  tooltips_ = createControlTooltips(window);
  if (tooltips_ == nullptr)
    host_.messageBox(kProgramName, "ToolTip konnte nicht erstellt werden.(82)");
  // The command line's file and commands run once the window is up.
  PostMessageW(window, kRunStartUp, 0, 0);
}

INT_PTR MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kRunStartUp:
      runStartUp();
      return TRUE;
    case WM_COMMAND:
      return command(LOWORD(wParam), HIWORD(wParam));
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) != kAboutCommand) return FALSE;
      showAboutBox(window_, largeIcon_);
      return TRUE;
    case WM_PAINT:
      paint();
      return TRUE;
    case WM_ERASEBKGND:
      // The picture covers the whole client area, so erasing first would only flicker.
      if (IsIconic(window_)) return FALSE;
      SetWindowLongPtrW(window_, DWLP_MSGRESULT, 1);
      return TRUE;
    case WM_QUERYDRAGICON:
      return reinterpret_cast<INT_PTR>(largeIcon_);
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
      if (dialogBrush_ == nullptr) dialogBrush_ = CreateSolidBrush(RGB(220, 220, 220));
      SetBkColor(reinterpret_cast<HDC>(wParam), RGB(220, 220, 220));
      return reinterpret_cast<INT_PTR>(dialogBrush_);
    case WM_MOUSEMOVE:
      if (!dialog_.state().autoLoadDone) dialog_.onMouseMove();
      return TRUE;
    case WM_RBUTTONUP:
      dialog_.onRightButtonUp(GET_X_LPARAM(lParam));
      return TRUE;
    case WM_HSCROLL:
      if (reinterpret_cast<HWND>(lParam) != GetDlgItem(window_, control::kScrollBar)) return FALSE;
      scroll(LOWORD(wParam));
      return TRUE;
    case WM_NOTIFY:
      return notify(*reinterpret_cast<const NMHDR*>(lParam));
    default:
      return FALSE;
  }
}

void MainWindow::runStartUp() {
  if (!startUp_.file.empty()) {
    // As if the file were chosen in the dialog the first mouse movement opens.
    answers_.push(startUp_.file);
    dialog_.onMouseMove();
    answers_.clear();
    host_.showDrawing();
  }
  for (const std::string& line : startUp_.commands) {
    if (Status result = commands_.run(line); !result) {
      std::fprintf(stderr, "lapvista: %s\n", result.message().c_str());
      status_ = 1;
    }
    host_.showDrawing();
  }
  announceReady();
}

// Tests and scripts wait for this line: the window shows the start-up's outcome.
void MainWindow::announceReady() {
  UpdateWindow(window_);
  std::printf("ready\n");
  std::fflush(stdout);
}

bool MainWindow::command(WORD id, WORD code) {
  if (id == IDOK || id == IDCANCEL) {
    EndDialog(window_, id);
    return true;
  }
  if (id == control::kLapList) {
    int line =
        static_cast<int>(SendDlgItemMessageW(window_, control::kLapList, LB_GETCURSEL, 0, 0));
    if (code == LBN_SELCHANGE) dialog_.onLapListSelect(line);
    if (code == LBN_DBLCLK) dialog_.onLapListDoubleClick(line);
    return true;
  }
  if (code == BN_CLICKED && isClickable(id)) {
    dialog_.onButton(id);
    return true;
  }
  return false;
}

void MainWindow::scroll(WORD code) {
  int position = 0;
  if (code == SB_THUMBPOSITION || code == SB_THUMBTRACK) {
    // The 32-bit thumb position; the message itself carries only 16 bits of it.
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_TRACKPOS;
    GetScrollInfo(GetDlgItem(window_, control::kScrollBar), SB_CTL, &info);
    position = info.nTrackPos;
  }
  // The scroll bar's codes are the dialog's: line, page, thumb position and track, ends.
  dialog_.onScroll(code, position);
}

bool MainWindow::notify(const NMHDR& header) {
  if (header.idFrom != control::kTree) return false;
  if (header.code == NM_DBLCLK) {
    TVHITTESTINFO hit{};
    DWORD where = GetMessagePos();
    hit.pt = {GET_X_LPARAM(where), GET_Y_LPARAM(where)};
    ScreenToClient(header.hwndFrom, &hit.pt);
    host_.treeItemDoubleClicked(TreeView_HitTest(header.hwndFrom, &hit));
  }
  // A click in the tree does nothing more than the tree itself does.
  SetWindowLongPtrW(window_, DWLP_MSGRESULT, 0);
  return true;
}

void MainWindow::paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  if (IsIconic(window_)) {
    // Minimised: the icon in the middle of what is left of the client area.
    SendMessageW(window_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    int iconWidth = GetSystemMetrics(SM_CXICON), iconHeight = GetSystemMetrics(SM_CYICON);
    RECT client;
    GetClientRect(window_, &client);
    DrawIcon(dc, (client.right - iconWidth + 1) / 2, (client.bottom - iconHeight + 1) / 2,
             largeIcon_);
  } else {
    const RECT& area = paint.rcPaint;
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top,
           host_.picture().dc(), area.left, area.top, SRCCOPY);
  }
  EndPaint(window_, &paint);
}

}  // namespace lv
