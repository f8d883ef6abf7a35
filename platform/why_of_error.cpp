#include "platform/why_of_error.h"

#include <cerrno>
#include <cstring>

namespace torvanik {
namespace {

bool IsAboutDestination(Reason reason) {
    return reason == Reason::kDestinationCreate || reason == Reason::kDestinationWrite ||
           reason == Reason::kDestinationLength;
}

bool SaysError(const Why& failure, int error) {
    return !HasReason(failure) && failure.error == error;
}

}  // namespace

Why SystemFailure() {
    return {Reason::kNone, errno, {}};
}

Why WhyFromError(int error, Reason otherwise, Reason notRegular) {
    switch (error) {
        case ENOSPC:
        case EDQUOT:
            return {Reason::kDiskFull, 0, {}};
        case EROFS:
            return {
                IsAboutDestination(otherwise) ? Reason::kDestinationReadOnly : Reason::kReadOnly,
                0,
                {}};
        case EWOULDBLOCK:
            return {Reason::kInUse, 0, {}};
        case ENOENT:
            if (otherwise == Reason::kInfoFileMissing || otherwise == Reason::kChunkMissing) {
                return {otherwise, 0, {}};
            }
            return {otherwise, error, {}};
        case ELOOP:
            if (notRegular != Reason::kNone) {
                return {notRegular, 0, {}};
            }
            return {otherwise, error, {}};
        default:
            return {otherwise, error, {}};
    }
}

Why WhyOfFailure(const Why& failure, Reason otherwise, Reason notRegular) {
    if (HasReason(failure)) {
        return failure;
    }
    return WhyFromError(failure.error, otherwise, notRegular);
}

Result<void> Told(Result<void> result, Reason otherwise) {
    if (!result) {
        return WhyOfFailure(result.why(), otherwise);
    }
    return {};
}

bool IsOutOfSpace(const Why& failure) {
    return SaysError(failure, ENOSPC) || SaysError(failure, EDQUOT) || SaysError(failure, EFBIG);
}

bool AlreadyThere(const Why& failure) {
    return SaysError(failure, EEXIST);
}

bool NotThere(const Why& failure) {
    return SaysError(failure, ENOENT);
}

std::string SystemTextOf(int error) {
    return std::strerror(error);
}

}  // namespace torvanik
