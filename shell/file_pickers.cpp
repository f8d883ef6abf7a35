#include "shell/file_pickers.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include "platform/cp1252.h"
#include "res/texts/window_texts.h"
#include "shell/clean_up_picker.h"
#include "shell/file_type_filters.h"

namespace torvanik {
namespace {

std::unique_ptr<QFileDialog> MakePicker(QWidget* owner, const char* title,
                                        QFileDialog::AcceptMode acceptMode,
                                        QFileDialog::FileMode fileMode) {
    auto picker = std::make_unique<QFileDialog>(owner, QString::fromUtf8(title));
    picker->setOption(QFileDialog::DontUseNativeDialog);
    picker->setAcceptMode(acceptMode);
    picker->setFileMode(fileMode);
    return picker;
}

// The type list shows the descriptions alone, as they are written.
void SetFilters(QFileDialog& picker, const std::string& filterText) {
    picker.setOption(QFileDialog::HideNameFilterDetails);
    picker.setNameFilters(QtNameFilters(filterText));
}

}  // namespace

std::unique_ptr<QFileDialog> MakeSourcePicker(QWidget* owner) {
    auto picker =
        MakePicker(owner, kSourcePickerTitle, QFileDialog::AcceptOpen, QFileDialog::AnyFile);
    picker->setDirectory(QDir::rootPath());
    SetFilters(*picker, SourceFilterText());
    return picker;
}

std::unique_ptr<QFileDialog> MakeDestinationPicker(QWidget* owner, const std::string& initialName) {
    auto picker =
        MakePicker(owner, kDestinationPickerTitle, QFileDialog::AcceptSave, QFileDialog::AnyFile);
    picker->selectFile(QString::fromStdString(initialName));
    return picker;
}

std::unique_ptr<QFileDialog> MakeCleanUpPicker(QWidget* owner, const std::string& folder,
                                               FileRemover remove) {
    if (folder.empty() || !QFileInfo(QString::fromStdString(folder)).isDir()) {
        return nullptr;
    }
    auto picker =
        MakePicker(owner, kCleanUpPickerTitle, QFileDialog::AcceptSave, QFileDialog::ExistingFiles);
    picker->setDirectory(QString::fromStdString(folder));
    SetFilters(*picker, CleanUpFilterText());
    ExtendCleanUpPicker(*picker, std::move(remove));
    return picker;
}

std::optional<PickedFile> RunPicker(QFileDialog& picker) {
    if (picker.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QStringList chosen = picker.selectedFiles();
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    PickedFile picked{chosen.front().toStdString(),
                      QFileInfo(chosen.front()).fileName().toStdString()};
    if (Utf8ToCp1252(picked.pathName).size() > kMaxPickedPathChars) {
        return std::nullopt;
    }
    return picked;
}

}  // namespace torvanik
