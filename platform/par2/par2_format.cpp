#include "platform/par2/par2_format.h"

#include <algorithm>
#include <numeric>

namespace torvanik::par2 {

Md5 Md5Of(std::string_view bytes) {
    Md5Stream stream;
    stream.Update(bytes);
    return stream.Digest();
}

void PutU32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>(value >> 8 * i));
    }
}

void PutU64(std::string& out, std::uint64_t value) {
    for (int i = 0; i < 8; ++i) {
        out.push_back(static_cast<char>(value >> 8 * i));
    }
}

std::uint32_t GetU32(const std::uint8_t* at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = value << 8 | at[i];
    }
    return value;
}

std::uint64_t GetU64(const std::uint8_t* at) {
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i) {
        value = value << 8 | at[i];
    }
    return value;
}

std::vector<int> MainOrder(const std::vector<Md5>& fileIds) {
    std::vector<int> order(fileIds.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return std::lexicographical_compare(fileIds[a].rbegin(), fileIds[a].rend(),
                                            fileIds[b].rbegin(), fileIds[b].rend());
    });
    return order;
}

std::string MainBody(const SetLayout& layout) {
    std::vector<Md5> ids;
    for (const InputFile& file : layout.files) {
        ids.push_back(FileIdOf(file));
    }
    std::string body;
    PutU64(body, layout.sliceSize);
    PutU32(body, static_cast<std::uint32_t>(ids.size()));
    for (const int disk : MainOrder(ids)) {
        body += AsBytes(ids[disk]);
    }
    return body;
}

std::string Packet(const Md5& setId, std::string_view type, std::string_view body) {
    std::string packet(kMagic);
    PutU64(packet, kHeaderBytes + body.size());
    const std::size_t md5At = packet.size();
    packet.append(16, '\0');
    packet += AsBytes(setId);
    packet += type;
    packet += body;
    const Md5 md5 = Md5Of(std::string_view(packet).substr(kHashedFrom));
    std::copy(md5.begin(), md5.end(), packet.begin() + static_cast<std::ptrdiff_t>(md5At));
    return packet;
}

}  // namespace torvanik::par2
