#include "engine/chunk_sum.h"

#include <string>
#include <vector>

#include "engine/check_file.h"
#include "engine/set_on_disk.h"
#include "engine/transfer_start.h"

namespace torvanik {
namespace {

// INFO.FIL and a check file are a few lines; anything longer is no file of a set.
constexpr std::int64_t kLongestSmallFile = 64 * 1024;

std::optional<std::string> ReadSmallFile(FileSystem& files, const std::string& path) {
    const OpenedFile opened = files.OpenRegular(path, Links::Refuse);
    const Stream stream(opened.stream);
    if (!stream) {
        return std::nullopt;
    }
    const auto size = files.Size(stream.get());
    if (!size || *size > kLongestSmallFile) {
        return std::nullopt;
    }
    std::string text(static_cast<std::size_t>(*size), '\0');
    if (!files.Read(text.data(), text.size(), stream.get())) {
        return std::nullopt;
    }
    return text;
}

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

std::string ChunkNameOn(const EngineSeams& seams, const DiskInDrive& drive, const Transfer& t,
                        int disk) {
    const std::string path = ChunkPathOn(seams, drive, t.joinName, disk);
    return path.substr(path.rfind('/') + 1);
}

bool Newer(const timespec& a, const timespec& b) {
    return a.tv_sec != b.tv_sec ? a.tv_sec > b.tv_sec : a.tv_nsec > b.tv_nsec;
}

// A check file of the set that has no line for a chunk that is there has been tampered with.
ChunkSum LineFor(const std::string& text, const EngineSeams& seams, const DiskInDrive& drive,
                 const Transfer& t, int disk) {
    const std::string path = ChunkPathOn(seams, drive, t.joinName, disk);
    if (const auto digest = DigestInCheckFile(text, path.substr(path.rfind('/') + 1))) {
        return {digest, {}};
    }
    if (!seams.files.Identify(path, Links::Refuse)) {
        return {};
    }
    return {std::nullopt, DiskWhy(Reason::kChunkDamaged, disk)};
}

ChunkSum OnDiskOne(Transfer& t, const EngineSeams& seams, const DiskInDrive& drive) {
    FileSystem& files = seams.files;
    const auto info = ReadSmallFile(files, InfoPathOn(seams, drive));
    if (!info) {
        return {std::nullopt, {Reason::kInfoFileMissing, 0, {}}};
    }
    const Digest128 infoDigest = DigestOf(info->data(), info->size());
    std::optional<std::string> chosen;
    std::string identity;
    timespec newest{};
    Why fault;
    for (const CheckFileOnDisk& file : CheckFilesOn(files, drive)) {
        const auto text = ReadSmallFile(files, file.path);
        if (!text) {
            fault = fault ? fault : Why{Reason::kCheckFileRead, 0, {}};
            continue;
        }
        const auto summed = DigestInCheckFile(*text, "INFO.FIL");
        if (!summed) {
            continue;
        }
        if (*summed != infoDigest) {
            fault = {Reason::kInfoFileDamaged, 0, {}};
            continue;
        }
        FileTimes times;
        files.ReadTimes(file.path, times);
        if (!chosen || Newer(times.write, newest)) {
            chosen = text;
            identity = file.identity;
            newest = times.write;
        }
    }
    if (!chosen) {
        t.setIdentity.clear();
        return {std::nullopt, fault};
    }
    t.setIdentity = identity;
    if (Why why = LoadInfoFile(t, seams, drive)) {
        return {std::nullopt, why};
    }
    return LineFor(*chosen, seams, drive, t, 1);
}

ChunkSum OnLaterDisk(const Transfer& t, const EngineSeams& seams, const DiskInDrive& drive,
                     int disk) {
    const std::string chunkName = ChunkNameOn(seams, drive, t, disk);
    bool otherSet = false;
    for (const CheckFileOnDisk& file : CheckFilesOn(seams.files, drive)) {
        const auto text = ReadSmallFile(seams.files, file.path);
        if (file.identity == t.setIdentity) {
            return text ? LineFor(*text, seams, drive, t, disk)
                        : ChunkSum{std::nullopt, {Reason::kCheckFileRead, 0, {}}};
        }
        otherSet = otherSet || (text && DigestInCheckFile(*text, chunkName));
    }
    return {std::nullopt, otherSet ? Why{Reason::kOtherSet, 0, {}} : Why{}};
}

}  // namespace

ChunkSum FindChunkSum(Transfer& t, const EngineSeams& seams, const DiskInDrive& drive, int disk) {
    if (disk == 1) {
        return OnDiskOne(t, seams, drive);
    }
    if (t.setIdentity.empty()) {
        return {};
    }
    return OnLaterDisk(t, seams, drive, disk);
}

}  // namespace torvanik
