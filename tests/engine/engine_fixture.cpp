#include "engine_fixture.h"

#include <fcntl.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "platform/why_of_error.h"

namespace torvanik::testing {
namespace {

std::mutex& ReadBackLock() {
    static std::mutex lock;
    return lock;
}

}  // namespace

Result<File> FaultyFileSystem::OpenRegular(const std::string& path, Links links,
                                           const OpenReasons& told) {
    if (beforeOpen && !beforeOpen(path, "rb")) {
        return WhyOfFailure(SystemFailure(), told.otherwise, told.notRegular);
    }
    return FileSystem::OpenRegular(path, links, told);
}

Result<File> FaultyFileSystem::CreateNew(const std::string& path) {
    if (beforeOpen && !beforeOpen(path, "wx")) {
        return SystemFailure();
    }
    return FileSystem::CreateNew(path);
}

Result<File> FaultyFileSystem::CreateOrEmpty(const std::string& path, const OpenReasons& told) {
    if (beforeOpen && !beforeOpen(path, "wb")) {
        return WhyOfFailure(SystemFailure(), told.otherwise, told.notRegular);
    }
    return FileSystem::CreateOrEmpty(path, told);
}

Result<void> FaultyFileSystem::Rename(const std::string& from, const std::string& to) {
    if (beforeRename && !beforeRename(to)) {
        return SystemFailure();
    }
    if (auto renamed = FileSystem::Rename(from, to); !renamed) {
        return renamed;
    }
    if (afterRename) {
        afterRename(to);
    }
    return {};
}

std::uint64_t FaultyFileSystem::LargestFile(const std::string& folder) {
    return largestFile ? *largestFile : FileSystem::LargestFile(folder);
}

Result<std::size_t> FaultyFileSystem::Read(void* buffer, std::size_t size, File& file) {
    if (beforeRead && !beforeRead(size)) {
        return SystemFailure();
    }
    return FileSystem::Read(buffer, size, file);
}

Result<void> FaultyFileSystem::Write(const void* buffer, std::size_t size, File& file) {
    if (beforeWrite && !beforeWrite(size)) {
        return SystemFailure();
    }
    if (refuseOnce && static_cast<std::int64_t>(size) > refuseOnce->after) {
        const WriteRefusal refusal = *refuseOnce;
        refuseOnce.reset();
        static_cast<void>(FileSystem::Write(buffer, static_cast<std::size_t>(refusal.after), file));
        return Why{Reason::kNone, refusal.error, {}};
    }
    if (refuseOnce) {
        refuseOnce->after -= static_cast<std::int64_t>(size);
    }
    return FileSystem::Write(buffer, size, file);
}

Result<void> FaultyFileSystem::WaitForWriteBack(File& file, std::int64_t offset,
                                                std::int64_t length) {
    if (beforeWriteBackWait && !beforeWriteBackWait(offset, length)) {
        return SystemFailure();
    }
    return FileSystem::WaitForWriteBack(file, offset, length);
}

Result<void> FaultyFileSystem::Commit(File& file) {
    if (beforeCommit && !beforeCommit()) {
        return SystemFailure();
    }
    return FileSystem::Commit(file);
}

Result<void> FaultyFileSystem::SyncFolder(const std::string& folder) {
    if (beforeSyncFolder) {
        beforeSyncFolder(folder);
    }
    return FileSystem::SyncFolder(folder);
}

Result<std::uint64_t> FaultyFileSystem::FreeBytes(const DiskInDrive& drive) {
    if (!freeBytes) {
        return FileSystem::FreeBytes(drive);
    }
    if (!*freeBytes) {
        return SystemFailure();
    }
    return **freeBytes;
}

Result<File> FaultyFileSystem::OpenForReadBack(const std::string& path, int flags) {
    Result<File> opened = FileSystem::OpenForReadBack(path, flags);
    const Result<FileIdentity> identity =
        opened ? Identify(*opened) : Result<FileIdentity>(opened.why());
    const std::lock_guard<std::mutex> hold(ReadBackLock());
    // Every read-back tries a direct read first, so its direct open names it once.
    if ((flags & O_DIRECT) != 0) {
        readBack.push_back(path);
    }
    if (identity) {
        readBackFiles_.push_back(*identity);
    }
    return opened;
}

Result<std::int64_t> FaultyFileSystem::ReadAt(File& file, void* buffer, std::size_t size,
                                              std::int64_t offset) {
    const bool readingBack = ReadsBack(file);
    if (!readingBack && beforeReadAt && !beforeReadAt(offset, size)) {
        return SystemFailure();
    }
    auto got = FileSystem::ReadAt(file, buffer, size, offset);
    if (!readingBack || !spoilReadBack || !got) {
        return got;
    }
    const std::int64_t spoilt = spoilReadBack(static_cast<char*>(buffer), *got, offset);
    if (spoilt < 0) {
        return SystemFailure();
    }
    return spoilt;
}

bool FaultyFileSystem::ReadsBack(File& file) {
    const Result<FileIdentity> identity = Identify(file);
    const std::lock_guard<std::mutex> hold(ReadBackLock());
    return identity && std::any_of(readBackFiles_.begin(), readBackFiles_.end(),
                                   [&](const FileIdentity& f) { return f.SameFile(*identity); });
}

std::chrono::steady_clock::time_point FaultyFileSystem::Now() {
    return now ? now() : FileSystem::Now();
}

void RecordingObserver::ChunkCopied(const ChunkProgress& progress) {
    if (onChunkCopied) {
        onChunkCopied(progress);
    }
    const ScreenRecord before = record();
    Presenter::ChunkCopied(progress);
    diskBarRedraws += record().lastDiskBar > before.lastDiskBar ? 1 : 0;
    totalBarRedraws += record().lastTotalBar > before.lastTotalBar ? 1 : 0;
}

int ViewStateOf(const ScreenRecord& record) {
    int bits = 0;
    bits |= record.helpShown ? VS_HELP : 0;
    bits |= record.panelShown ? VS_PANEL : 0;
    bits |= record.barsShown ? VS_BARS : 0;
    bits |= record.noticeShown ? VS_NOTICE : 0;
    bits |= record.facts.armed == TransferKind::kSplit ? VS_SPLIT : 0;
    bits |= record.facts.armed == TransferKind::kJoin ? VS_JOIN : 0;
    return bits;
}

EngineTest::EngineTest() : driveDir(tmp / "drive") {
    std::filesystem::create_directories(driveDir);
    drives.Set(0, {driveDir, std::nullopt});
    setenv("XDG_CONFIG_HOME", (tmp / "config").c_str(), 1);
    ReportFacts(transfer, seams);
}

EngineTest::~EngineTest() = default;

void EngineTest::Split(const std::string& path) {
    questions.sourceAnswers.push_back(PickedFileFromPath(path));
    const Presenter::Command drawing(Painter());
    OnSplitOut(transfer, seams);
}

void EngineTest::Join(const std::string& destination) {
    questions.destinationAnswers.push_back(PickedFileFromPath(destination));
    const Presenter::Command drawing(Painter());
    OnJoinIn(transfer, seams);
}

void EngineTest::Reset() {
    transfer = Transfer{};
    drive = DriveChoice{};
    Painter().record() = ScreenRecord{};
    ReportFacts(transfer, seams);
}

void EngineTest::Help() {
    const Presenter::Command drawing(Painter());
    Painter().ShowHelp();
}

void EngineTest::Click(int x, int y) {
    const Presenter::Command drawing(Painter());
    Painter().Click(x, y);
}

int EngineTest::Toggle() const {
    switch (screen().noticeToggle) {
        case NoticeToggle::kShown:
            return 1;
        case NoticeToggle::kHidden:
            return -1;
        case NoticeToggle::kNone:
            break;
    }
    return 0;
}

StepOutcome EngineTest::Klar() {
    const Presenter::Command drawing(Painter());
    return OnDiskReady(transfer, seams);
}

void EngineTest::TakeOutDisk(int disk) {
    MoveFiles(driveDir, tmp / ("disk" + std::to_string(disk)));
}

void EngineTest::PutInDisk(int disk) {
    std::filesystem::remove_all(driveDir);
    std::filesystem::create_directories(driveDir);
    for (const auto& entry :
         std::filesystem::directory_iterator(tmp / ("disk" + std::to_string(disk)))) {
        FileSystem host;
        const auto times = host.ReadTimes(entry.path());
        const auto copy = std::filesystem::path(driveDir) / entry.path().filename();
        std::filesystem::copy_file(entry.path(), copy);
        if (times) {
            static_cast<void>(host.WriteTimes(copy, *times));
        }
    }
}

std::string EngineTest::OnDisk(int disk, const std::string& name) const {
    return tmp / ("disk" + std::to_string(disk) + "/" + name);
}

std::vector<std::string> EngineTest::DriveFiles() const {
    return NamesIn(driveDir);
}

std::string EngineTest::MakeSource(const std::string& name, std::size_t size, unsigned seed) {
    const std::string path = tmp / name;
    WriteBytes(path, PatternBytes(size, seed));
    return path;
}

}  // namespace torvanik::testing
