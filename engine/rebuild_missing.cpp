#include "engine/rebuild_missing.h"

#include <fcntl.h>

#include <algorithm>
#include <deque>
#include <vector>

#include "engine/join_parity.h"
#include "engine/medium_read_back.h"
#include "engine/parity_disk.h"
#include "platform/par2/gf16.h"
#include "platform/par2/par2_solve.h"

namespace torvanik {
namespace {

// The most bytes of one chunk or slice held at a time.
constexpr std::int64_t kWindow = 1 << 20;

using Bytes = std::vector<std::uint8_t>;

struct MissingChunk {
    MissingChunk(int disk, std::int64_t start, std::int64_t length, std::uint64_t sliceSize)
        : disk(disk), start(start), length(length), hasher(sliceSize) {}

    int disk;
    std::int64_t start;
    std::int64_t length;
    par2::ChunkHasher hasher;
    ByteDigest digest;
};

// The missing chunks rebuilt window by window: each recovery slice's window, less what
// the chunks at hand add to it, leaves what the missing ones add; the rebuild matrix
// takes them apart.
class Rebuild {
  public:
    Rebuild(Transfer& t, const EngineSeams& seams, Reports& reports)
        : t_(t),
          seams_(seams),
          reports_(reports),
          files_(seams.files),
          layout_(*t.joinParity.layout) {}

    Result<void> Run() {
        reports_.Notice(NoticeId::kRebuilding);
        if (auto ready = Prepare(); !ready) {
            return ready;
        }
        const auto slice = static_cast<std::int64_t>(layout_.sliceSize);
        for (std::int64_t at = 0; at < slice; at += kWindow) {
            if (StopRequested(seams_)) {
                return Why{Reason::kInterrupted, 0, {}};
            }
            if (auto done = Window(at, std::min(kWindow, slice - at)); !done) {
                return done;
            }
        }
        return Check();
    }

  private:
    Result<void> Prepare() {
        std::vector<int> lost;
        for (const int disk : t_.joinParity.skipped) {
            lost.push_back(disk - 1);
        }
        std::sort(lost.begin(), lost.end());
        std::vector<std::uint32_t> exponents;
        for (const RecoverySlice& slice : t_.joinParity.slices) {
            exponents.push_back(slice.exponent);
        }
        auto factors = par2::RebuildMatrix(layout_, lost, exponents);
        if (!factors) {
            return Why{Reason::kRebuildUnsolvable, 0, {}};
        }
        factors_ = std::move(*factors);
        for (const int index : lost) {
            const auto& file = layout_.files[static_cast<std::size_t>(index)];
            missing_.emplace_back(index + 1, ChunkStart(layout_, index + 1),
                                  static_cast<std::int64_t>(file.length), layout_.sliceSize);
        }
        constants_ = par2::SliceConstants(layout_);
        auto joined = files_.OpenForReadBack(t_.destinationPath, O_RDONLY | O_CLOEXEC);
        if (!joined) {
            return WhyOfFailure(joined.why(), Reason::kDestinationNotReadBack);
        }
        joined_ = std::move(*joined);
        const std::size_t window = static_cast<std::size_t>(
            std::min<std::int64_t>(kWindow, static_cast<std::int64_t>(layout_.sliceSize)));
        sums_.assign(exponents.size(), Bytes(window));
        chunk_.resize(window);
        out_.resize(window);
        return {};
    }

    // `size` bytes of `file` at `offset`, zeros beyond `have` of them.
    Result<void> ReadInto(File& file, std::int64_t offset, std::int64_t have, std::int64_t size,
                          Bytes& into, Reason unreadable) {
        std::fill(into.begin() + have, into.begin() + size, 0);
        if (have <= 0) {
            return {};
        }
        const auto got = files_.ReadAt(file, into.data(), static_cast<std::size_t>(have), offset);
        if (!got || *got != have) {
            return got ? Why{unreadable, 0, {}} : WhyOfFailure(got.why(), unreadable);
        }
        return {};
    }

    static std::int64_t Within(std::int64_t length, std::int64_t at, std::int64_t size) {
        return std::clamp<std::int64_t>(length - at, 0, size);
    }

    Result<void> Window(std::int64_t at, std::int64_t size) {
        const auto bytes = static_cast<std::size_t>(size);
        auto& slices = t_.joinParity.slices;
        for (std::size_t e = 0; e < slices.size(); ++e) {
            if (auto read = ReadInto(slices[e].file, slices[e].offset + at, size, size, sums_[e],
                                     Reason::kDestinationNotReadBack);
                !read) {
                return read;
            }
        }
        for (std::size_t i = 0; i < layout_.files.size(); ++i) {
            const int disk = static_cast<int>(i) + 1;
            if (IsMissing(disk)) {
                continue;
            }
            const auto length = static_cast<std::int64_t>(layout_.files[i].length);
            if (auto read =
                    ReadInto(joined_, ChunkStart(layout_, disk) + at, Within(length, at, size),
                             size, chunk_, Reason::kDestinationNotReadBack);
                !read) {
                return read;
            }
            for (std::size_t e = 0; e < slices.size(); ++e) {
                par2::GfMultiplyAdd(par2::GfPower(constants_[i], slices[e].exponent), chunk_.data(),
                                    sums_[e].data(), bytes);
            }
        }
        for (std::size_t j = 0; j < missing_.size(); ++j) {
            if (auto written = WriteMissing(missing_[j], factors_[j], at, size); !written) {
                return written;
            }
        }
        return {};
    }

