# A plug-in module: Data/<name>.ini with the exports of <name>.def.
function(wuzzle_plugin target name)
    add_library(${target} MODULE ${ARGN})
    target_link_libraries(${target} PRIVATE wuzzle_plugin_common)
    target_link_options(${target} PRIVATE -s)
    set_target_properties(${target} PROPERTIES
        PREFIX "" OUTPUT_NAME ${name} SUFFIX ".ini"
        LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/plugins
        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/plugins)
endfunction()
