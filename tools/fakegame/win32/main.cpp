// fakegame.exe: a stand-in for the running game on Windows. It shows a deterministic drive in
// its own memory at the addresses one game version uses, so that vantor can record it.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include "FakeDrive.h"
#include "FakeGameRun.h"
#include "logger/AddressTable.h"
#include "logger/ProcessFinder.h"
#include "platform/win32/CommandLine.h"
#include "platform/win32/PerformanceClock.h"
#include "platform/win32/WideText.h"
#include "telemetry/FileBytes.h"

namespace {

// The game's data lies at low addresses (0x79C000 and up), which a 64-bit process cannot
// have from VirtualAlloc: the system has reserved them already (error 487). So this program
// is linked to load at the game's own image base, 0x400000, without relocation, and this
// zero-filled block of its image, which costs no bytes in the file, spans those addresses.
constexpr std::size_t kGameMemoryBytes = 8u << 20;
alignas(4096) unsigned char gameMemory[kGameMemoryBytes];

// Folder (below the GPL folder) of the copy that runs under the game's name.
constexpr const char* kRunFolder = "fakegame-run\\";

using Options = lv::fakegame::FakeGameOptions;

bool coversRanges(const lv::fakegame::MemoryLayout& layout) {
  auto low = reinterpret_cast<std::uintptr_t>(gameMemory);
  auto high = low + kGameMemoryBytes;
  for (auto [first, last] : lv::fakegame::memoryRanges(layout)) {
    if (first < low || last > high) {
      std::cerr << "fakegame: 0x" << std::hex << first << " lies outside the program's own block 0x"
                << low << "..0x" << high << std::dec << " (linked at another image base?)\n";
      return false;
    }
  }
  return true;
}

void writeFloat(std::uint32_t address, float value) {
  *reinterpret_cast<volatile float*>(static_cast<std::uintptr_t>(address)) = value;
}

std::wstring fullPath(const std::wstring& path) {
  std::wstring full(MAX_PATH * 4, L'\0');
  DWORD length =
      GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (length == 0 || length >= full.size()) return path;
  full.resize(length);
  return full;
}

std::wstring ownPath() {
  std::wstring path(MAX_PATH * 4, L'\0');
  DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length);
  return path;
}

bool samePath(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// This program's command line without its first word (the program's own path).
std::wstring argumentsOfCommandLine() {
  std::wstring_view line = GetCommandLineW();
  std::size_t end = 0;
  if (!line.empty() && line[0] == L'"') {
    end = line.find(L'"', 1);
    end = end == std::wstring_view::npos ? line.size() : end + 1;
  } else {
    end = std::min(line.find_first_of(L" \t"), line.size());
  }
  return std::wstring(line.substr(end));
}

// Runs `program` with this program's arguments and standard handles, under a job that ends
// it together with this process, and returns its exit status. The game shows up in the
// process list as its program file, so the copy carries the game's name; its command line
// starts with that path, which is how Wine names the process on Linux too.
int runAs(const std::wstring& program) {
  std::wstring commandLine = L"\"" + program + L"\"" + argumentsOfCommandLine();
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  HANDLE job = CreateJobObjectW(nullptr, nullptr);
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (job != nullptr)
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
  PROCESS_INFORMATION child{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED,
                      nullptr, nullptr, &startup, &child)) {
    std::cerr << "fakegame: cannot start " << lv::narrow(program) << " (error " << GetLastError()
              << ")\n";
    return 1;
  }
  if (job != nullptr) AssignProcessToJobObject(job, child.hProcess);
  ResumeThread(child.hThread);
  CloseHandle(child.hThread);
  WaitForSingleObject(child.hProcess, INFINITE);
  DWORD status = 1;
  GetExitCodeProcess(child.hProcess, &status);
  CloseHandle(child.hProcess);
  if (job != nullptr) CloseHandle(job);
  return static_cast<int>(status);
}

// First start: writes the program file that tells the version, then runs a copy of itself
// under the game's name.
int prepareAndRunAsGame(const Options& o, const std::wstring& runningCopy) {
  std::string programPath = o.gplDir + o.exeName;
  CreateDirectoryW(lv::widen(o.gplDir + "replay").c_str(), nullptr);
  CreateDirectoryW(lv::widen(o.gplDir + kRunFolder).c_str(), nullptr);
  std::string image = lv::fakegame::programFileImage(o.version);
  if (lv::Status written = lv::writeFileAtomically(
          programPath,
          std::span(reinterpret_cast<const std::uint8_t*>(image.data()), image.size()));
      !written) {
    std::cerr << "fakegame: cannot write " << written.message() << '\n';
    return 1;
  }
  if (!CopyFileW(ownPath().c_str(), runningCopy.c_str(), FALSE)) {
    std::cerr << "fakegame: cannot copy itself to " << lv::narrow(runningCopy) << " (error "
              << GetLastError() << ")\n";
    return 1;
  }
  return runAs(runningCopy);
}

int showDrive(const Options& o) {
  lv::fakegame::MemoryLayout layout =
      lv::fakegame::layoutFor(lv::builtInAddressTable(), *lv::addressRowOf(o.version));
  if (!coversRanges(layout)) return 1;
  int frames = lv::fakegame::frameCount(o.drive);
  std::cerr << "fakegame: pid " << GetCurrentProcessId() << " shows " << o.version << " for "
            << frames << " frames\n";
  lv::PerformanceClock clock;
  std::uint64_t start = clock.ticks();
  auto secondsSinceStart = [&] {
    return static_cast<double>(clock.ticks() - start) / static_cast<double>(clock.ticksPerSecond());
  };
  auto sleepUntil = [&](double second) {
    double wait = second - secondsSinceStart();
    if (wait > 0) clock.sleepMicroseconds(static_cast<std::uint64_t>(wait * 1e6));
  };
  lv::fakegame::DriveClock driveClock{secondsSinceStart, sleepUntil};
  lv::fakegame::showFrames(o, layout, driveClock, writeFloat);
  return 0;
}

}  // namespace

int main() {
  Options o;
  std::vector<std::string> words = lv::utf8Arguments();
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  if (std::optional<int> status =
          lv::fakegame::parseFakeGameOptions(static_cast<int>(argv.size()), argv.data(), '\\', o))
    return *status;

  std::wstring runningCopy = fullPath(lv::widen(o.gplDir + kRunFolder + o.exeName));
  std::wstring self = ownPath();
  if (samePath(self, runningCopy)) return showDrive(o);
  // This first process stays until the drive ends; a logger must not take it for the game.
  std::string ownName = lv::narrow(self.substr(self.find_last_of(L"\\/") + 1));
  if (lv::processNameMatches(ownName, o.exeName)) {
    std::cerr << "fakegame: --exe " << o.exeName << " would also match " << ownName << '\n';
    return 1;
  }
  return prepareAndRunAsGame(o, runningCopy);
}
