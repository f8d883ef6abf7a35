#include "platform/read_back.h"

#include <fcntl.h>

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

// The file opened for the read-back. The check leaves the file's access time as the step
// set it; only the file's owner may ask that, anyone else reads it the ordinary way.
Result<File> OpenForReadBack(FileSystem& files, const std::string& path, int flags) {
    auto file = files.OpenForReadBack(path, flags | O_RDONLY | O_CLOEXEC | O_NOATIME);
    if (!file && file.why().error == EPERM) {
        return files.OpenForReadBack(path, flags | O_RDONLY | O_CLOEXEC);
    }
    return file;
}

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

// One pass over the stretch; none when the file system turned direct reads down and the
// other way is to be taken.
std::optional<ReadBackOutcome> ReadStretch(FileSystem& files, const std::string& path,
                                           ReadMode mode, std::int64_t offset, std::int64_t length,
                                           const Digest128& expected,
                                           const ReadBackProgress& progress, char* buffer,
                                           std::int64_t bufferSize) {
    const bool direct = mode == ReadMode::kDirect;
    auto file = OpenForReadBack(files, path, direct ? O_DIRECT : 0);
    if (!file) {
        if (direct && file.why().error == EINVAL) {
            return std::nullopt;
        }
        return ReadBackOutcome{ReadBackVerdict::kReadError, file.why().error};
    }
    if (!direct) {
        // Whole pages only are dropped, so the advice starts at the page that holds the
        // stretch's first byte and runs to the end of the file.
        if (const auto advised = files.Advise(*file, AlignDown(offset), 0, POSIX_FADV_DONTNEED);
            !advised) {
            return ReadBackOutcome{ReadBackVerdict::kReadError, advised.why().error};
        }
    }
    ByteDigest digest;
    PieceSize piece;
    const std::int64_t end = offset + length;
    std::int64_t position = direct ? AlignDown(offset) : offset;
    while (position < end) {
        const std::int64_t want =
            std::min({piece.bytes(), (direct ? AlignUp(end) : end) - position, bufferSize});
        const auto started = files.Now();
        const auto read = files.ReadAt(*file, buffer, static_cast<std::size_t>(want), position);
        piece.Took(files.Now() - started);
        const int error = read ? 0 : read.why().error;
        if (error == EINTR) {
            continue;
        }
        if (error == EINVAL && direct && position == AlignDown(offset)) {
            return std::nullopt;
        }
        if (!read) {
            return ReadBackOutcome{ReadBackVerdict::kReadError, error};
        }
        const std::int64_t got = *read;
        if (got == 0) {
            return ReadBackOutcome{ReadBackVerdict::kShort, 0};
        }
        const std::int64_t from = std::max(position, offset);
        const std::int64_t to = std::min(position + got, end);
        digest.Update(buffer + (from - position), static_cast<std::size_t>(to - from));
        position += got;
        if (progress && !progress(to - offset, length)) {
            return ReadBackOutcome{ReadBackVerdict::kStopped, 0};
        }
        // A direct read that ends off a block boundary has met the end of the file.
        if (direct && position < end && position % kAlignment != 0) {
            return ReadBackOutcome{ReadBackVerdict::kShort, 0};
        }
    }
    if (digest.Value() != expected) {
        return ReadBackOutcome{ReadBackVerdict::kMismatch, 0};
    }
    return ReadBackOutcome{};
}

}  // namespace

ReadBackOutcome VerifyFromMedium(FileSystem& files, const std::string& path, std::int64_t offset,
                                 std::int64_t length, const Digest128& expected,
                                 const ReadBackProgress& progress) {
    // A read never goes past the stretch's last block, so a small file needs a small buffer.
    const std::int64_t size = std::min(kLargestPiece, AlignUp(length) + kAlignment);
    const AlignedBuffer buffer(
        static_cast<char*>(std::aligned_alloc(kAlignment, static_cast<std::size_t>(size))));
    if (!buffer) {
        return {ReadBackVerdict::kReadError, ENOMEM};
    }
    for (const ReadMode mode : {ReadMode::kDirect, ReadMode::kAfterDroppingCache}) {
        if (auto outcome = ReadStretch(files, path, mode, offset, length, expected, progress,
                                       buffer.get(), size)) {
            return *outcome;
        }
    }
    return {ReadBackVerdict::kReadError, EINVAL};
}

}  // namespace torvanik
