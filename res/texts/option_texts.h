#pragma once

#include <string_view>

// What the command line parser of both programs says about a mistake (UTF-8).
namespace torvanik::option_text {

inline constexpr std::string_view kUnknown = "ukjent valg: ";
inline constexpr std::string_view kAmbiguous = "tvetydig valg: ";
// After the option's name: "--drive mangler verdi".
inline constexpr std::string_view kMissingValue = " mangler verdi";
inline constexpr std::string_view kTakesNoValue = " tar ingen verdi";
inline constexpr std::string_view kBadParity = "--parity tar et antall fra 1 til 9: ";
inline constexpr std::string_view kParityWithoutSums =
    "--parity krever kontrollfiler og kan ikke brukes med --no-sums eller sums no";

}  // namespace torvanik::option_text
