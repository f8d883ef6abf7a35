#include "shell/file_type_filters.h"

#include <QStringList>

namespace torvanik {
namespace {

constexpr std::string_view kAllFilesPattern = "*.*";

std::string FilterText(std::size_t first) {
    std::string text;
    for (std::size_t i = first; i < FileTypeFilters.size(); ++i) {
        text += FileTypeFilters[i];
    }
    return text;
}

QString QtPattern(std::string_view pattern) {
    if (pattern == kAllFilesPattern) {
        return QStringLiteral("*");
    }
    return QString::fromUtf8(pattern.data(), static_cast<qsizetype>(pattern.size()));
}

}  // namespace

std::string SourceFilterText() {
    return FilterText(1);
}

std::string CleanUpFilterText() {
    return FilterText(0);
}

QStringList QtNameFilters(std::string_view filterText) {
    QStringList filters;
    while (true) {
        const auto descriptionEnd = filterText.find('|');
        if (descriptionEnd == std::string_view::npos) {
            break;
        }
        const auto patternEnd = filterText.find('|', descriptionEnd + 1);
        if (patternEnd == std::string_view::npos) {
            break;
        }
        const auto description = filterText.substr(0, descriptionEnd);
        const auto pattern = filterText.substr(descriptionEnd + 1, patternEnd - descriptionEnd - 1);
        filters.append(
            QString::fromUtf8(description.data(), static_cast<qsizetype>(description.size())) +
            QStringLiteral(" (") + QtPattern(pattern) + QStringLiteral(")"));
        filterText.remove_prefix(patternEnd + 1);
    }
    return filters;
}

}  // namespace torvanik
