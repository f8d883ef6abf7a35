#include "engine/split_files.h"

#include <utility>

namespace torvanik {

Result<void> PlaceSplitFiles(FileSystem& files, const std::string& folder, SplitFiles& split) {
    for (auto [file, aside] :
         {std::pair{&split.info, &split.oldInfo}, std::pair{&split.chunk, &split.oldChunk}}) {
        if (file->finalPath.empty()) {
            continue;
        }
        if (auto moved = MoveAside(files, file->finalPath, *aside); !moved) {
            return moved;
        }
    }
    if (split.oldInfo.moved || split.oldChunk.moved) {
        if (const auto synced = files.SyncFolder(folder); !synced) {
            return WhyOfFailure(synced.why(), Reason::kChunkWrite);
        }
    }
    for (PendingFile* file : {&split.chunk, &split.checkFile, &split.info}) {
        if (file->finalPath.empty()) {
            continue;
        }
        if (auto placed = PlaceFile(files, *file); !placed) {
            return placed;
        }
    }
    if (const auto synced = files.SyncFolder(folder); !synced) {
        return WhyOfFailure(synced.why(), Reason::kChunkWrite);
    }
    return {};
}

bool StillOnDisk(FileSystem& files, const std::string& folder,
                 const std::optional<FileIdentity>& folderIdentity, const SplitFiles& split) {
    if (!StandsAt(files, folder, folderIdentity, Links::Follow)) {
        return false;
    }
    for (const PendingFile* file : {&split.chunk, &split.checkFile, &split.info}) {
        if (!file->finalPath.empty() &&
            !StandsAt(files, file->finalPath, file->sealed, Links::Refuse)) {
            return false;
        }
    }
    return true;
}

void DropOlderFiles(FileSystem& files, SplitFiles& split) {
    DropAside(files, split.oldInfo);
    DropAside(files, split.oldChunk);
}

Result<void> TakeBackSplitFiles(FileSystem& files, SplitFiles& split) {
    Result<void> undone;
    for (Result<void> step : {TakeBackFile(files, split.chunk),
                              TakeBackFile(files, split.checkFile), TakeBackFile(files, split.info),
                              PutBack(files, split.oldChunk), PutBack(files, split.oldInfo)}) {
        if (undone && !step) {
            undone = WhyOfFailure(step.why(), Reason::kUndoFailed);
        }
    }
    return undone;
}

}  // namespace torvanik
