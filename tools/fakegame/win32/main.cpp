// fakegame.exe: a stand-in for the running game on Windows. It shows a deterministic drive in
// its own memory at the addresses one game version uses, so that vantor can record it.
#include <windows.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include "FakeDrive.h"
#include "logger/AddressTable.h"
#include "logger/GameVersion.h"
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

struct Options {
  std::string gplDir;
  std::string exeName = "gpl.exe";
  std::string version = std::string(lv::kVersion102B);
  lv::fakegame::DriveParameters drive;
};

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

double secondsSince(std::uint64_t start, lv::PerformanceClock& clock) {
  return static_cast<double>(clock.ticks() - start) / static_cast<double>(clock.ticksPerSecond());
}

void sleepUntil(double due, std::uint64_t start, lv::PerformanceClock& clock) {
  double wait = due - secondsSince(start, clock);
  if (wait > 0) clock.sleepMicroseconds(static_cast<std::uint64_t>(wait * 1e6));
}

int showDrive(const Options& o) {
  lv::fakegame::MemoryLayout layout =
      lv::fakegame::layoutFor(lv::builtInAddressTable(), *lv::addressRowOf(o.version));
  if (!coversRanges(layout)) return 1;
  int frames = lv::fakegame::frameCount(o.drive);
  std::cerr << "fakegame: pid " << GetCurrentProcessId() << " shows " << o.version << " for "
            << frames << " frames\n";
  lv::fakegame::writeTorqueCurve(lv::fakegame::torqueCurve(o.drive), layout, writeFloat);
  lv::PerformanceClock clock;
  std::uint64_t start = clock.ticks();
  double period = 1.0 / o.drive.rateHz;
  double shownAt = -period;
  for (int n = 0; n < frames; ++n) {
    // When this process was held up, it does not catch up: every frame stays a whole period,
    // so a reader that keeps up with the game's rate sees every one.
    sleepUntil(std::max(n * period, shownAt + period), start, clock);
    shownAt = secondsSince(start, clock);
    lv::fakegame::writeFrame(lv::fakegame::frameAt(n, o.drive), layout, writeFloat);
  }
  // The last frame stays visible for one more period before the game ends.
  sleepUntil(shownAt + period, start, clock);
  return 0;
}

}  // namespace

int main() {
  CLI::App app{"Shows a simulated drive in memory at the addresses of one GPL version."};
  Options o;
  app.add_option("--gpl-dir", o.gplDir, "GPL folder: receives the program file and replay\\")
      ->required();
  app.add_option("--exe", o.exeName, "Program file name (the name MOD.ini holds)")
      ->capture_default_str();
  app.add_option("--version", o.version, "Game version to imitate")
      ->check(CLI::IsMember({std::string(lv::kVersion101A), std::string(lv::kVersion101B),
                             std::string(lv::kVersion102A), std::string(lv::kVersion102B)}))
      ->capture_default_str();
  app.add_option("--duration", o.drive.durationSeconds, "Seconds the drive lasts")
      ->capture_default_str();
  app.add_option("--rate", o.drive.rateHz, "Clock changes per second")
      ->check(CLI::Range(1.0, 1000.0))
      ->capture_default_str();
  app.add_option("--track-length", o.drive.trackLengthMetres, "Lap length in metres")
      ->check(CLI::PositiveNumber)
      ->capture_default_str();
  app.add_option("--seed", o.drive.seed, "Varies the drive")->capture_default_str();
  std::vector<std::string> words = lv::utf8Arguments();
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  CLI11_PARSE(app, static_cast<int>(argv.size()), argv.data());

  if (!o.gplDir.empty() && o.gplDir.back() != '/' && o.gplDir.back() != '\\') o.gplDir += '\\';
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
