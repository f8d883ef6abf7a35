#include <QString>

#include "canvas/canvas.h"
