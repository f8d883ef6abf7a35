#pragma once

#include <string_view>

// Every text of the terminal front end that is its own (the notices are the window's, in
// painted_texts.h), in UTF-8. "%s" stands for the argument a text is about.
namespace torvanik::cli {

inline constexpr std::string_view kProgramName = "torvanik-cli";

inline constexpr std::string_view kUsage =
    "Bruk: torvanik-cli [VALG]... [--parity[=N]] split FIL\n"
    "      torvanik-cli [VALG]... [--overwrite] [--missing LISTE] join DESTINASJON\n"
    "      torvanik-cli [VALG]... check\n"
    "      torvanik-cli [VALG]... rebuild DISK\n"
    "      torvanik-cli [--drive X:=MÅL]... drives\n"
    "      torvanik-cli -h | --help | -V | --version\n";

inline constexpr std::string_view kHelp =
    "Deler en stor fil over flere disketter og setter den sammen igjen.\n"
    "\n"
    "Kommandoer:\n"
    "  split FIL          kopierer FIL UT til disketter: disk 1 får INFO.FIL og\n"
    "                     første del, hver ny disk så mye av resten som det er plass til\n"
    "  join DESTINASJON   kopierer INN fra disketter og setter delene sammen til\n"
    "                     DESTINASJON; disk 1 må stå i stasjonen\n"
    "  check              kontrollerer hver diskett i et sett mot kontrollfilen på den,\n"
    "                     uten å skrive noe; disk 1 må stå i stasjonen; deretter\n"
    "                     paritetsdiskene, om settet har noen\n"
    "  rebuild DISK       lager datadisk DISK på nytt fra de andre diskene og\n"
    "                     paritetsdiskene, med nøyaktig de filene den hadde\n"
    "  drives             viser hver stasjon, hva den står for og hva den finner nå\n"
    "\n"
    "Valg:\n"
    "  --drive X:=MÅL[,capacity=N][,format=F]\n"
    "                     stasjon X: er MÅL; med capacity=N har disken N byte plass\n"
    "                     (kan gis flere ganger). MÅL er ett av:\n"
    "                       media         disken som er satt inn: den ene som\n"
    "                                     skrivebordet har montert i /run/media/BRUKER\n"
    "                                     eller /media/BRUKER\n"
    "                       media:MAPPE   den ene disken som er montert i MAPPE\n"
    "                       device:ENHET  blokkenheten ENHET, der den er montert\n"
    "                       images:MAPPE  en stabel diskettbilder i MAPPE: disk 1 er\n"
    "                                     DSKA0000.IMG, disk 2 DSKA0001.IMG osv.;\n"
    "                                     nye bilder lages med format=F: 360k,\n"
    "                                     720k, 1.2m, 1.44m (standard) eller 2.88m\n"
    "                       MAPPE         en vanlig mappe (til prøving og skript)\n"
    "                     Uten --drive: ~/.config/torvanik/drives, ellers A: = media og\n"
    "                     B: = den andre flyttbare disken\n"
    "  --select X:        bruk stasjon X: (A: til N:) denne gangen; innstillingen\n"
    "                     lagres ikke\n"
    "  --no-eject         løs ikke ut disken etter hvert trinn (ellers avmonteres\n"
    "                     media- og device:-disker og, der det går, slås av\n"
    "                     gjennom UDisks2)\n"
    "  --no-verify        ikke les hver diskett tilbake og sammenlign etter kopieringen\n"
    "  --no-sums          skriv ingen kontrollfil (TVxxxxxx.XXH) på diskettene, og\n"
    "                     kontroller ikke delene mot den ved join\n"
    "  --parity[=N]       skriv N paritetsdisketter (1 til 9, uten N én) etter den\n"
    "                     siste disketten med data (bare split): settet tåler da å\n"
    "                     miste N disketter, og par2 kan reparere det\n"
    "  --overwrite        skriv over en DESTINASJON som finnes fra før\n"
    "  --missing LISTE    join går videre uten diskene i LISTE (disknumre skilt med\n"
    "                     komma, som 2,5) og tar dem fra paritetsdiskene\n"
    "  --batch            spør ikke ved [KLAR]: hver disk brukes slik den står i\n"
    "                     stasjonen (til skript)\n"
    "  --auto             gå videre så snart en annen disk er montert i stasjonen,\n"
    "                     uten linjeskift (linjeskift og q virker fortsatt); bare\n"
    "                     med media- og device:-stasjoner\n"
    "  --resume           fortsett en overføring som ble avbrutt, fra disken der den\n"
    "                     stoppet\n"
    "  -h, --help         vis denne hjelpen\n"
    "  -V, --version      vis versjonen\n"
    "\n"
    "Et valg med verdi kan skrives --valg=VERDI eller --valg VERDI; -- avslutter\n"
    "valgene.\n"
    "\n"
    "Ved [KLAR] setter du inn disketten det bes om og trykker linjeskift; q eller\n"
    "slutt på inndata avbryter. Delene som er skrevet, blir liggende. s går videre\n"
    "uten disken: join ber da om neste paritetsdisk og gjenoppbygger det som\n"
    "mangler til slutt, check regner disken som manglende.\n"
    "\n"
    "Når standard inndata ikke er en terminal, eller med --batch, avsluttes\n"
    "kjøringen når et trinn feiler likt tre ganger på rad uten at disken endres;\n"
    "med --batch går join i stedet videre uten disken.\n"
    "\n"
    "Avslutningsstatus: 0 fullført; 1 avbrutt (q, slutt på inndata, et signal,\n"
    "samme feil tre ganger uten tilsyn, eller utdata som ikke kunne skrives);\n"
    "2 feil bruk; 3 kilden eller disk 1 kunne ikke leses; 4 (check) ikke alle\n"
    "disketter er i orden; 5 (join) flere disketter mangler enn paritetsdiskene\n"
    "dekker.\n";

inline constexpr std::string_view kVersionFormat = "torvanik-cli %s\n";

// Refusals, printed after the program's name and before the usage (the options' own
// are in res/texts/option_texts.h).
inline constexpr std::string_view kBadSelect = "ugyldig stasjon: %s (velg A: til N:)";
inline constexpr std::string_view kMissingVerb =
    "mangler kommando (split, join, check, rebuild eller drives)";
inline constexpr std::string_view kUnknownVerb = "ukjent kommando: %s";
inline constexpr std::string_view kMissingFile = "%s mangler filnavn";
inline constexpr std::string_view kTooManyArguments = "for mange argumenter: %s";
inline constexpr std::string_view kOverwriteOnlyJoin = "--overwrite gjelder bare join";
inline constexpr std::string_view kMissingOnlyJoin = "--missing gjelder bare join";
inline constexpr std::string_view kBadMissing =
    "ugyldig liste over disketter som mangler: %s (disknumre skilt med komma, som 2,5)";
inline constexpr std::string_view kMissingDisk = "%s mangler disknummer";
inline constexpr std::string_view kBadRebuildDisk = "ugyldig disknummer: %s";
inline constexpr std::string_view kParityOnlySplit = "--parity gjelder bare split";
inline constexpr std::string_view kDestinationExists =
    "%s finnes fra før; bruk --overwrite for å skrive over den";
inline constexpr std::string_view kAutoNeedsMountedDrive =
    "--auto gjelder bare en stasjon der disken monteres (media eller device:), ikke %s";

// A line of the drives verb: "A: media → /media/ola/FLOPPY, 1 423 kB ledig".
inline constexpr std::string_view kLeadsTo = " → ";

// A stopped transfer of the same file: how to go on with it, that it goes on, and why not.
inline constexpr std::string_view kCanResume =
    "Overføringen ble avbrutt etter diskett %s. Denne kjøringen begynner fra diskett 1; "
    "til første diskett her er ferdig, kan den avbrutte fortsatt fortsettes med --resume.\n\n";
inline constexpr std::string_view kResuming = "Fortsetter fra diskett %s\n\n";
inline constexpr std::string_view kNothingToResume =
    "Finner ingen avbrutt overføring av %s å fortsette.\n";

// The prompt while the next disk is awaited.
inline constexpr std::string_view kKlarPrompt = "[KLAR] ";
inline constexpr std::string_view kStopAnswer = "q";
// Typed at [KLAR]: the join goes on without this disk and takes it from the parity disks.
inline constexpr std::string_view kSkipAnswer = "s";

// The prompt with --auto, where the next disk is taken as soon as it is mounted.
inline constexpr std::string_view kAutoPrompt =
    "Sett inn diskett nummer %s (fortsetter når den er satt inn) ";
inline constexpr std::string_view kAutoParityPrompt =
    "Sett inn paritetsdisk nummer %s (fortsetter når den er satt inn) ";

// Said on standard error when an unattended run ends because nothing changes.
inline constexpr std::string_view kSameFailureAgain =
    "samme feil tre ganger på rad uten at disken ble byttet";
// Said on standard error when a join goes on without a disk for the same reason.
inline constexpr std::string_view kSkippedAfterFailures =
    "samme feil tre ganger på rad uten at disken ble byttet; fortsetter uten disken";
// Said on standard error when standard output could not take what was printed.
inline constexpr std::string_view kOutputFailed = "kunne ikke skrive til standard utdata";

// Said when a signal stopped the transfer: the disks finished before it.
inline constexpr std::string_view kStoppedWithDisks = "Avbrutt. Ferdige disketter: %s\n";
inline constexpr std::string_view kStoppedWithoutDisks = "Avbrutt. Ingen disketter er ferdige.\n";

// What check found on each disk, and of the whole set.
inline constexpr std::string_view kDiskGood = "Disk %s: i orden\n";
inline constexpr std::string_view kDiskDamaged =
    "Disk %s: skadet, delen stemmer ikke med kontrollsummen\n";
inline constexpr std::string_view kInfoFileDamaged =
    "Disk %s: skadet, INFO.FIL stemmer ikke med kontrollsummen\n";
inline constexpr std::string_view kDiskOfOtherSet = "Disk %s: hører til et annet sett\n";
inline constexpr std::string_view kDiskWithoutCheckFile = "Disk %s: har ingen kontrollfil\n";
inline constexpr std::string_view kDiskUnreadable = "Disk %s: kan ikke leses: ";
inline constexpr std::string_view kSetGood = "Alle disketter i settet er i orden.\n";
inline constexpr std::string_view kSetNotGood = "Ikke alle disketter i settet er i orden.\n";
inline constexpr std::string_view kSetWithoutCheckFiles = "Settet har ingen kontrollfiler.\n";
inline constexpr std::string_view kDiskMissing = "Disk %s: mangler\n";
inline constexpr std::string_view kCannotSkipDiskOne =
    "Disk 1 kan ikke hoppes over: lengden på delene er ikke kjent uten den\n";
inline constexpr std::string_view kParityDiskGood = "Paritetsdisk %s: i orden\n";
inline constexpr std::string_view kParityDiskDamaged = "Paritetsdisk %s: skadet: ";
inline constexpr std::string_view kParityDiskUnreadable = "Paritetsdisk %s: kan ikke leses: ";
inline constexpr std::string_view kParityDiskMissing = "Paritetsdisk %s: mangler\n";
inline constexpr std::string_view kNoParityDisk =
    "Ingen paritetsdisk i stasjonen (som paritetsdisk %s)\n";
inline constexpr std::string_view kParityRebuilds =
    "Disk %s kan gjenoppbygges fra paritetsdiskene (torvanik-cli rebuild %s).\n";
inline constexpr std::string_view kParityCannotRebuild =
    "Disk %s kan ikke gjenoppbygges: flere disketter mangler eller er skadet enn "
    "paritetsdiskene dekker.\n";

// The progress line: "disk [###...] fil [#....]  1,0 MB av 2,5 MB  3,2 MB/s  0:01 igjen".
inline constexpr std::string_view kDiskBarLabel = "disk";
inline constexpr std::string_view kCheckLabel = "Kontrollerer";
inline constexpr std::string_view kFileBarLabel = "fil";
inline constexpr std::string_view kOf = "av";
inline constexpr std::string_view kPerSecond = "/s";
inline constexpr std::string_view kTimeLeft = "igjen";
inline constexpr std::string_view kUnknownTime = "--:--";
inline constexpr std::string_view kByteUnits[] = {"B", "kB", "MB", "GB", "TB"};
inline constexpr char kDecimalComma = ',';

}  // namespace torvanik::cli
