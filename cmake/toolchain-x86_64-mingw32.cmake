# The test build for machines that run no 32-bit code: the same sources for x86_64.
set(WUZZLE_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
