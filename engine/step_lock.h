#pragma once

#include <string>

#include "engine/reasons.h"
#include "platform/file_system.h"

namespace torvanik {

// The drive's folder, locked against other programs for as long as a step runs.
class StepLock {
  public:
    StepLock(FileSystem& files, const std::string& folder)
        : files_(files), lock_(files.LockFolder(folder)) {
        if (lock_ < 0) {
            why_ = WhyFromErrno(Reason::kNoDisk);
        }
    }
    ~StepLock() {
        if (lock_ >= 0) {
            files_.Unlock(lock_);
        }
    }
    StepLock(const StepLock&) = delete;
    StepLock& operator=(const StepLock&) = delete;
    bool held() const { return lock_ >= 0; }
    // Why the lock could not be taken: another program holds it, or the folder is gone.
    const Why& why() const { return why_; }

  private:
    FileSystem& files_;
    int lock_;
    Why why_;
};

}  // namespace torvanik
