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
    // transferPending after the abort question: 0 yes, 1 no.
    std::deque<int> abortAnswers;
    std::deque<std::optional<PickedFile>> sourceAnswers;
    std::deque<std::optional<PickedFile>> destinationAnswers;
    // Each entry: the driveIndex the dialog leaves, or none for a dialog closed unchanged.
    std::deque<std::optional<int>> driveAnswers;
    // Runs inside the clean-up picker, given the drive root (the user deleting files).
    std::function<void(const std::string&)> cleanUp;

    // What was asked: the initial names given to the destination picker, the drive roots
    // given to the clean-up picker, and how many abort questions were put.
    std::vector<std::string> destinationInitialNames;
    std::vector<std::string> cleanUpRoots;
    int abortQuestions = 0;

    void ConfirmAbort() override;
    std::optional<PickedFile> PickSourceFile() override;
    std::optional<PickedFile> PickDestinationFile(const std::string& initialName) override;
    void OpenCleanUpPicker(const std::string& driveRoot) override;
    void ChooseDrive() override;
};

// A picked file from a full path: the path itself and its last component.
PickedFile PickedFileFromPath(const std::string& path);

}  // namespace torvanik
