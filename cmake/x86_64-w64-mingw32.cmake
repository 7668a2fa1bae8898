# 64-bit Windows, built with Debian's mingw-w64 (g++-mingw-w64-x86-64), whose
# own strtof and C99 printf, not Microsoft's, read and round as glibc's do,
# and tested under wine (Debian's wine and wine64), since the kernel runs no
# Windows program itself.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++)
# wine reports what it does not implement on standard error: silenced.
set(CMAKE_CROSSCOMPILING_EMULATOR env WINEDEBUG=-all wine)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
