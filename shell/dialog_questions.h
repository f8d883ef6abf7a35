#pragma once

#include "engine/questions.h"
#include "platform/drive_map.h"

class QWidget;

// The questions as the program's dialogs and pickers, each modal over `owner`.
namespace torvanik {

class DialogQuestions : public Questions {
  public:
    // Both must outlive this object; the clean-up picker opens in the folders of `drives`.
    DialogQuestions(QWidget* owner, const DriveMap& drives);

    bool ConfirmAbort() override;
    bool ConfirmResume(int finishedDisks) override;
    bool TakeFromParity(int disk) override;
    std::optional<PickedFile> PickSourceFile() override;
    std::optional<PickedFile> PickDestinationFile(const std::string& initialName) override;
    std::string OpenCleanUpPicker(const std::string& driveRoot, int diskNumber) override;
    int ChooseDrive(int driveIndex) override;

  private:
    QWidget* owner_;
    const DriveMap& drives_;
};

}  // namespace torvanik
