#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/floppy_formats.h"

// One floppy image file, its FAT handled by mtools run as child processes.
// Every call that fails leaves a reason (UTF-8) in `reason`.
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

// A freshly formatted FAT12 floppy of `format` at `image`, which must not exist yet.
bool FormatFloppyImage(const std::string& image, const FloppyFormat& format, std::string& reason);

// Checks that `image` is a whole FAT floppy and lists its root.
bool ReadImageRoot(const std::string& image, ImageRoot& root, std::string& reason);

// The regular files in the image's root, read from its root folder alone.
bool ListImageRoot(const std::string& image, std::vector<std::string>& files, std::string& reason);

// Bytes the files of `root` take in the image, in whole clusters.
bool ReadRootUse(const std::string& image, const ImageRoot& root, std::uint64_t& used,
                 std::string& reason);

// Copies the files `names` of the image's root into `folder`, times kept.
bool CopyOutOfImage(const std::string& image, const std::vector<std::string>& names,
                    const std::string& folder, std::string& reason);

// Copies the host files `paths` into the image's root under their own names (long names
// where 8.3 can't hold them), times kept, replacing files of the same name.
bool CopyIntoImage(const std::string& image, const std::vector<std::string>& paths,
                   std::string& reason);

bool DeleteFromImage(const std::string& image, const std::vector<std::string>& names,
                     std::string& reason);

}  // namespace torvanik
