# The product: the 32-bit program.
set(WUZZLE_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
