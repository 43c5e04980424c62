#include "platform/win32/ToolhelpProcessApi.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <tlhelp32.h>

#include "platform/win32/WideText.h"

namespace lv {
namespace {

// The file name part of a path, as Tool Help names processes.
std::wstring_view fileNameOf(std::wstring_view path) {
  std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::vector<ProcessEntry> ToolhelpProcessApi::listProcesses() {
  std::vector<ProcessEntry> processes;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return processes;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  // An entry is only looked at when the call filled it: a failed first call leaves an empty
  // record, which would otherwise count as a process.
  for (BOOL more = Process32FirstW(snapshot, &entry); more;
       more = Process32NextW(snapshot, &entry)) {
    processes.push_back({static_cast<int>(entry.th32ProcessID), narrow(entry.szExeFile)});
  }
  CloseHandle(snapshot);
  return processes;
}

std::optional<std::string> ToolhelpProcessApi::processName(int id) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id));
  if (process == nullptr) return std::nullopt;
  // A process that has ended stays openable while anyone (the reader, say) holds a handle.
  DWORD exitCode = 0;
  wchar_t path[MAX_PATH * 4];
  DWORD length = static_cast<DWORD>(std::size(path));
  bool live = GetExitCodeProcess(process, &exitCode) && exitCode == STILL_ACTIVE;
  bool named = live && QueryFullProcessImageNameW(process, 0, path, &length);
  CloseHandle(process);
  if (!named) return std::nullopt;
  return narrow(fileNameOf(std::wstring_view(path, length)));
}

ProcessHandle ToolhelpProcessApi::openForReading(int id) {
  HANDLE process =
      OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, static_cast<DWORD>(id));
  return reinterpret_cast<ProcessHandle>(process);
}

bool ToolhelpProcessApi::readMemory(ProcessHandle handle, std::uint32_t address,
                                    std::span<std::uint8_t> destination) {
  if (handle == 0 || destination.empty()) return false;
  SIZE_T read = 0;
  BOOL ok = ReadProcessMemory(reinterpret_cast<HANDLE>(handle),
                              reinterpret_cast<LPCVOID>(static_cast<std::uintptr_t>(address)),
                              destination.data(), destination.size(), &read);
  return ok && read == destination.size();
}

void ToolhelpProcessApi::close(ProcessHandle handle) {
  if (handle != 0) CloseHandle(reinterpret_cast<HANDLE>(handle));
}

}  // namespace lv