    Result<void> WriteMissing(MissingChunk& chunk, const std::vector<std::uint16_t>& factors,
                              std::int64_t at, std::int64_t size) {
        std::fill(out_.begin(), out_.begin() + size, 0);
        for (std::size_t e = 0; e < factors.size(); ++e) {
            if (factors[e] != 0) {
                par2::GfMultiplyAdd(factors[e], sums_[e].data(), out_.data(),
                                    static_cast<std::size_t>(size));
            }
        }
        const std::int64_t have = Within(chunk.length, at, size);
        if (have == 0) {
            return {};
        }
        chunk.hasher.Update(out_.data(), static_cast<std::size_t>(have));
        chunk.digest.Update(out_.data(), static_cast<std::size_t>(have));
        auto written = files_.Seek(t_.destination, chunk.start + at);
        if (written) {
            written = files_.Write(out_.data(), static_cast<std::size_t>(have), t_.destination);
        }
        if (!written) {
            return WhyOfFailure(written.why(), Reason::kDestinationWrite);
        }
        return {};
    }

    // Each rebuilt chunk as the set's checksums say, then read back from the medium.
    Result<void> Check() {
        if (auto flushed = files_.Commit(t_.destination); !flushed) {
            return WhyOfFailure(flushed.why(), Reason::kDestinationWrite);
        }
        for (MissingChunk& chunk : missing_) {
            const auto& file = layout_.files[static_cast<std::size_t>(chunk.disk - 1)];
            if (chunk.hasher.Finish(file.name).hash != file.hash) {
                return DiskWhy(Reason::kRebuiltDamaged, chunk.disk);
            }
            if (auto back = ReadBackOnMedium(seams_, reports_, t_.destinationPath, chunk.start,
                                             chunk.length, chunk.digest, kInDestination);
                !back) {
                return back;
            }
        }
        return files_.Seek(t_.destination, t_.joinTotal);
    }

    bool IsMissing(int disk) const {
        return std::any_of(missing_.begin(), missing_.end(),
                           [disk](const MissingChunk& chunk) { return chunk.disk == disk; });
    }

    Transfer& t_;
    const EngineSeams& seams_;
    Reports& reports_;
    FileSystem& files_;
    const par2::SetLayout& layout_;
    std::vector<std::vector<std::uint16_t>> factors_;
    std::vector<std::uint16_t> constants_;
    std::deque<MissingChunk> missing_;
    File joined_;
    std::vector<Bytes> sums_;
    Bytes chunk_;
    Bytes out_;
};

// The source's times: from the last chunk when it was read, else from the set's facts.
FileTimes TimesOfSource(const JoinParity& p) {
    if (p.lastChunkTimes) {
        return *p.lastChunkTimes;
    }
    const par2::SetFacts& facts = p.layout->facts;
    FileTimes times;
    times.access = {static_cast<time_t>(facts.accessedSeconds),
                    static_cast<long>(facts.accessedNanoseconds)};
    times.write = {static_cast<time_t>(facts.modifiedSeconds),
                   static_cast<long>(facts.modifiedNanoseconds)};
    return times;
}

}  // namespace

StepOutcome FinishParityJoin(Transfer& t, const EngineSeams& seams, Reports& reports,
                             const Why& letGo) {
    if (auto rebuilt = Rebuild(t, seams, reports).Run(); !rebuilt) {
        const Why why = StopRequested(seams) ? Why{Reason::kInterrupted, 0, {}} : rebuilt.why();
        return EndAtFirstHole(t, seams, reports, why);
    }
    if (const auto closed = seams.files.Close(std::move(t.destination)); !closed) {
        return EndAtFirstHole(t, seams, reports,
                              WhyOfFailure(closed.why(), Reason::kDestinationWrite));
    }
    t.fileTimes = TimesOfSource(t.joinParity);
    // A joined file whose times could not be set is still whole.
    static_cast<void>(seams.files.WriteTimes(t.destinationPath, t.fileTimes));
    t.pending = false;
    t.diskNumber = 1;
    t.armed = TransferKind::kNone;
    t.joinParity.slices.clear();
    t.joinParity.parityAsked = 0;
    reports.Reset(ScreenReset::kNoticeOnly);
    reports.Notice(NoticeId::kJoinDoneSeveral, kNoNumber, letGo);
    return {StepResult::kFinished, letGo};
}

}  // namespace torvanik
