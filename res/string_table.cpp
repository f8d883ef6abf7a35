#include "res/string_table.h"

#include <array>

#include "res/command_ids.h"
#include "res/dialog_ids.h"

// U+00F8 is "\xC3\xB8".
namespace torvanik {
namespace {

struct StringEntry {
    int id;
    std::string_view text;
};

constexpr std::array kStrings = {
    // The window-title field (empty) and the document name.
    StringEntry{IDR_MAINFRAME, "\nTorvanik"},
    StringEntry{ID_DISK_READY, "Diskett klar til kopiering\nDiskett klar"},
    StringEntry{ID_SPLIT_OUT,
                "Velg ut filen som skal kopieres/splittes p\xC3\xA5 disketter\nVelg fil"},
    StringEntry{ID_JOIN_IN,
                "Velge ut mappe for lagring av oppdelt fil fra disketter\nVelg destinasjon"},
    StringEntry{ID_CLEAN_DISK, "Rydde plass p\xC3\xA5 diskett\nRydde diskett"},
    StringEntry{ID_SELECT_DRIVE,
                "Velg alternativ diskettstasjon.   A:  er obligatorisk \n"
                "Velg alt. diskettstasjon "},
    StringEntry{IDS_IDLE_MESSAGE, "Klar"},
    StringEntry{IDS_CHECKING_DISK, "Kontrollerer disketten ..."},
    StringEntry{ID_PARITY_DISK,
                "Skriv en paritetsdiskett etter den siste disketten, s\xC3\xA5 settet t\xC3\xA5ler "
                "\xC3\xA5 miste en\nParitetsdisk"},
    StringEntry{ID_APP_ABOUT, "Viser versjon og opplysninger om programmet\nInformasjon"},
    StringEntry{ID_APP_EXIT, "Avslutter programmet \nAvslutt"},
    StringEntry{ID_SHOW_HELP, "Veiledning for bruk av programmet"},
    StringEntry{ID_VIEW_TOOLBAR, "Vise eller skjule verkt\xC3\xB8ylinjen\nVerkt\xC3\xB8ylinje"},
    StringEntry{ID_VIEW_STATUS_BAR, "Vis elle skjul Statuslinjen\nStatuslinje"},
};

}  // namespace

std::string_view LoadString(int id) {
    for (const auto& entry : kStrings) {
        if (entry.id == id) {
            return entry.text;
        }
    }
    return {};
}

std::string_view PromptOf(int id) {
    const std::string_view text = LoadString(id);
    return text.substr(0, text.find('\n'));
}

std::string_view TooltipOf(int id) {
    const std::string_view text = LoadString(id);
    const auto feed = text.find('\n');
    return feed == std::string_view::npos ? std::string_view() : text.substr(feed + 1);
}

}  // namespace torvanik
