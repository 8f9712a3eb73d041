# Native build: the platform-free logic under the address and undefined-behaviour
# sanitizers, with Debian's GoogleTest.
find_package(GTest REQUIRED)
enable_testing()

set(SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)

add_library(wuzzle_logic STATIC ${WUZZLE_LOGIC_SOURCES})
target_include_directories(wuzzle_logic PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_compile_options(wuzzle_logic PUBLIC -Wall -Wextra ${SANITIZE})
target_link_options(wuzzle_logic PUBLIC ${SANITIZE})

file(GLOB UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${UNIT_TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE wuzzle_logic GTest::gtest_main GTest::gmock)
add_test(NAME unit COMMAND unit_tests --gtest_output=xml:${CMAKE_BINARY_DIR}/results/unit.xml)
