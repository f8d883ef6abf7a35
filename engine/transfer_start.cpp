#include "engine/transfer_start.h"

#include <limits>
#include <optional>

#include "engine/disk_set.h"
#include "engine/set_on_disk.h"

namespace torvanik {
Result<File> OpenSource(Transfer& t, const EngineSeams& seams) {
    t.source = File();
    // A name INFO.FIL can't carry would give a set that can't be joined.
    if (!IsBareFileName(t.fileName) || t.fileName.size() > kMaxSetNameBytes) {
        return Why{Reason::kSourceNameUnfit, 0, {}};
    }
    auto opened = seams.files.OpenRegular(t.sourcePath, Links::Follow,
                                          {Reason::kSourceUnreadable, Reason::kSourceNotRegular});
    if (!opened) {
        return opened.why();
    }
    File& file = *opened;
    file.Unbuffer();
    if (seams.files.OnPseudoFileSystem(file)) {
        return Why{Reason::kSourceWithoutLength, 0, {}};
    }
    const auto size = seams.files.Size(file);
    const auto stamp = size ? seams.files.Stamp(file) : Result<FileStamp>(size.why());
    const auto times = stamp ? seams.files.ReadTimes(t.sourcePath) : Result<FileTimes>(stamp.why());
    if (!times) {
        return WhyOfFailure(times.why(), Reason::kSourceUnreadable);
    }
    if (SourceIsOnDisk(seams, file, DiskForStep(seams, 1, DiskUse::Read), t.fileName, 1)) {
        return Why{Reason::kSourceOnDisk, 0, {}};
    }
    t.fileTimes = *times;
    t.sourceSize = *size;
    t.sourceStamp = *stamp;
    return opened;
}

bool SourceChanged(Transfer& t, FileSystem& files) {
    const auto stamp = ValueOrNone(files.Stamp(t.source));
    const auto named = files.Identify(t.sourcePath, Links::Follow);
    return !(stamp && stamp == t.sourceStamp && named && named->SameFile(stamp->identity));
}

Result<File> OpenDestination(Transfer& t, const EngineSeams& seams) {
    t.destination = File();
    if (DestinationIsOfSet(seams, t.destinationPath, t.joinName)) {
        return Why{Reason::kDestinationOfSet, 0, {}};
    }
    auto opened = seams.files.CreateOrEmpty(
        t.destinationPath, {Reason::kDestinationCreate, Reason::kDestinationCreate});
    if (!opened) {
        return opened.why();
    }
    opened->Unbuffer();
    t.joinedStamp = ValueOrNone(seams.files.Stamp(*opened));
    return opened;
}

bool ReadInfoFile(Transfer& t, const EngineSeams& seams, Reports& reports) {
    if (const auto loaded = LoadInfoFile(t, seams, DiskForStep(seams, 1, DiskUse::Read)); !loaded) {
        reports.Notice(NoticeId::kInsertDiskAgain, 1, loaded.why());
        return false;
    }
    return true;
}

Result<void> LoadInfoFile(Transfer& t, const EngineSeams& seams, const DiskInDrive& drive) {
    Why why;
    File file;
    if (drive.folder.empty()) {
        why = NoDiskWhy(drive);
    } else {
        auto opened =
            seams.files.OpenRegular(InfoPathOn(seams, drive), Links::Refuse,
                                    {Reason::kInfoFileMissing, Reason::kInfoFileNotRegular});
        if (opened) {
            file = std::move(*opened);
        } else {
            why = opened.why();
        }
    }
    InfoFileFacts info;
    if (file) {
        info.length = ReadInfoNumber(file);
        info.name = ReadInfoName(file);
        file = File();
    }
    return TakeInfo(t, info, why);
}

Result<void> TakeInfo(Transfer& t, const InfoFileFacts& info, const Why& why) {
    const std::int64_t length = info.length;
    const std::optional<std::string>& name = info.name;
    // A set with no length or one the panel's kilobytes can't hold, no name, or a name
    // that is not a bare file name is as good as no disk 1 at all.
    constexpr std::int64_t kLongest = std::numeric_limits<std::int64_t>::max() - 1024;
    if (length < 0 || length > kLongest || !name || name->size() > kMaxSetNameBytes ||
        !IsBareFileName(*name)) {
        return HasReason(why) ? why : Why{Reason::kInfoFileUnfit, 0, {}};
    }
    t.joinTotal = length;
    t.joinName = *name;
    return {};
}

}  // namespace torvanik
