#pragma once

// The pickers' titles, Windows-1252.
namespace torvanik {

inline constexpr const char* kSourcePickerTitle =
    "Velg ut filen skal kopieres / splittes p\xE5 disketter.";
inline constexpr const char* kDestinationPickerTitle =
    "Destinasjon.  Velg hvor filen skal lagres / forenes.";
inline constexpr const char* kCleanUpPickerTitle =
    "Rydde:    Velg fil med h\xF8yre musknapp og klikk \"Slett\" !";

}  // namespace torvanik
