#include <canvas/canvas.h>
