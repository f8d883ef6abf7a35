#include "engine/parity_files.h"

#include <algorithm>
#include <limits>

#include "engine/check_file.h"
#include "engine/disk_set.h"
#include "engine/parity_plan.h"
#include "engine/set_on_disk.h"
#include "platform/cp1252.h"
#include "platform/par2/par2_packets.h"

namespace torvanik {
namespace {

std::string NameOf(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

// A file in the disk's root, beside the check file.
std::string OnDiskRoot(const EngineSeams& seams, const DiskInDrive& drive, std::string_view name) {
    return DiskPath(drive, std::string(seams.drive.Root()) + "\\" + std::string(name));
}

std::uint64_t InClusters(std::uint64_t bytes, std::uint64_t clusterBytes) {
    const std::uint64_t cluster = std::max<std::uint64_t>(clusterBytes, 1);
    return (bytes + cluster - 1) / cluster * cluster;
}

// A blank disk of a folder drive counts its files in clusters of this size.
constexpr std::uint64_t kBlankClusterBytes = 512;

struct BlankDisk {
    std::uint64_t room = 0;
    std::uint64_t clusterBytes = kBlankClusterBytes;
};

// What a blank disk of the drive gives, where the drive says it: a folder with a capacity,
// or a floppy image of the format the drive makes.
std::optional<BlankDisk> BlankDiskOf(const DriveMapping& mapping) {
    if (mapping.kind == DriveKind::Images && mapping.format != nullptr) {
        const FloppyFormat& format = *mapping.format;
        return BlankDisk{
            std::min(format.freeWhenNew, mapping.capacity.value_or(format.freeWhenNew)),
            format.clusterBytes};
    }
    if (mapping.kind == DriveKind::Folder && mapping.capacity) {
        return BlankDisk{*mapping.capacity, kBlankClusterBytes};
    }
    return std::nullopt;
}

}  // namespace

Result<std::uint64_t> ParityChunkLength(Transfer& t, const EngineSeams& seams,
                                        const DiskInDrive& drive, int disk, std::uint64_t free,
                                        std::uint64_t largest) {
    const auto noRoom = [](std::uint64_t bytes) {
        return DiskWhy(Reason::kNoRoomForSlice, static_cast<int>((bytes + 1023) / 1024));
    };
    if (t.sourceSize == 0) {
        // PAR2 gives an empty file no slice: the set is INFO.FIL and an empty chunk alone.
        t.parity.disks = 0;
        return 0;
    }
    if (disk == 1) {
        const auto nameBytes = [&](int chunk) {
            return NameOf(ChunkPathOn(seams, drive, t.fileName, chunk)).size();
        };
        const auto plan = PlanSlices(static_cast<std::uint64_t>(t.sourceSize), free, largest,
                                     drive.clusterBytes, nameBytes);
        if (!plan) {
            return noRoom(ParityReserve(1, nameBytes(1), drive.clusterBytes));
        }
        t.parity.sliceSize = plan->sliceSize;
        t.parity.dataDisks = plan->dataDisks;
    }
    const SlicePlan plan{t.parity.sliceSize, t.parity.dataDisks};
    const std::uint64_t length = ChunkLength(plan, static_cast<std::uint64_t>(t.sourceSize), disk);
    if (free < length || largest < length) {
        return noRoom(length);
    }
    return length;
}

Why DisksOfSet(const Transfer& t, const EngineSeams& seams) {
    const DriveMapping* mapping = seams.drives.Find(seams.drive.driveIndex);
    const std::optional<BlankDisk> blank =
        mapping != nullptr ? BlankDiskOf(*mapping) : std::nullopt;
    // Disk 1 holds INFO.FIL and a check file of one cluster each beside its chunk.
    const std::uint64_t diskOneFiles = blank ? 2 * blank->clusterBytes : 0;
    if (t.parity.disks == 0 || !blank || blank->room <= diskOneFiles) {
        return {};
    }
    const std::string base = Cp1252ToUtf8(ChunkBaseName(t.fileName));
    const auto nameBytes = [&base](int disk) {
        return base.size() + 1 + std::to_string(disk).size();
    };
    const auto plan =
        PlanSlices(static_cast<std::uint64_t>(t.sourceSize), blank->room - diskOneFiles,
                   std::numeric_limits<std::uint64_t>::max(), blank->clusterBytes, nameBytes);
    if (!plan) {
        return {};
    }
    return {Reason::kNone, 0, SetTakesText(plan->dataDisks, t.parity.disks)};
}

ParityNames ParityNamesOn(const EngineSeams& seams, const DiskInDrive& drive,
                          std::string_view setName, int parityDisk, int dataDisks) {
    ParityNames names;
    for (int disk = 1; disk <= dataDisks; ++disk) {
        names.chunkNames.push_back(NameOf(ChunkPathOn(seams, drive, setName, disk)));
    }
    // The chunks' base name, as the host names them: chunk 1's name without its "_1".
    const std::string first = NameOf(ChunkPathOn(seams, drive, setName, 1));
    const std::string base = ParityBaseName(std::string_view(first).substr(0, first.size() - 2));
    names.indexName = ParityIndexName(base);
    names.volumeName = ParityVolumeName(base, parityDisk);
    names.indexPath = OnDiskRoot(seams, drive, names.indexName);
    names.volumePath = OnDiskRoot(seams, drive, names.volumeName);
    return names;
}

std::string ParityCheckText(const ParityNames& names, const Digest128& index,
                            const Digest128& volume) {
    return CheckLine(index, names.indexName) + CheckLine(volume, names.volumeName);
}

VolumeSource SourceOfVolume(Transfer& t, const ParityNames& names) {
    return {t.source, static_cast<std::uint64_t>(t.sourceSize), t.parity.sliceSize,
            names.chunkNames};
}

par2::SetFacts SetFactsOf(const Transfer& t) {
    par2::SetFacts facts;
    facts.parityDisks = static_cast<std::uint32_t>(t.parity.disks);
    facts.dataDisks = static_cast<std::uint32_t>(t.parity.dataDisks);
    facts.identity = t.setIdentity;
    facts.modifiedSeconds = t.fileTimes.write.tv_sec;
    facts.modifiedNanoseconds = static_cast<std::uint32_t>(t.fileTimes.write.tv_nsec);
    facts.accessedSeconds = t.fileTimes.access.tv_sec;
    facts.accessedNanoseconds = static_cast<std::uint32_t>(t.fileTimes.access.tv_nsec);
    facts.infoFile = FormatInfoFile(t.sourceSize, t.fileName);
    return facts;
}

std::string CriticalPacketsOf(const par2::SetLayout& layout) {
    return par2::CriticalPackets(layout, std::string("Torvanik ") + TORVANIK_VERSION);
}

std::uint64_t ParitySizes::OnDisk(std::uint64_t clusterBytes) const {
    return InClusters(index, clusterBytes) + InClusters(volume, clusterBytes);
}

ParitySizes ParitySizesOf(const Transfer& t, const ParityNames& names) {
    par2::SetLayout layout;
    layout.sliceSize = t.parity.sliceSize;
    const SlicePlan plan{t.parity.sliceSize, t.parity.dataDisks};
    for (std::size_t i = 0; i < names.chunkNames.size(); ++i) {
        par2::InputFile file;
        file.name = names.chunkNames[i];
        file.length =
            ChunkLength(plan, static_cast<std::uint64_t>(t.sourceSize), static_cast<int>(i + 1));
        layout.files.push_back(file);
    }
    layout.facts = SetFactsOf(t);
    const std::uint64_t packets = CriticalPacketsOf(layout).size();
    return {packets, par2::kRecoveryHeaderBytes + t.parity.sliceSize + packets};
}

}  // namespace torvanik
