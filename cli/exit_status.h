#pragma once

// What the terminal front end tells the shell when it ends.
namespace torvanik::cli {

inline constexpr int kFinished = 0;        // the transfer finished
inline constexpr int kStopped = 1;         // stopped before the end
inline constexpr int kUsageError = 2;      // refused before anything was done
inline constexpr int kCannotStart = 3;     // no source to split, or no readable disk 1
inline constexpr int kNotAllGood = 4;      // check: a disk of the set is not as its check file says
inline constexpr int kTooManyMissing = 5;  // join: more disks missing than the parity disks cover

}  // namespace torvanik::cli
