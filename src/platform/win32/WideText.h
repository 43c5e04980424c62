#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace lv {

// Text is UTF-8 inside the programs and UTF-16 at the Windows boundary. Bytes that are not
// UTF-8 become U+FFFD rather than being dropped, so a bad name still shows where it failed.
inline std::wstring widen(std::string_view text) {
  if (text.empty()) return {};
  int size = static_cast<int>(text.size());
  int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
  return wide;
}

inline std::string narrow(std::wstring_view text) {
  if (text.empty()) return {};
  int size = static_cast<int>(text.size());
  int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

}  // namespace lv
