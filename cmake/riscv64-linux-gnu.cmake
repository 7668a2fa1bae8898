# 64-bit RISC-V Linux (RV64GC).
set(CMAKE_SYSTEM_PROCESSOR riscv64)
set(RAIZES_TRIPLE riscv64-linux-gnu)
set(RAIZES_QEMU qemu-riscv64-static)
include(${CMAKE_CURRENT_LIST_DIR}/linux-gnu-cross.cmake)
