#pragma once

#include <windows.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace lv {

// The text of a Windows error, worded like the C library's text for the same fault, so that
// messages read the same on both systems ("No such file or directory").
inline std::string systemErrorText(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_DRIVE:
      return std::strerror(ENOENT);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
      return std::strerror(EACCES);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return std::strerror(ENOSPC);
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return std::strerror(ENOMEM);
    default:
      return "Windows error " + std::to_string(error);
  }
}

}  // namespace lv
