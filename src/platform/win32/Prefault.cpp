// Windows 8 and later read a range of a mapping in with one request; Windows 7, which the
// programs still run on, does not have the call, so it is looked up at run time.
#include "viewer/load/Prefault.h"

#include <windows.h>

namespace lv {
namespace {

struct RangeEntry {
  void* address;
  SIZE_T size;
};
using PrefetchFunction = BOOL(WINAPI*)(HANDLE, ULONG_PTR, RangeEntry*, ULONG);

PrefetchFunction prefetchFunction() {
  static const PrefetchFunction function = [] {
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    FARPROC found = kernel != nullptr ? GetProcAddress(kernel, "PrefetchVirtualMemory") : nullptr;
    return reinterpret_cast<PrefetchFunction>(reinterpret_cast<void (*)()>(found));
  }();
  return function;
}

}  // namespace

void prefaultMapping(std::span<const std::uint8_t> bytes) {
  PrefetchFunction prefetch = prefetchFunction();
  if (bytes.empty() || prefetch == nullptr) return;
  RangeEntry range{const_cast<std::uint8_t*>(bytes.data()), bytes.size()};
  prefetch(GetCurrentProcess(), 1, &range, 0);
}

}  // namespace lv
