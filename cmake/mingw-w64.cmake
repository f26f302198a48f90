# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (the posix thread
# model, which std::thread needs). scripts/windows uses it for the libraries
# and for the game; BW_WIN_SYSROOT names where the libraries are installed.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(BW_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${BW_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BW_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${BW_MINGW}-windres)

set(BW_WIN_SYSROOT "" CACHE PATH "Prefix of the Windows builds of GLFW, OpenAL Soft and GoogleTest")
# try_compile projects read this file again: hand them the same prefix.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES BW_WIN_SYSROOT)

set(CMAKE_FIND_ROOT_PATH /usr/${BW_MINGW} ${BW_WIN_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
