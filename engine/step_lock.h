#pragma once

#include <string>

#include "engine/reasons.h"
#include "platform/file_system.h"

namespace torvanik {

// The drive's folder, locked against other programs for as long as a step runs.
class StepLock {
  public:
    StepLock(FileSystem& files, const std::string& folder) : lock_(files.LockFolder(folder)) {}
    bool held() const { return lock_.ok(); }
    // Why the lock could not be taken: another program holds it, or the folder is gone.
    Why why() const { return WhyOfFailure(lock_.why(), Reason::kNoDisk); }

  private:
    Result<File> lock_;
};

}  // namespace torvanik
