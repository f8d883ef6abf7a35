#pragma once

#include <span>

// A dialog as data: its frame and its controls, positioned in dialog units of the
// template's own font. Texts are UTF-8.
namespace torvanik {

enum class ControlKind {
    kPushButton,       // text centred both ways
    kGroupBox,         // caption centred
    kLeftText,         // static text, left-aligned
    kApplicationIcon,  // the application icon, IDR_MAINFRAME
};

// The id of a control the program never addresses.
inline constexpr int IDC_STATIC = -1;

struct ControlTemplate {
    int id;
    ControlKind kind;
    const char* text;
    int x;
    int y;
    int width;
    int height;
    bool isDefault;
    bool tabStop;
};

struct DialogTemplate {
    int id;
    int width;
    int height;
    const char* fontFace;
    int fontPoints;
    const char* caption;
    std::span<const ControlTemplate> controls;  // in tab order
};

}  // namespace torvanik
