#include "cli/progress_line.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

#include "cli/cli_texts.h"

namespace torvanik::cli {
namespace {

std::string OneDecimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    std::string result(text);
    for (char& c : result) {
        if (c == '.') {
            c = kDecimalComma;
        }
    }
    return result;
}

// "  1,0 MB av 2,5 MB  3,2 MB/s  0:01 igjen"
std::string FiguresAndTimeLeft(const ProgressFigures& figures) {
    std::string line = "  ";
    line += FormatBytes(static_cast<double>(figures.done)) + " " + std::string(kOf) + " " +
            FormatBytes(static_cast<double>(figures.total));
    const auto rate = figures.bytesPerSecond;
    if (rate && *rate > 0) {
        const auto left = static_cast<double>(figures.total - figures.done);
        line += "  " + FormatBytes(*rate) + std::string(kPerSecond) + "  " +
                FormatDuration(left / *rate);
    } else {
        line += "  " + std::string(kUnknownTime);
    }
    return line + " " + std::string(kTimeLeft);
}

}  // namespace

std::string FormatBar(std::int64_t part, std::int64_t whole, int width) {
    const double share = whole > 0 ? static_cast<double>(part) / static_cast<double>(whole) : 1.0;
    const int marks = std::clamp(static_cast<int>(share * width + 0.5), 0, width);
    std::string bar = "[";
    bar.append(static_cast<std::size_t>(marks), '#');
    bar.append(static_cast<std::size_t>(width - marks), '.');
    bar += ']';
    return bar;
}

std::string FormatBytes(double bytes) {
    if (bytes < 1000) {
        return std::to_string(static_cast<long long>(bytes)) + " " + std::string(kByteUnits[0]);
    }
    std::size_t unit = 1;
    double value = bytes / 1024;
    while (value >= 999.95 && unit + 1 < std::size(kByteUnits)) {
        value /= 1024;
        ++unit;
    }
    return OneDecimal(value) + " " + std::string(kByteUnits[unit]);
}

std::string FormatDuration(double seconds) {
    const auto whole = static_cast<long long>(std::ceil(std::max(seconds, 0.0)));
    char text[32];
    if (whole >= 3600) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60,
                      whole % 60);
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    }
    return text;
}

std::string FormatProgressLine(const ProgressFigures& figures) {
    std::string line = std::string(kDiskBarLabel) + " " +
                       FormatBar(figures.doneInChunk, figures.chunkSize, kProgressBarWidth) + " " +
                       std::string(kFileBarLabel) + " " +
                       FormatBar(figures.done, figures.total, kProgressBarWidth);
    return line + FiguresAndTimeLeft(figures);
}

std::string FormatCheckLine(const ProgressFigures& figures) {
    return std::string(kCheckLabel) + " " +
           FormatBar(figures.done, figures.total, kProgressBarWidth) + FiguresAndTimeLeft(figures);
}

}  // namespace torvanik::cli
