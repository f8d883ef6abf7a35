# Which project folders each layer may include from. A file belongs to the layer with the
# longest matching prefix; an include "x/y.h" is allowed when it starts with one of the
# layer's entries. Only shell/ may include Qt headers.
set(TORVANIK_LAYERS
    platform/ engine/transfer_state. screen/ engine/ res/ cli/ shell/)

set(TORVANIK_LAYER_platform/ platform/)
set(TORVANIK_LAYER_engine/transfer_state. engine/transfer_state.h platform/)
set(TORVANIK_LAYER_screen/ screen/ engine/transfer_state.h platform/)
set(TORVANIK_LAYER_engine/ engine/ screen/ platform/)
set(TORVANIK_LAYER_res/ res/)
# The terminal prints the notices from the screen's table of notice lines.
set(TORVANIK_LAYER_cli/ cli/ engine/ platform/ screen/notice_lines.h)
set(TORVANIK_LAYER_shell/ shell/ engine/ screen/ platform/ res/)

set(TORVANIK_QT_LAYERS shell/)

# The project's own include folders: an include whose first part is none of these is
# a system or sibling header and not checked against the table.
set(TORVANIK_PROJECT_FOLDERS platform screen engine res cli shell tools tests bench)
