#pragma once

#include <array>

#include "screen/text_line.h"

// The lines of the notice box; a notice is a run of consecutive entries.
namespace torvanik {

inline constexpr std::array<TextLine, 23> NoticeLines = {{
    {"Sett inn diskett nummer", 145, 100},
    {"og klikk 'KLAR' p\xE5 nytt!", 155, 125},
    {"Kopiering UT til disketter fullf\xF8rt.", 120, 110},
    {"Sett inn diskett nummer", 145, 100},
    {"og klikk 'KLAR'!", 185, 125},
    {"Disketten er full. Sett i en ny", 138, 95},
    {"diskett, eller klikk 'RYDDE' for \xE5", 123, 115},
    {"slette eksisternde filer. (Se hjelp!) ", 120, 135},
    {"Kopierer til diskett nummer", 125, 110},
    {"Kopiering UT til diskett fullf\xF8rt.", 125, 110},
    {"Finner ikke valgt destinasjon.", 123, 115},
    {"Kopierer fra diskett nummer", 120, 110},
    {"Kopiering INN fra disketter fullf\xF8rt.", 117, 110},
    {"Kopiering INN fra diskett fullf\xF8rt.", 125, 110},
    {"Klikk 'UT' for \xE5 kopiere til diskett", 120, 100},
    {"og 'INN' for \xE5 kopierer fra diskett.", 120, 125},
    {"Unders\xF8ker ledig plass p\xE5 disketten.", 110, 110},
    {"Sett inn diskett nummer  1", 145, 100},
    {"og klikk 'INN' p\xE5 nytt!", 160, 125},
    {"Behold diskett nummer 1 i diskett-", 120, 100},
    {"stasjonen og klikk 'KLAR'!", 145, 125},
    {"Kopierer Torvanik.exe", 145, 100},
    {"til diskett nummer 1.", 160, 125},
}};

}  // namespace torvanik
