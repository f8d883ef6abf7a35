#include "engine/disk_commit.h"

namespace torvanik {

Result<void> BeginFile(FileSystem& files, const std::string& finalPath, PendingFile& file,
                       Reason failed) {
    const auto slash = finalPath.rfind('/') + 1;
    file = {};
    file.finalPath = finalPath;
    file.temporaryPath = finalPath.substr(0, slash);
    file.temporaryPath += kTemporaryPrefix;
    file.temporaryPath += finalPath.substr(slash);
    auto created = files.CreateNew(file.temporaryPath);
    if (!created) {
        // A killed program's temporary is gone by now: what stands there is not ours.
        return AlreadyThere(created.why()) ? Why{Reason::kForeignTemporary, 0, {}}
                                           : WhyOfFailure(created.why(), failed);
    }
    file.file = std::move(*created);
    file.created = true;
    file.file.Unbuffer();
    return {};
}

Result<void> BeginFileWith(FileSystem& files, const std::string& finalPath, std::string_view text,
                           PendingFile& file, Reason failed) {
    if (auto begun = BeginFile(files, finalPath, file, failed); !begun) {
        return begun;
    }
    return Told(files.Write(text.data(), text.size(), file.file), failed);
}

Result<void> SealFile(FileSystem& files, PendingFile& file, Reason failed) {
    Result<void> sealed = files.Commit(file.file);
    if (sealed) {
        auto identity = files.Identify(file.file);
        file.sealed = ValueOrNone(identity);
        if (!identity) {
            sealed = identity.why();
        }
    }
    const auto closed = files.Close(std::move(file.file));
    if (sealed && !closed) {
        sealed = closed;
    }
    if (!sealed) {
        return WhyOfFailure(sealed.why(), failed);
    }
    return {};
}

Result<void> SealFiles(FileSystem& files, PendingFile& first, PendingFile& second, Reason failed) {
    if (!second.file) {
        return SealFile(files, first, failed);
    }
    // On its way to the medium before the first is flushed, so that the flush takes it along
    // and its own flush after finds little left to do.
    files.StartWriteBack(second.file, 0, 0);
    const auto firstSealed = SealFile(files, first, failed);
    const auto secondSealed = SealFile(files, second, failed);
    return firstSealed ? secondSealed : firstSealed;
}

Result<void> PlaceFile(FileSystem& files, PendingFile& file) {
    if (const auto renamed = files.Rename(file.temporaryPath, file.finalPath); !renamed) {
        return WhyOfFailure(renamed.why(), Reason::kChunkWrite);
    }
    file.placed = true;
    const auto found = files.Identify(file.finalPath, Links::Refuse);
    if (!found || !found->SameFile(*file.sealed) || found->size != file.sealed->size) {
        return Why{Reason::kDiskChanged, 0, {}};
    }
    return {};
}

Result<void> TakeBackFile(FileSystem& files, PendingFile& file) {
    Result<void> taken;
    if (file.file) {
        taken = files.Close(std::move(file.file));
    }
    const std::string path = file.placed ? file.finalPath : file.created ? file.temporaryPath : "";
    if (!path.empty()) {
        if (const auto removed = files.Remove(path); !removed && !NotThere(removed.why())) {
            taken = removed;
        }
    }
    file = {};
    return taken;
}

Result<void> MoveAside(FileSystem& files, const std::string& finalPath, SetAside& aside) {
    const auto slash = finalPath.rfind('/') + 1;
    aside = {finalPath,
             finalPath.substr(0, slash) + std::string(kTemporaryPrefix) + "old." +
                 finalPath.substr(slash),
             false};
    if (!files.Identify(finalPath, Links::Refuse)) {
        return {};
    }
    if (const auto renamed = files.Rename(finalPath, aside.asidePath); !renamed) {
        return WhyOfFailure(renamed.why(), Reason::kChunkWrite);
    }
    aside.moved = true;
    return {};
}

Result<void> PutBack(FileSystem& files, SetAside& aside) {
    if (!aside.moved) {
        return {};
    }
    auto renamed = files.Rename(aside.asidePath, aside.finalPath);
    aside.moved = !renamed;
    return renamed;
}

void DropAside(FileSystem& files, SetAside& aside) {
    // What can't be removed now is a leftover the next write step removes.
    if (aside.moved) {
        static_cast<void>(files.Remove(aside.asidePath));
    }
    aside = {};
}

bool StandsAt(FileSystem& files, const std::string& path,
              const std::optional<FileIdentity>& identity, Links links) {
    const auto found = files.Identify(path, links);
    return found && identity && found->SameFile(*identity);
}

void RemoveLeftovers(FileSystem& files, const std::string& folder) {
    // What can't be removed now stays a leftover until the next write step.
    for (const std::string& name : files.NamesStartingWith(folder, kTemporaryPrefix)) {
        static_cast<void>(files.Remove(folder + "/" + name));
    }
}

}  // namespace torvanik
