#include "res/toolbar.h"

#include <array>

#include "res/command_ids.h"

namespace torvanik {
namespace {

#include "res/icon16.xpm"
#include "res/icon32.xpm"
#include "res/toolbar.xpm"

constexpr std::array kSlots = {
    ID_SPLIT_OUT,  ID_JOIN_IN,      ID_SEPARATOR, ID_DISK_READY,
    ID_CLEAN_DISK, ID_SELECT_DRIVE, ID_APP_ABOUT,
};

}  // namespace

std::span<const int> ToolbarSlots() {
    return kSlots;
}

const char* const* ToolbarBitmap() {
    return toolbar_xpm;
}

const char* const* LargeIcon() {
    return icon32_xpm;
}

const char* const* SmallIcon() {
    return icon16_xpm;
}

}  // namespace torvanik
