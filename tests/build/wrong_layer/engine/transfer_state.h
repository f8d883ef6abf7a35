#include "screen/frame.h"
