#include "engine/medium_read_back.h"

namespace torvanik {
namespace {

Result<void> WhyOf(const Result<ReadBackVerdict>& outcome, const ReadBackReasons& why) {
    if (!outcome) {
        return Why{why.unreadable, 0, {}};
    }
    switch (*outcome) {
        case ReadBackVerdict::kMatch:
            return {};
        case ReadBackVerdict::kMismatch:
        case ReadBackVerdict::kShort:
            return Why{why.otherData, 0, {}};
        case ReadBackVerdict::kStopped:
            return Why{Reason::kInterrupted, 0, {}};
    }
    return Why{why.unreadable, 0, {}};
}

}  // namespace

Result<ReadBackVerdict> ReadBackShown(const EngineSeams& seams, TransferObserver* observer,
                                      const std::string& path, std::int64_t offset,
                                      std::int64_t length, const Digest128& expected) {
    if (observer != nullptr) {
        observer->CheckStarted(length);
    }
    Result<ReadBackVerdict> outcome =
        ReadBackFromMedium(seams.files, path, offset, length, expected,
                           [observer, &seams](std::int64_t checked, std::int64_t whole) {
                               if (observer != nullptr) {
                                   observer->CheckProgress(checked, whole);
                               }
                               return !StopRequested(seams);
                           });
    if (observer != nullptr) {
        observer->CheckEnded();
    }
    return outcome;
}

ByteDigest* DigestIfChecked(const EngineSeams& seams, ByteDigest& digest, bool inCheckFile) {
    return seams.drives.settings().readBack || inCheckFile ? &digest : nullptr;
}

Result<void> ReadBackOnMedium(const EngineSeams& seams, Reports& reports, const std::string& path,
                              std::int64_t offset, std::int64_t length, const ByteDigest& digest,
                              const ReadBackReasons& why) {
    if (!seams.drives.settings().readBack) {
        return {};
    }
    return WhyOf(ReadBackShown(seams, reports.observer(), path, offset, length, digest.Value()),
                 why);
}

std::future<Result<void>> ReadBackAsideOnMedium(const EngineSeams& seams, const std::string& path,
                                                std::string_view bytes,
                                                const ReadBackReasons& why) {
    if (!seams.drives.settings().readBack) {
        return {};
    }
    return std::async(std::launch::async, [&files = seams.files, path, length = bytes.size(),
                                           expected = DigestOf(bytes.data(), bytes.size()), why] {
        return WhyOf(ReadBackFromMedium(files, path, 0, static_cast<std::int64_t>(length), expected,
                                        nullptr),
                     why);
    });
}

}  // namespace torvanik
