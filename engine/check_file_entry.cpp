#include "engine/check_file_entry.h"

#include <string>
#include <vector>

#include "engine/check_file.h"
#include "engine/set_on_disk.h"
#include "engine/transfer_start.h"

namespace torvanik {
namespace {

// INFO.FIL and a check file are a few lines; anything longer is no file of a set.
constexpr std::int64_t kLongestSmallFile = 64 * 1024;

}  // namespace

std::optional<std::string> ReadSmallFile(FileSystem& files, const std::string& path) {
    auto file = files.OpenRegular(path, Links::Refuse, {});
    if (!file) {
        return std::nullopt;
    }
    const auto size = files.Size(*file);
    if (!size || *size > kLongestSmallFile) {
        return std::nullopt;
    }
    std::string text(static_cast<std::size_t>(*size), '\0');
    if (const auto read = files.Read(text.data(), text.size(), *file);
        !read || *read < text.size()) {
        return std::nullopt;
    }
    return text;
}

namespace {

struct CheckFileOnDisk {
    std::string identity;
    std::string path;
};

std::vector<CheckFileOnDisk> CheckFilesOn(FileSystem& files, const DiskInDrive& drive) {
    std::vector<CheckFileOnDisk> found;
    for (const std::string& name : files.NamesStartingWith(drive.folder, "")) {
        if (auto identity = IdentityInName(name)) {
            found.push_back({std::move(*identity), drive.folder + "/" + name});
        }
    }
    return found;
}

std::string ChunkNameOn(const EngineSeams& seams, const DiskInDrive& drive,
                        std::string_view setName, int disk) {
    const std::string path = ChunkPathOn(seams, drive, setName, disk);
    return path.substr(path.rfind('/') + 1);
}

bool Newer(const timespec& a, const timespec& b) {
    return a.tv_sec != b.tv_sec ? a.tv_sec > b.tv_sec : a.tv_nsec > b.tv_nsec;
}

CheckFileEntry Damaged(Reason reason, int disk) {
    return {std::nullopt, DiskWhy(reason, disk), true};
}

// What a check file of the set says of the chunk on disk `disk`.
CheckFileEntry LineFor(const std::string& text, const EngineSeams& seams, const DiskInDrive& drive,
                       const Transfer& t, int disk) {
    const std::string path = ChunkPathOn(seams, drive, t.joinName, disk);
    const CheckFileLine listed = DigestInCheckFile(text, path.substr(path.rfind('/') + 1));
    switch (listed.found) {
        case CheckFileLine::Found::kLine:
            return {listed.digest, {}, false};
        case CheckFileLine::Found::kDamagedText:
            return Damaged(Reason::kCheckFileDamaged, disk);
        case CheckFileLine::Found::kTwoDigests:
            return Damaged(Reason::kCheckFileTwoDigests, disk);
        case CheckFileLine::Found::kNoLine:
            break;
    }
    // No chunk to check: opening it says why.
    if (!seams.files.Identify(path, Links::Refuse)) {
        return {};
    }
    return Damaged(Reason::kCheckFileWithoutChunk, disk);
}

// Of the faults found in disk 1's check files, the one said: INFO.FIL not as its check file says
// first.
int Weight(const CheckFileEntry& fault) {
    switch (fault.why.reason) {
        case Reason::kInfoFileDamaged:
            return 4;
        case Reason::kCheckFileDamaged:
        case Reason::kCheckFileTwoDigests:
            return 3;
        case Reason::kCheckFileRead:
            return 2;
        case Reason::kNone:
            return 0;
        default:
            return 1;
    }
}

CheckFileEntry FaultInInfoLine(const CheckFileLine& listed, const Digest128& infoDigest) {
    switch (listed.found) {
        case CheckFileLine::Found::kDamagedText:
            return Damaged(Reason::kCheckFileDamaged, 1);
        case CheckFileLine::Found::kTwoDigests:
            return Damaged(Reason::kCheckFileTwoDigests, 1);
        case CheckFileLine::Found::kNoLine:
            return Damaged(Reason::kCheckFileWithoutInfoFile, 1);
        case CheckFileLine::Found::kLine:
            break;
    }
    if (listed.digest != infoDigest) {
        return {std::nullopt, {Reason::kInfoFileDamaged, 0, {}}, false};
    }
    return {};
}

CheckFileEntry OnDiskOne(Transfer& t, const EngineSeams& seams, const DiskInDrive& drive) {
    FileSystem& files = seams.files;
    const auto info = ReadSmallFile(files, InfoPathOn(seams, drive));
    if (!info) {
        return {std::nullopt, {Reason::kInfoFileMissing, 0, {}}};
    }
    const Digest128 infoDigest = DigestOf(info->data(), info->size());
    const std::vector<CheckFileOnDisk> checkFiles = CheckFilesOn(files, drive);
    std::optional<std::string> chosen;
    std::string identity;
    timespec newest{};
    CheckFileEntry fault;
    for (const CheckFileOnDisk& file : checkFiles) {
        const auto text = ReadSmallFile(files, file.path);
        CheckFileEntry found =
            text ? FaultInInfoLine(DigestInCheckFile(*text, "INFO.FIL"), infoDigest)
                 : CheckFileEntry{std::nullopt, {Reason::kCheckFileRead, 0, {}}, false};
        if (HasReason(found.why)) {
            fault = Weight(found) > Weight(fault) ? found : fault;
            continue;
        }
        // A check file whose times can't be read counts as the oldest.
        const auto times = files.ReadTimes(file.path);
        const timespec written = times ? times->write : timespec{};
        if (!chosen || Newer(written, newest)) {
            chosen = text;
            identity = file.identity;
            newest = written;
        }
    }
    if (!chosen) {
        // The disks after this one are still held to the set's check files.
        t.setIdentity = checkFiles.empty() ? std::string() : checkFiles.front().identity;
        return fault;
    }
    t.setIdentity = identity;
    if (const auto loaded = LoadInfoFile(t, seams, drive); !loaded) {
        return {std::nullopt, loaded.why()};
    }
    return LineFor(*chosen, seams, drive, t, 1);
}

CheckFileEntry OnLaterDisk(const Transfer& t, const EngineSeams& seams, const DiskInDrive& drive,
                           int disk) {
    const std::string chunkName = ChunkNameOn(seams, drive, t.joinName, disk);
    bool otherSet = false;
    for (const CheckFileOnDisk& file : CheckFilesOn(seams.files, drive)) {
        const auto text = ReadSmallFile(seams.files, file.path);
        if (file.identity == t.setIdentity) {
            return text ? LineFor(*text, seams, drive, t, disk)
                        : CheckFileEntry{std::nullopt, {Reason::kCheckFileRead, 0, {}}};
        }
        otherSet = otherSet || (text && DigestInCheckFile(*text, chunkName).found ==
                                            CheckFileLine::Found::kLine);
    }
    if (otherSet) {
        return {std::nullopt, {Reason::kOtherSet, 0, {}}};
    }
    return Damaged(Reason::kCheckFileMissing, disk);
}

// A set that had no check files so far: a check file on this disk that may speak of its
// chunk shows that the disks before it lost theirs, or that the set is mixed.
CheckFileEntry OnLaterDiskOfSetWithoutCheckFiles(const Transfer& t, const EngineSeams& seams,
                                                 const DiskInDrive& drive, int disk) {
    const std::string chunkName = ChunkNameOn(seams, drive, t.joinName, disk);
    for (const CheckFileOnDisk& file : CheckFilesOn(seams.files, drive)) {
        const auto text = ReadSmallFile(seams.files, file.path);
        if (!text || DigestInCheckFile(*text, chunkName).found != CheckFileLine::Found::kNoLine) {
            return Damaged(Reason::kCheckFileOnlyHere, disk);
        }
    }
    return {};
}

}  // namespace

CheckFileEntry FindCheckFileEntry(Transfer& t, const EngineSeams& seams, const DiskInDrive& drive,
                                  int disk) {
    if (disk == 1) {
        return OnDiskOne(t, seams, drive);
    }
    if (t.setIdentity.empty()) {
        return OnLaterDiskOfSetWithoutCheckFiles(t, seams, drive, disk);
    }
    return OnLaterDisk(t, seams, drive, disk);
}

std::optional<CheckFileLine> ChunkLineOn(const EngineSeams& seams, const DiskInDrive& drive,
                                         std::string_view identity, std::string_view setName,
                                         int disk) {
    for (const CheckFileOnDisk& file : CheckFilesOn(seams.files, drive)) {
        if (file.identity != identity) {
            continue;
        }
        if (const auto text = ReadSmallFile(seams.files, file.path)) {
            return DigestInCheckFile(*text, ChunkNameOn(seams, drive, setName, disk));
        }
    }
    return std::nullopt;
}

}  // namespace torvanik
