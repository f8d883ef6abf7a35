#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/par2/par2_format.h"
#include "platform/par2/par2_reader.h"

// What the packet reader has kept of a file so far, for the set to be put together from.
namespace torvanik::par2 {

struct KeptPacket {
    Md5 setId{};
    std::string body;
};

struct KeptPackets {
    std::optional<KeptPacket> main, facts;
    std::map<Md5, KeptPacket> fileDescs, checksums;  // by file ID
    std::vector<Md5> otherSetIds;                    // of the creator and unknown packets
    bool conflicting = false;                        // two packets of one kind that differ
    std::uint64_t bytes = 0;
};

// A recovery packet: its MD5 is known once its slice has gone by.
struct SeenRecovery {
    FoundRecovery found;
    Md5 setId{};
    std::uint64_t sliceBytes = 0;
    bool md5Matched = false;
};

// The critical packets and the set facts, checked against each other, as a layout; the
// recovery packet judged against it.
Result<SetLayout> AssembleLayout(const KeptPackets& kept, std::optional<SeenRecovery>& recovery);

}  // namespace torvanik::par2
