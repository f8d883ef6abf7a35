#include "engine/parity_window_sums.h"

#include <algorithm>
#include <system_error>

#include "platform/par2/gf16.h"

namespace torvanik {
namespace {

constexpr std::size_t kMostWorkers = 8;  // a few MiB each

std::size_t WorkersFor(std::size_t chunks) {
    const std::size_t cores = std::max(1U, std::thread::hardware_concurrency());
    return std::max<std::size_t>(1, std::min({cores, kMostWorkers, chunks}));
}

}  // namespace

std::uint64_t ChunkLengthOf(const VolumeSource& from, std::size_t index) {
    const std::uint64_t start = index * from.sliceSize;
    return start >= from.sourceSize ? 0 : std::min(from.sliceSize, from.sourceSize - start);
}

Result<void> ReadSourceStretch(FileSystem& files, File& source, std::uint64_t offset,
                               std::uint8_t* into, std::size_t size) {
    for (std::size_t done = 0; done < size;) {
        const auto read = files.ReadAt(source, into + done, size - done,
                                       static_cast<std::int64_t>(offset + done));
        if (!read) {
            return WhyOfFailure(read.why(), Reason::kSourceRead);
        }
        if (*read == 0) {
            return Why{Reason::kSourceShorter, 0, {}};
        }
        done += static_cast<std::size_t>(*read);
    }
    return {};
}

WindowSums::WindowSums(FileSystem& files, const VolumeSource& from,
                       std::vector<std::uint16_t> factors, std::size_t window)
    : files_(files), from_(from), factors_(std::move(factors)) {
    for (std::size_t i = 0; i < from.chunkNames.size(); ++i) {
        hashers_.emplace_back(from.sliceSize);
    }
    workers_.resize(WorkersFor(hashers_.size()));
    for (Worker& worker : workers_) {
        worker.in.resize(window + 1);  // room for the zero after a chunk's odd end
        worker.sum.resize(window);
    }
}

WindowSums::~WindowSums() {
    JoinHelpers();
}

void WindowSums::Start(std::uint64_t offset, std::size_t size) {
    offset_ = offset;
    size_ = size;
    nextChunk_.store(0, std::memory_order_relaxed);
    for (Worker& worker : workers_) {
        worker.summed = false;
        worker.failure.reset();
    }
    for (std::size_t k = 1; k < workers_.size(); ++k) {
        try {
            helpers_.emplace_back([this, k] { Work(workers_[k]); });
        } catch (const std::system_error&) {
            break;  // the chunks no helper takes are the caller's
        }
    }
}

Result<void> WindowSums::Finish(std::uint8_t* sum) {
    Work(workers_.front());
    JoinHelpers();
    const Failure* first = nullptr;
    for (const Worker& worker : workers_) {
        if (worker.failure && (first == nullptr || worker.failure->chunk < first->chunk)) {
            first = &*worker.failure;
        }
    }
    if (first != nullptr) {
        return first->why;
    }
    std::fill_n(sum, size_, std::uint8_t{0});
    for (const Worker& worker : workers_) {
        if (worker.summed) {
            par2::GfMultiplyAdd(1, worker.sum.data(), sum, size_);
        }
    }
    return {};
}

std::vector<par2::InputFile> WindowSums::Hashes(const std::vector<std::string>& names) {
    std::vector<par2::InputFile> hashes;
    for (std::size_t i = 0; i < hashers_.size(); ++i) {
        hashes.push_back(hashers_[i].Finish(names[i]));
    }
    return hashes;
}

void WindowSums::Work(Worker& worker) {
    for (;;) {
        const std::size_t i = nextChunk_.fetch_add(1, std::memory_order_relaxed);
        if (i >= hashers_.size()) {
            return;
        }
        const std::uint64_t length = ChunkLengthOf(from_, i);
        if (length <= offset_) {
            continue;
        }
        auto bytes = static_cast<std::size_t>(std::min<std::uint64_t>(size_, length - offset_));
        if (auto read = ReadSourceStretch(files_, from_.source, i * from_.sliceSize + offset_,
                                          worker.in.data(), bytes);
            !read) {
            worker.failure = Failure{i, read.why()};
            return;
        }
        hashers_[i].Update(worker.in.data(), bytes);
        if (bytes % 2 != 0) {
            worker.in[bytes++] = 0;  // the chunk's end: zero beyond it
        }
        if (!worker.summed) {
            std::fill_n(worker.sum.begin(), size_, std::uint8_t{0});
            worker.summed = true;
        }
        par2::GfMultiplyAdd(factors_[i], worker.in.data(), worker.sum.data(), bytes);
    }
}

void WindowSums::JoinHelpers() {
    for (std::thread& helper : helpers_) {
        helper.join();
    }
    helpers_.clear();
}

}  // namespace torvanik
