#pragma once

#include <functional>

#include "platform/file_system.h"

namespace torvanik::testing {

// The machine's file system, with hooks that run before every block written and before
// every flush to the medium.
class HookedFiles : public FileSystem {
  public:
    std::function<void()> beforeWrite;
    std::function<void()> beforeCommit;

    Result<void> Write(const void* buffer, std::size_t size, File& file) override {
        if (beforeWrite) {
            beforeWrite();
        }
        return FileSystem::Write(buffer, size, file);
    }
    Result<void> Commit(File& file) override {
        if (beforeCommit) {
            beforeCommit();
        }
        return FileSystem::Commit(file);
    }
};

}  // namespace torvanik::testing
