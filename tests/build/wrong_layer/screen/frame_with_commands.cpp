#include <engine/commands.h>
#include "engine/transfer_report.h"
#include "canvas/canvas.h"
#include <string>
