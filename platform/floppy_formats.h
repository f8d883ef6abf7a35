#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The floppies an images: drive makes, each named as `format=` takes it.
namespace torvanik {

struct FloppyFormat {
    std::string_view name;
    int kilobytes;  // the image's size in KiB, as `mformat -f` takes it
    // What a freshly formatted image has free for files, and its allocation unit.
    std::uint64_t freeWhenNew;
    std::uint64_t clusterBytes;

    std::uint64_t ImageBytes() const { return static_cast<std::uint64_t>(kilobytes) * 1024; }
};

inline constexpr FloppyFormat kFloppyFormats[] = {
    {"360k", 360, 362'496, 1024},     {"720k", 720, 730'112, 1024},
    {"1.2m", 1200, 1'213'952, 512},   {"1.44m", 1440, 1'457'664, 512},
    {"2.88m", 2880, 2'931'712, 1024},
};
inline constexpr const FloppyFormat* kDefaultFloppyFormat = &kFloppyFormats[3];

// The format of that name; none for another word.
const FloppyFormat* FloppyFormatNamed(std::string_view name);

// The format whose images are `bytes` long; none for an image of another size.
const FloppyFormat* FloppyFormatOfSize(std::uint64_t bytes);

// "360k, 720k, 1.2m, 1.44m eller 2.88m".
std::string FloppyFormatNames();

}  // namespace torvanik
