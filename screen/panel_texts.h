#pragma once

// The texts of the progress panel: printf formats and the corner each is drawn at.
namespace torvanik {

struct PanelText {
    const char* format;
    int x;
    int y;
};

struct PanelTextTable {
    PanelText diskProgress;   // %d: panelDiskNumber; labels bar 0
    PanelText freeSpace;      // %ld: freeKB; only when the free space is shown
    PanelText totalProgress;  // labels bar 1
    PanelText fileLength;     // %ld: the size in whole kB, plus one
};

inline constexpr PanelTextTable PanelTexts = {
    {"Forl\xF8p diskett nr.  %d.", 30, 185},
    {"Ledig diskplass  =  %ld  kB.", 230, 185},
    {"Totalt forl\xF8p.", 30, 235},
    {"Fillengde :   %ld  kB.", 230, 235},
};

}  // namespace torvanik
