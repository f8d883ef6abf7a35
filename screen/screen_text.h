#pragma once

#include <array>
#include <string>
#include <vector>

#include "screen/progress_panel.h"
#include "screen/screen_record.h"

namespace torvanik {

// What the picture shows, as text and values, for those who cannot see it: taken from the
// screen's record, as a repaint draws it. Texts are Windows-1252, as drawn; an empty text or
// list is a part the picture does not show.
struct ScreenText {
    std::vector<std::string> introduction;  // the fixed texts, while nothing covers them
    std::vector<std::string> about;
    std::string modeLabel;  // "UT" or "INN"
    std::string driveLabel;
    std::string driveRoot;
    std::string path;
    std::vector<std::string> help;
    bool panelShown = false;
    PanelLines panel;
    std::array<int, 2> bars{};  // this disk, whole file: the length drawn, of kProgressSteps
    std::vector<std::string> notice;

    bool operator==(const ScreenText&) const = default;
};

ScreenText TextOf(const ScreenRecord& record);

}  // namespace torvanik
