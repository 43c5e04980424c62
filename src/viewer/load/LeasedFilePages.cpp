#include "viewer/load/LeasedFilePages.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace lv {
namespace {

struct Lease {
  int descriptor;  // a duplicate of our own: the lease lives as long as it stays open
  dev_t device;
  ino_t inode;
};

struct Mapping {
  int leaseDescriptor;
  std::uintptr_t at;
  std::size_t bytes;
};

// The signal the system sends when a leased file is about to change. It is sent to the
// watcher thread, which has it blocked and waits for it.
int breakSignal() {
  return SIGRTMIN + 5;
}

sigset_t leaseBreakSignal() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, breakSignal());
  return set;
}

// Until the watcher runs, the signal may reach any thread, which would end the program by
// default; the watcher learns of such a break from the lease itself.
void ignoreBreak(int, siginfo_t*, void*) {}

void ignoreStrayBreaks() {
  struct sigaction now {};
  if (sigaction(breakSignal(), nullptr, &now) != 0 || now.sa_handler != SIG_DFL) return;
  struct sigaction ignoring {};
  ignoring.sa_sigaction = ignoreBreak;
  ignoring.sa_flags = SA_SIGINFO | SA_RESTART;
  sigemptyset(&ignoring.sa_mask);
  sigaction(breakSignal(), &ignoring, nullptr);
}

// A page the system dropped from its cache is read from the file again at its next use; on a
// medium that may be pulled out meanwhile it could not be, so such files are read instead.
// A partition's medium is its disk's, one level up.
bool onRemovableMedium(dev_t device) {
  for (const char* place : {"removable", "../removable"}) {
    char path[96];
    std::snprintf(path, sizeof path, "/sys/dev/block/%u:%u/%s", major(device), minor(device),
                  place);
    std::FILE* flag = std::fopen(path, "re");
    if (flag == nullptr) continue;
    int first = std::fgetc(flag);
    std::fclose(flag);
    if (first == '1') return true;
  }
  return false;
}

