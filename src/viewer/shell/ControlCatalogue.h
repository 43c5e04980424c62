#pragma once

#include <array>
#include <string_view>

namespace lv {

enum class ControlKind {
  kButton,
  kEdit,
  kListBox,
  kScrollBar,
  kGroupBox,
  kRadioButton,
  kStaticText,
  kTree
};
enum class StartState { kShown, kHidden, kHiddenDisabled };

struct DialogRect {
  int x, y, width, height;  // dialog units
};

// One control of the main dialog: its id (-1 for the static "%"), kind, style flags as the
// template names them, caption, place and size, state when the window opens and tooltip.
struct ControlEntry {
  int id;
  ControlKind kind;
  std::string_view styles;
  std::string_view caption;
  DialogRect rect;
  StartState start;
  std::string_view tooltip;
};

inline constexpr int kControlCount = 93;

// Every control in template (and tab) order.
extern const std::array<ControlEntry, kControlCount> kControlCatalogue;

// The control with `id`, or nullptr.
const ControlEntry* findControl(int id);
// The button whose caption is `caption`, or nullptr.
const ControlEntry* findButtonByCaption(std::string_view caption);

// Control ids the handlers address.
namespace control {
inline constexpr int kLoad = 1000;
inline constexpr int kLapList = 1044;
inline constexpr int kLineMinus = 1045;
inline constexpr int kZoomMinus = 1047;
inline constexpr int kZoomPlus = 1048;
inline constexpr int kScrollBar = 1050;
inline constexpr int kLapMinus = 1055;
inline constexpr int kLoadMultiplayer = 1057;
inline constexpr int kSave = 1061;
inline constexpr int kFirstRadio = 1079;
inline constexpr int kAverageTemps = 1101;
inline constexpr int kDatasheet = 1102;
inline constexpr int kLapChoiceGroup = 1074;
inline constexpr int kTree = 1109;
}  // namespace control

}  // namespace lv
