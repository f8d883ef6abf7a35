#pragma once

#include <string_view>

// Why a child process gave no answer: the first line of its error output then says
// "udisksctl svarte ikke innen 30 s og ble stoppet".
namespace torvanik::child_reason {

inline constexpr std::string_view kNoAnswerWithin = " svarte ikke innen ";
inline constexpr std::string_view kSecondsAndStopped = " s og ble stoppet";

}  // namespace torvanik::child_reason
