#include "platform/win32/UiLanguage.h"

#include <windows.h>

namespace lv {

bool isGermanUserInterface() {
  return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_GERMAN;
}

}  // namespace lv
