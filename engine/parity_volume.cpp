#include "engine/parity_volume.h"

#include <algorithm>

#include "engine/parity_window_sums.h"
#include "platform/par2/gf16.h"
#include "platform/par2/par2_packets.h"
#include "platform/settings_location.h"

namespace torvanik {
namespace {

constexpr std::size_t kWindow = std::size_t{1} << 20;
constexpr std::uint64_t kLargestSliceInMemory = std::uint64_t{2} << 20;
constexpr std::size_t kFirstBytesHashed = 16384;

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

// The window's sums go through the recovery packet's hash and on to where the slice is kept.
Result<void> KeepWindow(FileSystem& files, par2::RecoveryPacket& packet, ComputedVolume& volume,
                        const std::vector<std::uint8_t>& sum, std::size_t size) {
    packet.Update(sum.data(), size);
    if (volume.sliceFile) {
        if (auto kept = files.Write(sum.data(), size, volume.sliceFile); !kept) {
            return ScratchWhy(kept.why());
        }
    } else {
        volume.slice.append(reinterpret_cast<const char*>(sum.data()), size);
    }
    return {};
}

// The slice's sums, window by window: each window's are kept while the next is summed.
Result<void> SumSlice(const EngineSeams& seams, Reports& reports, const VolumeSource& from,
                      std::size_t window, WindowSums& sums, par2::RecoveryPacket& packet,
                      ComputedVolume& volume) {
    std::vector<std::uint8_t> sum(window);
    std::size_t summed = 0;  // the bytes in `sum` not yet kept
    for (std::uint64_t offset = 0; offset < from.sliceSize; offset += summed) {
        if (StopRequested(seams)) {
            return Why{Reason::kInterrupted, 0, {}};
        }
        const auto size =
            static_cast<std::size_t>(std::min<std::uint64_t>(window, from.sliceSize - offset));
        sums.Start(offset, size);
        if (summed > 0) {
            if (auto kept = KeepWindow(seams.files, packet, volume, sum, summed); !kept) {
                return kept;
            }
            ShowProgress(reports, offset, from.sliceSize);
        }
        if (auto done = sums.Finish(sum.data()); !done) {
            return done;
        }
        summed = size;
    }
    if (auto kept = KeepWindow(seams.files, packet, volume, sum, summed); !kept) {
        return kept;
    }
    ShowProgress(reports, from.sliceSize, from.sliceSize);
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
        if (auto read =
                ReadSourceStretch(files, from.source, i * from.sliceSize, first.data(), size);
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
    const std::size_t window =
        static_cast<std::size_t>(std::min<std::uint64_t>(kWindow, from.sliceSize));
    WindowSums sums(files, from, std::move(factors), window);
    if (auto summed = SumSlice(seams, reports, from, window, sums, packet, volume); !summed) {
        return summed.why();
    }
    layout->files = sums.Hashes(from.chunkNames);
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
