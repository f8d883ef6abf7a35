#pragma once

#include <array>

#include "screen/text_line.h"

// The texts of the fixed picture and of the help box.
namespace torvanik {

inline constexpr std::array<TextLine, 22> ScreenLines = {{
    // Introduction, white with a shadow.
    {"Spesialprogram for kopiering / splitting av lange filer som", 20, 61},
    {"ikke f\xE5r plass p\xE5 \xE9n diskett. Ingen opsjoner er n\xF8"
     "dvendige",
     20, 81},
    {"men husk \xE5 nummerere diskettene i riktig rekkef\xF8lge!", 20, 101},
    {" -  Se 'Hjelp' p\xE5 menyen for flere opplysninger!", 20, 121},
    // About the program, orange with a shadow.
    {"Torvanik deler en stor fil p\xE5 flere disketter,", 60, 175},
    {"og setter den sammen igjen. Se 'Info' i 'Hjelp'.", 60, 195},
    {"Hver bit blir s\xE5 stor som ledig plass", 100, 225},
    {"p\xE5 disketten, og filens datoer f\xF8lger", 100, 245},
    {"med n\xE5r filen settes sammen p\xE5 nytt.", 100, 265},
    // Label of the drive field, red.
    {"Valgt overf\xF8ringsmedium / disk :", 160, 20},
    // Help text, in the help box only.
    {"Klikk 'UT' for \xE5 velge den filen som skal kopieres / splittes, og", 35, 70},
    {"f\xF8lg anvisningene. Bruk 'INN' n\xE5r filen skal kopieres fra disketter ", 35, 90},
    {"og forenes p\xE5 harddisken. ( Til \xE5 velge destinasjon / mappe.)", 35, 110},
    {"Diskett nr. 1 settes inn f\xF8r man klikker 'INN'. Klikk 'KLAR' hver ", 35, 130},
    {"gang ny diskett settes inn og programmet gir beskjed om dette! ", 35, 150},
    {"Er disketten full, kan en velge 'RYDDE' for \xE5 skape ledig plass.", 35, 180},
    {"Bruk h\xF8yre musknapp til \xE5 ramme inn de filene som skal fjernes", 35, 200},
    {"(start nedenfra) og klikk p\xE5 'Slett'! Det er ogs\xE5 mulig \xE5 slette", 35, 220},
    {"filer enkeltvis ved \xE5 klikke p\xE5 dem med den h\xF8yre knappen.", 35, 240},
    {"Torvanik egner seg spesielt til store grafikkfiler, animasjoner mm.", 35, 270},
    // Mode labels.
    {"UT", 30, 20},
    {"INN", 30, 20},
}};

// Runs of ScreenLines, first and last index.
inline constexpr int kFirstIntroductionLine = 0;
inline constexpr int kLastIntroductionLine = 3;
inline constexpr int kFirstAboutLine = 4;
inline constexpr int kLastAboutLine = 8;
inline constexpr int kDriveLabelLine = 9;
inline constexpr int kFirstHelpLine = 10;
inline constexpr int kLastHelpLine = 19;
inline constexpr int kSplitModeLabelLine = 20;
inline constexpr int kJoinModeLabelLine = 21;

}  // namespace torvanik
