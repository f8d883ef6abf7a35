#pragma once

#include <span>

// The main window's menu. Texts are UTF-8; "&" marks the mnemonic. An item whose command
// has a key (res/verbs.h) shows the key's name right-aligned.
namespace torvanik {

struct MenuItem {
    const char* label;  // nullptr for a separator
    int command;        // ID_SEPARATOR for a separator
};

struct MenuPopup {
    const char* label;
    std::span<const MenuItem> items;
};

std::span<const MenuPopup> MainMenu();

}  // namespace torvanik
