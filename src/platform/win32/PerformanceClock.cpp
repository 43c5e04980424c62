#include "platform/win32/PerformanceClock.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <timeapi.h>

namespace lv {

PerformanceClock::PerformanceClock() {
  LARGE_INTEGER frequency{};
  QueryPerformanceFrequency(&frequency);
  frequency_ = static_cast<std::uint64_t>(frequency.QuadPart);
  // Sleep counts whole milliseconds, and by default the system's timer only ticks every
  // 15.6 ms. The system's own delay takes 100 ns units, and with the timer at 1 ms it ends
  // within about a millisecond on Windows and to the microsecond under Wine.
  timeBeginPeriod(1);
  if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll"))
    delay_ = reinterpret_cast<DelayFunction>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "NtDelayExecution")));
}

PerformanceClock::~PerformanceClock() {
  timeEndPeriod(1);
}

std::uint64_t PerformanceClock::ticks() {
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  return static_cast<std::uint64_t>(now.QuadPart);
}

void PerformanceClock::sleepMicroseconds(std::uint64_t microseconds) {
  if (delay_ != nullptr) {
    LARGE_INTEGER interval{};
    interval.QuadPart = -static_cast<LONGLONG>(microseconds * 10);  // negative: relative
    delay_(FALSE, &interval);
    return;
  }
  Sleep(static_cast<DWORD>((microseconds + 999) / 1000));
}

}  // namespace lv
