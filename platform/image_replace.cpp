#include "platform/image_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/file_copy.h"
#include "platform/image_staging.h"
#include "platform/owned_fd.h"
#include "res/texts/reason_texts.h"

namespace torvanik {
namespace {

Result<void> Flush(const std::string& path, int flags) {
    OwnedFd fd(open(path.c_str(), flags | O_CLOEXEC));
    if (!fd.valid() || fsync(fd.get()) != 0) {
        return Why{.error = errno};
    }
    return fd.Close();
}

// An image that can't be looked at any more: gone means another program took it away.
Why FailOnImage(const ImageDisk& disk, int error) {
    return ImageWhy(error == ENOENT ? image_reason::kChanged : image_reason::kNotWritten,
                    disk.image, error);
}

// The image is still the file the step unpacked, as it was then.
Result<void> Unchanged(const ImageDisk& disk, const struct stat& now) {
    if (!ImageStamp::Of(now).SameAs(disk.stamp)) {
        return ImageWhy(image_reason::kChanged, disk.image);
    }
    return {};
}

// The bytes and the mode of `from` into the empty file `to`, all of it on its way.
Result<void> CopyInto(const OwnedFd& from, const struct stat& info, OwnedFd& to) {
    if (auto copied = CopyFileData(from, to); !copied) {
        return copied;
    }
    if (fchmod(to.get(), info.st_mode & 07777) != 0) {
        return Why{.error = errno};
    }
    return to.Close();
}

}  // namespace

Result<std::string> CopyBeside(const ImageDisk& disk) {
    const OwnedFd from(open(disk.image.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    struct stat info {};
    if (!from.valid() || fstat(from.get(), &info) != 0) {
        return FailOnImage(disk, errno);
    }
    if (auto same = Unchanged(disk, info); !same) {
        return same.why();
    }
    std::string copy = PatternBeside(disk.image);
    OwnedFd to(mkostemp(copy.data(), O_CLOEXEC));
    if (!to.valid()) {
        return ImageWhy(image_reason::kNotWritten, disk.image, errno);
    }
    if (auto copied = CopyInto(from, info, to); !copied) {
        unlink(copy.c_str());
        return ImageWhy(image_reason::kNotWritten, disk.image, copied.why().error);
    }
    return copy;
}

Result<void> Replace(const ImageDisk& disk, const std::string& copy) {
    if (auto flushed = Flush(copy, O_RDONLY); !flushed) {
        return ImageWhy(image_reason::kNotWritten, disk.image, flushed.why().error);
    }
    struct stat now {};
    if (lstat(disk.image.c_str(), &now) != 0) {
        return FailOnImage(disk, errno);
    }
    if (auto same = Unchanged(disk, now); !same) {
        return same;
    }
    if (std::rename(copy.c_str(), disk.image.c_str()) != 0 ||
        lstat(disk.image.c_str(), &now) != 0) {
        return ImageWhy(image_reason::kNotWritten, disk.image, errno);
    }
    const dev_t device = disk.stamp.device;
    disk.stamp = ImageStamp::Of(now);
    // The new image stands in its place whether or not the folder's entry is flushed: a
    // file system that can't flush folders keeps it as it keeps every rename.
    static_cast<void>(
        Flush(disk.image.substr(0, disk.image.rfind('/') + 1), O_RDONLY | O_DIRECTORY));
    // The image folder's file system taken away meanwhile (unmounted, even lazily) took the
    // new image with it: its name leads elsewhere now, or nowhere.
    struct stat after {};
    if (lstat(disk.image.c_str(), &after) != 0 || after.st_dev != device ||
        !ImageStamp::Of(after).SameAs(disk.stamp)) {
        return ImageWhy(image_reason::kGone, disk.image);
    }
    return {};
}

}  // namespace torvanik
