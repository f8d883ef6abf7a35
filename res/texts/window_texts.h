#pragma once

#include <array>

// What the window program says in words of its own (UTF-8): the pickers' titles and
// questions, the file types they offer, the lock keys' panes, and what it prints on
// standard error. Its menu, dialogs and status bar prompts are in res/'s tables (UTF-8
// too), each text beside its place.
namespace torvanik {

// The pickers' titles.
inline constexpr const char* kSourcePickerTitle =
    "Velg ut filen skal kopieres / splittes på disketter.";
inline constexpr const char* kDestinationPickerTitle =
    "Destinasjon.  Velg hvor filen skal lagres / forenes.";
inline constexpr const char* kCleanUpPickerTitle =
    "Rydde:    Velg fil med høyre musknapp og klikk \"Slett\" !";

// The clean-up picker's question before several files go (%1: how many), and its report
// when some could not (%1: their names, a line each).
inline constexpr const char* kDeleteSeveralQuestion =
    "Er du sikker på at du vil slette de %1 valgte filene?";
inline constexpr const char* kNotDeleted = "Kunne ikke slette:\n%1";

// The file types the pickers offer, each "description|pattern|": the usage hint, "Alle
// filer" and the 12 file types.
inline constexpr std::array<const char*, 14> FileTypeFilters = {
    "Man kan ramme inn flere filer samtidig |*.*|",
    "Alle filer |*.*|",
    "Video for Windows (.AVI) |*.AVI|",
    "Alias (.ALS) |*.ALS|",
    "Windows bitmap (.BMP)|*.BMP|",
    "Cineon (.CIN)|*.CIN|",
    "FLIC (.FLC)|*.FLC|",
    "Framestore (.FS)|*.FS|",
    "Amiga IFF (.IFF)|*.IFF|",
    "JPEG (.JPG)|*.JPG|",
    "MPEG (.MPG)|*.MPG|",
    "Avid OMF (.OMF)|*.OMF|",
    "PCX (.PCX)|*.PCX|",
    "PICT (.PIC)|*.PIC|",
};

// The status bar's panes while Caps Lock, Num Lock and Scroll Lock are on.
inline constexpr std::array<const char*, 3> kLockKeyLabels = {"CAP", "NUM", "SCRL"};

// On standard error: the usage, a refusal, and why no window could be made.
inline constexpr const char* kWindowUsage =
    "Bruk: torvanik [--drive X:=MÅL[,capacity=N]]... [--no-eject]\n"
    "                [--no-verify] [--no-sums]\n"
    "\n"
    "Deler en stor fil på flere disketter og setter den sammen igjen.\n"
    "\n"
    "  --drive X:=MÅL[,capacity=N]  stasjon X: er MÅL (kan gjentas); med\n"
    "                               capacity=N har den høyst N byte ledig\n"
    "  --no-eject                   løs ikke ut disken etter hvert trinn\n"
    "  --no-verify                  les ikke hver diskett tilbake og sammenlign\n"
    "                               etter kopieringen\n"
    "  --no-sums                    skriv ingen kontrollfil på diskettene, og\n"
    "                               kontroller ikke delene mot den\n"
    "  -h, --help                   viser denne teksten\n"
    "  -V, --version                viser versjonen\n"
    "\n"
    "Et valg med verdi kan skrives --valg=VERDI eller --valg VERDI.\n"
    "\n"
    "MÅL er ett av:\n"
    "  media          disken som er satt inn: den ene som skrivebordet har montert\n"
    "                 i /run/media/BRUKER eller /media/BRUKER\n"
    "  media:MAPPE    den ene disken som er montert i MAPPE\n"
    "  device:ENHET   blokkenheten ENHET (f.eks. /dev/disk/by-id/usb-...), der\n"
    "                 den er montert\n"
    "  images:MAPPE   en stabel diskettbilder i MAPPE: disk 1 er DSKA0000.IMG,\n"
    "                 disk 2 DSKA0001.IMG osv.; nye bilder lages med\n"
    "                 ,format=F: 360k, 720k, 1.2m, 1.44m (standard) eller 2.88m\n"
    "  MAPPE          en vanlig mappe (til prøving og skript)\n"
    "\n"
    "Etter hvert trinn løses disken ut gjennom UDisks2 (avmonteres og, der\n"
    "det går, slås av) for media og device:, aldri for en mappe eller\n"
    "et diskettbilde.\n"
    "\n"
    "Uten --drive gjelder filen ~/.config/torvanik/drives (linjer som \"A: media\"\n"
    "og \"eject no\"), ellers A: = media og B: = den andre flyttbare disken.\n";
inline constexpr const char* kUnknownArgument = "ukjent argument: ";
inline constexpr const char* kNoDisplay =
    "torvanik: finner ingen skjerm å vise vinduet på "
    "(verken DISPLAY eller WAYLAND_DISPLAY peker på en som svarer).\n";
inline constexpr const char* kWindowNotCreated = "torvanik: vinduet kan ikke lages: %s.\n";
inline constexpr const char* kMenuCommandMissing = "menyen viser til en kommando som ikke finnes";
inline constexpr const char* kToolBarImageUnreadable = "verktøylinjens bilde kan ikke leses";
inline constexpr const char* kStatusBarNotMade = "statuslinjen kan ikke lages";

}  // namespace torvanik
