# The build step that runs check_layers.cmake whenever a layered file changes.
include(${CMAKE_CURRENT_LIST_DIR}/layers.cmake)
set(torvanik_layered_globs "")
foreach(layer IN LISTS TORVANIK_LAYERS)
    string(REGEX REPLACE "/.*" "" folder "${layer}")
    list(APPEND torvanik_layered_globs
        ${PROJECT_SOURCE_DIR}/${folder}/*.h ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
endforeach()
list(REMOVE_DUPLICATES torvanik_layered_globs)
file(GLOB_RECURSE torvanik_layered_files CONFIGURE_DEPENDS ${torvanik_layered_globs})

add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/layers.checked
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
            -DSTAMP=${CMAKE_BINARY_DIR}/layers.checked
            -P ${CMAKE_CURRENT_LIST_DIR}/check_layers.cmake
    DEPENDS ${torvanik_layered_files}
            ${CMAKE_CURRENT_LIST_DIR}/check_layers.cmake
            ${CMAKE_CURRENT_LIST_DIR}/layers.cmake
    COMMENT "Checking the includes of each layer")
add_custom_target(torvanik_layers DEPENDS ${CMAKE_BINARY_DIR}/layers.checked)

# A layer's target builds only after its includes are checked.
function(torvanik_check_layer target)
    add_dependencies(${target} torvanik_layers)
endfunction()
