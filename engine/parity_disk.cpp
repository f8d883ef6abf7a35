#include "engine/parity_disk.h"

#include <algorithm>
#include <vector>

#include "engine/check_file.h"
#include "engine/check_file_entry.h"
#include "engine/disk_set.h"
#include "engine/set_on_disk.h"
#include "platform/par2/par2_reader.h"

namespace torvanik {
namespace {

constexpr std::size_t kReadBlock = 64 * 1024;

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return lower;
}

// Feeds the whole file at `path` to `reader` (and `digest`), copying it into `copy` when
// there is one.
Result<void> FeedFile(const EngineSeams& seams, const std::string& path, par2::PacketReader& reader,
                      ByteDigest* digest, File* copy) {
    FileSystem& files = seams.files;
    auto opened =
        files.OpenRegular(path, Links::Refuse, {Reason::kNotParityDisk, Reason::kNotParityDisk});
    if (!opened) {
        return opened.why();
    }
    opened->Unbuffer();
    std::vector<std::uint8_t> block(kReadBlock);
    for (;;) {
        if (StopRequested(seams)) {
            return Why{Reason::kInterrupted, 0, {}};
        }
        const auto read = files.Read(block.data(), block.size(), *opened);
        if (!read) {
            return WhyOfFailure(read.why(), Reason::kChunkRead);
        }
        if (*read == 0) {
            return {};
        }
        reader.Feed(block.data(), *read);
        if (digest != nullptr) {
            digest->Update(block.data(), *read);
        }
        if (copy != nullptr) {
            if (const auto written = files.Write(block.data(), *read, *copy); !written) {
                return WhyOfFailure(written.why(), Reason::kDestinationWrite);
            }
        }
    }
}

}  // namespace

Result<ParityDiskFiles> FindParityFiles(FileSystem& files, const DiskInDrive& drive) {
    if (drive.folder.empty()) {
        return NoDiskWhy(drive);
    }
    ParityDiskFiles found;
    for (const std::string& name : files.NamesStartingWith(drive.folder, "")) {
        const std::string lower = Lower(name);
        if (!lower.ends_with(".par2")) {
            continue;
        }
        if (lower.find(".vol") != std::string::npos) {
            found.volume = drive.folder + "/" + name;
            found.volumeName = name;
        } else {
            found.index = drive.folder + "/" + name;
        }
    }
    if (found.volume.empty() && found.index.empty()) {
        return Why{Reason::kNotParityDisk, 0, {}};
    }
    return found;
}

Result<par2::SetLayout> ReadParityIndex(const EngineSeams& seams, const DiskInDrive& drive) {
    const auto found = FindParityFiles(seams.files, drive);
    if (!found) {
        return found.why();
    }
    par2::PacketReader reader;
    const std::string& path = found->index.empty() ? found->volume : found->index;
    if (const auto fed = FeedFile(seams, path, reader, nullptr, nullptr); !fed) {
        return fed.why();
    }
    auto layout = reader.Finish();
    if (!layout) {
        return Why{Reason::kNotParityDisk, 0, {}};
    }
    return layout;
}

Result<ParityVolume> ReadParityVolume(const EngineSeams& seams, const std::string& path,
                                      const std::string& sliceFolder, ByteDigest& digest) {
    Result<File> copy = File();
    if (!sliceFolder.empty()) {
        copy = seams.files.CreateUnnamed(sliceFolder);
    }
    if (!copy) {
        return WhyOfFailure(copy.why(), Reason::kDestinationWrite);
    }
    par2::PacketReader reader;
    if (const auto fed =
            FeedFile(seams, path, reader, &digest, sliceFolder.empty() ? nullptr : &*copy);
        !fed) {
        return fed.why();
    }
    auto layout = reader.Finish();
    if (!layout) {
        return Why{Reason::kParityDiskDamaged, 0, {}};
    }
    const auto recovery = reader.recovery();
    if (!recovery || !recovery->intact) {
        return Why{Reason::kParityDiskDamaged, 0, {}};
    }
    ParityVolume volume{std::move(*layout), {}};
    volume.slice.exponent = recovery->exponent;
    volume.slice.offset = static_cast<std::int64_t>(recovery->sliceOffset);
    volume.slice.file = std::move(*copy);
    return volume;
}

Result<void> MatchParityCheckFile(const EngineSeams& seams, const DiskInDrive& drive,
                                  const std::string& identity, const ParityDiskFiles& found,
                                  const Digest128& digest) {
    const auto text = ReadSmallFile(seams.files, CheckFilePathOn(seams, drive, identity));
    if (!text) {
        return Why{Reason::kParityDiskDamaged, 0, {}};
    }
    const CheckFileLine line = DigestInCheckFile(*text, found.volumeName);
    if (line.found != CheckFileLine::Found::kLine || line.digest != digest) {
        return Why{Reason::kParityDiskDamaged, 0, {}};
    }
    return {};
}

Result<void> LayoutFitsJoin(const par2::SetLayout& layout, const Transfer& t,
                            const EngineSeams& seams, const DiskInDrive& drive) {
    const Why otherSet{Reason::kParityOfAnotherSet, 0, {}};
    const par2::SetFacts& facts = layout.facts;
    const InfoFileFacts info = ParseInfoFile(facts.infoFile);
    if ((!t.setIdentity.empty() && facts.identity != t.setIdentity) || info.length != t.joinTotal ||
        info.name != t.joinName || layout.files.empty() || facts.dataDisks != layout.files.size() ||
        facts.parityDisks < 1) {
        return otherSet;
    }
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < layout.files.size(); ++i) {
        const std::string chunk = ChunkPathOn(seams, drive, t.joinName, static_cast<int>(i) + 1);
        const bool whole =
            i + 1 == layout.files.size() || layout.files[i].length == layout.sliceSize;
        if (layout.files[i].name != chunk.substr(chunk.rfind('/') + 1) || !whole) {
            return otherSet;
        }
        total += layout.files[i].length;
    }
    const auto& known = t.joinParity.layout;
    if (total != static_cast<std::uint64_t>(t.joinTotal) ||
        (known && par2::RecoverySetIdOf(*known) != par2::RecoverySetIdOf(layout))) {
        return otherSet;
    }
    return {};
}

std::int64_t ChunkStart(const par2::SetLayout& layout, int disk) {
    std::int64_t start = 0;
    for (int i = 0; i + 1 < disk; ++i) {
        start += static_cast<std::int64_t>(layout.files[static_cast<std::size_t>(i)].length);
    }
    return start;
}

}  // namespace torvanik
