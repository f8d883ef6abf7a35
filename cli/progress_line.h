#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The text of the progress line: both bars, bytes done of total, rate and time left, in
// as many columns as the terminal has.
namespace torvanik::cli {

inline constexpr int kProgressBarWidth = 12;
// Below this the bars say too little: the figures give way first.
inline constexpr int kNarrowestBar = 4;

struct ProgressFigures {
    std::int64_t doneInChunk = 0;
    std::int64_t chunkSize = 0;
    std::int64_t done = 0;
    std::int64_t total = 0;
    std::optional<double> bytesPerSecond;  // none until it can be measured
};

// "disk [######......] fil [##..........]  1,0 MB av 2,5 MB  3,2 MB/s  0:01 igjen", in at
// most `width` characters: the bars narrow down to kNarrowestBar, then the rate, the
// bytes and the time left are left out in that order.
std::string FormatProgressLine(const ProgressFigures& figures, int width);

// While a disk is read back: "Kontrollerer [######......]  1,0 MB av 2,5 MB  3,2 MB/s
// 0:01 igjen", with `done` and `total` the bytes checked and to check; fitted the same way.
std::string FormatCheckLine(const ProgressFigures& figures, int width);

// "[###...]": `part` of `whole` in `width` marks; an empty whole counts as done.
std::string FormatBar(std::int64_t part, std::int64_t whole, int width);

// "999 B", "1,0 kB", "2,4 MB" ...: at most three digits before the comma.
std::string FormatBytes(double bytes);

// "0:07", "12:34", "1:02:03"; seconds are rounded up.
std::string FormatDuration(double seconds);

}  // namespace torvanik::cli
