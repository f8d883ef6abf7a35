#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/par2/par2_layout.h"

// The packets of a PAR2 file, as bytes.
namespace torvanik::par2 {

// Main, File Description and IFSC of every file (in disk order), Creator, and the
// set-facts packet, in that order.
std::string CriticalPackets(const SetLayout& layout, std::string_view creator);

inline constexpr std::size_t kRecoveryHeaderBytes = 68;

// A recovery packet is a 68-byte header and the slice: the header is known once the
// slice's bytes have gone through it, in order.
class RecoveryPacket {
  public:
    RecoveryPacket(const SetLayout& layout, std::uint32_t exponent);
    RecoveryPacket(RecoveryPacket&&) noexcept;
    RecoveryPacket& operator=(RecoveryPacket&&) noexcept;
    ~RecoveryPacket();

    void Update(const std::uint8_t* data, std::size_t size);  // the slice, in order
    std::string Header() const;                               // after the whole slice

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// An upper bound of the bytes one copy of the critical packets (set facts included) and
// one recovery header take for `files` files whose names have at most `nameBytes` bytes,
// with an INFO.FIL of at most 120 bytes and a creator text of at most 64, so that the
// split can hold back room for a parity disk.
std::uint64_t ParityOverheadBytes(std::size_t files, std::size_t nameBytes);

}  // namespace torvanik::par2
