#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// How a split with parity disks cuts its file: every chunk but the last one slice long, and
// room held back on disk 1 so that a parity disk like it takes a slice and its packets.
namespace torvanik {

struct SlicePlan {
    std::uint64_t sliceSize = 0;  // a multiple of 4
    int dataDisks = 0;
};

// The room a parity disk needs beyond one slice, for `dataDisks` chunks whose names are
// `nameBytes` long at most on a medium of `clusterBytes` clusters: the index and the
// volume file's packets, and their clusters.
std::uint64_t ParityReserve(int dataDisks, std::size_t nameBytes, std::uint64_t clusterBytes);

// The slice size for a file of `sourceSize` bytes when disk 1 has `room` bytes free (its
// INFO.FIL and check file on it) and takes files of at most `largestFile` bytes;
// `nameBytesOf(K)` is the length of chunk K's name. None when disk 1 can't take a slice.
std::optional<SlicePlan> PlanSlices(std::uint64_t sourceSize, std::uint64_t room,
                                    std::uint64_t largestFile, std::uint64_t clusterBytes,
                                    const std::function<std::size_t(int)>& nameBytesOf);

// How long chunk `disk` (1-based) of the plan is.
std::uint64_t ChunkLength(const SlicePlan& plan, std::uint64_t sourceSize, int disk);

// "Settet får 3 disketter og 1 paritetsdiskett."
std::string SetTakesText(int dataDisks, int parityDisks);

// The parity files' base name: the chunks' base name with every byte outside printable
// ASCII made '_'.
std::string ParityBaseName(std::string_view chunkBaseName);
// "P.par2", and "P.vol00+01.par2" for parity disk 1.
std::string ParityIndexName(std::string_view base);
std::string ParityVolumeName(std::string_view base, int parityDisk);

}  // namespace torvanik
