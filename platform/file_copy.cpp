#include "platform/file_copy.h"

#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace torvanik {
namespace {

// The most one call moves; the kernel copies it without passing it through us.
constexpr off_t kPiece = off_t{64} << 20;

Result<void> CopyRange(int from, int to, off_t offset, off_t length) {
    while (length > 0) {
        loff_t in = offset;
        loff_t out = offset;
        const auto piece = static_cast<std::size_t>(std::min(length, kPiece));
        const ssize_t moved = copy_file_range(from, &in, to, &out, piece, 0);
        if (moved < 0 && errno == EINTR) {
            continue;
        }
        if (moved <= 0) {
            // An end before the length the file had: it was cut meanwhile, no call failed.
            return Why{.error = moved == 0 ? 0 : errno};
        }
        offset += moved;
        length -= moved;
    }
    return {};
}

}  // namespace

Result<void> CopyFileData(const OwnedFd& fromFd, const OwnedFd& toFd) {
    const int from = fromFd.get();
    const int to = toFd.get();
    if (ioctl(to, FICLONE, from) == 0) {
        return {};
    }
    struct stat info {};
    if (fstat(from, &info) != 0) {
        return Why{.error = errno};
    }
    for (off_t at = 0; at < info.st_size;) {
        const off_t data = lseek(from, at, SEEK_DATA);
        if (data < 0 && errno == ENXIO) {
            break;  // nothing but a hole up to the end
        }
        const off_t hole = data < 0 ? -1 : lseek(from, data, SEEK_HOLE);
        if (hole < 0) {
            return Why{.error = errno};
        }
        if (auto copied = CopyRange(from, to, data, std::min(hole, info.st_size) - data); !copied) {
            return copied;
        }
        at = hole;
    }
    if (ftruncate(to, info.st_size) != 0) {
        return Why{.error = errno};
    }
    return {};
}

}  // namespace torvanik
