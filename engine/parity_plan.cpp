#include "engine/parity_plan.h"

#include <algorithm>
#include <cstdio>

#include "platform/par2/par2_packets.h"
#include "res/texts/reason_texts.h"

namespace torvanik {
namespace {

// Below this a slice is not worth a disk.
constexpr std::uint64_t kSmallestSlice = 1024;
// K grows by a few disks at most as the reserve grows; far more tries mean no plan.
constexpr int kPlanTries = 64;

std::uint64_t RoundUpTo4(std::uint64_t bytes) {
    return (bytes + 3) & ~std::uint64_t{3};
}

std::uint64_t DisksFor(std::uint64_t sourceSize, std::uint64_t sliceSize) {
    return std::max<std::uint64_t>(1, (sourceSize + sliceSize - 1) / sliceSize);
}

}  // namespace

std::uint64_t ParityReserve(int dataDisks, std::size_t nameBytes, std::uint64_t clusterBytes) {
    // Both .par2 files carry the packets, and each file and the longer check file may take
    // one more cluster than disk 1's chunk, INFO.FIL and check file did.
    const std::uint64_t packets =
        par2::ParityOverheadBytes(static_cast<std::size_t>(dataDisks), nameBytes);
    return 2 * packets + 3 * std::max<std::uint64_t>(clusterBytes, 1);
}

std::optional<SlicePlan> PlanSlices(std::uint64_t sourceSize, std::uint64_t room,
                                    std::uint64_t largestFile, std::uint64_t clusterBytes,
                                    const std::function<std::size_t(int)>& nameBytesOf) {
    const auto fits = [&](std::uint64_t slice, int disks) {
        const std::uint64_t reserve = ParityReserve(disks, nameBytesOf(disks), clusterBytes);
        return slice + reserve <= room && slice + reserve <= largestFile;
    };
    const std::uint64_t whole = RoundUpTo4(std::max<std::uint64_t>(sourceSize, 1));
    if (fits(whole, 1)) {
        return SlicePlan{whole, 1};
    }
    int disks = 1;
    for (int tries = 0; tries < kPlanTries; ++tries) {
        const std::uint64_t reserve = ParityReserve(disks, nameBytesOf(disks), clusterBytes);
        const std::uint64_t limit = std::min(room, largestFile);
        if (limit <= reserve || limit - reserve < kSmallestSlice) {
            return std::nullopt;
        }
        const std::uint64_t slice = (limit - reserve) & ~std::uint64_t{3};
        const std::uint64_t needed = DisksFor(sourceSize, slice);
        if (needed <= static_cast<std::uint64_t>(disks)) {
            return SlicePlan{slice, static_cast<int>(needed)};
        }
        disks = static_cast<int>(std::min<std::uint64_t>(needed, 1'000'000));
    }
    return std::nullopt;
}

std::uint64_t ChunkLength(const SlicePlan& plan, std::uint64_t sourceSize, int disk) {
    const std::uint64_t start = static_cast<std::uint64_t>(disk - 1) * plan.sliceSize;
    return start >= sourceSize ? 0 : std::min(plan.sliceSize, sourceSize - start);
}

std::string SetTakesText(int dataDisks, int parityDisks) {
    using namespace parity_text;
    std::string text(kSetTakes);
    text += std::to_string(dataDisks);
    text += dataDisks == 1 ? kDisk : kDisks;
    text += kAnd;
    text += std::to_string(parityDisks);
    text += parityDisks == 1 ? kParityDisk : kParityDisks;
    text += kEnd;
    return text;
}

std::string ParityBaseName(std::string_view chunkBaseName) {
    std::string base(chunkBaseName);
    for (char& c : base) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x21 || byte > 0x7E) {
            c = '_';
        }
    }
    return base;
}

std::string ParityIndexName(std::string_view base) {
    return std::string(base) + ".par2";
}

std::string ParityVolumeName(std::string_view base, int parityDisk) {
    char exponent[16];
    std::snprintf(exponent, sizeof exponent, "%02d", parityDisk - 1);
    return std::string(base) + ".vol" + exponent + "+01.par2";
}

}  // namespace torvanik
