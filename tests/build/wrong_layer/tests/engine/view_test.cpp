#include "engine/commands.h"
#include "shell/transfer_view.h"
