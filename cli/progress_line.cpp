#include "cli/progress_line.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <span>
#include <string_view>
#include <vector>

#include "res/texts/terminal_texts.h"

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

struct LabelledBar {
    std::string_view label;
    std::int64_t part;
    std::int64_t whole;
};

// What may follow the bars, from the whole to nothing: "  1,0 MB av 2,5 MB  3,2 MB/s
// 0:01 igjen", without the rate, with the time left alone, and nothing.
std::vector<std::string> Tails(const ProgressFigures& figures) {
    const std::string amounts = "  " + FormatBytes(static_cast<double>(figures.done)) + " " +
                                std::string(kOf) + " " +
                                FormatBytes(static_cast<double>(figures.total));
    std::string rate;
    std::string left = "  " + std::string(kUnknownTime);
    if (figures.bytesPerSecond && *figures.bytesPerSecond > 0) {
        const auto bytesLeft = static_cast<double>(figures.total - figures.done);
        rate = "  " + FormatBytes(*figures.bytesPerSecond) + std::string(kPerSecond);
        left = "  " + FormatDuration(bytesLeft / *figures.bytesPerSecond);
    }
    left += " " + std::string(kTimeLeft);
    return {amounts + rate + left, amounts + left, left, ""};
}

std::string Bars(std::span<const LabelledBar> bars, int width) {
    std::string text;
    for (const auto& bar : bars) {
        text += (text.empty() ? "" : " ") + std::string(bar.label) + " " +
                FormatBar(bar.part, bar.whole, width);
    }
    return text;
}

// Every text on the line is ASCII, so a byte is a column.
std::string Fitted(std::span<const LabelledBar> bars, const ProgressFigures& figures, int width) {
    const int barCount = static_cast<int>(bars.size());
    const int barsWithoutMarks = static_cast<int>(Bars(bars, 0).size());
    for (const std::string& tail : Tails(figures)) {
        const int room = width - barsWithoutMarks - static_cast<int>(tail.size());
        const int marks = std::min(kProgressBarWidth, room / barCount);
        if (marks >= kNarrowestBar) {
            return Bars(bars, marks) + tail;
        }
    }
    return Bars(bars, kNarrowestBar).substr(0, static_cast<std::size_t>(std::max(width, 0)));
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

std::string FormatProgressLine(const ProgressFigures& figures, int width) {
    const LabelledBar bars[] = {{kDiskBarLabel, figures.doneInChunk, figures.chunkSize},
                                {kFileBarLabel, figures.done, figures.total}};
    return Fitted(bars, figures, width);
}

std::string FormatCheckLine(const ProgressFigures& figures, int width) {
    const LabelledBar bars[] = {{kCheckLabel, figures.done, figures.total}};
    return Fitted(bars, figures, width);
}

}  // namespace torvanik::cli
