#include <gtest/gtest.h>

#include <functional>

#include "par2_test_set.h"
#include "platform/par2/par2_format.h"
#include "platform/par2/par2_packets.h"
#include "platform/par2/par2_reader.h"
#include "res/texts/reason_texts.h"
#include "support/temp_folder.h"

namespace torvanik::par2 {
namespace {

TestSet SmallSet(std::uint64_t sliceSize = 40) {
    return MakeSet({{"T_1", std::string(40, 'a')}, {"T_2", "short"}, {"T_3", "third one"}},
                   sliceSize);
}

struct Read {
    Result<SetLayout> layout;
    std::optional<FoundRecovery> recovery;
};

Read ReadAll(const std::string& bytes, std::size_t piece) {
    PacketReader reader;
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        reader.Feed(data + at, std::min(piece, bytes.size() - at));
    }
    Result<SetLayout> layout = reader.Finish();
    return {std::move(layout), reader.recovery()};
}

std::string LastPacket(const std::string& bytes) {
    return bytes.substr(bytes.rfind(kMagic));
}

std::string WithoutLastPacket(const std::string& bytes) {
    return bytes.substr(0, bytes.rfind(kMagic));
}

void SetU64(std::string& bytes, std::size_t at, std::uint64_t value) {
    std::string field;
    PutU64(field, value);
    bytes.replace(at, 8, field);
}

// The packets in the opposite order.
std::string Reversed(const std::string& packets) {
    std::string reversed;
    for (std::size_t end = packets.size(); end > 0;) {
        const std::size_t at = packets.rfind(kMagic, end - 1);
        reversed += packets.substr(at, end - at);
        end = at;
    }
    return reversed;
}

// The packets with the Main packet's body changed by `change`, its MD5 made right again.
std::string WithMain(const std::string& packets, const std::function<void(std::string&)>& change) {
    const auto mainLength =
        static_cast<std::size_t>(GetU64(reinterpret_cast<const std::uint8_t*>(packets.data()) + 8));
    std::string body = packets.substr(kHeaderBytes, mainLength - kHeaderBytes);
    change(body);
    return Packet(Md5Of(body), kMainType, body) + packets.substr(mainLength);
}

TEST(Par2ReaderTest, ReadsBackTheLayoutAndTheRecoveryPacketWhateverThePieces) {
    const TestSet set = SmallSet();
    const std::string volume = VolumeBytes(set, 3);
    const std::string garbage = "junk PAR2\0PK and more";
    std::string flipped = volume;
    flipped[kRecoveryHeaderBytes + 7] ^= 1;
    const std::string shortSlice =
        Packet(RecoverySetIdOf(set.layout), kRecoveryType, std::string(4, '\0') + "1234") +
        CriticalPackets(set.layout, "");
    struct Case {
        std::string bytes;
        std::uint32_t exponent;
        std::uint64_t sliceOffset;
        bool intact;
    } cases[] = {
        {volume, 3, kRecoveryHeaderBytes, true},
        {garbage + volume + garbage + CriticalPackets(set.layout, "again"), 3,
         garbage.size() + kRecoveryHeaderBytes, true},
        {flipped, 3, kRecoveryHeaderBytes, false},
        {volume.substr(0, kRecoveryHeaderBytes + 40) + Reversed(CriticalPackets(set.layout, "")), 3,
         kRecoveryHeaderBytes, true},
        {shortSlice, 0, kRecoveryHeaderBytes, false},
    };
    for (const Case& c : cases) {
        for (const std::size_t piece : {std::size_t{7}, c.bytes.size()}) {
            const Read read = ReadAll(c.bytes, piece);
            ASSERT_TRUE(read.layout) << ReasonText(read.layout.why().reason);
            EXPECT_EQ(*read.layout, set.layout);
            ASSERT_TRUE(read.recovery);
            EXPECT_EQ(read.recovery->exponent, c.exponent);
            EXPECT_EQ(read.recovery->sliceOffset, c.sliceOffset);
            EXPECT_EQ(read.recovery->intact, c.intact) << "in pieces of " << piece;
        }
    }
    EXPECT_FALSE(ReadAll(CriticalPackets(set.layout, ""), 64).recovery);
}

TEST(Par2ReaderTest, RefusesHostileInputWithAReason) {
    const TestSet set = SmallSet();
    const std::string base = CriticalPackets(set.layout, "");
    TestSet changedFacts = SmallSet();
    changedFacts.layout.facts.identity = "FFFFFF";
    const std::string conflicting = LastPacket(CriticalPackets(changedFacts.layout, ""));
    const std::string otherSet = LastPacket(CriticalPackets(SmallSet(44).layout, ""));
    std::string badMd5 = base;
    badMd5[base.find("T_2") - 3] ^= 1;  // the length of the second file
    std::string hugeRecovery = Packet({}, kRecoveryType, "0000");
    SetU64(hugeRecovery, 8, std::uint64_t{1} << 60);
    TestSet longInfo = SmallSet();
    longInfo.layout.facts.infoFile = std::string(8, 'i');
    std::string longInfoFacts = LastPacket(CriticalPackets(longInfo.layout, ""));
    std::string factsBody = longInfoFacts.substr(kHeaderBytes);
    factsBody[12] = 9;  // INFO.FIL's length, past the body
    const std::vector<char> noise = testing::PatternBytes(100'000, 4);

    const auto withLength = [&](std::uint64_t length) {
        std::string bytes = base;
        SetU64(bytes, 8, length);
        return bytes;
    };
    struct Case {
        const char* what;
        std::string bytes;
        Reason reason;
    } cases[] = {
        {"nothing", "", Reason::kParityDamaged},
        {"noise", std::string(noise.begin(), noise.end()) + std::string(kMagic),
         Reason::kParityDamaged},
        {"cut short", base.substr(0, base.size() - 10), Reason::kParityDamaged},
        {"Main's length not a multiple of 4", withLength(base.find(kMagic, 8) + 2),
         Reason::kParityDamaged},
        {"Main's length past the end", withLength(std::uint64_t{1} << 62), Reason::kParityDamaged},
        {"Main's length short of a header", withLength(8), Reason::kParityDamaged},
        {"a file description's MD5 wrong", badMd5, Reason::kParityDamaged},
        {"two set facts that differ", base + conflicting, Reason::kParityDamaged},
        {"set facts of another set", WithoutLastPacket(base) + otherSet,
         Reason::kParityOfAnotherSet},
        {"a recovery packet longer than the file", hugeRecovery + base, Reason::kParityDamaged},
        {"INFO.FIL's length past the packet",
         WithoutLastPacket(base) + Packet(RecoverySetIdOf(set.layout), kSetFactsType, factsBody),
         Reason::kParityDamaged},
        {"Main counting more files than it names",
         WithMain(base, [](std::string& body) { body[8] = body[9] = body[10] = body[11] = -1; }),
         Reason::kParityDamaged},
        {"Main's files out of order",
         WithMain(base,
                  [](std::string& body) {
                      const std::string first = body.substr(12, 16);
                      body.replace(12, 16, body.substr(28, 16));
                      body.replace(28, 16, first);
                  }),
         Reason::kParityDamaged},
        {"a slice size not a multiple of 4",
         WithMain(base, [](std::string& body) { body[0] ^= 2; }), Reason::kParityDamaged},
        {"no set facts", WithoutLastPacket(base), Reason::kParityDamaged},
    };
    for (const Case& c : cases) {
        const Read read = ReadAll(c.bytes, 1000);
        ASSERT_FALSE(read.layout) << c.what;
        EXPECT_EQ(read.layout.why().reason, c.reason) << c.what;
    }
}

// The room held back for a parity disk's packets covers them, and not by much.
TEST(Par2PacketsTest, OverheadBoundsTheCriticalPacketsAndARecoveryHeader) {
    for (const std::size_t files : {1, 2, 40}) {
        for (const std::size_t nameBytes : {1, 4, 13}) {
            SetLayout layout{.sliceSize = 4, .files = {}, .facts = {}};
            for (std::size_t i = 0; i < files; ++i) {
                layout.files.push_back(
                    {.name = std::string(nameBytes, 'a' + i % 26), .length = i + 1});
            }
            layout.facts.infoFile = std::string(120, 'i');
            const std::uint64_t used =
                CriticalPackets(layout, "Torvanik 10.20.30").size() + kRecoveryHeaderBytes;
            const std::uint64_t bound = ParityOverheadBytes(files, nameBytes);
            EXPECT_GE(bound, used) << files << " files";
            EXPECT_LE(bound, used + 64) << files << " files";
        }
    }
}

}  // namespace
}  // namespace torvanik::par2
