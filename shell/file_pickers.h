#pragma once

#include <QFileDialog>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "engine/questions.h"
#include "shell/clean_up_picker.h"

// The three file pickers. Each Make...Picker builds a picker ready to run but not shown;
// RunPicker runs one. All three are the toolkit's own pickers rather than the desktop's,
// so that they look and match file names alike everywhere and the clean-up picker's
// context menu can delete files.
namespace torvanik {

// The longest path name a picker hands back; a longer choice counts as cancelled.
inline constexpr std::size_t kMaxPickedPathChars = 259;

// Open style in the root folder, all files shown; the chosen name need not exist.
std::unique_ptr<QFileDialog> MakeSourcePicker(QWidget* owner);

// Save style in the toolkit's default folder, the name field holding `initialName`
// (UTF-8) exactly; choosing an existing file brings the picker's overwrite question.
std::unique_ptr<QFileDialog> MakeDestinationPicker(QWidget* owner, const std::string& initialName);

// Save style in `folder`, the files of the disk in the drive, several files selectable,
// deleted through `remove`. None when there is no such folder.
std::unique_ptr<QFileDialog> MakeCleanUpPicker(QWidget* owner, const std::string& folder,
                                               FileRemover remove = RemoveFiles);

// Runs the picker modally: the chosen file when the picker was confirmed.
std::optional<PickedFile> RunPicker(QFileDialog& picker);

}  // namespace torvanik
