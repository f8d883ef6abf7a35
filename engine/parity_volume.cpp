#include "engine/parity_volume.h"

#include <algorithm>

#include "platform/par2/gf16.h"
#include "platform/par2/par2_packets.h"
#include "platform/settings_location.h"

namespace torvanik {
namespace {

constexpr std::size_t kWindow = std::size_t{1} << 20;
constexpr std::uint64_t kLargestSliceInMemory = std::uint64_t{2} << 20;
constexpr std::size_t kFirstBytesHashed = 16384;

std::uint64_t ChunkLengthOf(const VolumeSource& from, std::size_t index) {
    const std::uint64_t start = index * from.sliceSize;
    return start >= from.sourceSize ? 0 : std::min(from.sliceSize, from.sourceSize - start);
}

// `size` bytes of the source at `offset`, whole.
Result<void> ReadStretch(FileSystem& files, File& source, std::uint64_t offset, std::uint8_t* into,
                         std::size_t size) {
    if (const auto sought = files.Seek(source, static_cast<std::int64_t>(offset)); !sought) {
        return WhyOfFailure(sought.why(), Reason::kSourcePosition);
    }
    const auto read = files.Read(into, size, source);
    if (!read) {
        return WhyOfFailure(read.why(), Reason::kSourceRead);
    }
    if (*read < size) {
        return Why{Reason::kSourceShorter, 0, {}};
    }
    return {};
}

// The scratch file failed: the local disk's trouble, never the floppy's.
Why ScratchWhy(const Why& failure) {
    return {Reason::kParityScratch, failure.error, {}};
}

// The disk's bar runs through the sums, then through the writing: two slices in all.
void ShowProgress(Reports& reports, std::uint64_t done, std::uint64_t sliceSize) {
    const auto whole = static_cast<std::int64_t>(2 * sliceSize);
    const auto part = static_cast<std::int64_t>(done);
    reports.ChunkCopied({part, whole, part, whole});
}

// The sums of one window of the slice, at `offset`, into `sum`; every chunk's bytes there go
// through its hasher on the way.
Result<void> SumWindow(FileSystem& files, const VolumeSource& from, std::uint64_t offset,
                       std::size_t size, const std::vector<std::uint16_t>& factors,
                       std::vector<par2::ChunkHasher>& hashers, std::vector<std::uint8_t>& in,
                       std::vector<std::uint8_t>& sum) {
    std::fill_n(sum.begin(), size, std::uint8_t{0});
    for (std::size_t i = 0; i < hashers.size(); ++i) {
        const std::uint64_t length = ChunkLengthOf(from, i);
        if (length <= offset) {
            continue;
        }
        auto bytes = static_cast<std::size_t>(std::min<std::uint64_t>(size, length - offset));
        if (auto read =
                ReadStretch(files, from.source, i * from.sliceSize + offset, in.data(), bytes);
            !read) {
            return read;
        }
        hashers[i].Update(in.data(), bytes);
        if (bytes % 2 != 0) {
            in[bytes++] = 0;  // the chunk's end: zero beyond it
        }
        par2::GfMultiplyAdd(factors[i], in.data(), sum.data(), bytes);
    }
    return {};
}

}  // namespace

Result<par2::SetLayout> LayoutOfChunks(FileSystem& files, const VolumeSource& from) {
    par2::SetLayout layout;
    layout.sliceSize = from.sliceSize;
    std::vector<std::uint8_t> first(kFirstBytesHashed);
    for (std::size_t i = 0; i < from.chunkNames.size(); ++i) {
        const std::uint64_t length = ChunkLengthOf(from, i);
        const auto size =
            static_cast<std::size_t>(std::min<std::uint64_t>(length, kFirstBytesHashed));
        if (auto read = ReadStretch(files, from.source, i * from.sliceSize, first.data(), size);
            !read) {
            return read.why();
        }
        par2::ChunkHasher hasher(from.sliceSize);
        hasher.Update(first.data(), size);
        par2::InputFile file = hasher.Finish(from.chunkNames[i]);
        file.length = length;
        layout.files.push_back(std::move(file));
    }
    return layout;
}

Result<ComputedVolume> ComputeVolume(const EngineSeams& seams, Reports& reports,
                                     const VolumeSource& from, std::uint32_t exponent) {
    FileSystem& files = seams.files;
    Result<par2::SetLayout> layout = LayoutOfChunks(files, from);
    if (!layout) {
        return layout.why();
    }
    std::vector<std::uint16_t> factors = par2::SliceConstants(*layout);
    for (std::uint16_t& factor : factors) {
        factor = par2::GfPower(factor, exponent);
    }
    par2::RecoveryPacket packet(*layout, exponent);
    ComputedVolume volume;
    if (from.sliceSize > kLargestSliceInMemory) {
        Result<File> scratch = files.CreateUnnamed(ScratchFolder());
        if (!scratch) {
            return ScratchWhy(scratch.why());
        }
        volume.sliceFile = std::move(*scratch);
    }
    std::vector<par2::ChunkHasher> hashers;
    for (std::size_t i = 0; i < from.chunkNames.size(); ++i) {
        hashers.emplace_back(from.sliceSize);
    }
    const std::size_t window =
        static_cast<std::size_t>(std::min<std::uint64_t>(kWindow, from.sliceSize));
    std::vector<std::uint8_t> in(window + 1);
    std::vector<std::uint8_t> sum(window);
    for (std::uint64_t offset = 0; offset < from.sliceSize; offset += window) {
        if (StopRequested(seams)) {
            return Why{Reason::kInterrupted, 0, {}};
        }
        const auto size =
            static_cast<std::size_t>(std::min<std::uint64_t>(window, from.sliceSize - offset));
        if (auto summed = SumWindow(files, from, offset, size, factors, hashers, in, sum);
            !summed) {
            return summed.why();
        }
        packet.Update(sum.data(), size);
        if (volume.sliceFile) {
            if (auto kept = files.Write(sum.data(), size, volume.sliceFile); !kept) {
                return ScratchWhy(kept.why());
            }
        } else {
            volume.slice.append(reinterpret_cast<const char*>(sum.data()), size);
        }
        ShowProgress(reports, offset + size, from.sliceSize);
    }
    for (std::size_t i = 0; i < hashers.size(); ++i) {
        layout->files[i] = hashers[i].Finish(from.chunkNames[i]);
    }
    if (volume.sliceFile) {
        if (auto rewound = files.Seek(volume.sliceFile, 0); !rewound) {
            return ScratchWhy(rewound.why());
        }
    }
    volume.layout = std::move(*layout);
    volume.header = packet.Header();
    return volume;
}

Result<void> WriteRecoveryPacket(const EngineSeams& seams, Reports& reports, ComputedVolume& volume,
                                 File& out, ByteDigest& digest) {
    FileSystem& files = seams.files;
    const auto put = [&](const void* bytes, std::size_t size) {
        digest.Update(bytes, size);
        return files.Write(bytes, size, out);
    };
    if (auto written = put(volume.header.data(), volume.header.size()); !written) {
        return written;
    }
    const std::uint64_t sliceSize = volume.layout.sliceSize;
    std::vector<char> window(volume.sliceFile ? kWindow : 0);
    for (std::uint64_t done = 0; done < sliceSize;) {
        if (StopRequested(seams)) {
            return Why{Reason::kInterrupted, 0, {}};
        }
        const auto size =
            static_cast<std::size_t>(std::min<std::uint64_t>(kWindow, sliceSize - done));
        const char* bytes = volume.slice.data() + (volume.sliceFile ? 0 : done);
        if (volume.sliceFile) {
            const auto read = files.Read(window.data(), size, volume.sliceFile);
            if (!read || *read < size) {
                return ScratchWhy(read ? Why{} : read.why());
            }
            bytes = window.data();
        }
        if (auto written = put(bytes, size); !written) {
            return written;
        }
        done += size;
        ShowProgress(reports, sliceSize + done, sliceSize);
    }
    return {};
}

}  // namespace torvanik
