#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "platform/par2/par2_layout.h"
#include "platform/result.h"

// Reads a .par2 file's packets, fed in order, checking every packet's MD5 (a recovery
// packet's slice streamed, never held whole). Hostile input is refused with a reason,
// never trusted: a damaged packet is passed over, as any PAR2 reader does, and what is
// left must make one consistent set.
namespace torvanik::par2 {

struct FoundRecovery {
    std::uint32_t exponent = 0;
    std::uint64_t sliceOffset = 0;  // of the slice's first byte in the file
    bool intact = false;            // the packet's MD5 matched and its slice has the set's size
};

class PacketReader {
  public:
    PacketReader();
    PacketReader(PacketReader&&) noexcept;
    PacketReader& operator=(PacketReader&&) noexcept;
    ~PacketReader();

    void Feed(const std::uint8_t* data, std::size_t size);
    // After the end: the layout (critical packets and set facts, all consistent), its
    // files in disk order, as the set facts list them.
    Result<SetLayout> Finish();
    // The recovery packet found, if any; known after Finish.
    std::optional<FoundRecovery> recovery() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace torvanik::par2
