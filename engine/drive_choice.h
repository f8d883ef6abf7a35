#pragma once

#include <array>
#include <cstddef>

// The drive the user chose, kept between runs in the settings file.
namespace torvanik {

inline constexpr std::array<const char*, 18> DriveRoots = {
    "A:", "B:", "C:", "D:", "E:", "F:", "G:", "H:", "I:",
    "J:", "K:", "L:", "M:", "N:", "O:", "P:", "Q:", "R:",
};
inline constexpr int kSelectableDrives = 14;  // "A:" to "N:"

struct DriveChoice {
    int driveIndex = 0;
    int spareSetting = 0;  // the settings file's second byte, kept as it was read

    const char* Root() const { return DriveRoots[static_cast<std::size_t>(driveIndex)]; }
};

}  // namespace torvanik
