# cmake -DPROGRAM=<file> -P cli_linkage.cmake: fails when the program loads a Qt library or
# the drawing system's FreeType and fontconfig.
execute_process(COMMAND ldd ${PROGRAM} OUTPUT_VARIABLE libraries RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "ldd ${PROGRAM} failed")
endif()
string(REGEX MATCHALL "lib(Qt|freetype|fontconfig)[^ \t\n/]*" drawing "${libraries}")
list(REMOVE_DUPLICATES drawing)
if(drawing)
    message(FATAL_ERROR "${PROGRAM} loads ${drawing}")
endif()
