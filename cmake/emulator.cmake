# Prints the command that runs a toolchain file's programs on this machine,
# as its tests run them (nothing for this machine's own), for the scripts
# that run a program outside CTest:
#   cmake -D TOOLCHAIN=cmake/aarch64-linux-gnu.cmake -P cmake/emulator.cmake
if(TOOLCHAIN)
  include(${TOOLCHAIN})
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E echo ${CMAKE_CROSSCOMPILING_EMULATOR})
