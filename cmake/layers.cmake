# Which project folders each layer may include from. A file belongs to the layer with the
# longest matching prefix; an include "x/y.h" or <x/y.h> is allowed when it starts with one
# of the layer's entries. Only shell/ (and what stands above it) may include Qt headers.
set(TORVANIK_LAYERS
    res/texts/ platform/cp1252. platform/ canvas/ engine/transfer_report. screen/ engine/ res/
    cli/ shell/
    tools/ bench/
    tests/support/ tests/platform/ tests/canvas/ tests/screen/ tests/engine/ tests/cli/
    tests/res/ tests/shell/)

# The catalogue of every text the user reads, and its keys; every layer takes its words
# from it.
set(TORVANIK_LAYER_res/texts/ res/texts/)
set(TORVANIK_LAYER_platform/cp1252. platform/cp1252.h)
set(TORVANIK_LAYER_platform/ platform/ res/texts/)
set(TORVANIK_LAYER_canvas/ canvas/ platform/cp1252.h)
# The engine's reports are plain values that the screen's presenter paints.
set(TORVANIK_LAYER_engine/transfer_report. engine/transfer_report.h)
set(TORVANIK_LAYER_screen/ screen/ canvas/ engine/transfer_report.h platform/cp1252.h res/texts/)
set(TORVANIK_LAYER_engine/ engine/ platform/ res/texts/)
set(TORVANIK_LAYER_res/ res/)
set(TORVANIK_LAYER_cli/ cli/ engine/ platform/ res/texts/)
set(TORVANIK_LAYER_shell/ shell/ engine/ screen/ canvas/ platform/ res/)
set(TORVANIK_LAYER_tools/ tools/ shell/ engine/ screen/ canvas/ platform/ res/)
set(TORVANIK_LAYER_bench/ bench/ shell/ engine/ screen/ canvas/ platform/ res/)

# Each test folder reaches the layer it tests and what that layer may use.
set(TORVANIK_LAYER_tests/support/ support/)
set(TORVANIK_LAYER_tests/platform/ support/ platform/ res/texts/)
set(TORVANIK_LAYER_tests/canvas/ support/ canvas/ platform/cp1252.h)
set(TORVANIK_LAYER_tests/screen/ support/ screen/ canvas/ engine/transfer_report.h platform/cp1252.h res/texts/)
# The engine is tested through the screen that paints its reports.
set(TORVANIK_LAYER_tests/engine/ support/ engine/ screen/ canvas/ platform/ res/texts/)
set(TORVANIK_LAYER_tests/cli/ support/ cli/ engine/ platform/ res/texts/)
set(TORVANIK_LAYER_tests/res/ support/ res/)
set(TORVANIK_LAYER_tests/shell/ support/ tools/ shell/ engine/ screen/ canvas/ platform/ res/)

set(TORVANIK_QT_LAYERS shell/ tools/ bench/ tests/shell/)

# The project's own include folders: an include whose first part is none of these is
# a system or sibling header and not checked against the table.
set(TORVANIK_PROJECT_FOLDERS platform canvas screen engine res cli shell tools tests bench support)

# Trees that are wrong on purpose, for the check's own test.
set(TORVANIK_UNCHECKED tests/build/)
