#include "platform/read_back.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <optional>

namespace torvanik {
namespace {

// Direct reads want buffer, offset and length in whole blocks of the device; 4096 covers
// devices of 512- and 4096-byte blocks.
constexpr std::int64_t kAlignment = 4096;
constexpr std::int64_t kLargestPiece = std::int64_t{4} << 20;

std::int64_t AlignDown(std::int64_t value) {
    return value / kAlignment * kAlignment;
}

std::int64_t AlignUp(std::int64_t value) {
    return AlignDown(value + kAlignment - 1);
}

struct FreeBuffer {
    void operator()(char* buffer) const { std::free(buffer); }
};
using AlignedBuffer = std::unique_ptr<char, FreeBuffer>;

enum class ReadMode { kDirect, kAfterDroppingCache };

// The size of each read: small enough that a floppy (60 kB/s) shows the check's progress
// twice a second, and growing up to kLargestPiece where the medium answers fast.
class PieceSize {
  public:
    static constexpr std::int64_t kSmallest = 32 * 1024;

    std::int64_t bytes() const { return bytes_; }
    // The next piece after one that took `took`.
    void Took(std::chrono::steady_clock::duration took) {
        if (took < kGrowBelow) {
            bytes_ = std::min(bytes_ * 2, kLargestPiece);
        } else if (took > kShrinkAbove) {
            bytes_ = std::max(bytes_ / 2, kSmallest);
        }
    }

  private:
    static constexpr auto kGrowBelow = std::chrono::milliseconds(100);
    static constexpr auto kShrinkAbove = std::chrono::milliseconds(400);
    std::int64_t bytes_ = kSmallest;
};

// How one pass over the stretch ended: with a verdict, or turned down at its start by a
// file system that takes no direct reads, for the other way to be taken.
struct Pass {
    bool directRefused = false;
    ReadBackVerdict verdict = ReadBackVerdict::kMatch;
};

// The file opened for a pass; for a pass through the cache, its cached pages dropped first.
Result<File> OpenForPass(FileSystem& files, const std::string& path, ReadMode mode,
                         std::int64_t offset) {
    const int flags = (mode == ReadMode::kDirect ? O_DIRECT : 0) | O_RDONLY | O_CLOEXEC;
    // The check leaves the file's access time as the step set it; only the file's owner
    // may ask that, anyone else reads it the ordinary way.
    Result<File> file = files.OpenForReadBack(path, flags | O_NOATIME);
    if (!file && file.why().error == EPERM) {
        file = files.OpenForReadBack(path, flags);
    }
    if (!file) {
        return file.why();
    }
    // Whole pages only are dropped, so the advice starts at the page that holds the
    // stretch's first byte and runs to the end of the file.
    if (mode == ReadMode::kAfterDroppingCache) {
        if (auto advised = files.Advise(*file, AlignDown(offset), 0, POSIX_FADV_DONTNEED);
            !advised) {
            return advised.why();
        }
    }
    return file;
}

// The stretch read back and compared, the digest and the progress taken piece by piece.
class StretchRead {
  public:
    StretchRead(FileSystem& files, ReadMode mode, std::int64_t offset, std::int64_t length,
                const ReadBackProgress& progress, char* buffer, std::int64_t bufferSize)
        : files_(files),
          direct_(mode == ReadMode::kDirect),
          offset_(offset),
          length_(length),
          progress_(progress),
          buffer_(buffer),
          bufferSize_(bufferSize) {}

    Result<Pass> Run(File& file, const Digest128& expected) {
        const std::int64_t end = offset_ + length_;
        std::int64_t position = direct_ ? AlignDown(offset_) : offset_;
        while (position < end) {
            const std::int64_t want =
                std::min({piece_.bytes(), (direct_ ? AlignUp(end) : end) - position, bufferSize_});
            const auto started = files_.Now();
            const Result<std::int64_t> read =
                files_.ReadAt(file, buffer_, static_cast<std::size_t>(want), position);
            piece_.Took(files_.Now() - started);
            const int error = read ? 0 : read.why().error;
            if (error == EINTR) {
                continue;
            }
            if (error == EINVAL && direct_ && position == AlignDown(offset_)) {
                return Pass{.directRefused = true};
            }
            if (!read) {
                return read.why();
            }
            const std::int64_t got = *read;
            if (const auto ended = Take(position, got, end)) {
                return Pass{.verdict = *ended};
            }
            position += got;
        }
        return Pass{.verdict = digest_.Value() == expected ? ReadBackVerdict::kMatch
                                                           : ReadBackVerdict::kMismatch};
    }

  private:
    // The `got` bytes read at `position` into the digest; a verdict when the pass ends here.
    std::optional<ReadBackVerdict> Take(std::int64_t position, std::int64_t got, std::int64_t end) {
        if (got == 0) {
            return ReadBackVerdict::kShort;
        }
        const std::int64_t from = std::max(position, offset_);
        const std::int64_t to = std::min(position + got, end);
        digest_.Update(buffer_ + (from - position), static_cast<std::size_t>(to - from));
        if (progress_ && !progress_(to - offset_, length_)) {
            return ReadBackVerdict::kStopped;
        }
        // A direct read that ends off a block boundary has met the end of the file.
        if (direct_ && position + got < end && (position + got) % kAlignment != 0) {
            return ReadBackVerdict::kShort;
        }
        return std::nullopt;
    }

    FileSystem& files_;
    const bool direct_;
    const std::int64_t offset_;
    const std::int64_t length_;
    const ReadBackProgress& progress_;
    char* const buffer_;
    const std::int64_t bufferSize_;
    ByteDigest digest_;
    PieceSize piece_;
};

Result<Pass> ReadStretch(FileSystem& files, const std::string& path, ReadMode mode,
                         std::int64_t offset, std::int64_t length, const Digest128& expected,
                         const ReadBackProgress& progress, char* buffer, std::int64_t bufferSize) {
    Result<File> file = OpenForPass(files, path, mode, offset);
    if (!file) {
        if (mode == ReadMode::kDirect && file.why().error == EINVAL) {
            return Pass{.directRefused = true};
        }
        return file.why();
    }
    return StretchRead(files, mode, offset, length, progress, buffer, bufferSize)
        .Run(*file, expected);
}

}  // namespace

Result<ReadBackVerdict> ReadBackFromMedium(FileSystem& files, const std::string& path,
                                           std::int64_t offset, std::int64_t length,
                                           const Digest128& expected,
                                           const ReadBackProgress& progress) {
    // A read never goes past the stretch's last block, so a small file needs a small buffer.
    const std::int64_t size = std::min(kLargestPiece, AlignUp(length) + kAlignment);
    const AlignedBuffer buffer(
        static_cast<char*>(std::aligned_alloc(kAlignment, static_cast<std::size_t>(size))));
    if (!buffer) {
        return Why{.error = ENOMEM};
    }
    for (const ReadMode mode : {ReadMode::kDirect, ReadMode::kAfterDroppingCache}) {
        const Result<Pass> pass =
            ReadStretch(files, path, mode, offset, length, expected, progress, buffer.get(), size);
        if (!pass) {
            return pass.why();
        }
        if (!pass->directRefused) {
            return pass->verdict;
        }
    }
    return Why{.error = EINVAL};
}

}  // namespace torvanik
