# WebAssembly for a web page, built with Debian's emscripten (3.1.6), its
# tests run under node. emcc runs node itself (its JavaScript optimiser,
# which needs acorn); only Debian's own node finds the acorn that Debian
# installs in /usr/share/nodejs, so every compile and link is told where it is.
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
set(CMAKE_CXX_COMPILER_LAUNCHER env NODE_PATH=/usr/share/nodejs)
set(CMAKE_CXX_LINKER_LAUNCHER env NODE_PATH=/usr/share/nodejs)
