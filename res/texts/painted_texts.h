#pragma once

#include <array>
#include <string_view>

// The texts painted on the window's picture (UTF-8). The canvas gets them as Windows-1252,
// made when the program is built; the screen pairs each entry with the corner it is
// painted at.
namespace torvanik {

// The lines of the notice box; a notice is a run of consecutive entries. The terminal
// prints them too.
inline constexpr std::array<std::string_view, 28> kNoticeTexts = {
    "Sett inn diskett nummer",
    "og klikk 'KLAR' på nytt!",
    "Kopiering UT til disketter fullført.",
    "Sett inn diskett nummer",
    "og klikk 'KLAR'!",
    "Disketten er full. Sett i en ny",
    "diskett, eller klikk 'RYDDE' for å",
    "slette eksisternde filer. (Se hjelp!) ",
    "Kopierer til diskett nummer",
    "Kopiering UT til diskett fullført.",
    "Finner ikke valgt destinasjon.",
    "Kopierer fra diskett nummer",
    "Kopiering INN fra disketter fullført.",
    "Kopiering INN fra diskett fullført.",
    "Klikk 'UT' for å kopiere til diskett",
    "og 'INN' for å kopierer fra diskett.",
    "Undersøker ledig plass på disketten.",
    "Sett inn diskett nummer  1",
    "og klikk 'INN' på nytt!",
    "Behold diskett nummer 1 i diskett-",
    "stasjonen og klikk 'KLAR'!",
    "Kopierer Torvanik.exe",
    "til diskett nummer 1.",
    "Sett inn paritetsdisk nummer",
    "og klikk 'KLAR'!",
    "Kopierer til paritetsdisk nummer",
    "Leser paritetsdisk nummer",
    "Gjenoppbygger det som mangler.",
};

// The progress panel's printf formats, in the order of the screen's PanelTextTable.
inline constexpr std::array<std::string_view, 4> kPanelFormats = {
    // Labels bar 0; %d: the disk's number.
    "Forløp diskett nr.  %d.",
    // %ld: the free kB; shown only when the free space is known.
    "Ledig diskplass  =  %ld  kB.",
    // Labels bar 1.
    "Totalt forløp.",
    // %ld: the file's length in whole kB, plus one.
    "Fillengde :   %ld  kB.",
};

// The fixed picture and the help box.
inline constexpr std::array<std::string_view, 22> kPictureTexts = {
    // The introduction, white with a shadow.
    "Spesialprogram for kopiering / splitting av lange filer som",
    "ikke får plass på én diskett. Ingen opsjoner er nødvendige",
    "men husk å nummerere diskettene i riktig rekkefølge!",
    " -  Se 'Hjelp' på menyen for flere opplysninger!",
    // About the program, orange with a shadow.
    "Torvanik deler en stor fil på flere disketter,",
    "og setter den sammen igjen. Se 'Info' i 'Hjelp'.",
    "Hver bit blir så stor som ledig plass",
    "på disketten, og filens datoer følger",
    "med når filen settes sammen på nytt.",
    // The label of the drive field, red.
    "Valgt overføringsmedium / disk :",
    // The help text, in the help box only.
    "Klikk 'UT' for å velge den filen som skal kopieres / splittes, og",
    "følg anvisningene. Bruk 'INN' når filen skal kopieres fra disketter ",
    "og forenes på harddisken. ( Til å velge destinasjon / mappe.)",
    "Diskett nr. 1 settes inn før man klikker 'INN'. Klikk 'KLAR' hver ",
    "gang ny diskett settes inn og programmet gir beskjed om dette! ",
    "Er disketten full, kan en velge 'RYDDE' for å skape ledig plass.",
    "Bruk høyre musknapp til å ramme inn de filene som skal fjernes",
    "(start nedenfra) og klikk på 'Slett'! Det er også mulig å slette",
    "filer enkeltvis ved å klikke på dem med den høyre knappen.",
    "Torvanik egner seg spesielt til store grafikkfiler, animasjoner mm.",
    // The mode labels.
    "UT",
    "INN",
};

}  // namespace torvanik
