# Shared part of the cross toolchain files: Debian's g++-<triple> compiler for
# CMAKE_SYSTEM_PROCESSOR, with tests run under qemu-user (Debian's
# qemu-user-static), since the kernel runs no foreign executable by itself.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_CXX_COMPILER ${CMAKE_SYSTEM_PROCESSOR}-linux-gnu-g++)
set(CMAKE_CROSSCOMPILING_EMULATOR ${RAIZES_QEMU})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
