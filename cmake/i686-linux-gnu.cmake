# 32-bit x86 Linux. CMakeLists.txt itself keeps float arithmetic off the x87.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(RAIZES_TRIPLE i686-linux-gnu)
set(RAIZES_QEMU qemu-i386-static)
include(${CMAKE_CURRENT_LIST_DIR}/linux-gnu-cross.cmake)
