#pragma once

#include <optional>
#include <string>

// The questions the commands put to the user: dialogs and file pickers in the GUI,
// scripted answers elsewhere. All strings here are host text (UTF-8).
namespace torvanik {

struct PickedFile {
    std::string pathName;  // full path of the chosen file
    std::string fileName;  // its last component
};

class Questions {
  public:
    virtual ~Questions() = default;

    // Sets transferPending: 0 to abort the running transfer, 1 to keep it.
    virtual void ConfirmAbort() = 0;
    virtual std::optional<PickedFile> PickSourceFile() = 0;
    virtual std::optional<PickedFile> PickDestinationFile(const std::string& initialName) = 0;
    // The user deletes files inside the picker; the result is not used.
    virtual void OpenCleanUpPicker(const std::string& driveRoot) = 0;
    // May change driveIndex.
    virtual void ChooseDrive() = 0;
};

}  // namespace torvanik
