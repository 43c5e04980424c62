#include "platform/win32/dialog/DialogTemplate.h"

#include <commctrl.h>

#include "platform/win32/WideText.h"
#include "viewer/shell/ControlCatalogue.h"
#include "viewer/shell/ShellTexts.h"

namespace lv {
namespace {

class TemplateWriter {
 public:
  void dword(DWORD value) {
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
  }
  void word(WORD value) { words_.push_back(value); }
  void number(short value) { words_.push_back(static_cast<WORD>(value)); }
  void text(const std::wstring& value) {
    for (wchar_t c : value) words_.push_back(static_cast<WORD>(c));
    words_.push_back(0);
  }
  // Every item starts on a DWORD boundary.
  void alignToDword() {
    if (words_.size() % 2 != 0) words_.push_back(0);
  }
  std::vector<WORD> take() { return std::move(words_); }

 private:
  std::vector<WORD> words_;
};

bool hasStyle(const ControlEntry& entry, std::string_view flag) {
  return entry.styles.find(flag) != std::string_view::npos;
}

DWORD kindStyle(const ControlEntry& entry) {
  switch (entry.kind) {
    case ControlKind::kButton:
      return BS_PUSHBUTTON | WS_TABSTOP;
    case ControlKind::kEdit: {
      DWORD style = ES_AUTOHSCROLL | WS_TABSTOP;
      if (hasStyle(entry, "read-only")) style |= ES_READONLY;
      if (hasStyle(entry, "multi-line")) style |= ES_MULTILINE;
      if (hasStyle(entry, "centred")) style |= ES_CENTER;
      if (hasStyle(entry, "border")) style |= WS_BORDER;
      return style;
    }
    case ControlKind::kListBox:
      return LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
    case ControlKind::kScrollBar:
      return SBS_HORZ;
    case ControlKind::kGroupBox:
      return BS_GROUPBOX;
    case ControlKind::kRadioButton:
      // The first radio button starts the group the others join.
      return BS_AUTORADIOBUTTON | (entry.id == control::kFirstRadio ? WS_GROUP | WS_TABSTOP : 0);
    case ControlKind::kStaticText:
      return SS_LEFT;
    case ControlKind::kTree:
      return TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_DISABLEDRAGDROP | WS_BORDER |
             WS_TABSTOP;
  }
  return 0;
}

WORD classAtom(ControlKind kind) {
  switch (kind) {
    case ControlKind::kButton:
    case ControlKind::kGroupBox:
    case ControlKind::kRadioButton:
      return kButtonAtom;
    case ControlKind::kEdit:
      return kEditAtom;
    case ControlKind::kListBox:
      return kListBoxAtom;
    case ControlKind::kScrollBar:
      return kScrollBarAtom;
    case ControlKind::kStaticText:
      return kStaticAtom;
    case ControlKind::kTree:
      return 0;
  }
  return 0;
}

}  // namespace

std::vector<WORD> buildDialogTemplate(const DialogFrame& frame,
                                      const std::vector<DialogItem>& items) {
  TemplateWriter out;
  out.dword(frame.style | DS_SETFONT);
  out.dword(frame.extendedStyle);
  out.word(static_cast<WORD>(items.size()));
  for (short value : {frame.x, frame.y, frame.width, frame.height}) out.number(value);
  out.word(0);  // no menu
  out.word(0);  // the standard dialog class
  out.text(frame.caption);
  out.word(frame.pointSize);
  out.text(frame.font);
  for (const DialogItem& item : items) {
    out.alignToDword();
    out.dword(item.style);
    out.dword(0);
    for (short value : {item.x, item.y, item.width, item.height}) out.number(value);
    out.word(item.id);
    if (item.classAtom != 0) {
      out.word(0xFFFF);
      out.word(item.classAtom);
    } else {
      out.text(item.className);
    }
    out.text(item.text);
    out.word(0);  // no creation data
  }
  return out.take();
}

DialogFrame mainDialogFrame() {
  DialogFrame frame;
  // A maximised popup with caption, system menu, both boxes and a modal frame, shown in the
  // task bar. The children are clipped out of its painting: the plot picture is copied over
  // the whole client area and must not cover them.
  frame.style = WS_POPUP | WS_VISIBLE | WS_MAXIMIZE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
                WS_MAXIMIZEBOX | WS_CLIPCHILDREN | DS_MODALFRAME | DS_3DLOOK;
  frame.extendedStyle = WS_EX_APPWINDOW;
  frame.width = 1272;
  frame.height = 641;
  frame.caption = widen(kProgramName);
  frame.font = L"MS Sans Serif";
  return frame;
}

std::vector<DialogItem> mainDialogItems() {
  std::vector<DialogItem> items;
  items.reserve(kControlCatalogue.size());
  for (const ControlEntry& entry : kControlCatalogue) {
    DialogItem item;
    item.style = WS_CHILD | kindStyle(entry);
    if (entry.start == StartState::kShown) item.style |= WS_VISIBLE;
    if (entry.start == StartState::kHiddenDisabled) item.style |= WS_DISABLED;
    item.id = static_cast<WORD>(entry.id);  // the static "%" has id -1, i.e. 0xFFFF
    item.classAtom = classAtom(entry.kind);
    if (entry.kind == ControlKind::kTree) item.className = WC_TREEVIEWW;
    item.text = widen(entry.caption);
    item.x = static_cast<short>(entry.rect.x);
    item.y = static_cast<short>(entry.rect.y);
    item.width = static_cast<short>(entry.rect.width);
    item.height = static_cast<short>(entry.rect.height);
    items.push_back(std::move(item));
  }
  return items;
}

}  // namespace lv
