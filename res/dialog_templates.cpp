#include "res/dialog_templates.h"

#include <array>

#include "res/dialog_ids.h"

// Texts are UTF-8; non-ASCII letters are written as escapes (U+00E5 is "\xC3\xA5",
// U+00F8 is "\xC3\xB8", U+00A9 is "\xC2\xA9").
namespace torvanik {
namespace {

using enum ControlKind;

// The icon, the version line and OK, then who holds the rights and the note on free use;
// the box is no taller than these need.
constexpr std::array kAboutControls = {
    ControlTemplate{IDC_STATIC, kApplicationIcon, nullptr, 11, 17, 20, 20, false, false},
    ControlTemplate{IDC_STATIC, kLeftText, "Torvanik Versjon 1.04", 55, 13, 119, 8, false, false},
    ControlTemplate{IDOK, kPushButton, "OK", 194, 7, 32, 14, true, true},
    ControlTemplate{IDC_STATIC, kLeftText, "\xC2\xA9 Torvanik. Alle rettigheter forbeholdt.", 55,
                    25, 170, 8, false, false},
    ControlTemplate{IDC_STATIC, kLeftText, "Programmet er gratis og kan brukes fritt.", 55, 37, 170,
                    8, false, false},
};

constexpr std::array kSelectDriveControls = {
    ControlTemplate{IDOK, kPushButton, "OK", 172, 7, 36, 14, true, true},
    ControlTemplate{IDC_STATIC, kGroupBox, "Diskett", 22, 28, 50, 76, false, false},
    ControlTemplate{IDC_DRIVE_A, kPushButton, "A:", 37, 49, 20, 11, false, true},
    ControlTemplate{IDC_STATIC, kLeftText, "Velg diskettstasjon", 18, 7, 64, 8, false, false},
    ControlTemplate{IDC_DRIVE_B, kPushButton, "B:", 37, 71, 20, 11, false, true},
    ControlTemplate{IDC_STATIC, kGroupBox,
                    "Alternativt overf\xC3\xB8"
                    "ringsmedium",
                    82, 29, 114, 75, false, false},
    ControlTemplate{IDC_STATIC, kLeftText, "A:  er standard.", 18, 15, 52, 8, false, false},
    ControlTemplate{IDC_DRIVE_C, kPushButton, "C:", 92, 42, 20, 11, false, true},
    ControlTemplate{IDC_DRIVE_D, kPushButton, "D:", 92, 56, 20, 11, false, true},
    ControlTemplate{IDC_DRIVE_E, kPushButton, "E:", 92, 70, 20, 11, false, true},
    ControlTemplate{IDC_DRIVE_F, kPushButton, "F:", 92, 84, 20, 11, false, true},
    ControlTemplate{IDC_DRIVE_G, kPushButton, "G:", 128, 42, 20, 11, false, true},
    ControlTemplate{IDC_DRIVE_H, kPushButton, "H:", 128, 56, 20, 11, false, true},
    ControlTemplate{IDC_DRIVE_I, kPushButton, "I:", 128, 70, 20, 11, false, true},
    ControlTemplate{IDC_DRIVE_J, kPushButton, "J:", 128, 84, 20, 11, false, true},
    ControlTemplate{IDC_DRIVE_K, kPushButton, "K:", 163, 42, 20, 11, false, true},
    ControlTemplate{IDC_DRIVE_L, kPushButton, "L:", 163, 56, 20, 11, false, true},
    ControlTemplate{IDC_DRIVE_M, kPushButton, "M:", 163, 70, 20, 11, false, true},
    ControlTemplate{IDC_DRIVE_N, kPushButton, "N:", 163, 84, 20, 11, false, true},
};

constexpr std::array kAbortConfirmControls = {
    ControlTemplate{IDOK, kPushButton, "JA", 16, 35, 50, 14, true, true},
    ControlTemplate{IDCANCEL, kPushButton, "NEI", 81, 35, 50, 14, false, true},
    ControlTemplate{IDC_STATIC, kLeftText,
                    "Avbryte p\xC3\xA5"
                    "begynt kopiering?",
                    25, 13, 91, 8, false, false},
};

// In the style of the abort question.
constexpr std::array kResumeConfirmControls = {
    ControlTemplate{IDOK, kPushButton, "JA", 30, 47, 50, 14, true, true},
    ControlTemplate{IDCANCEL, kPushButton, "NEI", 95, 47, 50, 14, false, true},
    ControlTemplate{IDC_STATIC, kLeftText, "Overf\xC3\xB8ringen ble avbrutt etter diskett %1.", 18,
                    13, 140, 8, false, false},
    ControlTemplate{IDC_STATIC, kLeftText, "Fortsette fra diskett %2?", 18, 25, 140, 8, false,
                    false},
};

// In the style of the resume question.
constexpr std::array kTakeFromParityControls = {
    ControlTemplate{IDOK, kPushButton, "JA", 40, 47, 50, 14, true, true},
    ControlTemplate{IDCANCEL, kPushButton, "NEI", 105, 47, 50, 14, false, true},
    ControlTemplate{IDC_STATIC, kLeftText, "Diskett nummer %1 kan ikke leses.", 18, 13, 160, 8,
                    false, false},
    ControlTemplate{IDC_STATIC, kLeftText, "Vil du ta den fra paritetsdisken?", 18, 25, 160, 8,
                    false, false},
};

}  // namespace

const DialogTemplate AboutTemplate = {
    IDD_ABOUT, 233, 56, "MS Sans Serif", 8, "Om Torvanik", kAboutControls,
};

const DialogTemplate SelectDriveTemplate = {
    IDD_SELECT_DRIVE, 215, 126, "Arial", 10, "", kSelectDriveControls,
};

const DialogTemplate ResumeConfirmTemplate = {
    IDD_RESUME_CONFIRM, 175, 74, "MS Sans Serif", 8, "Avbrutt kopiering", kResumeConfirmControls,
};

const DialogTemplate TakeFromParityTemplate = {
    IDD_TAKE_FROM_PARITY, 195, 74, "MS Sans Serif", 8, "Diskett mangler", kTakeFromParityControls,
};

const DialogTemplate AbortConfirmTemplate = {
    IDD_ABORT_CONFIRM, 146, 74, "MS Sans Serif", 8, "Kopiering ikke ferdig!", kAbortConfirmControls,
};

}  // namespace torvanik
