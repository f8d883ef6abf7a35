#include "engine/disk_commit.h"

#include <cerrno>

namespace torvanik {

bool BeginFile(FileSystem& files, const std::string& finalPath, PendingFile& file) {
    const auto slash = finalPath.rfind('/') + 1;
    file = {};
    file.finalPath = finalPath;
    file.temporaryPath = finalPath.substr(0, slash);
    file.temporaryPath += kTemporaryPrefix;
    file.temporaryPath += finalPath.substr(slash);
    file.stream = files.CreateNew(file.temporaryPath);
    if (file.stream != nullptr) {
        // The copy loop moves whole blocks; a stream buffer would split each in two.
        std::setvbuf(file.stream, nullptr, _IONBF, 0);
    }
    return file.stream != nullptr;
}

bool SealFile(FileSystem& files, PendingFile& file) {
    bool sealed = files.Commit(file.stream);
    if (sealed) {
        file.sealed = files.Identify(file.stream);
        sealed = file.sealed.has_value();
    }
    const int error = errno;
    const bool closed = files.Close(file.stream);
    file.stream = nullptr;
    if (!sealed) {
        errno = error;
    }
    return sealed && closed;
}

bool PlaceFile(FileSystem& files, PendingFile& file) {
    if (!files.Rename(file.temporaryPath, file.finalPath)) {
        return false;
    }
    file.placed = true;
    const auto found = files.Identify(file.finalPath, Links::Refuse);
    if (!found || !found->SameFile(*file.sealed) || found->size != file.sealed->size) {
        errno = 0;
        return false;
    }
    return true;
}

bool TakeBackFile(FileSystem& files, PendingFile& file) {
    bool taken = true;
    if (file.stream != nullptr) {
        taken = files.Close(file.stream);
        file.stream = nullptr;
    }
    const std::string& path = file.placed ? file.finalPath : file.temporaryPath;
    if (!path.empty() && !files.Remove(path) && errno != ENOENT) {
        taken = false;
    }
    file = {};
    return taken;
}

void RemoveLeftovers(FileSystem& files, const std::string& folder) {
    for (const std::string& name : files.NamesStartingWith(folder, kTemporaryPrefix)) {
        files.Remove(folder + "/" + name);
    }
}

}  // namespace torvanik