// The mapping's pages become memory of our own at the same place, with the same bytes, so
// that the file may change or shrink without the rows noticing.
void copyIntoOwnMemory(const Mapping& mapping) {
  void* own =
      mmap(nullptr, mapping.bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (own == MAP_FAILED) return;
  std::memcpy(own, reinterpret_cast<const void*>(mapping.at), mapping.bytes);
  if (mremap(own, mapping.bytes, mapping.bytes, MREMAP_MAYMOVE | MREMAP_FIXED,
             reinterpret_cast<void*>(mapping.at)) == MAP_FAILED)
    munmap(own, mapping.bytes);
}

class Leases {
 public:
  bool map(int descriptor, std::uint64_t offset, std::uintptr_t at, std::size_t bytes) {
    // Held until the mapping is on record, so that a break handled meanwhile cannot miss it.
    std::lock_guard lock(mutex_);
    const Lease* lease = leaseFor(descriptor);
    if (lease == nullptr) return false;
    // Now that nobody can cut the file unnoticed, its length is what it stays.
    struct stat info {};
    if (fstat(lease->descriptor, &info) != 0 ||
        offset + bytes > static_cast<std::uint64_t>(info.st_size)) {
      letGoOfUnused();
      return false;
    }
    void* pages = mmap(reinterpret_cast<void*>(at), bytes, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_FIXED, lease->descriptor, static_cast<off_t>(offset));
    if (pages == MAP_FAILED) {
      // A failed fixed mapping may have taken the old pages away; the rows were zeros.
      mmap(reinterpret_cast<void*>(at), bytes, PROT_READ | PROT_WRITE,
           MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
      letGoOfUnused();
      return false;
    }
    mappings_.push_back({lease->descriptor, at, bytes});
    return true;
  }

  void forget(std::uintptr_t at, std::size_t bytes) {
    std::lock_guard lock(mutex_);
    std::erase_if(mappings_, [&](const Mapping& m) { return m.at >= at && m.at < at + bytes; });
    letGoOfUnused();
  }

 private:
  // The lease on the file open as `descriptor`, taken now unless the file is leased already.
  const Lease* leaseFor(int descriptor) {
    struct stat info {};
    if (fstat(descriptor, &info) != 0) return nullptr;
    for (const Lease& lease : leases_)
      if (lease.device == info.st_dev && lease.inode == info.st_ino) return &lease;
    if (onRemovableMedium(info.st_dev) || !startWatcher()) return nullptr;
    int own = fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
    if (own < 0) return nullptr;
    // Before the watcher runs, a lease tells the whole program of a break; the watcher looks
    // for one as it takes the lease over.
    if (fcntl(own, F_SETSIG, breakSignal()) != 0 || (watcher_ != 0 && !tellWatcher(own)) ||
        fcntl(own, F_SETLEASE, F_RDLCK) != 0) {
      ::close(own);
      return nullptr;
    }
    leases_.push_back({own, info.st_dev, info.st_ino});
    return &leases_.back();
  }

  // The watcher is started without waiting for it: a load should not wait for a thread that
  // may have to queue for the core the font loading has.
  bool startWatcher() {
    if (watcherStarted_) return true;
    ignoreStrayBreaks();
    try {
      std::thread([this] { watch(); }).detach();
    } catch (const std::system_error&) {
      return false;
    }
    watcherStarted_ = true;
    return true;
  }

  // Breaks of the leases the watcher has taken over are signalled to it alone.
  bool tellWatcher(int leaseDescriptor) const {
    f_owner_ex owner{F_OWNER_TID, watcher_};
    return fcntl(leaseDescriptor, F_SETOWN_EX, &owner) == 0;
  }

  [[noreturn]] void watch() {
    sigset_t set = leaseBreakSignal();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    takeOverLeases();
    for (;;) {
      siginfo_t info{};
      if (sigwaitinfo(&set, &info) > 0) handOver(info.si_fd);
    }
  }

  // A lease taken before the watcher ran may be breaking already: F_GETLEASE then gives the
  // lease it is being broken to.
  void takeOverLeases() {
    std::lock_guard lock(mutex_);
    watcher_ = gettid();
    std::vector<int> breaking;
    for (const Lease& lease : leases_) {
      tellWatcher(lease.descriptor);
      if (fcntl(lease.descriptor, F_GETLEASE) != F_RDLCK) breaking.push_back(lease.descriptor);
    }
    for (int descriptor : breaking) handOverLocked(descriptor);
  }

  void handOver(int leaseDescriptor) {
    std::lock_guard lock(mutex_);
    handOverLocked(leaseDescriptor);
  }

  // Somebody is about to write or cut a leased file: its pages become our own, then the
  // lease is given back and the writer goes on.
  void handOverLocked(int leaseDescriptor) {
    for (const Mapping& mapping : mappings_)
      if (mapping.leaseDescriptor == leaseDescriptor) copyIntoOwnMemory(mapping);
    std::erase_if(mappings_,
                  [&](const Mapping& m) { return m.leaseDescriptor == leaseDescriptor; });
    letGoOfUnused();
  }

  void letGoOfUnused() {
    std::erase_if(leases_, [&](const Lease& lease) {
      bool used = std::any_of(mappings_.begin(), mappings_.end(), [&](const Mapping& m) {
        return m.leaseDescriptor == lease.descriptor;
      });
      if (!used) {
        fcntl(lease.descriptor, F_SETLEASE, F_UNLCK);
        ::close(lease.descriptor);
      }
      return !used;
    });
  }

  std::mutex mutex_;
  std::vector<Lease> leases_;
  std::vector<Mapping> mappings_;
  bool watcherStarted_ = false;
  pid_t watcher_ = 0;  // the watcher's thread once it runs
};

// Never destroyed: the watcher thread may still wait on it while the program ends.
Leases& leases() {
  static auto* all = new Leases;
  return *all;
}

}  // namespace

bool mapLeasedFilePages(int descriptor, std::uint64_t offset, std::uintptr_t at,
                        std::size_t bytes) {
  return leases().map(descriptor, offset, at, bytes);
}

void forgetLeasedFilePages(std::uintptr_t at, std::size_t bytes) {
  leases().forget(at, bytes);
}

}  // namespace lv
