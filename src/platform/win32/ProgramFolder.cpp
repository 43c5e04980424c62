#include "platform/win32/ProgramFolder.h"

#include <windows.h>

#include "platform/win32/WideText.h"

namespace lv {

std::string programFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);  // cut short: try a bigger buffer
  }
  std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::string() : narrow(path.substr(0, slash + 1));
}

}  // namespace lv
