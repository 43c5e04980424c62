// Whole files mapped read-only, and written through a temporary file, on Windows. Paths
// arrive as UTF-8 and reach the system as UTF-16.
#include "telemetry/FileBytes.h"

#include <windows.h>

#include <algorithm>
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

FileBytes::FileBytes(FileBytes&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

FileBytes& FileBytes::operator=(FileBytes&& other) noexcept {
  if (this != &other) {
    release();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

FileBytes::~FileBytes() {
  release();
}

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

bool fileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesW(widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

Status writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
  std::wstring target = widen(path);
  std::wstring temporary = target + L".part";
  {
    HandleCloser file{CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr)};
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
