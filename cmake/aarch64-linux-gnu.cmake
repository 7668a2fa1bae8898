# 64-bit ARM Linux.
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(RAIZES_TRIPLE aarch64-linux-gnu)
set(RAIZES_QEMU qemu-aarch64-static)
include(${CMAKE_CURRENT_LIST_DIR}/linux-gnu-cross.cmake)
