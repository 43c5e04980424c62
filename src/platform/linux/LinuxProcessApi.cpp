#include "platform/linux/LinuxProcessApi.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace lv {
namespace {

// Reads a small /proc file whole; empty when it cannot be read.
std::string readProcFile(const std::string& path) {
  std::string content;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return content;
  char buffer[4096];
  ssize_t n;
  while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
    content.append(buffer, static_cast<std::size_t>(n));
  ::close(fd);
  return content;
}

bool isZombie(const std::string& procDir) {
  std::string stat = readProcFile(procDir + "/stat");
  std::size_t close = stat.rfind(')');
  return close == std::string::npos || close + 2 >= stat.size() || stat[close + 2] == 'Z' ||
         stat[close + 2] == 'X';
}

bool isProcessId(std::string_view name) {
  return !name.empty() &&
         std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::optional<std::string> LinuxProcessApi::processName(int id) {
  std::string dir = "/proc/" + std::to_string(id);
  std::string commandLine = readProcFile(dir + "/cmdline");
  std::string name = commandLine.substr(0, commandLine.find('\0'));
  if (name.empty()) {
    if (isZombie(dir)) return std::nullopt;
    name = readProcFile(dir + "/comm");
    if (name.empty()) return std::nullopt;  // gone
    if (name.back() == '\n') name.pop_back();
  }
  return name;
}

std::vector<ProcessEntry> LinuxProcessApi::listProcesses() {
  std::vector<ProcessEntry> processes;
  DIR* proc = ::opendir("/proc");
  if (proc == nullptr) return processes;
  while (dirent* entry = ::readdir(proc)) {
    if (!isProcessId(entry->d_name)) continue;
    int id = std::atoi(entry->d_name);
    if (auto name = processName(id)) processes.push_back({id, std::move(*name)});
  }
  ::closedir(proc);
  return processes;
}

ProcessHandle LinuxProcessApi::openForReading(int id) {
  return id > 0 ? id : 0;
}

bool LinuxProcessApi::readMemory(ProcessHandle handle, std::uint32_t address,
                                 std::span<std::uint8_t> destination) {
  if (handle <= 0 || destination.empty()) return false;
  iovec local{destination.data(), destination.size()};
  iovec remote{reinterpret_cast<void*>(static_cast<std::uintptr_t>(address)), destination.size()};
  ssize_t n = ::process_vm_readv(static_cast<pid_t>(handle), &local, 1, &remote, 1, 0);
  return n == static_cast<ssize_t>(destination.size());
}

}  // namespace lv
