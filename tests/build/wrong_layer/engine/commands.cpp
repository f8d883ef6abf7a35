#include <QString>

#include "screen/notice_box.h"
