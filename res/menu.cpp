#include "res/menu.h"

#include <array>

#include "res/command_ids.h"

// U+00C5 is "\xC3\x85", U+00F8 is "\xC3\xB8".
namespace torvanik {
namespace {

constexpr std::array kFileItems = {
    MenuItem{"&\xC3\x85pne.", ID_SPLIT_OUT},   MenuItem{"&Velg destinasjon", ID_JOIN_IN},
    MenuItem{"&Paritetsdisk", ID_PARITY_DISK}, MenuItem{nullptr, ID_SEPARATOR},
    MenuItem{"A&vslutt", ID_APP_EXIT},
};

constexpr std::array kViewItems = {
    MenuItem{"&Verkt\xC3\xB8ylinje", ID_VIEW_TOOLBAR},
    MenuItem{"&Status Linje", ID_VIEW_STATUS_BAR},
};

constexpr std::array kHelpItems = {
    MenuItem{"&Info", ID_APP_ABOUT},
    MenuItem{"Hjelp", ID_SHOW_HELP},
};

constexpr std::array kMainMenu = {
    MenuPopup{"&Filmeny", kFileItems},
    MenuPopup{"&Vis", kViewItems},
    MenuPopup{"&Hjelp", kHelpItems},
};

}  // namespace

std::span<const MenuPopup> MainMenu() {
    return kMainMenu;
}

}  // namespace torvanik
