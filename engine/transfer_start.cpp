#include "engine/transfer_start.h"

#include <limits>
#include <optional>

#include "engine/disk_set.h"
#include "engine/set_on_disk.h"

namespace torvanik {
Stream Unbuffered(std::FILE* stream) {
    if (stream != nullptr) {
        std::setvbuf(stream, nullptr, _IONBF, 0);
    }
    return Stream(stream);
}

Stream OpenSource(Transfer& t, const EngineSeams& seams, Why& why) {
    t.source.reset();
    // A name INFO.FIL can't carry would give a set that can't be joined.
    if (!IsBareFileName(t.fileName) || t.fileName.size() > kMaxSetNameBytes) {
        why = {Reason::kSourceNameUnfit, 0, {}};
        return nullptr;
    }
    const OpenedFile opened = seams.files.OpenRegular(t.sourcePath);
    Stream stream = Unbuffered(opened.stream);
    if (!stream) {
        why = WhyNotOpened(opened, Reason::kSourceUnreadable, Reason::kSourceNotRegular);
        return nullptr;
    }
    if (seams.files.OnPseudoFileSystem(stream.get())) {
        why = {Reason::kSourceWithoutLength, 0, {}};
        return nullptr;
    }
    FileTimes times;
    const auto size = seams.files.Size(stream.get());
    const auto stamp = seams.files.Stamp(stream.get());
    if (!size || !stamp || !seams.files.ReadTimes(t.sourcePath, times)) {
        why = WhyFromErrno(Reason::kSourceUnreadable);
        return nullptr;
    }
    if (SourceIsOnDisk(seams, stream.get(), DiskForStep(seams, 1, DiskUse::Read), t.fileName, 1)) {
        why = {Reason::kSourceOnDisk, 0, {}};
        return nullptr;
    }
    t.fileTimes = times;
    t.sourceSize = *size;
    t.sourceStamp = stamp;
    return stream;
}

Stream OpenDestination(Transfer& t, const EngineSeams& seams, Why& why) {
    t.destination.reset();
    if (DestinationIsOfSet(seams, t.destinationPath, t.joinName)) {
        why = {Reason::kDestinationOfSet, 0, {}};
        return nullptr;
    }
    const OpenedFile opened = seams.files.CreateOrEmpty(t.destinationPath);
    Stream stream = Unbuffered(opened.stream);
    if (!stream) {
        why = WhyNotOpened(opened, Reason::kDestinationCreate, Reason::kDestinationCreate);
        return nullptr;
    }
    t.joinedStamp = seams.files.Stamp(stream.get());
    return stream;
}

bool ReadInfoFile(Transfer& t, const EngineSeams& seams, Reports& reports) {
    if (const Why why = LoadInfoFile(t, seams, DiskForStep(seams, 1, DiskUse::Read))) {
        reports.Notice(NoticeId::kInsertDiskAgain, 1, why);
        return false;
    }
    return true;
}

Why LoadInfoFile(Transfer& t, const EngineSeams& seams, const DiskInDrive& drive) {
    Why why;
    Stream stream;
    if (drive.folder.empty()) {
        why = NoDiskWhy(drive);
    } else {
        const OpenedFile opened = seams.files.OpenRegular(InfoPathOn(seams, drive), Links::Refuse);
        stream.reset(opened.stream);
        if (!stream) {
            why = WhyNotOpened(opened, Reason::kInfoFileMissing, Reason::kInfoFileNotRegular);
        }
    }
    std::int64_t length = -1;
    std::optional<std::string> name;
    if (stream) {
        length = ReadInfoNumber(stream.get());
        name = ReadInfoName(stream.get());
        stream.reset();
    }
    // A set with no length or one the panel's kilobytes can't hold, no name, or a name
    // that is not a bare file name is as good as no disk 1 at all.
    constexpr std::int64_t kLongest = std::numeric_limits<std::int64_t>::max() - 1024;
    if (length < 0 || length > kLongest || !name || name->size() > kMaxSetNameBytes ||
        !IsBareFileName(*name)) {
        return why ? why : Why{Reason::kInfoFileUnfit, 0, {}};
    }
    t.joinTotal = length;
    t.joinName = *name;
    return {};
}

}  // namespace torvanik
