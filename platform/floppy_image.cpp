#include "platform/floppy_image.h"

#include <sys/stat.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <optional>
#include <string_view>

#include "platform/child_process.h"
#include "platform/cp1252.h"
#include "res/texts/reason_texts.h"

namespace torvanik {
namespace {

// Names are converted as UTF-8 whatever the user's locale; a user's mtools settings must
// not fold the case of short names, nor leave out long names.
const std::vector<std::string> kMtoolsEnvironment = {"LC_ALL=C.UTF-8", "MTOOLS_SKIP_CHECK=1",
                                                     "MTOOLS_LOWER_CASE=0", "MTOOLS_NO_VFAT=0"};

Result<ChildOutput> Mtools(const std::vector<std::string>& argv) {
    return RunChild(argv, kMtoolsEnvironment);
}

std::string BaseName(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

// A run of mtools that failed: `why` with its complaint, unless mtools is not there at all.
Why Failed(const char* why, const std::string& image, const Result<ChildOutput>& run) {
    if (!run && NotInstalled(run.why())) {
        return {.text = image_reason::kMtoolsMissing};
    }
    return ImageWhy(why, image, ComplaintOf(run));
}

// A name as mtools matches it literally: its wildcards are escaped.
std::string Literal(std::string_view name) {
    std::string escaped = "::";
    for (const char c : name) {
        if (c == '*' || c == '?' || c == '[' || c == ']' || c == '\\') {
            escaped += '\\';
        }
        escaped += c;
    }
    return escaped;
}

// The number after `key` in minfo's report ("sector size: 512 bytes"); 0 when absent.
std::uint64_t Field(std::string_view report, std::string_view key) {
    const auto at = report.find(key);
    if (at == std::string_view::npos) {
        return 0;
    }
    const auto digits = report.substr(at + key.size());
    std::uint64_t value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return value;
}

// The digits of mdir's "1 457 664 bytes free" line, whatever separates their groups.
std::optional<std::uint64_t> FreeBytesOf(const std::string& listing) {
    const auto end = listing.find("bytes free");
    if (end == std::string::npos) {
        return std::nullopt;
    }
    const auto start = listing.rfind('\n', end);
    std::uint64_t free = 0;
    for (auto i = start == std::string::npos ? 0 : start; i < end; ++i) {
        if (std::isdigit(static_cast<unsigned char>(listing[i])) != 0) {
            free = free * 10 + static_cast<std::uint64_t>(listing[i] - '0');
        }
    }
    return free;
}

// mtools takes many a first sector of random bytes for a boot sector; the limits FAT sets
// on its own sizes tell those apart.
bool FatBootSector(std::string_view report, std::uint64_t sectorSize, std::uint64_t sectors) {
    const std::uint64_t clusterSectors = Field(report, "cluster size: ");
    return sectorSize >= 512 && sectorSize <= 4096 && std::has_single_bit(sectorSize) &&
           clusterSectors <= 128 && std::has_single_bit(clusterSectors) &&
           Field(report, "fats: ") >= 1 && Field(report, "reserved (boot) sectors: ") >= 1 &&
           sectors > 0;
}

// A truncated image still passes mtools' checks while its lost sectors read as nothing.
Result<ImageRoot> CheckWhole(const std::string& image) {
    const Result<ChildOutput> info = Mtools({"minfo", "-i", image, "::"});
    if (!Succeeded(info)) {
        return Failed(image_reason::kNotFat, image, info);
    }
    const std::uint64_t sectorSize = Field(info->output, "sector size: ");
    std::uint64_t sectors = Field(info->output, "small size: ");
    if (sectors == 0) {
        sectors = Field(info->output, "big size: ");
    }
    if (!FatBootSector(info->output, sectorSize, sectors)) {
        return ImageWhy(image_reason::kNotFat, image);
    }
    struct stat file {};
    if (stat(image.c_str(), &file) != 0) {
        return ImageWhy(image_reason::kUnreadable, image, errno);
    }
    ImageRoot root;
    root.imageBytes = sectorSize * sectors;
    root.clusterBytes = sectorSize * Field(info->output, "cluster size: ");
    if (static_cast<std::uint64_t>(file.st_size) < root.imageBytes) {
        return ImageWhy(image_reason::kTruncated, image);
    }
    return root;
}

// Runs mtools `argv` on `image`; `why` with its complaint when it fails.
Result<void> RunOn(const std::string& image, const std::vector<std::string>& argv,
                   const char* why) {
    const Result<ChildOutput> run = Mtools(argv);
    if (!Succeeded(run)) {
        return Failed(why, image, run);
    }
    return {};
}

// Each line of an mtools listing that starts "::/", without those three characters.
template <typename Each>
void ForRootLines(std::string_view lines, Each each) {
    while (!lines.empty()) {
        const auto end = lines.find('\n');
        const auto line = lines.substr(0, end);
        lines = end == std::string_view::npos ? std::string_view{} : lines.substr(end + 1);
        if (line.size() > 3 && line.substr(0, 3) == "::/") {
            each(line.substr(3));
        }
    }
}

// A file name or a tool's line kept to the letters Windows-1252 holds, as the disk sets'
// names are; any other becomes '_'.
std::string Told(std::string_view text) {
    return Cp1252ToUtf8(Utf8ToCp1252(text));
}

}  // namespace

std::string ImageReason(const char* why, const std::string& image, const std::string& detail) {
    std::string reason = std::string(why) + ": " + Told(BaseName(image));
    if (!detail.empty()) {
        reason += " (" + Told(FirstLine(detail)) + ")";
    }
    return reason;
}

std::string ImageReason(const char* why, const std::string& image, int error) {
    return ImageReason(why, image, error == 0 ? std::string() : std::strerror(error));
}

Result<void> FormatFloppyImage(const std::string& image, const FloppyFormat& format) {
    if (auto made = RunOn(
            image, {"mformat", "-C", "-f", std::to_string(format.kilobytes), "-i", image, "::"},
            image_reason::kNotCreated);
        !made) {
        return made;
    }
    if (const Result<ImageRoot> root = CheckWhole(image); !root) {
        return root.why();
    }
    return {};
}

Result<ImageRoot> ReadImageRoot(const std::string& image) {
    Result<ImageRoot> root = CheckWhole(image);
    if (!root) {
        return root;
    }
    const Result<ChildOutput> full = Mtools({"mdir", "-a", "-i", image, "::"});
    if (!Succeeded(full)) {
        return Failed(image_reason::kUnreadable, image, full);
    }
    const auto free = FreeBytesOf(full->output);
    if (!free) {
        return ImageWhy(image_reason::kUnreadable, image);
    }
    root->freeBytes = *free;
    Result<std::vector<std::string>> files = ListImageRoot(image);
    if (!files) {
        return files.why();
    }
    root->files = std::move(*files);
    return root;
}

Result<std::vector<std::string>> ListImageRoot(const std::string& image) {
    const Result<ChildOutput> bare = Mtools({"mdir", "-a", "-b", "-i", image, "::"});
    if (!Succeeded(bare)) {
        return Failed(image_reason::kUnreadable, image, bare);
    }
    std::vector<std::string> files;
    // "::/NAME" for a file, "::/NAME/" for a folder.
    ForRootLines(bare->output, [&files](std::string_view name) {
        if (name.back() != '/') {
            files.emplace_back(name);
        }
    });
    return files;
}

Result<std::uint64_t> ReadRootUse(const std::string& image, const ImageRoot& root) {
    const Result<ChildOutput> usage = Mtools({"mdu", "-a", "-i", image, "::"});
    if (!Succeeded(usage)) {
        return Failed(image_reason::kUnreadable, image, usage);
    }
    // "::/NAME CLUSTERS" for each file and folder, a folder's own files after it.
    std::uint64_t used = 0;
    ForRootLines(usage->output, [&](std::string_view line) {
        const auto space = line.rfind(' ');
        if (space == std::string_view::npos ||
            std::find(root.files.begin(), root.files.end(), line.substr(0, space)) ==
                root.files.end()) {
            return;
        }
        const auto digits = line.substr(space + 1);
        std::uint64_t clusters = 0;
        std::from_chars(digits.data(), digits.data() + digits.size(), clusters);
        used += clusters * root.clusterBytes;
    });
    return used;
}

Result<void> CopyOutOfImage(const std::string& image, const std::vector<std::string>& names,
                            const std::string& folder) {
    // mcopy takes no empty list of files.
    if (names.empty()) {
        return {};
    }
    std::vector<std::string> argv = {"mcopy", "-m", "-n", "-i", image};
    for (const auto& name : names) {
        argv.push_back(Literal(name));
    }
    argv.push_back(folder + "/");
    return RunOn(image, argv, image_reason::kUnreadable);
}

Result<void> CopyIntoImage(const std::string& image, const std::vector<std::string>& paths) {
    if (paths.empty()) {
        return {};
    }
    std::vector<std::string> argv = {"mcopy", "-m", "-D", "o", "-i", image};
    argv.insert(argv.end(), paths.begin(), paths.end());
    argv.emplace_back("::");
    return RunOn(image, argv, image_reason::kNotWritten);
}

Result<void> DeleteFromImage(const std::string& image, const std::vector<std::string>& names) {
    if (names.empty()) {
        return {};
    }
    std::vector<std::string> argv = {"mdel", "-i", image};
    for (const auto& name : names) {
        argv.push_back(Literal(name));
    }
    return RunOn(image, argv, image_reason::kNotWritten);
}

}  // namespace torvanik
