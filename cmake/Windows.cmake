# Cross build: the program, its plug-ins, the Wine test binaries, the end-to-end
# driver and the benchmarks.
enable_language(RC)
enable_testing()

add_link_options(-static -static-libgcc -static-libstdc++)

# GoogleTest for the Windows side, from Debian's sources, cross-built once per machine
# into the cache.
execute_process(COMMAND ${CMAKE_SOURCE_DIR}/scripts/build-gtest ${WUZZLE_MINGW_HOST}
    OUTPUT_VARIABLE GTEST_CACHE OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE gtest_result)
if(NOT gtest_result EQUAL 0)
    message(FATAL_ERROR "scripts/build-gtest failed")
endif()
find_package(GTest CONFIG REQUIRED PATHS ${GTEST_CACHE} NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)

# Everything of the program but its entry function and resources, so the Wine tests
# can drive the real window code.
add_library(wuzzle_core STATIC
    src/app/context_menu.cpp
    src/app/desktop_courtesy_win32.cpp
    src/app/long_lived.cpp
    src/app/media_keys.cpp
    src/app/shell.cpp
    src/app/sing_along_win32.cpp
    src/app/title_balloon_win32.cpp
    src/playback/control_panel.cpp
    src/playback/plugin_loader.cpp
    src/playlist/ansi_path_win32.cpp
    src/playlist/detail_reader_win32.cpp
    src/text/ansi_code_page_win32.cpp
    src/playlist/dropped_files_win32.cpp
    src/playlist/playlist_editor.cpp
    src/sprite/character_sprite.cpp
    src/sprite/follow_port_win32.cpp
    src/ui/dialog_base.cpp
    src/ui/whole_file_win32.cpp
    src/ui/window_base.cpp
)
target_link_libraries(wuzzle_core PUBLIC wuzzle_logic comctl32 comdlg32 shell32 shlwapi gdi32 user32)

# The resources, compiled once for the program and the Wine tests that create its
# windows.
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001 -I${CMAKE_SOURCE_DIR}/skin -I${CMAKE_SOURCE_DIR}/src/resources")
add_library(wuzzle_resources OBJECT src/resources/wuzzle.rc)
file(GLOB WUZZLE_RESOURCE_PARTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/resources/*.rc ${CMAKE_SOURCE_DIR}/src/resources/*.h
    ${CMAKE_SOURCE_DIR}/src/resources/*.manifest)
set_source_files_properties(src/resources/wuzzle.rc PROPERTIES
    OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/skin/Wzmp.ico;${WUZZLE_RESOURCE_PARTS}")
set(WUZZLE_RESOURCES $<TARGET_OBJECTS:wuzzle_resources>)

add_executable(WuzzlePlayer WIN32 src/app/entry.cpp ${WUZZLE_RESOURCES})
target_link_libraries(WuzzlePlayer PRIVATE wuzzle_core)

# Tests under Wine. One binary per area keeps Wine start-ups few (each costs about
# 1.5 s). They start in build/win32/testdata, staged like the program's folder.
function(wuzzle_win32_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE wuzzle_core GTest::gmock GTest::gtest_main)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/win32)
    # Most of each test file's compile time is these two headers: parse them once.
    target_precompile_headers(${name} PRIVATE <windows.h> <gtest/gtest.h>)
    add_test(NAME ${name} COMMAND ${name} --gtest_output=xml:Z:${CMAKE_BINARY_DIR}/results/${name}.xml
             WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/testdata)
    set_tests_properties(${name} PROPERTIES TIMEOUT 300)
endfunction()

add_subdirectory(plugins)
add_subdirectory(tests/support)
add_subdirectory(tests/win32)
# Built when asked for (the benchmarks target, scripts/fuzz), not by every build.
add_subdirectory(bench EXCLUDE_FROM_ALL)
add_subdirectory(fuzz EXCLUDE_FROM_ALL)
