#pragma once

#include <optional>
#include <string>

// The questions the commands put to the user: dialogs and file pickers in the window,
// scripted answers elsewhere. All strings here are host text (UTF-8).
namespace torvanik {

struct PickedFile {
    std::string pathName;  // full path of the chosen file
    std::string fileName;  // its last component
};

class Questions {
  public:
    virtual ~Questions() = default;

    // True when the user gives up the transfer under way.
    virtual bool ConfirmAbort() = 0;
    virtual std::optional<PickedFile> PickSourceFile() = 0;
    virtual std::optional<PickedFile> PickDestinationFile(const std::string& initialName) = 0;
    // The user deletes files inside the picker, on the disk the next KLAR handles. Why the
    // deletions did not reach the disk, when they did not; empty when they did.
    virtual std::string OpenCleanUpPicker(const std::string& driveRoot, int diskNumber) = 0;
    // True when the user goes on with a transfer that stopped after `finishedDisks` disks.
    virtual bool ConfirmResume(int finishedDisks) = 0;
    // True when the join goes on without data disk `disk`, which failed its step, and takes
    // it from the set's parity disks.
    virtual bool TakeFromParity(int disk) = 0;
    // The drive the dialog leaves chosen, starting from `driveIndex`; each button takes
    // effect at once, so a dialog closed any way keeps the last one pressed.
    virtual int ChooseDrive(int driveIndex) = 0;
};

}  // namespace torvanik
