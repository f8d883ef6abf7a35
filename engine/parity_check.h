#pragma once

#include <optional>

#include "engine/engine_seams.h"
#include "engine/reasons.h"
#include "engine/transfer.h"
#include "platform/par2/par2_layout.h"

// A parity disk of a set checked as the data disks are: its volume against the set's check
// file and its own checksums, nothing written.
namespace torvanik {

enum class ParityVerdict {
    kGood,        // whole, and of the set
    kDamaged,     // of the set, but its files are not as their checksums say
    kNotParity,   // no parity disk at all: the set is checked without one
    kOtherSet,    // a parity disk of another set
    kUnreadable,  // no disk, or one that can't be read
};

struct ParityCheck {
    ParityVerdict verdict = ParityVerdict::kGood;
    Why why;
    std::optional<par2::SetLayout> layout;  // when good
};

// Checks the disk in the drive as parity disk `number` of the set being checked (the
// drive's disk number after the data disks).
ParityCheck CheckParityDisk(Transfer& transfer, const EngineSeams& seams, int number);

}  // namespace torvanik
