#include "platform/win32/Console.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace lv {

Utf8Console::Utf8Console() : savedOutput_(GetConsoleOutputCP()), savedInput_(GetConsoleCP()) {
  SetConsoleOutputCP(CP_UTF8);
  SetConsoleCP(CP_UTF8);
}

Utf8Console::~Utf8Console() {
  std::cout.flush();
  std::fflush(stdout);
  // 0 means there was no console to take the pages from.
  if (savedOutput_ != 0) SetConsoleOutputCP(savedOutput_);
  if (savedInput_ != 0) SetConsoleCP(savedInput_);
}

void pauseConsole() {
  std::cout.flush();
  std::fflush(stdout);
  [[maybe_unused]] int status = std::system("PAUSE");
}

}  // namespace lv
