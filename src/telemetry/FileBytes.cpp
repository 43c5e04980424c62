#include "telemetry/FileBytes.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <utility>

namespace lv {

void FileBytes::release() {
  if (data_ != nullptr) munmap(const_cast<std::uint8_t*>(data_), size_);
  if (descriptor_ >= 0) ::close(descriptor_);
  data_ = nullptr;
  size_ = 0;
  descriptor_ = -1;
}

std::size_t FileBytes::copyOut(std::size_t offset, void* out, std::size_t count) const {
  if (offset >= size_) return 0;
  count = std::min(count, size_ - offset);
  auto* target = static_cast<std::uint8_t*>(out);
  std::size_t done = 0;
  // A file cut short since it was opened yields fewer bytes.
  while (done < count) {
    ssize_t got =
        ::pread(descriptor_, target + done, count - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  return done;
}

Status FileBytes::open(const std::string& path) {
  release();
  // Without O_NONBLOCK, opening a named pipe waits for a writer that may never come.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return Status::error(path + ": " + std::strerror(errno));
  struct stat info {};
  if (fstat(fd, &info) != 0) {
    int err = errno;
    ::close(fd);
    return Status::error(path + ": " + std::strerror(err));
  }
  // Pipes, devices and sockets have no length to map and may never end; they are refused
  // before a byte is read.
  if (!S_ISREG(info.st_mode)) {
    ::close(fd);
    return Status::error(path + ": " +
                         (S_ISDIR(info.st_mode) ? "is a folder" : "not a regular file"));
  }
  if (info.st_size > 0) {
    void* mapped =
        mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    if (mapped == MAP_FAILED) {
      int err = errno;
      ::close(fd);
      return Status::error(path + ": " + std::strerror(err));
    }
    madvise(mapped, static_cast<std::size_t>(info.st_size), MADV_SEQUENTIAL | MADV_WILLNEED);
    data_ = static_cast<const std::uint8_t*>(mapped);
    size_ = static_cast<std::size_t>(info.st_size);
    descriptor_ = fd;
    return Status::ok();
  }
  ::close(fd);
  return Status::ok();
}

bool fileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

namespace {

// A name beside `path` that nobody can have prepared: created here, exclusively, never
// through a link planted in the folder.
int createTemporaryBeside(const std::string& path, std::string& temporary) {
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, ".%x%x%lx.part", static_cast<unsigned>(getpid()),
                  ++counter, static_cast<unsigned long>(now.tv_nsec));
    temporary = path + suffix;
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

Status writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
  std::string temporary;
  int fd = createTemporaryBeside(path, temporary);
  if (fd < 0) return Status::error(path + ": " + std::strerror(errno));
  std::size_t written = 0;
  while (written < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      int err = n < 0 ? errno : ENOSPC;
      ::close(fd);
      ::unlink(temporary.c_str());
      return Status::error(path + ": " + std::strerror(err));
    }
    written += static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0) {
    int err = errno;
    ::unlink(temporary.c_str());
    return Status::error(path + ": " + std::strerror(err));
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    int err = errno;
    ::unlink(temporary.c_str());
    return Status::error(path + ": " + std::strerror(err));
  }
  return Status::ok();
}

}  // namespace lv
