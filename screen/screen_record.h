#pragma once

#include <array>

#include "engine/transfer_report.h"

namespace torvanik {

// Whether a click on the notice box hides or shows the notice.
enum class NoticeToggle {
    kNone,    // no notice shown yet: a click does nothing
    kShown,   // a click hides it
    kHidden,  // a click shows it again
};

// The screen's own record of what the picture shows, from which a paint request draws it
// whole: the transfer's facts as last reported, and what the drawing itself left.
struct ScreenRecord {
    TransferFacts facts;
    bool helpShown = false;
    bool panelShown = false;
    bool barsShown = false;
    bool noticeShown = false;
    NoticeToggle noticeToggle = NoticeToggle::kNone;
    Notice lastNotice;
    int panelDiskNumber = 0;
    bool panelShowsFree = false;
    std::array<int, 2> barLength{};  // this disk, whole file
    int lastDiskBar = 0;
    int lastTotalBar = 0;
};

}  // namespace torvanik
