# Shared part of the cross toolchain files: Debian's g++-<triple> compiler for
# RAIZES_TRIPLE, with tests run under RAIZES_QEMU (Debian's qemu-user-static),
# since the kernel runs no foreign executable by itself.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_CXX_COMPILER ${RAIZES_TRIPLE}-g++)
set(CMAKE_CROSSCOMPILING_EMULATOR ${RAIZES_QEMU})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
