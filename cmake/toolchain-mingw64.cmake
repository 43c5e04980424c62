# Cross-builds the Windows programs (64-bit) with Debian's MinGW-w64 compiler. The posix
# flavour carries std::thread and friends; -static puts its runtime into every .exe, so
# nothing needs a DLL beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_prefix x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_prefix}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_prefix}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_prefix}-windres)

# Headers and libraries come from the MinGW tree only; programs (cmake, ninja) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${mingw_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# What the Windows headers expect of a wide-character program for Windows 7 and later.
set(windows_defines
    "-DWIN32_LEAN_AND_MEAN -DNOMINMAX -DUNICODE -D_UNICODE -D_WIN32_WINNT=0x0601 -DWINVER=0x0601")
set(CMAKE_C_FLAGS_INIT "${windows_defines}")
set(CMAKE_CXX_FLAGS_INIT "${windows_defines}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
