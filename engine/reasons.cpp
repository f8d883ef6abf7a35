#include "engine/reasons.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/file_system.h"
#include "res/texts/reason_texts.h"

namespace torvanik {
namespace {

bool IsAboutDestination(Reason reason) {
    return reason == Reason::kDestinationCreate || reason == Reason::kDestinationWrite ||
           reason == Reason::kDestinationLength;
}

}  // namespace

Why WhyFromErrno(Reason otherwise, Reason notRegular) {
    return WhyFromError(errno, otherwise, notRegular);
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

Why WhyNotOpened(const OpenedFile& opened, Reason otherwise, Reason notRegular) {
    if (opened.notRegular) {
        return {notRegular != Reason::kNone ? notRegular : otherwise, 0, {}};
    }
    return WhyFromError(opened.error, otherwise, notRegular);
}

Why DiskWhy(Reason reason, int disk) {
    std::string text(ReasonText(reason));
    const auto at = text.find("%d");
    if (at != std::string::npos) {
        text.replace(at, 2, std::to_string(disk));
    }
    return {reason, 0, text};
}

std::string ReasonLine(const Why& why) {
    std::string line = why.text.empty() ? std::string(ReasonText(why.reason)) : why.text;
    if (why.error != 0) {
        line += ": ";
        line += std::strerror(why.error);
    }
    return line;
}

}  // namespace torvanik
