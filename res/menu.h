#pragma once

#include <span>

// The main window's menu. Texts are UTF-8; "&" marks the mnemonic, and a tab is followed
// by a key name that the menu shows right-aligned (no key is bound to it).
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
