#include "engine/commands.h"
#include "engine/transfer_state.h"
#include "platform/canvas.h"
