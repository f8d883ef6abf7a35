# The build steps that check the code before any of it compiles: check_layers.cmake whenever a
# layered file changes, check_sizes.py whenever a file of the program's own code does.
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

find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(torvanik_code_files ${torvanik_layered_files})
list(FILTER torvanik_code_files EXCLUDE REGEX "^${PROJECT_SOURCE_DIR}/tests/")
add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/sizes.checked
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/check_sizes.py ${PROJECT_SOURCE_DIR}
            --stamp ${CMAKE_BINARY_DIR}/sizes.checked
    DEPENDS ${torvanik_code_files} ${CMAKE_CURRENT_LIST_DIR}/check_sizes.py
    COMMENT "Checking the sizes of files and functions")
add_custom_target(torvanik_sizes DEPENDS ${CMAKE_BINARY_DIR}/sizes.checked)

# A layer's target builds only after its includes and its sizes are checked.
function(torvanik_check_layer target)
    add_dependencies(${target} torvanik_layers torvanik_sizes)
endfunction()
