#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/questions.h"

// Answers the questions from a script, in order: for tests, tools and the terminal front
// end. A question with no scripted answer is answered as cancelled (or "no").
namespace torvanik {

class ScriptedQuestions : public Questions {
  public:
    // The answers to the abort question: true gives the transfer up.
    std::deque<bool> abortAnswers;
    // The answers to the question whether to go on with a stopped transfer.
    std::deque<bool> resumeAnswers;
    // The answers to the question whether to take a failed disk from the parity disks.
    std::deque<bool> parityAnswers;
    std::deque<std::optional<PickedFile>> sourceAnswers;
    std::deque<std::optional<PickedFile>> destinationAnswers;
    // Each entry: the drive the dialog leaves, or none for a dialog closed unchanged.
    std::deque<std::optional<int>> driveAnswers;
    // Runs inside the clean-up picker, given the drive root (the user deleting files); says
    // why the deletions did not reach the disk, or nothing.
    std::function<std::string(const std::string&)> cleanUp;

    // What was asked: the initial names given to the destination picker, the drive roots
    // and disks given to the clean-up picker, and how many abort questions were put.
    std::vector<std::string> destinationInitialNames;
    std::vector<std::string> cleanUpRoots;
    std::vector<int> cleanUpDisks;
    int abortQuestions = 0;
    // The finished disks each resume question named.
    std::vector<int> resumeQuestions;
    // The disks each parity question named.
    std::vector<int> parityQuestions;

    bool ConfirmAbort() override;
    bool ConfirmResume(int finishedDisks) override;
    bool TakeFromParity(int disk) override;
    std::optional<PickedFile> PickSourceFile() override;
    std::optional<PickedFile> PickDestinationFile(const std::string& initialName) override;
    std::string OpenCleanUpPicker(const std::string& driveRoot, int diskNumber) override;
    int ChooseDrive(int driveIndex) override;
};

// A picked file from a full path: the path itself and its last component.
PickedFile PickedFileFromPath(const std::string& path);

}  // namespace torvanik
