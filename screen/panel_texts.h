#pragma once

#include "platform/cp1252.h"
#include "res/texts/painted_texts.h"

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

// The entries of kPanelFormats in the order of PanelTextTable's fields.
inline constexpr auto kPanelBytes = ToCp1252<Cp1252Room(kPanelFormats)>(kPanelFormats);
static_assert(kPanelFormats.size() == sizeof(PanelTextTable) / sizeof(PanelText));

inline constexpr PanelTextTable PanelTexts = {
    {kPanelBytes[0].data(), 30, 185},
    {kPanelBytes[1].data(), 230, 185},
    {kPanelBytes[2].data(), 30, 235},
    {kPanelBytes[3].data(), 230, 235},
};

}  // namespace torvanik
