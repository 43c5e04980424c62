// Whole files mapped read-only, and written through a temporary file, on Windows. Paths
// arrive as UTF-8 and reach the system as UTF-16.
#include "telemetry/FileBytes.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <utility>

#include "platform/win32/SystemError.h"
#include "platform/win32/WideText.h"

namespace lv {
namespace {

// Closes a handle when it goes out of scope.
struct HandleCloser {
  HANDLE handle;
  ~HandleCloser() {
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};

Status failure(const std::string& path, DWORD error) {
  return Status::error(path + ": " + systemErrorText(error));
}

bool isFolder(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

void FileBytes::release() {
  if (data_ != nullptr) UnmapViewOfFile(data_);
  data_ = nullptr;
  size_ = 0;
}

Status FileBytes::open(const std::string& path) {
  release();
  std::wstring wide = widen(path);
  if (isFolder(wide)) return Status::error(path + ": is a folder");
  // Others may keep writing or even delete the file: the game writes its replays while
  // the viewer or the logger reads.
  HandleCloser file{CreateFileW(wide.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (file.handle == INVALID_HANDLE_VALUE) return failure(path, GetLastError());
  // Pipes and devices (NUL, CON, COM1) have no length to map and may never end; they are
  // refused before a byte is read.
  if (GetFileType(file.handle) != FILE_TYPE_DISK)
    return Status::error(path + ": not a regular file");
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.handle, &size)) return failure(path, GetLastError());
  if (size.QuadPart == 0) return Status::ok();  // a mapping of nothing cannot be made
  HandleCloser mapping{CreateFileMappingW(file.handle, nullptr, PAGE_READONLY, 0, 0, nullptr)};
  if (mapping.handle == nullptr) return failure(path, GetLastError());
  void* view = MapViewOfFile(mapping.handle, FILE_MAP_READ, 0, 0, 0);
  if (view == nullptr) return failure(path, GetLastError());
  // The view keeps the file mapped after both handles are closed.
  data_ = static_cast<const std::uint8_t*>(view);
  size_ = static_cast<std::size_t>(size.QuadPart);
  return Status::ok();
}

// The view is read in place: a mapped view of a file that is open costs no more than a read.
std::size_t FileBytes::copyOut(std::size_t offset, void* out, std::size_t count) const {
  if (offset >= size_) return 0;
  count = std::min(count, size_ - offset);
  std::memcpy(out, data_ + offset, count);
  return count;
}

bool fileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesW(widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

namespace {

// A name beside `target` that nobody can have prepared: created here, exclusively, and never
// through a link or junction planted in the folder.
HANDLE createTemporaryBeside(const std::wstring& target, std::wstring& temporary) {
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    wchar_t suffix[48];
    std::swprintf(suffix, sizeof suffix / sizeof suffix[0], L".%lx%x%llx.part",
                  static_cast<unsigned long>(GetCurrentProcessId()), ++counter,
                  static_cast<unsigned long long>(now.QuadPart));
    temporary = target + suffix;
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return INVALID_HANDLE_VALUE;
}

}  // namespace

Status writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
  std::wstring target = widen(path);
  std::wstring temporary;
  {
    HandleCloser file{createTemporaryBeside(target, temporary)};
    if (file.handle == INVALID_HANDLE_VALUE) return failure(path, GetLastError());
    std::size_t written = 0;
    while (written < bytes.size()) {
      DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1u << 30));
      DWORD n = 0;
      bool ok = WriteFile(file.handle, bytes.data() + written, chunk, &n, nullptr);
      if (!ok || n == 0) {
        DWORD error = ok ? ERROR_DISK_FULL : GetLastError();
        CloseHandle(std::exchange(file.handle, nullptr));
        DeleteFileW(temporary.c_str());
        return failure(path, error);
      }
      written += n;
    }
  }
  if (!MoveFileExW(temporary.c_str(), target.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DWORD error = GetLastError();
    DeleteFileW(temporary.c_str());
    return failure(path, error);
  }
  return Status::ok();
}

}  // namespace lv
