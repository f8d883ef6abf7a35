#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/floppy_formats.h"
#include "platform/result.h"

// One floppy image file, its FAT handled by mtools run as child processes.
// Every call that fails says why in words of its own (UTF-8): the catalogue's image reasons.
namespace torvanik {

inline constexpr std::uint64_t kFloppyImageBytes = 1'474'560;

// The regular files in an image's root (host names, UTF-8) and the room left.
struct ImageRoot {
    std::vector<std::string> files;
    std::uint64_t freeBytes = 0;  // whole free clusters, as the FAT says
    std::uint64_t clusterBytes = 512;
    std::uint64_t imageBytes = 0;  // as the boot sector says
};

// `why` and the image's file name, with a tool's first line of complaint when given.
std::string ImageReason(const char* why, const std::string& image, const std::string& detail = {});
// `why` and the image's file name, with the system's text of `error` unless it is 0.
std::string ImageReason(const char* why, const std::string& image, int error);

// The same, as the Why of a failed call: words of its own, which say the error already.
inline Why ImageWhy(const char* why, const std::string& image, const std::string& detail = {}) {
    return {.text = ImageReason(why, image, detail)};
}
inline Why ImageWhy(const char* why, const std::string& image, int error) {
    return {.text = ImageReason(why, image, error)};
}

// A freshly formatted FAT12 floppy of `format` at `image`, which must not exist yet.
Result<void> FormatFloppyImage(const std::string& image, const FloppyFormat& format);

// Checks that `image` is a whole FAT floppy and lists its root.
Result<ImageRoot> ReadImageRoot(const std::string& image);

// The regular files in the image's root, read from its root folder alone.
Result<std::vector<std::string>> ListImageRoot(const std::string& image);

// Bytes the files of `root` take in the image, in whole clusters.
Result<std::uint64_t> ReadRootUse(const std::string& image, const ImageRoot& root);

// Copies the files `names` of the image's root into `folder`, times kept.
Result<void> CopyOutOfImage(const std::string& image, const std::vector<std::string>& names,
                            const std::string& folder);

// Copies the host files `paths` into the image's root under their own names (long names
// where 8.3 can't hold them), times kept, replacing files of the same name.
Result<void> CopyIntoImage(const std::string& image, const std::vector<std::string>& paths);

Result<void> DeleteFromImage(const std::string& image, const std::vector<std::string>& names);

}  // namespace torvanik
