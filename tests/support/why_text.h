#pragma once

#include <string>

namespace torvanik::testing {

// The words of a failed result (a value or a Why); none for a success.
template <class Result>
std::string WhyText(const Result& result) {
    return result ? std::string() : result.why().text;
}

}  // namespace torvanik::testing
