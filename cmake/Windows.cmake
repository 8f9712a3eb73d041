# Cross build: the program, its plug-ins, the Wine test binaries, the end-to-end
# driver and the benchmarks.
enable_language(RC)
enable_testing()

# Every narrow literal becomes GBK bytes, as the A-functions expect on code page 936.
set(WUZZLE_CHARSET -finput-charset=UTF-8 -fexec-charset=GBK)
set(WUZZLE_WARNINGS -Wall -Wextra)
add_link_options(-static -static-libgcc -static-libstdc++)

# GoogleTest for the Windows side, from Debian's sources.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Everything of the program but its entry function, so the Wine tests can drive the
# real window code.
file(GLOB_RECURSE WUZZLE_WIN32_SOURCES CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/src/*.cpp)
list(REMOVE_ITEM WUZZLE_WIN32_SOURCES ${CMAKE_SOURCE_DIR}/src/app/entry.cpp)
add_library(wuzzle_core STATIC ${WUZZLE_WIN32_SOURCES})
target_include_directories(wuzzle_core PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_compile_options(wuzzle_core PUBLIC ${WUZZLE_CHARSET} ${WUZZLE_WARNINGS})
target_link_libraries(wuzzle_core PUBLIC comctl32 comdlg32 shell32 shlwapi gdi32 user32)

set(WUZZLE_RESOURCES ${CMAKE_SOURCE_DIR}/src/resources/wuzzle.rc)
set_source_files_properties(${WUZZLE_RESOURCES} PROPERTIES
    OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/skin/Wzmp.ico;${CMAKE_SOURCE_DIR}/src/resources/resource_ids.h;${CMAKE_SOURCE_DIR}/src/resources/context_menu.rc")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001 -I${CMAKE_SOURCE_DIR}/skin -I${CMAKE_SOURCE_DIR}/src/resources")

add_executable(WuzzlePlayer WIN32 src/app/entry.cpp ${WUZZLE_RESOURCES})
target_link_libraries(WuzzlePlayer PRIVATE wuzzle_core)

# Tests under Wine. One binary per area keeps Wine start-ups few.
function(wuzzle_win32_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE wuzzle_core gmock gtest_main)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/win32)
    add_test(NAME ${name} COMMAND ${name} --gtest_output=xml:Z:${CMAKE_BINARY_DIR}/results/${name}.xml
             WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/testdata)
endfunction()

if(EXISTS ${CMAKE_SOURCE_DIR}/tests/win32/CMakeLists.txt)
    add_subdirectory(tests/win32)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/support/CMakeLists.txt)
    add_subdirectory(tests/support)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/plugins/CMakeLists.txt)
    add_subdirectory(plugins)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/bench/CMakeLists.txt)
    add_subdirectory(bench)
endif()
