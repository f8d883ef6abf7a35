#include "res/texts/reason_texts.h"

#include <array>
#include <utility>

namespace torvanik {
namespace {

constexpr std::array<std::pair<Reason, const char*>, 76> kReasonTexts = {{
    {Reason::kNone, ""},
    {Reason::kDiskFull, "Ingen plass igjen på disketten"},
    {Reason::kReadOnly, "Disketten er skrivebeskyttet"},
    {Reason::kInUse, "Stasjonen brukes av et annet program"},
    {Reason::kNoDrive, "Stasjonen er ikke satt opp"},
    {Reason::kNoDisk, "Finner ikke disketten i stasjonen"},
    {Reason::kSourceNotRegular, "Kildefilen er ikke en vanlig fil"},
    {Reason::kSourceUnreadable, "Kildefilen kan ikke åpnes"},
    {Reason::kSourceNameUnfit, "Kildefilens navn kan ikke brukes for et diskettsett"},
    {Reason::kSourceOnDisk, "Kildefilen er en av filene som skal skrives på disketten"},
    {Reason::kSourceRead, "Kildefilen kan ikke leses"},
    {Reason::kSourcePosition, "Finner ikke tilbake til riktig sted i kildefilen"},
    {Reason::kSourceChanged, "Kildefilen er endret siden kopieringen begynte"},
    {Reason::kSourceShorter, "Kildefilen er kortere enn den var da kopieringen begynte"},
    {Reason::kSourceLonger, "Kildefilen er lengre enn den var da kopieringen begynte"},
    {Reason::kSourceWithoutLength,
     "Kildefilen har ingen fast lengde (den ligger i /proc, /sys eller et lignende filsystem)"},
    {Reason::kInfoFileMissing, "Finner ikke INFO.FIL på disketten"},
    {Reason::kInfoFileNotRegular, "INFO.FIL er ikke en vanlig fil"},
    {Reason::kInfoFileUnfit, "INFO.FIL er skadet eller hører ikke til et diskettsett"},
    {Reason::kInfoFileWrite, "INFO.FIL kan ikke skrives på disketten"},
    {Reason::kChunkMissing, "Finner ikke delfilen på disketten"},
    {Reason::kChunkNotRegular, "Delfilen på disketten er ikke en vanlig fil"},
    {Reason::kChunkCreate, "Delfilen kan ikke lages på disketten"},
    {Reason::kChunkWrite, "Skrivefeil på disketten"},
    {Reason::kChunkRead, "Lesefeil på disketten"},
    {Reason::kDiskChanged, "Disketten ble tatt ut eller byttet under kopieringen"},
    {Reason::kDiskRemoved, "Disketten ble tatt ut under kopieringen"},
    {Reason::kForeignTemporary,
     "Noe som ikke er programmets eget, står der programmet skriver en fil (.~torvanik.*)"},
    {Reason::kDiskGaveBackOtherData,
     "Disketten ga tilbake andre data enn det som ble skrevet: bytt diskett"},
    {Reason::kDiskNotReadBack, "Disketten kunne ikke leses tilbake etter skrivingen: bytt diskett"},
    {Reason::kDestinationOfSet, "Målfilen er en av filene i diskettsettet"},
    {Reason::kDestinationCreate, "Målfilen kan ikke lages"},
    {Reason::kDestinationWrite, "Skrivefeil i målfilen"},
    {Reason::kDestinationFull, "Ingen plass igjen til målfilen"},
    {Reason::kDestinationLength, "Målfilen har ikke lengden den skal ha"},
    {Reason::kDestinationChanged, "Målfilen er endret av et annet program siden forrige diskett"},
    {Reason::kDestinationReadOnly, "Mappen til målfilen er skrivebeskyttet"},
    {Reason::kDestinationGaveBackOtherData,
     "Målfilen ga tilbake andre data enn det som ble skrevet"},
    {Reason::kDestinationNotReadBack, "Målfilen kunne ikke leses tilbake etter skrivingen"},
    {Reason::kUndoFailed, "Forsøket kunne ikke gjøres helt om"},
    {Reason::kRecordDamaged, "Opptegnelsen av den avbrutte overføringen er skadet"},
    {Reason::kRecordOfOtherSet, "Diskett 1 hører til et annet sett enn den avbrutte overføringen"},
    {Reason::kRecordDestinationChanged,
     "Målfilen er ikke lenger slik den avbrutte overføringen etterlot den"},
    {Reason::kRecordNotSaved,
     "Fremdriften kunne ikke lagres: etter et avbrudd må overføringen begynne forfra"},
    {Reason::kInterrupted, "Avbrutt"},
    {Reason::kCheckFileWrite, "Kontrollfilen kan ikke skrives på disketten"},
    {Reason::kCheckFileRead, "Kontrollfilen på disketten kan ikke leses"},
    {Reason::kChunkDamaged, "Disk %d er skadet: delen stemmer ikke med kontrollsummen"},
    {Reason::kInfoFileDamaged, "Disk 1 er skadet: INFO.FIL stemmer ikke med kontrollsummen"},
    {Reason::kOtherSet, "Disken hører til et annet sett"},
    {Reason::kNoCheckFiles, "Settet har ingen kontrollfiler: delene settes sammen uten kontroll"},
    {Reason::kCheckFileDamaged, "Disk %d er skadet: kontrollfilen har en linje som ikke kan leses"},
    {Reason::kCheckFileTwoDigests,
     "Disk %d er skadet: kontrollfilen har to ulike kontrollsummer for samme fil"},
    {Reason::kCheckFileMissing, "Disk %d er skadet: kontrollfilen mangler"},
    {Reason::kCheckFileWithoutChunk, "Disk %d er skadet: kontrollfilen har ingen linje for delen"},
    {Reason::kCheckFileWithoutInfoFile,
     "Disk %d er skadet: kontrollfilen har ingen linje for INFO.FIL"},
    {Reason::kCheckFileOnlyHere,
     "Disk %d har en kontrollfil, men disk 1 har ingen: settet kan ikke kontrolleres"},
    {Reason::kChunkTooLong,
     "Delen på disk %d er lengre enn resten av filen: disken hører til et annet sett eller er "
     "skadet"},
    {Reason::kRecordNotRegular,
     "Opptegnelsen av den avbrutte overføringen er ikke en vanlig fil og er lagt til side"},
    {Reason::kRecordTooLarge,
     "Opptegnelsen av den avbrutte overføringen er for stor og er lagt til side"},
    {Reason::kRecordOfOtherUser,
     "Opptegnelsen av den avbrutte overføringen tilhører en annen bruker og er lagt til side"},
    {Reason::kStateFolderUnsafe,
     "Mappen for opptegnelser er ikke brukerens egen mappe: den er lagt til side"},
    {Reason::kRecordDisagreesWithDisk,
     "Disk %d stemmer ikke med opptegnelsen av den avbrutte overføringen"},
    {Reason::kParityDamaged, "Paritetsfilen er skadet"},
    {Reason::kParityOfAnotherSet, "Paritetsfilen hører til et annet sett"},
    {Reason::kParityWithoutCheckFiles, "Et sett med paritetsdisketter må ha kontrollfiler"},
    {Reason::kNoRoomForSlice,
     "Disketten har ikke plass til en hel del av settet: den trenger %d kB ledig"},
    {Reason::kParityScratch, "Paritetsdataene kan ikke mellomlagres på harddisken"},
    {Reason::kParityWrite, "Paritetsfilene kan ikke skrives på disketten"},
    {Reason::kTooManyMissing, "For mange disketter mangler: %d, paritetsdiskene dekker %d"},
    {Reason::kNotParityDisk, "Disketten er ikke en paritetsdisk"},
    {Reason::kParityDiskDamaged,
     "Paritetsdisken er skadet: filene stemmer ikke med kontrollsummen"},
    {Reason::kParityAlreadyRead, "Denne paritetsdisken er lest allerede"},
    {Reason::kRebuildUnsolvable,
     "Paritetsdiskene som er lest, kan ikke gjenoppbygge det som mangler"},
    {Reason::kRebuiltDamaged,
     "Delen på disk %d ble ikke riktig gjenoppbygd: den stemmer ikke med paritetsdiskene"},
    {Reason::kNoSuchDisk, "Settet har ingen datadisk nummer %d"},
}};

}  // namespace

std::string_view ReasonText(Reason reason) {
    for (const auto& [key, text] : kReasonTexts) {
        if (key == reason) {
            return text;
        }
    }
    return "";
}

}  // namespace torvanik
