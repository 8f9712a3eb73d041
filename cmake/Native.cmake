# Native build: the platform-free logic under the address and undefined-behaviour
# sanitizers, with Debian's GoogleTest.
find_package(GTest REQUIRED)
enable_testing()

set(SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
target_compile_options(wuzzle_logic PUBLIC ${SANITIZE})
target_link_options(wuzzle_logic PUBLIC ${SANITIZE})

# The plug-ins' platform-free parts; the cross build compiles them into the plug-ins.
add_library(plugin_logic STATIC
    plugins/common/pacing_clock.cpp plugins/common/pcm.cpp plugins/input/tag_text.cpp plugins/input/track_numbers.cpp
    plugins/input/id3v2_tag.cpp plugins/input/mpeg_frames.cpp plugins/input/stream_probe.cpp
    plugins/input/wav_header.cpp plugins/input/vorbis_comments.cpp)
target_include_directories(plugin_logic PUBLIC plugins/common plugins/input)
target_link_libraries(plugin_logic PUBLIC wuzzle_logic wuzzle_plugin_interface)

file(GLOB UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${UNIT_TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE wuzzle_logic plugin_logic GTest::gtest_main GTest::gmock)
add_test(NAME unit COMMAND unit_tests --gtest_output=xml:${CMAKE_BINARY_DIR}/results/unit.xml)
