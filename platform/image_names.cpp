#include "platform/image_names.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string_view>

#include "platform/floppy_image.h"
#include "platform/folder_files.h"
#include "res/texts/reason_texts.h"

namespace torvanik {
namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool EndsWith(const std::string& text, std::string_view end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool IsImageName(const std::string& name) {
    const std::string lower = Lower(name);
    return EndsWith(lower, ".img") || EndsWith(lower, ".ima") || EndsWith(lower, ".vfd");
}

// DSKA0000.IMG to DSKA9999.IMG, in any case.
bool IsNumberedName(const std::string& name) {
    const std::string lower = Lower(name);
    return lower.size() == 12 && lower.compare(0, 4, "dska") == 0 && EndsWith(lower, ".img") &&
           std::all_of(lower.begin() + 4, lower.begin() + 8,
                       [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::string ImageAmong(const std::string& directory, const std::vector<std::string>& names,
                       int diskNumber) {
    if (diskNumber < 1 || diskNumber > 10'000) {
        return {};
    }
    std::vector<std::string> images;
    bool numbered = false;
    for (const auto& name : names) {
        if (IsImageName(name)) {
            images.push_back(name);
            numbered = numbered || IsNumberedName(name);
        }
    }
    if (!images.empty() && !numbered) {
        const auto index = static_cast<std::size_t>(diskNumber - 1);
        return index < images.size() ? directory + "/" + images[index] : std::string();
    }
    char name[16];
    std::snprintf(name, sizeof name, "DSKA%04d.IMG", diskNumber - 1);
    const auto same = std::find_if(images.begin(), images.end(), [&](const std::string& image) {
        return Lower(image) == Lower(name);
    });
    return directory + "/" + (same != images.end() ? *same : std::string(name));
}

Result<std::vector<std::string>> ImageFolderNames(const std::string& directory) {
    const Result<std::vector<FolderFile>> files = RegularFiles(directory);
    if (!files) {
        return ImageWhy(image_reason::kNoFolder, directory, files.why().error);
    }
    std::vector<std::string> names;
    for (const auto& file : *files) {
        names.push_back(file.name);
    }
    return names;
}

Result<std::string> ImageForDisk(const std::string& directory, int diskNumber) {
    const Result<std::vector<std::string>> names = ImageFolderNames(directory);
    if (!names) {
        return names.why();
    }
    return ImageAmong(directory, *names, diskNumber);
}

}  // namespace torvanik
