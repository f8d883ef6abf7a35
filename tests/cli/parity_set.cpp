#include "parity_set.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>

#include "engine/check_file.h"
#include "engine/disk_set.h"
#include "platform/byte_digest.h"
#include "platform/par2/gf16.h"
#include "platform/par2/par2_layout.h"
#include "platform/par2/par2_packets.h"
#include "support/temp_folder.h"

namespace torvanik::testing {
namespace {

using Bytes = std::vector<char>;

const std::uint8_t* Raw(const Bytes& bytes) {
    return reinterpret_cast<const std::uint8_t*>(bytes.data());
}

std::string Line(const Bytes& bytes, const std::string& name) {
    return CheckLine(DigestOf(bytes.data(), bytes.size()), name);
}

void WriteText(const std::string& path, const std::string& text) {
    WriteBytes(path, Bytes(text.begin(), text.end()));
}

void SetSourceTimes(const std::string& path) {
    const timespec times[2] = {{kSourceSeconds, kSourceNanoseconds},
                               {kSourceSeconds, kSourceNanoseconds}};
    utimensat(AT_FDCWD, path.c_str(), times, 0);
}

}  // namespace

int LayOutParitySet(const ParitySetPlan& plan, const std::vector<std::string>& disks) {
    const Bytes source = ReadBytes(plan.source);
    const std::string name = std::filesystem::path(plan.source).filename().string();
    const std::string base = ChunkBaseName(name);
    const std::string info = FormatInfoFile(static_cast<std::int64_t>(source.size()), name);
    const std::string checkFile = CheckFileName(kParityIdentity);

    par2::SetLayout layout;
    layout.sliceSize = plan.slice;
    std::vector<Bytes> chunks;
    for (std::size_t at = 0; at < source.size() || chunks.empty(); at += plan.slice) {
        const std::size_t end = std::min(source.size(), at + plan.slice);
        chunks.emplace_back(source.begin() + static_cast<std::ptrdiff_t>(at),
                            source.begin() + static_cast<std::ptrdiff_t>(end));
        const int disk = static_cast<int>(chunks.size());
        const std::string folder = disks[static_cast<std::size_t>(disk - 1)];
        std::filesystem::create_directories(folder);
        const std::string chunkName = base + "_" + std::to_string(disk);
        std::string lines;
        if (disk == 1) {
            WriteText(folder + "/INFO.FIL", info);
            lines = Line(Bytes(info.begin(), info.end()), "INFO.FIL");
        }
        WriteBytes(folder + "/" + chunkName, chunks.back());
        SetSourceTimes(folder + "/" + chunkName);
        WriteText(folder + "/" + checkFile, lines + Line(chunks.back(), chunkName));
        par2::ChunkHasher hasher(plan.slice);
        hasher.Update(Raw(chunks.back()), chunks.back().size());
        layout.files.push_back(hasher.Finish(chunkName));
    }
    const int dataDisks = static_cast<int>(chunks.size());
    layout.facts = {static_cast<std::uint32_t>(plan.parityDisks),
                    static_cast<std::uint32_t>(dataDisks),
                    kParityIdentity,
                    kSourceSeconds,
                    kSourceSeconds,
                    kSourceNanoseconds,
                    kSourceNanoseconds,
                    info};
    const std::string critical = par2::CriticalPackets(layout, "Torvanik test");
    const std::vector<std::uint16_t> constants = par2::SliceConstants(layout);
    for (int k = 1; k <= plan.parityDisks; ++k) {
        const auto exponent = static_cast<std::uint32_t>(k - 1);
        Bytes slice(plan.slice, 0);
        for (std::size_t i = 0; i < chunks.size(); ++i) {
            Bytes padded = chunks[i];
            padded.resize(plan.slice, 0);
            par2::GfMultiplyAdd(par2::GfPower(constants[i], exponent), Raw(padded),
                                reinterpret_cast<std::uint8_t*>(slice.data()), plan.slice);
        }
        par2::RecoveryPacket packet(layout, exponent);
        packet.Update(Raw(slice), slice.size());
        const std::string header = packet.Header();
        Bytes volume(header.begin(), header.end());
        volume.insert(volume.end(), slice.begin(), slice.end());
        volume.insert(volume.end(), critical.begin(), critical.end());
        const Bytes index(critical.begin(), critical.end());
        char volumeName[64];
        std::snprintf(volumeName, sizeof volumeName, "%s.vol%02d+01.par2", base.c_str(), k - 1);
        const std::string folder = disks[static_cast<std::size_t>(dataDisks + k - 1)];
        std::filesystem::create_directories(folder);
        WriteBytes(folder + "/" + base + ".par2", index);
        WriteBytes(folder + "/" + volumeName, volume);
        WriteText(folder + "/" + checkFile, Line(index, base + ".par2") + Line(volume, volumeName));
    }
    return dataDisks;
}

}  // namespace torvanik::testing
