#pragma once

#include <dirent.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <utility>

#include "platform/result.h"

// A file descriptor or an open folder that closes itself when it goes, on every path.
namespace torvanik {

class OwnedFd {
  public:
    OwnedFd() = default;
    explicit OwnedFd(int fd) : fd_(fd) {}
    OwnedFd(OwnedFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    OwnedFd& operator=(OwnedFd&& other) noexcept {
        if (this != &other) {
            Drop();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    OwnedFd(const OwnedFd&) = delete;
    OwnedFd& operator=(const OwnedFd&) = delete;
    ~OwnedFd() { Drop(); }

    bool valid() const { return fd_ >= 0; }
    int get() const { return fd_; }

    // Closes it now, for a caller that must know whether the last writes went through.
    Result<void> Close() {
        if (close(std::exchange(fd_, -1)) != 0) {
            return Why{.error = errno};
        }
        return {};
    }

  private:
    void Drop() {
        if (fd_ >= 0) {
            close(std::exchange(fd_, -1));
        }
    }

    int fd_ = -1;
};

struct FolderCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};
using OwnedFolder = std::unique_ptr<DIR, FolderCloser>;

}  // namespace torvanik
