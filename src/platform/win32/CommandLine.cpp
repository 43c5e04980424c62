#include "platform/win32/CommandLine.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include "platform/win32/WideText.h"

namespace lv {

std::vector<std::string> utf8Arguments() {
  std::vector<std::string> arguments;
  int count = 0;
  wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
  if (words == nullptr) return arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(narrow(words[i]));
  LocalFree(words);
  return arguments;
}

}  // namespace lv
