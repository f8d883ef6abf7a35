#include "platform/floppy_formats.h"

#include <iterator>

namespace torvanik {

const FloppyFormat* FloppyFormatNamed(std::string_view name) {
    for (const FloppyFormat& format : kFloppyFormats) {
        if (format.name == name) {
            return &format;
        }
    }
    return nullptr;
}

const FloppyFormat* FloppyFormatOfSize(std::uint64_t bytes) {
    for (const FloppyFormat& format : kFloppyFormats) {
        if (format.ImageBytes() == bytes) {
            return &format;
        }
    }
    return nullptr;
}

std::string FloppyFormatNames() {
    std::string names;
    const auto count = std::size(kFloppyFormats);
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            names += i + 1 == count ? " eller " : ", ";
        }
        names += kFloppyFormats[i].name;
    }
    return names;
}

}  // namespace torvanik
