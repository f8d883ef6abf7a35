#pragma once

#include <functional>

#include "platform/file_system.h"

namespace torvanik::testing {

// The machine's file system, with a hook that runs before every block written.
class HookedFiles : public FileSystem {
  public:
    std::function<void()> beforeWrite;

    bool Write(const void* buffer, std::size_t size, std::FILE* stream) override {
        if (beforeWrite) {
            beforeWrite();
        }
        return FileSystem::Write(buffer, size, stream);
    }
};

}  // namespace torvanik::testing
