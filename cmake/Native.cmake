# Native build: the platform-free logic under the sanitizers, with GoogleTest. The
# same sources build a second time as 32-bit code (the native32 preset), the widths
# the product has; there only the undefined-behaviour sanitizer, since the address
# sanitizer does not run under qemu-i386.
enable_testing()
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    execute_process(COMMAND ${CMAKE_SOURCE_DIR}/scripts/build-gtest ${WUZZLE_LINUX_HOST}
        OUTPUT_VARIABLE GTEST_CACHE OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE gtest_result)
    if(NOT gtest_result EQUAL 0)
        message(FATAL_ERROR "scripts/build-gtest failed")
    endif()
    find_package(GTest CONFIG REQUIRED PATHS ${GTEST_CACHE} NO_DEFAULT_PATH)
    set(SANITIZE -fsanitize=undefined -fno-sanitize-recover=all)
    set(mpg123_host ${WUZZLE_LINUX_HOST})
else()
    find_package(GTest REQUIRED)
    set(SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    set(mpg123_host x86_64-linux-gnu)
endif()
target_compile_options(wuzzle_logic PUBLIC ${SANITIZE})
target_link_options(wuzzle_logic PUBLIC ${SANITIZE})

# libmpg123 from Debian's source, built for this machine into the cache.
execute_process(COMMAND ${CMAKE_SOURCE_DIR}/scripts/build-libs ${mpg123_host}
    OUTPUT_VARIABLE mpg123_line OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE libraries_result)
if(NOT libraries_result EQUAL 0)
    message(FATAL_ERROR "scripts/build-libs failed")
endif()
string(REGEX REPLACE "^mpg123 " "" mpg123_folder "${mpg123_line}")
add_library(mpg123 STATIC IMPORTED)
set_target_properties(mpg123 PROPERTIES IMPORTED_LOCATION ${mpg123_folder}/lib/libmpg123.a
    INTERFACE_INCLUDE_DIRECTORIES ${mpg123_folder}/include INTERFACE_LINK_LIBRARIES m)

# The plug-ins' platform-free parts; the cross build compiles them into the plug-ins.
add_library(plugin_logic STATIC
    plugins/common/pacing_clock.cpp plugins/common/pcm.cpp plugins/input/tag_text.cpp plugins/input/track_numbers.cpp
    plugins/input/id3v2_tag.cpp plugins/input/mpeg_frames.cpp plugins/input/stream_probe.cpp
    plugins/input/wav_header.cpp plugins/input/vorbis_comments.cpp plugins/input/buffered_file.cpp
    plugins/input/mpeg_file.cpp plugins/input/channel_mix.cpp)
target_include_directories(plugin_logic PUBLIC plugins/common plugins/input src/text)
target_compile_definitions(plugin_logic PUBLIC _FILE_OFFSET_BITS=64)
target_link_libraries(plugin_logic PUBLIC wuzzle_logic wuzzle_plugin_interface mpg123)

file(GLOB UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${UNIT_TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE wuzzle_logic plugin_logic GTest::gtest_main GTest::gmock)
add_test(NAME unit COMMAND unit_tests --gtest_output=xml:${CMAKE_BINARY_DIR}/results/unit.xml)
# A reader caught in a loop fails the tier in time.
set_tests_properties(unit PROPERTIES TIMEOUT 120)
