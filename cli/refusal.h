#pragma once

#include <string_view>

namespace torvanik::cli {

// Prints "torvanik-cli: <message>" on standard error.
void Complain(std::string_view message);

// Prints "torvanik-cli: <message>" and the usage on standard error; returns kUsageError.
int Refuse(std::string_view message);

}  // namespace torvanik::cli
