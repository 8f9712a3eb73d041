# Cross build for Windows with the posix-thread MinGW-w64 compilers (std::thread and
# std::mutex need the posix model; GoogleTest uses them). Included by the toolchain
# file of each build, which sets WUZZLE_ARCH first.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${WUZZLE_ARCH})
set(WUZZLE_MINGW_HOST ${WUZZLE_ARCH}-w64-mingw32)

set(CMAKE_C_COMPILER ${WUZZLE_MINGW_HOST}-gcc-posix)
set(CMAKE_CXX_COMPILER ${WUZZLE_MINGW_HOST}-g++-posix)
set(CMAKE_RC_COMPILER ${WUZZLE_MINGW_HOST}-windres)
set(CMAKE_AR ${WUZZLE_MINGW_HOST}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${WUZZLE_MINGW_HOST}-ranlib CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${WUZZLE_MINGW_HOST})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Test binaries run under Wine; scripts/wine-run supplies the loader of this build,
# the prefix and the display.
set(CMAKE_CROSSCOMPILING_EMULATOR env WUZZLE_ARCH=${WUZZLE_ARCH} ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
