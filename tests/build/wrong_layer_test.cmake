# cmake -DCHECK=<check_layers.cmake> -DTREE=<tree> -P wrong_layer_test.cmake
# The tree's screen reaches into the commands (in angle brackets), its reports into the
# screen, its engine into Qt and the canvas, its terminal into the canvas, and a test of the
# engine into the window: the check must fail and name each of these, and nothing it allows.
execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${TREE} -P ${CHECK}
    RESULT_VARIABLE status ERROR_VARIABLE report OUTPUT_VARIABLE report_out)
string(APPEND report "${report_out}")
if(status EQUAL 0)
    message(FATAL_ERROR "The check let wrong includes through:\n${report}")
endif()
foreach(expected
        "screen/frame_with_commands.cpp: screen/ may not include \"engine/commands.h\""
        "engine/transfer_report.h: engine/transfer_report. may not include \"screen/frame.h\""
        "engine/commands.cpp: engine/ may not include Qt (<QString>)"
        "engine/commands.cpp: engine/ may not include \"canvas/canvas.h\""
        "cli/painting.cpp: cli/ may not include \"canvas/canvas.h\""
        "tests/engine/view_test.cpp: tests/engine/ may not include \"shell/transfer_view.h\"")
    string(FIND "${report}" "${expected}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "Not named: ${expected}\n${report}")
    endif()
endforeach()
foreach(allowed "\"engine/transfer_report.h\"" "screen/ may not include \"canvas/canvas.h\""
        "tests/engine/ may not include \"engine/commands.h\"" "\"string\"")
    string(FIND "${report}" "${allowed}" at)
    if(NOT at EQUAL -1)
        message(FATAL_ERROR "Refused an allowed include ${allowed}:\n${report}")
    endif()
endforeach()
