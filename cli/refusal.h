#pragma once

#include <optional>
#include <string_view>

#include "cli/command_line.h"
#include "platform/drive_map.h"

namespace torvanik::cli {

// Prints "torvanik-cli: <message>" on standard error.
void Complain(std::string_view message);

// Prints "torvanik-cli: <message>" and the usage on standard error; returns kUsageError.
int Refuse(std::string_view message);

// The drive map of `request` into `drives`; else the exit status, kUsageError, once it has said
// why: with the usage for a wrong --drive, without it for a wrong drives file.
std::optional<int> RefusedDriveMap(const CliRequest& request, DriveMap& drives);

// Takes --parity into `settings`; else kUsageError, once it has said why: a split with
// parity disks and no check files.
std::optional<int> RefusedParity(const CliRequest& request, DriveSettings& settings);

}  // namespace torvanik::cli
