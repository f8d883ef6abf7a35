#include "engine/disk_commit.h"

#include <cerrno>

namespace torvanik {

Why BeginFile(FileSystem& files, const std::string& finalPath, PendingFile& file, Reason failed) {
    const auto slash = finalPath.rfind('/') + 1;
    file = {};
    file.finalPath = finalPath;
    file.temporaryPath = finalPath.substr(0, slash);
    file.temporaryPath += kTemporaryPrefix;
    file.temporaryPath += finalPath.substr(slash);
    file.stream = files.CreateNew(file.temporaryPath);
    if (file.stream == nullptr) {
        // A killed program's temporary is gone by now: what stands there is not ours.
        return errno == EEXIST ? Why{Reason::kForeignTemporary, 0, {}} : WhyFromErrno(failed);
    }
    file.created = true;
    // The copy loop moves whole blocks; a stream buffer would split each in two.
    std::setvbuf(file.stream, nullptr, _IONBF, 0);
    return {};
}

Why SealFile(FileSystem& files, PendingFile& file, Reason failed) {
    Why why;
    if (!files.Commit(file.stream)) {
        why = WhyFromErrno(failed);
    } else if (file.sealed = files.Identify(file.stream); !file.sealed) {
        why = WhyFromErrno(failed);
    }
    const bool closed = files.Close(file.stream);
    if (!closed && !why) {
        why = WhyFromErrno(failed);
    }
    file.stream = nullptr;
    return why;
}

Why SealFiles(FileSystem& files, PendingFile& first, PendingFile& second, Reason failed) {
    if (second.stream == nullptr) {
        return SealFile(files, first, failed);
    }
    // On its way to the medium before the first is flushed, so that the flush takes it along
    // and its own flush after finds little left to do.
    files.StartWriteBack(second.stream, 0, 0);
    const Why firstWhy = SealFile(files, first, failed);
    const Why secondWhy = SealFile(files, second, failed);
    return firstWhy ? firstWhy : secondWhy;
}

Why PlaceFile(FileSystem& files, PendingFile& file) {
    if (!files.Rename(file.temporaryPath, file.finalPath)) {
        return WhyFromErrno(Reason::kChunkWrite);
    }
    file.placed = true;
    const auto found = files.Identify(file.finalPath, Links::Refuse);
    if (!found || !found->SameFile(*file.sealed) || found->size != file.sealed->size) {
        return {Reason::kDiskChanged, 0, {}};
    }
    return {};
}

bool TakeBackFile(FileSystem& files, PendingFile& file) {
    bool taken = true;
    if (file.stream != nullptr) {
        taken = files.Close(file.stream);
        file.stream = nullptr;
    }
    const std::string path = file.placed ? file.finalPath : file.created ? file.temporaryPath : "";
    if (!path.empty() && !files.Remove(path) && errno != ENOENT) {
        taken = false;
    }
    file = {};
    return taken;
}

Why MoveAside(FileSystem& files, const std::string& finalPath, SetAside& aside) {
    const auto slash = finalPath.rfind('/') + 1;
    aside = {finalPath,
             finalPath.substr(0, slash) + std::string(kTemporaryPrefix) + "old." +
                 finalPath.substr(slash),
             false};
    if (!files.Identify(finalPath, Links::Refuse)) {
        return {};
    }
    if (!files.Rename(finalPath, aside.asidePath)) {
        return WhyFromErrno(Reason::kChunkWrite);
    }
    aside.moved = true;
    return {};
}

bool PutBack(FileSystem& files, SetAside& aside) {
    if (!aside.moved) {
        return true;
    }
    aside.moved = !files.Rename(aside.asidePath, aside.finalPath);
    return !aside.moved;
}

void DropAside(FileSystem& files, SetAside& aside) {
    // What can't be removed now is a leftover the next write step removes.
    if (aside.moved) {
        files.Remove(aside.asidePath);
    }
    aside = {};
}

bool StandsAt(FileSystem& files, const std::string& path,
              const std::optional<FileIdentity>& identity, Links links) {
    const auto found = files.Identify(path, links);
    return found && identity && found->SameFile(*identity);
}

void RemoveLeftovers(FileSystem& files, const std::string& folder) {
    for (const std::string& name : files.NamesStartingWith(folder, kTemporaryPrefix)) {
        files.Remove(folder + "/" + name);
    }
}

}  // namespace torvanik
