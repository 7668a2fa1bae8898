# 32-bit ARM Linux with hardware floating point (Debian's armhf: ARMv7, VFPv3),
# as on Raspberry Pi OS's 32-bit edition.
set(CMAKE_SYSTEM_PROCESSOR armv7l)
set(RAIZES_TRIPLE arm-linux-gnueabihf)
set(RAIZES_QEMU qemu-arm-static)
include(${CMAKE_CURRENT_LIST_DIR}/linux-gnu-cross.cmake)
